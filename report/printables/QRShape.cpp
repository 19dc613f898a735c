#include "report/printables/QRShape.h"

#include <cmath>

#include "framework/graphics/ScreenMetrics.h"
#include "report/filters/QRExportFilter.h"
#include "report/printer/QRPrinter.h"

std::vector<TQRShapePrimitive> ShapePrimitives(TQRShapeType kind, const TRect& r, int corner) {
    using P = TQRShapePrimitive;
    const int midX = (r.Left + r.Right) / 2, midY = (r.Top + r.Bottom) / 2;
    switch (kind) {
    case qrsRectangle: return {{P::Rectangle, r}};
    case qrsCircle: return {{P::Ellipse, r}};
    case qrsVertLine: return {{P::Line, Rect(midX, r.Top, midX, r.Bottom)}};
    case qrsHorLine: return {{P::Line, Rect(r.Left, midY, r.Right, midY)}};
    case qrsTopAndBottom:
        return {{P::Line, Rect(r.Left, r.Top, r.Right, r.Top)}, {P::Line, Rect(r.Left, r.Bottom, r.Right, r.Bottom)}};
    case qrsRightAndLeft:
        return {{P::Line, Rect(r.Left, r.Top, r.Left, r.Bottom)}, {P::Line, Rect(r.Right, r.Top, r.Right, r.Bottom)}};
    case qrsRoundRect: return {{P::RoundRect, r, corner}};
    case qrsLeftDiagonal: return {{P::Line, Rect(r.Right, r.Top, r.Left, r.Bottom)}};
    case qrsRightDiagonal: return {{P::Line, Rect(r.Left, r.Top, r.Right, r.Bottom)}};
    }
    return {};
}

namespace {
void Draw(TCanvas& canvas, const std::vector<TQRShapePrimitive>& primitives) {
    for (const TQRShapePrimitive& p : primitives) {
        const TRect& r = p.r;
        switch (p.kind) {
        case TQRShapePrimitive::Line:
            canvas.MoveTo(r.Left, r.Top);
            canvas.LineTo(r.Right, r.Bottom);
            break;
        case TQRShapePrimitive::Rectangle: canvas.Rectangle(r); break;
        case TQRShapePrimitive::Ellipse: canvas.Ellipse(r); break;
        case TQRShapePrimitive::RoundRect: canvas.RoundRect(r.Left, r.Top, r.Right, r.Bottom, p.corner, p.corner); break;
        }
    }
}
}  // namespace

void TQRShape::Publish(TPublisher<TQRShape>& p) {
    p.Property(L"Shape", &TQRShape::Shape, &TQRShape::SetShape).Default(qrsRectangle);
    p.Property(L"Brush", &TQRShape::Brush);
    p.Property(L"Pen", &TQRShape::Pen);
    p.Property(L"RoundFactor", &TQRShape::RoundFactor, &TQRShape::SetRoundFactor);
    p.Property(L"VertAdjust", &TQRShape::VertAdjust, &TQRShape::SetVertAdjust).Default(0);
}

TQRShape::TQRShape(TComponent* owner)
    : TQRPrintable(owner), brush_(std::make_unique<TBrush>()), pen_(std::make_unique<TPen>()) {
    brush_->OnChange = TNotifyEvent(this, &TQRShape::StyleChanged);
    pen_->OnChange = TNotifyEvent(this, &TQRShape::StyleChanged);
    SetBounds(Left(), Top(), 65, 65);
}

TQRShape::~TQRShape() = default;

void TQRShape::SetShape(TQRShapeType shape) {
    if (shape == shape_) return;
    shape_ = shape;
    Invalidate();
}

void TQRShape::SetRoundFactor(float factor) {
    if (factor == roundFactor_) return;
    roundFactor_ = factor;
    Invalidate();
}

void TQRShape::PrintAt(int xOffset, int yOffset) {
    IQRReport* report = ParentReport();
    if (report == nullptr || !ShouldPrint()) return;
    TQRPrinter* printer = report->ReportPrinter();
    if (printer == nullptr) return;
    const TQRPrintableSize& size = *Size();
    Extended x0 = size.StoredValue(TQRPrintableSize::iLeft) + xOffset;
    Extended y0 = size.StoredValue(TQRPrintableSize::iTop) + yOffset;
    Extended w = size.StoredValue(TQRPrintableSize::iWidth), h = size.StoredValue(TQRPrintableSize::iHeight);
    if (TQRExportFilter* filter = report->ExportFilter())
        filter->PlaceGraphic(this, printer->ToDeviceX(x0), printer->ToDeviceY(y0));
    if (!report->CanvasOutput() || printer->PageCanvas() == nullptr) return;
    TCanvas& canvas = *printer->PageCanvas();
    canvas.SetBrush(*brush_);
    canvas.SetPen(*pen_);
    // The corner is sized in screen pixels; on the page it scales with the device.
    const int cornerPixels = static_cast<int>(std::trunc(Width() * roundFactor_));
    const int corner = static_cast<int>(
        std::lround(cornerPixels * 254.0 / ScreenMetrics::PixelsPerInch() * printer->XFactor()));
    TRect r = Rect(printer->ToDeviceX(x0), printer->ToDeviceY(y0), printer->ToDeviceX(x0 + w), printer->ToDeviceY(y0 + h));
    Draw(canvas, ShapePrimitives(shape_, r, corner));
}

void TQRShape::Paint() {
    TQRPrintable::Paint();
    TCanvas& canvas = Canvas();
    canvas.SetPen(*pen_);
    canvas.SetBrush(*brush_);
    const int w = Width(), h = Height();
    TRect r = Rect(0, 0, w, h);
    switch (shape_) {
    case qrsTopAndBottom: Draw(canvas, ShapePrimitives(shape_, Rect(0, 0, w, h - 1), 0)); break;
    case qrsRightAndLeft: Draw(canvas, ShapePrimitives(shape_, Rect(0, 0, w - 1, h), 0)); break;
    default: Draw(canvas, ShapePrimitives(shape_, r, static_cast<int>(std::trunc(w * roundFactor_)))); break;
    }
}
