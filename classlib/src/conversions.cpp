// Integer and floating-point conversions of sysutils.
#include <errno.h>
#include <locale.h>
#include <math.h>
#include <stdlib.h>

#include "exceptions.h"
#include "sysutils.h"

AnsiString IntToStr(int value)
{
    return AnsiString(value);
}

AnsiString IntToStr(unsigned value)
{
    return AnsiString(value);
}

AnsiString IntToStr(long value)
{
    AnsiString text;
    return text.sprintf("%ld", value);
}

AnsiString IntToStr(unsigned long value)
{
    AnsiString text;
    return text.sprintf("%lu", value);
}

AnsiString IntToStr(long long value)
{
    AnsiString text;
    return text.sprintf("%lld", value);
}

AnsiString IntToHex(int value, int digits)
{
    if (digits < 0) digits = 0;
    if (digits > 32) digits = 32;
    AnsiString text;
    return text.sprintf("%0*X", digits, static_cast<unsigned>(value));
}

int StrToInt(const AnsiString& s)
{
    return s.ToInt();
}

int StrToIntDef(const AnsiString& s, int defaultValue)
{
    return s.ToIntDef(defaultValue);
}

bool TryStrToInt(const AnsiString& s, int& value)
{
    // Two distinct defaults tell a failure from a text that means the default.
    int a = s.ToIntDef(0), b = s.ToIntDef(1);
    if (a != b) return false;
    value = a;
    return true;
}

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Checks the shape "[blanks][sign]digits[sep digits][e[sign]digits][blanks]"
// and copies it with the C locale's decimal point, which strtod expects.
bool NormaliseFloat(const AnsiString& s, AnsiString& out)
{
    const char* p = s.c_str();
    const char* end = p + s.Length();
    while (p < end && *p == ' ') p++;
    while (end > p && end[-1] == ' ') end--;
    if (p < end && (*p == '+' || *p == '-')) out += *p++;
    int mantissaDigits = 0;
    while (p < end && IsDigit(*p)) out += *p++, mantissaDigits++;
    if (p < end && *p == DecimalSeparator) {
        p++;
        out += localeconv()->decimal_point[0];
        while (p < end && IsDigit(*p)) out += *p++, mantissaDigits++;
    }
    if (mantissaDigits == 0) return false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        out += *p++;
        if (p < end && (*p == '+' || *p == '-')) out += *p++;
        if (p == end || !IsDigit(*p)) return false;
        while (p < end && IsDigit(*p)) out += *p++;
    }
    return p == end;
}

}  // namespace

bool TryStrToFloat(const AnsiString& s, double& value)
{
    AnsiString normal;
    if (!NormaliseFloat(s, normal)) return false;
    errno = 0;
    double result = strtod(normal.c_str(), nullptr);
    if (errno == ERANGE && isinf(result)) return false;
    value = result;
    return true;
}

double StrToFloat(const AnsiString& s)
{
    double value = 0;
    if (!TryStrToFloat(s, value)) throw EConvertError("'" + s + "' is not a valid floating point value");
    return value;
}

double StrToFloatDef(const AnsiString& s, double defaultValue)
{
    double value = 0;
    return TryStrToFloat(s, value) ? value : defaultValue;
}

AnsiString Format(const char* format, ...)
{
    AnsiString text;
    va_list args;
    va_start(args, format);
    try {
        text.vprintf(format, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
    return text;
}

int RoundBankers(double value)
{
    if (!(value > -2147483648.5 && value < 2147483647.5)) throw ERangeError();
    double whole = floor(value);
    double rest = value - whole;
    if (rest > 0.5 || (rest == 0.5 && fmod(whole, 2.0) != 0)) whole += 1;
    return static_cast<int>(whole);
}
