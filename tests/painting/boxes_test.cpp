// Filled boxes: the right button, and shading through the mark.

#include "colorsel_hsv.h"
#include "drawtools_fixture.h"

namespace {

using Boxes = DrawToolTest;

PixelSet Filled(int l, int t, int r, int b)
{
    PixelSet s;
    for (int y = t; y <= b; ++y)
        for (int x = l; x <= r; ++x) s.insert({x, y});
    return s;
}

TEST_F(Boxes, RightButtonFilledBoxIsTheBackgroundColour)
{
    Use(tools.boxRectf);
    MouseShift = 16;
    Drag({2, 2}, {8, 5});
    Leave();
    EXPECT_EQ(Changed(), Filled(2, 2, 8, 5));
    EXPECT_TRUE(AllChangedAre(Back));
}

// The mark is ORed in: a shading fill sees the picture, not black.
TEST_F(Boxes, ShadedFilledBoxKeepsThePicturesBrightness)
{
    tools.fillSolid.shading = 1;
    Use(tools.boxRectf);
    Drag({2, 2}, {8, 5});
    tools.fillSolid.shading = 0;
    HSVTriple hsv = RGBToHSV(0xC0, 0x10, 0x20);
    RGBTriple c = HSVToRGB(hsv.h, hsv.s, 0x40);
    EXPECT_EQ(*pic.At(4, 4), (unsigned long)(c.r << 16 | c.g << 8 | c.b));
}

}  // namespace
