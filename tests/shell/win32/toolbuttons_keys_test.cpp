// A group's hot key in an image window: the group's shown tool, then its
// next variant, and the button follows.
#include "../../painting/win32/imageform_fixture.h"
#include "../toolbuttons_fixture.h"
#include "extctrls.h"
#include "forms.h"
#include "toolbar_button.h"
#include "toolbuttons.h"

namespace {

class ToolButtonKeys : public ImageFormTest {
protected:
    TableTools tools;
    void SetUp() override
    {
        ImageFormTest::SetUp();
        auto* holder = new TForm(app.get());
        auto* panel = new TPanel(holder);
        panel->SetParent(holder);
        BuildToolButtons(panel, GetModuleHandleA(nullptr), tools.Resolver());
    }
    void TearDown() override
    {
        FreeToolButtons();
        ImageFormTest::TearDown();
    }
};

TEST_F(ToolButtonKeys, AGroupsKeyShowsItsToolThenTheNextVariant)
{
    TImageForm* f = NewShownWindow(40, 30);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(Key(f, 'P'), 0);
    EXPECT_EQ(CurrentTool, tools("PEN1"));
    EXPECT_TRUE(ToolButtons->GetButton(1)->GetDown());
    Key(f, 'P');
    EXPECT_EQ(CurrentTool, tools("PEN2"));
    EXPECT_EQ(ToolButtons->GetButton(1)->GetHint(), "pen2 (P)");
    Key(f, 'P');
    Key(f, 'P');  // round again
    EXPECT_EQ(CurrentTool, tools("PEN1"));
    Key(f, '3', ssShift);
    EXPECT_EQ(CurrentTool, tools("GRID"));
    Key(f, 'C', ssShift | ssCtrl);
    EXPECT_EQ(CurrentTool, tools("CLEAR"));
    Key(f, 'C');
    EXPECT_EQ(CurrentTool, tools("CRC1"));
}

}  // namespace
