#include "webupdate/UpdateAddress.h"

#include "framework/rtl/StringUtils.h"

namespace {
const String HttpPrefix = L"http://";
}

TWuAddress SplitURL(const String& url) {
    String rest = url;
    if (Pos(HttpPrefix, LowerCase(rest)) > 0) Delete(rest, 1, 7);
    const int slash = Pos(L"/", rest);
    TWuAddress result;
    if (slash == 0) {
        result.Path = rest;
        return result;
    }
    result.Host = Copy(rest, 1, slash);
    result.Path = Copy(rest, slash, static_cast<int>(rest.size()));
    if (!result.Host.empty() && result.Host.back() == L'/') result.Host.pop_back();
    return result;
}

String WithHttpPrefix(const String& url) {
    if (SameText(Copy(url, 1, 7), HttpPrefix)) return url;
    return HttpPrefix + url;
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
