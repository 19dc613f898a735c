#include "framework/controls/SpeedButton.h"

namespace {

void Edge(TCanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight) {
    canvas.Pen().SetColor(topLeft);
    canvas.Polyline({Point(r.Left, r.Bottom - 1), Point(r.Left, r.Top), Point(r.Right - 1, r.Top)});
    canvas.Pen().SetColor(bottomRight);
    canvas.Polyline({Point(r.Right - 1, r.Top), Point(r.Right - 1, r.Bottom - 1), Point(r.Left - 1, r.Bottom - 1)});
}

}  // namespace

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
    SetBounds(0, 0, 23, 22);
}

void TSpeedButton::Publish(TPublisher<TSpeedButton>& p) {
    p.Property(L"Caption", &TSpeedButton::Caption, &TSpeedButton::SetCaption);
    p.Property(L"Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false);
}

void TSpeedButton::SetFlat(bool value) {
    flat_ = value;
    Invalidate();
}

void TSpeedButton::SetText(const String& text) {
    TGraphicControl::SetText(text);
    Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && Enabled()) {
        pressed_ = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (pressed_) {
        pressed_ = false;
        Invalidate();
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        hot_ = message.Msg == CM_MOUSEENTER && Enabled();
        Invalidate();
        break;
    case CM_ENABLEDCHANGED:
        if (!Enabled()) hot_ = pressed_ = false;
        Invalidate();
        break;
    case CM_FONTCHANGED: Invalidate(); break;
    default: break;
    }
    TGraphicControl::WndProc(message);
}

void TSpeedButton::Paint() {
    TCanvas& canvas = Canvas();
    const TRect r = ClientRect();
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(r);
    const bool sunken = pressed_ && hot_;
    if (sunken)
        Edge(canvas, r, clBtnShadow, clBtnHighlight);
    else if (!flat_ || hot_)
        Edge(canvas, r, clBtnHighlight, clBtnShadow);
    if (!flat_ && !sunken) Edge(canvas, Rect(r.Left - 1, r.Top - 1, r.Right, r.Bottom), clBtnFace, clBlack);

    // The caption, centred; "&" marks the accelerator as in every button caption.
    canvas.SetFont(*Font());
    const String text = Caption();
    RECT box{r.Left, r.Top, r.Right, r.Bottom};
    if (sunken) OffsetRect(&box, 1, 1);
    const HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (Enabled()) {
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
    } else {
        OffsetRect(&box, 1, 1);
        SetTextColor(dc, ColorToRGB(clBtnHighlight));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
        OffsetRect(&box, -1, -1);
        SetTextColor(dc, ColorToRGB(clBtnShadow));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
    }
}
