// The floating page control as the preferences dialog uses it (seven
// sheets, vertical tabs at the right): geometry, the mouse and the keys on
// the tabs, the owner-drawn colours, errors, and a sheet torn off into a
// floating form and back. Which sheet comes next, where a returning sheet
// goes and which key is a caption's accelerator are the portable tests'.
#include <gtest/gtest.h>

#include <string>

#include "../../gui/win32/gui_fixture.h"
#include "bitmap.h"
#include "floattabs.h"
#include "stdctrls.h"
#include "ui2_helpers.h"

namespace {

// The message of the E that f raises; empty when it raises none.
template <class E, class F>
std::string MessageOf(F f)
{
    try {
        f();
    } catch (const E& e) {
        return e.Message.c_str();
    }
    return "";
}

const char* const Captions[] = {"General", "Interface", "Files", "Plug-Ins", "&Undo", "Extensions", "Language"};

class FloatTabsTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        form = new TForm(app.get());
        form->SetBorderStyle(bsNone);
        form->SetBounds(100, 100, 460, 340);
        pages = new TFloatPageControl(form);
        pages->SetParent(form);
        pages->SetBounds(8, 8, 440, 320);
        pages->SetTabPosition(tpBottomRight);
        pages->SetVerticalTabs(true);
        pages->SetTabHeight(71);
        pages->SetTabWidth(22);
        pages->SetTabInactiveColor(clBtnFace);
        pages->SetTabStop(false);
        for (int i = 0; i < 7; ++i) {
            sheets[i] = new TFloatTabSheet(form);
            sheets[i]->SetPageControl(pages);
            sheets[i]->SetCaption(Captions[i]);
            edits[i] = new TEdit(form);
            edits[i]->SetParent(sheets[i]);
            edits[i]->SetBounds(10, 10, 100, 21);
        }
        pages->OnChange = [this](TObject*) { ++changes; };
        pages->OnFloatChange = [this](TObject*, int state) { floatChanges.push_back(state); };
    }
    void Show()
    {
        form->Show();
        form->Update();
        gui::PumpUntilIdle();
    }
    POINT TabCentre(int tab)
    {
        RECT r = pages->GetTabRect(tab);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void ClickTab(int tab)
    {
        POINT p = TabCentre(tab);
        gui::Click(pages, p.x, p.y);
        gui::PumpUntilIdle();
    }
    // Ctrl (and Shift) + Tab as typed, to the focused edit.
    void CtrlTab(bool shift)
    {
        gui::InputKey(VK_CONTROL, false);
        if (shift) gui::InputKey(VK_SHIFT, false);
        gui::InputKey(VK_TAB, false);
        gui::InputKey(VK_TAB, true);
        if (shift) gui::InputKey(VK_SHIFT, true);
        gui::InputKey(VK_CONTROL, true);
        gui::PumpUntilIdle();
    }

    TForm* form = nullptr;
    TFloatPageControl* pages = nullptr;
    TFloatTabSheet* sheets[7] = {};
    TEdit* edits[7] = {};
    int changes = 0;
    std::vector<int> floatChanges;
};

}  // namespace

TEST_F(FloatTabsTest, SevenVerticalTabsAtTheRightEdgeBesideTheSheetTwoPixelsLower)
{
    Show();
    ASSERT_EQ(7, pages->GetPageCount());
    ASSERT_EQ(7, pages->GetTabCount());
    EXPECT_EQ(sheets[0], pages->GetActivePage());
    LONG style = GetWindowLongA(pages->GetHandle(), GWL_STYLE);
    EXPECT_TRUE(style & TCS_VERTICAL);
    EXPECT_TRUE(style & TCS_RIGHT);
    EXPECT_TRUE(style & TCS_OWNERDRAWFIXED);
    EXPECT_TRUE(style & TCS_FOCUSNEVER);
    RECT display = pages->GetDisplayRect();
    for (int i = 0; i < 7; ++i) {
        RECT tab = pages->GetTabRect(i);
        EXPECT_GE(tab.left, display.right) << Captions[i];
        EXPECT_LE(tab.right, pages->GetClientWidth()) << Captions[i];
        EXPECT_STREQ(Captions[i], pages->GetTabText(i).c_str());
    }
    RECT r = pages->GetClientRect();
    SendMessageA(pages->GetHandle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    TFloatTabSheet* s = pages->GetActivePage();
    EXPECT_EQ(r.left, s->GetLeft());
    EXPECT_EQ(r.top + 2, s->GetTop());
    EXPECT_EQ(r.right - r.left, s->GetWidth());
    EXPECT_EQ(r.bottom - r.top - 2, s->GetHeight());
    EXPECT_TRUE(IsWindowVisible(s->GetHandle()));
    EXPECT_FALSE(IsWindowVisible(sheets[1]->GetHandle()));
}

TEST_F(FloatTabsTest, MouseClicksTracksAndShiftsTabs)
{
    Show();
    bool allow = false;
    int asked = 0;
    pages->OnChanging = [&](TObject*, bool& allowChange) {
        ++asked;
        allowChange = allow;
    };
    ClickTab(3);
    EXPECT_EQ(1, asked);
    EXPECT_EQ(sheets[0], pages->GetActivePage());
    EXPECT_EQ(0, changes);
    allow = true;
    ClickTab(3);
    EXPECT_EQ(sheets[3], pages->GetActivePage());
    EXPECT_EQ(1, changes);
    EXPECT_EQ(3, pages->GetTabIndex());
    EXPECT_TRUE(IsWindowVisible(sheets[3]->GetHandle()));
    EXPECT_FALSE(IsWindowVisible(sheets[0]->GetHandle()));

    // Hovering: the tab is tracked and its sheet's hint shows.
    sheets[5]->SetTabHint("File types");
    std::vector<int> tracked;
    pages->OnTabTrack = [&](TObject*, int tab) { tracked.push_back(tab); };
    POINT p = TabCentre(5);
    gui::MouseMove(pages, p.x, p.y);
    gui::MouseMove(pages, p.x, p.y + 1);
    EXPECT_EQ((std::vector<int>{5}), tracked);
    EXPECT_EQ(5, pages->GetHotTab());
    EXPECT_STREQ("File types", pages->GetHint().c_str());
    RECT display = pages->GetDisplayRect();
    gui::MouseMove(pages, display.left + 5, display.top + 5);
    EXPECT_EQ((std::vector<int>{5, -1}), tracked);

    // The active tab dragged onto another moves its sheet there.
    pages->SetAllowTabShifting(true);
    int shifts = 0;
    pages->OnTabShift = [&](TObject*) { ++shifts; };
    POINT from = TabCentre(3);
    POINT to = TabCentre(0);
    gui::MouseDown(pages, from.x, from.y);
    gui::MouseMove(pages, to.x, to.y, MK_LBUTTON);
    gui::MouseUp(pages, to.x, to.y);
    EXPECT_EQ(1, shifts);
    EXPECT_EQ(0, sheets[3]->GetPageIndex());
    EXPECT_STREQ("Plug-Ins", pages->GetTabText(0).c_str());
    EXPECT_EQ(sheets[3], pages->GetActivePage());
    EXPECT_EQ(0, pages->GetTabIndex());
}

TEST_F(FloatTabsTest, CtrlTabAndAcceleratorsSwitchSkippingSheetsWithoutTab)
{
    Show();
    sheets[1]->SetTabVisible(false);
    EXPECT_EQ(6, pages->GetTabCount());
    EXPECT_EQ(-1, sheets[1]->GetTabIndex());
    EXPECT_EQ(1, sheets[2]->GetTabIndex());
    edits[0]->SetFocus();
    CtrlTab(false);
    EXPECT_EQ(sheets[2], pages->GetActivePage());
    EXPECT_EQ(1, changes);
    // The focus left the hidden sheet.
    EXPECT_FALSE(edits[0]->Focused());
    edits[2]->SetFocus();
    CtrlTab(true);
    EXPECT_EQ(sheets[0], pages->GetActivePage());
    // Alt+U typed while the form (not the tabs) has the focus.
    SendMessageA(form->GetHandle(), WM_SYSCHAR, 'u', 1 << 29);
    EXPECT_EQ(sheets[4], pages->GetActivePage());
    EXPECT_EQ(3, changes);
    EXPECT_FALSE(pages->DialogChar('q'));
    pages->SetEnabled(false);
    EXPECT_FALSE(pages->DialogChar('u'));
}

TEST_F(FloatTabsTest, SelectedTabIsDrawnInColourAndTheOthersInTheInactiveColour)
{
    pages->SetColor(0x00C0FFC0);
    pages->SetTabInactiveColor(0x00FFC0C0);
    Show();
    pages->Repaint();
    gui::PumpUntilIdle();
    gui::TPixels px = gui::ReadPixels(pages->GetHandle());
    RECT selected = pages->GetTabRect(0);
    RECT other = pages->GetTabRect(4);
    EXPECT_EQ(ui2::Pixel(0x00C0FFC0), px.At(selected.right - 4, selected.top + 4));
    EXPECT_EQ(ui2::Pixel(0x00FFC0C0), px.At(other.right - 4, other.top + 4));
}

TEST_F(FloatTabsTest, BadValuesRaiseTheirErrors)
{
    EXPECT_EQ("9 is an invalid PageIndex value.  PageIndex must be between 0 and 6",
              MessageOf<EListError>([&] { sheets[2]->SetPageIndex(9); }));
    EXPECT_THROW(pages->SetTabWidth(-1), EPropertyError);
    EXPECT_THROW(pages->SetTabHeight(40000), EPropertyError);
    EXPECT_THROW(pages->GetTabRect(7), EListError);
    pages->SetButtonStyle(true);
    EXPECT_FALSE(pages->GetVerticalTabs());
    EXPECT_EQ(tpTopLeft, pages->GetTabPosition());
    EXPECT_EQ("Buttons are only supported when aligned along the top",
              MessageOf<EInvalidOperation>([&] { pages->SetVerticalTabs(true); }));
    EXPECT_THROW(pages->SetTabPosition(tpBottomRight), EInvalidOperation);
}

TEST_F(FloatTabsTest, MovingASheetMovesItsTabAndStyleChangesKeepTheTabs)
{
    Show();
    sheets[6]->SetPageIndex(0);
    EXPECT_STREQ("Language", pages->GetTabText(0).c_str());
    EXPECT_EQ(1, sheets[0]->GetPageIndex());
    pages->SetActivePage(sheets[3]);
    pages->SetMultiLine(true);
    pages->SetVerticalTabs(false);
    EXPECT_EQ(7, pages->GetTabCount());
    EXPECT_EQ(7, static_cast<int>(SendMessageA(pages->GetHandle(), TCM_GETITEMCOUNT, 0, 0)));
    EXPECT_EQ(sheets[3]->GetTabIndex(), pages->GetTabIndex());
    pages->SetScrollOpposite(false);
    pages->SetMultiLine(false);
    EXPECT_FALSE(pages->GetScrollOpposite());
}

TEST_F(FloatTabsTest, ASheetTornOffFloatsWithItsIconAndComesBackToItsPlace)
{
    TImageList images;
    TBitmap red;
    red.SetSize(16, 16);
    red.GetCanvas()->GetBrush()->SetColor(clRed);
    red.GetCanvas()->FillRect(RECT{0, 0, 16, 16});
    images.AddMasked(&red, clFuchsia);
    pages->SetImages(&images);
    TFloatTabSheet* s = sheets[2];
    s->SetImageIndex(0);
    s->SetDragable(true);
    s->SetStaticPageIndex(2);
    std::vector<int> sheetChanges;
    s->OnFloatChange = [&](TObject*, int state) { sheetChanges.push_back(state); };
    Show();
    pages->SetActivePage(s);
    gui::PumpUntilIdle();
    // The grip is not client area.
    EXPECT_EQ(s->GetWidth() - 7, s->GetClientWidth());
    RECT w;
    GetWindowRect(s->GetHandle(), &w);
    POINT press{w.left + 3, w.top + 10};
    HWND h = s->GetHandle();
    EXPECT_EQ(HTBORDER, SendMessageA(h, WM_NCHITTEST, 0, gui::PointParam(press.x, press.y)));
    SendMessageA(h, WM_NCLBUTTONDOWN, HTBORDER, gui::PointParam(press.x, press.y));
    POINT client{press.x + 60, press.y + 40};
    ScreenToClient(h, &client);
    SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, gui::PointParam(client.x, client.y));
    SendMessageA(h, WM_LBUTTONUP, 0, gui::PointParam(client.x, client.y));
    gui::PumpUntilIdle();

    ASSERT_TRUE(s->IsFloating());
    TFloatingForm* floating = s->GetFloatingForm();
    EXPECT_TRUE(IsWindowVisible(floating->GetHandle()));
    EXPECT_NE(0, SendMessageA(floating->GetHandle(), WM_GETICON, ICON_SMALL, 0));
    EXPECT_EQ(floating, GetParentForm(s));
    EXPECT_STREQ("Files", floating->GetCaption().c_str());
    EXPECT_EQ(6, pages->GetPageCount());
    EXPECT_EQ(1, pages->GetFloatingCount());
    EXPECT_EQ(sheets[3], pages->GetActivePage());
    EXPECT_EQ((std::vector<int>{0}), floatChanges);
    EXPECT_EQ((std::vector<int>{0}), sheetChanges);
    RECT fw;
    GetWindowRect(floating->GetHandle(), &fw);
    EXPECT_EQ(w.left + 60, fw.left);
    EXPECT_EQ(w.top + 40, fw.top);

    floating->Close();
    gui::PumpUntilIdle();
    EXPECT_FALSE(s->IsFloating());
    EXPECT_EQ(7, pages->GetPageCount());
    EXPECT_EQ(0, pages->GetFloatingCount());
    EXPECT_EQ(2, s->GetPageIndex());
    EXPECT_STREQ("Files", pages->GetTabText(2).c_str());
    EXPECT_EQ(s, pages->GetActivePage());
    EXPECT_TRUE(IsWindowVisible(s->GetHandle()));
    EXPECT_EQ(form, GetParentForm(s));
    EXPECT_EQ((std::vector<int>{0, 1}), floatChanges);
    EXPECT_EQ((std::vector<int>{0, 1}), sheetChanges);
    pages->SetImages(nullptr);
}

TEST_F(FloatTabsTest, SmallMovesAndTheLastSheetDoNotTearOff)
{
    for (int i = 1; i < 7; ++i) delete sheets[i];
    TFloatTabSheet* s = sheets[0];
    s->SetDragable(true);
    Show();
    EXPECT_FALSE(s->TearOff(POINT{10, 10}));
    pages->SetRemoveLastTab(true);
    RECT w;
    GetWindowRect(s->GetHandle(), &w);
    HWND h = s->GetHandle();
    SendMessageA(h, WM_NCLBUTTONDOWN, HTBORDER, gui::PointParam(w.left + 3, w.top + 10));
    POINT client{w.left + 5, w.top + 12};
    ScreenToClient(h, &client);
    SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, gui::PointParam(client.x, client.y));
    SendMessageA(h, WM_LBUTTONUP, 0, gui::PointParam(client.x, client.y));
    EXPECT_FALSE(s->IsFloating());
    EXPECT_TRUE(s->TearOff(POINT{50, 50}));
    EXPECT_EQ(0, pages->GetPageCount());
    EXPECT_EQ(nullptr, pages->GetActivePage());
    // Freeing the floating sheet closes its form without touching the control.
    TFloatingForm* floating = s->GetFloatingForm();
    HWND fh = floating->GetHandle();
    delete s;
    gui::PumpUntilIdle();
    EXPECT_FALSE(IsWindow(fh));
    EXPECT_EQ(0, pages->GetFloatingCount());
}
