// Which bands of the résumé print for which fields filled in the main window.
#include "app/CurriculoSections.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const String untouchedPhone = L"(  )    -    ";

// The bands whose show differs from Off, as "band" (On) or "band:heading" (HeadingOnly).
std::set<String> Shown(const TFieldTexts& texts) {
    std::set<String> shown;
    for (const TSectionSwitch& s : CurriculoSectionSwitches(texts)) {
        if (s.Show == TSectionShow::On) shown.insert(s.Band);
        if (s.Show == TSectionShow::HeadingOnly) shown.insert(s.Band + L":heading");
    }
    return shown;
}

std::set<String> Always(std::set<String> more = {}) {
    more.insert({L"subprincipal", L"subfrase", L"GroupFooterBand1"});
    return more;
}

struct TSwitchCase {
    const char* what;
    TFieldTexts texts;
    std::set<String> shown;
};

TEST(CurriculoSections, BandsPrintForAnyFieldTheyShow) {
    const TSwitchCase cases[] = {
        {"nothing entered", {}, Always()},
        {"dates, untouched telephones and empty texts decide nothing",
         {{L"edt_nome", L""},
          {L"edt_exentrada1", L"01/01/1985"},
          {L"edt_exsaida3", L"01/01/1985"},
          {L"edt_extelefone2", untouchedPhone},
          {L"edt_cuobs4", L""}},
         Always()},
        {"experience 1", {{L"edt_exnome1", L"ACME"}}, Always({L"subexperiencia1"})},
        {"experience 2 without 1 keeps the heading", {{L"edt_exnome2", L"ACME"}},
         Always({L"subexperiencia1:heading", L"subexperiencia2"})},
        {"an experience known only by its telephone", {{L"edt_extelefone4", L"(11)5555-1234"}},
         Always({L"subexperiencia1:heading", L"subexperiencia4"})},
        {"an experience known only by its observations", {{L"edt_exobs1", L"estagio"}},
         Always({L"subexperiencia1"})},
        {"course 5 with course 4 empty", {{L"edt_cucurso5", L"Ingles"}},
         Always({L"subcurso1:heading", L"subcurso5"})},
        {"a course known only by its school", {{L"edt_cuescola1", L"SENAI"}}, Always({L"subcurso1"})},
        {"schooling course without a level", {{L"edt_curso", L"Ensino Medio"}}, Always({L"subescolaridade"})},
        {"schooling level", {{L"edt_escolaridade", L"Superior"}}, Always({L"subescolaridade"})},
        {"voter title without work card", {{L"edt_te", L"1234"}}, Always({L"subinformacoes", L"subcp"})},
        {"CPF without RG", {{L"edt_cpf", L"123.456.789-00"}}, Always({L"subinformacoes", L"subrg"})},
        {"wished post", {{L"edt_cargo", L"Gerente"}}, Always({L"subinformacoes", L"subcargo"})},
        {"wished salary", {{L"edt_salario", L"R$ 1000"}}, Always({L"subinformacoes", L"subsalario"})},
        {"personal data and the phrase change no section",
         {{L"edt_nome", L"Maria"}, {L"edt_email", L"m@x.br"}, {L"frase", L"\"Frase\""}}, Always()},
        {"everything",
         {{L"edt_exnome1", L"a"},
          {L"edt_exnome2", L"a"},
          {L"edt_exnome3", L"a"},
          {L"edt_exnome4", L"a"},
          {L"edt_exnome5", L"a"},
          {L"edt_escolaridade", L"a"},
          {L"edt_cucurso1", L"a"},
          {L"edt_cucurso2", L"a"},
          {L"edt_cucurso3", L"a"},
          {L"edt_cucurso4", L"a"},
          {L"edt_cucurso5", L"a"},
          {L"edt_cp", L"a"},
          {L"edt_rg", L"a"},
          {L"edt_cargo", L"a"},
          {L"edt_salario", L"a"}},
         Always({L"subexperiencia1", L"subexperiencia2", L"subexperiencia3", L"subexperiencia4", L"subexperiencia5",
                 L"subescolaridade", L"subcurso1", L"subcurso2", L"subcurso3", L"subcurso4", L"subcurso5",
                 L"subinformacoes", L"subcp", L"subrg", L"subcargo", L"subsalario"})},
    };
    for (const TSwitchCase& c : cases) EXPECT_EQ(Shown(c.texts), c.shown) << c.what;
}

TEST(CurriculoSections, SwitchesComeInPrintOrderForEveryBand) {
    std::vector<String> bands;
    for (const TSectionSwitch& s : CurriculoSectionSwitches({})) bands.push_back(s.Band);
    const std::vector<String> expected = {
        L"subprincipal",    L"subexperiencia1", L"subexperiencia2", L"subexperiencia3", L"subexperiencia4",
        L"subexperiencia5", L"subescolaridade", L"subcurso1",       L"subcurso2",       L"subcurso3",
        L"subcurso4",       L"subcurso5",       L"subinformacoes",  L"subcp",           L"subrg",
        L"subcargo",        L"subsalario",      L"subfrase",        L"GroupFooterBand1"};
    EXPECT_EQ(bands, expected);
}

TEST(CurriculoSections, EveryFieldOfTheTableIsAFieldOfTheMainWindow) {
    std::set<String> known = {L"Image1"};
    for (const TDataField& field : DataFields()) known.insert(field.Name);
    std::set<String> labels;
    for (const TCurriculoField& field : CurriculoFields()) {
        EXPECT_TRUE(known.count(field.Field)) << field.Field;
        EXPECT_TRUE(labels.insert(field.Label).second) << "two fields fill " << field.Label;
    }
    EXPECT_EQ(labels.size(), 15u + 5 * 6 + 3 + 5 * 4 + 6 + 1);
}

TEST(CurriculoSections, FilledTable) {
    struct {
        TFieldKind kind;
        const wchar_t* text;
        bool filled;
    } const cases[] = {
        {TFieldKind::Edit, L"", false},         {TFieldKind::Edit, L"x", true},
        {TFieldKind::RichEdit, L"\r\n", true},  {TFieldKind::ComboBox, L"", false},
        {TFieldKind::ComboBox, L"SP", true},    {TFieldKind::MaskEdit, L"(  )    -    ", false},
        {TFieldKind::MaskEdit, L"(1 )    -    ", true}, {TFieldKind::DatePicker, L"01/01/1985", false},
    };
    for (const auto& c : cases) EXPECT_EQ(FieldFilled(c.kind, c.text), c.filled) << static_cast<int>(c.kind) << " '" << c.text << "'";
}

}  // namespace
