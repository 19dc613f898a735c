// String helpers with the classic run-time library semantics: 1-based indexes, clamping
// instead of throwing, ASCII-only case folding for the non-"Ansi" variants.
#pragma once

#include <initializer_list>
#include <string>

#include "framework/rtl/System.h"

// Code-page conversions. codePage 0 is the ANSI code page of the process (CP_ACP).
// Characters the target code page lacks become the code page's default character.
std::string StringToAnsi(const String& s, unsigned codePage = 0);
String AnsiToString(const std::string& s, unsigned codePage = 0);
std::string StringToUtf8(const String& s);
// Invalid UTF-8 sequences become U+FFFD.
String Utf8ToString(const std::string& s);

// Case mapping. UpperCase/LowerCase touch only 'a'..'z' / 'A'..'Z'; the Ansi forms use the
// user's locale (accented letters included).
String UpperCase(const String& s);
String LowerCase(const String& s);
String AnsiUpperCase(const String& s);
String AnsiLowerCase(const String& s);

// Remove leading and/or trailing characters <= ' ' (spaces and control characters).
String Trim(const String& s);
String TrimLeft(const String& s);
String TrimRight(const String& s);

// Substring from 1-based index. index < 1 counts as 1; index past the end or count <= 0 gives "";
// count is clamped to the rest of the string.
String Copy(const String& s, int index, int count);
// 1-based position of the first occurrence of sub in s; 0 when absent or when sub is empty.
int Pos(const String& sub, const String& s);
// Same, starting the search at 1-based offset (offset < 1 or past the end gives 0).
int PosEx(const String& sub, const String& s, int offset);
// Removes count characters from 1-based index; out-of-range index or count <= 0 does nothing,
// count is clamped to the end.
void Delete(String& s, int index, int count);
// Inserts source before 1-based index of dest; index < 1 inserts at the front, index past the end
// appends.
void Insert(const String& source, String& dest, int index);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };

// A set of TReplaceFlag: StringReplace(s, a, b, {rfReplaceAll, rfIgnoreCase}).
class TReplaceFlags {
public:
    TReplaceFlags() = default;
    TReplaceFlags(TReplaceFlag flag) : bits_(1u << flag) {}
    TReplaceFlags(std::initializer_list<TReplaceFlag> flags) {
        for (TReplaceFlag f : flags) bits_ |= 1u << f;
    }
    bool Contains(TReplaceFlag flag) const { return (bits_ & (1u << flag)) != 0; }

private:
    unsigned bits_ = 0;
};

// Replaces the first (or every, with rfReplaceAll) occurrence of oldPattern. rfIgnoreCase
// compares with the locale's case folding. An empty oldPattern returns s unchanged.
String StringReplace(const String& s, const String& oldPattern, const String& newPattern,
                     TReplaceFlags flags = {});

// Comparisons. CompareStr/CompareText are ordinal (CompareText folds ASCII letters only) and
// return <0, 0 or >0. The Ansi forms use the user's locale collation.
int CompareStr(const String& a, const String& b);
int CompareText(const String& a, const String& b);
bool SameText(const String& a, const String& b);
int AnsiCompareStr(const String& a, const String& b);
int AnsiCompareText(const String& a, const String& b);
bool AnsiSameText(const String& a, const String& b);

// 'text' with embedded quotes doubled.
String QuotedStr(const String& s);
// Upper-case hexadecimal, zero-padded to at least digits characters. Negative values are shown
// as their 64-bit two's complement (IntToHex(-1, 2) == "FFFFFFFFFFFFFFFF"); pass an unsigned
// 32-bit value for 8-digit output.
String IntToHex(Int64 value, int digits);
// count copies of ch; count <= 0 gives "".
String StringOfChar(wchar_t ch, int count);
