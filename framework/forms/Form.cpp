#include "framework/forms/Form.h"

#include <algorithm>

#include "framework/classes/ComponentResource.h"
#include "framework/controls/ControlsScope.h"
#include "framework/forms/Application.h"
#include "framework/forms/ApplicationScope.h"
#include "framework/rtl/CallbackError.h"
#include "framework/rtl/Format.h"

namespace {

TRect WorkArea() {
    RECT r;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0))
        r = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return Rect(r.left, r.top, r.right, r.bottom);
}

struct DisabledWindows {
    HWND Except;
    std::vector<HWND> Windows;
    TCallbackError Error;
};

BOOL CALLBACK CollectEnabled(HWND window, LPARAM param) {
    auto* d = reinterpret_cast<DisabledWindows*>(param);
    return d->Error.Run([&] {
        if (window != d->Except && IsWindowVisible(window) && IsWindowEnabled(window)) d->Windows.push_back(window);
        return true;
    });
}

}  // namespace

TCustomForm* GetParentForm(TControl* control) {
    if (control == nullptr) return nullptr;
    TControl* root = control;
    while (root->Parent() != nullptr) root = root->Parent();
    return dynamic_cast<TCustomForm*>(root);
}

TCustomForm::TCustomForm(TComponent* owner) : TCustomControl(owner) {
    TControl::SetVisible(false);
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
    Font()->SetSize(8);
    Screen().AddForm(this);
}

void TCustomForm::BeforeDestruction() {
    if (destroyedFlag_ != nullptr) *destroyedFlag_ = true;
    if (OnDestroy) Guarded(this, [this] { OnDestroy(this); });
    TCustomControl::BeforeDestruction();
}

TCustomForm::~TCustomForm() {
    if (menu_ != nullptr) menu_->SetWindowHandle(nullptr);
    if (TApplicationScope* scope = TApplicationScope::Current()) scope->FormDestroyed(this);
}

void TCustomForm::Publish(TPublisher<TCustomForm>& p) {
    p.Property(L"Caption", &TCustomForm::Caption, &TCustomForm::SetCaption);
    p.Property(L"ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth);
    p.Property(L"ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight);
    p.Property(L"BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle).Default(bsSizeable);
    p.Property(L"BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
        .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
    p.Property(L"Position", &TCustomForm::Position, &TCustomForm::SetPosition).Default(poDesigned);
    p.Property(L"FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle).Default(fsNormal);
    p.Property(L"WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState).Default(wsNormal);
    p.Property(L"KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false);
    p.Property(L"AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll).Default(false);
    p.Property(L"Menu", &TCustomForm::Menu, &TCustomForm::SetMenu);
    p.Property(L"ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl);
    p.Event(L"OnCreate", &TCustomForm::OnCreate);
    p.Event(L"OnShow", &TCustomForm::OnShow);
    p.Event(L"OnHide", &TCustomForm::OnHide);
    p.Event(L"OnActivate", &TCustomForm::OnActivate);
    p.Event(L"OnDeactivate", &TCustomForm::OnDeactivate);
    p.Event(L"OnClose", &TCustomForm::OnClose);
    p.Event(L"OnCloseQuery", &TCustomForm::OnCloseQuery);
    p.Event(L"OnDestroy", &TCustomForm::OnDestroy);
    p.Event(L"OnPaint", &TCustomForm::OnPaint);
}

// ---- reading ----

void TCustomForm::ReadForm(const std::function<void()>& bind) {
    ReadComponentResource(this, ClassName());
    if (bind) bind();
    DoCreate();
    if (showPending_) {
        showPending_ = false;
        Show();
    }
}

void TCustomForm::BindError(const wchar_t* name) const {
    throw EComponentError(Format(L"Component %s not found in %s", {String(name), ClassName()}));
}

void TCustomForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TCustomForm::Loaded() { TCustomControl::Loaded(); }

// ---- window ----

DWORD TCustomForm::WindowStyle(DWORD* exStyle) const {
    DWORD style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    DWORD ex = 0;
    switch (borderStyle_) {
    case bsNone: style |= WS_POPUP; break;
    case bsSingle: style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
        style |= WS_POPUP | WS_CAPTION;
        ex |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    case bsToolWindow:
        style |= WS_CAPTION;
        ex |= WS_EX_TOOLWINDOW;
        break;
    case bsSizeToolWin:
        style |= WS_CAPTION | WS_THICKFRAME;
        ex |= WS_EX_TOOLWINDOW;
        break;
    }
    if (borderStyle_ != bsNone && borderIcons_.Contains(biSystemMenu)) {
        style |= WS_SYSMENU;
        const bool minMax = borderStyle_ == bsSingle || borderStyle_ == bsSizeable;
        if (minMax && borderIcons_.Contains(biMinimize)) style |= WS_MINIMIZEBOX;
        if (minMax && borderIcons_.Contains(biMaximize)) style |= WS_MAXIMIZEBOX;
        if (borderIcons_.Contains(biHelp) && !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) ex |= WS_EX_CONTEXTHELP;
    }
    if (formStyle_ == fsStayOnTop) ex |= WS_EX_TOPMOST;
    if (!Enabled()) style |= WS_DISABLED;
    if (exStyle != nullptr) *exStyle = ex;
    return style;
}

// How much the frame (caption, borders, menu bar) adds to the client size.
TRect TCustomForm::FrameSize() const {
    DWORD ex = 0;
    DWORD style = WindowStyle(&ex);
    RECT r{0, 0, 100, 100};
    AdjustWindowRectEx(&r, style, menu_ != nullptr && menu_->Items()->Count() > 0, ex);
    return Rect(r.left, r.top, r.right - 100, r.bottom - 100);
}

HWND TCustomForm::OwnerWindow() const {
    TCustomForm* main = Application().MainForm();
    if (main != nullptr && main != this && main->HandleAllocated()) return main->HandleIfAllocated();
    return nullptr;
}

void TCustomForm::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style = WindowStyle(&params.ExStyle);
    params.WndParent = OwnerWindow();
    params.ClassStyle = CS_DBLCLKS;
    TRect frame = FrameSize();
    if (clientWidth_ >= 0) params.Width = clientWidth_ - frame.Left + frame.Right;
    if (clientHeight_ >= 0) params.Height = clientHeight_ - frame.Top + frame.Bottom;
    if (position_ == poDefault || position_ == poDefaultPosOnly) params.X = params.Y = CW_USEDEFAULT;
    if (position_ == poDefault || position_ == poDefaultSizeOnly) params.Width = params.Height = CW_USEDEFAULT;
}

void TCustomForm::DestroyWnd() {
    // The menu bar belongs to the menu component: the window must not take it along.
    if (HWND h = HandleIfAllocated(); h != nullptr && GetMenu(h) != nullptr) ::SetMenu(h, nullptr);
    if (menu_ != nullptr) menu_->SetWindowHandle(nullptr);
    TCustomControl::DestroyWnd();
}

void TCustomForm::CreateWnd() {
    TCustomControl::CreateWnd();
    UpdateBoundsFromWindow();
    if (menu_ != nullptr) {
        ::SetMenu(HandleIfAllocated(), menu_->Handle());
        menu_->SetWindowHandle(HandleIfAllocated());
    }
    // The menu bar may wrap: the client size is checked against the window made.
    if (clientWidth_ >= 0 || clientHeight_ >= 0) {
        RECT r;
        GetClientRect(HandleIfAllocated(), &r);
        int dw = clientWidth_ >= 0 ? clientWidth_ - r.right : 0;
        int dh = clientHeight_ >= 0 ? clientHeight_ - r.bottom : 0;
        if (dw != 0 || dh != 0)
            SetWindowPos(HandleIfAllocated(), nullptr, 0, 0, width_ + dw, height_ + dh,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        clientWidth_ = clientHeight_ = -1;
    }
}

TRect TCustomForm::ClientRect() const {
    if (HandleIfAllocated() != nullptr) return TCustomControl::ClientRect();
    TRect frame = FrameSize();
    int w = clientWidth_ >= 0 ? clientWidth_ : width_ + frame.Left - frame.Right;
    int h = clientHeight_ >= 0 ? clientHeight_ : height_ + frame.Top - frame.Bottom;
    return Rect(0, 0, std::max(w, 0), std::max(h, 0));
}

void TCustomForm::SetBounds(int left, int top, int width, int height) {
    if (HandleIfAllocated() == nullptr) {
        if (width != width_) clientWidth_ = -1;
        if (height != height_) clientHeight_ = -1;
    }
    TCustomControl::SetBounds(left, top, width, height);
}

void TCustomForm::SetClientWidth(int value) {
    if (HandleIfAllocated() != nullptr) {
        SetBounds(left_, top_, width_ + value - ClientWidth(), height_);
        return;
    }
    TRect frame = FrameSize();
    TCustomControl::SetBounds(left_, top_, value - frame.Left + frame.Right, height_);
    clientWidth_ = value;
}

void TCustomForm::SetClientHeight(int value) {
    if (HandleIfAllocated() != nullptr) {
        SetBounds(left_, top_, width_, height_ + value - ClientHeight());
        return;
    }
    TRect frame = FrameSize();
    TCustomControl::SetBounds(left_, top_, width_, value - frame.Top + frame.Bottom);
    clientHeight_ = value;
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
    if (value == borderStyle_) return;
    TRect client = ClientRect();
    borderStyle_ = value;
    if (HandleIfAllocated() == nullptr) {
        if (clientWidth_ < 0 && clientHeight_ < 0) return;
        SetClientWidth(client.Width());
        SetClientHeight(client.Height());
        return;
    }
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
    if (value == borderIcons_) return;
    borderIcons_ = value;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle value) {
    if (value == formStyle_) return;
    formStyle_ = value;
    if (HWND h = HandleIfAllocated())
        SetWindowPos(h, value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TCustomForm::WindowState() const {
    HWND h = HandleIfAllocated();
    if (h == nullptr || !Visible()) return windowState_;
    if (IsIconic(h)) return wsMinimized;
    if (IsZoomed(h)) return wsMaximized;
    return wsNormal;
}

void TCustomForm::SetWindowState(TWindowState value) {
    windowState_ = value;
    if (HandleIfAllocated() != nullptr && Visible()) ApplyWindowState();
}

void TCustomForm::ApplyWindowState() {
    static const int commands[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
    ShowWindow(HandleIfAllocated(), commands[windowState_]);
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    if (menu == menu_) return;
    if (menu_ != nullptr) {
        menu_->SetWindowHandle(nullptr);
        menu_->RemoveFreeNotification(this);
    }
    menu_ = menu;
    if (menu_ != nullptr) menu_->FreeNotification(this);
    if (HWND h = HandleIfAllocated()) {
        ::SetMenu(h, menu_ != nullptr ? menu_->Handle() : nullptr);
        if (menu_ != nullptr) menu_->SetWindowHandle(h);
    }
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == activeControl_) return;
    if (control != nullptr && (control == this || !ContainsControl(control)))
        throw EInvalidOperation(L"Invalid control for the form's active control");
    activeControl_ = control;
    if (!ComponentState().Contains(csLoading) && active_ && control != nullptr && control->CanFocus())
        control->SetFocus();
}

void TCustomForm::SetAutoScroll(bool value) {
    autoScroll_ = value;
    UpdateScrollRange();
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == activeControl_) activeControl_ = nullptr;
    if (component == menu_) {
        menu_ = nullptr;
        if (HWND h = HandleIfAllocated(); h != nullptr && !ComponentState().Contains(csDestroying)) ::SetMenu(h, nullptr);
    }
}

// ---- showing and closing ----

void TCustomForm::PlaceWindow() {
    HWND h = HandleIfAllocated();
    TRect area = WorkArea();
    TRect center = area;
    switch (position_) {
    case poScreenCenter:
    case poDesktopCenter: break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TCustomForm* relative = position_ == poMainFormCenter ? Application().MainForm() : dynamic_cast<TCustomForm*>(Owner());
        if (relative != nullptr && relative != this && relative->HandleAllocated() && relative->Visible())
            center = relative->BoundsRect();
        break;
    }
    default: return;
    }
    int x = center.Left + (center.Width() - width_) / 2;
    int y = center.Top + (center.Height() - height_) / 2;
    x = std::max(area.Left, std::min(x, area.Right - width_));
    y = std::max(area.Top, std::min(y, area.Bottom - height_));
    SetWindowPos(h, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateBoundsFromWindow();
}

void TCustomForm::Show() {
    SetVisible(true);
    if (HWND h = HandleIfAllocated()) {
        SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        if (IsWindowEnabled(h)) SetForegroundWindow(h);
    }
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::SetVisible(bool visible) {
    if (ComponentState().Contains(csLoading)) {
        showPending_ = visible;
        return;
    }
    if (visible == Visible()) return;
    if (visible) {
        HWND h = Handle();
        PlaceWindow();
        if (activeControl_ == nullptr) activeControl_ = FindNextControl(nullptr, true, true);
        TControl::SetVisible(true);
        DoShow();
        if (!Visible()) return;  // OnShow hid it again
        static const int commands[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
        ShowWindow(h, commands[windowState_]);
        UpdateScrollRange();
    } else {
        DoHide();
        TControl::SetVisible(false);
        if (HWND h = HandleIfAllocated()) ShowWindow(h, SW_HIDE);
    }
}

bool TCustomForm::Showing() const {
    return Visible() && HandleIfAllocated() != nullptr && IsWindowVisible(HandleIfAllocated());
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (Modal()) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application().MainForm() == this) {
        Application().Terminate();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    default: Release(); break;
    }
}

void TCustomForm::Release() {
    // A form on its way out is being freed already.
    if (ComponentState().Contains(csDestroying)) return;
    if (IsLocal())
        throw EInvalidOperation(Format(L"Form '%s' is a TLocal: only the end of its scope may free it", {Name()}));
    TControlsScope::Required().PostRelease(this);
}

void TCustomForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    switch (action) {
    case caNone: modalResult_ = mrNone; break;
    case caFree: Release(); break;
    default: break;
    }
}

int TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || Modal())
        throw EInvalidOperation(L"Cannot make a visible window modal");
    if (GetCapture() != nullptr) ReleaseCapture();
    Application().CancelHint();
    HWND self = Handle();
    HWND activeBefore = GetActiveWindow();
    DisabledWindows disabled{self, {}, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&disabled));
    disabled.Error.Rethrow();
    for (HWND w : disabled.Windows) EnableWindow(w, FALSE);

    bool destroyed = false;
    destroyedFlag_ = &destroyed;
    int level = 0;
    modalLevel_ = &level;
    modalResult_ = mrNone;
    auto restore = [&] {
        for (HWND w : disabled.Windows)
            if (IsWindow(w)) EnableWindow(w, TRUE);
        if (!destroyed) {
            destroyedFlag_ = nullptr;
            modalLevel_ = nullptr;
            Hide();
        }
        if (activeBefore != nullptr && IsWindow(activeBefore)) SetActiveWindow(activeBefore);
    };
    try {
        Show();
        while (true) {
            Application().HandleMessage();
            if (destroyed || released_ || Application().Terminated()) break;
            if (modalResult_ != mrNone) {
                CloseModal();
                if (destroyed || modalResult_ != mrNone) break;
            }
        }
    } catch (...) {
        restore();
        throw;
    }
    TModalResult result = destroyed || released_ ? mrCancel : modalResult_;
    restore();
    return result;
}

// ---- activation, focus and keys ----

void TCustomForm::Activate() {
    if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
    if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::ActivateFocus() {
    if (activeControl_ != nullptr && activeControl_->CanFocus()) {
        if (!activeControl_->Focused()) ::SetFocus(activeControl_->Handle());
    } else if (TWinControl* first = FindNextControl(nullptr, true, true)) {
        ::SetFocus(first->Handle());
    }
}

void TCustomForm::FocusChanged(TWinControl* control) {
    TCustomControl::FocusChanged(control);
    if (control != nullptr && control != this) {
        activeControl_ = control;
        if (Screen().ActiveForm() == this) Screen().SetActiveControl(control);
    }
}

bool TCustomForm::PreviewKeyDown(Word& key, TShiftState shift) {
    if (!keyPreview_) return false;
    KeyDown(key, shift);
    return key == 0;
}

bool TCustomForm::PreviewKeyPress(wchar_t& key) {
    if (!keyPreview_) return false;
    KeyPress(key);
    return key == 0;
}

bool TCustomForm::PreviewKeyUp(Word& key, TShiftState shift) {
    if (!keyPreview_) return false;
    KeyUp(key, shift);
    return key == 0;
}

bool TCustomForm::IsShortCut(Word key, TShiftState shift) {
    return menu_ != nullptr && menu_->IsShortCut(key, shift);
}

void TCustomForm::Paint() {
    if (OnPaint) OnPaint(this);
}

// ---- scrolling ----

void TCustomForm::UpdateScrollRange() {
    HWND h = HandleIfAllocated();
    if (h == nullptr) return;
    int right = 0;
    int bottom = 0;
    if (autoScroll_)
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (!c->Visible() || c->Align() != alNone) continue;
            right = std::max(right, c->Left() + c->Width() + scrollPos_.X);
            bottom = std::max(bottom, c->Top() + c->Height() + scrollPos_.Y);
        }
    RECT client;
    GetClientRect(h, &client);
    auto apply = [h](int bar, int range, int page) {
        SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE, 0, range > page ? range - 1 : 0, static_cast<UINT>(page), 0, 0};
        SetScrollInfo(h, bar, &si, TRUE);
    };
    apply(SB_HORZ, right, client.right);
    apply(SB_VERT, bottom, client.bottom);
}

void TCustomForm::Scroll(int bar, int code) {
    HWND h = HandleIfAllocated();
    SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(h, bar, &si);
    int pos = si.nPos;
    switch (code) {
    case SB_LINEUP: pos -= 8; break;
    case SB_LINEDOWN: pos += 8; break;
    case SB_PAGEUP: pos -= static_cast<int>(si.nPage); break;
    case SB_PAGEDOWN: pos += static_cast<int>(si.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = si.nMin; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
    }
    pos = std::max(si.nMin, std::min(pos, si.nMax - std::max(static_cast<int>(si.nPage) - 1, 0)));
    int delta = si.nPos - pos;
    if (delta == 0) return;
    si.fMask = SIF_POS;
    si.nPos = pos;
    SetScrollInfo(h, bar, &si, TRUE);
    int dx = bar == SB_HORZ ? delta : 0;
    int dy = bar == SB_VERT ? delta : 0;
    scrollPos_.X -= dx;
    scrollPos_.Y -= dy;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->IsWindowed()) c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
    ScrollWindowEx(h, dx, dy, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

// ---- messages ----

void TCustomForm::WndProc(TMessage& message) {
    // A form on its way out takes no part in activation and focus any more.
    if (ComponentState().Contains(csDestroying) && (message.Msg == WM_ACTIVATE || message.Msg == WM_SETFOCUS)) {
        active_ = false;
        DefaultHandler(message);
        return;
    }
    switch (message.Msg) {
    case WM_ACTIVATE:
        DefaultHandler(message);
        if (LOWORD(message.WParam) != WA_INACTIVE) {
            active_ = true;
            Screen().SetActiveForm(this);
            if (!HIWORD(message.WParam)) ActivateFocus();
            Activate();
        } else {
            active_ = false;
            Deactivate();
        }
        return;
    case WM_SETFOCUS:
        DefaultHandler(message);
        ActivateFocus();
        return;
    case WM_CLOSE: Close(); return;
    case WM_SIZE:
        TCustomControl::WndProc(message);
        UpdateScrollRange();
        return;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (message.LParam == 0) {
            Scroll(message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(message.WParam));
            return;
        }
        break;
    case CM_RELEASE:
        // Freed once this message and every one it is nested in are handled: whatever called
        // this window procedure may still use the form when it returns.
        released_ = true;
        TControlsScope::Required().FreeAfterDispatch(this);
        return;
    case CM_MENUCHANGED:
        if (HWND h = HandleIfAllocated(); h != nullptr && menu_ != nullptr) {
            if (GetMenu(h) != menu_->Handle()) ::SetMenu(h, menu_->Handle());
            DrawMenuBar(h);
        }
        return;
    case CM_MODALRESULT: modalResult_ = static_cast<TModalResult>(message.WParam); return;
    default: break;
    }
    TCustomControl::WndProc(message);
}

// ---- TForm ----

TForm::TForm(TComponent* owner) : TCustomForm(owner) {}
TForm::~TForm() = default;
