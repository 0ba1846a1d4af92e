// CRC-32 by four 256-entry tables, a 32-bit word at a time; Adler-32 with the
// modulo taken only when the sums could next overflow.
#include "crc32.h"

#include <string.h>

#include "byte_order.h"

namespace {

// entry[0] is the byte-at-a-time table; entry[k][n] is the CRC of byte n
// followed by k zero bytes, so four bytes can be folded in at once.
struct CrcTables {
    uint32_t entry[4][256];
    CrcTables()
    {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entry[0][n] = c;
        }
        for (uint32_t n = 0; n < 256; ++n)
            for (int k = 1; k < 4; ++k) entry[k][n] = entry[0][entry[k - 1][n] & 0xFF] ^ (entry[k - 1][n] >> 8);
    }
};

const uint32_t AdlerBase = 65521;
// The most bytes whose sums cannot overflow 32 bits before the next modulo.
const size_t AdlerRun = 5552;

}  // namespace

// Both loops start a page of code: under x86 emulation a jump to another 4 KB
// page of code is looked up instead of linked directly.
__attribute__((aligned(4096))) uint32_t Crc32(uint32_t crc, const void* data, size_t n)
{
    static const CrcTables tables;
    const uint32_t(*t)[256] = tables.entry;
    const unsigned char* p = static_cast<const unsigned char*>(data);
    uint32_t c = ~crc;
    for (; n >= 4; n -= 4, p += 4) {
        c ^= GetLE32(p);
        c = t[3][c & 0xFF] ^ t[2][(c >> 8) & 0xFF] ^ t[1][(c >> 16) & 0xFF] ^ t[0][c >> 24];
    }
    for (; n > 0; --n) c = t[0][(c ^ *p++) & 0xFF] ^ (c >> 8);
    return ~c;
}

__attribute__((aligned(4096))) uint32_t Adler32(uint32_t adler, const void* data, size_t n)
{
    const unsigned char* p = static_cast<const unsigned char*>(data);
    uint32_t s1 = adler & 0xFFFF;
    uint32_t s2 = adler >> 16;
    while (n > 0) {
        size_t run = n < AdlerRun ? n : AdlerRun;
        n -= run;
        for (; run >= 8; run -= 8, p += 8) {
            // Flat pictures decompress to long runs of zero bytes, which
            // only carry s1 into s2.
            uint32_t w0, w1;
            memcpy(&w0, p, 4);
            memcpy(&w1, p + 4, 4);
            if ((w0 | w1) == 0) {
                s2 += 8 * s1;
                continue;
            }
            s1 += p[0];
            s2 += s1;
            s1 += p[1];
            s2 += s1;
            s1 += p[2];
            s2 += s1;
            s1 += p[3];
            s2 += s1;
            s1 += p[4];
            s2 += s1;
            s1 += p[5];
            s2 += s1;
            s1 += p[6];
            s2 += s1;
            s1 += p[7];
            s2 += s1;
        }
        for (; run > 0; --run) {
            s1 += *p++;
            s2 += s1;
        }
        s1 %= AdlerBase;
        s2 %= AdlerBase;
    }
    return s2 << 16 | s1;
}
