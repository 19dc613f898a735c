#include "framework/rtl/FileUtils.h"

#include <vector>

#include "framework/rtl/WinApi.h"

namespace {

bool IsPathDelimiter(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsNameDelimiter(wchar_t c) { return IsPathDelimiter(c) || c == DriveDelim; }

// Index of the last path or drive delimiter, or npos.
String::size_type LastNameDelimiter(const String& fileName) {
    for (auto i = fileName.size(); i > 0; --i)
        if (IsNameDelimiter(fileName[i - 1])) return i - 1;
    return String::npos;
}

// Index of the extension's dot, or npos.
String::size_type ExtensionDot(const String& fileName) {
    for (auto i = fileName.size(); i > 0; --i) {
        wchar_t c = fileName[i - 1];
        if (c == L'.') return i - 1;
        if (IsNameDelimiter(c)) break;
    }
    return String::npos;
}

bool GetAttributes(const String& fileName, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return !fileName.empty() && GetFileAttributesExW(fileName.c_str(), GetFileExInfoStandard, &data);
}

}  // namespace

String ExtractFileName(const String& fileName) {
    auto pos = LastNameDelimiter(fileName);
    return pos == String::npos ? fileName : fileName.substr(pos + 1);
}

String ExtractFileExt(const String& fileName) {
    auto dot = ExtensionDot(fileName);
    return dot == String::npos ? String() : fileName.substr(dot);
}

String ExtractFilePath(const String& fileName) {
    auto pos = LastNameDelimiter(fileName);
    return pos == String::npos ? String() : fileName.substr(0, pos + 1);
}

String ExtractFileDir(const String& fileName) {
    auto pos = LastNameDelimiter(fileName);
    if (pos == String::npos) return String();
    // A delimiter right after the drive (or another delimiter) is the root and stays.
    if (pos > 0 && IsPathDelimiter(fileName[pos]) && !IsNameDelimiter(fileName[pos - 1]))
        return fileName.substr(0, pos);
    return fileName.substr(0, pos + 1);
}

String ChangeFileExt(const String& fileName, const String& extension) {
    auto dot = ExtensionDot(fileName);
    return (dot == String::npos ? fileName : fileName.substr(0, dot)) + extension;
}

String IncludeTrailingPathDelimiter(const String& path) {
    if (!path.empty() && IsPathDelimiter(path.back())) return path;
    return path + PathDelim;
}

String ExcludeTrailingPathDelimiter(const String& path) {
    if (!path.empty() && IsPathDelimiter(path.back())) return path.substr(0, path.size() - 1);
    return path;
}

String ExpandFileName(const String& fileName) {
    if (fileName.empty()) return String();
    DWORD needed = GetFullPathNameW(fileName.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return fileName;
    std::vector<wchar_t> buffer(needed);
    DWORD length = GetFullPathNameW(fileName.c_str(), needed, buffer.data(), nullptr);
    if (length == 0 || length >= needed) return fileName;
    return String(buffer.data(), length);
}

bool FileExists(const String& fileName) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetAttributes(fileName, data) && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const String& directory) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetAttributes(directory, data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const String& directory) {
    String dir = ExcludeTrailingPathDelimiter(directory);
    if (dir.empty()) return false;
    if (DirectoryExists(dir)) return true;
    String parent = ExtractFilePath(dir);
    // Stop at a drive or share root, or at a relative name's first level.
    if (!parent.empty() && parent != dir && ExcludeTrailingPathDelimiter(parent) != dir &&
        !DirectoryExists(parent) && !ForceDirectories(parent))
        return false;
    return CreateDirectoryW(dir.c_str(), nullptr) || DirectoryExists(dir);
}

bool DeleteFile(const String& fileName) { return DeleteFileW(fileName.c_str()) != FALSE; }

bool RenameFile(const String& oldName, const String& newName) {
    return MoveFileW(oldName.c_str(), newName.c_str()) != FALSE;
}

Int64 FileSize(const String& fileName) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetAttributes(fileName, data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return -1;
    return (static_cast<Int64>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

String GetTempDirectory() {
    wchar_t buffer[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH) throw EOSError(L"Cannot find the temporary folder. " + SysErrorMessage(GetLastError()));
    return IncludeTrailingPathDelimiter(String(buffer, length));
}

String CreateTempFileName(const String& prefix) {
    String dir = GetTempDirectory();
    wchar_t buffer[MAX_PATH + 1];
    if (GetTempFileNameW(dir.c_str(), prefix.c_str(), 0, buffer) == 0)
        throw EFCreateError(L"Cannot create file \"" + dir + prefix + L"*.tmp\". " + SysErrorMessage(GetLastError()));
    return buffer;
}

String CreateTempFileBeside(const String& target, const String& prefix) {
    String folder = ExtractFilePath(target);
    if (folder.empty()) folder = L".\\";
    wchar_t buffer[MAX_PATH + 1];
    if (GetTempFileNameW(folder.c_str(), prefix.c_str(), 0, buffer) == 0)
        throw EFCreateError(L"Cannot create file \"" + target + L"\". " + SysErrorMessage(GetLastError()));
    return buffer;
}

void ReplaceFileWith(const String& source, const String& target) {
    if (!MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw EFCreateError(L"Cannot create file \"" + target + L"\". " + SysErrorMessage(GetLastError()));
}

String ProgramPath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return String();
        if (length < buffer.size()) return String(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

String ProgramFolder() { return ExtractFilePath(ProgramPath()); }

String SysErrorMessage(unsigned long errorCode) {
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        errorCode, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || !text) return L"System error " + std::to_wstring(errorCode);
    String message(text, length);
    LocalFree(text);
    // Trimmed so callers can append it after their own sentence.
    while (!message.empty() && (message.back() <= L' ' || message.back() == L'.')) message.pop_back();
    return message;
}
