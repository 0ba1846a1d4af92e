#include "toolbar_test_form.h"

#include "dock_model.h"

class TbDockTest : public GuiTest {};

namespace {

RECT Bounds(TControl* c)
{
    return c->GetBoundsRect();
}

void ExpectRect(const RECT& r, int l, int t, int w, int h)
{
    EXPECT_EQ(l, r.left);
    EXPECT_EQ(t, r.top);
    EXPECT_EQ(w, r.right - r.left);
    EXPECT_EQ(h, r.bottom - r.top);
}

}  // namespace

TEST_F(TbDockTest, EmptyDocksAreZeroThickOrOneWithFixAlign)
{
    TDockForm f;
    f.Show();
    EXPECT_EQ(0, f.Top->GetHeight());
    EXPECT_EQ(0, f.Left->GetWidth());
    f.Top->SetFixAlign(true);
    f.Left->SetFixAlign(true);
    EXPECT_EQ(1, f.Top->GetHeight());
    EXPECT_EQ(1, f.Left->GetWidth());
    EXPECT_EQ(f.Form->GetClientWidth(), f.Top->GetWidth());
}

TEST_F(TbDockTest, FourDocksThreeToolbarsLaidOutInRows)
{
    TDockForm f;
    f.Bar1->SetDockedTo(f.Top);
    f.Bar2->SetDockRow(0);
    f.Bar2->SetDockPos(150);
    f.Bar2->SetDockedTo(f.Top);
    f.Bar3->SetDockedTo(f.Left);
    f.Show();
    // Bar1: B1, B2, separator, B3 in a row; a 9-pixel drag handle and a
    // 2-pixel frame.
    ExpectRect(Bounds(f.Bar1), 0, 0, 75 + 4 + 9, 26);
    EXPECT_EQ(0, f.Bar1->GetOrder(0)->GetLeft());
    EXPECT_EQ(23, f.Bar1->GetOrder(1)->GetLeft());
    EXPECT_EQ(46, f.Bar1->GetOrder(2)->GetLeft());
    EXPECT_EQ(52, f.Bar1->GetOrder(3)->GetLeft());
    RECT client = f.Bar1->GetClientRect();
    EXPECT_EQ(75, client.right);
    EXPECT_EQ(22, client.bottom);
    POINT origin{0, 0};
    ClientToScreen(f.Bar1->GetHandle(), &origin);
    RECT wr = ScreenRect(f.Bar1);
    EXPECT_EQ(11, origin.x - wr.left);
    EXPECT_EQ(2, origin.y - wr.top);
    ExpectRect(Bounds(f.Bar2), 150, 0, 46 + 13, 26);
    EXPECT_EQ(26, f.Top->GetHeight());
    // Left dock: a column, the handle on top.
    ExpectRect(Bounds(f.Bar3), 0, 0, 27, 94 + 2 + 9 + 2);
    EXPECT_EQ(27, f.Left->GetWidth());
    EXPECT_EQ(26, f.Left->GetTop());
    // Bar2 onto row 1: the top dock doubles.
    f.Bar2->SetDockRow(1);
    EXPECT_EQ(52, f.Top->GetHeight());
    EXPECT_EQ(26, f.Bar2->GetTop());
    EXPECT_EQ(52, f.Left->GetTop());
}

TEST_F(TbDockTest, OverflowingRowSlidesBackInADockOf300)
{
    TDockForm f;
    f.Form->SetClientWidth(300);
    f.Show();
    ASSERT_EQ(300, f.Top->GetClientWidth());
    f.Top->BeginUpdate();
    f.Bar1->SetDockPos(0);
    f.Bar1->SetDockedTo(f.Top);
    f.Bar3->SetDockPos(250);
    f.Bar3->SetDockedTo(f.Top);
    f.Top->EndUpdate();
    EXPECT_EQ(0, f.Bar1->GetDockPos());
    int len3 = f.Bar3->GetWidth();
    EXPECT_EQ(300 - len3, f.Bar3->GetDockPos());
    EXPECT_EQ(300, f.Bar3->GetBoundsRect().right);
    EXPECT_EQ(0, f.Bar3->GetDockRow());
}

TEST_F(TbDockTest, ManyInsertionsInOneUpdateArrangeOnce)
{
    TDockForm f;
    f.Show();
    TToolbar* extra1 = f.MakeBar("Extra1", "E1", 1, false);
    TToolbar* extra2 = f.MakeBar("Extra2", "E2", 1, false);
    int before = f.Top->GetArrangeCount();
    f.Top->BeginUpdate();
    f.Top->BeginUpdate();
    for (TToolbar* b : {f.Bar1, f.Bar2, f.Bar3, extra1, extra2}) b->SetDockedTo(f.Top);
    f.Top->EndUpdate();
    EXPECT_EQ(before, f.Top->GetArrangeCount());
    f.Top->EndUpdate();
    EXPECT_EQ(before + 1, f.Top->GetArrangeCount());
    EXPECT_EQ(5, f.Top->GetToolbarCount());
    f.Top->InsertRemoveBar(false, extra2, false);
    EXPECT_EQ(4, f.Top->GetToolbarCount());
    EXPECT_EQ(before + 2, f.Top->GetArrangeCount());
}

TEST_F(TbDockTest, BottomAndRightDocksKeepTheirOuterEdge)
{
    TDockForm f;
    f.Show();
    int bottom = f.Bottom->GetTop() + f.Bottom->GetHeight();
    int right = f.Right->GetLeft() + f.Right->GetWidth();
    f.Bar1->SetDockedTo(f.Bottom);
    f.Bar2->SetDockRow(1);
    f.Bar2->SetDockedTo(f.Bottom);
    EXPECT_EQ(52, f.Bottom->GetHeight());
    EXPECT_EQ(bottom, f.Bottom->GetTop() + f.Bottom->GetHeight());
    f.Bar3->SetDockedTo(f.Right);
    EXPECT_EQ(27, f.Right->GetWidth());
    EXPECT_EQ(right, f.Right->GetLeft() + f.Right->GetWidth());
}

TEST_F(TbDockTest, PlacementErrorsLeaveTheStateAlone)
{
    TDockForm f;
    f.Bar1->SetDockedTo(f.Top);
    TDock inner(nullptr);
    try {
        inner.SetParent(f.Top);
        FAIL();
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ("A TDock control cannot be placed inside a tool window or another TDock", e.what());
    }
    EXPECT_THROW(inner.SetParent(f.Bar2), EInvalidOperation);
    EXPECT_EQ(nullptr, inner.GetParent());
    try {
        f.Top->SetPosition(dpLeft);
        FAIL();
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ("Cannot change Position of a TDock if it already contains controls", e.what());
    }
    EXPECT_EQ(dpTop, f.Top->GetPosition());
    EXPECT_EQ(alTop, f.Top->GetAlign());
    TToolbarSep sep(nullptr);
    try {
        sep.SetParent(f.Form);
        FAIL();
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ("TToolbarSep can only be placed on a TToolbar", e.what());
    }
    TBox box(nullptr, f.Form, 0, 0, 10, 10, clRed);
    try {
        f.Bar2->SetParent(&box);
        FAIL();
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ("A tool window can only be placed on a TDock or directly on the form", e.what());
    }
    EXPECT_EQ(nullptr, f.Bar2->GetParent());
}

TEST_F(TbDockTest, BoundLinesAndTransparentBackgroundPixels)
{
    TDockForm f;
    f.Top->SetBoundLines(blTop | blBottom);
    f.Bar1->SetDockedTo(f.Top);
    f.Show();
    EXPECT_EQ(28, f.Top->GetHeight());
    gui::TPixels px = gui::ReadPixels(f.Top->GetHandle(), true);
    int x = f.Top->GetWidth() - 5;  // right of every bar
    EXPECT_EQ(SysRGB(COLOR_BTNSHADOW), px.At(x, 0));
    EXPECT_EQ(SysRGB(COLOR_BTNHIGHLIGHT), px.At(x, px.Height - 1));
    // An 8 x 8 two-colour pattern whose bottom-left colour (blue) is clear.
    TBitmap pattern;
    pattern.SetSize(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int i = 0; i < 8; ++i) pattern.GetCanvas()->SetPixels(i, y, ((i + y) & 1) ? clBlue : clLime);
    f.Top->SetColor(clYellow);
    f.Top->SetBackground(&pattern);
    f.Top->SetBackgroundTransparent(true);
    f.Top->Invalidate();
    gui::PumpUntilIdle();
    gui::TPixels bg = gui::ReadPixels(f.Top->GetHandle());
    int bx = bg.Width - 8;
    int lime = 0, yellow = 0, blue = 0;
    for (int i = 0; i < 4; ++i) {
        uint32_t p = bg.At(bx + i, 5);
        lime += p == 0x00FF00;
        yellow += p == 0xFFFF00;
        blue += p == 0x0000FF;
    }
    EXPECT_EQ(2, lime);
    EXPECT_EQ(2, yellow);
    EXPECT_EQ(0, blue);
}

TEST_F(TbDockTest, HiddenBarsLeaveTheRowsAndReturnAtTheEnd)
{
    TDockForm f;
    f.Bar1->SetDockedTo(f.Top);
    f.Bar2->SetDockedTo(f.Top);
    f.Show();
    int changes = 0;
    f.Bar1->OnVisibleChanged = [&](TObject*) { ++changes; };
    std::vector<bool> inserted;
    f.Top->OnInsertRemoveBar = [&](TObject*, bool in, TCustomToolWindow* bar) {
        EXPECT_EQ(f.Bar1, bar);
        inserted.push_back(in);
    };
    f.Bar1->Hide();
    EXPECT_EQ(1, f.Top->GetToolbarCount());
    EXPECT_EQ(0, f.Bar2->GetLeft());
    f.Bar1->Show();
    EXPECT_EQ(f.Bar1, f.Top->GetToolbars(1));
    EXPECT_EQ((std::vector<bool>{false, true}), inserted);
    EXPECT_EQ(2, changes);
    EXPECT_THROW(f.Top->GetToolbars(2), EListError);
}
