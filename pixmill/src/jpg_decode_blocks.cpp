// Block decoding of sequential and progressive JPEG scans.
//
// Coefficient values are kept in 16 bits, as files of 8-bit samples need;
// crafted data that exceeds them wraps instead of overflowing. A run that
// would place a coefficient past the end of the band is refused: it would
// index past the zig-zag table and the block.
#include "jpg_decode_blocks.h"

#include <string.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "exceptions.h"
#include "jpg_decode_tables.h"
#include "jpg_decode_window.h"

namespace Jpg {

namespace {

inline int16_t Wrap16(uint32_t v)
{
    return int16_t(uint16_t(v));
}

// Inlined, as every step on a window (see SequentialBlock).
__attribute__((always_inline)) inline int DcDifference(BitWindow& in, const HuffmanTable& dc)
{
    int s = in.Decode(dc);
    if (s > 16) throw EInvalidImage("JPEG: DC difference category above 16");
    return in.Receive(s);
}

// Position of the coefficient after a run of r zeros from k, inside the band.
int AfterRun(int k, int r, int se)
{
    k += r;
    if (k > se) throw EInvalidImage("JPEG: coefficient run past the end of the band");
    return k;
}

const int EndOfBlock = 64;

// The coefficient value after a run of r zeros from k, dequantised; returns
// the index after it.
inline int Put(int16_t* block, const int16_t* q, int k, int r, int value)
{
    k = AfterRun(k, r, 63);
    block[ZigZag[k]] = Wrap16(uint32_t(value) * uint32_t(q[k]));
    return k + 1;
}

// One AC symbol (and its value) with every step checked, for when few bits
// can be held: next to a marker or the buffer's end. Returns the index
// after it, EndOfBlock after an end of block.
__attribute__((always_inline)) inline int CheckedStep(BitWindow& in, const HuffmanTable& ac, const int16_t* q,
                                                      int16_t* block, int k)
{
    if (const int fast = in.FastAc(ac)) return Put(block, q, k, fast >> 4 & 15, fast >> 8);
    const int rs = in.Decode(ac);
    const int r = rs >> 4, s = rs & 15;
    if (s) return Put(block, q, k, r, in.Receive(s));
    return r == 15 ? k + 16 : EndOfBlock;
}

// One block of a sequential scan from the window into a cleared block; see
// DecodeSequential. Each round tops the window up once (24 bits or more
// held, unless a marker or the buffer's end is near) and takes up to two
// small coefficients from the table without further checks, so that the
// branches taken depend little on how many bits happen to be held. Inlined
// where the window lives, so that its members stay in registers: through a
// reference they would be stored after every symbol, for an exception's
// sake.
__attribute__((always_inline)) inline void SequentialBlock(BitWindow& in, const SequentialTables& t, int16_t* block)
{
    const int16_t* q = t.q;
    const HuffmanTable& ac = *t.ac;
    const int diff = DcDifference(in, *t.dc);
    *t.predictor = Wrap16(uint32_t(*t.predictor) + uint32_t(diff) * uint32_t(q[0]));
    block[0] = *t.predictor;
    int k = 1;
    while (k < 64) {
        in.TopUp();
        if (in.Held() < 2 * LookBits) {
            k = CheckedStep(in, ac, q, block, k);
            continue;
        }
        int fast = in.TakeFastAc(ac);
        if (fast) {
            k = Put(block, q, k, fast >> 4 & 15, fast >> 8);
            if (k == 64) break;
            fast = in.TakeFastAc(ac);
            // On a miss the next round tops up again before the long way.
            if (fast) k = Put(block, q, k, fast >> 4 & 15, fast >> 8);
            continue;
        }
        // 16 bits or more held: enough for any code.
        const int rs = in.DecodeHeld(ac);
        const int r = rs >> 4, s = rs & 15;
        if (s) {
            k = Put(block, q, k, r, in.Receive(s));
        } else if (r == 15) {
            k += 16;
        } else {
            break;
        }
    }
}

}  // namespace

void DecodeSequentialMcu(BitReader& reader, const SequentialTables* const* tables, int count, int16_t* blocks)
{
    BitWindow in(reader);
    for (int i = 0; i < count; ++i) SequentialBlock(in, *tables[i], blocks + 64 * i);
}

void DecodeSequential(BitReader& reader, const SequentialTables& t, int16_t* block)
{
    const SequentialTables* const one = &t;
    ClearBlock(block);
    DecodeSequentialMcu(reader, &one, 1, block);
}

void DecodeDcFirst(BitReader& reader, const HuffmanTable& dc, int al, int16_t& pred, int16_t* block)
{
    BitWindow in(reader);
    const int diff = DcDifference(in, dc);
    pred = Wrap16(uint32_t(pred) + (uint32_t(diff) << al));
    block[0] = pred;
}

void DecodeDcRefine(BitReader& reader, int al, int16_t* block)
{
    BitWindow in(reader);
    if (in.Bit()) block[0] = Wrap16(uint32_t(block[0]) | 1u << al);
}

void DecodeAcFirst(BitReader& reader, const HuffmanTable& ac, int ss, int se, int al, int& eobRun, int16_t* block)
{
    if (eobRun > 0) {
        --eobRun;
        return;
    }
    BitWindow in(reader);
    for (int k = ss; k <= se;) {
        const int rs = in.Decode(ac);
        const int r = rs >> 4, s = rs & 15;
        if (s) {
            k = AfterRun(k, r, se);
            block[ZigZag[k]] = Wrap16(uint32_t(in.Receive(s)) << al);
            ++k;
        } else if (r == 15) {
            k += 16;
        } else {
            // This block ends the run of 2^r + extra blocks.
            eobRun = (1 << r) - 1;
            if (r) eobRun += int(in.Bits(r));
            break;
        }
    }
}

namespace {

// One correction bit for a coefficient already non-zero: when set, the bit
// of this pass is added away from zero.
void Correct(BitWindow& in, int16_t& coef, int p1)
{
    if (in.Bit()) coef = Wrap16(uint32_t(coef) + uint32_t(coef >= 0 ? p1 : -p1));
}

// Bit n set for each natural position n whose coefficient is not zero.
uint64_t NonZero(const int16_t* block)
{
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    uint64_t zeros = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * i + 8));
        const __m128i equal = _mm_packs_epi16(_mm_cmpeq_epi16(a, zero), _mm_cmpeq_epi16(b, zero));
        zeros |= uint64_t(unsigned(_mm_movemask_epi8(equal))) << (16 * i);
    }
    return ~zeros;
#else
    uint64_t bits = 0;
    for (int n = 0; n < 64; ++n)
        if (block[n]) bits |= uint64_t(1) << n;
    return bits;
#endif
}

// Natural positions of the zig-zag indices from k to 63.
struct TailTable {
    uint64_t from[65];
};

// The zig-zag path walked diagonal by diagonal (ZigZag, computed at compile
// time), each position added to the tails of every index up to its own.
constexpr TailTable MakeTails()
{
    TailTable t{};
    int k = 0;
    for (int d = 0; d < 15; ++d)
        for (int i = 0; i <= d; ++i) {
            const int row = d % 2 ? i : d - i, col = d - row;
            if (row > 7 || col > 7) continue;
            for (int j = 0; j <= k; ++j) t.from[j] |= uint64_t(1) << (8 * row + col);
            ++k;
        }
    return t;
}
constexpr TailTable Tails = MakeTails();

// Natural positions of the zig-zag indices from k to se.
uint64_t Band(int k, int se)
{
    return Tails.from[k] & ~Tails.from[se + 1];
}

}  // namespace

void DecodeAcRefine(BitReader& reader, const HuffmanTable& ac, int ss, int se, int al, int& eobRun, int16_t* block)
{
    BitWindow in(reader);
    const int p1 = 1 << al;
    int k = ss;
    if (eobRun == 0) {
        for (; k <= se; ++k) {
            const int rs = in.Decode(ac);
            int r = rs >> 4;
            int value = 0;
            if (rs & 15) {
                value = in.Bit() ? p1 : -p1;
            } else if (r != 15) {
                eobRun = 1 << r;
                if (r) eobRun += int(in.Bits(r));
                break;
            }
            // Passes r zero coefficients (correcting the non-zero ones met on
            // the way) and stops on the zero that takes the new value.
            for (; k <= se; ++k) {
                int16_t& coef = block[ZigZag[k]];
                if (coef != 0) {
                    Correct(in, coef, p1);
                } else {
                    if (r == 0) break;
                    --r;
                }
            }
            if (value) {
                if (k > se) throw EInvalidImage("JPEG: coefficient run past the end of the band");
                block[ZigZag[k]] = int16_t(value);
            }
        }
    }
    if (eobRun > 0) {
        // Inside an end-of-band run only the non-zero coefficients get bits;
        // the walk ends at the last of them rather than at the band's end.
        for (uint64_t left = NonZero(block) & Band(k, se); left; ++k) {
            const int n = ZigZag[k];
            if (left >> n & 1) {
                Correct(in, block[n], p1);
                left &= ~(uint64_t(1) << n);
            }
        }
        --eobRun;
    }
}

}  // namespace Jpg
