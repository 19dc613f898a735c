#include "webupdate/VersionCompare.h"

#include "framework/rtl/FloatFormat.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/FormatSettings.h"

namespace {

// The text before the first "." (all of it without one), removed from text with its ".".
String TakePart(String& text, bool& hadDot) {
    const size_t dot = text.find(L'.');
    hadDot = dot != String::npos;
    String part = hadDot ? text.substr(0, dot) : text;
    text.erase(0, hadDot ? dot + 1 : text.size());
    return part;
}

Int64 PartValue(const String& part) {
    Int64 value = 0;
    return TryStrToInt64(part, value) ? value : 0;
}

bool IsNewerStandard(String local, String web) {
    for (;;) {
        bool localHadDot = false, webHadDot = false;
        const Int64 localPart = PartValue(TakePart(local, localHadDot));
        const Int64 webPart = PartValue(TakePart(web, webHadDot));
        if (webPart > localPart) return true;
        if (webPart < localPart) return false;
        if (!localHadDot) return false;
    }
}

bool IsNewerNumber(const String& local, const String& web) {
    TFormatSettings settings;
    settings.DecimalSeparator = L'.';
    Extended localValue = 0, webValue = 0;
    if (!TryStrToFloat(local, localValue, settings) || !TryStrToFloat(web, webValue, settings)) return false;
    return webValue > localValue;
}

}  // namespace

bool IsNewerVersion(const String& local, const String& web, TWuVersionFormat format) {
    switch (format) {
        case vfStandard: return IsNewerStandard(local, web);
        case vfString: return web.compare(local) > 0;
        case vfNumber: return IsNewerNumber(local, web);
    }
    return false;
}
