// What the controls layer asks of the application above it: handling an exception caught at a
// window procedure, timer or hook, and the screen-wide state controls consult. The forms layer
// installs its application object here; without one, exceptions are shown in a plain message box.
#pragma once

#include "framework/controls/Control.h"

class TControlsHost {
public:
    virtual ~TControlsHost() = default;
    // Called inside a catch block; must not raise. EAbort is silent.
    virtual void HandleException(TObject* sender) = 0;
    // The mouse moved onto another control (null: off every control of the program).
    virtual void MouseControlChanged(TControl*) {}
    // The cursor set for the whole screen, or crDefault.
    virtual TCursor ScreenCursor() const { return crDefault; }
    // A control is being destroyed: forget references to it.
    virtual void ControlDestroying(TControl*) {}
    // A control's window was made, or made again after its destruction (RecreateWnd, a new
    // parent window), its own set-up done: what dresses windows (a skin) takes the new one over.
    virtual void ControlWindowCreated(TWinControl*) {}
    // The window that owns message boxes and popups when no control is given.
    virtual HWND ActiveWindowHandle() const { return nullptr; }
    // A message to the utility window (ControlsScope.h) that neither timers nor menus took, such
    // as WM_CLOSE; true when handled, with message.Result set.
    virtual bool UtilityWindowMessage(TMessage&) { return false; }
};

void SetControlsHost(TControlsHost* host);
TControlsHost* ControlsHost();  // null when none is installed

// The exception barrier: call inside catch (...). Hands the exception to the host's handler, or
// shows it in a message box; EAbort is silent. Never raises.
void HandleControlException(TObject* sender) noexcept;

// Runs f, handing any exception to HandleControlException; for window procedures, hooks and
// timer callbacks.
template <class F>
void Guarded(TObject* sender, F&& f) noexcept {
    try {
        f();
    } catch (...) {
        HandleControlException(sender);
    }
}
