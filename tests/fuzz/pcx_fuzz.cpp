// Fuzzes the PCX reader through the shared format fuzz body.
#include "formats.h"
#include "fuzz_format.h"

namespace {

int Field16(const uint8_t* p) { return p[0] | p[1] << 8; }

long long HeaderPixels(const uint8_t* data, size_t size)
{
    if (size < 12) return 0;
    return (long long)(Field16(data + 8) - Field16(data + 4) + 1) * (Field16(data + 10) - Field16(data + 6) + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMemoryStream mem;
    mem.Write(data, int(size));
    mem.SetPosition(0);
    TInputStream in(&mem, "fuzz.pcx");

    uint8_t palette[768];
    GFXFileDesc d = {};
    d.paletteData = palette;
    fuzz_format::CheckTest(PCXFormat(), in, &d);

    fuzz_format::LoadBoth(PCXFormat(), in, size, HeaderPixels(data, size), false);
    return 0;
}
