// Which pixels take no part in palette creation and quantisation.
#ifndef PIXMILL_QUANTIZE_EXCLUDE_H
#define PIXMILL_QUANTIZE_EXCLUDE_H

const unsigned long NoTransparency = 0xFFFFFFFF;

// Below this, the transparent argument is a colour that owns entry 0.
inline bool IsTransparentColour(unsigned long t)
{
    return t < 0x1000000;
}

// The transparent colour (whatever the pixel's flags), or, for a flag mask,
// a pixel with none of its bits.
inline bool Excluded(unsigned long p, unsigned long t)
{
    if (t == NoTransparency) return false;
    if (IsTransparentColour(t)) return (p & 0xFFFFFF) == t;
    return (p & t) == 0;
}

#endif
