#include "report/printables/QRFrame.h"

#include <memory>

#include "framework/rtl/Numeric.h"
#include "report/filters/QRExportFilter.h"
#include "report/printables/QRPrintable.h"
#include "report/printables/QRShape.h"

void TQRFrame::Publish(TPublisher<TQRFrame>& p) {
    p.ColorProperty(L"Color", &TQRFrame::Color, &TQRFrame::SetColor).Default(clBlack);
    p.Property(L"DrawTop", &TQRFrame::DrawTop, &TQRFrame::SetDrawTop).Default(false);
    p.Property(L"DrawBottom", &TQRFrame::DrawBottom, &TQRFrame::SetDrawBottom).Default(false);
    p.Property(L"DrawLeft", &TQRFrame::DrawLeft, &TQRFrame::SetDrawLeft).Default(false);
    p.Property(L"DrawRight", &TQRFrame::DrawRight, &TQRFrame::SetDrawRight).Default(false);
    p.Property(L"Style", &TQRFrame::Style, &TQRFrame::SetStyle).Default(psSolid);
    p.Property(L"Width", &TQRFrame::Width, &TQRFrame::SetWidth).Default(1);
}

void TQRFrame::Assign(const TPersistent* source) {
    auto* frame = dynamic_cast<const TQRFrame*>(source);
    if (frame == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    color_ = frame->color_;
    std::copy(std::begin(frame->sides_), std::end(frame->sides_), sides_);
    style_ = frame->style_;
    width_ = frame->width_;
    Changed();
}

void TQRFrame::AssignColor(TColor color) {
    color_ = color;
    Changed();
}

void TQRFrame::SetDrawSide(Side side, bool on) {
    sides_[side] = on;
    Changed();
}

void TQRFrame::SetStyle(TPenStyle style) {
    style_ = style;
    Changed();
}

void TQRFrame::SetWidth(int width) {
    width_ = width;
    Changed();
}

void TQRFrame::Changed() {
    if (parent_ != nullptr) parent_->Invalidate();
}

int TQRFrame::Thickness(Extended factor) const {
    if (width_ == -1) return 1;
    int thickness = static_cast<int>(Round(factor / 72 * 254 * width_));
    return thickness < 1 && width_ > 0 ? 1 : thickness;
}

void TQRFrame::PaintFrame(TCanvas& canvas, const TRect& r, Extended xFactor, Extended yFactor) {
    int v = Thickness(xFactor);
    int h = Thickness(yFactor);
    canvas.Brush().SetColor(color_);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(style_);
    canvas.Pen().SetColor(color_);
    if (h > 0 && sides_[sTop]) canvas.FillRect(Rect(r.Left, r.Top, r.Right, r.Top + h));
    if (h > 0 && sides_[sBottom]) canvas.FillRect(Rect(r.Left, r.Bottom - h, r.Right, r.Bottom));
    if (v > 0 && sides_[sLeft]) canvas.FillRect(Rect(r.Left, r.Top, r.Left + v, r.Bottom));
    if (v > 0 && sides_[sRight]) canvas.FillRect(Rect(r.Right - v, r.Top, r.Right, r.Bottom));
    canvas.Brush().SetStyle(bsClear);
    ExportFrame(r, v, h);
}

namespace {

void PlaceLine(TQRExportFilter& filter, TQRShapeType type, const TRect& bounds, int x, int y, int penWidth,
               TColor color) {
    auto shape = std::make_unique<TQRShape>(nullptr);
    shape->SetShape(type);
    shape->Brush()->SetStyle(bsClear);
    shape->Pen()->SetStyle(psSolid);
    shape->Pen()->SetWidth(penWidth);
    shape->Pen()->SetColor(color);
    shape->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    filter.PlaceGraphic(shape.get(), x, y);
}

}  // namespace

void TQRFrame::ExportFrame(const TRect& r, int v, int h) {
    IQRReport* report = nullptr;
    TQRPrintable* printable = dynamic_cast<TQRPrintable*>(parent_);
    if (printable != nullptr)
        report = printable->ParentReport();
    else if (IQRBand* band = AsQRBand(parent_))
        report = band->BandReport();
    else
        report = AsQRReport(parent_);
    if (report == nullptr || !report->Exporting()) return;
    TQRExportFilter& filter = *report->ExportFilter();

    if (printable != nullptr && !printable->Transparent()) {
        auto background = std::make_unique<TQRShape>(nullptr);
        background->SetShape(qrsRectangle);
        background->Brush()->SetColor(printable->Color());
        background->Brush()->SetStyle(bsSolid);
        background->Pen()->SetStyle(psClear);
        background->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        filter.PlaceGraphic(background.get(), r.Left, r.Top);
    }
    // A side of no thickness prints nothing, so it exports nothing either.
    bool top = sides_[sTop] && h > 0, bottom = sides_[sBottom] && h > 0;
    bool left = sides_[sLeft] && v > 0, right = sides_[sRight] && v > 0;
    if (top && bottom && left && right) {
        PlaceLine(filter, qrsRectangle, r, r.Left, r.Top, v, color_);
        return;
    }
    if (top) PlaceLine(filter, qrsHorLine, Rect(r.Left, r.Top, r.Right, r.Top + h), r.Left, r.Top, v, color_);
    if (bottom)
        PlaceLine(filter, qrsHorLine, Rect(r.Left, r.Bottom, r.Right, r.Bottom + h), r.Left, r.Bottom - h, v, color_);
    if (left) PlaceLine(filter, qrsVertLine, Rect(r.Left, r.Top, r.Left + v, r.Bottom), r.Left, r.Top, v, color_);
    if (right)
        PlaceLine(filter, qrsVertLine, Rect(r.Right - v, r.Top, r.Right, r.Bottom), r.Right - v, r.Top, v, color_);
}
