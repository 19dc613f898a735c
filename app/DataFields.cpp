#include "app/DataFields.h"

#include <string>
#include <type_traits>

#include "app/MainForm.h"
#include "framework/controls/DateTimePicker.h"
#include "framework/controls/MaskEdit.h"
#include "framework/controls/RichEdit.h"
#include "framework/controls/StdCtrls.h"

namespace {

template <class T>
constexpr TFieldKind KindOf() {
    if constexpr (std::is_same_v<T, TEdit>) return TFieldKind::Edit;
    else if constexpr (std::is_same_v<T, TDateTimePicker>) return TFieldKind::DatePicker;
    else if constexpr (std::is_same_v<T, TComboBox>) return TFieldKind::ComboBox;
    else if constexpr (std::is_same_v<T, TMaskEdit>) return TFieldKind::MaskEdit;
    else {
        static_assert(std::is_same_v<T, TRichEdit>, "not a kind of data field");
        return TFieldKind::RichEdit;
    }
}

// A field of a tab: its name and member, one control or one per repetition of the tab.
struct TColumn {
    const wchar_t* Name;
    TFieldKind Kind;
    std::function<bool(TForm1&, int repetition, TComponent*)> Attach;
    int MaxLength = 0;
};

TColumn Limited(TColumn column, int maxLength) {
    column.MaxLength = maxLength;
    return column;
}

template <class T>
TColumn Column(const wchar_t* name, T* TForm1::*member) {
    return {name, KindOf<T>(), [member](TForm1& form, int, TComponent* component) {
                return (form.*member = dynamic_cast<T*>(component)) != nullptr;
            }};
}

template <class T, size_t N>
TColumn Column(const wchar_t* name, T* (TForm1::*member)[N]) {
    return {name, KindOf<T>(), [member](TForm1& form, int repetition, TComponent* component) {
                return ((form.*member)[repetition] = dynamic_cast<T*>(component)) != nullptr;
            }};
}

#define FIELD(member) Column(L"" #member, &TForm1::member)
#define FREE_TEXT(member, maxLength) Limited(FIELD(member), maxLength)

// A tab repeated five times (experiences, courses) numbers its fields 1 to 5 at indexes 0 to 4
// of their members; each repetition is a chain of its own.
struct TFieldTab {
    int Repetitions;
    bool EnterMoves;
    std::vector<TColumn> Columns;
};

std::vector<TDataField> BuildFields() {
    const TFieldTab tabs[] = {
        {1, true,  // Dados Principais
         {FREE_TEXT(edt_nome, 60), FIELD(edt_nasc), FIELD(edt_sexo), FIELD(edt_ec), FIELD(edt_tel1), FIELD(edt_tel2),
          FREE_TEXT(edt_natural, 30), FREE_TEXT(edt_email, 60), FREE_TEXT(edt_rua, 40), FREE_TEXT(edt_numero, 30),
          FREE_TEXT(edt_complemento, 70), FREE_TEXT(edt_bairro, 30), FREE_TEXT(edt_cidade, 20), FIELD(edt_uf)}},
        {5, true,  // Experiências Profissionais
         {FREE_TEXT(edt_exnome, 40), FREE_TEXT(edt_excargo, 40), FREE_TEXT(edt_exobs, 250), FIELD(edt_exentrada),
          FIELD(edt_exsaida), FIELD(edt_extelefone)}},
        {1, true, {FIELD(edt_escolaridade), FREE_TEXT(edt_curso, 40), FREE_TEXT(edt_escola, 120)}},  // Escolaridade
        {5, true,  // Cursos
         {FREE_TEXT(edt_cucurso, 40), FREE_TEXT(edt_cuobs, 250), FREE_TEXT(edt_cuescola, 40), FIELD(edt_cuduracao)}},
        {1, true,  // Informações
         {FREE_TEXT(edt_rg, 20), FREE_TEXT(edt_cpf, 20), FREE_TEXT(edt_cp, 20), FREE_TEXT(edt_te, 20), FREE_TEXT(edt_cargo, 120),
          FREE_TEXT(edt_salario, 120)}},
        {1, false, {FIELD(frase)}},  // Frase: Enter starts a new line of the phrase
    };
    std::vector<TDataField> fields;
    int chain = 0;
    for (const TFieldTab& tab : tabs) {
        for (int r = 0; r < tab.Repetitions; ++r) {
            const String number = tab.Repetitions > 1 ? std::to_wstring(r + 1) : String();
            for (const TColumn& column : tab.Columns) {
                auto attach = [attach = column.Attach, r](TForm1& form, TComponent* c) { return attach(form, r, c); };
                fields.push_back({column.Name + number, column.Kind, tab.EnterMoves ? chain : -1, column.MaxLength, attach});
            }
            if (tab.EnterMoves) ++chain;
        }
    }
    return fields;
}

#undef FREE_TEXT
#undef FIELD

}  // namespace

const std::vector<TDataField>& DataFields() {
    static const std::vector<TDataField> fields = BuildFields();
    return fields;
}

std::vector<String> FieldsClearedByLimparCampos() {
    std::vector<String> names;
    for (const TDataField& f : DataFields())
        if (f.Kind == TFieldKind::Edit) names.push_back(f.Name);
    return names;
}
