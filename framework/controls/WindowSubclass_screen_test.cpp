#include "framework/controls/WindowSubclass.h"

#include <gtest/gtest.h>

#include <memory>

#include "framework/graphics/GdiHandles.h"
#include "testing/ControlTestSupport.h"
#include "testing/TestPixels.h"

namespace {

bool g_visibleDuringSetText = true;

LRESULT CALLBACK FrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTEXT) g_visibleDuringSetText = (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
    return DefWindowProcW(window, msg, wParam, lParam);
}

// A visible top-level window with a caption, in front and painted.
UniqueWindow ShowFramedWindow() {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = FrameProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SubclassTestFrame";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        return RegisterClassW(&wc);
    }();
    (void)atom;
    UniqueWindow window(CreateWindowExW(0, L"SubclassTestFrame", L"Currículo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60,
                                        60, 320, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    SetForegroundWindow(window.get());
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == window.get(); }))
        << "in front: " << DescribeWindow(GetForegroundWindow());
    RedrawWindow(window.get(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    return window;
}

// The caption bar, in window coordinates, less its ends (icon and buttons).
TRect CaptionMiddle(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    const int frame = GetSystemMetrics(SM_CYFRAME);
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    const int width = r.right - r.left;
    return TRect(width / 4, frame + 2, width * 3 / 4, frame + caption - 2);
}

// What the screen shows of the whole window, frame included.
std::unique_ptr<TBitmap> WindowImage(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    auto image = WhiteBitmap(r.right - r.left, r.bottom - r.top);
    const UniqueWindowDC dc = WindowDC(window);
    BitBlt(image->Canvas().Handle(), 0, 0, r.right - r.left, r.bottom - r.top, dc.get(), 0, 0, SRCCOPY);
    return image;
}

// Paints the middle of the caption black, as a skin's frame would cover it; returns how many of
// its pixels read black.
int BlackenCaption(HWND window) {
    const TRect middle = CaptionMiddle(window);
    {
        const UniqueWindowDC dc = WindowDC(window);
        RECT r{middle.Left, middle.Top, middle.Right, middle.Bottom};
        FillRect(dc.get(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    GdiFlush();
    auto image = WindowImage(window);
    return CountPixels(*image, middle, clBlack, 8);
}

int BlackInCaption(HWND window) {
    auto image = WindowImage(window);
    return CountPixels(*image, CaptionMiddle(window), clBlack, 8);
}

TEST(WindowSubclassScreen, PassedOnWithoutVisibleTheDefaultProcedurePaintsNoCaption) {
    UniqueWindow window = ShowFramedWindow();
    const TRect middle = CaptionMiddle(window.get());
    const int area = middle.Width() * middle.Height();

    // What the helper is for: the default procedure paints its caption on WM_SETTEXT.
    ASSERT_EQ(BlackenCaption(window.get()), area) << "the caption could not be painted over";
    SetWindowTextW(window.get(), L"Currículo de Ana");
    EXPECT_LT(BlackInCaption(window.get()), area / 2) << "WM_SETTEXT left the caption unpainted";

    TWindowSubclass subclass(window.get(), nullptr, [](TChainedMessage& m) {
        if (m.Msg == WM_SETTEXT) PassOnWithoutVisible(m);
        else m.PassOn();
    });
    ASSERT_EQ(BlackenCaption(window.get()), area);
    SetWindowTextW(window.get(), L"Currículo de Rui");
    EXPECT_FALSE(g_visibleDuringSetText);
    EXPECT_TRUE(IsWindowVisible(window.get()));
    EXPECT_EQ(BlackInCaption(window.get()), area) << "a caption was painted over the covered frame";
    wchar_t text[64] = {};
    GetWindowTextW(window.get(), text, 64);
    EXPECT_EQ(String(text), L"Currículo de Rui");
}

}  // namespace
