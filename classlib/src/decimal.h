// A double as decimal digits, for the number formatting of sysutils.
//
// value = 0.d1 d2 d3 ... x 10^exponent; zero has no digits. The digits come
// from the C library's correctly rounded conversion to at most 15
// significant digits, then RoundDecimal rounds half away from zero on those
// decimal digits, so 1.005 (stored as 1.00499999...) shows as "1.01", as a
// user reading "1.005" expects.
#ifndef CLASSLIB_DECIMAL_H
#define CLASSLIB_DECIMAL_H

struct Decimal {
    bool negative = false;
    int exponent = 0;
    int count = 0;
    char digits[20] = {};
};

// significant is clamped to 1..15; value must be finite.
Decimal ToDecimal(double value, int significant);
// Keeps the first keep digits (none when keep <= 0), rounding on the next.
void RoundDecimal(Decimal& d, int keep);
// The digit at position i ('0' outside the stored digits).
char DigitAt(const Decimal& d, int i);
bool IsZero(const Decimal& d);

#endif
