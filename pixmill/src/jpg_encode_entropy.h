// JPEG writer, second stage: Huffman coding of quantised blocks (zig-zag
// order) into entropy-coded bytes, sequential or by the progressive scans
// of T.81 Annex G.
//
// Each progressive scan runs twice over the same blocks: first with a
// symbol writer that only counts symbols, to build the scan's optimal
// tables, then with one that codes them. The coders behave identically in
// both passes, so the counts are exactly those of the coded symbols.
#ifndef PIXMILL_JPG_ENCODE_ENTROPY_H
#define PIXMILL_JPG_ENCODE_ENTROPY_H

#include <stdint.h>

#include <vector>

#include "jpg_decode_tables.h"

namespace JpgEncode {

// Codes per length 1..16, then the symbols in code order, as DHT holds them.
typedef Jpg::HuffmanSpec HuffSpec;

// Code and length of each symbol; length 0 = the table has no code for it.
struct HuffCode {
    uint16_t code[256];
    uint8_t size[256];
};

// Canonical codes: shorter codes first, each length's codes counting up.
void BuildCodes(const HuffSpec& spec, HuffCode& out);

// Symbols counted for one table; entry 256 is the reserved symbol, set by
// OptimalTable.
struct SymbolCounts {
    uint32_t n[257];
};

// Room for an optimal table.
struct OptimalSpec {
    unsigned char counts[16];
    unsigned char symbols[256];
    int symbolCount;
    HuffSpec Spec() const { return HuffSpec{counts, symbols, symbolCount}; }
};

// The table of T.81 Annex K.2 for the counted symbols: no code of all 1 bits,
// no code longer than 16 bits.
void OptimalTable(SymbolCounts counts, OptimalSpec& out);

// Bits, most significant first, gathered in a 32-bit word that leaves as 4
// bytes at a time, each 0xFF followed by a stuffed 0x00.
class BitWriter {
public:
    BitWriter() : acc_(0), free_(32) { bytes_.reserve(1 << 15); }

    // The low n bits of v (n 1..16; the rest of v must be 0).
    void Put(uint32_t v, int n)
    {
        if (n < free_) {
            acc_ = acc_ << n | v;
            free_ -= n;
            return;
        }
        int rest = n - free_;
        PutWord(acc_ << free_ | v >> rest);
        acc_ = v & ((1u << rest) - 1);
        free_ = 32 - rest;
    }
    // Completes the last byte with 0 bits and hands over what is held.
    void Flush();
    // Coded bytes not yet taken; the caller empties it.
    std::vector<unsigned char>& Bytes() { return bytes_; }

private:
    void PutWord(uint32_t w);
    void PutByte(unsigned char c)
    {
        bytes_.push_back(c);
        if (c == 0xFF) bytes_.push_back(0);
    }

    uint32_t acc_;
    int free_;
    std::vector<unsigned char> bytes_;
};

// Where a coder's symbols go: into counts (nothing written) or, through the
// tables, into a bit writer. Table 0 serves luma, table 1 chroma.
class SymbolWriter {
public:
    // Counting mode.
    SymbolWriter(SymbolCounts* luma, SymbolCounts* chroma);
    // Coding mode; the chroma table may be null when no chroma is coded.
    SymbolWriter(BitWriter& out, const HuffCode* luma, const HuffCode* chroma);

    void Symbol(int table, int symbol);
    void Bits(uint32_t v, int n)
    {
        if (out_) out_->Put(v, n);
    }
    bool Counting() const { return out_ == nullptr; }

private:
    SymbolCounts* counts_[2];
    const HuffCode* codes_[2];
    BitWriter* out_;
};

// Bits needed for the magnitude of v (0 for 0).
int MagnitudeBits(int v);

// One block of a sequential scan: DC as the difference to dc, the
// component's previous DC, which then becomes this block's, through the DC
// tables; then all AC through the AC tables.
void CodeSequentialBlock(const int16_t* zz, int& dc, int table, SymbolWriter& dcw, SymbolWriter& acw);

// One progressive scan: Ss..Se, successive approximation Ah, Al.
class ProgressiveCoder {
public:
    ProgressiveCoder(SymbolWriter& w, int ss, int se, int ah, int al);

    // The block of component (0..2), coded with table (0 luma, 1 chroma).
    void Block(const int16_t* zz, int component, int table);
    // Ends the scan: the pending end-of-band run and its correction bits.
    void Finish();

private:
    void DCFirst(const int16_t* zz, int component, int table);
    void ACFirst(const int16_t* zz, int table);
    void ACRefine(const int16_t* zz, int table);
    void FlushEndOfBand();
    void PutCorrections(const unsigned char* bits, int n);

    // Correction bits waiting for the end-of-band run they belong to: a run
    // is flushed once more than this many wait, and a block adds at most 63.
    static const int MaxPendingCorrections = 959;

    SymbolWriter& w_;
    int ss_, se_, ah_, al_;
    int dc_[3];
    int eobRun_;
    int table_;              // of the pending run
    int pending_;            // correction bits in corrections_
    unsigned char corrections_[MaxPendingCorrections + 64];
};

}  // namespace JpgEncode

#endif
