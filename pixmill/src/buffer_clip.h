// Clipping and pixel-writing helpers shared by the Buffer drawing files.
//
// Callers pass any int coordinates, INT_MIN and INT_MAX included, so every
// shifted coordinate is formed in 64 bits; a rect that survives clipping lies
// inside the buffer and fits in int again.
#ifndef PIXMILL_BUFFER_CLIP_H
#define PIXMILL_BUFFER_CLIP_H

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <algorithm>

#include "buffer.h"

// A drawing colour with this bit set XORs the pixel with the other 31 bits.
const unsigned long XorBit = 0x80000000;

// r clipped to b's rect; false when nothing is left or b has no pixels.
inline bool ClipRect(const Buffer& b, Rect& r)
{
    if (!b.pixels) return false;
    r.left = std::max(r.left, b.left);
    r.top = std::max(r.top, b.top);
    r.right = std::min(r.right, b.right);
    r.bottom = std::min(r.bottom, b.bottom);
    return r.left <= r.right && r.top <= r.bottom;
}

// r moved by (dx, dy), then clipped to b's rect.
inline bool ClipShifted(const Buffer& b, Rect r, int64_t dx, int64_t dy, Rect& out)
{
    if (!b.pixels) return false;
    int64_t l = std::max<int64_t>(r.left + dx, b.left);
    int64_t t = std::max<int64_t>(r.top + dy, b.top);
    int64_t rt = std::min<int64_t>(r.right + dx, b.right);
    int64_t bt = std::min<int64_t>(r.bottom + dy, b.bottom);
    if (l > rt || t > bt) return false;
    out = Rect{int(l), int(t), int(rt), int(bt)};
    return true;
}

inline ptrdiff_t RectWidth(const Rect& r)
{
    return ptrdiff_t(int64_t(r.right) - r.left + 1);
}

inline ptrdiff_t RectHeight(const Rect& r)
{
    return ptrdiff_t(int64_t(r.bottom) - r.top + 1);
}

// (x, y) must lie in b's rect.
inline unsigned long* PixelAt(const Buffer& b, int64_t x, int64_t y)
{
    return b.pixels + ptrdiff_t(y - b.top) * b.stride + ptrdiff_t(x - b.left);
}

inline void Plot(unsigned long* p, unsigned long colour)
{
    if (colour & XorBit)
        *p ^= colour & ~XorBit;
    else
        *p = colour;
}

// Four pixels at once. GCC and Clang both know the type; without SSE2 they
// split it into plain 32-bit moves.
typedef unsigned long PixelQuad __attribute__((vector_size(16)));

// One row of a Box. Area fills are the hot path: a plain store loop stays
// scalar at -O2 and takes about four times as long as memset, while 16-byte
// stores (memcpy: rows are only 8-byte aligned) keep up with it.
inline void FillRun(unsigned long* p, ptrdiff_t n, unsigned long colour)
{
    if (colour & XorBit) {
        unsigned long bits = colour & ~XorBit;
        for (ptrdiff_t i = 0; i < n; ++i) p[i] ^= bits;
        return;
    }
    PixelQuad quad = {colour, colour, colour, colour};
    ptrdiff_t i = 0;
    for (; i + 4 <= n; i += 4) memcpy(p + i, &quad, sizeof quad);
    for (; i < n; ++i) p[i] = colour;
}

#endif
