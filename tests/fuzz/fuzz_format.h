// Shared body of the format fuzzers: any bytes give an answer from Test with
// the stream position restored, and a picture or a library exception from
// Load, both into a fresh buffer and clipped into a small view whose
// surroundings must stay untouched.
#ifndef KESTREL_FUZZ_FORMAT_H
#define KESTREL_FUZZ_FORMAT_H

#include <stddef.h>
#include <stdint.h>

#include "exceptions.h"
#include "gfxfile.h"
#include "streams.h"

namespace fuzz_format {

const int BlockSize = 12, Margin = 2;
const unsigned long Guard = 0x5A5A5A5A;  // top bit clear: Box would XOR it
// Larger pictures are only loaded clipped: allocating and clearing up to
// 2^28 pixels per input would stall the fuzzer without reaching more code.
const long long MaxFreshPixels = 1 << 16;

// withDesc: Load also fills a description and extras, a path of its own.
inline void LoadInto(GFXFile* format, Buffer& b, TInputStream& in, bool withDesc)
{
    in.SetPosition(0);
    try {
        if (withDesc) {
            uint8_t palette[768];
            GFXFileDesc d = {};
            d.paletteData = palette;
            GFXtra32 x = {};
            format->Load(b, &in, &d, &x, 0);
        } else {
            format->Load(b, &in, nullptr, nullptr, 0);
        }
    } catch (Exception&) {
    }
}

inline void LoadClipped(GFXFile* format, TInputStream& in, int width, int height, bool withDesc)
{
    Buffer block;
    block.Alloc({BlockSize, BlockSize});
    block.Box(Rect{0, 0, BlockSize - 1, BlockSize - 1}, Guard);
    Buffer view;
    view.Alloc(block, Rect{Margin, Margin, Margin + width - 1, Margin + height - 1}, false);
    LoadInto(format, view, in, withDesc);
    for (int y = 0; y < BlockSize; ++y)
        for (int x = 0; x < BlockSize; ++x) {
            bool inside = x >= Margin && x < Margin + width && y >= Margin && y < Margin + height;
            if (!inside && *block.At(x, y) != Guard) __builtin_trap();
        }
}

// Test must answer -1, 0 or 1 and leave the stream where it found it.
inline void CheckTest(GFXFile* format, TInputStream& in, GFXFileDesc* d)
{
    int answer = format->Test(&in, d);
    if (in.GetPosition() != 0 || answer < -1 || answer > 1) __builtin_trap();
}

// pixels: the picture size the header asks for, as the fuzzer reads it.
inline void LoadBoth(GFXFile* format, TInputStream& in, size_t size, long long pixels, bool withDesc)
{
    if (pixels <= MaxFreshPixels) {
        Buffer fresh;
        LoadInto(format, fresh, in, withDesc);
    }
    LoadClipped(format, in, 1 + int(size % 7), 1 + int(size / 7 % 5), withDesc);
}

}  // namespace fuzz_format

#endif
