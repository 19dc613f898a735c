#include "report/bands/QRPagination.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "framework/rtl/Numeric.h"
#include "report/bands/QRController.h"
#include "report/bands/QRDBImage.h"
#include "report/filters/QRExportFilter.h"
#include "report/printables/QRImage.h"
#include "report/printables/QRPrintable.h"
#include "report/printables/QRShape.h"

namespace {

int Rounded(Extended value) { return static_cast<int>(Round(value)); }

// Bands that belong to the page itself: a forced break on them means nothing.
bool PageBandType(TQRBandType type) {
    return type == rbTitle || type == rbPageHeader || type == rbPageFooter || type == rbOverlay;
}

// A filled rectangle as the export filters take it: a shape with a solid brush and no pen.
void PlaceFilledRect(TQRExportFilter& filter, const TRect& rect, TColor color) {
    auto shape = std::make_unique<TQRShape>(nullptr);
    shape->SetShape(qrsRectangle);
    shape->Brush()->SetColor(color);
    shape->Brush()->SetStyle(bsSolid);
    shape->Pen()->SetStyle(psClear);
    shape->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
    filter.PlaceGraphic(shape.get(), rect.Left, rect.Top);
}

// Restores a value when the scope ends, however it ends.
template <class T>
class TRestore {
public:
    TRestore(T& slot, T value) : slot_(slot), saved_(slot) { slot_ = value; }
    ~TRestore() { slot_ = saved_; }
    TRestore(const TRestore&) = delete;
    TRestore& operator=(const TRestore&) = delete;

private:
    T& slot_;
    T saved_;
};

}  // namespace

TQRPagination::TQRPagination(TCustomQRReport& report) : report_(report) {
    currentColumn_ = std::max(1, report.Page()->Columns());
}

// ---- what the pagination reads ----

TQRPrinter& TQRPagination::Printer() const { return *report_.ReportPrinter(); }
TQRPage& TQRPagination::Page() const { return *report_.Page(); }
TQRExportFilter* TQRPagination::Filter() const { return report_.ExportFilter(); }
bool TQRPagination::Exporting() const { return report_.ExportFilter() != nullptr; }
bool TQRPagination::Designing() const { return report_.ComponentState().Contains(csDesigning); }

Extended TQRPagination::BandHeight(const TQRCustomBand& band) { return band.Size()->StoredValue(TQRBandSize::iHeight); }
Extended TQRPagination::BandWidth(const TQRCustomBand& band) { return band.Size()->StoredValue(TQRBandSize::iWidth); }

void TQRPagination::SetEnvironmentValue(const wchar_t* name, int value) {
    if (TQREvElement* element = report_.Functions()->FindConstant(name))
        TQREvEnvironment::AssignIntegerConstant(element, value);
}

Extended TQRPagination::BodyBottom() const {
    const TQRPage& page = Page();
    return page.StoredValue(TQRPage::iLength) - page.StoredValue(TQRPage::iBottomMargin) - pageFooterHeight_;
}

int TQRPagination::SpaceLeftInColumn() {
    if (currentY_ == -1) return 0;
    if (Exporting() && Filter()->UnpagedOutput()) return Printer().Settings().PaperLength();
    return Rounded(BodyBottom() - currentY_);
}

// ---- band measures ----

Extended TQRPagination::HeightWithLinkedBands(TQRCustomBand& band, bool links) {
    if (!links) return BandHeight(band);
    Extended height = 0;
    for (TQRCustomBand* linked : band.LinkChain()) height += BandHeight(*linked);
    return height;
}

// Only database pictures measure themselves taller than they stand. Pixels are read at the fixed
// 96 per inch the stored lengths were designed at, not at the screen's.
Extended TQRPagination::HeightToLowestControl(TQRCustomBand& band) {
    constexpr Extended pixelsPerTenth = 96.0 / 254;
    Extended lowest = BandHeight(band);
    Extended gap = 0;
    for (int i = 0; i < band.ControlCount(); ++i) {
        auto* image = dynamic_cast<TQRDBImage*>(band.Controls(i));
        if (image == nullptr || !image->Enabled()) continue;
        Extended needed = image->Height();
        image->NeededHeight(needed);
        const Extended bottom = (image->Top() + needed) / pixelsPerTenth;
        if (bottom > lowest) {
            lowest = bottom;
            gap = (band.Height() - image->Top() - image->Height() + 1) / pixelsPerTenth;
        }
    }
    return lowest + std::max<Extended>(gap, 0);
}

Extended TQRPagination::MeasurePageFooters() const {
    Extended height = 0;
    for (TQRCustomBand* band : report_.BandList()) {
        if (band->BandType() != rbPageFooter || band->Parent() != &report_ || !band->Enabled()) continue;
        height += BandHeight(*band);
        TQRChainWalk walk;
        walk.Visit(band);
        for (TQRChildBand* child = report_.ChildOf(band); child != nullptr && walk.Visit(child);
             child = report_.ChildOf(child))
            if (child->Enabled()) height += BandHeight(*child);
    }
    return height;
}

// ---- growing bands ----

bool TQRPagination::CanGrowBand(TQRCustomBand* band, Extended extra) {
    if (pass_ == nullptr || pass_->Band != band) return false;
    const Int64 need = static_cast<Int64>(Round(extra + BandHeight(*band) + pass_->Expansion));
    if (static_cast<Int64>(SpaceLeftInColumn()) >= need) return true;
    // A continuation at the top of a fresh column that cannot grow by even one line would be
    // carried from page to page forever: its first line is printed all the same.
    return pass_->Continuing && !pass_->Grown;
}

bool TQRPagination::GrowBand(TQRCustomBand* band, Extended& total, bool& grown, Extended extra) {
    if (!CanGrowBand(band, extra)) return false;
    TBandPass& pass = *pass_;
    if (!grown && extra < pass.Expansion) {
        total = pass.Expansion;
        grown = true;
        return true;
    }
    pass.Expansion += extra;
    pass.Grown = true;
    total = pass.Expansion;
    grown = true;
    return false;
}

// ---- placing and printing bands ----

void TQRPagination::PlaceBand(TQRCustomBand* band) {
    if (band == nullptr) return;
    if (band->AlignToBottom()) {
        if (band->BandType() == rbSummary && !report_.Options().Contains(TQRReportOption::LastPageFooter))
            pageFooterHeight_ = 0;
        const int height = Rounded(BandHeight(*band));
        const int bottom = Rounded(BodyBottom());
        if (height <= bottom - currentY_) currentY_ = bottom - height;
    }
    PrintBand(*band);
}

void TQRPagination::PlaceChild(TQRCustomBand& band, bool before) {
    TQRChildBand* child = report_.ChildOf(&band);
    if (child == nullptr) return;
    const TCBPrintOrder order = child->PrintOrder();
    const bool wanted = order == cboBeforeAndAfter || (before ? order == cboBeforeParent : order == cboAfterParent);
    if (!wanted) return;
    const bool asFooter = band.EffectiveBandType() == rbPageFooter || child->PrintAsPageFooter();
    struct TAsFooter {
        TQRChildBand& child;
        bool saved;
        ~TAsFooter() { child.SetPrintAsPageFooter(saved); }
    } restore{*child, child->PrintAsPageFooter()};
    child->SetPrintAsPageFooter(asFooter);
    PlaceBand(child);
}

void TQRPagination::PrintBand(TQRCustomBand& band) {
    bool print = band.Enabled();
    if (print && band.BeforePrint && !Designing()) band.BeforePrint(&band, print);
    if (band.BandType() == rbSummary) currentX_ = Rounded(Page().StoredValue(TQRPage::iLeftMargin));

    if (print) {
        PlaceChild(band, true);
        const TQRBandType type = band.EffectiveBandType();
        // A forced break that does not happen (the page just began, or the first forced column
        // of the run) leaves the band to the ordinary fit test.
        bool broke = false;
        if (band.ForceNewPage() && !pageBreakInProgress_ && !PageBandType(type) && pageNumber_ > 0) {
            const int page = pageNumber_;
            RequestNewPage();
            pageBreakInProgress_ = false;
            broke = pageNumber_ != page;
        } else if (band.ForceNewColumn() && !PageBandType(type) && pageNumber_ > 0) {
            const int page = pageNumber_, column = currentColumn_;
            RequestNewColumn();
            broke = pageNumber_ != page || currentColumn_ != column;
        }
        if (!broke) EnsureBandFits(band);
        if (TQRController* controller = band.NotifyController()) controller->NotifyExpressions(0);
        if (band.KeepOnOnePage() && HeightToLowestControl(band) > SpaceLeftInColumn()) StartNextColumn();
        // The filter is told where the band prints, after any break it caused.
        const int startX = currentX_, startY = currentY_;

        TBandPass pass{&band};
        TRestore<TBandPass*> current(pass_, &pass);
        PaintBandBackground(band);
        if (band.Height() != 0) PrintControls(band, pass);
        if (Exporting()) Filter()->NoteBand(&band, startX, startY, pass.Expansion);
    } else if (band.NotifyController() != nullptr && !band.Enabled()) {
        band.NotifyController()->NotifyExpressions(0);
    }
    if (band.AfterPrint && !Designing()) band.AfterPrint(&band, print);
    PlaceChild(band, false);
    pageBreakInProgress_ = false;
}

TRect TQRPagination::BandRect(TQRCustomBand& band, Extended height) const {
    const TQRPrinter& printer = Printer();
    return Rect(printer.ToDeviceX(currentX_), printer.ToDeviceY(currentY_), printer.ToDeviceX(currentX_ + BandWidth(band)),
                printer.ToDeviceY(currentY_ + height));
}

void TQRPagination::PaintBandBackground(TQRCustomBand& band) {
    if (band.TransparentBand()) return;
    const Extended height = band.PreCaluculateBandHeight() ? HeightToLowestControl(band) : BandHeight(band);
    const TRect rect = BandRect(band, height);
    if (Exporting()) PlaceFilledRect(*Filter(), rect, band.Color());
    if (band.Height() == 0 || !band.Enabled() || !report_.CanvasOutput()) return;
    if (TCanvas* canvas = Printer().PageCanvas()) {
        canvas->Brush().SetColor(band.Color());
        canvas->Brush().SetStyle(bsSolid);
        canvas->FillRect(rect);
    }
}

void TQRPagination::PrintControls(TQRCustomBand& band, TBandPass& pass) {
    const Extended height = BandHeight(band);
    bool first = true;
    bool done = false;
    while (!done) {
        done = true;
        Extended maximum = 0;
        for (int i = 0; i < band.ControlCount(); ++i) {
            auto* printable = dynamic_cast<TQRPrintable*>(band.Controls(i));
            if (printable == nullptr || !printable->Enabled()) continue;
            pass.Expansion = 0;
            if (first || !printable->PrintFinished()) printable->PrintAt(currentX_, currentY_);
            done = done && printable->PrintFinished();
            maximum = std::max(maximum, pass.Expansion);
        }
        pass.Expansion = maximum;
        if (TCanvas* canvas = Printer().PageCanvas(); canvas != nullptr && (report_.CanvasOutput() || Exporting())) {
            const TRect rect = BandRect(band, height + pass.Expansion + 1);
            band.Frame()->PaintFrame(*canvas, rect, Printer().XFactor(), Printer().YFactor());
            PaintBandLines(band, rect);
        }
        if (done) break;
        // What cannot continue ends here: a page footer's continuation would finish its own page
        // again, and a continuation that printed nothing on a fresh column never will.
        if (band.EffectiveBandType() == rbPageFooter || (pass.Continuing && !pass.Grown)) {
            for (int i = 0; i < band.ControlCount(); ++i)
                if (auto* printable = dynamic_cast<TQRPrintable*>(band.Controls(i))) printable->SetPrintFinished(true);
            break;
        }
        pageBreakInProgress_ = true;
        StartNextColumn();
        pageBreakInProgress_ = false;
        pass.Expansion = 0;
        pass.Grown = false;
        pass.Continuing = true;
        first = false;
    }
    currentY_ += Rounded(height + pass.Expansion);
}

void TQRPagination::PaintBandLines(TQRCustomBand& band, const TRect& rect) {
    // The lines divide the band's width as the controls divide the band on screen: a band of no
    // width gives no proportion.
    if (band.Width() <= 0) return;
    TQRPrinter& printer = Printer();
    for (int i = 0; i < band.ControlCount(); ++i) {
        auto* shape = dynamic_cast<TQRShape*>(band.Controls(i));
        if (shape == nullptr || shape->Tag() != 1000 || shape->Shape() != qrsVertLine) continue;
        const int middle = shape->Left() + shape->Width() / 2;
        const int x = rect.Left + static_cast<int>(Round(static_cast<Extended>(rect.Right - rect.Left) * middle / band.Width()));
        if (TCanvas* canvas = printer.PageCanvas()) {
            canvas->Pen().SetStyle(psSolid);
            canvas->Pen().SetWidth(shape->Pen()->Width());
            canvas->Pen().SetColor(shape->Pen()->Color());
            canvas->MoveTo(x, rect.Top);
            canvas->LineTo(x, rect.Bottom);
        }
        if (!Exporting()) continue;
        // The filter gets a copy as tall as the band: the band's own control keeps its design.
        auto line = std::make_unique<TQRShape>(nullptr);
        line->SetShape(qrsVertLine);
        line->Brush()->SetStyle(bsClear);
        line->Pen()->SetStyle(psSolid);
        line->Pen()->SetWidth(shape->Pen()->Width());
        line->Pen()->SetColor(shape->Pen()->Color());
        line->SetBounds(shape->Left(), rect.Top, shape->Width(), std::abs(rect.Bottom - rect.Top));
        Filter()->PlaceGraphic(line.get(), printer.ToDeviceX(currentX_ + shape->Size()->StoredValue(TQRPrintableSize::iLeft)),
                               rect.Top);
    }
}

void TQRPagination::EnsureBandFits(TQRCustomBand& band) {
    const int height = Rounded(HeightWithLinkedBands(band, true));
    // A band printed while a column or page is being started, or one that does not fit even at
    // the top of a fresh column, goes where it stands: breaking again could only repeat itself.
    // One taller than the page body elsewhere moves to the top of a fresh column first.
    bool fits = band.EffectiveBandType() == rbPageFooter || SpaceLeftInColumn() >= height || startingColumn_ > 0 ||
                currentY_ == freshTop_;
    fits = fits && pageNumber_ != 0;
    if (!fits) {
        pageBreakInProgress_ = band.BandType() == rbDetail;
        StartNextColumn();
    } else if (band.BandType() == rbDetail) {
        pageBreakInProgress_ = false;
    }
}

// ---- columns and pages ----

void TQRPagination::StartNextColumn() {
    {
        TRestore<int> starting(startingColumn_, startingColumn_ + 1);
        const TQRPage& page = Page();
        const int columns = std::max(1, page.Columns());
        if (currentColumn_ >= columns) {
            currentColumn_ = 1;
            currentX_ = Rounded(page.StoredValue(TQRPage::iLeftMargin));
            StartNextPage();
        } else {
            Int64 width = 0;
            if (TQRCustomBand* detail = report_.FirstBandOfType(rbDetail)) {
                width = Rounded(BandWidth(*detail));
            } else {
                const Int64 inner = Rounded(page.StoredValue(TQRPage::iWidth) -
                                            (page.StoredValue(TQRPage::iLeftMargin) + page.StoredValue(TQRPage::iRightMargin)));
                width = (inner - static_cast<Int64>(Rounded(page.StoredValue(TQRPage::iColumnSpace))) * (columns - 1)) / columns;
            }
            currentX_ += static_cast<int>(width) + Rounded(page.StoredValue(TQRPage::iColumnSpace));
            currentY_ = columnTop_;
            ++currentColumn_;
        }
        SetEnvironmentValue(L"COLUMNNUMBER", currentColumn_);
        if (!(currentColumn_ == 1 && pageNumber_ == 1)) {
            PlaceBand(report_.FirstBandOfType(rbColumnHeader));
            report_.Controller()->ReprintGroupHeaders();
        }
    }
    freshTop_ = currentY_;
}

void TQRPagination::StartNextPage() {
    FinishPage();
    if (Exporting()) Filter()->OpenPage();
    ++pageNumber_;
    SetEnvironmentValue(L"PAGENUMBER", pageNumber_);
    // An export draws every page on the canvas of the first, which is thrown away at the end.
    if (report_.CanvasOutput() || pageNumber_ == 1) Printer().StartNewPage();
    const TQRPage& page = Page();
    currentY_ = Rounded(page.StoredValue(TQRPage::iTopMargin));
    if (report_.OnStartPage && !Designing()) report_.OnStartPage(&report_);

    if (report_.BackgroundColor() != clWhite) {
        TQRPrinter& printer = Printer();
        const TRect rect = Rect(0, 0, Rounded(page.StoredValue(TQRPage::iWidth) * printer.XFactor()),
                                Rounded(page.StoredValue(TQRPage::iLength) * printer.YFactor()));
        if (TCanvas* canvas = printer.PageCanvas()) {
            canvas->Brush().SetColor(report_.BackgroundColor());
            canvas->Brush().SetStyle(bsSolid);
            canvas->FillRect(rect);
        }
        if (Exporting()) PlaceFilledRect(*Filter(), rect, report_.BackgroundColor());
    }

    if (auto* image = dynamic_cast<TQRImage*>(background_)) {
        TQRPrinter& printer = Printer();
        const TQRPrintableSize& size = *image->Size();
        const int left = printer.ToDeviceX(size.StoredValue(TQRPrintableSize::iLeft));
        const int top = printer.ToDeviceY(size.StoredValue(TQRPrintableSize::iTop));
        const TRect rect = Rect(left, top, left + Rounded(size.StoredValue(TQRPrintableSize::iWidth) * printer.XFactor()),
                                top + Rounded(size.StoredValue(TQRPrintableSize::iHeight) * printer.YFactor()));
        TGraphic* graphic = image->Picture()->Graphic();
        if (TCanvas* canvas = printer.PageCanvas(); canvas != nullptr && graphic != nullptr && !graphic->Empty())
            canvas->StretchDraw(rect, *graphic);
        if (Exporting()) Filter()->PlaceGraphic(image, left, top);
    }

    if (pageNumber_ > 1 || report_.Options().Contains(TQRReportOption::FirstPageHeader))
        PlaceBand(report_.FirstBandOfType(rbPageHeader));
    columnTop_ = currentY_;
    currentColumn_ = 1;
    if (pageNumber_ == 1)
        if (TQRCustomBand* title = report_.FirstBandOfType(rbTitle)) columnTop_ += Rounded(BandHeight(*title));
}

void TQRPagination::FinishPage() {
    if (pageNumber_ > 0) {
        const TQRPage& page = Page();
        currentY_ = Rounded(BodyBottom());
        currentX_ = Rounded(page.StoredValue(TQRPage::iLeftMargin));
        if (!lastPage_ || report_.Options().Contains(TQRReportOption::LastPageFooter))
            PlaceBand(report_.FirstBandOfType(rbPageFooter));
        PrintPageDecorations();
        if (report_.OnEndPage && !Designing()) report_.OnEndPage(&report_);
    }
    if (Exporting()) Filter()->ClosePage();
}

void TQRPagination::PrintPageDecorations() {
    for (int i = 0; i < report_.ControlCount(); ++i) {
        auto* printable = dynamic_cast<TQRPrintable*>(report_.Controls(i));
        if (printable != nullptr && printable != background_) printable->PrintAt(0, 0);
    }
    TQRPrinter& printer = Printer();
    TCanvas* canvas = printer.PageCanvas();
    if (canvas == nullptr || !(report_.CanvasOutput() || Exporting())) return;
    const TQRPage& page = Page();
    const TRect rect = Rect(printer.ToDeviceX(page.StoredValue(TQRPage::iLeftMargin)),
                            printer.ToDeviceY(page.StoredValue(TQRPage::iTopMargin)),
                            printer.ToDeviceX(page.StoredValue(TQRPage::iWidth) - page.StoredValue(TQRPage::iRightMargin)),
                            printer.ToDeviceY(page.StoredValue(TQRPage::iLength) - page.StoredValue(TQRPage::iBottomMargin)));
    report_.Frame()->PaintFrame(*canvas, rect, printer.XFactor(), printer.YFactor());
}

void TQRPagination::RequestNewColumn() {
    if (firstForcedColumn_ || currentColumn_ > 1)
        StartNextColumn();
    else
        firstForcedColumn_ = true;
}

void TQRPagination::RequestNewPage() {
    if (report_.HeaderJustPrinted()) {
        report_.SetHeaderJustPrinted(false);
        return;
    }
    do StartNextColumn();
    while (currentColumn_ != 1);
}
