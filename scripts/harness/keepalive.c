/* Keeps Wine's virtual desktop alive for a whole test run: it owns one hidden window on the
   desktop and waits for messages until the wineserver is shut down (the desktop process ends
   once no program uses the desktop, and every GUI test would pay for starting it again).
     keepalive.exe <ready file>
   The ready file is created once the window exists, so the harness can wait for it. */
#include <windows.h>
#include <shellapi.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prev, LPSTR cmd, int show)
{
    (void)prev; (void)cmd; (void)show;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 2 || !GetDesktopWindow())
        return 2;
    HWND window = CreateWindowExW(0, L"STATIC", L"folhavida-keepalive", WS_POPUP, 0, 0, 1, 1,
                                  NULL, NULL, instance, NULL);
    if (!window)
        return 1;
    HANDLE ready = CreateFileW(argv[1], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (ready == INVALID_HANDLE_VALUE)
        return 1;
    CloseHandle(ready);
    LocalFree(argv);
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
