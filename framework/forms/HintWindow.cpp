#include "framework/forms/HintWindow.h"

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

TRect THintWindow::CalcHintRect(int maxWidth, const String& hint) {
    const auto screen = ScreenDC();
    const UniqueDC dc(CreateCompatibleDC(screen.get()));
    RECT r{0, 0, maxWidth, 0};
    {
        SelectionGuard font(dc.get(), Font()->Handle());
        DrawTextW(dc.get(), hint.c_str(), static_cast<int>(hint.size()), &r,
                  DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    }
    return Rect(0, 0, r.right + 6, r.bottom + 2);
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
    RECT text{r.Left + 2, r.Top + 1, r.Right - 2, r.Bottom - 1};
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
