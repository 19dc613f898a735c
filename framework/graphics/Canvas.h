// A drawing surface over a device context. The DC is obtained lazily through CreateHandle
// (bitmaps, metafiles, printers supply their own) or bound from outside with SetHandle.
#pragma once

#include <vector>

#include "framework/graphics/Geometry.h"
#include "framework/graphics/GraphicsObjects.h"
#include "framework/rtl/SyncObjs.h"
#include "framework/rtl/WinApi.h"

class TGraphic;

class TCanvas : public TObject {
public:
    TCanvas();
    ~TCanvas() override;
    String ClassName() const override { return L"TCanvas"; }

    // The DC, created on first use. Drawing without a DC raises EInvalidOperation.
    HDC Handle();
    // Binds a DC owned by someone else (0 unbinds); pen, brush and font are selected into it on use.
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return handle_ != nullptr; }

    TFont& Font() { return font_; }
    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    void SetFont(const TFont& font) { font_.Assign(font); }
    void SetPen(const TPen& pen) { pen_.Assign(pen); }
    void SetBrush(const TBrush& brush) { brush_.Assign(brush); }

    TPoint PenPos();
    void SetPenPos(TPoint pos) { MoveTo(pos.X, pos.Y); }
    int CopyMode() const { return copyMode_; }  // raster operation for CopyRect and Draw
    void SetCopyMode(int rop) { copyMode_ = rop; }

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const std::vector<TPoint>& points);
    void Polygon(const std::vector<TPoint>& points);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void FillRect(const TRect& r);   // with the brush, no outline
    void FrameRect(const TRect& r);  // one-pixel border with the brush

    void TextOut(int x, int y, const String& text);  // moves the pen to the end of the text
    void TextRect(const TRect& clip, int x, int y, const String& text);
    TPoint TextExtent(const String& text);  // X = width, Y = height
    int TextWidth(const String& text) { return TextExtent(text).X; }
    int TextHeight(const String& text) { return TextExtent(text).Y; }

    void Draw(int x, int y, TGraphic& graphic);
    void StretchDraw(const TRect& r, TGraphic& graphic);
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);

    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);

    // Serialises drawing from several threads; calls nest.
    void Lock() { lock_.Enter(); ++lockCount_; }
    void Unlock() { --lockCount_; lock_.Leave(); }
    int LockCount() const { return lockCount_; }
    // Selects the stock objects back into the DC; pen, brush and font are selected again on next use
    // (needed when the device resets the DC, e.g. at a new page).
    void Refresh() { DeselectHandles(); }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

    // Called around each drawing operation; graphics use it to learn that their image changed.
    void Changing() { if (OnChanging) OnChanging(this); }
    void Changed() { if (OnChange) OnChange(this); }

protected:
    enum StateBit : unsigned { HandleValid = 1, PenValid = 2, BrushValid = 4, FontValid = 8 };
    // Subclasses obtain their DC here and bind it with SetHandle.
    virtual void CreateHandle() {}
    void RequireState(unsigned state);
    void DeselectHandles();

private:
    void FontChanged(TObject* sender);
    void PenChanged(TObject* sender);
    void BrushChanged(TObject* sender);
    void SelectFont();
    void SelectPen();
    void SelectBrush();

    HDC handle_ = nullptr;
    unsigned state_ = 0;
    TFont font_;
    TPen pen_;
    TBrush brush_;
    TPoint penPos_;
    int copyMode_ = SRCCOPY;
    TCriticalSection lock_;
    int lockCount_ = 0;
};

// Scope guard for TCanvas::Lock/Unlock.
class TCanvasLock {
public:
    explicit TCanvasLock(TCanvas& canvas) : canvas_(canvas) { canvas_.Lock(); }
    ~TCanvasLock() { canvas_.Unlock(); }
    TCanvasLock(const TCanvasLock&) = delete;
    TCanvasLock& operator=(const TCanvasLock&) = delete;

private:
    TCanvas& canvas_;
};
