// TQRShape: a rectangle, ellipse or line drawn with a pen and a brush. The engine also hands
// temporary shapes to export filters for frames and backgrounds (QRFrame.h); here the shape holds
// what a filter reads of it, its kind, pen, brush and bounds.
#pragma once

#include <memory>

#include "report/printables/QRPrintable.h"

FV_ENUM(TQRShapeType, qrsRectangle, qrsCircle, qrsVertLine, qrsHorLine, qrsTopAndBottom, qrsRightAndLeft,
        qrsRoundRect, qrsLeftDiagonal, qrsRightDiagonal)

class TQRShape : public TQRPrintable {
    FV_CLASS(TQRShape, TQRPrintable)
public:
    explicit TQRShape(TComponent* owner);
    ~TQRShape() override;
    static void Publish(TPublisher<TQRShape>& p);

    TQRShapeType Shape() const { return shape_; }
    void SetShape(TQRShapeType shape);
    TBrush* Brush() const { return brush_.get(); }
    TPen* Pen() const { return pen_.get(); }

private:
    void StyleChanged(TObject*) { Invalidate(); }

    TQRShapeType shape_ = qrsRectangle;
    std::unique_ptr<TBrush> brush_;
    std::unique_ptr<TPen> pen_;
};
