// Text in system fonts, drawn into a Buffer in one exact colour.
#ifndef PIXMILL_SYSTEXT_H
#define PIXMILL_SYSTEXT_H

#include "buffer.h"
#include "winapi.h"

// Width widened by the overhangs of the first character's left side and the
// last character's right side; (0, 0) for an empty string.
Pair<int> SystemTextExtent(HFONT font, const char* s, int length);
// The top-left of the extent box at pos, clipped to b; only glyph pixels
// change, to exactly colour.
void SystemTextOut(Buffer& b, HFONT font, Pair<int> pos, const char* s, int length, unsigned long colour);

#endif
