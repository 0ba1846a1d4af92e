// The tool-step machine: clicks, drags, second presses, the drag timer,
// one-shot tools, undo at the press and its failures, and the feedback.

#include "exceptions.h"
#include "outline_path.h"
#include "selection_trace.h"
#include "tool_fixture.h"

namespace {

using ToolSteps = ToolTest;

TEST_F(ToolSteps, QuickClickWaitsForTheSecondPress)
{
    Press(3, 4);
    EXPECT_EQ(log, (ToolLog{"pen.Erase", "pen.Click/0", "pen.Draw"}));
    EXPECT_EQ(ToolPhase, 3);
    EXPECT_TRUE(timer.IsRunning());
    EXPECT_EQ(timer.Interval(), 300u);
    log.clear();
    timer.Advance(299);
    Release(3, 4);
    EXPECT_EQ(log, (ToolLog{"pen.Erase", "pen.Draw"}));
    EXPECT_EQ(ToolPhase, 1);
    EXPECT_FALSE(timer.IsRunning());
    log.clear();
    ExtendDirtyRect(1, 1, 2, 2);
    Press(8, 6);
    EXPECT_EQ(log, (ToolLog{"pen.Erase", "pen.Click/1", "pen.Draw"}));
    EXPECT_EQ(ToolPhase, 0);
    EXPECT_TRUE(DirtyRectIsEmpty());
    EXPECT_EQ(DirtyRect.left, 65535);
    EXPECT_EQ(DirtyRect.bottom, -1);
    log.clear();
    Release(8, 6);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(captureReleases, 2);
}

TEST_F(ToolSteps, DragEndsWithTheReleaseAfterTheTimer)
{
    Press(3, 4);
    timer.Advance(300);
    EXPECT_FALSE(timer.IsRunning());
    Move(4, 4);
    Move(4, 4);  // same point: nothing to redraw
    Move(6, 7);
    Release(6, 7);
    EXPECT_EQ(log, (ToolLog{"pen.Erase", "pen.Click/0", "pen.Draw", "pen.Erase", "pen.Draw", "pen.Erase",
                            "pen.Draw", "pen.Erase", "pen.Click/3", "pen.Draw"}));
    EXPECT_EQ(ToolPhase, 0);
    EXPECT_FALSE(MouseButtonDown);
}

TEST_F(ToolSteps, ThreeStepToolTakesADragAndAPress)
{
    pen.clickSteps = 3;
    Press(1, 1);
    timer.Advance(500);
    Release(9, 9);
    EXPECT_EQ(ToolPhase, 2);
    Press(4, 4);
    EXPECT_EQ(ToolPhase, 0);
    EXPECT_EQ(log, (ToolLog{"pen.Erase", "pen.Click/0", "pen.Draw", "pen.Erase", "pen.Click/3", "pen.Draw", "pen.Erase",
                            "pen.Click/2", "pen.Draw"}));
}

TEST_F(ToolSteps, SingleStepToolIsDoneAtThePress)
{
    pen.clickSteps = 1;
    Press(2, 2);
    EXPECT_EQ(ToolPhase, 0);
    Release(2, 2);
    EXPECT_EQ(log, (ToolLog{"pen.Erase", "pen.Click/0"}));
}

TEST_F(ToolSteps, OneShotToolGivesWayToTheDefaultTool)
{
    LoggingTool pick{"pick", log};
    pick.flags = ToolOneShot;
    pick.clickSteps = 1;
    SelectTool(&pick, false, -1);
    log.clear();
    Press(2, 2);
    EXPECT_EQ(log, (ToolLog{"pick.Erase", "pick.Click/0", "pick.Erase", "pick.Deactivate(pen)", "pen.Activate",
                            "pen.Draw"}));
    EXPECT_EQ(CurrentTool, &pen);
    EXPECT_EQ(DefaultTool, &pen);
}

TEST_F(ToolSteps, TwoStepOneShotToolGivesWayAfterItsLastStep)
{
    LoggingTool once{"once", log};
    once.flags = ToolOneShot;
    SelectTool(&once, false, -1);
    Press(2, 2);
    timer.Advance(300);
    Release(5, 5);
    EXPECT_EQ(CurrentTool, &pen);
}

TEST_F(ToolSteps, ClickThatSelectsAnotherToolEndsTheStep)
{
    LoggingTool line{"line", log};
    pen.onClick = [&] { SelectTool(&line, false, -1); };
    Press(2, 2);
    EXPECT_EQ(CurrentTool, &line);
    EXPECT_EQ(ToolPhase, 0);
    EXPECT_FALSE(timer.IsRunning());
}

TEST_F(ToolSteps, FeedbackOutsideThePictureDependsOnPointerMode)
{
    Move(25, 5);  // the picture is 20 wide
    Move(26, 5);
    EXPECT_EQ(log, (ToolLog{"pen.Erase"}));
    EXPECT_EQ(OutlineHidden, 1);
    log.clear();
    Move(4, 4);
    EXPECT_EQ(log, (ToolLog{"pen.Draw"}));
    log.clear();
    pen.pointerMode = 1;
    Move(-1, 4);
    Move(-2, 4);
    EXPECT_EQ(log, (ToolLog{"pen.Erase", "pen.Draw", "pen.Erase", "pen.Draw"}));
}

TEST_F(ToolSteps, StatusPanelShowsTheToolsText)
{
    pen.statusText = "12 px";
    statusTexts.clear();
    Move(7, 7);
    EXPECT_EQ(statusTexts, (std::vector<std::string>{"3:12 px"}));
}

class UndoAtPress : public ToolTest {
protected:
    LoggingTool fill{"fill", log};
    std::vector<unsigned long> before;

    void SetUp() override
    {
        ToolTest::SetUp();
        fill.undoAtPress = 1;
        fill.onClick = [this] {
            for (int i = 0; i < 200; ++i) pic.pixels[i] = 0x00FF0000;
        };
        SelectTool(&fill, false, -1);
        before = Pixels();
        log.clear();
    }

    void Select(Rect r)
    {
        for (int y = r.top; y <= r.bottom; ++y)
            for (int x = r.left; x <= r.right; ++x) *pic.At(x, y) |= SelectedBit;
        pic.selMinX = r.left, pic.selMaxX = r.right, pic.selMinY = r.top, pic.selMaxY = r.bottom;
        pic.TraceSelection();
        ASSERT_TRUE(pic.HasSelection());
    }
};

TEST_F(UndoAtPress, FirstPressRecordsAStepNamedByTheTool)
{
    ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Old", nullptr, -1, 0, 0, 0));
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    ASSERT_NE(pic.redoHead, nullptr);
    Press(1, 1);
    ASSERT_NE(pic.undoHead, nullptr);
    EXPECT_EQ(pic.undoHead->key, "fill");
    EXPECT_TRUE(pic.undoHead->whole);
    EXPECT_EQ(pic.redoHead, nullptr);
    Release(1, 1);
    Press(2, 2);  // the second press of the same operation records nothing
    EXPECT_EQ(Count(pic.undoHead), 1);
}

TEST_F(UndoAtPress, SwitchingToolsMidDragTakesThePressBack)
{
    Press(1, 1);
    ASSERT_NE(Pixels(), before);
    LoggingTool line{"line", log};
    SelectTool(&line, false, -1);
    EXPECT_EQ(Pixels(), before);
    EXPECT_EQ(pic.undoHead, nullptr);
    EXPECT_EQ(pic.redoHead, nullptr);
    EXPECT_EQ(CheckUndoInvariants(undo.folder, {&pic}), "");
}

TEST_F(UndoAtPress, SwitchingAfterAQuickClickTakesThePressBack)
{
    ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Old", nullptr, 0, 0, 3, 3));
    Press(1, 1);
    Release(1, 1);
    ASSERT_EQ(ToolPhase, 1);
    LoggingTool cmd{"cmd", log};
    cmd.flags = ToolCommand;
    SelectTool(&cmd, false, -1);
    EXPECT_EQ(Pixels(), before);
    EXPECT_EQ(Count(pic.undoHead), 1);  // the earlier step stays
    EXPECT_EQ(pic.redoHead, nullptr);
    EXPECT_EQ(CurrentTool, &fill);
    EXPECT_EQ(ToolPhase, 0);
}

TEST_F(UndoAtPress, FailedRecordingCancelsThePress)
{
    undo.folder.allocBudget = 0;
    Press(1, 1);
    EXPECT_EQ(log, (ToolLog{"fill.Erase"}));
    EXPECT_EQ(Pixels(), before);
    EXPECT_FALSE(MouseButtonDown);
    EXPECT_EQ(captureReleases, 1);
    EXPECT_EQ(ToolPhase, 0);
    ASSERT_EQ(undo.messages.size(), 1u);
    EXPECT_EQ(undo.messages[0].text, BuiltInText("NoMem"));
    EXPECT_EQ(undo.messages[0].caption, BuiltInText("Err"));
}

TEST_F(UndoAtPress, PressDropsTheSelectionWithItsOwnStep)
{
    Select(Rect{2, 2, 5, 4});
    Press(1, 1);
    EXPECT_FALSE(pic.HasSelection());
    ASSERT_EQ(Count(pic.undoHead), 2);
    EXPECT_EQ(pic.undoHead->key, "fill");
    EXPECT_EQ(pic.undoHead->next->key, "DelSel");
}

TEST_F(UndoAtPress, SelectionThatCannotBeDroppedWithUndoIsKept)
{
    Select(Rect{2, 2, 5, 4});
    undo.folder.allocBudget = 0;
    Press(1, 1);
    EXPECT_TRUE(pic.HasSelection());
    EXPECT_EQ(*pic.At(3, 3) & SelectedBit, SelectedBit);
    EXPECT_EQ(log, (ToolLog{"fill.Erase"}));
    EXPECT_FALSE(MouseButtonDown);
    EXPECT_EQ(pic.undoHead, nullptr);
}

TEST_F(ToolSteps, StepThatThrowsAbandonsTheOperation)
{
    pen.onClick = [] { throw EOutOfMemory(); };
    ExtendDirtyRect(0, 0, 1, 1);
    EXPECT_THROW(Press(2, 2), EOutOfMemory);
    EXPECT_EQ(ToolPhase, 0);
    EXPECT_FALSE(MouseButtonDown);
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_TRUE(DirtyRectIsEmpty());
    EXPECT_EQ(captureReleases, 1);
}

TEST(DirtyRect, GrowsByOrderedRectangles)
{
    ResetDirtyRect();
    EXPECT_TRUE(DirtyRectIsEmpty());
    ExtendDirtyRect(10, 8, 4, 2);
    EXPECT_EQ(DirtyRect.left, 4);
    EXPECT_EQ(DirtyRect.top, 2);
    EXPECT_EQ(DirtyRect.right, 10);
    EXPECT_EQ(DirtyRect.bottom, 8);
    ExtendDirtyRect(12, 1, 11, 1);
    EXPECT_EQ(DirtyRect.left, 4);
    EXPECT_EQ(DirtyRect.top, 1);
    EXPECT_EQ(DirtyRect.right, 12);
    EXPECT_EQ(DirtyRect.bottom, 8);
    ResetDirtyRect();
}

TEST(ManualDragTimer, TicksOnceWhenItsIntervalPasses)
{
    ManualDragTimer t;
    SetDragTimer(&t);
    t.Start(300);
    t.Advance(150);
    t.Advance(149);
    EXPECT_TRUE(t.IsRunning());
    t.Advance(1);
    EXPECT_FALSE(t.IsRunning());  // DragIsSure stopped it
    t.Start(300);
    t.Advance(100000);
    EXPECT_FALSE(t.IsRunning());
    SetDragTimer(nullptr);
}

}  // namespace
