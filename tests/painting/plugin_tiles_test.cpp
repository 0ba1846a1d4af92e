#include <gtest/gtest.h>
#include <string.h>

#include "plugin_tiles.h"

namespace {

// 4 x 3 picture: pixel (x, y) has red 10x + y, green 100 + y, blue 200 + x.
void Fill(Buffer& b)
{
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 4; x++)
            *b.At(x, y) = (unsigned long)(10 * x + y) << 16 | (unsigned long)(100 + y) << 8 | (200 + x);
}

FilterRecord Asking(PSRect in, int padding)
{
    FilterRecord r;
    memset(&r, 0, sizeof r);
    r.inRect = in;
    r.inLoPlane = 0;
    r.inHiPlane = 0;
    r.inputPadding = int16_t(padding);
    r.inputRate = 0x10000;
    return r;
}

}  // namespace

// Rows above and below the picture are the padding value (its low byte for
// the other negative values) or, with -1, the nearest row; columns outside
// repeat the nearest column.
TEST(PlugInTiles, InputOutsideThePicture)
{
    Buffer in, out;
    in.Alloc({4, 3});
    out.Alloc({4, 3});
    Fill(in);
    out.Copy(in, {0, 0}, 0xFFFFFFFF);
    struct Case {
        int padding;
        unsigned char firstRow0, lastRow0;  // red of (-1, -1) and (4, 3)
    } cases[] = {{-1, 0, 32}, {9, 9, 9}, {-2, 0xFE, 0xFE}, {-3, 0xFD, 0xFD}};
    for (const Case& c : cases) {
        PlugInTiles tiles(in, out, PSRect{0, 0, 3, 4}, 0);
        FilterRecord r = Asking(PSRect{-1, -1, 4, 5}, c.padding);
        ASSERT_EQ(noErr, tiles.Advance(r));
        ASSERT_EQ(6, r.inRowBytes);
        const unsigned char* p = static_cast<unsigned char*>(r.inData);
        EXPECT_EQ(c.firstRow0, p[0]);
        EXPECT_EQ(c.lastRow0, p[4 * 6 + 5]);
        EXPECT_EQ(22, p[3 * 6 + 3]) << "inside: (2, 2) red";
    }
}

// The output tile goes back only inside the filter rectangle and the mask,
// and only into the planes it carries; the flag byte stays.
TEST(PlugInTiles, WriteBackStaysInsideFilterRectAndMask)
{
    Buffer in, out;
    in.Alloc({4, 3});
    out.Alloc({4, 3});
    Fill(in);
    for (int x = 0; x < 4; x++) *in.At(x, 1) |= 0x04000000;
    out.Copy(in, {0, 0}, 0xFFFFFFFF);
    PlugInTiles tiles(in, out, PSRect{0, 1, 3, 3}, 0x04000000);
    FilterRecord r = Asking(PSRect{0, 0, 0, 0}, 0);
    r.outRect = PSRect{-2, -2, 5, 6};
    r.outLoPlane = 1;
    r.outHiPlane = 1;
    ASSERT_EQ(noErr, tiles.Advance(r));
    memset(r.outData, 0, size_t(r.outRowBytes) * 7);
    r.outRect = PSRect{0, 0, 0, 0};
    ASSERT_EQ(noErr, tiles.Advance(r));
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 4; x++) {
            const unsigned long was = *in.At(x, y);
            const bool written = y == 1 && x >= 1 && x <= 2;
            EXPECT_EQ(written ? was & ~0xFF00UL : was, *out.At(x, y)) << x << "," << y;
        }
}

TEST(PlugInTiles, PlanesThePictureLacksAreRefused)
{
    Buffer in, out;
    in.Alloc({4, 3});
    out.Alloc({4, 3});
    PlugInTiles tiles(in, out, PSRect{0, 0, 3, 4}, 0);
    FilterRecord r = Asking(PSRect{0, 0, 3, 4}, 0);
    r.inHiPlane = 7;
    EXPECT_EQ(errPlugInHostInsufficient, tiles.Advance(r));
    EXPECT_EQ(nullptr, r.inData);
}
