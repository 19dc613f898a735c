#include "framework/forms/Application.h"

#include <algorithm>

#include <commctrl.h>

#include "framework/controls/ControlsScope.h"
#include "framework/graphics/ScreenMetrics.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/StringUtils.h"

namespace {

// The part of a hint before '|'.
String ShortHint(const String& hint) {
    size_t bar = hint.find(L'|');
    return bar == String::npos ? hint : hint.substr(0, bar);
}

// The hint a control shows: its own, or the nearest parent's when it has none.
String HintOf(TControl* control) {
    for (TControl* c = control; c != nullptr; c = c->Parent())
        if (!ShortHint(c->Hint()).empty()) return ShortHint(c->Hint());
    return String();
}

}  // namespace

// ---- TApplication ----

TApplication::TApplication(TComponent* owner)
    : TComponent(owner), hintWindowClass_(THintWindow::StaticClass()) {
    String exe = ExeName();
    size_t slash = exe.find_last_of(L"\\/");
    title_ = slash == String::npos ? exe : exe.substr(slash + 1);
    size_t dot = title_.rfind(L'.');
    if (dot != String::npos) title_.resize(dot);
    SetControlsHost(this);
}

void TApplication::BeforeDestruction() {
    StopHintTimer();
    TComponent::BeforeDestruction();
}

TApplication::~TApplication() {
    if (ControlsHost() == this) SetControlsHost(nullptr);
}

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES |
                                              ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    SetWindowTextW(Handle(), title_.c_str());
}

void TApplication::SetTitle(const String& title) {
    title_ = title;
    SetWindowTextW(Handle(), title.c_str());
}

String TApplication::ExeName() const {
    String path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

bool TApplication::UtilityWindowMessage(TMessage& message) {
    if (message.Msg != WM_CLOSE) return false;
    Terminate();
    return true;
}

HWND TApplication::Handle() { return TControlsScope::Required().UtilityWindow(); }

void TApplication::FormCreated(TCustomForm* form) {
    if (mainForm_ == nullptr) {
        mainForm_ = form;
        form->HandleNeeded();
    }
}

void TApplication::FormDestroying(TCustomForm* form) {
    if (form == mainForm_) mainForm_ = nullptr;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == mainForm_) mainForm_ = nullptr;
    if (component == hintWindow_) {
        hintWindow_ = nullptr;
        hintShowing_ = false;
    }
}

// ---- message loop ----

void TApplication::Run() {
    if (mainForm_ != nullptr && !mainForm_->Visible()) mainForm_->Show();
    while (!terminated_) HandleMessage();
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!ProcessMessage(msg)) break;
}

void TApplication::HandleMessage() {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ProcessMessage(msg);
        return;
    }
    WaitMessage();
}

// False for WM_QUIT, after which the application is terminated.
bool TApplication::ProcessMessage(MSG& msg) {
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    IsHintMessage(msg);
    if (IsKeyMessage(msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

void TApplication::Terminate() {
    if (!terminated_) PostQuitMessage(0);
}

// ---- exceptions and message boxes ----

void TApplication::HandleException(TObject* sender) {
    try {
        try {
            throw;
        } catch (const EAbort&) {
        } catch (Exception& e) {
            if (OnException) OnException(sender, e);
            else ShowException(e);
        } catch (const std::exception& e) {
            Exception wrapped(Utf8ToString(e.what()));
            if (OnException) OnException(sender, wrapped);
            else ShowException(wrapped);
        }
    } catch (...) {
        // The handler itself must not raise out of a barrier.
    }
}

void TApplication::ShowException(const Exception& e) {
    String text = e.Message();
    if (!text.empty() && text.back() > L'.') text += L'.';
    MessageBox(text, title_, MB_OK | MB_ICONSTOP);
}

HWND TApplication::ActiveWindowHandle() const {
    if (TCustomForm* form = Screen().ActiveForm(); form != nullptr && form->HandleAllocated() && form->Visible())
        return form->HandleIfAllocated();
    if (mainForm_ != nullptr && mainForm_->HandleAllocated() && mainForm_->Visible()) return mainForm_->HandleIfAllocated();
    return GetActiveWindow();
}

int TApplication::MessageBox(const String& text, const String& caption, UINT flags) {
    CancelHint();
    return MessageBoxW(ActiveWindowHandle(), text.c_str(), (caption.empty() ? title_ : caption).c_str(), flags);
}

// ---- hints ----

void TApplication::SetHintColor(TColor color) {
    hintColor_ = color;
    if (hintWindow_ != nullptr) hintWindow_->SetColor(color);
}

void TApplication::SetShowHint(bool value) {
    if (value == showHint_) return;
    showHint_ = value;
    if (value) {
        RecreateHintWindow();
    } else {
        CancelHint();
        delete hintWindow_;
        hintWindow_ = nullptr;
    }
}

void TApplication::SetHintWindowClass(TClass cls) {
    if (cls == nullptr || !cls->InheritsFrom(THintWindow::StaticClass()) || cls->Factory == nullptr)
        throw EInvalidArgument(L"A hint window class must derive from THintWindow");
    hintWindowClass_ = cls;
}

void TApplication::RecreateHintWindow() {
    CancelHint();
    delete hintWindow_;
    hintWindow_ = nullptr;
    auto* window = dynamic_cast<THintWindow*>(static_cast<TComponent*>(hintWindowClass_->Factory(this)));
    if (window == nullptr) return;
    hintWindow_ = window;
    hintWindow_->SetColor(hintColor_);
}

void TApplication::StartHintTimer(int ms) {
    StopHintTimer();
    hintTimer_ = TControlsScope::Required().StartTimer(static_cast<UINT>(std::max(ms, 1)), this,
                                                       [this] { HintTimerExpired(); });
}

void TApplication::StopHintTimer() {
    if (hintTimer_ != 0)
        if (TControlsScope* scope = TControlsScope::Current()) scope->StopTimer(hintTimer_);
    hintTimer_ = 0;
}

void TApplication::CancelHint() {
    StopHintTimer();
    if (hintShowing_ && hintWindow_ != nullptr) hintWindow_->ReleaseHint();
    hintShowing_ = false;
}

void TApplication::MouseControlChanged(TControl* control) {
    if (control == hintControl_) return;
    const bool wasShowing = hintShowing_;
    CancelHint();
    hintControl_ = control;
    if (!showHint_ || control == nullptr || !control->ShowHint() || HintOf(control).empty()) return;
    StartHintTimer(wasShowing ? hintShortPause_ : hintPause_);
}

void TApplication::HintTimerExpired() {
    StopHintTimer();
    if (hintShowing_) {
        CancelHint();
        return;
    }
    POINT pt;
    GetCursorPos(&pt);
    ActivateHint(Point(pt.x, pt.y));
}

void TApplication::ActivateHint(TPoint cursorPos) {
    TControl* control = hintControl_;
    if (!showHint_ || control == nullptr || !control->ShowHint()) return;
    String hint = HintOf(control);
    if (hint.empty()) return;
    if (hintWindow_ == nullptr) RecreateHintWindow();
    if (hintWindow_ == nullptr) return;
    TRect r = hintWindow_->CalcHintRect(Screen().Width(), hint);
    int x = cursorPos.X;
    int y = cursorPos.Y + GetSystemMetrics(SM_CYCURSOR) * 3 / 4;
    x = std::max(0, std::min(x, Screen().Width() - r.Width()));
    if (y + r.Height() > Screen().Height()) y = cursorPos.Y - r.Height() - 2;
    hintWindow_->SetColor(hintColor_);
    hintWindow_->ActivateHint(Bounds(x, y, r.Width(), r.Height()), hint);
    hintShowing_ = true;
    if (hintHidePause_ > 0) StartHintTimer(hintHidePause_);
}

bool TApplication::IsHintMessage(const MSG& msg) {
    if (!hintShowing_ && hintTimer_ == 0) return false;
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_ACTIVATEAPP:
        CancelHint();
        return true;
    default: return false;
    }
}

TCursor TApplication::ScreenCursor() const { return Screen().Cursor(); }

void TApplication::ControlDestroying(TControl* control) {
    if (control == hintControl_) {
        CancelHint();
        hintControl_ = nullptr;
    }
    if (control == hintWindow_) {
        hintWindow_ = nullptr;
        hintShowing_ = false;
    }
    if (Screen().ActiveControl() == control) Screen().SetActiveControl(nullptr);
}

// ---- TScreen ----

TScreen::TScreen(TComponent* owner) : TComponent(owner), menuFont_(std::make_unique<TFont>()) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
        menuFont_->SetName(ncm.lfMenuFont.lfFaceName);
        menuFont_->SetHeight(ncm.lfMenuFont.lfHeight);
    }
}

TScreen::~TScreen() = default;

TCustomForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount()) throw EListError(Format(L"List index out of bounds (%d)", {index}));
    return forms_[static_cast<size_t>(index)];
}

void TScreen::SetCursor(TCursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    if (HCURSOR h = CursorHandle(cursor)) {
        ::SetCursor(h);
    } else {
        // Let the window under the mouse choose its cursor again.
        POINT pt;
        GetCursorPos(&pt);
        SetCursorPos(pt.x, pt.y);
    }
}

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }
int TScreen::PixelsPerInch() const { return ScreenMetrics::PixelsPerInch(); }

TRect TScreen::WorkAreaRect() const {
    RECT r;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) return Rect(0, 0, Width(), Height());
    return Rect(r.left, r.top, r.right, r.bottom);
}

const std::vector<String>& TScreen::Fonts() {
    if (fonts_.empty()) fonts_ = ScreenMetrics::Fonts();
    return fonts_;
}

void TScreen::AddForm(TCustomForm* form) { forms_.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (activeForm_ == form) {
        activeForm_ = nullptr;
        activeControl_ = nullptr;
    }
    if (activeControl_ != nullptr && form->ContainsControl(activeControl_)) activeControl_ = nullptr;
}

void TScreen::SetActiveForm(TCustomForm* form) {
    activeForm_ = form;
    activeControl_ = form != nullptr ? form->ActiveControl() : nullptr;
    // The active form comes first in Forms.
    auto it = std::find(forms_.begin(), forms_.end(), form);
    if (it != forms_.end()) std::rotate(forms_.begin(), it, it + 1);
}
