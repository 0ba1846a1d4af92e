// Constant tables of the JPEG coder (ITU T.81): the zig-zag order, the
// example quantisation and Huffman tables of its Annex K, the range limit
// and the YCbCr to RGB tables. The writer uses the first four too.
#ifndef PIXMILL_JPG_DECODE_TABLES_H
#define PIXMILL_JPG_DECODE_TABLES_H

#include <stdint.h>

namespace Jpg {

// Natural (row-major) position of the k-th coefficient in zig-zag order.
extern const unsigned char ZigZag[64];

// Annex K.1 and K.2 quantisation tables, in zig-zag order as files store them.
extern const unsigned char LumaQuant[64];
extern const unsigned char ChromaQuant[64];

// A Huffman table as a DHT segment holds it: code counts per length 1-16, then
// the symbols in code order.
struct HuffmanSpec {
    const unsigned char* counts;
    const unsigned char* symbols;
    int symbolCount;
};
// Annex K.3 (DC) and K.5 (AC) tables.
extern const HuffmanSpec DcLuma, DcChroma, AcLuma, AcChroma;

// Clamp of a sample: RangeLimit[i] is 0 for i < 0, i for 0-255, 255 for
// 256-511; defined for i from -256 to 511. RangeLimit + 128 turns an
// inverse-transform output (sample - 128) into a sample.
extern const unsigned char* const RangeLimit;

// YCbCr to RGB: k * (i - 128) + 0.5 truncated toward zero, so entries 127
// and 128 are both 0 (red from Cr, blue from Cb, and the two green parts).
struct ColourTables {
    int16_t red[256];      // 1.402
    int16_t greenCb[256];  // 0.34414
    int16_t greenCr[256];  // 0.71414
    int16_t blue[256];     // 1.772
};
extern const ColourTables Colour;

}  // namespace Jpg

#endif
