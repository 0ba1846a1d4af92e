// Lines and curves: the three dab modes, arrow barbs, chains of segments,
// and what a tool parked mid-drawing leaves.

#include "drawtools_fixture.h"

namespace {

using Lines = DrawToolTest;

// Dabs fall along the major axis in each dab mode. Barb points are
// truncated toward zero as computed in doubles: on the horizontal line sin 30
// degrees makes the offsets 2.9999999999999996.
TEST_F(Lines, DabsAndArrowBarbsFallOnTheirPoints)
{
    auto dabs = [](std::vector<int> xs) {
        PixelSet s;
        for (int x : xs) s.insert({x, 5});
        return s;
    };
    auto arrow = [](TPoint s, TPoint e, TPoint barb1, TPoint barb2) {
        return Union({Line(s, e), Line(e, barb1), Line(e, barb2)});
    };
    const struct {
        int mode, value, arrow;
        TPoint s, e;
        PixelSet want;
    } cases[] = {
        {2, 2, 0, {0, 5}, {10, 5}, dabs({0, 10})},
        {1, 3, 0, {0, 5}, {10, 5}, dabs({0, 3, 6, 9})},
        {2, 4, 0, {0, 5}, {10, 5}, dabs({0, 4, 7, 10})},
        {2, 1, 0, {0, 5}, {10, 5}, dabs({0, 10})},  // fewer than two dabs: still one at each end
        {0, 2, 2, {0, 10}, {30, 20}, arrow({0, 10}, {30, 20}, {20, 9}, {15, 23})},
        {0, 2, 1, {0, 10}, {20, 10}, arrow({0, 10}, {20, 10}, {15, 8}, {15, 12})},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.mode * 100 + c.value * 10 + c.arrow);
        Use(tools.line);
        SetOptionValue(0, c.mode);
        SetOptionValue(1, c.value);
        SetOptionValue(2, c.arrow);
        Drag(c.s, c.e);
        Leave();
        EXPECT_EQ(Changed(), c.want);
        ExpectUndoRedo();
        pic.Box(pic.GetRect(), Ground);
    }
}

TEST_F(Lines, ChainedSegmentsShareTheirEndsAndEachIsAStep)
{
    Use(tools.lineCont);
    Click({2, 2});
    Click({20, 8});
    Click({30, 30});
    EXPECT_EQ(Changed(), Union({Line({2, 2}, {20, 8}), Line({20, 8}, {30, 30})}));
    std::vector<unsigned long> both = All();
    UDBuffer::DropUndo(&pic);  // the step kept for a third segment
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(Changed(), Line({2, 2}, {20, 8}));
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(All(), before);
}

// The third click P shapes the curve through the control point
// Q = 2P - (S + E) / 2: the polyline through its 16 truncated samples.
TEST_F(Lines, CurveFollowsItsSixteenSamples)
{
    const TPoint s = {0, 10}, e = {32, 20}, p = {10, 30}, q = {2 * p.x - (s.x + e.x) / 2, 2 * p.y - (s.y + e.y) / 2};
    Use(tools.spline);
    Click(s);
    Click(e);
    Click(p);
    Leave();
    PixelSet want;
    TPoint prev = s;
    for (int i = 1; i <= 16; ++i) {
        double t = i / 16.0, u = 1 - t;
        TPoint b = {int(u * u * s.x + 2 * t * u * q.x + t * t * e.x), int(u * u * s.y + 2 * t * u * q.y + t * t * e.y)};
        want = Union({want, Line(prev, b)});
        prev = b;
    }
    EXPECT_EQ(Changed(), want);
    ExpectUndoRedo();
}

// Parked (a command, another window) between the press and the drawing, a
// line, curve, box or filled shape has changed nothing and leaves no step; a
// chain keeps the steps of the segments it drew. The outline and the toggled
// rows of an open filled shape go with its press step: left behind, their
// marks would be painted by the next fill.
TEST_F(Lines, ParkedBeforeDrawingLeavesNoEmptyStep)
{
    struct {
        P_icon* tool;
        std::vector<TPoint> clicks;  // none: a drag from a to b
        int steps;
        TPoint a, b;
    } cases[] = {
        {&tools.line, {}, 0, {5, 5}, {25, 15}},
        {&tools.spline, {}, 0, {5, 5}, {25, 15}},
        {&tools.lineCont, {{2, 2}, {20, 8}}, 1, {}, {}},
        {&tools.splineCont, {{2, 2}, {20, 8}, {10, 30}}, 1, {}, {}},
        {&tools.boxRect, {}, 0, {5, 5}, {25, 15}},
        {&tools.fillPoly, {{10, 10}, {30, 20}}, 0, {}, {}},
        {&tools.fillDraw, {}, 0, {10, 10}, {30, 20}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.tool->iconKey.c_str());
        while (pic.undoHead) UDBuffer::DropUndo(&pic);
        Use(*c.tool);
        for (TPoint p : c.clicks) Click(p);
        bool drag = c.clicks.empty();
        if (drag) {
            Press(c.a.x, c.a.y);
            timer.Advance(300);
            Move(c.b.x, c.b.y);
        }
        SuspendTool();
        EXPECT_EQ(Count(pic.undoHead), c.steps);
        if (c.steps == 0) {
            EXPECT_EQ(All(), before);
        }
        ResumeTool();
        if (drag) Release(c.b.x, c.b.y);
        Leave();
        pic.Box(pic.GetRect(), Ground);
    }
}

}  // namespace
