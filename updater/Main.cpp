// The updater's entry point: its window and the wait window, then the message loop until the
// window closes.
#include "framework/forms/Forms.h"
#include "framework/rtl/WinApi.h"
#include "updater/MainWindow.h"
#include "updater/MessageWindow.h"
#include "updater/UpdateServer.h"
#include "webupdate/WebUpdate.h"
#include "updater/UpdaterRegistration.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
try {
    RestrictDllSearchPath();  // before anything is loaded by name: only the system and program folders
    // Registration: the classes the stored descriptions name, before any window is built.
    RegisterUpdaterClasses();
    // Application, Screen and the framework's registries, torn down in order at the end.
    TApplicationScope scope;
    Application().Initialize();
    try {
        Application().CreateForm(form_MainWindow);
        ConfigureUpdateServer(*form_MainWindow->WebUpdate);
        Application().CreateForm(Form_Message);
    } catch (...) {
        Application().HandleException(nullptr);
        return 1;
    }
    Application().Run();
    return 0;
} catch (...) {
    // Nothing may leave the entry point: what failed outside the application's own barriers
    // (registration, the scope's start or end) is shown, once the scope is gone, in a plain box.
    HandleControlException(nullptr);
    return 1;
}
