// Test support for the standard controls: a top-level window whose client area holds a panel,
// the root of the controls under test; a message pump that offers keys to the framework the way
// the application's loop does; a recorder for exceptions caught at window procedures; and pixel
// reads of painted controls.
#pragma once

#include <memory>
#include <vector>

#include "framework/controls/ControlsHost.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/graphics/TestPixels.h"

// Processes the queued messages, keys through IsKeyMessage first.
inline void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (IsKeyMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Keeps the messages of exceptions that reached a window procedure's barrier.
class ExceptionRecorder : public TControlsHost {
public:
    ExceptionRecorder() { SetControlsHost(this); }
    ~ExceptionRecorder() override { SetControlsHost(nullptr); }
    void HandleException(TObject*) override {
        try {
            throw;
        } catch (const Exception& e) {
            Messages.push_back(e.Message());
        } catch (...) {
            Messages.push_back(L"?");
        }
    }
    std::vector<String> Messages;
};

class TestHost {
public:
    explicit TestHost(int width = 480, int height = 320) : root_(std::make_unique<TPanel>(nullptr)) {
        static const ATOM atom = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = DefWindowProcW;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"StdCtrlsTestHost";
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            return RegisterClassW(&wc);
        }();
        (void)atom;
        RECT r{0, 0, width, height};
        AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
        window_ = CreateWindowExW(0, L"StdCtrlsTestHost", L"controls test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                                  r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr),
                                  nullptr);
        root_->SetBevelOuter(bvNone);
        root_->SetParentWindow(window_);
        root_->SetBounds(0, 0, width, height);
        root_->HandleNeeded();
        SetForegroundWindow(window_);
        PumpMessages();
    }
    ~TestHost() {
        root_.reset();
        DestroyWindow(window_);
    }
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    HWND Window() const { return window_; }
    TPanel& Root() { return *root_; }

    // A control owned by the root (which frees it) and placed on it.
    template <class T>
    T* Add(int left, int top, int width, int height, TWinControl* parent = nullptr) {
        T* control = new T(root_.get());
        control->SetParent(parent != nullptr ? parent : root_.get());
        control->SetBounds(left, top, width, height);
        return control;
    }

private:
    std::unique_ptr<TPanel> root_;
    HWND window_ = nullptr;
};

// The control and its children painted into a new 24-bit bitmap, through WM_PAINT with a DC.
inline std::unique_ptr<TBitmap> PaintedImage(TWinControl& control) {
    auto image = WhiteBitmap(control.Width(), control.Height());
    control.PaintTo(image->Canvas().Handle(), 0, 0);
    return image;
}

// What the screen shows of the window's client area.
inline std::unique_ptr<TBitmap> ScreenImage(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    UpdateWindow(window);
    auto image = WhiteBitmap(r.right, r.bottom);
    HDC dc = GetDC(window);
    BitBlt(image->Canvas().Handle(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return image;
}

// How many pixels of rect (in the image) are within tolerance of color.
inline int CountPixels(TBitmap& image, const TRect& rect, TColor color, int tolerance = 8) {
    int count = 0;
    for (int y = rect.Top; y < rect.Bottom; ++y)
        for (int x = rect.Left; x < rect.Right; ++x)
            if (ColorsNear(DibPixel(image, x, y), color, tolerance)) ++count;
    return count;
}
