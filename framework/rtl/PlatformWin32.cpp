#include "framework/rtl/Platform.h"

#include <iterator>
#include <vector>

#include "framework/rtl/WinApi.h"

namespace platform {

unsigned long LastError() { return GetLastError(); }

String ErrorText(unsigned long code) {
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || !text) return String();
    String message(text, length);
    LocalFree(text);
    return message;
}

// ---- open files ----

namespace {

HANDLE AsHandle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

DWORD ShareFlags(FileShare share) {
    switch (share) {
        case FileShare::Read: return FILE_SHARE_READ;
        case FileShare::Write: return FILE_SHARE_WRITE;
        case FileShare::ReadWrite: return FILE_SHARE_READ | FILE_SHARE_WRITE;
        default: return 0;
    }
}

DWORD AccessFlags(FileAccess access) {
    switch (access) {
        case FileAccess::Write: return GENERIC_WRITE;
        case FileAccess::ReadWrite: return GENERIC_READ | GENERIC_WRITE;
        default: return GENERIC_READ;
    }
}

}  // namespace

FileHandle OpenFile(const String& name, FileAccess access, FileShare share, bool create) {
    HANDLE file = CreateFileW(name.c_str(), create ? GENERIC_READ | GENERIC_WRITE : AccessFlags(access),
                              ShareFlags(share), nullptr, create ? CREATE_ALWAYS : OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    // INVALID_HANDLE_VALUE is -1, which is kNoFile.
    return reinterpret_cast<FileHandle>(file);
}

void CloseFile(FileHandle file) noexcept { CloseHandle(AsHandle(file)); }

Int64 FileRead(FileHandle file, void* buffer, Int64 count) {
    DWORD done = 0;
    if (!::ReadFile(AsHandle(file), buffer, static_cast<DWORD>(count), &done, nullptr)) return -1;
    return done;
}

Int64 FileWrite(FileHandle file, const void* buffer, Int64 count) {
    DWORD done = 0;
    if (!::WriteFile(AsHandle(file), buffer, static_cast<DWORD>(count), &done, nullptr)) return -1;
    return done;
}

Int64 FileSeek(FileHandle file, Int64 offset, int origin) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER result;
    result.QuadPart = -1;
    if (!SetFilePointerEx(AsHandle(file), distance, &result, static_cast<DWORD>(origin))) return -1;
    return result.QuadPart;
}

bool FileTruncate(FileHandle file) { return SetEndOfFile(AsHandle(file)) != FALSE; }

// ---- files and folders by name ----

std::optional<FileStatus> StatusOf(const String& name) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (name.empty() || !GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return FileStatus{(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                      (static_cast<Int64>(data.nFileSizeHigh) << 32) | data.nFileSizeLow};
}

bool CreateFolder(const String& name) { return CreateDirectoryW(name.c_str(), nullptr) != FALSE; }

bool RemoveFolder(const String& name) { return RemoveDirectoryW(name.c_str()) != FALSE; }

bool RemoveFile(const String& name) { return DeleteFileW(name.c_str()) != FALSE; }

bool MoveFileTo(const String& oldName, const String& newName, bool replace) {
    if (!replace) return MoveFileW(oldName.c_str(), newName.c_str()) != FALSE;
    return MoveFileExW(oldName.c_str(), newName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

String FullFileName(const String& name) {
    DWORD needed = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return name;
    std::vector<wchar_t> buffer(needed);
    DWORD length = GetFullPathNameW(name.c_str(), needed, buffer.data(), nullptr);
    if (length == 0 || length >= needed) return name;
    return String(buffer.data(), length);
}

String TempFolder() {
    wchar_t buffer[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH) return String();
    return String(buffer, length);
}

String CreateUniqueFile(const String& folder, const String& prefix) {
    wchar_t buffer[MAX_PATH + 1];
    if (GetTempFileNameW(folder.c_str(), prefix.c_str(), 0, buffer) == 0) return String();
    return buffer;
}

String ProgramFileName() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return String();
        if (length < buffer.size()) return String(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

// ---- environment ----

std::optional<String> EnvironmentValue(const String& name) {
    DWORD needed = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (needed == 0) return std::nullopt;
    std::vector<wchar_t> buffer(needed);
    DWORD length = GetEnvironmentVariableW(name.c_str(), buffer.data(), needed);
    if (length >= needed) return std::nullopt;
    return String(buffer.data(), length);
}

void SetEnvironmentValue(const String& name, const std::optional<String>& value) {
    SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
}

// ---- locale ----

namespace {

LCTYPE LocaleType(LocaleItem item, int index) {
    switch (item) {
        case LocaleItem::CurrencyFormat: return LOCALE_ICURRENCY;
        case LocaleItem::NegativeCurrencyFormat: return LOCALE_INEGCURR;
        case LocaleItem::CurrencySymbol: return LOCALE_SCURRENCY;
        case LocaleItem::CurrencyDigits: return LOCALE_ICURRDIGITS;
        case LocaleItem::ThousandSeparator: return LOCALE_STHOUSAND;
        case LocaleItem::DecimalSeparator: return LOCALE_SDECIMAL;
        case LocaleItem::ListSeparator: return LOCALE_SLIST;
        case LocaleItem::DateSeparator: return LOCALE_SDATE;
        case LocaleItem::TimeSeparator: return LOCALE_STIME;
        case LocaleItem::ShortDateFormat: return LOCALE_SSHORTDATE;
        case LocaleItem::LongDateFormat: return LOCALE_SLONGDATE;
        case LocaleItem::TimeFormat: return LOCALE_STIMEFORMAT;
        case LocaleItem::AmDesignator: return LOCALE_S1159;
        case LocaleItem::PmDesignator: return LOCALE_S2359;
        case LocaleItem::MeasurementSystem: return LOCALE_IMEASURE;
        case LocaleItem::ShortMonthName: return LOCALE_SABBREVMONTHNAME1 + index;
        case LocaleItem::MonthName: return LOCALE_SMONTHNAME1 + index;
        case LocaleItem::ShortDayName: return LOCALE_SABBREVDAYNAME1 + index;
        case LocaleItem::DayName: return LOCALE_SDAYNAME1 + index;
    }
    return 0;
}

}  // namespace

unsigned long UserLocale() { return GetUserDefaultLCID(); }

String LocaleText(unsigned long locale, LocaleItem item, int index) {
    wchar_t buffer[256];
    int n = GetLocaleInfoW(static_cast<LCID>(locale), LocaleType(item, index), buffer,
                           static_cast<int>(std::size(buffer)));
    return n > 1 ? String(buffer, static_cast<size_t>(n) - 1) : String();
}

void UpperCaseInPlace(String& s) {
    if (!s.empty()) CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
}

void LowerCaseInPlace(String& s) {
    if (!s.empty()) CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
}

int CompareInLocale(const String& a, const String& b, bool ignoreCase) {
    int r = CompareStringW(LOCALE_USER_DEFAULT, ignoreCase ? NORM_IGNORECASE : 0, a.c_str(),
                           static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()));
    if (r == 0) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);  // locale failure: ordinal
    return r - CSTR_EQUAL;
}

std::string ToCodePage(const String& s, unsigned codePage) {
    if (s.empty()) return {};
    int n = WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

String FromCodePage(const std::string& s, unsigned codePage) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    String out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

// ---- clock ----

LocalTime LocalTimeNow() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

}  // namespace platform
