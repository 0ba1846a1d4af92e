// Fuzzes the inflater: any bytes, taken as a zlib stream spread over IDAT
// chunks of sizes the first byte chooses, give bytes or a library exception.
// The compressor's round trip is a target of its own (deflate_roundtrip).
#include <stddef.h>
#include <stdint.h>

#include <memory>

#include "exceptions.h"
#include "idat_chunks.h"
#include "inflate.h"
#include "streams.h"

namespace {

using idat_chunks::Chunked;

void InflateAny(const uint8_t* data, size_t size, size_t piece)
{
    TMemoryStream m;
    Chunked(m, data, size, piece);
    m.SetPosition(8);
    try {
        std::unique_ptr<Inflater> in(new Inflater(&m, uint32_t(piece == 0 || piece >= size ? size : piece)));
        in->ReadZlibHeader();
        unsigned char out[4096];
        // Streams that expand far past their input teach little beyond
        // their first 16 KB and cost much.
        for (size_t total = 0; total < (size_t(1) << 14); total += sizeof out) in->Read(out, sizeof out);
        in->Finish();
    } catch (Exception&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0 || size > (1u << 20)) return 0;
    static const size_t pieces[8] = {0, 1, 2, 3, 7, 64, 1000, 0};
    const size_t piece = pieces[data[0] & 7];
    InflateAny(data + 1, size - 1, piece);
    return 0;
}
