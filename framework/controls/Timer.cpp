#include "framework/controls/Timer.h"

#include <map>

#include "framework/controls/ControlsHost.h"
#include "framework/rtl/WinApi.h"

// One hidden window receives the ticks of every timer; a tick finds its timer by identifier, so a
// timer freed while its WM_TIMER is queued is simply not found.
struct TimerWindow {
    static std::map<UINT_PTR, TTimer*>& Timers() {
        // Never destroyed: timers owned by forms are freed while other globals are torn down.
        static auto& timers = *new std::map<UINT_PTR, TTimer*>();
        return timers;
    }

    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg != WM_TIMER) return DefWindowProcW(window, msg, wParam, lParam);
        auto it = Timers().find(static_cast<UINT_PTR>(wParam));
        if (it != Timers().end()) {
            TTimer* timer = it->second;
            Guarded(timer, [timer] { timer->Timer(); });
        }
        return 0;
    }

    static HWND Handle() {
        static HWND window = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"TTimerWindow";
            RegisterClassExW(&wc);
            return CreateWindowExW(0, L"TTimerWindow", L"", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        }();
        return window;
    }

    static UINT_PTR NewId() {
        static UINT_PTR next = 0;
        do {
            next = next % 0x7FFFFFFF + 1;
        } while (Timers().count(next) != 0);
        return next;
    }
};

TTimer::TTimer(TComponent* owner) : TComponent(owner) { UpdateTimer(); }

TTimer::~TTimer() {
    enabled_ = false;
    UpdateTimer();
}

void TTimer::Publish(TPublisher<TTimer>& p) {
    p.Property(L"Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true);
    p.Property(L"Interval", &TTimer::Interval, &TTimer::SetInterval).Default(Cardinal{1000});
    p.Event(L"OnTimer", &TTimer::OnTimer);
}

void TTimer::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    UpdateTimer();
}

void TTimer::SetInterval(Cardinal value) {
    if (value == interval_) return;
    interval_ = value;
    UpdateTimer();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::Timer() {
    if (OnTimer) OnTimer(this);
}

void TTimer::UpdateTimer() {
    if (id_ != 0) {
        KillTimer(TimerWindow::Handle(), id_);
        TimerWindow::Timers().erase(id_);
        id_ = 0;
    }
    if (!enabled_ || interval_ == 0 || ComponentState().Contains(csLoading) ||
        ComponentState().Contains(csDestroying))
        return;
    UINT_PTR id = TimerWindow::NewId();
    if (SetTimer(TimerWindow::Handle(), id, interval_, nullptr) == 0)
        throw EOSError(L"Not enough timers available");
    TimerWindow::Timers()[id] = this;
    id_ = id;
}
