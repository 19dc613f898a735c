// TQRFrame: the frame lines of a band, a report or a printable.
//
// PaintFrame fills a bar per side that is on, as thick as Width points at the canvas's factors,
// and while the frame's report is exporting hands the same lines to the export filter as
// temporary shapes: the printable's background first (when it is opaque), then one rectangle
// when all four sides are on, or one line per side. A side of Width 0 prints nothing and exports
// nothing. Errors of the filter propagate: an export that fails fails visibly.
#pragma once

#include "framework/classes/Persistent.h"
#include "framework/classes/Properties.h"
#include "framework/graphics/Canvas.h"

class TControl;
class IQRReport;

class TQRFrame : public TPersistent {
    FV_CLASS(TQRFrame, TPersistent)
public:
    enum Side { sTop, sBottom, sLeft, sRight };

    // parent: the control whose repaint the setters request (a printable, band or report).
    explicit TQRFrame(TControl* parent = nullptr) : parent_(parent) {}
    static void Publish(TPublisher<TQRFrame>& p);
    void Assign(const TPersistent* source) override;

    TColor Color() const { return color_; }
    void SetColor(TColor color) { AssignColor(color); }
    void AssignColor(TColor color);
    bool DrawSide(Side side) const { return sides_[side]; }
    void SetDrawSide(Side side, bool on);
    bool DrawTop() const { return sides_[sTop]; }
    void SetDrawTop(bool on) { SetDrawSide(sTop, on); }
    bool DrawBottom() const { return sides_[sBottom]; }
    void SetDrawBottom(bool on) { SetDrawSide(sBottom, on); }
    bool DrawLeft() const { return sides_[sLeft]; }
    void SetDrawLeft(bool on) { SetDrawSide(sLeft, on); }
    bool DrawRight() const { return sides_[sRight]; }
    void SetDrawRight(bool on) { SetDrawSide(sRight, on); }
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    // Points (1/72 inch); -1 is the thinnest line the device draws.
    int Width() const { return width_; }
    void SetWidth(int width);
    TControl* ParentControl() const { return parent_; }

    bool HasAnyLine() const { return sides_[sTop] || sides_[sBottom] || sides_[sLeft] || sides_[sRight]; }

    // Thickness in device units of the vertical (left, right) and horizontal (top, bottom)
    // lines at xFactor, yFactor device units per 0.1 mm.
    int VerticalThickness(Extended xFactor) const { return Thickness(xFactor); }
    int HorizontalThickness(Extended yFactor) const { return Thickness(yFactor); }

    // rect in device units; xFactor, yFactor: device units per 0.1 mm.
    void PaintFrame(TCanvas& canvas, const TRect& rect, Extended xFactor, Extended yFactor);

private:
    int Thickness(Extended factor) const;
    void ExportFrame(const TRect& rect, int v, int h);
    void Changed();

    TControl* parent_;
    TColor color_ = clBlack;
    bool sides_[4] = {};
    TPenStyle style_ = psSolid;
    int width_ = 1;
};
