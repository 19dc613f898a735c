#include "framework/rtl/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>

#include "framework/rtl/StringUtils.h"

namespace {

TFormatSettings PtBr() {
    TFormatSettings s;
    s.DateSeparator = L'/';
    s.TimeSeparator = L':';
    s.DecimalSeparator = L',';
    s.ShortDateFormat = L"dd/MM/yyyy";
    s.LongDateFormat = L"dddd, d' de 'MMMM' de 'yyyy";
    s.ShortTimeFormat = L"hh:mm";
    s.LongTimeFormat = L"hh:mm:ss";
    s.TimeAMString = L"";
    s.TimePMString = L"";
    const wchar_t* shortMonths[] = {L"jan", L"fev", L"mar", L"abr", L"mai", L"jun",
                                    L"jul", L"ago", L"set", L"out", L"nov", L"dez"};
    const wchar_t* longMonths[] = {L"janeiro", L"fevereiro", L"março",    L"abril",   L"maio",     L"junho",
                                   L"julho",   L"agosto",    L"setembro", L"outubro", L"novembro", L"dezembro"};
    const wchar_t* shortDays[] = {L"dom", L"seg", L"ter", L"qua", L"qui", L"sex", L"sáb"};
    const wchar_t* longDays[] = {L"domingo",      L"segunda-feira", L"terça-feira", L"quarta-feira",
                                 L"quinta-feira", L"sexta-feira",   L"sábado"};
    for (int i = 0; i < 12; ++i) {
        s.ShortMonthNames[i] = shortMonths[i];
        s.LongMonthNames[i] = longMonths[i];
    }
    for (int i = 0; i < 7; ++i) {
        s.ShortDayNames[i] = shortDays[i];
        s.LongDayNames[i] = longDays[i];
    }
    return s;
}

TFormatSettings EnUs() {
    TFormatSettings s;
    s.ShortDateFormat = L"M/d/yyyy";
    s.LongDateFormat = L"dddd, MMMM d, yyyy";
    s.ShortTimeFormat = L"h:mm AMPM";
    s.LongTimeFormat = L"h:mm:ss AMPM";
    s.TimeAMString = L"AM";
    s.TimePMString = L"PM";
    const wchar_t* shortMonths[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                    L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
    const wchar_t* longMonths[] = {L"January", L"February", L"March",     L"April",   L"May",      L"June",
                                   L"July",    L"August",   L"September", L"October", L"November", L"December"};
    const wchar_t* shortDays[] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
    const wchar_t* longDays[] = {L"Sunday", L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday"};
    for (int i = 0; i < 12; ++i) {
        s.ShortMonthNames[i] = shortMonths[i];
        s.LongMonthNames[i] = longMonths[i];
    }
    for (int i = 0; i < 7; ++i) {
        s.ShortDayNames[i] = shortDays[i];
        s.LongDayNames[i] = longDays[i];
    }
    return s;
}

// Thursday 2026-03-05 14:07:09.045
TDateTime Sample() { return EncodeDate(2026, 3, 5) + EncodeTime(14, 7, 9, 45); }

constexpr double kMsec = 1.0 / MSecsPerDay;

}  // namespace

TEST(DateTimeTest, EncodeDecodeDateRoundTrips) {
    struct Case {
        Word y, m, d;
        double serial;
    } cases[] = {
        {1899, 12, 30, 0},     {1900, 1, 1, 2},       {2000, 1, 1, 36526},      {2000, 2, 29, 36585},
        {2024, 2, 29, 45351},  {2100, 3, 1, 73110},   {1, 1, 1, -693593},       {9999, 12, 31, 2958465},
        {1899, 12, 29, -1},    {1600, 2, 29, -109512},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
        EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial);
        Word y, m, d;
        DecodeDate(c.serial, y, m, d);
        EXPECT_EQ(y, c.y);
        EXPECT_EQ(m, c.m);
        EXPECT_EQ(d, c.d);
    }
}

TEST(DateTimeTest, EveryDayOfFourCenturiesDecodesToItself) {
    TDateTime start = EncodeDate(1801, 1, 1);
    TDateTime end = EncodeDate(2201, 1, 1);
    for (TDateTime serial = start; serial < end; serial += 1) {
        Word y, m, d;
        DecodeDate(serial, y, m, d);
        TDateTime again;
        ASSERT_TRUE(TryEncodeDate(y, m, d, again)) << serial;
        ASSERT_EQ(again, serial);
    }
}

TEST(DateTimeTest, InvalidDatesAreRejected) {
    struct Case {
        Word y, m, d;
    } cases[] = {{2023, 2, 29}, {1900, 2, 29}, {2024, 13, 1}, {2024, 0, 1}, {0, 1, 1},
                 {2024, 4, 31}, {10000, 1, 1}, {2024, 1, 0}};
    for (const Case& c : cases) {
        TDateTime date = 123;
        EXPECT_FALSE(TryEncodeDate(c.y, c.m, c.d, date)) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_EQ(date, 123);
        EXPECT_THROW(EncodeDate(c.y, c.m, c.d), EConvertError);
    }
}

TEST(DateTimeTest, LeapYearsAndMonthLengths) {
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(2023));
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 2), 28);
    EXPECT_EQ(DaysInMonth(2023, 4), 30);
    EXPECT_EQ(DaysInMonth(2023, 12), 31);
    EXPECT_EQ(DaysInMonth(2023, 13), 0);
}

TEST(DateTimeTest, EncodeDecodeTime) {
    TDateTime t = EncodeTime(13, 45, 30, 250);
    EXPECT_NEAR(t, (13 * 3600 + 45 * 60 + 30.25) / 86400.0, 1e-12);
    Word h, n, s, ms;
    DecodeTime(t, h, n, s, ms);
    EXPECT_EQ(h, 13);
    EXPECT_EQ(n, 45);
    EXPECT_EQ(s, 30);
    EXPECT_EQ(ms, 250);
    DecodeTime(EncodeTime(23, 59, 59, 999), h, n, s, ms);
    EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 235959999);
    TDateTime dummy;
    EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, dummy));
    EXPECT_FALSE(TryEncodeTime(0, 60, 0, 0, dummy));
    EXPECT_FALSE(TryEncodeTime(0, 0, 60, 0, dummy));
    EXPECT_FALSE(TryEncodeTime(0, 0, 0, 1000, dummy));
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
}

TEST(DateTimeTest, TimeJustBelowMidnightRoundsIntoTheNextDay) {
    TDateTime almost = EncodeDate(2024, 2, 28) + 1 - kMsec / 10;
    Word y, m, d, h, n, s, ms;
    DecodeDate(almost, y, m, d);
    DecodeTime(almost, h, n, s, ms);
    EXPECT_EQ(d, 29);
    EXPECT_EQ(h + n + s + ms, 0);
}

TEST(DateTimeTest, NegativeValuesUseTheFractionsAbsoluteValue) {
    // -1.25 is 1899-12-29 at 06:00, not 18:00.
    Word y, m, d, h, n, s, ms;
    DecodeDate(-1.25, y, m, d);
    DecodeTime(-1.25, h, n, s, ms);
    EXPECT_EQ(y, 1899);
    EXPECT_EQ(m, 12);
    EXPECT_EQ(d, 29);
    EXPECT_EQ(h, 6);
    EXPECT_EQ(DateTimeToStr(-1.25, PtBr()), L"29/12/1899 06:00:00");
    EXPECT_EQ(StrToDateTime(L"29/12/1899 06:00", PtBr()), -1.25);
    DecodeDate(-0.5, y, m, d);
    EXPECT_EQ(d, 30);  // still the epoch day
}

TEST(DateTimeTest, DayOfWeekStartsOnSunday) {
    EXPECT_EQ(DayOfWeek(EncodeDate(2023, 1, 1)), 1);   // Sunday
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 3, 5)), 5);   // Thursday
    EXPECT_EQ(DayOfWeek(0), 7);                        // Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2000, 1, 1) + 0.9), 7);
    EXPECT_EQ(DayOfWeek(-1.5), 6);                     // Friday 1899-12-29
}

TEST(DateTimeTest, FormatDateTimeLetters) {
    struct Case {
        const wchar_t* format;
        bool ptBr;
        const wchar_t* expected;
    } cases[] = {
        {L"c", true, L"05/03/2026 14:07:09"},
        {L"c", false, L"3/5/2026 2:07:09 PM"},
        {L"", true, L"05/03/2026 14:07:09"},
        {L"d dd ddd dddd", true, L"5 05 qui quinta-feira"},
        {L"D DD DDD DDDD", false, L"5 05 Thu Thursday"},
        {L"m mm mmm mmmm", true, L"3 03 mar março"},
        {L"MMMM", false, L"March"},
        {L"yy yyyy y", true, L"26 2026 26"},
        {L"h:nn:ss.zzz", true, L"14:07:09.045"},
        {L"z zzz", true, L"45 045"},
        {L"hh:mm", true, L"14:07"},
        {L"hh:mm dd/mm", true, L"14:07 05/03"},
        {L"h:mm am/pm", true, L"2:07 pm"},
        {L"h:mm AM/PM", true, L"2:07 PM"},
        {L"h a/p", true, L"2 p"},
        {L"hh AMPM", false, L"02 PM"},
        {L"h' h' ampm", false, L"2 h PM"},
        {L"t", true, L"14:07"},
        {L"tt", true, L"14:07:09"},
        {L"t", false, L"2:07 PM"},
        {L"ddddd", true, L"05/03/2026"},
        {L"dddddd", true, L"quinta-feira, 5 de março de 2026"},
        {L"dddddd", false, L"Thursday, March 5, 2026"},
        {L"'dd' \"mm\" dd", true, L"dd mm 05"},
        {L"aaaa aaa", true, L"quinta-feira qui"},
        {L"x-yyyy!", true, L"x-2026!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.ptBr ? "pt-BR " : "en-US ") << "'" << StringToUtf8(c.format));
        EXPECT_EQ(FormatDateTime(c.format, Sample(), c.ptBr ? PtBr() : EnUs()), c.expected);
    }
}

TEST(DateTimeTest, FormatUsesTheSettingsSeparators) {
    TFormatSettings s = PtBr();
    s.DateSeparator = L'-';
    s.TimeSeparator = L'.';
    EXPECT_EQ(FormatDateTime(L"yyyy/mm/dd hh:nn", Sample(), s), L"2026-03-05 14.07");
}

TEST(DateTimeTest, TwelveHourClockAroundMidnightAndNoon) {
    EXPECT_EQ(FormatDateTime(L"h:nn AMPM", EncodeTime(0, 30, 0, 0), EnUs()), L"12:30 AM");
    EXPECT_EQ(FormatDateTime(L"h:nn AMPM", EncodeTime(12, 5, 0, 0), EnUs()), L"12:05 PM");
    // An hour token before the am/pm marker decides alone.
    EXPECT_EQ(FormatDateTime(L"hh hh AMPM", EncodeTime(13, 0, 0, 0), EnUs()), L"13 01 PM");
}

TEST(DateTimeTest, DateTimeToStrLeavesOutMidnight) {
    TDateTime day = EncodeDate(2026, 3, 5);
    EXPECT_EQ(DateTimeToStr(day, PtBr()), L"05/03/2026");
    EXPECT_EQ(DateTimeToStr(day, EnUs()), L"3/5/2026");
    EXPECT_EQ(DateTimeToStr(day + EncodeTime(0, 0, 1, 0), PtBr()), L"05/03/2026 00:00:01");
    EXPECT_EQ(DateToStr(Sample(), PtBr()), L"05/03/2026");
    EXPECT_EQ(TimeToStr(Sample(), PtBr()), L"14:07:09");
    EXPECT_EQ(TimeToStr(Sample(), EnUs()), L"2:07:09 PM");
}

TEST(DateTimeTest, DefaultOverloadsUseTheProcessSettings) {
    TFormatSettings saved = DefaultFormatSettings();
    SetDefaultFormatSettings(PtBr());
    EXPECT_EQ(DateTimeToStr(Sample()), L"05/03/2026 14:07:09");
    EXPECT_EQ(StrToDate(L"05/03/2026"), EncodeDate(2026, 3, 5));
    SetDefaultFormatSettings(saved);
}

TEST(DateTimeTest, PtBrLocaleFromTheSystem) {
    TFormatSettings s = TFormatSettings::FromLocale(0x0416);
    EXPECT_EQ(DateToStr(Sample(), s), L"05/03/2026");
    EXPECT_EQ(FormatDateTime(L"hh:nn", Sample(), s), L"14:07");
    EXPECT_EQ(AnsiLowerCase(FormatDateTime(L"mmmm", Sample(), s)), L"março");
    EXPECT_EQ(StrToDate(L"05/03/2026", s), EncodeDate(2026, 3, 5));
    EXPECT_FALSE(s.MeasureInInches);  // metric: A4 paper
}

TEST(DateTimeTest, EnUsLocaleFromTheSystem) {
    TFormatSettings s = TFormatSettings::FromLocale(0x0409);
    EXPECT_EQ(DateToStr(Sample(), s), L"3/5/2026");
    EXPECT_EQ(FormatDateTime(L"dddd mmmm", Sample(), s), L"Thursday March");
    EXPECT_EQ(StrToDate(L"3/5/2026", s), EncodeDate(2026, 3, 5));
    EXPECT_TRUE(s.MeasureInInches);  // Letter paper
}

TEST(DateTimeTest, StrToDateFollowsTheShortDateOrder) {
    ScopedClock clock(EncodeDate(2026, 7, 1));
    TFormatSettings ymd = PtBr();
    ymd.ShortDateFormat = L"yyyy/MM/dd";
    struct Case {
        const wchar_t* text;
        const TFormatSettings settings;
        Word y, m, d;
    } cases[] = {
        {L"05/03/2026", PtBr(), 2026, 3, 5},
        {L" 5/3/2026 ", PtBr(), 2026, 3, 5},
        {L"5/3/26", PtBr(), 2026, 3, 5},
        {L"5/3/80", PtBr(), 1980, 3, 5},
        {L"5/3/76", PtBr(), 1976, 3, 5},
        {L"5/3/75", PtBr(), 2075, 3, 5},
        {L"5/3/0026", PtBr(), 26, 3, 5},
        {L"5/3", PtBr(), 2026, 3, 5},
        {L"29/02/2024", PtBr(), 2024, 2, 29},
        {L"3/5/2026", EnUs(), 2026, 3, 5},
        {L"3/5", EnUs(), 2026, 3, 5},
        {L"2026/3/5", ymd, 2026, 3, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.text));
        TDateTime date = -1;
        ASSERT_TRUE(TryStrToDate(c.text, date, c.settings));
        EXPECT_EQ(date, EncodeDate(c.y, c.m, c.d));
    }
}

TEST(DateTimeTest, InvalidDateTextsRaiseNamingTheText) {
    const wchar_t* texts[] = {L"31/02/2026", L"abc", L"5/3/2026x", L"", L"5-3-2026", L"5/3/2026/1",
                              L"5/", L"12345/1/1", L"29/02/2023"};
    for (const wchar_t* text : texts) {
        SCOPED_TRACE(StringToUtf8(text));
        TDateTime date = 7;
        EXPECT_FALSE(TryStrToDate(text, date, PtBr()));
        EXPECT_EQ(date, 7);
    }
    try {
        StrToDate(L"abc", PtBr());
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'abc' is not a valid date");
    }
}

TEST(DateTimeTest, StrToTimeCases) {
    struct Case {
        const wchar_t* text;
        bool ptBr;
        bool valid;
        Word h, n, s;
    } cases[] = {
        {L"14:07", true, true, 14, 7, 0},      {L"14:07:09", true, true, 14, 7, 9},
        {L" 9 ", true, true, 9, 0, 0},         {L"2:07 PM", false, true, 14, 7, 0},
        {L"2:07 pm", false, true, 14, 7, 0},   {L"12:00 AM", false, true, 0, 0, 0},
        {L"12:30 PM", false, true, 12, 30, 0}, {L"AM 11:15", false, true, 11, 15, 0},
        {L"13:00 PM", false, false, 0, 0, 0},  {L"0:10 AM", false, false, 0, 0, 0},
        {L"25:00", true, false, 0, 0, 0},      {L"10:60", true, false, 0, 0, 0},
        {L"10:", true, false, 0, 0, 0},        {L"10:00 xyz", true, false, 0, 0, 0},
        {L"", true, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.text));
        TDateTime time = -1;
        ASSERT_EQ(TryStrToTime(c.text, time, c.ptBr ? PtBr() : EnUs()), c.valid);
        if (c.valid) {
            EXPECT_NEAR(time, EncodeTime(c.h, c.n, c.s, 0), kMsec / 2);
        }
    }
    EXPECT_NEAR(StrToTime(L"14:07:09,045", PtBr()), EncodeTime(14, 7, 9, 45), kMsec / 2);
    try {
        StrToTime(L"25:00", PtBr());
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'25:00' is not a valid time");
    }
}

TEST(DateTimeTest, StrToDateTimeTakesDateTimeOrTimeAlone) {
    EXPECT_NEAR(StrToDateTime(L"05/03/2026 14:07:09", PtBr()), EncodeDate(2026, 3, 5) + EncodeTime(14, 7, 9, 0),
                kMsec / 2);
    EXPECT_EQ(StrToDateTime(L"05/03/2026", PtBr()), EncodeDate(2026, 3, 5));
    EXPECT_NEAR(StrToDateTime(L"3/5/2026 2:07 PM", EnUs()), EncodeDate(2026, 3, 5) + EncodeTime(14, 7, 0, 0),
                kMsec / 2);
    EXPECT_NEAR(StrToDateTime(L"14:07", PtBr()), EncodeTime(14, 7, 0, 0), kMsec / 2);
    TDateTime value;
    EXPECT_FALSE(TryStrToDateTime(L"05/03/2026 25:00", value, PtBr()));
    try {
        StrToDateTime(L"ontem", PtBr());
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'ontem' is not a valid date and time");
    }
}

TEST(ClockTest, InjectedClockDrivesNowDateAndTime) {
    TDateTime fixed = EncodeDate(2026, 3, 5) + EncodeTime(14, 7, 9, 0);
    {
        ScopedClock clock(fixed);
        EXPECT_EQ(Now(), fixed);
        EXPECT_EQ(Date(), EncodeDate(2026, 3, 5));
        EXPECT_NEAR(Time(), EncodeTime(14, 7, 9, 0), 1e-9);
        {
            int calls = 0;
            ScopedClock inner([&] { return ++calls * 1.0; });
            EXPECT_EQ(Now(), 1.0);
            EXPECT_EQ(Now(), 2.0);
        }
        EXPECT_EQ(Now(), fixed);  // the outer clock is back
    }
    EXPECT_LT(std::fabs(Now() - SystemNow()), 1.0 / 24);
    SetClock([] { return 42.5; });
    EXPECT_EQ(Now(), 42.5);
    ResetClock();
    EXPECT_LT(std::fabs(Now() - SystemNow()), 1.0 / 24);
}

TEST(ClockTest, TwoDigitYearsFollowTheClock) {
    ScopedClock clock(EncodeDate(2090, 1, 1));
    EXPECT_EQ(StrToDate(L"1/1/30", PtBr()), EncodeDate(2130, 1, 1));
    EXPECT_EQ(StrToDate(L"1/1/50", PtBr()), EncodeDate(2050, 1, 1));
}
