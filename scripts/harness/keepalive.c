/* Keeps the Wine desktop process alive for a whole test run: it owns one hidden window and
   waits for messages until the wineserver is shut down. Without it every GUI test would pay
   for starting the desktop again. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prev, LPSTR cmd, int show)
{
    (void)prev; (void)cmd; (void)show;
    HWND window = CreateWindowExW(0, L"STATIC", L"folhavida-keepalive", WS_POPUP, 0, 0, 1, 1,
                                  NULL, NULL, instance, NULL);
    if (!window)
        return 1;
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
