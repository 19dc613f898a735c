#include "framework/rtl/Format.h"

#include "testing/TestFormatSettings.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <vector>

namespace {

struct Case {
    String actual;
    String expected;
};

TEST(FormatTest, IntegerAndStringSpecifiers) {
    const TFormatSettings en = EnglishSettings();
    const String name = L"Ana";
    const Case cases[] = {
        {Format(L"%d", {42}, en), L"42"},
        {Format(L"[%5d]", {42}, en), L"[   42]"},
        {Format(L"[%-5d]", {42}, en), L"[42   ]"},
        {Format(L"%.5d", {-12}, en), L"-00012"},
        {Format(L"%3d", {123456}, en), L"123456"},
        {Format(L"%d", {std::numeric_limits<Int64>::min()}, en), L"-9223372036854775808"},
        {Format(L"%d", {4000000000u}, en), L"4000000000"},
        {Format(L"%u", {-1}, en), L"4294967295"},
        {Format(L"%x", {255}, en), L"FF"},
        {Format(L"%.4x", {255}, en), L"00FF"},
        {Format(L"%x", {-1}, en), L"FFFFFFFF"},
        {Format(L"%X", {Int64{-1}}, en), L"FFFFFFFFFFFFFFFF"},
        {Format(L"%s", {L"abc"}, en), L"abc"},
        {Format(L"%s!", {name}, en), L"Ana!"},
        {Format(L"%.2s", {L"abc"}, en), L"ab"},
        {Format(L"[%5s][%-5s]", {L"ab", L"cd"}, en), L"[   ab][cd   ]"},
        {Format(L"%s", {L'x'}, en), L"x"},
        {Format(L"%s", {static_cast<const wchar_t*>(nullptr)}, en), L""},
        {Format(L"%s", {L"%n%s%d"}, en), L"%n%s%d"},  // argument text is never a format
        {Format(L"100%%", {}, en), L"100%"},
        {Format(L"%1:s %0:s", {L"a", L"b"}, en), L"b a"},
        {Format(L"%1:s %s %0:s", {L"a", L"b", L"c"}, en), L"b c a"},
        {Format(L"[%*d]", {5, 42}, en), L"[   42]"},
        {Format(L"[%-*d]", {4, 7}, en), L"[7   ]"},
        {Format(L"[%*d]", {-4, 7}, en), L"[7   ]"},
        {Format(L"%d", {1, 2}, en), L"1"},  // surplus arguments are ignored
        {Format(L"plain", {}, en), L"plain"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
    int x = 0;
    EXPECT_EQ(Format(L"%p", {static_cast<const void*>(nullptr)}, en), String(sizeof(void*) * 2, L'0'));
    EXPECT_EQ(Format(L"%p", {&x}, en).size(), sizeof(void*) * 2);
}

TEST(FormatTest, FloatSpecifiers) {
    const TFormatSettings en = EnglishSettings(), br = BrazilianSettings();
    const Case cases[] = {
        {Format(L"%f", {1.0}, en), L"1.00"},
        {Format(L"%.3f", {2.0 / 3}, en), L"0.667"},
        {Format(L"%.0f", {2.5}, en), L"3"},
        {Format(L"%.0f", {-2.5}, en), L"-3"},
        {Format(L"%f", {-0.001}, en), L"0.00"},
        {Format(L"%.2f", {1234567.125}, br), L"1234567,13"},
        {Format(L"%f", {1e17}, en), L"100000000000000000.00"},
        {Format(L"[%8.2f]", {3.14159}, en), L"[    3.14]"},
        {Format(L"[%*.*f]", {8, 3, 3.14159}, en), L"[   3.142]"},
        {Format(L"%e", {1234.5}, en), L"1.23450000000000E+003"},
        {Format(L"%.3e", {-1234.5}, en), L"-1.23E+003"},
        {Format(L"%.3e", {0.00012345}, br), L"1,23E-004"},
        {Format(L"%g", {0.1}, en), L"0.1"},
        {Format(L"%g", {1.5e-5}, en), L"1.5E-005"},
        {Format(L"%g", {1234.5L}, br), L"1234,5"},
        {Format(L"%.3g", {1234.5}, en), L"1.23E003"},
        {Format(L"%n", {1234567.891}, en), L"1,234,567.89"},
        {Format(L"%.0n", {-1234567.891}, br), L"-1.234.568"},
        {Format(L"%m", {1234.5}, en), L"$1,234.50"},
        {Format(L"%m", {-1234.5}, en), L"($1,234.50)"},
        {Format(L"%m", {1234.5}, br), L"R$ 1.234,50"},
        {Format(L"%m", {-1234.5}, br), L"-R$ 1.234,50"},
        {Format(L"%.0m", {2.5}, br), L"R$ 3"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST(FormatTest, MismatchedOrMissingArgumentsAndMalformedFormatsRaise) {
    const TFormatSettings en = EnglishSettings();
    const std::vector<std::function<void()>> invalid = {
        [&] { Format(L"%d", {1.5}, en); },
        [&] { Format(L"%x", {1.0}, en); },
        [&] { Format(L"%f", {1}, en); },
        [&] { Format(L"%e", {L"1"}, en); },
        [&] { Format(L"%s", {1}, en); },
        [&] { Format(L"%d", {L"1"}, en); },
        [&] { Format(L"%p", {1}, en); },
        [&] { Format(L"%", {1}, en); },
        [&] { Format(L"abc %5", {1}, en); },
        [&] { Format(L"%-", {1}, en); },
        [&] { Format(L"%q", {1}, en); },
        [&] { Format(L"%1:", {1, 2}, en); },
        [&] { Format(L"%*d", {L"x", 1}, en); },
        [&] { Format(L"%*d", {1.0, 1}, en); },
        [&] { Format(L"%99999999d", {1}, en); },
        [&] { Format(L"%.99999999f", {1.0}, en); },
    };
    for (size_t i = 0; i < invalid.size(); ++i) EXPECT_THROW(invalid[i](), EConvertError) << "case " << i;

    const std::vector<std::function<void()>> missing = {
        [&] { Format(L"%d", {}, en); },
        [&] { Format(L"%d %d", {1}, en); },
        [&] { Format(L"%5:d", {1}, en); },
        [&] { Format(L"%*d", {5}, en); },
    };
    for (size_t i = 0; i < missing.size(); ++i) EXPECT_THROW(missing[i](), EConvertError) << "case " << i;
}

TEST(FormatTest, ErrorMessagesNameTheFormat) {
    try {
        Format(L"%d", {L"x"});
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"Format '%d' invalid or incompatible with argument");
    }
    try {
        Format(L"%s-%s", {L"x"});
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"No argument for format '%s-%s'");
    }
}

TEST(FormatTest, IntToStr) {
    EXPECT_EQ(IntToStr(0), L"0");
    EXPECT_EQ(IntToStr(-45), L"-45");
    EXPECT_EQ(IntToStr(std::numeric_limits<Int64>::max()), L"9223372036854775807");
    EXPECT_EQ(IntToStr(std::numeric_limits<int>::min()), L"-2147483648");
}

TEST(FormatTest, ValReportsTheFirstBadCharacter) {
    struct ValCase { const wchar_t* text; int code; Int64 value; };
    const ValCase cases[] = {
        {L"123", 0, 123},       {L"  -42", 0, -42},    {L"+7", 0, 7},         {L"$FF", 0, 255},
        {L"0x1f", 0, 31},       {L"0X1F", 0, 31},      {L"-$10", 0, -16},     {L"\t9", 0, 9},
        {L"12a", 3, 0},         {L"12 ", 3, 0},        {L"", 1, 0},           {L"-", 2, 0},
        {L"  ", 3, 0},          {L"$", 2, 0},          {L"0x", 3, 0},         {L"$G", 2, 0},
        {L"1.5", 2, 0},         {L"--1", 2, 0},        {L"1e3", 2, 0},
        {L"9223372036854775807", 0, std::numeric_limits<Int64>::max()},
        {L"-9223372036854775808", 0, std::numeric_limits<Int64>::min()},
        {L"9223372036854775808", 19, 0},
        {L"$FFFFFFFFFFFFFFFF", 0, -1},
        {L"$10000000000000000", 18, 0},
    };
    for (const ValCase& c : cases) {
        Int64 v = 99;
        EXPECT_EQ(Val(c.text, v), c.code) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
}

TEST(FormatTest, ValIntoIntUsesTheIntRange) {
    struct ValCase { const wchar_t* text; int code; int value; };
    const ValCase cases[] = {
        {L"2147483647", 0, 2147483647}, {L"-2147483648", 0, std::numeric_limits<int>::min()},
        {L"2147483648", 10, 0},         {L"-2147483649", 11, 0},
        {L"$FFFFFFFF", 0, -1},          {L"$100000000", 10, 0},
    };
    for (const ValCase& c : cases) {
        int v = 99;
        EXPECT_EQ(Val(c.text, v), c.code) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
}

TEST(FormatTest, StrToIntFamily) {
    EXPECT_EQ(StrToInt(L" -17"), -17);
    EXPECT_EQ(StrToInt(L"$7FFFFFFF"), 2147483647);
    EXPECT_EQ(StrToIntDef(L"x", 5), 5);
    EXPECT_EQ(StrToIntDef(L"12", 5), 12);
    int v = 3;
    EXPECT_FALSE(TryStrToInt(L"3000000000", v));
    EXPECT_EQ(v, 3);
    EXPECT_TRUE(TryStrToInt(L"0x10", v));
    EXPECT_EQ(v, 16);
    EXPECT_EQ(StrToInt64(L"3000000000"), 3000000000LL);
    EXPECT_EQ(StrToInt64Def(L"", -1), -1);
    Int64 w = 0;
    EXPECT_TRUE(TryStrToInt64(L"-5", w));
    EXPECT_EQ(w, -5);
    EXPECT_THROW(StrToInt64(L"1 2"), EConvertError);
    try {
        StrToInt(L"12abc");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'12abc' is not a valid integer value");
    }
}

}  // namespace
