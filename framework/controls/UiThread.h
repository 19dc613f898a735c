// Work that crosses threads. The framework's registries (controls scope, component scope, class
// registry, application, screen, timers, menus) and every component belong to the thread that
// runs the windows, the UI thread: code on any other thread touches none of them. It hands its
// results to the UI thread through a TUiPoster, and every place where the system or a thread
// start calls into our code on another thread (a thread entry, a COM method, a streaming
// callback) runs inside a barrier, so that no exception crosses into code that cannot take it:
//
//     STDMETHODIMP Callback::BufferCB(double time, BYTE* data, long length) {
//         return ComBarrier(poster_, [&] { owner_->Deliver(time, data, length); });
//     }
//
// A barrier turns the exception into a result code and posts it to the UI thread, where the
// application's exception handler shows it (an exception on the UI thread itself is handled
// at once, as at a window procedure).
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <new>

#include "framework/controls/ControlsHost.h"
#include "framework/controls/MessageWindow.h"

// The UI thread as a single-threaded COM apartment, for the lifetime of the object (the program's
// entry makes one before any window): COM objects made on the UI thread live there, and the
// system calls their callbacks on threads of its own, through the barriers below. A failure to
// enter the apartment is remembered (Initialized) rather than raised: the program runs on
// without what needs COM.
class TComApartment {
public:
    TComApartment();
    ~TComApartment();
    TComApartment(const TComApartment&) = delete;
    TComApartment& operator=(const TComApartment&) = delete;
    bool Initialized() const { return initialized_; }

private:
    bool initialized_;
};

// Runs functions on the UI thread that created it, in the order they were posted. Post may be
// called from any thread; what is still queued when the poster goes is dropped, so a job may
// use whatever the poster's owner holds. Jobs run inside the exception barrier.
class TUiPoster {
public:
    TUiPoster();
    ~TUiPoster();
    TUiPoster(const TUiPoster&) = delete;
    TUiPoster& operator=(const TUiPoster&) = delete;

    // False when the poster is gone or the message could not be posted.
    bool Post(std::function<void()> job);
    // Runs what is queued now (the UI thread's handler does this on its own).
    void RunPending();
    // Whether the caller runs on the thread that created the poster.
    bool OnUiThread() const;

private:
    struct TShared;
    std::shared_ptr<TShared> shared_;
    std::unique_ptr<TMessageWindow> window_;
};

// Hands the exception being handled (call inside catch) to the UI thread's exception handler:
// at once on the UI thread, otherwise posted through poster (dropped without one). Never raises.
void ReportFromAnyThread(TUiPoster* poster, TObject* sender = nullptr) noexcept;

// The barrier for a COM method or system callback: runs f and returns S_OK, or, when f raises,
// E_OUTOFMEMORY / E_FAIL after reporting the exception through poster.
template <class F>
HRESULT ComBarrier(TUiPoster* poster, F&& f) noexcept {
    try {
        f();
        return S_OK;
    } catch (const std::bad_alloc&) {
        ReportFromAnyThread(poster);
        return E_OUTOFMEMORY;
    } catch (...) {
        ReportFromAnyThread(poster);
        return E_FAIL;
    }
}

// The barrier for a thread's entry function: runs f; an exception is reported through poster
// and ends the thread's work quietly.
template <class F>
void ThreadEntryBarrier(TUiPoster* poster, F&& f) noexcept {
    try {
        f();
    } catch (...) {
        ReportFromAnyThread(poster);
    }
}
