// The grid bar as the option bars show and hide it: second row of the
// bottom dock, only the controls the user level reaches, and nothing of it
// usable while hidden; the main window follows the dock's height.
#include "bare_mainform_fixture.h"
#include "messages.h"
#include "optionbar.h"
#include "tool.h"
#include "userlevel.h"

namespace {

class GridBar : public BareMainForm {
protected:
    void TearDown() override
    {
        Level = LevelNovice;
        SetLanguageLookup(nullptr);
        BareMainForm::TearDown();
    }

    static void ShowGrid(bool shown)
    {
        ASSERT_TRUE(bool(OptionBarView.showGridBar));
        OptionBarView.showGridBar(shown);
        gui::PumpUntilIdle();
    }
};

TEST_F(GridBar, ShownInTheSecondDockRowWithTheMainWindowGrown)
{
    // Under the bar of a tool that has one.
    SetLanguageLookup([](const AnsiString&) { return AnsiString("Radius,I,Size,1,100,10,Brush size"); });
    P_icon tool;
    tool.optionBarKey = "Bar";
    ShowOptionBar(&tool);
    MainForm->FitMainWindowToDock();
    int before = MainForm->GetClientHeight();
    ShowGrid(true);
    TToolbar* bar = MainForm->GridBar;
    EXPECT_TRUE(bar->GetVisible());
    EXPECT_TRUE(bar->GetEnabled());
    EXPECT_EQ(MainForm->Dock, bar->GetDockedTo());
    EXPECT_EQ(1, bar->GetDockRow());
    EXPECT_TRUE(MainForm->GridDx->GetEnabled());
    EXPECT_TRUE(MainForm->GridPy->GetEnabled());
    EXPECT_EQ(MainForm->Dock->GetHeight(), MainForm->GetClientHeight());
    EXPECT_GT(MainForm->GetClientHeight(), before);
    HideOptionBar(&tool, nullptr);
}

TEST_F(GridBar, ControlsAboveTheUserLevelStayHidden)
{
    MainForm->GridPx->SetTag(LevelExpert << 12);
    ShowGrid(true);
    EXPECT_FALSE(MainForm->GridPx->GetVisible());
    EXPECT_FALSE(MainForm->GridPx->GetEnabled());
    EXPECT_TRUE(MainForm->GridDx->GetVisible());
    ShowGrid(false);
    Level = LevelExpert;
    ShowGrid(true);
    EXPECT_TRUE(MainForm->GridPx->GetVisible());
    EXPECT_TRUE(MainForm->GridPx->GetEnabled());
}

TEST_F(GridBar, HiddenItAndItsControlsAreDisabledAndTheWindowShrinksBack)
{
    ShowGrid(true);
    int shown = MainForm->GetClientHeight();
    ShowGrid(false);
    EXPECT_FALSE(MainForm->GridBar->GetVisible());
    EXPECT_FALSE(MainForm->GridBar->GetEnabled());
    EXPECT_FALSE(MainForm->GridDx->GetEnabled());
    EXPECT_FALSE(MainForm->GridPy->GetEnabled());
    EXPECT_LT(MainForm->GetClientHeight(), shown);
    EXPECT_EQ(MainForm->Dock->GetHeight(), MainForm->GetClientHeight());
}

}  // namespace
