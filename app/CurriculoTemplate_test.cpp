// Putting filled states onto a real résumé template, laying it out, and saving and reading back
// its pages.
#include "app/CurriculoTemplate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/Curriculo.h"
#include "app/CurriculoSections.h"
#include "app/DataFields.h"
#include "app/FullResume_test.h"
#include "app/PageTexts_test.h"
#include "framework/graphics/Picture.h"
#include "framework/graphics/ScreenMetrics.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/StringUtils.h"
#include "report/printables/QRImage.h"
#include "report/printables/QRShape.h"
#include "report/text/QRTextPrintables.h"

namespace {

// The full résumé with the second phrase ticked, and without identity papers or a wished post:
// those further sections stay off while the others print.
TResumeData FullResumeWithPhrase() {
    TResumeData d = FullResume();
    d.Rg.clear();
    d.Cpf.clear();
    d.Cargo.clear();
    d.FraseMarcada = {false, true, false, false};
    return d;
}

std::vector<String> Texts(TQRPrinter& printer) {
    std::vector<String> texts;
    for (int n = 1; n <= printer.PageCount(); ++n)
        for (const TTextRecord& r : TextRecords(*printer.PageMetafile(n))) texts.push_back(r.Text);
    return texts;
}

// The longest text a free-text field takes, begun with the label's name so that each label's
// lines can be told apart: capitals in words, or one unbroken run of a wide small letter (an
// e-mail or web address).
String Longest(const String& label, int maxLength, bool words) {
    String text = label + (words ? L" " : L"");
    const String filler = words ? String(L"MARIA CONCEIÇÃO WANDERLEY GUIMARÃES ") : String(L"m");
    while (static_cast<int>(text.size()) < maxLength) text += filler;
    text.resize(static_cast<std::size_t>(maxLength));
    return text;
}

int MaxLengthOf(const String& field) {
    for (const TDataField& f : DataFields())
        if (f.Name == field && f.Kind == TFieldKind::Edit) return f.MaxLength;
    return 0;
}

// The room a value label has on its band, in 0.1 mm: to the first control right of it on its
// row (the photo included) or to the frame, and down to the next row it would run into.
struct TColumnRoom {
    Extended Right;
    Extended Bottom;  // no row below: the label may stretch its band
    String Below;     // the control there
};

TColumnRoom RoomOf(const TQRPrintable& label, Extended lineHeight) {
    auto* band = dynamic_cast<TQRCustomBand*>(label.Parent());
    const auto value = [](const TQRPrintable& p, int i) { return p.Size()->StoredValue(i); };
    const Extended left = value(label, TQRPrintableSize::iLeft), top = value(label, TQRPrintableSize::iTop);
    const Extended right = left + value(label, TQRPrintableSize::iWidth);
    // The page frame is drawn along the band's right end: the text keeps a millimetre from it.
    TColumnRoom room{band->Size()->StoredValue(TQRBandSize::iWidth) - 10, 1e9, String()};
    for (int i = 0; i < band->ControlCount(); ++i) {
        auto* other = dynamic_cast<TQRPrintable*>(band->Controls(i));
        if (other == nullptr || other == &label || dynamic_cast<TQRShape*>(other) != nullptr) continue;
        const Extended l = value(*other, TQRPrintableSize::iLeft), t = value(*other, TQRPrintableSize::iTop);
        const Extended b = t + value(*other, TQRPrintableSize::iHeight);
        if (l > left && t < top + lineHeight / 2 && b > top + lineHeight / 2) room.Right = std::min(room.Right, l);
    }
    for (int i = 0; i < band->ControlCount(); ++i) {
        auto* other = dynamic_cast<TQRPrintable*>(band->Controls(i));
        if (other == nullptr || other == &label || dynamic_cast<TQRShape*>(other) != nullptr) continue;
        const Extended l = value(*other, TQRPrintableSize::iLeft), t = value(*other, TQRPrintableSize::iTop);
        // Rows a fraction of a millimetre apart (the stored positions' rounding) are one row.
        if (t > top + lineHeight / 2 && l < right && l + value(*other, TQRPrintableSize::iWidth) > left)
            if (t < room.Bottom) room = {room.Right, t, other->Name()};
    }
    return room;
}

bool Has(const std::vector<String>& texts, const String& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

struct TTemplateApply : ::testing::Test {
    TTemplateApply() { curriculo.SetShowProgress(false); }
    std::vector<TFillStep> Apply(const TCurriculoState& state) {
        std::vector<TFillStep> steps;
        output.Apply(state, photo, [&](TFillStep step) { steps.push_back(step); });
        return steps;
    }
    TLocal<TCurriculo> curriculo{nullptr};
    TCurriculoTemplate output{curriculo};
    TPicture photo;
};

TEST_F(TTemplateApply, EachVariantLeavesTheTemplateInItsStyleWithItsTexts) {
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
        TLocal<TCurriculo> fresh{nullptr};
        fresh.SetShowProgress(false);
        TCurriculoTemplate target(fresh);
        // A state of the other look first: nothing of it may stay behind.
        TResumeData earlier;
        earlier.Nome = L"Outra Pessoa";
        target.Apply(FillCurriculo(earlier, TFillVariant::Styled, {L"Brush Script MT", clRed, !row.Counter}), photo,
                     [](TFillStep) {});

        std::vector<TFillStep> steps;
        target.Apply(FillCurriculo(FullResumeWithPhrase(), row.Variant, chosen), photo,
                     [&](TFillStep s) { steps.push_back(s); });
        ASSERT_EQ(steps.size(), 17u);
        for (size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(static_cast<size_t>(steps[i]), i) << "steps in order";

        EXPECT_EQ(fresh.Font()->Name(), row.Font);
        EXPECT_EQ(fresh.Font()->Color(), row.Color);
        EXPECT_EQ(fresh.Frame()->Color(), row.Color);
        for (TQRLabel* label : {fresh.titulo, fresh.titulo5, fresh.nome, fresh.uf}) {
            EXPECT_EQ(label->Font()->Name(), row.Font) << label->Name();
            EXPECT_EQ(label->Font()->Color(), row.Color) << label->Name();
        }
        EXPECT_EQ(fresh.txt2->Font()->Color(), row.Color);
        EXPECT_EQ(fresh.folhavida->Font()->Color(), row.Color);
        EXPECT_EQ(fresh.linha[0]->Pen()->Color(), row.Color);
        EXPECT_EQ(fresh.linha[12]->Pen()->Color(), row.Color);
        EXPECT_EQ(fresh.txt1->Enabled(), row.Counter);
        EXPECT_EQ(fresh.txt2->Enabled(), row.Counter);
        EXPECT_EQ(fresh.txt4->Enabled(), row.Counter);

        EXPECT_EQ(fresh.ReportTitle(), L"Curriculo de João Conceição");
        EXPECT_EQ(fresh.nome->Caption(), L"João Conceição");
        EXPECT_EQ(fresh.empresa[4]->Caption(), L"Empresa 5");
        EXPECT_EQ(fresh.cuescola[2]->Caption(), L"Escola 3");
        EXPECT_EQ(fresh.escolaridade->Caption(), L"2º Grau Completo");
        EXPECT_EQ(fresh.sp->Caption(), L"a combinar");
        EXPECT_EQ(fresh.frase->Caption(), L"\"Dois.\"");
        for (int n = 0; n < 5; ++n) {
            EXPECT_TRUE(fresh.subexperiencia[n]->Enabled()) << n;
            EXPECT_TRUE(fresh.subcurso[n]->Enabled()) << n;
        }
        EXPECT_TRUE(fresh.subinformacoes->Enabled());
        EXPECT_TRUE(fresh.subcp->Enabled());
        EXPECT_FALSE(fresh.subrg->Enabled());
        EXPECT_FALSE(fresh.subcargo->Enabled());

        // The total is this résumé's, which runs over more than one page (the earlier one had one).
        ASSERT_NE(fresh.ReportPrinter(), nullptr);
        const int pages = fresh.ReportPrinter()->PageCount();
        EXPECT_GE(pages, 2);
        EXPECT_EQ(fresh.txt4->Caption(), std::to_wstring(pages));
    }
}

TEST_F(TTemplateApply, TheLongestValuesWrapInsideTheirColumns) {
    // The lettering models whose two lines fit a row of the personal data; Brush Script MT's
    // line is taller than half a row there.
    for (const wchar_t* font : {L"Arial", L"Monotype Corsiva"}) {
        for (bool words : {true, false}) {
            SCOPED_TRACE(StringToUtf8(String(font) + (words ? L", words" : L", one run")));
            TCurriculoState state = FillCurriculo(FullResume(), TFillVariant::Styled, {font, clBlack, true});
            std::map<String, String> longest;
            for (const TCurriculoField& field : CurriculoFields())
                if (const int max = MaxLengthOf(field.Field); max > 0)
                    state.Captions[field.Label] = longest[field.Label] = Longest(field.Label, max, words);
            Apply(state);

            std::vector<String> printed = Texts(*curriculo.ReportPrinter());
            for (const auto& [name, text] : longest) {
                SCOPED_TRACE(StringToUtf8(name));
                TQRLabel* label = curriculo.Label(name);
                const std::vector<String>& lines = label->FormattedLines();
                String joined;
                for (const String& line : lines) joined += line;
                EXPECT_EQ(joined, text) << "characters lost in breaking";
                // Every line reached the page: none was dropped below the label's height.
                for (const String& line : lines) {
                    auto it = std::find(printed.begin(), printed.end(), line);
                    if (it == printed.end()) {
                        ADD_FAILURE() << "not printed: " << StringToUtf8(line);
                        continue;
                    }
                    printed.erase(it);
                }
                const Extended lineHeight = static_cast<Extended>(curriculo.TextHeightOf(*label->Font(), L"W")) * 254 /
                                            ScreenMetrics::PixelsPerInch();
                const TColumnRoom room = RoomOf(*label, lineHeight);
                const Extended left = label->Size()->StoredValue(TQRPrintableSize::iLeft);
                const Extended top = label->Size()->StoredValue(TQRPrintableSize::iTop);
                EXPECT_LE(left + label->Size()->StoredValue(TQRPrintableSize::iWidth), room.Right);
                EXPECT_LE(top + lineHeight * static_cast<Extended>(lines.size()), room.Bottom + 1)
                    << lines.size() << " lines run into " << StringToUtf8(room.Below);
            }
        }
    }
}

TEST_F(TTemplateApply, ALaterEntryAloneKeepsItsSectionHeadingAndDropsTheFirstEntry) {
    TResumeData d;
    d.Nome = L"Ana";
    d.Experiencias[2].Empresa = L"Padaria Central";
    d.Cursos[1].Curso = L"Informática";
    Apply(FillCurriculo(d, TFillVariant::Default, {}));
    const std::vector<String> texts = Texts(*curriculo.ReportPrinter());
    for (const wchar_t* text : {L"Experiências Profissionais", L"Padaria Central", L"Cursos ", L"Informática"})
        EXPECT_TRUE(Has(texts, text)) << text;
    for (const wchar_t* text : {L"empresa1", L"cudescricao1", L"Informações Adicionais"})
        EXPECT_FALSE(Has(texts, text)) << text;
    // One heading and one entry's captions: the third's, not the first's as well.
    EXPECT_EQ(std::count(texts.begin(), texts.end(), String(L"Experiências Profissionais")), 1);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), String(L"Nome da Empresa:")), 1);
    EXPECT_EQ(curriculo.txt4->Caption(), L"1");
}

TEST_F(TTemplateApply, ASavedResumeReadsBackWithItsPagesAndTexts) {
    const String folder = GetTempDirectory() + L"fv-template-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    ForceDirectories(folder);
    const String file = folder + L"João Conceição.QRP";
    Apply(FillCurriculo(FullResumeWithPhrase(), TFillVariant::Save, {}));
    output.SavePreparedReport(file);
    const int pages = curriculo.ReportPrinter()->PageCount();

    TQRPrinter reopened;
    reopened.LoadPreparedReport(file);
    EXPECT_EQ(reopened.PageCount(), pages);
    const std::vector<String> texts = Texts(reopened);
    for (const wchar_t* text : {L"João Conceição", L"joao@exemplo.com.br", L"Empresa 1", L"Empresa 5", L"Curso 5",
                                L"2º Grau Completo", L"a combinar", L"\"Dois.\"", L"página"})
        EXPECT_TRUE(Has(texts, text)) << text;
    EXPECT_TRUE(Has(texts, std::to_wstring(pages)));
    reopened.ClearPages();
    DeleteFile(file);
    RemoveDirectoryW(folder.c_str());
}

TEST_F(TTemplateApply, ASaveThatCannotWriteRaisesAndWritesNothing) {
    const String file = GetTempDirectory() + L"fv-no-such-folder-" + std::to_wstring(GetCurrentProcessId()) + L"\\x.QRP";
    Apply(FillCurriculo(FullResumeWithPhrase(), TFillVariant::Save, {}));
    EXPECT_ANY_THROW(output.SavePreparedReport(file));
    EXPECT_FALSE(FileExists(file));
}

}  // namespace
