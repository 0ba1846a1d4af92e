#include "rfont_decode.h"

#include <stdint.h>
#include <string.h>

#include "exceptions.h"

namespace {

// Codes up to 8 bits are what fonts use; longer ones are accepted up to this.
const int MaxBits = 16;
const int Skip = 255;  // the gap symbol that moves on without setting a bit

struct PrefixCode {
    int single = -1;              // the one symbol of a code without bits
    int count[MaxBits + 1] = {};  // codes of each length
    unsigned char symbols[256];   // in code order
};

class ByteReader {
public:
    ByteReader(const unsigned char* data, size_t size) : data_(data), size_(size) {}
    unsigned char Next()
    {
        if (pos_ >= size_) throw EInvalidImage("RFont: glyph code description cut short");
        return data_[pos_++];
    }
    size_t Position() const { return pos_; }

private:
    const unsigned char* data_;
    size_t size_;
    size_t pos_ = 0;
};

// The description ends when the code is complete: every bit pattern starts
// exactly one code.
size_t ReadPrefixCode(const unsigned char* data, size_t size, PrefixCode& code)
{
    ByteReader in(data, size);
    int shortest = in.Next();
    if (shortest == 0) {
        code.single = in.Next();
        return in.Position();
    }
    if (shortest > MaxBits) throw EInvalidImage("RFont: glyph code longer than supported");
    const uint32_t full = uint32_t(1) << MaxBits;
    uint32_t used = 0;
    int symbols = 0;
    for (int length = shortest; used < full; ++length) {
        if (length > MaxBits) throw EInvalidImage("RFont: glyph code incomplete");
        int n = in.Next();
        code.count[length] = n;
        for (int i = 0; i < n; ++i) {
            if (symbols == 256) throw EInvalidImage("RFont: glyph code has too many symbols");
            code.symbols[symbols++] = in.Next();
        }
        used += uint32_t(n) << (MaxBits - length);
        if (used > full) throw EInvalidImage("RFont: glyph code overfull");
    }
    return in.Position();
}

// Bits in big-endian 32-bit words, most significant first; a last word cut
// short reads as if padded with zeros.
class BitReader {
public:
    BitReader(const unsigned char* data, size_t size) : data_(data), size_(size), bits_((size + 3) / 4 * 32) {}
    int Next()
    {
        if (pos_ >= bits_) throw EInvalidImage("RFont: glyph data cut short");
        size_t byte = pos_ >> 3;
        int bit = byte < size_ ? data_[byte] >> (7 - (pos_ & 7)) & 1 : 0;
        ++pos_;
        return bit;
    }

private:
    const unsigned char* data_;
    size_t size_;
    size_t bits_;
    size_t pos_ = 0;
};

// Canonical codes of one length are consecutive, and each length continues
// from the one before, shifted.
int DecodeSymbol(const PrefixCode& code, BitReader& in)
{
    if (code.single >= 0) return code.single;
    int value = 0, first = 0, index = 0;
    for (int length = 1; length <= MaxBits; ++length) {
        value |= in.Next();
        int n = code.count[length];
        if (value - first < n) return code.symbols[index + value - first];
        index += n;
        first = (first + n) << 1;
        value <<= 1;
    }
    throw EInvalidImage("RFont: glyph code not found");
}

void Unfilter(unsigned char* store, size_t size, size_t rowBytes)
{
    for (size_t i = rowBytes; i < size; ++i) store[i] ^= store[i - rowBytes];
}

}  // namespace

void DecodeGlyphData(const unsigned char* data, size_t size, unsigned char* store, size_t storeSize,
                     int rowBytes)
{
    memset(store, 0, storeSize);
    PrefixCode code;
    size_t used = ReadPrefixCode(data, size, code);
    BitReader in(data + used, size - used);
    const int64_t end = int64_t(storeSize) * 8;
    int64_t pos = -1;  // the last set bit; the first gap counts from just before the store
    while (pos < end) {
        int gap = DecodeSymbol(code, in);
        if (gap == Skip) {
            pos += Skip;
            continue;
        }
        pos += gap + 1;
        if (pos < end) store[pos >> 3] |= uint8_t(1 << (pos & 7));
    }
    if (rowBytes > 0) Unfilter(store, storeSize, size_t(rowBytes));
}
