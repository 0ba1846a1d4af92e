// A zlib stream wrapped in PNG IDAT chunks, as the inflater reads it: the
// inflate fuzz targets build their input streams with these.
#ifndef KESTREL_FUZZ_IDAT_CHUNKS_H
#define KESTREL_FUZZ_IDAT_CHUNKS_H

#include <stddef.h>
#include <stdint.h>

#include "crc32.h"
#include "streams.h"

namespace idat_chunks {

inline void Put32(TMemoryStream& m, uint32_t v)
{
    const unsigned char b[4] = {static_cast<unsigned char>(v >> 24), static_cast<unsigned char>(v >> 16),
                                static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
    m.Write(b, 4);
}

inline void PutChunk(TMemoryStream& m, const char* type, const uint8_t* data, size_t n)
{
    Put32(m, uint32_t(n));
    m.Write(type, 4);
    if (n) m.Write(data, int(n));
    Put32(m, Crc32(Crc32(0, type, 4), data, n));
}

// The stream as IDAT chunks of piece bytes (0 = one chunk), then IEND.
inline void Chunked(TMemoryStream& m, const uint8_t* data, size_t size, size_t piece)
{
    if (piece == 0 || piece >= size) {
        PutChunk(m, "IDAT", data, size);
    } else {
        for (size_t at = 0; at < size; at += piece) PutChunk(m, "IDAT", data + at, size - at < piece ? size - at : piece);
    }
    PutChunk(m, "IEND", nullptr, 0);
}

}  // namespace idat_chunks

#endif
