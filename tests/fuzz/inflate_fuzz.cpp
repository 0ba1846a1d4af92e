// Fuzzes the inflater: any bytes, taken as a zlib stream spread over IDAT
// chunks of sizes the first byte chooses, give bytes or a library exception.
// The same bytes compressed by the library must come back unchanged (for a
// quarter of the inputs: the compressor's 700 KB of state per run would
// otherwise take most of the time).
#include <stddef.h>
#include <stdint.h>

#include <memory>
#include <vector>

#include "crc32.h"
#include "deflate.h"
#include "exceptions.h"
#include "inflate.h"
#include "streams.h"

namespace {

void Put32(TMemoryStream& m, uint32_t v)
{
    const unsigned char b[4] = {static_cast<unsigned char>(v >> 24), static_cast<unsigned char>(v >> 16),
                                static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
    m.Write(b, 4);
}

void PutChunk(TMemoryStream& m, const char* type, const uint8_t* data, size_t n)
{
    Put32(m, uint32_t(n));
    m.Write(type, 4);
    if (n) m.Write(data, int(n));
    Put32(m, Crc32(Crc32(0, type, 4), data, n));
}

// The stream as IDAT chunks of piece bytes (0 = one chunk), then IEND.
void Chunked(TMemoryStream& m, const uint8_t* data, size_t size, size_t piece)
{
    if (piece == 0 || piece >= size) {
        PutChunk(m, "IDAT", data, size);
    } else {
        for (size_t at = 0; at < size; at += piece) PutChunk(m, "IDAT", data + at, size - at < piece ? size - at : piece);
    }
    PutChunk(m, "IEND", nullptr, 0);
}

void InflateAny(const uint8_t* data, size_t size, size_t piece)
{
    TMemoryStream m;
    Chunked(m, data, size, piece);
    m.SetPosition(8);
    try {
        std::unique_ptr<Inflater> in(new Inflater(&m, uint32_t(piece == 0 || piece >= size ? size : piece)));
        in->ReadZlibHeader();
        unsigned char out[4096];
        // Streams that expand a thousandfold teach little past this and cost much.
        for (size_t total = 0; total < (size_t(1) << 18); total += sizeof out) in->Read(out, sizeof out);
        in->Finish();
    } catch (Exception&) {
    }
}

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
    static const size_t pieces[8] = {0, 1, 2, 3, 7, 64, 1000, 0};
    const size_t piece = pieces[data[0] & 7];
    InflateAny(data + 1, size - 1, piece);
    if ((data[0] & 0x18) == 0) RoundTrip(data + 1, size - 1, size_t(data[0]));
    return 0;
}
