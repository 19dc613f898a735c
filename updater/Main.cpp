// The updater's entry point. Its window is added here when it is built.
#include "framework/forms/Forms.h"
#include "framework/forms/FormsRegistration.h"
#include "framework/rtl/WinApi.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // Registration: the classes the stored descriptions name, before any window is built.
    RegisterFormsClasses();
    // Application, Screen and the framework's registries, torn down in order at the end.
    TApplicationScope scope;
    return 0;
}
