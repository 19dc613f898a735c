// Controls: windowless (TControl, TGraphicControl) and windowed (TWinControl, TCustomControl).
//
// Every message a control handles passes through its WindowProc, a comparable method pointer
// that defaults to the virtual WndProc; other code (the skin engine) joins it through a
// TWindowProcLink, which may end in any order, rather than putting back a saved one over whatever
// was installed since. Perform goes through WindowProc too. A subclass handles a message
// by overriding WndProc, switching on Msg and passing everything else to the inherited WndProc;
// what nobody handles reaches DefaultHandler (the window class's original procedure).
//
// Windowed controls create their window on first need (Handle()). Each framework class registers
// a window class of its own name; a control that wraps a system control names it in
// CreateParams through CreateSubClass (superclassing):
//
//     void TEdit::CreateParams(TCreateParams& params) {
//         TWinControl::CreateParams(params);
//         CreateSubClass(params, L"EDIT");
//         params.Style |= ES_AUTOHSCROLL | WS_TABSTOP;
//     }
//
// Parents reflect WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, scrolling and WM_CTLCOLOR*
// to the child control they concern as CN_ messages (Messages.h); the default CN_CTLCOLOR*
// answer uses the control's Font colour and Color. Keys are offered to the focused control as
// CN_KEYDOWN / CN_CHAR before dispatch (IsKeyMessage); what the control does not want becomes
// CM_DIALOGKEY / CM_DIALOGCHAR to its root (Tab moves the focus, the rest is broadcast, so a
// default button can answer Enter).
//
// Framework messages (CM_*, CN_*) travel by Perform: they reach WindowProc, never a
// window-procedure subclass. Code that must see them links into WindowProc (WindowProcLink.h);
// a window the framework did not make is joined through WindowSubclass.h.
//
// No exception leaves a window procedure: it is handed to the exception handler of the
// application (ControlsHost.h).
#pragma once

#include <memory>
#include <vector>

#include "framework/classes/Component.h"
#include "framework/controls/Messages.h"
#include "framework/graphics/Canvas.h"

class TWinControl;
class TPopupMenu;

FV_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
FV_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)
FV_ENUM(TShiftStateItem, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
using TShiftState = TSet<TShiftStateItem>;
FV_ENUM(TControlStyleItem, csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks,
        csSetCaption)
using TControlStyle = TSet<TControlStyleItem>;

// Cursors: crDefault leaves the choice to the parent or the window class.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
HCURSOR CursorHandle(TCursor cursor);  // the system cursor; 0 for crDefault and crNone

using TWndMethod = TMethod<void(TMessage& Message)>;
using TMouseEvent = TMethod<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TMethod<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = TMethod<void(TObject* Sender, Word& Key, TShiftState Shift)>;  // Key 0 consumes it
using TKeyPressEvent = TMethod<void(TObject* Sender, wchar_t& Key)>;            // Key 0 consumes it

// The shift state of the keyboard now, and of a mouse message's wParam.
TShiftState KeyboardShiftState();
TShiftState MouseShiftState(WPARAM keys);

// What CreateWindowEx gets. WinClassName is the registered class (the framework class name by
// default); SysClassName the system class superclassed, empty for a class of our own.
struct TCreateParams {
    String Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    UINT ClassStyle = 0;  // for a class of our own
    String WinClassName;
    String SysClassName;
};

class TControl : public TComponent {
    FV_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    static void Publish(TPublisher<TControl>& p);

    // Every message goes through WindowProc; Perform builds one and returns its Result.
    TWndMethod WindowProc;
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message);

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
    void SetTop(int value) { SetBounds(left_, value, width_, height_); }
    void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
    void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    // The client area in client coordinates (a windowless control: its own size).
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    virtual void SetClientWidth(int value);
    virtual void SetClientHeight(int value);
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;
    // The offset of this control's client area from its window's client area (windowless: its position).
    TPoint ClientOrigin() const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and in every parent up to a window that is on screen.
    virtual bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    TFont* Font() const { return font_.get(); }
    void SetFont(const TFont& font) { font_->Assign(font); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);

    // Caption and Text are the same text; classes publish whichever name they use.
    String Caption() const { return GetText(); }
    void SetCaption(const String& text) { SetText(text); }
    String Text() const { return GetText(); }
    virtual String GetText() const;
    virtual void SetText(const String& text);

    const String& Hint() const { return hint_; }
    void SetHint(const String& hint) { hint_ = hint; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool value);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);
    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle style) { controlStyle_ = style; }
    // A TWinControl (has or can have a window of its own).
    bool IsWindowed() const { return windowed_; }

    // Repaints: Invalidate queues, Update paints what is queued, Repaint does both.
    virtual void Invalidate();
    virtual void Update();
    void Repaint() { Invalidate(); Update(); }
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    virtual void Click();
    virtual void DblClick();
    // Mouse handlers the framework calls; public so that skins can forward a press.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    bool HasParent() const override { return parent_ != nullptr; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    // Leaves the parent, then frees the owned components.
    void BeforeDestruction() override;

    void SetParentFontFlag(bool parentFont) { parentFont_ = parentFont; }
    // Called when the font or colour changed, after the CM_ message went out.
    virtual void FontChanged();
    virtual void ColorChanged();
    // The window this control is drawn in (its own, or its parent's for a windowless control).
    virtual HWND ContainingWindow() const;
    void InvalidateBounds(const TRect& r);
    void SetMouseCapture(bool capture);

    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    String text_;
    bool windowed_ = false;
    TControlStyle controlStyle_{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};

private:
    friend class TWinControl;
    void HandleMouseMessage(TMessage& message);
    void FontChangedEvent(TObject*);
    void SetFontFromParent();
    void SetColorFromParent();

    TWinControl* parent_ = nullptr;
    TAlign align_ = alNone;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    bool fontFromParent_ = false;
    String hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TCursor cursor_ = crDefault;
    TPopupMenu* popupMenu_ = nullptr;
    bool clicked_ = false;
    friend class TWindowProcLink;
    // WindowProc links that ended while another WindowProc sat over them (WindowProcLink.h).
    std::vector<std::unique_ptr<TComponent>> windowProcPassThroughs_;
};

// A windowless control that paints itself on its parent's window.
class TGraphicControl : public TControl {
    FV_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;

    TCanvas& Canvas();

protected:
    void WndProc(TMessage& message) override;
    virtual void Paint() {}

private:
    std::unique_ptr<TCanvas> canvas_;
};

class TWinControl : public TControl {
    FV_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    static void Publish(TPublisher<TWinControl>& p);

    // The window, created (with the parents' windows) on first use; none is made while the
    // control or one of its parents is being destroyed (null then).
    HWND Handle();
    HWND HandleIfAllocated() const { return handle_; }
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // A control without a framework parent may live in a foreign window.
    HWND ParentWindow() const { return parentWindow_; }
    void SetParentWindow(HWND window);
    // Destroys the window; it is created again on next use.
    void DestroyHandle();
    void RecreateWnd();

    // Children in z-order (windowless and windowed).
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;  // raises EListError out of range
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool ContainsControl(const TControl* control) const;  // a descendant
    // The windowless or windowed child at a client point, or null.
    TControl* ControlAtPos(TPoint p, bool allowDisabled = false, bool allowWinControls = false) const;
    // Sends the message to every child until one sets a nonzero Result.
    void Broadcast(TMessage& message);

    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    // The windowed descendants in tab order, depth first.
    std::vector<TWinControl*> GetTabOrderList() const;
    // The next (or previous) focusable control after current among this control's descendants.
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

    virtual bool CanFocus() const;
    bool Focused() const;
    // Raises EInvalidOperation "Cannot focus a disabled or invisible window" when not CanFocus.
    virtual void SetFocus();
    // The root (a form, or the topmost control) tracks which descendant has the focus.
    TWinControl* FocusedControl() const { return focusedControl_; }
    // Called on the root when a descendant (or the root itself) received the focus: sends
    // CM_EXIT up from the control that had it and CM_ENTER down to the new one (a CM_EXIT that
    // raises puts the focus back), then CM_FOCUSCHANGED to all. A control whose focus lands on an
    // inner window of its own calls Root()->FocusChanged(this).
    virtual void FocusChanged(TWinControl* control);
    TWinControl* Root();
    const TWinControl* Root() const { return const_cast<TWinControl*>(this)->Root(); }

    TRect ClientRect() const override;
    void SetBounds(int left, int top, int width, int height) override;
    String GetText() const override;
    void SetText(const String& text) override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    bool Showing() const override;
    void Invalidate() override;
    void Update() override;

    // Paints the control and all its children (windowed ones too) into dc at (x, y).
    void PaintTo(HDC dc, int x, int y);
    // Rearranges the aligned children.
    void Realign();

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;

protected:
    virtual void CreateParams(TCreateParams& params);
    // Names the system class this control superclasses (in CreateParams).
    void CreateSubClass(TCreateParams& params, const wchar_t* systemClassName);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    virtual void DestroyWnd();
    // After the window exists: apply font, text, children's windows.
    virtual void CreateHandleDone() {}
    // Whether the children's windows are made together with this one; otherwise they are made
    // when this control is shown (or one of them is asked for its window).
    virtual bool CreatesChildHandles() const { return true; }

    virtual void PaintWindow(HDC dc);
    void PaintControls(HDC dc);
    void PaintHandler(TMessage& message);
    virtual void AlignControls(TRect& rect);

    // Key events; each returns true when the key was consumed (set to 0).
    virtual bool DoKeyDown(Word& key, TShiftState shift);
    virtual bool DoKeyPress(wchar_t& key);
    virtual bool DoKeyUp(Word& key, TShiftState shift);
    virtual void KeyDown(Word& key, TShiftState shift);
    virtual void KeyPress(wchar_t& key);
    virtual void KeyUp(Word& key, TShiftState shift);
    // A root sees every key of its descendants first when it wants to (a form's KeyPreview).
    virtual bool PreviewKeyDown(Word&, TShiftState) { return false; }
    virtual bool PreviewKeyPress(wchar_t&) { return false; }
    virtual bool PreviewKeyUp(Word&, TShiftState) { return false; }
    // A root runs the menu command of a shortcut key (after OnKeyDown); true when one ran.
    virtual bool IsShortCut(Word, TShiftState) { return false; }
    virtual void DoEnter();
    virtual void DoExit();
    // The brush for the background and for CN_CTLCOLOR* answers.
    HBRUSH BackgroundBrush();
    void ColorChanged() override;
    void FontChanged() override;
    HWND ContainingWindow() const override { return handle_; }
    // Takes Left, Top, Width and Height from the window.
    void UpdateBoundsFromWindow();
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    // Destroys the window (the children's first) while every control is whole, then does what
    // TControl does.
    void BeforeDestruction() override;

private:
    friend class TControl;
    friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
    friend bool IsKeyMessage(MSG& msg);
    void CreateHandle();
    void CreateChildHandles();
    void AttachHandle(HWND handle);
    void ReflectToChild(TMessage& message, HWND child);
    void HandleDialogKeys(TMessage& message);
    void SetFocusedControl(TWinControl* control);
    void ApplyFont();
    void UpdateShowing();
    // This control or one of its parents is being freed.
    bool BeingDestroyed() const;

    HWND handle_ = nullptr;
    HWND parentWindow_ = nullptr;
    WNDPROC defWndProc_ = nullptr;
    bool superclassed_ = false;
    int tabOrderValue_ = -1;  // read from a description, applied in the parent's Loaded
    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    bool tabStop_ = false;
    TWinControl* focusedControl_ = nullptr;
    UniqueBrush brush_;
    TColor brushColor_ = clNone;
    std::unique_ptr<TFont> appliedFont_;
    int alignLevel_ = 0;
};

// A windowed control that paints itself on a Canvas.
class TCustomControl : public TWinControl {
    FV_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;

    TCanvas& Canvas();

protected:
    void PaintWindow(HDC dc) override;
    virtual void Paint() {}

private:
    std::unique_ptr<TCanvas> canvas_;
};

// The framework control of a window of this process, or null.
TWinControl* FindControl(HWND window);
// Offers a queued key message to the framework before it is dispatched (CN_KEYDOWN, CN_CHAR,
// dialog keys). True when it was consumed; WM_CHAR's wParam may have been changed.
bool IsKeyMessage(MSG& msg);
// The control the mouse is over (windowless included), as CM_MOUSEENTER/CM_MOUSELEAVE report it.
TControl* MouseControl();
// Ends the enter/leave tracking of a control that goes away or is hidden.
void ForgetMouseControl(TControl* control);
