// FloatToStrF, FloatToStr and FormatFloat over decimal digit strings.
#include <math.h>

#include "decimal.h"
#include "sysutils.h"

namespace {

const int kMaxDecimals = 18;

int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

AnsiString NonFinite(double value)
{
    if (isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

// The integer part (at least minDigits digits, thousands separated when
// asked) and then up to `decimals` fraction digits, of which the ones past
// minDecimals are dropped when they are trailing zeros.
AnsiString FixedText(const Decimal& d, int minDigits, int minDecimals, int decimals, bool thousands)
{
    AnsiString text;
    int intDigits = d.exponent > minDigits ? d.exponent : minDigits;
    for (int i = 0; i < intDigits; i++) {
        int position = d.exponent - intDigits + i;
        if (thousands && i > 0 && (intDigits - i) % 3 == 0) text += ThousandSeparator;
        text += DigitAt(d, position);
    }
    AnsiString fraction;
    for (int i = 0; i < decimals; i++) fraction += DigitAt(d, d.exponent + i);
    int keep = fraction.Length();
    while (keep > minDecimals && fraction[keep] == '0') keep--;
    if (keep > 0) {
        text += DecimalSeparator;
        text += fraction.SubString(1, keep);
    }
    return text;
}

// "E+05" style: the sign always when alwaysSign, else only when negative.
AnsiString ExponentText(int exponent, int minDigits, bool alwaysSign)
{
    AnsiString text("E");
    if (exponent < 0) {
        text += '-';
    } else if (alwaysSign) {
        text += '+';
    }
    AnsiString number(exponent < 0 ? -exponent : exponent);
    for (int i = number.Length(); i < minDigits; i++) text += '0';
    return text + number;
}

// d.ddd with `decimals` digits after the point (trailing zeros past
// minDecimals dropped), then the exponent.
AnsiString ScientificText(Decimal d, int minDecimals, int decimals, int expDigits, bool alwaysSign)
{
    RoundDecimal(d, 1 + decimals);
    int exponent = IsZero(d) ? 0 : d.exponent - 1;
    d.exponent = 1;
    return FixedText(d, 1, minDecimals, decimals, false) + ExponentText(exponent, expDigits, alwaysSign);
}

AnsiString WithSign(const Decimal& d, const AnsiString& text)
{
    return d.negative && !IsZero(d) ? "-" + text : text;
}

}  // namespace

AnsiString FloatToStrF(double value, TFloatFormat format, int precision, int digits)
{
    if (!isfinite(value)) return NonFinite(value);
    precision = Clamp(precision, 1, 15);
    // Rounded twice on purpose: the C library rounds exact binary ties to
    // even, the class library rounds the decimal digits half away from zero.
    Decimal d = ToDecimal(value, 15);
    RoundDecimal(d, precision);
    switch (format) {
    case ffExponent:
        return WithSign(d, ScientificText(d, precision - 1, precision - 1, Clamp(digits, 0, 4), true));
    case ffFixed:
    case ffNumber:
        if (d.exponent > precision) {
            return WithSign(d, ScientificText(d, 0, precision - 1, 0, false));
        }
        digits = Clamp(digits, 0, kMaxDecimals);
        RoundDecimal(d, d.exponent + digits);
        return WithSign(d, FixedText(d, 1, digits, digits, format == ffNumber));
    case ffGeneral:
    default:
        if (d.exponent > precision || (!IsZero(d) && d.exponent < -4)) {
            return WithSign(d, ScientificText(d, 0, precision - 1, Clamp(digits, 0, 4), false));
        }
        return WithSign(d, FixedText(d, 1, 0, d.count > d.exponent ? d.count - d.exponent : 0, false));
    }
}

AnsiString FloatToStr(double value)
{
    return FloatToStrF(value, ffGeneral, 15, 0);
}

namespace {

// One section of a FormatFloat pattern, read into its parts.
struct Pattern {
    AnsiString prefix, suffix;
    int intZeros = 0;       // '0' before the point: least integer digits
    int fracZeros = 0;      // '0' after the point: least decimals
    int fracDigits = 0;     // '0' and '#' after the point: most decimals
    bool thousands = false;
    bool scientific = false;
    bool expAlwaysSign = false;
    int expDigits = 0;
    bool hasDigits = false;
};

// Splits on ';' outside quotes.
int SplitSections(const AnsiString& format, AnsiString sections[3])
{
    int n = 0;
    char quote = 0;
    for (int i = 1; i <= format.Length(); i++) {
        char c = format[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            if (++n == 3) break;
            continue;
        }
        sections[n] += c;
    }
    return n + 1 > 3 ? 3 : n + 1;
}

Pattern ParsePattern(const AnsiString& section)
{
    Pattern p;
    bool afterPoint = false;
    int length = section.Length();
    for (int i = 1; i <= length; i++) {
        char c = section[i];
        AnsiString& literal = p.hasDigits ? p.suffix : p.prefix;
        if (c == '"' || c == '\'') {
            int end = i + 1;
            while (end <= length && section[end] != c) end++;
            literal += section.SubString(i + 1, end - i - 1);
            i = end;
        } else if (c == '0' || c == '#') {
            p.hasDigits = true;
            if (afterPoint) {
                p.fracDigits++;
                if (c == '0') p.fracZeros = p.fracDigits;
            } else if (c == '0') {
                p.intZeros++;
            }
        } else if (c == '.' && !afterPoint) {
            afterPoint = true;
            p.hasDigits = true;
        } else if (c == ',') {
            p.thousands = true;
        } else if ((c == 'E' || c == 'e') && i < length && (section[i + 1] == '+' || section[i + 1] == '-')) {
            p.scientific = true;
            p.expAlwaysSign = section[i + 1] == '+';
            i++;
            while (i < length && section[i + 1] == '0') {
                p.expDigits++;
                i++;
            }
        } else {
            literal += c;
        }
    }
    return p;
}

AnsiString ApplyPattern(const Pattern& p, Decimal d, bool showMinus)
{
    AnsiString number;
    if (p.scientific) {
        number = ScientificText(d, p.fracZeros, p.fracDigits, p.expDigits, p.expAlwaysSign);
    } else {
        RoundDecimal(d, d.exponent + p.fracDigits);
        number = FixedText(d, p.intZeros, p.fracZeros, p.fracDigits, p.thousands);
    }
    bool minus = showMinus && d.negative && !IsZero(d);
    return (minus ? "-" : "") + p.prefix + number + p.suffix;
}

}  // namespace

AnsiString FormatFloat(const AnsiString& format, double value)
{
    if (!isfinite(value)) return NonFinite(value);
    AnsiString sections[3];
    int count = format.IsEmpty() ? 0 : SplitSections(format, sections);
    if (count == 0) return FloatToStr(value);
    Decimal d = ToDecimal(value, 15);
    // The zero section applies to what rounds to zero under the first one.
    Pattern first = ParsePattern(sections[0]);
    Decimal rounded = d;
    if (!first.scientific) RoundDecimal(rounded, rounded.exponent + first.fracDigits);
    if (count == 3 && IsZero(rounded) && !sections[2].IsEmpty()) {
        return ApplyPattern(ParsePattern(sections[2]), d, false);
    }
    if (d.negative && !IsZero(rounded) && count >= 2 && !sections[1].IsEmpty()) {
        return ApplyPattern(ParsePattern(sections[1]), d, false);
    }
    return ApplyPattern(first, d, true);
}
