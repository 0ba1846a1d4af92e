// Fuzzes the RLE8 and RLE4 coders: any bytes, taken as a row of indices,
// come back unchanged from a bitmap saved with run-length coding.
#include <stddef.h>
#include <stdint.h>

#include "exceptions.h"
#include "formats.h"
#include "gfxfile.h"
#include "streams.h"

namespace {

// Saves the bytes as a one-row index picture under name and reads it back.
void RoundTrip(const uint8_t* data, int width, int bits, const char* name)
{
    Buffer image;
    image.Alloc(Pair<int>{(width + 3) / 4, 1});
    image.right = width - 1;
    unsigned char* row = reinterpret_cast<unsigned char*>(image.pixels);
    const unsigned mask = (1u << bits) - 1;
    for (int i = 0; i < width; ++i) row[i] = static_cast<unsigned char>(data[i] & mask);
    unsigned char palette[768];
    for (int i = 0; i < 768; ++i) palette[i] = static_cast<unsigned char>(i / 3);
    GFXSaveParams p = GFXSaveParams();
    p.bits = static_cast<int8_t>(bits);
    p.colours = static_cast<int16_t>(1 << bits);
    p.paletteData = palette;
    TMemoryStream ms;
    TOutputStream out(&ms, name);
    if (!BMPFormat()->Save(image, &out, nullptr, &p)) __builtin_trap();
    ms.SetPosition(0);
    TInputStream in(&ms, name);
    Buffer back;
    if (!BMPFormat()->Load(back, &in, nullptr, nullptr, 0)) __builtin_trap();
    for (int i = 0; i < width; ++i)
        if (back.pixels[i] != row[i] * 0x010101ul) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int width = int(size < 4096 ? size : 4096);
    if (width > 0) {
        RoundTrip(data, width, 8, "fuzz.rle");
        RoundTrip(data, width, 4, "fuzz.rle");
    }
    return 0;
}
