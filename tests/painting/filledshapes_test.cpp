// Filled polygons and freehand shapes: the closing distance, the even-odd
// rule of a pentagram, the single-click shape and edges past the picture.

#include "drawtools_fixture.h"
#include "toolmanager.h"

namespace {

using FilledShapes = DrawToolTest;

TEST_F(FilledShapes, ClosingCursorShowsNearTheFirstCorner)
{
    Use(tools.fillPoly);
    Click({10, 10});
    Click({30, 10});
    const struct {
        TPoint at;
        short cursor;
    } cases[] = {{{11, 11}, -46}, {{20, 20}, tools.fillPoly.cursor}, {{17, 17}, -46}, {{18, 17}, tools.fillPoly.cursor},
                 {{9, 9}, -46}};
    for (auto& c : cases) {
        Move(c.at.x, c.at.y);
        ShowPolygonCloseCursor();
        EXPECT_EQ(viewCursor, c.cursor) << c.at.x << "," << c.at.y;
    }
    zoom = 4;  // ten screen pixels are two and a half picture pixels
    Move(12, 12);
    ShowPolygonCloseCursor();
    EXPECT_EQ(viewCursor, tools.fillPoly.cursor);
    zoom = 1;
    SelectTool(&pen, true, -1);
}

TEST_F(FilledShapes, PentagramLeavesItsInnerPentagonEmpty)
{
    Use(tools.fillDraw);
    const std::vector<TPoint> star = {{24, 2}, {36, 36}, {6, 14}, {42, 14}, {12, 36}, {24, 2}};
    Press(star[0].x, star[0].y);
    timer.Advance(300);
    for (TPoint p : star) Move(p.x, p.y);
    Release(star.back().x, star.back().y);
    Leave();
    PixelSet changed = Changed();
    EXPECT_FALSE(changed.count({24, 20}));  // the centre
    EXPECT_TRUE(changed.count({24, 8}));    // inside the top point
    EXPECT_TRUE(changed.count({10, 15}));   // inside the left point
    EXPECT_TRUE(AllChangedAre(Fore));
    ExpectUndoRedo();
}

TEST_F(FilledShapes, ClickWithoutDragFillsOnePixel)
{
    Use(tools.fillDraw);
    Click({7, 7});
    Leave();
    EXPECT_EQ(Changed(), (PixelSet{{7, 7}}));
    EXPECT_TRUE(NoFlagsLeft());
}

// A drag released off the picture: the edges are cut at its border.
TEST_F(FilledShapes, ShapeReachingPastThePictureIsClipped)
{
    Use(tools.fillDraw);
    Press(5, 5);
    timer.Advance(300);
    Move(10, 30);
    Move(OutsideView, OutsideView);
    Release(-30, 20);
    Leave();
    EXPECT_TRUE(Changed().count({3, 15}));
    EXPECT_TRUE(Changed().count({0, 15}));
    EXPECT_FALSE(Changed().count({30, 15}));
    EXPECT_TRUE(AllChangedAre(Fore));
    ExpectUndoRedo();
}

}  // namespace
