// Floating-point to text and back. Every function has an overload taking explicit settings;
// the others use DefaultFormatSettings().
//
// Digits come from the exact binary value, reduced to 18 significant digits (the resolution of
// an extended value). Rounding to the requested digits is then half away from zero on that
// decimal text. FormatFloat (like the classic one) first rounds to 15 significant digits and then
// to the mask's decimals, so FormatFloat("0.00", 0.285) == "0.29", whereas the single rounding of
// FloatToStrF(0.285, ffFixed, 15, 2) sees 0.28499999999999998 and gives "0.28".
#pragma once

#include "framework/rtl/FormatSettings.h"
#include "framework/rtl/System.h"

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// ffGeneral with 15 significant digits: 0.1 -> "0.1", 1E20 -> "1E20", 1.5E-5 -> "1.5E-5",
// NaN -> "NAN", infinities -> "INF" / "-INF".
String FloatToStr(Extended value);
String FloatToStr(Extended value, const TFormatSettings& settings);

// precision: significant digits (1..18). digits:
//   ffGeneral  minimum exponent digits (0..4); fixed notation unless the value is below 1E-4 or
//              has more integer digits than precision; trailing zeros removed; the exponent shows
//              a sign only when negative ("1E20", "1.5E-5")
//   ffExponent minimum exponent digits (0..4): "-d.dddE+dd"
//   ffFixed    decimals (0..18); scientific when the integer part has more digits than precision
//   ffNumber   as ffFixed with thousand separators
//   ffCurrency decimals; CurrencyString placed per CurrencyFormat / NegCurrFormat
String FloatToStrF(Extended value, TFloatFormat format, int precision, int digits);
String FloatToStrF(Extended value, TFloatFormat format, int precision, int digits,
                   const TFormatSettings& settings);

// Accept optional blanks around the number, a sign, digits with the settings' decimal
// separator, and an exponent ("E+5", "e-3"). Thousand separators are not accepted.
// Failure raises EConvertError "'<s>' is not a valid floating point value".
Extended StrToFloat(const String& s);
Extended StrToFloat(const String& s, const TFormatSettings& settings);
bool TryStrToFloat(const String& s, Extended& value);
bool TryStrToFloat(const String& s, Extended& value, const TFormatSettings& settings);
bool TryStrToFloat(const String& s, double& value);
bool TryStrToFloat(const String& s, double& value, const TFormatSettings& settings);
Extended StrToFloatDef(const String& s, Extended defaultValue);
Extended StrToFloatDef(const String& s, Extended defaultValue, const TFormatSettings& settings);

// Mask language: "0" digit, "#" optional digit, "." decimal separator (first one), "," thousand
// separators (anywhere among the digit placeholders), "E+" "E-" "e+" "e-" scientific with the
// exponent's minimum digits given by the following "0"s, 'text' and "text" literals, other
// characters copied. Up to three ";"-separated sections: positive;negative;zero. An empty or
// absent negative section uses the positive one with a leading "-"; a value that rounds to zero
// uses the zero section when present. An empty mask gives FloatToStr.
String FormatFloat(const String& mask, Extended value);
String FormatFloat(const String& mask, Extended value, const TFormatSettings& settings);

// Currency values are passed as Extended and rounded to 4 decimals (the currency resolution),
// then shown like FloatToStr: CurrToStr(12.5) -> "12.5" (no currency symbol).
String CurrToStr(Extended value);
String CurrToStr(Extended value, const TFormatSettings& settings);
