// The AVI structure check that guards the platform's AVI library: any bytes
// give a verdict (nothing or a library exception).
#include <stddef.h>
#include <stdint.h>

#include "exceptions.h"
#include "avi_check.h"
#include "streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMemoryStream mem;
    mem.Write(data, int(size));
    mem.SetPosition(0);
    try {
        CheckAviStructure(&mem);
    } catch (Exception&) {
    }
    return 0;
}
