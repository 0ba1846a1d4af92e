// Every tool's built-in option bar on a real bar under Xvfb, with no
// language file: each index the tool reads is the control it expects, with
// the limits and value of the description, shown and enabled.
#include <gtest/gtest.h>

#include "../../gui/win32/gui_fixture.h"
#include "buttons.h"
#include "extctrls.h"
#include "messages.h"
#include "optionbar_view.h"
#include "spinedit.h"
#include "tool.h"
#include "userlevel.h"

namespace {

const char* const ToolBars[] = {"LINEBAR", "CURVEBAR",    "CIRCLEBAR", "ELLIPSEBAR", "SFILLBAR",
                                "PFILLBAR", "SPRAYBAR",   "AIRBRUSHBAR", "CLONEBAR", "CHBAR",
                                "CUTBAR",   "WANDBAR",    "ROTATEBAR", "STRETCHBAR"};

class BuiltInBarViews : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        SetLanguageLookup(nullptr);
        Level = LevelNovice;
        form = new TForm(app.get());
        form->SetBorderStyle(bsNone);
        form->SetBounds(10, 10, 1000, 60);
        bar = new TPanel(form);
        bar->SetBounds(0, 0, 1000, 30);
        bar->SetParent(form);
        caption = new TLabel(form);
        caption->SetParent(bar);
        view = new TOptionBarView(form, bar, caption);
        form->Show();
    }
    void TearDown() override
    {
        HideOptionBar(&tool, nullptr);
        delete form;
        GuiTest::TearDown();
    }

    // The control at index matches the description's item.
    void CheckControl(int index, const OptionItem& item)
    {
        SCOPED_TRACE(index);
        TControl* c = view->GetValueControl(index);
        ASSERT_NE(nullptr, c);
        EXPECT_TRUE(c->GetVisible());
        EXPECT_TRUE(c->GetEnabled());
        EXPECT_EQ(c->GetHint(), item.hint);
        switch (item.kind) {
        case 'I':
        case 'F': {
            TSpinEdit* spin = dynamic_cast<TSpinEdit*>(c);
            ASSERT_NE(nullptr, spin);
            EXPECT_EQ(spin->GetValueType(), item.kind == 'F' ? vtFloat : vtInt);
            EXPECT_EQ(double(spin->GetMinValue()), item.minimum);
            EXPECT_EQ(double(spin->GetMaxValue()), item.maximum);
            EXPECT_EQ(double(spin->GetValue()), item.value);
            break;
        }
        case 'L': {
            TComboBox* combo = dynamic_cast<TComboBox*>(c);
            ASSERT_NE(nullptr, combo);
            EXPECT_EQ(combo->GetItems()->GetCount(), int(item.entries.size()));
            EXPECT_EQ(combo->GetItemIndex(), 0);
            break;
        }
        case 'C': {
            TCheckBox* box = dynamic_cast<TCheckBox*>(c);
            ASSERT_NE(nullptr, box);
            EXPECT_EQ(box->GetChecked(), item.value != 0);
            break;
        }
        case 'B': {
            TSpeedButton* button = dynamic_cast<TSpeedButton*>(c);
            ASSERT_NE(nullptr, button);
            EXPECT_EQ(button->GetCaption(), item.caption);
            break;
        }
        default:
            ADD_FAILURE() << "unexpected kind " << item.kind;
        }
    }

    TForm* form = nullptr;
    TPanel* bar = nullptr;
    TLabel* caption = nullptr;
    TOptionBarView* view = nullptr;
    P_icon tool;
};

TEST_F(BuiltInBarViews, EveryToolBarBuildsItsControls)
{
    for (const char* key : ToolBars) {
        SCOPED_TRACE(key);
        HideOptionBar(&tool, nullptr);
        tool.optionBarKey = key;
        ShowOptionBar(&tool);
        gui::PumpUntilIdle();
        OptionBarDescription desc = ParseOptionBar(BuiltInText(key));
        EXPECT_EQ(caption->GetCaption(), desc.caption);
        ASSERT_EQ(view->GetValueControlCount(), OptionControlCount());
        int index = 0;
        for (const OptionItem& item : desc.items)
            if (item.HasValue()) CheckControl(index++, item);
        EXPECT_EQ(index, OptionControlCount());
        // Laid out left to right within reach: nothing placed past the
        // widest bar a 1024-pixel screen can hold.
        TControl* last = view->GetValueControl(index - 1);
        ASSERT_NE(nullptr, last);
        EXPECT_LE(last->GetLeft() + last->GetWidth(), 1000);
    }
}

}  // namespace
