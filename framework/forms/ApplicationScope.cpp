#include "framework/forms/ApplicationScope.h"

#include "framework/forms/SystemPrintDialog.h"

namespace {

TApplicationScope* g_current = nullptr;

// Frees the object while the pointer still refers to it, so that what runs during its teardown
// (the forms the application frees) still reaches it.
template <class T>
void FreeInPlace(std::unique_ptr<T>& object) {
    if (!object) return;
    delete object.get();
    (void)object.release();
}

}  // namespace

TApplicationScope::TApplicationScope() {
    if (g_current != nullptr) throw EInvalidOperation(L"An application scope exists already");
    g_current = this;
    try {
        screen_ = std::make_unique<TScreen>(nullptr);
        application_ = std::make_unique<TApplication>(nullptr);
        previousPrintDialog_ = SetPrintDialogRunner(&RunSystemPrintDialog);
    } catch (...) {
        g_current = nullptr;
        throw;
    }
}

TApplicationScope::~TApplicationScope() {
    SetPrintDialogRunner(previousPrintDialog_);
    controls_.FreeWaiting();
    FreeInPlace(application_);
    FreeInPlace(screen_);
    // A quit request of this application must not end the next one on this thread.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    g_current = nullptr;
}

TApplicationScope* TApplicationScope::Current() { return g_current; }

void TApplicationScope::FormDestroyed(TCustomForm* form) {
    if (screen_) screen_->RemoveForm(form);
    if (application_) application_->FormDestroying(form);
}

TApplication& Application() {
    if (g_current == nullptr || !g_current->application_) throw EInvalidOperation(L"No application scope");
    return *g_current->application_;
}

TScreen& Screen() {
    if (g_current == nullptr || !g_current->screen_) throw EInvalidOperation(L"No application scope");
    return *g_current->screen_;
}
