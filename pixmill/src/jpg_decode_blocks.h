// Decoding of one 8x8 block of a JPEG scan, for each kind of scan. Blocks
// hold coefficients in natural (row-major) order.
#ifndef PIXMILL_JPG_DECODE_BLOCKS_H
#define PIXMILL_JPG_DECODE_BLOCKS_H

#include <stdint.h>
#include <string.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "jpg_decode_bits.h"

namespace Jpg {

// Clears a block of 64 coefficients. A memset of this size becomes a string
// instruction whose start-up costs as much as the stores, and the compiler
// turns a loop of stores back into one: hence eight stores written out.
inline void ClearBlock(int16_t* block)
{
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    __m128i* rows = reinterpret_cast<__m128i*>(block);
    _mm_storeu_si128(rows + 0, zero);
    _mm_storeu_si128(rows + 1, zero);
    _mm_storeu_si128(rows + 2, zero);
    _mm_storeu_si128(rows + 3, zero);
    _mm_storeu_si128(rows + 4, zero);
    _mm_storeu_si128(rows + 5, zero);
    _mm_storeu_si128(rows + 6, zero);
    _mm_storeu_si128(rows + 7, zero);
#else
    memset(block, 0, 64 * sizeof *block);
#endif
}

// What the blocks of one component in a sequential scan are decoded with.
struct SequentialTables {
    const HuffmanTable* dc;
    const HuffmanTable* ac;
    const int16_t* q;      // quantisation, zig-zag order
    int16_t* predictor;    // DC of the previous block, in the units the block stores
};

// A whole block: the DC difference, then AC 1-63, each times its entry of
// t.q. The block is cleared first.
void DecodeSequential(BitReader& in, const SequentialTables& t, int16_t* block);
// The count blocks of an MCU in turn (64 coefficients each, one after the
// other), each cleared beforehand, block i with tables[i].
void DecodeSequentialMcu(BitReader& in, const SequentialTables* const* tables, int count, int16_t* blocks);

// Progressive scans (T.81 G.1.2). Al is the point transform; eobRun the
// number of blocks left in the current end-of-band run.
void DecodeDcFirst(BitReader& in, const HuffmanTable& dc, int al, int16_t& pred, int16_t* block);
void DecodeDcRefine(BitReader& in, int al, int16_t* block);
void DecodeAcFirst(BitReader& in, const HuffmanTable& ac, int ss, int se, int al, int& eobRun, int16_t* block);
void DecodeAcRefine(BitReader& in, const HuffmanTable& ac, int ss, int se, int al, int& eobRun, int16_t* block);

}  // namespace Jpg

#endif
