#include "app/CurriculoFill.h"

#include <string>

namespace {

String Numbered(const wchar_t* name, size_t n) { return name + std::to_wstring(n + 1); }

// The headings and the personal value labels carry their font name and colour themselves; every
// other label follows the report's font.
const wchar_t* const Headings[] = {L"titulo", L"titulo2", L"titulo3", L"titulo4", L"titulo5"};
const wchar_t* const PersonalLabels[] = {
    L"nome", L"nascimento", L"sexo", L"ec", L"telefone1", L"telefone2", L"naturalidade",
    L"email", L"rua", L"numero", L"complemento", L"bairro", L"cidade", L"uf",
};
const wchar_t* const FooterLabels[] = {L"txt1", L"txt2", L"txt3", L"txt4", L"folhavida"};
const wchar_t* const PageCounterLabels[] = {L"txt1", L"txt2", L"txt3", L"txt4"};

}  // namespace

String ResumeTitle(const String& name) { return L"Curriculo de " + name; }

TResumeStyle StyleOfVariant(TFillVariant variant, const TResumeStyle& chosen) {
    return variant == TFillVariant::Default ? TResumeStyle{} : chosen;
}

TCurriculoState FillCurriculo(const TResumeData& d, TFillVariant variant, const TResumeStyle& chosen) {
    const TResumeStyle style = StyleOfVariant(variant, chosen);
    TCurriculoState s;
    s.ReportTitle = ResumeTitle(d.Nome);
    s.FontName = style.FontName;
    s.Color = style.Color;
    for (const wchar_t* name : Headings) s.FontNamedLabels.push_back(name);
    for (const wchar_t* name : PersonalLabels) s.FontNamedLabels.push_back(name);
    s.ColoredLabels = s.FontNamedLabels;
    for (const wchar_t* name : FooterLabels) s.ColoredLabels.push_back(name);
    for (size_t n = 0; n < 13; ++n) s.ColoredLines.push_back(Numbered(L"linha", n));
    for (const wchar_t* name : PageCounterLabels) s.Enabled[name] = style.PageCounter;
    s.TotalFromPageCount = true;

    auto& c = s.Captions;
    const String personal[] = {d.Nome, d.Nascimento, d.Sexo,        d.EstadoCivil, d.Telefone1,
                               d.Telefone2, d.Naturalidade, d.Email, d.Rua,       d.Numero,
                               d.Complemento, d.Bairro,  d.Cidade, d.Uf};
    for (size_t i = 0; i < std::size(PersonalLabels); ++i) c[PersonalLabels[i]] = personal[i];

    for (size_t n = 0; n < 5; ++n) {
        const TExperienceData& e = d.Experiencias[n];
        const bool on = !e.Empresa.empty();
        s.Enabled[Numbered(L"subexperiencia", n)] = on;
        if (!on) continue;
        c[Numbered(L"empresa", n)] = e.Empresa;
        c[Numbered(L"cargo", n)] = e.Cargo;
        c[Numbered(L"admissao", n)] = e.Admissao;
        c[Numbered(L"demissao", n)] = e.Demissao;
        c[Numbered(L"tel", n)] = e.Telefone;
        c[Numbered(L"obs", n)] = e.Obs;
    }

    s.Enabled[L"subescolaridade"] = !d.Escolaridade.empty();
    if (!d.Escolaridade.empty()) {
        c[L"escolaridade"] = d.Escolaridade;
        c[L"descricao"] = d.Curso;
        c[L"escola"] = d.Escola;
    }

    for (size_t n = 0; n < 5; ++n) {
        const TCourseData& k = d.Cursos[n];
        const bool on = !k.Curso.empty();
        s.Enabled[Numbered(L"subcurso", n)] = on;
        if (!on) continue;
        c[Numbered(L"cudescricao", n)] = k.Curso;
        c[Numbered(L"cuobs", n)] = k.Obs;
        c[Numbered(L"cuescola", n)] = k.Escola;
        c[Numbered(L"cuduracao", n)] = k.Duracao;
    }

    // The heading band prints when any of the four sections under it does.
    struct Further {
        const wchar_t* Band;
        const String& Decides;
        std::vector<std::pair<const wchar_t*, const String*>> Labels;
    };
    const Further further[] = {
        {L"subcp", d.Cp, {{L"cp", &d.Cp}, {L"te", &d.Te}}},
        {L"subrg", d.Rg, {{L"rg", &d.Rg}, {L"cpf", &d.Cpf}}},
        {L"subcargo", d.Cargo, {{L"cargop", &d.Cargo}}},
        {L"subsalario", d.Salario, {{L"sp", &d.Salario}}},
    };
    bool heading = false;
    for (const Further& f : further) {
        const bool on = !f.Decides.empty();
        s.Enabled[f.Band] = on;
        heading = heading || on;
        if (on)
            for (const auto& [label, text] : f.Labels) c[label] = *text;
    }
    s.Enabled[L"subinformacoes"] = heading;

    // The last ticked phrase box wins; with none ticked the phrase stays as it was.
    for (size_t i = 0; i < 4; ++i)
        if (d.FraseMarcada[i]) c[L"frase"] = i == 3 ? d.FraseTexto : d.FraseLegenda[i];
    return s;
}
