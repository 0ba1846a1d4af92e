// TDateTime arithmetic and FormatDateTime.
//
// A TDateTime counts days from 1899-12-30; the fraction is the time of day.
// For negative values (before the epoch) the whole part is the day and the
// fraction, taken positive, is still the time, as the class library does.
#include <math.h>

#include "exceptions.h"
#include "sysutils.h"

namespace {

const int kMsPerDay = 86400000;
const int kEpochFromCivil = 25569;  // days from 1899-12-30 to 1970-01-01

const char* const kShortDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kLongDays[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kShortMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonths[12] = {"January", "February", "March", "April", "May", "June",
                                     "July", "August", "September", "October", "November", "December"};

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back (the
// era-based method: 400-year eras of 146097 days).
int DaysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    int era = (y >= 0 ? y : y - 399) / 400;
    int yoe = y - era * 400;
    int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int z, int& y, int& m, int& d)
{
    z += 719468;
    int era = (z >= 0 ? z : z - 146096) / 146097;
    int doe = z - era * 146097;
    int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = yoe + era * 400 + (m <= 2);
}

// Year 1 to 9999, as the class library allows.
const double kMinDateTime = -693593.0;
const double kMaxDateTime = 2958466.0;

void CheckRange(TDateTime value)
{
    if (!(value >= kMinDateTime && value < kMaxDateTime)) {
        throw EConvertError("Invalid argument to date encode");
    }
}

// The day number and the milliseconds into it, rounded once for both so
// that 23:59:59.9996 becomes midnight of the next day, not "24:00".
void SplitDateTime(TDateTime value, int& day, int& ms)
{
    CheckRange(value);
    double whole = trunc(value);
    day = static_cast<int>(whole);
    ms = static_cast<int>(floor(fabs(value - whole) * kMsPerDay + 0.5));
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        day += value < 0 ? -1 : 1;
    }
}

void TimeFromMs(int ms, int& hour, int& min, int& sec, int& msec);

}  // namespace

TDateTime EncodeDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
        throw EConvertError("Invalid argument to date encode");
    }
    return DaysFromCivil(year, month, day) + kEpochFromCivil;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999) {
        throw EConvertError("Invalid argument to time encode");
    }
    return (((hour * 60 + min) * 60 + sec) * 1000 + msec) / static_cast<double>(kMsPerDay);
}

void DecodeDate(TDateTime date, int& year, int& month, int& day)
{
    int days = 0, ms = 0;
    SplitDateTime(date, days, ms);
    CivilFromDays(days - kEpochFromCivil, year, month, day);
}

void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec)
{
    int days = 0, ms = 0;
    SplitDateTime(time, days, ms);
    TimeFromMs(ms, hour, min, sec, msec);
}

namespace {

void TimeFromMs(int ms, int& hour, int& min, int& sec, int& msec)
{
    msec = ms % 1000;
    sec = ms / 1000 % 60;
    min = ms / 60000 % 60;
    hour = ms / 3600000;
}

}  // namespace

int DayOfWeek(TDateTime date)
{
    int days = 0, ms = 0;
    SplitDateTime(date, days, ms);
    // 1899-12-30 was a Saturday (7).
    int weekday = (days - 1) % 7;
    if (weekday < 0) weekday += 7;
    return weekday + 1;
}

namespace {

struct DateParts {
    int year, month, day, weekday, hour, min, sec, msec;
    bool hasTime;
};

// How many times c (case ignored) repeats from position i.
int RunLength(const AnsiString& format, int i, char c)
{
    int n = 0;
    while (i + n <= format.Length() && (format[i + n] | 0x20) == c) n++;
    return n;
}

bool StartsWithIC(const AnsiString& format, int i, const char* word)
{
    AnsiString part = format.SubString(i, AnsiString(word).Length());
    return part.AnsiCompareIC(word) == 0;
}

// A 12-hour clock when an AM/PM marker follows the hour.
bool HasAmPmAfter(const AnsiString& format, int i)
{
    for (; i <= format.Length(); i++) {
        if (StartsWithIC(format, i, "am/pm") || StartsWithIC(format, i, "a/p") || StartsWithIC(format, i, "ampm")) {
            return true;
        }
    }
    return false;
}

AnsiString TwoDigits(int value, bool padded)
{
    AnsiString text;
    return padded ? text.sprintf("%02d", value) : text.sprintf("%d", value);
}

void FormatParts(AnsiString& out, const AnsiString& format, const DateParts& p, int depth);

// Upper-case marker text gives upper-case output ("AM/PM" -> "PM").
int AppendAmPm(AnsiString& out, const AnsiString& format, int i, const DateParts& p)
{
    bool pm = p.hour >= 12;
    if (StartsWithIC(format, i, "am/pm")) {
        AnsiString text = pm ? "pm" : "am";
        out += format[i] == 'A' ? text.UpperCase() : text;
        return 5;
    }
    if (StartsWithIC(format, i, "a/p")) {
        out += pm ? (format[i] == 'A' ? 'P' : 'p') : (format[i] == 'A' ? 'A' : 'a');
        return 3;
    }
    if (StartsWithIC(format, i, "ampm")) {
        out += pm ? TimePMString : TimeAMString;
        return 4;
    }
    out += format[i];
    return 1;
}

// One token at position i; returns its length.
int AppendToken(AnsiString& out, const AnsiString& format, int i, const DateParts& p, bool& afterHour, int depth)
{
    char c = format[i] | 0x20;
    int run = 0;
    bool wasAfterHour = afterHour;
    afterHour = false;
    switch (c) {
    case 'y':
        run = RunLength(format, i, 'y');
        out += run <= 2 ? TwoDigits(p.year % 100, true) : AnsiString().sprintf("%04d", p.year);
        return run;
    case 'm':
        run = RunLength(format, i, 'm');
        if (run > 4) run = 4;
        if (wasAfterHour && run <= 2) {
            out += TwoDigits(p.min, run == 2);
        } else if (run <= 2) {
            out += TwoDigits(p.month, run == 2);
        } else {
            out += (run == 3 ? kShortMonths : kLongMonths)[p.month - 1];
        }
        return run;
    case 'd':
        run = RunLength(format, i, 'd');
        if (run > 6) run = 6;
        if (run <= 2) out += TwoDigits(p.day, run == 2);
        if (run == 3) out += kShortDays[p.weekday];
        if (run == 4) out += kLongDays[p.weekday];
        if (run == 5) FormatParts(out, ShortDateFormat, p, depth + 1);
        if (run == 6) FormatParts(out, LongDateFormat, p, depth + 1);
        return run;
    case 'h': {
        run = RunLength(format, i, 'h') >= 2 ? 2 : 1;
        int hour = p.hour;
        if (HasAmPmAfter(format, i + run)) hour = hour % 12 == 0 ? 12 : hour % 12;
        out += TwoDigits(hour, run == 2);
        afterHour = true;
        return run;
    }
    case 'n':
        run = RunLength(format, i, 'n') >= 2 ? 2 : 1;
        out += TwoDigits(p.min, run == 2);
        return run;
    case 's':
        run = RunLength(format, i, 's') >= 2 ? 2 : 1;
        out += TwoDigits(p.sec, run == 2);
        return run;
    case 'z':
        run = RunLength(format, i, 'z') >= 3 ? 3 : 1;
        out += run == 3 ? AnsiString().sprintf("%03d", p.msec) : AnsiString(p.msec);
        return run;
    case 't':
        run = RunLength(format, i, 't') >= 2 ? 2 : 1;
        FormatParts(out, run == 2 ? LongTimeFormat : ShortTimeFormat, p, depth + 1);
        return run;
    case 'c':
        FormatParts(out, ShortDateFormat, p, depth + 1);
        if (p.hasTime) {
            out += ' ';
            FormatParts(out, LongTimeFormat, p, depth + 1);
        }
        return 1;
    case 'a':
        return AppendAmPm(out, format, i, p);
    default:
        break;
    }
    // Separators and literal text keep "hh:mm" meaning minutes.
    afterHour = wasAfterHour;
    char raw = format[i];
    if (raw == '/') {
        out += DateSeparator;
    } else if (raw == ':') {
        out += TimeSeparator;
    } else if (raw == '"' || raw == '\'') {
        int end = i + 1;
        while (end <= format.Length() && format[end] != raw) end++;
        out += format.SubString(i + 1, end - i - 1);
        return end - i + 1;
    } else {
        out += raw;
    }
    return 1;
}

// depth stops a settings format that names itself ("ddddd" inside
// ShortDateFormat) from recursing for ever.
void FormatParts(AnsiString& out, const AnsiString& format, const DateParts& p, int depth)
{
    if (depth > 2) return;
    bool afterHour = false;
    for (int i = 1; i <= format.Length();) {
        i += AppendToken(out, format, i, p, afterHour, depth);
    }
}

}  // namespace

AnsiString FormatDateTime(const AnsiString& format, TDateTime value)
{
    DateParts p = {};
    int days = 0, ms = 0;
    SplitDateTime(value, days, ms);
    CivilFromDays(days - kEpochFromCivil, p.year, p.month, p.day);
    p.weekday = DayOfWeek(days) - 1;
    TimeFromMs(ms, p.hour, p.min, p.sec, p.msec);
    p.hasTime = ms != 0;
    AnsiString out;
    FormatParts(out, format.IsEmpty() ? AnsiString("c") : format, p, 0);
    return out;
}
