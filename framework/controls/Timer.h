// A component that runs OnTimer every Interval milliseconds while Enabled (not while loading).
// Ticks arrive through the thread's message loop at the controls scope's utility window; an
// exception in OnTimer goes to the application's exception handler and the timer keeps running.
#pragma once

#include <cstdint>

#include "framework/classes/Component.h"

class TTimer : public TComponent {
    FV_CLASS(TTimer, TComponent)
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    static void Publish(TPublisher<TTimer>& p);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    Cardinal Interval() const { return interval_; }
    void SetInterval(Cardinal value);

    TNotifyEvent OnTimer;

protected:
    void Loaded() override;
    virtual void Timer();

private:
    void UpdateTimer();

    bool enabled_ = true;
    Cardinal interval_ = 1000;
    std::uintptr_t id_ = 0;
};
