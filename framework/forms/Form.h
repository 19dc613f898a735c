// Forms: top-level windows built from their stored description (see Forms.h for how a form
// class declares its components and handlers).
#pragma once

#include <functional>

#include "framework/controls/Control.h"
#include "framework/controls/Menus.h"

FV_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
FV_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
using TBorderIcons = TSet<TBorderIcon>;
FV_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
        poDesktopCenter, poMainFormCenter, poOwnerFormCenter)
FV_ENUM(TFormStyle, fsNormal, fsStayOnTop)
FV_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
FV_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)

using TCloseEvent = TMethod<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TMethod<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TCustomControl {
    FV_CLASS(TCustomForm, TCustomControl)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;
    static void Publish(TPublisher<TCustomForm>& p);

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle value);
    TWindowState WindowState() const;
    void SetWindowState(TWindowState value);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool value) { keyPreview_ = value; }
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool value);
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    // The control that has (or gets, when the form is activated) the focus.
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);

    // Client size before and after the window exists: the outer size follows the border.
    TRect ClientRect() const override;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetBounds(int left, int top, int width, int height) override;
    void SetClientWidth(int value) override;
    void SetClientHeight(int value) override;

    // Shows the form and brings it to the front.
    void Show();
    void Hide();
    void SetVisible(bool visible) override;
    bool Showing() const override;
    // Asks OnCloseQuery, then OnClose decides: hide (default), free (Release), minimise or nothing.
    // Closing the main form ends the application. A modal form closes with ModalResult mrCancel.
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the messages queued now are handled, when no window procedure is
    // running any more (so it is safe from the form's own event handlers). Raises
    // EInvalidOperation for a form declared TLocal (so does Close when OnClose answers caFree).
    void Release();
    // Runs the form modally: the windows that exist now are disabled until ModalResult is set,
    // the application terminates or the form is destroyed. Raises EInvalidOperation "Cannot make
    // a visible window modal" when the form is already visible.
    virtual int ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    bool Modal() const { return modalLevel_ != nullptr; }
    bool Active() const { return active_; }

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    // Runs first when the form is freed, while the whole form, its window and its components
    // still exist.
    TNotifyEvent OnDestroy;
    TNotifyEvent OnPaint;

    void WndProc(TMessage& message) override;

protected:
    // For the most-derived constructor: reads the description named after the class
    // (ClassName()), runs bind (which points the member fields at the components read), then
    // OnCreate; a form whose description says Visible = True is shown.
    void ReadForm(const std::function<void()>& bind = nullptr);
    // Points field at the owned component of that name; raises EComponentError
    // "Component %s not found in %s" when missing or of another class.
    template <class T>
    void Bind(T*& field, const wchar_t* name) {
        field = dynamic_cast<T*>(FindComponent(name));
        if (field == nullptr) BindError(name);
    }

    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Paint() override;
    void FocusChanged(TWinControl* control) override;
    bool PreviewKeyDown(Word& key, TShiftState shift) override;
    bool PreviewKeyPress(wchar_t& key) override;
    bool PreviewKeyUp(Word& key, TShiftState shift) override;
    bool IsShortCut(Word key, TShiftState shift) override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    // OnDestroy, then what every windowed control does (window, owned components).
    void BeforeDestruction() override;
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual void Activate();
    virtual void Deactivate();

private:
    friend class TApplication;
    [[noreturn]] void BindError(const wchar_t* name) const;
    void PlaceWindow();
    void ApplyWindowState();
    void ActivateFocus();
    void CloseModal();
    void UpdateScrollRange();
    void Scroll(int bar, int code);
    HWND OwnerWindow() const;
    DWORD WindowStyle(DWORD* exStyle) const;
    TRect FrameSize() const;

    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TPosition position_ = poDesigned;
    TFormStyle formStyle_ = fsNormal;
    TWindowState windowState_ = wsNormal;
    bool keyPreview_ = false;
    bool autoScroll_ = false;
    TMainMenu* menu_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    TModalResult modalResult_ = mrNone;
    int clientWidth_ = -1;   // from the description, applied when the window is made
    int clientHeight_ = -1;
    bool active_ = false;
    bool showPending_ = false;
    bool placed_ = false;
    bool released_ = false;          // CM_RELEASE handled; freed after its dispatch
    bool* destroyedFlag_ = nullptr;  // set by a running ShowModal
    void* modalLevel_ = nullptr;
    TPoint scrollPos_;
};

class TForm : public TCustomForm {
    FV_CLASS(TForm, TCustomForm)
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;
};

// Binds the member of the same name: ReadForm([this] { FV_BIND(Button1); FV_BIND(edt_nome); });
#define FV_BIND(field) Bind(field, L"" #field)

// The form a control belongs to (its root parent, when that is a form), or null.
TCustomForm* GetParentForm(TControl* control);
