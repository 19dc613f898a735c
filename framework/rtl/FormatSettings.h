// Locale-dependent settings for number, currency and date formatting.
#pragma once

#include "framework/rtl/System.h"

struct TFormatSettings {
    // Currency
    int CurrencyFormat = 0;       // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    int NegCurrFormat = 0;        // 0..15, the Windows negative-currency patterns
    String CurrencyString = L"$";
    int CurrencyDecimals = 2;
    // Numbers
    wchar_t ThousandSeparator = L',';
    wchar_t DecimalSeparator = L'.';
    wchar_t ListSeparator = L',';
    // Dates and times
    wchar_t DateSeparator = L'/';
    wchar_t TimeSeparator = L':';
    String ShortDateFormat = L"M/d/yyyy";
    String LongDateFormat = L"dddd, MMMM d, yyyy";
    String TimeAMString = L"AM";
    String TimePMString = L"PM";
    String ShortTimeFormat = L"h:mm AMPM";
    String LongTimeFormat = L"h:mm:ss AMPM";
    String ShortMonthNames[12];
    String LongMonthNames[12];
    String ShortDayNames[7];  // Sunday first
    String LongDayNames[7];
    int TwoDigitYearCenturyWindow = 50;
    // Measurements
    bool MeasureInInches = false;  // the US system (Letter paper) rather than the metric one (A4)

    // Settings of a locale by its Windows identifier (e.g. 0x0416 pt-BR, 0x0409 en-US).
    static TFormatSettings FromLocale(unsigned long lcid);
    // Settings of the user's default locale.
    static TFormatSettings UserDefault();
};

// The process default used by the formatting functions that take no explicit settings.
// Filled from the user's locale on first use; tests may replace it.
TFormatSettings& DefaultFormatSettings();
void SetDefaultFormatSettings(const TFormatSettings& settings);
