// Shared between the control implementation files; not for use outside framework/controls.
#pragma once

#include "framework/controls/Control.h"

class TControlsScope;

LRESULT CALLBACK ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

namespace fv_controls {

inline bool IsMouseClientMessage(UINT msg) {
    return msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK && msg != WM_MOUSEWHEEL;
}
inline bool IsCtlColor(UINT msg) { return msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC; }

// Registers (once) the window class params names; returns the procedure to pass unhandled
// messages to.
WNDPROC RegisterWindowClass(const TCreateParams& params);
// The control whose window is being created on this thread; returns the previous one.
TWinControl* SetCreating(TWinControl* control);
// Registers the property that binds a window to its control, for the controls scope being made.
void RegisterControlProperty();
void BindWindow(HWND window, TWinControl* control);
// True (once) when this key message was already offered by IsKeyMessage.
bool ConsumePreprocessedKey(HWND window, const TMessage& message);
void MouseMovedOver(TControl* control, HWND window);
void MouseLeftWindow(TWinControl* control);
TControl* CaptureControl();

// Held by every window procedure of the framework: counts how many run on the stack, and when
// the outermost returns, frees what was released meanwhile (TControlsScope::FreeAfterDispatch).
class TDispatchLevel {
public:
    TDispatchLevel();
    ~TDispatchLevel();
    TDispatchLevel(const TDispatchLevel&) = delete;
    TDispatchLevel& operator=(const TDispatchLevel&) = delete;

private:
    TControlsScope* scope_;
};

}  // namespace fv_controls
