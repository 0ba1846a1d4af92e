// Fuzzes the JPEG reader: any bytes must give a picture or a library
// exception. Inputs holding a frame header of more than 2^16 pixels are not
// loaded: the reader allocates the picture and, for multi-scan files, a
// coefficient store of the frame's size before it reads any data, so they
// would test only the heap; their headers are still read by Test. An odd
// last byte loads into a small existing buffer, so that clipping and the
// early stop are fuzzed too.
#include <stddef.h>
#include <stdint.h>

#include "exceptions.h"
#include "gfxfile.h"
#include "streams.h"

#include "formats.h"

namespace {

// Any bytes that could be read as a frame header (SOF0-SOF2) asking for a
// large picture, wherever they lie.
bool NamesLargeFrame(const uint8_t* data, size_t size)
{
    for (size_t i = 0; i + 9 <= size; ++i) {
        if (data[i] != 0xFF || data[i + 1] < 0xC0 || data[i + 1] > 0xC2) continue;
        const int64_t height = data[i + 5] << 8 | data[i + 6], width = data[i + 7] << 8 | data[i + 8];
        if (width * height > (1 << 16)) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Progressive scans may each walk every block of the frame for a few
    // bytes of data, so the input is kept short enough to stay fast.
    if (size > (1u << 16)) return 0;
    TMemoryStream ms;
    if (size) ms.WriteBuffer(data, int(size));
    ms.SetPosition(0);
    TInputStream in(&ms, "fuzz.jpg");
    GFXFile* jpg = JPGFormat();
    GFXFileDesc d = GFXFileDesc();
    jpg->Test(&in, &d);
    if (NamesLargeFrame(data, size)) return 0;

    Buffer b;
    if (size && (data[size - 1] & 1)) b.Alloc(Pair<int>{37, 29});
    try {
        jpg->Load(b, &in, &d, nullptr, 0);
    } catch (Exception&) {
    }
    return 0;
}
