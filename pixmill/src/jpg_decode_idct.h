// Inverse transform of one JPEG block.
#ifndef PIXMILL_JPG_DECODE_IDCT_H
#define PIXMILL_JPG_DECODE_IDCT_H

#include <stdint.h>

namespace Jpg {

// 64 dequantised coefficients in natural order to 8x8 samples 0-255, row
// by row, stride bytes apart.
void InverseTransform(const int16_t* coefficients, unsigned char* out, int stride);

#if defined(__SSE2__)
// The same in SSE2 registers: the same samples for every block of a stream
// of 8-bit samples.
void InverseTransformSse2(const int16_t* coefficients, unsigned char* out, int stride);
#endif

typedef void (*Transform)(const int16_t* coefficients, unsigned char* out, int stride);

// The SSE2 transform when the vector paths are on (see jpg_decode_paths.h),
// else the scalar one.
Transform ChosenTransform();

}  // namespace Jpg

#endif
