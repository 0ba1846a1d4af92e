// The inverse transform of jpg_decode_idct.cpp, eight rows at a time in SSE2
// registers. It computes the very same formula in 32-bit lanes with the same
// wrapping products, so for every block whose values fit the ranges 8-bit
// samples give (both passes' results within 16 bits) the samples are
// identical; beyond that (crafted data only) results saturate instead of
// wrapping.
//
// SSE2 has no 32-bit multiply: products of the 16-bit inputs are made by
// _mm_madd_epi16, those of 32-bit intermediates from 16-bit products:
// (hi * 2^16 + lo) * k = lo * k + ((hi * k) << 16) modulo 2^32.
//
// The entry point realigns its stack: 32-bit Windows promises only 4 bytes,
// and spilled registers are stored with aligned moves.
#include "jpg_decode_idct.h"

#if defined(__SSE2__)

#include <emmintrin.h>

namespace Jpg {

namespace {

// v * k modulo 2^32 in each lane, 0 <= k < 65536.
inline __m128i Mul(__m128i v, int k)
{
    const __m128i factor = _mm_set1_epi16(static_cast<short>(k));
    const __m128i low = _mm_mullo_epi16(v, factor);
    const __m128i carry = _mm_mulhi_epu16(v, factor);
    return _mm_add_epi32(low, _mm_slli_epi32(carry, 16));
}

inline __m128i Add(__m128i a, __m128i b)
{
    return _mm_add_epi32(a, b);
}

inline __m128i Sub(__m128i a, __m128i b)
{
    return _mm_sub_epi32(a, b);
}

inline bool Zero(__m128i v)
{
    return _mm_movemask_epi8(_mm_cmpeq_epi16(v, _mm_setzero_si128())) == 0xFFFF;
}

// Lanes 0-3 (High false) or 4-7 of a and b, interleaved: with a zero, the
// 16-bit values of b as 32-bit values shifted left 16.
template <bool High> inline __m128i Interleave(__m128i a, __m128i b)
{
    return High ? _mm_unpackhi_epi16(a, b) : _mm_unpacklo_epi16(a, b);
}

// Factors for _mm_madd_epi16 on interleaved pairs: a for the first, b for
// the second.
inline __m128i Factors(int a, int b)
{
    return _mm_set_epi16(static_cast<short>(b), static_cast<short>(a), static_cast<short>(b), static_cast<short>(a),
                         static_cast<short>(b), static_cast<short>(a), static_cast<short>(b), static_cast<short>(a));
}

// a and b (32-bit lanes, each within 16 bits) as the pairs _mm_madd_epi16
// takes: a in the low half of each lane, b in the high.
inline __m128i Pairs(__m128i a, __m128i b)
{
    return _mm_or_si128(_mm_and_si128(a, _mm_set1_epi32(0xFFFF)), _mm_slli_epi32(b, 16));
}

// Four rows, one per lane (rows 0-3 of x, or 4-7 with High): inputs x[k]
// hold input k of every row as 16 bits; outputs y[0..7] as 32 bits, each
// shifted right 17 after its rounding term, as the scalar row does. The
// products of 16-bit inputs by factors of 2^15 and more are split:
// v * 46341 = (v << 16) - v * 19195, v * 60547 = (v << 16) - v * 4989.
// Small: u, w, e and v are known to fit 16 bits (see SmallBlock), so their
// products are made pairwise too, to the same values. Narrow: inputs 4-7
// are zero, so their terms are left out (x[4..7] are not read).
template <bool High, bool Small, bool Narrow> inline void Rows(const __m128i* x, __m128i* y)
{
    const __m128i zero = _mm_setzero_si128();
    // The outputs' rounding term rides on x0, which reaches every output
    // once through g or l.
    const __m128i x0 = Add(Interleave<High>(zero, x[0]), _mm_set1_epi32(0x10000));
    const __m128i x2 = Interleave<High>(zero, x[2]);
    const __m128i x3 = Interleave<High>(zero, x[3]);
    const __m128i t = _mm_srai_epi32(Interleave<High>(zero, x[1]), 14);  // x1 << 2
    const __m128i half14 = _mm_set1_epi32(8192);
    __m128i a0, a1, gf, lh, u, w, v, e;
    if (Narrow) {
        // f = x2 * 60547, h = x2 * 25080, g = l = x0 * 46341; c = d.
        const __m128i p02 = Interleave<High>(x[0], x[2]);
        a0 = Add(_mm_madd_epi16(p02, Factors(-19195, -4989)), Add(x0, x2));
        gf = Add(_mm_madd_epi16(p02, Factors(-19195, 4989)), Sub(x0, x2));
        a1 = Add(_mm_madd_epi16(p02, Factors(-19195, 25080)), x0);
        lh = Add(_mm_madd_epi16(p02, Factors(-19195, -25080)), x0);
        const __m128i p3 = Interleave<High>(x[3], zero);
        const __m128i c = _mm_srai_epi32(Add(_mm_madd_epi16(p3, Factors(-19195, 0)), Add(x3, half14)), 14);
        u = Add(t, c);
        e = Sub(t, c);
        w = c;
        v = Sub(zero, c);
    } else {
        const __m128i x4 = Interleave<High>(zero, x[4]), x5 = Interleave<High>(zero, x[5]);
        const __m128i x6 = Interleave<High>(zero, x[6]);
        const __m128i p26 = Interleave<High>(x[2], x[6]), p04 = Interleave<High>(x[0], x[4]);
        const __m128i p35 = Interleave<High>(x[3], x[5]);
        const __m128i f = Add(_mm_madd_epi16(p26, Factors(-4989, 25080)), x2);
        const __m128i h = Sub(_mm_madd_epi16(p26, Factors(25080, 4989)), x6);
        const __m128i g = Add(_mm_madd_epi16(p04, Factors(-19195, -19195)), Add(x0, x4));
        const __m128i l = Add(_mm_madd_epi16(p04, Factors(-19195, 19195)), Sub(x0, x4));
        a0 = Add(f, g);
        a1 = Add(h, l);
        gf = Sub(g, f);
        lh = Sub(l, h);
        const __m128i r = _mm_srai_epi32(Interleave<High>(zero, x[7]), 14);
        const __m128i x3h = Add(x3, half14);
        const __m128i c = _mm_srai_epi32(Add(_mm_madd_epi16(p35, Factors(-19195, -19195)), Add(x3h, x5)), 14);
        const __m128i d = _mm_srai_epi32(Add(_mm_madd_epi16(p35, Factors(-19195, 19195)), Sub(x3h, x5)), 14);
        u = Add(t, c);
        w = Add(r, d);
        v = Sub(r, d);
        e = Sub(t, c);
    }
    __m128i b, bb, p, q;
    if (Small) {
        const __m128i uw = Pairs(u, w), ev = Pairs(e, v);
        b = _mm_madd_epi16(uw, Factors(16069, 3196));
        bb = _mm_madd_epi16(uw, Factors(3196, -16069));
        p = _mm_madd_epi16(ev, Factors(9102, 13623));
        q = _mm_madd_epi16(ev, Factors(13623, -9102));
    } else {
        b = Add(Mul(u, 16069), Mul(w, 3196));
        bb = Sub(Mul(u, 3196), Mul(w, 16069));
        p = Add(Mul(e, 9102), Mul(v, 13623));
        q = Sub(Mul(e, 13623), Mul(v, 9102));
    }
    y[0] = _mm_srai_epi32(Add(a0, b), 17);
    y[1] = _mm_srai_epi32(Add(a1, q), 17);
    y[2] = _mm_srai_epi32(Add(lh, p), 17);
    y[3] = _mm_srai_epi32(Add(gf, bb), 17);
    y[4] = _mm_srai_epi32(Sub(gf, bb), 17);
    y[5] = _mm_srai_epi32(Sub(lh, p), 17);
    y[6] = _mm_srai_epi32(Sub(a1, q), 17);
    y[7] = _mm_srai_epi32(Sub(a0, b), 17);
}

// Rows of 8 16-bit values become columns.
inline void Transpose(__m128i* m)
{
    const __m128i a0 = _mm_unpacklo_epi16(m[0], m[1]), a1 = _mm_unpackhi_epi16(m[0], m[1]);
    const __m128i a2 = _mm_unpacklo_epi16(m[2], m[3]), a3 = _mm_unpackhi_epi16(m[2], m[3]);
    const __m128i a4 = _mm_unpacklo_epi16(m[4], m[5]), a5 = _mm_unpackhi_epi16(m[4], m[5]);
    const __m128i a6 = _mm_unpacklo_epi16(m[6], m[7]), a7 = _mm_unpackhi_epi16(m[6], m[7]);
    const __m128i b0 = _mm_unpacklo_epi32(a0, a2), b1 = _mm_unpackhi_epi32(a0, a2);
    const __m128i b2 = _mm_unpacklo_epi32(a1, a3), b3 = _mm_unpackhi_epi32(a1, a3);
    const __m128i b4 = _mm_unpacklo_epi32(a4, a6), b5 = _mm_unpackhi_epi32(a4, a6);
    const __m128i b6 = _mm_unpacklo_epi32(a5, a7), b7 = _mm_unpackhi_epi32(a5, a7);
    m[0] = _mm_unpacklo_epi64(b0, b4);
    m[1] = _mm_unpackhi_epi64(b0, b4);
    m[2] = _mm_unpacklo_epi64(b1, b5);
    m[3] = _mm_unpackhi_epi64(b1, b5);
    m[4] = _mm_unpacklo_epi64(b2, b6);
    m[5] = _mm_unpackhi_epi64(b2, b6);
    m[6] = _mm_unpacklo_epi64(b3, b7);
    m[7] = _mm_unpackhi_epi64(b3, b7);
}

// The same when lanes 4-7 of every row are zero: only columns 0-3 (the new
// m[0..3]) are made; m[4..7] are left as they were.
inline void TransposeLeft(__m128i* m)
{
    const __m128i a0 = _mm_unpacklo_epi16(m[0], m[1]), a2 = _mm_unpacklo_epi16(m[2], m[3]);
    const __m128i a4 = _mm_unpacklo_epi16(m[4], m[5]), a6 = _mm_unpacklo_epi16(m[6], m[7]);
    const __m128i b0 = _mm_unpacklo_epi32(a0, a2), b1 = _mm_unpackhi_epi32(a0, a2);
    const __m128i b4 = _mm_unpacklo_epi32(a4, a6), b5 = _mm_unpackhi_epi32(a4, a6);
    m[0] = _mm_unpacklo_epi64(b0, b4);
    m[1] = _mm_unpackhi_epi64(b0, b4);
    m[2] = _mm_unpacklo_epi64(b1, b5);
    m[3] = _mm_unpackhi_epi64(b1, b5);
}

// One pass over the rows of m (16-bit): row r of m is transformed, and
// output i of every row is gathered in m[i] (row r in lane r), saturated to
// 16 bits. Upper: rows 4-7 are zero, and so are their outputs. Narrow:
// lanes 4-7 of every row are zero (inputs 4-7 of each row).
template <bool Small, bool Upper, bool Narrow> inline void Pass(__m128i* m)
{
    if (Narrow)
        TransposeLeft(m);
    else
        Transpose(m);
    __m128i yLow[8], yHigh[8];
    Rows<false, Small, Narrow>(m, yLow);
    if (Upper) {
        for (int i = 0; i < 8; ++i) m[i] = _mm_packs_epi32(yLow[i], _mm_setzero_si128());
        return;
    }
    Rows<true, Small, Narrow>(m, yHigh);
    for (int i = 0; i < 8; ++i) m[i] = _mm_packs_epi32(yLow[i], yHigh[i]);
}

// Both passes of a block of DC alone: one sample, as the full formula gives.
inline unsigned char FlatSample(int16_t dc)
{
    const int32_t once = int32_t(uint32_t(dc) * 46341u + 0x10000u) >> 17;
    const int32_t twice = int32_t(uint32_t(once) * 46341u + 0x10000u) >> 17;
    const int s = int16_t(uint16_t(twice)) + 128;
    return static_cast<unsigned char>(s < 0 ? 0 : s > 255 ? 255 : s);
}

// True when no coefficient exceeds SmallLimit in magnitude. Then in the
// first pass |u|, |w|, |e|, |v| <= 4x + 2 * 46341 / 2^14 x + 1 < 9.66x + 1,
// and every output is at most (85627 + 92682 + 22725 * (9.66x + 1)) / 2^17
// + 1 < 3.04x + 2; in the second pass the same terms stay below
// 9.66 * (3.04x + 2) + 1, under 2^15 for x up to 1100. The dequantised
// coefficients of real pictures stay well within it.
const int SmallLimit = 1100;

// Rows is 4 when rows 4-7 are known to be zero.
template <int Rows> inline bool SmallBlock(const __m128i* m)
{
    __m128i high = m[0], low = m[0];
    for (int r = 1; r < Rows; ++r) {
        high = _mm_max_epi16(high, m[r]);
        low = _mm_min_epi16(low, m[r]);
    }
    const __m128i over = _mm_or_si128(_mm_cmpgt_epi16(high, _mm_set1_epi16(SmallLimit)),
                                      _mm_cmplt_epi16(low, _mm_set1_epi16(-SmallLimit)));
    return _mm_movemask_epi8(over) == 0;
}

// Both passes; Small as for Rows. Upper: rows 4-7 of the block are zero, as
// they are in most blocks of photographs; so are their outputs in pass 1,
// and so inputs 4-7 of every row of pass 2. (Zero columns 4-7 would narrow
// pass 1 the same way, but testing for them cost more than it saved.)
template <bool Small, bool Upper> inline void Passes(__m128i* m)
{
    Pass<Small, Upper, false>(m);
    Pass<Small, false, Upper>(m);
}

template <bool Upper> inline void TransformBlock(__m128i* m)
{
    if (SmallBlock<Upper ? 4 : 8>(m))
        Passes<true, Upper>(m);
    else
        Passes<false, Upper>(m);
}

}  // namespace

__attribute__((force_align_arg_pointer)) void InverseTransformSse2(const int16_t* coefficients, unsigned char* out,
                                                                   int stride)
{
    __m128i m[8];
    for (int r = 0; r < 8; ++r) m[r] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(coefficients + 8 * r));
    // A block of DC alone, common in smooth areas, is one sample.
    const __m128i lower = _mm_or_si128(_mm_or_si128(m[4], m[5]), _mm_or_si128(m[6], m[7]));
    const __m128i notDc = _mm_set_epi16(-1, -1, -1, -1, -1, -1, -1, 0);
    const __m128i upperAc = _mm_or_si128(_mm_or_si128(_mm_and_si128(m[0], notDc), m[1]), _mm_or_si128(m[2], m[3]));
    if (Zero(_mm_or_si128(upperAc, lower))) {
        const __m128i s = _mm_set1_epi8(static_cast<char>(FlatSample(coefficients[0])));
        for (int j = 0; j < 8; ++j) _mm_storel_epi64(reinterpret_cast<__m128i*>(out + j * stride), s);
        return;
    }
    // Pass 1 leaves output i of input row r at m[i], lane r: the block
    // transposed, as the scalar work block holds it. Pass 2 transforms its
    // rows and so restores the orientation.
    if (Zero(lower))
        TransformBlock<true>(m);
    else
        TransformBlock<false>(m);
    const __m128i offset = _mm_set1_epi16(128);
    for (int j = 0; j < 8; ++j) {
        const __m128i samples = _mm_adds_epi16(m[j], offset);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + j * stride), _mm_packus_epi16(samples, samples));
    }
}

}  // namespace Jpg

#endif
