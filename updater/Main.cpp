// The updater's entry point. Its window is added here when it is built.
#include "framework/forms/Forms.h"
#include "framework/rtl/WinApi.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // Application, Screen and the framework's registries, torn down in order at the end.
    TApplicationScope scope;
    // The updater's class registration list is called here, before any form is read.
    return 0;
}
