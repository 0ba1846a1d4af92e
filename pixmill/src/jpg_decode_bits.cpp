// Huffman decoding and the bit reader of JPEG scans.
//
// Codes are matched one bit at a time against the limit of each length, as
// T.81 F.2.2.3 decodes them; a table of the next 9 bits gives the same answer
// for the common short codes in one step, and a second one also the value of
// a small AC coefficient that follows its code within those bits.
#include "jpg_decode_bits.h"

#include <string.h>

#include "exceptions.h"

namespace Jpg {

namespace {

// Values from -128 to 127 only, so that value << 8 fits the 16-bit entry.
void BuildFastAc(HuffmanTable& t)
{
    for (int look = 0; look < LookSize; ++look) {
        t.fastAc[look] = 0;
        const unsigned entry = t.fast[look];
        const int len = int(entry >> 8), run = int(entry >> 4 & 15), s = int(entry & 15);
        if (!entry || !s || len + s > LookBits) continue;
        const int raw = (look >> (LookBits - len - s)) & ((1 << s) - 1);
        const int value = Extend(raw, s);
        if (value < -128 || value > 127) continue;
        t.fastAc[look] = static_cast<int16_t>(value * 256 + (run << 4) + len + s);
    }
}

}  // namespace

void BuildHuffman(HuffmanTable& t, const unsigned char* counts, const unsigned char* symbols)
{
    int code = 0, total = 0;
    for (int len = 1; len <= 16; ++len) {
        t.shorter[len] = static_cast<uint16_t>(total);
        t.first[len] = code;
        code += counts[len - 1];
        total += counts[len - 1];
        t.limit[len] = code;
        t.below[len] = uint32_t(code) << (16 - len);
        t.offset[len] = t.shorter[len] - t.first[len];
        code *= 2;
    }
    memcpy(t.symbols, symbols, size_t(total));
    // The codes of up to 9 bits, each filling the entries of the 9-bit values
    // it starts. Any value that the bit-by-bit loop decodes within 9 bits
    // starts exactly one of them (first[L] is twice limit[L - 1]).
    memset(t.fast, 0, sizeof t.fast);
    for (int len = 1; len <= LookBits; ++len) {
        const int end = t.limit[len] < (1 << len) ? t.limit[len] : 1 << len;
        for (int c = t.first[len]; c < end; ++c) {
            const uint16_t entry = static_cast<uint16_t>(len << 8 | t.symbols[t.shorter[len] + c - t.first[len]]);
            const int spread = LookBits - len;
            for (int look = c << spread; look < (c + 1) << spread; ++look) t.fast[look] = entry;
        }
    }
    BuildFastAc(t);
    t.defined = true;
}

void BitReader::FetchByte()
{
    unsigned byte = in_.Byte();
    if (byte == 0xFF && in_.Byte() != 0)
        throw EInvalidImage("JPEG: marker inside entropy-coded data");
    Add(byte);
}

void BitReader::Fill(int n)
{
    Prefetch();
    while (held_ < n) FetchByte();
}

int BitReader::DecodeSlowly(const HuffmanTable& t)
{
    int code = int(Bit());
    for (int len = 1;; ++len) {
        if (code < t.limit[len]) return t.symbols[t.shorter[len] + code - t.first[len]];
        if (len == 16) throw EInvalidImage("JPEG: no Huffman code matches");
        code = code * 2 + int(Bit());
    }
}

}  // namespace Jpg
