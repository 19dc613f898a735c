#include "framework/controls/Control.h"

#include <algorithm>
#include <map>
#include <utility>

#include "framework/controls/ControlInternals.h"
#include "framework/controls/ControlsHost.h"
#include "framework/controls/ControlsScope.h"
#include "framework/controls/Menus.h"
#include "framework/rtl/Format.h"

namespace {

// The window property that points at a window's control, named per process so that a window of
// another process is never taken for ours. Read through its atom: a name would be looked up in
// the atom table on every message. The atom is registered with the controls scope, before any of
// its objects, so that it outlasts every window those objects free; none is in force outside one.
ATOM g_controlAtom = 0;

class TControlProperty {
public:
    TControlProperty()
        : atom_(GlobalAddAtomW((L"FolhavidaControl" + std::to_wstring(GetCurrentProcessId())).c_str())) {
        g_controlAtom = atom_;
    }
    ~TControlProperty() {
        if (g_controlAtom == atom_) g_controlAtom = 0;
        if (atom_ != 0) GlobalDeleteAtom(atom_);
    }
    TControlProperty(const TControlProperty&) = delete;
    TControlProperty& operator=(const TControlProperty&) = delete;

private:
    ATOM atom_;
};

const wchar_t* ControlProperty() { return MAKEINTATOM(g_controlAtom); }

thread_local TWinControl* t_creating = nullptr;
// Where the mouse is: the application scope's, so that none of it outlives the controls of
// one scope and reaches the next.
struct TMouseState {
    TControl* Control = nullptr;
    TControl* Capture = nullptr;  // a windowless control holding the mouse through its parent
    HWND TrackedWindow = nullptr;
};

TMouseState& Mouse() { return ScopeObject<TMouseState>(); }

// The key message IsKeyMessage already offered to the framework; its dispatch must not run the
// key events a second time.
struct TPreprocessed {
    HWND Window = nullptr;
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
} g_preprocessed;

void SetMouseControl(TControl* control) {
    if (control == Mouse().Control) return;
    TControl* old = Mouse().Control;
    Mouse().Control = control;
    if (old != nullptr) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
    if (control != nullptr && Mouse().Control == control)
        control->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(control));
    if (TControlsHost* host = ControlsHost()) host->MouseControlChanged(Mouse().Control);
}

void TrackLeave(HWND window) {
    if (Mouse().TrackedWindow == window) return;
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, window, 0};
    if (TrackMouseEvent(&tme)) Mouse().TrackedWindow = window;
}

// Lends a DC to a control's canvas for one Paint, with the control's font and colour, and takes
// it back however Paint ends.
template <class PaintFn>
void PaintOnDC(TCanvas& canvas, HDC dc, const TControl& control, PaintFn paint) {
    struct TRelease {
        TCanvas& canvas;
        ~TRelease() { canvas.SetHandle(nullptr); }
    } release{canvas};
    canvas.SetHandle(dc);
    canvas.Font().Assign(*control.Font());
    canvas.Brush().SetColor(control.Color());
    paint();
}

}  // namespace

WNDPROC fv_controls::RegisterWindowClass(const TCreateParams& params) {
    TControlsScope& scope = TControlsScope::Required();
    if (WNDPROC known = scope.WindowClassProc(params.WinClassName)) return known;

    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    WNDPROC defaultProc = DefWindowProcW;
    if (!params.SysClassName.empty()) {
        if (!GetClassInfoExW(nullptr, params.SysClassName.c_str(), &wc) &&
            !GetClassInfoExW(instance, params.SysClassName.c_str(), &wc))
            throw EOSError(Format(L"Window class %s not found", {params.SysClassName}));
        defaultProc = wc.lpfnWndProc;
        wc.cbSize = sizeof(wc);
        wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
    } else {
        wc.style = params.ClassStyle;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        if (wc.hIcon == nullptr) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    }
    wc.lpfnWndProc = ControlWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = params.WinClassName.c_str();
    wc.lpszMenuName = nullptr;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw EOSError(Format(L"Cannot register window class %s", {params.WinClassName}));
    scope.AddWindowClass(params.WinClassName, defaultProc);
    return defaultProc;
}

TWinControl* fv_controls::SetCreating(TWinControl* control) { return std::exchange(t_creating, control); }

void fv_controls::RegisterControlProperty() { (void)ScopeObject<TControlProperty>(); }

void fv_controls::BindWindow(HWND window, TWinControl* control) {
    if (g_controlAtom != 0) SetPropW(window, ControlProperty(), control);
}

bool fv_controls::ConsumePreprocessedKey(HWND window, const TMessage& m) {
    if (g_preprocessed.Window == window && g_preprocessed.Msg == m.Msg && g_preprocessed.WParam == m.WParam &&
        g_preprocessed.LParam == m.LParam) {
        g_preprocessed = {};
        return true;
    }
    return false;
}

void fv_controls::MouseMovedOver(TControl* control, HWND window) {
    SetMouseControl(control);
    TrackLeave(window);
}

void fv_controls::MouseLeftWindow(TWinControl* control) {
    if (Mouse().TrackedWindow == control->HandleIfAllocated()) Mouse().TrackedWindow = nullptr;
    if (Mouse().Control == control || (Mouse().Control != nullptr && !Mouse().Control->IsWindowed() &&
                                      Mouse().Control->Parent() == control))
        SetMouseControl(nullptr);
}

TControl* fv_controls::CaptureControl() { return Mouse().Capture; }

namespace {

// The nearest framework control on window's parent chain (window itself included).
TWinControl* ControlOfWindow(HWND window) {
    for (HWND h = window; h != nullptr; h = GetParent(h)) {
        if (TWinControl* c = FindControl(h)) return c;
        if (!(GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD)) break;
    }
    return nullptr;
}

}  // namespace

// ---- free functions ----

HCURSOR CursorHandle(TCursor cursor) {
    const wchar_t* id = nullptr;
    switch (cursor) {
    case crArrow: id = IDC_ARROW; break;
    case crCross: id = IDC_CROSS; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeNS: id = IDC_SIZENS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeWE: id = IDC_SIZEWE; break;
    case crUpArrow: id = IDC_UPARROW; break;
    case crHourGlass: id = IDC_WAIT; break;
    case crNo: id = IDC_NO; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crHelp: id = IDC_HELP; break;
    case crHandPoint: id = IDC_HAND; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    default: return nullptr;
    }
    return LoadCursorW(nullptr, id);
}

TShiftState KeyboardShiftState() {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

TShiftState MouseShiftState(WPARAM keys) {
    TShiftState s;
    if (keys & MK_SHIFT) s.Include(ssShift);
    if (keys & MK_CONTROL) s.Include(ssCtrl);
    if (keys & MK_LBUTTON) s.Include(ssLeft);
    if (keys & MK_RBUTTON) s.Include(ssRight);
    if (keys & MK_MBUTTON) s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

TWinControl* FindControl(HWND window) {
    // A control lives on the thread that made its window; another thread's window carrying the
    // property (copied, or set by mistake) is no control of ours to call into.
    if (window == nullptr || g_controlAtom == 0 || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        return nullptr;
    return static_cast<TWinControl*>(GetPropW(window, ControlProperty()));
}

TControl* MouseControl() { return Mouse().Control; }

void ForgetMouseControl(TControl* control) {
    if (Mouse().Control == control) {
        Mouse().Control = nullptr;
        if (TControlsHost* host = ControlsHost()) host->MouseControlChanged(nullptr);
    }
    if (Mouse().Capture == control) Mouse().Capture = nullptr;
}

LRESULT CALLBACK ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    fv_controls::TDispatchLevel level;
    TWinControl* control = FindControl(window);
    if (control == nullptr) {
        control = t_creating;
        if (control == nullptr) return DefWindowProcW(window, msg, wParam, lParam);
        t_creating = nullptr;
        control->AttachHandle(window);
    }
    TMessage message{msg, wParam, lParam, 0};
    try {
        control->WindowProc(message);
    } catch (...) {
        HandleControlException(control);
    }
    if (msg == WM_NCDESTROY) {
        if (g_controlAtom != 0) RemovePropW(window, ControlProperty());
        if (control->handle_ == window) control->handle_ = nullptr;
        if (Mouse().TrackedWindow == window) Mouse().TrackedWindow = nullptr;
    }
    return message.Result;
}

bool IsKeyMessage(MSG& msg) {
    UINT cn;
    switch (msg.message) {
    case WM_KEYDOWN: cn = CN_KEYDOWN; break;
    case WM_SYSKEYDOWN: cn = CN_SYSKEYDOWN; break;
    case WM_CHAR: cn = CN_CHAR; break;
    case WM_SYSCHAR: cn = CN_SYSCHAR; break;
    default: return false;
    }
    g_preprocessed = {};
    TWinControl* control = ControlOfWindow(msg.hwnd);
    if (control == nullptr) return false;
    // The key handlers run here as in a window procedure.
    fv_controls::TDispatchLevel level;
    TMessage m{cn, msg.wParam, msg.lParam, 0};
    try {
        control->WindowProc(m);
    } catch (...) {
        HandleControlException(control);
        return true;
    }
    if (m.Result != 0) return true;
    msg.wParam = m.WParam;
    g_preprocessed = {msg.hwnd, msg.message, msg.wParam, msg.lParam};
    return false;
}

// ---- TControl ----

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
    WindowProc = TWndMethod(this, &TControl::WndProc);
    font_->OnChange = TNotifyEvent(this, &TControl::FontChangedEvent);
}

using namespace fv_controls;

void TControl::BeforeDestruction() {
    if (popupMenu_ != nullptr) popupMenu_->RemoveFreeNotification(this);
    if (parent_ != nullptr) parent_->RemoveControl(this);
    TComponent::BeforeDestruction();
}

TControl::~TControl() {
    ForgetMouseControl(this);
    if (TControlsHost* host = ControlsHost()) host->ControlDestroying(this);
    // Still parented only when a constructor raised.
    if (parent_ != nullptr) parent_->RemoveControl(this);
}

void TControl::Publish(TPublisher<TControl>& p) {
    p.Property(L"Left", &TControl::Left, &TControl::SetLeft);
    p.Property(L"Top", &TControl::Top, &TControl::SetTop);
    p.Property(L"Width", &TControl::Width, &TControl::SetWidth);
    p.Property(L"Height", &TControl::Height, &TControl::SetHeight);
    p.Property(L"Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
    p.Property(L"Visible", &TControl::Visible, &TControl::SetVisible).Default(true);
    p.Property(L"Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
    p.ColorProperty(L"Color", &TControl::Color, &TControl::SetColor);
    p.Property(L"ParentColor", &TControl::ParentColor, &TControl::SetParentColor);
    p.Property(L"Font", &TControl::Font);
    p.Property(L"ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
    p.Property(L"Hint", &TControl::Hint, &TControl::SetHint).Default(L"");
    p.Property(L"ShowHint", &TControl::ShowHint, &TControl::SetShowHint);
    p.Property(L"ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true);
    p.Property(L"Cursor", &TControl::Cursor, &TControl::SetCursor).Default(crDefault);
    p.Property(L"PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
    p.Event(L"OnClick", &TControl::OnClick);
    p.Event(L"OnDblClick", &TControl::OnDblClick);
    p.Event(L"OnMouseDown", &TControl::OnMouseDown);
    p.Event(L"OnMouseUp", &TControl::OnMouseUp);
    p.Event(L"OnMouseMove", &TControl::OnMouseMove);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    WindowProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& message) {
    if (IsMouseClientMessage(message.Msg)) {
        HandleMouseMessage(message);
        return;
    }
    switch (message.Msg) {
    case CM_FONTCHANGED: FontChanged(); return;
    case CM_COLORCHANGED: ColorChanged(); return;
    case CM_PARENTFONTCHANGED:
        if (parentFont_) SetFontFromParent();
        return;
    case CM_PARENTCOLORCHANGED:
        if (parentColor_) SetColorFromParent();
        return;
    case CM_PARENTSHOWHINTCHANGED:
        if (parentShowHint_ && parent_ != nullptr) showHint_ = parent_->showHint_;
        return;
    case CM_HITTEST: message.Result = 1; return;
    default: break;
    }
    DefaultHandler(message);
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::HandleMouseMessage(TMessage& message) {
    if (windowed_) DefaultHandler(message);
    const int x = message.XPos();
    const int y = message.YPos();
    const TShiftState shift = MouseShiftState(message.WParam);
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
        if (controlStyle_.Contains(csClickEvents)) clicked_ = true;
        if (message.Msg == WM_LBUTTONDBLCLK && controlStyle_.Contains(csDoubleClicks)) DblClick();
        MouseDown(mbLeft, message.Msg == WM_LBUTTONDBLCLK ? shift + ssDouble : shift, x, y);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: MouseDown(mbRight, shift, x, y); break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: MouseDown(mbMiddle, shift, x, y); break;
    case WM_LBUTTONUP: {
        SetMouseCapture(false);
        bool click = clicked_;
        clicked_ = false;
        if (click && x >= 0 && y >= 0 && x < width_ && y < height_) Click();
        MouseUp(mbLeft, shift, x, y);
        break;
    }
    case WM_RBUTTONUP: MouseUp(mbRight, shift, x, y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, shift, x, y); break;
    case WM_MOUSEMOVE: MouseMove(shift, x, y); break;
    default: break;
    }
}

void TControl::SetMouseCapture(bool capture) {
    if (windowed_) {
        HWND h = static_cast<TWinControl*>(this)->HandleIfAllocated();
        if (capture && h) SetCapture(h);
        else if (!capture && h && GetCapture() == h) ReleaseCapture();
        return;
    }
    if (capture) {
        if (parent_ != nullptr && parent_->HandleAllocated()) {
            Mouse().Capture = this;
            SetCapture(parent_->HandleIfAllocated());
        }
    } else if (Mouse().Capture == this) {
        Mouse().Capture = nullptr;
        ReleaseCapture();
    }
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw EInvalidOperation(L"A control cannot have itself as its parent");
    if (parent_ != nullptr) parent_->RemoveControl(this);
    if (parent != nullptr) parent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* parent) {
    auto* p = dynamic_cast<TWinControl*>(parent);
    if (parent != nullptr && p == nullptr)
        throw EInvalidOperation(Format(L"%s cannot be the parent of %s", {parent->Name(), Name()}));
    SetParent(p);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::Loaded() { TComponent::Loaded(); }

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    InvalidateBounds(BoundsRect());
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    InvalidateBounds(BoundsRect());
    if (parent_ != nullptr && align_ != alNone) parent_->Realign();
}

void TControl::InvalidateBounds(const TRect& r) {
    if (windowed_ || parent_ == nullptr || !parent_->HandleAllocated() || !visible_) return;
    RECT rc{r.Left, r.Top, r.Right, r.Bottom};
    InvalidateRect(parent_->HandleIfAllocated(), &rc, TRUE);
}

TRect TControl::ClientRect() const { return Rect(0, 0, width_, height_); }

void TControl::SetClientWidth(int value) { SetWidth(value); }
void TControl::SetClientHeight(int value) { SetHeight(value); }

TPoint TControl::ClientOrigin() const {
    if (windowed_) {
        HWND h = static_cast<const TWinControl*>(this)->HandleIfAllocated();
        if (h) {
            POINT p{0, 0};
            ::ClientToScreen(h, &p);
            return Point(p.x, p.y);
        }
    }
    if (parent_ == nullptr) return Point(left_, top_);
    TPoint o = parent_->ClientOrigin();
    return Point(o.X + left_, o.Y + top_);
}

TPoint TControl::ClientToScreen(TPoint p) const {
    TPoint o = ClientOrigin();
    return Point(p.X + o.X, p.Y + o.Y);
}

TPoint TControl::ScreenToClient(TPoint p) const {
    TPoint o = ClientOrigin();
    return Point(p.X - o.X, p.Y - o.Y);
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    if (parent_ != nullptr) parent_->Realign();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (!windowed_) InvalidateBounds(BoundsRect());
    visible_ = visible;
    if (!windowed_) InvalidateBounds(BoundsRect());
    if (!visible) ForgetMouseControl(this);
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
    if (parent_ != nullptr && align_ != alNone) parent_->Realign();
}

bool TControl::Showing() const { return visible_ && parent_ != nullptr && parent_->Showing(); }

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Perform(CM_ENABLEDCHANGED);
    Invalidate();
}

void TControl::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
    if (value == parentColor_) return;
    parentColor_ = value;
    if (value) SetColorFromParent();
}

void TControl::SetColorFromParent() {
    if (parent_ == nullptr) return;
    if (color_ != parent_->color_) {
        color_ = parent_->color_;
        Perform(CM_COLORCHANGED);
    }
    parentColor_ = true;
}

void TControl::SetParentFont(bool value) {
    if (value == parentFont_) return;
    parentFont_ = value;
    if (value) SetFontFromParent();
}

void TControl::SetFontFromParent() {
    if (parent_ == nullptr) return;
    fontFromParent_ = true;
    try {
        font_->Assign(*parent_->font_);
    } catch (...) {
        fontFromParent_ = false;
        throw;
    }
    fontFromParent_ = false;
    parentFont_ = true;
}

void TControl::FontChangedEvent(TObject*) {
    if (!fontFromParent_) parentFont_ = false;
    Perform(CM_FONTCHANGED);
}

void TControl::FontChanged() { Invalidate(); }

void TControl::ColorChanged() { Invalidate(); }

String TControl::GetText() const { return text_; }

void TControl::SetText(const String& text) {
    if (text == text_) return;
    text_ = text;
    Perform(CM_TEXTCHANGED);
    Invalidate();
}

void TControl::SetShowHint(bool value) {
    parentShowHint_ = false;
    if (value == showHint_) return;
    showHint_ = value;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
    parentShowHint_ = value;
    if (value && parent_ != nullptr) showHint_ = parent_->showHint_;
}

void TControl::SetCursor(TCursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    if (menu == popupMenu_) return;
    if (popupMenu_ != nullptr) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = menu;
    if (menu != nullptr) menu->FreeNotification(this);
}

HWND TControl::ContainingWindow() const { return parent_ != nullptr ? parent_->HandleIfAllocated() : nullptr; }

void TControl::Invalidate() { InvalidateBounds(BoundsRect()); }

void TControl::Update() {
    if (parent_ != nullptr) parent_->Update();
}

void TControl::BringToFront() {
    if (parent_ == nullptr) return;
    auto& list = parent_->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    list.push_back(this);
    if (windowed_ && static_cast<TWinControl*>(this)->HandleAllocated())
        SetWindowPos(static_cast<TWinControl*>(this)->HandleIfAllocated(), HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void TControl::SendToBack() {
    if (parent_ == nullptr) return;
    auto& list = parent_->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    list.insert(list.begin(), this);
    if (windowed_ && static_cast<TWinControl*>(this)->HandleAllocated())
        SetWindowPos(static_cast<TWinControl*>(this)->HandleIfAllocated(), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

// ---- TGraphicControl ----

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}
TGraphicControl::~TGraphicControl() = default;

TCanvas& TGraphicControl::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TCanvas>();
    return *canvas_;
}

void TGraphicControl::WndProc(TMessage& message) {
    if (message.Msg == WM_PAINT && message.WParam != 0) {
        PaintOnDC(Canvas(), reinterpret_cast<HDC>(message.WParam), *this, [this] { Paint(); });
        return;
    }
    TControl::WndProc(message);
}

// ---- TCustomControl ----

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {
    controlStyle_.Include(csAcceptsControls);
}
TCustomControl::~TCustomControl() = default;

TCanvas& TCustomControl::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TCanvas>();
    return *canvas_;
}

void TCustomControl::PaintWindow(HDC dc) {
    PaintOnDC(Canvas(), dc, *this, [this] { Paint(); });
}
