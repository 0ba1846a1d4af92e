// Stretching: the side a drag gives, the stretch bar's percentages, the
// sizes a picture may take, mirrored results and a free key colour.
#include <gtest/gtest.h>

#include <cmath>

#include "stretch_geometry.h"

namespace {

TEST(StretchGeometry, DraggedSideCountsBothEnds)
{
    const struct {
        int pointer, anchor, side;
    } cases[] = {{15, 10, 6}, {10, 10, 1}, {11, 10, 2}, {9, 10, -2}, {8, 10, -3}, {-5, 0, -6}};
    for (const auto& c : cases) EXPECT_EQ(StretchSide(c.pointer, c.anchor), c.side) << c.pointer;
    // Mirrored, the held pixel moves back by the side less one.
    EXPECT_EQ(MirroredOffset(10, 5), 10);
    EXPECT_EQ(MirroredOffset(10, -3), 8);
}

TEST(StretchGeometry, PercentagesAndSides)
{
    EXPECT_EQ(SideOfPercent(50, 200), 100);
    EXPECT_EQ(PercentOfSide(100, 200), 50);
    EXPECT_EQ(PercentOfSide(5, 0), 0);
    const struct {
        double size;
        bool ok;
    } cases[] = {{1, true},     {0, false},     {0.4, false},    {0.5, true},      {-1, true},
                 {-16384, true}, {16384, true}, {16384.6, false}, {1e9, false},    {NAN, false},
                 {INFINITY, false}};
    for (const auto& c : cases) EXPECT_EQ(StretchSideOk(c.size), c.ok) << c.size;
}

TEST(StretchGeometry, NegativeSidesMirror)
{
    Buffer src, out;
    src.Alloc(Pair<int>{3, 2});
    for (int i = 0; i < 6; ++i) src.pixels[i] = 0x01000000u + unsigned(i);
    StretchPicture(src, out, -3, 2, false);
    ASSERT_EQ(out.Width(), 3);
    // Flag bytes are picture content here: carried, not taken as a key.
    EXPECT_EQ(*out.At(0, 0), 0x01000002u);
    EXPECT_EQ(*out.At(2, 1), 0x01000003u);
    EXPECT_EQ(*out.At(2, 0), 0x01000000u);
    StretchPicture(src, out, 6, -4, false);
    ASSERT_EQ(out.Height(), 4);
    EXPECT_EQ(*out.At(0, 0), 0x01000003u);
    EXPECT_EQ(*out.At(5, 3), 0x01000002u);
}

TEST(StretchGeometry, KeyColourIsOneTheBrushDoesNotPaint)
{
    Buffer brush;
    brush.Alloc(Pair<int>{3, 1});
    brush.pixels[0] = 0x00FFFFFF;
    brush.pixels[1] = 0x01000000;
    brush.pixels[2] = 0x00000000;
    EXPECT_EQ(FreeKeyColour(brush, 0x00808080), 0x00808080u);
    EXPECT_EQ(FreeKeyColour(brush, 0x00FFFFFF), 0x00000001u);
}

}  // namespace
