// The image window: creation, zoom and the picture points presses map to,
// scrolling, the status readouts and the keys.
#include "imageform_fixture.h"

#include "imagezoom.h"
#include "sysutils.h"
#include "buffer_view_zoom.h"
#include "userlevel.h"
#include "window_capture.h"

namespace {

TEST_F(ImageFormTest, CreatesACurrentWindowWithAClearedUntitledPicture)
{
    int before = UntitledCounter;
    TImageForm* f = NewShownWindow(416, 312);
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(1, ImageFormCount());
    EXPECT_EQ(f, CurrentImageForm);
    EXPECT_EQ(&f->Picture, CurrentPicture);
    EXPECT_EQ(0, f->Index);
    EXPECT_EQ(1, f->ZoomStep);
    EXPECT_EQ(416, f->ShowBuf->GetWidth());
    EXPECT_EQ(312, f->ShowBuf->GetHeight());
    EXPECT_EQ(0u, *f->Picture.At(415, 311));
    EXPECT_EQ(1, f->Picture.noFile);
    EXPECT_EQ(before, f->Picture.untitledNumber);
    EXPECT_EQ(before + 1, UntitledCounter);
    EXPECT_EQ(Translate("Untitled") + " " + IntToStr(before), f->GetCaption());
    EXPECT_EQ(4, f->StatusBar->GetPanels()->GetCount());
    EXPECT_EQ(AnsiString("P"), f->GetStatusText(0));
    // The picture is on screen.
    f->Picture.Box(Rect{10, 10, 12, 12}, 0x00FF00);
    f->ShowBuf->Invalidate();
    UpdateWindow(f->ShowBuf->GetHandle());
    EXPECT_EQ(0x00FF00u, CaptureClient(f->ShowBuf->GetHandle()).At(11, 11));
    EXPECT_THROW(CreateImageWindow(0, 5, ""), EInvalidOperation);
}

// A press at each zoom reaches the tool at the same picture point, and the
// pixel the tool paints there shows under the pointer.
TEST_F(ImageFormTest, PressesMapToPicturePointsAtEveryZoom)
{
    TImageForm* f = NewShownWindow(64, 48);
    ASSERT_NE(nullptr, f);
    tool.onClick = [] {
        CurrentPicture->PutPixel(Pair<int>{MousePoint.x, MousePoint.y}, 0xFF0000);
        RepaintPictureView(CurrentPicture);
    };
    struct Case {
        int step, viewX, viewY;
    };
    const Case cases[] = {{1, 30, 20}, {2, 61, 41}, {4, 123, 83}, {-2, 15, 10}, {1, 30, 20}};
    for (const Case& c : cases) {
        f->SetZoomStep(c.step);
        ASSERT_EQ(ZoomedLength(64, c.step), f->ShowBuf->GetWidth()) << c.step;
        ASSERT_EQ(NormaliseZoom(ZoomStepCode(c.step)), f->ShowBuf->GetZoom());
        *f->Picture.At(30, 20) = 0;
        Press(f, c.viewX, c.viewY);
        Release(f, c.viewX, c.viewY);
        ASSERT_FALSE(tool.clicks.empty());
        EXPECT_EQ(30, tool.clicks.back().x) << "step " << c.step;
        EXPECT_EQ(20, tool.clicks.back().y) << "step " << c.step;
        EXPECT_EQ(0xFF0000u, *f->Picture.At(30, 20));
        if (c.step >= 1) {
            UpdateWindow(f->ShowBuf->GetHandle());
            EXPECT_EQ(0xFF0000u, CaptureClient(f->ShowBuf->GetHandle()).At(c.viewX, c.viewY)) << c.step;
        }
    }
    EXPECT_EQ(5u, tool.clicks.size());
}

TEST_F(ImageFormTest, MovesTruncateAndShowThePointInPanelOne)
{
    TImageForm* f = NewShownWindow(40, 30);
    f->SetZoomStep(3);
    Press(f, 8, 8);
    Release(f, 8, 8);
    ASSERT_EQ(1u, tool.clicks.size());
    EXPECT_EQ(2, tool.clicks[0].x);
    EXPECT_EQ(2, tool.clicks[0].y);
    MoveTo(f, 20, 11);
    EXPECT_EQ(AnsiString("6,3"), f->GetStatusText(1));
    EXPECT_EQ(20, ViewMousePoint.x);
}

// Shift armed at (20, 20): 3 and 1 pixels away decide nothing; 5 and 2
// lock the horizontal axis, so y stays at the anchor's for the drag.
TEST_F(ImageFormTest, ShiftLocksTheFirstClearAxis)
{
    TImageForm* f = NewShownWindow(100, 100);
    MoveTo(f, 20, 20);
    OutlineHidden = 0;
    Key(f, VK_SHIFT, ssShift);
    EXPECT_TRUE(f->GetAxisLock().Armed());
    Press(f, 20, 20, MK_SHIFT);
    MoveTo(f, 23, 21, MK_SHIFT | MK_LBUTTON);
    EXPECT_EQ(AxisLock::Undecided, f->GetAxisLock().Decided());
    EXPECT_EQ(21, MousePoint.y);
    MoveTo(f, 25, 22, MK_SHIFT | MK_LBUTTON);
    EXPECT_EQ(AxisLock::Horizontal, f->GetAxisLock().Decided());
    EXPECT_EQ(20, MousePoint.y);
    MoveTo(f, 40, 70, MK_SHIFT | MK_LBUTTON);
    EXPECT_EQ(40, MousePoint.x);
    EXPECT_EQ(20, MousePoint.y);
    WORD shift = VK_SHIFT;
    f->FormKeyUp(f, shift, 0);
    EXPECT_FALSE(f->GetAxisLock().Armed());
    MoveTo(f, 40, 70, MK_LBUTTON);
    EXPECT_EQ(70, MousePoint.y);
}

TEST_F(ImageFormTest, ClampingToolKeepsThePointerOnThePictureMidDrag)
{
    TImageForm* f = NewShownWindow(50, 40);
    f->SetZoomStep(2);
    tool.clickSteps = 2;
    tool.pointerMode = 2;
    Press(f, 10, 10);
    ASSERT_EQ(PhaseDragging, ToolPhase);
    MoveTo(f, 500, -30, MK_LBUTTON);
    EXPECT_EQ(49, MousePoint.x);
    EXPECT_EQ(0, MousePoint.y);
    tool.pointerMode = 0;
    MoveTo(f, 12, 12, MK_LBUTTON);
    f->ShowBuf->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(OutsideView, MousePoint.x);
    EXPECT_EQ(OutsideView, MousePoint.y);
    EXPECT_EQ(AnsiString(""), f->GetStatusText(1));
    EXPECT_EQ(-1, ViewMousePoint.x);
}

TEST_F(ImageFormTest, ScrollKeysMoveOverAPictureLargerThanTheWindow)
{
    TImageForm* f = NewShownWindow(300, 200);
    f->SetZoomStep(4);
    TControlScrollBar* h = f->MaxSize->GetHorzScrollBar();
    TControlScrollBar* v = f->MaxSize->GetVertScrollBar();
    ASSERT_EQ(1200, h->GetRange());
    ASSERT_EQ(800, v->GetRange());
    int maxX = 1200 - f->MaxSize->GetClientWidth(), maxY = 800 - f->MaxSize->GetClientHeight();
    Key(f, VK_HOME);
    Key(f, VK_PRIOR);
    Key(f, VK_RIGHT);
    EXPECT_EQ(16, h->GetPosition());
    EXPECT_EQ(-16, f->ShowBuf->GetLeft());
    Key(f, VK_END);
    EXPECT_EQ(maxX, h->GetPosition());
    Key(f, VK_NEXT);
    EXPECT_EQ(maxY, v->GetPosition());
    Key(f, VK_UP);
    EXPECT_EQ(maxY - 16, v->GetPosition());
    // Scrolled, a press still lands on the picture point under it.
    Press(f, 1000, 700);
    EXPECT_EQ(250, tool.clicks.back().x);
    EXPECT_EQ(175, tool.clicks.back().y);
    Release(f, 1000, 700);
    Key(f, VK_HOME);
    Key(f, VK_PRIOR);
    EXPECT_EQ(0, h->GetPosition());
    EXPECT_EQ(0, v->GetPosition());
    EXPECT_EQ(0, f->ShowBuf->GetLeft());
    // Back to 1:1 the view is smaller than the box again: centred, no range.
    f->SetZoomStep(1);
    EXPECT_EQ(0, h->GetRange());
    EXPECT_EQ((f->MaxSize->GetClientWidth() - 300) / 2, f->ShowBuf->GetLeft());
}

TEST_F(ImageFormTest, ZoomKeysStopAtTheEndsOfTheRange)
{
    TImageForm* f = NewShownWindow(20, 20);
    f->SetZoomStep(MaxZoomStep);
    Key(f, VK_ADD);
    EXPECT_EQ(MaxZoomStep, f->ZoomStep);
    Key(f, VK_SUBTRACT);
    EXPECT_EQ(MaxZoomStep - 1, f->ZoomStep);
    f->SetZoomStep(MinZoomStep);
    Key(f, VK_SUBTRACT);
    EXPECT_EQ(MinZoomStep, f->ZoomStep);
    Key(f, VK_ADD);
    EXPECT_EQ(MinZoomStep + 1, f->ZoomStep);
    EXPECT_THROW(f->SetZoomStep(33), EConvertError);
}

TEST_F(ImageFormTest, CtrlZUndoesEscapeSelectsTheDefaultToolAltDigitActivates)
{
    TImageForm* first = NewShownWindow(20, 10);
    *first->Picture.At(3, 3) = 0x123456;
    ASSERT_TRUE(UDBuffer::SaveUndo(&first->Picture, "pen", nullptr, -1, 0, 0, 0));
    *first->Picture.At(3, 3) = 0xFFFFFF;
    EXPECT_EQ(0, Key(first, 'Z', ssCtrl));
    EXPECT_EQ(0x123456u, *first->Picture.At(3, 3));

    ProbeTool other;
    other.flags = ToolOneShot;
    SelectTool(&other, false, -1);
    ASSERT_EQ(&other, CurrentTool);
    Key(first, VK_ESCAPE);
    EXPECT_EQ(&tool, CurrentTool);

    TImageForm* second = NewShownWindow(20, 10);
    ASSERT_EQ(second, CurrentImageForm);
    gui::KeyDown(second, '1', true);  // Alt+1, as WM_SYSKEYDOWN
    EXPECT_EQ(first, CurrentImageForm);
    EXPECT_EQ(&first->Picture, CurrentPicture);
    EXPECT_EQ(0, Key(first, '9', ssAlt));  // no window 9: swallowed, nothing else
    EXPECT_EQ(first, CurrentImageForm);
    EXPECT_EQ(0, Key(first, VK_MENU, ssAlt));
}

// Typed keys, with the modifiers' state as real input leaves it: Ctrl+Z
// undoes, keypad + zooms in, Alt+2 activates the second window.
TEST_F(ImageFormTest, TypedShortcutsReachTheWindow)
{
    TImageForm* first = NewShownWindow(20, 10);
    TImageForm* second = NewShownWindow(20, 10);
    ASSERT_TRUE(UDBuffer::SaveUndo(&second->Picture, "pen", nullptr, -1, 0, 0, 0));
    *second->Picture.At(4, 4) = 0xABCDEF;
    SetForegroundWindow(second->GetHandle());
    SetFocus(second->GetHandle());
    gui::PumpUntilIdle();
    ASSERT_EQ(second->GetHandle(), GetFocus());
    gui::InputKeyStroke('Z', VK_CONTROL);
    EXPECT_EQ(0u, *second->Picture.At(4, 4));
    int step = second->ZoomStep;
    gui::InputKeyStroke(VK_ADD);
    EXPECT_EQ(step + 1, second->ZoomStep);
    gui::InputKeyStroke('1', VK_MENU);
    EXPECT_EQ(first, CurrentImageForm);
}

// Leaving the view mid-drag with a clamping tool keeps the point on the
// picture's edge nearest the pointer, and the feedback shown.
TEST_F(ImageFormTest, LeavingMidDragClampsToTheEdge)
{
    TImageForm* f = NewShownWindow(40, 30);
    tool.clickSteps = 2;
    tool.pointerMode = 2;
    MoveTo(f, 10, 10);
    Press(f, 10, 10);
    ASSERT_EQ(PhaseDragging, ToolPhase);
    OutlineHidden = 0;
    POINT outside = f->ShowBuf->ClientToScreen(POINT{-200, 15});
    SetCursorPos(outside.x, outside.y);
    f->ShowBuf->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(0, MousePoint.x);
    EXPECT_EQ(15, MousePoint.y);
    EXPECT_EQ(0, OutlineHidden);
    EXPECT_EQ(AnsiString("0,15"), f->GetStatusText(1));
}

// Experts get the two toggles; a click on one switches the setting and
// every window's button follows. Novices see neither.
TEST_F(ImageFormTest, StatusBarTogglesFollowTheSetting)
{
    TImageForm* novice = NewShownWindow(16, 16);
    EXPECT_FALSE(novice->AntiAliasBtn->GetVisible());
    Level = LevelExpert;
    TImageForm* expert = NewShownWindow(16, 16);
    Level = LevelNovice;
    ASSERT_TRUE(expert->AntiAliasBtn->GetVisible());
    bool before = AntiAlias;
    gui::Click(expert->AntiAliasBtn, 5, 5);
    EXPECT_NE(before, AntiAlias);
    EXPECT_EQ(AntiAlias, expert->AntiAliasBtn->GetDown());
    EXPECT_EQ(AntiAlias, novice->AntiAliasBtn->GetDown());
    Key(expert, 'T', ssCtrl);
    EXPECT_EQ(before, AntiAlias);
    EXPECT_EQ(before, expert->AntiAliasBtn->GetDown());
}

TEST_F(ImageFormTest, FitsTheWindowToItsPicture)
{
    TImageForm* f = NewShownWindow(100, 50);
    f->SetZoomStep(1);
    f->FitToPicture();
    EXPECT_EQ(1, f->ZoomStep);
    EXPECT_GE(f->MaxSize->GetClientWidth(), 100);
    EXPECT_GE(f->MaxSize->GetClientHeight(), 50);
    EXPECT_FALSE(f->MaxSize->GetHorzScrollBar()->IsScrollBarVisible());
    EXPECT_FALSE(f->MaxSize->GetVertScrollBar()->IsScrollBarVisible());

    TImageForm* tiny = NewShownWindow(10, 10);
    EXPECT_GE(tiny->GetWidth(), 192);
    EXPECT_GE(tiny->GetHeight(), 96);
    EXPECT_GE(tiny->ZoomStep, 2);  // zoomed up to fill the smallest window
}

// A tool that throws inside a mouse message does not end the program: the
// window procedure hands the error to the application, and the operation
// is over.
TEST_F(ImageFormTest, ToolErrorsStopAtTheWindow)
{
    TImageForm* f = NewShownWindow(30, 30);
    tool.clickSteps = 2;
    tool.onClick = [] { throw Exception("tool failed"); };
    Press(f, 5, 5);
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_STREQ("tool failed.", recorder->Boxes[0].Text.c_str());  // the application ends it
    EXPECT_EQ(PhaseIdle, ToolPhase);
    EXPECT_FALSE(MouseButtonDown);
}

}  // namespace
