// Counting the distinct colours of a picture with a bit map of 64 KB: the
// 2^24 colours are taken in 32 passes, each pass marking the colours whose
// low five bits equal its key, so that a picture of any size is counted in
// fixed memory. The flag byte (selection, key, fill marks) is ignored.
#ifndef KESTREL_COLOUR_COUNT_H
#define KESTREL_COLOUR_COUNT_H

#include "buffer.h"

// Bytes of the bit map CountColors uses: 2^(24 - 5) bits.
const int ColourBitMapBytes = 1 << (24 - 5 - 3);

// Clears the bit map of 2^(24 - shift) bits, then marks the colours of
// count pixels whose low `shift` bits equal key; answers how many distinct
// ones it marked.
int CountNewColors(const unsigned long* pixels, unsigned char* bitmap, int count, unsigned long key, int shift);

// The number of distinct 24-bit colours of the picture's own rectangle (a
// view counts only what it shows); 0 when the bit map cannot be allocated.
int CountColors(const Buffer& picture);

#endif
