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

// A pentagram fills by the even-odd rule: its inner pentagon stays empty. A
// drag released off the picture has its edges cut at the border.
TEST_F(FilledShapes, DrawnShapeFillsItsInsideOnly)
{
    const struct {
        const char* name;
        TPoint press;
        std::vector<TPoint> moves;
        TPoint release;
        PixelSet in, out;
    } cases[] = {
        {"pentagram", {24, 2}, {{24, 2}, {36, 36}, {6, 14}, {42, 14}, {12, 36}, {24, 2}}, {24, 2},
         {{24, 8}, {10, 15}},  // inside the top and left points
         {{24, 20}}},          // the centre
        {"past the picture", {5, 5}, {{10, 30}, {OutsideView, OutsideView}}, {-30, 20}, {{3, 15}, {0, 15}}, {{30, 15}}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        pic.Box(pic.GetRect(), Ground);
        Use(tools.fillDraw);
        Press(c.press.x, c.press.y);
        timer.Advance(300);
        for (TPoint p : c.moves) Move(p.x, p.y);
        Release(c.release.x, c.release.y);
        Leave();
        PixelSet changed = Changed();
        for (auto p : c.in) EXPECT_TRUE(changed.count(p)) << p.first << "," << p.second;
        for (auto p : c.out) EXPECT_FALSE(changed.count(p)) << p.first << "," << p.second;
        EXPECT_TRUE(AllChangedAre(Fore));
        ExpectUndoRedo();
    }
}

TEST_F(FilledShapes, ClickWithoutDragFillsOnePixel)
{
    Use(tools.fillDraw);
    Click({7, 7});
    Leave();
    EXPECT_EQ(Changed(), (PixelSet{{7, 7}}));
    EXPECT_TRUE(NoFlagsLeft());
}

}  // namespace
