// The status-bar greeting of the main window: a greeting for the time of day and today's date.
#pragma once

#include "framework/rtl/FormatSettings.h"
#include "framework/rtl/System.h"

// "  Bom dia! Hoje é " before noon, "  Boa tarde! Hoje é " until 18 h, "  Boa noite! Hoje é "
// after; chosen from the numeric hour so that any time format of the locale gives a greeting.
String GreetingForHour(int hour);

// "quinta-feira, 10 de dezembro de  2026": day and month names of the settings, two-digit
// day, and two spaces before the year.
String GreetingDate(TDateTime date, const TFormatSettings& settings);

// The whole panel text for the moment now.
String GreetingText(TDateTime now, const TFormatSettings& settings);
