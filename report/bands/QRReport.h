// TCustomQRReport and TQRReport: the report, root of a report form.
//
// A report is a panel that owns its bands (as components of its owner), a page (TQRPage), its
// printer settings, its named expressions (Functions) and the top-level data controller. It is
// a stored-description root of its own: a template class derived from TQRReport reads the
// description named after its class in its constructor (ReadReport), as a form does, and needs
// no form around it.
//
// The ordered band list (RebuildBandList) is the order in which the design view stacks the
// bands and in which the run finds them:
//
//     page headers, title, column headers, the controller's bands (its header, groups,
//     print-before levels, detail, print-after levels, group footers from the innermost, its
//     footer), page footers, then the rest; each band followed by its chain of child bands
//
// ArrangeBands stacks them from the top margin and gives each its width: the page's width
// between the margins for title, page header, page footer, summary and overlay bands (and
// their children), a column's width for the others.
//
// A run is refused while another is in progress (Available false). Messages the report
// printer sends or posts to the report (CM_QRPRINTREQUEST, CM_QRPREVIEWDONE, CM_QRPAGEREADY)
// arrive through a message-only window of the report's own (ReportWindow), since a template
// belongs to no form. A report that must go while a run of its own is pumping messages is
// freed with Release, which waits until that run has unwound.
#pragma once

#include <memory>
#include <vector>

#include "framework/controls/MessageWindow.h"
#include "framework/graphics/Bitmap.h"
#include "framework/rtl/StringList.h"
#include "report/bands/QRBands.h"
#include "report/bands/QRController.h"
#include "report/bands/QRDataSet.h"
#include "report/expressions/QREvEnvironment.h"
#include "report/printer/QRPrinter.h"
#include "report/printer/QRPrinterSettings.h"

class TQRExportFilter;
class TQRPagination;
class TQRReportBands;

enum class TQRReportOption : int { FirstPageHeader, LastPageFooter, Compression };
FV_ENUM_NAMES(TQRReportOption, FirstPageHeader, LastPageFooter, Compression)
using TQRReportOptions = TSet<TQRReportOption>;

// Preview settings the report keeps for the standard preview window.
enum class TPrevSaveType : int { stQRP, stPDF, stXL, stHTML, stRTF, stCSV, stASCII, stXML };
FV_ENUM_NAMES(TPrevSaveType, stQRP, stPDF, stXL, stHTML, stRTF, stCSV, stASCII, stXML)
enum class TQRPrevFormStyle : int { fsNormal, fsStayOnTop };
FV_ENUM_NAMES(TQRPrevFormStyle, fsNormal, fsStayOnTop)
enum class TQRPrevWindowState : int { wsNormal, wsMinimized, wsMaximized };
FV_ENUM_NAMES(TQRPrevWindowState, wsNormal, wsMinimized, wsMaximized)

class TCustomQRReport;
using TQRNotifyEvent = TMethod<void(TCustomQRReport* Sender)>;
using TQRReportBeforePrintEvent = TMethod<void(TCustomQRReport* Sender, bool& PrintReport)>;
using TQRAfterPrintEvent = TNotifyEvent;
using TQRAfterPreviewEvent = TNotifyEvent;

// Where the data levels hand their bands: the pagination of a run prints them. A report without
// one installed places nothing.
class IQRBandPrinter {
public:
    virtual ~IQRBandPrinter() = default;
    virtual void PlaceBand(TQRCustomBand* band) = 0;
    virtual void StartNextColumn() = 0;
    virtual void StartNextPage() = 0;
    // 0.1 mm left below the print position in the current column.
    virtual int SpaceLeftInColumn() = 0;
    // Pages started in this run (0 before the first).
    virtual int PageNumber() const = 0;
    // A stretching control of the band printing now asks for extra (0.1 mm) more room; see
    // TQRCustomBand::GrowBand. A printer that lays out no pages grants nothing.
    virtual bool CanGrowBand(TQRCustomBand* band, Extended extra) {
        (void)band, (void)extra;
        return false;
    }
    virtual bool GrowBand(TQRCustomBand* band, Extended& total, bool& grown, Extended extra) {
        (void)band, (void)total, (void)grown, (void)extra;
        return false;
    }
};

class TCustomQRReport : public TQRBasePanel, public IQRReport {
    FV_CLASS(TCustomQRReport, TQRBasePanel)
public:
    explicit TCustomQRReport(TComponent* owner);
    ~TCustomQRReport() override;

    // ---- properties ----
    TQRReportBands* Bands() const { return bands_.get(); }
    const String& BackImageControl() const { return backImageControl_; }
    void SetBackImageControl(const String& name) { backImageControl_ = name; }
    TStrings* Description() const { return description_.get(); }
    void SetDescription(const TStrings& lines) { description_->Assign(lines); }
    TQREvEnvironment* Functions() const { return functions_.get(); }
    TQRReportOptions Options() const { return options_; }
    void SetOptions(TQRReportOptions options) { options_ = options; }
    TQRPage* Page() const { return page_.get(); }
    TQRReportPrinterSettings* PrinterSettings() const { return printerSettings_.get(); }
    // What the print dialog last returned (read by the preview's print setup).
    TQRReportPrinterSettings* DialogPrinterSettings() const { return dialogSettings_.get(); }
    bool PrintIfEmpty() const { return controller_->PrintIfEmpty(); }
    void SetPrintIfEmpty(bool value) { ChangePrintIfEmpty(value); }
    const String& ReportTitle() const { return reportTitle_; }
    void SetReportTitle(const String& title) { reportTitle_ = title; }
    bool ShowProgress() const { return showProgress_; }
    void SetShowProgress(bool value) { showProgress_ = value; }
    bool SnapToGrid() const { return snapToGrid_; }
    void SetSnapToGrid(bool value) { snapToGrid_ = value; }
    TQRUnit Units() const { return page_->Units(); }
    void SetUnits(TQRUnit units) { ChangeUnits(units); }
    int Zoom() const { return TQRBasePanel::Zoom(); }
    // Values outside 1 ... 300 are ignored.
    void SetZoom(int zoom);
    TQRPrevFormStyle PrevFormStyle() const { return prevFormStyle_; }
    void SetPrevFormStyle(TQRPrevFormStyle style) { prevFormStyle_ = style; }
    TQRPrevWindowState PreviewInitialState() const { return previewInitialState_; }
    void SetPreviewInitialState(TQRPrevWindowState state) { previewInitialState_ = state; }
    // 500 while the stored value is 0 or less.
    int PreviewWidth() const { return previewWidth_ > 0 ? previewWidth_ : 500; }
    void SetPreviewWidth(int width) { previewWidth_ = width; }
    int PreviewHeight() const { return previewHeight_ > 0 ? previewHeight_ : 500; }
    void SetPreviewHeight(int height) { previewHeight_ = height; }
    bool PrevShowThumbs() const { return prevShowThumbs_; }
    void SetPrevShowThumbs(bool value) { prevShowThumbs_ = value; }
    bool PrevShowSearch() const { return prevShowSearch_; }
    void SetPrevShowSearch(bool value) { prevShowSearch_ = value; }
    TQRZoomState PrevInitialZoom() const { return prevInitialZoom_; }
    void SetPrevInitialZoom(TQRZoomState state) { prevInitialZoom_ = state; }
    TPrevSaveType PreviewDefaultSaveType() const { return previewDefaultSaveType_; }
    void SetPreviewDefaultSaveType(TPrevSaveType type) { previewDefaultSaveType_ = type; }
    TColor BackgroundColor() const { return backgroundColor_; }
    void SetBackgroundColor(TColor color) { backgroundColor_ = color; }
    int PagesInPreview() const { return pagesInPreview_; }
    void SetPagesInPreview(int pages) { pagesInPreview_ = pages; }

    TQRReportBeforePrintEvent BeforePrint;
    TQRAfterPrintEvent AfterPrint;
    TQRAfterPreviewEvent AfterPreview;
    TQRNotifyEvent OnStartPage;
    TQRNotifyEvent OnEndPage;
    TQROnNeedDataEvent OnNeedData;
    TNotifyEvent OnPreview;
    TQRPrinterEvent OnGetPrinterSettings;
    TQRPrinterEvent OnApplyPrinterSettings;

    // ---- bands ----
    const std::vector<TQRCustomBand*>& BandList() const { return bandList_; }
    // A new band of the type, owned by the report's owner (the report when it has none), on the
    // report, named after the type ("DetailBand1").
    TQRBand* AddBandOfType(TQRBandType type);
    void AddBand(TQRCustomBand* band);
    void RemoveBand(TQRCustomBand* band);
    void RebuildBandList();
    // Appends band and its chain of child bands to the list being built, each once.
    void AppendBandChain(TQRCustomBand* band);
    void ArrangeBands() override;
    // The first band of the type in list order, or null.
    TQRCustomBand* FirstBandOfType(TQRBandType type) const;
    // The child band whose ParentBand is band, or null.
    TQRChildBand* ChildOf(const TQRCustomBand* band) const;

    // ---- measuring ----
    // Height of "A" / width of text + 1 in font, on the report's measuring surface; 0 on failure.
    int TextHeightOf(TFont& font, const String& text);
    int TextWidthOf(TFont& font, const String& text);

    // ---- data ----
    TQRCustomController* Controller() const { return controller_.get(); }
    void ReplaceController(std::unique_ptr<TQRCustomController> controller);
    int CurrentDetailNumber() const;
    // The record count of DataSet; 1 when it is closed or its count cannot be read.
    int MainRecordCount() const;
    virtual TDataSet* DataSet() const { return nullptr; }
    virtual void AddToNotifyList(TQRPrintable* printable) { controller_->AddToNotifyList(printable); }

    // ---- the run ----
    bool Available() const { return available_; }
    bool Cancelled() const { return cancelled_; }
    bool StopRequested() const { return stopRequest_; }
    void SetStopRequest(bool value) { stopRequest_ = value; }
    // The preview closed during a run: cancel it.
    void RequestStop();
    bool HeaderJustPrinted() const { return headerJustPrinted_; }
    void SetHeaderJustPrinted(bool value) { headerJustPrinted_ = value; }
    // Every dataset of the report's form, during a run (null otherwise).
    TQRDataSetList* RunDataSets() const { return runDataSets_.get(); }
    // The data levels of a run: lists rebuilt, levels and expressions prepared, the controller's
    // loop, everything released again. Refused (false) while the report is not Available.
    bool RunDataLevels();
    void SetBandPrinter(IQRBandPrinter* printer) { bandPrinter_ = printer; }
    IQRBandPrinter* BandPrinter() const { return bandPrinter_; }
    void PlaceBand(TQRCustomBand* band);
    void StartNextColumn();
    void StartNextPage();
    int SpaceLeftInColumn();
    int PageNumber() const;
    // The printer of the last run (the report owns it); the previous one is handed back.
    std::unique_ptr<TQRPrinter> SetReportPrinter(std::unique_ptr<TQRPrinter> printer);
    // Frees the report now when no run of its own is in progress, else once the run has unwound.
    void Release();

    // ---- generation and output ----
    // One run: the data levels walked and their bands laid out into pages on the report's
    // printer (a new one when it has none), or into the attached export filter. Returns at once
    // while the report is not Available; afterwards the report is Available again, with its
    // units and visibility as they were, however the run ended.
    virtual void GenerateReport();
    // Each operation below runs on a report printer of its own, and does nothing while the
    // report is busy. Pages into a page store; the printer stays the report's.
    void PrepareReport();
    // Pages into a page store that the preview shows while they are made; returns when the
    // preview has closed. While a preview of this report is open it comes to the front instead.
    void ShowPreview();
    // Generates the report straight to the Windows printer (also what CM_QRPRINTREQUEST asks);
    // nothing without an installed printer. The report's printer afterwards is the one before.
    virtual void PrintReport();
    // Generates into the filter (the caller's), keeping no pages; the report's printer
    // afterwards is the one before, and the filter is detached again however the run ended.
    void ExportReport(TQRExportFilter* filter);
    // The print dialog over the report's printer settings: Tag 1 when cancelled, 0 when confirmed.
    void RunPrinterSetup();
    // The report's page and printer settings into its report printer.
    void ApplyPrinterSettings();
    void AttachExportFilter(TQRExportFilter* filter);
    // A new report printer for the next run (false, and none, while the report is busy). The
    // printer it replaces is freed unless a preview still shows it (then when the preview closes).
    bool CreateReportPrinter();
    // The pagination of the run in progress, or null.
    TQRPagination* Pagination() const { return pagination_; }
    void SetCanvasOutput(bool value) { canvasOutput_ = value; }

    // The window the report printer sends CM_QRPREVIEWDONE and posts CM_QRPRINTREQUEST to.
    HWND ReportWindow();
    // The window messages of the report (whichever window they came through).
    virtual bool HandleReportMessage(TMessage& message);

    // ---- IQRReport ----
    TControl& PanelControl() override { return *this; }
    int PanelZoom() const override { return Zoom(); }
    int ReportFontSize() const override { return Font()->Size(); }
    TQRUnit ReportUnits() const override { return Units(); }
    void RepaintReport() override { Invalidate(); }
    void InvalidateDesignPicture() override { designPicture_.reset(); }
    TQRPrinter* ReportPrinter() const override { return printer_.get(); }
    bool CanvasOutput() const override { return canvasOutput_; }
    TQRExportFilter* ExportFilter() const override { return exportFilter_; }

    // What a report printer made for this report reads of it.
    IQRParentReport& PrinterLink() { return printerLink_; }

    void ChangeZoom(int zoom) override;
    void PaintRulers(TQRUnit units) override;
    void SetBounds(int left, int top, int width, int height) override;
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

    virtual void ChangeUnits(TQRUnit units);
    virtual void RunController();
    virtual void BindBandsToController() {}
    virtual void ChangePrintIfEmpty(bool value) { controller_->SetPrintIfEmpty(value); }

protected:
    // The report's parts that a descendant may replace (TQRReport: its controller); each
    // constructor runs its own class's part.
    virtual void CreateNewReport();
    // Reads the stored description named after the report's class (a template's constructor
    // calls it); raises EResNotFound when there is none.
    void ReadReport();
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void BeforeDestruction() override;
    void Paint() override;
    virtual void PaintMargins();
    virtual void PaintColumnLines();
    virtual void PaintReportFrame();

private:
    friend class TQRReportBands;
    class TPrinterLink : public IQRParentReport {
    public:
        explicit TPrinterLink(TCustomQRReport& report) : report_(report) {}
        bool UseStandardPrinter() const override;
        int MemoryLimit() const override;
        bool Exporting() const override { return report_.exportFilter_ != nullptr; }
        bool ShowProgress() const override { return report_.showProgress_; }
        void AfterPrint() override;
        TComponent* ReportComponent() const override { return &report_; }

    private:
        TCustomQRReport& report_;
    };

    class TRunGuard;
    struct TPixelMargins {
        int Left, Top, Right, Bottom;
    };
    // A length of the page in its units as pixels at the report's zoom.
    int PagePixels(Extended length, bool horizontal) const;
    TPixelMargins MarginsInPixels() const;
    bool Destroying() const { return ComponentState().Contains(csDestroying); }
    void CollectFormDataSets();
    // The levels' part of a run, between collecting the datasets and freeing them; with a
    // pagination, also the printables' preparation and the last page.
    void RunLevels(TQRPagination* pagination);
    void RunPrintingBlock();
    void PreparePrintables(bool prepare);
    void RetirePrinter(std::unique_ptr<TQRPrinter> printer);
    // The printer whose preview of this report is open, or null.
    TQRPrinter* ShowingPrinter() const;
    void NotifyAfterPreview(TQRPrinter*) {
        if (AfterPreview) AfterPreview(this);
    }
    void NotifyAfterPrint(TQRPrinter*) {
        if (AfterPrint) AfterPrint(this);
    }
    std::unique_ptr<TQRPrinter> MakeReportPrinter();
    void FreeNow();
    bool Loading() const { return ComponentState().Contains(csLoading); }

    std::unique_ptr<TQRReportBands> bands_;
    String backImageControl_;
    std::unique_ptr<TStringList> description_;
    std::unique_ptr<TQREvEnvironment> functions_;
    TQRReportOptions options_{TQRReportOption::FirstPageHeader, TQRReportOption::LastPageFooter};
    std::unique_ptr<TQRPage> page_;
    std::unique_ptr<TQRReportPrinterSettings> printerSettings_;
    std::unique_ptr<TQRReportPrinterSettings> dialogSettings_;
    String reportTitle_;
    bool showProgress_ = true;
    bool snapToGrid_ = true;
    TQRPrevFormStyle prevFormStyle_ = TQRPrevFormStyle::fsNormal;
    TQRPrevWindowState previewInitialState_ = TQRPrevWindowState::wsNormal;
    int previewWidth_ = 0;
    int previewHeight_ = 0;
    bool prevShowThumbs_ = true;
    bool prevShowSearch_ = true;
    TQRZoomState prevInitialZoom_ = TQRZoomState::qrZoomToFit;
    TPrevSaveType previewDefaultSaveType_ = TPrevSaveType::stQRP;
    TColor backgroundColor_ = clWhite;
    int pagesInPreview_ = 0;

    std::vector<TQRCustomBand*> bandList_;
    std::vector<TQRCustomBand*> scratchList_;
    std::unique_ptr<TQRCustomController> controller_;

    // run state
    bool available_ = true;
    bool cancelled_ = false;
    bool stopRequest_ = false;
    bool headerJustPrinted_ = false;
    bool canvasOutput_ = true;
    bool bandListPending_ = false;
    bool releasePending_ = false;
    TQRExportFilter* exportFilter_ = nullptr;
    std::unique_ptr<TQRPrinter> printer_;
    IQRBandPrinter* bandPrinter_ = nullptr;
    TQRPagination* pagination_ = nullptr;
    TQRPrintable* backgroundControl_ = nullptr;
    // Printers replaced while their preview was still open: freed when it closes.
    std::vector<std::unique_ptr<TQRPrinter>> retiredPrinters_;
    std::unique_ptr<TQRDataSetList> runDataSets_;

    std::unique_ptr<TBitmap> measure_;
    std::unique_ptr<TGraphic> designPicture_;
    std::unique_ptr<TMessageWindow> messageWindow_;
    TPrinterLink printerLink_{*this};
};

class TQRReport : public TCustomQRReport {
    FV_CLASS(TQRReport, TCustomQRReport)
public:
    explicit TQRReport(TComponent* owner);
    static void Publish(TPublisher<TQRReport>& p);

    TQRController* ReportController() const;
    TDataSet* DataSet() const override;
    void SetDataSet(TDataSet* dataSet);

    void RunController() override;
    void BindBandsToController() override;

protected:
    void CreateNewReport() override;
};

// The Has... switches of a report: each tells whether a band of its type exists, creates one
// when set, frees the first one when cleared.
class TQRReportBands : public TPersistent {
    FV_CLASS(TQRReportBands, TPersistent)
public:
    explicit TQRReportBands(TCustomQRReport* report = nullptr) : report_(report) {}
    static void Publish(TPublisher<TQRReportBands>& p);

    // Index 1 title, 2 page header, 3 column header, 4 detail, 6 page footer, 7 summary; 5 none.
    bool BandExists(int index) const;
    void SetBandExists(int index, bool value);
    TQRCustomBand* BandOfType(TQRBandType type) const;

    bool HasTitle() const { return BandExists(1); }
    void SetHasTitle(bool v) { SetBandExists(1, v); }
    bool HasPageHeader() const { return BandExists(2); }
    void SetHasPageHeader(bool v) { SetBandExists(2, v); }
    bool HasColumnHeader() const { return BandExists(3); }
    void SetHasColumnHeader(bool v) { SetBandExists(3, v); }
    bool HasDetail() const { return BandExists(4); }
    void SetHasDetail(bool v) { SetBandExists(4, v); }
    bool HasPageFooter() const { return BandExists(6); }
    void SetHasPageFooter(bool v) { SetBandExists(6, v); }
    bool HasSummary() const { return BandExists(7); }
    void SetHasSummary(bool v) { SetBandExists(7, v); }

private:
    TCustomQRReport* report_;
};
