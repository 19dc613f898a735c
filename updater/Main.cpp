// The updater's entry point. Its window is added here when it is built.
#include "framework/rtl/WinApi.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return 0;
}
