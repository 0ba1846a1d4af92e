// What the deflate format (RFC 1951) fixes for both of its sides, the
// deflater that writes PNG image data and the inflater that reads it.
#ifndef PIXMILL_DEFLATE_TABLES_H
#define PIXMILL_DEFLATE_TABLES_H

#include <stdint.h>

// Symbols of the three codes a dynamic block defines: literals, the end of
// block and the 29 lengths (257 to 285); distances; code lengths.
const int LitLenSymbols = 286;
const int DistanceSymbols = 30;
const int CodeLengthSymbols = 19;

// Length symbol 257 + i stands for LengthBase[i] plus LengthExtra[i] more
// bits read after it; distance symbol i likewise. Inline, so that both
// sides share one copy and still see the values when compiling.
inline constexpr uint16_t LengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                            31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
inline constexpr unsigned char LengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
inline constexpr uint16_t DistanceBase[DistanceSymbols] = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
inline constexpr unsigned char DistanceExtra[DistanceSymbols] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                                 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which a dynamic block lists the code-length code's lengths.
inline constexpr unsigned char CodeLengthOrder[CodeLengthSymbols] = {16, 17, 18, 0,  8, 7,  9, 6,  10, 5,
                                                                     11, 4,  12, 3, 13, 2, 14, 1, 15};

#endif
