#include "app/Greeting.h"

#include "framework/rtl/DateTime.h"

String GreetingForHour(int hour) {
    if (hour < 12) return L"  Bom dia! Hoje é ";
    if (hour < 18) return L"  Boa tarde! Hoje é ";
    return L"  Boa noite! Hoje é ";
}

String GreetingDate(TDateTime date, const TFormatSettings& settings) {
    Word year = 0, month = 0, day = 0;
    DecodeDate(date, year, month, day);
    String dd = (day < 10 ? L"0" : L"") + std::to_wstring(day);
    return settings.LongDayNames[DayOfWeek(date) - 1] + L", " + dd + L" de " +
           settings.LongMonthNames[month - 1] + L" de  " + std::to_wstring(year);
}

String GreetingText(TDateTime now, const TFormatSettings& settings) {
    Word hour = 0, min = 0, sec = 0, msec = 0;
    DecodeTime(now, hour, min, sec, msec);
    return GreetingForHour(hour) + GreetingDate(now, settings);
}
