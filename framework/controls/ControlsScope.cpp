#include "framework/controls/ControlsScope.h"

#include <algorithm>

#include "framework/controls/ControlInternals.h"
#include "framework/controls/ControlsHost.h"
#include "framework/controls/Menus.h"

namespace {

TControlsScope* g_current = nullptr;

constexpr const wchar_t* UtilityWindowClass = L"TApplication";

}  // namespace

// Components released while a message is handled; a component freed sooner by other means
// tells the list through its free notification and is dropped.
class TControlsScope::TWaitingList : public TComponent {
public:
    TWaitingList() : TComponent(nullptr) {}

    void Add(TComponent* component) {
        if (std::find(items_.begin(), items_.end(), component) != items_.end()) return;
        items_.push_back(component);
        FreeNotification(component);
    }

    // Frees them in the order they were released, also those released meanwhile.
    void FreeAll() {
        while (TComponent* first = TakeFirst()) delete first;
    }

    // The first one, off the list; null when the list is empty.
    TComponent* TakeFirst() {
        if (items_.empty()) return nullptr;
        TComponent* first = items_.front();
        items_.erase(items_.begin());
        RemoveFreeNotification(first);
        return first;
    }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove) items_.erase(std::remove(items_.begin(), items_.end(), component), items_.end());
    }

private:
    std::vector<TComponent*> items_;
};

TControlsScope::TControlsScope()
    : waiting_(std::make_unique<TWaitingList>()), releasing_(std::make_unique<TWaitingList>()) {
    if (g_current != nullptr) throw EInvalidOperation(L"A controls scope exists already");
    g_current = this;
    fv_controls::RegisterControlProperty();  // first of the scope's objects: goes last
    // An exception while a component is freed reaches the user as one in a window procedure.
    previousTeardownHandler_ = SetTeardownExceptionHandler(&HandleControlException);
}

TControlsScope::~TControlsScope() {
    FreeWaiting();
    waiting_.reset();
    releasing_.reset();
    for (const auto& [id, timer] : timers_) KillTimer(utilityWindow_.get(), id);
    timers_.clear();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (utilityWindow_) {
        utilityWindow_.reset();
        UnregisterClassW(UtilityWindowClass, instance);
    }
    // A class whose windows still exist (a control nobody freed) stays registered.
    for (const auto& [name, proc] : windowClasses_) UnregisterClassW(name.c_str(), instance);
    SetTeardownExceptionHandler(previousTeardownHandler_);
    g_current = nullptr;
}

TControlsScope* TControlsScope::Current() { return g_current; }

TControlsScope& TControlsScope::Required() {
    if (g_current == nullptr) throw EInvalidOperation(L"Windows, menus and timers need an application scope");
    return *g_current;
}

// ---- window classes ----

WNDPROC TControlsScope::WindowClassProc(const String& className) const {
    auto found = windowClasses_.find(className);
    return found == windowClasses_.end() ? nullptr : found->second;
}

void TControlsScope::AddWindowClass(const String& className, WNDPROC defaultProc) {
    windowClasses_[className] = defaultProc;
}

// ---- menu commands ----

UINT TControlsScope::AllocateMenuCommand(TMenuItem* item) {
    for (int tries = 0; tries < 0xFF00; ++tries) {
        lastMenuCommand_ = lastMenuCommand_ >= 0xFFFF ? 100 : lastMenuCommand_ + 1;
        if (menuCommands_.find(lastMenuCommand_) == menuCommands_.end()) {
            menuCommands_[lastMenuCommand_] = item;
            return lastMenuCommand_;
        }
    }
    throw EMenuError(L"Too many menu items");
}

void TControlsScope::ReleaseMenuCommand(UINT command) { menuCommands_.erase(command); }

TMenuItem* TControlsScope::MenuItemOfCommand(UINT command) const {
    auto found = menuCommands_.find(command);
    return found == menuCommands_.end() ? nullptr : found->second;
}

// ---- the utility window and the timers ----

LRESULT CALLBACK TControlsScope::UtilityWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    fv_controls::TDispatchLevel level;
    if (msg == WM_TIMER) {
        if (g_current != nullptr) g_current->RunTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    }
    TMessage message{msg, wParam, lParam, 0};
    bool handled = false;
    try {
        if (msg == CM_RELEASE) {
            if (g_current != nullptr) g_current->DeliverReleases();
            return 0;
        }
        handled = DispatchMenuItemMessage(message);
        if (!handled)
            if (TControlsHost* host = ControlsHost()) handled = host->UtilityWindowMessage(message);
    } catch (...) {
        HandleControlException(nullptr);
        return 0;
    }
    return handled ? message.Result : DefWindowProcW(window, msg, wParam, lParam);
}

HWND TControlsScope::UtilityWindow() {
    if (!utilityWindow_) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = UtilityWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
        wc.lpszClassName = UtilityWindowClass;
        RegisterClassExW(&wc);
        utilityWindow_.reset(CreateWindowExW(WS_EX_TOOLWINDOW, UtilityWindowClass, L"",
                                             WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                                             nullptr, nullptr, wc.hInstance, nullptr));
        if (!utilityWindow_) throw EOSError(L"Error creating window of class TApplication");
    }
    return utilityWindow_.get();
}

UINT_PTR TControlsScope::StartTimer(UINT ms, TObject* sender, std::function<void()> tick) {
    HWND window = UtilityWindow();
    do {
        lastTimer_ = lastTimer_ % 0x7FFFFFFF + 1;
    } while (timers_.count(lastTimer_) != 0);
    if (SetTimer(window, lastTimer_, ms, nullptr) == 0) throw EOSError(L"Not enough timers available");
    timers_[lastTimer_] = TTimerEntry{sender, std::move(tick)};
    return lastTimer_;
}

void TControlsScope::StopTimer(UINT_PTR id) {
    if (timers_.erase(id) != 0) KillTimer(utilityWindow_.get(), id);
}

void TControlsScope::RunTimer(UINT_PTR id) {
    // A timer stopped while its tick was queued is simply not found.
    auto found = timers_.find(id);
    if (found == timers_.end()) return;
    // A copy: the tick may stop or restart its own timer.
    TTimerEntry timer = found->second;
    Guarded(timer.Sender, [&timer] { timer.Tick(); });
}

// ---- releasing ----

void TControlsScope::PostRelease(TControl* control) {
    if (control == nullptr) return;
    releasing_->Add(control);
    PostMessageW(UtilityWindow(), CM_RELEASE, 0, 0);
}

void TControlsScope::DeliverReleases() {
    // One at a time: a control freed while another handles its message leaves the list.
    while (TComponent* next = releasing_->TakeFirst()) static_cast<TControl*>(next)->Perform(CM_RELEASE);
}

// ---- freeing after the message being handled ----

void TControlsScope::FreeAfterDispatch(TComponent* component) {
    if (component == nullptr) return;
    waiting_->Add(component);
    // Outside every window procedure: the next message handled frees it.
    if (dispatchDepth_ == 0) PostMessageW(UtilityWindow(), WM_NULL, 0, 0);
}

void TControlsScope::FreeWaiting() {
    if (!waiting_) return;
    // The window procedures that run while these are freed must not start another round.
    ++dispatchDepth_;
    waiting_->FreeAll();
    --dispatchDepth_;
}

fv_controls::TDispatchLevel::TDispatchLevel() : scope_(TControlsScope::Current()) {
    if (scope_ != nullptr) ++scope_->dispatchDepth_;
}

fv_controls::TDispatchLevel::~TDispatchLevel() {
    if (scope_ != nullptr && --scope_->dispatchDepth_ == 0) scope_->FreeWaiting();
}
