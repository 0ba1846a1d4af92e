// Circles and ellipses: the segment counts, the zero radius, the filled
// ellipse and clipping.

#include "drawtools_fixture.h"

namespace {

using Ellipses = DrawToolTest;

TEST(EllipseSegments, DoubleEvery32PixelsUpTo1024)
{
    const int cases[][2] = {{0, 16}, {31, 16}, {32, 32}, {191, 512}, {192, 1024}, {5000, 1024}, {1 << 30, 1024}};
    for (auto& c : cases) EXPECT_EQ(EllipseSegments(c[0], 3), c[1]) << c[0];
}

TEST_F(Ellipses, ZeroRadiusCirclePaintsOneDab)
{
    Use(tools.circle);
    Drag({20, 20}, {20, 20});
    EXPECT_EQ(Changed(), (PixelSet{{20, 20}}));
}

TEST_F(Ellipses, FilledEllipseIsThePaintKitsFilledEllipse)
{
    Use(tools.ellipsef);
    Drag({30, 30}, {35, 35});  // rx = ry = round(7.07) = 7
    std::vector<unsigned long> after = All();
    pic.Box(pic.GetRect(), Ground);
    FillEllipse(30, 30, 7, 7, Fore);
    EXPECT_EQ(after, All());
    std::copy(after.begin(), after.end(), pic.pixels);
    ExpectUndoRedo();
}

// With Clipping, only the visible part is marked and filled: no mark is
// left outside it for a later fill to stumble on.
TEST_F(Ellipses, FilledEllipseStopsAtTheVisiblePart)
{
    Clipping = true;
    PaintKitHost.visibleArea = [](ViewArea& a) {
        a = ViewArea{0, 0, 20, 20};
        return true;
    };
    Use(tools.circlef);
    Drag({15, 15}, {15, 22});
    Clipping = false;
    EXPECT_TRUE(NoFlagsLeft());
    EXPECT_TRUE(Changed().count({15, 19}));
    EXPECT_FALSE(Changed().count({15, 20}));
}

}  // namespace
