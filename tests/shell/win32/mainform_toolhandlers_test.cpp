// The option controls the tools bind to the main window's handlers: the
// pattern fill's origin button selects the origin tool.
#include "bare_mainform_fixture.h"
#include "buttons.h"
#include "optionbar.h"
#include "shapes_tools.h"

namespace {

class ToolOptionHandlers : public BareMainForm {};

TEST_F(ToolOptionHandlers, PatternFillsOriginButtonSelectsTheOriginTool)
{
    SelectTool(&ShapeTools().fillPattern, true, -1);
    gui::PumpUntilIdle();
    TSpeedButton* origin = gui::FindButton(MainForm->OptionToolbar, "Set origin");
    ASSERT_NE(origin, nullptr);
    gui::Click(origin, 3, 3);
    EXPECT_EQ(CurrentTool, &ShapeTools().fillPos);
    SelectTool(&IdleTool, true, -1);
}

}  // namespace
