// Stands in for a program that others start (a downloaded update, Folhavida.exe): writes its
// command line and working folder to "<its own path>.ran", so a test sees that and how it ran.
#include <cstdio>

#include <windows.h>

int wmain()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t mark[MAX_PATH + 8] = {};
    swprintf(mark, MAX_PATH + 8, L"%ls.ran", self);
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    FILE* f = _wfopen(mark, L"w, ccs=UTF-8");
    if (f == nullptr) return 1;
    fwprintf(f, L"%ls\n%ls\n", GetCommandLineW(), folder);
    fclose(f);
    return 0;
}
