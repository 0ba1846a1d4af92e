// Toolbar buttons and the flat edit on a form: looks read back as pixels,
// groups, repeat, dropdown menus, hot tracking and keys.
#include "../../gui/win32/gui_fixture.h"
#include "extctrls.h"
#include "forms.h"
#include "glyphstrip.h"
#include "thread_hooks.h"
#include "toolbar_button.h"
#include "toolbar.h"
#include "ui2_helpers.h"

namespace {

// A system colour as ReadPixels reports it (0x00RRGGBB).
uint32_t Sys(int index)
{
    return ui2::Pixel(GetSysColor(index));
}

// W x H of Background with a Fill square of Side in the middle.
TBitmap* MakeGlyph(int w, int h, TColor background, TColor fill, int side)
{
    auto* b = new TBitmap;
    b->SetSize(w, h);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetColor(background);
    c->FillRect(RECT{0, 0, w, h});
    c->GetBrush()->SetColor(fill);
    int x = (h - side) / 2;
    c->FillRect(RECT{x, x, x + side, x + side});
    return b;
}

class ToolbarButtonTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        form = new TForm(app.get());
        form->SetBorderStyle(bsNone);
        form->SetBounds(100, 100, 300, 120);
        form->SetColor(0x00FFFF);
        form->ShowNoActivate();
    }
    TToolbarButton* Make(int x, int y)
    {
        auto* b = new TToolbarButton(form);
        b->SetParent(form);
        b->SetLeft(x);
        b->SetTop(y);
        return b;
    }
    // Pixel x, y of the button as shown on the form.
    uint32_t Px(TToolbarButton* b, int x, int y)
    {
        form->Invalidate();
        gui::PumpUntilIdle();
        return gui::ReadPixels(form->GetHandle()).At(b->GetLeft() + x, b->GetTop() + y);
    }
    // Puts the real mouse on the button so that the hot look stays.
    void Hover(TToolbarButton* b)
    {
        b->SetShowBorderWhenInactive(true);
        POINT p = form->ClientToScreen(POINT{b->GetLeft() + 5, b->GetTop() + 5});
        SetCursorPos(p.x, p.y);
        gui::MouseMove(b, 5, 5);
    }
    // A dropdown menu with one item.
    TPopupMenu* MakeMenu(TMenuItem*& item)
    {
        auto* menu = new TPopupMenu(form);
        item = new TMenuItem(menu);
        item->SetCaption("Item");
        menu->GetItems()->Add(item);
        return menu;
    }
    TForm* form = nullptr;
};

}  // namespace

// The strip cutting both glyph buttons share.
TEST(GlyphStrip, CellsComeFromTheirColumnsAndPixelsRoundTrip)
{
    const std::vector<unsigned> strip = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};  // 6 x 2
    EXPECT_EQ((std::vector<unsigned>{3, 4, 9, 10}), CutGlyphCell(strip, 6, 2, 1));
    EXPECT_EQ((std::vector<unsigned>{5, 6, 11, 12}), CutGlyphCell(strip, 6, 2, 2));
    EXPECT_THROW(CutGlyphCell(strip, 6, 2, 3), EInvalidOperation);
    EXPECT_THROW(CutGlyphCell(strip, 6, 0, 0), EInvalidOperation);
    EXPECT_THROW(CutGlyphCell(strip, 6, 2, -1), EInvalidOperation);

    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(3, 2);
    const std::vector<unsigned> px = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0x000000, 0xFFFFFF};
    ASSERT_TRUE(WriteBitmapPixels(b.GetHandle(), 3, 2, px));
    EXPECT_EQ(px, ReadBitmapPixels(&b));
    EXPECT_FALSE(WriteBitmapPixels(b.GetHandle(), 3, 2, std::vector<unsigned>(5)));
}

// The clamping of NumGlyphs and the count from a strip's shape are proven
// in toolbar_button_model_test and glyph_button_model_test; here, that the button uses them.
TEST_F(ToolbarButtonTest, DefaultsLimitsAndGlyphCount)
{
    TToolbarButton* b = Make(0, 0);
    EXPECT_EQ(23, b->GetWidth());
    EXPECT_EQ(22, b->GetHeight());
    EXPECT_TRUE(b->GetFlat());
    EXPECT_EQ(400u, b->GetRepeatDelay());
    EXPECT_EQ(100u, b->GetRepeatInterval());
    b->SetNumGlyphs(9);
    EXPECT_EQ(5, b->GetNumGlyphs());
    b->SetMargin(-2);
    EXPECT_EQ(-1, b->GetMargin());
    b->SetDown(true);  // GroupIndex 0
    EXPECT_FALSE(b->GetDown());
    b->SetDropdownCombo(true);
    EXPECT_EQ(34, b->GetWidth());
    b->SetWidth(5);
    b->SetDropdownCombo(false);
    EXPECT_EQ(1, b->GetWidth());

    std::unique_ptr<TBitmap> strip(MakeGlyph(40, 10, clFuchsia, clRed, 4));
    b->SetGlyph(strip.get());
    EXPECT_EQ(4, b->GetNumGlyphs());
    std::unique_ptr<TBitmap> empty(new TBitmap);
    b->SetGlyph(empty.get());  // no height to divide by
    EXPECT_EQ(1, b->GetNumGlyphs());
    b->SetGlyph(strip.get());
    b->SetGlyphMask(strip.get());
    b->SetGlyph(strip.get());
    EXPECT_EQ(1, b->GetNumGlyphs());
    EXPECT_NE(0u, Px(b, 0, 0));  // paints without a usable glyph
}

// The glyph's place on the face is toolbar_button_model_test's; here, its
// transparency and the pressed shift.
TEST_F(ToolbarButtonTest, FlatButtonShowsItsBorderOnlyWhenHotOrPressed)
{
    TToolbarButton* b = Make(10, 10);
    std::unique_ptr<TBitmap> glyph(MakeGlyph(10, 10, clFuchsia, clRed, 4));
    b->SetGlyph(glyph.get());
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    uint32_t face = Sys(COLOR_BTNFACE);
    EXPECT_EQ(face, Px(b, 5, 0));
    EXPECT_EQ(face, Px(b, 5, 21));
    // Face 21 x 20 inside the flat border: the glyph sits at 7, 6; its red
    // square at 10..13, 9..12.
    EXPECT_EQ(0xFF0000u, Px(b, 10, 9));
    EXPECT_EQ(0xFF0000u, Px(b, 13, 12));
    EXPECT_EQ(face, Px(b, 8, 7));  // fuchsia is transparent
    EXPECT_EQ(face, Px(b, 14, 13));
    Hover(b);
    EXPECT_TRUE(b->IsHot());
    EXPECT_EQ(tbsMouseIn, b->GetState());
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), Px(b, 5, 0));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), Px(b, 5, 21));
    gui::MouseDown(b, 5, 5);
    EXPECT_EQ(tbsDown, b->GetState());
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), Px(b, 5, 0));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), Px(b, 5, 21));
    EXPECT_EQ(0xFF0000u, Px(b, 14, 13));
    EXPECT_NE(0xFF0000u, Px(b, 10, 9));
    // Dragged off, the button comes up; released there, it does not click.
    gui::MouseMove(b, 50, 5, MK_LBUTTON);
    EXPECT_EQ(tbsUp, b->GetState());
    gui::MouseUp(b, 50, 5);
    EXPECT_EQ(0, clicks);
    gui::MouseMove(b, 5, 5);
    gui::MouseDown(b, 5, 5);
    gui::MouseUp(b, 5, 5);
    EXPECT_EQ(1, clicks);
}

TEST_F(ToolbarButtonTest, RaisedButtonHasAFullEdgeAndExclusiveIsDithered)
{
    TToolbarButton* b = Make(10, 10);
    b->SetFlat(false);
    uint32_t up0 = Px(b, 5, 0);
    uint32_t up21 = Px(b, 5, 21);
    EXPECT_NE(Sys(COLOR_BTNFACE), up0);
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), up21);
    gui::MouseDown(b, 5, 5);
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), Px(b, 5, 21));
    EXPECT_NE(up0, Px(b, 5, 0));
    gui::MouseUp(b, 5, 5);

    // Held down (exclusive), the face is dithered.
    TToolbarButton* raised = Make(50, 10);
    raised->SetFlat(false);
    raised->SetGroupIndex(1);
    raised->SetDown(true);
    EXPECT_EQ(tbsExclusive, raised->GetState());
    uint32_t hi = Sys(COLOR_BTNHIGHLIGHT);
    uint32_t face = Sys(COLOR_BTNFACE);
    // Inside the 2-pixel edge: same parity of row and column is highlight.
    EXPECT_EQ(hi, Px(raised, 2, 2));
    EXPECT_EQ(face, Px(raised, 3, 2));
    EXPECT_EQ(hi, Px(raised, 3, 3));
    TToolbarButton* flat = Make(90, 11);
    flat->SetGroupIndex(2);
    flat->SetDown(true);
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), Px(flat, 5, 0));
    EXPECT_EQ(hi, Px(flat, 1, 1));
    EXPECT_EQ(face, Px(flat, 2, 1));
}

// Which tone each generated pixel takes is toolbar_button_model_test's; here, that
// the generated image is the one drawn, masked.
TEST_F(ToolbarButtonTest, DisabledGlyphAndCaption)
{
    TToolbarButton* b = Make(10, 10);
    std::unique_ptr<TBitmap> strip(MakeGlyph(20, 10, clFuchsia, clRed, 4));
    // The second image (disabled) is blue.
    strip->GetCanvas()->GetBrush()->SetColor(clBlue);
    strip->GetCanvas()->FillRect(RECT{13, 3, 17, 7});
    b->SetGlyph(strip.get());
    ASSERT_EQ(2, b->GetNumGlyphs());
    b->SetEnabled(false);
    EXPECT_EQ(tbsDisabled, b->GetState());
    EXPECT_EQ(0x0000FFu, Px(b, 11, 10));

    TToolbarButton* g = Make(50, 10);
    std::unique_ptr<TBitmap> black(MakeGlyph(10, 10, clFuchsia, clBlack, 4));
    g->SetGlyph(black.get());
    g->SetEnabled(false);
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), Px(g, 10, 9));  // new style: dark to shadow
    EXPECT_EQ(Sys(COLOR_BTNFACE), Px(g, 14, 13));
    g->SetOldDisabledStyle(true);
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), Px(g, 14, 13));  // the embossed copy
    // A press on a disabled button does nothing.
    gui::MouseDown(g, 5, 5);
    EXPECT_EQ(tbsDisabled, g->GetState());
    gui::MouseUp(g, 5, 5);

    // The caption in highlight and shadow, nothing in the font's black.
    TToolbarButton* c = Make(90, 10);
    c->SetWidth(60);
    c->SetCaption("WWW");
    c->SetEnabled(false);
    form->Invalidate();
    gui::PumpUntilIdle();
    gui::TPixels px = gui::ReadPixels(form->GetHandle());
    int hi = 0, sh = 0, inFont = 0;
    for (int y = 10; y < 32; ++y)
        for (int x = 90; x < 150; ++x) {
            hi += px.At(x, y) == Sys(COLOR_BTNHIGHLIGHT);
            sh += px.At(x, y) == Sys(COLOR_BTNSHADOW);
            inFont += px.At(x, y) == 0;
        }
    EXPECT_GT(hi, 5);
    EXPECT_GT(sh, 5);
    EXPECT_EQ(0, inFont);
}

TEST_F(ToolbarButtonTest, GroupKeepsOneDownAndAllowAllUpSpreads)
{
    TToolbarButton* b[3];
    for (int i = 0; i < 3; ++i) {
        b[i] = Make(10 + 25 * i, 10);
        b[i]->SetGroupIndex(1);
    }
    gui::Click(b[0], 5, 5);
    EXPECT_TRUE(b[0]->GetDown());
    gui::Click(b[1], 5, 5);
    EXPECT_FALSE(b[0]->GetDown());
    EXPECT_TRUE(b[1]->GetDown());
    EXPECT_EQ(tbsExclusive, b[1]->GetState());
    gui::Click(b[1], 5, 5);  // without AllowAllUp it stays down
    EXPECT_TRUE(b[1]->GetDown());
    b[2]->SetAllowAllUp(true);
    b[2]->SetDown(true);
    EXPECT_FALSE(b[1]->GetDown());
    EXPECT_TRUE(b[0]->GetAllowAllUp());
    gui::Click(b[2], 5, 5);
    EXPECT_FALSE(b[2]->GetDown());
    // Another parent's button with the same index is not a mate.
    auto* other = new TForm(app.get());
    auto* stranger = new TToolbarButton(other);
    stranger->SetParent(other);
    stranger->SetGroupIndex(1);
    stranger->SetDown(true);
    b[0]->SetDown(true);
    EXPECT_TRUE(stranger->GetDown());
}

TEST_F(ToolbarButtonTest, RepeatingButtonClicksAtOnceThenAfterDelayAndInterval)
{
    TToolbarButton* b = Make(10, 10);
    b->SetRepeating(true);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    gui::MouseMove(b, 5, 5);
    gui::MouseDown(b, 5, 5);
    EXPECT_EQ(1, clicks);
    ui2::PumpFor(300);
    EXPECT_EQ(1, clicks);  // the first repeat waits 400 ms
    ui2::PumpFor(750);
    // 400, 500, ... 1000 ms: about seven; timers are never early but may be late.
    EXPECT_GE(clicks, 3);
    EXPECT_LE(clicks, 8);
    gui::MouseUp(b, 5, 5);
    int released = clicks;
    ui2::PumpFor(300);
    EXPECT_EQ(released, clicks);  // the release clicks no more
}

TEST_F(ToolbarButtonTest, ClickOnTheButtonClosesItsMenuWithoutReopening)
{
    TToolbarButton* b = Make(10, 10);
    TMenuItem* item = nullptr;
    TPopupMenu* menu = MakeMenu(item);
    b->SetDropdownMenu(menu);
    EXPECT_EQ(1, DropdownList()->GetMenuCount());
    // The second click on the button arrives while the menu is open: the
    // menu closes on it and leaves it in the queue.
    int popups = 0;
    menu->OnPopup = [&](TObject* Sender) {
        EXPECT_EQ(b, static_cast<TPopupMenu*>(Sender)->GetPopupComponent());
        LPARAM at = ++popups == 1 ? MAKELPARAM(15, 15) : MAKELPARAM(200, 100);
        PostMessageA(form->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(form->GetHandle(), WM_LBUTTONUP, 0, at);
    };
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    gui::MouseMove(b, 5, 5);
    gui::MouseDown(b, 5, 5);  // the menu opens on the press
    gui::PumpUntilIdle();
    EXPECT_EQ(1, popups);
    EXPECT_EQ(1, clicks);
    EXPECT_NE(tbsDown, b->GetState());

    // Without RemoveClicks the same click opens the menu again.
    b->OnDropdown = [](TObject*, bool&, bool& RemoveClicks) { RemoveClicks = false; };
    popups = 0;
    gui::MouseDown(b, 5, 5);
    gui::PumpUntilIdle();
    EXPECT_EQ(2, popups);
}

TEST_F(ToolbarButtonTest, ComboMainPartClicksAndArrowPartOpensTheMenu)
{
    TToolbarButton* b = Make(10, 10);
    b->SetDropdownCombo(true);
    TMenuItem* item = nullptr;
    TPopupMenu* menu = MakeMenu(item);
    b->SetDropdownMenu(menu);
    int popups = 0;
    menu->OnPopup = [&](TObject*) {
        ++popups;
        PostMessageA(form->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 100));
    };
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    gui::Click(b, 5, 5);
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(0, popups);
    gui::MouseDown(b, b->GetWidth() - 4, 5);
    gui::PumpUntilIdle();
    EXPECT_EQ(1, popups);
    EXPECT_EQ(1, clicks);
    // A chosen command reaches the item through the dropdown window.
    int chosen = 0;
    item->OnClick = [&](TObject*) { ++chosen; };
    HWND list = DropdownList()->GetWindow();
    SendMessageA(list, WM_COMMAND, item->GetCommand(), 0);
    EXPECT_EQ(1, chosen);
    // Selecting it shows its hint; F1 on it shows its help context.
    item->SetHint("Opens the thing");
    item->SetHelpContext(42);
    SendMessageA(list, WM_MENUSELECT, MAKEWPARAM(item->GetCommand(), MF_STRING), LPARAM(menu->GetHandle()));
    EXPECT_STREQ("Opens the thing", app->GetHint().c_str());
    app->SetHelpFile("kestrel.hlp");
    HELPINFO help = {};
    help.cbSize = sizeof(help);
    help.iContextType = HELPINFO_MENUITEM;
    help.iCtrlId = int(item->GetCommand());
    help.hItemHandle = menu->GetHandle();
    SendMessageA(list, WM_HELP, 0, LPARAM(&help));
    ASSERT_EQ(1u, recorder->Helps.size());
    EXPECT_EQ(42u, recorder->Helps[0].Data);
    delete menu;  // the button and the list forget it
    EXPECT_EQ(nullptr, b->GetDropdownMenu());
    EXPECT_EQ(0, DropdownList()->GetMenuCount());
}

namespace {

RECT shownMenu;

// While the menu is tracked: note where its window is, then close it.
void CALLBACK MeasureMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu) GetWindowRect(menu, &shownMenu);
    EndMenu();
}

}  // namespace

TEST_F(ToolbarButtonTest, MenuOpensBelowOrBesideASideDock)
{
    SetCursorPos(5, 5);
    TMenuItem* item = nullptr;
    TPopupMenu* menu = MakeMenu(item);
    menu->OnPopup = [](TObject*) { SetTimer(nullptr, 0, 50, MeasureMenu); };
    form->SetBounds(100, 100, 300, 300);
    // A dock on each side; the last case is a plain panel aligned left,
    // which is no dock: the menu opens below.
    TDockPosition sides[] = {dpTop, dpLeft, dpRight, dpBottom};
    for (int round = 0; round < 5; ++round) {
        TWinControl* bar = nullptr;
        TDock* dock = nullptr;
        if (round < 4) {
            dock = new TDock(form);
            dock->SetParent(form);
            dock->SetPosition(sides[round]);
            auto* toolbar = new TToolbar(form);
            toolbar->SetDockedTo(dock);
            bar = toolbar;
        } else {
            auto* panel = new TPanel(form);
            panel->SetParent(form);
            panel->SetAlign(alLeft);
            bar = panel;
        }
        auto* b = new TToolbarButton(form);
        b->SetParent(bar);
        b->SetDropdownMenu(menu);
        gui::PumpUntilIdle();
        shownMenu = RECT{0, 0, 0, 0};
        b->Click();
        POINT topLeft = b->ClientToScreen(POINT{0, 0});
        TDockPosition side = dock ? dock->GetPosition() : dpTop;
        if (side == dpLeft) {
            EXPECT_EQ(topLeft.x + 23, shownMenu.left) << round;
            EXPECT_EQ(topLeft.y, shownMenu.top) << round;
        } else if (side == dpRight) {
            EXPECT_EQ(topLeft.x, shownMenu.right) << round;
            EXPECT_EQ(topLeft.y, shownMenu.top) << round;
        } else {
            EXPECT_EQ(topLeft.x, shownMenu.left) << round;
            EXPECT_EQ(topLeft.y + 22, shownMenu.top) << round;
        }
        delete b;
        delete bar;
        delete dock;
    }
}

TEST_F(ToolbarButtonTest, OneHotButtonAndThePollNoticesTheMouseLeaving)
{
    TToolbarButton* a = Make(10, 10);
    TToolbarButton* b = Make(40, 10);
    int enters = 0, exits = 0;
    a->OnMouseEnter = [&](TObject*) { ++enters; };
    a->OnMouseExit = [&](TObject*) { ++exits; };
    Hover(a);
    EXPECT_EQ(1, enters);
    Hover(b);
    EXPECT_EQ(1, exits);
    EXPECT_FALSE(a->IsHot());
    EXPECT_TRUE(b->IsHot());
    SetCursorPos(900, 700);
    ui2::PumpFor(400);
    EXPECT_FALSE(b->IsHot());
    EXPECT_EQ(tbsUp, b->GetState());
    // A hot button that is freed is forgotten before the poll runs again.
    Hover(a);
    delete a;
    ui2::PumpFor(300);
    // Without ShowBorderWhenInactive an inactive program shows no hot look.
    b->SetShowBorderWhenInactive(false);
    SetForegroundWindow(GetDesktopWindow());
    if (GetForegroundWindow() != form->GetHandle()) {
        gui::MouseMove(b, 60, 60);
        gui::MouseMove(b, 5, 5);
        EXPECT_FALSE(b->IsHot());
    }
}

// The shared hook: losing activation or a mouse move in another window
// ends the hot look without waiting for the poll.
TEST_F(ToolbarButtonTest, HotLookEndsWhenTheProgramIsLeftOrTheMouseMovesElsewhere)
{
    TToolbarButton* b = Make(10, 10);
    auto* other = new TPanel(form);
    other->SetParent(form);
    other->SetBounds(200, 10, 50, 50);
    gui::PumpUntilIdle();
    EXPECT_TRUE(ThreadHookInstalled(htGetMessage));
    Hover(b);
    ASSERT_TRUE(b->IsHot());
    SendMessageA(form->GetHandle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_TRUE(b->IsHot()) << "ShowBorderWhenInactive keeps it";
    b->SetShowBorderWhenInactive(false);
    SendMessageA(form->GetHandle(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_TRUE(b->IsHot());
    SendMessageA(form->GetHandle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(b->IsHot());

    Hover(b);
    PostMessageA(form->GetHandle(), WM_MOUSEMOVE, 0, gui::PointParam(12, 12));
    gui::PumpUntilIdle();
    EXPECT_TRUE(b->IsHot()) << "a move over the button's own parent";
    PostMessageA(other->GetHandle(), WM_MOUSEMOVE, 0, gui::PointParam(5, 5));
    gui::PumpUntilIdle();
    EXPECT_FALSE(b->IsHot());
    EXPECT_EQ(tbsUp, b->GetState());
}

TEST_F(ToolbarButtonTest, KeysClickDefaultCancelAndAccelerator)
{
    TToolbarButton* ok = Make(10, 10);
    TToolbarButton* cancel = Make(40, 10);
    TToolbarButton* bold = Make(70, 10);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    bold->SetCaption("&Bold");
    int oks = 0, cancels = 0, bolds = 0;
    ok->OnClick = [&](TObject*) { ++oks; };
    cancel->OnClick = [&](TObject*) { ++cancels; };
    bold->OnClick = [&](TObject*) { ++bolds; };
    form->Perform(CM_DIALOGKEY, VK_RETURN);
    EXPECT_EQ(1, oks);
    EXPECT_EQ(mrOk, form->GetModalResult());
    form->Perform(CM_DIALOGKEY, VK_ESCAPE);
    EXPECT_EQ(1, cancels);
    // Alt+B anywhere on the form reaches the windowless button.
    SendMessageA(form->GetHandle(), WM_SYSCHAR, 'b', 1 << 29);
    EXPECT_FALSE(bold->DialogChar('x'));
    EXPECT_EQ(1, bolds);
    bold->SetDisplayMode(dmGlyphOnly);
    EXPECT_FALSE(bold->DialogChar('b'));
    cancel->SetEnabled(false);
    form->Perform(CM_DIALOGKEY, VK_ESCAPE);
    EXPECT_EQ(1, cancels);
}

TEST_F(ToolbarButtonTest, ButtonsLeaveNoGdiObjectsBehind)
{
    // The first round makes what the process keeps (fonts, image list
    // support, the form's brushes); the next ones must add nothing.
    gui::TGuiCounts before;
    for (int i = 0; i < 4; ++i) {
        if (i == 1) before = gui::CountGuiObjects();
        TToolbarButton* b = Make(10, 10);
        std::unique_ptr<TBitmap> glyph(MakeGlyph(10, 10, clFuchsia, clRed, 4));
        b->SetGlyph(glyph.get());
        b->SetFlat(i % 2 == 1);
        b->SetEnabled(i != 3);
        Px(b, 0, 0);
        delete b;
    }
    gui::PumpUntilIdle();
    EXPECT_EQ(before.Gdi, gui::CountGuiObjects().Gdi);
}

namespace {

uint32_t WindowPixel(HWND hwnd, int x, int y)
{
    HDC dc = GetWindowDC(hwnd);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

}  // namespace

TEST_F(ToolbarButtonTest, FlatEditFrameSinksWhileFocused)
{
    auto* edit = new TFlatEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 60, 40, 19);
    auto* other = new TEdit(form);
    other->SetParent(form);
    other->SetBounds(100, 60, 40, 20);
    form->Show();
    gui::PumpUntilIdle();
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, edit->GetFont()->GetHandle());
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(tm.tmHeight + 6, edit->GetHeight());
    RECT client;
    GetClientRect(edit->GetHandle(), &client);
    EXPECT_EQ(edit->GetWidth() - 6, client.right);

    other->SetFocus();
    gui::PumpUntilIdle();
    HWND h = edit->GetHandle();
    EXPECT_FALSE(edit->IsActiveLook());
    EXPECT_EQ(Sys(COLOR_BTNFACE), WindowPixel(h, 0, 5));
    EXPECT_EQ(Sys(COLOR_WINDOW), WindowPixel(h, 2, 5));
    edit->SetFocus();
    gui::PumpUntilIdle();
    EXPECT_TRUE(edit->IsActiveLook());
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), WindowPixel(h, 0, 5));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), WindowPixel(h, edit->GetWidth() - 1, 5));
    edit->SetEnabled(false);
    EXPECT_EQ(clBtnFace, edit->GetColor());
}
