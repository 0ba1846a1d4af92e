// Fuzzes the TGA reader through the shared format fuzz body.
#include "formats.h"
#include "fuzz_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMemoryStream mem;
    mem.Write(data, int(size));
    mem.SetPosition(0);
    TInputStream in(&mem, "fuzz.tga");

    uint8_t palette[768];
    GFXFileDesc d = {};
    d.paletteData = palette;
    fuzz_format::CheckTest(TGAFormat(), in, &d);

    long long pixels = size >= 16 ? (long long)(data[12] | data[13] << 8) * (data[14] | data[15] << 8) : 0;
    fuzz_format::LoadBoth(TGAFormat(), in, size, pixels, false);
    return 0;
}
