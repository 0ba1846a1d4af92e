#include "toolbar_test_form.h"

#include <algorithm>

class TbToolbarTest : public GuiTest {};

namespace {

// Sends an edge press to the floating window and lets the loop find the
// moves (posted, client coordinates) and the release or Escape.
void EdgeDrag(TCustomToolWindow* w, int hit, POINT fromScreen, const std::vector<POINT>& toScreen, bool escape)
{
    HWND h = w->GetHandle();
    for (POINT p : toScreen) {
        ScreenToClient(h, &p);
        PostMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, gui::PointParam(p.x, p.y));
    }
    if (escape) PostMessageA(h, WM_KEYDOWN, VK_ESCAPE, 1);
    POINT last = toScreen.back();
    ScreenToClient(h, &last);
    PostMessageA(h, WM_LBUTTONUP, 0, gui::PointParam(last.x, last.y));
    SendMessageA(h, WM_NCLBUTTONDOWN, hit, MAKELPARAM(fromScreen.x, fromScreen.y));
    gui::PumpUntilIdle();
}

}  // namespace

TEST_F(TbToolbarTest, FloatingWrapZeroesTheSeparatorAndEtchesTheBreak)
{
    TDockForm f;
    f.Show();
    TToolbar* b = f.Bar1;  // B1 B2 | B3
    b->SetFloatingPosition(POINT{200, 200});
    b->SetDockedTo(nullptr);
    EXPECT_EQ(4 + 75 + 4, b->GetClientWidth()) << "FloatRightX 0: one line";
    b->SetFloatRightX(60);
    gui::PumpUntilIdle();
    TControl* sep = b->GetOrder(2);
    EXPECT_EQ(0, sep->GetWidth());
    ASSERT_EQ(1u, b->GetLineBreaks().size());
    int offset = b->GetLineBreaks()[0].Offset;
    EXPECT_EQ(2 + 22 + 6, offset);
    EXPECT_EQ(offset, b->GetOrder(3)->GetTop());
    EXPECT_EQ(4, b->GetOrder(3)->GetLeft());
    EXPECT_EQ(4 + 46 + 4, b->GetClientWidth());
    b->Invalidate();
    gui::PumpUntilIdle();
    gui::TPixels px = gui::ReadPixels(b->GetHandle());
    EXPECT_EQ(SysRGB(COLOR_BTNSHADOW), px.At(1, offset - 4));
    EXPECT_EQ(SysRGB(COLOR_BTNHIGHLIGHT), px.At(1, offset - 3));
    EXPECT_EQ(SysRGB(COLOR_BTNSHADOW), px.At(px.Width - 2, offset - 4));
    EXPECT_EQ(SysRGB(COLOR_BTNFACE), px.At(0, offset - 4));
    static_cast<TToolbarSep*>(sep)->SetBlank(true);
    b->ArrangeControls();
    b->Invalidate();
    gui::PumpUntilIdle();
    px = gui::ReadPixels(b->GetHandle());
    EXPECT_EQ(SysRGB(COLOR_BTNFACE), px.At(1, offset - 4));
    // Narrower than the widest control: it still gets its width plus 8.
    b->SetFloatRightX(10);
    EXPECT_EQ(23 + 8, b->GetClientWidth());
}

TEST_F(TbToolbarTest, RowSizeAndCentringInASharedRow)
{
    TDockForm f;
    TToolbar* tall = new TToolbar(f.Form);
    tall->SetName("Tall");
    new TTestButton(f.Form, tall, 30, 30);
    TToolbar* low = new TToolbar(f.Form);
    low->SetName("Low");
    new TTestButton(f.Form, low, 20, 16);
    new TTestButton(f.Form, low, 20, 15);
    EXPECT_EQ(16, low->GetMinRowSize(false));
    EXPECT_EQ(20, low->GetMinRowSize(true));
    EXPECT_EQ(8, (new TToolbar(f.Form))->GetMinRowSize(false));
    tall->SetDockedTo(f.Top);
    low->SetDockPos(100);
    low->SetDockedTo(f.Top);
    f.Show();
    EXPECT_EQ(34, f.Top->GetHeight());
    EXPECT_EQ(34, low->GetHeight());
    EXPECT_EQ(7, low->GetOrder(0)->GetTop());  // (30 - 16) / 2
    EXPECT_EQ(7, low->GetOrder(1)->GetTop());  // (30 - 15) / 2, truncated
    low->SetDockedTo(f.Bottom);
    EXPECT_EQ(0, low->GetOrder(0)->GetTop());
}

TEST_F(TbToolbarTest, AChildThatResizesOrHidesMovesTheOthers)
{
    TDockForm f;
    TToolbar* b = f.Bar1;  // B1 B2 | B3
    b->SetDockedTo(f.Top);
    f.Show();
    TControl* b2 = b->GetOrder(1);
    TControl* b3 = b->GetOrder(3);
    EXPECT_EQ(52, b3->GetLeft());
    b2->SetWidth(40);
    EXPECT_EQ(69, b3->GetLeft());
    b2->SetVisible(false);
    EXPECT_EQ(29, b3->GetLeft());
    b2->SetVisible(true);
    b2->SetHeight(30);
    EXPECT_EQ(30, b->GetMinRowSize(false));
}

TEST_F(TbToolbarTest, EdgeDragSnapsToLayoutShapesAndEscapeRestores)
{
    TDockForm f;
    f.Show();
    TToolbar* b = f.Bar3;  // B1 B2 | B3 B4
    b->SetFloatingPosition(POINT{200, 200});
    b->SetDockedTo(nullptr);
    gui::PumpUntilIdle();
    std::vector<TTbShape> shapes = b->FloatingShapes(false);
    ASSERT_GE(shapes.size(), 2u);
    RECT wr = ScreenRect(b);
    ASSERT_EQ(shapes.back().Width, wr.right - wr.left);
    POINT edge{wr.right - 1, (wr.top + wr.bottom) / 2};
    // Drag the right edge in to a little more than the narrowest shape.
    POINT in{wr.left + shapes.front().Width + 2, edge.y};
    EdgeDrag(b, HTRIGHT, edge, {POINT{edge.x - 10, edge.y}, in}, true);
    EXPECT_EQ(0, b->GetFloatRightX()) << "Escape keeps the old shape";
    EXPECT_EQ(shapes.back().Width, b->GetWidth());
    EdgeDrag(b, HTRIGHT, edge, {POINT{edge.x - 10, edge.y}, POINT{wr.left + shapes.front().Width - 1, edge.y}}, false);
    bool isShape = std::any_of(shapes.begin(), shapes.end(), [&](const TTbShape& s) {
        return s.Width == b->GetWidth() && s.Height == b->GetHeight();
    });
    EXPECT_TRUE(isShape) << b->GetWidth() << "x" << b->GetHeight();
    EXPECT_EQ(shapes.front().Width, b->GetWidth());
    EXPECT_EQ(shapes.front().FloatRightX, b->GetFloatRightX());
    EXPECT_EQ(wr.left, ScreenRect(b).left) << "the left side stays put";
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(TbToolbarTest, CornerDragKeepsTheOppositeCornerInPlace)
{
    struct Case {
        int hit;
        bool fromLeft, fromTop;
    };
    const Case cases[] = {{HTTOPRIGHT, false, true},
                          {HTTOPLEFT, true, true},
                          {HTBOTTOMRIGHT, false, false},
                          {HTBOTTOMLEFT, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hit);
        TDockForm f;
        f.Show();
        TToolbar* b = f.Bar3;
        b->SetFloatingPosition(POINT{300, 300});
        b->SetDockedTo(nullptr);
        gui::PumpUntilIdle();
        std::vector<TTbShape> shapes = b->FloatingShapes(false);
        ASSERT_GE(shapes.size(), 2u);
        RECT wr = ScreenRect(b);
        POINT corner{c.fromLeft ? wr.left : wr.right - 1, c.fromTop ? wr.top : wr.bottom - 1};
        // In to the narrowest shape, which is taller.
        int in = wr.right - wr.left - shapes.front().Width + 1;
        POINT to{c.fromLeft ? corner.x + in : corner.x - in, corner.y};
        EdgeDrag(b, c.hit, corner, {POINT{(corner.x + to.x) / 2, corner.y}, to}, false);
        RECT now = ScreenRect(b);
        EXPECT_EQ(shapes.front().Width, now.right - now.left);
        EXPECT_GT(now.bottom - now.top, wr.bottom - wr.top);
        if (c.fromLeft) EXPECT_EQ(wr.right, now.right);
        else EXPECT_EQ(wr.left, now.left);
        if (c.fromTop) EXPECT_EQ(wr.bottom, now.bottom);
        else EXPECT_EQ(wr.top, now.top);
    }
}
