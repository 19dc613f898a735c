#include "app/ResumeFileName.h"

#include <cwctype>

#include "framework/rtl/FileUtils.h"

namespace {

bool Forbidden(wchar_t c) { return c < 0x20 || String(L"\\/:*?\"<>|").find(c) != String::npos; }

bool IsDeviceName(const String& title) {
    // A device is named by its name alone or followed by an extension ("nul.txt").
    String stem = title.substr(0, title.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    for (wchar_t& c : stem) c = static_cast<wchar_t>(towupper(c));
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (stem == device) return true;
    if (stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) &&
        stem[3] >= L'1' && stem[3] <= L'9')
        return true;
    return false;
}

}  // namespace

String SafeFileTitle(const String& enteredName) {
    String title;
    for (size_t i = 0; i < enteredName.size(); ++i) {
        const wchar_t c = enteredName[i];
        if (c == L'.' && i + 1 < enteredName.size() && enteredName[i + 1] == L'.') {
            while (i + 1 < enteredName.size() && enteredName[i + 1] == L'.') ++i;
            title += L'_';
        } else {
            title += Forbidden(c) ? L'_' : c;
        }
    }
    // Windows drops trailing dots and blanks itself; leading ones make hidden or odd names.
    const auto trimmed = [](wchar_t c) { return c == L' ' || c == L'.'; };
    size_t first = 0, last = title.size();
    while (first < last && trimmed(title[first])) ++first;
    while (last > first && trimmed(title[last - 1])) --last;
    title = title.substr(first, last - first);
    // Nothing but separators and dots is no name at all.
    if (title.find_first_not_of(L"_ ") == String::npos) return String();
    if (IsDeviceName(title)) title.insert(0, 1, L'_');
    return title;
}

String ResumeFileName(const String& folder, const String& enteredName) {
    const String title = SafeFileTitle(enteredName);
    if (title.empty()) return String();
    return IncludeTrailingPathDelimiter(folder) + title + L".QRP";
}
