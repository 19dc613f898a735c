#include "framework/graphics/ScreenMetrics.h"

#include <algorithm>

#include "framework/graphics/GdiHandles.h"
#include "framework/rtl/StringUtils.h"

namespace ScreenMetrics {

int PixelsPerInch() {
    // Asked by every new font; the setting does not change while the program runs.
    static const int ppi = [] {
        const auto dc = ScreenDC();
        int value = GetDeviceCaps(dc.get(), LOGPIXELSY);
        return value > 0 ? value : 96;
    }();
    return ppi;
}

int Width() { return GetSystemMetrics(SM_CXSCREEN); }
int Height() { return GetSystemMetrics(SM_CYSCREEN); }

int ColorDepth() {
    const auto dc = ScreenDC();
    return GetDeviceCaps(dc.get(), BITSPIXEL) * GetDeviceCaps(dc.get(), PLANES);
}

namespace {
int CALLBACK CollectFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM param) {
    auto* names = reinterpret_cast<std::vector<String>*>(param);
    try {
        if (font->lfFaceName[0] != L'@') names->emplace_back(font->lfFaceName);
    } catch (...) {
        return 0;  // out of memory: stop enumerating, keep what was gathered
    }
    return 1;
}
}  // namespace

std::vector<String> Fonts() {
    std::vector<String> names;
    const auto dc = ScreenDC();
    LOGFONTW filter{};
    filter.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(dc.get(), &filter, CollectFamily, reinterpret_cast<LPARAM>(&names), 0);
    std::sort(names.begin(), names.end(),
              [](const String& a, const String& b) { return CompareText(a, b) < 0; });
    names.erase(std::unique(names.begin(), names.end(),
                            [](const String& a, const String& b) { return SameText(a, b); }),
                names.end());
    return names;
}

}  // namespace ScreenMetrics
