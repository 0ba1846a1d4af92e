#include "toolbar_test_form.h"

#include "thread_hooks.h"

#include <string>

class TbWindowTest : public GuiTest {};

namespace {

// Posts a drag's moves and release to the window (in its client
// coordinates, as the loop's capture has them), then presses at `from`:
// the loop finds the rest in the queue.
void PostedDrag(TCustomToolWindow* w, POINT fromScreen, const std::vector<POINT>& toScreen, bool release = true)
{
    HWND h = w->GetHandle();
    for (POINT p : toScreen) {
        ScreenToClient(h, &p);
        PostMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, gui::PointParam(p.x, p.y));
    }
    if (release) {
        POINT last = toScreen.empty() ? fromScreen : toScreen.back();
        ScreenToClient(h, &last);
        PostMessageA(h, WM_LBUTTONUP, 0, gui::PointParam(last.x, last.y));
    }
    POINT p = fromScreen;
    ScreenToClient(h, &p);
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, gui::PointParam(p.x, p.y));
    gui::PumpUntilIdle();
}

// The middle of a docked bar's drag handle, on the screen.
POINT HandlePoint(TCustomToolWindow* w)
{
    RECT r = ScreenRect(w);
    if (w->GetDockedTo() && w->GetDockedTo()->IsVertical()) return POINT{(r.left + r.right) / 2, r.top + 6};
    return POINT{r.left + 6, (r.top + r.bottom) / 2};
}

POINT Centre(TWinControl* c)
{
    RECT r = ScreenRect(c);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

TEST_F(TbWindowTest, DockingByPropertyFramesAndEventOrder)
{
    TDockForm f;
    f.Show();
    std::vector<std::string> events;
    TToolbar* b = f.Bar2;
    b->OnDockChanging = [&](TObject*) { events.push_back("Changing"); };
    b->OnDockChangingEx = [&](TObject*, TDock* d) { events.push_back(d == f.Top ? "ChangingEx(Top)" : "ChangingEx"); };
    b->OnRecreating = [&](TObject*) { events.push_back("Recreating"); };
    b->OnDockChangingHidden = [&](TObject*, TDock*) { events.push_back("Hidden"); };
    b->OnRecreated = [&](TObject*) { events.push_back("Recreated"); };
    b->OnDockChanged = [&](TObject*) { events.push_back("Changed"); };
    b->SetDockedTo(f.Top);
    EXPECT_EQ((std::vector<std::string>{"Changing", "ChangingEx(Top)", "Recreating", "Hidden", "Recreated", "Changed"}),
              events);
    EXPECT_EQ(f.Top, b->GetParent());
    EXPECT_EQ(f.Top, b->GetDockedTo());
    RECT wr = ScreenRect(b);
    POINT origin{0, 0};
    ClientToScreen(b->GetHandle(), &origin);
    RECT client = b->GetClientRect();
    EXPECT_EQ(2 + 9, origin.x - wr.left);
    EXPECT_EQ(2, origin.y - wr.top);
    EXPECT_EQ(2, wr.right - origin.x - client.right);
    EXPECT_EQ(2, wr.bottom - origin.y - client.bottom);
    // A dock that does not allow dragging: no handle.
    f.Bottom->SetAllowDrag(false);
    b->SetDockedTo(f.Bottom);
    wr = ScreenRect(b);
    origin = POINT{0, 0};
    ClientToScreen(b->GetHandle(), &origin);
    EXPECT_EQ(2, origin.x - wr.left);
    // Floating: in a holder, reused the next time.
    b->SetDockedTo(nullptr);
    TFloatingWindowParent* holder = b->GetFloatParent();
    ASSERT_NE(nullptr, holder);
    EXPECT_EQ(holder, b->GetParent());
    EXPECT_TRUE(b->IsFloating());
    EXPECT_TRUE(IsWindowVisible(holder->GetHandle()));
    EXPECT_EQ(holder->GetWidth(), b->GetWidth());
    b->SetDockedTo(f.Left);
    EXPECT_FALSE(IsWindowVisible(holder->GetHandle()));
    b->SetDockedTo(nullptr);
    EXPECT_EQ(holder, b->GetFloatParent());
    // Taken off everything: no dock lists it, the holder hides.
    b->SetDockedTo(f.Top);
    b->SetParent(nullptr);
    EXPECT_EQ(nullptr, b->GetDockedTo());
    EXPECT_EQ(0, f.Top->GetToolbarCount());
    EXPECT_FALSE(IsWindowVisible(holder->GetHandle()));
}

TEST_F(TbWindowTest, FloatingWithoutAFormRaises)
{
    TToolbar lone(nullptr);
    EXPECT_THROW(lone.SetDockedTo(nullptr), EInvalidOperation);
}

TEST_F(TbWindowTest, MoveOnScreenKeepsFloatingWindowsOnTheWorkArea)
{
    TDockForm f;
    f.Show();
    f.Bar1->SetDockedTo(nullptr);
    f.Bar1->SetFloatingPosition(POINT{5000, 5000});
    f.Bar1->MoveOnScreen(false);
    RECT r = ScreenRect(f.Bar1->GetFloatParent());
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(work.right, r.right);
    EXPECT_EQ(work.bottom, r.bottom);
    f.Bar1->SetFloatingPosition(POINT{-500, -500});
    f.Bar1->MoveOnScreen(false);
    EXPECT_EQ(0, f.Bar1->GetFloatingPosition().x);
    EXPECT_EQ(0, f.Bar1->GetFloatingPosition().y);
    f.Bar1->SetFloatingPosition(POINT{work.right - 10, 100});
    f.Bar1->MoveOnScreen(true);
    EXPECT_EQ(work.right - 10, f.Bar1->GetFloatingPosition().x);
}

TEST_F(TbWindowTest, DragBetweenDocksToFloatingAndBack)
{
    TDockForm f;
    f.Bar1->SetDockedTo(f.Top);
    f.Bar2->SetDockedTo(f.Left);
    f.Bar3->SetDockRow(1);
    f.Bar3->SetDockedTo(f.Left);
    f.Show();
    ASSERT_EQ(2u, static_cast<unsigned>(f.Left->GetHighestRow() + 1));
    // The outline (27 wide in the left dock) keeps the grab point 6 pixels
    // into an 88-pixel bar in proportion: its centre lies 11 pixels right of
    // the mouse. Into the middle of the second row: joins that row.
    ASSERT_EQ(88, f.Bar1->GetWidth());
    RECT lr = ScreenRect(f.Left);
    POINT row1{lr.left + 27 + 13 - 11, lr.bottom - 40};
    PostedDrag(f.Bar1, HandlePoint(f.Bar1), {POINT{300, 300}, row1});
    EXPECT_EQ(f.Left, f.Bar1->GetDockedTo());
    EXPECT_EQ(1, f.Bar1->GetDockRow());
    EXPECT_EQ(0, f.Top->GetToolbarCount());
    EXPECT_EQ(nullptr, GetCapture());
    // Onto the boundary between the two rows: a new row opens there. Now
    // grabbed at the middle of its own width, the outline centres on the mouse.
    lr = ScreenRect(f.Left);
    POINT boundary{lr.left + 27 + 1, lr.top + 150};
    PostedDrag(f.Bar1, HandlePoint(f.Bar1), {boundary});
    EXPECT_EQ(f.Left, f.Bar1->GetDockedTo());
    EXPECT_EQ(1, f.Bar1->GetDockRow());
    EXPECT_EQ(2, f.Bar3->GetDockRow());
    // Into the middle of the form: floats there.
    PostedDrag(f.Bar1, HandlePoint(f.Bar1), {POINT{400, 300}});
    EXPECT_TRUE(f.Bar1->IsFloating());
    EXPECT_EQ(1, f.Left->GetHighestRow());
    EXPECT_EQ(nullptr, GetCapture());
    // Back to the top dock by its caption.
    RECT fr = ScreenRect(f.Bar1);
    POINT caption{fr.left + 20, fr.top + 8};
    PostedDrag(f.Bar1, caption, {Centre(f.Top), POINT{ScreenRect(f.Top).left + 40, ScreenRect(f.Top).top + 2}});
    EXPECT_EQ(f.Top, f.Bar1->GetDockedTo());
    EXPECT_EQ(0, f.Bar1->GetDockRow());
}

TEST_F(TbWindowTest, EscapeCancelsADrag)
{
    TDockForm f;
    f.Bar1->SetDockedTo(f.Top);
    f.Show();
    RECT before = f.Bar1->GetBoundsRect();
    HWND h = f.Bar1->GetHandle();
    PostMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, gui::PointParam(300, 300));
    PostMessageA(h, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(h, WM_LBUTTONUP, 0, gui::PointParam(300, 300));
    POINT p = HandlePoint(f.Bar1);
    ScreenToClient(h, &p);
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, gui::PointParam(p.x, p.y));
    gui::PumpUntilIdle();
    EXPECT_EQ(f.Top, f.Bar1->GetDockedTo());
    RECT after = f.Bar1->GetBoundsRect();
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(TbWindowTest, DoubleClicksFloatAndDockToTheDefaultDock)
{
    TDockForm f;
    f.Bar1->SetDockedTo(f.Top);
    f.Bar2->SetDockPos(0);
    f.Bar2->SetDockedTo(f.Top);
    f.Show();
    f.Bar2->SetDefaultDock(f.Top);
    HWND h = f.Bar2->GetHandle();
    POINT p = HandlePoint(f.Bar2);
    ScreenToClient(h, &p);
    SendMessageA(h, WM_LBUTTONDBLCLK, MK_LBUTTON, gui::PointParam(p.x, p.y));
    gui::PumpUntilIdle();
    ASSERT_TRUE(f.Bar2->IsFloating());
    h = f.Bar2->GetHandle();
    SendMessageA(h, WM_LBUTTONDBLCLK, MK_LBUTTON, gui::PointParam(10, -5));
    gui::PumpUntilIdle();
    EXPECT_EQ(f.Top, f.Bar2->GetDockedTo());
    EXPECT_EQ(0, f.Bar2->GetDockRow());
    EXPECT_EQ(0, f.Bar2->GetDockPos());
    EXPECT_EQ(f.Bar2->GetWidth(), f.Bar1->GetDockPos());
}

TEST_F(TbWindowTest, FloatingCaptionAndCloseButton)
{
    TDockForm f;
    f.Show();
    f.Bar1->SetFloatingPosition(POINT{200, 200});
    f.Bar1->SetDockedTo(nullptr);
    gui::PumpUntilIdle();
    HWND h = f.Bar1->GetHandle();
    RECT wr = ScreenRect(f.Bar1);
    int frame = GetSystemMetrics(SM_CXFRAME);
    int caption = GetSystemMetrics(SM_CYSMCAPTION);
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    EXPECT_EQ(frame, origin.x - wr.left);
    EXPECT_EQ(GetSystemMetrics(SM_CYFRAME) + caption, origin.y - wr.top);
    // Hit tests: caption is client area, the close button answers close.
    POINT closePoint{wr.right - frame - caption / 2, wr.top + GetSystemMetrics(SM_CYFRAME) + caption / 2};
    EXPECT_EQ(HTCLOSE, SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(closePoint.x, closePoint.y)));
    EXPECT_EQ(HTCLIENT, SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(wr.left + 20, closePoint.y)));
    EXPECT_EQ(HTLEFT, SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(wr.left, (wr.top + wr.bottom) / 2 + 1)));
    EXPECT_EQ(HTBOTTOMRIGHT, SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(wr.right - 1, wr.bottom - 1)));
    // The fallback caption: the caption colour (active while the
    // application is) with the text in the caption text colour.
    gui::PumpUntilIdle();
    bool active = GetActiveWindow() != nullptr;
    ToolWindowUseSystemCaption() = false;
    RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    gui::TPixels px = gui::ReadPixels(h, true);
    ToolWindowUseSystemCaption() = true;
    int captionY = GetSystemMetrics(SM_CYFRAME) + 1;
    EXPECT_EQ(SysRGB(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION), px.At(frame + 1, captionY));
    uint32_t textColour = SysRGB(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT);
    int text = 0;
    for (int x = frame; x < px.Width / 2; ++x)
        for (int y = captionY; y < captionY + caption - 2; ++y)
            if (px.At(x, y) == textColour) ++text;
    EXPECT_GT(text, 10) << "caption text drawn";
    // Close: pressing, moving off and releasing does nothing.
    int closes = 0;
    f.Bar1->OnClose = [&](TObject*) { ++closes; };
    POINT off{wr.left + 20, wr.top + 30};
    POINT offClient = off;
    ScreenToClient(h, &offClient);
    PostMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, gui::PointParam(offClient.x, offClient.y));
    PostMessageA(h, WM_LBUTTONUP, 0, gui::PointParam(offClient.x, offClient.y));
    SendMessageA(h, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(closePoint.x, closePoint.y));
    EXPECT_EQ(0, closes);
    EXPECT_TRUE(f.Bar1->GetVisible());
    POINT onClient = closePoint;
    ScreenToClient(h, &onClient);
    PostMessageA(h, WM_LBUTTONUP, 0, gui::PointParam(onClient.x, onClient.y));
    SendMessageA(h, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(closePoint.x, closePoint.y));
    EXPECT_EQ(1, closes);
    EXPECT_FALSE(f.Bar1->GetVisible());
    EXPECT_FALSE(IsWindowVisible(f.Bar1->GetFloatParent()->GetHandle()));
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(TbWindowTest, DockedDragHandleHasTwoRaisedBars)
{
    TDockForm f;
    f.Bar1->SetDockedTo(f.Top);
    f.Show();
    gui::TPixels px = gui::ReadPixels(f.Bar1->GetHandle(), true);
    int y = px.Height / 2;
    EXPECT_EQ(SysRGB(COLOR_BTNHIGHLIGHT), px.At(4, y));
    EXPECT_EQ(SysRGB(COLOR_BTNSHADOW), px.At(6, y));
    EXPECT_EQ(SysRGB(COLOR_BTNHIGHLIGHT), px.At(7, y));
    EXPECT_EQ(SysRGB(COLOR_BTNSHADOW), px.At(9, y));
    EXPECT_EQ(SysRGB(COLOR_BTNFACE), px.At(3, y));
}

TEST_F(TbWindowTest, MinimisingTheParentFormHidesTheFloatingWindow)
{
    TDockForm f;
    f.Show();
    f.Bar1->SetDockedTo(nullptr);
    gui::PumpUntilIdle();
    HWND holder = f.Bar1->GetFloatParent()->GetHandle();
    ASSERT_TRUE(IsWindowVisible(holder));
    ShowWindow(f.Form->GetHandle(), SW_MINIMIZE);
    gui::PumpUntilIdle();
    EXPECT_FALSE(IsWindowVisible(holder));
    ShowWindow(f.Form->GetHandle(), SW_RESTORE);
    gui::PumpUntilIdle();
    EXPECT_TRUE(IsWindowVisible(holder));
}

TEST_F(TbWindowTest, FormsWithDockedAndFloatingBarsLeaveNothingBehind)
{
    auto dockAndFloat = [] {
        TDockForm f;
        f.Bar1->SetDockedTo(f.Top);
        f.Bar2->SetDockedTo(nullptr);
        f.Bar3->SetDockedTo(f.Left);
        f.Show();
        f.Bar3->SetDockedTo(nullptr);
        f.Bar3->SetDockedTo(f.Right);
        EXPECT_EQ(3u, ToolWindows().size());
    };
    // Window classes and the system's cached GDI objects (it keeps more
    // device contexts once two floating windows were shown at once, measured
    // the same after every further run) exist from here on.
    dockAndFloat();
    gui::PumpUntilIdle();
    gui::TGuiCounts before = gui::CountGuiObjects();
    dockAndFloat();
    gui::PumpUntilIdle();
    EXPECT_TRUE(ToolWindows().empty());
    EXPECT_FALSE(ThreadHookInstalled(htCBT)) << "the last tool window released the shared hooks";
    gui::TGuiCounts after = gui::CountGuiObjects();
    EXPECT_EQ(before.TopLevel, after.TopLevel);
    EXPECT_EQ(before.User, after.User);
    EXPECT_EQ(before.Gdi, after.Gdi);
}
