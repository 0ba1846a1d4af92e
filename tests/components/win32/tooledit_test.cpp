// The edit with a button on forms under Xvfb: button place and height rule,
// the click key, Enter to the default button, read-only input.
#include <gtest/gtest.h>

#include "../../gui/win32/form_fixture.h"
#include "clipboard.h"
#include "tooledit.h"
#include "ui2_helpers.h"

namespace {

class ComboEditTest : public EditOnFormTest<TComboEdit> {
protected:
    ComboEditTest() : EditOnFormTest(121) {}
    void SetUp() override
    {
        EditOnFormTest::SetUp();
        edit->SetButtonWidth(22);
        edit->SetText("C:\\Undo");
        changes = 0;
        edit->OnButtonClick = [this](TObject* sender) {
            ++clicks;
            EXPECT_EQ(edit, sender);
        };
    }

    int clicks = 0;
};

using ui2::CellGlyph;

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
    int okClicks = 0;
    DefaultButton(okClicks);
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
