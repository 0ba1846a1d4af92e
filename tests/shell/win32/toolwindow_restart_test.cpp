// Where the tool and palette windows are after a start, what a clean exit
// stores of them, and that the next start puts them back there, for every
// combination of docking into the picture window and starting maximised.
#include <string>

#include "registry.h"
#include "started_program_fixture.h"

namespace {

enum BarSpot { Floating, InLeftDock, InRightDock, Elsewhere };

BarSpot SpotOf(TToolbar* bar)
{
    TImageForm* f = CurrentImageForm;
    if (bar->IsFloating()) return Floating;
    if (f && bar->GetDockedTo() == f->LeftDock) return InLeftDock;
    return f && bar->GetDockedTo() == f->RightDock ? InRightDock : Elsewhere;
}

// On the screen, not only Visible: a floating window shows through its holder.
bool Showing(TToolbar* bar)
{
    TWinControl* w = bar->IsFloating() ? static_cast<TWinControl*>(bar->GetFloatParent()) : bar;
    return w && w->HandleAllocated() && IsWindowVisible(w->GetHandle());
}

// Where a clean exit left the bar: floating ("+") at a spot.
std::string Stored(const char* bar, POINT& at)
{
    TRegIniFile ini("Software\\Corvane\\KS\\Toolbars");
    at = POINT{ini.ReadInteger(bar, "FloatLeft", -1), ini.ReadInteger(bar, "FloatTop", -1)};
    EXPECT_EQ(2, ini.ReadInteger(bar, "Rev", 0)) << bar;
    EXPECT_EQ(1, ini.ReadInteger(bar, "Visible", 0)) << bar;
    return ini.ReadString(bar, "DockedTo", "<none>").c_str();
}

bool operator==(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

struct RestartCase {
    bool alwaysDock, startMax;
    BarSpot firstTools, firstPalette;  // the first start (no stored positions)
    BarSpot nextTools, nextPalette;    // every start after a clean exit
};

class ToolWindowRestart : public StartedProgram {
protected:
    void CheckBars(const RestartCase& c, BarSpot tools, BarSpot palette)
    {
        EXPECT_EQ(tools, SpotOf(MainForm->Toolbar));
        EXPECT_EQ(palette, SpotOf(MainForm->Palettebar));
        EXPECT_TRUE(Showing(MainForm->Toolbar) && Showing(MainForm->Palettebar));
        EXPECT_TRUE(MainForm->ToolbarVisib->GetChecked() && MainForm->PaletteVisib->GetChecked());
        ASSERT_NE(nullptr, CurrentImageForm);
        EXPECT_EQ(c.startMax, IsZoomed(MainForm->GetHandle()) != 0);
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
        CheckBars(c, c.firstTools, c.firstPalette);
        POINT tools = MainForm->Toolbar->GetFloatingPosition();
        POINT palette = MainForm->Palettebar->GetFloatingPosition();
        if (c.firstTools == Floating) {
            // At (0, 0) with the palette window under it, the tool window under that.
            RECT main;
            GetWindowRect(MainForm->GetHandle(), &main);
            EXPECT_TRUE((POINT{main.left, main.top} == POINT{0, 0}));
            EXPECT_TRUE((palette == POINT{main.left, main.bottom}));
            EXPECT_TRUE((tools == POINT{main.left, palette.y + MainForm->Palettebar->GetHeight()}));
        }
        ASSERT_TRUE(Exit());
        POINT storedTools, storedPalette;
        EXPECT_EQ("+", Stored("Toolbar", storedTools));
        EXPECT_EQ("+", Stored("Palettebar", storedPalette));
        EXPECT_TRUE(storedTools == tools && storedPalette == palette);
        std::string stored = RegQuery("HKCU\\Software\\Corvane\\KS\\Toolbars /s");

        ASSERT_TRUE(Start());
        CheckBars(c, c.nextTools, c.nextPalette);
        EXPECT_TRUE(MainForm->Toolbar->GetFloatingPosition() == storedTools);
        EXPECT_TRUE(MainForm->Palettebar->GetFloatingPosition() == storedPalette);
        ASSERT_TRUE(Exit());
        EXPECT_EQ(stored, RegQuery("HKCU\\Software\\Corvane\\KS\\Toolbars /s")) << "the next exit stores the same";
    }
}

}  // namespace
