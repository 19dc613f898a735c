#include "app/CurriculoFill.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/FullResume_test.h"
#include "framework/rtl/StringUtils.h"

namespace {

bool Has(const std::vector<String>& names, const String& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

TEST(CurriculoFill, EachVariantSetsFontColourCounterTotalAndTitle) {
    const TResumeStyle chosen{L"Monotype Corsiva", clNavy, false};
    struct Row {
        TFillVariant Variant;
        String Font;
        TColor Color;
        bool Counter;
    };
    const Row rows[] = {
        {TFillVariant::Default, L"Arial", clBlack, true},
        {TFillVariant::Styled, L"Monotype Corsiva", clNavy, false},
        {TFillVariant::Save, L"Monotype Corsiva", clNavy, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.Variant));
        const TCurriculoState s = FillCurriculo(FullResume(), row.Variant, chosen);
        EXPECT_EQ(s.FontName, row.Font);
        EXPECT_EQ(s.Color, row.Color);
        EXPECT_EQ(s.ReportTitle, L"Curriculo de João Conceição");
        EXPECT_TRUE(s.TotalFromPageCount);
        for (const wchar_t* t : {L"txt1", L"txt2", L"txt3", L"txt4"}) EXPECT_EQ(s.Enabled.at(t), row.Counter) << t;

        // The headings and the fourteen personal labels take font and colour; the footer only
        // the colour; every line, dashed ones included, the colour.
        EXPECT_EQ(s.FontNamedLabels.size(), 19u);
        for (const wchar_t* name : {L"titulo", L"titulo5", L"nome", L"uf", L"telefone2"}) {
            EXPECT_TRUE(Has(s.FontNamedLabels, name)) << name;
            EXPECT_TRUE(Has(s.ColoredLabels, name)) << name;
        }
        for (const wchar_t* name : {L"txt1", L"txt4", L"folhavida"}) {
            EXPECT_FALSE(Has(s.FontNamedLabels, name)) << name;
            EXPECT_TRUE(Has(s.ColoredLabels, name)) << name;
        }
        EXPECT_EQ(s.ColoredLines.size(), 13u);
        EXPECT_TRUE(Has(s.ColoredLines, L"linha1"));
        EXPECT_TRUE(Has(s.ColoredLines, L"linha13"));
    }
}

TEST(CurriculoFill, AFullResumeSwitchesEverySectionOnAndFillsItsLabels) {
    const TCurriculoState s = FillCurriculo(FullResume(), TFillVariant::Default, {});
    for (const auto& [name, on] : s.Enabled) {
        if (name.rfind(L"txt", 0) != 0) {
            EXPECT_TRUE(on) << StringToUtf8(name);
        }
    }
    EXPECT_EQ(s.Enabled.size(), 20u);  // 5 + 1 + 5 + 4 sections, their heading and 4 counter labels
    const std::pair<const wchar_t*, const wchar_t*> captions[] = {
        {L"nome", L"João Conceição"}, {L"nascimento", L"01/01/1985"}, {L"telefone1", L"(81)3333-4444"},
        {L"empresa1", L"Empresa 1"},  {L"cargo3", L"Cargo 3"},        {L"admissao5", L"01/02/2005"},
        {L"demissao2", L"01/03/2002"}, {L"tel4", L"(81)1111-0004"},   {L"obs5", L"Obs 5"},
        {L"escolaridade", L"2º Grau Completo"}, {L"descricao", L"Técnico"}, {L"escola", L"Escola Estadual"},
        {L"cudescricao5", L"Curso 5"}, {L"cuobs1", L"Nota 1"},        {L"cuescola3", L"Escola 3"},
        {L"cuduracao2", L"1 Ano"},    {L"cp", L"55"}, {L"te", L"66"}, {L"rg", L"1234"}, {L"cpf", L"987"},
        {L"cargop", L"Analista"},     {L"sp", L"a combinar"},        {L"sexo", L"Masculino"}, {L"ec", L""},
    };
    for (const auto& [label, text] : captions) EXPECT_EQ(s.Captions.at(label), text) << StringToUtf8(label);
    EXPECT_EQ(s.Captions.count(L"frase"), 0u);  // no phrase ticked: it keeps the last one
}

TEST(CurriculoFill, EmptyFieldsSwitchTheirSectionsOffAndLeaveTheirLabels) {
    TResumeData d = FullResume();
    d.Experiencias[0].Empresa.clear();  // the others stay on, without the heading band 1 holds
    d.Cursos[3].Curso.clear();
    d.Escolaridade.clear();
    d.Cp.clear();  // te alone does not count
    d.Rg.clear();
    d.Cargo.clear();
    d.Salario.clear();
    const TCurriculoState s = FillCurriculo(d, TFillVariant::Styled, {});
    EXPECT_FALSE(s.Enabled.at(L"subexperiencia1"));
    EXPECT_TRUE(s.Enabled.at(L"subexperiencia2"));
    EXPECT_FALSE(s.Enabled.at(L"subcurso4"));
    EXPECT_TRUE(s.Enabled.at(L"subcurso5"));
    EXPECT_FALSE(s.Enabled.at(L"subescolaridade"));
    for (const wchar_t* band : {L"subcp", L"subrg", L"subcargo", L"subsalario", L"subinformacoes"})
        EXPECT_FALSE(s.Enabled.at(band)) << band;
    for (const wchar_t* label : {L"empresa1", L"obs1", L"cudescricao4", L"escolaridade", L"te", L"rg", L"sp"})
        EXPECT_EQ(s.Captions.count(label), 0u) << label;

    // Any one of the four further sections brings the heading band back.
    d.Salario = L"R$ 1.000";
    const TCurriculoState one = FillCurriculo(d, TFillVariant::Save, {});
    EXPECT_TRUE(one.Enabled.at(L"subsalario"));
    EXPECT_TRUE(one.Enabled.at(L"subinformacoes"));
}

TEST(CurriculoFill, TheLastTickedPhraseWins) {
    struct Row {
        std::array<bool, 4> Ticked;
        const wchar_t* Frase;  // nullptr: not set
    };
    const Row rows[] = {
        {{false, false, false, false}, nullptr},
        {{true, false, false, false}, L"\"Um.\""},
        {{false, false, true, false}, L"\"Três.\""},
        {{false, true, false, true}, L"Minha frase"},
        {{true, true, false, false}, L"\"Dois.\""},
    };
    for (const Row& row : rows) {
        TResumeData d = FullResume();
        d.FraseMarcada = row.Ticked;
        const TCurriculoState s = FillCurriculo(d, TFillVariant::Default, {});
        if (row.Frase == nullptr) {
            EXPECT_EQ(s.Captions.count(L"frase"), 0u);
        } else {
            EXPECT_EQ(s.Captions.at(L"frase"), row.Frase);
        }
    }
}
