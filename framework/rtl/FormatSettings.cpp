#include "framework/rtl/FormatSettings.h"

#include "framework/rtl/Platform.h"

namespace {

using platform::LocaleItem;

// An empty text means the locale lacks the item: callers keep their defaults then.
void ReadString(unsigned long locale, LocaleItem item, String& target, int index = 0) {
    String value = platform::LocaleText(locale, item, index);
    if (!value.empty()) target = value;
}

void ReadChar(unsigned long locale, LocaleItem item, wchar_t& target) {
    String value = platform::LocaleText(locale, item);
    if (!value.empty()) target = value[0];
}

void ReadInt(unsigned long locale, LocaleItem item, int& target) {
    String value = platform::LocaleText(locale, item);
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
    ReadInt(lcid, LocaleItem::CurrencyFormat, s.CurrencyFormat);
    ReadInt(lcid, LocaleItem::NegativeCurrencyFormat, s.NegCurrFormat);
    ReadString(lcid, LocaleItem::CurrencySymbol, s.CurrencyString);
    ReadInt(lcid, LocaleItem::CurrencyDigits, s.CurrencyDecimals);
    ReadChar(lcid, LocaleItem::ThousandSeparator, s.ThousandSeparator);
    ReadChar(lcid, LocaleItem::DecimalSeparator, s.DecimalSeparator);
    ReadChar(lcid, LocaleItem::ListSeparator, s.ListSeparator);
    ReadChar(lcid, LocaleItem::DateSeparator, s.DateSeparator);
    ReadChar(lcid, LocaleItem::TimeSeparator, s.TimeSeparator);
    s.MeasureInInches = platform::LocaleText(lcid, LocaleItem::MeasurementSystem) == L"1";
    ReadString(lcid, LocaleItem::ShortDateFormat, s.ShortDateFormat);
    ReadString(lcid, LocaleItem::LongDateFormat, s.LongDateFormat);
    // Locales without AM/PM (pt-BR) report empty designators, which is what they mean.
    s.TimeAMString = platform::LocaleText(lcid, LocaleItem::AmDesignator);
    s.TimePMString = platform::LocaleText(lcid, LocaleItem::PmDesignator);
    String longTime = platform::LocaleText(lcid, LocaleItem::TimeFormat);
    if (!longTime.empty()) {
        s.LongTimeFormat = TranslateAmPm(longTime);
        s.ShortTimeFormat = TranslateAmPm(DropSeconds(longTime));
    }
    for (int m = 0; m < 12; ++m) {
        ReadString(lcid, LocaleItem::ShortMonthName, s.ShortMonthNames[m], m);
        ReadString(lcid, LocaleItem::MonthName, s.LongMonthNames[m], m);
    }
    // Locales number the days from Monday; ours start on Sunday.
    for (int d = 0; d < 7; ++d) {
        int mondayFirst = (d + 6) % 7;
        ReadString(lcid, LocaleItem::ShortDayName, s.ShortDayNames[d], mondayFirst);
        ReadString(lcid, LocaleItem::DayName, s.LongDayNames[d], mondayFirst);
    }
    return s;
}

TFormatSettings TFormatSettings::UserDefault() { return FromLocale(platform::UserLocale()); }

TFormatSettings& DefaultFormatSettings() {
    static TFormatSettings settings = TFormatSettings::UserDefault();
    return settings;
}

void SetDefaultFormatSettings(const TFormatSettings& settings) { DefaultFormatSettings() = settings; }
