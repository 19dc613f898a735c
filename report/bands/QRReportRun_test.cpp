// The generation run and the output operations: what each leaves behind, the preview's loop,
// cancelling from the preview, refused and failing runs; and one page drawn and looked at.
#include <gmock/gmock.h>

#include "framework/controls/MessageWindow.h"
#include "framework/graphics/Bitmap.h"
#include "report/bands/QRBandsTestSupport_test.h"
#include "report/filters/QRExportFilter.h"
#include "testing/FakePrinters.h"

namespace {

constexpr UINT WM_CLOSE_PREVIEW = WM_USER + 100;

class TTraceFilter : public TQRExportFilter {
public:
    TTraceFilter() : TQRExportFilter(L"trace") {}
    void OpenPage() override { ++Pages; }
    int Pages = 0;
};

// A report on A4 (10 mm margins, 0.1 mm units) with a title band and a detail band printed
// Records times; its preview is a stand-in that shows nothing and closes when asked.
class TRunFixture : public TObject {
public:
    TRunFixture() {
        report.SetShowProgress(false);
        TQRPage& page = *report.Page();
        page.SetUnits(TQRUnit::MM);
        page.SetPaperSize(TQRPaperSize::A4);
        page.SetTopMargin(10);
        page.SetBottomMargin(10);
        title = MakeBand(report, L"T", rbTitle);
        detail = MakeBand(report, L"D", rbDetail);
        report.SetUnits(TQRUnit::Native);
        title->Size()->SetHeight(100);
        detail->Size()->SetHeight(300);
        report.OnNeedData = TQROnNeedDataEvent(this, &TRunFixture::NeedData);
        report.OnPreview = TNotifyEvent(this, &TRunFixture::Preview);
    }
    String ClassName() const override { return L"TRunFixture"; }

    void NeedData(TObject*, bool& more) { more = served_++ < Records; }
    // The preview opens on the printer; the test decides when it closes.
    void Preview(TObject* sender) {
        shown = dynamic_cast<TQRPrinter*>(sender);
        shown->SetPreviewShowing(true);
        ++previews;
        served_ = 0;
        if (closeAtOnce) CloseLater();
    }
    void CloseLater() { PostMessageW(window.Handle(), WM_CLOSE_PREVIEW, 0, 0); }
    bool Handle(TMessage& message) {
        if (message.Msg != WM_CLOSE_PREVIEW) return false;
        if (OnClose) OnClose();
        if (shown != nullptr) shown->PreviewClosed();
        return true;
    }
    void Refuse(TCustomQRReport*, bool& print) { print = false; }
    void Fail(TQRCustomBand*, bool&) {
        if (failures-- > 0) throw Exception(L"band failed");
    }
    void ShowAndCloseAfterRun(TObject*) {
        if (!closePosted) CloseLater();
        closePosted = true;
    }
    void RestartCount() { served_ = 0; }

    TLocal<TQRReport> report{nullptr};
    TQRBand* title;
    TQRBand* detail;
    int Records = 12;
    TQRPrinter* shown = nullptr;
    int previews = 0;
    bool closeAtOnce = false;
    bool closePosted = false;
    int failures = 0;
    std::function<void()> OnClose;
    TMessageWindow window{[this](TMessage& message) { return Handle(message); }};

private:
    int served_ = 0;
};

}  // namespace

TEST(QRReportRun, RefusedByBeforePrintOpensNoDocument) {
    TRunFixture f;
    f.report.BeforePrint = TQRReportBeforePrintEvent(&f, &TRunFixture::Refuse);
    f.report.PrepareReport();
    ASSERT_NE(nullptr, f.report.ReportPrinter());
    EXPECT_EQ(qpIdle, f.report.ReportPrinter()->Status());
    EXPECT_EQ(0, f.report.ReportPrinter()->PageCount());
    EXPECT_TRUE(f.report.Available());
}

TEST(QRReportRun, PrepareThenPreviewMakesTwoPageSets) {
    TRunFixture f;
    f.report.PrepareReport();
    TQRPrinter* prepared = f.report.ReportPrinter();
    ASSERT_NE(nullptr, prepared);
    EXPECT_EQ(2, prepared->PageCount());  // 12 details of 30 mm after a 10 mm title
    EXPECT_TRUE(prepared->Prepared());

    f.Records = 3;
    f.report.AfterPreview = TNotifyEvent(&f, &TRunFixture::ShowAndCloseAfterRun);
    int shownPages = -1;
    TQRPrinter* during = nullptr;
    f.OnClose = [&] {
        during = f.report.ReportPrinter();
        shownPages = during->PageCount();
        // Asked again while its preview is open, the report does not start another.
        f.report.ShowPreview();
        EXPECT_EQ(during, f.report.ReportPrinter());
    };
    f.report.ShowPreview();
    EXPECT_EQ(1, f.previews);
    EXPECT_NE(prepared, during);
    EXPECT_EQ(1, shownPages);
    // The preview closed: its printer went with it.
    EXPECT_EQ(nullptr, f.report.ReportPrinter());
    EXPECT_TRUE(f.report.Available());
}

TEST(QRReportRun, PrinterReplacedUnderAnOpenPreviewLivesUntilItCloses) {
    TRunFixture f;
    f.report.AfterPreview = TNotifyEvent(&f, &TRunFixture::ShowAndCloseAfterRun);
    TQRPrinter* preparedMeanwhile = nullptr;
    f.OnClose = [&] {
        // The report is prepared again while its preview still shows the previous pages.
        f.RestartCount();
        f.report.PrepareReport();
        preparedMeanwhile = f.report.ReportPrinter();
        EXPECT_EQ(f.shown->PageCount(), 2);
    };
    f.report.ShowPreview();
    ASSERT_NE(nullptr, preparedMeanwhile);
    EXPECT_EQ(preparedMeanwhile, f.report.ReportPrinter());
    EXPECT_EQ(2, f.report.ReportPrinter()->PageCount());
}

TEST(QRReportRun, BusyReportIgnoresNestedCalls) {
    TRunFixture f;
    TTraceFilter filter;
    int nested = 0;
    TQRPrinter* running = nullptr;
    struct TNested : TObject {
        std::function<void()> run;
        void Call(TQRCustomBand*, bool&) { run(); }
        String ClassName() const override { return L"TNested"; }
    } hook;
    hook.run = [&] {
        running = f.report.ReportPrinter();
        f.report.PrepareReport();
        f.report.ShowPreview();
        f.report.PrintReport();
        f.report.ExportReport(&filter);
        f.report.GenerateReport();
        EXPECT_EQ(running, f.report.ReportPrinter());
        ++nested;
    };
    f.title->BeforePrint = TQRBandBeforePrintEvent(&hook, &TNested::Call);
    f.report.PrepareReport();
    EXPECT_EQ(1, nested);
    EXPECT_EQ(0, f.previews);
    EXPECT_EQ(0, filter.Pages);
    EXPECT_EQ(running, f.report.ReportPrinter());
    EXPECT_EQ(2, f.report.ReportPrinter()->PageCount());
}

TEST(QRReportRun, PreviewClosedMidRunCancelsAndTheNextPrepareWorks) {
    TRunFixture f;
    f.Records = 200;
    f.closeAtOnce = true;
    f.report.ShowPreview();
    EXPECT_EQ(1, f.previews);
    EXPECT_EQ(nullptr, f.report.ReportPrinter());
    EXPECT_TRUE(f.report.Available());

    f.Records = 12;
    f.RestartCount();
    f.report.PrepareReport();
    ASSERT_NE(nullptr, f.report.ReportPrinter());
    EXPECT_FALSE(f.report.Cancelled());
    EXPECT_EQ(qpDone, f.report.ReportPrinter()->Status());
    EXPECT_EQ(2, f.report.ReportPrinter()->PageCount());
}

TEST(QRReportRun, ExceptionMidRunLeavesTheReportUsable) {
    TRunFixture f;
    f.report.SetUnits(TQRUnit::MM);
    f.failures = 1;
    f.detail->BeforePrint = TQRBandBeforePrintEvent(&f, &TRunFixture::Fail);
    EXPECT_THROW(f.report.PrepareReport(), Exception);
    EXPECT_TRUE(f.report.Available());
    EXPECT_EQ(TQRUnit::MM, f.report.Units());
    EXPECT_TRUE(f.report.Visible());

    f.RestartCount();
    f.report.PrepareReport();
    EXPECT_EQ(2, f.report.ReportPrinter()->PageCount());
    EXPECT_EQ(TQRUnit::MM, f.report.Units());
}

TEST(QRReportRun, MarginsWiderThanThePaperBecomeZero) {
    TRunFixture f;
    f.report.Page()->SetLeftMargin(1500);
    f.report.Page()->SetRightMargin(1500);
    f.report.PrepareReport();
    EXPECT_EQ(0, f.report.Page()->LeftMargin());
    EXPECT_EQ(0, f.report.Page()->RightMargin());
}

TEST(QRReportRun, PageMetafileShowsTheBandBackgroundAndFrame) {
    TRunFixture f;
    f.Records = 1;
    f.report.Page()->SetLeftMargin(100);
    f.report.Page()->SetRightMargin(100);
    f.detail->SetColor(clRed);
    f.title->SetTransparentBand(true);
    f.report.Frame()->SetDrawTop(true);
    f.report.Frame()->SetDrawBottom(true);
    f.report.Frame()->SetDrawLeft(true);
    f.report.Frame()->SetDrawRight(true);
    f.report.Frame()->SetColor(clBlue);
    f.report.Frame()->SetWidth(4);
    f.report.PrepareReport();
    std::unique_ptr<TMetafile> page = f.report.ReportPrinter()->PageMetafile(1);
    ASSERT_NE(nullptr, page);

    // At 96 pixels per inch: 0.1 mm is 0.378 pixels. The detail spans 200..500 down, 100..2000
    // across; the report frame lies on the margins (100 and 2870 down, 100 and 2000 across).
    const int w = page->Width(), h = page->Height();
    TBitmap bitmap(w, h);
    bitmap.Canvas().Brush().SetColor(clWhite);
    bitmap.Canvas().FillRect(Rect(0, 0, w, h));
    bitmap.Canvas().StretchDraw(Rect(0, 0, w, h), *page);
    auto at = [&](int x, int y) { return bitmap.Canvas().Pixels(x * 96 / 254, y * 96 / 254); };
    EXPECT_EQ(clRed, at(1000, 350));
    EXPECT_EQ(clWhite, at(1000, 150));  // the transparent title
    EXPECT_EQ(clWhite, at(1000, 700));  // below the detail
    EXPECT_EQ(clBlue, at(1000, 102));   // the frame's top line
    EXPECT_EQ(clBlue, at(102, 1500));   // its left line
    EXPECT_EQ(clWhite, at(50, 50));     // outside the margins
}

// A report asking for A4 gets it from a printer that offers A4 whatever paper it was set to; a
// printer without A4 keeps its own paper, and the pages come out in that paper.
TEST(QRReportRun, ThePagesTakeTheReportsPaperOnlyWhenThePrinterOffersIt) {
    const struct {
        const char* Name;
        std::vector<Word> Papers;
        TQRPaperSize Expected;
        int Width, Length;
    } cases[] = {
        {"A4 offered", {DMPAPER_LETTER, DMPAPER_A4}, TQRPaperSize::A4, 2100, 2970},
        {"Letter and Legal only", {DMPAPER_LETTER, DMPAPER_LEGAL}, TQRPaperSize::Letter, 2159, 2794},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        FakePrintMachine machine;
        FakePrinterModel& model = machine.Printers.front();
        model.PaperCode = DMPAPER_LETTER;
        model.PaperWidth = 2159;
        model.PaperLength = 2794;
        model.Papers = c.Papers;
        ScopedFakePrinters installed(machine);
        TRunFixture f;
        f.Records = 1;
        f.report.PrepareReport();
        TQRPrinter* printer = f.report.ReportPrinter();
        ASSERT_NE(nullptr, printer);
        EXPECT_EQ(c.Expected, printer->PaperSize());
        EXPECT_EQ(c.Width, printer->PaperWidth());
        EXPECT_EQ(c.Length, printer->PaperLength());
        const std::unique_ptr<TMetafile> page = printer->PageMetafile(1);
        ASSERT_NE(nullptr, page);
        EXPECT_EQ(printer->ToDeviceWidth(c.Width), page->Width());
        EXPECT_EQ(printer->ToDeviceHeight(c.Length), page->Height());
        // The report's own page keeps what it asked for.
        EXPECT_EQ(TQRPaperSize::A4, f.report.Page()->PaperSize());
    }
}
