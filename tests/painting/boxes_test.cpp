// Filled boxes and the right button on the shape tools; shading through
// the mark.

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

// The larger offset wins; a drag straight down or across stays one pixel
// wide.
TEST(ConstrainSquare, LargerOffsetWinsWithItsSign)
{
    const struct {
        int x, y, wantX, wantY;
    } cases[] = {{5, 12, 5, 12}, {8, 12, 12, 12}, {12, 8, 12, 12}, {2, 12, -2, 12}, {12, 5, 12, 5}, {1, 1, 1, 1}};
    for (auto& c : cases) {
        int x = c.x, y = c.y;
        ConstrainSquare(5, 5, x, y);
        EXPECT_EQ(x, c.wantX) << c.x << "," << c.y;
        EXPECT_EQ(y, c.wantY) << c.x << "," << c.y;
    }
}

// The right button paints in the background colour, and the brush has its
// foreground colours back afterwards.
TEST_F(Boxes, RightButtonPaintsTheBackgroundAndRestoresTheBrush)
{
    struct {
        P_icon* tool;
        std::vector<TPoint> clicks;  // none: a drag from a to b
        TPoint a, b;
        PixelSet painted;  // empty: any pixels
    } cases[] = {
        {&tools.boxRectf, {}, {2, 2}, {8, 5}, Filled(2, 2, 8, 5)},
        {&tools.spline, {{0, 10}, {32, 20}, {10, 30}}, {}, {}, {}},
        {&tools.circle, {}, {20, 20}, {23, 24}, {}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.tool->iconKey.c_str());
        pic.Box(pic.GetRect(), Ground);
        Use(*c.tool);
        MouseShift = 16;
        for (TPoint p : c.clicks) Click(p);
        if (c.clicks.empty()) Drag(c.a, c.b);
        Leave();
        MouseShift = 0;
        if (!c.painted.empty()) {
            EXPECT_EQ(Changed(), c.painted);
        }
        EXPECT_FALSE(Changed().empty());
        EXPECT_TRUE(AllChangedAre(Back));
        EXPECT_EQ(*StampBuffer.At(0, 0), Fore);
    }
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
