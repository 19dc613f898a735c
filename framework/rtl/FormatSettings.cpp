#include "framework/rtl/FormatSettings.h"

#include "framework/rtl/WinApi.h"

namespace {

// Reads one locale string; empty when the locale lacks it (callers keep their defaults then).
String LocaleString(LCID lcid, LCTYPE type) {
    wchar_t buffer[256];
    int n = GetLocaleInfoW(lcid, type, buffer, static_cast<int>(std::size(buffer)));
    return n > 1 ? String(buffer, static_cast<size_t>(n) - 1) : String();
}

void ReadString(LCID lcid, LCTYPE type, String& target) {
    String value = LocaleString(lcid, type);
    if (!value.empty()) target = value;
}

void ReadChar(LCID lcid, LCTYPE type, wchar_t& target) {
    String value = LocaleString(lcid, type);
    if (!value.empty()) target = value[0];
}

void ReadInt(LCID lcid, LCTYPE type, int& target) {
    String value = LocaleString(lcid, type);
    if (value.empty()) return;
    int n = 0;
    for (wchar_t c : value) {
        if (c < L'0' || c > L'9') return;
        n = n * 10 + (c - L'0');
    }
    target = n;
}

bool IsSecondsSeparator(wchar_t c) { return c == L':' || c == L'.' || c == L' ' || c == L','; }

// The short time format is the long one without seconds (e.g. "HH:mm:ss" -> "HH:mm");
// Windows' own short time pattern is not used because older systems lack it.
String DropSeconds(const String& format) {
    String result;
    bool quoted = false;
    for (size_t i = 0; i < format.size(); ++i) {
        wchar_t c = format[i];
        if (c == L'\'') quoted = !quoted;
        if (quoted || (c != L's' && c != L'S')) {
            result += c;
            continue;
        }
        while (!result.empty() && IsSecondsSeparator(result.back())) result.pop_back();
        while (i + 1 < format.size() && (format[i + 1] == L's' || format[i + 1] == L'S')) ++i;
        // Keep one space before a following AM/PM marker ("h:mm:ss tt" -> "h:mm tt").
        if (i + 1 < format.size() && format[i + 1] == L' ') {
            result += L' ';
            ++i;
        }
    }
    return result;
}

// Windows marks AM/PM with "t"/"tt"; the framework's date formatter uses "AMPM".
String TranslateAmPm(const String& format) {
    String result;
    bool quoted = false;
    for (size_t i = 0; i < format.size(); ++i) {
        wchar_t c = format[i];
        if (c == L'\'') quoted = !quoted;
        if (quoted || c != L't') {
            result += c;
            continue;
        }
        while (i + 1 < format.size() && format[i + 1] == L't') ++i;
        result += L"AMPM";
    }
    return result;
}

}  // namespace

TFormatSettings TFormatSettings::FromLocale(unsigned long lcid) {
    TFormatSettings s;
    LCID id = static_cast<LCID>(lcid);
    ReadInt(id, LOCALE_ICURRENCY, s.CurrencyFormat);
    ReadInt(id, LOCALE_INEGCURR, s.NegCurrFormat);
    ReadString(id, LOCALE_SCURRENCY, s.CurrencyString);
    ReadInt(id, LOCALE_ICURRDIGITS, s.CurrencyDecimals);
    ReadChar(id, LOCALE_STHOUSAND, s.ThousandSeparator);
    ReadChar(id, LOCALE_SDECIMAL, s.DecimalSeparator);
    ReadChar(id, LOCALE_SLIST, s.ListSeparator);
    ReadChar(id, LOCALE_SDATE, s.DateSeparator);
    ReadChar(id, LOCALE_STIME, s.TimeSeparator);
    s.MeasureInInches = LocaleString(id, LOCALE_IMEASURE) == L"1";
    ReadString(id, LOCALE_SSHORTDATE, s.ShortDateFormat);
    ReadString(id, LOCALE_SLONGDATE, s.LongDateFormat);
    // Locales without AM/PM (pt-BR) report empty designators, which is what they mean.
    s.TimeAMString = LocaleString(id, LOCALE_S1159);
    s.TimePMString = LocaleString(id, LOCALE_S2359);
    String longTime = LocaleString(id, LOCALE_STIMEFORMAT);
    if (!longTime.empty()) {
        s.LongTimeFormat = TranslateAmPm(longTime);
        s.ShortTimeFormat = TranslateAmPm(DropSeconds(longTime));
    }
    for (int m = 0; m < 12; ++m) {
        ReadString(id, LOCALE_SABBREVMONTHNAME1 + m, s.ShortMonthNames[m]);
        ReadString(id, LOCALE_SMONTHNAME1 + m, s.LongMonthNames[m]);
    }
    // Windows numbers the days from Monday (DAYNAME1) to Sunday (DAYNAME7); ours start on Sunday.
    for (int d = 0; d < 7; ++d) {
        int windowsIndex = (d + 6) % 7;
        ReadString(id, LOCALE_SABBREVDAYNAME1 + windowsIndex, s.ShortDayNames[d]);
        ReadString(id, LOCALE_SDAYNAME1 + windowsIndex, s.LongDayNames[d]);
    }
    return s;
}

TFormatSettings TFormatSettings::UserDefault() { return FromLocale(GetUserDefaultLCID()); }

TFormatSettings& DefaultFormatSettings() {
    static TFormatSettings settings = TFormatSettings::UserDefault();
    return settings;
}

void SetDefaultFormatSettings(const TFormatSettings& settings) { DefaultFormatSettings() = settings; }
