// The whole-MCU colour conversion of jpg_decode_colour.cpp in SSE2
// registers, eight pixels at a time: the table terms of the chroma samples
// computed (to the same values), added to the luma and clamped by a
// saturating pack, so the pixels are the same.
//
// The entry points realign their stack: 32-bit Windows promises only 4
// bytes, and spilled registers are stored with aligned moves.
#include "jpg_decode_colour.h"

#if defined(__SSE2__)

#include <emmintrin.h>
#include <stdint.h>

#include "jpg_decode_tables.h"

namespace Jpg {

namespace {

// Eight 16-bit values from eight bytes.
inline __m128i Widen(__m128i bytes)
{
    return _mm_unpacklo_epi8(bytes, _mm_setzero_si128());
}

// One colour table's entries for eight chroma values c - 128, given as
// (c - 128) << 7 in 16 bits, by 16-bit arithmetic: the high half of the
// product with factor, plus a bias of 2^(Shift - 1) times odd (1 for c >= 0,
// 3 for c < 0: the table truncates toward zero), shifted right by Shift.
// The factors were fitted to give every entry of the tables exactly; the
// test of the vector paths checks all 256 of each.
template <int Shift> inline __m128i Term(__m128i scaled, __m128i odd, int factor)
{
    const __m128i product = _mm_mulhi_epi16(scaled, _mm_set1_epi16(static_cast<short>(factor)));
    return _mm_srai_epi16(_mm_add_epi16(product, _mm_slli_epi16(odd, Shift - 1)), Shift);
}

// Eight chroma bytes as (c - 128) << 7: the bytes put in the high halves
// (c << 8), halved.
inline __m128i Scaled(const unsigned char* c)
{
    const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(c));
    const __m128i high = _mm_unpacklo_epi8(_mm_setzero_si128(), bytes);
    return _mm_sub_epi16(_mm_srli_epi16(high, 1), _mm_set1_epi16(128 << 7));
}

// 1 where the value is not negative, 3 where it is.
inline __m128i Odd(__m128i scaled)
{
    const __m128i negative = _mm_srai_epi16(scaled, 15);
    return _mm_sub_epi16(_mm_set1_epi16(1), _mm_add_epi16(negative, negative));
}

// The red, green and blue terms of eight chroma samples.
struct Terms {
    __m128i red, green, blue;
};

inline Terms LookUp(const unsigned char* cb, const unsigned char* cr)
{
    const __m128i b = Scaled(cb), r = Scaled(cr);
    const __m128i bOdd = Odd(b), rOdd = Odd(r);
    // 0.34414 * -1 + 0.5 is the one entry below zero that is not rounded up
    // (c - 128 = -1, scaled -128).
    const __m128i minusOne = _mm_cmpeq_epi16(b, _mm_set1_epi16(-128));
    const __m128i greenCb = _mm_andnot_si128(minusOne, Term<4>(b, bOdd, 2819));
    const __m128i greenCr = Term<1>(r, rOdd, 731);
    Terms t;
    t.red = Term<3>(r, rOdd, 5743);
    t.green = _mm_sub_epi16(_mm_setzero_si128(), _mm_add_epi16(greenCb, greenCr));
    t.blue = Term<5>(b, bOdd, 29033);
    return t;
}

// Eight pixels from eight luma values and the terms serving each.
inline void Put8(__m128i y, __m128i red, __m128i green, __m128i blue, unsigned long* dst)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i r = _mm_packus_epi16(_mm_add_epi16(y, red), zero);
    const __m128i g = _mm_packus_epi16(_mm_add_epi16(y, green), zero);
    const __m128i b = _mm_packus_epi16(_mm_add_epi16(y, blue), zero);
    const __m128i bg = _mm_unpacklo_epi8(b, g), r0 = _mm_unpacklo_epi8(r, zero);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_unpacklo_epi16(bg, r0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4), _mm_unpackhi_epi16(bg, r0));
}

// Each chroma row serves 1 << VShift luma rows; with HShift each term is
// doubled to serve two pixels side by side.
template <int HShift, int VShift>
__attribute__((force_align_arg_pointer)) void ColourMcuSse2(const McuSamples& s, unsigned long* dst, int stride)
{
    for (int cy = 0; cy < 8; ++cy) {
        const Terms t = LookUp(s.cb + 8 * cy, s.cr + 8 * cy);
        const __m128i red = t.red, green = t.green, blue = t.blue;
        for (int dy = 0; dy <= VShift; ++dy) {
            const int row = (cy << VShift) + dy;
            const unsigned char* luma = s.y + row * LumaStride;
            unsigned long* out = dst + row * stride;
            if (HShift == 0) {
                Put8(Widen(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(luma))), red, green, blue, out);
                continue;
            }
            const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(luma));
            Put8(Widen(y), _mm_unpacklo_epi16(red, red), _mm_unpacklo_epi16(green, green),
                 _mm_unpacklo_epi16(blue, blue), out);
            Put8(_mm_unpackhi_epi8(y, _mm_setzero_si128()), _mm_unpackhi_epi16(red, red),
                 _mm_unpackhi_epi16(green, green), _mm_unpackhi_epi16(blue, blue), out + 8);
        }
    }
}

__attribute__((force_align_arg_pointer)) void GreyMcuSse2(const McuSamples& s, unsigned long* dst, int stride)
{
    for (int y = 0; y < 8; ++y, dst += stride) {
        const __m128i luma = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s.y + y * LumaStride));
        const __m128i twice = _mm_unpacklo_epi8(luma, luma), once = Widen(luma);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_unpacklo_epi16(twice, once));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4), _mm_unpackhi_epi16(twice, once));
    }
}

}  // namespace

McuConverter McuConverterSse2(int components, int hShift, int vShift)
{
    if (components == 1) return GreyMcuSse2;
    if (hShift == 0) return ColourMcuSse2<0, 0>;
    return vShift ? ColourMcuSse2<1, 1> : ColourMcuSse2<1, 0>;
}

}  // namespace Jpg

#endif
