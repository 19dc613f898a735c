#include "framework/controls/Timer.h"

#include "framework/controls/ControlsScope.h"

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
        if (TControlsScope* scope = TControlsScope::Current()) scope->StopTimer(id_);
        id_ = 0;
    }
    if (!enabled_ || interval_ == 0 || ComponentState().Contains(csLoading) ||
        ComponentState().Contains(csDestroying))
        return;
    id_ = TControlsScope::Required().StartTimer(interval_, this, [this] { Timer(); });
}
