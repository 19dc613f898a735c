#include "framework/rtl/FileUtils.h"

#include "framework/rtl/Platform.h"

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

String LastErrorMessage() { return SysErrorMessage(platform::LastError()); }

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
    return fileName.empty() ? String() : platform::FullFileName(fileName);
}

bool FileExists(const String& fileName) {
    auto status = platform::StatusOf(fileName);
    return status && !status->directory;
}

bool DirectoryExists(const String& directory) {
    auto status = platform::StatusOf(directory);
    return status && status->directory;
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
    return platform::CreateFolder(dir) || DirectoryExists(dir);
}

bool RemoveDir(const String& directory) { return platform::RemoveFolder(directory); }

bool DeleteFile(const String& fileName) { return platform::RemoveFile(fileName); }

bool RenameFile(const String& oldName, const String& newName) {
    return platform::MoveFileTo(oldName, newName, false);
}

Int64 FileSize(const String& fileName) {
    auto status = platform::StatusOf(fileName);
    return status && !status->directory ? status->size : -1;
}

String GetTempDirectory() {
    String folder = platform::TempFolder();
    if (folder.empty()) throw EOSError(L"Cannot find the temporary folder. " + LastErrorMessage());
    return IncludeTrailingPathDelimiter(folder);
}

String CreateTempFileName(const String& prefix) {
    String dir = GetTempDirectory();
    String name = platform::CreateUniqueFile(dir, prefix);
    if (name.empty()) throw EFCreateError(L"Cannot create file \"" + dir + prefix + L"*.tmp\". " + LastErrorMessage());
    return name;
}

String CreateTempFileBeside(const String& target, const String& prefix) {
    String folder = ExtractFilePath(target);
    if (folder.empty()) folder = String(L".") + PathDelim;
    String name = platform::CreateUniqueFile(folder, prefix);
    if (name.empty()) throw EFCreateError(L"Cannot create file \"" + target + L"\". " + LastErrorMessage());
    return name;
}

void ReplaceFileWith(const String& source, const String& target) {
    if (!platform::MoveFileTo(source, target, true))
        throw EFCreateError(L"Cannot create file \"" + target + L"\". " + LastErrorMessage());
}

String ProgramPath() { return platform::ProgramFileName(); }

String ProgramFolder() { return ExtractFilePath(ProgramPath()); }

String SysErrorMessage(unsigned long errorCode) {
    String message = platform::ErrorText(errorCode);
    if (message.empty()) return L"System error " + std::to_wstring(errorCode);
    // Trimmed so callers can append it after their own sentence.
    while (!message.empty() && (message.back() <= L' ' || message.back() == L'.')) message.pop_back();
    return message;
}
