// The tool-group buttons on a panel under Xvfb: placement, groups, glyphs
// from this program's own resources, clicks, the held button's popup of
// variants and the right-button tool.
#include <chrono>

#include "../../gui/win32/gui_fixture.h"
#include "../toolbuttons_fixture.h"
#include "appsettings.h"
#include "brushes_tools.h"
#include "exceptions.h"
#include "extctrls.h"
#include "forms.h"
#include "variant_popup.h"
#include "toolbar_button.h"
#include "timerlst.h"
#include "toolbuttons.h"
#include "tool_host.h"
#include "toolmanager.h"

namespace {

const TColor GlyphBack = 0x00FF00FF;  // magenta, the glyphs' transparent key

std::vector<TColor> PixelsOf(TBitmap* b)
{
    std::vector<TColor> out;
    for (int y = 0; y < b->GetHeight(); ++y)
        for (int x = 0; x < b->GetWidth(); ++x) out.push_back(b->GetCanvas()->GetPixels(x, y));
    return out;
}

RECT WindowRect(TWinControl* c)
{
    RECT r;
    GetWindowRect(c->GetHandle(), &r);
    return r;
}

class ToolButtonsTest : public GuiTest {
protected:
    TForm* form = nullptr;
    TPanel* panel = nullptr;
    TableTools tools;
    HINSTANCE module = GetModuleHandleA(nullptr);

    void SetUp() override
    {
        GuiTest::SetUp();
        ToolHost = ToolHostServices();
        SetStartTool(&IdleTool);
        form = new TForm(app.get());
        form->SetBorderStyle(bsNone);
        form->SetBounds(100, 100, 60, 260);
        panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(0, 0, 56, 250);
        form->ShowNoActivate();
        BuildToolButtons(panel, module, tools.Resolver());
        gui::PumpUntilIdle();
    }
    void TearDown() override
    {
        FreeToolButtons();
        SetStartTool(&IdleTool);
        ToolPhase = PhaseIdle;
        GuiTest::TearDown();
    }

    TToolbarButton* Button(int group) { return ToolButtons->GetButton(group); }
    P_icon* Entry(int group, int variant) { return ToolEntry(GetToolGroup(group).firstTool + variant).tool; }

    // Pumps until the popup is open or ms have passed; answers the time it
    // took in milliseconds.
    long WaitForPopup(int ms)
    {
        auto start = std::chrono::steady_clock::now();
        long waited = 0;
        while (!IconPanel && waited < ms) {
            gui::PumpUntilIdle();
            Sleep(10);
            waited = long(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                              .count());
        }
        return waited;
    }
};

TEST_F(ToolButtonsTest, GroupsSitInTwoColumnsOfTwentyEightPixels)
{
    EXPECT_EQ(GroupCounts(), (std::vector<int>{8, 3, 2, 2, 4, 4, 2, 2, 2, 1, 5, 1, 1, 1, 1, 1}));
    EXPECT_EQ(ToolEntryCount(), 40);
    struct Spot {
        int group, left, top;
    };
    for (Spot s : {Spot{0, 0, 0}, Spot{1, 28, 0}, Spot{2, 0, 28}, Spot{15, 28, 196}}) {
        TToolbarButton* b = Button(s.group);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->GetParent(), panel);
        EXPECT_EQ(b->GetLeft(), s.left) << s.group;
        EXPECT_EQ(b->GetTop(), s.top) << s.group;
        EXPECT_EQ(b->GetWidth(), 28);
        EXPECT_EQ(b->GetHeight(), 28);
    }
    EXPECT_EQ(Button(1)->GetGroupIndex(), 1);
    EXPECT_EQ(Button(14)->GetGroupIndex(), 2);  // the grid switch
    EXPECT_EQ(Button(15)->GetGroupIndex(), 0);  // clear
    for (int g = 0; g < 16; ++g) {
        EXPECT_EQ(Button(g)->GetAllowAllUp(), GetToolGroup(g).count == 1) << g;
        EXPECT_EQ(Button(g)->GetFlat(), AppSettings.FlatIcons);
    }
    EXPECT_EQ(Button(14)->GetHint(), "grid (Shift+3)");
    EXPECT_EQ(Button(15)->GetHint(), "clear (Shift+Ctrl+C)");
    EXPECT_EQ(PixelsOf(Button(1)->GetGlyph()), PixelsOf(ToolGlyph(GetToolGroup(1).firstTool)));
    // The glyphs' magenta background is the transparent key: none shows.
    gui::TPixels shown = gui::ReadPixels(panel->GetHandle());
    int magenta = 0, ink = 0;
    for (uint32_t p : shown.Data) {
        magenta += (p & 0xFFFFFF) == 0xFF00FF;
        ink += (p & 0xFFFFFF) == 0;
    }
    EXPECT_EQ(magenta, 0);
    EXPECT_GT(ink, 100);  // the glyphs were drawn
}

TEST_F(ToolButtonsTest, FortyDistinctGlyphResourcesWithATransparentCorner)
{
    std::vector<std::vector<TColor>> seen;
    for (int e = 0; e < ToolEntryCount(); ++e) {
        TBitmap* glyph = ToolGlyph(e);
        ASSERT_NE(glyph, nullptr);
        EXPECT_EQ(glyph->GetWidth(), 24) << ToolEntry(e).glyph.c_str();
        EXPECT_EQ(glyph->GetHeight(), 24);
        EXPECT_EQ(glyph->GetCanvas()->GetPixels(0, 23), GlyphBack) << ToolEntry(e).glyph.c_str();
        std::vector<TColor> pixels = PixelsOf(glyph);
        for (size_t i = 0; i < seen.size(); ++i) EXPECT_NE(seen[i], pixels) << e << " looks like " << i;
        seen.push_back(pixels);
    }
}

TEST_F(ToolButtonsTest, TheProgramsOwnToolsMakeTheirGroupsSoFar)
{
    BuildToolButtons(panel, module);
    PenBrushToolSet& set = PenBrushTools();
    EXPECT_EQ(GroupCounts(), (std::vector<int>{8, 3, 2, 2, 4, 4, 2, 2, 2, 1, 5, 1, 1, 1, 1, 1}));
    EXPECT_EQ(GetToolGroup(0).rightTool, &set.brushResize);
    EXPECT_EQ(Button(2)->GetLeft(), 0);  // the lines start the second row
    EXPECT_EQ(Button(2)->GetTop(), 28);
    EXPECT_EQ(Button(14)->GetLeft(), 0);  // clear starts the eighth
    EXPECT_EQ(Button(14)->GetTop(), 7 * 28);
    EXPECT_EQ(set.penDisc.groupButton, GetToolGroup(1).button);
    FreeToolButtons();
    EXPECT_EQ(set.penDisc.groupButton, nullptr);
}

TEST_F(ToolButtonsTest, AClickSelectsTheShownVariantAndPressesOnlyItsButton)
{
    gui::Click(Button(1), 10, 10);
    EXPECT_EQ(CurrentTool, tools("PEN1"));
    EXPECT_TRUE(Button(1)->GetDown());
    gui::Click(Button(2), 10, 10);
    EXPECT_EQ(CurrentTool, tools("LINE1"));
    EXPECT_FALSE(Button(1)->GetDown());
    EXPECT_FALSE(GetToolGroup(1).button->down);  // the model follows the radio group
    // Another variant selected elsewhere (a hot key) shows on its button.
    SelectTool(tools("PEN2"), true, -1);
    EXPECT_EQ(PixelsOf(Button(1)->GetGlyph()), PixelsOf(ToolGlyph(GetToolGroup(1).firstTool + 1)));
    EXPECT_TRUE(Button(1)->GetDown());
    EXPECT_FALSE(Button(2)->GetDown());
}

TEST_F(ToolButtonsTest, HoldingOpensTheVariantsRightOfTheButtonAndACellSelects)
{
    gui::MouseDown(Button(1), 10, 10);
    EXPECT_TRUE(ToolButtons->GetIconTimer()->GetEnabled());
    EXPECT_EQ(ToolButtons->GetIconTimer()->GetInterval(), 500);
    long waited = WaitForPopup(3000);
    ASSERT_NE(IconPanel, nullptr);
    EXPECT_GE(waited, 400);
    POINT at = Button(1)->ClientToScreen(POINT{0, 0});
    RECT r = WindowRect(IconPanel);
    EXPECT_EQ(r.left, at.x + 28);
    EXPECT_EQ(r.top, at.y);
    EXPECT_EQ(r.right - r.left, 3 * 32 + 4);  // one row of three
    EXPECT_EQ(r.bottom - r.top, 36);
    EXPECT_TRUE(IconPanel->GetCell(2)->GetVisible());
    EXPECT_EQ(IconPanel->GetCell(2)->GetLeft(), 66);
    EXPECT_EQ(IconPanel->GetCell(2)->GetHint(), "pen3");
    EXPECT_FALSE(IconPanel->GetCell(3)->GetVisible());
    gui::MouseUp(Button(1), 10, 10);
    ASSERT_NE(IconPanel, nullptr);

    gui::Click(IconPanel->GetCell(2), 10, 10);
    gui::PumpUntilIdle();
    EXPECT_EQ(CurrentTool, tools("PEN3"));
    EXPECT_EQ(GetToolGroup(1).shownTool, GetToolGroup(1).firstTool + 2);
    EXPECT_EQ(PixelsOf(Button(1)->GetGlyph()), PixelsOf(ToolGlyph(GetToolGroup(1).firstTool + 2)));
    EXPECT_EQ(Button(1)->GetHint(), "pen3 (P)");
    EXPECT_EQ(IconPanel, nullptr);
    // A click on the button now selects the variant it shows.
    SelectTool(tools("LINE1"), true, -1);
    gui::Click(Button(1), 10, 10);
    EXPECT_EQ(CurrentTool, tools("PEN3"));
}

TEST_F(ToolButtonsTest, NearTheRightEdgeThePopupOpensLeftOfTheButton)
{
    form->SetLeft(Screen->GetWidth() - 60);
    // A short press first: the timer must start again after it was stopped.
    gui::Click(Button(5), 10, 10);
    gui::MouseDown(Button(5), 10, 10);  // four circles: 132 wide
    WaitForPopup(3000);
    ASSERT_NE(IconPanel, nullptr);
    POINT at = Button(5)->ClientToScreen(POINT{0, 0});
    RECT r = WindowRect(IconPanel);
    EXPECT_EQ(r.left, at.x - 132);
    EXPECT_EQ(r.right - r.left, 132);
    gui::MouseUp(Button(5), 10, 10);
}

TEST_F(ToolButtonsTest, AGroupOfOneNeverOpensThePopup)
{
    gui::MouseDown(Button(9), 10, 10);  // text
    EXPECT_FALSE(ToolButtons->GetIconTimer()->GetEnabled());
    WaitForPopup(700);
    EXPECT_EQ(IconPanel, nullptr);
    gui::MouseUp(Button(9), 10, 10);
    EXPECT_EQ(CurrentTool, tools("TEXT"));
    EXPECT_TRUE(Button(9)->GetAllowAllUp());
}

TEST_F(ToolButtonsTest, TheRightButtonSelectsTheGroupsRightTool)
{
    gui::MouseDown(Button(0), 10, 10, mbRight);
    EXPECT_EQ(CurrentTool, tools("BRUSHRESIZE"));
    EXPECT_FALSE(ToolButtons->GetIconTimer()->GetEnabled());
    gui::MouseUp(Button(0), 10, 10, mbRight);
    // Without one, the right button holds like the left.
    gui::MouseDown(Button(1), 10, 10, mbRight);
    EXPECT_TRUE(ToolButtons->GetIconTimer()->GetEnabled());
    gui::MouseUp(Button(1), 10, 10, mbRight);
    EXPECT_FALSE(ToolButtons->GetIconTimer()->GetEnabled());
}

TEST_F(ToolButtonsTest, EscapeOrANewPressClosesThePopup)
{
    gui::MouseDown(Button(4), 10, 10);
    ToolButtons->ShowIconPanel(nullptr);
    gui::MouseUp(Button(4), 10, 10);
    ASSERT_NE(IconPanel, nullptr);
    EXPECT_EQ(IconPanel->GetGroup(), 4);
    gui::KeyPress(IconPanel, 27);
    gui::PumpUntilIdle();
    EXPECT_EQ(IconPanel, nullptr);
    gui::MouseDown(Button(4), 10, 10);
    ToolButtons->ShowIconPanel(nullptr);
    gui::MouseDown(Button(1), 10, 10);
    EXPECT_EQ(IconPanel, nullptr);
    gui::MouseUp(Button(1), 10, 10);
    gui::PumpUntilIdle();
}

TEST_F(ToolButtonsTest, ThePopupClosesWhenAnotherWindowIsActivated)
{
    gui::MouseDown(Button(1), 10, 10);
    ToolButtons->ShowIconPanel(nullptr);
    gui::MouseUp(Button(1), 10, 10);
    gui::PumpUntilIdle();
    ASSERT_NE(IconPanel, nullptr);
    EXPECT_EQ(GetForegroundWindow(), IconPanel->GetHandle());
    form->Show();
    gui::PumpUntilIdle();
    EXPECT_EQ(IconPanel, nullptr);
}

TEST_F(ToolButtonsTest, FlatIconsReachesButtonsAndCells)
{
    gui::MouseDown(Button(0), 10, 10);
    ToolButtons->ShowIconPanel(nullptr);
    gui::MouseUp(Button(0), 10, 10);
    ASSERT_NE(IconPanel, nullptr);
    ToolButtons->SetFlat(false);
    EXPECT_FALSE(Button(3)->GetFlat());
    EXPECT_FALSE(IconPanel->GetCell(7)->GetFlat());
    ToolButtons->SetFlat(true);
    EXPECT_TRUE(Button(3)->GetFlat());
}

class AddToolButtonTest : public ToolButtonsTest {
protected:
    NamedTool a{"PEN1"}, b{"PEN2"};
    void SetUp() override
    {
        ToolButtonsTest::SetUp();
        BuildToolButtons(panel, module, [](const char*) { return nullptr; });
    }
    static std::unique_ptr<TBitmap> Glyph()
    {
        std::unique_ptr<TBitmap> g(new TBitmap);
        g->SetSize(24, 24);
        return g;
    }
};

TEST_F(AddToolButtonTest, TheSecondVariantTurnsAllowAllUpOff)
{
    ASSERT_EQ(ToolGroupCount(), 0);
    EXPECT_EQ(AddToolButton("TEXT", &a, 'T', 1, module, 4), 0);
    EXPECT_TRUE(Button(0)->GetAllowAllUp());
    EXPECT_EQ(Button(0)->GetHint(), "pen1 (T)");
    EXPECT_EQ(AddToolButton("PEN2", &b, 'T', 1, module, 0), 0);
    EXPECT_FALSE(Button(0)->GetAllowAllUp());
    EXPECT_EQ(a.groupButton, b.groupButton);
}

TEST_F(AddToolButtonTest, AFullGroupTakesNothingAndLoadsNoGlyph)
{
    ASSERT_EQ(AddToolButton("PEN1", &a, 'P', 1, module, 4), 0);
    for (int i = 1; i < 32; ++i) ASSERT_EQ(AddToolButton("PEN2", &b, 0, 1, module, 0), 0);
    // The resource does not exist: asking for it would raise.
    EXPECT_EQ(AddToolButton("NOSUCHGLYPH", &b, 0, 1, module, 0), -1);
    EXPECT_EQ(GetToolGroup(0).count, 32);
    EXPECT_EQ(ToolEntryCount(), 32);
    EXPECT_EQ(ToolGlyph(32), nullptr);
}

TEST_F(AddToolButtonTest, BadArgumentsRaiseAndAddNothing)
{
    EXPECT_THROW(AddToolButton("NOSUCHGLYPH", &a, 0, 1, module, 4), EResNotFound);
    EXPECT_THROW(AddToolButton("PEN1", nullptr, 0, 1, module, 4), EInvalidOperation);
    EXPECT_THROW(ToolButtons->AddToolButton("X", nullptr, &a, 0, 1, 4), EInvalidOperation);
    EXPECT_THROW(ToolButtons->AddToolButton("X", Glyph(), &a, 0, 1, -1), EInvalidOperation);
    EXPECT_EQ(ToolGroupCount(), 0);
    EXPECT_EQ(ToolEntryCount(), 0);
    FreeToolButtons();
    EXPECT_THROW(AddToolButton("PEN1", &a, 0, 1, module, 4), EInvalidOperation);
}

TEST_F(ToolButtonsTest, FreeingThePanelFreesButtonsGlyphsAndTable)
{
    gui::MouseDown(Button(1), 10, 10);
    ToolButtons->ShowIconPanel(nullptr);
    gui::MouseUp(Button(1), 10, 10);
    ASSERT_NE(IconPanel, nullptr);
    delete panel;
    panel = nullptr;
    EXPECT_EQ(ToolButtons, nullptr);
    EXPECT_EQ(IconPanel, nullptr);
    EXPECT_EQ(ToolEntryCount(), 0);
    EXPECT_EQ(tools("PEN1")->groupButton, nullptr);
    // The model's buttons no longer reach the freed ones.
    SelectTool(tools("PEN1"), true, -1);
    EXPECT_EQ(CurrentTool, tools("PEN1"));
}

TEST_F(ToolButtonsTest, BuildingAgainLeavesNoObjectsBehind)
{
    gui::MouseDown(Button(1), 10, 10);
    ToolButtons->ShowIconPanel(nullptr);
    gui::MouseUp(Button(1), 10, 10);
    CloseIconPanel();
    gui::PumpUntilIdle();
    gui::TGuiCounts before = gui::CountGuiObjects();
    for (int i = 0; i < 3; ++i) {
        BuildToolButtons(panel, module, tools.Resolver());
        gui::MouseDown(Button(1), 10, 10);
        ToolButtons->ShowIconPanel(nullptr);
        gui::MouseUp(Button(1), 10, 10);
        CloseIconPanel();
        gui::PumpUntilIdle();
    }
    EXPECT_EQ(gui::CountGuiObjects(), before);
}

}  // namespace
