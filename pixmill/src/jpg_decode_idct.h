// Inverse transform of one JPEG block.
#ifndef PIXMILL_JPG_DECODE_IDCT_H
#define PIXMILL_JPG_DECODE_IDCT_H

#include <stdint.h>

namespace Jpg {

// 64 dequantised coefficients in natural order to 8x8 samples 0-255, row
// by row, stride bytes apart.
void InverseTransform(const int16_t* coefficients, unsigned char* out, int stride);

}  // namespace Jpg

#endif
