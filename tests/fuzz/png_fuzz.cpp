// Fuzzes the PNG reader through the shared format fuzz body. The writer's
// round trip is a target of its own (png_roundtrip).
#include <string.h>

#include "formats.h"
#include "fuzz_format.h"

namespace {

// Pixels of a first chunk that is IHDR, as the reader will see them;
// sizes of 2^32 and more come back as 2^32.
long long HeaderPixels(const uint8_t* data, size_t size)
{
    if (size < 24 || memcmp(data + 12, "IHDR", 4) != 0) return 0;
    const long long w = (long long)data[16] << 24 | data[17] << 16 | data[18] << 8 | data[19];
    const long long h = (long long)data[20] << 24 | data[21] << 16 | data[22] << 8 | data[23];
    return w > 0 && h > (1LL << 32) / w ? 1LL << 32 : w * h;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20)) return 0;
    TMemoryStream mem;
    if (size) mem.Write(data, int(size));
    mem.SetPosition(0);
    TInputStream in(&mem, "fuzz.png");

    uint8_t palette[768];
    GFXFileDesc d = {};
    d.paletteData = palette;
    fuzz_format::CheckTest(PNGFormat(), in, &d);
    fuzz_format::LoadBoth(PNGFormat(), in, size, HeaderPixels(data, size), size % 2 == 0);
    return 0;
}
