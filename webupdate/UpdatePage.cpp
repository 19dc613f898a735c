#include "webupdate/UpdatePage.h"

#include <cwchar>
#include <cwctype>

#include "framework/rtl/StringUtils.h"

namespace {

// Longest name or value read from a META line.
constexpr int MaxMetaText = 255;

// The text from 1-based start up to (without) the next double quote within MaxMetaText
// characters; empty without a closing quote there or when start lies past the end.
String QuotedFrom(const String& line, int start) {
    if (start < 1 || start > static_cast<int>(line.size())) return String();
    const String window = Copy(line, start, MaxMetaText);
    const size_t quote = window.find(L'"');
    return quote == String::npos ? String() : window.substr(0, quote);
}

String AsciiUpper(const String& s) {
    String out = s;
    for (wchar_t& c : out)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return out;
}

// Windows-1252's characters for the bytes 0x80..0x9F (0 where the code page has none).
const wchar_t Cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool DecodeUtf8(const std::string& bytes, String& out) {
    out.clear();
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        char32_t cp = 0;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(extra) >= bytes.size() && extra > 0) return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char c = static_cast<unsigned char>(bytes[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        static const char32_t minimum[4] = {0, 0x80, 0x800, 0x10000};
        if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<wchar_t>(cp);
        }
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

bool StartsWithNoCase(const String& s, size_t at, const wchar_t* word) {
    for (size_t k = 0; word[k] != 0; ++k) {
        if (at + k >= s.size()) return false;
        if (static_cast<wchar_t>(std::towlower(s[at + k])) != word[k]) return false;
    }
    return true;
}

// The element name of a tag's text (after "<" and an optional "/"), lower-cased.
String TagName(const String& tag) {
    size_t i = 0;
    if (i < tag.size() && tag[i] == L'/') ++i;
    String name;
    while (i < tag.size() && (std::iswalnum(tag[i]) != 0)) name += static_cast<wchar_t>(std::towlower(tag[i++]));
    return name;
}

bool BreaksLine(const String& name) {
    static const wchar_t* const names[] = {L"br", L"p",  L"div", L"li", L"tr", L"h1", L"h2", L"h3",
                                           L"h4", L"h5", L"h6",  L"ul", L"ol", L"table", L"hr", L"title"};
    for (const wchar_t* n : names)
        if (name == n) return true;
    return false;
}

// A character reference starting at text[at] ('&'); the decoded character and its length, or
// 0 when it is none of the handled ones.
size_t DecodeReference(const String& text, size_t at, wchar_t& out) {
    static const struct {
        const wchar_t* Name;
        wchar_t Char;
    } named[] = {{L"&amp;", L'&'}, {L"&lt;", L'<'},     {L"&gt;", L'>'},     {L"&quot;", L'"'},
                 {L"&nbsp;", L' '}, {L"&apos;", L'\''}, {L"&copy;", 0xA9}};
    for (const auto& n : named)
        if (StartsWithNoCase(text, at, n.Name)) {
            out = n.Char;
            return wcslen(n.Name);
        }
    // The accented letters of Latin-1 by name (&atilde; &Ccedil; ...), as Portuguese pages write them.
    static const struct {
        const wchar_t* Suffix;
        const wchar_t* Letters;  // base letters, then their accented forms in the same order
        const wchar_t* Accented;
    } accents[] = {
        {L"acute;", L"aeiouyAEIOUY", L"\u00E1\u00E9\u00ED\u00F3\u00FA\u00FD\u00C1\u00C9\u00CD\u00D3\u00DA\u00DD"},
        {L"grave;", L"aeiouAEIOU", L"\u00E0\u00E8\u00EC\u00F2\u00F9\u00C0\u00C8\u00CC\u00D2\u00D9"},
        {L"circ;", L"aeiouAEIOU", L"\u00E2\u00EA\u00EE\u00F4\u00FB\u00C2\u00CA\u00CE\u00D4\u00DB"},
        {L"tilde;", L"anoANO", L"\u00E3\u00F1\u00F5\u00C3\u00D1\u00D5"},
        {L"uml;", L"aeiouyAEIOU", L"\u00E4\u00EB\u00EF\u00F6\u00FC\u00FF\u00C4\u00CB\u00CF\u00D6\u00DC"},
        {L"cedil;", L"cC", L"\u00E7\u00C7"},
    };
    if (at + 1 < text.size()) {
        const wchar_t letter = text[at + 1];
        for (const auto& a : accents) {
            const wchar_t* found = wcschr(a.Letters, letter);
            if (found == nullptr || letter == 0) continue;
            const size_t suffix = wcslen(a.Suffix);
            if (text.compare(at + 2, suffix, a.Suffix) == 0) {
                out = a.Accented[found - a.Letters];
                return 2 + suffix;
            }
        }
    }
    if (at + 2 < text.size() && text[at + 1] == L'#') {
        size_t i = at + 2;
        const bool hex = i < text.size() && (text[i] == L'x' || text[i] == L'X');
        if (hex) ++i;
        unsigned long value = 0;
        size_t digits = 0;
        while (i < text.size() && digits < 7 && (hex ? std::iswxdigit(text[i]) : std::iswdigit(text[i]))) {
            const wchar_t c = text[i++];
            const unsigned long d = std::iswdigit(c) ? c - L'0' : (std::towlower(c) - L'a' + 10);
            value = value * (hex ? 16 : 10) + d;
            ++digits;
        }
        if (digits == 0 || i >= text.size() || text[i] != L';' || value == 0 || value > 0xFFFF) return 0;
        out = static_cast<wchar_t>(value);
        return i + 1 - at;
    }
    return 0;
}

}  // namespace

String DecodePageBytes(const std::string& bytes) {
    String text;
    if (DecodeUtf8(bytes, text)) return text;
    text.clear();
    text.reserve(bytes.size());
    for (char ch : bytes) {
        const unsigned char b = static_cast<unsigned char>(ch);
        const wchar_t high = b >= 0x80 && b < 0xA0 ? Cp1252High[b - 0x80] : 0;
        text += high != 0 ? high : static_cast<wchar_t>(b);
    }
    return text;
}

std::vector<String> SplitPageLines(const String& text) {
    std::vector<String> lines;
    String line;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            lines.push_back(line);
            line.clear();
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

String NameOfMetaLine(const String& line) {
    const int p = Pos(L"META NAME", line);
    return p == 0 ? String() : QuotedFrom(line, p + 11);
}

String ContentOfMetaLine(const String& line) {
    const int q = Pos(L"CONTENT=", AsciiUpper(line));
    return QuotedFrom(line, q + 9);
}

TWuPageValues ParseInfoPage(const std::vector<String>& lines, const TWuTagNames& tags) {
    TWuPageValues values;
    const std::pair<const String*, String*> slots[] = {
        {&tags.ProductName, &values.ProductName}, {&tags.ClientFileName, &values.ClientFileName},
        {&tags.Version, &values.Version},         {&tags.Author, &values.Author},
        {&tags.Email, &values.Email},             {&tags.Download, &values.Download},
        {&tags.Redirection, &values.Redirection}, {&tags.RunParameters, &values.RunParameters},
    };
    for (const String& line : lines) {
        if (Pos(L"META NAME", line) == 0) continue;
        const String name = NameOfMetaLine(line);
        for (const auto& [tag, value] : slots)
            if (name == *tag) *value = ContentOfMetaLine(line);
    }
    return values;
}

String PageText(const std::vector<String>& lines) {
    String page;
    for (const String& line : lines) page += line + L"\n";
    String out;
    bool inHead = false;
    bool pendingBlank = false;
    auto newLine = [&] {
        while (!out.empty() && out.back() == L' ') out.pop_back();
        if (!out.empty() && out.back() != L'\n') out += L'\n';
        pendingBlank = false;
    };
    for (size_t i = 0; i < page.size();) {
        const wchar_t c = page[i];
        if (c == L'<') {
            const size_t end = page.find(L'>', i);
            const String tag = page.substr(i + 1, end == String::npos ? String::npos : end - i - 1);
            i = end == String::npos ? page.size() : end + 1;
            const String name = TagName(tag);
            const bool closing = !tag.empty() && tag[0] == L'/';
            if (name == L"head") inHead = !closing;
            if (!closing && (name == L"script" || name == L"style")) {
                const String close = L"</" + name;
                size_t stop = i;
                while (stop < page.size() && !StartsWithNoCase(page, stop, close.c_str())) ++stop;
                i = stop;
                continue;
            }
            if (BreaksLine(name)) newLine();
            continue;
        }
        ++i;
        if (inHead) continue;
        wchar_t ch = c;
        if (c == L'&') {
            const size_t length = DecodeReference(page, i - 1, ch);
            if (length > 0) i += length - 1;
            else ch = L'&';
        }
        if (ch == L'\n' || ch == L'\r' || ch == L'\t' || ch == L' ') {
            pendingBlank = !out.empty() && out.back() != L'\n';
            continue;
        }
        if (pendingBlank) out += L' ';
        pendingBlank = false;
        out += ch;
    }
    while (!out.empty() && (out.back() == L'\n' || out.back() == L' ')) out.pop_back();
    return out;
}
