// Fuzzes the IFF reader through the shared format fuzz body; Load is given a
// description and extras, and Test without a description must still tell a
// FORM file.
#include "formats.h"
#include "fuzz_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMemoryStream mem;
    mem.Write(data, int(size));
    mem.SetPosition(0);
    TInputStream in(&mem, "fuzz.iff");

    if (LBMFormat()->Test(&in, nullptr) != (size >= 4 && data[0] == 'F' && data[1] == 'O' && data[2] == 'R' &&
                                            data[3] == 'M' ? -1 : 0))
        __builtin_trap();
    GFXFileDesc d = {};
    fuzz_format::CheckTest(LBMFormat(), in, &d);

    fuzz_format::LoadBoth(LBMFormat(), in, size, (long long)d.width * d.height, true);
    return 0;
}
