// The standard preview window: a report printer's pages on screen with a tool bar (zoom, page
// moves, go to page, search, copy, printer set-up, print, load, save, cancel, close), a column of
// page thumbnails, a list of search results and a status line. The report printer opens it
// through TQRStandardPreviewInterface; it frees itself when it closes.
//
// While the printer builds, the page-moving and file buttons are disabled and Cancel is enabled;
// once it is done, the reverse. Closing the window during a build cancels the build first.
#pragma once

#include <memory>

#include "framework/controls/DrawGrid.h"
#include "framework/forms/Form.h"
#include "report/preview/QRPreview.h"
#include "report/previewwindow/QRPreviewRules.h"
#include "report/printer/QRPreviewInterface.h"

class TCustomQRReport;
class TGroupBox;
class TImageList;
class TLabel;
class TListBox;
class TPageControl;
class TSpeedButton;
class TSplitter;
class TStatusBar;
class TTabSheet;
class TToolBar;
class TToolButton;

class TQRStandardPreview : public TForm {
    FV_CLASS(TQRStandardPreview, TForm)
public:
    // The window for printer (null: an empty window).
    TQRStandardPreview(TComponent* owner, TQRPrinter* printer);
    explicit TQRStandardPreview(TComponent* owner) : TQRStandardPreview(owner, nullptr) {}
    ~TQRStandardPreview() override;

    // Shows the window (not modally) with its status line filled.
    void ShowWithStatus();
    // "Page n of m" and the status text.
    void UpdateStatus();
    // Shows page n and selects its thumbnail; a page outside the report changes nothing.
    void GoToPage(int page);
    void LayoutThumbnails();

    // What the tool bar's dialogs lead to, callable without them.
    // Saves under the chosen name as a prepared report or through the export filter of its
    // extension; an extension no filter handles is reported in a message.
    void SaveTo(const String& fileName, int filterIndex);
    // Loads a prepared report into the window; a missing file is reported in a message.
    void LoadFrom(const String& fileName);
    // Lists the pages holding the text.
    void RunSearch(const String& text, bool matchCase);

    TQRPrinter* QRPrinter() const;
    TCustomQRReport* Report() const { return report_; }
    const String& PreviewStatusText() const { return previewStatusText_; }
    // The window shows a prepared report loaded into it.
    bool ShowsLoadedFile() const { return showsLoadedFile_; }

    TImageList* Images = nullptr;
    TToolBar* ToolBar1 = nullptr;
    TToolButton* ZoomFit = nullptr;
    TToolButton* ZoomToWidth = nullptr;
    TToolButton* Zoom100 = nullptr;
    TToolButton* Spacer3 = nullptr;
    TToolButton* FirstPage = nullptr;
    TToolButton* PreviousPage = nullptr;
    TToolButton* nextPage = nullptr;
    TToolButton* LastPage = nullptr;
    TToolButton* Spacer2 = nullptr;
    TToolButton* GotoPageButton = nullptr;
    TToolButton* FindButton = nullptr;
    TToolButton* Spacer1 = nullptr;
    TToolButton* copybutton = nullptr;
    TToolButton* PrintSetup = nullptr;
    TToolButton* Print = nullptr;
    TToolButton* LoadReport = nullptr;
    TToolButton* SaveReport = nullptr;
    TToolButton* Spacer5 = nullptr;
    TToolButton* CancelButton = nullptr;
    TSpeedButton* ExitButton = nullptr;
    TQRPreview* QRPreview = nullptr;
    TPageControl* Tabs = nullptr;
    TTabSheet* TabThumbs = nullptr;
    TDrawGrid* ThumbGrid = nullptr;
    TTabSheet* TabSearchResult = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TLabel* SearchTextLabel = nullptr;
    TSplitter* Splitter2 = nullptr;
    TListBox* SearchResultBox = nullptr;
    TStatusBar* StatusBar = nullptr;
    TSplitter* Splitter1 = nullptr;

    // Handlers (bound to the controls above).
    void ZoomToFitClick(TObject*);
    void ZoomToWidthClick(TObject*);
    void ZoomTo100Click(TObject*);
    void FirstPageClick(TObject*);
    void PrevPageClick(TObject*);
    void NextPageClick(TObject*);
    void LastPageClick(TObject*);
    void GotoPageButtonClick(TObject*);
    void FindButtonClick(TObject*);
    void SearchResultBoxClick(TObject*);
    void ThumbGridSelectCell(TObject*, int col, int row, bool& canSelect);
    void ThumbGridDrawCell(TObject*, int col, int row, const TRect& rect, TGridDrawState state);
    void copybuttonClick(TObject*);
    void PrintSetupClick(TObject*);
    void PrintClick(TObject*);
    void SaveClick(TObject*);
    void LoadClick(TObject*);
    void CancelButtonClick(TObject*);
    void ExitClick(TObject*);
    void ThumbGridResize(TObject*);
    void FormResize(TObject*);
    void FormClose(TObject*, TCloseAction& action);
    void FormKeyDown(TObject*, Word& key, TShiftState shift);
    void QRPreviewPageAvailable(TObject*, int page);
    void QRPreviewProgressUpdate(TObject*, int progress);

    void WndProc(TMessage& message) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void BuildWindow();
    void CreatePreview(TQRPrinter* printer);
    void EnablePageButtons(bool enabled);
    // The ten buttons that move between pages or act on the finished report.
    std::vector<TToolButton*> PageButtons() const;
    void ApplyPrinterSetup();
    void ShowProgressDone();
    // Whether another preview window shows the pages of the prepared-report file.
    bool ShownInAnotherPreview(const String& fileName) const;

    TCustomQRReport* report_ = nullptr;
    bool landscape_ = false;
    TPreviewProgressText progressText_;
    int thumbTextHeight_ = 0;
    int thumbHeight_ = 0;
    int thumbWidth_ = 0;
    int thumbVertOffset_ = 0;
    int thumbHorzOffset_ = 0;
    bool showThumbnails_ = true;
    bool showSearch_ = true;
    TQRZoomState initialZoom_ = qrZoomOther;
    String previewStatusText_;
    bool pageChangeGuard_ = false;
    bool showsLoadedFile_ = false;
};

// The standard preview factory: the report printer's preview is a TQRStandardPreview, its
// progress a TQRProgressForm.
class TQRStandardPreviewInterface : public TQRPreviewInterface {
    FV_CLASS(TQRStandardPreviewInterface, TQRPreviewInterface)
public:
    explicit TQRStandardPreviewInterface(TComponent* owner) : TQRPreviewInterface(owner) {}

    TComponent* Show(TQRPrinter& printer) override;
    TComponent* ShowModal(TQRPrinter& printer) override;
    std::unique_ptr<IQRPrinterClient> ShowProgress(TQRPrinter& printer, const String& caption) override;
};
