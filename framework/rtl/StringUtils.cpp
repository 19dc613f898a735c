#include "framework/rtl/StringUtils.h"

#include <algorithm>
#include <cstdint>

#include "framework/rtl/Platform.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// String holds UTF-16 whatever the width of wchar_t (32 bits on Linux, where the native build
// runs): a character beyond the basic plane is a surrogate pair there too.
void AppendUtf16(String& out, char32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (cp >> 10));
        out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    } else {
        out += static_cast<wchar_t>(cp);
    }
}

bool IsHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; }
wchar_t AsciiLower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

std::string StringToAnsi(const String& s, unsigned codePage) { return platform::ToCodePage(s, codePage); }

String AnsiToString(const std::string& s, unsigned codePage) { return platform::FromCodePage(s, codePage); }

std::string StringToUtf8(const String& s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t u = static_cast<char32_t>(s[i]);
        if (IsHighSurrogate(u) && i + 1 < s.size() && IsLowSurrogate(static_cast<char32_t>(s[i + 1]))) {
            char32_t low = static_cast<char32_t>(s[++i]);
            u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
        } else if (IsHighSurrogate(u) || IsLowSurrogate(u) || u > 0x10FFFF) {
            u = kReplacement;
        }
        AppendUtf8(out, u);
    }
    return out;
}

String Utf8ToString(const std::string& s) {
    static const char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};  // rejects overlong forms
    String out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            out += static_cast<wchar_t>(b);
            ++i;
            continue;
        }
        size_t extra;
        char32_t cp;
        if ((b & 0xE0) == 0xC0) {
            extra = 1, cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, cp = b & 0x07;
        } else {
            out += static_cast<wchar_t>(kReplacement);
            ++i;
            continue;
        }
        size_t k = 1;
        while (k <= extra && i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80) {
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
            ++k;
        }
        bool valid = k > extra && cp >= kMinimum[extra] && cp <= 0x10FFFF && !IsHighSurrogate(cp) &&
                     !IsLowSurrogate(cp);
        AppendUtf16(out, valid ? cp : kReplacement);
        i += k;  // a truncated sequence resumes at the byte that broke it
    }
    return out;
}

String UpperCase(const String& s) {
    String r = s;
    std::transform(r.begin(), r.end(), r.begin(), AsciiUpper);
    return r;
}

String LowerCase(const String& s) {
    String r = s;
    std::transform(r.begin(), r.end(), r.begin(), AsciiLower);
    return r;
}

String AnsiUpperCase(const String& s) {
    String r = s;
    platform::UpperCaseInPlace(r);
    return r;
}

String AnsiLowerCase(const String& s) {
    String r = s;
    platform::LowerCaseInPlace(r);
    return r;
}

String Trim(const String& s) { return TrimLeft(TrimRight(s)); }

String TrimLeft(const String& s) {
    size_t i = 0;
    while (i < s.size() && s[i] <= L' ') ++i;
    return s.substr(i);
}

String TrimRight(const String& s) {
    size_t n = s.size();
    while (n > 0 && s[n - 1] <= L' ') --n;
    return s.substr(0, n);
}

String Copy(const String& s, int index, int count) {
    if (index < 1) index = 1;
    if (count <= 0 || static_cast<size_t>(index) > s.size()) return {};
    return s.substr(static_cast<size_t>(index) - 1, static_cast<size_t>(count));
}

int Pos(const String& sub, const String& s) { return PosEx(sub, s, 1); }

int PosEx(const String& sub, const String& s, int offset) {
    if (sub.empty() || offset < 1 || static_cast<size_t>(offset) > s.size()) return 0;
    size_t p = s.find(sub, static_cast<size_t>(offset) - 1);
    return p == String::npos ? 0 : static_cast<int>(p) + 1;
}

void Delete(String& s, int index, int count) {
    if (index < 1 || count <= 0 || static_cast<size_t>(index) > s.size()) return;
    s.erase(static_cast<size_t>(index) - 1, static_cast<size_t>(count));
}

void Insert(const String& source, String& dest, int index) {
    size_t at = index < 1 ? 0 : std::min(static_cast<size_t>(index) - 1, dest.size());
    dest.insert(at, source);
}

String StringReplace(const String& s, const String& oldPattern, const String& newPattern,
                     TReplaceFlags flags) {
    if (oldPattern.empty()) return s;
    bool ignoreCase = flags.Contains(rfIgnoreCase);
    // The locale's case mapping keeps lengths, so positions match the original text.
    const String searchIn = ignoreCase ? AnsiUpperCase(s) : s;
    const String pattern = ignoreCase ? AnsiUpperCase(oldPattern) : oldPattern;
    String result;
    size_t from = 0;
    while (true) {
        size_t p = searchIn.find(pattern, from);
        if (p == String::npos) break;
        result.append(s, from, p - from);
        result += newPattern;
        from = p + pattern.size();
        if (!flags.Contains(rfReplaceAll)) break;
    }
    result.append(s, from, String::npos);
    return result;
}

int CompareStr(const String& a, const String& b) { return Sign(a.compare(b)); }

int CompareText(const String& a, const String& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        wchar_t x = AsciiUpper(a[i]), y = AsciiUpper(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameText(const String& a, const String& b) { return a.size() == b.size() && CompareText(a, b) == 0; }

int AnsiCompareStr(const String& a, const String& b) { return platform::CompareInLocale(a, b, false); }

int AnsiCompareText(const String& a, const String& b) { return platform::CompareInLocale(a, b, true); }

bool AnsiSameText(const String& a, const String& b) { return AnsiCompareText(a, b) == 0; }

String QuotedStr(const String& s) {
    String r = L"'";
    for (wchar_t c : s) {
        r += c;
        if (c == L'\'') r += c;
    }
    r += L'\'';
    return r;
}

String IntToHex(Int64 value, int digits) {
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    auto v = static_cast<std::uint64_t>(value);
    String r;
    do {
        r += kHex[v & 0xF];
        v >>= 4;
    } while (v != 0);
    if (digits > static_cast<int>(r.size())) r.append(static_cast<size_t>(digits) - r.size(), L'0');
    std::reverse(r.begin(), r.end());
    return r;
}

String StringOfChar(wchar_t ch, int count) {
    return count <= 0 ? String() : String(static_cast<size_t>(count), ch);
}
