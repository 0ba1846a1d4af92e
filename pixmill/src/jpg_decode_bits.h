// Entropy-coded data of a JPEG scan: Huffman decoding tables and the bit
// reader that takes bits MSB first, dropping the 0x00 stuffed after 0xFF.
#ifndef PIXMILL_JPG_DECODE_BITS_H
#define PIXMILL_JPG_DECODE_BITS_H

#include <stdint.h>

#include "streambuf.h"

namespace Jpg {

const int LookBits = 9;
const int LookSize = 1 << LookBits;

// Canonical decoding table: a code of length L is valid when it is below
// limit[L]; its symbol is symbols[shorter[L] + code - first[L]].
struct HuffmanTable {
    bool defined;
    uint16_t shorter[17];   // codes shorter than L (running sum of the counts)
    int32_t first[17];      // first code of length L
    int32_t limit[17];      // first code plus the count of length L
    uint8_t symbols[256];
    // The same decoding for the next LookBits bits at once: length << 8 |
    // symbol, or 0 when the code is longer.
    uint16_t fast[LookSize];
    // For AC coefficients whose code and value bits together fit in the
    // next LookBits bits: value << 8 | run << 4 | bits used; 0 otherwise.
    int16_t fastAc[LookSize];
    // Codes longer than LookBits, on the next 16 bits: a code of length L
    // is valid when those bits are below below[L]; its symbol is
    // symbols[those bits >> (16 - L) + offset[L]].
    uint32_t below[17];
    int32_t offset[17];
};

// Builds t from 16 counts (sum at most 256) and their symbols.
void BuildHuffman(HuffmanTable& t, const unsigned char* counts, const unsigned char* symbols);

// T.81 F.2.2.1 EXTEND: s bits (s >= 1) read as v, as a signed difference.
// Without a branch: the sign of a coefficient is as good as random.
inline int Extend(int v, int s)
{
    const int below = (v - (1 << (s - 1))) >> 31;  // -1 when v is below half the range
    return v + (below & (1 - (1 << s)));
}

// True when one of the four bytes of w is 0xFF (the zero-byte test on ~w).
inline bool HasFF(uint32_t w)
{
    return ((~w - 0x01010101u) & w & 0x80808080u) != 0;
}

class BitReader {
public:
    explicit BitReader(StreamBuf& in) : in_(in) {}

    // Drops the bits held (at a restart marker or the end of a scan).
    void Reset()
    {
        acc_ = 0;
        held_ = 0;
    }
    // True when whole bytes are held that the decoder has not used yet. The
    // reader takes bytes ahead only from data already buffered and never
    // across a marker, so in valid data this happens only when a restart
    // marker is missing.
    bool HoldsWholeBytes() const { return held_ >= 8; }

    // The next n bits, 1 <= n <= 16.
    unsigned Bits(int n)
    {
        if (held_ < n) Fill(n);
        const unsigned v = acc_ >> (32 - n);
        Take(n);
        return v;
    }
    unsigned Bit() { return Bits(1); }
    // s bits (0-16) read as a signed difference.
    int Receive(int s) { return s ? Extend(int(Bits(s)), s) : 0; }

    // The next symbol; EInvalidImage when no code of 16 bits or less matches.
    int Decode(const HuffmanTable& t)
    {
        if (held_ < LookBits) Prefetch();
        if (held_ >= LookBits) {
            const unsigned entry = t.fast[Peek()];
            if (entry) {
                Take(int(entry >> 8));
                return int(entry & 0xFF);
            }
        }
        return DecodeSlowly(t);
    }

    // An AC coefficient whose code and value fit in the next LookBits bits:
    // its fastAc entry, with those bits taken; else 0 and nothing taken.
    int FastAc(const HuffmanTable& t)
    {
        if (held_ < LookBits) Prefetch();
        if (held_ < LookBits) return 0;
        const int entry = t.fastAc[Peek()];
        Take(entry & 15);
        return entry;
    }

private:
    friend class BitWindow;
    unsigned Peek() const { return acc_ >> (32 - LookBits); }
    void Take(int n)
    {
        acc_ <<= n;
        held_ -= n;
    }
    void Add(unsigned byte)
    {
        acc_ |= byte << (24 - held_);
        held_ += 8;
    }
    void Fill(int n);
    void FetchByte();
    void Prefetch();
    int DecodeSlowly(const HuffmanTable& t);

    StreamBuf& in_;
    // The held bits are its top held_ bits. Below them are zeros or the
    // bits of the bytes that follow (a look-ahead of four bytes leaves
    // them), so adding a byte by OR is right either way.
    uint32_t acc_ = 0;
    int held_ = 0;
};

// Takes bytes ahead while they are in the buffer and are no marker, so that
// end of data and markers are still met exactly where the decoder needs the
// bits behind them.
inline void BitReader::Prefetch()
{
    const unsigned char* data = in_.data;
    int pos = in_.position;
    const int count = in_.count;
    while (held_ <= 24 && pos < count) {
        unsigned byte = data[pos];
        if (byte == 0xFF) {
            if (pos + 1 >= count || data[pos + 1] != 0) break;
            pos += 2;
        } else {
            pos += 1;
        }
        Add(byte);
    }
    in_.position = pos;
}

}  // namespace Jpg

#endif
