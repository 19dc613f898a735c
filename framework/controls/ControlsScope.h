// What the controls layer keeps for one run of a program, or for one test: the window classes it
// registered, the menu commands, the timers, the hidden utility window, and the components that
// wait to be freed until the message being handled is done. One scope exists at a time; the
// application scope makes it (framework/forms/ApplicationScope.h), window tests without forms
// make their own. Everything here lives on the thread that runs the windows.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "framework/classes/ComponentScope.h"
#include "framework/controls/Control.h"
#include "framework/graphics/GdiHandles.h"

class TMenuItem;
namespace fv_controls {
class TDispatchLevel;
}

class TControlsScope {
public:
    // Raises EInvalidOperation when a scope exists already.
    TControlsScope();
    // Frees the components waiting for it, stops the timers, destroys the utility window and
    // unregisters the window classes, then ends the component scope.
    ~TControlsScope();
    TControlsScope(const TControlsScope&) = delete;
    TControlsScope& operator=(const TControlsScope&) = delete;

    // The scope in force, or null.
    static TControlsScope* Current();
    // The scope in force; raises EInvalidOperation "Windows, menus and timers need an
    // application scope" when there is none.
    static TControlsScope& Required();

    // ---- window classes ----
    // The procedure that handles what a control of this class leaves; null when this scope has
    // not registered the class.
    WNDPROC WindowClassProc(const String& className) const;
    void AddWindowClass(const String& className, WNDPROC defaultProc);

    // ---- menu commands ----
    // A command identifier of its own for item; raises EMenuError "Too many menu items".
    UINT AllocateMenuCommand(TMenuItem* item);
    void ReleaseMenuCommand(UINT command);
    TMenuItem* MenuItemOfCommand(UINT command) const;  // null when unknown
    const std::map<UINT, TMenuItem*>& MenuCommands() const { return menuCommands_; }

    // ---- the utility window and the timers ----
    // The hidden top-level window of class "TApplication", made on first use: it receives the
    // timers' ticks, owns popup menus shown while no window of ours is active, and hands every
    // other message to the controls host (the application).
    HWND UtilityWindow();
    // Runs tick every ms milliseconds through the utility window, inside the exception barrier
    // with sender as the sender; returns the timer's identifier. Raises EOSError "Not enough
    // timers available".
    UINT_PTR StartTimer(UINT ms, TObject* sender, std::function<void()> tick);
    void StopTimer(UINT_PTR id);  // an unknown identifier (or 0) is ignored

    // ---- releasing ----
    // Posts CM_RELEASE for control to the utility window, which hands it to the control's
    // WindowProc when it arrives: the control needs no window of its own for it, and one
    // recreated meanwhile loses nothing. A control freed before then is simply dropped.
    void PostRelease(TControl* control);

    // ---- freeing after the message being handled ----
    // Frees component once no window procedure of the framework is running any more, so that
    // nothing up the chain of the message being handled (nor of the messages it is nested in)
    // touches it afterwards. Freed sooner by other means, it is simply dropped from the list.
    void FreeAfterDispatch(TComponent* component);
    // Frees now what waits (the application scope's teardown).
    void FreeWaiting();

private:
    friend class fv_controls::TDispatchLevel;
    struct TTimerEntry {
        TObject* Sender;
        std::function<void()> Tick;
    };
    class TWaitingList;
    static LRESULT CALLBACK UtilityWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void RunTimer(UINT_PTR id);
    void DeliverReleases();

    TComponentScope components_;
    std::map<String, WNDPROC> windowClasses_;
    std::map<UINT, TMenuItem*> menuCommands_;
    UINT lastMenuCommand_ = 99;
    std::map<UINT_PTR, TTimerEntry> timers_;
    UINT_PTR lastTimer_ = 0;
    UniqueWindow utilityWindow_;
    int dispatchDepth_ = 0;
    std::unique_ptr<TWaitingList> waiting_;
    std::unique_ptr<TWaitingList> releasing_;  // released, CM_RELEASE not yet delivered
    TTeardownExceptionHandler previousTeardownHandler_ = nullptr;
};
