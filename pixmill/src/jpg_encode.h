// JPEG writer, first stage: an 8x8 area of pixels becomes quantised
// coefficients of one, or three (Y, Cb, Cr), components.
//
// Coefficient blocks leave this stage in zig-zag order, the order in which
// every scan codes them.
#ifndef PIXMILL_JPG_ENCODE_H
#define PIXMILL_JPG_ENCODE_H

#include <stdint.h>

#include "buffer.h"

namespace JpgEncode {

// A quantisation table as the file holds it (zig-zag order) with what
// dividing by its entries needs.
struct QuantTable {
    unsigned char entry[64];
    uint32_t reciprocal[64];  // ceil(2^31 / entry): exact quotients for numerators below 2^16
};

// Scales an example table (zig-zag order, Jpg::LumaQuant or ChromaQuant) to
// quality 1..100 the customary way: 50 keeps it, 100 makes every entry 1.
void ScaleQuant(const unsigned char* example, int quality, QuantTable& q);

// The 8x8 area of b whose top-left corner is (x, y) of b's rect, rows of 8
// pixels; what lies beyond b's right or bottom edge is black.
void LoadArea(Buffer& b, int x, int y, unsigned long* area);

// Level-shifted samples (value - 128) of an area. Grey takes only luma.
void AreaToYCbCr(const unsigned long* area, int* y, int* cb, int* cr);
void AreaToGrey(const unsigned long* area, int* y);

// In place: 64 samples to coefficients with the scale of T.81's FDCT (a flat
// block of 1s gives DC 8). Samples must lie in -128..127.
void ForwardDCT(int* block);

// Coefficients (row-major) divided by the table, rounding half away from
// zero, in zig-zag order.
void Quantise(const int* block, const QuantTable& q, int16_t* zz);

}  // namespace JpgEncode

#endif
