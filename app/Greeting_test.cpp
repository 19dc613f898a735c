#include "app/Greeting.h"

#include <gtest/gtest.h>

#include "framework/rtl/Clock.h"
#include "framework/rtl/DateTime.h"

TEST(Greeting, ChosenFromTheHourAtTheBoundaries) {
    const TFormatSettings br = TFormatSettings::FromLocale(0x0416);
    struct Case {
        Word h, m, s;
        const wchar_t* greeting;
    };
    const Case cases[] = {
        {0, 0, 0, L"  Bom dia! Hoje é "},     {11, 59, 59, L"  Bom dia! Hoje é "},
        {12, 0, 0, L"  Boa tarde! Hoje é "},  {17, 59, 59, L"  Boa tarde! Hoje é "},
        {18, 0, 0, L"  Boa noite! Hoje é "},  {23, 59, 59, L"  Boa noite! Hoje é "},
    };
    for (const Case& c : cases) {
        ScopedClock clock(EncodeDate(2026, 12, 10) + EncodeTime(c.h, c.m, c.s, 0));
        EXPECT_EQ(GreetingText(Now(), br), String(c.greeting) + L"quinta-feira, 10 de dezembro de  2026")
            << c.h << ":" << c.m << ":" << c.s;
    }
}

TEST(Greeting, DayIsTwoDigitsAndTheYearFollowsTwoSpaces) {
    const TFormatSettings br = TFormatSettings::FromLocale(0x0416);
    EXPECT_EQ(GreetingDate(EncodeDate(1985, 1, 1), br), L"terça-feira, 01 de janeiro de  1985");
    EXPECT_EQ(GreetingDate(EncodeDate(2009, 5, 24), br), L"domingo, 24 de maio de  2009");
}

TEST(Greeting, NamesComeFromTheLocale) {
    const TFormatSettings en = TFormatSettings::FromLocale(0x0409);
    EXPECT_EQ(GreetingDate(EncodeDate(2026, 3, 7), en), L"Saturday, 07 de March de  2026");
}
