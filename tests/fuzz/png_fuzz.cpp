// Fuzzes the PNG reader through the shared format fuzz body; the same bytes,
// taken as pixels or palette indices, must also survive a save and a load
// (for a quarter of the inputs, as the compressor's state is large).
#include <string.h>

#include "formats.h"
#include "fuzz_format.h"
#include "gfxstream.h"


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

    if (size > 0 && size <= 4096 && (data[0] & 0x18) == 0) {
        static const int depths[5] = {1, 2, 4, 8, 24};
        RoundTrip(data + 1, size - 1, depths[data[0] % 5], data[0] & 0x80);
    }
    return 0;
}
