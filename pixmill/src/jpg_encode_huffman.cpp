// JPEG writer: Huffman tables (canonical codes, optimal tables) and the bit
// writer.
#include <string.h>

#include "exceptions.h"
#include "jpg_encode_entropy.h"

namespace JpgEncode {

void BuildCodes(const HuffSpec& spec, HuffCode& out)
{
    memset(&out, 0, sizeof out);
    unsigned code = 0;
    int k = 0;
    for (int length = 1; length <= 16; ++length) {
        for (int i = 0; i < spec.counts[length - 1] && k < spec.symbolCount; ++i, ++k) {
            out.code[spec.symbols[k]] = static_cast<uint16_t>(code++);
            out.size[spec.symbols[k]] = static_cast<uint8_t>(length);
        }
        code <<= 1;
    }
}

namespace {

const int Symbols = 257;      // 256 and the reserved one
const int LongestTree = 64;   // deeper than any tree 2^32 counts can build

// Code lengths of the Huffman tree (T.81 Figure K.1): the two least frequent
// are merged until one is left; ties go to the larger symbol value, so
// that the reserved symbol 256 is always among the longest codes. Only the
// symbols that occur take part, in ascending order.
void CodeSizes(uint64_t* freq, int* size)
{
    int others[Symbols];
    int live[Symbols];
    int n = 0;
    for (int i = 0; i < Symbols; ++i) {
        size[i] = 0;
        others[i] = -1;
        if (freq[i]) live[n++] = i;
    }
    while (n > 1) {
        int a = -1, b = -1;  // positions in live of the least and the next least
        for (int k = 0; k < n; ++k)
            if (a < 0 || freq[live[k]] <= freq[live[a]]) a = k;
        for (int k = 0; k < n; ++k)
            if (k != a && (b < 0 || freq[live[k]] <= freq[live[b]])) b = k;
        int c1 = live[a], c2 = live[b];
        freq[c1] += freq[c2];
        freq[c2] = 0;
        memmove(live + b, live + b + 1, sizeof(int) * size_t(n - b - 1));
        --n;
        ++size[c1];
        while (others[c1] >= 0) {
            c1 = others[c1];
            ++size[c1];
        }
        others[c1] = c2;
        ++size[c2];
        while (others[c2] >= 0) {
            c2 = others[c2];
            ++size[c2];
        }
    }
}

// Moves codes longer than 16 bits up the tree (T.81 Figure K.3): a pair
// of the longest codes goes up one level, and a shorter code makes room by
// going down one and taking the pair's sibling along.
void LimitLengths(int* bits)
{
    for (int i = LongestTree; i > 16; --i) {
        while (bits[i] > 0) {
            int j = i - 2;
            while (bits[j] == 0) --j;
            bits[i] -= 2;
            bits[i - 1]++;
            bits[j + 1] += 2;
            bits[j]--;
        }
    }
}

}  // namespace

void OptimalTable(SymbolCounts counts, OptimalSpec& out)
{
    uint64_t freq[Symbols];
    for (int i = 0; i < 256; ++i) freq[i] = counts.n[i];
    freq[256] = 1;
    int size[Symbols];
    CodeSizes(freq, size);

    int bits[LongestTree + 1] = {};
    for (int i = 0; i < Symbols; ++i) {
        if (size[i] > LongestTree) throw EInvalidImage("JPEG: Huffman tree too deep");
        if (size[i]) bits[size[i]]++;
    }
    LimitLengths(bits);
    // The reserved symbol's code, one of the longest, leaves the table.
    int longest = 16;
    while (longest > 0 && bits[longest] == 0) --longest;
    if (longest > 0) bits[longest]--;

    for (int i = 0; i < 16; ++i) out.counts[i] = static_cast<unsigned char>(bits[i + 1]);
    // Symbols by code length, then by value; after the limiting the lengths
    // per symbol may have changed, but only the counts per length matter.
    int k = 0;
    for (int length = 1; length <= LongestTree; ++length)
        for (int s = 0; s < 256; ++s)
            if (size[s] == length) out.symbols[k++] = static_cast<unsigned char>(s);
    out.symbolCount = k;
}

void BitWriter::PutWord(uint32_t w)
{
    PutByte(static_cast<unsigned char>(w >> 24));
    PutByte(static_cast<unsigned char>(w >> 16));
    PutByte(static_cast<unsigned char>(w >> 8));
    PutByte(static_cast<unsigned char>(w));
}

void BitWriter::Flush()
{
    int held = 32 - free_;
    int bytes = (held + 7) / 8;
    uint32_t padded = bytes ? acc_ << (bytes * 8 - held) : 0;
    for (int i = bytes - 1; i >= 0; --i) PutByte(static_cast<unsigned char>(padded >> (8 * i)));
    acc_ = 0;
    free_ = 32;
}

SymbolWriter::SymbolWriter(SymbolCounts* luma, SymbolCounts* chroma)
    : counts_{luma, chroma}, codes_{nullptr, nullptr}, out_(nullptr)
{
}

SymbolWriter::SymbolWriter(BitWriter& out, const HuffCode* luma, const HuffCode* chroma)
    : counts_{nullptr, nullptr}, codes_{luma, chroma}, out_(&out)
{
}

void SymbolWriter::Symbol(int table, int symbol)
{
    if (!out_) {
        counts_[table]->n[symbol]++;
        return;
    }
    const HuffCode& c = *codes_[table];
    // A table made for other data: only a fault of the writer reaches here.
    if (!c.size[symbol]) throw EInvalidImage("JPEG: symbol without a Huffman code");
    out_->Put(c.code[symbol], c.size[symbol]);
}

int MagnitudeBits(int v)
{
    unsigned m = v < 0 ? 0u - unsigned(v) : unsigned(v);
    int n = 0;
    while (m) {
        ++n;
        m >>= 1;
    }
    return n;
}

}  // namespace JpgEncode
