// The harness itself: a real window appears on the private display and its pixels can be read
// back from the screen, which every GUI test relies on.
#include "framework/rtl/WinApi.h"

#include <gtest/gtest.h>

namespace {

const COLORREF kFill = RGB(200, 30, 60);

LRESULT CALLBACK FillProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(window, &r);
        HBRUSH brush = CreateSolidBrush(kFill);
        FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
        DeleteObject(brush);
        return 1;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

TEST(Harness, WindowPixelsCanBeReadFromTheScreen)
{
    WNDCLASSW cls{};
    cls.lpfnWndProc = FillProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"HarnessSmokeWindow";
    ASSERT_NE(RegisterClassW(&cls), 0);

    HWND window = CreateWindowExW(WS_EX_TOPMOST, cls.lpszClassName, L"smoke", WS_POPUP | WS_VISIBLE,
                                  100, 120, 60, 40, nullptr, nullptr, cls.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    UpdateWindow(window);
    for (int i = 0; i < 20; ++i) {
        PumpMessages();
        Sleep(10);
    }

    HDC screen = GetDC(nullptr);
    const COLORREF inside = GetPixel(screen, 130, 140);
    const COLORREF outside = GetPixel(screen, 20, 20);
    ReleaseDC(nullptr, screen);
    DestroyWindow(window);
    UnregisterClassW(cls.lpszClassName, cls.hInstance);

    EXPECT_EQ(inside, kFill);
    EXPECT_NE(outside, kFill);
}
