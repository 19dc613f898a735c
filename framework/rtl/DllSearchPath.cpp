#include "framework/rtl/DllSearchPath.h"

#include "framework/rtl/WinApi.h"

bool RestrictDllSearchPath() {
    // Looked up rather than imported: a program that imported it would not start at all on a
    // Windows 7 without the update that brought it.
    using TSetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
    const auto setDefault = reinterpret_cast<TSetDefaultDllDirectories>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault != nullptr &&
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR) != FALSE)
        return true;
    SetDllDirectoryW(L"");
    return false;
}
