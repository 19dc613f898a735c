// The application scope: everything the framework keeps for one run of a program, or for one
// test, made in a defined order and torn down in the reverse one. A program's wWinMain and each
// window test make one before anything else:
//
//     int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
//         TApplicationScope scope;
//         Application().Initialize();
//         ...
//         Application().Run();
//         return 0;
//     }
//
// It makes, in this order: the component scope (global roots) and the controls scope (window
// classes, menu commands, timers, the utility window) through TControlsScope, then Screen, then
// Application; while it lasts, the system print dialog is the printer layer's print dialog. At
// its end the components still waiting for their release are freed, then the application frees
// its forms (last first) while the screen and every registry still exist, then the screen goes,
// then the controls scope and the component scope.
#pragma once

#include <memory>

#include "framework/controls/ControlsScope.h"
#include "framework/forms/Application.h"
#include "framework/printers/PrintDialog.h"

class TApplicationScope {
public:
    // Raises EInvalidOperation when a scope exists already.
    TApplicationScope();
    ~TApplicationScope();
    TApplicationScope(const TApplicationScope&) = delete;
    TApplicationScope& operator=(const TApplicationScope&) = delete;

    // The scope in force, or null.
    static TApplicationScope* Current();

    TApplication& Application() { return *application_; }
    TScreen& Screen() { return *screen_; }

private:
    friend class TCustomForm;
    friend TApplication& Application();
    friend TScreen& Screen();
    // A form's destructor: it leaves the screen's list and the application.
    void FormDestroyed(TCustomForm* form);

    TControlsScope controls_;
    std::unique_ptr<TScreen> screen_;
    std::unique_ptr<TApplication> application_;
    TPrintDialogRunner previousPrintDialog_ = nullptr;
};
