#include "framework/controls/ExtCtrls.h"

#include <algorithm>

#include "framework/controls/ControlDrawing.h"
#include "framework/graphics/Graphic.h"

namespace {

// A one-pixel 3-D frame: topLeft on the top and left edges, bottomRight on the others.
void Frame3D(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight, int width) {
    for (int i = 0; i < width; ++i) {
        canvas.Pen().SetColor(topLeft);
        canvas.Polyline({Point(r.Left, r.Bottom - 1), Point(r.Left, r.Top), Point(r.Right - 1, r.Top)});
        canvas.Pen().SetColor(bottomRight);
        canvas.Polyline({Point(r.Right - 1, r.Top), Point(r.Right - 1, r.Bottom - 1), Point(r.Left - 1, r.Bottom - 1)});
        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    }
}

void PanelEdge(TCanvas& canvas, TRect& r, TPanelBevel bevel, int width, TColor face) {
    switch (bevel) {
    case bvLowered: Frame3D(canvas, r, clBtnShadow, clBtnHighlight, width); break;
    case bvRaised: Frame3D(canvas, r, clBtnHighlight, clBtnShadow, width); break;
    case bvSpace: Frame3D(canvas, r, face, face, width); break;
    default: break;
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TPanel

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                                  csDoubleClicks});
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TPanel::Publish(TPublisher<TPanel>& p) {
    p.Property(L"Caption", &TPanel::Caption, &TPanel::SetCaption);
    p.Property(L"Alignment", &TPanel::Alignment, &TPanel::SetAlignment).Default(taCenter);
    p.Property(L"BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner).Default(bvNone);
    p.Property(L"BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter).Default(bvRaised);
    p.Property(L"BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Default(1);
    p.Property(L"BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth).Default(0);
}

void TPanel::SetBevelInner(TPanelBevel value) {
    bevelInner_ = value;
    Realign();
    Invalidate();
}

void TPanel::SetBevelOuter(TPanelBevel value) {
    bevelOuter_ = value;
    Realign();
    Invalidate();
}

void TPanel::SetBevelWidth(int value) {
    bevelWidth_ = std::max(value, 1);
    Realign();
    Invalidate();
}

void TPanel::SetBorderWidth(int value) {
    borderWidth_ = std::max(value, 0);
    Realign();
    Invalidate();
}

void TPanel::SetAlignment(TAlignment value) {
    alignment_ = value;
    Invalidate();
}

void TPanel::SetText(const String& text) {
    TCustomControl::SetText(text);
    Invalidate();
}

int TPanel::EdgeWidth() const {
    return borderWidth_ + (bevelOuter_ != bvNone ? bevelWidth_ : 0) + (bevelInner_ != bvNone ? bevelWidth_ : 0);
}

void TPanel::AlignControls(TRect& rect) {
    const int edge = EdgeWidth();
    rect = Rect(rect.Left + edge, rect.Top + edge, rect.Right - edge, rect.Bottom - edge);
    TCustomControl::AlignControls(rect);
}

void TPanel::Paint() {
    TCanvas& canvas = Canvas();
    TRect r = ClientRect();
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
    PanelEdge(canvas, r, bevelOuter_, bevelWidth_, Color());
    r = Rect(r.Left + borderWidth_, r.Top + borderWidth_, r.Right - borderWidth_, r.Bottom - borderWidth_);
    PanelEdge(canvas, r, bevelInner_, bevelWidth_, Color());
    const String caption = Caption();
    if (caption.empty()) return;
    canvas.SetFont(*Font());
    canvas.Brush().SetStyle(bsClear);
    const HDC dc = canvas.Handle();
    canvas.TextWidth(L"");  // selects the font
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
    RECT text{r.Left, r.Top, r.Right, r.Bottom};
    const UINT align = alignment_ == taLeftJustify ? DT_LEFT : alignment_ == taRightJustify ? DT_RIGHT : DT_CENTER;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | align);
}

// ---------------------------------------------------------------------------------------------
// TBevel

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

void TBevel::Publish(TPublisher<TBevel>& p) {
    p.Property(L"Shape", &TBevel::Shape, &TBevel::SetShape).Default(bsBox);
    p.Property(L"Style", &TBevel::Style, &TBevel::SetStyle).Default(bsLowered);
}

void TBevel::SetShape(TBevelShape value) {
    shape_ = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
    style_ = value;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas& canvas = Canvas();
    const TColor first = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
    const TColor second = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
    const int w = Width(), h = Height();
    auto line = [&canvas](TColor color, TPoint a, TPoint b) {
        canvas.Pen().SetColor(color);
        canvas.MoveTo(a.X, a.Y);
        canvas.LineTo(b.X, b.Y);
    };
    switch (shape_) {
    case bsBox: {
        TRect r = ClientRect();
        Frame3D(canvas, r, first, second, 1);
        break;
    }
    case bsFrame: {
        // Two offset rectangles give the etched look.
        TRect outer = Rect(0, 0, w - 1, h - 1);
        TRect inner = Rect(1, 1, w, h);
        canvas.Brush().SetStyle(bsClear);
        canvas.Pen().SetColor(second);
        canvas.Rectangle(inner);
        canvas.Pen().SetColor(first);
        canvas.Rectangle(outer);
        break;
    }
    case bsTopLine:
        line(first, Point(0, 0), Point(w, 0));
        line(second, Point(0, 1), Point(w, 1));
        break;
    case bsBottomLine:
        line(first, Point(0, h - 2), Point(w, h - 2));
        line(second, Point(0, h - 1), Point(w, h - 1));
        break;
    case bsLeftLine:
        line(first, Point(0, 0), Point(0, h));
        line(second, Point(1, 0), Point(1, h));
        break;
    case bsRightLine:
        line(first, Point(w - 2, 0), Point(w - 2, h));
        line(second, Point(w - 1, 0), Point(w - 1, h));
        break;
    case bsSpacer: break;
    }
}

// ---------------------------------------------------------------------------------------------
// TImage

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
    SetBounds(0, 0, 105, 105);
    picture_->OnChange = TNotifyEvent(this, &TImage::PictureChanged);
}

TImage::~TImage() { picture_->OnChange = nullptr; }

void TImage::Publish(TPublisher<TImage>& p) {
    p.Property(L"Picture", &TImage::Picture);
    p.Property(L"Stretch", &TImage::Stretch, &TImage::SetStretch).Default(false);
    p.Property(L"Center", &TImage::Center, &TImage::SetCenter).Default(false);
    p.Property(L"Proportional", &TImage::Proportional, &TImage::SetProportional).Default(false);
}

void TImage::SetStretch(bool value) {
    stretch_ = value;
    Invalidate();
}

void TImage::SetCenter(bool value) {
    center_ = value;
    Invalidate();
}

void TImage::SetProportional(bool value) {
    proportional_ = value;
    Invalidate();
}

void TImage::PictureChanged(TObject*) { Invalidate(); }

TRect TImage::DestRect() const {
    int w = picture_->Width(), h = picture_->Height();
    const int cw = Width(), ch = Height();
    if (stretch_ || (proportional_ && (w > cw || h > ch))) {
        if (proportional_ && w > 0 && h > 0) {
            if (static_cast<long long>(cw) * h > static_cast<long long>(ch) * w) {
                w = static_cast<int>(static_cast<long long>(w) * ch / h);
                h = ch;
            } else {
                h = static_cast<int>(static_cast<long long>(h) * cw / w);
                w = cw;
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    return center_ ? Bounds((cw - w) / 2, (ch - h) / 2, w, h) : Bounds(0, 0, w, h);
}

void TImage::Paint() {
    TGraphic* graphic = picture_->Graphic();
    if (graphic == nullptr || graphic->Empty()) return;
    Canvas().StretchDraw(DestRect(), *graphic);
}
