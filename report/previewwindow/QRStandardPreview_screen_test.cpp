// The standard preview window over a report printer that builds three pages while the window is
// open: the tool bar's state while building and once done, page moves by buttons, keys, the
// wheel and the go-to-page box, thumbnails, search results, the clipboard, saving and loading,
// and the progress window. FOLHAVIDA_PREVIEW_SHOTS names a folder for pictures of the window.
#include "report/previewwindow/QRStandardPreview.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include <dlgs.h>

#include "framework/controls/ComCtrls.h"
#include "framework/controls/ListBox.h"
#include "framework/controls/SpeedButton.h"
#include "framework/controls/Splitter.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/ToolBar.h"
#include "framework/forms/Application.h"
#include "framework/graphics/Clipboard.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Format.h"
#include "report/bands/QRReport.h"
#include "report/previewwindow/QRProgressForm.h"
#include "testing/ControlTestSupport.h"
#include "testing/FakePrinters.h"
#include "testing/KeyInput.h"

namespace {

// Page n: a coloured block and a line of text naming the page, with one word in it whose case
// differs from page to page.
const wchar_t* const PageTexts[] = {L"Curriculum summary", L"TOTAL of hours", L"Total geral: cora\u00e7\u00e3o"};

void DrawPage(TQRPrinter& printer, int page) {
    TCanvas& canvas = *printer.PageCanvas();
    const TColor colours[] = {clRed, clLime, clBlue};
    canvas.Brush().SetColor(colours[(page - 1) % 3]);
    const int w = printer.PaperWidth(), h = printer.PaperLength();
    canvas.FillRect(Rect(printer.ToDeviceX(w / 4), printer.ToDeviceY(h / 3), printer.ToDeviceX(w * 3 / 4),
                         printer.ToDeviceY(h * 2 / 3)));
    canvas.Brush().SetColor(clWhite);
    canvas.Font().SetSize(14);
    canvas.TextOut(printer.ToDeviceX(200), printer.ToDeviceY(200), PageTexts[(page - 1) % 3]);
}

std::string Narrow(const String& s) {
    std::string out;
    for (wchar_t c : s) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

// The text of a system message box.
String BoxText(HWND box) {
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 256);
    return text;
}

String WindowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// Notes when a component is freed.
class TGoneWatcher : public TComponent {
    FV_CLASS(TGoneWatcher, TComponent)
public:
    explicit TGoneWatcher(TComponent* owner) : TComponent(owner) {}
    void Watch(TComponent* component) { component->FreeNotification(this); }
    bool Gone = false;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove) Gone = true;
    }
};

String ShotsFolder() {
    const char* dir = std::getenv("FOLHAVIDA_PREVIEW_SHOTS");
    return dir != nullptr ? String(dir, dir + std::strlen(dir)) : String();
}

class StandardPreviewScreen : public ::testing::Test {
protected:
    // The window over the printer; pages are built afterwards, one by one (BuildPages).
    TQRStandardPreview& Open() {
        window = new TQRStandardPreview(&Application(), &printer);
        window->SetWindowState(wsNormal);
        window->SetBounds(20, 20, 900, 640);
        window->ShowWithStatus();
        EXPECT_TRUE(PumpUntil([&] { return window->Showing() && IsWindowVisible(window->Handle()); }));
        return *window;
    }
    void StartBuilding() { printer.OpenDocument(); }
    void AddPage() {
        printer.StartNewPage();
        DrawPage(printer, printer.PageCount());
    }
    void Finish() {
        printer.CloseDocument();
        EXPECT_TRUE(PumpUntil([&] { return window->Print->Enabled() && window->FirstPage->Enabled(); }));
    }
    void BuildAll() {
        StartBuilding();
        for (int i = 0; i < 3; ++i) AddPage();
        Finish();
    }
    String Panel(int i) { return window->StatusBar->Panels()->Items(i)->Text(); }
    void Shot(const wchar_t* name) {
        const String folder = ShotsFolder();
        if (folder.empty()) return;
        PumpMessages();
        RedrawWindow(window->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT r;
        GetWindowRect(window->Handle(), &r);
        auto image = WhiteBitmap(r.right - r.left, r.bottom - r.top);
        const UniqueWindowDC dc = WindowDC(window->Handle());
        BitBlt(image->Canvas().Handle(), 0, 0, r.right - r.left, r.bottom - r.top, dc.get(), 0, 0, SRCCOPY);
        image->SaveToFile(folder + L"\\" + name + L".bmp");
    }
    // Closes the window as its Close button does and waits until it is freed.
    void CloseWindow() {
        TLocal<TGoneWatcher> gone(nullptr);
        gone.Watch(window);
        window->ExitClick(nullptr);
        EXPECT_TRUE(PumpUntil([&] { return gone.Gone; }));
        window = nullptr;
    }
    void TearDown() override { delete window; }

    FakePrintMachine machine;
    ScopedFakePrinters installed{machine};
    TQRPrinter printer;
    TQRStandardPreview* window = nullptr;
};

}  // namespace

TEST_F(StandardPreviewScreen, LaidOutWithItsTextsAndTheToolBarFollowsTheBuild) {
    TQRStandardPreview& w = Open();
    EXPECT_EQ(w.Caption(), L"Report Preview : ");
    EXPECT_EQ(w.ExitButton->Caption(), L"&Close");
    EXPECT_EQ(w.TabThumbs->Caption(), L"ThumbNails");
    EXPECT_EQ(w.TabSearchResult->Caption(), L"Search Results");
    EXPECT_EQ(w.GroupBox1->Caption(), L"Search Text");
    const std::pair<TControl*, const wchar_t*> hints[] = {
        {w.ZoomFit, L"Zoom to fit"},       {w.ZoomToWidth, L"Zoom to width"},   {w.Zoom100, L"100% Size"},
        {w.FirstPage, L"First page"},      {w.nextPage, L"Next page"},          {w.PreviousPage, L"Previous page"},
        {w.LastPage, L"Last page"},        {w.GotoPageButton, L"Select a Page"}, {w.FindButton, L"Search for Text"},
        {w.PrintSetup, L"Printer setup"},  {w.Print, L"Print"},                 {w.SaveReport, L"Save report"},
        {w.LoadReport, L"Load report"},    {w.ExitButton, L"Close Preview"}};
    for (auto [control, hint] : hints) EXPECT_EQ(control->Hint(), hint) << Narrow(control->Name());
    EXPECT_FALSE(w.CancelButton->Enabled());
    EXPECT_EQ(Panel(0), L"0%");
    EXPECT_EQ(Panel(1), L"Page 1 of 0");
    EXPECT_TRUE(w.Zoom100->Down()) << "without a report the window opens at 100%";
    EXPECT_EQ(w.QRPreview->Zoom(), 100);
    // Tool bar, then the tabs and the page side by side above the status line.
    EXPECT_EQ(w.ToolBar1->Top(), 0);
    EXPECT_EQ(w.ZoomFit->Width(), 34);
    EXPECT_EQ(w.Tabs->Width(), 193);
    EXPECT_EQ(w.QRPreview->Left(), w.Splitter1->Left() + w.Splitter1->Width());
    EXPECT_EQ(w.StatusBar->Top() + w.StatusBar->Height(), w.ClientHeight());

    // While building: the page and file buttons are off, Cancel is on, the last page is not
    // offered as a thumbnail yet.
    StartBuilding();
    AddPage();
    AddPage();
    ASSERT_TRUE(PumpUntil([&] { return w.CancelButton->Enabled(); }));
    for (TToolButton* b : {w.PrintSetup, w.Print, w.SaveReport, w.LoadReport, w.FindButton, w.GotoPageButton,
                           w.FirstPage, w.nextPage, w.PreviousPage, w.LastPage})
        EXPECT_FALSE(b->Enabled()) << Narrow(b->Name());
    EXPECT_EQ(w.ThumbGrid->RowCount(), 1);
    EXPECT_NE(w.QRPreview->Image().Metafile(), nullptr) << "page 1 shows as soon as it is stored";
    // The last complete page while building is the one before the page being drawn.
    w.LastPageClick(nullptr);
    EXPECT_EQ(w.QRPreview->PageNumber(), 1);
    AddPage();
    Finish();
    for (TToolButton* b : {w.PrintSetup, w.Print, w.SaveReport, w.LoadReport, w.FindButton, w.GotoPageButton,
                           w.FirstPage, w.nextPage, w.PreviousPage, w.LastPage})
        EXPECT_TRUE(b->Enabled()) << Narrow(b->Name());
    EXPECT_FALSE(w.CancelButton->Enabled());
    EXPECT_EQ(w.ThumbGrid->RowCount(), 3);
    EXPECT_TRUE(w.ThumbGrid->Showing()) << "the thumbnails are the tab shown first";
    EXPECT_GT(w.ThumbGrid->DefaultRowHeight(), w.ThumbGrid->DefaultColWidth()) << "portrait thumbnails";
    EXPECT_EQ(Panel(1), L"Page 1 of 3");
    EXPECT_EQ(Panel(0), L"100%") << "a complete report says so";
    Shot(L"preview-100");

    // Progress: steps of 5, up to 100%.
    w.QRPreviewProgressUpdate(nullptr, 3);
    EXPECT_EQ(Panel(0), L"100%");
    w.QRPreviewProgressUpdate(nullptr, 40);
    EXPECT_EQ(Panel(0), L"40%");
    w.QRPreviewProgressUpdate(nullptr, 100);
    EXPECT_EQ(Panel(0), L"100%");
}

TEST_F(StandardPreviewScreen, AtSixHundredPixelsTheToolBarShowsEveryButton) {
    TQRStandardPreview& w = Open();
    BuildAll();
    w.SetBounds(20, 20, 600, 600);
    ASSERT_TRUE(PumpUntil([&] { return w.Width() == 600 && w.ToolBar1->Width() == w.ClientWidth(); }));
    for (int i = 0; i < w.ToolBar1->ControlCount(); ++i) {
        TControl* c = w.ToolBar1->Controls(i);
        if (!c->Visible()) continue;
        EXPECT_LE(c->Left() + c->Width(), w.ToolBar1->ClientWidth()) << Narrow(c->Name());
        EXPECT_LE(c->Top() + c->Height(), w.ToolBar1->ClientHeight()) << Narrow(c->Name());
    }
    EXPECT_EQ(w.QRPreview->Top(), w.ToolBar1->Top() + w.ToolBar1->Height()) << "the page starts below the bar";
    Shot(L"preview-600");
}

TEST_F(StandardPreviewScreen, PagesMoveByButtonsKeysWheelThumbnailsAndTheGoToBox) {
    TQRStandardPreview& w = Open();
    BuildAll();
    w.NextPageClick(nullptr);
    EXPECT_EQ(w.QRPreview->PageNumber(), 2);
    EXPECT_EQ(w.ThumbGrid->Row(), 1);
    EXPECT_EQ(Panel(1), L"Page 2 of 3");
    w.LastPageClick(nullptr);
    EXPECT_EQ(w.QRPreview->PageNumber(), 3);
    w.NextPageClick(nullptr);  // past the end: stays
    EXPECT_EQ(w.QRPreview->PageNumber(), 3);
    w.FirstPageClick(nullptr);
    w.PrevPageClick(nullptr);  // before the first: stays
    EXPECT_EQ(w.QRPreview->PageNumber(), 1);

    // A thumbnail click shows its page.
    w.ThumbGrid->SetRow(2);
    EXPECT_EQ(w.QRPreview->PageNumber(), 3);
    EXPECT_EQ(Panel(1), L"Page 3 of 3");

    // Keys, as a person presses them (the window previews them).
    w.ZoomToWidthClick(nullptr);
    ASSERT_GT(w.QRPreview->ContentHeight(), w.QRPreview->Height()) << "the page is taller than the view";
    w.QRPreview->SetFocus();
    const auto press = [&](Word key, TShiftState shift = {}) { w.FormKeyDown(nullptr, key, shift); };
    press(VK_HOME);
    EXPECT_EQ(w.QRPreview->PageNumber(), 1);
    press(VK_UP);  // page 1 at the top: nothing to go back to
    EXPECT_EQ(w.QRPreview->PageNumber(), 1);
    EXPECT_EQ(w.QRPreview->VertPosition(), 0);
    press(VK_DOWN);
    EXPECT_EQ(w.QRPreview->VertPosition(), 43);
    press(VK_NEXT, TShiftState{ssCtrl});
    EXPECT_EQ(w.QRPreview->PageNumber(), 3);
    EXPECT_EQ(w.QRPreview->VertPosition(), 0);
    press(VK_UP);  // page 3 at the top: the bottom of page 2
    EXPECT_EQ(w.QRPreview->PageNumber(), 2);
    EXPECT_EQ(w.QRPreview->VertPosition(),
              std::min(w.QRPreview->ContentHeight() - w.QRPreview->Height() - 43,
                       w.QRPreview->ContentHeight() - w.QRPreview->ClientHeight()));
    press(VK_PRIOR);
    EXPECT_EQ(w.QRPreview->PageNumber(), 1);
    press(VK_END);
    EXPECT_EQ(w.QRPreview->PageNumber(), 3);

    // The wheel: a backward turn scrolls down, a forward one up.
    press(VK_HOME);
    SendMessageW(w.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(w.QRPreview->VertPosition(), 43);
    SendMessageW(w.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(w.QRPreview->VertPosition(), 0);
    Shot(L"preview-width");

    // The go-to-page box: "2x" is page 2, an answer outside the report page 1.
    for (auto [answer, page] : {std::pair<const wchar_t*, int>{L"2x", 2}, {L"99", 1}, {L"$3", 3}, {L"abc", 1}}) {
        String caption;
        TWindowWatcher watcher(L"TInputQueryForm", [&, answer = answer](HWND form) {
            wchar_t text[128] = {};
            GetWindowTextW(form, text, 128);
            caption = text;
            SendMessageW(FindChild(form, L"TEdit", nullptr), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer));
            PostMessageW(FindChild(form, L"TButton", L"OK"), BM_CLICK, 0, 0);
        });
        w.GotoPageButtonClick(nullptr);
        EXPECT_TRUE(watcher.Found());
        EXPECT_EQ(caption, L"Select a page from 1 to 3");
        EXPECT_EQ(w.QRPreview->PageNumber(), page) << Narrow(answer);
    }

    // Zoom buttons.
    w.ZoomToFitClick(nullptr);
    EXPECT_EQ(w.QRPreview->ZoomState(), qrZoomToFit);
    EXPECT_LE(w.QRPreview->Image().Height(), w.QRPreview->ClientHeight());
    Shot(L"preview-fit");
    w.ZoomTo100Click(nullptr);
    EXPECT_EQ(w.QRPreview->Zoom(), 100);
    // Escape closes.
    TLocal<TGoneWatcher> gone(nullptr);
    gone.Watch(window);
    press(VK_ESCAPE);
    EXPECT_FALSE(printer.PreviewShowing());
    ASSERT_TRUE(PumpUntil([&] { return gone.Gone; }));
    window = nullptr;
}

TEST_F(StandardPreviewScreen, SearchListsThePagesHoldingTheText) {
    TQRStandardPreview& w = Open();
    BuildAll();
    w.RunSearch(L"total", false);
    EXPECT_TRUE(w.SearchResultBox->Enabled());
    EXPECT_EQ(w.SearchTextLabel->Caption(), L"total");
    ASSERT_EQ(w.SearchResultBox->Count(), 2);
    EXPECT_EQ(w.SearchResultBox->Items()->Get(0), L"Page 2");
    EXPECT_EQ(w.SearchResultBox->Items()->Get(1), L"Page 3");
    Shot(L"preview-search");
    w.SearchResultBox->SetItemIndex(1);
    w.SearchResultBoxClick(nullptr);
    EXPECT_EQ(w.QRPreview->PageNumber(), 3);

    w.RunSearch(L"Total", true);
    ASSERT_EQ(w.SearchResultBox->Count(), 1);
    EXPECT_EQ(w.SearchResultBox->Items()->Get(0), L"Page 3");
    w.RunSearch(L"cora\u00e7\u00e3o", true);
    ASSERT_EQ(w.SearchResultBox->Count(), 1);

    w.RunSearch(L"nowhere", false);
    ASSERT_EQ(w.SearchResultBox->Count(), 1);
    EXPECT_EQ(w.SearchResultBox->Items()->Get(0), L"No matching text");
    EXPECT_FALSE(w.SearchResultBox->Enabled());
    w.SearchResultBoxClick(nullptr);
    EXPECT_EQ(w.QRPreview->PageNumber(), 1) << "no page stored with the item: page 1";
}

// The search dialog as a person uses it: the text typed, Tab to the case box, Enter searches and
// Escape leaves the results as they were.
TEST_F(StandardPreviewScreen, SearchDialogAnswersTheKeyboard) {
    struct TRow {
        const char* Name;
        const wchar_t* Typed;
        std::vector<TKeyStroke> Keys;
        std::vector<String> Results;  // the list afterwards
    };
    const TRow rows[] = {
        {"Enter searches", L"total", {{VK_RETURN}}, {L"Page 2", L"Page 3"}},
        {"Tab, Space ticks Match case", L"Total", {{VK_TAB}, {VK_SPACE}, {VK_RETURN}}, {L"Page 3"}},
        {"Escape cancels", L"nowhere", {{VK_ESCAPE}}, {L"Page 3"}},
        {"Shift+Tab comes back to the text", L"TOT", {{VK_TAB}, {VK_TAB, TShiftState{ssShift}}, {VK_RETURN}},
         {L"Page 2", L"Page 3"}},
    };
    TQRStandardPreview& w = Open();
    BuildAll();
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TWindowWatcher watcher(L"TSearchDlg", [&](HWND dialog) {
            SetForegroundWindow(dialog);
            TypeText(row.Typed);
            for (const TKeyStroke& key : row.Keys) PressKey(key.Key, key.Shift);
        });
        w.FindButtonClick(nullptr);
        EXPECT_TRUE(watcher.Found());
        std::vector<String> results;
        for (int i = 0; i < w.SearchResultBox->Count(); ++i) results.push_back(w.SearchResultBox->Items()->Get(i));
        EXPECT_EQ(results, row.Results);
    }
}

// The go-to-page box: Enter takes the number typed, Escape keeps the page.
TEST_F(StandardPreviewScreen, GoToPageBoxAnswersTheKeyboard) {
    struct TRow {
        const char* Name;
        const wchar_t* Typed;
        Word Key;
        int Page;
    };
    const TRow rows[] = {{"Enter goes", L"3", VK_RETURN, 3}, {"Escape stays", L"1", VK_ESCAPE, 3}, {"Enter again", L"2", VK_RETURN, 2}};
    TQRStandardPreview& w = Open();
    BuildAll();
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TWindowWatcher watcher(L"TInputQueryForm", [&](HWND form) {
            SetForegroundWindow(form);
            PressKeys({{VK_HOME}, {VK_END, TShiftState{ssShift}}});  // the page shown, selected
            TypeText(row.Typed);
            PressKey(row.Key);
        });
        w.GotoPageButtonClick(nullptr);
        EXPECT_TRUE(watcher.Found());
        EXPECT_EQ(w.QRPreview->PageNumber(), row.Page);
    }
}

// The progress window's Cancel button is its cancel button: Escape presses it, and Enter too, for
// it has the focus.
TEST_F(StandardPreviewScreen, ProgressWindowCancelsByKey) {
    for (Word key : {VK_ESCAPE, VK_RETURN}) {
        SCOPED_TRACE(key == VK_ESCAPE ? "Escape" : "Enter");
        TQRPrinter running;
        TLocal<TQRStandardPreviewInterface> factory(nullptr);
        std::unique_ptr<IQRPrinterClient> client = factory.ShowProgress(running, L"");
        ASSERT_NE(client, nullptr);
        const HWND progress = client->ClientHandle();
        SetForegroundWindow(progress);
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == progress; }));
        ASSERT_TRUE(PressKey(key));
        EXPECT_TRUE(PumpUntil([&] { return running.Cancelled(); }));
    }
}

TEST_F(StandardPreviewScreen, ClipboardSaveAndLoad) {
    TQRStandardPreview& w = Open();
    // No page yet: copying leaves the clipboard as it was.
    Clipboard().Open();
    Clipboard().Clear();
    Clipboard().Close();
    w.copybuttonClick(nullptr);
    EXPECT_FALSE(Clipboard().HasFormat(CF_ENHMETAFILE));
    BuildAll();
    w.copybuttonClick(nullptr);
    EXPECT_TRUE(Clipboard().HasFormat(CF_ENHMETAFILE));

    // Saved as a prepared report under a name without extension (filter 2), and loaded again.
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const String base = String(temp) + L"preview-" + IntToStr(GetCurrentProcessId());
    w.SaveTo(base, 2);
    ASSERT_TRUE(FileExists(base + L".QRP"));

    // An extension no filter handles is reported and nothing is written.
    String said;
    {
        TWindowWatcher watcher(L"#32770", [&](HWND box) {
            said = BoxText(box);
            PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        });
        w.SaveTo(base + L".xls", 1);
        EXPECT_TRUE(watcher.Found());
    }
    EXPECT_EQ(said, L"No export filter for files of type .XLS");
    EXPECT_FALSE(FileExists(base + L".xls"));

    // A prepared report that cannot be written is an error the window's caller shows, never
    // a quiet success.
    const String nowhere = base + L"-no-such-folder\\cv.QRP";
    try {
        w.SaveTo(nowhere, 2);
        ADD_FAILURE() << "a save into a missing folder succeeded";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find(nowhere), String::npos) << e.Message();
    }

    // A missing file: "File does not exist", the window unchanged.
    {
        TWindowWatcher watcher(L"#32770", [&](HWND box) {
            said = BoxText(box);
            PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        });
        w.LoadFrom(base + L"-missing.QRP");
        EXPECT_TRUE(watcher.Found());
    }
    EXPECT_EQ(said, L"File does not exist");
    EXPECT_TRUE(w.SaveReport->Visible());
    EXPECT_FALSE(w.ShowsLoadedFile());

    w.LoadFrom(base + L".QRP");
    EXPECT_TRUE(w.ShowsLoadedFile());
    EXPECT_FALSE(PreparedReportLoaded()) << "a file shown in one window does not mark later previews";
    EXPECT_FALSE(w.SaveReport->Visible());
    EXPECT_TRUE(w.Print->Enabled());
    EXPECT_EQ(printer.PageCount(), 3);
    EXPECT_EQ(w.PreviewStatusText(), base + L".QRP");
    EXPECT_EQ(Panel(2), base + L".QRP");
    EXPECT_NE(w.QRPreview->Image().Metafile(), nullptr);

    // Another preview saving over the file this one shows is told why it cannot, as the main
    // window's save tells it.
    {
        TQRPrinter other;
        other.OpenDocument();
        other.StartNewPage();
        DrawPage(other, 1);
        other.CloseDocument();
        std::unique_ptr<TQRStandardPreview> second(new TQRStandardPreview(&Application(), &other));
        TWindowWatcher watcher(L"#32770", [&](HWND box) {
            said = BoxText(box);
            PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        });
        second->SaveTo(base + L".QRP", 2);
        EXPECT_TRUE(watcher.Found());
    }
    EXPECT_EQ(said, FileInPreviewMessage(base + L".QRP"));
    EXPECT_TRUE(w.ShowsLoadedFile());
    DeleteFileW((base + L".QRP").c_str());
}

TEST_F(StandardPreviewScreen, TheSaveDialogOpensOverThePreviewWhichKeepsTheFocus) {
    TQRStandardPreview& w = Open();
    BuildAll();
    SetForegroundWindow(w.Handle());
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == w.Handle(); }));
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const String file = String(temp) + L"dialog-" + IntToStr(GetCurrentProcessId()) + L".QRP";
    String title;
    HWND owner = nullptr;
    RECT placed{};
    {
        TWindowWatcher watcher(L"#32770", [&](HWND dialog) {
            title = WindowText(dialog);
            owner = GetWindow(dialog, GW_OWNER);
            GetWindowRect(dialog, &placed);
            SetDlgItemTextW(dialog, cmb13, file.c_str());
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        w.SaveClick(nullptr);
        EXPECT_TRUE(watcher.Found());
    }
    EXPECT_EQ(title, L"Save report");
    EXPECT_EQ(owner, w.Handle());
    RECT window;
    GetWindowRect(w.Handle(), &window);
    EXPECT_NEAR((placed.left + placed.right) / 2, (window.left + window.right) / 2, 2);
    EXPECT_NEAR((placed.top + placed.bottom) / 2, (window.top + window.bottom) / 2, 2);
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == w.Handle(); }))
        << "the active window after the save: " << GetActiveWindow();
    DeleteFileW(file.c_str());
}

TEST_F(StandardPreviewScreen, PrintingWithNoPrinterInstalledSaysSo) {
    machine.Printers.clear();
    ScopedFakePrinters none(machine);
    TQRPrinter bare;
    bare.OpenDocument();
    bare.StartNewPage();
    DrawPage(bare, 1);
    bare.CloseDocument();
    ASSERT_FALSE(bare.PrintersInstalled());
    std::unique_ptr<TQRStandardPreview> preview(new TQRStandardPreview(&Application(), &bare));
    String said;
    TWindowWatcher watcher(L"#32770", [&](HWND box) {
        said = BoxText(box);
        PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    });
    preview->PrintClick(nullptr);
    EXPECT_TRUE(watcher.Found());
    EXPECT_EQ(said, NoPrinterMessage());
}

TEST_F(StandardPreviewScreen, ClosingDuringABuildCancelsIt) {
    TQRStandardPreview& w = Open();
    StartBuilding();
    AddPage();
    TLocal<TGoneWatcher> gone(nullptr);
    gone.Watch(window);
    w.Close();
    EXPECT_TRUE(printer.Cancelled());
    EXPECT_FALSE(printer.PreviewShowing());
    ASSERT_TRUE(PumpUntil([&] { return gone.Gone; }));
    window = nullptr;
    printer.AbandonDocument();
}

TEST_F(StandardPreviewScreen, FactoryOpensTheWindowAndTheProgressWindow) {
    TLocal<TQRStandardPreviewInterface> factory(nullptr);
    printer.OpenDocument();
    for (int i = 0; i < 3; ++i) {
        printer.StartNewPage();
        DrawPage(printer, i + 1);
    }
    printer.CloseDocument();
    window = dynamic_cast<TQRStandardPreview*>(factory.Show(printer));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(printer.PreviewShowing());
    EXPECT_TRUE(window->Visible());
    EXPECT_EQ(window->WindowState(), wsMaximized) << "a printer without report opens maximised";
    EXPECT_EQ(window->StatusBar->Panels()->Items(1)->Text(), L"Page 1 of 3");
    window->ThumbGrid->Repaint();
    Shot(L"preview-maximised");
    CloseWindow();
    EXPECT_FALSE(printer.PreviewShowing());

    // The progress window: captioned for exporting, it moves at each of 33, 67, 100.
    std::unique_ptr<IQRPrinterClient> client = factory.ShowProgress(printer, L"Exporting Progress");
    ASSERT_NE(client, nullptr);
    const HWND progress = client->ClientHandle();
    ASSERT_NE(progress, nullptr);
    wchar_t caption[64] = {};
    GetWindowTextW(progress, caption, 64);
    EXPECT_STREQ(caption, L"Exporting Progress");
    auto* form = dynamic_cast<TQRProgressForm*>(FindControl(progress));
    ASSERT_NE(form, nullptr);
    for (int p : {33, 67, 100}) {
        printer.ReportProgress(p);
        form->ProgressMessage();
        EXPECT_EQ(form->Info->Caption(), IntToStr(p) + L"%  Completed") << p;
        EXPECT_EQ(form->Gauge->Position(), p);
    }
    form->CancelButton->Click();
    EXPECT_TRUE(printer.Cancelled());
    client.reset();
    EXPECT_EQ(FindControl(progress), nullptr);

    std::unique_ptr<IQRPrinterClient> printing = factory.ShowProgress(printer, L"");
    GetWindowTextW(printing->ClientHandle(), caption, 64);
    EXPECT_STREQ(caption, L"Printing progress");
}

namespace {

// Records for a report: a fixed number, then no more.
class TRecords : public TObject {
public:
    String ClassName() const override { return L"TRecords"; }
    void NeedData(TObject*, bool& more) { more = served_++ < Count; }
    int Count = 12;

private:
    int served_ = 0;
};

TQRBand* AddBand(TCustomQRReport& report, const wchar_t* name, TQRBandType type, int height) {
    auto* band = new TQRBand(&report);
    band->SetName(name);
    band->SetBandTypeValue(type);
    band->SetParent(&report);
    band->Size()->SetHeight(height);
    return band;
}

}  // namespace

// A report's ShowPreview opens the standard window with the report's title and stays in its loop
// until a person closes the window.
TEST(StandardPreviewOfAReport, ShowPreviewOpensTheWindowUntilItIsClosed) {
    FakePrintMachine machine;
    ScopedFakePrinters installed{machine};
    TLocal<TQRReport> report{nullptr};
    report.SetShowProgress(false);
    TQRPage& page = *report.Page();
    page.SetUnits(TQRUnit::MM);
    page.SetPaperSize(TQRPaperSize::A4);
    page.SetTopMargin(10);
    page.SetBottomMargin(10);
    report.SetUnits(TQRUnit::Native);
    AddBand(report, L"T", rbTitle, 100);
    AddBand(report, L"D", rbDetail, 300);
    TRecords records;
    report.OnNeedData = TQROnNeedDataEvent(&records, &TRecords::NeedData);
    report.SetReportTitle(L"Curr\u00edculo");
    report.SetPreviewInitialState(TQRPrevWindowState::wsNormal);

    String caption;
    TWindowWatcher watcher(L"TQRStandardPreview", [&](HWND window) {
        wchar_t text[128] = {};
        GetWindowTextW(window, text, 128);
        caption = text;
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    report.ShowPreview();
    EXPECT_TRUE(watcher.Found());
    EXPECT_EQ(caption, L"Report Preview : Curr\u00edculo");
    // Closed during the build, the run is cancelled and its printer goes; closed after it, the
    // printer stays without a preview.
    if (TQRPrinter* printer = report.ReportPrinter()) {
        EXPECT_FALSE(printer->PreviewShowing());
    }
    EXPECT_TRUE(report.Available());
    // The report can preview again afterwards.
    TWindowWatcher again(L"TQRStandardPreview", [&](HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); });
    report.ShowPreview();
    EXPECT_TRUE(again.Found());
}
