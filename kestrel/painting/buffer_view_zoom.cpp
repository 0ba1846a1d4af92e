#include "buffer_view_zoom.h"

static unsigned long Gcd(unsigned long a, unsigned long b)
{
    while (b) {
        unsigned long t = a % b;
        a = b;
        b = t;
    }
    return a;
}

unsigned long NormaliseZoom(unsigned long code)
{
    unsigned long num = code & 0xFFFF;
    long high = static_cast<short>(code >> 16);
    unsigned long den = static_cast<unsigned long>(high < 0 ? -high : high);
    if (den != 0) {
        unsigned long g = Gcd(num, den);
        num /= g;
        den /= g;
    }
    return num + (den == 1 ? 0 : den) * 65536;
}

ViewZoom ZoomFactors(unsigned long code)
{
    unsigned long n = code & 0xFFFF;
    unsigned long m = code >> 16;
    if (n == 0)
        n = 1;
    if (m == 0)
        m = 1;
    // An unreduced code (never stored by the view) must still paint 1:1 as 1:1.
    unsigned long g = Gcd(n, m);
    return ViewZoom{static_cast<int>(n / g), static_cast<int>(m / g)};
}
