// Joining a control's WindowProc: every message the control handles, framework messages
// (CM_*, CN_*) included, which never reach a window procedure (WindowSubclass.h).
//
// A TWindowProcLink is a subscription: it saves the control's WindowProc and installs its own;
// its handler may pass a message on to the saved one before its own work, after it, or not at
// all. Links end in any order. A link that ends while it is still the control's WindowProc puts
// the saved one back; one that is no longer current (someone installed another WindowProc over
// it, which calls it) stays, owned by the control, as a pass-through to the one it saved, since
// putting its saved one back would cut the later one out. A pass-through that becomes current
// again is taken out once no message runs through it. A link whose control is freed first ends
// with nothing to do.
//
// A handler runs where the control's WindowProc runs: an exception goes to the caller of
// WindowProc (a window procedure's barrier, or the caller of Perform), as one from WndProc would.
#pragma once

#include <memory>

#include "framework/controls/WindowSubclass.h"

class TWindowProcLink {
public:
    using THandler = TWindowSubclass::THandler;

    // Installs the link over control's WindowProc.
    TWindowProcLink(TControl& control, THandler handler);
    ~TWindowProcLink();
    TWindowProcLink(const TWindowProcLink&) = delete;
    TWindowProcLink& operator=(const TWindowProcLink&) = delete;

    // Ends the link now; its handler is not called again.
    void Remove();
    // Neither removed nor ended by the control's end.
    bool Attached() const;

    class TPassage;

private:
    std::unique_ptr<TPassage> passage_;
};
