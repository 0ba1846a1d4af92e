// Boxes and squares: outlines against Pixmill's rectangle, filled boxes
// through the fill tool, the square constraint and the right button.

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

TEST_F(Boxes, OutlinesAndFilledBoxesCoverTheirRectangles)
{
    struct {
        P_box* tool;
        ToolPoint from, to;
        PixelSet want;
    } cases[] = {
        {&tools.boxRect, {2, 2}, {8, 5}, Union({Line({2, 2}, {8, 2}), Line({8, 2}, {8, 5}), Line({8, 5}, {2, 5}), Line({2, 5}, {2, 2})})},
        {&tools.boxRectf, {8, 5}, {2, 2}, Filled(2, 2, 8, 5)},
        {&tools.boxSqr, {5, 5}, {5, 12}, Line({5, 5}, {5, 12})},
        {&tools.boxSqrf, {5, 5}, {8, 12}, Filled(5, 5, 12, 12)},
    };
    for (auto& c : cases) {
        pic.Box(pic.GetRect(), Ground);
        Use(*c.tool);
        Move(c.from.x, c.from.y);
        Drag(c.from, c.to);
        Leave();  // no guide or band left
        EXPECT_EQ(Changed(), c.want) << c.tool->iconKey.c_str();
        EXPECT_TRUE(AllChangedAre(Fore)) << c.tool->iconKey.c_str();
        ExpectUndoRedo();
    }
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
