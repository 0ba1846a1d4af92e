// YCbCr to RGB of decoded JPEG samples, table-driven. Chroma is upsampled by
// replication (no interpolation): with 2x1 luma sampling each chroma sample
// serves two pixels side by side, with 2x2 a square of four.
#include "jpg_decode_colour.h"

#include "jpg_decode_tables.h"

namespace Jpg {

namespace {

inline unsigned long Pixel(int y, int cb, int cr)
{
    const unsigned char* clamp = RangeLimit;
    unsigned long b = clamp[y + Colour.blue[cb]];
    unsigned long g = clamp[y - Colour.greenCb[cb] - Colour.greenCr[cr]];
    unsigned long r = clamp[y + Colour.red[cr]];
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
        dst[i] = Pixel(luma[i], cb[c], cr[c]);
    }
}

}  // namespace

RowConverter ConverterFor(int components, int hShift, int vShift)
{
    if (components == 1) return GreyRow;
    if (hShift == 0) return ColourRow<0, 0>;
    return vShift ? ColourRow<1, 1> : ColourRow<1, 0>;
}

}  // namespace Jpg
