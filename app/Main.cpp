// Folhavida's entry point: names the application, creates its windows behind the splash and
// runs the message loop until the main window closes.
#include "app/AppRegistration.h"
#include "app/Curriculo.h"
#include "app/CurriculoTemplate.h"
#include "app/StartUp.h"
#include "framework/controls/UiThread.h"
#include "framework/forms/Forms.h"
#include "framework/rtl/WinApi.h"
#include "report/expressions/QREvEnvironment.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
try {
    RestrictDllSearchPath();  // before anything is loaded by name: only the system and program folders
    // Registration: the classes the stored descriptions name, before any window is built.
    RegisterAppClasses();
    // The UI thread is a COM apartment before any window exists (the webcam form's capture).
    TComApartment com;
    // Application, Screen and the framework's registries; at the end of wWinMain the forms are
    // freed first, while everything they use still exists (see ApplicationScope.h).
    TApplicationScope scope;
    Application().Initialize();
    Application().SetTitle(L"Folhavida 3.0");
    // Report expressions read the application's title as AppName.
    InitializeExpressionEngine(Application().Title());
    try {
        RunStartUp(FolhavidaStartUpStages());
    } catch (...) {
        // A window that cannot be built ends the program with the error shown.
        Application().HandleException(nullptr);
        return 1;
    }
    // Generation works on the template made at start-up. The previews of opened files go
    // before the forms, while the application they belong to still exists.
    TCurriculoTemplate resumeTemplate(*Curriculo);
    SetResumeTemplate(&resumeTemplate);
    Application().Run();
    SetResumeTemplate(nullptr);
    return 0;
} catch (...) {
    // Nothing may leave the entry point: what failed outside the application's own barriers
    // (registration, the scope's start or end) is shown, once the scope is gone, in a plain box.
    HandleControlException(nullptr);
    return 1;
}
