// Stands in for update.exe in the end-to-end tests: leaves a mark that it ran, with its
// command line and working folder, in %TEMP%\folhavida-fake-update.txt.
#include <cstdio>

#include "framework/rtl/WinApi.h"

int wmain()
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    wchar_t path[MAX_PATH] = {};
    swprintf(path, MAX_PATH, L"%lsfolhavida-fake-update.txt", temp);
    FILE* f = _wfopen(path, L"w");
    if (f == nullptr) return 1;
    fputws(GetCommandLineW(), f);
    fclose(f);
    return 0;
}
