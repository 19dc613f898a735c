#include "framework/rtl/DateTime.h"

#include <cmath>
#include <string>

#include "framework/rtl/StringUtils.h"

namespace {

constexpr int kDaysPer400Years = 146097;
constexpr int kDaysPer100Years = 36524;
constexpr int kDaysPer4Years = 1461;
constexpr int kDaysPerYear = 365;
// Day numbers (days since 0001-01-01, counting from 1) of the valid years 1..9999.
constexpr Int64 kLastDayNumber = 3652059;

const Word kMonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// A TDateTime split into a day number (1 = 0001-01-01) and milliseconds since midnight.
struct TimeStamp {
    Int64 day = 0;
    int msec = 0;
};

TimeStamp ToTimeStamp(TDateTime value) {
    TimeStamp result;
    if (!std::isfinite(value) || std::fabs(value) > 1e7) return result;  // day 0: outside the calendar
    double whole = std::trunc(value);
    double msec = std::floor(std::fabs(value - whole) * MSecsPerDay + 0.5);
    result.day = static_cast<Int64>(whole) + DateDelta;
    result.msec = static_cast<int>(msec);
    if (result.msec >= MSecsPerDay) {
        // The fraction rounded up to a whole day: that is midnight of the next day away from the epoch.
        result.msec -= MSecsPerDay;
        result.day += value < 0 ? -1 : 1;
    }
    return result;
}

// A date before the epoch counts its time of day away from zero.
TDateTime CombineDateTime(TDateTime date, TDateTime time) { return date < 0 ? date - time : date + time; }

struct DateTimeParts {
    Word year = 0, month = 0, day = 0, dayOfWeek = 0;
    Word hour = 0, min = 0, sec = 0, msec = 0;
};

void DecodeDayNumber(Int64 dayNumber, Word& year, Word& month, Word& day) {
    if (dayNumber < 1 || dayNumber > kLastDayNumber) {
        year = month = day = 0;
        return;
    }
    Int64 t = dayNumber - 1;
    int y = 1;
    y += static_cast<int>(t / kDaysPer400Years) * 400;
    t %= kDaysPer400Years;
    Int64 centuries = t / kDaysPer100Years;
    if (centuries == 4) centuries = 3;  // the last day of a 400-year cycle
    t -= centuries * kDaysPer100Years;
    y += static_cast<int>(centuries) * 100;
    y += static_cast<int>(t / kDaysPer4Years) * 4;
    t %= kDaysPer4Years;
    Int64 years = t / kDaysPerYear;
    if (years == 4) years = 3;  // the last day of a leap year
    t -= years * kDaysPerYear;
    y += static_cast<int>(years);
    const Word* lengths = kMonthDays[IsLeapYear(static_cast<Word>(y)) ? 1 : 0];
    int m = 0;
    while (t >= lengths[m]) t -= lengths[m++];
    year = static_cast<Word>(y);
    month = static_cast<Word>(m + 1);
    day = static_cast<Word>(t + 1);
}

DateTimeParts Decode(TDateTime value) {
    DateTimeParts parts;
    TimeStamp stamp = ToTimeStamp(value);
    DecodeDayNumber(stamp.day, parts.year, parts.month, parts.day);
    if (parts.year != 0) parts.dayOfWeek = static_cast<Word>(stamp.day % 7 + 1);
    parts.hour = static_cast<Word>(stamp.msec / 3600000);
    parts.min = static_cast<Word>(stamp.msec / 60000 % 60);
    parts.sec = static_cast<Word>(stamp.msec / 1000 % 60);
    parts.msec = static_cast<Word>(stamp.msec % 1000);
    return parts;
}

// Format letters are ASCII; other characters are copied as they are.
wchar_t AsciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; }

String ConvertErrorText(const String& text, const wchar_t* what) {
    return L"'" + text + L"' is not a valid " + what;
}

}  // namespace

// ---- Calendar ----

bool IsLeapYear(Word year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

Word DaysInMonth(Word year, Word month) {
    if (month < 1 || month > 12) return 0;
    return kMonthDays[IsLeapYear(year) ? 1 : 0][month - 1];
}

bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date) {
    if (year < 1 || year > 9999 || day < 1 || day > DaysInMonth(year, month)) return false;
    const Word* lengths = kMonthDays[IsLeapYear(year) ? 1 : 0];
    Int64 dayOfYear = day;
    for (int m = 0; m < month - 1; ++m) dayOfYear += lengths[m];
    Int64 y = year - 1;
    date = static_cast<TDateTime>(y * 365 + y / 4 - y / 100 + y / 400 + dayOfYear - DateDelta);
    return true;
}

TDateTime EncodeDate(Word year, Word month, Word day) {
    TDateTime date;
    if (!TryEncodeDate(year, month, day, date)) throw EConvertError(L"Invalid argument to date encode");
    return date;
}

void DecodeDate(TDateTime date, Word& year, Word& month, Word& day) {
    DecodeDayNumber(ToTimeStamp(date).day, year, month, day);
}

bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time) {
    if (hour >= 24 || min >= 60 || sec >= 60 || msec >= 1000) return false;
    time = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / MSecsPerDay;
    return true;
}

TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec) {
    TDateTime time;
    if (!TryEncodeTime(hour, min, sec, msec, time)) throw EConvertError(L"Invalid argument to time encode");
    return time;
}

void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec) {
    DateTimeParts parts = Decode(time);
    hour = parts.hour;
    min = parts.min;
    sec = parts.sec;
    msec = parts.msec;
}

int DayOfWeek(TDateTime date) { return Decode(date).dayOfWeek; }

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time() {
    TDateTime now = Now();
    return std::fabs(now - std::trunc(now));
}

// ---- Formatting ----

namespace {

class DateTimeFormatter {
public:
    DateTimeFormatter(TDateTime value, const TFormatSettings& settings)
        : parts_(Decode(value)), settings_(settings) {}

    String Run(const String& format) {
        Append(format.empty() ? String(L"c") : format, 0);
        return out_;
    }

private:
    // Formats nested through "c", "ddddd", "t"... may themselves nest only this deep.
    static constexpr int kMaxNesting = 2;

    void Append(const String& format, int level) {
        size_t i = 0;
        wchar_t lastLetter = L' ';
        while (i < format.size()) {
            wchar_t c = format[i];
            wchar_t token = AsciiUpper(c);
            bool letter = token >= L'A' && token <= L'Z';
            if (letter) {
                if (token == L'M' && lastLetter == L'H') token = L'N';
                lastLetter = token;
            }
            if (token == L'"' || token == L'\'') {
                size_t end = format.find(c, i + 1);
                if (end == String::npos) end = format.size();
                out_.append(format, i + 1, end - i - 1);
                i = end + 1;
                continue;
            }
            if (token == L'A') {
                i += AppendAmPm(format, i);
                continue;
            }
            size_t count = RunLength(format, i);
            switch (token) {
                case L'Y': AppendYear(count); break;
                case L'M': AppendMonth(count); break;
                case L'D': AppendDay(count, level); break;
                case L'H': AppendHour(format, i + count, count); break;
                case L'N': AppendNumber(parts_.min, count > 2 ? 2 : count); break;
                case L'S': AppendNumber(parts_.sec, count > 2 ? 2 : count); break;
                case L'Z': AppendNumber(parts_.msec, count > 3 ? 3 : count); break;
                case L'T':
                    Nested(count == 1 ? settings_.ShortTimeFormat : settings_.LongTimeFormat, level);
                    break;
                case L'C':
                    Nested(settings_.ShortDateFormat, level);
                    if (parts_.hour != 0 || parts_.min != 0 || parts_.sec != 0) {
                        out_ += L' ';
                        Nested(settings_.LongTimeFormat, level);
                    }
                    break;
                case L'/':
                    out_.append(count, settings_.DateSeparator);
                    break;
                case L':':
                    out_.append(count, settings_.TimeSeparator);
                    break;
                default:
                    out_.append(format, i, count);
                    break;
            }
            i += count;
        }
    }

    static size_t RunLength(const String& format, size_t i) {
        size_t j = i + 1;
        while (j < format.size() && AsciiUpper(format[j]) == AsciiUpper(format[i])) ++j;
        return j - i;
    }

    static bool StartsWithNoCase(const String& format, size_t i, const wchar_t* prefix) {
        for (size_t k = 0; prefix[k]; ++k)
            if (i + k >= format.size() || AsciiUpper(format[i + k]) != prefix[k]) return false;
        return true;
    }

    // Handles every token starting with 'a'; returns how many characters it used.
    size_t AppendAmPm(const String& format, size_t i) {
        bool pm = parts_.hour >= 12;
        if (StartsWithNoCase(format, i, L"AM/PM")) {
            out_.append(format, pm ? i + 3 : i, 2);  // keeps the letter case the format uses
            return 5;
        }
        if (StartsWithNoCase(format, i, L"A/P")) {
            out_ += format[pm ? i + 2 : i];
            return 3;
        }
        if (StartsWithNoCase(format, i, L"AMPM")) {
            out_ += pm ? settings_.TimePMString : settings_.TimeAMString;
            return 4;
        }
        if (StartsWithNoCase(format, i, L"AAAA")) {
            out_ += DayName(settings_.LongDayNames);
            return 4;
        }
        if (StartsWithNoCase(format, i, L"AAA")) {
            out_ += DayName(settings_.ShortDayNames);
            return 3;
        }
        out_ += format[i];
        return 1;
    }

    void Nested(const String& format, int level) {
        if (level < kMaxNesting) Append(format, level + 1);
    }

    void AppendNumber(int value, size_t digits) {
        String text = std::to_wstring(value);
        if (text.size() < digits) out_.append(digits - text.size(), L'0');
        out_ += text;
    }

    String DayName(const String (&names)[7]) const {
        return parts_.dayOfWeek >= 1 ? names[parts_.dayOfWeek - 1] : String();
    }

    String MonthName(const String (&names)[12]) const {
        return parts_.month >= 1 ? names[parts_.month - 1] : String();
    }

    void AppendYear(size_t count) {
        if (count <= 2)
            AppendNumber(parts_.year % 100, 2);
        else
            AppendNumber(parts_.year, 4);
    }

    void AppendMonth(size_t count) {
        if (count <= 2)
            AppendNumber(parts_.month, count);
        else if (count == 3)
            out_ += MonthName(settings_.ShortMonthNames);
        else
            out_ += MonthName(settings_.LongMonthNames);
    }

    void AppendDay(size_t count, int level) {
        switch (count) {
            case 1:
            case 2: AppendNumber(parts_.day, count); break;
            case 3: out_ += DayName(settings_.ShortDayNames); break;
            case 4: out_ += DayName(settings_.LongDayNames); break;
            case 5: Nested(settings_.ShortDateFormat, level); break;
            default: Nested(settings_.LongDateFormat, level); break;
        }
    }

    // The hour is on a 12-hour clock when an am/pm token follows before the next hour token.
    void AppendHour(const String& format, size_t rest, size_t count) {
        bool twelveHour = false;
        wchar_t quote = 0;
        for (size_t i = rest; i < format.size(); ++i) {
            wchar_t c = format[i];
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == L'\'' || c == L'"') {
                quote = c;
            } else if (c == L'a' || c == L'A') {
                twelveHour = StartsWithNoCase(format, i, L"AM/PM") || StartsWithNoCase(format, i, L"A/P") ||
                             StartsWithNoCase(format, i, L"AMPM");
                break;
            } else if (c == L'h' || c == L'H') {
                break;
            }
        }
        int hour = parts_.hour;
        if (twelveHour) {
            if (hour == 0)
                hour = 12;
            else if (hour > 12)
                hour -= 12;
        }
        AppendNumber(hour, count > 2 ? 2 : count);
    }

    DateTimeParts parts_;
    const TFormatSettings& settings_;
    String out_;
};

}  // namespace

String FormatDateTime(const String& format, TDateTime dateTime, const TFormatSettings& settings) {
    return DateTimeFormatter(dateTime, settings).Run(format);
}

String FormatDateTime(const String& format, TDateTime dateTime) {
    return FormatDateTime(format, dateTime, DefaultFormatSettings());
}

String DateToStr(TDateTime date, const TFormatSettings& settings) { return FormatDateTime(L"ddddd", date, settings); }
String DateToStr(TDateTime date) { return DateToStr(date, DefaultFormatSettings()); }
String TimeToStr(TDateTime time, const TFormatSettings& settings) { return FormatDateTime(L"tt", time, settings); }
String TimeToStr(TDateTime time) { return TimeToStr(time, DefaultFormatSettings()); }
String DateTimeToStr(TDateTime dateTime, const TFormatSettings& settings) {
    return FormatDateTime(L"c", dateTime, settings);
}
String DateTimeToStr(TDateTime dateTime) { return DateTimeToStr(dateTime, DefaultFormatSettings()); }

// ---- Parsing ----

namespace {

enum class DateOrder { MDY, DMY, YMD };

DateOrder GetDateOrder(const String& format) {
    for (wchar_t c : format) {
        switch (AsciiUpper(c)) {
            case L'D': return DateOrder::DMY;
            case L'M': return DateOrder::MDY;
            case L'Y': return DateOrder::YMD;
            default: break;
        }
    }
    return DateOrder::MDY;
}

class Scanner {
public:
    explicit Scanner(const String& text) : text_(text) {}

    bool AtEnd() {
        SkipBlanks();
        return pos_ >= text_.size();
    }
    size_t Position() const { return pos_; }
    void Reset(size_t pos) { pos_ = pos; }

    // Up to four digits; digits is how many were read.
    bool Number(int& value, int& digits) {
        SkipBlanks();
        value = 0;
        digits = 0;
        while (pos_ < text_.size() && text_[pos_] >= L'0' && text_[pos_] <= L'9') {
            if (++digits > 4) return false;
            value = value * 10 + (text_[pos_++] - L'0');
        }
        return digits > 0;
    }

    bool Char(wchar_t c) {
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    bool Word(const String& word) {
        SkipBlanks();
        if (word.empty() || text_.size() - pos_ < word.size()) return false;
        if (!AnsiSameText(text_.substr(pos_, word.size()), word)) return false;
        pos_ += word.size();
        return true;
    }

private:
    void SkipBlanks() {
        while (pos_ < text_.size() && text_[pos_] <= L' ') ++pos_;
    }

    const String& text_;
    size_t pos_ = 0;
};

int CurrentYear() {
    Word year, month, day;
    DecodeDate(Now(), year, month, day);
    return year;
}

bool ScanDate(Scanner& scan, TDateTime& date, const TFormatSettings& settings) {
    int n1, n2, n3, l1, l2, l3 = 0;
    if (!scan.Number(n1, l1) || !scan.Char(settings.DateSeparator) || !scan.Number(n2, l2)) return false;
    bool hasYear = false;
    size_t beforeThird = scan.Position();
    if (scan.Char(settings.DateSeparator)) {
        if (!scan.Number(n3, l3)) return false;
        hasYear = true;
    } else {
        scan.Reset(beforeThird);
    }
    DateOrder order = GetDateOrder(settings.ShortDateFormat);
    int year, month, day, yearDigits;
    if (!hasYear) {
        year = CurrentYear();
        yearDigits = 4;
        if (order == DateOrder::DMY) {
            day = n1;
            month = n2;
        } else {
            month = n1;
            day = n2;
        }
    } else {
        switch (order) {
            case DateOrder::MDY: month = n1; day = n2; year = n3; yearDigits = l3; break;
            case DateOrder::DMY: day = n1; month = n2; year = n3; yearDigits = l3; break;
            default: year = n1; yearDigits = l1; month = n2; day = n3; break;
        }
        if (year <= 99 && yearDigits <= 2) {
            int window = settings.TwoDigitYearCenturyWindow;
            int centuryBase = CurrentYear() - window;
            year += centuryBase / 100 * 100;
            if (window > 0 && year < centuryBase) year += 100;
        }
    }
    return TryEncodeDate(static_cast<::Word>(year), static_cast<::Word>(month), static_cast<::Word>(day), date);
}

bool ScanTime(Scanner& scan, TDateTime& time, const TFormatSettings& settings) {
    auto scanMarker = [&](int& marker) {
        if (scan.Word(settings.TimeAMString) || scan.Word(L"AM"))
            marker = 0;
        else if (scan.Word(settings.TimePMString) || scan.Word(L"PM"))
            marker = 1;
    };
    int marker = -1;
    scanMarker(marker);
    int hour, min = 0, sec = 0, msec = 0, digits;
    if (!scan.Number(hour, digits)) return false;
    if (scan.Char(settings.TimeSeparator)) {
        if (!scan.Number(min, digits)) return false;
        if (scan.Char(settings.TimeSeparator)) {
            if (!scan.Number(sec, digits)) return false;
            if (scan.Char(settings.DecimalSeparator) && !scan.Number(msec, digits)) return false;
        }
    }
    if (marker < 0) scanMarker(marker);
    if (marker >= 0) {
        if (hour == 0 || hour > 12) return false;
        if (hour == 12) hour = 0;
        if (marker == 1) hour += 12;
    }
    return TryEncodeTime(static_cast<Word>(hour), static_cast<Word>(min), static_cast<Word>(sec),
                         static_cast<Word>(msec), time);
}

}  // namespace

bool TryStrToDate(const String& text, TDateTime& date, const TFormatSettings& settings) {
    Scanner scan(text);
    TDateTime value;
    if (!ScanDate(scan, value, settings) || !scan.AtEnd()) return false;
    date = value;
    return true;
}

bool TryStrToDate(const String& text, TDateTime& date) { return TryStrToDate(text, date, DefaultFormatSettings()); }

TDateTime StrToDate(const String& text, const TFormatSettings& settings) {
    TDateTime date;
    if (!TryStrToDate(text, date, settings)) throw EConvertError(ConvertErrorText(text, L"date"));
    return date;
}

TDateTime StrToDate(const String& text) { return StrToDate(text, DefaultFormatSettings()); }

bool TryStrToTime(const String& text, TDateTime& time, const TFormatSettings& settings) {
    Scanner scan(text);
    TDateTime value;
    if (!ScanTime(scan, value, settings) || !scan.AtEnd()) return false;
    time = value;
    return true;
}

bool TryStrToTime(const String& text, TDateTime& time) { return TryStrToTime(text, time, DefaultFormatSettings()); }

TDateTime StrToTime(const String& text, const TFormatSettings& settings) {
    TDateTime time;
    if (!TryStrToTime(text, time, settings)) throw EConvertError(ConvertErrorText(text, L"time"));
    return time;
}

TDateTime StrToTime(const String& text) { return StrToTime(text, DefaultFormatSettings()); }

bool TryStrToDateTime(const String& text, TDateTime& dateTime, const TFormatSettings& settings) {
    Scanner scan(text);
    TDateTime date, time = 0;
    if (ScanDate(scan, date, settings) && (scan.AtEnd() || (ScanTime(scan, time, settings) && scan.AtEnd()))) {
        dateTime = CombineDateTime(date, time);
        return true;
    }
    return TryStrToTime(text, dateTime, settings);
}

bool TryStrToDateTime(const String& text, TDateTime& dateTime) {
    return TryStrToDateTime(text, dateTime, DefaultFormatSettings());
}

TDateTime StrToDateTime(const String& text, const TFormatSettings& settings) {
    TDateTime dateTime;
    if (!TryStrToDateTime(text, dateTime, settings)) throw EConvertError(ConvertErrorText(text, L"date and time"));
    return dateTime;
}

TDateTime StrToDateTime(const String& text) { return StrToDateTime(text, DefaultFormatSettings()); }
