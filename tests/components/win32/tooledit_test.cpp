// The edit with a button and the glyph button on forms under Xvfb: button
// place and height rule, the click key, Enter to the default button,
// read-only input, and the glyph button's looks, groups, repeat and menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "../../gui/win32/gui_fixture.h"
#include "clipboard.h"
#include "tooledit.h"
#include "ui2_helpers.h"

namespace {

class ComboEditTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        form = new TForm(app.get());
        form->SetBorderStyle(bsNone);
        form->SetBounds(100, 100, 300, 200);
        edit = new TComboEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 121, 21);
        edit->SetButtonWidth(22);
        edit->SetText("C:\\Undo");
        edit->OnButtonClick = [this](TObject* sender) {
            ++clicks;
            EXPECT_EQ(edit, sender);
        };
        edit->OnChange = [this](TObject*) { ++changes; };
    }
    void Show()
    {
        form->Show();
        form->Update();
        gui::PumpUntilIdle();
    }
    std::string Text() { return edit->GetText().c_str(); }

    TForm* form = nullptr;
    TComboEdit* edit = nullptr;
    int clicks = 0;
    int changes = 0;
};

// A glyph of n cells of w x h, each cell one colour, with a transparent
// (magenta) bottom-left corner pixel in every cell.
TBitmap* CellGlyph(int n, int w, int h, const TColor* colours)
{
    TBitmap* b = new TBitmap;
    b->SetSize(n * w, h);
    TCanvas* c = b->GetCanvas();
    for (int i = 0; i < n; ++i) {
        c->GetBrush()->SetColor(colours[i]);
        c->FillRect(RECT{i * w, 0, i * w + w, h});
        c->SetPixels(i * w, h - 1, clFuchsia);
    }
    return b;
}

}  // namespace

TEST_F(ComboEditTest, ButtonSitsAtTheRightEndAndTheTextStopsBeforeIt)
{
    Show();
    TWinControl* button = edit->GetButtonWindow();
    EXPECT_EQ(95, button->GetLeft());
    EXPECT_EQ(0, button->GetTop());
    EXPECT_EQ(22, button->GetWidth());
    EXPECT_EQ(17, button->GetHeight());
    EXPECT_EQ(22, edit->GetButton()->GetWidth());
    EXPECT_EQ(17, edit->GetButton()->GetHeight());
    // Set to end at 93, 2 before the button; Wine reports it less its own
    // margin and border (89 measured).
    RECT r = {};
    SendMessageA(edit->GetHandle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_LE(r.right, 93);
    EXPECT_GE(r.right, 93 - 5);
    // A button width not smaller than the client width is ignored.
    edit->SetButtonWidth(500);
    EXPECT_EQ(22, edit->GetButtonWidth());
}

TEST_F(ComboEditTest, TooSmallHeightIsRaisedToTheFontMinimum)
{
    Show();
    int least = edit->GetMinHeight();
    EXPECT_GT(least, 10);
    edit->SetHeight(10);
    EXPECT_EQ(least, edit->GetHeight());
    edit->SetHeight(30);
    EXPECT_EQ(30, edit->GetHeight());
    EXPECT_EQ(26, edit->GetButtonWindow()->GetHeight());
}

TEST_F(ComboEditTest, AltDownClicksOnceAndTypesNothing)
{
    Show();
    edit->SetFocus();
    gui::KeyDown(edit, VK_DOWN, true);
    gui::PumpUntilIdle();
    EXPECT_EQ(1, clicks);
    EXPECT_EQ("C:\\Undo", Text());
    EXPECT_EQ(0, changes);
    // Down alone is the edit's.
    gui::KeyDown(edit, VK_DOWN, false);
    EXPECT_EQ(1, clicks);
}

TEST_F(ComboEditTest, TheButtonsClickFiresOnButtonClick)
{
    Show();
    gui::Click(edit->GetButton(), 5, 5);
    gui::PumpUntilIdle();
    EXPECT_EQ(1, clicks);
    EXPECT_EQ("C:\\Undo", Text());
}

TEST_F(ComboEditTest, EnterReachesTheDefaultButtonAndIsDiscarded)
{
    auto* ok = new TButton(form);
    ok->SetParent(form);
    ok->SetBounds(10, 100, 75, 25);
    ok->SetDefault(true);
    int okClicks = 0;
    ok->OnClick = [&](TObject*) { ++okClicks; };
    Show();
    edit->SetFocus();
    gui::KeyPress(edit, '\r');
    gui::PumpUntilIdle();
    EXPECT_EQ(1, okClicks);
    EXPECT_EQ("C:\\Undo", Text());
    EXPECT_EQ(0, changes);
}

TEST_F(ComboEditTest, ReadOnlyOrNoDirectInputRejectsTypingPasteAndCut)
{
    Show();
    edit->SetFocus();
    TClipboard* clip = Clipboard();
    clip->SetAsText("pasted");
    for (int mode = 0; mode < 2; ++mode) {
        edit->SetReadOnly(mode == 0);
        edit->SetDirectInput(mode != 0 ? false : true);
        SendMessageA(edit->GetHandle(), EM_SETSEL, 0, -1);
        gui::KeyPress(edit, 'x');
        SendMessageA(edit->GetHandle(), WM_PASTE, 0, 0);
        SendMessageA(edit->GetHandle(), WM_CUT, 0, 0);
        EXPECT_EQ("C:\\Undo", Text()) << "mode " << mode;
    }
    // Open again, the same paste goes in.
    edit->SetDirectInput(true);
    edit->SetReadOnly(false);
    SendMessageA(edit->GetHandle(), EM_SETSEL, 0, -1);
    SendMessageA(edit->GetHandle(), WM_PASTE, 0, 0);
    EXPECT_EQ("pasted", Text());
}

TEST_F(ComboEditTest, DisablingTheEditDisablesTheButton)
{
    Show();
    edit->SetEnabled(false);
    EXPECT_FALSE(edit->GetButton()->GetEnabled());
    gui::Click(edit->GetButton(), 5, 5);
    EXPECT_EQ(0, clicks);
    edit->SetEnabled(true);
    EXPECT_TRUE(edit->GetButton()->GetEnabled());
}

TEST_F(ComboEditTest, EllipsisAndDropDownKindsMakeTheirGlyphs)
{
    edit->SetGlyphKind(gkEllipsis);
    TBitmap* g = edit->GetGlyph();
    ASSERT_EQ(16, g->GetWidth());
    ASSERT_EQ(4, g->GetHeight());
    for (int x = 0; x < 16; ++x) {
        bool dot = (x >= 2 && x < 4) || (x >= 7 && x < 9) || (x >= 12 && x < 14);
        EXPECT_EQ(dot ? clBlack : clWhite, g->GetCanvas()->GetPixels(x, 1)) << x;
        EXPECT_EQ(clWhite, g->GetCanvas()->GetPixels(x, 3)) << x;
    }
    edit->SetGlyphKind(gkDropDown);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), edit->GetButtonWidth());
    EXPECT_FALSE(edit->GetGlyph()->GetEmpty());
    // A glyph of one's own makes the kind custom again; two square cells
    // make two glyphs.
    const TColor two[] = {clRed, clGray};
    std::unique_ptr<TBitmap> mine(CellGlyph(2, 16, 16, two));
    edit->SetGlyph(mine.get());
    EXPECT_EQ(gkCustom, edit->GetGlyphKind());
    EXPECT_EQ(2, edit->GetNumGlyphs());
}

// ---- glyph button

namespace {

class GlyphButtonTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        form = new TForm(app.get());
        form->SetBorderStyle(bsNone);
        form->SetBounds(100, 100, 300, 200);
    }
    template <class T = TGlyphButton> T* Button(int x)
    {
        T* b = new T(form);
        b->SetParent(form);
        b->SetBounds(x, 10, 25, 25);
        return b;
    }
    void Show()
    {
        form->Show();
        form->Update();
        gui::PumpUntilIdle();
    }
    // The colour of the face's centre as drawn now.
    uint32_t Centre(TGlyphButton* b)
    {
        ui2::TDibDC dc(b->GetWidth(), b->GetHeight());
        b->PaintTo(dc.Get());
        return dc.At(b->GetWidth() / 2, b->GetHeight() / 2);
    }

    TForm* form = nullptr;
};

// Stands in for the modal menu: records where it would open.
class TMenuButton : public TGlyphButton {
public:
    explicit TMenuButton(TComponent* owner) : TGlyphButton(owner) {}
    POINT At = {-1, -1};
    bool ShowingDuring = false;

protected:
    void PopupDropDown(int x, int y) override
    {
        At = POINT{x, y};
        ShowingDuring = GetMenuShowing();
    }
};

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    EndMenu();
}

}  // namespace

TEST_F(GlyphButtonTest, GroupedButtonsKeepOneDownAndTheDownOneStays)
{
    TGlyphButton* a = Button(10);
    TGlyphButton* b = Button(40);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    Show();
    gui::Click(b, 5, 5);
    EXPECT_TRUE(b->GetDown());
    gui::Click(a, 5, 5);
    EXPECT_TRUE(a->GetDown());
    EXPECT_FALSE(b->GetDown());
    EXPECT_EQ(bsUp, b->GetState());
    gui::Click(a, 5, 5);
    EXPECT_TRUE(a->GetDown());
    EXPECT_EQ(bsExclusive, a->GetState());
    a->SetDown(false);
    EXPECT_TRUE(a->GetDown());
    // AllowAllUp is the group's: set on one, the other may go up.
    b->SetAllowAllUp(true);
    EXPECT_TRUE(a->GetAllowAllUp());
    a->SetDown(false);
    EXPECT_FALSE(a->GetDown());
}

TEST_F(GlyphButtonTest, EachLookDrawsItsOwnCell)
{
    const TColor colours[] = {clRed, clLime, clBlue, clYellow, clAqua};
    std::unique_ptr<TBitmap> glyph(CellGlyph(5, 16, 16, colours));
    TGlyphButton* b = Button(10);
    b->SetGlyph(glyph.get());
    EXPECT_EQ(5, b->GetNumGlyphs());
    b->SetGroupIndex(3);
    b->SetAllowAllUp(true);
    Show();
    EXPECT_EQ(ui2::Pixel(clRed), Centre(b));
    b->MouseDown(mbLeft, 0, 5, 5);
    EXPECT_EQ(ui2::Pixel(clBlue), Centre(b) ) << "pressed";
    b->MouseUp(mbLeft, 0, 5, 5);
    EXPECT_EQ(ui2::Pixel(clYellow), Centre(b)) << "held down";
    b->SetDown(false);
    b->SetEnabled(false);
    EXPECT_EQ(ui2::Pixel(clLime), Centre(b)) << "disabled";
    b->SetEnabled(true);
    b->SetFlat(true);
    EXPECT_EQ(ui2::Pixel(clAqua), Centre(b)) << "flat, mouse outside";
}

TEST_F(GlyphButtonTest, FlatButtonOutsideIsGreyAndKeepsTheTransparentColour)
{
    const TColor colour[] = {0x3080F0};
    std::unique_ptr<TBitmap> glyph(CellGlyph(1, 16, 16, colour));
    TGlyphButton* b = Button(10);
    b->SetGlyph(glyph.get());
    b->SetFlat(true);
    Show();
    ASSERT_EQ(glInactive, b->CurrentLook());
    unsigned level = (77 * 0xF0 + 150 * 0x80 + 29 * 0x30) / 256;
    TBitmap* cell = b->GetCellBitmap(glInactive);
    EXPECT_EQ(TColor(level * 0x010101), cell->GetCanvas()->GetPixels(5, 5));
    EXPECT_EQ(clFuchsia, cell->GetCanvas()->GetPixels(0, 15));
    ui2::TDibDC dc(25, 25);
    b->PaintTo(dc.Get());
    // The glyph (wherever the layout centred it) is grey everywhere but at
    // its transparent pixel, where the face shows.
    const uint32_t face = ui2::Pixel(ColorToRGB(clBtnFace));
    int gx = 25, gy = 25;
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 25; ++x)
            if (dc.At(x, y) != face) {
                gx = std::min(gx, x);
                gy = std::min(gy, y);
            }
    ASSERT_LE(gx + 16, 25);
    ASSERT_LE(gy + 16, 25);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            uint32_t want = (x == 0 && y == 15) ? face : level * 0x010101;
            ASSERT_EQ(want, dc.At(gx + x, gy + y)) << x << "," << y;
        }
}

TEST_F(GlyphButtonTest, DisabledLookOfOneCellIsEmbossed)
{
    const TColor colour[] = {clRed};
    std::unique_ptr<TBitmap> glyph(CellGlyph(1, 16, 16, colour));
    TGlyphButton* b = Button(10);
    b->SetGlyph(glyph.get());
    Show();
    b->SetEnabled(false);
    EXPECT_EQ(ui2::Pixel(ColorToRGB(clBtnShadow)), Centre(b));
}

TEST_F(GlyphButtonTest, HeldButtonRepeatsUntilReleased)
{
    TGlyphButton* b = Button(10);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->SetAllowTimer(true);
    b->SetInitPause(150);
    b->SetRepeatInterval(50);
    Show();
    gui::MouseDown(b, 5, 5);
    ASSERT_NE(nullptr, b->GetRepeatTimer());
    EXPECT_EQ(150u, b->GetRepeatTimer()->GetInterval());
    ui2::PumpFor(120);
    EXPECT_EQ(0, clicks) << "nothing before the first pause";
    ui2::PumpFor(330);
    EXPECT_GE(clicks, 3);
    EXPECT_LE(clicks, 8);
    EXPECT_EQ(50u, b->GetRepeatTimer()->GetInterval());
    gui::MouseUp(b, 5, 5);
    int atRelease = clicks;
    ui2::PumpFor(200);
    EXPECT_EQ(atRelease, clicks);
    EXPECT_FALSE(b->GetRepeatTimer()->IsRunning());
}

TEST_F(GlyphButtonTest, DropDownMenuOpensBelowAndTheButtonComesUp)
{
    TMenuButton* b = Button<TMenuButton>(10);
    auto* menu = new TPopupMenu(form);
    auto* item = new TMenuItem(menu);
    item->SetCaption("One");
    menu->GetItems()->Add(item);
    b->SetDropDownMenu(menu);
    Show();
    gui::MouseDown(b, 5, 5);
    POINT corner = form->ClientToScreen(POINT{10, 35});
    EXPECT_EQ(corner.x, b->At.x);
    EXPECT_EQ(corner.y, b->At.y);
    EXPECT_TRUE(b->ShowingDuring);
    EXPECT_FALSE(b->GetMenuShowing());
    EXPECT_EQ(bsUp, b->GetState());
    EXPECT_FALSE(b->GetDragging());
    // The menu goes with its component.
    delete menu;
    EXPECT_EQ(nullptr, b->GetDropDownMenu());
}

TEST_F(GlyphButtonTest, RealDropDownMenuReturnsWhenClosed)
{
    TGlyphButton* b = Button(10);
    auto* menu = new TPopupMenu(form);
    auto* item = new TMenuItem(menu);
    item->SetCaption("One");
    menu->GetItems()->Add(item);
    int popups = 0;
    menu->OnPopup = [&](TObject*) { ++popups; };
    b->SetDropDownMenu(menu);
    Show();
    SetTimer(nullptr, 0, 100, CloseMenu);
    gui::MouseDown(b, 5, 5);
    EXPECT_EQ(1, popups);
    EXPECT_EQ(b, menu->GetPopupComponent());
    EXPECT_EQ(bsUp, b->GetState());
}

TEST_F(GlyphButtonTest, ClickGivesTheFormItsModalResult)
{
    TGlyphButton* b = Button(10);
    b->SetModalResult(mrOk);
    Show();
    gui::Click(b, 5, 5);
    EXPECT_EQ(mrOk, form->GetModalResult());
}

TEST_F(GlyphButtonTest, BadPropertyValuesRaise)
{
    TGlyphButton* b = Button(10);
    EXPECT_THROW(b->SetNumGlyphs(6), EPropertyError);
    EXPECT_THROW(b->SetNumGlyphs(0), EPropertyError);
    EXPECT_THROW(b->SetMargin(-2), EPropertyError);
    b->SetMargin(-1);
    EXPECT_EQ(-1, b->GetMargin());
}
