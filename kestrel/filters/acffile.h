// Custom filter files (.acf): exactly 27 signed 16-bit values, high byte
// first, no header: the 25 weights row by row, then the divisor, then the
// bias.
#ifndef KESTREL_ACFFILE_H
#define KESTREL_ACFFILE_H

#include <stddef.h>

#include "convolve.h"

const size_t AcfFileSize = 54;

void EncodeAcf(const ConvolveKernel& k, unsigned char out[AcfFileSize]);
// False for fewer than 54 bytes, and k is left as it was: a short file
// holds no complete grid. Div and Bias are brought into their ranges, as
// their spin edits would; weights are taken as they stand.
bool DecodeAcf(const unsigned char* data, size_t n, ConvolveKernel& k);

#endif
