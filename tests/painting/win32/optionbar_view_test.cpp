// The option bar's window on a form under Xvfb: the controls a description
// asks for, their limits, sizes and values, the user level, and a change by
// the user reaching the model and the tool's handler.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "../../gui/win32/gui_fixture.h"
#include "buttons.h"
#include "extctrls.h"
#include "messages.h"
#include "optionbar_view.h"
#include "spinedit.h"
#include "tool.h"
#include "userlevel.h"

namespace {

class OptionBarViewTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        SetLanguageLookup([this](const AnsiString& key) { return AnsiString(texts[key.c_str()].c_str()); });
        Level = LevelNovice;
        form = new TForm(app.get());
        form->SetBorderStyle(bsNone);
        form->SetBounds(50, 50, 900, 100);
        bar = new TPanel(form);
        bar->SetBounds(0, 0, 900, 30);
        bar->SetParent(form);
        caption = new TLabel(form);
        caption->SetLeft(2);
        caption->SetTop(8);
        caption->SetParent(bar);
        view = new TOptionBarView(form, bar, caption);
        form->Show();
        tool.optionBarKey = "Bar";
    }
    void TearDown() override
    {
        HideOptionBar(&tool, nullptr);
        delete form;
        SetLanguageLookup(nullptr);
        Level = LevelNovice;
        GuiTest::TearDown();
    }
    void ShowBar(const char* description)
    {
        texts["Bar"] = description;
        HideOptionBar(&tool, nullptr);
        ShowOptionBar(&tool);
        gui::PumpUntilIdle();
    }
    template <class T>
    T* Control(int index)
    {
        T* c = dynamic_cast<T*>(view->GetValueControl(index));
        EXPECT_NE(nullptr, c) << "index " << index;
        return c;
    }
    static int DrawnWidth(TControl* c, const AnsiString& text)
    {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, c->GetFont()->GetHandle());
        RECT r = {0, 0, 0, 0};
        DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return r.right - r.left;
    }

    std::map<std::string, std::string> texts;
    TForm* form = nullptr;
    TPanel* bar = nullptr;
    TLabel* caption = nullptr;
    TOptionBarView* view = nullptr;
    P_icon tool;
};

TEST_F(OptionBarViewTest, IntegerSpinEditWithItsLabel)
{
    ShowBar("Radius,I,Size,1,100,10,Brush size");
    EXPECT_EQ(caption->GetCaption(), "Radius");
    ASSERT_EQ(view->GetValueControlCount(), 1);
    TSpinEdit* spin = Control<TSpinEdit>(0);
    ASSERT_NE(nullptr, spin);
    EXPECT_EQ(spin->GetMinValue(), 1);
    EXPECT_EQ(spin->GetMaxValue(), 100);
    EXPECT_EQ(spin->GetValue(), 10);
    EXPECT_EQ(spin->GetText(), "10");
    EXPECT_EQ(spin->GetHint(), "Brush size");
    EXPECT_EQ(spin->GetTag(), 5);
    TLabel* label = view->GetValueLabel(0);
    ASSERT_NE(nullptr, label);
    EXPECT_EQ(label->GetCaption(), "Size");
    EXPECT_EQ(label->GetHint(), "Brush size");
    EXPECT_EQ(label->GetFocusControl(), spin);
    EXPECT_TRUE(spin->GetVisible());
    EXPECT_TRUE(bar->GetVisible());
    EXPECT_EQ(GetOptionValue(0), 10);
    // Left to right: caption, label, spin edit, none overlapping.
    EXPECT_GE(label->GetLeft(), caption->GetLeft() + caption->GetWidth());
    EXPECT_GE(spin->GetLeft(), label->GetLeft() + label->GetWidth());
}

TEST_F(OptionBarViewTest, EveryKindMakesItsControlWithTheModelsValues)
{
    ShowBar("Cap,B,Go,hb,C,Chk,1,hc,F,Angle,2,-1.5,2.25,0.75,hf,L,Mode,3,a,bbbbbb,c,hl,O,Col,FF0000,ho,P,NOGLYPH,hp,"
            "S,T,Lbl,ht");
    ASSERT_EQ(view->GetValueControlCount(), 6);
    EXPECT_EQ(Control<TSpeedButton>(0)->GetCaption(), "Go");
    EXPECT_EQ(Control<TSpeedButton>(0)->GetHeight(), 21);
    EXPECT_TRUE(Control<TCheckBox>(1)->GetChecked());
    TSpinEdit* f = Control<TSpinEdit>(2);
    EXPECT_EQ(f->GetValueType(), vtFloat);
    EXPECT_EQ(f->GetDecimal(), 2);
    EXPECT_EQ(double(f->GetMinValue()), -1.5);
    EXPECT_EQ(double(f->GetMaxValue()), 2.25);
    EXPECT_EQ(f->GetText(), "0.75");
    TComboBox* combo = Control<TComboBox>(3);
    EXPECT_EQ(combo->GetStyle(), csDropDownList);
    EXPECT_EQ(combo->GetItems()->GetCount(), 3);
    EXPECT_EQ(combo->GetItemIndex(), 0);
    EXPECT_EQ(combo->GetTag(), 4);
    TShape* swatch = Control<TShape>(4);
    EXPECT_EQ(swatch->GetWidth(), 28);
    EXPECT_EQ(swatch->GetHeight(), 20);
    EXPECT_EQ(swatch->GetBrush()->GetColor(), TColor(0xFF0000));  // as written, 0xBBGGRR
    EXPECT_EQ(GetOptionValue(4), 0x0000FF);
    TSpeedButton* glyph = Control<TSpeedButton>(5);
    EXPECT_EQ(glyph->GetWidth(), 21);
    EXPECT_TRUE(glyph->GetAllowAllUp());
    EXPECT_NE(glyph->GetGroupIndex(), 0);
    // Labels and the separator are built, never addressed.
    EXPECT_EQ(view->GetBuiltCount(), 6 + 3 + 2);  // labels of F, L, O; S; T
}

TEST_F(OptionBarViewTest, WidthsFollowTheTextsInTheBarsFont)
{
    ShowBar("Cap,B,Run it,h,C,Check me,0,h,I,N,-5,12345,3,h,L,Mode,2,x,a much wider entry,h");
    TSpeedButton* b = Control<TSpeedButton>(0);
    EXPECT_EQ(b->GetWidth(), DrawnWidth(bar, "Run it") + 14);
    EXPECT_EQ(Control<TCheckBox>(1)->GetWidth(), DrawnWidth(bar, "Check me") + 20);
    EXPECT_EQ(Control<TSpinEdit>(2)->GetWidth(), DrawnWidth(bar, "12345") + 30);
    EXPECT_EQ(Control<TComboBox>(3)->GetWidth(), DrawnWidth(bar, "a much wider entry") + 30);
    EXPECT_EQ(OptionTextWidth("Run it"), DrawnWidth(bar, "Run it"));
}

TEST_F(OptionBarViewTest, ExpertItemsShowOnlyAtExpertLevel)
{
    ShowBar("Cap,II,N,0,9,3,h,C,Chk,0,h");
    TSpinEdit* spin = Control<TSpinEdit>(0);
    EXPECT_EQ(spin->GetTag(), 4096 + 5);
    EXPECT_FALSE(spin->GetVisible());
    EXPECT_FALSE(spin->GetEnabled());
    EXPECT_FALSE(view->GetValueLabel(0)->GetVisible());
    EXPECT_TRUE(Control<TCheckBox>(1)->GetVisible());

    Level = LevelExpert;
    ShowBar("Cap,II,N,0,9,3,h,C,Chk,0,h");
    spin = Control<TSpinEdit>(0);
    EXPECT_TRUE(spin->GetVisible());
    EXPECT_TRUE(spin->GetEnabled());
}

TEST_F(OptionBarViewTest, UserChangeReachesTheModelThenTheHandler)
{
    ShowBar("Cap,I,N,0,50,3,h,C,Chk,0,h,L,Mode,3,a,b,c,h");
    std::vector<std::pair<int, double>> calls;
    for (int i = 0; i < 3; ++i)
        SetOptionHandler(i, [&calls, i](TObject*) { calls.push_back({i, GetOptionValue(i)}); });

    Control<TSpinEdit>(0)->UpClick();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], std::make_pair(0, 4.0));

    TCheckBox* box = Control<TCheckBox>(1);
    gui::Click(box, 5, box->GetHeight() / 2);
    gui::PumpUntilIdle();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1], std::make_pair(1, 1.0));

    TComboBox* combo = Control<TComboBox>(2);
    combo->SetFocus();
    gui::KeyDown(combo, VK_DOWN);
    gui::PumpUntilIdle();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2], std::make_pair(2, 1.0));
}

TEST_F(OptionBarViewTest, ValuesToolsSetShowAtOnceWithoutFiringHandlers)
{
    ShowBar("Cap,I,N,0,50,3,h,C,Chk,0,h,O,Col,0,h");
    int fired = 0;
    SetOptionHandler(0, [&](TObject*) { ++fired; });
    SetOptionHandler(1, [&](TObject*) { ++fired; });
    SetOptionValue(0, 42);
    SetOptionValue(1, 1);
    SetOptionValue(2, 0x123456);
    EXPECT_EQ(Control<TSpinEdit>(0)->GetText(), "42");
    EXPECT_TRUE(Control<TCheckBox>(1)->GetChecked());
    EXPECT_EQ(Control<TShape>(2)->GetBrush()->GetColor(), TColor(0x563412));
    EXPECT_EQ(fired, 0);
}

TEST_F(OptionBarViewTest, SwatchTakesTheMouseHandler)
{
    ShowBar("Cap,O,Col,FF,h");
    int presses = 0;
    SetOptionMouseHandler(0, [&](TObject*, TMouseButton, TShiftState, int, int) { ++presses; });
    gui::MouseDown(Control<TShape>(0), 5, 5);
    gui::MouseUp(Control<TShape>(0), 5, 5);
    gui::PumpUntilIdle();
    EXPECT_EQ(presses, 1);
}

TEST_F(OptionBarViewTest, RebuildFreesTheOldControlsButNotTheCaption)
{
    ShowBar("Cap,I,N,0,50,3,h,C,Chk,0,h");
    int before = bar->GetControlCount();
    ShowBar("Other,C,Chk,0,h");
    EXPECT_EQ(bar->GetControlCount(), before - 2);
    EXPECT_EQ(caption->GetParent(), bar);
    EXPECT_EQ(caption->GetCaption(), "Other");
    HideOptionBar(&tool, nullptr);
    EXPECT_FALSE(bar->GetVisible());
    EXPECT_FALSE(bar->GetEnabled());
    EXPECT_FALSE(Control<TCheckBox>(0)->GetEnabled());
}

TEST_F(OptionBarViewTest, HandlersPastTheTableAreIgnoredAndTheTableStopsAt32)
{
    std::string text = "Cap";
    for (int i = 0; i < 40; ++i) text += ",C,c" + std::to_string(i) + ",0,h";
    ShowBar(text.c_str());
    EXPECT_EQ(view->GetValueControlCount(), 32);
    SetOptionHandler(32, [](TObject*) { FAIL(); });
    SetOptionMouseHandler(-1, nullptr);
    EXPECT_EQ(view->GetValueControl(32), nullptr);
}

}  // namespace
