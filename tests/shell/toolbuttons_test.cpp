// The tool-button table, how it becomes groups when tools are missing, and
// where the buttons and the variant popup go.
#include <gtest/gtest.h>

#include "brushes_tools.h"
#include "cut_tools.h"
#include "exceptions.h"
#include "messages.h"
#include "toolbuttons_fixture.h"
#include "toolbuttons_layout.h"
#include "text_tool.h"
#include "toolbuttons_tools.h"
#include "shapes_tools.h"
#include "toolbox_tools.h"

namespace {

class ToolTable : public ::testing::Test {
protected:
    void SetUp() override { ClearToolTable(); }
    void TearDown() override
    {
        ClearToolTable();
        SetLanguageLookup(nullptr);
    }

    // What BuildToolButtons does to the model, without buttons.
    static void Apply(const std::vector<ToolButtonStep>& steps)
    {
        for (const ToolButtonStep& s : steps) {
            int group = AddToolEntry(s.glyph, s.tool, s.hotKey, s.columns);
            ASSERT_GE(group, 0) << s.glyph.c_str();
            if (s.rightTool) GetToolGroup(group).rightTool = s.rightTool;
        }
    }
};

TEST_F(ToolTable, SixteenRowsOfFortyGlyphs)
{
    const auto& rows = ToolButtonRows();
    ASSERT_EQ(rows.size(), 16u);
    size_t glyphs = 0;
    for (const ToolButtonRow& r : rows) glyphs += r.glyphs.size();
    EXPECT_EQ(glyphs, 40u);
    EXPECT_STREQ(rows[1].glyphs[2], "PEN3");
    EXPECT_EQ(rows[10].columns, 5);  // the cut tools
    EXPECT_EQ(rows[14].hotKey, 0x133);
    EXPECT_EQ(rows[14].groupIndex, 2);
    EXPECT_EQ(rows[15].hotKey, 0x343);
    EXPECT_EQ(rows[15].groupIndex, 0);
}

TEST_F(ToolTable, AllToolsGiveSixteenGroupsInTableOrder)
{
    TableTools tools;
    std::vector<ToolButtonStep> steps = PlanToolButtons(ToolButtonRows(), tools.Resolver());
    ASSERT_EQ(steps.size(), 40u);
    Apply(steps);
    EXPECT_EQ(GroupCounts(), (std::vector<int>{8, 3, 2, 2, 4, 4, 2, 2, 2, 1, 5, 1, 1, 1, 1, 1}));
    EXPECT_EQ(ToolEntry(GetToolGroup(1).firstTool + 2).tool, tools("PEN3"));
    EXPECT_EQ(GetToolGroup(10).columns, 5);
    EXPECT_EQ(GetToolGroup(0).rightTool, tools("BRUSHRESIZE"));
    EXPECT_EQ(GetToolGroup(1).rightTool, nullptr);
    EXPECT_EQ(GetToolGroup(15).hotKey, HotKeyShift | HotKeyCtrl | 'C');
}

TEST_F(ToolTable, MissingToolsAreLeftOutAndGroupsMoveUp)
{
    // No brush, no pen 1, nothing between the pens and the clear command.
    TableTools tools({"PEN2", "PEN3", "CLEAR"});
    std::vector<ToolButtonStep> steps = PlanToolButtons(ToolButtonRows(), tools.Resolver());
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].columns, 4);  // the first remaining pen starts the group
    EXPECT_EQ(steps[0].hotKey, 'P');
    EXPECT_EQ(steps[1].columns, 0);
    Apply(steps);
    EXPECT_EQ(GroupCounts(), (std::vector<int>{2, 1}));
    EXPECT_EQ(GetToolGroup(1).hotKey, 0x343);
}

TEST_F(ToolTable, TheRightToolNeedsItsGroup)
{
    TableTools tools({"BRUSHRESIZE", "PEN1"});
    std::vector<ToolButtonStep> steps = PlanToolButtons(ToolButtonRows(), tools.Resolver());
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].rightTool, nullptr);
}

TEST_F(ToolTable, TheProgramsToolsSoFarMakeTheirGroups)
{
    PenBrushToolSet& set = PenBrushTools();
    EXPECT_EQ(BuiltToolForName("PEN1"), &set.penCont);
    EXPECT_EQ(BuiltToolForName("PEN3"), &set.penOne);
    EXPECT_EQ(BuiltToolForName("BRUSH13"), &set.brushCrc3);
    EXPECT_EQ(BuiltToolForName("BRUSH2"), &set.brushBox);
    EXPECT_EQ(BuiltToolForName("BRUSHRESIZE"), &set.brushResize);
    EXPECT_EQ(BuiltToolForName("CLEAR"), &set.clear);
    EXPECT_EQ(BuiltToolForName("SPRAY2"), &ToolBoxTools().airbrush);
    EXPECT_EQ(BuiltToolForName("GRID"), &ToolBoxTools().grid);
    EXPECT_EQ(BuiltToolForName("LINE1"), &ShapeTools().line);
    EXPECT_EQ(BuiltToolForName("FILL2"), &ShapeTools().fillPattern);
    EXPECT_EQ(BuiltToolForName("CUT5"), &CutTools().wand);
    EXPECT_EQ(BuiltToolForName("TEXT"), &TextTool());
    EXPECT_EQ(BuiltToolForName(nullptr), nullptr);
    Apply(PlanToolButtons(ToolButtonRows(), BuiltToolForName));
    EXPECT_EQ(GroupCounts(), (std::vector<int>{8, 3, 2, 2, 4, 4, 2, 2, 2, 1, 5, 1, 1, 1, 1, 1}));
    EXPECT_EQ(GetToolGroup(0).rightTool, &set.brushResize);
    EXPECT_EQ(set.penOne.groupButton, GetToolGroup(1).button);
    EXPECT_EQ(GetToolGroup(8).button->hint, "Fill (F)") << GetToolGroup(8).button->hint.c_str();
    EXPECT_EQ(GetToolGroup(9).button->hint, "Text (T)") << GetToolGroup(9).button->hint.c_str();
    EXPECT_EQ(GetToolGroup(10).button->hint, "Cut rectangle (B)") << GetToolGroup(10).button->hint.c_str();
    EXPECT_EQ(GetToolGroup(15).button->hint, "Clear picture (Shift+Ctrl+C)") << GetToolGroup(15).button->hint.c_str();
}

TEST_F(ToolTable, ShortcutTextUsesTheLanguagesWordsAltShiftCtrl)
{
    SetLanguageLookup([](const AnsiString& key) {
        if (key == "Alt") return AnsiString("Alt Gr");
        if (key == "Shift") return AnsiString("Umschalt");
        if (key == "Ctrl") return AnsiString("Strg");
        return AnsiString();
    });
    EXPECT_EQ(AppendShortcutText("Grid", 0x133), "Grid (Umschalt+3)");
    EXPECT_EQ(AppendShortcutText("X", 0x743), "X (Alt Gr+Umschalt+Strg+C)");
    EXPECT_EQ(AppendShortcutText("Pen", 0), "Pen");
}

TEST_F(ToolTable, NothingIsAddedPastAFullGroupTableOrGroupList)
{
    TableTools tools({"PEN1"});
    P_icon* pen = tools("PEN1");
    EXPECT_FALSE(CanAddToolEntry(0));  // no group started yet
    EXPECT_TRUE(CanAddToolEntry(4));
    ASSERT_EQ(AddToolEntry("PEN1", pen, 'P', 4), 0);
    for (int i = 1; i < MaxGroupVariants; ++i) ASSERT_EQ(AddToolEntry("PEN1", pen, 0, 0), 0);
    EXPECT_FALSE(CanAddToolEntry(0));
    for (int g = 1; g < 4; ++g)
        for (int i = 0; i < MaxGroupVariants; ++i) ASSERT_EQ(AddToolEntry("PEN1", pen, 0, i == 0 ? 4 : 0), g);
    EXPECT_EQ(ToolEntryCount(), MaxToolEntries);
    EXPECT_FALSE(CanAddToolEntry(4));  // the table is full, though groups are left
    ClearToolTable();
    for (int g = 0; g < MaxToolGroups; ++g) ASSERT_EQ(AddToolEntry("PEN1", pen, 0, 4), g);
    EXPECT_FALSE(CanAddToolEntry(4));
    EXPECT_TRUE(CanAddToolEntry(0));
}

TEST(ToolButtonLayout, TwoColumnsOfButtons)
{
    EXPECT_EQ(ToolButtonSpot(0).left, 0);
    EXPECT_EQ(ToolButtonSpot(0).top, 0);
    EXPECT_EQ(ToolButtonSpot(1).left, 28);
    EXPECT_EQ(ToolButtonSpot(1).top, 0);
    EXPECT_EQ(ToolButtonSpot(2).left, 0);
    EXPECT_EQ(ToolButtonSpot(2).top, 28);
    EXPECT_EQ(ToolButtonSpot(15).left, 28);
    EXPECT_EQ(ToolButtonSpot(15).top, 196);
}

TEST(ToolButtonLayout, PopupSizeFollowsVariantsAndColumns)
{
    IconPanelPlace p = PlaceIconPanel(3, 4, 100, 50, 1024, 768);
    EXPECT_EQ(p.columns, 3);
    EXPECT_EQ(p.rows, 1);
    EXPECT_EQ(p.width, 3 * 32 + 4);
    EXPECT_EQ(p.height, 36);
    EXPECT_EQ(p.left, 128);  // right of the button
    EXPECT_EQ(p.top, 50);
    p = PlaceIconPanel(8, 4, 0, 0, 1024, 768);
    EXPECT_EQ(p.width, 132);
    EXPECT_EQ(p.height, 68);
    p = PlaceIconPanel(9, 4, 0, 0, 1024, 768);
    EXPECT_EQ(p.rows, 3);
    p = PlaceIconPanel(5, 5, 0, 0, 1024, 768);
    EXPECT_EQ(p.columns, 5);
    EXPECT_EQ(p.rows, 1);
    EXPECT_THROW(PlaceIconPanel(3, 0, 0, 0, 1024, 768), EInvalidOperation);
}

TEST(ToolButtonLayout, PopupStaysOnTheScreen)
{
    // 996 + 28 + 100 passes 1024: left of the button instead.
    EXPECT_EQ(PlaceIconPanel(3, 4, 996, 50, 1024, 768).left, 896);
    EXPECT_EQ(PlaceIconPanel(3, 4, 896, 50, 1024, 768).left, 924);  // just fits
    EXPECT_EQ(PlaceIconPanel(3, 4, 100, 750, 1024, 768).top, 768 - 36);
    EXPECT_EQ(PlaceIconPanel(32, 4, 50, 50, 120, 200).left, 0);
    EXPECT_EQ(PlaceIconPanel(32, 4, 50, 50, 120, 200).top, 0);
}

TEST(ToolButtonLayout, CellsAndTheirEntries)
{
    EXPECT_EQ(IconCellSpot(0, 4).left, 2);
    EXPECT_EQ(IconCellSpot(5, 4).left, 34);
    EXPECT_EQ(IconCellSpot(5, 4).top, 34);
    ToolGroup g{nullptr, 12, 12, 8, 4, 0, nullptr, 0};
    EXPECT_EQ(IconCellEntry(g, 5), 17);
    EXPECT_EQ(IconCellEntry(g, 8), -1);
    EXPECT_EQ(IconCellEntry(g, -1), -1);
    EXPECT_THROW(IconCellSpot(1, 0), EInvalidOperation);
}

}  // namespace
