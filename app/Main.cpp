// Folhavida's entry point: names the application, creates its windows behind the splash and
// runs the message loop until the main window closes.
#include "app/StartUp.h"
#include "framework/forms/Forms.h"
#include "framework/rtl/WinApi.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // Application, Screen and the framework's registries; at the end of wWinMain the forms are
    // freed first, while everything they use still exists (see ApplicationScope.h).
    TApplicationScope scope;
    // The program's own class registration list is called here, before any form is read.
    Application().Initialize();
    Application().SetTitle(L"Folhavida 3.0");
    try {
        RunStartUp(FolhavidaStartUpStages());
    } catch (...) {
        // A window that cannot be built ends the program with the error shown.
        Application().HandleException(nullptr);
        return 1;
    }
    Application().Run();
    return 0;
}
