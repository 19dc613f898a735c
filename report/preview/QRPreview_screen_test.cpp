// The preview control on a window: zoom geometry, page changes, pages arriving while a report is
// built, attaching to and detaching from a report printer, and the page as painted.
#include "report/preview/QRPreview.h"

#include <gmock/gmock.h>

#include <algorithm>

#include "framework/graphics/ScreenMetrics.h"
#include "framework/rtl/Numeric.h"
#include "report/printer/QRMessages.h"
#include "testing/ControlTestSupport.h"
#include "testing/FakePrinters.h"
#include "testing/TestPixels.h"

namespace {

TColor PageColour(int page) {
    static const TColor colours[] = {clRed, clLime, clBlue};
    return colours[(page - 1) % 3];
}

// Page n: a centred block in the page's colour, half the paper wide and high.
void DrawPage(TQRPrinter& printer, int page) {
    TCanvas& canvas = *printer.PageCanvas();
    canvas.Brush().SetColor(PageColour(page));
    const int w = printer.PaperWidth(), h = printer.PaperLength();
    canvas.FillRect(Rect(printer.ToDeviceX(w / 4), printer.ToDeviceY(h / 4), printer.ToDeviceX(w * 3 / 4),
                         printer.ToDeviceY(h * 3 / 4)));
}

void Build(TQRPrinter& printer, int pages) {
    printer.OpenDocument();
    for (int page = 1; page <= pages; ++page) {
        printer.StartNewPage();
        DrawPage(printer, page);
    }
    printer.CloseDocument();
}

class QRPreviewScreen : public ::testing::Test {
protected:
    // A preview of the given size on a shown window, attached to a 3-page A4 report.
    TQRPreview& MakePreview(int width, int height, bool build = true) {
        preview = new TQRPreview(&host.Root());
        preview->SetParent(&host.Root());
        preview->SetBounds(0, 0, width, height);
        if (build) Build(printer, 3);
        preview->AttachPrinter(&printer);
        EXPECT_TRUE(PumpUntil([&] { return preview->HandleAllocated() && IsWindowVisible(preview->Handle()); }));
        return *preview;
    }
    int PaperPixelsWide() { return printer.ToDeviceWidth(printer.PaperWidth()); }
    int PaperPixelsHigh() { return printer.ToDeviceHeight(printer.PaperLength()); }

    FakePrintMachine machine;
    ScopedFakePrinters installed{machine};
    TestHost host{900, 700};
    TQRPrinter printer;
    TQRPreview* preview = nullptr;
};

}  // namespace

TEST_F(QRPreviewScreen, ZoomAcceptsTwoToTwoThousand) {
    TQRPreview& p = MakePreview(600, 500);
    struct Row {
        int zoom;
        int expected;
    } rows[] = {{50, 50}, {1, 50}, {2, 2}, {2001, 2}, {2000, 2000}, {0, 2000}, {-5, 2000}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.zoom);
        p.SetZoomState(qrZoomToFit);
        p.SetZoom(row.zoom);
        EXPECT_EQ(p.Zoom(), row.expected);
        // An accepted value lays the page out at that zoom; a refused one leaves the state too.
        EXPECT_EQ(p.ZoomState(), row.zoom == row.expected ? qrZoomOther : qrZoomToFit);
        EXPECT_EQ(p.Image().Width(), printer.ToDeviceWidth(printer.PaperWidth() / 100.0 * row.expected) + 4);
        EXPECT_EQ(p.Image().Height(), printer.ToDeviceHeight(printer.PaperLength() / 100.0 * row.expected) + 4);
        EXPECT_EQ(p.Image().Zoom(), row.expected);
    }
}

TEST_F(QRPreviewScreen, FitWidthAndFitPage) {
    TQRPreview& p = MakePreview(600, 500);
    if (ScreenMetrics::PixelsPerInch() == 96) {
        EXPECT_EQ(PaperPixelsWide(), 794);
    }
    p.FitPageWidth();
    EXPECT_EQ(p.ZoomState(), qrZoomToWidth);
    EXPECT_EQ(p.Zoom(), static_cast<int>(Round(600.0 / PaperPixelsWide() * 90)));
    if (PaperPixelsWide() == 794) {
        EXPECT_EQ(p.Zoom(), 68);
    }

    p.FitWholePage();
    EXPECT_EQ(p.ZoomState(), qrZoomToFit);
    const int byWidth = static_cast<int>(Round(600.0 / PaperPixelsWide() * 95));
    const int byHeight = static_cast<int>(Round(500.0 / PaperPixelsHigh() * 95));
    EXPECT_LT(byHeight, byWidth);  // A4 portrait in a landscape box: the height decides
    EXPECT_EQ(p.Zoom(), byHeight);
    // The page fits, so it is centred both ways.
    EXPECT_EQ(p.Image().Left(), (600 - p.Image().Width()) / 2);
    EXPECT_EQ(p.Image().Top(), (500 - p.Image().Height()) / 2);

    // A fitted page stays fitted when the preview grows; another zoom stays as it is.
    p.SetBounds(0, 0, 800, 680);
    EXPECT_EQ(p.Zoom(), static_cast<int>(Round(680.0 / PaperPixelsHigh() * 95)));
    p.SetZoom(40);
    p.SetBounds(0, 0, 600, 500);
    EXPECT_EQ(p.Zoom(), 40);
}

TEST_F(QRPreviewScreen, NarrowPreviewScrollsWideOneCentres) {
    TQRPreview& p = MakePreview(400, 300);
    p.SetZoom(100);
    EXPECT_EQ(p.Image().Left(), 0);
    EXPECT_EQ(p.Image().Top(), 0);
    EXPECT_GT(p.ContentWidth(), p.ClientWidth());
    EXPECT_TRUE(GetWindowLongW(p.Handle(), GWL_STYLE) & WS_VSCROLL);
    p.SetVertPosition(200);
    EXPECT_EQ(p.VertPosition(), 200);
    EXPECT_EQ(p.Image().Top(), -200);
    // The bar moves the page as a person would drag it.
    SendMessageW(p.Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(p.VertPosition(), 200 + p.ClientHeight());
    SendMessageW(p.Handle(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(p.Image().Top(), 0);
    // Scrolling never passes the page's end.
    p.SetVertPosition(100000);
    EXPECT_EQ(p.VertPosition(), p.ContentHeight() - p.ClientHeight());

    p.SetZoom(20);
    EXPECT_EQ(p.VertPosition(), 0);
    EXPECT_EQ(p.Image().Left(), (400 - p.Image().Width()) / 2);
}

TEST_F(QRPreviewScreen, PageNumberChanges) {
    TQRPreview& p = MakePreview(600, 500);
    EXPECT_EQ(p.PageNumber(), 1);
    ASSERT_NE(p.Image().Metafile(), nullptr);
    struct Row {
        int page;
        int expected;
    } rows[] = {{2, 2}, {0, 2}, {-1, 2}, {4, 2}, {99, 2}, {3, 3}, {3, 3}, {1, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.page);
        p.SetPageNumber(row.page);
        EXPECT_EQ(p.PageNumber(), row.expected);
        EXPECT_EQ(p.Image().PageNumber(), row.expected);
        EXPECT_NE(p.Image().Metafile(), nullptr);
    }
    // A new page starts at the top left.
    p.SetZoom(200);
    p.SetHorzPosition(50);
    p.SetVertPosition(60);
    p.SetPageNumber(2);
    EXPECT_EQ(p.HorzPosition(), 0);
    EXPECT_EQ(p.VertPosition(), 0);
}

TEST_F(QRPreviewScreen, PageAppearsWhenThePrinterAnnouncesIt) {
    TQRPreview& p = MakePreview(600, 500, false);
    std::vector<int> announced;
    std::vector<int> progress;
    struct Sink {
        std::vector<int>* announced;
        std::vector<int>* progress;
        void Page(TObject*, int n) { announced->push_back(n); }
        void Progress(TObject*, int n) { progress->push_back(n); }
    } sink{&announced, &progress};
    p.OnPageAvailable = TQRPageAvailableEvent(&sink, &Sink::Page);
    p.OnProgressUpdate = TQRProgressUpdateEvent(&sink, &Sink::Progress);
    EXPECT_EQ(p.Image().Metafile(), nullptr);

    printer.OpenDocument();
    printer.StartNewPage();
    DrawPage(printer, 1);
    printer.StartNewPage();  // page 1 is stored, page 2 is being drawn
    DrawPage(printer, 2);
    p.SetPageNumber(2);
    EXPECT_EQ(p.PageNumber(), 2);
    EXPECT_EQ(p.Image().Metafile(), nullptr);  // not stored yet: an empty image
    printer.ReportProgress(50);
    printer.CloseDocument();
    ASSERT_TRUE(PumpUntil([&] { return p.Image().Metafile() != nullptr; }));
    EXPECT_EQ(p.Image().PageNumber(), 2);
    EXPECT_THAT(progress, testing::Contains(50));
    EXPECT_THAT(announced, testing::Contains(2));
}

TEST_F(QRPreviewScreen, AttachingMarksThePreviewShowingAndDetachingCancelsABuild) {
    TQRPreview& p = MakePreview(600, 500, false);
    EXPECT_EQ(printer.Client(), &p);
    EXPECT_TRUE(printer.PreviewShowing());
    printer.OpenDocument();
    printer.StartNewPage();
    p.AttachPrinter(nullptr);
    EXPECT_EQ(printer.Client(), nullptr);
    EXPECT_FALSE(printer.PreviewShowing());
    EXPECT_TRUE(printer.Cancelled());
    printer.CloseDocument();

    // Destroying an attached preview detaches it; a printer going first is forgotten.
    p.AttachPrinter(&printer);
    delete preview;
    EXPECT_EQ(printer.Client(), nullptr);
    EXPECT_FALSE(printer.PreviewShowing());
    {
        TQRPrinter shortLived;
        Build(shortLived, 1);
        TQRPreview& q = MakePreview(300, 300, false);
        q.AttachPrinter(&shortLived);
        EXPECT_NE(q.Image().Metafile(), nullptr);
        preview = &q;
    }
    EXPECT_EQ(preview->QRPrinter(), nullptr);
    EXPECT_EQ(preview->Image().Metafile(), nullptr);
    preview->SetPageNumber(1);  // no printer: nothing happens
    preview->FitWholePage();    // measured as Letter
    EXPECT_EQ(preview->Zoom(), static_cast<int>(Round(300 / 279.4 * 95)));
}

TEST_F(QRPreviewScreen, PaintsThePageWithFrameAndShadow) {
    TQRPreview& p = MakePreview(600, 500);
    p.FitWholePage();
    p.SetPageNumber(2);
    p.Repaint();
    auto image = PaintedImage(p);
    const TRect page = p.Image().BoundsRect();
    const int w = page.Width(), h = page.Height();
    // White paper near the top left corner, the page's block in the middle.
    EXPECT_EQ(CountPixels(*image, Rect(page.Left + 4, page.Top + 4, page.Left + 20, page.Top + 20), clWhite, 0), 256);
    const TPoint mid{page.Left + w / 2, page.Top + h / 2};
    EXPECT_EQ(CountPixels(*image, Rect(mid.X - 5, mid.Y - 5, mid.X + 5, mid.Y + 5), clLime, 8), 100);
    // The frame on the left edge and the 2-pixel shadow at the right and bottom.
    EXPECT_EQ(CountPixels(*image, Rect(page.Left, page.Top + 10, page.Left + 1, page.Top + 40), clBlack, 0), 30);
    EXPECT_EQ(CountPixels(*image, Rect(page.Right - 2, page.Top + 10, page.Right, page.Top + 40), clBlack, 0), 60);
    EXPECT_EQ(CountPixels(*image, Rect(page.Left + 10, page.Bottom - 2, page.Left + 40, page.Bottom), clBlack, 0), 60);
    // Around the page the preview's work-space colour.
    EXPECT_EQ(CountPixels(*image, Rect(2, 2, 8, 8), ColorToRGB(clAppWorkSpace), 0), 36);
}

TEST_F(QRPreviewScreen, ThePageFrameKeepsItsFourRulesAtEveryZoom) {
    // A report's page frame: four rules one device pixel wide along the 10 mm margins.
    printer.OpenDocument();
    printer.StartNewPage();
    TCanvas& canvas = *printer.PageCanvas();
    const int l = printer.ToDeviceX(100), t = printer.ToDeviceY(100);
    const int r = printer.ToDeviceX(printer.PaperWidth() - 100), b = printer.ToDeviceY(printer.PaperLength() - 100);
    canvas.Brush().SetColor(clBlack);
    canvas.FillRect(Rect(l, t, r, t + 1));
    canvas.FillRect(Rect(l, b - 1, r, b));
    canvas.FillRect(Rect(l, t, l + 1, b));
    canvas.FillRect(Rect(r - 1, t, r, b));
    printer.CloseDocument();
    TQRPreview& p = MakePreview(600, 500, false);

    // The darkest pixel within two pixels of where a rule should lie, across it.
    const auto darkest = [](TBitmap& image, TPoint at, bool horizontalRule) {
        int dark = 255;
        for (int d = -2; d <= 2; ++d) {
            const TColor c = DibPixel(image, horizontalRule ? at.X : at.X + d, horizontalRule ? at.Y + d : at.Y);
            dark = std::min({dark, int{RedOf(c)}, int{GreenOf(c)}, int{BlueOf(c)}});
        }
        return dark;
    };
    for (const TQRZoomState zoom : {qrZoomToFit, qrZoomToWidth, qrZoom100}) {
        SCOPED_TRACE(static_cast<int>(zoom));
        if (zoom == qrZoomToFit) p.FitWholePage();
        if (zoom == qrZoomToWidth) p.FitPageWidth();
        if (zoom == qrZoom100) p.SetZoom(100);
        p.Repaint();
        auto image = PaintedImage(p);
        const TRect page = p.Image().BoundsRect();
        const Extended sx = static_cast<Extended>(page.Width()) / PaperPixelsWide();
        const Extended sy = static_cast<Extended>(page.Height()) / PaperPixelsHigh();
        const auto x = [&](int device) { return page.Left + static_cast<int>(device * sx); };
        const auto y = [&](int device) { return page.Top + static_cast<int>(device * sy); };
        // Rules that lie outside what the preview shows without scrolling are not looked at.
        const TRect shown = Rect(0, 0, std::min(image->Width(), p.ClientWidth()), std::min(image->Height(), p.ClientHeight()));
        const auto inside = [&](TPoint at) { return at.X >= 2 && at.Y >= 2 && at.X < shown.Right - 2 && at.Y < shown.Bottom - 2; };
        const int midX = x((l + r) / 2), midY = std::min(y((t + b) / 2), shown.Bottom / 2);
        const struct {
            const char* Side;
            TPoint At;
            bool Horizontal;
        } rules[] = {{"top", {midX, y(t)}, true},
                     {"bottom", {midX, y(b - 1)}, true},
                     {"left", {x(l), midY}, false},
                     {"right", {x(r - 1), midY}, false}};
        int looked = 0;
        for (const auto& rule : rules) {
            if (!inside(rule.At)) continue;
            ++looked;
            EXPECT_LT(darkest(*image, rule.At, rule.Horizontal), 200) << rule.Side << " rule missing";
        }
        // The whole page at fit page; all but the bottom at fit width; the top left at 100 %.
        EXPECT_EQ(looked, zoom == qrZoomToFit ? 4 : zoom == qrZoomToWidth ? 3 : 2);
        // Between the rules the paper stays white.
        EXPECT_EQ(darkest(*image, TPoint{midX, midY}, true), 255);
    }
}

TEST_F(QRPreviewScreen, LinksOnlyReportedNeverFollowedAndNoneWithoutAList) {
    TQRPreview& p = MakePreview(600, 500);
    p.SetZoom(100);
    struct Sink {
        std::vector<std::pair<TQRHyperlinkEventType, String>> events;
        void Link(TObject*, TQRHyperlinkEventType type, const String& link, bool&) { events.emplace_back(type, link); }
    } sink;
    p.Image().OnHyperlink = TQRPreviewHyperlinkEvent(&sink, &Sink::Link);
    p.Image().MouseMove(TShiftState{}, 50, 50);
    EXPECT_TRUE(sink.events.empty());
    EXPECT_EQ(p.Image().Cursor(), crDefault);

    p.Image().SetLinks({{40, 40, 80, 80, L"EXT:calc.exe"}});
    p.SetZoom(50);
    p.Image().MouseMove(TShiftState{}, 30, 30);  // 60, 60 at zoom 100
    EXPECT_EQ(p.Image().Cursor(), crHandPoint);
    p.Image().MouseDown(mbLeft, TShiftState{}, 30, 30);
    p.Image().MouseMove(TShiftState{}, 100, 100);
    EXPECT_EQ(p.Image().Cursor(), crDefault);
    ASSERT_EQ(sink.events.size(), 3u);
    EXPECT_EQ(sink.events[0], std::make_pair(heCursorMoveOver, String(L"EXT:calc.exe")));
    EXPECT_EQ(sink.events[1], std::make_pair(heGoto, String(L"EXT:calc.exe")));
    EXPECT_EQ(sink.events[2], std::make_pair(heCursorMoveAway, String()));
}
