// CRC-32 by a 256-entry table, Adler-32 with the modulo taken only when the
// sums could next overflow.
#include "crc32.h"

namespace {

struct CrcTable {
    uint32_t entry[256];
    CrcTable()
    {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entry[n] = c;
        }
    }
};

const uint32_t AdlerBase = 65521;
// The most bytes whose sums cannot overflow 32 bits before the next modulo.
const size_t AdlerRun = 5552;

}  // namespace

uint32_t Crc32(uint32_t crc, const void* data, size_t n)
{
    static const CrcTable table;
    const unsigned char* p = static_cast<const unsigned char*>(data);
    uint32_t c = ~crc;
    for (size_t i = 0; i < n; ++i) c = table.entry[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return ~c;
}

uint32_t Adler32(uint32_t adler, const void* data, size_t n)
{
    const unsigned char* p = static_cast<const unsigned char*>(data);
    uint32_t s1 = adler & 0xFFFF;
    uint32_t s2 = adler >> 16;
    while (n > 0) {
        size_t run = n < AdlerRun ? n : AdlerRun;
        n -= run;
        for (size_t i = 0; i < run; ++i) {
            s1 += p[i];
            s2 += s1;
        }
        p += run;
        s1 %= AdlerBase;
        s2 %= AdlerBase;
    }
    return s2 << 16 | s1;
}
