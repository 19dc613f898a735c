// TWinControl: window creation, message routing, focus, keys and painting.
#include <algorithm>

#include "framework/controls/Control.h"
#include "framework/controls/ControlInternals.h"
#include "framework/controls/ControlsHost.h"
#include "framework/controls/Menus.h"
#include "framework/rtl/Format.h"

using namespace fv_controls;

namespace {

UINT NextChildId() {
    static UINT next = 0;
    next = next % 0xFF00 + 1;
    return next + 0x00FF;
}

}  // namespace

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    windowed_ = true;
    controlStyle_.Exclude(csClickEvents);
}

void TWinControl::BeforeDestruction() {
    // The focus is let go of without CM_EXIT: no focus event reaches a control on its way out.
    TWinControl* root = Root();
    if (root->focusedControl_ != nullptr && ContainsControl(root->focusedControl_)) root->focusedControl_ = nullptr;
    DestroyHandle();
    TControl::BeforeDestruction();
}

bool TWinControl::BeingDestroyed() const {
    for (const TControl* c = this; c != nullptr; c = c->Parent())
        if (c->ComponentState().Contains(csDestroying)) return true;
    return false;
}

TWinControl::~TWinControl() {
    // A window and a parent are left here only when a constructor raised.
    DestroyHandle();
    // Children are owned elsewhere (the form): they are only let go of here.
    for (TControl* c : controls_) c->parent_ = nullptr;
    controls_.clear();
    tabList_.clear();
    if (Parent() != nullptr) Parent()->RemoveControl(this);
}

void TWinControl::Publish(TPublisher<TWinControl>& p) {
    p.Property(L"TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
    p.Property(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
    p.Event(L"OnEnter", &TWinControl::OnEnter);
    p.Event(L"OnExit", &TWinControl::OnExit);
    p.Event(L"OnKeyDown", &TWinControl::OnKeyDown);
    p.Event(L"OnKeyPress", &TWinControl::OnKeyPress);
    p.Event(L"OnKeyUp", &TWinControl::OnKeyUp);
}

// ---- window life ----

HWND TWinControl::Handle() {
    if (handle_ == nullptr) CreateHandle();
    return handle_;
}

void TWinControl::CreateHandle() {
    if (handle_ != nullptr || BeingDestroyed()) return;
    if (Parent() != nullptr) Parent()->Handle();
    if (handle_ != nullptr) return;  // the parent made it with its children
    CreateWnd();
    ApplyFont();
    if (CreatesChildHandles()) CreateChildHandles();
    CreateHandleDone();
    if (!ComponentState().Contains(csLoading)) Realign();
    if (TControlsHost* host = ControlsHost()) host->ControlWindowCreated(this);
}

void TWinControl::CreateChildHandles() {
    for (TWinControl* child : tabList_)
        if (child->handle_ == nullptr) child->CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.Caption = text_;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (controlStyle_.Contains(csAcceptsControls)) params.Style |= WS_CLIPCHILDREN;
    if (Visible()) params.Style |= WS_VISIBLE;
    if (!Enabled()) params.Style |= WS_DISABLED;
    if (tabStop_) params.Style |= WS_TABSTOP;
    params.X = left_;
    params.Y = top_;
    params.Width = width_;
    params.Height = height_;
    params.WndParent = Parent() != nullptr ? Parent()->handle_ : parentWindow_;
    params.ClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& params, const wchar_t* systemClassName) {
    params.SysClassName = systemClassName;
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && params.WndParent == nullptr)
        throw EInvalidOperation(Format(L"Control '%s' has no parent window", {Name()}));
    CreateWindowHandle(params);
    if (handle_ == nullptr)
        throw EOSError(Format(L"Error creating window of class %s (%d)",
                              {params.WinClassName, static_cast<int>(GetLastError())}));
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
    defWndProc_ = RegisterWindowClass(params);
    superclassed_ = !params.SysClassName.empty();
    TWinControl* previous = SetCreating(this);
    HMENU id = (params.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(NextChildId())) : nullptr;
    HWND h = CreateWindowExW(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(), params.Style,
                             params.X, params.Y, params.Width, params.Height, params.WndParent, id,
                             GetModuleHandleW(nullptr), params.Param);
    SetCreating(previous);
    if (h != nullptr && handle_ == nullptr) AttachHandle(h);
}

void TWinControl::AttachHandle(HWND handle) {
    handle_ = handle;
    BindWindow(handle, this);
}

void TWinControl::DestroyWnd() {
    text_ = GetText();
    if (handle_ != nullptr) DestroyWindow(handle_);
    handle_ = nullptr;
}

void TWinControl::DestroyHandle() {
    if (handle_ == nullptr) return;
    for (TWinControl* child : tabList_) child->DestroyHandle();
    DestroyWnd();
    appliedFont_.reset();
}

void TWinControl::RecreateWnd() {
    if (handle_ == nullptr) return;
    bool focused = Focused();
    DestroyHandle();
    CreateHandle();
    if (focused && CanFocus()) ::SetFocus(handle_);
}

void TWinControl::SetParentWindow(HWND window) {
    if (window == parentWindow_) return;
    if (handle_ != nullptr && Parent() == nullptr) DestroyHandle();
    parentWindow_ = window;
}

void TWinControl::ApplyFont() {
    if (handle_ == nullptr) return;
    // A copy: the window keeps its font until it has the new one.
    auto font = std::make_unique<TFont>();
    font->Assign(*Font());
    ::SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font->Handle()), FALSE);
    appliedFont_ = std::move(font);
}

// ---- children ----

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount()) throw EListError(Format(L"List index out of bounds (%d)", {index}));
    return controls_[static_cast<size_t>(index)];
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (control->parentFont_) control->SetFontFromParent();
    if (control->parentColor_) control->SetColorFromParent();
    if (control->parentShowHint_) control->showHint_ = ShowHint();
    if (control->windowed_) {
        auto* w = static_cast<TWinControl*>(control);
        tabList_.push_back(w);
        if (handle_ != nullptr && !control->ComponentState().Contains(csLoading)) w->CreateHandle();
    } else {
        control->Invalidate();
    }
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 1);
    if (control->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* control) {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end()) return;
    TWinControl* root = Root();
    if (root->focusedControl_ != nullptr &&
        (root->focusedControl_ == control ||
         (control->windowed_ && static_cast<TWinControl*>(control)->ContainsControl(root->focusedControl_))))
        root->focusedControl_ = nullptr;
    control->Invalidate();
    controls_.erase(it);
    if (control->windowed_) {
        auto* w = static_cast<TWinControl*>(control);
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
        if (!ComponentState().Contains(csDestroying)) w->DestroyHandle();
    }
    control->parent_ = nullptr;
    if (!ComponentState().Contains(csDestroying)) {
        Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 0);
        if (control->Align() != alNone) Realign();
    }
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c != nullptr; c = c->Parent())
        if (c == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (c->windowed_ && !allowWinControls) continue;
        if (!c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
        if (p.X >= c->left_ && p.Y >= c->top_ && p.X < c->left_ + c->width_ && p.Y < c->top_ + c->height_) {
            LPARAM at = MAKELPARAM(p.X - c->left_, p.Y - c->top_);
            if (c->Perform(CM_HITTEST, 0, at) != 0) return c;
        }
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
    for (size_t i = 0; i < controls_.size(); ++i) {
        controls_[i]->WindowProc(message);
        if (message.Result != 0) return;
    }
}

TWinControl* TWinControl::Root() {
    TWinControl* c = this;
    while (c->Parent() != nullptr) c = c->Parent();
    return c;
}

// ---- tab order and focus ----

int TWinControl::TabOrder() const {
    if (Parent() == nullptr) return -1;
    const auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    tabOrderValue_ = order;
    if (Parent() == nullptr || ComponentState().Contains(csLoading)) return;
    auto& list = Parent()->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    size_t at = order < 0 ? list.size() : std::min(static_cast<size_t>(order), list.size());
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), this);
}

void TWinControl::SetTabStop(bool value) {
    if (value == tabStop_) return;
    tabStop_ = value;
    if (handle_ != nullptr) {
        LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
        SetWindowLongPtrW(handle_, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
    }
    Perform(CM_TABSTOPCHANGED);
}

std::vector<TWinControl*> TWinControl::GetTabOrderList() const {
    std::vector<TWinControl*> result;
    for (TWinControl* c : tabList_) {
        result.push_back(c);
        auto sub = c->GetTabOrderList();
        result.insert(result.end(), sub.begin(), sub.end());
    }
    return result;
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const {
    auto list = GetTabOrderList();
    if (list.empty()) return nullptr;
    const int n = static_cast<int>(list.size());
    auto it = std::find(list.begin(), list.end(), current);
    int start = it == list.end() ? (forward ? n - 1 : 0) : static_cast<int>(it - list.begin());
    for (int step = 1; step <= n; ++step) {
        int i = ((forward ? start + step : start - step) % n + n) % n;
        TWinControl* c = list[static_cast<size_t>(i)];
        if (c == current) break;
        if (c->CanFocus() && (!checkTabStop || c->TabStop())) return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, forward, checkTabStop)) next->SetFocus();
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c != nullptr; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const { return handle_ != nullptr && GetFocus() == handle_; }

void TWinControl::SetFocus() {
    if (!CanFocus()) throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

void TWinControl::FocusChanged(TWinControl* control) { SetFocusedControl(control); }

void TWinControl::SetFocusedControl(TWinControl* control) {
    TWinControl* old = focusedControl_;
    if (old == control) return;
    if (control == this) control = nullptr;
    if (old != nullptr) {
        try {
            for (TWinControl* c = old; c != nullptr && c != this; c = c->Parent()) {
                if (control != nullptr && c->ContainsControl(control)) break;
                c->Perform(CM_EXIT);
            }
        } catch (...) {
            // The control refused to let the focus go: it gets it back.
            focusedControl_ = old;
            if (old->HandleAllocated() && old->CanFocus()) ::SetFocus(old->handle_);
            throw;
        }
    }
    focusedControl_ = control;
    if (control != nullptr) {
        std::vector<TWinControl*> entered;
        for (TWinControl* c = control; c != nullptr && c != this; c = c->Parent()) {
            if (old != nullptr && c->ContainsControl(old)) break;
            entered.push_back(c);
        }
        for (auto it = entered.rbegin(); it != entered.rend(); ++it) {
            if (focusedControl_ != control) return;  // an OnEnter moved the focus on
            (*it)->Perform(CM_ENTER);
        }
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

// ---- properties with windows ----

TRect TWinControl::ClientRect() const {
    if (handle_ != nullptr) {
        RECT r;
        GetClientRect(handle_, &r);
        return Rect(r.left, r.top, r.right, r.bottom);
    }
    return Rect(0, 0, width_, height_);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (handle_ != nullptr && !IsIconic(handle_))
        SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (Parent() != nullptr && Align() != alNone) Parent()->Realign();
    if (resized && handle_ == nullptr) Realign();
}

void TWinControl::UpdateBoundsFromWindow() {
    if (handle_ == nullptr || IsIconic(handle_)) return;
    RECT r;
    GetWindowRect(handle_, &r);
    if (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
    left_ = r.left;
    top_ = r.top;
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
}

String TWinControl::GetText() const {
    if (handle_ == nullptr) return text_;
    int n = GetWindowTextLengthW(handle_);
    String s(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(handle_, s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(n, 0)));
    return s;
}

void TWinControl::SetText(const String& text) {
    if (text == GetText()) return;
    text_ = text;
    if (handle_ != nullptr) SetWindowTextW(handle_, text.c_str());
    Perform(CM_TEXTCHANGED);
}

void TWinControl::SetVisible(bool visible) {
    if (visible == Visible()) return;
    TControl::SetVisible(visible);
    if (handle_ != nullptr && visible) CreateChildHandles();  // those that waited for the showing
    if (handle_ != nullptr)
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    else if (visible && Parent() != nullptr && Parent()->HandleAllocated() &&
             !ComponentState().Contains(csLoading))
        CreateHandle();
}

void TWinControl::SetEnabled(bool enabled) {
    if (enabled == Enabled()) return;
    TControl::SetEnabled(enabled);
    if (handle_ != nullptr) EnableWindow(handle_, enabled);
}

bool TWinControl::Showing() const {
    if (!Visible()) return false;
    if (Parent() != nullptr) return Parent()->Showing();
    if (parentWindow_ != nullptr) return IsWindowVisible(parentWindow_) != FALSE;
    return handle_ != nullptr && IsWindowVisible(handle_);
}

void TWinControl::Invalidate() {
    if (handle_ != nullptr) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Update() {
    if (handle_ != nullptr) UpdateWindow(handle_);
}

HBRUSH TWinControl::BackgroundBrush() {
    if (!brush_ || brushColor_ != Color()) {
        brush_.reset(CreateSolidBrush(ColorToRGB(Color())));
        brushColor_ = Color();
    }
    return brush_.get();
}

void TWinControl::ColorChanged() {
    brush_.reset();
    Invalidate();
    TMessage m{CM_PARENTCOLORCHANGED, 0, 0, 0};
    for (size_t i = 0; i < controls_.size(); ++i) controls_[i]->WindowProc(m);
}

void TWinControl::FontChanged() {
    ApplyFont();
    Invalidate();
    TMessage m{CM_PARENTFONTCHANGED, 0, 0, 0};
    for (size_t i = 0; i < controls_.size(); ++i) controls_[i]->WindowProc(m);
}

void TWinControl::Loaded() {
    TControl::Loaded();
    // Tab order values read from a description apply once all siblings exist.
    std::stable_sort(tabList_.begin(), tabList_.end(), [](TWinControl* a, TWinControl* b) {
        auto key = [](TWinControl* c) { return c->tabOrderValue_ < 0 ? 0x7FFFFFFF : c->tabOrderValue_; };
        return key(a) < key(b);
    });
    Realign();
}

void TWinControl::Notification(TComponent* component, TOperation operation) {
    TControl::Notification(component, operation);
}

// ---- alignment ----

void TWinControl::Realign() {
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
    TRect r = ClientRect();
    AlignControls(r);
}

void TWinControl::AlignControls(TRect& rect) {
    if (alignLevel_ > 0) return;
    ++alignLevel_;
    try {
        for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) {
            for (TControl* c : std::vector<TControl*>(controls_)) {
                if (c->Align() != a || !c->Visible()) continue;
                switch (a) {
                case alTop:
                    c->SetBounds(rect.Left, rect.Top, rect.Width(), c->height_);
                    rect.Top += c->height_;
                    break;
                case alBottom:
                    c->SetBounds(rect.Left, rect.Bottom - c->height_, rect.Width(), c->height_);
                    rect.Bottom -= c->height_;
                    break;
                case alLeft:
                    c->SetBounds(rect.Left, rect.Top, c->width_, rect.Height());
                    rect.Left += c->width_;
                    break;
                case alRight:
                    c->SetBounds(rect.Right - c->width_, rect.Top, c->width_, rect.Height());
                    rect.Right -= c->width_;
                    break;
                default: c->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height()); break;
                }
            }
        }
    } catch (...) {
        --alignLevel_;
        throw;
    }
    --alignLevel_;
}

// ---- painting ----

void TWinControl::PaintWindow(HDC dc) {
    TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc) {
    RECT clip;
    int region = GetClipBox(dc, &clip);
    for (TControl* c : controls_) {
        if (c->windowed_ || !c->Visible()) continue;
        if (region != NULLREGION && region != ERROR) {
            RECT r{c->left_, c->top_, c->left_ + c->width_, c->top_ + c->height_}, common;
            if (!IntersectRect(&common, &r, &clip)) continue;
        }
        SavedDCState saved(dc);
        POINT origin;
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x + c->left_, origin.y + c->top_, nullptr);
        IntersectClipRect(dc, 0, 0, c->width_, c->height_);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
}

void TWinControl::PaintHandler(TMessage& message) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    const bool hasGraphicChildren =
        std::any_of(controls_.begin(), controls_.end(), [](TControl* c) { return !c->windowed_ && c->Visible(); });
    if (superclassed_) {
        // The system control paints itself (into the given DC when there is one).
        DefaultHandler(message);
        if (!hasGraphicChildren) return;
        if (dc != nullptr) {
            PaintControls(dc);
        } else {
            const UniqueWindowDC own = ClientDC(handle_);
            PaintControls(own.get());
        }
        return;
    }
    // Without a DC from the sender this is the window's own paint, ended however painting ends.
    UniquePaintDC own;
    if (dc == nullptr) {
        own = BeginPaintDC(handle_);
        dc = own.get();
    }
    {
        SavedDCState saved(dc);
        PaintWindow(dc);
    }
    PaintControls(dc);
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
    Handle();
    SavedDCState saved(dc);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + x, origin.y + y, nullptr);
    TRect client = ClientRect();
    IntersectClipRect(dc, 0, 0, client.Width(), client.Height());
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    for (TControl* c : controls_) {
        if (!c->windowed_ || !c->Visible()) continue;
        static_cast<TWinControl*>(c)->PaintTo(dc, c->left_, c->top_);
    }
}

// ---- keys ----

bool TWinControl::DoKeyDown(Word& key, TShiftState shift) {
    TWinControl* root = Root();
    if (root != this && root->PreviewKeyDown(key, shift)) return true;
    if (key == 0) return true;
    KeyDown(key, shift);
    return key == 0;
}

bool TWinControl::DoKeyPress(wchar_t& key) {
    TWinControl* root = Root();
    if (root != this && root->PreviewKeyPress(key)) return true;
    if (key == 0) return true;
    KeyPress(key);
    return key == 0;
}

bool TWinControl::DoKeyUp(Word& key, TShiftState shift) {
    TWinControl* root = Root();
    if (root != this && root->PreviewKeyUp(key, shift)) return true;
    if (key == 0) return true;
    KeyUp(key, shift);
    return key == 0;
}

void TWinControl::KeyDown(Word& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyPress(wchar_t& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::KeyUp(Word& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::HandleDialogKeys(TMessage& message) {
    const Word key = static_cast<Word>(message.WParam);
    switch (key) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_EXECUTE:
    case VK_CANCEL:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: break;
    default: return;
    }
    if (Perform(CM_WANTSPECIALKEY, key, message.LParam) != 0) return;
    LRESULT code = handle_ != nullptr ? ::SendMessageW(handle_, WM_GETDLGCODE, key, 0) : 0;
    if (code & DLGC_WANTALLKEYS) return;
    if (key == VK_TAB && (code & DLGC_WANTTAB)) return;
    if ((key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) && (code & DLGC_WANTARROWS)) return;
    if (Root()->Perform(CM_DIALOGKEY, key, message.LParam) != 0) message.Result = 1;
}

// ---- messages ----

void TWinControl::ReflectToChild(TMessage& message, HWND child) {
    TWinControl* target = FindControl(child);
    if (target == nullptr || target == this) {
        DefaultHandler(message);
        return;
    }
    message.Result = target->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
}

void TWinControl::WndProc(TMessage& message) {
    if (IsMouseClientMessage(message.Msg)) {
        TPoint p{message.XPos(), message.YPos()};
        TControl* target = CaptureControl();
        if (target == nullptr || target->Parent() != this) target = ControlAtPos(p);
        if (message.Msg == WM_MOUSEMOVE) MouseMovedOver(target != nullptr ? target : this, handle_);
        if (target != nullptr) {
            TMessage m = message;
            m.LParam = MAKELPARAM(p.X - target->Left(), p.Y - target->Top());
            target->WindowProc(m);
            message.Result = m.Result;
            return;
        }
        HandleMouseMessage(message);
        return;
    }
    switch (message.Msg) {
    case WM_SETFOCUS:
        DefaultHandler(message);
        if (!BeingDestroyed()) Root()->FocusChanged(this);
        return;
    case WM_PAINT: PaintHandler(message); return;
    case WM_ERASEBKGND:
        if (!superclassed_) {
            RECT r;
            GetClientRect(handle_, &r);
            FillRect(reinterpret_cast<HDC>(message.WParam), &r, BackgroundBrush());
            message.Result = 1;
            return;
        }
        break;
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(message);
        UpdateBoundsFromWindow();
        return;
    case WM_SIZE:
        DefaultHandler(message);
        Realign();
        return;
    case WM_MOUSELEAVE:
        MouseLeftWindow(this);
        DefaultHandler(message);
        return;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(message.WParam) == handle_ && LOWORD(message.LParam) == HTCLIENT) {
            TCursor cursor = ControlsHost() != nullptr ? ControlsHost()->ScreenCursor() : crDefault;
            if (cursor == crDefault) {
                POINT pt;
                GetCursorPos(&pt);
                ::ScreenToClient(handle_, &pt);
                TControl* c = ControlAtPos(Point(pt.x, pt.y));
                cursor = c != nullptr && c->Cursor() != crDefault ? c->Cursor() : Cursor();
            }
            if (HCURSOR h = CursorHandle(cursor)) {
                ::SetCursor(h);
                message.Result = TRUE;
                return;
            }
        }
        break;
    case WM_CONTEXTMENU: {
        TPoint screen{message.XPos(), message.YPos()};
        if (message.LParam == -1) screen = ClientToScreen(Point(width_ / 2, height_ / 2));
        TControl* target = ControlAtPos(ScreenToClient(screen));
        if (target == nullptr) target = this;
        if (TPopupMenu* menu = target->PopupMenu(); menu != nullptr && menu->AutoPopup()) {
            menu->SetPopupComponent(target);
            menu->Popup(screen.X, screen.Y);
            message.Result = 1;
            return;
        }
        break;
    }
    case WM_COMMAND:
        if (message.LParam != 0) {
            ReflectToChild(message, reinterpret_cast<HWND>(message.LParam));
            return;
        }
        if (DispatchMenuItemMessage(message)) return;
        break;
    case WM_INITMENUPOPUP:
        DefaultHandler(message);
        DispatchMenuItemMessage(message);
        return;
    case WM_NOTIFY:
        ReflectToChild(message, reinterpret_cast<NMHDR*>(message.LParam)->hwndFrom);
        return;
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
        if (dis->CtlType != ODT_MENU) {
            ReflectToChild(message, dis->hwndItem);
            return;
        }
        if (DispatchMenuItemMessage(message)) return;
        break;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        if (mis->CtlType != ODT_MENU && handle_ != nullptr) {
            ReflectToChild(message, GetDlgItem(handle_, static_cast<int>(mis->CtlID)));
            return;
        }
        if (mis->CtlType == ODT_MENU && DispatchMenuItemMessage(message)) return;
        break;
    }
    case WM_DELETEITEM:
        ReflectToChild(message, reinterpret_cast<DELETEITEMSTRUCT*>(message.LParam)->hwndItem);
        return;
    case WM_COMPAREITEM:
        ReflectToChild(message, reinterpret_cast<COMPAREITEMSTRUCT*>(message.LParam)->hwndItem);
        return;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
        if (message.LParam != 0) {
            ReflectToChild(message, reinterpret_cast<HWND>(message.LParam));
            return;
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (!ConsumePreprocessedKey(handle_, message)) {
            Word key = static_cast<Word>(message.WParam);
            if (DoKeyDown(key, KeyboardShiftState())) return;
            message.WParam = key;
        }
        break;
    case WM_CHAR:
        if (!ConsumePreprocessedKey(handle_, message)) {
            auto key = static_cast<wchar_t>(message.WParam);
            if (DoKeyPress(key)) return;
            message.WParam = key;
        }
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        Word key = static_cast<Word>(message.WParam);
        if (DoKeyUp(key, KeyboardShiftState())) return;
        message.WParam = key;
        break;
    }
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: {
        Word key = static_cast<Word>(message.WParam);
        if (DoKeyDown(key, KeyboardShiftState())) {
            message.Result = 1;
            return;
        }
        message.WParam = key;
        if (Root()->IsShortCut(key, KeyboardShiftState())) {
            message.Result = 1;
            return;
        }
        HandleDialogKeys(message);
        return;
    }
    case CN_CHAR: {
        auto key = static_cast<wchar_t>(message.WParam);
        if (DoKeyPress(key)) {
            message.Result = 1;
            return;
        }
        message.WParam = key;
        LRESULT code = handle_ != nullptr ? ::SendMessageW(handle_, WM_GETDLGCODE, 0, 0) : 0;
        if (!(code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) && key > L' ' &&
            Root()->Perform(CM_DIALOGCHAR, key, message.LParam) != 0)
            message.Result = 1;
        return;
    }
    case CN_SYSCHAR:
        if (message.WParam != VK_SPACE)
            message.Result = Root()->Perform(CM_DIALOGCHAR, message.WParam, message.LParam);
        return;
    case CM_DIALOGKEY:
        if (Parent() == nullptr && message.WParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 &&
            GetKeyState(VK_MENU) >= 0) {
            TWinControl* current = focusedControl_ != nullptr ? focusedControl_ : FindControl(GetFocus());
            SelectNext(current, GetKeyState(VK_SHIFT) >= 0, true);
            message.Result = 1;
            return;
        }
        Broadcast(message);
        return;
    case CM_DIALOGCHAR: Broadcast(message); return;
    case CM_FOCUSCHANGED:
        Broadcast(message);
        message.Result = 0;
        return;
    case CM_ENTER: DoEnter(); return;
    case CM_EXIT: DoExit(); return;
    case CM_RECREATEWND: RecreateWnd(); return;
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        SetBkColor(dc, ColorToRGB(Color()));
        message.Result = reinterpret_cast<LRESULT>(BackgroundBrush());
        return;
    }
    default:
        if (IsCtlColor(message.Msg)) {
            // The colour of a child window (or of an inner window of a child control, such as a
            // combo box's field and list) is answered by that control.
            HWND child = reinterpret_cast<HWND>(message.LParam);
            TWinControl* target = nullptr;
            for (HWND h = child; h != nullptr && h != GetParent(handle_); h = GetParent(h)) {
                target = FindControl(h);
                if (target != nullptr) break;
            }
            if (target != nullptr && (target != this || child != handle_)) {
                message.Result = target->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
                return;
            }
        }
        break;
    }
    TControl::WndProc(message);
}

void TWinControl::DefaultHandler(TMessage& message) {
    if (handle_ != nullptr)
        message.Result = CallWindowProcW(defWndProc_, handle_, message.Msg, message.WParam, message.LParam);
}
