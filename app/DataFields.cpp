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
};

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
         {FIELD(edt_nome), FIELD(edt_nasc), FIELD(edt_sexo), FIELD(edt_ec), FIELD(edt_tel1), FIELD(edt_tel2),
          FIELD(edt_natural), FIELD(edt_email), FIELD(edt_rua), FIELD(edt_numero), FIELD(edt_complemento),
          FIELD(edt_bairro), FIELD(edt_cidade), FIELD(edt_uf)}},
        {5, true,  // Experiências Profissionais
         {FIELD(edt_exnome), FIELD(edt_excargo), FIELD(edt_exobs), FIELD(edt_exentrada), FIELD(edt_exsaida),
          FIELD(edt_extelefone)}},
        {1, true, {FIELD(edt_escolaridade), FIELD(edt_curso), FIELD(edt_escola)}},  // Escolaridade
        {5, true, {FIELD(edt_cucurso), FIELD(edt_cuobs), FIELD(edt_cuescola), FIELD(edt_cuduracao)}},  // Cursos
        {1, true,  // Informações
         {FIELD(edt_rg), FIELD(edt_cpf), FIELD(edt_cp), FIELD(edt_te), FIELD(edt_cargo), FIELD(edt_salario)}},
        {1, false, {FIELD(frase)}},  // Frase: Enter starts a new line of the phrase
    };
    std::vector<TDataField> fields;
    int chain = 0;
    for (const TFieldTab& tab : tabs) {
        for (int r = 0; r < tab.Repetitions; ++r) {
            const String number = tab.Repetitions > 1 ? std::to_wstring(r + 1) : String();
            for (const TColumn& column : tab.Columns) {
                auto attach = [attach = column.Attach, r](TForm1& form, TComponent* c) { return attach(form, r, c); };
                fields.push_back({column.Name + number, column.Kind, tab.EnterMoves ? chain : -1, attach});
            }
            if (tab.EnterMoves) ++chain;
        }
    }
    return fields;
}

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
