// Folhavida's entry point. The program's windows are added here as they are built.
#include "framework/rtl/WinApi.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return 0;
}
