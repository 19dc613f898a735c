// The résumé template: read from its stored description, filled from a small set of entries as
// generation fills it, laid out into pages, and read back from the pages' text records.
#include "app/Curriculo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "framework/graphics/Metafile.h"
#include "framework/rtl/FormatSettings.h"
#include "framework/rtl/WinApi.h"
#include "app/PageTexts_test.h"
#include "report/printables/QRImage.h"
#include "report/printables/QRShape.h"
#include "report/text/QRTextPrintables.h"
#include "testing/FakePrinters.h"

namespace {

// Every page's text records, page by page.
std::vector<std::vector<TTextRecord>> Pages(TCurriculo& curriculo) {
    std::vector<std::vector<TTextRecord>> pages;
    TQRPrinter* printer = curriculo.ReportPrinter();
    for (int n = 1; printer != nullptr && n <= printer->PageCount(); ++n) pages.push_back(TextRecords(*printer->PageMetafile(n)));
    return pages;
}

// All texts of all pages in print order.
std::vector<String> Texts(const std::vector<std::vector<TTextRecord>>& pages) {
    std::vector<String> texts;
    for (const auto& page : pages)
        for (const TTextRecord& r : page) texts.push_back(r.Text);
    return texts;
}

std::ptrdiff_t IndexOf(const std::vector<String>& texts, const String& text) {
    auto it = std::find(texts.begin(), texts.end(), text);
    return it == texts.end() ? -1 : it - texts.begin();
}

String Joined(const std::vector<String>& texts) {
    String all;
    for (const String& t : texts) all += t + L"|";
    return all;
}

// Fills the template as generation does: every label of the table gets its field's text, and
// the sections are switched by what is filled.
void Fill(TCurriculo& curriculo, const TFieldTexts& texts) {
    for (const TCurriculoField& field : CurriculoFields()) {
        auto it = texts.find(field.Field);
        // The photo is a picture; the phrase keeps its caption when no phrase is chosen.
        if (field.Label == L"foto" || (field.Label == L"frase" && it == texts.end())) continue;
        curriculo.Label(field.Label)->AssignCaption(it != texts.end() ? it->second : String());
    }
    curriculo.ShowSections(CurriculoSectionSwitches(texts));
}

struct TTemplateFixture : ::testing::Test {
    TTemplateFixture() { curriculo.SetShowProgress(false); }
    TLocal<TCurriculo> curriculo{nullptr};
};

const wchar_t* const longObservation =
    L"Responsavel pelo atendimento a clientes, pela conferencia diaria do caixa, pela organizacao do estoque "
    L"e pelo treinamento dos novos funcionarios da loja durante os tres anos em que trabalhei na empresa.";

TFieldTexts FullResume() {
    TFieldTexts texts = {
        {L"edt_nome", L"Maria da Silva"},
        {L"edt_email", L"maria.silva@exemplo.com.br"},
        {L"edt_escolaridade", L"Superior Completo"},
        {L"edt_curso", L"Administracao"},
        {L"edt_escola", L"Universidade Federal"},
        {L"edt_cp", L"12345 serie 001"},
        {L"edt_te", L"0987 6543 21"},
        {L"edt_rg", L"12.345.678-9"},
        {L"edt_cpf", L"123.456.789-00"},
        {L"edt_cargo", L"Gerente de Loja"},
        {L"edt_salario", L"R$ 3.000,00"},
        {L"frase", L"Primeira linha da frase\r\nsegunda linha da frase"},
    };
    for (int n = 1; n <= 5; ++n) {
        const String i = std::to_wstring(n);
        texts[L"edt_exnome" + i] = L"Empresa " + i;
        texts[L"edt_excargo" + i] = L"Cargo " + i;
        texts[L"edt_exobs" + i] = longObservation;
        texts[L"edt_cucurso" + i] = L"Curso " + i;
        texts[L"edt_cuobs" + i] = L"Observacao do curso " + i;
        texts[L"edt_cuescola" + i] = L"Escola " + i;
        texts[L"edt_cuduracao" + i] = i + L" meses";
    }
    return texts;
}

TEST_F(TTemplateFixture, ReadsItsBandsInPrintOrderFromTheStoredDescription) {
    std::vector<String> bands;
    for (TQRCustomBand* band : curriculo.BandList()) bands.push_back(band->Name());
    std::vector<String> expected;
    for (const TSectionSwitch& s : CurriculoSectionSwitches({})) expected.push_back(s.Band);
    EXPECT_EQ(bands, expected);
    EXPECT_GE(curriculo.ComponentCount(), 185);
    for (TQRCustomBand* band : curriculo.BandList()) EXPECT_TRUE(band->Enabled()) << band->Name();
    EXPECT_EQ(curriculo.empresa[2]->Caption(), L"empresa3") << "value labels show their names until filled";
    EXPECT_EQ(curriculo.frase->Caption(), L".");
    EXPECT_EQ(curriculo.titulo4->Caption(), L"Cursos ");
    EXPECT_EQ(curriculo.txt2->Data(), qrsPageNumber);
    EXPECT_EQ(curriculo.linha[0]->Pen()->Style(), psSolid);
    EXPECT_EQ(curriculo.linha[12]->Pen()->Style(), psDashDot);
    EXPECT_TRUE(curriculo.foto->Stretch());
    EXPECT_EQ(curriculo.Page()->StoredValue(TQRPage::iLength), 2970);
}

// The later entries repeat each other: the same controls at the same places, numbered apart.
TEST_F(TTemplateFixture, LaterEntriesRepeatTheSecondOneNumberedApart) {
    auto layout = [](TQRCustomBand* band, const String& number) {
        std::vector<String> rows;
        for (int i = 0; i < band->ControlCount(); ++i) {
            auto* control = dynamic_cast<TQRPrintable*>(band->Controls(i));
            String name = control->Name();
            if (name.starts_with(L"QRLabel")) name = dynamic_cast<TQRLabel*>(control)->Caption();
            else if (name.ends_with(number)) name.resize(name.size() - number.size());
            else if (name.starts_with(L"linha")) name = L"linha";
            const TQRPrintableSize& s = *control->Size();
            rows.push_back(name + L"@" + std::to_wstring(static_cast<int>(s.StoredValue(TQRPrintableSize::iLeft))) +
                           L"," + std::to_wstring(static_cast<int>(s.StoredValue(TQRPrintableSize::iTop))));
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    };
    for (int n = 3; n <= 5; ++n) {
        const String i = std::to_wstring(n);
        EXPECT_EQ(layout(curriculo.subexperiencia[n - 1], i), layout(curriculo.subexperiencia[1], L"2")) << n;
        EXPECT_EQ(layout(curriculo.subcurso[n - 1], i), layout(curriculo.subcurso[1], L"2")) << n;
        EXPECT_EQ(curriculo.subexperiencia[n - 1]->Size()->StoredValue(TQRBandSize::iHeight), 349);
        EXPECT_EQ(curriculo.subcurso[n - 1]->Size()->StoredValue(TQRBandSize::iHeight), 275);
    }
}

TEST_F(TTemplateFixture, AnEmptyResumeHoldsTheTitleThePhraseAndTheFooter) {
    Fill(curriculo, {});
    curriculo.PrepareReport();
    const auto pages = Pages(curriculo);
    ASSERT_EQ(pages.size(), 1u);
    const std::vector<String> texts = Texts(pages);
    for (const wchar_t* text : {L"Folhavida Vitae", L"Nome:", L"Email:", L"U.F.:", L".", L"Folhavida 3.0", L"página", L"1", L"de"})
        EXPECT_GE(IndexOf(texts, text), 0) << text << " in " << Joined(texts);
    for (const wchar_t* text : {L"Experiências Profissionais", L"Escolaridade", L"Cursos ", L"Informações Adicionais",
                                L"Nome da Empresa:", L"nome", L"empresa1"})
        EXPECT_EQ(IndexOf(texts, text), -1) << text << " in " << Joined(texts);
    EXPECT_LT(IndexOf(texts, L"Folhavida Vitae"), IndexOf(texts, L"."));
    EXPECT_LT(IndexOf(texts, L"."), IndexOf(texts, L"Folhavida 3.0"));
}

TEST_F(TTemplateFixture, ALaterEntryAloneStillHasItsHeadingAndNothingOfTheFirst) {
    Fill(curriculo, {{L"edt_exnome2", L"Padaria Central"}, {L"edt_cucurso3", L"Informatica"}, {L"edt_te", L"0987"}});
    curriculo.PrepareReport();
    const std::vector<String> texts = Texts(Pages(curriculo));
    const std::vector<String> inOrder = {L"Folhavida Vitae", L"Experiências Profissionais", L"Padaria Central",
                                         L"Cursos ",         L"Informatica",                L"Informações Adicionais",
                                         L"Titulo Eleitoral:", L"0987",                     L"Folhavida 3.0"};
    std::ptrdiff_t last = -1;
    for (const String& text : inOrder) {
        const std::ptrdiff_t at = IndexOf(texts, text);
        EXPECT_GT(at, last) << text << " in " << Joined(texts);
        last = at;
    }
    EXPECT_EQ(std::count(texts.begin(), texts.end(), String(L"Nome da Empresa:")), 1) << Joined(texts);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), String(L"Descrição do Curso: ")), 1) << Joined(texts);
    EXPECT_EQ(IndexOf(texts, L"Escolaridade"), -1);

    // The next run with the first entry filled prints it whole again.
    Fill(curriculo, {{L"edt_exnome1", L"Mercado Bom"}, {L"edt_exnome2", L"Padaria Central"}});
    curriculo.PrepareReport();
    const std::vector<String> again = Texts(Pages(curriculo));
    EXPECT_EQ(std::count(again.begin(), again.end(), String(L"Nome da Empresa:")), 2) << Joined(again);
    EXPECT_LT(IndexOf(again, L"Mercado Bom"), IndexOf(again, L"Padaria Central"));
}

TEST_F(TTemplateFixture, AFullResumeRunsOverPagesWithEverythingTyped) {
    curriculo.Font()->SetName(L"Times New Roman");
    Fill(curriculo, FullResume());
    curriculo.PrepareReport();
    const auto pages = Pages(curriculo);
    ASSERT_GE(pages.size(), 2u);

    // The footer on every page, with that page's number, in its own font.
    for (std::size_t p = 0; p < pages.size(); ++p) {
        std::map<String, String> faces;
        for (const TTextRecord& r : pages[p]) faces[r.Text] = r.Face;
        EXPECT_EQ(faces[L"Folhavida 3.0"], L"Arial") << "page " << p + 1;
        EXPECT_EQ(faces[L"página"], L"Arial") << "page " << p + 1;
        EXPECT_TRUE(faces.count(std::to_wstring(p + 1))) << "page number on page " << p + 1;
    }
    // Headings, title and name keep their own font; captions and the sections' values follow the
    // report's.
    std::map<String, String> faces;
    for (const auto& page : pages)
        for (const TTextRecord& r : page) faces.emplace(r.Text, r.Face);
    EXPECT_EQ(faces[L"Folhavida Vitae"], L"Arial");
    EXPECT_EQ(faces[L"Experiências Profissionais"], L"Arial");
    EXPECT_EQ(faces[L"Maria da Silva"], L"Arial");
    EXPECT_EQ(faces[L"Nome:"], L"Times New Roman");
    EXPECT_EQ(faces[L"Empresa 3"], L"Times New Roman");

    // Sections in print order, all five entries of each.
    const std::vector<String> texts = Texts(pages);
    const std::vector<String> inOrder = {L"Maria da Silva", L"Experiências Profissionais", L"Empresa 1", L"Empresa 5",
                                         L"Escolaridade",   L"Superior Completo",          L"Cursos ",   L"Curso 1",
                                         L"Curso 5",        L"Informações Adicionais",     L"R$ 3.000,00"};
    std::ptrdiff_t last = -1;
    for (const String& text : inOrder) {
        const std::ptrdiff_t at = IndexOf(texts, text);
        EXPECT_GT(at, last) << text << " in " << Joined(texts);
        last = at;
    }
    // Long and multi-line texts print every line.
    String all;
    for (const String& t : texts) all += t + L" ";
    EXPECT_NE(all.find(L"dos novos funcionarios da loja durante os tres anos em que trabalhei na empresa."), String::npos)
        << Joined(texts);
    EXPECT_GE(IndexOf(texts, L"segunda linha da frase"), 0) << Joined(texts);
    EXPECT_GT(IndexOf(texts, L"segunda linha da frase"), IndexOf(texts, L"Primeira linha da frase"));
}

// The résumé is laid out on A4 wherever it runs: on this machine's own printers, on a machine
// without any in a locale that measures in inches, and on a printer set to Letter that also
// offers A4. Its footer, at the foot of A4 and below where a Letter page would end, stays on
// the page.
TEST(CurriculoPaper, PagesAreA4WithTheFooterOnThePage) {
    enum class TMachine { Own, None, LetterPrinterWithA4 };
    const struct {
        const char* Name;
        TMachine Machine;
    } cases[] = {
        {"this machine's printers", TMachine::Own},
        {"no printer", TMachine::None},
        {"a printer on Letter", TMachine::LetterPrinterWithA4},
    };
    const TFormatSettings saved = DefaultFormatSettings();
    TFormatSettings inches = saved;
    inches.MeasureInInches = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        std::optional<FakePrintMachine> machine;
        std::optional<ScopedFakePrinters> installed;
        if (c.Machine != TMachine::Own) {
            machine.emplace();
            if (c.Machine == TMachine::None) {
                machine->Printers.clear();
            } else {
                FakePrinterModel& model = machine->Printers.front();
                model.PaperCode = DMPAPER_LETTER;
                model.PaperWidth = 2159;
                model.PaperLength = 2794;
            }
            installed.emplace(*machine);
            SetDefaultFormatSettings(inches);
        }
        TLocal<TCurriculo> curriculo{nullptr};
        curriculo.SetShowProgress(false);
        Fill(curriculo, {});
        curriculo.PrepareReport();
        SetDefaultFormatSettings(saved);

        TQRPrinter* printer = curriculo.ReportPrinter();
        ASSERT_NE(printer, nullptr);
        ASSERT_EQ(printer->PageCount(), 1);
        EXPECT_EQ(printer->PaperSize(), TQRPaperSize::A4);
        const std::unique_ptr<TMetafile> page = printer->PageMetafile(1);
        ENHMETAHEADER header{};
        ASSERT_NE(GetEnhMetaFileHeader(page->Handle(), sizeof header, &header), 0u);
        // The frame in 0.01 mm; a pixel of rounding either way.
        const int frameWidth = header.rclFrame.right - header.rclFrame.left;
        const int frameHeight = header.rclFrame.bottom - header.rclFrame.top;
        EXPECT_NEAR(frameWidth, 21000, 60);
        EXPECT_NEAR(frameHeight, 29700, 60);

        const std::vector<TTextRecord> texts = TextRecords(*page);
        const auto footer = std::find_if(texts.begin(), texts.end(),
                                         [](const TTextRecord& r) { return r.Text == L"Folhavida 3.0"; });
        ASSERT_NE(footer, texts.end());
        ASSERT_GT(page->Height(), 0);
        const double footerMM = footer->Y * (frameHeight / 100.0) / page->Height();
        EXPECT_GT(footerMM, 279.4) << "the footer sits at the foot of A4";
        EXPECT_LT(footerMM, 287.0) << "the footer stays above the bottom margin";
    }
}

}  // namespace
