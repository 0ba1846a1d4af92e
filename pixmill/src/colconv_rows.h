// Row converters shared by the format readers and writers (not exported).
//
// Pixels are the library's 0x00RRGGBB with the flag in the top byte; n counts
// pixels or values and n <= 0 does nothing. A source is never read beyond the
// bytes its n values occupy, and no converter writes beyond its n values.
//
// "Widens in place": the source may start at dst's address, or lie packed
// against the end of dst's n values (a file row read into the second part of
// the buffer row). Other overlaps are not supported. Unless a line says
// otherwise, source and destination must not overlap.
#ifndef PIXMILL_COLCONV_ROWS_H
#define PIXMILL_COLCONV_ROWS_H

#include <stdint.h>

namespace Colconv {

// First index and step of a loop that widens n values in place: a source
// starting at dst survives only a pass from the end, a source packed against
// the end of dst's row only a pass from the start. Each value must be read
// completely before its wider result is stored.
inline void WideningRange(const void* src, const void* dst, int n, int& first, int& step)
{
    bool backwards = reinterpret_cast<uintptr_t>(dst) >= reinterpret_cast<uintptr_t>(src);
    first = backwards ? n - 1 : 0;
    step = backwards ? -1 : 1;
}

// n pixels; the arrays may overlap in any way.
void CopyRGB32s(const unsigned long* src, unsigned long* dst, int n);

// Frame word of the oldest frame layout: below 0x4000 nibbles red, green, blue
// from bit 0, each times 17; from 0x4000 a marked pixel: red (w >> 8) - 64,
// green w & 0x7F, blue 0, flag 0x20 with bit 7 set, else 0x10.
unsigned long W444RGB32(unsigned short w);
// 2n bytes of little-endian 4-4-4 words to pixels; widens in place.
void W444RGB32s(const unsigned char* src, unsigned long* dst, int n);
// 5-5-5 word: red bits 10-14, green 5-9, blue 0-4, each v becomes (v << 3) | (v >> 2);
// bit 15 becomes the flag 0x01000000.
unsigned long W555RGB32(unsigned short w);
// 2n bytes of little-endian 5-5-5 words to pixels; widens in place.
void W555RGB32s(const unsigned char* src, unsigned long* dst, int n);
// A value read from bytes R, G, B, flag to a pixel with that flag.
unsigned long XBGR32RGB32(unsigned long v);

// One channel of a bit-field pixel.
struct BitField {
    unsigned long mask;  // the channel's bits in the file pixel
    int rotate;          // left rotation taking the mask's top bit to the top bit of the channel's byte
    int width;           // highest minus lowest set bit of the mask, plus 1; 0 for an empty mask
};
// masks red, green, blue to fields red, green, blue.
void AnalyseBitFields(const unsigned long masks[3], BitField fields[3]);
// 2n bytes of little-endian 16-bit pixels to pixels, flag 0: each channel
// masked, rotated into its byte and widened once as v | (v >> width) within
// the byte (exact for widths of 4 and more); widens in place.
void BitField16RGB32s(const unsigned char* src, unsigned long* dst, int n, const BitField fields[3]);

// n index bytes through a 256-entry pixel table; widens in place.
void LookupRGB32s(const unsigned char* src, unsigned long* dst, int n, const unsigned long* table);
// n bytes each of a red, a green and a blue row to pixels, flag 0.
void PlanesRGB32s(const unsigned char* r, const unsigned char* g, const unsigned char* b, unsigned long* dst,
                  int n);

// A bit plane is a row of n bits, most significant bit first: (n + 7) / 8 bytes.
// ORs mask into dst[i] for every set bit i of the plane.
void PlaneToBytes(const unsigned char* plane, unsigned char* dst, int n, unsigned char mask);
// ORs mask into dst[i] for every set bit i of the plane.
void PlaneToPixels(const unsigned char* plane, unsigned long* dst, int n, unsigned long mask);
// Bit i of the plane is set when src[i] & mask is non-zero; spare bits of the last byte are 0.
void BytesToPlane(const unsigned char* src, unsigned char* plane, int n, unsigned char mask);
// Bit i of the plane is set when src[i] & mask is non-zero; spare bits of the last byte are 0.
void PixelsToPlane(const unsigned long* src, unsigned char* plane, int n, unsigned long mask);

// (n + 3) / 4 bytes of 2-bit values, most significant first, to n bytes; widens in place.
void Unpack2(const unsigned char* src, unsigned char* dst, int n);
// (n + 1) / 2 bytes of nibbles, high first, to n bytes (odd n ends on a high nibble); widens in place.
void Unpack4(const unsigned char* src, unsigned char* dst, int n);
// Low 2 bits of n bytes, four to a byte, first value in the top bits, spare bits 0; dst may be src.
void Pack2(const unsigned char* src, unsigned char* dst, int n);
// Low nibbles of n bytes, two to a byte, first value high, spare nibble 0; dst may be src.
void Pack4(const unsigned char* src, unsigned char* dst, int n);

}  // namespace Colconv

#endif
