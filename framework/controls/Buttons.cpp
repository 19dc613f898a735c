#include "framework/controls/Buttons.h"

#include <algorithm>

#include "framework/controls/ControlDrawing.h"

namespace {

struct KindInfo {
    const wchar_t* Caption;
    TModalResult Result;
};

// Captions of the standard kinds, in the order of TBitBtnKind.
const KindInfo Kinds[] = {
    {L"", mrNone},          {L"OK", mrOk},      {L"Cancel", mrCancel}, {L"&Help", mrNone},
    {L"&Yes", mrYes},       {L"&No", mrNo},     {L"&Close", mrNone},   {L"Abort", mrAbort},
    {L"&Retry", mrRetry},   {L"&Ignore", mrIgnore}, {L"&All", mrAll},
};

// The marks of the OK and Cancel kinds: a green tick and a red cross, each beside a grey copy for
// the disabled button, on magenta (the bottom-left pixel, hence transparent).
void DrawKindGlyph(TBitmap& glyph, TBitBtnKind kind) {
    constexpr int Size = 18;
    glyph.SetSize(Size * 2, Size);
    const HDC dc = glyph.Canvas().Handle();
    UniqueBrush background(CreateSolidBrush(RGB(255, 0, 255)));
    RECT all{0, 0, Size * 2, Size};
    FillRect(dc, &all, background.get());
    for (int image = 0; image < 2; ++image) {
        const COLORREF ink = image == 1 ? RGB(128, 128, 128) : kind == bkOK ? RGB(0, 128, 0) : RGB(200, 0, 0);
        UniquePen pen(CreatePen(PS_SOLID, 3, ink));
        SelectionGuard selected(dc, pen.get());
        const int x = image * Size;
        if (kind == bkOK) {
            const POINT tick[] = {{x + 3, 9}, {x + 7, 13}, {x + 15, 4}};
            Polyline(dc, tick, 3);
        } else {
            const POINT down[] = {{x + 4, 4}, {x + 14, 14}};
            const POINT up[] = {{x + 14, 4}, {x + 4, 14}};
            Polyline(dc, down, 2);
            Polyline(dc, up, 2);
        }
    }
}

}  // namespace

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(std::make_unique<TBitmap>()) {
    glyph_->OnChange = TNotifyEvent(this, &TBitBtn::GlyphChanged);
}

TBitBtn::~TBitBtn() { glyph_->OnChange = nullptr; }

void TBitBtn::Publish(TPublisher<TBitBtn>& p) {
    p.Property(L"Kind", &TBitBtn::Kind, &TBitBtn::SetKind).Default(bkCustom);
    p.Property(L"Glyph", &TBitBtn::Glyph);
    p.Property(L"NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs).Default(1);
    p.Property(L"Layout", &TBitBtn::Layout, &TBitBtn::SetLayout).Default(blGlyphLeft);
    p.Property(L"Margin", &TBitBtn::Margin, &TBitBtn::SetMargin).Default(-1);
    p.Property(L"Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing).Default(4);
}

void TBitBtn::CreateParams(TCreateParams& params) {
    TButton::CreateParams(params);
    params.Style = (params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

// An owner-drawn button must keep BS_OWNERDRAW; the default frame is drawn by DrawButton.
void TBitBtn::SetButtonStyle(bool isDefault) {
    if (isDefault == isDefault_) return;
    isDefault_ = isDefault;
    Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind value) {
    kind_ = value;
    if (value == bkCustom) return;
    const KindInfo& info = Kinds[static_cast<int>(value)];
    SetCaption(info.Caption);
    SetModalResult(info.Result);
    if (value == bkOK || value == bkYes) SetDefault(true);
    if (value == bkCancel || value == bkNo) SetCancel(true);
    if (value == bkOK || value == bkCancel) {
        DrawKindGlyph(*glyph_, value);
        numGlyphs_ = 2;
        Invalidate();
    }
}

void TBitBtn::SetNumGlyphs(int value) {
    numGlyphs_ = std::clamp(value, 1, 4);
    Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout value) {
    layout_ = value;
    Invalidate();
}

void TBitBtn::SetMargin(int value) {
    margin_ = std::max(value, -1);
    Invalidate();
}

void TBitBtn::SetSpacing(int value) {
    spacing_ = std::max(value, -1);
    Invalidate();
}

void TBitBtn::DrawGlyph(HDC dc, int x, int y, int index) {
    const int w = glyph_->Width() / numGlyphs_, h = glyph_->Height();
    if (index >= numGlyphs_) index = 0;
    MemoryDC source(dc, w, h);
    BitBlt(source.Get(), 0, 0, w, h, glyph_->Canvas().Handle(), index * w, 0, SRCCOPY);
    const COLORREF transparent = GetPixel(glyph_->Canvas().Handle(), 0, h - 1);
    TransparentBlt(dc, x, y, w, h, source.Get(), 0, 0, w, h, transparent);
}

void TBitBtn::DrawButton(HDC dc, const TRect& rect, bool pressed, bool focused) {
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    if (isDefault_ || focused) {
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    const int shift = pressed ? 1 : 0;
    const bool hasGlyph = !glyph_->Empty();
    const int gw = hasGlyph ? glyph_->Width() / numGlyphs_ : 0, gh = hasGlyph ? glyph_->Height() : 0;

    const String caption = Caption();
    SelectionGuard font(dc, Font()->Handle());
    RECT textRect{0, 0, 0, 0};
    if (!caption.empty()) DrawTextW(dc, caption.c_str(), -1, &textRect, DT_SINGLELINE | DT_CALCRECT);
    const int tw = textRect.right, th = textRect.bottom;

    // Glyph and caption placed along the layout's axis, centred across it.
    const bool horizontal = layout_ == blGlyphLeft || layout_ == blGlyphRight;
    const int client = horizontal ? rect.Width() : rect.Height();
    const int glyphSize = horizontal ? gw : gh, textSize = horizontal ? tw : th;
    int spacing = (glyphSize == 0 || textSize == 0) ? 0 : spacing_;
    int margin = margin_;
    if (margin < 0) {
        if (spacing < 0) margin = spacing = (client - glyphSize - textSize) / 3;
        else margin = (client - glyphSize - spacing - textSize) / 2;
    } else if (spacing < 0) {
        spacing = (client - margin - glyphSize - textSize) / 2;
    }
    int glyphPos = margin, textPos = margin + glyphSize + spacing;
    if (layout_ == blGlyphRight || layout_ == blGlyphBottom) {
        glyphPos = client - margin - glyphSize;
        textPos = glyphPos - spacing - textSize;
    }
    TPoint glyphAt, textAt;
    if (horizontal) {
        glyphAt = Point(rect.Left + glyphPos, rect.Top + (rect.Height() - gh + 1) / 2);
        textAt = Point(rect.Left + textPos, rect.Top + (rect.Height() - th + 1) / 2);
    } else {
        glyphAt = Point(rect.Left + (rect.Width() - gw + 1) / 2, rect.Top + glyphPos);
        textAt = Point(rect.Left + (rect.Width() - tw + 1) / 2, rect.Top + textPos);
    }
    if (hasGlyph) DrawGlyph(dc, glyphAt.X + shift, glyphAt.Y + shift, Enabled() ? (pressed ? 2 : 0) : 1);
    if (!caption.empty()) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
        RECT tr{textAt.X + shift, textAt.Y + shift, textAt.X + shift + tw, textAt.Y + shift + th};
        DrawTextW(dc, caption.c_str(), -1, &tr, DT_SINGLELINE);
        if (focused) {
            InflateRect(&tr, 2, 2);
            DrawFocusRect(dc, &tr);
        }
    }
}

void TBitBtn::WndProc(TMessage& message) {
    if (message.Msg == CN_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
        SavedDCState saved(item->hDC);
        DrawButton(item->hDC, Rect(item->rcItem.left, item->rcItem.top, item->rcItem.right, item->rcItem.bottom),
                   (item->itemState & ODS_SELECTED) != 0, (item->itemState & ODS_FOCUS) != 0);
        message.Result = TRUE;
        return;
    }
    // Painting into a given DC (PaintTo, the skin engine) draws directly: the system button would
    // not reliably pass that DC on through WM_DRAWITEM.
    if (message.Msg == WM_PAINT && message.WParam != 0 && HandleAllocated()) {
        const HDC dc = reinterpret_cast<HDC>(message.WParam);
        SavedDCState saved(dc);
        const bool pressed = (SendMessageW(HandleIfAllocated(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
        DrawButton(dc, ClientRect(), pressed, Focused());
        message.Result = 0;
        return;
    }
    TButton::WndProc(message);
}
