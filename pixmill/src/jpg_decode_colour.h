// Samples of one decoded JPEG MCU and their conversion to pixels.
#ifndef PIXMILL_JPG_DECODE_COLOUR_H
#define PIXMILL_JPG_DECODE_COLOUR_H

namespace Jpg {

// Luma rows are 16 bytes apart whatever the MCU's width; each chroma
// component is one 8x8 block.
const int LumaStride = 16;
struct McuSamples {
    unsigned char y[LumaStride * 16];
    unsigned char cb[64];
    unsigned char cr[64];
};

// Converts n pixels of the MCU's row y, from its column x, to 0x00RRGGBB.
typedef void (*RowConverter)(const McuSamples& s, int x, int y, int n, unsigned long* dst);
// Converts the whole MCU into rows stride pixels apart from dst.
typedef void (*McuConverter)(const McuSamples& s, unsigned long* dst, int stride);

// Grey for one component; else YCbCr with chroma replicated over the luma
// sampling (hShift, vShift: H - 1 and V - 1, each 0 or 1). Both kinds give
// the same pixels; the second serves MCUs that lie wholly in the picture.
RowConverter ConverterFor(int components, int hShift, int vShift);
McuConverter McuConverterFor(int components, int hShift, int vShift);

// The scalar MCU converters, and (where SSE2 is built in) the same in SSE2
// registers; McuConverterFor gives the latter when the vector paths are on.
McuConverter ScalarMcuConverter(int components, int hShift, int vShift);
#if defined(__SSE2__)
McuConverter McuConverterSse2(int components, int hShift, int vShift);
#endif

}  // namespace Jpg

#endif
