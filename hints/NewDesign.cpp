#include "hints/NewDesign.h"

#include "framework/forms/Application.h"
#include "hints/HintDesign.h"
#include "hints/HintRenderer.h"

TNewDesign::TNewDesign(TComponent* owner) : THintWindow(owner) {}

TNewDesign::~TNewDesign() = default;

void TNewDesign::CreateParams(TCreateParams& params) {
    THintWindow::CreateParams(params);
    params.Style = WS_POPUP;
    params.ClassStyle = CS_SAVEBITS;
}

THintDesign* TNewDesign::FindHintDesign() {
    TCustomForm* form = Application().MainForm();
    if (form == nullptr) return nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* design = dynamic_cast<THintDesign*>(form->Components(i))) return design;
    return nullptr;
}

// The screen under the old hint must show again before it is copied for the new one: the
// windows there repaint now, not when their messages come round (a hint hidden a moment ago
// may not have been painted over yet either).
void TNewDesign::HidePrevious() {
    const HWND h = HandleIfAllocated();
    if (h != nullptr && IsWindowVisible(h)) {
        SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_HIDEWINDOW);
    }
    if (shown_.IsEmpty()) return;
    const RECT old{shown_.Left, shown_.Top, shown_.Right, shown_.Bottom};
    RedrawWindow(nullptr, &old, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    shown_ = TRect{};
}

void TNewDesign::ActivateHint(TRect rect, const String& hint) {
    HidePrevious();
    POINT cursor{};
    GetCursorPos(&cursor);
    const THintDesign* design = FindHintDesign();
    if (design == nullptr) {
        image_.reset();
        THintWindow::ActivateHint(rect, hint);
        return;
    }
    THintSizeRequest request;
    request.Style = design->HintStyle();
    request.Link = design->LinkStyle();
    request.Border = design->Border();
    request.Shadow = design->Shadow();
    request.ShadowWidth = design->ShadowWidth();
    request.TextRect = rect;
    request.TextLength = static_cast<int>(hint.size());
    request.PictureWidth = design->Picture()->Width();
    request.PictureHeight = design->Picture()->Height();
    const THintSize size = HintWindowSize(request);
    // The designed corner stays as it is: each hint starts from it.
    const THintPlace place = PlaceHint(design->Position(), Point(cursor.x, cursor.y), size.Width, size.Height,
                                       Screen().Width(), Screen().Height());
    corner_ = place.Corner;
    x_ = place.X;
    y_ = place.Y;
    image_ = DrawOverScreen(*design, size, hint);
    shown_ = Bounds(x_, y_, size.Width, size.Height);
    THintWindow::ActivateHint(shown_, hint);
}

std::unique_ptr<TBitmap> TNewDesign::DrawOverScreen(const THintDesign& design, const THintSize& size,
                                                    const String& hint) {
    auto image = std::make_unique<TBitmap>(size.Width, size.Height, pf24bit);
    HDC dc = image->Canvas().Handle();
    {
        const auto screen = ScreenDC();
        BitBlt(dc, 0, 0, size.Width, size.Height, screen.get(), x_, y_, SRCCOPY);
    }
    // The picture styles draw a bitmap; a picture of another kind is drawn into one first.
    std::unique_ptr<TBitmap> picture;
    if (TGraphic* graphic = design.Picture()->Graphic(); graphic != nullptr && !graphic->Empty()) {
        picture = std::make_unique<TBitmap>(graphic->Width(), graphic->Height(), pf24bit);
        picture->Canvas().Draw(0, 0, *graphic);
    }
    const TFont& font = *design.Font();
    THintDrawing drawing;
    drawing.FontColor = font.Color();
    drawing.FontSize = font.Size();
    drawing.FontStyle = font.Style();
    drawing.FontName = font.Name();
    drawing.Width = size.Width;
    drawing.Height = size.Height;
    drawing.TextHeight = size.TextHeight;
    drawing.Color = design.Color();
    drawing.Text = hint;
    drawing.Corner = corner_;
    drawing.Style = design.HintStyle();
    drawing.Link = size.Link;
    drawing.LinkHeight = size.LinkHeight;
    drawing.Shadow = design.Shadow();
    drawing.ShadowQuality = design.ShadowQuality();
    drawing.ShadowWidth = design.ShadowWidth();
    drawing.ShadowIntensity = design.ShadowIntensity();
    drawing.Picture = picture ? picture->Handle() : nullptr;
    drawing.Border = design.Border();
    drawing.BorderColor = design.BorderColor();
    DrawStyledHint(dc, drawing);
    GdiFlush();
    return image;
}

void TNewDesign::Paint() {
    if (!image_) {
        THintWindow::Paint();
        // The plain hint's frame: this window has no border of its own.
        const UniqueBrush frame(CreateSolidBrush(ColorToRGB(clInfoText)));
        const TRect r = ClientRect();
        RECT all{r.Left, r.Top, r.Right, r.Bottom};
        FrameRect(Canvas().Handle(), &all, frame.get());
        return;
    }
    BitBlt(Canvas().Handle(), 0, 0, image_->Width(), image_->Height(), image_->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TNewDesign::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_NCPAINT: message.Result = 0; return;
    case WM_ERASEBKGND:
        // Painting covers every pixel; erasing first would only flicker.
        if (image_) {
            message.Result = 1;
            return;
        }
        break;
    default: break;
    }
    THintWindow::WndProc(message);
}
