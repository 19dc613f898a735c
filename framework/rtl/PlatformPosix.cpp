// The native build's operating system: POSIX calls, names in UTF-8 with '/' between folders,
// and the locale data of the two locales the program and its tests use (pt-BR and en-US, as
// Windows reports them), so that results do not depend on which locales a host has installed.
// Two simplifications against Windows: texts collate by code point (case-folded when asked),
// not in a language's order, and the only code pages are Windows-1252 and UTF-8.
#include "framework/rtl/Platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <cwctype>
#include <iterator>
#include <vector>

#include "framework/rtl/StringUtils.h"

namespace platform {

unsigned long LastError() { return static_cast<unsigned long>(errno); }

String ErrorText(unsigned long code) { return Utf8ToString(std::strerror(static_cast<int>(code))); }

namespace {

std::string NativeName(const String& name) {
    std::string native = StringToUtf8(name);
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

template <typename Call>
auto RetryInterrupted(Call call) {
    decltype(call()) result;
    do result = call();
    while (result < 0 && errno == EINTR);
    return result;
}

}  // namespace

// ---- open files ----

FileHandle OpenFile(const String& name, FileAccess access, FileShare, bool create) {
    int flags = O_CLOEXEC;
    if (create)
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    else
        flags |= access == FileAccess::Read ? O_RDONLY : access == FileAccess::Write ? O_WRONLY : O_RDWR;
    const std::string native = NativeName(name);
    int fd = RetryInterrupted([&] { return ::open(native.c_str(), flags, 0666); });
    if (fd < 0) return kNoFile;
    struct stat status;
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {  // Windows opens no folder as a file
        ::close(fd);
        errno = EISDIR;
        return kNoFile;
    }
    return fd;
}

void CloseFile(FileHandle file) noexcept { ::close(static_cast<int>(file)); }

Int64 FileRead(FileHandle file, void* buffer, Int64 count) {
    return RetryInterrupted([&] { return ::read(static_cast<int>(file), buffer, static_cast<size_t>(count)); });
}

Int64 FileWrite(FileHandle file, const void* buffer, Int64 count) {
    return RetryInterrupted([&] { return ::write(static_cast<int>(file), buffer, static_cast<size_t>(count)); });
}

Int64 FileSeek(FileHandle file, Int64 offset, int origin) {
    static const int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (origin < 0 || origin > 2) {
        errno = EINVAL;
        return -1;
    }
    return ::lseek(static_cast<int>(file), static_cast<off_t>(offset), kWhence[origin]);
}

bool FileTruncate(FileHandle file) {
    off_t position = ::lseek(static_cast<int>(file), 0, SEEK_CUR);
    return position >= 0 && ::ftruncate(static_cast<int>(file), position) == 0;
}

// ---- files and folders by name ----

std::optional<FileStatus> StatusOf(const String& name) {
    struct stat status;
    if (name.empty() || ::stat(NativeName(name).c_str(), &status) != 0) return std::nullopt;
    return FileStatus{S_ISDIR(status.st_mode), static_cast<Int64>(status.st_size)};
}

bool CreateFolder(const String& name) { return ::mkdir(NativeName(name).c_str(), 0777) == 0; }

bool RemoveFolder(const String& name) { return ::rmdir(NativeName(name).c_str()) == 0; }

bool RemoveFile(const String& name) { return ::unlink(NativeName(name).c_str()) == 0; }

bool MoveFileTo(const String& oldName, const String& newName, bool replace) {
    const std::string from = NativeName(oldName), to = NativeName(newName);
    if (replace) return ::rename(from.c_str(), to.c_str()) == 0;
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

String FullFileName(const String& name) {
    std::string path = NativeName(name);
    if (path.empty() || path[0] != '/') {
        std::vector<char> cwd(4096);
        if (!::getcwd(cwd.data(), cwd.size())) return name;
        path = std::string(cwd.data()) + "/" + path;
    }
    std::vector<std::string> parts;
    for (size_t at = 0; at <= path.size();) {
        size_t end = std::min(path.find('/', at), path.size());
        std::string part = path.substr(at, end - at);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        at = end + 1;
    }
    std::string full;
    for (const std::string& part : parts) full += "/" + part;
    if (full.empty() || (!path.empty() && path.back() == '/')) full += "/";
    return Utf8ToString(full);
}

String TempFolder() {
    const char* folder = std::getenv("TMPDIR");
    return Utf8ToString(folder && *folder ? folder : "/tmp");
}

String CreateUniqueFile(const String& folder, const String& prefix) {
    // As on Windows: up to three characters of the prefix and a ".tmp" extension. The name is
    // the folder as given with the new file's name behind it.
    const std::string unique = StringToUtf8(prefix.substr(0, 3)) + "XXXXXX.tmp";
    std::string native = NativeName(folder);
    if (!native.empty() && native.back() != '/') native += '/';
    std::string pattern = native + unique;
    int fd = ::mkstemps(pattern.data(), 4);
    if (fd < 0) return String();
    ::close(fd);
    String separator = folder.empty() || folder.back() == L'\\' || folder.back() == L'/' ? L"" : L"\\";
    return folder + separator + Utf8ToString(pattern.substr(native.size()));
}

String ProgramFileName() {
    std::vector<char> buffer(4096);
    ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) return String();
    return Utf8ToString(std::string(buffer.data(), static_cast<size_t>(length)));
}

// ---- environment ----

std::optional<String> EnvironmentValue(const String& name) {
    const char* value = std::getenv(StringToUtf8(name).c_str());
    if (!value) return std::nullopt;
    return Utf8ToString(value);
}

void SetEnvironmentValue(const String& name, const std::optional<String>& value) {
    if (value)
        ::setenv(StringToUtf8(name).c_str(), StringToUtf8(*value).c_str(), 1);
    else
        ::unsetenv(StringToUtf8(name).c_str());
}

// ---- locale ----

namespace {

struct LocaleData {
    unsigned long id;
    const wchar_t* items[15];  // LocaleItem order up to MeasurementSystem
    const wchar_t* shortMonths[12];
    const wchar_t* months[12];
    const wchar_t* shortDays[7];  // Monday first
    const wchar_t* days[7];
};

const LocaleData kLocales[] = {
    {0x0416,
     {L"2", L"9", L"R$", L"2", L".", L",", L";", L"/", L":", L"dd/MM/yyyy", L"dddd, d 'de' MMMM 'de' yyyy",
      L"HH:mm:ss", L"AM", L"PM", L"0"},
     {L"jan.", L"fev.", L"mar.", L"abr.", L"mai.", L"jun.", L"jul.", L"ago.", L"set.", L"out.", L"nov.", L"dez."},
     {L"janeiro", L"fevereiro", L"março", L"abril", L"maio", L"junho", L"julho", L"agosto", L"setembro",
      L"outubro", L"novembro", L"dezembro"},
     {L"seg.", L"ter.", L"qua.", L"qui.", L"sex.", L"sáb.", L"dom."},
     {L"segunda-feira", L"terça-feira", L"quarta-feira", L"quinta-feira", L"sexta-feira", L"sábado",
      L"domingo"}},
    {0x0409,
     {L"0", L"0", L"$", L"2", L",", L".", L",", L"/", L":", L"M/d/yyyy", L"dddd, MMMM d, yyyy", L"h:mm:ss tt",
      L"AM", L"PM", L"1"},
     {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun", L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"},
     {L"January", L"February", L"March", L"April", L"May", L"June", L"July", L"August", L"September",
      L"October", L"November", L"December"},
     {L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat", L"Sun"},
     {L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday", L"Sunday"}},
};

const LocaleData* FindLocale(unsigned long id) {
    for (const LocaleData& locale : kLocales)
        if (locale.id == id) return &locale;
    return nullptr;
}

// Case rules of Unicode, whatever locale the host runs the program in.
locale_t UnicodeCase() {
    static const locale_t locale = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return locale;
}

wchar_t Upper(wchar_t c) {
    locale_t locale = UnicodeCase();
    return locale ? static_cast<wchar_t>(::towupper_l(static_cast<wint_t>(c), locale))
                  : static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
}

wchar_t Lower(wchar_t c) {
    locale_t locale = UnicodeCase();
    return locale ? static_cast<wchar_t>(::towlower_l(static_cast<wint_t>(c), locale))
                  : static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

// Windows-1252's characters for the bytes 0x80..0x9F (0 where the code page has none: those
// bytes stand for the control character of the same number, as on Windows).
constexpr wchar_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr unsigned kUtf8CodePage = 65001;

wchar_t Cp1252ToWide(unsigned char b) {
    if (b >= 0x80 && b < 0xA0 && kCp1252High[b - 0x80] != 0) return kCp1252High[b - 0x80];
    return static_cast<wchar_t>(b);
}

char WideToCp1252(wchar_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == c || (kCp1252High[i] == 0 && c == 0x80 + i)) return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

// The user's locale of the test suite's Wine prefix.
unsigned long UserLocale() { return 0x0409; }

String LocaleText(unsigned long locale, LocaleItem item, int index) {
    const LocaleData* data = FindLocale(locale);
    if (!data) return String();
    switch (item) {
        case LocaleItem::ShortMonthName: return index >= 0 && index < 12 ? data->shortMonths[index] : L"";
        case LocaleItem::MonthName: return index >= 0 && index < 12 ? data->months[index] : L"";
        case LocaleItem::ShortDayName: return index >= 0 && index < 7 ? data->shortDays[index] : L"";
        case LocaleItem::DayName: return index >= 0 && index < 7 ? data->days[index] : L"";
        default: return data->items[static_cast<int>(item)];
    }
}

void UpperCaseInPlace(String& s) { std::transform(s.begin(), s.end(), s.begin(), Upper); }

void LowerCaseInPlace(String& s) { std::transform(s.begin(), s.end(), s.begin(), Lower); }

int CompareInLocale(const String& a, const String& b, bool ignoreCase) {
    if (!ignoreCase) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
    String x = a, y = b;
    LowerCaseInPlace(x);
    LowerCaseInPlace(y);
    return x.compare(y) < 0 ? -1 : (x == y ? 0 : 1);
}

// The ANSI code page is Windows-1252, as for the program's locales; UTF-8 is 65001. Other
// code pages keep ASCII and turn everything else into '?'.
std::string ToCodePage(const String& s, unsigned codePage) {
    if (codePage == kUtf8CodePage) return StringToUtf8(s);
    std::string out;
    out.reserve(s.size());
    for (wchar_t c : s) out += codePage == 0 || codePage == 1252 ? WideToCp1252(c) : (c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

String FromCodePage(const std::string& s, unsigned codePage) {
    if (codePage == kUtf8CodePage) return Utf8ToString(s);
    String out;
    out.reserve(s.size());
    for (char c : s) {
        auto b = static_cast<unsigned char>(c);
        out += codePage == 0 || codePage == 1252 ? Cp1252ToWide(b) : (b < 0x80 ? static_cast<wchar_t>(b) : L'?');
    }
    return out;
}

// ---- clock ----

LocalTime LocalTimeNow() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    ::localtime_r(&now.tv_sec, &local);
    auto word = [](long v) { return static_cast<Word>(v); };
    return {word(local.tm_year + 1900), word(local.tm_mon + 1), word(local.tm_mday), word(local.tm_hour),
            word(local.tm_min),         word(std::min(local.tm_sec, 59)), word(now.tv_nsec / 1000000)};
}

}  // namespace platform
