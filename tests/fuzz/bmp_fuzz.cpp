// Fuzzes the bitmap reader: any bytes must give a picture or a library
// exception. Headers asking for a large picture are loaded into a small
// existing buffer, so the run tests the clipping rather than the heap. The
// RLE coder's round trip is a target of its own (bmp_rle_roundtrip).
#include <stddef.h>
#include <stdint.h>

#include "exceptions.h"
#include "formats.h"
#include "gfxfile.h"
#include "streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20)) return 0;
    TMemoryStream ms;
    if (size) ms.WriteBuffer(data, int(size));
    ms.SetPosition(0);
    TInputStream in(&ms, "fuzz.bmp");
    GFXFile* bmp = BMPFormat();
    GFXFileDesc d = GFXFileDesc();
    unsigned char palette[768];
    d.paletteData = palette;
    bmp->Test(&in, &d);

    Buffer b;
    if (int64_t(d.width) * d.height > (1 << 16) || (size && data[0] & 1)) b.Alloc(Pair<int>{37, 29});
    try {
        bmp->Load(b, &in, &d, nullptr, 0);
    } catch (Exception&) {
    }
    return 0;
}
