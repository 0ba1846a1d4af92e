// The fill tools on the picture: the filled area against the seed fill's
// own reference set, the no-op fill, shading, the pattern and its origins.

#include "colorsel_hsv.h"
#include "drawtools_fixture.h"
#include "seedfill.h"

namespace {

class Fills : public DrawToolTest {
protected:
    // Stripes of two colours 30 apart, with a wall at x = 24.
    void Stripes()
    {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) *pic.At(x, y) = x == 24 ? 0x00FFFFFFu : (y % 2 ? 0x00404040u : 0x00404052u);
    }
};

TEST_F(Fills, SolidFillPaintsTheComponentWithinToleranceAndCropsItsStep)
{
    struct {
        int tolerance;
        size_t painted;
    } cases[] = {{0, 24}, {17, 24}, {18, 24 * H}};
    for (auto& c : cases) {
        Stripes();
        Use(tools.fillSolid);
        SetOptionValue(0, c.tolerance);
        Click({3, 4});
        EXPECT_EQ(Changed().size(), c.painted) << c.tolerance;
        EXPECT_TRUE(AllChangedAre(Fore));
        Pair<int> size = UDBuffer::NewestUndoSize(&pic);
        EXPECT_EQ(size.x, 24) << c.tolerance;
        EXPECT_EQ(size.y, c.painted == 24 ? 1 : H) << c.tolerance;
        ExpectUndoRedo();
    }
}

TEST_F(Fills, FillWithTheSeedsOwnColourLeavesNoStep)
{
    pic.Box(pic.GetRect(), Fore);
    Use(tools.fillSolid);
    Click({3, 4});
    EXPECT_EQ(All(), before);
    EXPECT_EQ(pic.undoHead, nullptr);
    EXPECT_EQ(pic.modified, 0u);
}

TEST_F(Fills, ShadingKeepsEachPixelsBrightness)
{
    for (int x = 0; x < W; ++x) pic.Box(Rect{x, 0, x, H - 1}, 0x00010101u * unsigned(x * 5));
    PaintKitHost.foreColour = [] { return 0x00FF0000ul; };
    Use(tools.fillSolid);
    SetOptionValue(0, 765);
    SetOptionValue(2, 1);
    Click({10, 10});
    for (int x = 0; x < W; ++x) {
        RGBTriple c = HSVToRGB(0, 255, x * 5);
        EXPECT_EQ(*pic.At(x, 3), (unsigned long)(c.r << 16 | c.g << 8 | c.b)) << x;
    }
    SetOptionValue(2, 0);
}

// A 2x2 brush cut from the picture at (3, 5), its top-right pixel clear.
TEST_F(Fills, PatternTilesTheBrushFromTheChosenOrigin)
{
    const unsigned long A = 0x00110000, C = 0x00003300, D = 0x00000044;
    CurrentBrush.Alloc(Pair<int>{2, 2});
    CurrentBrush.pixels[0] = A;
    CurrentBrush.pixels[1] = KeyPixel;
    CurrentBrush.pixels[2] = C;
    CurrentBrush.pixels[3] = D;
    BrushState.pictureBrush = 1;
    BrushState.originX = 3;
    BrushState.originY = 5;
    struct {
        int mode, ox, oy;
    } cases[] = {{0, 0, 0}, {1, 1, 1}};
    for (auto& c : cases) {
        pic.Box(pic.GetRect(), Ground);
        Use(tools.fillPattern);
        SetOptionValue(4, c.mode);
        Click({7, 7});
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                unsigned long b = CurrentBrush.pixels[(y + c.oy) % 2 * 2 + (x + c.ox) % 2];
                EXPECT_EQ(*pic.At(x, y), b == KeyPixel ? Ground : b) << c.mode << ": " << x << "," << y;
            }
        EXPECT_TRUE(NoFlagsLeft());
    }
}

// The origin tool puts the brush's hot spot on the clicked pixel.
TEST_F(Fills, OriginToolAlignsThePatternWithTheClick)
{
    CurrentBrush.Alloc(Pair<int>{3, 2});
    for (int i = 0; i < 6; ++i) CurrentBrush.pixels[i] = 0x00100000u * unsigned(i + 1);
    BrushState.pictureBrush = 1;
    BrushState.hotSpot = HandleCentre;  // offset (1, 1)
    RecolorBrush(false);
    Use(tools.fillPattern);
    SelectTool(&tools.fillPos, false, -1);
    Move(10, 7);
    Click({10, 7});
    ASSERT_EQ(tools.fillPattern.originMode, 2);
    EXPECT_EQ(CurrentTool, &tools.fillPattern);
    Leave();
    Click({20, 20});
    EXPECT_EQ(*pic.At(10, 7), *CurrentBrush.At(1, 1));
    EXPECT_EQ(*pic.At(11, 7), *CurrentBrush.At(2, 1));
}

}  // namespace
