// Palette creation and quantisation.
//
// A palette is n entries of R, G, B bytes (at most 256). The transparent
// argument t: 0xFFFFFFFF none; below 0x1000000 a colour that gets entry 0 of
// its own; anything else a flag mask, and only pixels with one of its bits
// take part.
#ifndef PIXMILL_QUANTIZE_H
#define PIXMILL_QUANTIZE_H

#include "buffer.h"
#include "pixmill_api.h"

// Chooses up to n colours for src by median cut; zeroes the remaining
// entries up to n; returns the number of entries made. work, when it holds at
// least src's pixel count, is used (and overwritten) as scratch memory.
PIXMILL_API int CreatePalette(Buffer& src, unsigned char* pal, int n, unsigned long t, Buffer* work);
// The entry of pal[0..n-1] nearest to c; the lowest index on ties.
PIXMILL_API int Quantize(unsigned long c, unsigned char* pal, int n);
// Maps every pixel of src to its nearest entry: into out as index bytes, rows
// rowBytes apart, or, with out null, into src's R, G, B (flags kept).
PIXMILL_API void Quantize(Buffer& src, unsigned char* pal, int n, unsigned long t, bool dither, unsigned char* out,
                          int rowBytes);

#endif
