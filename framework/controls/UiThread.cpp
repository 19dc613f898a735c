#include "framework/controls/UiThread.h"

#include <exception>

namespace {

constexpr wchar_t MessageWindowClass[] = L"TFolhavidaMessageWindow";
constexpr UINT WM_RUNPOSTED = WM_APP + 0x3F0;

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

void RegisterMessageWindowClass() {
    WNDCLASSW wc{};
    if (GetClassInfoW(ModuleInstance(), MessageWindowClass, &wc)) return;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = ModuleInstance();
    wc.lpszClassName = MessageWindowClass;
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw EOSError(L"The message window class cannot be registered");
}

}  // namespace

TComApartment::TComApartment() : initialized_(SUCCEEDED(OleInitialize(nullptr))) {}

TComApartment::~TComApartment() {
    if (initialized_) OleUninitialize();
}

TMessageWindow::TMessageWindow(THandler handler) : handler_(std::move(handler)) {
    RegisterMessageWindowClass();
    window_ = CreateWindowExW(0, MessageWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              ModuleInstance(), nullptr);
    if (window_ == nullptr) throw EOSError(L"The message window cannot be created");
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TMessageWindow::WindowProc));
}

TMessageWindow::~TMessageWindow() {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

LRESULT CALLBACK TMessageWindow::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TMessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && self->handler_) {
        LRESULT result = 0;
        bool handled = false;
        Guarded(nullptr, [&] { handled = self->handler_(msg, wParam, lParam, result); });
        if (handled) return result;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

struct TUiPoster::TShared {
    std::mutex Lock;
    std::deque<std::function<void()>> Jobs;
    HWND Window = nullptr;  // null once the poster is gone
    DWORD ThreadId = 0;
};

TUiPoster::TUiPoster() : shared_(std::make_shared<TShared>()) {
    window_ = std::make_unique<TMessageWindow>([this](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg != WM_RUNPOSTED) return false;
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
