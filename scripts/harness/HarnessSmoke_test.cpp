// The harness itself: a real window appears on the private display and its pixels can be read
// back from the screen, which every GUI test relies on.
#include "framework/rtl/WinApi.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

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

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return pixel;
}

std::string Hex(COLORREF color)
{
    char text[16];
    snprintf(text, sizeof text, "0x%06lX", static_cast<unsigned long>(color));
    return text;
}

// The window under a screen point: class and text, for a failure message.
std::string WindowAt(int x, int y)
{
    HWND window = WindowFromPoint(POINT{x, y});
    if (window == nullptr) return "no window";
    char name[128] = {}, text[128] = {};
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, text, sizeof text);
    return std::string("window of class \"") + name + "\" titled \"" + text + "\"";
}

}  // namespace

TEST(Harness, WindowPixelsCanBeReadFromTheScreen)
{
    WNDCLASSW cls{};
    cls.lpfnWndProc = FillProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"HarnessSmokeWindow";
    ASSERT_NE(RegisterClassW(&cls), 0) << "RegisterClass failed, error " << GetLastError();

    HWND window = CreateWindowExW(WS_EX_TOPMOST, cls.lpszClassName, L"smoke", WS_POPUP | WS_VISIBLE,
                                  100, 120, 60, 40, nullptr, nullptr, cls.hInstance, nullptr);
    ASSERT_NE(window, nullptr) << "CreateWindowEx failed, error " << GetLastError();
    UpdateWindow(window);

    // The window reaches the screen once it is mapped and painted: wait for that, with a bound.
    COLORREF inside = CLR_INVALID;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    do {
        PumpMessages();
        inside = ScreenPixel(130, 140);
        if (inside == kFill) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (std::chrono::steady_clock::now() < end);
    const COLORREF outside = ScreenPixel(20, 20);
    const std::string under = WindowAt(130, 140);
    const BOOL visible = IsWindowVisible(window);
    DestroyWindow(window);
    UnregisterClassW(cls.lpszClassName, cls.hInstance);

    EXPECT_EQ(inside, kFill) << "screen pixel (130,140) inside the window reads " << Hex(inside)
                             << ", filled with " << Hex(kFill) << "; under it: " << under
                             << "; window visible: " << visible;
    EXPECT_NE(outside, kFill) << "screen pixel (20,20) outside the window reads the fill colour";
}
