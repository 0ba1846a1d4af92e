// Fuzzes the PNG writer: any bytes, taken as pixels or palette indices at a
// depth the first byte chooses, come back unchanged from a save and a load.
#include <stddef.h>
#include <stdint.h>

#include "exceptions.h"
#include "formats.h"
#include "gfxfile.h"
#include "gfxstream.h"
#include "streams.h"

namespace {

// The bytes as a picture of up to 64 pixels a row, saved at bits and read back.
void RoundTrip(const uint8_t* data, size_t size, int bits, bool interlaced)
{
    const int pixels = int(bits == 24 ? size / 3 : size);
    if (pixels == 0) return;
    const int width = pixels < 64 ? pixels : 64;
    const int height = pixels / width;
    Buffer image;
    if (bits == 24) {
        image.Alloc(Pair<int>{width, height});
        for (int i = 0; i < width * height; ++i)
            *image.At(i % width, i / width) = (unsigned long)data[3 * i] << 16 | data[3 * i + 1] << 8 | data[3 * i + 2];
    } else {
        image.Alloc(Pair<int>{(width + 3) / 4, height});
        image.right = width - 1;
        for (int i = 0; i < width * height; ++i)
            reinterpret_cast<unsigned char*>(image.At(0, i / width))[i % width] =
                static_cast<unsigned char>(data[i] & ((1 << bits) - 1));
    }
    unsigned char palette[768];
    for (int i = 0; i < 768; ++i) palette[i] = static_cast<unsigned char>(i / 3);
    GFXSaveParams p = GFXSaveParams();
    p.bits = static_cast<int8_t>(bits);
    p.interlaced = interlaced;
    p.colours = static_cast<int16_t>(bits == 24 ? 0 : 1 << bits);
    p.paletteData = palette;
    TMemoryStream ms;
    TOutputStream out(&ms, "fuzz.png");
    if (!PNGFormat()->Save(image, &out, nullptr, &p)) __builtin_trap();
    ms.SetPosition(0);
    TInputStream in(&ms, "fuzz.png");
    Buffer back;
    if (!PNGFormat()->Load(back, &in, nullptr, nullptr, 0)) __builtin_trap();
    for (int i = 0; i < width * height; ++i) {
        const int x = i % width, y = i / width;
        const unsigned long want = bits == 24 ? *image.At(x, y)
                                              : reinterpret_cast<unsigned char*>(image.At(0, y))[x] * 0x010101ul;
        if (*back.At(x, y) != want) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 0 && size <= 4096) {
        static const int depths[5] = {1, 2, 4, 8, 24};
        RoundTrip(data + 1, size - 1, depths[data[0] % 5], data[0] & 0x80);
    }
    return 0;
}
