// The metafile record checks that guard the platform's playback: any bytes
// give a verdict (nothing or EInvalidImage) without reading outside them.
#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "exceptions.h"
#include "metafile_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A copy of exactly size bytes, so that any read past them is caught.
    std::vector<unsigned char> bytes(data, data + size);
    try {
        CheckMetafileRecords(bytes.data(), bytes.size());
    } catch (EInvalidImage&) {
    }
    return 0;
}
