#include "framework/controls/UiThread.h"

#include <exception>

namespace {

constexpr UINT WM_RUNPOSTED = WM_APP + 0x3F0;

}  // namespace

TComApartment::TComApartment() : initialized_(SUCCEEDED(OleInitialize(nullptr))) {}

TComApartment::~TComApartment() {
    if (initialized_) OleUninitialize();
}

struct TUiPoster::TShared {
    std::mutex Lock;
    std::deque<std::function<void()>> Jobs;
    HWND Window = nullptr;  // null once the poster is gone
    DWORD ThreadId = 0;
};

TUiPoster::TUiPoster() : shared_(std::make_shared<TShared>()) {
    window_ = std::make_unique<TMessageWindow>([this](TMessage& message) {
        if (message.Msg != WM_RUNPOSTED) return false;
        RunPending();
        return true;
    });
    shared_->Window = window_->Handle();
    shared_->ThreadId = GetCurrentThreadId();
}

TUiPoster::~TUiPoster() {
    std::lock_guard<std::mutex> lock(shared_->Lock);
    shared_->Window = nullptr;
    shared_->Jobs.clear();
}

bool TUiPoster::Post(std::function<void()> job) {
    std::lock_guard<std::mutex> lock(shared_->Lock);
    if (shared_->Window == nullptr) return false;
    const bool wake = shared_->Jobs.empty();
    shared_->Jobs.push_back(std::move(job));
    if (wake && !PostMessageW(shared_->Window, WM_RUNPOSTED, 0, 0)) {
        shared_->Jobs.pop_back();
        return false;
    }
    return true;
}

void TUiPoster::RunPending() {
    std::deque<std::function<void()>> jobs;
    {
        std::lock_guard<std::mutex> lock(shared_->Lock);
        jobs.swap(shared_->Jobs);
    }
    for (auto& job : jobs) Guarded(nullptr, job);
}

bool TUiPoster::OnUiThread() const { return GetCurrentThreadId() == shared_->ThreadId; }

void ReportFromAnyThread(TUiPoster* poster, TObject* sender) noexcept {
    try {
        if (poster == nullptr) return;
        if (poster->OnUiThread()) {
            HandleControlException(sender);
            return;
        }
        std::exception_ptr error = std::current_exception();
        poster->Post([error, sender] {
            try {
                std::rethrow_exception(error);
            } catch (...) {
                HandleControlException(sender);
            }
        });
    } catch (...) {
        // Nothing may leave a barrier.
    }
}
