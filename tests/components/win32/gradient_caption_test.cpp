// The gradient caption on real forms under Xvfb (Wine draws frames itself,
// Decorated=N): gradient and text read back from the window, the form's
// border and icons reaching the button sets (the sets themselves are the
// layout tests'), the buttons and the caption double-click, and the hook
// taken off cleanly.
#include <gtest/gtest.h>

#include <string>

#include "../../gui/win32/gui_fixture.h"
#include "gradient_caption.h"
#include "ui2_helpers.h"

namespace {

const TColor ActiveBegin = 0x000080;    // dark red
const TColor ActiveEnd = 0xFF8000;      // a blue
const TColor InactiveBegin = 0x008000;  // green
const TColor InactiveEnd = 0x00FFFF;    // yellow

class CaptionTest : public GuiTest {
protected:
    TForm* MakeForm(int x, TFormBorderStyle border = bsSizeable)
    {
        TForm* f = new TForm(app.get());
        f->SetBorderStyle(border);
        f->SetBounds(x, 60, 420, 200);
        f->SetCaption("Preferences of the picture");
        return f;
    }
    TGradientCaption* MakeCaption(TForm* f)
    {
        TGradientCaption* c = new TGradientCaption(f);
        c->SetActiveBeginColor(ActiveBegin);
        c->SetActiveEndColor(ActiveEnd);
        c->SetInactiveBeginColor(InactiveBegin);
        c->SetInactiveEndColor(InactiveEnd);
        c->SetActiveFontColor(clWhite);
        c->SetInactiveFontColor(clBlack);
        return c;
    }
    void Show(TForm* f)
    {
        f->Show();
        SetActiveWindow(f->GetHandle());
        f->Update();
        gui::PumpUntilIdle();
    }
    // Screen point of a window point of f.
    POINT Screen(TForm* f, int x, int y)
    {
        RECT w;
        GetWindowRect(f->GetHandle(), &w);
        return POINT{w.left + x, w.top + y};
    }
    POINT ButtonCentre(TForm* f, TGradientCaption* c, TCapButtonKind kind)
    {
        RECT b = c->GetButton(kind)->GetRect();
        return Screen(f, (b.left + b.right) / 2, (b.top + b.bottom) / 2);
    }
    // A form with a caption, shown, then minimised.
    HWND ShowMinimised()
    {
        TForm* f = MakeForm(40);
        MakeCaption(f);
        Show(f);
        ShowWindow(f->GetHandle(), SW_MINIMIZE);
        gui::PumpUntilIdle();
        return f->GetHandle();
    }
};

}  // namespace

TEST_F(CaptionTest, OwnerMustBeAFormAndNumColorsAtLeastOne)
{
    TComponent holder(nullptr);
    try {
        TGradientCaption c(&holder);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ("The gradcapt's owner must be a Form!", e.Message.c_str());
    }
    EXPECT_EQ(0, holder.GetComponentCount());
    TGradientCaption* cap = MakeCaption(MakeForm(40));
    EXPECT_THROW(cap->SetNumColors(0), EPropertyError);
    cap->SetNumColors(1);
    EXPECT_EQ(1, cap->GetNumColors());
}

TEST_F(CaptionTest, ActiveAndInactiveGradientsAndTheTextReadBack)
{
    TForm* f = MakeForm(40);
    TGradientCaption* cap = MakeCaption(f);
    Show(f);
    const TCapLayout& l = cap->UpdateLayout();
    ASSERT_TRUE(cap->IsFormActive());
    gui::TPixels px = gui::ReadPixels(f->GetHandle(), true);
    int y = l.Caption.Top;
    EXPECT_TRUE(ui2::Near(ui2::Pixel(ActiveBegin), px.At(l.Caption.Left, y))) << std::hex << px.At(l.Caption.Left, y);
    EXPECT_TRUE(ui2::Near(ui2::Pixel(ActiveEnd), px.At(l.Caption.Right - 1, y))) << std::hex << px.At(l.Caption.Right - 1, y);
    // Caption text in the font colour, from the text rectangle's start.
    int mid = (l.Text.Top + l.Text.Bottom) / 2;
    int white = 0;
    int firstWhite = -1;
    for (int x = l.Caption.Left; x < l.Text.Right; ++x)
        for (int dy = -4; dy <= 4; ++dy)
            if (px.At(x, mid + dy) == 0xFFFFFF) {
                ++white;
                if (firstWhite < 0 || x < firstWhite) firstWhite = x;
            }
    EXPECT_GT(white, 20);
    EXPECT_GE(firstWhite, l.Text.Left);
    EXPECT_LT(firstWhite, l.Text.Left + 6);

    TForm* other = MakeForm(500);
    Show(other);
    ASSERT_FALSE(cap->IsFormActive());
    px = gui::ReadPixels(f->GetHandle(), true);
    EXPECT_TRUE(ui2::Near(ui2::Pixel(InactiveBegin), px.At(l.Caption.Left, y))) << std::hex << px.At(l.Caption.Left, y);
    EXPECT_TRUE(ui2::Near(ui2::Pixel(InactiveEnd), px.At(l.Caption.Right - 1, y)));
    // The form without a caption component keeps Windows' own caption.
    EXPECT_TRUE(GetWindowLongA(other->GetHandle(), GWL_STYLE) & WS_SYSMENU);
    gui::TPixels plain = gui::ReadPixels(other->GetHandle(), true);
    EXPECT_FALSE(ui2::Near(ui2::Pixel(ActiveBegin), plain.At(l.Caption.Left, y)));
}

TEST_F(CaptionTest, ButtonSetsFollowBorderAndIcons)
{
    TForm* dialog = MakeForm(40, bsDialog);
    dialog->SetBorderIcons(biSystemMenu | biHelp);
    TGradientCaption* d = MakeCaption(dialog);
    Show(dialog);
    EXPECT_TRUE(d->GetButton(cbkClose)->IsShown());
    EXPECT_FALSE(d->GetButton(cbkMinimize)->IsShown());
    EXPECT_FALSE(d->GetButton(cbkMaximize)->IsShown());
    EXPECT_TRUE(d->GetButton(cbkHelp)->IsShown());

    TForm* tool = MakeForm(40, bsToolWindow);
    TGradientCaption* t = MakeCaption(tool);
    const TCapLayout& l = t->UpdateLayout();
    EXPECT_TRUE(t->GetButton(cbkClose)->IsShown());
    RECT r = t->GetButton(cbkClose)->GetRect();
    EXPECT_EQ(l.Caption.Height(), r.bottom - r.top);
    EXPECT_EQ(l.Caption.Right, r.right);
    EXPECT_EQ(GetSystemMetrics(SM_CYSMCAPTION) - 1, l.Caption.Height());
}

TEST_F(CaptionTest, CloseButtonClosesButMovingOffCancels)
{
    TForm* f = MakeForm(40);
    TGradientCaption* cap = MakeCaption(f);
    int closes = 0;
    f->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    Show(f);
    HWND h = f->GetHandle();
    RECT b = cap->GetButton(cbkClose)->GetRect();
    POINT centre = ButtonCentre(f, cap, cbkClose);
    auto client = [&](POINT s) {
        ScreenToClient(h, &s);
        return gui::PointParam(s.x, s.y);
    };
    // Pressed, moved 5 pixels above the button, released: nothing.
    SendMessageA(h, WM_NCLBUTTONDOWN, HTCAPTION, gui::PointParam(centre.x, centre.y));
    EXPECT_TRUE(cap->GetButton(cbkClose)->GetPressed());
    POINT off = Screen(f, b.left + 2, b.top - 5);
    SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, client(off));
    EXPECT_FALSE(cap->GetButton(cbkClose)->GetPressed());
    SendMessageA(h, WM_LBUTTONUP, 0, client(off));
    gui::PumpUntilIdle();
    EXPECT_EQ(0, closes);
    EXPECT_TRUE(IsWindowVisible(h));
    // Pressed and released on it: closed.
    SendMessageA(h, WM_NCLBUTTONDOWN, HTCAPTION, gui::PointParam(centre.x, centre.y));
    SendMessageA(h, WM_LBUTTONUP, 0, client(centre));
    EXPECT_FALSE(cap->GetButton(cbkClose)->GetPressed());
    gui::PumpUntilIdle();
    EXPECT_EQ(1, closes);
    EXPECT_FALSE(IsWindowVisible(h));
}

TEST_F(CaptionTest, DoubleClickOnTheTextMaximisesAndRestores)
{
    TForm* f = MakeForm(40);
    TGradientCaption* cap = MakeCaption(f);
    Show(f);
    HWND h = f->GetHandle();
    const TCapLayout& l = cap->UpdateLayout();
    POINT p = Screen(f, l.Text.Left + 40, (l.Text.Top + l.Text.Bottom) / 2);
    SendMessageA(h, WM_NCLBUTTONDBLCLK, HTCAPTION, gui::PointParam(p.x, p.y));
    gui::PumpUntilIdle();
    EXPECT_TRUE(IsZoomed(h));
    p = Screen(f, cap->UpdateLayout().Text.Left + 40, (l.Text.Top + l.Text.Bottom) / 2);
    SendMessageA(h, WM_NCLBUTTONDBLCLK, HTCAPTION, gui::PointParam(p.x, p.y));
    gui::PumpUntilIdle();
    EXPECT_FALSE(IsZoomed(h));
    // Without a working maximise button a double-click does nothing.
    f->SetBorderIcons(biSystemMenu | biMinimize);
    TGradientCaption* again = MakeCaption(f);
    delete cap;
    again->UpdateLayout();
    SendMessageA(h, WM_NCLBUTTONDBLCLK, HTCAPTION, gui::PointParam(p.x, p.y));
    gui::PumpUntilIdle();
    EXPECT_FALSE(IsZoomed(h));
}

TEST_F(CaptionTest, MinimiseButtonMinimisesAndNcActivateIsAnswered)
{
    TForm* f = MakeForm(40);
    TGradientCaption* cap = MakeCaption(f);
    Show(f);
    HWND h = f->GetHandle();
    EXPECT_EQ(TRUE, SendMessageA(h, WM_NCACTIVATE, FALSE, 0));
    POINT c = ButtonCentre(f, cap, cbkMinimize);
    SendMessageA(h, WM_NCLBUTTONDOWN, HTCAPTION, gui::PointParam(c.x, c.y));
    ScreenToClient(h, &c);
    SendMessageA(h, WM_LBUTTONUP, 0, gui::PointParam(c.x, c.y));
    gui::PumpUntilIdle();
    EXPECT_TRUE(IsIconic(h));
}

TEST_F(CaptionTest, DestroyingTheCaptionGivesProcedureAndStyleBack)
{
    TForm* f = MakeForm(40);
    HWND h = f->GetHandle();
    LONG_PTR proc = GetWindowLongPtrA(h, GWLP_WNDPROC);
    LONG style = GetWindowLongA(h, GWL_STYLE);
    TGradientCaption* cap = MakeCaption(f);
    EXPECT_FALSE(GetWindowLongA(h, GWL_STYLE) & WS_SYSMENU);
    EXPECT_NE(proc, GetWindowLongPtrA(h, GWLP_WNDPROC));
    delete cap;
    EXPECT_EQ(proc, GetWindowLongPtrA(h, GWLP_WNDPROC));
    EXPECT_EQ(style, GetWindowLongA(h, GWL_STYLE));
}

namespace {

WNDPROC laterPrevious = nullptr;
int laterSeen = 0;

LRESULT CALLBACK LaterSubclass(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    if (msg == WM_SETTEXT) ++laterSeen;
    return CallWindowProcA(laterPrevious, h, msg, w, l);
}

}  // namespace

TEST_F(CaptionTest, ALaterSubclassKeepsItsChainWhenTheCaptionGoes)
{
    TForm* f = MakeForm(40);
    HWND h = f->GetHandle();
    TGradientCaption* cap = MakeCaption(f);
    Show(f);
    laterSeen = 0;
    laterPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LaterSubclass)));
    delete cap;
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(LaterSubclass), GetWindowLongPtrA(h, GWLP_WNDPROC));
    EXPECT_TRUE(GetWindowLongA(h, GWL_STYLE) & WS_SYSMENU);
    f->SetCaption("Still working");
    EXPECT_EQ(1, laterSeen);
    EXPECT_STREQ("Still working", f->GetCaption().c_str());
    gui::PumpUntilIdle();
    delete f;  // the pass-through goes with the window
    gui::PumpUntilIdle();
}

TEST_F(CaptionTest, LongCaptionEndsInAnEllipsis)
{
    ui2::TDibDC dc(10, 10);
    AnsiString fitted = TGradientCaption::FitText(dc.Get(), "A caption far too long for the room it is given", 80);
    std::string s = fitted.c_str();
    ASSERT_GE(s.size(), 4u);
    EXPECT_EQ("...", s.substr(s.size() - 3));
    SIZE ext;
    GetTextExtentPoint32A(dc.Get(), fitted.c_str(), fitted.Length(), &ext);
    EXPECT_LE(ext.cx, 80);
    EXPECT_STREQ("Short", TGradientCaption::FitText(dc.Get(), "Short", 80).c_str());
}

namespace {

HWND menuForm = nullptr;
UINT maximizeState = 0;
UINT restoreState = 0;
UINT closeState = 0;
int menusSeen = 0;
POINT reclickAt = {-1, -1};  // where the menu is closed by a press, if set

// Runs while the system menu tracks: notes the item states, then closes it.
void CALLBACK LookAndCloseMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    HMENU m = GetSystemMenu(menuForm, FALSE);
    maximizeState = GetMenuState(m, SC_MAXIMIZE, MF_BYCOMMAND);
    restoreState = GetMenuState(m, SC_RESTORE, MF_BYCOMMAND);
    closeState = GetMenuState(m, SC_CLOSE, MF_BYCOMMAND);
    ++menusSeen;
    // As a press outside the menu closes it: that press stays queued.
    if (reclickAt.x >= 0) PostMessageA(menuForm, WM_NCLBUTTONDOWN, HTCAPTION, gui::PointParam(reclickAt.x, reclickAt.y));
    EndMenu();
}

}  // namespace

TEST_F(CaptionTest, RightClickOpensTheSystemMenuWithItemsMatchingTheButtons)
{
    TForm* f = MakeForm(40);
    f->SetBorderIcons(biSystemMenu | biMinimize);
    TGradientCaption* cap = MakeCaption(f);
    Show(f);
    menuForm = f->GetHandle();
    menusSeen = 0;
    const TCapLayout& l = cap->UpdateLayout();
    POINT p = Screen(f, l.Text.Left + 30, (l.Text.Top + l.Text.Bottom) / 2);
    SetTimer(nullptr, 0, 100, LookAndCloseMenu);
    SendMessageA(menuForm, WM_NCRBUTTONDOWN, HTCAPTION, gui::PointParam(p.x, p.y));
    SendMessageA(menuForm, WM_NCRBUTTONUP, HTCAPTION, gui::PointParam(p.x, p.y));
    EXPECT_EQ(1, menusSeen);
    EXPECT_TRUE(maximizeState & MF_GRAYED);
    EXPECT_TRUE(restoreState & MF_GRAYED);
    EXPECT_FALSE(closeState & MF_GRAYED);
}

TEST_F(CaptionTest, SecondQuickClickOnTheIconClosesTheForm)
{
    TForm* f = MakeForm(40);
    TGradientCaption* cap = MakeCaption(f);
    int closes = 0;
    f->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    Show(f);
    menuForm = f->GetHandle();
    menusSeen = 0;
    const TCapLayout& l = cap->UpdateLayout();
    ASSERT_GT(l.Icon.Width(), 0);
    POINT p = Screen(f, l.Icon.Left + 4, l.Icon.Top + 4);
    // A release without a second press on the icon is only the first click.
    SetTimer(nullptr, 0, 50, LookAndCloseMenu);
    reclickAt = POINT{-1, -1};
    SendMessageA(menuForm, WM_NCLBUTTONDOWN, HTCAPTION, gui::PointParam(p.x, p.y));
    SendMessageA(menuForm, WM_NCLBUTTONUP, HTCAPTION, gui::PointParam(p.x, p.y));
    gui::PumpUntilIdle();
    EXPECT_EQ(0, closes);
    Sleep(GetDoubleClickTime() + 50);
    SetTimer(nullptr, 0, 50, LookAndCloseMenu);
    reclickAt = p;
    menusSeen = 0;
    SendMessageA(menuForm, WM_NCLBUTTONDOWN, HTCAPTION, gui::PointParam(p.x, p.y));
    EXPECT_EQ(1, menusSeen);
    EXPECT_EQ(0, closes);
    // The press that closed the menu was taken by it; its release follows.
    SendMessageA(menuForm, WM_NCLBUTTONUP, HTCAPTION, gui::PointParam(p.x, p.y));
    gui::PumpUntilIdle();
    EXPECT_EQ(1, menusSeen);
    EXPECT_EQ(1, closes);
    reclickAt = POINT{-1, -1};
}

TEST_F(CaptionTest, MinimisedFormIsMovedByHandAndKeepsThePlace)
{
    HWND h = ShowMinimised();
    ASSERT_TRUE(IsIconic(h));
    RECT before;
    GetWindowRect(h, &before);
    POINT press{before.left + 5, before.top + 5};
    SendMessageA(h, WM_NCLBUTTONDOWN, HTCAPTION, gui::PointParam(press.x, press.y));
    EXPECT_EQ(h, GetCapture());
    POINT to{press.x + 30, press.y - 20};
    ScreenToClient(h, &to);
    SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, gui::PointParam(to.x, to.y));
    SendMessageA(h, WM_LBUTTONUP, 0, gui::PointParam(to.x, to.y));
    gui::PumpUntilIdle();
    RECT after;
    GetWindowRect(h, &after);
    EXPECT_EQ(before.left + 30, after.left);
    EXPECT_EQ(before.top - 20, after.top);
    EXPECT_NE(h, GetCapture());
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    GetWindowPlacement(h, &wp);
    EXPECT_EQ(after.left, wp.ptMinPosition.x);
    EXPECT_EQ(after.top, wp.ptMinPosition.y);
    EXPECT_TRUE(IsIconic(h));
}

namespace {

// A double-click while the minimised form's menu tracks, as real input.
void CALLBACK DoubleClickDuringMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    ++menusSeen;
    INPUT in[4] = {};
    for (int i = 0; i < 4; ++i) {
        in[i].type = INPUT_MOUSE;
        in[i].mi.dwFlags = (i % 2) ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    }
    SendInput(4, in, sizeof(INPUT));
    // Should the hook miss it, the menu still ends.
    SetTimer(nullptr, 0, 500, LookAndCloseMenu);
}

}  // namespace

TEST_F(CaptionTest, MinimisedFormClickedOpensItsMenuAndADoubleClickRestores)
{
    HWND h = ShowMinimised();
    ASSERT_TRUE(IsIconic(h));
    menuForm = h;
    menusSeen = 0;
    RECT w;
    GetWindowRect(h, &w);
    POINT press{w.left + 5, w.top + 5};
    SetCursorPos(press.x, press.y);
    SetTimer(nullptr, 0, 100, DoubleClickDuringMenu);
    SendMessageA(h, WM_NCLBUTTONDOWN, HTCAPTION, gui::PointParam(press.x, press.y));
    POINT c = press;
    ScreenToClient(h, &c);
    SendMessageA(h, WM_LBUTTONUP, 0, gui::PointParam(c.x, c.y));
    gui::PumpUntilIdle();
    ui2::PumpFor(100);
    EXPECT_GE(menusSeen, 1);
    EXPECT_FALSE(IsIconic(h));
}
