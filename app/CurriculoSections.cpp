#include "app/CurriculoSections.h"

#include <algorithm>
#include <cwctype>

namespace {

String Numbered(const wchar_t* name, int n) { return String(name) + std::to_wstring(n); }

std::vector<TCurriculoField> BuildFields() {
    std::vector<TCurriculoField> fields = {
        {L"edt_nome", L"nome", L"subprincipal"},
        {L"edt_nasc", L"nascimento", L"subprincipal"},
        {L"edt_sexo", L"sexo", L"subprincipal"},
        {L"edt_ec", L"ec", L"subprincipal"},
        {L"edt_tel1", L"telefone1", L"subprincipal"},
        {L"edt_tel2", L"telefone2", L"subprincipal"},
        {L"edt_natural", L"naturalidade", L"subprincipal"},
        {L"edt_email", L"email", L"subprincipal"},
        {L"edt_rua", L"rua", L"subprincipal"},
        {L"edt_numero", L"numero", L"subprincipal"},
        {L"edt_complemento", L"complemento", L"subprincipal"},
        {L"edt_bairro", L"bairro", L"subprincipal"},
        {L"edt_cidade", L"cidade", L"subprincipal"},
        {L"edt_uf", L"uf", L"subprincipal"},
        {L"Image1", L"foto", L"subprincipal"},
    };
    for (int n = 1; n <= 5; ++n) {
        const String band = Numbered(L"subexperiencia", n);
        fields.push_back({Numbered(L"edt_exnome", n), Numbered(L"empresa", n), band});
        fields.push_back({Numbered(L"edt_excargo", n), Numbered(L"cargo", n), band});
        fields.push_back({Numbered(L"edt_exentrada", n), Numbered(L"admissao", n), band});
        fields.push_back({Numbered(L"edt_exsaida", n), Numbered(L"demissao", n), band});
        fields.push_back({Numbered(L"edt_extelefone", n), Numbered(L"tel", n), band});
        fields.push_back({Numbered(L"edt_exobs", n), Numbered(L"obs", n), band});
    }
    fields.push_back({L"edt_escolaridade", L"escolaridade", L"subescolaridade"});
    fields.push_back({L"edt_curso", L"descricao", L"subescolaridade"});
    fields.push_back({L"edt_escola", L"escola", L"subescolaridade"});
    for (int n = 1; n <= 5; ++n) {
        const String band = Numbered(L"subcurso", n);
        fields.push_back({Numbered(L"edt_cucurso", n), Numbered(L"cudescricao", n), band});
        fields.push_back({Numbered(L"edt_cuobs", n), Numbered(L"cuobs", n), band});
        fields.push_back({Numbered(L"edt_cuescola", n), Numbered(L"cuescola", n), band});
        fields.push_back({Numbered(L"edt_cuduracao", n), Numbered(L"cuduracao", n), band});
    }
    fields.push_back({L"edt_cp", L"cp", L"subcp"});
    fields.push_back({L"edt_te", L"te", L"subcp"});
    fields.push_back({L"edt_rg", L"rg", L"subrg"});
    fields.push_back({L"edt_cpf", L"cpf", L"subrg"});
    fields.push_back({L"edt_cargo", L"cargop", L"subcargo"});
    fields.push_back({L"edt_salario", L"sp", L"subsalario"});
    fields.push_back({L"frase", L"frase", L"subfrase"});
    return fields;
}

// Bands in print order; the first, the phrase and the footer always print.
std::vector<String> PrintOrder() {
    std::vector<String> bands = {L"subprincipal"};
    for (int n = 1; n <= 5; ++n) bands.push_back(Numbered(L"subexperiencia", n));
    bands.push_back(L"subescolaridade");
    for (int n = 1; n <= 5; ++n) bands.push_back(Numbered(L"subcurso", n));
    for (const wchar_t* band : {L"subinformacoes", L"subcp", L"subrg", L"subcargo", L"subsalario", L"subfrase",
                                L"GroupFooterBand1"})
        bands.push_back(band);
    return bands;
}

bool AlwaysPrinted(const String& band) {
    return band == L"subprincipal" || band == L"subfrase" || band == L"GroupFooterBand1";
}

TFieldKind KindOf(const String& field) {
    for (const TDataField& f : DataFields())
        if (f.Name == field) return f.Kind;
    return TFieldKind::Edit;
}

}  // namespace

const std::vector<TCurriculoField>& CurriculoFields() {
    static const std::vector<TCurriculoField> fields = BuildFields();
    return fields;
}

const std::vector<TCurriculoSection>& CurriculoSections() {
    static const std::vector<TCurriculoSection> sections = [] {
        TCurriculoSection experiences{L"subexperiencia1", {}}, courses{L"subcurso1", {}};
        for (int n = 1; n <= 5; ++n) {
            experiences.EntryBands.push_back(Numbered(L"subexperiencia", n));
            courses.EntryBands.push_back(Numbered(L"subcurso", n));
        }
        return std::vector<TCurriculoSection>{
            experiences,
            {L"subescolaridade", {L"subescolaridade"}},
            courses,
            {L"subinformacoes", {L"subcp", L"subrg", L"subcargo", L"subsalario"}},
        };
    }();
    return sections;
}

bool FieldFilled(TFieldKind kind, const String& text) {
    switch (kind) {
    case TFieldKind::DatePicker: return false;
    case TFieldKind::MaskEdit:
        return std::any_of(text.begin(), text.end(), [](wchar_t c) { return std::iswalnum(c) != 0; });
    default: return !text.empty();
    }
}

std::vector<TSectionSwitch> CurriculoSectionSwitches(const TFieldTexts& texts) {
    std::map<String, bool> filled;
    for (const TCurriculoField& field : CurriculoFields()) {
        auto it = texts.find(field.Field);
        if (it != texts.end() && FieldFilled(KindOf(field.Field), it->second)) filled[field.Band] = true;
    }
    std::map<String, TSectionShow> show;
    for (const auto& [band, on] : filled)
        if (on) show[band] = TSectionShow::On;
    for (const TCurriculoSection& section : CurriculoSections()) {
        const bool anyEntry = std::any_of(section.EntryBands.begin(), section.EntryBands.end(),
                                          [&](const String& band) { return filled[band]; });
        if (anyEntry && !filled[section.HeadingBand]) {
            const bool carriesEntry = std::find(section.EntryBands.begin(), section.EntryBands.end(),
                                                section.HeadingBand) != section.EntryBands.end();
            show[section.HeadingBand] = carriesEntry ? TSectionShow::HeadingOnly : TSectionShow::On;
        }
    }
    std::vector<TSectionSwitch> switches;
    for (const String& band : PrintOrder()) {
        TSectionShow s = AlwaysPrinted(band) ? TSectionShow::On : TSectionShow::Off;
        if (auto it = show.find(band); it != show.end()) s = it->second;
        switches.push_back({band, s});
    }
    return switches;
}
