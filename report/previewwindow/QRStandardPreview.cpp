#include "report/previewwindow/QRStandardPreview.h"

#include <algorithm>
#include <cstdint>

#include "framework/controls/ComCtrls.h"
#include "framework/controls/ControlDrawing.h"
#include "framework/controls/ListBox.h"
#include "framework/controls/SpeedButton.h"
#include "framework/controls/Splitter.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/ToolBar.h"
#include "framework/forms/Application.h"
#include "framework/forms/Dialogs.h"
#include "framework/forms/InputBox.h"
#include "framework/graphics/Clipboard.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/Numeric.h"
#include "report/bands/QRReport.h"
#include "report/preview/QRTextSearch.h"
#include "report/previewwindow/QRPreviewGlyphs.h"
#include "report/previewwindow/QRProgressForm.h"
#include "report/previewwindow/QRSearchDialog.h"

namespace {

// The preview's scroll steps for the arrow keys, pixels.
constexpr int VertIncrement = 43;

}  // namespace

TQRStandardPreview::TQRStandardPreview(TComponent* owner, TQRPrinter* printer) : TForm(owner) {
    BuildWindow();
    CreatePreview(printer);
}

TQRStandardPreview::~TQRStandardPreview() = default;

// The window as laid out: tool bar on top, status line below, thumbnails and search results on
// the left beside the page.
void TQRStandardPreview::BuildWindow() {
    SetCaption(L"Print Preview");
    SetBounds(0, 0, 784, 563);
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    SetKeyPreview(true);
    SetShowHint(true);

    Images = new TImageList(this);
    Images->SetName(L"Images");
    AddPreviewGlyphs(*Images);

    ToolBar1 = new TToolBar(this);
    ToolBar1->SetName(L"ToolBar1");
    ToolBar1->SetParent(this);
    ToolBar1->SetImages(Images);
    ToolBar1->SetButtonWidth(34);
    ToolBar1->SetButtonHeight(30);
    const auto button = [this](TToolButton*& field, const wchar_t* name, TToolButtonStyle style, int image) {
        field = new TToolButton(this);
        field->SetName(name);
        field->SetParent(ToolBar1);
        field->SetStyle(style);
        field->SetImageIndex(image);
    };
    button(ZoomFit, L"ZoomFit", tbsCheck, pgZoomFit);
    button(ZoomToWidth, L"ZoomToWidth", tbsCheck, pgZoomWidth);
    button(Zoom100, L"Zoom100", tbsCheck, pgZoom100);
    for (TToolButton* b : {ZoomFit, ZoomToWidth, Zoom100}) b->SetGrouping(true);
    button(Spacer3, L"Spacer3", tbsSeparator, -1);
    button(FirstPage, L"FirstPage", tbsButton, pgFirstPage);
    button(PreviousPage, L"PreviousPage", tbsButton, pgPreviousPage);
    button(nextPage, L"nextPage", tbsButton, pgNextPage);
    button(LastPage, L"LastPage", tbsButton, pgLastPage);
    button(Spacer2, L"Spacer2", tbsSeparator, -1);
    button(GotoPageButton, L"GotoPageButton", tbsButton, pgGotoPage);
    button(FindButton, L"FindButton", tbsButton, pgFind);
    button(Spacer1, L"Spacer1", tbsSeparator, -1);
    button(copybutton, L"copybutton", tbsButton, pgCopy);
    button(PrintSetup, L"PrintSetup", tbsButton, pgPrintSetup);
    button(Print, L"Print", tbsButton, pgPrint);
    button(LoadReport, L"LoadReport", tbsButton, pgLoad);
    button(SaveReport, L"SaveReport", tbsButton, pgSave);
    button(Spacer5, L"Spacer5", tbsSeparator, -1);
    button(CancelButton, L"CancelButton", tbsButton, pgCancel);
    ExitButton = new TSpeedButton(this);
    ExitButton->SetName(L"ExitButton");
    ExitButton->SetParent(ToolBar1);
    ExitButton->SetFlat(true);
    ExitButton->SetWidth(64);

    StatusBar = new TStatusBar(this);
    StatusBar->SetName(L"StatusBar");
    StatusBar->SetParent(this);
    StatusBar->SetAlign(alBottom);
    TStatusPanel* percent = StatusBar->Panels()->Add();
    percent->SetAlignment(taRightJustify);
    // Wide enough for "100%" with the panel's own margins.
    percent->SetWidth(50);
    percent->SetText(L"0%");
    TStatusPanel* page = StatusBar->Panels()->Add();
    page->SetWidth(120);
    page->SetText(L"Page");
    TStatusPanel* status = StatusBar->Panels()->Add();
    status->SetWidth(50);
    status->SetText(L" ");

    Tabs = new TPageControl(this);
    Tabs->SetName(L"Tabs");
    Tabs->SetParent(this);
    Tabs->SetWidth(193);
    Tabs->SetAlign(alLeft);
    TabThumbs = new TTabSheet(this);
    TabThumbs->SetName(L"TabThumbs");
    TabThumbs->SetPageControl(Tabs);
    ThumbGrid = new TDrawGrid(this);
    ThumbGrid->SetName(L"ThumbGrid");
    ThumbGrid->SetParent(TabThumbs);
    ThumbGrid->SetAlign(alClient);
    ThumbGrid->SetColCount(1);
    ThumbGrid->SetDefaultColWidth(90);
    ThumbGrid->SetDefaultRowHeight(90);
    ThumbGrid->SetRowSelect(true);
    TabSearchResult = new TTabSheet(this);
    TabSearchResult->SetName(L"TabSearchResult");
    TabSearchResult->SetPageControl(Tabs);
    GroupBox1 = new TGroupBox(this);
    GroupBox1->SetName(L"GroupBox1");
    GroupBox1->SetParent(TabSearchResult);
    GroupBox1->SetHeight(45);
    GroupBox1->SetAlign(alTop);
    SearchTextLabel = new TLabel(this);
    SearchTextLabel->SetName(L"SearchTextLabel");
    SearchTextLabel->SetParent(GroupBox1);
    SearchTextLabel->SetBounds(10, 20, 160, 15);
    Splitter2 = new TSplitter(this);
    Splitter2->SetName(L"Splitter2");
    Splitter2->SetParent(TabSearchResult);
    Splitter2->SetAlign(alTop);
    Splitter2->SetHeight(3);
    Splitter2->SetCursor(crSizeNS);
    SearchResultBox = new TListBox(this);
    SearchResultBox->SetName(L"SearchResultBox");
    SearchResultBox->SetParent(TabSearchResult);
    SearchResultBox->SetAlign(alClient);
    SearchResultBox->SetEnabled(false);

    Splitter1 = new TSplitter(this);
    Splitter1->SetName(L"Splitter1");
    Splitter1->SetParent(this);
    Splitter1->SetAlign(alLeft);

    QRPreview = new TQRPreview(this);
    QRPreview->SetName(L"QRPreview");
    QRPreview->SetParent(this);
    QRPreview->SetAlign(alClient);
    QRPreview->SetZoom(70);
    QRPreview->OnPageAvailable = TQRPageAvailableEvent(this, &TQRStandardPreview::QRPreviewPageAvailable);
    QRPreview->OnProgressUpdate = TQRProgressUpdateEvent(this, &TQRStandardPreview::QRPreviewProgressUpdate);

    ZoomFit->OnClick = TNotifyEvent(this, &TQRStandardPreview::ZoomToFitClick);
    ZoomToWidth->OnClick = TNotifyEvent(this, &TQRStandardPreview::ZoomToWidthClick);
    Zoom100->OnClick = TNotifyEvent(this, &TQRStandardPreview::ZoomTo100Click);
    FirstPage->OnClick = TNotifyEvent(this, &TQRStandardPreview::FirstPageClick);
    PreviousPage->OnClick = TNotifyEvent(this, &TQRStandardPreview::PrevPageClick);
    nextPage->OnClick = TNotifyEvent(this, &TQRStandardPreview::NextPageClick);
    LastPage->OnClick = TNotifyEvent(this, &TQRStandardPreview::LastPageClick);
    GotoPageButton->OnClick = TNotifyEvent(this, &TQRStandardPreview::GotoPageButtonClick);
    FindButton->OnClick = TNotifyEvent(this, &TQRStandardPreview::FindButtonClick);
    SearchResultBox->OnClick = TNotifyEvent(this, &TQRStandardPreview::SearchResultBoxClick);
    ThumbGrid->OnSelectCell = TSelectCellEvent(this, &TQRStandardPreview::ThumbGridSelectCell);
    ThumbGrid->OnDrawCell = TDrawCellEvent(this, &TQRStandardPreview::ThumbGridDrawCell);
    ThumbGrid->OnResize = TNotifyEvent(this, &TQRStandardPreview::ThumbGridResize);
    copybutton->OnClick = TNotifyEvent(this, &TQRStandardPreview::copybuttonClick);
    PrintSetup->OnClick = TNotifyEvent(this, &TQRStandardPreview::PrintSetupClick);
    Print->OnClick = TNotifyEvent(this, &TQRStandardPreview::PrintClick);
    SaveReport->OnClick = TNotifyEvent(this, &TQRStandardPreview::SaveClick);
    LoadReport->OnClick = TNotifyEvent(this, &TQRStandardPreview::LoadClick);
    CancelButton->OnClick = TNotifyEvent(this, &TQRStandardPreview::CancelButtonClick);
    ExitButton->OnClick = TNotifyEvent(this, &TQRStandardPreview::ExitClick);
    OnClose = TCloseEvent(this, &TQRStandardPreview::FormClose);
    OnKeyDown = TKeyEvent(this, &TQRStandardPreview::FormKeyDown);
}

void TQRStandardPreview::CreatePreview(TQRPrinter* printer) {
    // The texts of the engine's string table.
    TabThumbs->SetCaption(L"ThumbNails");
    TabSearchResult->SetCaption(L"Search Results");
    GroupBox1->SetCaption(L"Search Text");
    ZoomFit->SetHint(L"Zoom to fit");
    ZoomToWidth->SetHint(L"Zoom to width");
    Zoom100->SetHint(L"100% Size");
    FirstPage->SetHint(L"First page");
    nextPage->SetHint(L"Next page");
    PreviousPage->SetHint(L"Previous page");
    LastPage->SetHint(L"Last page");
    GotoPageButton->SetHint(L"Select a Page");
    FindButton->SetHint(L"Search for Text");
    PrintSetup->SetHint(L"Printer setup");
    Print->SetHint(L"Print");
    SaveReport->SetHint(L"Save report");
    LoadReport->SetHint(L"Load report");
    ExitButton->SetHint(L"Close Preview");
    SetCaption(L"Report Preview : ");
    ExitButton->SetCaption(L"&Close");
    CancelButton->SetEnabled(false);

    IQRParentReport* parent = printer != nullptr ? printer->ParentReport() : nullptr;
    report_ = parent != nullptr ? dynamic_cast<TCustomQRReport*>(parent->ReportComponent()) : nullptr;
    int zoom = 100;
    if (report_ != nullptr) {
        report_->FreeNotification(this);
        SetFormStyle(report_->PrevFormStyle() == TQRPrevFormStyle::fsStayOnTop ? fsStayOnTop : fsNormal);
        SetWidth(report_->PreviewWidth());
        SetHeight(report_->PreviewHeight());
        showThumbnails_ = report_->PrevShowThumbs();
        showSearch_ = report_->PrevShowSearch();
        initialZoom_ = report_->PrevInitialZoom();
        zoom = report_->Zoom();
        previewStatusText_ = report_->ReportTitle();
        printer->SetTitle(report_->ReportTitle());
        landscape_ = report_->Page() != nullptr && report_->Page()->Orientation() == poLandscape;
        switch (report_->PreviewInitialState()) {
        case TQRPrevWindowState::wsMaximized: SetWindowState(wsMaximized); break;
        case TQRPrevWindowState::wsMinimized: SetWindowState(wsMinimized); break;
        default: SetWindowState(wsNormal); break;
        }
    } else {
        SetWindowState(wsMaximized);
    }

    QRPreview->AttachPrinter(printer);
    if (printer != nullptr) {
        printer->SetOrientation(landscape_ ? poLandscape : poPortrait);
        if (!printer->Title().empty()) SetCaption(L"Report Preview : " + printer->Title());
    }

    ThumbGrid->SetRowCount(1);
    Tabs->SetVisible(showThumbnails_ || showSearch_);
    Splitter1->SetVisible(Tabs->Visible());
    try {
        if (Tabs->Visible() && printer != nullptr && printer->PageCount() > 0)
            ThumbGrid->SetRowCount(printer->PageCount());
        TabThumbs->SetTabVisible(showThumbnails_);
        FindButton->SetVisible(showSearch_);
        if (!showSearch_ && Tabs->Visible()) TabSearchResult->SetTabVisible(false);
        Tabs->SetActivePage(showThumbnails_ ? TabThumbs : TabSearchResult);
    } catch (const Exception&) {
        // The thumbnails are a convenience: the window works without them.
    }

    switch (initialZoom_) {
    case qrZoomToFit:
        QRPreview->FitWholePage();
        ZoomFit->SetDown(true);
        break;
    case qrZoomToWidth:
        QRPreview->FitPageWidth();
        ZoomToWidth->SetDown(true);
        break;
    default:
        QRPreview->SetZoom(zoom);
        QRPreview->LayoutPage();
        Zoom100->SetDown(true);
        break;
    }
    if (printer != nullptr && printer->Status() == qpDone) {
        Print->SetEnabled(true);
        ShowProgressDone();
    }
}

// Pages built before the window opened send no progress: the status line still tells that the
// report is complete.
void TQRStandardPreview::ShowProgressDone() { StatusBar->Panels()->Items(0)->SetText(L"100%"); }

TQRPrinter* TQRStandardPreview::QRPrinter() const { return QRPreview->QRPrinter(); }

void TQRStandardPreview::Notification(TComponent* component, TOperation operation) {
    TForm::Notification(component, operation);
    if (operation == opRemove && component == report_) report_ = nullptr;
}

void TQRStandardPreview::ShowWithStatus() {
    Show();
    UpdateStatus();
}

void TQRStandardPreview::UpdateStatus() {
    TQRPrinter* printer = QRPrinter();
    StatusBar->Panels()->Items(1)->SetText(PageStatusText(QRPreview->PageNumber(), printer ? printer->PageCount() : 0));
    StatusBar->Panels()->Items(2)->SetText(previewStatusText_);
}

void TQRStandardPreview::GoToPage(int page) {
    try {
        QRPreview->SetPageNumber(page);
        UpdateStatus();
        TQRPrinter* printer = QRPrinter();
        if (printer != nullptr && page >= 1 && page <= printer->PageCount() && page <= ThumbGrid->RowCount()) {
            pageChangeGuard_ = true;
            ThumbGrid->SetRow(page - 1);
            pageChangeGuard_ = false;
        }
    } catch (const Exception&) {
        // A page that cannot be shown leaves the window as it was.
        pageChangeGuard_ = false;
    }
}

std::vector<TToolButton*> TQRStandardPreview::PageButtons() const {
    return {PrintSetup, Print, SaveReport, LoadReport, FindButton, GotoPageButton, FirstPage, nextPage, PreviousPage, LastPage};
}

void TQRStandardPreview::EnablePageButtons(bool enabled) {
    for (TToolButton* b : PageButtons()) b->SetEnabled(enabled);
}

void TQRStandardPreview::LayoutThumbnails() {
    TQRPrinter* printer = QRPrinter();
    if (printer == nullptr || !ThumbGrid->HandleAllocated()) return;
    thumbTextHeight_ = TextHeightOf(*ThumbGrid->Font(), L"P");
    ThumbGrid->SetDefaultColWidth(std::max(ThumbGrid->Width() - 4, 1));
    thumbWidth_ = ThumbGrid->DefaultColWidth() - 20;
    const Extended paperWidth = printer->Settings().PaperWidth();
    const Extended paperLength = printer->Settings().PaperLength();
    // A printer that reports no paper has nothing to scale a thumbnail by.
    if (paperWidth <= 0 || paperLength <= 0 || thumbWidth_ <= 0) return;
    const Extended ratio = landscape_ ? paperWidth / paperLength : paperLength / paperWidth;
    thumbHeight_ = static_cast<int>(Round(ratio * thumbWidth_ - thumbTextHeight_));
    ThumbGrid->SetDefaultRowHeight(std::max(thumbHeight_, 1));
    thumbHorzOffset_ = static_cast<int>(Round((ThumbGrid->DefaultColWidth() - thumbWidth_) / 2.0));
    thumbVertOffset_ = static_cast<int>(Round((ThumbGrid->DefaultRowHeight() - thumbHeight_) / 2.0));
}

void TQRStandardPreview::ThumbGridResize(TObject*) { LayoutThumbnails(); }

// ---- page moves ----

void TQRStandardPreview::ZoomToFitClick(TObject*) {
    Application().ProcessMessages();
    QRPreview->FitWholePage();
}

void TQRStandardPreview::ZoomToWidthClick(TObject*) {
    Application().ProcessMessages();
    QRPreview->FitPageWidth();
}

void TQRStandardPreview::ZoomTo100Click(TObject*) {
    Application().ProcessMessages();
    QRPreview->SetZoom(100);
    QRPreview->LayoutPage();
}

void TQRStandardPreview::FirstPageClick(TObject*) { GoToPage(1); }

void TQRStandardPreview::PrevPageClick(TObject*) { GoToPage(std::max(QRPreview->PageNumber() - 1, 1)); }

void TQRStandardPreview::NextPageClick(TObject*) { GoToPage(QRPreview->PageNumber() + 1); }

void TQRStandardPreview::LastPageClick(TObject*) {
    TQRPrinter* printer = QRPrinter();
    if (printer == nullptr) return;
    // While the report is built the last page is still being drawn: the one before is complete.
    const int last = printer->Status() == qpBuilding ? printer->PageCount() - 1 : printer->PageCount();
    GoToPage(std::max(last, 1));
}

void TQRStandardPreview::GotoPageButtonClick(TObject*) {
    TQRPrinter* printer = QRPrinter();
    const int count = printer != nullptr ? printer->PageCount() : 0;
    const String answer = InputBox(Format(L"Select a page from 1 to %d", {count}), L"Enter page number",
                                   IntToStr(QRPreview->PageNumber()));
    GoToPage(PageFromAnswer(answer, count));
}

void TQRStandardPreview::ThumbGridSelectCell(TObject*, int, int row, bool&) {
    if (pageChangeGuard_) return;
    pageChangeGuard_ = true;
    if (row + 1 != QRPreview->PageNumber()) QRPreview->SetPageNumber(row + 1);
    UpdateStatus();
    pageChangeGuard_ = false;
}

void TQRStandardPreview::ThumbGridDrawCell(TObject*, int, int row, const TRect& rect, TGridDrawState) {
    TQRPrinter* printer = QRPrinter();
    if (printer == nullptr) return;
    TCanvas& canvas = ThumbGrid->Canvas();
    if (std::unique_ptr<TMetafile> page = printer->PageMetafile(row + 1))
        DrawPageImage(page.get(), canvas,
                      Rect(rect.Left + thumbHorzOffset_, rect.Top + 10, rect.Right - 30, rect.Bottom - 10), true);
    canvas.Brush().SetColor(clBtnFace);
    canvas.Pen().SetColor(clBlack);
    SetBkMode(canvas.Handle(), TRANSPARENT);
    canvas.TextOut(rect.Left, rect.Top, IntToStr(row + 1));
    SetBkMode(canvas.Handle(), OPAQUE);
}

// ---- search ----

void TQRStandardPreview::FindButtonClick(TObject*) {
    TQRPrinter* printer = QRPrinter();
    if (printer == nullptr || printer->Status() == qpBuilding) return;
    auto* dialog = new TSearchDlg(this);
    std::unique_ptr<TSearchDlg> owned(dialog);
    dialog->ShowModal();
    if (dialog->Cancelled()) return;
    RunSearch(dialog->SearchText(), dialog->MatchCase());
}

void TQRStandardPreview::RunSearch(const String& text, bool matchCase) {
    TQRPrinter* printer = QRPrinter();
    SearchResultBox->SetEnabled(true);
    SearchResultBox->Clear();
    SearchTextLabel->SetCaption(text);
    const int count = printer != nullptr ? printer->PageCount() : 0;
    for (int page = 1; page <= count; ++page) {
        std::unique_ptr<TMetafile> metafile = printer->PageMetafile(page);
        if (metafile && FindTextInMetafile(text, metafile.get(), matchCase))
            SearchResultBox->Items()->AddObject(L"Page " + IntToStr(page),
                                                reinterpret_cast<TObject*>(static_cast<std::intptr_t>(page)));
    }
    if (SearchResultBox->Count() == 0) {
        SearchResultBox->Items()->Add(L"No matching text");
        SearchResultBox->SetEnabled(false);
    }
    if (Tabs->Visible() && TabSearchResult->TabVisible()) Tabs->SetActivePage(TabSearchResult);
}

void TQRStandardPreview::SearchResultBoxClick(TObject*) {
    TQRPrinter* printer = QRPrinter();
    const int count = printer != nullptr ? printer->PageCount() : 0;
    const int index = SearchResultBox->ItemIndex();
    int page = 1;
    if (index >= 0 && index < SearchResultBox->Count())
        page = static_cast<int>(reinterpret_cast<std::intptr_t>(SearchResultBox->Items()->Objects(index)));
    if (page < 1 || page > count) page = 1;
    GoToPage(page);
}

// ---- clipboard, printing, files ----

void TQRStandardPreview::copybuttonClick(TObject*) {
    TQRPrinter* printer = QRPrinter();
    if (printer == nullptr) return;
    std::unique_ptr<TMetafile> page = printer->PageMetafile(QRPreview->PageNumber());
    if (page == nullptr) return;  // nothing shown, nothing copied
    Clipboard().Assign(*page);
}

void TQRStandardPreview::PrintClick(TObject*) {
    TQRPrinter* printer = QRPrinter();
    if (printer == nullptr) return;
    if (!printer->PrintersInstalled()) {
        Application().MessageBox(NoPrinterMessage());
        return;
    }
    auto* live = dynamic_cast<TQRReport*>(report_);
    if (!PreparedReportLoaded() && !showsLoadedFile_ && live != nullptr)
        live->PrintReport();
    else
        printer->PrintStoredPages();
}

void TQRStandardPreview::PrintSetupClick(TObject*) {
    if (report_ == nullptr || QRPrinter() == nullptr) return;
    report_->RunPrinterSetup();
    if (report_->Tag() == 1) return;  // cancelled: the settings stay as they were
    ApplyPrinterSetup();
}

void TQRStandardPreview::ApplyPrinterSetup() {
    TQRPrinter& printer = *QRPrinter();
    TQRReportPrinterSettings& chosen = *report_->DialogPrinterSettings();
    printer.SelectPrinter(report_->PrinterSettings()->PrinterIndex());
    TPrinterSettings& settings = printer.Settings();
    const int bin = chosen.CustomBinCode();
    const bool customBin = bin >= 13 || bin < 0;
    settings.SetUseCustomBinCode(customBin);
    if (customBin)
        settings.SetCustomBinCode(bin);
    else
        printer.SetOutputBin(static_cast<TQRBin>(bin));
    settings.SetCollate(chosen.Collate());
    settings.SetColorOption(chosen.ColorOption());
    settings.SetPrintQuality(chosen.PrintQuality());
    printer.SetCopies(chosen.Copies());
    printer.SetDuplex(chosen.Duplex());
    printer.SetLastPage(chosen.LastPage());
    printer.SetFirstPage(chosen.FirstPage());
    settings.SetExtendedDuplex(chosen.ExtendedDuplex());
    settings.SetUseExtendedDuplex(chosen.UseExtendedDuplex());
    if (PreparedReportLoaded() || showsLoadedFile_) return;
    TQRReportPrinterSettings& own = *report_->PrinterSettings();
    own.SetUseCustomBinCode(customBin);
    if (customBin)
        own.SetCustomBinCode(bin);
    else
        own.SetOutputBin(static_cast<TQRBin>(bin));
    own.SetPrinterIndex(chosen.PrinterIndex());
    own.SetCopies(chosen.Copies());
    own.SetDuplex(chosen.Duplex());
    own.SetFirstPage(chosen.FirstPage());
    own.SetLastPage(chosen.LastPage());
    own.SetUseStandardprinter(chosen.UseStandardprinter());
    own.SetExtendedDuplex(chosen.ExtendedDuplex());
    own.SetUseExtendedDuplex(chosen.UseExtendedDuplex());
    own.SetUseCustomPaperCode(chosen.UseCustomPaperCode());
    own.SetCustomPaperCode(chosen.CustomPaperCode());
    own.SetMemoryLimit(chosen.MemoryLimit());
    own.SetPrintQuality(chosen.PrintQuality());
    own.SetCollate(chosen.Collate());
    own.SetColorOption(chosen.ColorOption());
    own.SetOrientation(chosen.Orientation());
    own.SetPaperSize(chosen.PaperSize());
}

void TQRStandardPreview::SaveClick(TObject*) {
    const int saveType = report_ != nullptr ? static_cast<int>(report_->PreviewDefaultSaveType()) : 0;
    const String& d = DefaultSaveExtension(saveType);
    TLocal<TSaveDialog> dialog(nullptr);
    dialog.SetTitle(L"Save report");
    dialog.SetFilter(SaveDialogFilter(d, ExportFilterLibrary()));
    dialog.SetFileName(L"*" + d);
    if (!dialog.Execute()) return;
    SaveTo(dialog.FileName(), dialog.FilterIndex());
    // The export's progress window, once gone, would hand the focus to whichever window lies
    // below: the user goes on in the preview.
    if (Showing()) {
        BringToFront();
        SetFocus();
    }
}

void TQRStandardPreview::SaveTo(const String& fileName, int filterIndex) {
    TQRPrinter* printer = QRPrinter();
    if (printer == nullptr) return;
    const int saveType = report_ != nullptr ? static_cast<int>(report_->PreviewDefaultSaveType()) : 0;
    const TSaveTarget target =
        ResolveSaveTarget(fileName, filterIndex, DefaultSaveExtension(saveType), ExportFilterLibrary());
    if (target.Extension == L"QRP") {
        if (ShownInAnotherPreview(target.FileName)) {
            Application().MessageBox(FileInPreviewMessage(target.FileName));
            return;
        }
        // A save that could not write must not look like one that did.
        if (!printer->SavePreparedReport(target.FileName))
            Application().MessageBox(L"The report could not be saved to " + target.FileName);
        return;
    }
    const auto entry = ExportFilterLibrary().EntryForExtension(target.Extension);
    if (!entry) {
        Application().MessageBox(L"No export filter for files of type ." + target.Extension);
        return;
    }
    if (report_ == nullptr) {
        // Pages read from a file can be saved again, but exporting needs the report to run.
        Application().MessageBox(L"Pages loaded from a file can only be saved as a report file (.QRP)");
        return;
    }
    std::unique_ptr<TQRExportFilter> filter = entry->FilterClass->Create(target.FileName);
    report_->ExportReport(filter.get());
}

bool TQRStandardPreview::ShownInAnotherPreview(const String& fileName) const {
    for (int i = 0; i < Screen().FormCount(); ++i) {
        auto* other = dynamic_cast<TQRStandardPreview*>(Screen().Forms(i));
        if (other != nullptr && other != this && other->QRPrinter() != nullptr &&
            PrinterShowsFile(*other->QRPrinter(), fileName))
            return true;
    }
    return false;
}

void TQRStandardPreview::LoadClick(TObject*) {
    TLocal<TOpenDialog> dialog(nullptr);
    dialog.SetTitle(L"Load report");
    dialog.SetFilter(String(L"Report file") + L" (*." + L"QRP" + L")|*." + L"QRP");
    if (dialog.Execute()) LoadFrom(dialog.FileName());
}

void TQRStandardPreview::LoadFrom(const String& fileName) {
    TQRPrinter* printer = QRPrinter();
    if (printer == nullptr) return;
    if (!FileExists(fileName)) {
        Application().MessageBox(L"File does not exist");
        return;
    }
    // The file belongs to this window alone: later previews of the report are live ones.
    const bool loadedBefore = PreparedReportLoaded();
    try {
        printer->LoadPreparedReport(fileName);
    } catch (...) {
        // The printer is left empty: so is the window, and the user is told why.
        SetPreparedReportLoaded(loadedBefore);
        QRPreview->Image().ShowPage(1);
        UpdateStatus();
        throw;
    }
    SetPreparedReportLoaded(loadedBefore);
    previewStatusText_ = fileName;
    QRPreview->SetPageNumber(1);
    QRPreview->Image().ShowPage(1);
    landscape_ = printer->Orientation() == poLandscape;
    printer->SetOrientation(printer->Orientation());
    // The report's own page stays as it is: the file is shown, the template is not rewritten.
    QRPreview->LayoutPage();
    LayoutThumbnails();
    QRPreviewPageAvailable(this, 1);
    pageChangeGuard_ = true;
    ThumbGrid->SetRow(0);
    pageChangeGuard_ = false;
    showsLoadedFile_ = true;
    Print->SetEnabled(true);
    SaveReport->SetEnabled(false);
    SaveReport->SetVisible(false);
}

void TQRStandardPreview::CancelButtonClick(TObject*) {
    if (report_ != nullptr) report_->SetStopRequest(true);
}

void TQRStandardPreview::ExitClick(TObject*) { Close(); }

void TQRStandardPreview::FormResize(TObject*) {
    if (QRPreview != nullptr) QRPreview->LayoutPage();
}

void TQRStandardPreview::FormClose(TObject*, TCloseAction& action) {
    TQRPrinter* printer = QRPrinter();
    if (printer != nullptr) {
        // A build still running is stopped; the window then goes like any other.
        if (printer->Status() == qpBuilding) {
            if (report_ != nullptr) report_->SetStopRequest(true);
            printer->RequestCancel();
        }
        printer->PreviewClosed();
    }
    action = caFree;
}

// ---- keys and wheel ----

void TQRStandardPreview::FormKeyDown(TObject*, Word& key, TShiftState shift) {
    try {
        const bool ctrlAlone = shift == TShiftState{ssCtrl};
        const int page = QRPreview->PageNumber();
        switch (key) {
        case VK_ESCAPE: Close(); break;
        case VK_PRIOR:
            if (ctrlAlone) FirstPageClick(this);
            else PrevPageClick(this);
            break;
        case VK_NEXT:
            if (ctrlAlone) LastPageClick(this);
            else NextPageClick(this);
            break;
        case VK_END: LastPageClick(this); break;
        case VK_HOME: FirstPageClick(this); break;
        case VK_UP:
            if (QRPreview->VertPosition() - VertIncrement > 0) {
                QRPreview->SetVertPosition(QRPreview->VertPosition() - VertIncrement);
            } else {
                pageChangeGuard_ = true;
                PrevPageClick(this);
                pageChangeGuard_ = false;
                // Stepping back from a page shows the bottom of the one before.
                QRPreview->SetVertPosition(
                    page == 1 ? 0 : QRPreview->ContentHeight() - QRPreview->Height() - VertIncrement);
            }
            break;
        case VK_DOWN:
            if (QRPreview->VertPosition() + VertIncrement < QRPreview->ContentHeight() - QRPreview->Height()) {
                QRPreview->SetVertPosition(QRPreview->VertPosition() + VertIncrement);
            } else {
                pageChangeGuard_ = true;
                NextPageClick(this);
                pageChangeGuard_ = false;
            }
            break;
        default: return;
        }
        key = 0;
    } catch (const Exception&) {
        // A key that cannot be carried out leaves the window as it was.
        pageChangeGuard_ = false;
    }
}

void TQRStandardPreview::WndProc(TMessage& message) {
    if (message.Msg == WM_MOUSEWHEEL) {
        // The wheel scrolls as the arrow keys do: forward is up. The turn, wParam's high word,
        // read as wParam / 4096 fits 16 signed bits only for a forward turn.
        const std::uint32_t v = static_cast<std::uint32_t>(message.WParam) / 4096;
        Word key = v > 0 && v <= 0x7FFF ? VK_UP : VK_DOWN;
        FormKeyDown(this, key, TShiftState{});
        message.Result = 0;
        return;
    }
    if (message.Msg == WM_SIZE) {
        TForm::WndProc(message);
        FormResize(this);
        return;
    }
    TForm::WndProc(message);
}

// ---- what the printer tells ----

void TQRStandardPreview::QRPreviewPageAvailable(TObject*, int) {
    TQRPrinter* printer = QRPrinter();
    if (printer == nullptr) return;
    CancelButton->SetEnabled(true);
    UpdateStatus();
    ThumbGrid->SetRowCount(printer->PageCount());
    ThumbGrid->Invalidate();
    if (printer->Status() == qpDone) {
        EnablePageButtons(true);
        ThumbGrid->SetRowCount(printer->PageCount());
        CancelButton->SetEnabled(false);
        ShowProgressDone();
    } else {
        ThumbGrid->SetRowCount(printer->PageCount() - 1);
        EnablePageButtons(false);
    }
    if (report_ != nullptr && report_->PagesInPreview() != 0 && report_->PagesInPreview() == printer->PageCount())
        report_->SetStopRequest(true);
}

void TQRStandardPreview::QRPreviewProgressUpdate(TObject*, int progress) {
    if (const auto text = progressText_.Update(progress)) StatusBar->Panels()->Items(0)->SetText(*text);
}

// ---------------------------------------------------------------------------------------------
// TQRStandardPreviewInterface

namespace {

// The progress window as the printer's client; the window goes with it.
class TProgressClient : public IQRPrinterClient {
public:
    explicit TProgressClient(std::unique_ptr<TQRProgressForm> form) : form_(std::move(form)) {}
    HWND ClientHandle() override { return form_->ClientHandle(); }
    void PrinterDestroyed(TQRPrinter& printer) override { form_->PrinterDestroyed(printer); }

private:
    std::unique_ptr<TQRProgressForm> form_;
};

}  // namespace

TComponent* TQRStandardPreviewInterface::Show(TQRPrinter& printer) {
    auto* window = new TQRStandardPreview(&Application(), &printer);
    window->ShowWithStatus();
    return window;
}

TComponent* TQRStandardPreviewInterface::ShowModal(TQRPrinter& printer) {
    auto* window = new TQRStandardPreview(&Application(), &printer);
    window->ShowModal();
    return window;
}

std::unique_ptr<IQRPrinterClient> TQRStandardPreviewInterface::ShowProgress(TQRPrinter& printer,
                                                                            const String& caption) {
    auto form = std::make_unique<TQRProgressForm>(nullptr);
    form->SetQRPrinter(&printer);
    if (!caption.empty()) form->SetCaption(caption);
    form->Show();
    return std::make_unique<TProgressClient>(std::move(form));
}
