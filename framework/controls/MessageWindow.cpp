#include "framework/controls/MessageWindow.h"

#include "framework/controls/ControlInternals.h"
#include "framework/controls/ControlsHost.h"

namespace {

constexpr wchar_t MessageWindowClass[] = L"TMessageWindow";

void RegisterMessageWindowClass(WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = MessageWindowClass;
    // A second registration in the process fails harmlessly: the class stays the same.
    RegisterClassExW(&wc);
}

}  // namespace

TMessageWindow::TMessageWindow(THandler handler) : handler_(std::move(handler)) {
    RegisterMessageWindowClass(&TMessageWindow::WindowProc);
    window_.reset(CreateWindowExW(0, MessageWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
    if (!window_) throw EOSError(L"Error creating window of class TMessageWindow");
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TMessageWindow::~TMessageWindow() {
    // Messages that arrive while the window goes reach no handler any more.
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
    window_.reset();
}

LRESULT CALLBACK TMessageWindow::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    fv_controls::TDispatchLevel level;
    auto* self = reinterpret_cast<TMessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && self->handler_) {
        TMessage message{msg, wParam, lParam, 0};
        bool handled = false;
        try {
            handled = self->handler_(message);
        } catch (...) {
            HandleControlException(nullptr);
            handled = true;
        }
        if (handled) return message.Result;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}
