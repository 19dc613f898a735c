// TQRPagination: where the bands of one report run go on the pages.
//
// The data levels hand it their bands (it is the report's band printer for the run). It keeps
// the print position (0.1 mm from the paper's top-left corner), the page and column, and prints
// each band there: the fit test, forced breaks, stretching controls continuing over pages, child
// bands, backgrounds and frames; it starts and finishes pages and columns with their headers,
// footers and the report's own printables, and tells an attached export filter what it draws.
//
//     no page (page 0, Y -1) --first band--> page 1 --band does not fit--> next column ...
//       ... after the last column: page footer, decorations, next page (page header)
//     the run ends: FinishPage with LastPage set
//
// Everything a run changes lives here, so a run that fails leaves nothing behind for the next.
#pragma once

#include <climits>

#include "report/bands/QRReport.h"

class TQRPrintable;

class TQRPagination : public IQRBandPrinter {
public:
    // The report's printer must outlive the pagination; its document is opened by the run.
    explicit TQRPagination(TCustomQRReport& report);

    // ---- IQRBandPrinter ----
    void PlaceBand(TQRCustomBand* band) override;
    void StartNextColumn() override;
    void StartNextPage() override;
    int SpaceLeftInColumn() override;
    int PageNumber() const override { return pageNumber_; }
    bool CanGrowBand(TQRCustomBand* band, Extended extra) override;
    bool GrowBand(TQRCustomBand* band, Extended& total, bool& grown, Extended extra) override;

    void FinishPage();
    void PrintPageDecorations();
    void RequestNewColumn();
    void RequestNewPage();
    // Heights of the enabled page footers and their enabled children (0.1 mm).
    Extended MeasurePageFooters() const;
    void SetPageFooterHeight(Extended height) { pageFooterHeight_ = height; }
    Extended PageFooterHeight() const { return pageFooterHeight_; }

    int CurrentX() const { return currentX_; }
    void SetCurrentX(int x) { currentX_ = x; }
    int CurrentY() const { return currentY_; }
    int CurrentColumn() const { return currentColumn_; }
    void SetCurrentColumn(int column) { currentColumn_ = column; }
    bool LastPage() const { return lastPage_; }
    void SetLastPage(bool value) { lastPage_ = value; }
    // The report's own printable whose picture is every page's background, or null.
    void SetBackgroundControl(TQRPrintable* control) { background_ = control; }

    // Band measures (0.1 mm).
    static Extended BandHeight(const TQRCustomBand& band);
    static Extended BandWidth(const TQRCustomBand& band);
    // The band's height, plus the heights of the bands linked after it when links is set.
    static Extended HeightWithLinkedBands(TQRCustomBand& band, bool links);
    // The band's height, or as low as a database picture on it reaches when it needs more room,
    // keeping the space the band leaves below that picture.
    static Extended HeightToLowestControl(TQRCustomBand& band);

private:
    // The band whose controls print now, and what they have asked for so far.
    struct TBandPass {
        TQRCustomBand* Band;
        Extended Expansion = 0;
        bool Grown = false;       // some control grew the band in this pass
        bool Continuing = false;  // a pass after the first, at the top of a fresh column
    };

    void PrintBand(TQRCustomBand& band);
    void PlaceChild(TQRCustomBand& band, bool before);
    void PrintControls(TQRCustomBand& band, TBandPass& pass);
    void PaintBandBackground(TQRCustomBand& band);
    void PaintBandLines(TQRCustomBand& band, const TRect& rect);
    // The band's device rectangle at the print position, height in 0.1 mm.
    TRect BandRect(TQRCustomBand& band, Extended height) const;
    void EnsureBandFits(TQRCustomBand& band);
    // Where the page body ends for the bands above the page footers (0.1 mm): the one bottom
    // every length check of the pagination measures against.
    Extended BodyBottom() const;
    bool Exporting() const;
    TQRExportFilter* Filter() const;
    TQRPrinter& Printer() const;
    TQRPage& Page() const;
    void SetEnvironmentValue(const wchar_t* name, int value);
    bool Designing() const;

    TCustomQRReport& report_;
    int currentX_ = 0;
    int currentY_ = -1;
    int columnTop_ = 0;
    int currentColumn_ = 1;
    int pageNumber_ = 0;
    Extended pageFooterHeight_ = 0;
    bool lastPage_ = false;
    bool firstForcedColumn_ = false;
    bool pageBreakInProgress_ = false;
    TQRPrintable* background_ = nullptr;
    TBandPass* pass_ = nullptr;
    // Column starts in progress (the bands they place print where they stand), and where the
    // print position stood when the last column start was done.
    int startingColumn_ = 0;
    int freshTop_ = INT_MIN;
};
