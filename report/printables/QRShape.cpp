#include "report/printables/QRShape.h"

void TQRShape::Publish(TPublisher<TQRShape>& p) {
    p.Property(L"Shape", &TQRShape::Shape, &TQRShape::SetShape).Default(qrsRectangle);
    p.Property(L"Brush", &TQRShape::Brush);
    p.Property(L"Pen", &TQRShape::Pen);
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
