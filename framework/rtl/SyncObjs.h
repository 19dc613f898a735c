// Re-entrant mutual exclusion for threads of one process.
#pragma once

#include <mutex>

#include "framework/rtl/System.h"

class TCriticalSection : public TObject {
public:
    String ClassName() const override { return L"TCriticalSection"; }
    void Enter() { mutex_.lock(); }
    void Leave() { mutex_.unlock(); }
    void Acquire() { Enter(); }
    void Release() { Leave(); }
    bool TryEnter() { return mutex_.try_lock(); }

private:
    std::recursive_mutex mutex_;
};

// Holds a critical section for the lifetime of the object.
class TCriticalSectionLock {
public:
    explicit TCriticalSectionLock(TCriticalSection& section) : section_(section) { section_.Enter(); }
    ~TCriticalSectionLock() { section_.Leave(); }
    TCriticalSectionLock(const TCriticalSectionLock&) = delete;
    TCriticalSectionLock& operator=(const TCriticalSectionLock&) = delete;

private:
    TCriticalSection& section_;
};
