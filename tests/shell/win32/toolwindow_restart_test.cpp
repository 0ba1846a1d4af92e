// Where the tool and palette windows are after a start, what a clean exit
// stores of them, and that the next start puts them back there, for every
// combination of docking into the picture window and starting maximised.
#include <string>

#include "registry.h"
#include "started_program_fixture.h"

namespace {

enum BarSpot { Floating, InLeftDock, InRightDock };

struct StoredBar {
    int rev = 0, visible = -1, left = 0, top = 0;
    std::string dockedTo;
    bool operator==(const StoredBar& o) const
    {
        return rev == o.rev && visible == o.visible && left == o.left && top == o.top && dockedTo == o.dockedTo;
    }
};

StoredBar Stored(const char* bar)
{
    TRegIniFile ini("Software\\Corvane\\KS\\Toolbars");
    StoredBar s;
    s.rev = ini.ReadInteger(bar, "Rev", 0);
    s.visible = ini.ReadInteger(bar, "Visible", -1);
    s.dockedTo = ini.ReadString(bar, "DockedTo", "<none>").c_str();
    s.left = ini.ReadInteger(bar, "FloatLeft", -1);
    s.top = ini.ReadInteger(bar, "FloatTop", -1);
    return s;
}

BarSpot SpotOf(TToolbar* bar)
{
    TImageForm* f = CurrentImageForm;
    if (f && bar->GetDockedTo() == f->LeftDock) return InLeftDock;
    if (f && bar->GetDockedTo() == f->RightDock) return InRightDock;
    return bar->IsFloating() ? Floating : BarSpot(-1);
}

// On the screen, not only Visible: a floating window shows through its holder.
bool Showing(TToolbar* bar)
{
    if (bar->IsFloating()) {
        TFloatingWindowParent* holder = bar->GetFloatParent();
        return holder && holder->HandleAllocated() && IsWindowVisible(holder->GetHandle());
    }
    return bar->HandleAllocated() && IsWindowVisible(bar->GetHandle());
}

struct RestartCase {
    bool alwaysDock, startMax;
    BarSpot firstTools, firstPalette;  // the first start (no stored positions)
    BarSpot nextTools, nextPalette;    // every start after a clean exit
};

class ToolWindowRestart : public StartedProgram {
protected:
    void CheckBars(const RestartCase& c, BarSpot tools, BarSpot palette, const char* run)
    {
        SCOPED_TRACE(run);
        EXPECT_EQ(tools, SpotOf(MainForm->Toolbar));
        EXPECT_EQ(palette, SpotOf(MainForm->Palettebar));
        for (TToolbar* bar : {MainForm->Toolbar, MainForm->Palettebar}) EXPECT_TRUE(Showing(bar)) << bar->GetName().c_str();
        EXPECT_TRUE(MainForm->ToolbarVisib->GetChecked());
        EXPECT_TRUE(MainForm->PaletteVisib->GetChecked());
        EXPECT_EQ(c.startMax, IsZoomed(MainForm->GetHandle()) != 0);
        ASSERT_NE(nullptr, CurrentImageForm);
        EXPECT_EQ(c.startMax, IsZoomed(CurrentImageForm->GetHandle()) != 0);
    }
};

TEST_F(ToolWindowRestart, AfterACleanExitTheNextStartPutsTheBarsBack)
{
    const RestartCase cases[] = {
        {true, false, InLeftDock, InRightDock, InLeftDock, InRightDock},
        {true, true, InLeftDock, InLeftDock, InLeftDock, InRightDock},
        {false, false, Floating, Floating, Floating, Floating},
        {false, true, InLeftDock, InLeftDock, Floating, Floating},
    };
    for (const RestartCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "AlwaysDock " << c.alwaysDock << ", StartMax " << c.startMax);
        RemoveKey(HKEY_CURRENT_USER, ProgramKey);
        WritePreference("AlwaysDock", c.alwaysDock);
        WritePreference("StartMax", c.startMax);

        ASSERT_TRUE(Start());
        CheckBars(c, c.firstTools, c.firstPalette, "first start");
        // First start: the palette under the main window, the tools under it.
        RECT main;
        GetWindowRect(MainForm->GetHandle(), &main);
        POINT palette = MainForm->Palettebar->GetFloatingPosition();
        POINT tools = MainForm->Toolbar->GetFloatingPosition();
        if (c.firstTools == Floating) {
            EXPECT_EQ(0, main.left);
            EXPECT_EQ(0, main.top);
            EXPECT_EQ(main.left, palette.x);
            EXPECT_EQ(main.bottom, palette.y);
            EXPECT_EQ(main.left, tools.x);
            EXPECT_EQ(palette.y + MainForm->Palettebar->GetHeight(), tools.y);
        }
        ASSERT_TRUE(Exit());
        StoredBar storedTools = Stored("Toolbar"), storedPalette = Stored("Palettebar");
        EXPECT_EQ("+", storedTools.dockedTo);
        EXPECT_EQ("+", storedPalette.dockedTo);
        EXPECT_EQ(2, storedTools.rev);
        EXPECT_EQ(1, storedTools.visible);
        EXPECT_EQ(1, storedPalette.visible);
        EXPECT_EQ(tools.x, storedTools.left);
        EXPECT_EQ(tools.y, storedTools.top);
        EXPECT_EQ(palette.x, storedPalette.left);
        EXPECT_EQ(palette.y, storedPalette.top);

        ASSERT_TRUE(Start());
        CheckBars(c, c.nextTools, c.nextPalette, "second start");
        POINT restored = MainForm->Toolbar->GetFloatingPosition();
        EXPECT_EQ(storedTools.left, restored.x);
        EXPECT_EQ(storedTools.top, restored.y);
        restored = MainForm->Palettebar->GetFloatingPosition();
        EXPECT_EQ(storedPalette.left, restored.x);
        EXPECT_EQ(storedPalette.top, restored.y);
        ASSERT_TRUE(Exit());
        EXPECT_TRUE(storedTools == Stored("Toolbar"));
        EXPECT_TRUE(storedPalette == Stored("Palettebar"));
        if (HasFatalFailure()) return;
    }
}

}  // namespace
