// The spray, pipette and grid tools in the started program: their hot keys,
// the activity timer spraying while the button is held still, the pipette
// filling a swatch, and presses snapping to the grid bar's grid.
#include "../../gui/win32/timed_step.h"
#include "brushes_tools.h"
#include "colorsel_hsv.h"
#include "mainwindow_fixture.h"
#include "optionbar.h"
#include "optionbar_view.h"
#include "palette_notify.h"
#include "programpictures.h"
#include "toolbox_tools.h"

namespace {

class ToolBoxProgram : public MainWindow {
protected:
    TImageForm* f = nullptr;
    ToolBoxSet& box = ToolBoxTools();

    void SetUp() override
    {
        MainWindow::SetUp();
        ASSERT_TRUE(started);
        f = First();
        FocusWindow(f);
        ASSERT_EQ(f->Zoom, 1.0);
    }
    void TearDown() override
    {
        SetColourUser(&box.getCol, nullptr);
        if (box.grid.clickSteps) SelectTool(&box.grid, false, -1);
        MainWindow::TearDown();
    }
    std::vector<unsigned long> Pixels() const
    {
        return std::vector<unsigned long>(f->Picture.pixels, f->Picture.pixels + f->Picture.Width() * f->Picture.Height());
    }
};

TEST_F(ToolBoxProgram, HotKeysSelectTheToolsAndTheGridKeyKeepsTheTool)
{
    struct Case {
        WORD key, modifier;
        P_icon* tool;
    };
    const Case cases[] = {{'S', 0, &box.spray}, {'O', 0, &box.clone}, {'H', 0, &box.chCol}, {'G', 0, &box.getCol}};
    for (const Case& c : cases) {
        gui::InputKeyStroke(c.key, c.modifier);
        EXPECT_EQ(CurrentTool, c.tool) << char(c.key);
    }
    SelectTool(&box.spray, true, -1);
    gui::InputKeyStroke('3', VK_SHIFT);
    EXPECT_TRUE(MainForm->GridBar->GetVisible());
    EXPECT_EQ(CurrentTool, &box.spray);
    EXPECT_TRUE(OptionBarShown());
    gui::InputKeyStroke('3', VK_SHIFT);
    EXPECT_FALSE(MainForm->GridBar->GetVisible());
    EXPECT_EQ(CurrentTool, &box.spray);
    // The bar's first control sizes the spray.
    TControl* size = MainForm->OptionView->GetValueControl(0);
    ASSERT_NE(size, nullptr);
    gui::Click(size, 3, 3);
    EXPECT_EQ(CurrentTool, &PenBrushTools().resizeSpray);
}

TEST_F(ToolBoxProgram, HoldingTheButtonStillKeepsSprayingOnTimerTicks)
{
    SelectTool(&box.airbrush, true, -1);
    // Compared without the tool's outline, which is drawn into the picture
    // under the pointer; a test before may have left the pointer there.
    gui::InputMouseMoveTo(1023, 767);
    gui::PumpUntilIdle();
    HideOutline();
    std::vector<unsigned long> before = Pixels();
    int steps = 0;
    std::function<void()> update = PaintKitHost.update;
    PaintKitHost.update = [&] {
        ++steps;
        if (update) update();
    };
    // Each firing of the activity timer is one step: counted against the
    // firings the loaded machine really delivered, not against the clock.
    int ticks = 0;
    TNotifyEvent onTimer = MainForm->ActivityTimer->OnTimer;
    MainForm->ActivityTimer->OnTimer = [&](TObject* t) {
        ++ticks;
        onTimer(t);
    };
    gui::MouseMove(f->ShowBuf, 60, 50);
    gui::MouseDown(f->ShowBuf, 60, 50);
    int pressSteps = steps;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 1000) {
        gui::PumpUntilIdle();
        Sleep(5);
    }
    int held = steps - pressSteps, heldTicks = ticks;
    gui::MouseUp(f->ShowBuf, 60, 50);
    PaintKitHost.update = update;
    MainForm->ActivityTimer->OnTimer = onTimer;
    RecordProperty("steps", held);
    EXPECT_GE(heldTicks, 3);   // 20 at 50 ms a tick on an idle machine
    EXPECT_LE(heldTicks, 22);
    EXPECT_GE(held, heldTicks - 1);  // the press may fall between two firings
    EXPECT_LE(held, heldTicks);
    EXPECT_EQ(ToolPhase, PhaseIdle);
    HideOutline();
    EXPECT_NE(Pixels(), before);
    ASSERT_TRUE(UDBuffer::Undo(&f->Picture, false));
    EXPECT_EQ(Pixels(), before);
}

TEST_F(ToolBoxProgram, PipetteRightButtonFillsTheBackgroundSwatchWithItsHSV)
{
    *f->Picture.At(7, 9) = 0x00123456;
    int notified = 0;
    SetColourUser(&box.getCol, [&] { ++notified; });
    SelectTool(&box.getCol, true, -1);
    gui::Click(f->ShowBuf, 7, 9, mbRight);
    EXPECT_EQ(MainForm->BackCol->GetBrush()->GetColor(), TColor(0x563412));
    EXPECT_EQ(MainForm->BackCol->GetTag(), HSVTag(RGBToHSV(0x12, 0x34, 0x56)));
    EXPECT_EQ(notified, 1);
    EXPECT_NE(CurrentTool, &box.getCol);
}

TEST_F(ToolBoxProgram, WithTheGridOnPressesSnapAndTheGridBarButtonsSetOriginAndSpacing)
{
    gui::InputKeyStroke('3', VK_SHIFT);
    ASSERT_EQ(MainForm->GridDx->GetValue(), 8);
    struct Case {
        int x, y;
        TPoint snapped;
    };
    for (Case c : {Case{3, 4, {0, 8}}, Case{11, 12, {8, 16}}}) {
        gui::MouseMove(f->ShowBuf, c.x, c.y);
        EXPECT_EQ(MousePoint, c.snapped) << c.x;
    }
    gui::Click(MainForm->GridOriginBtn, 2, 2);
    EXPECT_EQ(CurrentTool, &box.gridPos);
    gui::Click(f->ShowBuf, 5, 6);
    EXPECT_EQ(MainForm->GridPx->GetValue(), 5);
    EXPECT_EQ(MainForm->GridPy->GetValue(), 6);
    EXPECT_NE(CurrentTool, &box.gridPos);
    gui::MouseMove(f->ShowBuf, 10, 13);
    EXPECT_EQ(MousePoint, (TPoint{13, 14}));
    CurrentBrush.Alloc(Pair<int>{5, 3});
    gui::Click(MainForm->GridBrushBtn, 2, 2);
    EXPECT_EQ(MainForm->GridDx->GetValue(), 5);
    EXPECT_EQ(MainForm->GridDy->GetValue(), 3);
}

}  // namespace
