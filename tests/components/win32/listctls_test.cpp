// The check-list box driven by posted clicks and keys, the list box's
// horizontal extent, and the shadow label's pixels and size.
#include <string>

#include "../../gui/win32/gui_fixture.h"
#include "forms.h"
#include "listctls.h"

namespace {

class ListCtlsTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        form = new TForm(app.get());
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 300, 200);
        form->SetColor(clWhite);
    }
    void Show()
    {
        form->ShowNoActivate();
        form->Update();
        gui::PumpUntilIdle();
    }
    TStateCheckListBox* MakeList(int items)
    {
        auto* list = new TStateCheckListBox(form);
        list->SetParent(form);
        list->SetBounds(10, 10, 150, 120);
        for (int i = 0; i < items; ++i) list->GetItems()->Add(AnsiString("item ") + AnsiString(std::to_string(i).c_str()));
        list->OnClickCheck = [this](TObject*) { ++clicks; };
        list->OnStateChange = [this](TObject*, int index) { changes.push_back(index); };
        return list;
    }
    // A press inside the check glyph of an item.
    void ClickCheck(TStateCheckListBox* list, int index)
    {
        RECT r = list->ItemRect(index);
        gui::MouseDown(list, r.left + 4, (r.top + r.bottom) / 2);
        gui::MouseUp(list, r.left + 4, (r.top + r.bottom) / 2);
    }
    TForm* form = nullptr;
    int clicks = 0;
    std::vector<int> changes;
};

}  // namespace

TEST_F(ListCtlsTest, ClickCyclesThroughGreyWhenAllowed)
{
    TStateCheckListBox* list = MakeList(3);
    list->SetAllowGrayed(true);
    Show();
    ClickCheck(list, 0);
    EXPECT_EQ(cbGrayed, list->GetState(0));
    ClickCheck(list, 0);
    EXPECT_EQ(cbChecked, list->GetState(0));
    ClickCheck(list, 0);
    EXPECT_EQ(cbUnchecked, list->GetState(0));
    EXPECT_EQ(3, clicks);
    EXPECT_EQ(3u, changes.size());
    // A click on the text, right of the glyph, selects without toggling.
    RECT r = list->ItemRect(1);
    gui::Click(list, r.left + list->GetCheckWidth() + 20, (r.top + r.bottom) / 2);
    EXPECT_EQ(cbUnchecked, list->GetState(1));
    EXPECT_EQ(1, list->GetItemIndex());
    // Space toggles the current item; without grays it is a plain switch.
    list->SetAllowGrayed(false);
    gui::KeyPress(list, ' ');
    EXPECT_EQ(cbChecked, list->GetState(1));
    gui::KeyPress(list, ' ');
    EXPECT_EQ(cbUnchecked, list->GetState(1));
    EXPECT_EQ(5, clicks);
}

TEST_F(ListCtlsTest, ClickCheckHandlerSeesTheNewState)
{
    TStateCheckListBox* list = MakeList(2);
    list->SetAllowGrayed(true);
    // As the preferences form does: a click that turns an item grey makes it
    // checked unless it started grey.
    list->OnClickCheck = [list](TObject*) {
        if (list->GetState(0) == cbGrayed) list->SetState(0, cbChecked);
    };
    Show();
    ClickCheck(list, 0);
    EXPECT_EQ(cbChecked, list->GetState(0));
}

TEST_F(ListCtlsTest, RadioModeKeepsExactlyOneChecked)
{
    TStateCheckListBox* list = MakeList(4);
    list->SetChecked(1, true);
    list->SetChecked(3, true);
    Show();
    list->SetCheckKind(ckRadioButtons);
    EXPECT_EQ(1, list->GetCheckedIndex());
    EXPECT_FALSE(list->GetChecked(3));
    changes.clear();
    ClickCheck(list, 1);
    EXPECT_TRUE(list->GetChecked(1));
    EXPECT_TRUE(changes.empty());
    ClickCheck(list, 2);
    EXPECT_TRUE(list->GetChecked(2));
    EXPECT_FALSE(list->GetChecked(1));
    EXPECT_EQ(2, list->GetCheckedIndex());
    // "+" and "-" mean nothing to radio buttons.
    gui::KeyPress(list, '+');
    EXPECT_EQ(2, list->GetCheckedIndex());
    EXPECT_FALSE(list->GetChecked(0));
    // Grey never shows in radio mode.
    list->SetAllowGrayed(true);
    ClickCheck(list, 0);
    EXPECT_EQ(cbChecked, list->GetState(0));
}

TEST_F(ListCtlsTest, RadioModeWithNothingCheckedChecksTheFirstAndEmptyListIsLeftAlone)
{
    TStateCheckListBox* empty = MakeList(0);
    empty->SetCheckKind(ckRadioButtons);
    EXPECT_EQ(-1, empty->GetCheckedIndex());
    TStateCheckListBox* list = MakeList(3);
    list->SetCheckKind(ckRadioButtons);
    EXPECT_EQ(0, list->GetCheckedIndex());
}

TEST_F(ListCtlsTest, DisabledItemsIgnoreClicksSpaceAndPlusMinus)
{
    TStateCheckListBox* list = MakeList(3);
    list->SetItemEnabled(1, false);
    Show();
    ClickCheck(list, 1);
    list->SetItemIndex(1);
    gui::KeyPress(list, ' ');
    EXPECT_EQ(cbUnchecked, list->GetState(1));
    EXPECT_EQ(0, clicks);
    gui::KeyPress(list, '+');
    EXPECT_TRUE(list->GetChecked(0));
    EXPECT_FALSE(list->GetChecked(1));
    EXPECT_TRUE(list->GetChecked(2));
    gui::KeyPress(list, '-');
    EXPECT_FALSE(list->GetChecked(0));
    EXPECT_FALSE(list->GetChecked(2));
}

TEST_F(ListCtlsTest, StatesObjectsAndTextSurviveRecreation)
{
    TStateCheckListBox* list = MakeList(3);
    TObject marker;
    list->GetItems()->SetObjects(2, &marker);
    list->SetState(1, cbGrayed);
    list->SetItemEnabled(0, false);
    list->SetItemIndex(2);
    list->SetSorted(true);  // re-creates the window
    ASSERT_EQ(3, list->GetItems()->GetCount());
    EXPECT_EQ(cbGrayed, list->GetState(1));
    EXPECT_FALSE(list->GetItemEnabled(0));
    EXPECT_EQ(&marker, list->GetItems()->GetObjects(2));
    EXPECT_EQ(2, list->GetItemIndex());
    EXPECT_STREQ("item 1", list->GetItems()->GetStrings(1).c_str());
    list->GetItems()->Delete(1);
    EXPECT_EQ(cbUnchecked, list->GetState(1));
    EXPECT_EQ(&marker, list->GetItems()->GetObjects(1));
}

TEST_F(ListCtlsTest, HorizontalExtentFollowsTheWidestItem)
{
    auto* list = new TCustomScrollListBox(form);
    list->SetParent(form);
    list->SetAutoScroll(true);
    Show();
    HWND h = list->GetHandle();
    TStrings* items = list->GetItems();
    items->Add("short");
    int shortWidth = static_cast<int>(SendMessageA(h, LB_GETHORIZONTALEXTENT, 0, 0));
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, list->GetFont()->GetHandle());
    SIZE expect = {0, 0};
    GetTextExtentPoint32A(dc, "shortx", 6, &expect);
    SIZE longer = {0, 0};
    GetTextExtentPoint32A(dc, "a much longer item textx", 24, &longer);
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    EXPECT_EQ(expect.cx, shortWidth);
    items->Add("a much longer item text");
    EXPECT_EQ(longer.cx, SendMessageA(h, LB_GETHORIZONTALEXTENT, 0, 0));
    items->Insert(0, "mid item");
    EXPECT_EQ(longer.cx, SendMessageA(h, LB_GETHORIZONTALEXTENT, 0, 0));
    items->Delete(2);  // the widest
    EXPECT_LT(SendMessageA(h, LB_GETHORIZONTALEXTENT, 0, 0), longer.cx);
    EXPECT_GT(SendMessageA(h, LB_GETHORIZONTALEXTENT, 0, 0), shortWidth);
    items->Clear();
    EXPECT_EQ(0, SendMessageA(h, LB_GETHORIZONTALEXTENT, 0, 0));
}

TEST_F(ListCtlsTest, BadIndexRaisesTheListError)
{
    TStateCheckListBox* list = MakeList(3);
    try {
        list->GetItems()->GetStrings(5);
        FAIL() << "no exception";
    } catch (const EListError& e) {
        std::string msg = e.Message.c_str();
        EXPECT_NE(std::string::npos, msg.find("List index out of bounds"));
        EXPECT_NE(std::string::npos, msg.find('5'));
    }
    EXPECT_THROW(list->GetState(3), EListError);
    EXPECT_THROW(list->SetItemEnabled(-1, false), EListError);
    EXPECT_THROW(list->GetItems()->Delete(7), EListError);
    auto* orphan = new TCustomScrollListBox(form);
    EXPECT_THROW(orphan->GetItems()->Add("x"), EInvalidOperation);
}

// ---- the shadow label

namespace {

// Renders a label into a 32-bit DIB and returns its pixels (0x00RRGGBB).
std::vector<uint32_t> Render(TCustomShadowLabel* label)
{
    gui::TDibDC dc(label->GetWidth(), label->GetHeight());
    label->PaintTo(dc.Get());
    return dc.Pixels().Data;
}

TShadowLabel* MakeLabel(TForm* form)
{
    auto* label = new TShadowLabel(form);
    label->SetParent(form);
    label->SetColor(clWhite);
    label->GetFont()->SetName("Arial");
    label->GetFont()->SetSize(14);
    label->GetFont()->SetColor(clBlack);
    label->GetFont()->SetQuality(NONANTIALIASED_QUALITY);
    label->SetCaption("IIII");
    return label;
}

}  // namespace

TEST_F(ListCtlsTest, ShadowLiesUpAndLeftOfTheText)
{
    TShadowLabel* label = MakeLabel(form);
    label->SetShadowColor(0x0000FF);  // red
    label->SetShadowSize(1);
    int w = label->GetWidth();
    std::vector<uint32_t> px = Render(label);
    int text = 0;
    int shadowed = 0;
    for (int y = 1; y < label->GetHeight(); ++y)
        for (int x = 1; x < w; ++x) {
            if (px[y * w + x] != 0) continue;
            ++text;
            uint32_t upLeft = px[(y - 1) * w + (x - 1)];
            if (upLeft == 0xFF0000 || upLeft == 0) ++shadowed;
        }
    ASSERT_GT(text, 20);
    EXPECT_EQ(text, shadowed);
    // No shadow down and right of the strokes' bottom-right ends.
    bool redBelowRight = false;
    for (int y = 0; y + 1 < label->GetHeight(); ++y)
        for (int x = 0; x + 1 < w; ++x)
            if (px[y * w + x] == 0 && px[(y + 1) * w + x + 1] == 0xFF0000) redBelowRight = true;
    EXPECT_FALSE(redBelowRight);
}

TEST_F(ListCtlsTest, DisabledLabelIsGreyWithHighlightBelowRight)
{
    TShadowLabel* label = MakeLabel(form);
    label->SetShadowSize(0);
    std::vector<uint32_t> enabledPx = Render(label);
    for (uint32_t p : enabledPx) EXPECT_TRUE(p == 0 || p == 0xFFFFFF) << std::hex << p;
    label->SetColor(0x00FF00);  // a background unlike highlight and grey
    label->SetEnabled(false);
    int w = label->GetWidth();
    std::vector<uint32_t> px = Render(label);
    COLORREF g = GetSysColor(COLOR_GRAYTEXT);
    COLORREF hl = GetSysColor(COLOR_BTNHIGHLIGHT);
    uint32_t grey = (GetRValue(g) << 16) | (GetGValue(g) << 8) | GetBValue(g);
    uint32_t light = (GetRValue(hl) << 16) | (GetGValue(hl) << 8) | GetBValue(hl);
    int greys = 0;
    int engraved = 0;
    for (int y = 0; y + 1 < label->GetHeight(); ++y)
        for (int x = 0; x + 1 < w; ++x) {
            if (px[y * w + x] != grey) continue;
            ++greys;
            uint32_t br = px[(y + 1) * w + x + 1];
            if (br == light || br == grey) ++engraved;
        }
    ASSERT_GT(greys, 20);
    EXPECT_EQ(greys, engraved);
}

TEST_F(ListCtlsTest, AutoSizeAddsShadowAndMarginsAndKeepsTheRightEdge)
{
    TShadowLabel* label = MakeLabel(form);
    label->SetShadowSize(3);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, label->GetFont()->GetHandle());
    SIZE s = {0, 0};
    GetTextExtentPoint32A(dc, "IIII", 4, &s);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(s.cx + 3 + 2, label->GetWidth());
    EXPECT_EQ(s.cy + 3 + 2, label->GetHeight());
    label->SetAlignment(taRightJustify);
    label->SetLeft(100);
    int right = label->GetLeft() + label->GetWidth();
    label->SetCaption("IIIIIIIIII");
    EXPECT_EQ(right, label->GetLeft() + label->GetWidth());
    EXPECT_GT(label->GetWidth(), s.cx + 5);
}

TEST_F(ListCtlsTest, AcceleratorFocusesTheFocusControl)
{
    TShadowLabel* label = MakeLabel(form);
    label->SetCaption("&Size");
    auto* list = new TCustomScrollListBox(form);
    list->SetParent(form);
    list->SetTop(50);
    auto* other = new TCustomScrollListBox(form);
    other->SetParent(form);
    other->SetTop(120);
    label->SetFocusControl(list);
    form->Show();
    gui::PumpUntilIdle();
    other->SetFocus();
    // Alt+S through the loop: the form offers WM_SYSCHAR to its controls.
    gui::InputKeyStroke('S', VK_MENU);
    EXPECT_TRUE(list->Focused());
    other->SetFocus();
    EXPECT_FALSE(label->DialogChar('x'));
    EXPECT_TRUE(label->DialogChar('s'));
    EXPECT_TRUE(list->Focused());
    delete list;
    EXPECT_EQ(nullptr, label->GetFocusControl());
}
