// YCbCr to RGB of decoded JPEG samples, table-driven. Chroma is upsampled by
// replication (no interpolation): with 2x1 luma sampling each chroma sample
// serves two pixels side by side, with 2x2 a square of four. The table terms
// of a chroma pair are looked up once for all the pixels it serves.
#include "jpg_decode_colour.h"

#include "jpg_decode_paths.h"
#include "jpg_decode_tables.h"

namespace Jpg {

namespace {

// The table terms of one chroma pair.
struct Chroma {
    int red, green, blue;
};

inline Chroma Terms(int cb, int cr)
{
    return Chroma{Colour.red[cr], -Colour.greenCb[cb] - Colour.greenCr[cr], Colour.blue[cb]};
}

inline unsigned long Pixel(int y, const Chroma& c)
{
    const unsigned char* clamp = RangeLimit;
    const unsigned long r = clamp[y + c.red], g = clamp[y + c.green], b = clamp[y + c.blue];
    return r << 16 | g << 8 | b;
}

void GreyRow(const McuSamples& s, int x, int y, int n, unsigned long* dst)
{
    const unsigned char* luma = s.y + y * LumaStride + x;
    for (int i = 0; i < n; ++i) dst[i] = luma[i] * 0x010101ul;
}

template <int HShift, int VShift> void ColourRow(const McuSamples& s, int x, int y, int n, unsigned long* dst)
{
    const unsigned char* luma = s.y + y * LumaStride + x;
    const unsigned char* cb = s.cb + (y >> VShift) * 8;
    const unsigned char* cr = s.cr + (y >> VShift) * 8;
    for (int i = 0; i < n; ++i) {
        const int c = (x + i) >> HShift;
        dst[i] = Pixel(luma[i], Terms(cb[c], cr[c]));
    }
}

void GreyMcu(const McuSamples& s, unsigned long* dst, int stride)
{
    for (int y = 0; y < 8; ++y, dst += stride)
        for (int x = 0; x < 8; ++x) dst[x] = s.y[y * LumaStride + x] * 0x010101ul;
}

// Each chroma sample's terms serve a (1 << HShift) x (1 << VShift) square.
template <int HShift, int VShift> void ColourMcu(const McuSamples& s, unsigned long* dst, int stride)
{
    for (int cy = 0; cy < 8; ++cy) {
        const unsigned char* luma = s.y + (cy << VShift) * LumaStride;
        unsigned long* out = dst + (cy << VShift) * stride;
        for (int cx = 0; cx < 8; ++cx) {
            const Chroma c = Terms(s.cb[cy * 8 + cx], s.cr[cy * 8 + cx]);
            const int x = cx << HShift;
            out[x] = Pixel(luma[x], c);
            if (HShift) out[x + 1] = Pixel(luma[x + 1], c);
            if (VShift) {
                out[stride + x] = Pixel(luma[LumaStride + x], c);
                if (HShift) out[stride + x + 1] = Pixel(luma[LumaStride + x + 1], c);
            }
        }
    }
}

}  // namespace

RowConverter ConverterFor(int components, int hShift, int vShift)
{
    if (components == 1) return GreyRow;
    if (hShift == 0) return ColourRow<0, 0>;
    return vShift ? ColourRow<1, 1> : ColourRow<1, 0>;
}

McuConverter ScalarMcuConverter(int components, int hShift, int vShift)
{
    if (components == 1) return GreyMcu;
    if (hShift == 0) return ColourMcu<0, 0>;
    return vShift ? ColourMcu<1, 1> : ColourMcu<1, 0>;
}

McuConverter McuConverterFor(int components, int hShift, int vShift)
{
#if defined(__SSE2__)
    if (VectorPaths()) return McuConverterSse2(components, hShift, vShift);
#endif
    return ScalarMcuConverter(components, hShift, vShift);
}

}  // namespace Jpg
