// Fuzzes the PCX reader: any bytes give an answer from Test with the stream
// position restored, and a picture or a library exception from Load, both
// into a fresh buffer and clipped into a small view whose surroundings must
// stay untouched.
#include <stdint.h>

#include "exceptions.h"
#include "gfxfile.h"
#include "streams.h"

#include "formats.h"

namespace {

const int BlockSize = 12, Margin = 2;
const unsigned long Guard = 0x5A5A5A5A;  // top bit clear: Box would XOR it
// Larger pictures are only loaded clipped: allocating and clearing up to
// 2^28 pixels per input would stall the fuzzer without reaching more code.
const long long MaxFreshPixels = 1 << 20;

int Field16(const uint8_t* p) { return p[0] | p[1] << 8; }

long long HeaderPixels(const uint8_t* data, size_t size)
{
    if (size < 12) return 0;
    return (long long)(Field16(data + 8) - Field16(data + 4) + 1) * (Field16(data + 10) - Field16(data + 6) + 1);
}

void LoadInto(Buffer& b, TInputStream& in)
{
    in.SetPosition(0);
    try {
        PCXFormat()->Load(b, &in, nullptr, nullptr, 0);
    } catch (Exception&) {
    }
}

void LoadClipped(TInputStream& in, int width, int height)
{
    Buffer block;
    block.Alloc({BlockSize, BlockSize});
    block.Box(Rect{0, 0, BlockSize - 1, BlockSize - 1}, Guard);
    Buffer view;
    view.Alloc(block, Rect{Margin, Margin, Margin + width - 1, Margin + height - 1}, false);
    LoadInto(view, in);
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
    TInputStream in(&mem, "fuzz.pcx");

    uint8_t palette[768];
    GFXFileDesc d = {};
    d.paletteData = palette;
    int answer = PCXFormat()->Test(&in, &d);
    if (in.GetPosition() != 0 || answer < -1 || answer > 1) __builtin_trap();

    if (HeaderPixels(data, size) <= MaxFreshPixels) {
        Buffer fresh;
        LoadInto(fresh, in);
    }
    LoadClipped(in, 1 + int(size % 7), 1 + int(size / 7 % 5));
    return 0;
}
