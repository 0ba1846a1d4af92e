#include <gtest/gtest.h>

#include "tool_window_model.h"

TEST(FloatScreen, MoveOnScreenKeepsWindowsReachable)
{
    TRect work{0, 0, 1024, 768};
    TRect far = MoveRectOnScreen(TRect{5000, 5000, 5100, 5040}, work, false);
    EXPECT_EQ(1024, far.Right);
    EXPECT_EQ(768, far.Bottom);
    EXPECT_EQ(100, far.Width());
    TRect before = MoveRectOnScreen(TRect{-500, -500, -400, -460}, work, false);
    EXPECT_EQ(0, before.Left);
    EXPECT_EQ(0, before.Top);
    TRect partly{1000, 700, 1100, 740};
    TRect kept = MoveRectOnScreen(partly, work, true);
    EXPECT_EQ(1000, kept.Left);
    EXPECT_EQ(700, kept.Top);
    // Larger than the work area: the left and top edges win.
    TRect huge = MoveRectOnScreen(TRect{10, 10, 2010, 20}, work, false);
    EXPECT_EQ(0, huge.Left);
}

TEST(FloatScreen, OutlineKeepsTheGrabPointInProportion)
{
    EXPECT_EQ(90, OutlineStart(100, 10, 101, 101));
    EXPECT_EQ(95, OutlineStart(100, 10, 101, 51));  // half as wide: half as far
    EXPECT_EQ(100, OutlineStart(100, 0, 1, 50));
}

TEST(FloatScreen, DockZoneGrowsTowardsTheWindowsRest)
{
    TRect dock{0, 0, 300, 26};
    TRect z = DockZone(dock, 0, 0, 100, 30);
    EXPECT_EQ(0, z.Left);
    EXPECT_EQ(332, z.Right);
    EXPECT_EQ(46, z.Bottom);
    z = DockZone(dock, 50, 15, 100, 30);
    EXPECT_EQ(-16, z.Left);
    EXPECT_EQ(316, z.Right);
    EXPECT_EQ(-10, z.Top);
}

TEST(FloatScreen, FloatingOutlineStaysWithinReach)
{
    TRect work{0, 0, 1024, 768};
    TRect r = KeepOutlineReachable(TRect{2000, 100, 2100, 140}, work, 4, 16);
    EXPECT_LT(r.Left, 1024 - 8);
    EXPECT_EQ(100, r.Width());
    TRect up = KeepOutlineReachable(TRect{100, -300, 200, -260}, work, 4, 16);
    EXPECT_EQ(4 - 4 - 16, up.Top);
}

TEST(FloatScreen, LongCaptionsEndInDotsWithAtLeastOneCharacter)
{
    auto width = [](const std::string& s) { return static_cast<int>(s.size()) * 6; };
    std::string longText(200, 'W');
    std::string shortened = ShortenCaption(longText, 60, width);
    ASSERT_GE(shortened.size(), 4u);
    EXPECT_EQ("...", shortened.substr(shortened.size() - 3));
    EXPECT_LE(width(shortened), 60);
    EXPECT_EQ("Tools", ShortenCaption("Tools", 60, width));
    EXPECT_EQ("W...", ShortenCaption(longText, 1, width));  // never below one character
}
