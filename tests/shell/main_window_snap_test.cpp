// Where a floating tool window lands when it is let go near the work area's
// edges, under the main window or beside a picture window.
#include <gtest/gtest.h>

#include "main_window_snap.h"

namespace {

const TRect Area = {0, 20, 1024, 740};
const TRect Main = {100, 20, 500, 70};  // the slim bar at the top
const TRect Image = {300, 200, 700, 500};

// A 60 x 200 tool window with its top-left corner at (x, y), let go.
TRect Dropped(int x, int y, std::vector<TRect> images = {})
{
    TRect r = {x, y, x + 60, y + 200};
    SnapToolWindow(r, Area, Main, images);
    EXPECT_EQ(60, r.Right - r.Left) << "the size is kept";
    EXPECT_EQ(200, r.Bottom - r.Top) << "the size is kept";
    return r;
}

TEST(ToolWindowSnap, WorkAreaEdgesAreReachedFromSixPixels)
{
    EXPECT_EQ(0, Dropped(6, 300).Left);
    EXPECT_EQ(7, Dropped(7, 300).Left);
    EXPECT_EQ(0, Dropped(-30, 300).Left);  // pulled back from beyond the edge
    EXPECT_EQ(20, Dropped(800, 26).Top);
    EXPECT_EQ(27, Dropped(800, 27).Top);
}

TEST(ToolWindowSnap, RightAndBottomEdgesTooButNoFurther)
{
    EXPECT_EQ(1024, Dropped(1024 - 60 - 6, 300).Right);
    EXPECT_EQ(1024 - 7, Dropped(1024 - 60 - 7, 300).Right);
    EXPECT_EQ(740, Dropped(800, 740 - 200 - 6).Bottom);
    EXPECT_EQ(740 - 7, Dropped(800, 740 - 200 - 7).Bottom);
}

TEST(ToolWindowSnap, TopMeetsTheMainWindowsBottom)
{
    EXPECT_EQ(70, Dropped(200, 76).Top);
    EXPECT_EQ(70, Dropped(200, 64).Top);
    EXPECT_EQ(77, Dropped(200, 77).Top);
    // Beside the bar rather than under it: its bottom edge is out of reach.
    EXPECT_EQ(74, Dropped(600, 74).Top);
}

TEST(ToolWindowSnap, SidesMeetAPictureWindowsSides)
{
    EXPECT_EQ(700, Dropped(705, 250, {Image}).Left);  // to the right of it
    EXPECT_EQ(300, Dropped(300 - 60 + 6, 250, {Image}).Right);  // to the left of it
    EXPECT_EQ(300, Dropped(296, 250, {Image}).Left);  // aligned over it
    EXPECT_EQ(707, Dropped(707, 250, {Image}).Left);
}

TEST(ToolWindowSnap, TopOrBottomMeetsAPictureWindowsTopOrBottom)
{
    TRect beside = Dropped(705, 195, {Image});
    EXPECT_EQ(700, beside.Left);
    EXPECT_EQ(200, beside.Top);  // both axes at once
    EXPECT_EQ(500, Dropped(400, 505, {Image}).Top);  // below it
    const TRect lower = {300, 400, 700, 600};
    EXPECT_EQ(400, Dropped(400, 196, {lower}).Bottom);  // above it
}

TEST(ToolWindowSnap, FarPictureWindowsAreIgnored)
{
    // In line with the picture's right edge but far below it.
    EXPECT_EQ(703, Dropped(703, 520, {Image}).Left);
    TRect untouched = Dropped(800, 300, {Image});
    EXPECT_EQ(800, untouched.Left);
    EXPECT_EQ(300, untouched.Top);
}

TEST(ToolWindowSnap, TheFirstPictureWithinReachWinsEachAxis)
{
    const TRect other = {710, 150, 900, 400};
    EXPECT_EQ(700, Dropped(705, 250, {Image, other}).Left);
    EXPECT_EQ(710, Dropped(705, 250, {other, Image}).Left);
    EXPECT_EQ(150, Dropped(705, 155, {Image, other}).Top);  // only the second has a top near
}

}  // namespace
