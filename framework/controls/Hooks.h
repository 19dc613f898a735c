// Watching the UI thread through system hooks: window creation and activation (WH_CBT), the
// messages of menu and dialog loops (WH_MSGFILTER) and messages sent to windows
// (WH_CALLWNDPROC).
//
// A THookSubscription is a subscription to one kind. While at least one subscription of a kind
// lives, one system hook of that kind sits on the UI thread; the last one to end takes it off (or,
// when it ends inside a callback, the outermost callback does on its return). Callbacks run in the
// order the subscriptions were made, each inside the dispatch level and the exception barrier,
// with its owner as the sender; a subscription made or ended inside a callback takes effect from
// the next call. The next hook in the system's chain gets the call unless a WH_MSGFILTER
// callback swallowed the message. A callback that raises in a menu's loop (MSGF_MENU) ends the
// menu (it cannot be trusted to see the rest of it) and the message goes on to the loop, which
// then closes.
//
// Subscriptions belong to the controls scope: one alive when the scope ends stops the program
// with a message naming its owner.
#pragma once

#include <functional>
#include <memory>

#include "framework/controls/Control.h"
#include "framework/rtl/UniqueHandle.h"

using UniqueHook = UniqueHandle<HHOOK, ReleaseBy<&UnhookWindowsHookEx>>;

enum THookKind { hkCbt, hkMsgFilter, hkCallWndProc };

// One call of a hook: the code and parameters the system passed.
struct THookCall {
    THookCall(int code, WPARAM wParam, LPARAM lParam) : Code(code), WParam(wParam), LParam(lParam) {}
    int Code = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    // WH_MSGFILTER only: the message goes no further, neither to the later callbacks nor to the
    // next hook, and the loop that filters it drops it.
    void Swallow() { swallowed_ = true; }
    bool Swallowed() const { return swallowed_; }

private:
    bool swallowed_ = false;
};

namespace fv_controls {
struct THookNode;
}

class THookSubscription {
public:
    using TCallback = std::function<void(THookCall& call)>;

    // Subscribes callback to the hook of kind; owner names the subscriber (the exception
    // barrier's sender, and the name given if the subscription outlives the scope). Raises
    // EOSError when the system refuses the hook.
    THookSubscription(THookKind kind, TObject* owner, TCallback callback);
    ~THookSubscription();
    THookSubscription(const THookSubscription&) = delete;
    THookSubscription& operator=(const THookSubscription&) = delete;

    void Remove();

    // Whether a system hook of kind is on the UI thread now.
    static bool HookInstalled(THookKind kind);

private:
    std::shared_ptr<fv_controls::THookNode> node_;
};
