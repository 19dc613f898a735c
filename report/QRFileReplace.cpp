#include "report/QRFileReplace.h"

#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinApi.h"

String CreateTempFileBeside(const String& target) {
    String folder = ExtractFilePath(target);
    if (folder.empty()) folder = L".\\";
    wchar_t buffer[MAX_PATH + 1];
    if (GetTempFileNameW(folder.c_str(), L"QRP", 0, buffer) == 0)
        throw EFCreateError(L"Cannot create file \"" + target + L"\". " + SysErrorMessage(GetLastError()));
    return buffer;
}

void ReplaceFileWith(const String& source, const String& target) {
    if (!MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw EFCreateError(L"Cannot create file \"" + target + L"\". " + SysErrorMessage(GetLastError()));
}
