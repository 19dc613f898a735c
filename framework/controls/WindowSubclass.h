// Joining the message handling of a window the framework did not make (a message box, a common
// dialog, a popup menu, a list in a dialog) or of one it did, below the control's WindowProc.
//
// A TWindowSubclass is a subscription: while it lives, its handler sees every message the
// window's procedure gets, newest subscription first. The window gets one procedure of ours
// (SetWindowLongPtrW, no generated code) and a record in a window property of our own, which
// keeps the procedure it replaced (the saved procedure) and the subscribers. A handler may pass
// the message on (to the later subscribers, then the saved procedure) before its own work, after
// it, or not at all.
//
// Subscriptions end in any order. When the last one ends and our procedure is still the
// window's, the saved procedure goes back; when someone subclassed the window after us, ours
// stays, as a pass-through to the saved procedure, until the window is destroyed (putting ours
// back would cut the later one out). WM_NCDESTROY reaches every subscriber, then the saved
// procedure, whatever the handlers do with it; the subscriptions are then detached. A
// subscription that ends while a message is on its way sees nothing more of it; the saved
// procedure still gets that message once.
//
// Every call opens with the dispatch level (ControlInternals.h) and each handler runs inside the
// exception barrier (ControlsHost.h), with its owner as the sender: a handler that raises has
// ended its part, and the message goes no further unless it is WM_NCDESTROY. Messages travel as
// wide text (CallWindowProcW): the system converts for a saved procedure that expects ANSI.
//
// Framework messages (CM_*, CN_*) go by Perform to a control's WindowProc and never reach a
// window procedure: code that needs them links into WindowProc (WindowProcLink.h).
#pragma once

#include <functional>
#include <memory>

#include "framework/controls/Control.h"

namespace fv_controls {
struct TSubclassNode;
}

// A message on its way along a chain of handlers (a window's subclasses, a control's WindowProc
// links). The handler reads it, may change Msg, WParam and LParam before passing it on, and sets
// Result.
class TChainedMessage : public TMessage {
public:
    using TForward = LRESULT (*)(void* context, TChainedMessage& message);
    TChainedMessage(HWND window, const TMessage& message, TForward forward, void* context)
        : TMessage(message), window_(window), forward_(forward), context_(context) {}
    TChainedMessage(const TChainedMessage&) = delete;
    TChainedMessage& operator=(const TChainedMessage&) = delete;

    // The window the message is for (null for a windowless control's WindowProc).
    HWND Window() const { return window_; }
    // Hands the message, as it reads now, to the rest of the chain and sets Result to the answer.
    // Once: a second call hands nothing on and returns the first answer.
    LRESULT PassOn();
    bool PassedOn() const { return passedOn_; }

private:
    HWND window_;
    TForward forward_;
    void* context_;
    bool passedOn_ = false;
    LRESULT answer_ = 0;
};

class TWindowSubclass {
public:
    using THandler = std::function<void(TChainedMessage& message)>;

    // Subscribes handler to window's messages. owner is the sender the exception barrier names
    // (may be null). Raises EInvalidOperation when window is not a window of this thread, and
    // EOSError when the system refuses the procedure.
    TWindowSubclass(HWND window, TObject* owner, THandler handler);
    // Ends the subscription (Remove).
    ~TWindowSubclass();
    TWindowSubclass(const TWindowSubclass&) = delete;
    TWindowSubclass& operator=(const TWindowSubclass&) = delete;

    // Ends the subscription now; its handler is not called again. Nothing when already ended or
    // detached by the window's destruction.
    void Remove();
    // Still subscribed: neither removed nor detached by the window's destruction.
    bool Attached() const;
    HWND Window() const { return window_; }

    // Whether window carries a record of ours (subscribers, or a pass-through left behind).
    static bool HasRecord(HWND window);
    // How many windows carry a record of ours in this scope.
    static int RecordCount();

private:
    HWND window_;
    std::shared_ptr<fv_controls::TSubclassNode> node_;
};

// Passes message on with WS_VISIBLE cleared from its window around the call, and returns the
// answer: for WM_SETTEXT and WM_SETICON, which the default procedure (Wine's in particular)
// answers by painting a caption of its own over the frame. The style comes back however the
// call ends.
LRESULT PassOnWithoutVisible(TChainedMessage& message);
