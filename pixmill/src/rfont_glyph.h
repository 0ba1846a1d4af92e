// Reading a prepared raster face: widths by character code, bitmaps by glyph
// index, and the kerned distance of a pair.
#ifndef PIXMILL_RFONT_GLYPH_H
#define PIXMILL_RFONT_GLYPH_H

#include "rfont.h"

inline bool InRange(const RFontEntry& e, int ch)
{
    return ch >= e.first && ch <= e.last;
}

inline int CharWidth(const RFontEntry& e, int ch)
{
    return InRange(e, ch) ? e.widths[ch - e.first] : 0;
}

// Null when the character has no glyph.
const unsigned char* GlyphBits(const RFontEntry& e, int ch);

inline bool Ink(const unsigned char* row, int column)
{
    return row[column >> 3] >> (column & 7) & 1;
}

// How far right of left's origin right must start so that no row of right
// comes nearer to left than left's ink in that row or the rows just above
// and below; never less than 0 nor than max(carry, width(left) -
// width(right) - spacing). carry is how far the glyph before left reaches
// past left's origin (0 when that pair was not kerned).
int KernedDistance(const RFontEntry& e, int left, int right, int carry, int spacing);

#endif
