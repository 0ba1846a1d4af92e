// The whole-MCU colour conversion of jpg_decode_colour.cpp in SSE2
// registers. The table terms of each chroma sample are looked up once, as
// the scalar code does; adding them to the luma and clamping (a saturating
// pack) is then done eight pixels at a time, so the pixels are the same.
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

// Red, green and blue terms of the MCU's 64 chroma samples.
struct Terms {
    int16_t red[64], green[64], blue[64];
};

void LookUp(const McuSamples& s, Terms& t)
{
    for (int i = 0; i < 64; ++i) {
        const int cb = s.cb[i], cr = s.cr[i];
        t.red[i] = Colour.red[cr];
        t.green[i] = static_cast<int16_t>(-Colour.greenCb[cb] - Colour.greenCr[cr]);
        t.blue[i] = Colour.blue[cb];
    }
}

inline __m128i Load8(const int16_t* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Eight 16-bit values from eight bytes.
inline __m128i Widen(__m128i bytes)
{
    return _mm_unpacklo_epi8(bytes, _mm_setzero_si128());
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
    Terms t;
    LookUp(s, t);
    for (int cy = 0; cy < 8; ++cy) {
        const __m128i red = Load8(t.red + 8 * cy), green = Load8(t.green + 8 * cy), blue = Load8(t.blue + 8 * cy);
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
