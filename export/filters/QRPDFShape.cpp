#include "export/filters/QRPDFShape.h"
#include "export/filters/QRPlacedBox.h"

#include "export/pdf/QRPDFFilter.h"
#include "report/filters/QRExportFilter.h"
#include "report/printer/QRPrinter.h"

std::vector<TQRShapePrimitive> PDFShapePrimitives(TQRShapeType kind, const TRect& r) {
    switch (kind) {
    case qrsRoundRect:
    case qrsLeftDiagonal:
    case qrsRightDiagonal: return {};
    default: return ShapePrimitives(kind, r, 0);
    }
}

namespace {
void Draw(TCanvas& canvas, const std::vector<TQRShapePrimitive>& primitives) {
    for (const TQRShapePrimitive& p : primitives) {
        if (p.kind == TQRShapePrimitive::Rectangle) {
            canvas.Rectangle(p.r);
        } else if (p.kind == TQRShapePrimitive::Ellipse) {
            canvas.Ellipse(p.r);
        } else {
            canvas.MoveTo(p.r.Left, p.r.Top);
            canvas.LineTo(p.r.Right, p.r.Bottom);
        }
    }
}
}  // namespace

void TQRPDFShape::Publish(TPublisher<TQRPDFShape>& p) {
    p.Property(L"ShapeType", &TQRPDFShape::ShapeType, &TQRPDFShape::SetShapeType).Default(qrsRectangle);
    p.Property(L"VertAdjust", &TQRPDFShape::VertAdjust, &TQRPDFShape::SetVertAdjust).Default(0);
    p.Property(L"Brush", &TQRPDFShape::Brush);
    p.Property(L"Pen", &TQRPDFShape::Pen);
}

TQRPDFShape::TQRPDFShape(TComponent* owner)
    : TQRPrintable(owner), brush_(std::make_unique<TBrush>()), pen_(std::make_unique<TPen>()) {
    brush_->OnChange = TNotifyEvent(this, &TQRPDFShape::StyleChanged);
    pen_->OnChange = TNotifyEvent(this, &TQRPDFShape::StyleChanged);
    SetBounds(Left(), Top(), 100, 10);
}

TQRPDFShape::~TQRPDFShape() = default;

void TQRPDFShape::SetShapeType(TQRShapeType value) {
    if (value == shapeType_) return;
    shapeType_ = value;
    Invalidate();
}

void TQRPDFShape::PrintAt(int xOffset, int yOffset) {
    const auto [report, printer, x, y, w, h] = PlacedBox(*this, xOffset, yOffset);
    if (printer == nullptr) return;
    // The shape goes to the PDF writer alone; the HTML page has no counterpart for it.
    auto* pdf = dynamic_cast<TQRPDFDocumentFilter*>(report->ExportFilter());
    if (pdf != nullptr && Enabled()) pdf->PlaceGraphic(this, printer->ToDeviceX(x), printer->ToDeviceY(y));
    if (!report->CanvasOutput() || !Enabled() || printer->PageCanvas() == nullptr) return;
    TCanvas& canvas = *printer->PageCanvas();
    canvas.SetPen(*pen_);
    canvas.SetBrush(*brush_);
    const TRect r = Rect(printer->ToDeviceX(x), printer->ToDeviceY(y), printer->ToDeviceX(x + w), printer->ToDeviceY(y + h));
    Draw(canvas, PDFShapePrimitives(shapeType_, r));
}

void TQRPDFShape::Paint() {
    TCanvas& canvas = Canvas();
    canvas.SetPen(*pen_);
    canvas.SetBrush(*brush_);
    const int w = Width(), h = Height(), pen = pen_->Width();
    switch (shapeType_) {
    case qrsRectangle: canvas.Rectangle(Rect(pen, pen, w, h)); break;
    case qrsCircle: canvas.Ellipse(Rect(0, 0, w, h)); break;
    default: Draw(canvas, PDFShapePrimitives(shapeType_, Rect(0, 0, w - (shapeType_ == qrsRightAndLeft ? 1 : 0),
                                                              h - (shapeType_ == qrsTopAndBottom ? 1 : 0)))); break;
    }
}
