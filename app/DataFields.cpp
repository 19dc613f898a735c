#include "app/DataFields.h"

#include <string>

namespace {

using K = TFieldKind;

void AddNumbered(std::vector<TDataField>& fields, std::initializer_list<TDataField> stems, int number) {
    for (const TDataField& f : stems) fields.push_back({f.Name + std::to_wstring(number), f.Kind});
}

std::vector<TDataField> BuildFields() {
    std::vector<TDataField> f = {
        {L"edt_nome", K::Edit},        {L"edt_nasc", K::DatePicker},    {L"edt_sexo", K::ComboBox},
        {L"edt_ec", K::ComboBox},      {L"edt_tel1", K::MaskEdit},      {L"edt_tel2", K::MaskEdit},
        {L"edt_natural", K::Edit},     {L"edt_email", K::Edit},         {L"edt_rua", K::Edit},
        {L"edt_numero", K::Edit},      {L"edt_complemento", K::Edit},   {L"edt_bairro", K::Edit},
        {L"edt_cidade", K::Edit},      {L"edt_uf", K::ComboBox},
    };
    for (int n = 1; n <= 5; ++n)
        AddNumbered(f,
                    {{L"edt_exnome", K::Edit}, {L"edt_excargo", K::Edit}, {L"edt_exobs", K::Edit},
                     {L"edt_exentrada", K::DatePicker}, {L"edt_exsaida", K::DatePicker},
                     {L"edt_extelefone", K::MaskEdit}},
                    n);
    f.insert(f.end(), {{L"edt_escolaridade", K::ComboBox}, {L"edt_curso", K::Edit}, {L"edt_escola", K::Edit}});
    for (int n = 1; n <= 5; ++n)
        AddNumbered(f,
                    {{L"edt_cucurso", K::Edit}, {L"edt_cuobs", K::Edit}, {L"edt_cuescola", K::Edit},
                     {L"edt_cuduracao", K::ComboBox}},
                    n);
    f.insert(f.end(), {{L"edt_rg", K::Edit}, {L"edt_cpf", K::Edit}, {L"edt_cp", K::Edit},
                       {L"edt_te", K::Edit}, {L"edt_cargo", K::Edit}, {L"edt_salario", K::Edit},
                       {L"frase", K::RichEdit}});
    return f;
}

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
