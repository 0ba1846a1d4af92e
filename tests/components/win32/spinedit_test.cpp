// The spin edit on a form under Xvfb: value and text, clamping, stepping
// with exactly one OnChange, refused keys, dialog keys, layout, and real
// mouse and keyboard input on its button and text.
#include <gtest/gtest.h>

#include "../../gui/win32/form_fixture.h"
#include "clipboard.h"
#include "spinedit.h"
#include "ui2_helpers.h"

namespace {

class TCountingSpinEdit : public TSpinEdit {
public:
    explicit TCountingSpinEdit(TComponent* owner) : TSpinEdit(owner) {}
    int Beeps = 0;

protected:
    void Beep() override { ++Beeps; }
};

class SpinEditTest : public EditOnFormTest<TCountingSpinEdit> {
protected:
    SpinEditTest() : EditOnFormTest(100) {}
};

// Real input: the left button.
void InputLeft(bool down)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof(in));
}

using ui2::PumpFor;

POINT ScreenPointOf(TControl* control, int x, int y)
{
    HWND hwnd = gui::MouseTarget(control, x, y);
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
}

}  // namespace

TEST_F(SpinEditTest, StartsAtZeroAndReadsTheLastValidValueForNoNumber)
{
    Show();
    EXPECT_EQ("0", Text());
    EXPECT_EQ(0, edit->GetValue());
    edit->SetValue(7.9L);
    EXPECT_EQ("8", Text());
    edit->SetText("abc");
    EXPECT_EQ(7, edit->GetValue());  // truncated toward zero
    EXPECT_EQ("abc", Text());
    edit->SetValueType(vtFloat);
    edit->SetText("x");
    EXPECT_DOUBLE_EQ(7.9, static_cast<double>(edit->GetValue()));
}

TEST_F(SpinEditTest, ValuesAreClampedToTheRange)
{
    edit->SetMinValue(1);
    edit->SetMaxValue(99);
    Show();
    edit->SetValue(150);
    EXPECT_EQ("99", Text());
    edit->SetText("150");
    EXPECT_EQ(99, edit->GetValue());
    edit->SetValue(0);
    EXPECT_EQ("1", Text());
}

TEST_F(SpinEditTest, EqualLimitsDoNotPinTheValue)
{
    Show();
    edit->SetText("42");
    EXPECT_EQ(42, edit->GetValue());  // default limits 0, 0
    edit->SetValue(-5);
    EXPECT_EQ("-5", Text());
}

TEST_F(SpinEditTest, AStepFiresOneChangeAndNoneWhenClampedInPlace)
{
    edit->SetIncrement(4);
    edit->SetMinValue(8);
    edit->SetMaxValue(256);
    Show();
    edit->SetValue(8);
    changes = 0;
    gui::KeyDown(edit, VK_DOWN);
    EXPECT_EQ("8", Text());
    EXPECT_EQ(0, changes);
    gui::KeyDown(edit, VK_UP);
    EXPECT_EQ("12", Text());
    EXPECT_EQ(1, changes);
    EXPECT_TRUE(edit->GetModified());
    // The button halves, clicked: upper left steps up, lower right down.
    TSpinButton* b = edit->GetButton();
    gui::MouseDown(b, 2, 2);
    gui::MouseUp(b, 2, 2);
    EXPECT_EQ("16", Text());
    gui::MouseDown(b, b->GetWidth() - 2, b->GetHeight() - 2);
    gui::MouseUp(b, b->GetWidth() - 2, b->GetHeight() - 2);
    gui::MouseDown(b, b->GetWidth() - 2, b->GetHeight() - 2);
    gui::MouseUp(b, b->GetWidth() - 2, b->GetHeight() - 2);
    EXPECT_EQ("8", Text());
    EXPECT_EQ(4, changes);
    edit->SetValue(255);
    changes = 0;
    edit->UpClick();
    EXPECT_EQ("256", Text());
    EXPECT_EQ(1, changes);
}

TEST_F(SpinEditTest, FixedPointAndIntegerText)
{
    Show();
    edit->SetValueType(vtFloat);
    edit->SetDecimal(2);
    edit->SetValue(3);
    EXPECT_EQ("3.00", Text());
    edit->SetIncrement(0.25L);
    edit->UpClick();
    EXPECT_EQ("3.25", Text());
    edit->SetValueType(vtInt);
    EXPECT_EQ("3", Text());  // rewritten at the change
    edit->SetValue(2.5L);
    EXPECT_EQ("2", Text());
    edit->SetValue(3.5L);
    EXPECT_EQ("4", Text());
    edit->SetValueType(vtFloat);
    EXPECT_EQ("4.00", Text());
    edit->SetDecimal(1);
    EXPECT_EQ("4.0", Text());
}

TEST_F(SpinEditTest, KeysThatCannotBelongToANumberAreRefused)
{
    Show();
    edit->SetText("");
    gui::KeyPress(edit, 'a');
    EXPECT_EQ(1, edit->Beeps);
    EXPECT_EQ("", Text());
    gui::KeyPress(edit, '7');
    EXPECT_EQ("7", Text());
    edit->SetEditorEnabled(false);
    gui::KeyPress(edit, '7');
    gui::KeyPress(edit, '\b');
    EXPECT_EQ("7", Text());
    EXPECT_EQ(3, edit->Beeps);
    edit->UpClick();  // stepping still works
    EXPECT_EQ("8", Text());
}

TEST_F(SpinEditTest, ReadOnlyStepsBeepAndChangeNothing)
{
    Show();
    edit->SetValue(5);
    edit->SetReadOnly(true);
    changes = 0;
    gui::KeyDown(edit, VK_UP);
    edit->DownClick();
    EXPECT_EQ("5", Text());
    EXPECT_EQ(0, changes);
    EXPECT_EQ(2, edit->Beeps);
}

TEST_F(SpinEditTest, PasteAndCutOnlyWithTheEditorEnabled)
{
    Show();
    Clipboard()->SetAsText("42");
    edit->SetText("");
    edit->SetEditorEnabled(false);
    SendMessageA(edit->GetHandle(), WM_PASTE, 0, 0);
    EXPECT_EQ("", Text());
    edit->SetEditorEnabled(true);
    SendMessageA(edit->GetHandle(), WM_PASTE, 0, 0);
    EXPECT_EQ("42", Text());
    edit->SetReadOnly(true);
    edit->SelectAll();
    SendMessageA(edit->GetHandle(), WM_CUT, 0, 0);
    EXPECT_EQ("42", Text());
}

TEST_F(SpinEditTest, EnterClicksTheDefaultButtonAndNeverReachesTheText)
{
    int clicks = 0;
    DefaultButton(clicks);
    Show();
    edit->SetText("12");
    gui::KeyPress(edit, '\r');
    EXPECT_EQ(1, clicks);
    EXPECT_EQ("12", Text());
    // Through the message loop, as typed.
    edit->SetFocus();
    gui::PostKey(edit, VK_RETURN);
    EXPECT_EQ(2, clicks);
    EXPECT_EQ("12", Text());
}

TEST_F(SpinEditTest, HeightHasAFloorAndTheButtonSitsAtTheRightEnd)
{
    Show();
    int minHeight = edit->GetMinHeight();
    EXPECT_GE(minHeight, 15);
    edit->SetHeight(5);
    EXPECT_EQ(minHeight, edit->GetHeight());
    edit->SetBounds(10, 10, 120, 30);
    gui::PumpUntilIdle();
    TWinControl* box = edit->GetButtonWindow();
    EXPECT_EQ(120 - 30, box->GetLeft());
    EXPECT_EQ(0, box->GetTop());
    EXPECT_EQ(26, box->GetWidth());
    EXPECT_EQ(26, box->GetHeight());
    EXPECT_EQ(26, edit->GetButton()->GetWidth());
    RECT r = {};
    SendMessageA(edit->GetHandle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_LE(r.right, edit->GetClientWidth() - 26 - 2);
}

TEST_F(SpinEditTest, ANewWindowForAlignmentKeepsTheButtonAndTheTextArea)
{
    Show();
    edit->SetValue(12);
    edit->SetAlignment(taRightJustify);
    gui::PumpUntilIdle();
    HWND h = edit->GetHandle();
    EXPECT_TRUE(GetWindowLongA(h, GWL_STYLE) & ES_RIGHT);
    EXPECT_TRUE(GetWindowLongA(h, GWL_STYLE) & ES_MULTILINE);
    EXPECT_EQ(h, GetParent(edit->GetButtonWindow()->GetHandle()));
    EXPECT_TRUE(IsWindowVisible(edit->GetButtonWindow()->GetHandle()));
    RECT r = {};
    SendMessageA(h, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_LE(r.right, edit->GetClientWidth() - edit->GetButton()->GetWidth() - 2);
    EXPECT_EQ("12", Text());
}

TEST_F(SpinEditTest, DisablingTheEditDisablesItsButton)
{
    Show();
    edit->SetEnabled(false);
    EXPECT_FALSE(edit->GetButton()->GetEnabled());
    gui::MouseDown(edit->GetButton(), 2, 2);
    gui::MouseUp(edit->GetButton(), 2, 2);
    EXPECT_EQ("0", Text());
    edit->SetEnabled(true);
    EXPECT_TRUE(edit->GetButton()->GetEnabled());
}

TEST_F(SpinEditTest, HoldingTheUpHalfRepeatsAndSlidingOffStops)
{
    Show();
    TSpinButton* b = edit->GetButton();
    POINT up = ScreenPointOf(b, 3, 3);
    POINT down = ScreenPointOf(b, b->GetWidth() - 3, b->GetHeight() - 3);
    gui::InputMouseMoveTo(up.x, up.y);
    std::vector<DWORD> steps;
    edit->OnChange = [&](TObject*) { steps.push_back(GetTickCount()); };
    DWORD start = GetTickCount();
    InputLeft(true);
    PumpFor(1000);
    // One at once, one after 400 ms, then every 100 ms: about 7 in a second.
    ASSERT_GE(steps.size(), 4u);
    EXPECT_LE(steps.size(), 9u);
    EXPECT_LT(steps[0] - start, 150u);
    EXPECT_GE(steps[1] - steps[0], 330u);
    EXPECT_EQ(shTop, b->GetPressed());
    gui::InputMouseMoveTo(down.x, down.y);
    size_t held = steps.size();
    PumpFor(400);
    EXPECT_EQ(shNone, b->GetPressed());
    EXPECT_EQ(held, steps.size());
    InputLeft(false);
    gui::PumpUntilIdle();
    EXPECT_EQ(std::to_string(held), Text());
    EXPECT_EQ(shNone, b->GetPressed());
}

TEST_F(SpinEditTest, TypingArrowKeysAndLeavingWithRealKeys)
{
    edit->SetMinValue(1);
    edit->SetMaxValue(99);
    TEdit* other = New<TEdit>(form, form, 10, 60, 100, 21);
    Show();
    SetForegroundWindow(form->GetHandle());
    edit->SetFocus();
    gui::PumpUntilIdle();
    edit->SelectAll();
    for (WORD vk : {WORD('1'), WORD('5'), WORD('X'), WORD('0')}) gui::InputKeyStroke(vk);
    EXPECT_EQ("150", Text());
    EXPECT_EQ(1, edit->Beeps);  // the X
    EXPECT_EQ(99, edit->GetValue());
    gui::InputKeyStroke(VK_DOWN);
    EXPECT_EQ("98", Text());
    gui::InputKeyStroke(VK_UP);
    gui::InputKeyStroke(VK_UP);
    EXPECT_EQ("99", Text());
    edit->SetText("150");
    gui::InputKeyStroke(VK_TAB);  // leaving shows the clamped value
    EXPECT_TRUE(other->Focused());
    EXPECT_EQ("99", Text());
}

TEST_F(SpinEditTest, DestroyingTheEditFreesItsWindows)
{
    Show();
    gui::TGuiCounts before = gui::CountGuiObjects();
    auto* extra = New<TSpinEdit>(form, form, 10, 40, 80, 21);
    gui::PumpUntilIdle();
    HWND box = extra->GetButtonWindow()->GetHandle();
    EXPECT_TRUE(IsWindow(box));
    delete extra;
    gui::PumpUntilIdle();
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(before.User, gui::CountGuiObjects().User);
}

namespace {

// Pixels of the button's window, as 0x00RRGGBB.
gui::TPixels ButtonPixels(TSpinEdit* edit)
{
    edit->GetButtonWindow()->Repaint();
    gui::PumpUntilIdle();
    return gui::ReadPixels(edit->GetButtonWindow()->GetHandle());
}

int CountDark(const gui::TPixels& p, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (p.At(x, y) == 0) ++n;
    return n;
}

}  // namespace

TEST_F(SpinEditTest, TheButtonShowsBothArrowsAndAPressedHalf)
{
    edit->SetBounds(10, 10, 100, 24);
    Show();
    int side = edit->GetButton()->GetWidth();
    ASSERT_EQ(20, side);
    gui::TPixels idle = ButtonPixels(edit);
    ASSERT_EQ(side, idle.Width);
    // Arrow pixels (black) in the middle of each half, none elsewhere inside.
    int upArrow = CountDark(idle, 2, 2, side / 2, side / 2);
    int downArrow = CountDark(idle, side / 2, side / 2, side - 2, side - 2);
    EXPECT_GE(upArrow, 10);
    EXPECT_GE(downArrow, 10);
    int face = ColorToRGB(clBtnFace);
    uint32_t faceRgb = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
    EXPECT_EQ(faceRgb, idle.At(3, 9));

    // Held on the up half: with sent messages the press shows until the
    // step sees no button down, so the face is read inside the step.
    gui::TPixels pressed;
    edit->GetButton()->OnTopClick = [&](TObject*) {
        edit->GetButtonWindow()->Update();
        pressed = gui::ReadPixels(edit->GetButtonWindow()->GetHandle());
    };
    gui::MouseDown(edit->GetButton(), 3, 3);
    gui::MouseUp(edit->GetButton(), 3, 3);
    ASSERT_EQ(idle.Width, pressed.Width);
    int differing = 0;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if (pressed.At(x, y) != idle.At(x, y)) ++differing;
    EXPECT_GT(differing, 10);
    // The bottom-right corner region is the same: only the top half sinks.
    EXPECT_EQ(idle.At(side - 3, side - 3), pressed.At(side - 3, side - 3));

    edit->SetEnabled(false);
    gui::TPixels disabled = ButtonPixels(edit);
    // Grey arrows.
    EXPECT_EQ(0, CountDark(disabled, 2, 2, side / 2, side / 2));
    EXPECT_EQ(0, CountDark(disabled, side / 2, side / 2, side - 2, side - 2));
}
