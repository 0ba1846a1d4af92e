// A window set floating before anything lets it show (its form hidden, the
// application inactive) has never had its holder made; it still comes up
// as soon as the rules allow.
#include "toolbar_test_form.h"

namespace {

bool HolderShowing(TCustomToolWindow* w)
{
    TFloatingWindowParent* holder = w->GetFloatParent();
    return holder && holder->HandleAllocated() && IsWindowVisible(holder->GetHandle());
}

class TbWindowFirstShow : public GuiTest {};

TEST_F(TbWindowFirstShow, FloatingBeforeTheFormShowsComesUpWithIt)
{
    struct Case {
        TToolWindowFloatingMode mode;
        bool hideWhenInactive;
    };
    const Case cases[] = {{fmOnTopOfParentForm, false}, {fmOnTopOfAllForms, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        TDockForm f;
        TToolbar* bar = f.Bar1;
        bar->SetFloatingMode(c.mode);
        bar->SetHideWhenInactive(c.hideWhenInactive);
        bar->SetFloatingPosition(POINT{200, 200});
        bar->SetDockedTo(nullptr);
        gui::PumpUntilIdle();
        ASSERT_EQ(nullptr, GetActiveWindow());
        EXPECT_FALSE(HolderShowing(bar));
        f.Show();
        EXPECT_TRUE(HolderShowing(bar));
        EXPECT_EQ(200, ScreenRect(bar).left);
    }
}

}  // namespace
