// Format and integer conversions with the framework's rules (not printf's).
//
// Format specifiers: "%" [index ":"] ["-"] [width] ["." precision] type
//   index, width and precision may be "*" (taken from the next integer argument).
//   d  integer, precision = minimum digits (zero padded)    u  as d, unsigned (32-bit for int)
//   x  upper-case hexadecimal, precision = minimum digits   s  string or character; precision truncates
//   f  fixed, precision = decimals (default 2)              n  as f with thousand separators
//   e  scientific, precision = significant digits (default 15), exponent "E+000"
//   g  general (shortest of fixed/scientific), precision = significant digits (default 15)
//   m  currency per the settings (precision = decimals, default CurrencyDecimals)
//   p  pointer in upper-case hex, 2 digits per byte         %% a literal percent sign
// Floating specifiers accept only floating arguments, integer specifiers only integers, s only
// text. A mismatch, a missing argument or a malformed specifier raises EConvertError
// ("Format '<fmt>' invalid or incompatible with argument" / "No argument for format '<fmt>'").
#pragma once

#include <initializer_list>

#include "framework/rtl/FormatSettings.h"
#include "framework/rtl/System.h"

// One Format argument. Built implicitly; string arguments are referenced, not copied, so a
// TVarRec must not outlive the full expression it is created in (the usual Format({...}) call).
struct TVarRec {
    enum Kind { vtInteger, vtInt64, vtExtended, vtString, vtPWideChar, vtChar, vtPointer };

    TVarRec(int v) : kind(vtInteger), intValue(v) {}
    TVarRec(long v) {  // 32 bits on Windows, 64 on LP64 hosts
        if constexpr (sizeof(long) == sizeof(int)) {
            kind = vtInteger;
            intValue = static_cast<int>(v);
        } else {
            kind = vtInt64;
            int64Value = static_cast<Int64>(v);
        }
    }
    TVarRec(unsigned v) : kind(vtInt64), int64Value(v) {}
    TVarRec(unsigned long v) : kind(vtInt64), int64Value(static_cast<Int64>(v)) {}
    TVarRec(long long v) : kind(vtInt64), int64Value(v) {}
    TVarRec(unsigned long long v) : kind(vtInt64), int64Value(static_cast<Int64>(v)) {}
    TVarRec(double v) : kind(vtExtended), extValue(v) {}
    TVarRec(long double v) : kind(vtExtended), extValue(v) {}
    TVarRec(const String& v) : kind(vtString), stringValue(&v) {}
    TVarRec(const wchar_t* v) : kind(vtPWideChar), pwcharValue(v) {}
    TVarRec(wchar_t v) : kind(vtChar), charValue(v) {}
    TVarRec(const void* v) : kind(vtPointer), pointerValue(v) {}

    Kind kind;
    union {
        int intValue;
        Int64 int64Value;
        Extended extValue;
        const String* stringValue;
        const wchar_t* pwcharValue;  // may be null: formats as ""
        wchar_t charValue;
        const void* pointerValue;
    };
};

String Format(const String& format, std::initializer_list<TVarRec> args);
String Format(const String& format, std::initializer_list<TVarRec> args,
              const TFormatSettings& settings);

// Decimal text of an integer ("-123").
String IntToStr(Int64 value);

// Parses an integer the way the classic Val does: leading blanks (<= ' ') are skipped, then an
// optional sign, then decimal digits or hexadecimal after "$" or "0x"/"0X". Parsing stops at the
// first bad character. Returns 0 on success, otherwise the 1-based position of the offending
// character (length + 1 when the text ends too early, e.g. "" or "-"). On overflow of the
// target type the position of the digit that overflowed is returned. Hexadecimal may use the
// whole unsigned range of the type ("$FFFFFFFF" is -1 as int). value is 0 when the result is
// not 0.
int Val(const String& s, Int64& value);
int Val(const String& s, int& value);

// StrToInt* accept exactly what Val accepts; failures raise EConvertError
// "'<s>' is not a valid integer value".
int StrToInt(const String& s);
int StrToIntDef(const String& s, int defaultValue);
bool TryStrToInt(const String& s, int& value);
Int64 StrToInt64(const String& s);
Int64 StrToInt64Def(const String& s, Int64 defaultValue);
bool TryStrToInt64(const String& s, Int64& value);
