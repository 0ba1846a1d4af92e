// Check values of the picture file formats: the CRC-32 that guards every PNG
// chunk and the Adler-32 that ends a zlib stream.
#ifndef PIXMILL_CRC32_H
#define PIXMILL_CRC32_H

#include <stddef.h>
#include <stdint.h>

// Continues a finished CRC-32 (polynomial 0xEDB88320, pre- and post-inverted)
// over n more bytes; start with 0. Crc32(Crc32(0, a), b) equals the CRC of a
// followed by b.
uint32_t Crc32(uint32_t crc, const void* data, size_t n);

// Continues an Adler-32 (s2 << 16 | s1) over n more bytes; start with 1.
uint32_t Adler32(uint32_t adler, const void* data, size_t n);

#endif
