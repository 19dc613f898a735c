// Test support for window tests: a top-level host window whose client area holds a panel (the
// root of the standard controls under test), a stand-alone top-level root and small controls with
// flat colours, message pumping through the framework's key handling, a recorder for exceptions
// caught at window procedures, pixel reads of painted controls and of whole windows (frame
// included), window region checks, screenshots written for a person to look at, and a watcher
// that answers a modal window the way a person would. Tests wait for conditions (PumpUntil), never for fixed pauses.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "framework/controls/Control.h"
#include "framework/controls/ControlsHost.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/graphics/GdiHandles.h"
#include "testing/TestPixels.h"

// A top-level window that holds controls (what a form is, without the forms layer).
class TTestRoot : public TCustomControl {
    FV_CLASS(TTestRoot, TCustomControl)
public:
    explicit TTestRoot(TComponent* owner) : TCustomControl(owner) {
        SetColor(clWhite);
        SetBounds(100, 100, 300, 200);
    }
    std::vector<UINT> handled;  // WM_USER messages that reached WndProc

    void WndProc(TMessage& message) override {
        if (message.Msg >= WM_USER && message.Msg < WM_USER + 100) {
            handled.push_back(message.Msg);
            message.Result = 42;
            return;
        }
        TCustomControl::WndProc(message);
    }

protected:
    void CreateParams(TCreateParams& params) override {
        TCustomControl::CreateParams(params);
        params.Style = WS_POPUP | WS_CLIPCHILDREN | (Visible() ? WS_VISIBLE : 0);
        params.WndParent = nullptr;
    }
};

// A superclassed system EDIT.
class TTestEdit : public TWinControl {
    FV_CLASS(TTestEdit, TWinControl)
public:
    explicit TTestEdit(TComponent* owner) : TWinControl(owner) {
        SetBounds(0, 0, 100, 21);
        SetTabStop(true);
    }

protected:
    void CreateParams(TCreateParams& params) override {
        TWinControl::CreateParams(params);
        CreateSubClass(params, L"EDIT");
        params.Style |= ES_AUTOHSCROLL;
        params.ExStyle |= WS_EX_CLIENTEDGE;
    }
};

// A windowed control painted in one colour.
class TTestPanel : public TCustomControl {
    FV_CLASS(TTestPanel, TCustomControl)
public:
    explicit TTestPanel(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 50, 50); }
    TColor Fill = clRed;

protected:
    void Paint() override {
        Canvas().Brush().SetColor(Fill);
        Canvas().FillRect(ClientRect());
    }
};

// A windowless control painted in one colour, recording what the framework tells it.
class TTestShape : public TGraphicControl {
    FV_CLASS(TTestShape, TGraphicControl)
public:
    explicit TTestShape(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 20, 20); }
    TColor Fill = clBlue;
    std::vector<UINT> notes;  // CM_MOUSEENTER / CM_MOUSELEAVE in order

    void WndProc(TMessage& message) override {
        if (message.Msg == CM_MOUSEENTER || message.Msg == CM_MOUSELEAVE) notes.push_back(message.Msg);
        TGraphicControl::WndProc(message);
    }

protected:
    void Paint() override {
        Canvas().Brush().SetColor(Fill);
        Canvas().FillRect(ClientRect());
    }
};

// Registration of the test controls, as a layer's list does it (idempotent).
inline void RegisterControlTestClasses() { RegisterClasses<TTestRoot, TTestEdit, TTestPanel, TTestShape>(); }

// Processes the queued messages, keys through IsKeyMessage first (as the application's loop does).
inline void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (IsKeyMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Processes messages until done() holds, waking for each new message, and gives up after a bound
// meant for a machine under load: a slow run only waits longer. Returns whether done() held.
// pump: how messages are processed (a test of the application's own loop passes that).
inline bool PumpUntil(const std::function<bool()>& done, int boundMs = 10000, void (*pump)() = PumpMessages) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
    for (;;) {
        pump();
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// Processes messages for ms milliseconds: only for checks that something does NOT happen within
// a time (a stopped timer stays silent); everything else waits for its condition with PumpUntil.
inline void PumpMessagesFor(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
        PumpMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (std::chrono::steady_clock::now() < end);
}

// A window as a failure message names it: class, text and handle.
inline std::string DescribeWindow(HWND window) {
    if (window == nullptr) return "no window";
    wchar_t name[128] = {}, text[128] = {};
    GetClassNameW(window, name, 128);
    GetWindowTextW(window, text, 128);
    std::string out = "\"";
    for (const wchar_t* c = text; *c != 0; ++c) out += *c < 128 ? static_cast<char>(*c) : '?';
    out += "\" (class ";
    for (const wchar_t* c = name; *c != 0; ++c) out += *c < 128 ? static_cast<char>(*c) : '?';
    char handle[32];
    std::snprintf(handle, sizeof handle, ", %p)", static_cast<void*>(window));
    return out + handle;
}

// Posts a key to the focused window: key down and up (TranslateMessage makes the character of a
// printable key from them).
inline void PostKey(Word vk) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, vk, 1);
    PostMessageW(focus, WM_KEYUP, vk, 0xC0000001);
}

// Posts a typed character to the focused window.
inline void PostChar(wchar_t ch) { PostMessageW(GetFocus(), WM_CHAR, ch, 1); }

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

// A visible top-level window whose client area is a borderless panel, the root of the controls
// under test.
class TestHost {
public:
    explicit TestHost(int width = 480, int height = 320) : root_(std::make_unique<TPanel>(nullptr)) {
        static const ATOM atom = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = DefWindowProcW;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"ControlTestHost";
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            return RegisterClassW(&wc);
        }();
        (void)atom;
        RECT r{0, 0, width, height};
        AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
        window_.reset(CreateWindowExW(0, L"ControlTestHost", L"controls test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20,
                                      20, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
        root_->SetBevelOuter(bvNone);
        root_->SetParentWindow(window_.get());
        root_->SetBounds(0, 0, width, height);
        root_->HandleNeeded();
        SetForegroundWindow(window_.get());
        PumpMessages();
    }
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    HWND Window() const { return window_.get(); }
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
    UniqueWindow window_;            // declared first: outlives the panel inside it
    std::unique_ptr<TPanel> root_;
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
    const UniqueWindowDC dc = ClientDC(window);
    BitBlt(image->Canvas().Handle(), 0, 0, r.right, r.bottom, dc.get(), 0, 0, SRCCOPY);
    return image;
}

// What the screen shows of the whole window, frame included (the window's own DC: a window over
// it does not show; outside a window region reads black under Wine).
inline std::unique_ptr<TBitmap> WindowImage(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    auto image = WhiteBitmap(r.right - r.left, r.bottom - r.top);
    const UniqueWindowDC dc = WindowDC(window);
    BitBlt(image->Canvas().Handle(), 0, 0, r.right - r.left, r.bottom - r.top, dc.get(), 0, 0, SRCCOPY);
    return image;
}

// A copy of the window's region (window coordinates), or null when it has none.
inline UniqueRegion WindowRegion(HWND window) {
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(window, region.get()) == ERROR) return UniqueRegion();
    return region;
}

// Whether the window's region covers exactly the pixels of expected (window coordinates); false
// when it has none. EqualRgn alone compares the rectangle lists, and Wine hands back a region
// coalesced differently from the one set (an ellipse's rows merged): the difference decides.
inline bool WindowRegionEquals(HWND window, HRGN expected) {
    const UniqueRegion region = WindowRegion(window);
    if (!region) return false;
    if (EqualRgn(region.get(), expected)) return true;
    const UniqueRegion difference(CreateRectRgn(0, 0, 0, 0));
    return CombineRgn(difference.get(), region.get(), expected, RGN_XOR) == NULLREGION;
}

// Whether the point (window coordinates) is within the window's region; a window without one is
// its whole rectangle.
inline bool WindowRegionContains(HWND window, const TPoint& point) {
    if (const UniqueRegion region = WindowRegion(window)) return PtInRegion(region.get(), point.X, point.Y) != FALSE;
    RECT r;
    GetWindowRect(window, &r);
    return point.X >= 0 && point.Y >= 0 && point.X < r.right - r.left && point.Y < r.bottom - r.top;
}

// Writes image as a bitmap file named after the running test (plus name, when one test keeps
// several) into "screens" under the test program's working folder, its output folder under ctest;
// returns the file's path. For looking at what a screen test saw, not for comparing.
inline String SaveScreenshot(TBitmap& image, const String& name = String()) {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    String path = String(folder) + L"\\screens";
    CreateDirectoryW(path.c_str(), nullptr);  // fails harmlessly when it exists
    String file;
    if (const auto* test = ::testing::UnitTest::GetInstance()->current_test_info()) {
        for (const char* c = test->test_suite_name(); *c; ++c) file += static_cast<wchar_t>(*c);
        file += L'.';
        for (const char* c = test->name(); *c; ++c) file += static_cast<wchar_t>(*c);
    }
    if (!name.empty()) file += (file.empty() ? L"" : L"-") + name;
    for (wchar_t& c : file)
        if (c == L'/' || c == L'\\' || c == L':') c = L'_';  // parameterised names hold '/'
    path += L"\\" + (file.empty() ? String(L"screen") : file) + L".bmp";
    image.SaveToFile(path);
    return path;
}

// How many pixels of rect (in the image) are within tolerance of color.
inline int CountPixels(TBitmap& image, const TRect& rect, TColor color, int tolerance = 8) {
    int count = 0;
    for (int y = rect.Top; y < rect.Bottom; ++y)
        for (int x = rect.Left; x < rect.Right; ++x)
            if (ColorsNear(DibPixel(image, x, y), color, tolerance)) ++count;
    return count;
}

// Waits on another thread for a visible top-level window of a class in this process and does
// what a person would with it (press a button, type...). Found() tells whether it appeared.
class TWindowWatcher {
public:
    TWindowWatcher(const wchar_t* className, std::function<void(HWND)> act)
        : className_(className), act_(std::move(act)), process_(GetCurrentProcessId()), thread_([this] { Run(); }) {}
    ~TWindowWatcher() {
        stop_ = true;
        thread_.join();
    }
    bool Found() const { return found_; }

private:
    struct TSearch {
        const wchar_t* ClassName;
        DWORD Process;
        HWND Found;
    };
    static BOOL CALLBACK Match(HWND window, LPARAM param) {
        auto* s = reinterpret_cast<TSearch*>(param);
        wchar_t name[64] = {};
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid == s->Process && IsWindowVisible(window) && GetClassNameW(window, name, 64) &&
            wcscmp(name, s->ClassName) == 0) {
            s->Found = window;
            return FALSE;
        }
        return TRUE;
    }
    // A person acts once the window is usable: shown, enabled and painted.
    static bool Settled(HWND window) {
        return IsWindowVisible(window) && IsWindowEnabled(window) && !GetUpdateRect(window, nullptr, FALSE);
    }
    void Run() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!stop_ && std::chrono::steady_clock::now() < end) {
            TSearch search{className_, process_, nullptr};
            EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
            if (search.Found != nullptr && Settled(search.Found)) {
                found_ = true;  // before acting: the act may end the caller's wait at once
                act_(search.Found);
                return;
            }
            Sleep(10);  // polling another thread's windows: nothing to wait on
        }
    }

    const wchar_t* className_;
    std::function<void(HWND)> act_;
    DWORD process_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> found_{false};
    std::thread thread_;
};

// A child window of parent with this class name and text, or null.
inline HWND FindChild(HWND parent, const wchar_t* className, const wchar_t* text) {
    return FindWindowExW(parent, nullptr, className, text);
}
