// Exported pixel-format converters between pixels and file or system layouts.
#include "colconv.h"

#include "colconv_rows.h"

static_assert(sizeof(unsigned long) == 4, "pixels are 32-bit unsigned long");

namespace Colconv {

unsigned long BSwap(unsigned long v)
{
    return __builtin_bswap32(v);
}

unsigned long BGR24RGB32(unsigned long v)
{
    return __builtin_bswap32(v) >> 8;
}

// The first byte is held aside so that src and dst may be the same row.
void BGR24RGB24s(unsigned char* src, unsigned char* dst, int n)
{
    for (int k = 0; k < n; ++k, src += 3, dst += 3) {
        unsigned char first = src[0];
        dst[1] = src[1];
        dst[0] = src[2];
        dst[2] = first;
    }
}

// The 24-bit sources are read byte by byte: a wider load would pass the end
// of the last pixel. Both widen in place (see WideningRange).
void BGR24RGB32s(unsigned char* src, unsigned long* dst, int n)
{
    int i, step;
    WideningRange(src, dst, n, i, step);
    for (int k = 0; k < n; ++k, i += step) {
        const unsigned char* s = src + 3 * i;
        dst[i] = static_cast<unsigned long>(s[0]) << 16 | s[1] << 8 | s[2];
    }
}

void RGB24RGB32s(unsigned char* src, unsigned long* dst, int n)
{
    int i, step;
    WideningRange(src, dst, n, i, step);
    for (int k = 0; k < n; ++k, i += step) {
        const unsigned char* s = src + 3 * i;
        dst[i] = static_cast<unsigned long>(s[2]) << 16 | s[1] << 8 | s[0];
    }
}

void BGR32RGB32s(unsigned long* src, unsigned long* dst, int n)
{
    for (int i = 0; i < n; ++i) dst[i] = __builtin_bswap32(src[i]) >> 8;
}

void RGB32RGB32s(unsigned long* src, unsigned long* dst, int n)
{
    for (int i = 0; i < n; ++i) dst[i] = src[i] & 0x00FFFFFF;
}

void XBGR32RGB32s(unsigned long* src, unsigned long* dst, int n)
{
    for (int i = 0; i < n; ++i) {
        unsigned long v = src[i];
        dst[i] = (v & 0xFF000000) | (__builtin_bswap32(v) >> 8);
    }
}

// Narrowing forwards never overtakes the source, so dst may be src here too.
void RGB32RGB24s(unsigned long* src, unsigned char* dst, int n)
{
    for (int k = 0; k < n; ++k, dst += 3) {
        unsigned long v = src[k];
        dst[0] = static_cast<unsigned char>(v);
        dst[1] = static_cast<unsigned char>(v >> 8);
        dst[2] = static_cast<unsigned char>(v >> 16);
    }
}

void RGB32BGR24s(unsigned long* src, unsigned char* dst, int n)
{
    for (int k = 0; k < n; ++k, dst += 3) {
        unsigned long v = src[k];
        dst[0] = static_cast<unsigned char>(v >> 16);
        dst[1] = static_cast<unsigned char>(v >> 8);
        dst[2] = static_cast<unsigned char>(v);
    }
}

}  // namespace Colconv
