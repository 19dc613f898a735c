// TQRShape: a rectangle, ellipse or line drawn with a pen and a brush. The engine also hands
// temporary shapes to export filters for frames and backgrounds (QRFrame.h); here the shape holds
// what a filter reads of it, its kind, pen, brush and bounds.
#pragma once

#include <memory>
#include <vector>

#include "report/printables/QRPrintable.h"

FV_ENUM(TQRShapeType, qrsRectangle, qrsCircle, qrsVertLine, qrsHorLine, qrsTopAndBottom, qrsRightAndLeft,
        qrsRoundRect, qrsLeftDiagonal, qrsRightDiagonal)

// One drawing call of a shape on a page, in device units.
struct TQRShapePrimitive {
    enum Kind { Line, Rectangle, Ellipse, RoundRect } kind;
    TRect r;         // a line runs from (Left, Top) to (Right, Bottom)
    int corner = 0;  // corner ellipse width and height of a rounded rectangle
    bool operator==(const TQRShapePrimitive&) const = default;
};

// What a shape of the kind draws into the device rectangle r (its lines through the middle for
// the line kinds); corner: the rounded rectangle's corner size in device units.
std::vector<TQRShapePrimitive> ShapePrimitives(TQRShapeType kind, const TRect& r, int corner);

class TQRShape : public TQRPrintable {
    FV_CLASS(TQRShape, TQRPrintable)
public:
    explicit TQRShape(TComponent* owner);
    ~TQRShape() override;
    static void Publish(TPublisher<TQRShape>& p);

    void PrintAt(int xOffset, int yOffset) override;

    TQRShapeType Shape() const { return shape_; }
    void SetShape(TQRShapeType shape);
    TBrush* Brush() const { return brush_.get(); }
    TPen* Pen() const { return pen_.get(); }
    float RoundFactor() const { return roundFactor_; }
    void SetRoundFactor(float factor);
    int VertAdjust() const { return vertAdjust_; }
    void SetVertAdjust(int value) { vertAdjust_ = value; }

protected:
    void Paint() override;

private:
    void StyleChanged(TObject*) { Invalidate(); }

    TQRShapeType shape_ = qrsRectangle;
    std::unique_ptr<TBrush> brush_;
    std::unique_ptr<TPen> pen_;
    float roundFactor_ = 0;
    int vertAdjust_ = 0;
};
