// The application object (message loop, main form, exception handling, hints) and the screen
// object (forms, active form and control, cursor, metrics). The application scope
// (ApplicationScope.h) makes one of each, reached as Application() and Screen().
#pragma once

#include <memory>
#include <vector>

#include "framework/controls/ControlsHost.h"
#include "framework/forms/Form.h"
#include "framework/forms/HintWindow.h"

using TExceptionEvent = TMethod<void(TObject* Sender, Exception& E)>;

class TApplication : public TComponent, public TControlsHost {
    FV_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    // Prepares the common controls and the application window.
    void Initialize();
    // Taskbar and message-box caption; the hidden application window's text.
    const String& Title() const { return title_; }
    void SetTitle(const String& title);
    // Creates a form owned by the application; the first form created becomes the main form.
    template <class T>
    void CreateForm(T*& reference) {
        reference = new T(this);
        FormCreated(reference);
    }
    TCustomForm* MainForm() const { return mainForm_; }
    // Shows the main form and handles messages until the application terminates (the main form
    // closed or Terminate was called).
    void Run();
    // Handles every message waiting now, then returns.
    void ProcessMessages();
    // Handles one message, waiting for it when there is none.
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // The hidden window of class "TApplication" (the controls scope's utility window).
    HWND Handle();
    String ExeName() const;

    // Gives the exception being handled (call inside a catch block) to OnException, or shows it.
    void HandleException(TObject* sender) override;
    void ShowException(const Exception& e);
    // MessageBoxW with the active form as owner and Title as the default caption.
    int MessageBox(const String& text, const String& caption = L"", UINT flags = MB_OK);

    TExceptionEvent OnException;

    // Hints: a control's Hint appears after HintPause (HintShortPause while another hint is
    // up) and goes after HintHidePause.
    TColor HintColor() const { return hintColor_; }
    void SetHintColor(TColor color);
    int HintPause() const { return hintPause_; }
    void SetHintPause(int ms) { hintPause_ = ms; }
    int HintShortPause() const { return hintShortPause_; }
    void SetHintShortPause(int ms) { hintShortPause_ = ms; }
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int ms) { hintHidePause_ = ms; }
    // Switching it off frees the hint window; switching it on creates one of HintWindowClass.
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    TClass HintWindowClass() const { return hintWindowClass_; }
    // cls must derive from THintWindow; takes effect with the next hint window made.
    void SetHintWindowClass(TClass cls);
    THintWindow* HintWindow() const { return hintWindow_; }
    void CancelHint();
    // Shows the hint of the control under the mouse now (what the pause timer does).
    void ActivateHint(TPoint cursorPos);

    // TControlsHost
    void MouseControlChanged(TControl* control) override;
    TCursor ScreenCursor() const override;
    void ControlDestroying(TControl* control) override;
    HWND ActiveWindowHandle() const override;
    bool UtilityWindowMessage(TMessage& message) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    // Stops the hint timer, then frees the forms and the hint window (last first).
    void BeforeDestruction() override;

private:
    friend class TCustomForm;
    friend class TApplicationScope;
    void FormCreated(TCustomForm* form);
    void FormDestroying(TCustomForm* form);
    bool ProcessMessage(MSG& msg);
    bool IsHintMessage(const MSG& msg);
    bool IsShortCut(const MSG& msg);
    void HintTimerExpired();
    void StartHintTimer(int ms);
    void StopHintTimer();
    void RecreateHintWindow();

    String title_;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
    TColor hintColor_ = clInfoBk;
    int hintPause_ = 500;
    int hintShortPause_ = 50;
    int hintHidePause_ = 2500;
    bool showHint_ = true;
    TClass hintWindowClass_;
    THintWindow* hintWindow_ = nullptr;
    TControl* hintControl_ = nullptr;
    UINT_PTR hintTimer_ = 0;
    bool hintShowing_ = false;
};

class TScreen : public TComponent {
    FV_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const;  // raises EListError out of range
    TCustomForm* ActiveForm() const { return activeForm_; }
    TWinControl* ActiveControl() const { return activeControl_; }
    // crDefault lets each control choose; any other cursor shows everywhere.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    TFont* MenuFont() const { return menuFont_.get(); }
    int Width() const;
    int Height() const;
    int PixelsPerInch() const;
    TRect WorkAreaRect() const;
    const std::vector<String>& Fonts();

private:
    friend class TCustomForm;
    friend class TApplication;
    friend class TApplicationScope;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetActiveForm(TCustomForm* form);
    void SetActiveControl(TWinControl* control) { activeControl_ = control; }

    std::vector<TCustomForm*> forms_;
    TCustomForm* activeForm_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    TCursor cursor_ = crDefault;
    std::unique_ptr<TFont> menuFont_;
    std::vector<String> fonts_;
};

// The application and the screen of the application scope in force; raise EInvalidOperation
// "No application scope" when there is none.
TApplication& Application();
TScreen& Screen();
