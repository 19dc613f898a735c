// The process clock behind Now(). Tests replace it to make time-dependent code deterministic.
#pragma once

#include <functional>

#include "framework/rtl/System.h"

// Current local date and time, as read from the installed clock (the system clock by default).
TDateTime Now();
// The system's local time, bypassing any installed clock.
TDateTime SystemNow();

// Installs a clock for the whole process; an empty function restores the system clock.
void SetClock(std::function<TDateTime()> clock);
void ResetClock();

// Installs a clock for the lifetime of the object and restores the previous one afterwards.
class ScopedClock {
public:
    explicit ScopedClock(std::function<TDateTime()> clock);
    explicit ScopedClock(TDateTime fixedTime);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    std::function<TDateTime()> previous_;
};
