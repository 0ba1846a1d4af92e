// The option controls the tools bind to the main window's handlers: the
// pattern fill's origin button selects the origin tool.
#include "bare_mainform_fixture.h"
#include "buttons.h"
#include "optionbar.h"
#include "shapes_tools.h"

namespace {

TSpeedButton* FindButton(TControl* c, const AnsiString& caption)
{
    auto* b = dynamic_cast<TSpeedButton*>(c);
    if (b && b->GetCaption() == caption) return b;
    auto* w = dynamic_cast<TWinControl*>(c);
    for (int i = 0; w && i < w->GetControlCount(); ++i)
        if (TSpeedButton* found = FindButton(w->GetControl(i), caption)) return found;
    return nullptr;
}

class ToolOptionHandlers : public BareMainForm {};

TEST_F(ToolOptionHandlers, PatternFillsOriginButtonSelectsTheOriginTool)
{
    SelectTool(&ShapeTools().fillPattern, true, -1);
    gui::PumpUntilIdle();
    TSpeedButton* origin = FindButton(MainForm->OptionToolbar, "Set origin");
    ASSERT_NE(origin, nullptr);
    gui::Click(origin, 3, 3);
    EXPECT_EQ(CurrentTool, &ShapeTools().fillPos);
    SelectTool(&IdleTool, true, -1);
}

}  // namespace
