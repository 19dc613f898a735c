#include "framework/controls/WindowSubclass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "framework/graphics/GdiHandles.h"
#include "testing/ControlTestSupport.h"
#include "testing/TestPixels.h"

namespace {

bool g_visibleDuringSetText = true;

LRESULT CALLBACK FrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTEXT) g_visibleDuringSetText = (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
    return DefWindowProcW(window, msg, wParam, lParam);
}

// A visible top-level window with a caption, in front and painted; beforeShowing sees it hidden.
UniqueWindow ShowFramedWindow(const std::function<void(HWND)>& beforeShowing = nullptr) {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = FrameProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SubclassTestFrame";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        return RegisterClassW(&wc);
    }();
    (void)atom;
    UniqueWindow window(CreateWindowExW(0, L"SubclassTestFrame", L"Currículo", WS_OVERLAPPEDWINDOW, 60, 60, 320, 200,
                                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (beforeShowing) beforeShowing(window.get());
    ShowWindow(window.get(), SW_SHOW);
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

// What the system does to windows that the skin's frames depend on, pinned in the word size the
// suite runs in.

TEST(WineFacts, TheDefaultProcedurePaintsItsCaptionOnNcActivate) {
    UniqueWindow window = ShowFramedWindow();
    const TRect middle = CaptionMiddle(window.get());
    ASSERT_EQ(BlackenCaption(window.get()), middle.Width() * middle.Height());
    SendMessageW(window.get(), WM_NCACTIVATE, FALSE, 0);
    EXPECT_LT(BlackInCaption(window.get()), middle.Width() * middle.Height() / 2);
}

TEST(WineFacts, NoThemeCaptionMessageArrives) {
    UniqueWindow window = ShowFramedWindow();
    std::vector<UINT> seen;
    TWindowSubclass subclass(window.get(), nullptr, [&seen](TChainedMessage& m) {
        seen.push_back(m.Msg);
        m.PassOn();
    });
    SetWindowTextW(window.get(), L"Outro título");
    SendMessageW(window.get(), WM_NCACTIVATE, FALSE, 0);
    SendMessageW(window.get(), WM_NCACTIVATE, TRUE, 0);
    RedrawWindow(window.get(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 0xAEu), 0);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 0xAFu), 0);
}

TEST(WineFacts, PixelsOutsideAWindowsRegionReadBlack) {
    int width = 0, height = 0;
    UniqueWindow window = ShowFramedWindow([&](HWND hidden) {
        RECT r;
        GetWindowRect(hidden, &r);
        width = r.right - r.left;
        height = r.bottom - r.top;
        UniqueRegion region(CreateEllipticRgn(0, 0, width, height));
        ASSERT_TRUE(SetWindowRgn(hidden, region.get(), FALSE));
        (void)region.release();  // the window owns it now
    });
    UniqueRegion expected(CreateEllipticRgn(0, 0, width, height));
    EXPECT_TRUE(WindowRegionEquals(window.get(), expected.get()));
    const UniqueRegion whole(CreateRectRgn(0, 0, width, height));
    EXPECT_FALSE(WindowRegionEquals(window.get(), whole.get()));
    EXPECT_FALSE(WindowRegionContains(window.get(), TPoint{1, 1}));
    EXPECT_TRUE(WindowRegionContains(window.get(), TPoint{width / 2, height / 2}));
    auto image = WindowImage(window.get());
    for (const TPoint p : {TPoint{1, 1}, TPoint{width - 2, height - 2}})
        EXPECT_TRUE(ColorsNear(DibPixel(*image, p.X, p.Y), clBlack, 8))
            << "outside the region at (" << p.X << ", " << p.Y << "): colour " << std::hex << DibPixel(*image, p.X, p.Y);
    EXPECT_TRUE(ColorsNear(DibPixel(*image, width / 2, height / 2), clWhite, 8))
        << "inside: colour " << std::hex << DibPixel(*image, width / 2, height / 2);
}

TEST(ScreenTestSupport, AFramedWindowIsSavedUnderTheTestsNameAndReadsBack) {
    UniqueWindow window = ShowFramedWindow();
    EXPECT_FALSE(WindowRegion(window.get())) << "a window without a region";
    EXPECT_TRUE(WindowRegionContains(window.get(), TPoint{0, 0}));
    auto image = WindowImage(window.get());
    const String path = SaveScreenshot(*image, L"frame");
    EXPECT_NE(path.find(L"ScreenTestSupport.AFramedWindowIsSavedUnderTheTestsNameAndReadsBack-frame.bmp"),
              String::npos);
    TBitmap read;
    read.LoadFromFile(path);
    ASSERT_EQ(read.Width(), image->Width());
    ASSERT_EQ(read.Height(), image->Height());
    const TPoint middle{image->Width() / 2, image->Height() / 2};
    EXPECT_EQ(DibPixel(read, middle.X, middle.Y), DibPixel(*image, middle.X, middle.Y));
    EXPECT_TRUE(DeleteFileW(path.c_str()));
}

TEST(WineFacts, SetCursorPosMovesWhatGetCursorPosReports) {
    ASSERT_TRUE(SetCursorPos(123, 97));
    POINT p{};
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 123);
    EXPECT_EQ(p.y, 97);
}

TEST(WineFacts, TheVersionIsOfTheNtFamilySixOrLater) {
    const DWORD version = GetVersion();
    EXPECT_EQ(version & 0x80000000u, 0u);
    EXPECT_GE(LOBYTE(LOWORD(version)), 6) << "major " << int(LOBYTE(LOWORD(version))) << ", minor "
                                          << int(HIBYTE(LOWORD(version)));
}

}  // namespace
