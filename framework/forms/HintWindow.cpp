#include "framework/forms/HintWindow.h"

#include <algorithm>

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
    TControl::SetVisible(false);
    SetColor(clInfoBk);
    Font()->SetColor(clInfoText);
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
        Font()->SetName(ncm.lfStatusFont.lfFaceName);
        Font()->SetHeight(ncm.lfStatusFont.lfHeight);
    }
}

THintWindow::~THintWindow() = default;

void THintWindow::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    params.ClassStyle |= CS_SAVEBITS;
    params.WndParent = nullptr;
}

namespace {
// Room between the text and the window's frame.
const int kPaddingX = 2;
const int kPaddingY = 1;
}  // namespace

// The window's size follows from the text's real extent (full line height, descenders included)
// plus the padding and the frame that the window's own styles give it.
TRect THintWindow::CalcHintRect(int maxWidth, const String& hint) {
    const HWND h = Handle();
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE)));
    const int frameWidth = frame.right - frame.left;
    const int frameHeight = frame.bottom - frame.top;
    RECT text{0, 0, std::max(maxWidth - frameWidth - 2 * kPaddingX, 1), 0};
    {
        const auto screen = ScreenDC();
        SelectionGuard font(screen.get(), Font()->Handle());
        DrawTextW(screen.get(), hint.c_str(), static_cast<int>(hint.size()), &text,
                  DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    }
    return Rect(0, 0, text.right + 2 * kPaddingX + frameWidth, text.bottom + 2 * kPaddingY + frameHeight);
}

void THintWindow::ActivateHint(TRect rect, const String& hint) {
    SetText(hint);
    HWND h = Handle();
    SetWindowPos(h, HWND_TOPMOST, rect.Left, rect.Top, rect.Width(), rect.Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    active_ = true;
    InvalidateRect(h, nullptr, TRUE);
    UpdateWindow(h);
}

void THintWindow::ReleaseHint() {
    if (HWND h = HandleIfAllocated()) ShowWindow(h, SW_HIDE);
    active_ = false;
}

void THintWindow::Paint() {
    TCanvas& canvas = Canvas();
    TRect r = ClientRect();
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
    HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    SelectionGuard font(dc, Font()->Handle());
    RECT text{r.Left + kPaddingX, r.Top + kPaddingY, r.Right - kPaddingX, r.Bottom - kPaddingY};
    String hint = Text();
    DrawTextW(dc, hint.c_str(), static_cast<int>(hint.size()), &text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

void THintWindow::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_NCHITTEST: message.Result = HTTRANSPARENT; return;
    case WM_MOUSEACTIVATE: message.Result = MA_NOACTIVATE; return;
    default: TCustomControl::WndProc(message);
    }
}
