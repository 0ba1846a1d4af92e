// Selecting tools: commands, toggles, one-shot tools, the default tool,
// parking around modal work, and the group buttons.
#include <memory>

#include "exceptions.h"
#include "tool_fixture.h"

namespace {

class ToolSelect : public ToolTest {
protected:
    LoggingTool line{"line", log};
    LoggingTool cmd{"cmd", log};
    LoggingTool grid{"grid", log};
    LoggingTool once{"once", log};

    void SetUp() override
    {
        ToolTest::SetUp();
        cmd.flags = ToolCommand;
        grid.flags = ToolToggle;
        grid.clickSteps = 0;
        once.flags = ToolOneShot;
        once.clickSteps = 1;
    }
};

TEST_F(ToolSelect, SwitchHidesFeedbackHandsOverAndShowsTheNewTool)
{
    line.helpContext = 321;
    line.cursor = -3;
    line.statusText = "Line";
    statusTexts.clear();
    SelectTool(&line, true, -1);
    EXPECT_EQ(log, (ToolLog{"pen.Erase", "pen.Deactivate(line)", "line.Activate", "line.Draw"}));
    EXPECT_EQ(CurrentTool, &line);
    EXPECT_EQ(DefaultTool, &line);
    EXPECT_EQ(helpContext, 321);
    EXPECT_EQ(viewCursor, -3);
    EXPECT_EQ(statusTexts, (std::vector<std::string>{"2:", "3:Line"}));
}

TEST_F(ToolSelect, WithoutTheEraseFlagTheOldFeedbackStays)
{
    SelectTool(&line, false, -1);
    EXPECT_EQ(log, (ToolLog{"pen.Deactivate(line)", "line.Activate", "line.Draw"}));
}

TEST_F(ToolSelect, CommandRunsThenThePreviousToolComesBack)
{
    SelectTool(&cmd, true, -1);
    EXPECT_EQ(log, (ToolLog{"pen.Erase", "pen.Deactivate(cmd)", "cmd.Activate", "cmd.Deactivate(pen)",
                            "pen.Activate", "pen.Draw"}));
    EXPECT_EQ(CurrentTool, &pen);
    EXPECT_EQ(DefaultTool, &pen);
}

TEST_F(ToolSelect, CommandNamesTheToolThatFollowsIt)
{
    cmd.onActivate = [this] { PendingTool = &line; };
    SelectTool(&cmd, false, -1);
    EXPECT_EQ(log, (ToolLog{"pen.Erase", "pen.Deactivate(cmd)", "cmd.Activate", "cmd.Deactivate(line)",
                            "line.Activate", "line.Draw"}));
    EXPECT_EQ(CurrentTool, &line);
    EXPECT_EQ(PendingTool, nullptr);
}

TEST_F(ToolSelect, CommandMayNameAnotherCommand)
{
    LoggingTool cmd2{"cmd2", log};
    cmd2.flags = ToolCommand;
    cmd.onActivate = [&] { PendingTool = &cmd2; };
    SelectTool(&cmd, false, -1);
    EXPECT_EQ(log, (ToolLog{"pen.Erase", "pen.Deactivate(cmd)", "cmd.Activate", "cmd.Erase", "cmd.Deactivate(cmd2)",
                            "cmd2.Activate", "cmd2.Deactivate(pen)", "pen.Activate", "pen.Draw"}));
    EXPECT_EQ(CurrentTool, &pen);
}

TEST_F(ToolSelect, ToggleSwitchesOnAndOffAndLeavesTheToolAlone)
{
    ASSERT_EQ(AddToolEntry("GRID", &grid, HotKeyShift | '3', 4), 0);
    ToolPhase = 1;
    SelectTool(&grid, true, -1);
    EXPECT_EQ(grid.clickSteps, 1);
    EXPECT_TRUE(grid.groupButton->down);
    SelectTool(&grid, true, -1);
    EXPECT_EQ(grid.clickSteps, 0);
    EXPECT_FALSE(grid.groupButton->down);
    EXPECT_EQ(log, (ToolLog{"grid.Activate", "grid.Deactivate(pen)"}));
    EXPECT_EQ(CurrentTool, &pen);
    EXPECT_EQ(ToolPhase, 1);
    EXPECT_EQ(DefaultTool, &pen);
}

TEST_F(ToolSelect, ToggleWhileParkedKeepsTheParkedToolForTheResume)
{
    SuspendTool();
    SelectTool(&grid, true, -1);
    ResumeTool();
    EXPECT_EQ(grid.clickSteps, 1);
    EXPECT_EQ(CurrentTool, &pen);
}

TEST_F(ToolSelect, CommandThatNamesAToggleGivesTheToolBack)
{
    cmd.onActivate = [this] { PendingTool = &grid; };
    SelectTool(&cmd, false, -1);
    EXPECT_EQ(grid.clickSteps, 1);
    EXPECT_EQ(CurrentTool, &pen);
    EXPECT_EQ(DefaultTool, &pen);
    EXPECT_EQ(PendingTool, nullptr);
}

TEST_F(ToolSelect, OneShotToolIsNeverTheDefault)
{
    SelectTool(&line, false, 7);
    SelectTool(&once, false, 3);
    EXPECT_EQ(CurrentTool, &once);
    EXPECT_EQ(DefaultTool, &line);
    EXPECT_EQ(DefaultToolEntry, 7);
    log.clear();
    SelectDefaultTool(true);
    EXPECT_EQ(log, (ToolLog{"once.Erase", "once.Deactivate(line)", "line.Activate", "line.Draw"}));
    EXPECT_EQ(CurrentTool, &line);
}

TEST_F(ToolSelect, CommandAfterOneShotToolReturnsToItWithoutMakingItDefault)
{
    SelectTool(&line, false, 7);
    SelectTool(&once, false, 3);
    SelectTool(&cmd, false, -1);
    // The one-shot tool comes back, but is not made the default.
    EXPECT_EQ(CurrentTool, &once);
    EXPECT_EQ(DefaultTool, &line);
    EXPECT_EQ(DefaultToolEntry, 7);
}

TEST_F(ToolSelect, SuspendParksOnceAndResumeBringsTheToolBack)
{
    SuspendTool();
    SuspendTool();
    EXPECT_EQ(log, (ToolLog{"pen.Erase", "pen.Deactivate(null)"}));
    EXPECT_EQ(CurrentTool, &IdleTool);
    EXPECT_EQ(ToolPhase, 0);
    EXPECT_EQ(OutlineHidden, 1);
    log.clear();
    ResumeTool();
    EXPECT_EQ(log, (ToolLog{"pen.Activate", "pen.Draw"}));
    EXPECT_EQ(CurrentTool, &pen);
}

TEST_F(ToolSelect, ResumeWithNothingParkedKeepsTheCurrentTool)
{
    ResumeTool();
    EXPECT_EQ(CurrentTool, &pen);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(ToolSuspendLevel, 1);
}

TEST_F(ToolSelect, ToolSelectedWhileParkedStaysAfterTheResume)
{
    SuspendTool();
    SelectTool(&line, false, -1);
    log.clear();
    ResumeTool();
    EXPECT_EQ(CurrentTool, &line);
    EXPECT_TRUE(log.empty());
}

TEST_F(ToolSelect, CommandRunWhileParkedBringsTheParkedToolBack)
{
    SuspendTool();
    SelectTool(&cmd, false, -1);
    ResumeTool();
    EXPECT_EQ(log, (ToolLog{"pen.Erase", "pen.Deactivate(null)", "cmd.Activate", "cmd.Deactivate(pen)",
                            "pen.Activate", "pen.Draw"}));
    EXPECT_EQ(CurrentTool, &pen);
    EXPECT_EQ(DefaultTool, &pen);
}

TEST_F(ToolSelect, NestedBracketsActivateTheToolOnce)
{
    SuspendTool();
    SuspendTool();
    ResumeTool();
    ResumeTool();
    EXPECT_EQ(log, (ToolLog{"pen.Erase", "pen.Deactivate(null)", "pen.Activate", "pen.Draw"}));
    EXPECT_EQ(CurrentTool, &pen);
}

TEST_F(ToolSelect, AfterAnUnmatchedResumeTwoSuspendsStillKeepTheTool)
{
    ResumeTool();
    SuspendTool();
    SuspendTool();
    ResumeTool();
    EXPECT_EQ(CurrentTool, &pen);
    EXPECT_EQ(ParkedTool, nullptr);
}

TEST_F(ToolSelect, SelectionClosesTheUndoPopup)
{
    int closed = 0;
    ToolHost.closeUndoPopup = [&] { ++closed; };
    SelectTool(&line, false, -1);
    EXPECT_EQ(closed, 1);
}

class ToolButtons : public ToolSelect {
protected:
    LoggingTool pen2{"pen2", log};
    LoggingTool pen3{"pen3", log};

    void SetUp() override
    {
        ToolSelect::SetUp();
        ASSERT_EQ(AddToolEntry("LINE1", &line, 'L', 4), 0);
        ASSERT_EQ(AddToolEntry("PEN1", &pen, 'P', 4), 1);
        ASSERT_EQ(AddToolEntry("PEN2", &pen2, 0, 0), 1);
        ASSERT_EQ(AddToolEntry("PEN3", &pen3, 0, 0), 1);
    }
};

TEST_F(ToolButtons, SelectionShowsTheToolOnItsGroupButton)
{
    ToolGroupButton* b = pen.groupButton;
    ASSERT_EQ(b, pen3.groupButton);
    SelectTool(&pen3, false, -1);
    EXPECT_EQ(GetToolGroup(1).shownTool, 3);
    EXPECT_EQ(b->glyphEntry, 3);
    EXPECT_EQ(b->hint, "pen3 (P)");
    EXPECT_TRUE(b->down);
    EXPECT_EQ(DefaultToolEntry, -1);
}

TEST_F(ToolButtons, AStaleEntryIsSearchedAgain)
{
    // Entry 0 belongs to the line tool of another group.
    SelectTool(&pen2, false, 0);
    EXPECT_EQ(GetToolGroup(1).shownTool, 2);
    EXPECT_EQ(GetToolGroup(0).shownTool, 0);
}

TEST_F(ToolButtons, RightButtonToolLeavesTheShownEntry)
{
    GetToolGroup(1).rightTool = &pen3;
    SelectTool(&pen2, false, -1);
    SelectTool(&pen3, false, -1);
    EXPECT_EQ(GetToolGroup(1).shownTool, 2);
    EXPECT_TRUE(pen3.groupButton->down);
}

TEST_F(ToolButtons, BoundComponentNameIsTheHint)
{
    ToolEntry(2).boundName = "Emboss";
    SelectTool(&pen2, false, -1);
    EXPECT_EQ(pen2.groupButton->hint, "Emboss (P)");
}

TEST_F(ToolButtons, CommandWithAButtonGetsItsHint)
{
    ASSERT_EQ(AddToolEntry("CLEAR", &cmd, HotKeyShift | HotKeyCtrl | 'C', 4), 2);
    SelectTool(&cmd, false, -1);
    EXPECT_EQ(cmd.groupButton->hint, "cmd");
}

TEST(ToolGroupTable, ShortcutTextNamesModifiersInOrder)
{
    EXPECT_EQ(AppendShortcutText("Grid", HotKeyShift | '3'), "Grid (Shift+3)");
    EXPECT_EQ(AppendShortcutText("Clear", HotKeyShift | HotKeyCtrl | 'C'), "Clear (Shift+Ctrl+C)");
    EXPECT_EQ(AppendShortcutText("X", HotKeyAlt | HotKeyCtrl | 'X'), "X (Alt+Ctrl+X)");
    EXPECT_EQ(AppendShortcutText("Brush", 0), "Brush");
}

TEST(ToolGroupTable, GroupsAndTableHaveLimits)
{
    ClearToolTable();
    ToolLog log;
    std::vector<std::unique_ptr<LoggingTool>> tools;
    auto make = [&] {
        tools.emplace_back(new LoggingTool("t", log));
        return tools.back().get();
    };
    EXPECT_EQ(AddToolEntry("X", make(), 0, 0), -1);  // no group started yet
    EXPECT_EQ(AddToolEntry("X", make(), 0, 4), 0);
    for (int i = 1; i < MaxGroupVariants; ++i) EXPECT_EQ(AddToolEntry("X", make(), 0, 0), 0);
    P_icon* extra = make();
    EXPECT_EQ(AddToolEntry("X", extra, 0, 0), -1);
    EXPECT_EQ(extra->groupButton, nullptr);
    EXPECT_EQ(GetToolGroup(0).count, MaxGroupVariants);
    EXPECT_THROW(ToolEntry(ToolEntryCount()), EListError);
    EXPECT_THROW(GetToolGroup(-1), EListError);
    ClearToolTable();
    EXPECT_EQ(tools[1]->groupButton, nullptr);
}

}  // namespace
