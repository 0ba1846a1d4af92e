#include "decimal.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

namespace {

void DropTrailingZeros(Decimal& d)
{
    while (d.count > 0 && d.digits[d.count - 1] == '0') d.count--;
    if (d.count == 0) d.exponent = 0;
}

}  // namespace

Decimal ToDecimal(double value, int significant)
{
    Decimal d;
    d.negative = signbit(value) != 0;
    if (value == 0) return d;
    if (significant < 1) significant = 1;
    if (significant > 15) significant = 15;
    // "%.*e" gives "d.ddddde+XX" whatever the locale's decimal point is: only
    // digits and the exponent are read.
    char text[40];
    snprintf(text, sizeof text, "%.*e", significant - 1, fabs(value));
    const char* p = text;
    for (; *p && *p != 'e'; p++) {
        if (*p >= '0' && *p <= '9' && d.count < significant) d.digits[d.count++] = *p;
    }
    d.exponent = (*p == 'e' ? atoi(p + 1) : 0) + 1;
    DropTrailingZeros(d);
    return d;
}

void RoundDecimal(Decimal& d, int keep)
{
    if (keep >= d.count) return;
    if (keep < 0 || (keep == 0 && d.digits[0] < '5')) {
        d.count = 0;
        d.exponent = 0;
        return;
    }
    bool up = d.digits[keep] >= '5';
    d.count = keep;
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
        if (i >= 0) {
            d.digits[i]++;
        } else {
            // All nines (or keep 0): the carry makes a new leading 1.
            d.digits[0] = '1';
            d.count = 1;
            d.exponent++;
        }
    }
    DropTrailingZeros(d);
}

char DigitAt(const Decimal& d, int i)
{
    return i >= 0 && i < d.count ? d.digits[i] : '0';
}

bool IsZero(const Decimal& d)
{
    return d.count == 0;
}
