// Row converters shared by the format readers and writers.
#include "colconv_rows.h"

#include <string.h>

#include "byte_order.h"

namespace Colconv {

void CopyRGB32s(const unsigned long* src, unsigned long* dst, int n)
{
    if (n > 0) memmove(dst, src, static_cast<size_t>(n) * sizeof(unsigned long));
}

unsigned long W444RGB32(unsigned short w)
{
    if (w < 0x4000) {
        unsigned long r = (w & 15u) * 17;
        unsigned long g = ((w >> 4) & 15u) * 17;
        unsigned long b = ((w >> 8) & 15u) * 17;
        return r << 16 | g << 8 | b;
    }
    unsigned long flag = (w & 0x80) ? 0x20000000 : 0x10000000;
    unsigned long r = (w >> 8) - 64u;
    return flag | r << 16 | (w & 0x7Fu) << 8;
}

void W444RGB32s(const unsigned char* src, unsigned long* dst, int n)
{
    int i, step;
    WideningRange(src, dst, n, i, step);
    for (int k = 0; k < n; ++k, i += step) {
        const unsigned char* s = src + 2 * i;
        dst[i] = W444RGB32(static_cast<unsigned short>(GetLE16(s)));
    }
}

unsigned long W555RGB32(unsigned short w)
{
    unsigned long r = (w >> 10) & 31u;
    unsigned long g = (w >> 5) & 31u;
    unsigned long b = w & 31u;
    r = (r << 3) | (r >> 2);
    g = (g << 3) | (g >> 2);
    b = (b << 3) | (b >> 2);
    return (w & 0x8000ul) << 9 | r << 16 | g << 8 | b;
}

void W555RGB32s(const unsigned char* src, unsigned long* dst, int n)
{
    int i, step;
    WideningRange(src, dst, n, i, step);
    for (int k = 0; k < n; ++k, i += step) {
        const unsigned char* s = src + 2 * i;
        dst[i] = W555RGB32(static_cast<unsigned short>(GetLE16(s)));
    }
}

unsigned long XBGR32RGB32(unsigned long v)
{
    return (v & 0xFF000000) | (__builtin_bswap32(v) >> 8);
}

void AnalyseBitFields(const unsigned long masks[3], BitField fields[3])
{
    for (int c = 0; c < 3; ++c) {
        unsigned long m = masks[c];
        fields[c].mask = m;
        fields[c].rotate = 0;
        fields[c].width = 0;
        if (m == 0) continue;
        int low = __builtin_ctz(m);
        int high = 31 - __builtin_clz(m);
        int top = 23 - 8 * c;  // top bit of the red, green, blue byte
        fields[c].rotate = (top - high) & 31;
        fields[c].width = high - low + 1;
    }
}

static unsigned long RotateLeft(unsigned long v, int r)
{
    return (v << r) | (v >> ((32 - r) & 31));
}

void BitField16RGB32s(const unsigned char* src, unsigned long* dst, int n, const BitField fields[3])
{
    unsigned long mask[3];
    int rotate[3];
    int spread[3];
    for (int c = 0; c < 3; ++c) {
        mask[c] = fields[c].mask;
        rotate[c] = fields[c].rotate & 31;
        // From 8 bits on the widening copy falls below the byte and is masked away;
        // capping it also keeps the shift defined for any width.
        spread[c] = fields[c].width < 8 ? fields[c].width : 8;
    }
    int i, step;
    WideningRange(src, dst, n, i, step);
    for (int k = 0; k < n; ++k, i += step) {
        const unsigned char* s = src + 2 * i;
        unsigned long w = GetLE16(s);
        unsigned long r = RotateLeft(w & mask[0], rotate[0]) & 0xFF0000;
        unsigned long g = RotateLeft(w & mask[1], rotate[1]) & 0xFF00;
        unsigned long b = RotateLeft(w & mask[2], rotate[2]) & 0xFF;
        r = (r | r >> spread[0]) & 0xFF0000;
        g = (g | g >> spread[1]) & 0xFF00;
        b = (b | b >> spread[2]) & 0xFF;
        dst[i] = r | g | b;
    }
}

void LookupRGB32s(const unsigned char* src, unsigned long* dst, int n, const unsigned long* table)
{
    int i, step;
    WideningRange(src, dst, n, i, step);
    for (int k = 0; k < n; ++k, i += step) dst[i] = table[src[i]];
}

void PlanesRGB32s(const unsigned char* r, const unsigned char* g, const unsigned char* b, unsigned long* dst,
                  int n)
{
    for (int i = 0; i < n; ++i) dst[i] = static_cast<unsigned long>(r[i]) << 16 | g[i] << 8 | b[i];
}

void PlaneToBytes(const unsigned char* plane, unsigned char* dst, int n, unsigned char mask)
{
    for (int i = 0; i < n; ++i) {
        unsigned bit = (plane[i >> 3] >> (7 - (i & 7))) & 1;
        dst[i] |= static_cast<unsigned char>(mask & -bit);
    }
}

void PlaneToPixels(const unsigned char* plane, unsigned long* dst, int n, unsigned long mask)
{
    for (int i = 0; i < n; ++i) {
        unsigned long bit = (plane[i >> 3] >> (7 - (i & 7))) & 1;
        dst[i] |= mask & -bit;
    }
}

// Bits gather in acc until a byte is full; the last byte is stored with its
// unused low bits still 0.
void BytesToPlane(const unsigned char* src, unsigned char* plane, int n, unsigned char mask)
{
    unsigned acc = 0;
    for (int i = 0; i < n; ++i) {
        acc = acc << 1 | ((src[i] & mask) != 0);
        if ((i & 7) == 7) {
            plane[i >> 3] = static_cast<unsigned char>(acc);
            acc = 0;
        }
    }
    if (n > 0 && (n & 7) != 0) plane[n >> 3] = static_cast<unsigned char>(acc << (8 - (n & 7)));
}

void PixelsToPlane(const unsigned long* src, unsigned char* plane, int n, unsigned long mask)
{
    unsigned acc = 0;
    for (int i = 0; i < n; ++i) {
        acc = acc << 1 | ((src[i] & mask) != 0);
        if ((i & 7) == 7) {
            plane[i >> 3] = static_cast<unsigned char>(acc);
            acc = 0;
        }
    }
    if (n > 0 && (n & 7) != 0) plane[n >> 3] = static_cast<unsigned char>(acc << (8 - (n & 7)));
}

void Unpack2(const unsigned char* src, unsigned char* dst, int n)
{
    int i, step;
    WideningRange(src, dst, n, i, step);
    for (int k = 0; k < n; ++k, i += step) dst[i] = (src[i >> 2] >> (6 - 2 * (i & 3))) & 3;
}

void Unpack4(const unsigned char* src, unsigned char* dst, int n)
{
    int i, step;
    WideningRange(src, dst, n, i, step);
    for (int k = 0; k < n; ++k, i += step) dst[i] = (src[i >> 1] >> (4 - 4 * (i & 1))) & 15;
}

// Each packed byte is stored only after all its source bytes were read, so
// packing onto the source row is safe.
void Pack2(const unsigned char* src, unsigned char* dst, int n)
{
    unsigned acc = 0;
    for (int i = 0; i < n; ++i) {
        acc = acc << 2 | (src[i] & 3u);
        if ((i & 3) == 3) {
            dst[i >> 2] = static_cast<unsigned char>(acc);
            acc = 0;
        }
    }
    if (n > 0 && (n & 3) != 0) dst[n >> 2] = static_cast<unsigned char>(acc << (8 - 2 * (n & 3)));
}

void Pack4(const unsigned char* src, unsigned char* dst, int n)
{
    int pairs = n / 2;
    for (int j = 0; j < pairs; ++j)
        dst[j] = static_cast<unsigned char>((src[2 * j] & 15u) << 4 | (src[2 * j + 1] & 15u));
    if (n > 0 && (n & 1) != 0) dst[pairs] = static_cast<unsigned char>((src[n - 1] & 15u) << 4);
}

}  // namespace Colconv
