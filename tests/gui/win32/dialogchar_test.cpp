// What a form's controls hear from outside: accelerator characters offered
// to every control (CM_DIALOGCHAR), and a parent told when a child changes
// size or visibility.
#include <vector>

#include "gui_fixture.h"
#include "extctrls.h"
#include "stdctrls.h"

namespace {

// A windowless control that takes one accelerator character.
class TAccelDot : public TGraphicControl {
public:
    TAccelDot(TComponent* owner, TWinControl* parent, char key) : TGraphicControl(owner), Key(key)
    {
        SetParent(parent);
        SetBounds(0, 0, 10, 10);
    }
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == CM_DIALOGCHAR) {
            Offered.push_back(static_cast<char>(Message.WParam));
            Message.Result = Message.WParam == static_cast<WPARAM>(Key);
            return;
        }
        TGraphicControl::WndProc(Message);
    }
    char Key;
    std::vector<char> Offered;
};

// A panel that counts the changes its children report.
class TCountingPanel : public TPanel {
public:
    explicit TCountingPanel(TComponent* owner) : TPanel(owner) {}
    std::vector<TControl*> Changed;

protected:
    void ChildChanged(TControl* AControl) override
    {
        Changed.push_back(AControl);
        TPanel::ChildChanged(AControl);
    }
};

class DialogCharTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        form = new TForm(app.get());
        form->SetBorderStyle(bsNone);
        form->SetBounds(50, 50, 300, 200);
        panel = new TCountingPanel(form);
        panel->SetParent(form);
        panel->SetBounds(0, 0, 200, 100);
        edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 150, 100, 20);
    }
    TForm* form = nullptr;
    TCountingPanel* panel = nullptr;
    TEdit* edit = nullptr;
};

}  // namespace

TEST_F(DialogCharTest, AltLetterFromAnyControlReachesNestedWindowlessControls)
{
    auto* a = new TAccelDot(form, panel, 'a');
    auto* b = new TAccelDot(form, form, 'b');
    form->Show();
    gui::PumpUntilIdle();
    edit->SetFocus();
    gui::InputKeyStroke('B', VK_MENU);
    ASSERT_EQ(1u, b->Offered.size());
    EXPECT_EQ('b', b->Offered[0]);
    // The panel was offered it first and passed it on.
    EXPECT_EQ(1u, a->Offered.size());
    // A used character goes no further.
    a->Offered.clear();
    b->Offered.clear();
    EXPECT_EQ(0, SendMessageA(edit->GetHandle(), WM_SYSCHAR, 'a', 1 << 29));
    EXPECT_EQ(1u, a->Offered.size());
    EXPECT_TRUE(b->Offered.empty());
}

TEST_F(DialogCharTest, LettersAreOfferedOnlyWhenTypedOnTheFormItself)
{
    auto* a = new TAccelDot(form, panel, 'a');
    form->Show();
    gui::PumpUntilIdle();
    gui::KeyPress(edit, 'a');
    EXPECT_TRUE(a->Offered.empty());
    EXPECT_STREQ("a", edit->GetText().c_str());
    // A form's own KeyPress may take the letter before the controls see it.
    form->OnKeyPress = [](TObject*, char& key) {
        if (key == 'x') key = 0;
    };
    gui::KeyPress(form, 'x');
    EXPECT_TRUE(a->Offered.empty());
    gui::KeyPress(form, 'a');
    ASSERT_EQ(1u, a->Offered.size());
}

TEST_F(DialogCharTest, LabelAcceleratorFocusesItsControl)
{
    auto* label = new TLabel(form);
    label->SetParent(panel);
    label->SetCaption("&Name");
    label->SetFocusControl(edit);
    auto* other = new TEdit(form);
    other->SetParent(form);
    other->SetBounds(150, 150, 100, 20);
    form->Show();
    gui::PumpUntilIdle();
    other->SetFocus();
    EXPECT_EQ(0, form->Perform(CM_DIALOGCHAR, 'x'));
    EXPECT_FALSE(edit->Focused());
    EXPECT_EQ(1, form->Perform(CM_DIALOGCHAR, 'N'));
    EXPECT_TRUE(edit->Focused());
    EXPECT_TRUE(IsAccel('n', "&Name"));
    EXPECT_FALSE(IsAccel('a', "&&And"));
    EXPECT_TRUE(IsAccel('a', "&&And &all"));
    EXPECT_FALSE(IsAccel('&', "Name&"));
    label->SetShowAccelChar(false);
    other->SetFocus();
    EXPECT_EQ(0, form->Perform(CM_DIALOGCHAR, 'n'));
}

TEST_F(DialogCharTest, ParentHearsOfChildSizeAndVisibilityChanges)
{
    TDot* dot = new TDot(form, panel, 0, 0, 10, 10, clRed);
    TBox* box = new TBox(form, panel, 20, 0, 10, 10, clBlue);
    form->Show();
    gui::PumpUntilIdle();
    panel->Changed.clear();
    dot->SetLeft(5);  // a move is not a change of size
    box->SetLeft(25);
    gui::PumpUntilIdle();
    EXPECT_TRUE(panel->Changed.empty());
    dot->SetWidth(12);
    box->SetHeight(14);  // through the window's own size message
    gui::PumpUntilIdle();
    ASSERT_EQ(2u, panel->Changed.size());
    EXPECT_EQ(dot, panel->Changed[0]);
    EXPECT_EQ(box, panel->Changed[1]);
    panel->Changed.clear();
    dot->SetVisible(false);
    box->SetVisible(false);
    box->SetVisible(false);  // no change, no report
    ASSERT_EQ(2u, panel->Changed.size());
    EXPECT_EQ(box, panel->Changed[1]);
}
