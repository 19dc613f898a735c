// Hand-filled number settings for tests: formatting rules must not depend on the host's locale data.
#pragma once

#include "framework/rtl/FormatSettings.h"

inline TFormatSettings EnglishSettings() {
    TFormatSettings s;
    s.DecimalSeparator = L'.';
    s.ThousandSeparator = L',';
    s.CurrencyString = L"$";
    s.CurrencyFormat = 0;
    s.NegCurrFormat = 0;
    s.CurrencyDecimals = 2;
    return s;
}

inline TFormatSettings BrazilianSettings() {
    TFormatSettings s;
    s.DecimalSeparator = L',';
    s.ThousandSeparator = L'.';
    s.CurrencyString = L"R$";
    s.CurrencyFormat = 2;
    s.NegCurrFormat = 9;
    s.CurrencyDecimals = 2;
    return s;
}
