#include <gtest/gtest.h>

#include "toolbar_model.h"

namespace {

TTbItem Button(int w = 23, int h = 22)
{
    TTbItem i;
    i.Width = w;
    i.Height = h;
    return i;
}

TTbItem Sep(bool blank = false)
{
    TTbItem i;
    i.Separator = true;
    i.Blank = blank;
    return i;
}

TTbLayoutParams Floating(int rightX)
{
    TTbLayoutParams p;
    p.Floating = true;
    p.FloatRightX = rightX;
    return p;
}

}  // namespace

TEST(ToolbarLayout, DockedRowHasNoMarginsAndNeverWraps)
{
    std::vector<TTbItem> items = {Button(), Button(), Sep(), Button()};
    TTbLayout l = LayoutToolbar(items, TTbLayoutParams{});
    EXPECT_EQ(0, l.Items[0].Left);
    EXPECT_EQ(23, l.Items[1].Left);
    EXPECT_EQ(46, l.Items[2].Left);
    EXPECT_EQ(6, l.Items[2].Width);
    EXPECT_EQ(22, l.Items[2].Height);
    EXPECT_EQ(52, l.Items[3].Left);
    EXPECT_EQ(75, l.ClientWidth());
    EXPECT_EQ(22, l.ClientHeight());
    EXPECT_TRUE(l.Breaks.empty());
}

TEST(ToolbarLayout, VerticalDockMakesAColumn)
{
    std::vector<TTbItem> items = {Button(), Sep(), Button(30, 20)};
    TTbLayoutParams p;
    p.Vertical = true;
    TTbLayout l = LayoutToolbar(items, p);
    EXPECT_EQ(0, l.Items[0].Top);
    EXPECT_EQ(3, l.Items[0].Left);  // (30 - 23) / 2
    EXPECT_EQ(22, l.Items[1].Top);
    EXPECT_EQ(6, l.Items[1].Height);
    EXPECT_EQ(30, l.Items[1].Width);
    EXPECT_EQ(28, l.Items[2].Top);
    EXPECT_EQ(30, l.ClientWidth());
    EXPECT_EQ(48, l.ClientHeight());
}

TEST(ToolbarLayout, LowerControlsAreCentredTruncating)
{
    std::vector<TTbItem> items = {Button(23, 22), Button(20, 16), Button(20, 15)};
    TTbLayout l = LayoutToolbar(items, TTbLayoutParams{});
    EXPECT_EQ(3, l.Items[1].Top);
    EXPECT_EQ(3, l.Items[2].Top);
    TTbLayoutParams taller;
    taller.AcrossExtent = 30;  // a taller bar shares the row
    EXPECT_EQ(4, LayoutToolbar(items, taller).Items[0].Top);
}

TEST(ToolbarLayout, FloatingInOneLineWithoutWrapLimit)
{
    std::vector<TTbItem> items = {Button(), Button(), Sep(), Button()};
    TTbLayout l = LayoutToolbar(items, Floating(0));
    EXPECT_EQ(4, l.Items[0].Left);
    EXPECT_EQ(2, l.Items[0].Top);
    EXPECT_EQ(4 + 75 + 4, l.ClientWidth());
    EXPECT_EQ(2 + 22 + 1, l.ClientHeight());
}

TEST(ToolbarLayout, WrapAfterAGroupZeroesTheSeparatorAndRecordsABreak)
{
    std::vector<TTbItem> items = {Button(), Button(), Sep(true), Button()};
    TTbLayout l = LayoutToolbar(items, Floating(60));
    EXPECT_EQ(0, l.Items[2].Width);
    ASSERT_EQ(1u, l.Breaks.size());
    EXPECT_EQ(2 + 22 + 6, l.Breaks[0].Offset);
    EXPECT_TRUE(l.Breaks[0].Blank);
    EXPECT_EQ(4, l.Items[3].Left);
    EXPECT_EQ(30, l.Items[3].Top);
    EXPECT_EQ(4 + 46 + 4, l.ClientWidth());  // the separator no longer counts
    EXPECT_EQ(30 + 22 + 1, l.ClientHeight());
}

TEST(ToolbarLayout, WrapInsideAGroupAddsNoGap)
{
    std::vector<TTbItem> items = {Button(), Button(), Button()};
    TTbLayout l = LayoutToolbar(items, Floating(60));
    EXPECT_EQ(4, l.Items[2].Left);
    EXPECT_EQ(24, l.Items[2].Top);
    EXPECT_TRUE(l.Breaks.empty());
}

TEST(ToolbarLayout, WrapLimitIsAtLeastTheWidestControlPlusEight)
{
    std::vector<TTbItem> items = {Button(40, 22), Button()};
    EXPECT_EQ(48, ToolbarWrapLimit(items, Floating(10)));
    EXPECT_EQ(100, ToolbarWrapLimit(items, Floating(100)));
    TTbLayout l = LayoutToolbar(items, Floating(10));
    EXPECT_EQ(4, l.Items[1].Left);
    EXPECT_EQ(48, l.ClientWidth());
}

TEST(ToolbarLayout, MinRowSizeAndEmptyBar)
{
    std::vector<TTbItem> items = {Button(30, 16), Sep(), Button(20, 5)};
    EXPECT_EQ(16, ToolbarMinRowSize(items, false));
    EXPECT_EQ(30, ToolbarMinRowSize(items, true));
    EXPECT_EQ(8, ToolbarMinRowSize({Button(4, 4)}, false));
    TTbLayout empty = LayoutToolbar({}, TTbLayoutParams{});
    EXPECT_EQ(8, empty.ClientWidth());
    EXPECT_EQ(8, empty.ClientHeight());
}

TEST(ToolbarShapes, EveryShapeIsALayoutAndSnappingFollowsThem)
{
    std::vector<TTbItem> items = {Button(), Button(), Sep(), Button(), Button(), Sep(), Button()};
    auto measure = [&](int rightX) {
        TTbLayout l = LayoutToolbar(items, Floating(rightX));
        return TTbSize{l.ClientWidth(), l.ClientHeight()};
    };
    std::vector<TTbShape> shapes = ToolbarShapes(measure, 23, TTbSize{6, 22}, false);
    ASSERT_GE(shapes.size(), 3u);
    for (size_t i = 0; i < shapes.size(); ++i) {
        TTbSize got = measure(shapes[i].FloatRightX);
        EXPECT_EQ(shapes[i].Width, got.Width + 6) << i;
        EXPECT_EQ(shapes[i].Height, got.Height + 22) << i;
        if (i > 0) {
            EXPECT_LT(shapes[i - 1].Width, shapes[i].Width);
            EXPECT_NE(shapes[i - 1].Height, shapes[i].Height);
        }
    }
    EXPECT_EQ(0, shapes.back().FloatRightX);
    int last = static_cast<int>(shapes.size()) - 1;
    int tol = ToolbarSnapTolerance(shapes, last, false);
    EXPECT_GE(tol, 0);
    EXPECT_LE(tol, 12);
    // Dragging the right edge in to the narrowest width reaches the narrowest shape.
    EXPECT_EQ(0, ToolbarSnapStep(shapes, last, shapes[0].Width, false, false, tol, false));
    // A small move back within the tolerance after a change of direction stays.
    EXPECT_EQ(0, ToolbarSnapStep(shapes, 0, shapes[0].Width + 1, true, true, 2, false));
    EXPECT_EQ(last, ToolbarSnapStep(shapes, 0, shapes[last].Width + 50, true, false, 0, false));
}
