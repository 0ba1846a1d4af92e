// The main window's Undo and Redo buttons and the tool-group buttons draw
// their glyphs and show their hints once the pointer rests on them.
#include <chrono>

#include "../toolbuttons_fixture.h"
#include "bare_mainform_fixture.h"
#include "extctrls.h"
#include "hintwindow.h"
#include "pictureview.h"
#include "toolbar_button.h"
#include "timer.h"
#include "toolbuttons.h"
#include "tool_host.h"
#include "toolmanager.h"
#include "undo_history.h"

namespace {

const uint32_t GlyphBlue = 0x0000C8;  // the turning arrows of the two glyphs

// Rests the real pointer on the middle of control and waits for a hint;
// answers the text shown, or "" when none came within two seconds.
AnsiString HintAfterResting(TControl* control)
{
    POINT at = control->ClientToScreen(POINT{control->GetWidth() / 2, control->GetHeight() / 2});
    gui::InputMouseMoveTo(at.x, at.y);
    auto start = std::chrono::steady_clock::now();
    AnsiString text;
    while (!HintShowing(&text) && std::chrono::steady_clock::now() - start < std::chrono::seconds(2)) {
        gui::PumpUntilIdle();
        Sleep(10);
    }
    return text;
}

void PointerAwayAndWait()
{
    gui::InputMouseMoveTo(2, GetSystemMetrics(SM_CYSCREEN) - 3);
    // The system reports the leave from a timer of its own.
    for (int i = 0; i < 150 && HintShowing(); ++i) {
        Sleep(10);
        gui::PumpUntilIdle();
    }
}

int PixelsOfColour(const gui::TPixels& p, RECT r, uint32_t colour)
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += p.At(x, y) == colour;
    return n;
}

class StepButtonsTest : public BareMainForm {
protected:
    void SetUp() override
    {
        BareMainForm::SetUp();
        // No picture would disable them; the glyph is wanted as drawn enabled.
        MainForm->ActivityTimer->SetEnabled(false);
        // Shown whether or not the test display gives the program the activation.
        MainForm->Toolbar->SetHideWhenInactive(false);
        MainForm->UndoBtn->SetEnabled(true);
        MainForm->RedoBtn->SetEnabled(true);
        gui::PumpUntilIdle();
    }
    void TearDown() override
    {
        PointerAwayAndWait();
        BareMainForm::TearDown();
    }
};

TEST_F(StepButtonsTest, UndoAndRedoDrawTheirGlyphsAndShowTheirHints)
{
    struct Row {
        TToolbarButton* button;
        bool redo;
    };
    for (Row r : {Row{MainForm->UndoBtn, false}, Row{MainForm->RedoBtn, true}}) {
        const char* name = r.redo ? "Redo" : "Undo";
        gui::TPixels panel = gui::ReadPixels(MainForm->ToolPanel->GetHandle());
        EXPECT_GT(PixelsOfColour(panel, r.button->GetBoundsRect(), GlyphBlue), 20) << name;
        EXPECT_STREQ(UndoButtonHint(CurrentPicture, r.redo).c_str(), HintAfterResting(r.button).c_str()) << name;
        PointerAwayAndWait();
        EXPECT_FALSE(HintShowing()) << name;
    }
}

class ToolHintsTest : public GuiTest {
protected:
    TForm* form = nullptr;
    TableTools tools;

    void SetUp() override
    {
        GuiTest::SetUp();
        ToolHost = ToolHostServices();
        SetStartTool(&IdleTool);
        form = new TForm(app.get());
        form->SetBorderStyle(bsNone);
        form->SetBounds(200, 200, 60, 260);
        TPanel* panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(0, 0, 56, 250);
        form->ShowNoActivate();
        BuildToolButtons(panel, GetModuleHandleA(nullptr), tools.Resolver());
        gui::PumpUntilIdle();
    }
    void TearDown() override
    {
        PointerAwayAndWait();
        FreeToolButtons();
        SetStartTool(&IdleTool);
        GuiTest::TearDown();
    }
};

TEST_F(ToolHintsTest, ARestingPointerShowsTheButtonsHintAndAPressHidesIt)
{
    for (int group : {1, 14}) {
        TToolbarButton* b = ToolButtons->GetButton(group);
        ASSERT_NE(b, nullptr);
        EXPECT_STREQ(b->GetHint().c_str(), HintAfterResting(b).c_str()) << group;
        PointerAwayAndWait();
        EXPECT_FALSE(HintShowing()) << group;
    }
    TToolbarButton* b = ToolButtons->GetButton(0);
    EXPECT_STRNE("", HintAfterResting(b).c_str());
    gui::MouseDown(b, 5, 5, mbRight);
    EXPECT_FALSE(HintShowing());
    gui::MouseUp(b, 5, 5, mbRight);
    // A control that goes while its hint shows takes the hint along.
    EXPECT_STRNE("", HintAfterResting(ToolButtons->GetButton(2)).c_str());
    FreeToolButtons();
    EXPECT_FALSE(HintShowing());
}

}  // namespace
