// The windowless controls and the containers: speed buttons (groups, glyph
// layout and transparency), labels, radio groups and the scroll box.
#include <string>
#include <vector>

#include "buttons.h"
#include "formbuilder.h"
#include "gui_fixture.h"
#include "scrollbox.h"

namespace {

bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class StdCtrlsGraphicTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        form = new TForm(app.get());
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 300, 200);
    }
    void Show()
    {
        form->ShowNoActivate();
        form->Update();
        gui::PumpUntilIdle();
    }
    TForm* form = nullptr;
};

}  // namespace

TEST(ButtonLayout, GlyphAndTextAreCentredOrPlacedByMarginAndSpacing)
{
    RECT face = {0, 0, 100, 40};
    SIZE text = {30, 10};
    SIZE glyph = {16, 16};
    // Centred pair: 100 - (16 + 4 + 30) = 50, half on each side.
    TGlyphPlacement p = CalcButtonLayout(face, POINT{0, 0}, text, glyph, blGlyphLeft, -1, 4);
    EXPECT_EQ(25, p.GlyphPos.x);
    EXPECT_EQ(12, p.GlyphPos.y);
    EXPECT_TRUE(p.TextBounds == (RECT{45, 15, 75, 25}));
    // Margin given, spacing spread: (100 - 2 - 16 - 30) / 2 = 26.
    p = CalcButtonLayout(face, POINT{1, 1}, text, glyph, blGlyphRight, 2, -1);
    EXPECT_EQ(100 - 2 - 16 + 1, p.GlyphPos.x);
    EXPECT_EQ(82 - 26 - 30 + 1, p.TextBounds.left);
    // Both free: thirds.
    p = CalcButtonLayout(face, POINT{0, 0}, SIZE{10, 10}, SIZE{10, 10}, blGlyphTop, -1, -1);
    EXPECT_EQ(6, p.GlyphPos.y);  // (40 - 20) / 3
    EXPECT_EQ(22, p.TextBounds.top);
    EXPECT_EQ(45, p.GlyphPos.x);
    // No caption: the glyph alone is centred, whatever the spacing.
    p = CalcButtonLayout(face, POINT{0, 0}, SIZE{0, 0}, glyph, blGlyphBottom, -1, 10);
    EXPECT_EQ(12, p.GlyphPos.y);
}

TEST_F(StdCtrlsGraphicTest, SpeedButtonsOfAGroupStayDownOneAtATime)
{
    std::vector<TSpeedButton*> tools;
    int clicks = 0;
    for (int i = 0; i < 3; ++i) {
        TSpeedButton* b = New<TSpeedButton>(form, form, i * 25, 0, 23, 22);
        b->SetGroupIndex(1);
        b->OnClick = [&](TObject*) { ++clicks; };
        tools.push_back(b);
    }
    TSpeedButton* plain = New<TSpeedButton>(form, form, 100, 0, 23, 22);
    tools[0]->SetDown(true);
    Show();
    gui::Click(tools[1], 5, 5);
    EXPECT_FALSE(tools[0]->GetDown());
    EXPECT_TRUE(tools[1]->GetDown());
    EXPECT_EQ(bsExclusive, tools[1]->GetState());
    gui::Click(tools[1], 5, 5);  // without AllowAllUp it stays down
    EXPECT_TRUE(tools[1]->GetDown());
    tools[2]->SetAllowAllUp(true);  // shared by the group
    gui::Click(tools[1], 5, 5);
    EXPECT_FALSE(tools[1]->GetDown());
    EXPECT_EQ(3, clicks);

    gui::MouseDown(plain, 5, 5);
    EXPECT_EQ(bsDown, plain->GetState());
    gui::MouseMove(plain, 50, 5);  // dragged off: up again, no click
    EXPECT_EQ(bsUp, plain->GetState());
    gui::MouseUp(plain, 50, 5);
    plain->SetDown(true);  // no group: never down
    EXPECT_FALSE(plain->GetDown());
    EXPECT_EQ(3, clicks);
}

TEST_F(StdCtrlsGraphicTest, SpeedButtonGlyphIsDrawnWithItsBackgroundTransparent)
{
    TSpeedButton* b = New<TSpeedButton>(form, form, 10, 10, 40, 40);
    b->SetFlat(true);
    TBitmap glyph;
    glyph.SetSize(16, 16);
    glyph.GetCanvas()->GetBrush()->SetColor(clFuchsia);  // the bottom-left colour
    glyph.GetCanvas()->FillRect(RECT{0, 0, 16, 16});
    glyph.GetCanvas()->GetBrush()->SetColor(clGreen);
    glyph.GetCanvas()->FillRect(RECT{4, 4, 12, 12});
    b->SetGlyph(&glyph);
    Show();
    gui::TPixels px = gui::ReadPixels(form->GetHandle());
    // The glyph is centred: (40 - 16) / 2 = 12 from the button's corner.
    uint32_t face = px.At(11, 11);
    EXPECT_EQ(0x008000u, px.At(10 + 12 + 8, 10 + 12 + 8));
    EXPECT_EQ(face, px.At(10 + 12 + 1, 10 + 12 + 1));  // fuchsia stays unseen
    b->SetEnabled(false);
    form->Update();
    px = gui::ReadPixels(form->GetHandle());
    EXPECT_NE(0x008000u, px.At(10 + 12 + 8, 10 + 12 + 8));  // engraved, not green
    EXPECT_EQ(face, px.At(10 + 12 + 1, 10 + 12 + 1));
}

TEST_F(StdCtrlsGraphicTest, LabelsFitTheirCaption)
{
    TLabel* label = NewLabel(form, form, "Hi", 10, 10);
    int shortWidth = label->GetWidth();
    label->SetCaption("A much longer caption");
    EXPECT_GT(label->GetWidth(), shortWidth * 3);
    label->SetAlignment(taRightJustify);
    int right = label->GetLeft() + label->GetWidth();
    label->SetCaption("Short");
    EXPECT_EQ(right, label->GetLeft() + label->GetWidth());  // the right edge stays
    label->SetAutoSize(false);
    label->SetCaption("A caption too long for the label now");
    EXPECT_EQ(right, label->GetLeft() + label->GetWidth());
    int clicks = 0;
    label->OnClick = [&](TObject*) { ++clicks; };
    Show();
    gui::Click(label, 2, 2);
    EXPECT_EQ(1, clicks);
    TEdit* edit = NewEdit(form, form, "", 10, 40, 80);
    label->SetFocusControl(edit);
    delete edit;
    EXPECT_EQ(nullptr, label->GetFocusControl());
}

TEST_F(StdCtrlsGraphicTest, RadioGroupMakesAButtonPerItemInColumns)
{
    std::vector<int> seen;
    TRadioGroup* group = NewRadioGroup(form, form, "Quality", 0, 0, 200, 100, {"Low", "Medium", "High"}, 1);
    group->OnClick = [&](TObject*) { seen.push_back(group->GetItemIndex()); };
    group->SetColumns(2);
    EXPECT_EQ(3, group->GetControlCount());
    EXPECT_EQ(group->GetButton(0)->GetLeft(), group->GetButton(1)->GetLeft());  // down the first column
    EXPECT_GT(group->GetButton(2)->GetLeft(), group->GetButton(0)->GetLeft());
    EXPECT_TRUE(group->GetButton(1)->GetChecked());
    Show();
    gui::Click(group->GetButton(2), 5, 5);
    group->SetItemIndex(0);
    group->SetItemIndex(-1);
    EXPECT_EQ((std::vector<int>{2, 0, -1}), seen);
    group->GetItems()->Delete(2);
    EXPECT_EQ(2, group->GetControlCount());
    group->GetItems()->SetStrings(0, "Lowest");
    EXPECT_EQ("Lowest", group->GetButton(0)->GetCaption());
    group->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(group->GetButton(1)->GetHandle()));
}

TEST_F(StdCtrlsGraphicTest, ScrollBoxMovesItsContents)
{
    TScrollBox* box = New<TScrollBox>(form, form, 0, 0, 150, 100);
    box->SetBorderStyle(bsNone);
    TPanel* distant = NewPanel(form, box, alNone, 250, 300, 50, 50, bvRaised);
    int scrolls = 0;
    box->OnScroll = [&](TObject*) { ++scrolls; };
    Show();
    TControlScrollBar* horz = box->GetHorzScrollBar();
    TControlScrollBar* vert = box->GetVertScrollBar();
    EXPECT_EQ(300, horz->GetRange());
    EXPECT_EQ(350, vert->GetRange());
    ASSERT_TRUE(horz->IsScrollBarVisible());
    horz->SetPosition(40);
    EXPECT_EQ(210, distant->GetLeft());
    EXPECT_EQ(40, GetScrollPos(box->GetHandle(), SB_HORZ));
    SendMessageA(box->GetHandle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(8, vert->GetPosition());
    EXPECT_EQ(292, distant->GetTop());
    horz->SetPosition(10000);  // clamped to the range less the client width
    EXPECT_EQ(300 - box->GetClientWidth(), horz->GetPosition());
    EXPECT_EQ(3, scrolls);
    // Thumb tracking moves only with Tracking.
    SCROLLINFO si = {sizeof(si), SIF_POS, 0, 0, 0, 0, 0};
    si.nPos = 0;
    SetScrollInfo(box->GetHandle(), SB_VERT, &si, FALSE);
    SendMessageA(box->GetHandle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0), 0);
    EXPECT_EQ(8, vert->GetPosition());
    box->ScrollInView(distant);
    RECT client = box->GetClientRect();
    EXPECT_LE(distant->GetTop() + distant->GetHeight(), client.bottom);
    EXPECT_LE(distant->GetLeft() + distant->GetWidth(), client.right);
    delete distant;
    EXPECT_FALSE(horz->IsScrollBarVisible());
    EXPECT_EQ(0, horz->GetPosition());
}
