// PNG rows: the five filters undone, the two the writer uses applied and
// rated, and unfiltered rows turned into pixels.
#include <math.h>
#include <string.h>

#include "colconv.h"
#include "colconv_rows.h"
#include "png_codec.h"

namespace {

int Distance(int a, int b)
{
    return a > b ? a - b : b - a;
}

unsigned char Paeth(int a, int b, int c)
{
    const int pa = Distance(b, c);      // |p - a| for p = a + b - c
    const int pb = Distance(a, c);      // |p - b|
    const int pc = Distance(a + b, 2 * c);  // |p - c|
    if (pa <= pb && pa <= pc) return static_cast<unsigned char>(a);
    return static_cast<unsigned char>(pb <= pc ? b : c);
}

// Samples of 1, 2 or 4 bits, most significant first, through the table.
// The values are unpacked into the last quarter of dst, which the look-up
// then widens from the front without overtaking them.
void PackedToPixels(const unsigned char* row, unsigned long* dst, int n, int depth, const unsigned long* table)
{
    unsigned char* values = reinterpret_cast<unsigned char*>(dst) + 3 * size_t(n);
    switch (depth) {
    case 1:
        memset(values, 0, size_t(n));
        Colconv::PlaneToBytes(row, values, n, 1);
        break;
    case 2: Colconv::Unpack2(row, values, n); break;
    default: Colconv::Unpack4(row, values, n); break;
    }
    Colconv::LookupRGB32s(values, dst, n, table);
}

// Every step-th byte from first through the table.
void SampledToPixels(const unsigned char* row, unsigned long* dst, int n, int step, const unsigned long* table)
{
    for (int i = 0; i < n; ++i) dst[i] = table[row[size_t(i) * step]];
}

// R, G, B as the first byte of samples every sampleBytes, pixels every pixelBytes.
void TrueColourToPixels(const unsigned char* row, unsigned long* dst, int n, int pixelBytes, int sampleBytes)
{
    for (int i = 0; i < n; ++i) {
        const unsigned char* p = row + size_t(i) * pixelBytes;
        dst[i] = (unsigned long)p[0] << 16 | p[sampleBytes] << 8 | p[2 * sampleBytes];
    }
}

uint32_t Load32(const unsigned char* p)
{
    uint32_t v;
    memcpy(&v, p, 4);
    return v;
}

// Up: four byte-wise sums at a time, the top bits added apart so that no
// carry crosses into the next byte (vector adds are slow under the x86
// emulation the program often runs in).
void AddRows(const unsigned char* src, unsigned char* row, const unsigned char* prev, size_t n)
{
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        const uint32_t x = Load32(src + i), y = Load32(prev + i);
        const uint32_t sum = ((x & 0x7F7F7F7Fu) + (y & 0x7F7F7F7Fu)) ^ ((x ^ y) & 0x80808080u);
        memcpy(row + i, &sum, 4);
    }
    for (; i < n; ++i) row[i] = static_cast<unsigned char>(src[i] + prev[i]);
}

}  // namespace

bool PngAllZero(const unsigned char* p, size_t n)
{
    size_t i = 0;
    for (; i + 16 <= n; i += 16)
        if ((Load32(p + i) | Load32(p + i + 4) | Load32(p + i + 8) | Load32(p + i + 12)) != 0) return false;
    for (; i < n; ++i)
        if (p[i]) return false;
    return true;
}

void PngUnfilter(int filter, const unsigned char* src, unsigned char* row, const unsigned char* prev, size_t n, int bpp)
{
    switch (filter) {
    case 1:
        for (size_t i = 0; i < n; ++i) row[i] = static_cast<unsigned char>(src[i] + row[int(i) - bpp]);
        break;
    case 2: AddRows(src, row, prev, n); break;
    case 3:
        for (size_t i = 0; i < n; ++i)
            row[i] = static_cast<unsigned char>(src[i] + ((row[int(i) - bpp] + prev[i]) >> 1));
        break;
    case 4:
        for (size_t i = 0; i < n; ++i)
            row[i] = static_cast<unsigned char>(src[i] + Paeth(row[int(i) - bpp], prev[i], prev[int(i) - bpp]));
        break;
    default: memcpy(row, src, n); break;
    }
}

void PngFilter(int filter, const unsigned char* raw, const unsigned char* prev, unsigned char* out, size_t n, int bpp)
{
    switch (filter) {
    case 1:
        for (size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(raw[i] - raw[int(i) - bpp]);
        break;
    case 2:
        for (size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(raw[i] - prev[i]);
        break;
    default: memcpy(out, raw, n); break;
    }
}

int PngFilterScore(const unsigned char* filtered, size_t n, size_t& zeros)
{
    double sum = 0, squares = 0;
    zeros = 0;
    for (size_t i = 0; i < n; ++i) {
        const int d = static_cast<signed char>(filtered[i]);
        sum += d;
        squares += double(d) * d;
        zeros += d == 0;
    }
    if (n == 0) return 0;
    const double count = double(n);
    return int(floor(sqrt((squares - sum * sum / count + 0.01) / count) + 0.5));
}

void PngRowToPixels(const PngHeader& h, unsigned char* row, unsigned long* dst, int n, const PngColours& c)
{
    const bool wide = h.depth == 16;
    switch (h.colourType) {
    case 2:
        if (wide)
            TrueColourToPixels(row, dst, n, 6, 2);
        else
            Colconv::BGR24RGB32s(row, dst, n);
        break;
    case 6:
        if (wide)
            TrueColourToPixels(row, dst, n, 8, 2);
        else  // the row follows 4 filter bytes in a heap block, so it is aligned for 32-bit loads
            Colconv::BGR32RGB32s(reinterpret_cast<unsigned long*>(row), dst, n);
        break;
    case 4: SampledToPixels(row, dst, n, wide ? 4 : 2, c.table); break;
    default:
        if (h.depth < 8)
            PackedToPixels(row, dst, n, h.depth, c.table);
        else if (wide)
            SampledToPixels(row, dst, n, 2, c.table);
        else
            Colconv::LookupRGB32s(row, dst, n, c.table);
        break;
    }
}
