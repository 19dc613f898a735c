// The text printables: masks, system values and printing into a recording export filter.
#include <gmock/gmock.h>

#include "framework/classes/Reader.h"
#include "report/bands/QRBandsTestSupport_test.h"
#include "report/filters/QRExportFilter.h"
#include "report/text/QRTextPrintables.h"

namespace {

// "open" for each page and the text of each line handed over.
class TTextRecordingFilter : public TQRExportFilter {
public:
    TTextRecordingFilter() : TQRExportFilter(L"trace") {}
    void OpenPage() override { Trace.push_back(L"open"); }
    void PlaceText(Extended, Extended y, TFont*, TColor, TAlignment, const String& text) override {
        Trace.push_back(text);
        Ys.push_back(y);
    }
    std::vector<String> Trace;
    std::vector<Extended> Ys;
};

// A report on A4 with 10 mm margins, in 0.1 mm, with one title band holding one label.
class TLabelFixture {
public:
    TLabelFixture() {
        report.SetShowProgress(false);
        TQRPage& page = *report.Page();
        page.SetUnits(TQRUnit::MM);
        page.SetPaperSize(TQRPaperSize::A4);
        page.SetTopMargin(10);
        page.SetBottomMargin(10);
        report.SetUnits(TQRUnit::Native);
        band = MakeBand(report, L"Title", rbTitle);
        report.SetUnits(TQRUnit::Native);
        band->Size()->SetHeight(100);
        label = new TQRLabel(band);
        label->SetParent(band);
        label->Size()->SetLeft(0);
        label->Size()->SetTop(0);
        label->Size()->SetWidth(1000);
        label->Size()->SetHeight(60);
    }
    std::vector<String> Export() {
        TTextRecordingFilter filter;
        report.ExportReport(&filter);
        ys = filter.Ys;
        return filter.Trace;
    }

    TLocal<TQRReport> report{nullptr};
    TQRBand* band = nullptr;
    TQRLabel* label = nullptr;
    std::vector<Extended> ys;
};

String Numbered(int count) {
    String text;
    for (int i = 1; i <= count; ++i) text += (i > 1 ? L"\r" : L"") + IntToStr(i);
    return text;
}

std::vector<String> Texts(const std::vector<String>& trace) {
    std::vector<String> texts;
    for (const String& entry : trace)
        if (entry != L"open") texts.push_back(entry);
    return texts;
}

TEST(QRTextPrintables, MaskTable) {
    struct TCase {
        TQREvResultRecord result;
        const wchar_t* mask;
        const wchar_t* text;
    };
    const TCase cases[] = {
        {TQREvResultRecord::Integer(5), L"0.00", L"5.00"},
        {TQREvResultRecord::Integer(1234), L"#,##0", L"1,234"},
        {TQREvResultRecord::Float(2.5), L"0.0", L"2.5"},
        {TQREvResultRecord::Float(0.285), L"0.00", L"0.29"},
        {TQREvResultRecord::Float(3), L"%m", L"$3.00"},
        {TQREvResultRecord::Float(3), L"%m %d", L"#ERROR"},
        {TQREvResultRecord::Float(3), L"%m %s", L"#ERROR"},
        {TQREvResultRecord::Boolean(true), L"0.00", L"True"},
        {TQREvResultRecord::Boolean(false), L"", L"False"},
        {TQREvResultRecord::Str(L"abc"), L"0.00", L"abc"},
        {TQREvResultRecord::Error(L"Unknown field"), L"0.00", L"Unknown field"},
    };
    for (const TCase& c : cases) EXPECT_EQ(FormatExprResult(c.result, c.mask), c.text) << c.mask;
}

TEST(QRTextPrintables, SysDataCaptionNamesItsKind) {
    TLocal<TQRSysData> data{nullptr};
    EXPECT_EQ(data.Caption(), L"(Time)");
    data.SetData(qrsPageNumber);
    data.SetText(L"Página ");
    EXPECT_EQ(data.Caption(), L"Página (Page#)");
}

TEST(QRTextPrintables, SysDataPrintsThePageNumber) {
    TLabelFixture f;
    f.label->AssignCaption(L"x");
    f.band->Size()->SetHeight(1300);  // two titles per page: the third prints on page 2
    auto* detail = MakeBand(f.report, L"Detail", rbDetail);
    f.report.SetUnits(TQRUnit::Native);
    detail->Size()->SetHeight(1300);
    auto* page = new TQRSysData(detail);
    page->SetParent(detail);
    page->SetData(qrsPageNumber);
    page->SetText(L"Página ");
    int served = 0;
    struct TFeed : TObject {
        int* served;
        String ClassName() const override { return L"TFeed"; }
        void Need(TObject*, bool& more) { more = (*served)++ < 4; }
    } feed;
    feed.served = &served;
    f.report.OnNeedData = TQROnNeedDataEvent(&feed, &TFeed::Need);
    std::vector<String> texts = Texts(f.Export());
    EXPECT_THAT(texts, ::testing::Contains(L"Página 3"));
    EXPECT_EQ(page->Caption(), L"Página 3");
}

TEST(QRTextPrintables, EmptyLabelStillHandsOneEmptyLine) {
    TLabelFixture f;
    f.label->AssignCaption(L"");
    EXPECT_EQ(Texts(f.Export()), std::vector<String>{L""});
}

TEST(QRTextPrintables, LinesBelowTheLabelAreDroppedWithoutAutoStretch) {
    TLabelFixture f;
    f.label->AssignCaption(Numbered(5));
    std::vector<String> texts = Texts(f.Export());
    ASSERT_FALSE(texts.empty());
    EXPECT_LT(texts.size(), 5u);
    EXPECT_EQ(texts.front(), L"1");
}

TEST(QRTextPrintables, AutoStretchGrowsTheBandAndContinuesOnTheNextPage) {
    TLabelFixture f;
    f.label->SetAutoStretch(true);
    f.label->AssignCaption(Numbered(150));
    std::vector<String> trace = f.Export();
    std::vector<String> expected;
    for (int i = 1; i <= 150; ++i) expected.push_back(IntToStr(i));
    EXPECT_EQ(Texts(trace), expected);
    // Two pages at least, and the lines run down the page without overlapping.
    EXPECT_GE(std::count(trace.begin(), trace.end(), L"open"), 2);
    ASSERT_GE(f.ys.size(), 2u);
    EXPECT_GT(f.ys[1], f.ys[0]);
}

TEST(QRTextPrintables, CaptionFollowsTheNameOnlyOutsideLoading) {
    TLocal<TQRLabel> label{nullptr};
    label.SetName(L"QRLabel1");
    EXPECT_EQ(label.Caption(), L"QRLabel1");
    label.SetName(L"nome");
    EXPECT_EQ(label.Caption(), L"nome");
    label.AssignCaption(L"Nome:");
    label.SetName(L"outro");
    EXPECT_EQ(label.Caption(), L"Nome:");
}

TEST(QRTextPrintables, AutoSizeKeepsTheRightEdgeOfARightJustifiedLabel) {
    TLabelFixture f;
    f.label->SetAlignment(taRightJustify);
    f.label->SetAutoSize(true);
    f.label->AssignCaption(L"a");
    int right = f.label->Left() + f.label->Width();
    f.label->AssignCaption(L"um texto bem mais longo");
    EXPECT_EQ(f.label->Left() + f.label->Width(), right);
    EXPECT_EQ(f.label->FormattedLines().size(), 1u);
}

}  // namespace

namespace {

TEST(QRTextPrintables, ReadLabelsKeepTheirCaptionAndPointSize) {
    TLocal<TQRReport> report(nullptr);
    ReadComponentFromText(&report,
                          L"object R: TQRReport\n"
                          L"  object Band: TQRBand\n"
                          L"    BandType = rbTitle\n"
                          L"    object vazio: TQRLabel\n"
                          L"      Font.Height = -40\n"
                          L"      FontSize = 14\n"
                          L"    end\n"
                          L"    object rotulo: TQRLabel\n"
                          L"      Caption = 'Nome:'\n"
                          L"      FontSize = 10\n"
                          L"    end\n"
                          L"  end\n"
                          L"end\n",
                          L"R");
    auto* empty = dynamic_cast<TQRLabel*>(report.FindComponent(L"vazio"));
    auto* named = dynamic_cast<TQRLabel*>(report.FindComponent(L"rotulo"));
    ASSERT_NE(empty, nullptr);
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(empty->Caption(), L"") << "a label stored empty prints empty";
    EXPECT_EQ(empty->Font()->Size(), 14);
    EXPECT_EQ(named->Caption(), L"Nome:");
    EXPECT_EQ(named->Font()->Size(), 10);
}

}  // namespace

namespace {

// Expressions printed by a real run over three records: a field per detail, a count in the
// summary, a constant through a mask, and a mask the formatter refuses.
TEST(QRTextPrintables, ExpressionsPrintThroughARun) {
    TLabelFixture f;
    f.label->AssignCaption(L"Relatorio");
    auto* data = new TMemoryDataSet(&f.report);
    data->SetName(L"Dados");
    data->SetFields({L"nome", L"valor"});
    data->Rows = {{L"Ana", L"10"}, {L"Bia", L"20"}, {L"Caio", L"30"}};
    f.report.SetDataSet(data);
    auto* detail = MakeBand(f.report, L"Detail", rbDetail);
    auto* summary = MakeBand(f.report, L"Summary", rbSummary);
    f.report.SetUnits(TQRUnit::Native);
    detail->Size()->SetHeight(80);
    summary->Size()->SetHeight(80);
    auto expr = [](TQRCustomBand* band, const wchar_t* expression, const wchar_t* mask, int left) {
        auto* e = new TQRExpr(band);
        e->SetParent(band);
        e->Size()->SetLeft(left);
        e->Size()->SetWidth(400);
        e->SetExpression(expression);
        e->SetMask(mask);
        return e;
    };
    expr(f.band, L"2 * 21", L"#,##0.0", 1000);
    expr(detail, L"Dados.nome", L"", 0);
    auto* count = expr(summary, L"COUNT", L"0.00", 0);
    expr(summary, L"1.5", L"%m %d", 500);

    const std::vector<String> texts = Texts(f.Export());
    EXPECT_EQ(texts, (std::vector<String>{L"Relatorio", L"42.0", L"Ana", L"Bia", L"Caio", L"3.00", L"#ERROR"}));
    EXPECT_EQ(count->Caption(), L"COUNT") << "the caption keeps the expression";
}

}  // namespace
