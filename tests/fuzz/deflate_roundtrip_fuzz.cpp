// Fuzzes the compressor: any bytes, fed in pieces of a size the first byte
// chooses, come back unchanged through the inflater, and the checksum the
// compressor reports is that of the IDAT data it wrote.
#include <stddef.h>
#include <stdint.h>

#include <memory>
#include <vector>

#include "crc32.h"
#include "deflate.h"
#include "exceptions.h"
#include "idat_chunks.h"
#include "inflate.h"
#include "streams.h"

namespace {

using idat_chunks::Chunked;

void RoundTrip(const uint8_t* data, size_t size, size_t piece)
{
    TMemoryStream m;
    uint32_t crc;
    {
        Deflater z(&m);
        for (size_t at = 0; at < size; at += piece + 1) z.Put(data + at, size - at < piece + 1 ? size - at : piece + 1);
        crc = z.Finish();
    }
    const uint8_t* packed = static_cast<const uint8_t*>(m.GetMemory());
    if (Crc32(Crc32(0, "IDAT", 4), packed, size_t(m.GetSize())) != crc) __builtin_trap();
    TMemoryStream c;
    Chunked(c, packed, size_t(m.GetSize()), 0);
    c.SetPosition(8);
    std::unique_ptr<Inflater> in(new Inflater(&c, uint32_t(m.GetSize())));
    in->ReadZlibHeader();
    std::vector<unsigned char> back(size);
    if (size) in->Read(back.data(), size);
    in->Finish();
    for (size_t i = 0; i < size; ++i)
        if (back[i] != data[i]) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0 || size > (1u << 20)) return 0;
    RoundTrip(data + 1, size - 1, size_t(data[0]));
    return 0;
}
