// The glyph button on forms under Xvfb: its looks, groups, repeat, drop-down
// menu and modal result.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "../../gui/win32/gui_fixture.h"
#include "listctls_glyph.h"
#include "ui2_helpers.h"

using ui2::CellGlyph;

namespace {

class GlyphButtonTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        // The flat looks need the real mouse off the buttons (other tests leave it anywhere).
        SetCursorPos(900, 700);
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
