// TQRPrinter: the output device of a report run.
//
// Pagination opens a document, starts pages, draws on PageCanvas() through the 0.1 mm -> device
// conversions (ToDeviceX/Y/Width/Height, nearest integer with halves to even) and closes or
// abandons the document:
//
//     qpIdle --OpenDocument--> qpBuilding --CloseDocument / AbandonDocument--> qpDone
//     LoadPreparedReport: any state -> qpDone;  ClearPages: any state -> qpIdle
//
// A page-store destination records each page as an enhanced metafile at screen resolution and
// appends it to the page list (the .QRP layout); a printer destination draws pages inside
// FirstPage..LastPage straight onto the printer and the others into metafiles that are thrown
// away. From a page store the printer shows the preview (through the installed preview
// factory), prints the stored pages with its settings, and saves them; it also loads saved
// reports. Its client window (the preview, or a progress window) is told of progress and pages
// with posted messages; its report window is asked to print or told that the preview closed.
//
// The printer's driver settings live in its TPrinterSettings (Settings()); the settings whose
// writes the driver may refuse (paper, orientation, copies, source, duplex) are also offered
// here, the others are set on Settings() directly. A report copies its PrinterSettings in
// before every run. A report printer is opened once: a report makes a new one for every run.
#pragma once

#include <memory>

#include "framework/classes/Method.h"
#include "framework/classes/Persistent.h"
#include "framework/graphics/Metafile.h"
#include "framework/printers/Printer.h"
#include "report/pagestore/QRPageList.h"
#include "report/printer/PrinterSettings.h"
#include "report/printer/QRMessages.h"
#include "report/printer/QRPreviewInterface.h"

// The report printer's own failures: "QRPrinter not ready", "Illegal call to NewPage".
FV_DECLARE_EXCEPTION(EQRError, Exception);

FV_ENUM(TQRPrinterTarget, ptPageStore, ptPrinter)
FV_ENUM(TQRPrinterState, qpIdle, qpBuilding, qpDone)

// What the report printer reads from the report that created it.
class IQRParentReport {
public:
    virtual ~IQRParentReport() = default;
    virtual bool UseStandardPrinter() const = 0;  // its PrinterSettings.UseStandardprinter
    virtual int MemoryLimit() const = 0;          // its PrinterSettings.MemoryLimit
    virtual bool Exporting() const = 0;           // an export filter is attached
    virtual bool ShowProgress() const = 0;
    virtual void AfterPrint() = 0;                // fires its AfterPrint event when assigned
    // The report itself, for the windows that act on it (the preview window); null when unknown.
    virtual TComponent* ReportComponent() const { return nullptr; }
};

class TQRPrinter;
using TQRPrinterCallback = TMethod<void(TQRPrinter* Printer)>;

class TQRPrinter : public TPersistent {
    FV_CLASS(TQRPrinter, TPersistent)
public:
    // parent: the report that creates the printer, or null.
    explicit TQRPrinter(IQRParentReport* parent = nullptr);
    ~TQRPrinter() override;

    // ---- the document protocol ----
    // EQRError "QRPrinter not ready" unless idle; EPrinter when a printer destination has no
    // printer to print on.
    void OpenDocument();
    // EQRError "Illegal call to NewPage" unless building.
    void StartNewPage();
    void CloseDocument();
    void AbandonDocument();
    void RequestCancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }
    // The canvas of the page being drawn; null outside a page.
    TCanvas* PageCanvas() const { return canvas_; }
    void ReportProgress(int percent);
    int Progress() const { return progress_; }
    void SetAvailablePages(int pages);
    int AvailablePages() const { return availablePages_; }

    // ---- 0.1 mm from the paper's top-left corner -> device units ----
    int ToDeviceX(Extended x) const;
    int ToDeviceY(Extended y) const;
    int ToDeviceWidth(Extended width) const;
    int ToDeviceHeight(Extended height) const;
    Extended XFactor() const { return xFactor_; }  // device units per 0.1 mm
    Extended YFactor() const { return yFactor_; }
    int LeftWaste() const { return leftWaste_; }
    int TopWaste() const { return topWaste_; }

    // The paper as laid out, 0.1 mm: the orientation turns it.
    int PaperWidth() const;
    int PaperLength() const;

    // ---- driver settings whose writes the driver may refuse ----
    TQRPaperSize PaperSize() const { return settings_->PaperSize(); }
    void SetPaperSize(TQRPaperSize size) { settings_->TrySetPaperSize(size); }
    TPrinterOrientation Orientation() const { return settings_->Orientation(); }
    void SetOrientation(TPrinterOrientation orientation) { settings_->TrySetOrientation(orientation); }
    int Copies() const { return settings_->Copies(); }
    void SetCopies(int copies) { settings_->TrySetCopies(copies); }
    TQRBin OutputBin() const { return settings_->OutputBin(); }
    void SetOutputBin(TQRBin bin) { settings_->TrySetOutputBin(bin); }
    bool Duplex() const { return settings_->Duplex(); }
    void SetDuplex(bool duplex) { settings_->TrySetDuplex(duplex); }
    TPrinterSettings& Settings() { return *settings_; }
    const TPrinterSettings& Settings() const { return *settings_; }

    // ---- the run ----
    TQRPrinterTarget Destination() const { return destination_; }
    void SetDestination(TQRPrinterTarget destination) { destination_ = destination; }
    int FirstPage() const { return firstPage_; }  // 0: from the first page
    void SetFirstPage(int page) { firstPage_ = page; }
    int LastPage() const { return lastPage_; }  // 0: to the last page
    void SetLastPage(int page) { lastPage_ = page; }
    const String& Title() const { return title_; }
    void SetTitle(const String& title) { title_ = title; }
    void SetCompression(bool compression) { pageList_->SetCompression(compression); }
    void SetOutlineView(IQROutlineTree* tree) { pageList_->Outline().SetTreeNodes(tree); }

    // Selects another printer of the printer's own printer object, with its driver's defaults,
    // and reads its settings.
    void SelectPrinter(int index);

    // ---- the pages ----
    TQRPrinterState Status() const { return status_; }
    int PageCount() const { return pageCount_; }
    int PageNumber() const { return pageNumber_; }
    void SetPageNumber(int page);
    // Stored page n as a new metafile; null outside 1..PageCount, before the page is stored
    // and unless building or done.
    std::unique_ptr<TMetafile> PageMetafile(int page);
    // Pages complete and belonging to no live run (a prepared or loaded report).
    bool Prepared() const { return prepared_; }
    void SetPrepared(bool prepared) { prepared_ = prepared; }
    void ClearPages();
    // Loads a saved report; its first page's size chooses the paper and orientation. Raises
    // the file's errors (EFOpenError, EQRCorruptFile), leaving the printer idle.
    void LoadPreparedReport(const String& fileName);
    // Writes the finished report into the file (the one loaded included); false unless done.
    [[nodiscard]] bool SavePreparedReport(const String& fileName);
    TQRPageList& PageList() { return *pageList_; }
    TQRStream* Stream() const { return pageList_->Stream(); }

    // ---- preview and printing ----
    void ShowPreview();
    TComponent* PreviewForm() const { return previewForm_; }
    // Prints the stored pages with the settings; a report that can print itself again is asked
    // to. EPrinter when no printer is installed; a damaged page aborts the job and raises.
    void PrintStoredPages();
    bool PreviewShowing() const { return previewShowing_; }
    // Going from showing to not showing cancels a build still running and runs AfterPreview.
    void SetPreviewShowing(bool showing);
    // The preview window closed: the report window is told.
    void PreviewClosed();

    bool PrintersInstalled() const { return printersInstalled_; }
    IQRParentReport* ParentReport() const { return parent_; }
    TPrinter& PrinterObject() { return *printer_; }
    IQRPrinterClient* Client() const { return client_; }
    void SetClient(IQRPrinterClient* client) { client_ = client; }
    HWND ReportWindow() const { return reportWindow_; }
    void SetReportWindow(HWND window) { reportWindow_ = window; }

    TQRPrinterCallback AfterPrint;
    TQRPrinterCallback AfterPreview;
    TNotifyEvent OnPreview;  // replaces the standard preview window

private:
    class ProgressWindow;

    bool PageInPrintRange() const;
    void StartMetafilePage();
    void StartPrinterPage();
    void FinishMetafilePage(bool keep);
    void PostToClient(UINT message, WPARAM wParam);
    std::unique_ptr<TMetafile> ReadStoredPage(int page);
    Extended PrinterFactor(int pixelsPerInch) const;
    void PrintStoredPage(int page, TCanvas& canvas);
    void DetectPaper();

    IQRParentReport* parent_;
    TPrinter* printer_ = nullptr;
    std::unique_ptr<TPrinter> ownPrinter_;
    std::unique_ptr<TPrinterSettings> settings_;
    std::unique_ptr<TQRPageList> pageList_;
    int availablePages_ = 0;
    bool cancelled_ = false;
    TCanvas* canvas_ = nullptr;
    std::unique_ptr<TMetafile> metafile_;  // the page being drawn into a metafile
    std::unique_ptr<TMetafileCanvas> metafileCanvas_;
    TQRPrinterTarget destination_ = ptPageStore;
    int firstPage_ = 0;
    int lastPage_ = 0;
    int leftWaste_ = 0;
    int topWaste_ = 0;
    IQRPrinterClient* client_ = nullptr;
    HWND reportWindow_ = nullptr;
    int pageCount_ = 0;
    int pageNumber_ = 0;
    bool printersInstalled_ = false;
    int progress_ = 0;
    String title_;
    bool previewShowing_ = false;
    TQRPrinterState status_ = qpIdle;
    Extended xFactor_ = 0.37795L;
    Extended yFactor_ = 0.37795L;
    TComponent* previewForm_ = nullptr;
    bool prepared_ = false;
};

// The process-wide report printer (opening saved reports), made on first use.
TQRPrinter& SharedReportPrinter();
// Frees it; the next use makes a new one.
void FreeSharedReportPrinter();

// Whether a saved report was loaded into a report printer (reports clear it when they are made).
bool PreparedReportLoaded();
void SetPreparedReportLoaded(bool loaded);

// Whether the printer's preview shows the pages of the prepared-report file fileName: they are
// read from the file while it shows them, so the file cannot be replaced until it closes.
bool PrinterShowsFile(const TQRPrinter& printer, const String& fileName);
