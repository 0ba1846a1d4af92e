// Reading packed DIBs (BMP files without their file header, CF_DIB) with
// every size checked before GDI sees the data. Internal to the library.
#ifndef CLASSLIB_WIN32_DIB_H
#define CLASSLIB_WIN32_DIB_H

#include "winapi.h"

// A BITMAPINFO with room for a full colour table, or the three masks of
// BI_BITFIELDS in colors[0..2].
struct DibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];

    BITMAPINFO* Get() { return reinterpret_cast<BITMAPINFO*>(this); }
    int ColorCount() const;
};

struct ParsedDib {
    DibInfo info;  // biSize 40 whatever the source header was
    const unsigned char* bits;
    int bitsSize;
};

// Bytes per row of a DIB, rows padded to 32 bits; -1 if beyond int.
int DibStride(int width, int bitCount);

// data points at the info header; bitsOffset (from data) is where the bits
// start, or -1 for right after the colour table. Raises EInvalidGraphic.
ParsedDib ParseDib(const unsigned char* data, int size, int bitsOffset);

#endif
