// TQRPDFShape: a shape drawn on the page like the engine's, which only the PDF writer takes as a
// drawing of its own; rounded rectangles and diagonals print nothing.
#pragma once

#include <memory>
#include <vector>

#include "report/printables/QRShape.h"

// What the shape kind prints into the device rectangle r.
std::vector<TQRShapePrimitive> PDFShapePrimitives(TQRShapeType kind, const TRect& r);

class TQRPDFShape : public TQRPrintable {
    FV_CLASS(TQRPDFShape, TQRPrintable)
public:
    explicit TQRPDFShape(TComponent* owner);
    ~TQRPDFShape() override;
    static void Publish(TPublisher<TQRPDFShape>& p);

    void PrintAt(int xOffset, int yOffset) override;

    TQRShapeType ShapeType() const { return shapeType_; }
    void SetShapeType(TQRShapeType value);
    int VertAdjust() const { return vertAdjust_; }
    void SetVertAdjust(int value) { vertAdjust_ = value; }
    TBrush* Brush() const { return brush_.get(); }
    void SetBrush(const TBrush* value) { brush_->Assign(value); }
    TPen* Pen() const { return pen_.get(); }
    void SetPen(const TPen* value) { pen_->Assign(value); }

protected:
    void Paint() override;

private:
    void StyleChanged(TObject*) { Invalidate(); }

    TQRShapeType shapeType_ = qrsRectangle;
    int vertAdjust_ = 0;
    std::unique_ptr<TBrush> brush_;
    std::unique_ptr<TPen> pen_;
};
