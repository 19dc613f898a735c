#include "framework/rtl/Clock.h"

#include <mutex>
#include <utility>

#include "framework/rtl/DateTime.h"
#include "framework/rtl/Platform.h"

namespace {

std::mutex& ClockMutex() {
    static std::mutex mutex;
    return mutex;
}

std::function<TDateTime()>& InstalledClock() {
    static std::function<TDateTime()> clock;
    return clock;
}

std::function<TDateTime()> ExchangeClock(std::function<TDateTime()> clock) {
    std::lock_guard<std::mutex> lock(ClockMutex());
    std::swap(InstalledClock(), clock);
    return clock;
}

}  // namespace

TDateTime SystemNow() {
    const platform::LocalTime t = platform::LocalTimeNow();
    return EncodeDate(t.year, t.month, t.day) + EncodeTime(t.hour, t.minute, t.second, t.millisecond);
}

TDateTime Now() {
    std::function<TDateTime()> clock;
    {
        std::lock_guard<std::mutex> lock(ClockMutex());
        clock = InstalledClock();
    }
    // Called outside the lock so a test clock may itself consult the clock functions.
    return clock ? clock() : SystemNow();
}

void SetClock(std::function<TDateTime()> clock) { ExchangeClock(std::move(clock)); }

void ResetClock() { ExchangeClock(nullptr); }

ScopedClock::ScopedClock(std::function<TDateTime()> clock) : previous_(ExchangeClock(std::move(clock))) {}

ScopedClock::ScopedClock(TDateTime fixedTime) : ScopedClock([fixedTime] { return fixedTime; }) {}

ScopedClock::~ScopedClock() { ExchangeClock(std::move(previous_)); }
