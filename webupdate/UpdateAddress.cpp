#include "webupdate/UpdateAddress.h"

#include "framework/rtl/StringUtils.h"

namespace {

const String HttpPrefix = L"http://";

bool StartsWithHttp(const String& url) { return SameText(Copy(url, 1, 7), HttpPrefix); }

bool IsControl(wchar_t c) { return c < 32 || (c >= 127 && c <= 159); }

// Characters that change how the text around them is ordered or shown without being seen
// themselves: the bidirectional marks, embeddings, overrides and isolates, and the invisible
// format characters (zero-width ones, the word joiner, the byte-order mark).
bool IsFormatOrBidi(wchar_t c) {
    return (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x206F) ||
           c == 0x061C || c == 0xFEFF || (c >= 0xFFF9 && c <= 0xFFFB);
}

bool IsHostCharacter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'.' ||
           c == L'-' || c == L'_';
}

bool IsValidHost(const String& host) {
    for (wchar_t c : host)
        if (!IsHostCharacter(c)) return false;
    return true;
}

bool HasControl(const String& text) {
    for (wchar_t c : text)
        if (IsControl(c)) return true;
    return false;
}

// Without the prefix, an address is a path on the page's host; one that names a scheme ("file:",
// "ftp:"), a drive or a network path would reach somewhere else.
bool NamesAnotherPlace(const String& url) {
    if (url.rfind(L"//", 0) == 0 || url.rfind(L"\\", 0) == 0) return true;
    const size_t colon = url.find(L':');
    return colon != String::npos && colon < url.find(L'/');
}

// The device names Windows opens whatever extension follows them (and blanks before the dot).
bool IsDeviceName(const String& name) {
    String stem = UpperCase(name.substr(0, name.find(L'.')));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$", L"CLOCK$"})
        if (stem == device) return true;
    if (stem.size() != 4 || (stem.compare(0, 3, L"COM") != 0 && stem.compare(0, 3, L"LPT") != 0)) return false;
    const wchar_t digit = stem[3];
    // The superscript digits count too.
    return (digit >= L'1' && digit <= L'9') || digit == 0x00B9 || digit == 0x00B2 || digit == 0x00B3;
}

}  // namespace

TWuAddress SplitURL(const String& url) {
    TWuAddress result;
    String rest = url;
    if (StartsWithHttp(rest)) {
        Delete(rest, 1, 7);
    } else if (NamesAnotherPlace(rest)) {
        result.Valid = false;
        return result;
    }
    const int slash = Pos(L"/", rest);
    if (slash == 0) {
        result.Path = rest;
    } else {
        result.Host = Copy(rest, 1, slash);
        result.Path = Copy(rest, slash, static_cast<int>(rest.size()));
        if (!result.Host.empty() && result.Host.back() == L'/') result.Host.pop_back();
    }
    result.Valid = IsValidHost(result.Host) && !HasControl(result.Path);
    return result;
}

String WithHttpPrefix(const String& url) {
    if (StartsWithHttp(url)) return url;
    return HttpPrefix + url;
}

bool RedirectPath(const String& location, const String& host, Word port, String& path) {
    if (location.rfind(L"/", 0) == 0 && location.rfind(L"//", 0) != 0) {
        path = location;
        return !HasControl(path);
    }
    if (!StartsWithHttp(location)) return false;
    const String rest = location.substr(7);
    const size_t slash = rest.find(L'/');
    const String authority = rest.substr(0, slash);
    path = slash == String::npos ? String(L"/") : rest.substr(slash);
    String targetHost = authority;
    Word targetPort = 80;
    if (const size_t colon = authority.find(L':'); colon != String::npos) {
        targetHost = authority.substr(0, colon);
        const String digits = authority.substr(colon + 1);
        if (digits.empty() || digits.size() > 5) return false;
        unsigned value = 0;
        for (wchar_t c : digits) {
            if (c < L'0' || c > L'9') return false;
            value = value * 10 + static_cast<unsigned>(c - L'0');
        }
        if (value > 0xFFFF) return false;
        targetPort = static_cast<Word>(value);
    }
    return SameText(targetHost, host) && targetPort == port && IsValidHost(targetHost) && !HasControl(path);
}

bool IsPlainFileName(const String& name) {
    if (name.empty() || name.find(L"..") != String::npos) return false;
    for (wchar_t c : name) {
        if (c < 32 || c == 127) return false;
        switch (c) {
            case L'\\': case L'/': case L':': case L'*': case L'?': case L'"': case L'<': case L'>':
            case L'|':
                return false;
            default:
                break;
        }
    }
    // Windows drops trailing dots and blanks, so such a name would not be the one checked.
    return name.back() != L'.' && name.back() != L' ';
}

bool IsAcceptableSetupName(const String& name, const std::vector<String>& reservedNames) {
    if (!IsPlainFileName(name) || name.size() <= 4 || !SameText(name.substr(name.size() - 4), L".exe")) return false;
    for (wchar_t c : name)
        if (IsControl(c) || IsFormatOrBidi(c) || c == L'~') return false;
    if (IsDeviceName(name)) return false;
    for (const String& reserved : reservedNames)
        if (SameText(name, reserved)) return false;
    return true;
}

String DisplayableText(const String& value) {
    String shown;
    shown.reserve(value.size());
    for (wchar_t c : value)
        if (!IsControl(c) && !IsFormatOrBidi(c)) shown += c;
    return shown;
}
