#include "framework/rtl/FloatFormat.h"

#include "testing/TestFormatSettings.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

constexpr Extended kInf = std::numeric_limits<Extended>::infinity();

TEST(FloatFormatTest, FloatToStrUsesFifteenSignificantDigits) {
    const TFormatSettings en = EnglishSettings();
    struct Case { Extended value; const wchar_t* expected; };
    const Case cases[] = {
        {0, L"0"},
        {0.1, L"0.1"},
        {0.1 + 0.2, L"0.3"},
        {1e20, L"1E20"},
        {1.5e-5, L"1.5E-5"},
        {0.0001, L"0.0001"},
        {-2.5, L"-2.5"},
        {100, L"100"},
        {1.0 / 3, L"0.333333333333333"},
        {2.0 / 3, L"0.666666666666667"},
        {123456789012345.0, L"123456789012345"},
        {1234567890123456.0, L"1.23456789012346E15"},
        {999999999999999.9, L"1E15"},
        {1e-300, L"1E-300"},
        {std::numeric_limits<double>::max(), L"1.79769313486232E308"},
        {std::numeric_limits<double>::denorm_min(), L"4.94065645841247E-324"},
        {1e4000L, L"1E4000"},
        {std::numeric_limits<Extended>::quiet_NaN(), L"NAN"},
        {kInf, L"INF"},
        {-kInf, L"-INF"},
    };
    for (const Case& c : cases) EXPECT_EQ(FloatToStr(c.value, en), c.expected) << c.expected;
}

TEST(FloatFormatTest, FloatToStrUsesTheDecimalSeparator) {
    const TFormatSettings br = BrazilianSettings();
    EXPECT_EQ(FloatToStr(0.1, br), L"0,1");
    EXPECT_EQ(FloatToStr(1.5e-5, br), L"1,5E-5");
    EXPECT_EQ(FloatToStr(-1234.5, br), L"-1234,5");  // no thousand separators
}

TEST(FloatFormatTest, FloatToStrF) {
    const TFormatSettings en = EnglishSettings(), br = BrazilianSettings();
    struct Case { String actual; const wchar_t* expected; };
    const Case cases[] = {
        {FloatToStrF(1234.5678, ffFixed, 15, 2, en), L"1234.57"},
        {FloatToStrF(0.285, ffFixed, 15, 2, en), L"0.28"},  // the double lies below the half
        {FloatToStrF(0.125, ffFixed, 15, 2, en), L"0.13"},  // exact half: away from zero
        {FloatToStrF(2.5, ffFixed, 15, 0, en), L"3"},
        {FloatToStrF(-0.004, ffFixed, 15, 2, en), L"0.00"},
        {FloatToStrF(9.999, ffFixed, 15, 2, en), L"10.00"},
        {FloatToStrF(1e20, ffFixed, 15, 2, en), L"1.00000000000000E+20"},
        {FloatToStrF(1234567.891, ffNumber, 15, 2, en), L"1,234,567.89"},
        {FloatToStrF(-1234567.891, ffNumber, 15, 0, br), L"-1.234.568"},
        {FloatToStrF(123.0, ffNumber, 15, 1, en), L"123.0"},
        {FloatToStrF(1234.5, ffExponent, 4, 2, en), L"1.235E+03"},
        {FloatToStrF(-0.00012345, ffExponent, 3, 0, br), L"-1,23E-4"},
        {FloatToStrF(0, ffExponent, 3, 3, en), L"0.00E+000"},
        {FloatToStrF(1.5e-5, ffGeneral, 15, 3, en), L"1.5E-005"},
        {FloatToStrF(123456, ffGeneral, 4, 0, en), L"1.235E5"},
        {FloatToStrF(1234.5, ffCurrency, 15, 2, br), L"R$ 1.234,50"},
        {FloatToStrF(-1234.5, ffCurrency, 15, 2, br), L"-R$ 1.234,50"},
        {FloatToStrF(-0.001, ffCurrency, 15, 2, en), L"$0.00"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST(FloatFormatTest, CurrencyPatterns) {
    TFormatSettings s = EnglishSettings();
    const wchar_t* positive[] = {L"$1.50", L"1.50$", L"$ 1.50", L"1.50 $"};
    for (int f = 0; f < 4; ++f) {
        s.CurrencyFormat = f;
        EXPECT_EQ(FloatToStrF(1.5, ffCurrency, 15, 2, s), positive[f]) << f;
    }
    const wchar_t* negative[] = {L"($1.50)", L"-$1.50",  L"$-1.50",   L"$1.50-",  L"(1.50$)",  L"-1.50$",
                                 L"1.50-$",  L"1.50$-",  L"-1.50 $",  L"-$ 1.50", L"1.50 $-",  L"$ 1.50-",
                                 L"$ -1.50", L"1.50- $", L"($ 1.50)", L"(1.50 $)"};
    for (int f = 0; f < 16; ++f) {
        s.NegCurrFormat = f;
        EXPECT_EQ(FloatToStrF(-1.5, ffCurrency, 15, 2, s), negative[f]) << f;
    }
}

TEST(FloatFormatTest, FormatFloatMasks) {
    const TFormatSettings en = EnglishSettings();
    struct Case { const wchar_t* mask; Extended value; const wchar_t* expected; };
    const Case cases[] = {
        {L"0.00", 1234.567, L"1234.57"},
        {L"#,##0.00", 1234567.891, L"1,234,567.89"},
        {L"#,##0.00", 0.5, L"0.50"},
        {L"#,##0", -1234, L"-1,234"},
        {L",0", 1234567, L"1,234,567"},
        {L"0,", 1234567, L"1,234,567"},
        {L"#.##", 1.5, L"1.5"},
        {L"#.##", 0.5, L".5"},
        {L"0.##", 0.5, L"0.5"},
        {L"0.##", 2, L"2"},
        {L"000", 7, L"007"},
        {L"0", 1234.5, L"1235"},
        {L"0", 2.5, L"3"},
        {L"0", -2.5, L"-3"},
        {L"0.00", 0.285, L"0.29"},  // first rounded to 15 digits, then to the mask
        {L"0.00", 1.005, L"1.01"},
        {L"0.00", -0.001, L"0.00"},
        {L"0.00;(0.00)", -5, L"(5.00)"},
        {L"0.00;(0.00)", 5, L"5.00"},
        {L"0.00;", -5, L"-5.00"},
        {L"0.00;;Zero", 0, L"Zero"},
        {L"0.00;(0.00);Zero", -0.001, L"Zero"},
        {L"0.00;(0.00)", -0.001, L"0.00"},
        {L"0.00E+00", 12345, L"1.23E+04"},
        {L"0.00E-00", 12345, L"1.23E04"},
        {L"0.00e-00", 0.00012345, L"1.23e-04"},
        {L"00.0E+0", 12345, L"12.3E+3"},
        {L"0.0E+000", 0, L"0.0E+000"},
        {L"0.00E+00", -12345, L"-1.23E+04"},
        {L"0E+00#0.#", 12345, L"1E+04#0.#"},  // after the exponent, placeholders are text
        {L"0E+0 'kg'", 5, L"5E+0 kg"},
        {L"'R$ '#,##0.00", 1234.5, L"R$ 1,234.50"},
        {L"\"x\"0", 5, L"x5"},
        {L"0 kg", 5, L"5 kg"},
        {L"0' %;E'", 50, L"50 %;E"},
        {L"0.000", 1e20, L"100000000000000000000.000"},
        {L"", 1.5, L"1.5"},
        {L"0.00", std::numeric_limits<Extended>::quiet_NaN(), L"NAN"},
        {L"0.00", -kInf, L"-INF"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatFloat(c.mask, c.value, en), c.expected) << c.mask;
}

TEST(FloatFormatTest, FormatFloatUsesTheSettings) {
    const TFormatSettings br = BrazilianSettings();
    EXPECT_EQ(FormatFloat(L"#,##0.00", 1234567.891, br), L"1.234.567,89");
    EXPECT_EQ(FormatFloat(L"0.0", 0.25, br), L"0,3");
    EXPECT_EQ(FormatFloat(L"'R$' #,##0.00", -1234.5, br), L"-R$ 1.234,50");
}

TEST(FloatFormatTest, StrToFloatAcceptsTheSettingsSyntaxOnly) {
    const TFormatSettings en = EnglishSettings(), br = BrazilianSettings();
    struct Good { const wchar_t* text; Extended value; };
    const Good good[] = {{L"1.5", 1.5L}, {L" -2.25e3 ", -2250}, {L"1E+2", 100}, {L".5", 0.5L},
                         {L"5.", 5},     {L"+0", 0},           {L"0.1", 0.1L},  {L"1e-400", 1e-400L}};
    for (const Good& g : good) {
        Extended v = 0;
        EXPECT_TRUE(TryStrToFloat(g.text, v, en)) << g.text;
        EXPECT_EQ(v, g.value) << g.text;
    }
    const wchar_t* bad[] = {L"",   L" ",    L"abc", L"1,5",  L"1.5.2", L"1e",  L"1e+",   L"--1",
                            L"1 2", L"+",   L"0x10", L"inf", L"nan",   L"1_0", L"1e5000", L"."};
    for (const wchar_t* b : bad) {
        Extended v = 7;
        EXPECT_FALSE(TryStrToFloat(b, v, en)) << b;
        EXPECT_EQ(v, 7) << b;
    }
    EXPECT_EQ(StrToFloat(L"1,5", br), 1.5L);
    EXPECT_THROW(StrToFloat(L"1.5", br), EConvertError);
    EXPECT_THROW(StrToFloat(L"1.234,5", br), EConvertError);
    EXPECT_EQ(StrToFloatDef(L"x", 7, br), 7);
    double d = 0;
    EXPECT_TRUE(TryStrToFloat(L"0.1", d, en));
    EXPECT_EQ(d, 0.1);
    EXPECT_FALSE(TryStrToFloat(L"1e400", d, en));  // fine for Extended, too large for double
    try {
        StrToFloat(L"12x", en);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'12x' is not a valid floating point value");
    }
}

TEST(FloatFormatTest, TextRoundTripsThroughFloatToStr) {
    const TFormatSettings br = BrazilianSettings();
    for (double v : {0.1, 123.456, -9.87654321e-12, 6.02214076e23}) {
        EXPECT_EQ(static_cast<double>(StrToFloat(FloatToStr(v, br), br)), v);
    }
}

TEST(FloatFormatTest, CurrToStrRoundsToFourDecimals) {
    const TFormatSettings en = EnglishSettings(), br = BrazilianSettings();
    EXPECT_EQ(CurrToStr(12.5, en), L"12.5");
    EXPECT_EQ(CurrToStr(1.23456, br), L"1,2346");
    EXPECT_EQ(CurrToStr(-7, en), L"-7");
    EXPECT_EQ(CurrToStr(0.00004, en), L"0");
}

TEST(FloatFormatTest, LocaleSettingsFormatNumbers) {
    const TFormatSettings br = TFormatSettings::FromLocale(0x0416);
    const TFormatSettings en = TFormatSettings::FromLocale(0x0409);
    EXPECT_EQ(FloatToStr(0.1, br), L"0,1");
    EXPECT_EQ(FloatToStr(0.1, en), L"0.1");
    EXPECT_EQ(FormatFloat(L"#,##0.00", 1234567.891, br), L"1.234.567,89");
    EXPECT_EQ(FormatFloat(L"#,##0.00", 1234567.891, en), L"1,234,567.89");
    EXPECT_EQ(StrToFloat(L"2,5", br), 2.5L);
    EXPECT_EQ(StrToFloat(L"2.5", en), 2.5L);
    EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 15, 2, br).find(L"R$"), 0u);
}

TEST(FormatSettingsTest, BrazilianLocale) {
    const TFormatSettings s = TFormatSettings::FromLocale(0x0416);
    EXPECT_EQ(s.DecimalSeparator, L',');
    EXPECT_EQ(s.ThousandSeparator, L'.');
    EXPECT_EQ(s.CurrencyString, L"R$");
    EXPECT_EQ(s.CurrencyDecimals, 2);
    EXPECT_EQ(s.DateSeparator, L'/');
    EXPECT_EQ(s.TimeSeparator, L':');
    EXPECT_EQ(s.ShortDateFormat, L"dd/MM/yyyy");
    EXPECT_EQ(s.LongTimeFormat, L"HH:mm:ss");
    EXPECT_EQ(s.ShortTimeFormat, L"HH:mm");
    EXPECT_EQ(s.LongMonthNames[0], L"janeiro");
    EXPECT_EQ(s.LongMonthNames[11], L"dezembro");
    EXPECT_EQ(s.LongDayNames[0], L"domingo");
    EXPECT_EQ(s.LongDayNames[1], L"segunda-feira");
}

TEST(FormatSettingsTest, AmericanLocale) {
    const TFormatSettings s = TFormatSettings::FromLocale(0x0409);
    EXPECT_EQ(s.DecimalSeparator, L'.');
    EXPECT_EQ(s.ThousandSeparator, L',');
    EXPECT_EQ(s.CurrencyString, L"$");
    EXPECT_EQ(s.CurrencyFormat, 0);
    EXPECT_EQ(s.ShortDateFormat, L"M/d/yyyy");
    EXPECT_EQ(s.LongTimeFormat, L"h:mm:ss AMPM");
    EXPECT_EQ(s.ShortTimeFormat, L"h:mm AMPM");
    EXPECT_EQ(s.TimeAMString, L"AM");
    EXPECT_EQ(s.TimePMString, L"PM");
    EXPECT_EQ(s.ShortMonthNames[0], L"Jan");
    EXPECT_EQ(s.LongMonthNames[11], L"December");
    EXPECT_EQ(s.ShortDayNames[0], L"Sun");
    EXPECT_EQ(s.LongDayNames[0], L"Sunday");
    EXPECT_EQ(s.LongDayNames[6], L"Saturday");
}

TEST(FormatSettingsTest, DefaultSettingsCanBeReplaced) {
    const TFormatSettings saved = DefaultFormatSettings();
    TFormatSettings s = BrazilianSettings();
    SetDefaultFormatSettings(s);
    EXPECT_EQ(FloatToStr(2.5), L"2,5");
    EXPECT_EQ(StrToFloat(L"2,5"), 2.5L);
    SetDefaultFormatSettings(saved);
}

}  // namespace
