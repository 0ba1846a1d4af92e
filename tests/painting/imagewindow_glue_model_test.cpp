#include <gtest/gtest.h>

#include "imagewindow_glue_model.h"

namespace {

GlueWindow Box(int left, int top, int width, int height)
{
    GlueWindow w;
    w.left = left, w.top = top, w.width = width, w.height = height;
    return w;
}

bool Linked(const GlueWindow& w, int side, int neighbour)
{
    for (const GlueLink& l : w.links)
        if (l.side == side && l.neighbour == neighbour) return true;
    return false;
}

}  // namespace

TEST(GlueModel, MovingRectSnapsToAreaMainWindowAndOtherEdges)
{
    const MoveRect work{0, 0, 1024, 768};
    const std::vector<GlueWindow> other = {Box(100, 400, 200, 150)};  // right edge 300, bottom 550
    struct Case {
        MoveRect r, snapped;
    } cases[] = {
        {{302, 200, 502, 300}, {300, 200, 500, 300}},   // left 2 right of the other's right edge
        {{304, 200, 504, 300}, {304, 200, 504, 300}},   // 4 right: stays
        {{-30, 200, 170, 300}, {0, 200, 200, 300}},     // partly off the left of the work area
        {{900, 200, 1022, 300}, {902, 200, 1024, 300}}, // right within 4 of the area's right
        {{500, 62, 600, 162}, {500, 59, 600, 159}},     // top within 3 of the main window's bottom row
        {{500, 64, 600, 164}, {500, 64, 600, 164}},
        {{500, 551, 600, 651}, {500, 550, 600, 650}},   // below the other's bottom
        {{500, 300, 600, 397}, {500, 303, 600, 400}},   // bottom onto the other's top
    };
    for (const Case& c : cases) {
        MoveRect r = c.r;
        SnapMovingRect(r, work, 59, other);
        EXPECT_EQ(r.left, c.snapped.left) << c.r.left << "," << c.r.top;
        EXPECT_EQ(r.top, c.snapped.top) << c.r.left << "," << c.r.top;
        EXPECT_EQ(r.right - r.left, c.r.right - c.r.left);
        EXPECT_EQ(r.bottom - r.top, c.r.bottom - c.r.top);
    }
}

TEST(GlueModel, TouchingEdgesGlueEvenWithoutOverlapButNotWhenMinimised)
{
    std::vector<GlueWindow> w = {Box(0, 0, 200, 100), Box(200, 300, 250, 100), Box(500, 110, 200, 120),
                                 Box(500, 230, 200, 100), Box(200, 0, 100, 100)};
    w[4].minimised = true;
    GlueWindows(w);
    EXPECT_TRUE(Linked(w[0], GlueRight, 1));
    EXPECT_TRUE(Linked(w[1], GlueLeft, 0));
    EXPECT_TRUE(Linked(w[2], GlueBottom, 3));
    EXPECT_TRUE(Linked(w[3], GlueTop, 2));
    EXPECT_TRUE(w[4].links.empty());
    EXPECT_EQ(w[0].links.size(), 1u);
    EXPECT_EQ(w[1].links.size(), 1u);
    GlueWindows(w);  // links are built afresh, not added again
    EXPECT_EQ(w[0].links.size(), 1u);
}

// A | B side by side, C under A with its right edge on B's left too.
TEST(GlueModel, SizingMovesGluedNeighboursDownToTheirMinimum)
{
    struct Case {
        int side, change, allowed;
        int bLeft, bWidth, cWidth;
    } cases[] = {
        {GlueRight, 20, 20, 220, 280, 220},
        {GlueRight, -5, -5, 195, 305, 195},
        {GlueRight, 200, 108, 308, 192, 308},   // B stops at 192 wide, A's change with it
        {GlueRight, -100, -8, 192, 308, 192},   // A and C stop at 192
        {GlueLeft, 30, 8, 200, 300, 200},       // no neighbour there; A keeps 192
    };
    for (const Case& c : cases) {
        std::vector<GlueWindow> w = {Box(0, 0, 200, 150), Box(200, 0, 300, 400), Box(0, 150, 200, 250)};
        GlueWindows(w);
        int allowed = SizeGluedWindow(w, 0, c.side, c.change);
        EXPECT_EQ(allowed, c.allowed) << c.change;
        EXPECT_EQ(w[1].left, c.bLeft) << c.change;
        EXPECT_EQ(w[1].width, c.bWidth) << c.change;
        EXPECT_EQ(w[2].width, c.cWidth) << c.change;
        EXPECT_EQ(w[0].width, 200) << "the sized window is left to the system";
    }
}

TEST(GlueModel, SizingABottomEdgeMovesTheWindowBelow)
{
    std::vector<GlueWindow> w = {Box(0, 0, 300, 200), Box(0, 200, 300, 150)};
    GlueWindows(w);
    EXPECT_EQ(SizeGluedWindow(w, 0, GlueBottom, 40), 40);
    EXPECT_EQ(w[1].top, 240);
    EXPECT_EQ(w[1].height, 110);
    EXPECT_EQ(SizeGluedWindow(w, 1, GlueTop, 40), 14);  // 110 - 96
}
