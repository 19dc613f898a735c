// The operating-system services the run-time library stands on, and only those: open files,
// files and folders by name, the locale's texts, case rules and code pages, the clock.
// PlatformWin32.cpp implements them for the program; PlatformPosix.cpp for the native build of
// the portable core, which exists for the sanitizers and the fuzzers (the Windows build stays the
// reference for behaviour). Nothing else in the portable core calls the operating system.
//
// File names are the framework's own: '\' and '/' both separate folders. A call that fails says
// so by its result; LastError() then gives the system's reason, as a code for ErrorText.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "framework/rtl/System.h"

namespace platform {

unsigned long LastError();
String ErrorText(unsigned long code);  // as the system words it, line breaks and all

// ---- open files ----

// A Win32 HANDLE or a POSIX descriptor, in an integer wide enough for either.
using FileHandle = std::intptr_t;
constexpr FileHandle kNoFile = -1;

enum class FileAccess { Read, Write, ReadWrite };
// What other openers may do with the file meanwhile. Windows enforces it; POSIX has no such
// rule, and there every file is shared.
enum class FileShare { Exclusive, Read, Write, ReadWrite };

// Opens an existing file, or with create makes a new empty one (an old one is cut to nothing)
// for reading and writing. kNoFile when that fails.
FileHandle OpenFile(const String& name, FileAccess access, FileShare share, bool create);
void CloseFile(FileHandle file) noexcept;
// Each moves up to count bytes (count fits in 32 bits) and returns how many, or -1.
Int64 FileRead(FileHandle file, void* buffer, Int64 count);
Int64 FileWrite(FileHandle file, const void* buffer, Int64 count);
// origin 0, 1, 2: from the start, the current position, the end. The new position, or -1.
Int64 FileSeek(FileHandle file, Int64 offset, int origin);
bool FileTruncate(FileHandle file);  // at the current position

// ---- files and folders by name ----

struct FileStatus {
    bool directory;
    Int64 size;
};
std::optional<FileStatus> StatusOf(const String& name);
bool CreateFolder(const String& name);  // one level
bool RemoveFolder(const String& name);  // an empty one
bool RemoveFile(const String& name);
// Without replace, fails when newName exists. With it, replaces newName in one step, on disk
// before the call returns.
bool MoveFileTo(const String& oldName, const String& newName, bool replace);
String FullFileName(const String& name);  // absolute, "." and ".." resolved; name when it cannot
// From the environment: TMP or TEMP on Windows, TMPDIR on POSIX; empty when there is none.
String TempFolder();
// Creates a new empty file named folder + prefix + something unique; its name, or empty.
String CreateUniqueFile(const String& folder, const String& prefix);
String ProgramFileName();

// ---- environment ----

std::optional<String> EnvironmentValue(const String& name);
void SetEnvironmentValue(const String& name, const std::optional<String>& value);  // none removes it

// ---- locale ----

// The items of a locale the formatting settings are filled from. Month names are indexed
// 0 (January) to 11, day names 0 (Monday) to 6.
enum class LocaleItem {
    CurrencyFormat, NegativeCurrencyFormat, CurrencySymbol, CurrencyDigits,
    ThousandSeparator, DecimalSeparator, ListSeparator, DateSeparator, TimeSeparator,
    ShortDateFormat, LongDateFormat, TimeFormat, AmDesignator, PmDesignator,
    MeasurementSystem,  // "0" metric, "1" US
    ShortMonthName, MonthName, ShortDayName, DayName,
};
// Locales are Windows locale identifiers (0x0416 pt-BR, 0x0409 en-US).
unsigned long UserLocale();
// The item's text in Windows' notation, or empty when the locale lacks it.
String LocaleText(unsigned long locale, LocaleItem item, int index = 0);

// Case rules and collation of the user's locale, accented letters included. The case
// mappings keep the length.
void UpperCaseInPlace(String& s);
void LowerCaseInPlace(String& s);
// <0, 0, >0; equal texts compare 0.
int CompareInLocale(const String& a, const String& b, bool ignoreCase);

// Code pages by Windows number; 0 is the process's ANSI code page. Characters the code page
// lacks become its default character.
std::string ToCodePage(const String& s, unsigned codePage);
String FromCodePage(const std::string& s, unsigned codePage);

// ---- clock ----

struct LocalTime {
    Word year, month, day, hour, minute, second, millisecond;
};
LocalTime LocalTimeNow();

}  // namespace platform
