#include "framework/graphics/Canvas.h"

#include "framework/graphics/Graphic.h"

namespace {
const POINT* AsPoints(const std::vector<TPoint>& points) {
    static_assert(sizeof(TPoint) == sizeof(POINT));
    return reinterpret_cast<const POINT*>(points.data());
}

// Runs Changing before and Changed after a drawing operation.
class ChangeScope {
public:
    explicit ChangeScope(TCanvas& canvas) : canvas_(canvas) { canvas_.Changing(); }
    ~ChangeScope() { canvas_.Changed(); }
    ChangeScope(const ChangeScope&) = delete;
    ChangeScope& operator=(const ChangeScope&) = delete;

private:
    TCanvas& canvas_;
};
}  // namespace

TCanvas::TCanvas() {
    font_.OnChange = TNotifyEvent(this, &TCanvas::FontChanged);
    pen_.OnChange = TNotifyEvent(this, &TCanvas::PenChanged);
    brush_.OnChange = TNotifyEvent(this, &TCanvas::BrushChanged);
}

TCanvas::~TCanvas() {
    // The DC belongs to whoever bound it; give it back clean.
    DeselectHandles();
}

HDC TCanvas::Handle() {
    RequireState(HandleValid);
    return handle_;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == handle_) return;
    if (handle_) DeselectHandles();
    handle_ = dc;
    state_ = dc ? unsigned{HandleValid} : 0u;
    if (dc) MoveToEx(dc, penPos_.X, penPos_.Y, nullptr);
}

void TCanvas::RequireState(unsigned state) {
    unsigned needed = state & ~state_;
    if (!needed) return;
    if (needed & HandleValid) {
        CreateHandle();
        if (!handle_) throw EInvalidOperation(L"Canvas does not allow drawing");
    }
    if (needed & FontValid) SelectFont();
    if (needed & PenValid) SelectPen();
    if (needed & BrushValid) SelectBrush();
}

void TCanvas::DeselectHandles() {
    if (handle_ && (state_ & (PenValid | BrushValid | FontValid))) {
        SelectObject(handle_, GetStockObject(BLACK_PEN));
        SelectObject(handle_, GetStockObject(HOLLOW_BRUSH));
        SelectObject(handle_, GetStockObject(SYSTEM_FONT));
    }
    state_ &= ~(PenValid | BrushValid | FontValid);
}

void TCanvas::SelectFont() {
    SelectObject(handle_, font_.Handle());
    SetTextColor(handle_, ColorToRGB(font_.Color()));
    state_ |= FontValid;
}

void TCanvas::SelectPen() {
    SelectObject(handle_, pen_.Handle());
    SetROP2(handle_, pen_.Rop2());
    state_ |= PenValid;
}

void TCanvas::SelectBrush() {
    HBRUSH brush = brush_.Handle();
    UnrealizeObject(brush);
    SelectObject(handle_, brush);
    if (brush_.Style() == bsSolid) {
        SetBkColor(handle_, ColorToRGB(brush_.Color()));
        SetBkMode(handle_, OPAQUE);
    } else {
        // Hatch gaps and text backgrounds stay see-through.
        SetBkColor(handle_, ~ColorToRGB(brush_.Color()) & 0xFFFFFF);
        SetBkMode(handle_, TRANSPARENT);
    }
    state_ |= BrushValid;
}

// The object is deselected before its old handle is freed (TGraphicsObject::Changed order).
void TCanvas::FontChanged(TObject*) {
    if (handle_ && (state_ & FontValid)) SelectObject(handle_, GetStockObject(SYSTEM_FONT));
    state_ &= ~FontValid;
}

void TCanvas::PenChanged(TObject*) {
    if (handle_ && (state_ & PenValid)) SelectObject(handle_, GetStockObject(BLACK_PEN));
    state_ &= ~PenValid;
}

void TCanvas::BrushChanged(TObject*) {
    if (handle_ && (state_ & BrushValid)) SelectObject(handle_, GetStockObject(HOLLOW_BRUSH));
    state_ &= ~BrushValid;
}

TPoint TCanvas::PenPos() {
    if (handle_) {
        POINT p{};
        GetCurrentPositionEx(handle_, &p);
        penPos_ = {p.x, p.y};
    }
    return penPos_;
}

void TCanvas::MoveTo(int x, int y) {
    RequireState(HandleValid);
    MoveToEx(handle_, x, y, nullptr);
    penPos_ = {x, y};
}

void TCanvas::LineTo(int x, int y) {
    ChangeScope scope(*this);
    RequireState(HandleValid | PenValid | BrushValid);
    ::LineTo(handle_, x, y);
    penPos_ = {x, y};
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
    if (points.empty()) return;
    ChangeScope scope(*this);
    RequireState(HandleValid | PenValid | BrushValid);
    ::Polyline(handle_, AsPoints(points), static_cast<int>(points.size()));
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
    if (points.empty()) return;
    ChangeScope scope(*this);
    RequireState(HandleValid | PenValid | BrushValid);
    ::Polygon(handle_, AsPoints(points), static_cast<int>(points.size()));
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    ChangeScope scope(*this);
    RequireState(HandleValid | PenValid | BrushValid);
    ::Rectangle(handle_, x1, y1, x2, y2);
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
    ChangeScope scope(*this);
    RequireState(HandleValid | PenValid | BrushValid);
    ::RoundRect(handle_, x1, y1, x2, y2, cornerWidth, cornerHeight);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    ChangeScope scope(*this);
    RequireState(HandleValid | PenValid | BrushValid);
    ::Ellipse(handle_, x1, y1, x2, y2);
}

void TCanvas::FillRect(const TRect& r) {
    ChangeScope scope(*this);
    RequireState(HandleValid | BrushValid);
    RECT rc{r.Left, r.Top, r.Right, r.Bottom};
    ::FillRect(handle_, &rc, brush_.Handle());
}

void TCanvas::FrameRect(const TRect& r) {
    ChangeScope scope(*this);
    RequireState(HandleValid | BrushValid);
    RECT rc{r.Left, r.Top, r.Right, r.Bottom};
    ::FrameRect(handle_, &rc, brush_.Handle());
}

void TCanvas::TextOut(int x, int y, const String& text) {
    ChangeScope scope(*this);
    RequireState(HandleValid | FontValid | BrushValid);
    ExtTextOutW(handle_, x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    SIZE size{};
    GetTextExtentPoint32W(handle_, text.c_str(), static_cast<int>(text.size()), &size);
    MoveTo(x + size.cx, y);
}

void TCanvas::TextRect(const TRect& clip, int x, int y, const String& text) {
    ChangeScope scope(*this);
    RequireState(HandleValid | FontValid | BrushValid);
    RECT rc{clip.Left, clip.Top, clip.Right, clip.Bottom};
    UINT options = ETO_CLIPPED | (brush_.Style() == bsSolid ? ETO_OPAQUE : 0);
    ExtTextOutW(handle_, x, y, options, &rc, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

TPoint TCanvas::TextExtent(const String& text) {
    RequireState(HandleValid | FontValid);
    SIZE size{};
    GetTextExtentPoint32W(handle_, text.c_str(), static_cast<int>(text.size()), &size);
    return {size.cx, size.cy};
}

void TCanvas::Draw(int x, int y, TGraphic& graphic) {
    if (graphic.Empty()) return;
    StretchDraw(Bounds(x, y, graphic.Width(), graphic.Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& r, TGraphic& graphic) {
    if (graphic.Empty()) return;
    ChangeScope scope(*this);
    RequireState(HandleValid);
    graphic.Draw(*this, r);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
    ChangeScope scope(*this);
    RequireState(HandleValid | BrushValid);
    HDC src = source.Handle();
    SetStretchBltMode(handle_, COLORONCOLOR);
    StretchBlt(handle_, dest.Left, dest.Top, dest.Width(), dest.Height(), src, sourceRect.Left, sourceRect.Top,
               sourceRect.Width(), sourceRect.Height(), copyMode_);
}

TColor TCanvas::Pixels(int x, int y) {
    RequireState(HandleValid);
    return static_cast<TColor>(GetPixel(handle_, x, y));
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    ChangeScope scope(*this);
    RequireState(HandleValid | PenValid);
    ::SetPixel(handle_, x, y, ColorToRGB(color));
}
