// Fuzzes the frame reader: any bytes must give a picture or a library
// exception. Headers asking for a large picture are loaded into a small
// existing buffer, so the run tests the clipping rather than the heap.
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
    TInputStream in(&ms, "fuzz.frm");
    GFXFile* frm = FRMFormat();
    GFXFileDesc d = GFXFileDesc();
    frm->Test(&in, &d);

    Buffer b;
    if (int64_t(d.width) * d.height > (1 << 14)) b.Alloc(Pair<int>{37, 29});
    GFXtra32 x = GFXtra32();
    try {
        frm->Load(b, &in, &d, &x, 0);
    } catch (Exception&) {
    }
    return 0;
}
