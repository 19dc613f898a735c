// Calendar arithmetic, formatting and parsing of TDateTime (days since 1899-12-30; the fraction is
// the time of day, taken as its absolute value for dates before the epoch).
#pragma once

#include "framework/rtl/Clock.h"
#include "framework/rtl/FormatSettings.h"
#include "framework/rtl/System.h"

constexpr int HoursPerDay = 24;
constexpr int MinsPerDay = HoursPerDay * 60;
constexpr int SecsPerDay = MinsPerDay * 60;
constexpr int MSecsPerDay = SecsPerDay * 1000;
// Day number of 0001-01-01 relative to the TDateTime epoch.
constexpr int DateDelta = 693594;

bool IsLeapYear(Word year);
Word DaysInMonth(Word year, Word month);  // 0 for a month outside 1..12

bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date);
TDateTime EncodeDate(Word year, Word month, Word day);  // EConvertError on an invalid date
void DecodeDate(TDateTime date, Word& year, Word& month, Word& day);

bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time);
TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec);  // EConvertError on an invalid time
void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec);

int DayOfWeek(TDateTime date);  // 1 = Sunday .. 7 = Saturday

TDateTime Date();  // today at midnight, from Now()
TDateTime Time();  // the time part of Now()

String DateToStr(TDateTime date);
String DateToStr(TDateTime date, const TFormatSettings& settings);
String TimeToStr(TDateTime time);
String TimeToStr(TDateTime time, const TFormatSettings& settings);
// Date and long time; the time is left out when it is exactly midnight.
String DateTimeToStr(TDateTime dateTime);
String DateTimeToStr(TDateTime dateTime, const TFormatSettings& settings);

String FormatDateTime(const String& format, TDateTime dateTime);
String FormatDateTime(const String& format, TDateTime dateTime, const TFormatSettings& settings);

// Parsing follows the element order of ShortDateFormat and the separators of the settings.
TDateTime StrToDate(const String& text);
TDateTime StrToDate(const String& text, const TFormatSettings& settings);
bool TryStrToDate(const String& text, TDateTime& date);
bool TryStrToDate(const String& text, TDateTime& date, const TFormatSettings& settings);

TDateTime StrToTime(const String& text);
TDateTime StrToTime(const String& text, const TFormatSettings& settings);
bool TryStrToTime(const String& text, TDateTime& time);
bool TryStrToTime(const String& text, TDateTime& time, const TFormatSettings& settings);

TDateTime StrToDateTime(const String& text);
TDateTime StrToDateTime(const String& text, const TFormatSettings& settings);
bool TryStrToDateTime(const String& text, TDateTime& dateTime);
bool TryStrToDateTime(const String& text, TDateTime& dateTime, const TFormatSettings& settings);
