// JPEG writer: pixels of an 8x8 area to quantised coefficients.
#include <string.h>

#include "jpg_decode_tables.h"
#include "jpg_encode.h"

namespace JpgEncode {

namespace {

// Colour coefficients times 128, one entry per 8-bit value, each truncated
// toward zero after adding 0.5 (negative entries thus lean toward zero).
struct ColourTables {
    int16_t rY[256], gY[256], bY[256];
    int16_t rCb[256], gCb[256];
    int16_t gCr[256], bCr[256];

    ColourTables()
    {
        for (int i = 0; i < 256; ++i) {
            rY[i] = Entry(0.299, i);
            gY[i] = Entry(0.587, i);
            bY[i] = Entry(0.114, i);
            rCb[i] = Entry(-0.16874, i);
            gCb[i] = Entry(-0.33126, i);
            gCr[i] = Entry(-0.41869, i);
            bCr[i] = Entry(-0.08131, i);
        }
    }

    static int16_t Entry(double k, int i) { return static_cast<int16_t>(k * 128.0 * i + 0.5); }
};

const ColourTables& Colours()
{
    static const ColourTables tables;
    return tables;
}

// Y taken modulo 256 before the level shift, as the decoder's tables expect.
inline int Luma(const ColourTables& t, int r, int g, int b)
{
    return ((t.rY[r] + t.gY[g] + t.bY[b] + 64) >> 7 & 0xFF) - 128;
}

// Cb or Cr from the sum of its three table terms, rounded to the nearest
// level. Pure blue (or red) comes to 127.5, which must stay at the top of the
// range rather than wrap to its bottom.
inline int Chroma(int sum)
{
    const int c = (sum + 64) >> 7;
    return c > 127 ? 127 : c;
}

// One row of the transform: p0..p7 to coefficients 0..7 written a column
// apart, so that two passes leave the block in its own orientation.
void TransformRow(const int* p, int* out)
{
    int s07 = p[0] + p[7], s16 = p[1] + p[6], s25 = p[2] + p[5], s34 = p[3] + p[4];
    int d16 = p[1] - p[6], d25 = p[2] - p[5];
    out[0] = ((s07 + s34 + s25 + s16) * 46341 + 0x10000) >> 17;
    out[32] = ((s07 + s34 - s25 - s16) * 46341 + 0x10000) >> 17;
    out[16] = ((s07 - s34) * 60547 + (s16 - s25) * 25080 + 0x10000) >> 17;
    out[48] = ((s07 - s34) * 25080 - (s16 - s25) * 60547 + 0x10000) >> 17;
    int r = (p[3] - p[4]) * 4;
    int t = ((d16 - d25) * 46341 + 8192) >> 14;
    int u = (p[0] - p[7]) * 4;
    int v = ((d16 + d25) * 46341 + 8192) >> 14;
    out[8] = ((u + v) * 16069 + (r + t) * 3196 + 0x10000) >> 17;
    out[56] = ((u + v) * 3196 - (r + t) * 16069 + 0x10000) >> 17;
    out[40] = ((r - t) * 13623 + (u - v) * 9102 + 0x10000) >> 17;
    out[24] = ((u - v) * 13623 - (r - t) * 9102 + 0x10000) >> 17;
}

// (n + q / 2) / q for n below 2^16, by multiplication.
inline int RoundedQuotient(int n, unsigned half, uint32_t reciprocal)
{
    return int((uint64_t(unsigned(n) + half) * reciprocal) >> 31);
}

}  // namespace

void ScaleQuant(const unsigned char* example, int quality, QuantTable& q)
{
    if (quality < 1) quality = 1;
    if (quality > 100) quality = 100;
    int scale = quality > 49 ? 200 - 2 * quality : 5000 / quality;
    for (int k = 0; k < 64; ++k) {
        int e = (example[k] * scale + 50) / 100;
        e = e < 1 ? 1 : e > 255 ? 255 : e;
        q.entry[k] = static_cast<unsigned char>(e);
        q.reciprocal[k] = uint32_t((0x80000000ull + unsigned(e) - 1) / unsigned(e));
    }
}

void LoadArea(Buffer& b, int x, int y, unsigned long* area)
{
    int w = b.Width() - x < 8 ? b.Width() - x : 8;
    int h = b.Height() - y < 8 ? b.Height() - y : 8;
    if (w < 8 || h < 8) memset(area, 0, 64 * sizeof *area);
    for (int row = 0; row < h; ++row)
        memcpy(area + 8 * row, b.At(b.left + x, b.top + y + row), size_t(w) * sizeof *area);
}

void AreaToYCbCr(const unsigned long* area, int* y, int* cb, int* cr)
{
    const ColourTables& t = Colours();
    for (int i = 0; i < 64; ++i) {
        int r = area[i] >> 16 & 0xFF, g = area[i] >> 8 & 0xFF, b = area[i] & 0xFF;
        y[i] = Luma(t, r, g, b);
        cb[i] = Chroma(t.rCb[r] + t.gCb[g] + 64 * b);
        cr[i] = Chroma(64 * r + t.gCr[g] + t.bCr[b]);
    }
}

void AreaToGrey(const unsigned long* area, int* y)
{
    const ColourTables& t = Colours();
    for (int i = 0; i < 64; ++i) y[i] = Luma(t, area[i] >> 16 & 0xFF, area[i] >> 8 & 0xFF, area[i] & 0xFF);
}

void ForwardDCT(int* block)
{
    int work[64];
    for (int row = 0; row < 8; ++row) TransformRow(block + 8 * row, work + row);
    for (int row = 0; row < 8; ++row) TransformRow(work + 8 * row, block + row);
}

void Quantise(const int* block, const QuantTable& q, int16_t* zz)
{
    for (int k = 0; k < 64; ++k) {
        int c = block[Jpg::ZigZag[k]];
        unsigned half = q.entry[k] >> 1;
        int v = c >= 0 ? RoundedQuotient(c, half, q.reciprocal[k]) : -RoundedQuotient(-c, half, q.reciprocal[k]);
        zz[k] = static_cast<int16_t>(v);
    }
}

}  // namespace JpgEncode
