// The Shift lock decides on the pointer's real move; a tool that keeps the
// pointer inside the picture has the locked point clamped afterwards.
#include "imageform_fixture.h"

TEST_F(ImageFormTest, ShiftLockDecidesBeforeTheEdgeClamp)
{
    struct Row {
        TPoint anchor, to;
        int zoomStep;
        TPoint expected;
    };
    const Row rows[] = {
        {{95, 50}, {130, 70}, 1, {99, 50}},   // right past the edge: horizontal, y kept
        {{50, 95}, {70, 130}, 1, {50, 99}},   // down past the edge: vertical, x kept
        {{10, 50}, {-40, 60}, 1, {0, 50}},    // left past the edge
        {{190, 100}, {260, 140}, 2, {99, 50}},  // at zoom 2 the clamp is 2 x 99
    };
    for (const Row& r : rows) {
        ResetTools(&tool);
        tool.dropSelectionAtPress = 0;
        TImageForm* f = NewShownWindow(100, 100);
        f->SetZoomStep(r.zoomStep);
        tool.clickSteps = 2;
        tool.pointerMode = 2;
        MoveTo(f, r.anchor.x, r.anchor.y);
        OutlineHidden = 0;
        Key(f, VK_SHIFT, ssShift);
        Press(f, r.anchor.x, r.anchor.y, MK_SHIFT);
        ASSERT_EQ(PhaseDragging, ToolPhase);
        MoveTo(f, r.to.x, r.to.y, MK_SHIFT | MK_LBUTTON);
        EXPECT_EQ(r.expected.x, MousePoint.x) << r.to.x << "," << r.to.y;
        EXPECT_EQ(r.expected.y, MousePoint.y) << r.to.x << "," << r.to.y;
        Release(f, r.to.x, r.to.y);
        WORD shift = VK_SHIFT;
        f->FormKeyUp(f, shift, 0);
        delete f;
        gui::PumpUntilIdle();
    }
}
