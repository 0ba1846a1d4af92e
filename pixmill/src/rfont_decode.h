// Version-2 glyph data of raster fonts: gap-coded ink bits under a canonical
// prefix code, then rows XOR-filtered against the row above.
#ifndef PIXMILL_RFONT_DECODE_H
#define PIXMILL_RFONT_DECODE_H

#include <stddef.h>

// Fills store (storeSize bytes) from a DATA chunk. Damaged data (a code
// description that is incomplete or overfull, a stream that ends before the
// store is full) raises EInvalidImage; no write ever leaves the store.
void DecodeGlyphData(const unsigned char* data, size_t size, unsigned char* store, size_t storeSize,
                     int rowBytes);

#endif
