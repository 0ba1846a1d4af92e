// Fuzzes the GIF reader: any bytes give an answer from Test with the stream
// position restored, and a picture or a library exception from Load, for the
// first image into a fresh buffer and for a later one clipped into a small
// view whose surroundings must stay untouched.
#include <stdint.h>

#include "exceptions.h"
#include "gfxfile.h"
#include "streams.h"

#include "formats.h"

namespace {

const int BlockSize = 12, Margin = 2;
const unsigned long Guard = 0x5A5A5A5A;  // top bit clear: Box would XOR it
// Larger screens are only loaded clipped: allocating and filling up to 2^28
// pixels per input would stall the fuzzer without reaching more code.
const long long MaxFreshPixels = 1 << 16;

void LoadInto(Buffer& b, TInputStream& in, int image)
{
    in.SetPosition(0);
    try {
        GIFFormat()->Load(b, &in, nullptr, nullptr, image);
    } catch (Exception&) {
    }
}

void LoadClipped(TInputStream& in, int width, int height, int image)
{
    Buffer block;
    block.Alloc({BlockSize, BlockSize});
    block.Box(Rect{0, 0, BlockSize - 1, BlockSize - 1}, Guard);
    Buffer view;
    view.Alloc(block, Rect{Margin, Margin, Margin + width - 1, Margin + height - 1}, false);
    LoadInto(view, in, image);
    for (int y = 0; y < BlockSize; ++y)
        for (int x = 0; x < BlockSize; ++x) {
            bool inside = x >= Margin && x < Margin + width && y >= Margin && y < Margin + height;
            if (!inside && *block.At(x, y) != Guard) __builtin_trap();
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMemoryStream mem;
    mem.Write(data, int(size));
    mem.SetPosition(0);
    TInputStream in(&mem, "fuzz.gif");

    uint8_t palette[768];
    GFXFileDesc d = {};
    d.paletteData = palette;
    int answer = GIFFormat()->Test(&in, &d);
    if (in.GetPosition() != 0 || answer < -1 || answer > 1) __builtin_trap();

    long long pixels = size >= 10 ? (long long)(data[6] | data[7] << 8) * (data[8] | data[9] << 8) : 0;
    if (pixels <= MaxFreshPixels) {
        Buffer fresh;
        LoadInto(fresh, in, 0);
    }
    LoadClipped(in, 1 + int(size % 7), 1 + int(size / 7 % 5), d.images > 1 ? d.images - 1 : 1);
    return 0;
}
