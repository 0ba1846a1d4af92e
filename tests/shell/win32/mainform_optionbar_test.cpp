// The main window's option bar: down until a tool with a description shows
// it, then at the start of its row, the main window wide enough for it, and
// down again after a start whatever the stored places say. Also the tool
// windows' z-order after a picture was read.
#include <cstdio>
#include <string>

#include "bare_mainform_fixture.h"
#include "gfxfile.h"
#include "messages.h"
#include "optionbar.h"
#include "started_program_fixture.h"
#include "tool.h"
#include "userlevel.h"

namespace {

const char* const NarrowBar = "Radius,I,Size,1,100,10,Brush size";
const char* const WideBar =
    "Wide,L,Mode,3,Replace all colours,Add to the selection,Subtract from the selection,Mode,"
    "L,Edges,2,Anti-aliased smooth edges,Hard pixel edges,Edges,I,Size,1,10000,10,Size,"
    "C,Keep the aspect ratio,1,Aspect,C,Use the background colour,0,Background";

// A tool whose option bar comes from the text given.
struct BarTool {
    explicit BarTool(const char* description)
    {
        SetLanguageLookup([description](const AnsiString&) { return AnsiString(description); });
        tool.optionBarKey = "Bar";
    }
    ~BarTool()
    {
        HideOptionBar(&tool, nullptr);
        SetLanguageLookup(nullptr);
    }
    BarTool(const BarTool&) = delete;
    BarTool& operator=(const BarTool&) = delete;
    void Show()
    {
        ShowOptionBar(&tool);
        MainForm->FitMainWindowToDock();
        gui::PumpUntilIdle();
    }
    P_icon tool;
};

class OptionBarOfMainWindow : public BareMainForm {};

TEST_F(OptionBarOfMainWindow, DownUntilAToolShowsItThenAtTheStartOfItsRow)
{
    TToolbar* bar = MainForm->OptionToolbar;
    EXPECT_FALSE(bar->GetVisible());
    EXPECT_EQ(0, MainForm->Dock->GetToolbarCount());
    bar->SetDockPos(197);  // as packing behind the grid bar once left it
    BarTool narrow(NarrowBar);
    narrow.Show();
    EXPECT_TRUE(bar->GetVisible());
    EXPECT_EQ(0, bar->GetDockPos());
    EXPECT_EQ(0, bar->GetLeft());
    EXPECT_EQ(MainForm->Dock->GetHeight(), MainForm->GetClientHeight());
}

TEST_F(OptionBarOfMainWindow, MainWindowGrowsToTheWidestBarAndStaysSo)
{
    BarTool wide(WideBar);
    wide.Show();
    int barWidth = MainForm->OptionToolbar->GetWidth();
    ASSERT_GT(barWidth, 400) << "the bar must be wider than the window";
    EXPECT_EQ(barWidth, MainForm->GetClientWidth());
    HideOptionBar(&wide.tool, nullptr);
    MainForm->FitMainWindowToDock();
    EXPECT_EQ(barWidth, MainForm->GetClientWidth()) << "it does not shrink back";
}

class OptionBarAtStart : public StartedProgram {};

TEST_F(OptionBarAtStart, BarsOpenAtExitAreDownAfterTheNextStart)
{
    ASSERT_TRUE(Start());
    EXPECT_FALSE(MainForm->OptionToolbar->GetVisible()) << "the pen has no option bar";
    {
        BarTool narrow(NarrowBar);
        narrow.Show();
        OptionBarView.showGridBar(true);
        ASSERT_TRUE(MainForm->OptionToolbar->GetVisible());
        ASSERT_TRUE(Exit());
    }
    TRegIniFile ini("Software\\Corvane\\KS\\Toolbars");
    EXPECT_EQ(1, ini.ReadInteger("OptionToolbar", "Visible", 0));
    EXPECT_EQ(1, ini.ReadInteger("GridBar", "Visible", 0));
    ASSERT_TRUE(Start());
    EXPECT_FALSE(MainForm->OptionToolbar->GetVisible());
    EXPECT_FALSE(MainForm->GridBar->GetVisible());
    EXPECT_FALSE(OptionBarShown());
    EXPECT_EQ(MainForm->Dock->GetHeight(), MainForm->GetClientHeight());
}

TEST_F(OptionBarAtStart, AReadPictureLeavesTheToolWindowsAboveAllForms)
{
    ASSERT_TRUE(Start());
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string name = std::string(folder) + "kestrel-toolwindows-" + std::to_string(GetCurrentProcessId()) + ".bmp";
    Buffer b;
    b.Alloc(Pair<int>{5, 3});
    GFXSaveParams p;
    memset(&p, 0, sizeof p);
    p.bits = 24;
    ASSERT_TRUE(GFXFile::Save(b, name.c_str(), nullptr, &p));
    MainForm->SetToolbarsFloatingMode(true);
    ASSERT_EQ(fmOnTopOfParentForm, MainForm->Toolbar->GetFloatingMode());
    EXPECT_EQ(0, LoadPictureFile(nullptr, name.c_str(), 0, false));
    std::remove(name.c_str());
    EXPECT_EQ(fmOnTopOfAllForms, MainForm->Toolbar->GetFloatingMode());
    EXPECT_EQ(fmOnTopOfAllForms, MainForm->Palettebar->GetFloatingMode());
}

}  // namespace
