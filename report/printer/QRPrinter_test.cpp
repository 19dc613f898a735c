#include "report/printer/QRPrinter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <vector>

#include "framework/graphics/ScreenMetrics.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/FormatSettings.h"
#include "report/pagestore/QRFileFormat.h"
#include "framework/rtl/StringUtils.h"
#include "testing/FakePrinters.h"

namespace {

TColor PageColour(int page) {
    static const TColor colours[] = {clRed, clLime, clBlue, clYellow, clFuchsia, clAqua, clMaroon};
    return colours[(page - 1) % 7];
}

// Page n of a test report: the whole paper in the page's colour.
void DrawPage(TQRPrinter& printer, int page) {
    TCanvas& canvas = *printer.PageCanvas();
    canvas.Brush().SetColor(PageColour(page));
    canvas.FillRect(Rect(printer.ToDeviceX(0), printer.ToDeviceY(0), printer.ToDeviceX(printer.PaperWidth()),
                         printer.ToDeviceY(printer.PaperLength())));
}

void Build(TQRPrinter& printer, int pages) {
    printer.OpenDocument();
    for (int page = 1; page <= pages; ++page) {
        printer.StartNewPage();
        DrawPage(printer, page);
    }
    printer.CloseDocument();
}

std::vector<TColor> Printed(const FakePrintMachine& machine) {
    std::vector<TColor> colours;
    for (const FakePageShot& shot : machine.Shots) colours.push_back(shot.Middle);
    return colours;
}

std::vector<TColor> ColoursOf(const std::vector<int>& pages) {
    std::vector<TColor> colours;
    for (int page : pages) colours.push_back(PageColour(page));
    return colours;
}

template <class F>
String QRErrorOf(F&& operation) {
    try {
        operation();
    } catch (const EQRError& e) {
        return e.Message();
    }
    return L"(no EQRError)";
}

// What a window of the test received: message, wParam, lParam.
struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Received>& Log() {
    static std::vector<Received> log;
    return log;
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER && message < WM_USER + 10) {
        Log().push_back({message, wParam, lParam});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A message-only window that records the report engine's messages.
class TestWindow : public IQRPrinterClient {
public:
    TestWindow() {
        static const ATOM atom = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = RecordingProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"FolhavidaQRPrinterTestWindow";
            return RegisterClassW(&wc);
        }();
        window_.reset(CreateWindowExW(0, MAKEINTATOM(atom), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
        Log().clear();
    }
    HWND ClientHandle() override { return window_.get(); }
    void PrinterDestroyed(TQRPrinter& printer) override { destroyed = &printer; }
    // The messages received so far, after those waiting were handled.
    std::vector<Received> Messages(UINT message) {
        MSG msg;
        while (PeekMessageW(&msg, window_.get(), 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        std::vector<Received> found;
        for (const Received& r : Log())
            if (r.message == message) found.push_back(r);
        return found;
    }

    TQRPrinter* destroyed = nullptr;

private:
    UniqueWindow window_;
};

struct TestParent : IQRParentReport {
    bool standard = false;
    int memoryLimit = 250000;
    bool exporting = false;
    bool showProgress = false;
    int afterPrint = 0;
    bool UseStandardPrinter() const override { return standard; }
    int MemoryLimit() const override { return memoryLimit; }
    bool Exporting() const override { return exporting; }
    bool ShowProgress() const override { return showProgress; }
    void AfterPrint() override { ++afterPrint; }
};

// The preview family's stand-in: counts its windows and gives a progress window.
class TTestPreviewInterface : public TQRPreviewInterface {
    FV_CLASS(TTestPreviewInterface, TQRPreviewInterface)
public:
    explicit TTestPreviewInterface(TComponent* owner) : TQRPreviewInterface(owner) {}
    TComponent* Show(TQRPrinter& printer) override {
        shown = &printer;
        return window;
    }
    std::unique_ptr<IQRPrinterClient> ShowProgress(TQRPrinter&, const String&) override {
        ++progressWindows;
        return std::make_unique<TestWindow>();
    }
    static inline TQRPrinter* shown = nullptr;
    static inline int progressWindows = 0;
    static inline TComponent* window = nullptr;  // what Show returns
};

class ScopedPreviewInterface {
public:
    ScopedPreviewInterface() {
        TTestPreviewInterface::shown = nullptr;
        TTestPreviewInterface::progressWindows = 0;
        SetPreviewInterfaceClass(TTestPreviewInterface::StaticClass());
    }
    ~ScopedPreviewInterface() { SetPreviewInterfaceClass(nullptr); }
};

// A message pump that cancels a printer at its n-th run (as a Cancel button would).
struct CancellingPump {
    static inline TQRPrinter* target = nullptr;
    static inline int runs = 0;
    static inline int cancelAt = 0;
    static void Run() {
        if (++runs == cancelAt && target) target->RequestCancel();
    }
};

class ScopedPump {
public:
    explicit ScopedPump(TQRMessagePump pump) : previous_(SetQRMessagePump(pump)) {}
    ~ScopedPump() { SetQRMessagePump(previous_); }

private:
    TQRMessagePump previous_;
};

class QRPrinterTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        folder_ = GetTempDirectory() + L"fv-qrprinter-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(++counter) + L"\\";
        ForceDirectories(folder_);
    }
    void TearDown() override {
        for (const String& name : created_) DeleteFile(name);
        RemoveDirectoryW(folder_.c_str());
    }
    String PathOf(const String& name) {
        created_.push_back(folder_ + name);
        return folder_ + name;
    }
    FakePrinterModel& Model() { return machine.Printers[0]; }
    std::vector<Byte> ReadFile(const String& path) {
        std::ifstream file(std::string(path.begin(), path.end()), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    void WriteFile(const String& path, const std::vector<Byte>& bytes) {
        std::ofstream file(std::string(path.begin(), path.end()), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // A saved report whose page n holds a metafile that fails its check (its byte count altered).
    String SavedWithDamagedPage(int pages, int damaged) {
        TQRPrinter builder;
        Build(builder, pages);
        const String path = PathOf(L"damaged.QRP");
        EXPECT_TRUE(builder.SavePreparedReport(path));
        std::vector<Byte> bytes = ReadFile(path);
        size_t record = QRHeaderSize;
        for (int n = 1; n < damaged; ++n) record = static_cast<size_t>(GetInt32LE(&bytes[record + 4]));
        bytes[record + 8 + 48] ^= 0x04;
        WriteFile(path, bytes);
        return path;
    }

    FakePrintMachine machine;
    ScopedFakePrinters installed{machine};
    String folder_;
    std::vector<String> created_;
};

}  // namespace

// ---- the document protocol ----

TEST_F(QRPrinterTest, StateTable) {
    enum Op { Open, NewPage, Close, Abandon };
    struct Row {
        TQRPrinterState from;
        Op op;
        const wchar_t* error;
        TQRPrinterState to;
    } rows[] = {
        {qpIdle, Open, nullptr, qpBuilding},
        {qpIdle, NewPage, L"Illegal call to NewPage", qpIdle},
        {qpIdle, Close, nullptr, qpIdle},
        {qpIdle, Abandon, nullptr, qpDone},
        {qpBuilding, Open, L"QRPrinter not ready", qpBuilding},
        {qpBuilding, NewPage, nullptr, qpBuilding},
        {qpBuilding, Close, nullptr, qpDone},
        {qpBuilding, Abandon, nullptr, qpDone},
        {qpDone, Open, L"QRPrinter not ready", qpDone},
        {qpDone, NewPage, L"Illegal call to NewPage", qpDone},
        {qpDone, Close, nullptr, qpDone},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "from " << row.from << ", operation " << row.op);
        TQRPrinter printer;
        if (row.from != qpIdle) {
            printer.OpenDocument();
            printer.StartNewPage();
        }
        if (row.from == qpDone) printer.CloseDocument();
        ASSERT_EQ(printer.Status(), row.from);
        const String error = QRErrorOf([&] {
            switch (row.op) {
                case Open: printer.OpenDocument(); break;
                case NewPage: printer.StartNewPage(); break;
                case Close: printer.CloseDocument(); break;
                case Abandon: printer.AbandonDocument(); break;
            }
        });
        EXPECT_EQ(error, row.error ? String(row.error) : String(L"(no EQRError)"));
        EXPECT_EQ(printer.Status(), row.to);
    }
}

TEST_F(QRPrinterTest, OpeningARunningDocumentAgainLeavesItAsItWas) {
    for (TQRPrinterTarget destination : {ptPageStore, ptPrinter}) {
        SCOPED_TRACE(destination == ptPrinter ? "printer" : "page store");
        machine.Shots.clear();
        TQRPrinter printer;
        printer.SetDestination(destination);
        printer.OpenDocument();
        printer.StartNewPage();
        TCanvas* canvas = printer.PageCanvas();
        EXPECT_EQ(QRErrorOf([&] { printer.OpenDocument(); }), L"QRPrinter not ready");
        EXPECT_EQ(printer.PageCanvas(), canvas);
        DrawPage(printer, 1);
        printer.CloseDocument();
        EXPECT_EQ(printer.PageCount(), 1);
        if (destination == ptPrinter) EXPECT_EQ(Printed(machine), ColoursOf({1}));
        else EXPECT_NE(printer.PageMetafile(1), nullptr);
    }
}

TEST_F(QRPrinterTest, ClearingAPrintRunAbortsItsJob) {
    TQRPrinter printer;
    printer.SetDestination(ptPrinter);
    printer.OpenDocument();
    printer.StartNewPage();
    printer.ClearPages();
    EXPECT_TRUE(printer.Cancelled());
    EXPECT_EQ(printer.Status(), qpIdle);
    EXPECT_FALSE(printer.PrinterObject().Printing());
    EXPECT_EQ(machine.Count(L"AbortDoc"), 1);
    Build(printer, 1);  // a new run starts a new job
    EXPECT_EQ(machine.Count(L"EndDoc"), 1);
}

TEST_F(QRPrinterTest, APageStoreBuildsAtScreenResolution) {
    TQRPrinter printer;
    ASSERT_TRUE(printer.PrintersInstalled());
    Build(printer, 3);
    const Extended factor = static_cast<Extended>(ScreenMetrics::PixelsPerInch()) / 254;
    EXPECT_EQ(printer.XFactor(), factor);
    EXPECT_EQ(printer.PageCount(), 3);
    EXPECT_EQ(printer.PageList().PageCount(), 3);
    std::unique_ptr<TMetafile> page = printer.PageMetafile(2);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Width(), printer.ToDeviceWidth(2100));
    EXPECT_EQ(page->Height(), printer.ToDeviceHeight(2970));
    if (ScreenMetrics::PixelsPerInch() == 96) {
        EXPECT_EQ(page->Width(), 794);
        EXPECT_EQ(page->Height(), 1123);
    }
    EXPECT_EQ(printer.PageMetafile(0), nullptr);
    EXPECT_EQ(printer.PageMetafile(4), nullptr);
    printer.SetPageNumber(3);
    printer.SetPageNumber(4);  // outside: nothing changes
    EXPECT_EQ(printer.PageNumber(), 3);
}

TEST_F(QRPrinterTest, ConversionsRoundHalvesToEvenFromThePapersCorner) {
    struct Case {
        int dpi, offsetX, offsetY;  // device units
        Extended value;
        int x, y, width, height;
    } cases[] = {
        // 254 dpi: one device unit per 0.1 mm; offsets 50 and 30 units are 5.0 and 3.0 mm.
        {254, 50, 30, 0, -50, -30, 0, 0},
        {254, 50, 30, 52.5L, 2, 22, 52, 52},  // 2.5 -> 2, 22.5 -> 22
        {254, 50, 30, 53.5L, 4, 24, 54, 54},  // 3.5 -> 4, 23.5 -> 24
        {254, 50, 30, 47.5L, -2, 18, 48, 48},  // -2.5 -> -2
        {254, 50, 30, 48.5L, -2, 18, 48, 48},  // -1.5 -> -2
        // 127 dpi: half a unit per 0.1 mm.
        {127, 0, 0, 5, 2, 2, 2, 2},  // 2.5 -> 2
        {127, 0, 0, 7, 4, 4, 4, 4},  // 3.5 -> 4
        {127, 0, 0, 1, 0, 0, 0, 0},  // 0.5 -> 0
        {127, 0, 0, -3, -2, -2, -2, -2},  // -1.5 -> -2
        {127, 100, 100, 0, -100, -100, 0, 0},  // offsets of 200 (0.1 mm)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dpi << " dpi, value " << static_cast<double>(c.value));
        Model().PixelsPerInch = c.dpi;
        Model().OffsetX = c.offsetX;
        Model().OffsetY = c.offsetY;
        TQRPrinter printer;
        printer.SetDestination(ptPrinter);
        printer.OpenDocument();
        EXPECT_EQ(printer.ToDeviceX(c.value), c.x);
        EXPECT_EQ(printer.ToDeviceY(c.value), c.y);
        EXPECT_EQ(printer.ToDeviceWidth(c.value), c.width);
        EXPECT_EQ(printer.ToDeviceHeight(c.value), c.height);
        printer.AbandonDocument();
    }
}

TEST_F(QRPrinterTest, APageStoreHasNoWaste) {
    Model().OffsetX = 50;
    TQRPrinter printer;
    EXPECT_EQ(printer.LeftWaste(), 212);  // 50 / 60 * 254 = 211.67
    printer.OpenDocument();
    EXPECT_EQ(printer.LeftWaste(), 0);
    EXPECT_EQ(printer.ToDeviceX(0), 0);
}

TEST_F(QRPrinterTest, PaperTurnsWithTheOrientation) {
    TQRPrinter printer;
    EXPECT_EQ(printer.PaperWidth(), 2100);
    printer.SetOrientation(poLandscape);
    EXPECT_EQ(printer.PaperWidth(), 2970);
    EXPECT_EQ(printer.PaperLength(), 2100);
    printer.SetPaperSize(TQRPaperSize::Letter);
    EXPECT_EQ(printer.PaperLength(), 2159);
    printer.SetPaperSize(TQRPaperSize::Legal);  // not among the driver's papers
    EXPECT_EQ(printer.PaperSize(), TQRPaperSize::Letter);
}

TEST_F(QRPrinterTest, PagesOutsideTheRangeNeverReachThePrinter) {
    struct Case {
        int first, last;
        std::vector<int> printed;
    } cases[] = {
        {0, 0, {1, 2, 3, 4, 5}}, {2, 3, {2, 3}}, {4, 0, {4, 5}}, {0, 2, {1, 2}},
        {3, 3, {3}},             {6, 0, {}},     {0, 9, {1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "pages " << c.first << " to " << c.last);
        machine.Events.clear();
        machine.Shots.clear();
        TQRPrinter printer;
        printer.SetDestination(ptPrinter);
        printer.SetFirstPage(c.first);
        printer.SetLastPage(c.last);
        printer.SetTitle(L"Curriculo");
        Build(printer, 5);
        EXPECT_EQ(Printed(machine), ColoursOf(c.printed));
        const int jobs = c.printed.empty() ? 0 : 1;
        EXPECT_EQ(machine.Count(L"StartDoc Curriculo"), jobs);
        EXPECT_EQ(machine.Count(L"EndDoc"), jobs);
        EXPECT_EQ(machine.Count(L"StartPage"), static_cast<int>(c.printed.size()));
        EXPECT_EQ(printer.Status(), qpDone);
        EXPECT_EQ(printer.PageCount(), 5);
    }
}

TEST_F(QRPrinterTest, AbandoningAPrintRunAbortsTheJob) {
    TQRPrinter printer;
    printer.SetDestination(ptPrinter);
    printer.OpenDocument();
    printer.StartNewPage();
    DrawPage(printer, 1);
    printer.AbandonDocument();
    EXPECT_EQ(machine.Events, (std::vector<String>{L"StartDoc ", L"StartPage", L"AbortDoc"}));
    EXPECT_EQ(printer.Status(), qpDone);
}

TEST_F(QRPrinterTest, ThePrintersSettingsReachTheJob) {
    TQRPrinter printer;
    printer.SetDestination(ptPrinter);
    printer.SetPaperSize(TQRPaperSize::Letter);
    printer.SetOrientation(poLandscape);
    printer.SetCopies(2);
    Build(printer, 1);
    ASSERT_FALSE(machine.DeviceModes.empty());
    const DEVMODEW& used = machine.DeviceModes.back();
    EXPECT_EQ(used.dmPaperSize, DMPAPER_LETTER);
    EXPECT_EQ(used.dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(used.dmCopies, 2);
}

// ---- messages, preview and callbacks ----

TEST_F(QRPrinterTest, TheClientHearsOfPagesAndProgress) {
    TestWindow client;
    {
        TQRPrinter printer;
        printer.SetClient(&client);
        Build(printer, 3);
        printer.ReportProgress(40);
        std::vector<int> pages;
        for (const Received& r : client.Messages(CM_QRPAGEREADY)) pages.push_back(static_cast<int>(r.wParam));
        EXPECT_EQ(pages, (std::vector<int>{1, 2, 3}));
        const std::vector<Received> progress = client.Messages(CM_QRPROGRESS);
        ASSERT_EQ(progress.size(), 1u);
        EXPECT_EQ(progress[0].wParam, 40u);
        EXPECT_EQ(printer.Progress(), 40);
    }
    EXPECT_NE(client.destroyed, nullptr) << "a printer that goes tells its client";
}

TEST_F(QRPrinterTest, ClosingThePreviewCancelsTheBuildAndTellsTheReport) {
    TestWindow report;
    struct Callback {
        int calls = 0;
        void Run(TQRPrinter*) { ++calls; }
    } afterPreview;
    TQRPrinter printer;
    printer.SetReportWindow(report.ClientHandle());
    printer.AfterPreview = TQRPrinterCallback(&afterPreview, &Callback::Run);
    printer.SetPreviewShowing(true);
    printer.OpenDocument();
    printer.StartNewPage();
    printer.PreviewClosed();
    EXPECT_TRUE(printer.Cancelled());
    EXPECT_FALSE(printer.PreviewShowing());
    EXPECT_EQ(afterPreview.calls, 1);
    const std::vector<Received> done = report.Messages(CM_QRPREVIEWDONE);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].lParam, reinterpret_cast<LPARAM>(&printer));
    printer.SetPreviewShowing(false);
    EXPECT_EQ(afterPreview.calls, 1) << "only going from showing to not showing";
}

TEST_F(QRPrinterTest, ShowPreviewUsesTheHandlerOrTheFactory) {
    ScopedPreviewInterface factory;
    TLocal<TComponent> window(nullptr);
    TTestPreviewInterface::window = &window;
    TQRPrinter printer;
    Build(printer, 1);
    printer.ShowPreview();
    EXPECT_EQ(TTestPreviewInterface::shown, &printer);
    EXPECT_EQ(printer.PreviewForm(), &window);

    struct Handler {
        TObject* sender = nullptr;
        void Run(TObject* s) { sender = s; }
    } handler;
    TTestPreviewInterface::shown = nullptr;
    printer.OnPreview = TNotifyEvent(&handler, &Handler::Run);
    printer.ShowPreview();
    EXPECT_EQ(handler.sender, &printer);
    EXPECT_EQ(TTestPreviewInterface::shown, nullptr);
}

TEST_F(QRPrinterTest, OnlyPreviewInterfaceClassesAreTaken) {
    EXPECT_THROW(SetPreviewInterfaceClass(TComponent::StaticClass()), EInvalidArgument);
    EXPECT_EQ(PreviewInterfaceClass(), TQRPreviewInterface::StaticClass());
    TQRPrinter printer;
    printer.ShowPreview();  // the base opens no window
    EXPECT_EQ(printer.PreviewForm(), nullptr);
}

// ---- printing stored pages ----

TEST_F(QRPrinterTest, PrintingStoredPagesKeepsToThePagesThereAre) {
    struct Case {
        int pages, first, last;
        std::vector<int> printed;
    } cases[] = {
        {3, 0, 0, {1, 2, 3}}, {2, 1, 99, {1, 2}},  // a dialog range 1-99 on two pages
        {5, 2, 3, {2, 3}},    {5, 4, 0, {4, 5}},
        {5, 6, 0, {}},        {2, -3, 1, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pages << " pages, " << c.first << " to " << c.last);
        machine.Events.clear();
        machine.Shots.clear();
        TestParent parent;
        TQRPrinter printer(&parent);
        Build(printer, c.pages);
        printer.SetFirstPage(c.first);
        printer.SetLastPage(c.last);
        printer.PrintStoredPages();
        EXPECT_EQ(Printed(machine), ColoursOf(c.printed));
        EXPECT_EQ(machine.Count(L"EndDoc"), c.printed.empty() ? 0 : 1);
        EXPECT_EQ(machine.Count(L"AbortDoc"), 0);
        EXPECT_EQ(parent.afterPrint, c.printed.empty() ? 0 : 1);
    }
}

TEST_F(QRPrinterTest, ProgressNeverPassesAHundred) {
    ScopedPreviewInterface factory;
    TestParent parent;
    parent.showProgress = true;
    TQRPrinter printer(&parent);
    Build(printer, 5);
    TestWindow preview;
    printer.SetClient(&preview);
    printer.SetFirstPage(3);
    std::vector<int> seen;
    machine.OnEndPage = [&] { seen.push_back(printer.Progress()); };
    printer.PrintStoredPages();
    machine.OnEndPage = nullptr;
    EXPECT_EQ(seen, (std::vector<int>{33, 67, 100}));
    EXPECT_EQ(TTestPreviewInterface::progressWindows, 1);
    EXPECT_EQ(printer.Client(), &preview) << "the progress window was the client only while printing";
}

TEST_F(QRPrinterTest, CancellingWhilePrintingStopsAfterThePageInProgress) {
    TQRPrinter printer;
    Build(printer, 4);
    CancellingPump::target = &printer;
    CancellingPump::runs = 0;
    CancellingPump::cancelAt = 2;  // the pump runs before each page
    {
        ScopedPump pump(&CancellingPump::Run);
        printer.PrintStoredPages();
    }
    EXPECT_EQ(Printed(machine), ColoursOf({1, 2}));
    EXPECT_EQ(machine.Count(L"AbortDoc"), 1);
    EXPECT_EQ(machine.Count(L"EndDoc"), 0);
    EXPECT_FALSE(printer.PrinterObject().Printing());

    // A later print starts afresh.
    machine.Shots.clear();
    printer.PrintStoredPages();
    EXPECT_EQ(Printed(machine), ColoursOf({1, 2, 3, 4}));
}

TEST_F(QRPrinterTest, ADamagedStoredPageAbortsTheJob) {
    const String path = SavedWithDamagedPage(3, 2);
    TQRPrinter printer;
    printer.LoadPreparedReport(path);
    EXPECT_THROW(printer.PrintStoredPages(), EQRCorruptFile);
    EXPECT_EQ(Printed(machine), ColoursOf({1}));
    EXPECT_EQ(machine.Count(L"AbortDoc"), 1);
    EXPECT_EQ(machine.Count(L"EndDoc"), 0);
    EXPECT_FALSE(printer.PrinterObject().Printing());
}

TEST_F(QRPrinterTest, StoredPagesPrintAtTheirOwnSize) {
    // A4 pages on a Letter printer: drawn at A4's width from the corner, not stretched to Letter.
    TQRPrinter builder;
    Build(builder, 1);
    const String path = PathOf(L"a4.QRP");
    ASSERT_TRUE(builder.SavePreparedReport(path));

    Model().PaperCode = DMPAPER_LETTER;
    Model().PaperWidth = 2159;
    Model().PaperLength = 2794;
    TQRPrinter printer;  // no parent report
    printer.LoadPreparedReport(path);
    printer.PrintStoredPages();
    ASSERT_EQ(machine.Shots.size(), 1u);
    const TRect inked = machine.Shots[0].Inked;
    EXPECT_EQ(inked.Left, 0);
    EXPECT_EQ(inked.Top, 0);
    EXPECT_NEAR(inked.Right, MulDiv(2100, 60, 254), 1);  // 496, where Letter is 510 wide
    EXPECT_EQ(inked.Bottom, MulDiv(2794, 60, 254));      // to the paper's end
}

TEST_F(QRPrinterTest, AReportThatCanPrintItselfIsAskedTo) {
    TestWindow report;
    TQRPrinter printer;
    Build(printer, 2);
    printer.SetReportWindow(report.ClientHandle());
    printer.PrintStoredPages();
    EXPECT_EQ(report.Messages(CM_QRPRINTREQUEST).size(), 1u);
    EXPECT_TRUE(machine.Events.empty());

    printer.SetPrepared(true);  // finished pages of no live run print themselves
    printer.PrintStoredPages();
    EXPECT_EQ(machine.Shots.size(), 2u);
}

// ---- saving and loading ----

TEST_F(QRPrinterTest, SavingNeedsAFinishedReport) {
    TQRPrinter printer;
    const String path = PathOf(L"early.QRP");
    EXPECT_FALSE(printer.SavePreparedReport(path));
    printer.OpenDocument();
    printer.StartNewPage();
    EXPECT_FALSE(printer.SavePreparedReport(path));
    EXPECT_FALSE(FileExists(path));
    printer.CloseDocument();
    EXPECT_TRUE(printer.SavePreparedReport(path));
    EXPECT_TRUE(FileExists(path));
}

TEST_F(QRPrinterTest, AnAbandonedRunSavesItsTruePageCount) {
    for (bool exporting : {false, true}) {
        SCOPED_TRACE(exporting ? "exporting" : "not exporting");
        TestParent parent;
        parent.exporting = exporting;
        TQRPrinter printer(&parent);
        printer.OpenDocument();
        for (int page = 1; page <= 3; ++page) {
            printer.StartNewPage();
            DrawPage(printer, page);
        }
        printer.AbandonDocument();
        const int kept = exporting ? 2 : 3;  // an export keeps no page in progress
        const String path = PathOf(exporting ? L"exported.QRP" : L"abandoned.QRP");
        ASSERT_TRUE(printer.SavePreparedReport(path));
        EXPECT_EQ(GetInt32LE(ReadFile(path).data() + QRHeaderPageCountOffset), kept);
        TQRPrinter loaded;
        loaded.LoadPreparedReport(path);
        EXPECT_EQ(loaded.PageCount(), kept);
    }
}

TEST_F(QRPrinterTest, SavingOntoTheLoadedFileReplacesIt) {
    TQRPrinter builder;
    Build(builder, 2);
    const String path = PathOf(L"same.QRP");
    ASSERT_TRUE(builder.SavePreparedReport(path));

    TQRPrinter printer;
    printer.LoadPreparedReport(path);
    EXPECT_TRUE(printer.Prepared());
    EXPECT_TRUE(PreparedReportLoaded());
    EXPECT_TRUE(printer.SavePreparedReport(path));
    EXPECT_NE(printer.PageMetafile(2), nullptr) << "the pages are still there";
    TQRPrinter again;
    again.LoadPreparedReport(path);
    EXPECT_EQ(again.PageCount(), 2);
}

TEST_F(QRPrinterTest, LoadingAFileWhosePageOneIsDamagedFailsClearly) {
    const String path = SavedWithDamagedPage(2, 1);
    TQRPrinter printer;
    try {
        printer.LoadPreparedReport(path);
        ADD_FAILURE() << "loaded";
    } catch (const EQRCorruptFile& e) {
        EXPECT_NE(e.Message().find(L"Page 1"), String::npos) << StringToUtf8(e.Message());
    }
    EXPECT_EQ(printer.Status(), qpIdle);
    EXPECT_EQ(printer.PageList().Stream(), nullptr);
    EXPECT_THROW(printer.LoadPreparedReport(PathOf(L"missing.QRP")), EFOpenError);
    EXPECT_EQ(printer.Status(), qpIdle);
}

TEST_F(QRPrinterTest, LoadingChoosesThePaperOfTheFirstPage) {
    Model().Papers = std::vector<Word>{DMPAPER_LETTER, DMPAPER_NOTE, DMPAPER_A4, DMPAPER_USER};
    struct Case {
        TQRPaperSize built;
        TPrinterOrientation turned;
        TQRPaperSize loaded;
    } cases[] = {
        {TQRPaperSize::A4, poPortrait, TQRPaperSize::A4},
        {TQRPaperSize::A4, poLandscape, TQRPaperSize::A4},
        // Letter, LetterSmall and Note share the size: the last the driver lists stays.
        {TQRPaperSize::Letter, poPortrait, TQRPaperSize::Note},
        {TQRPaperSize::Letter, poLandscape, TQRPaperSize::Note},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.built) << (c.turned == poLandscape ? " turned" : ""));
        TQRPrinter builder;
        builder.SetPaperSize(c.built);
        builder.SetOrientation(c.turned);
        Build(builder, 1);
        const String path = PathOf(L"paper.QRP");
        ASSERT_TRUE(builder.SavePreparedReport(path));
        TQRPrinter printer;
        printer.SetOrientation(c.turned == poLandscape ? poPortrait : poLandscape);
        printer.LoadPreparedReport(path);
        EXPECT_EQ(printer.PaperSize(), c.loaded);
        EXPECT_EQ(printer.Orientation(), c.turned);
    }

    // A size no paper of the table has leaves paper and orientation as they were.
    TQRPrinter builder;
    builder.SetPaperSize(TQRPaperSize::Custom);
    builder.Settings().SetCustomPaperWidth(1000);
    builder.Settings().SetCustomPaperLength(1000);
    Build(builder, 1);
    const String path = PathOf(L"square.QRP");
    ASSERT_TRUE(builder.SavePreparedReport(path));
    TQRPrinter printer;
    printer.SetOrientation(poLandscape);
    printer.LoadPreparedReport(path);
    EXPECT_EQ(printer.PaperSize(), TQRPaperSize::A4);
    EXPECT_EQ(printer.Orientation(), poLandscape);
}

TEST_F(QRPrinterTest, SharedReportPrinterIsMadeOnceUntilFreed) {
    TQRPrinter& shared = SharedReportPrinter();
    EXPECT_EQ(&SharedReportPrinter(), &shared);
    EXPECT_EQ(shared.ParentReport(), nullptr);
    FreeSharedReportPrinter();
    SharedReportPrinter();  // made again
    FreeSharedReportPrinter();
}

TEST_F(QRPrinterTest, SelectingAnotherPrinterReadsItsSettings) {
    FakePrinterModel second;
    second.Info = {L"Second", L"Other Driver", L"LPT2:"};
    second.PaperCode = DMPAPER_LETTER;
    second.PixelsPerInch = 120;
    machine.Printers.push_back(second);
    ScopedFakePrinters withTwo(machine);
    TQRPrinter printer;
    EXPECT_EQ(printer.Settings().PixelsPerInchX(), 60);
    printer.SelectPrinter(1);
    EXPECT_EQ(printer.PrinterObject().PrinterIndex(), 1);
    EXPECT_EQ(printer.Settings().PixelsPerInchX(), 120);
    EXPECT_EQ(printer.Settings().PaperSize(), TQRPaperSize::Letter);
    printer.SelectPrinter(-1);  // nothing changes
    EXPECT_EQ(printer.PrinterObject().PrinterIndex(), 1);
}

TEST_F(QRPrinterTest, WithoutPrintersEverythingButPrintingWorks) {
    machine.Printers.clear();
    ScopedFakePrinters none(machine);
    TQRPrinter printer;
    EXPECT_FALSE(printer.PrintersInstalled());
    Build(printer, 2);
    EXPECT_EQ(printer.PageCount(), 2);
    std::unique_ptr<TMetafile> page = printer.PageMetafile(1);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(printer.PaperSize(), TQRPaperSize::A4);
    EXPECT_EQ(page->Width(), printer.ToDeviceWidth(2100));
    EXPECT_EQ(page->Height(), printer.ToDeviceHeight(2970));
    const String path = PathOf(L"no-printer.QRP");
    EXPECT_TRUE(printer.SavePreparedReport(path));

    try {
        printer.PrintStoredPages();
        ADD_FAILURE() << "printed without a printer";
    } catch (const EPrinter& e) {
        EXPECT_EQ(e.Message(), SNoDefaultPrinter);
    }
    TQRPrinter direct;
    direct.SetDestination(ptPrinter);
    EXPECT_THROW(direct.OpenDocument(), EPrinter);
    EXPECT_EQ(direct.Status(), qpIdle);
}

// A machine without a printer in a locale that measures in inches still lays pages out on A4,
// and the paper a report asks for that nothing lists is refused there too.
TEST_F(QRPrinterTest, WithoutPrintersThePaperIsA4WhateverTheLocale) {
    machine.Printers.clear();
    ScopedFakePrinters none(machine);
    const TFormatSettings saved = DefaultFormatSettings();
    TFormatSettings inches = saved;
    inches.MeasureInInches = true;
    SetDefaultFormatSettings(inches);
    TQRPrinter printer;
    SetDefaultFormatSettings(saved);
    EXPECT_EQ(printer.PaperSize(), TQRPaperSize::A4);
    EXPECT_EQ(printer.PaperWidth(), 2100);
    EXPECT_EQ(printer.PaperLength(), 2970);
    printer.SetPaperSize(TQRPaperSize::Letter);
    EXPECT_EQ(printer.PaperSize(), TQRPaperSize::A4);
}
