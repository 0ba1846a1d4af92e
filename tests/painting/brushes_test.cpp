// The built-in brush commands, clearing the picture, and sizing the round
// brush, the square brush and the spray by dragging.

#include "exceptions.h"
#include "imagewindow_host.h"
#include "paintkit_fixture.h"
#include "undo_entry.h"

namespace {

class Brushes : public PaintKitTest {
protected:
    PenBrushToolSet& tools = PenBrushTools();

    void SetUp() override
    {
        PaintKitTest::SetUp();
        SetBrush({"#"}, HandleCentre);
        tools.brushResize.target = &tools.resizeCrcBrush;
        tools.resizeSpray.sprayRadius = 20;
    }

    // Drags the sizer from the anchor to (x, y) and releases there.
    void Size(P_resize& sizer, int ax, int ay, int x, int y)
    {
        SelectTool(&sizer, false, -1);
        Press(ax, ay);
        timer.Advance(300);
        Move(x, y);
        Release(x, y);
    }
};

TEST_F(Brushes, RoundBrushOfTwentyOnePixelsHasKeyCorners)
{
    SelectTool(&tools.brushCrc3, false, -1);
    ASSERT_EQ(CurrentBrush.Width(), 21);
    ASSERT_EQ(CurrentBrush.Height(), 21);
    for (auto c : {std::make_pair(0, 0), std::make_pair(20, 0), std::make_pair(0, 20), std::make_pair(20, 20)})
        EXPECT_EQ(*CurrentBrush.At(c.first, c.second), KeyPixel);
    EXPECT_EQ(*CurrentBrush.At(10, 10), Fore);
    EXPECT_EQ(*CurrentBrush.At(10, 0), Fore);
    EXPECT_EQ(BrushState.size, 10);
    EXPECT_EQ(BrushState.pictureBrush, 0);
    EXPECT_EQ(BrushState.paintMode, PaintModeC);
    EXPECT_EQ(StampBuffer.Width(), 21);
    EXPECT_EQ(CurrentTool, &pen);  // the command gave way at once
    EXPECT_EQ(tools.brushResize.target, &tools.resizeCrcBrush);
}

TEST_F(Brushes, SquareBrushIsFilledAndUndoBringsTheOldBrushBack)
{
    BrushState.size = 2;
    SelectTool(&tools.brushBox, false, -1);
    ASSERT_EQ(CurrentBrush.Width(), 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) ASSERT_EQ(*CurrentBrush.At(x, y), Fore);
    EXPECT_EQ(tools.brushResize.target, &tools.resizeBoxBrush);
    ASSERT_NE(CurrentBrush.undoHead, nullptr);
    EXPECT_EQ(std::string(CurrentBrush.undoHead->key.c_str()), "RectBrushIcon");
    ASSERT_TRUE(UDBuffer::Undo(&CurrentBrush, true));
    EXPECT_EQ(CurrentBrush.Width(), 1);
    EXPECT_EQ(BrushState.paintMode, PaintModeC);
    EXPECT_EQ(StampBuffer.Width(), 1);
}

TEST_F(Brushes, NewBrushBringsTheContinuousPenBackFromTheDabPens)
{
    SelectTool(&tools.penOne, false, -1);
    SelectTool(&tools.brushCrc1, false, -1);
    EXPECT_EQ(CurrentTool, &tools.penCont);
    EXPECT_EQ(CurrentBrush.Width(), 3);
}

TEST_F(Brushes, BrushTooLargeForMemoryLeavesTheBrushAsItWas)
{
    BrushState.size = 32000;
    SelectTool(&tools.brushCrc, false, -1);
    EXPECT_EQ(CurrentBrush.Width(), 1);
    EXPECT_EQ(StampBuffer.Width(), 1);
    EXPECT_EQ(CurrentBrush.undoHead, nullptr);
    ASSERT_EQ(undo.messages.size(), 1u);
    EXPECT_EQ(undo.messages[0].text, Translate("NoMem").c_str());
}

// A drag across a very wide picture asks for a brush beyond memory: the
// user is told once, and the brush stays.
TEST_F(Brushes, SizingBeyondMemoryKeepsTheBrush)
{
    pic.Alloc(Pair<int>{20000, 1});
    pic.Box(pic.GetRect(), 0);
    SelectTool(&tools.resizeCrcBrush, false, -1);
    Press(0, 0);
    timer.Advance(300);
    Move(19000, 0);
    Move(19500, 0);
    Release(19500, 0);
    EXPECT_EQ(undo.messages.size(), 1u);
    EXPECT_EQ(CurrentBrush.Width(), 1);
    EXPECT_EQ(StampBuffer.Width(), 1);
    EXPECT_EQ(CurrentBrush.undoHead, nullptr);
    EXPECT_EQ(CurrentTool, &pen);
}

TEST_F(Brushes, NegativeRadiusMakesTheSmallestBrush)
{
    BrushState.size = -7;
    SelectTool(&tools.brushCrc, false, -1);
    EXPECT_EQ(CurrentBrush.Width(), 1);
    EXPECT_EQ(BrushState.size, 0);
}

TEST_F(Brushes, RoundSizerTakesTheDistanceAndSquareSizerTheLongerSide)
{
    auto before = Pixels();
    BrushState.pictureBrush = 1;
    Size(tools.resizeCrcBrush, 5, 5, 8, 9);
    EXPECT_EQ(BrushState.size, 5);
    EXPECT_EQ(CurrentBrush.Width(), 11);
    EXPECT_EQ(*CurrentBrush.At(0, 0), KeyPixel);
    EXPECT_EQ(CurrentTool, &pen);
    EXPECT_EQ(Pixels(), before);  // the drag only showed feedback
    EXPECT_NE(std::find(statusTexts.begin(), statusTexts.end(), "2:[3,4]"), statusTexts.end());

    Size(tools.resizeBoxBrush, 5, 5, 8, 9);
    EXPECT_EQ(BrushState.size, 4);
    EXPECT_EQ(CurrentBrush.Width(), 9);
    EXPECT_EQ(*CurrentBrush.At(0, 0), Fore);
    EXPECT_EQ(Pixels(), before);
    EXPECT_EQ(std::string(CurrentBrush.undoHead->key.c_str()), "ResizeBr");
    EXPECT_EQ(BrushState.pictureBrush, 0);
}

TEST_F(Brushes, SizerKeepsTheHandleOfTheBrush)
{
    BrushState.hotSpot = HandleLeftBottom;
    SelectTool(&tools.resizeCrcBrush, false, -1);
    EXPECT_EQ(BrushState.hotSpot, HandleCentre);
    Press(4, 4);
    timer.Advance(300);
    Move(6, 4);
    SelectTool(&pen, true, -1);  // abandoned mid-drag
    EXPECT_EQ(BrushState.hotSpot, HandleLeftBottom);
    EXPECT_EQ(StampBuffer.Width(), 1);  // the sized preview is gone
}

TEST_F(Brushes, HoveringSizerLeavesNoTrace)
{
    auto before = Pixels();
    SelectTool(&tools.resizeBoxBrush, false, -1);
    for (int x = 0; x < 20; x += 3) Move(x, x / 2);
    EXPECT_NE(Pixels(), before);  // the outline pixel is shown
    Move(OutsideView, OutsideView);
    EXPECT_EQ(Pixels(), before);
}

TEST_F(Brushes, BrushResizeHandsOverToItsTarget)
{
    tools.brushResize.target = &tools.resizeBoxBrush;
    SelectTool(&tools.brushResize, false, -1);
    EXPECT_EQ(CurrentTool, &tools.resizeBoxBrush);
}

TEST_F(Brushes, SpraySizerSetsTheSprayRadiusOnly)
{
    Size(tools.resizeSpray, 5, 1, 11, 9);
    EXPECT_EQ(tools.resizeSpray.sprayRadius, 10);
    EXPECT_EQ(CurrentBrush.Width(), 1);
    EXPECT_EQ(StampBuffer.Width(), 1);
    EXPECT_EQ(tools.resizeSpray.helpContext, 2900);
}

// The spray divides by its radius: a drag of no length keeps the old one.
TEST_F(Brushes, SpraySizerNeverSetsARadiusOfZero)
{
    Size(tools.resizeSpray, 5, 5, 5, 5);
    EXPECT_EQ(tools.resizeSpray.sprayRadius, 20);
}

TEST_F(Brushes, ClearingTurnsThePictureIntoANewUntitledOne)
{
    UntitledCounter = 7;
    int captions = 0;
    PaintKitHost.updateCaption = [&] { ++captions; };
    pic.fileName = "C:\\pics\\a.bmp";
    pic.noFile = 0;
    auto before = Pixels();
    SelectTool(&tools.clear, false, -1);
    SelectTool(&tools.clear, false, -1);
    for (unsigned long p : Pixels()) ASSERT_EQ(p, Back);
    EXPECT_EQ(pic.untitledNumber, 8);  // each clear takes the next number
    EXPECT_EQ(UntitledCounter, 9);
    EXPECT_EQ(pic.noFile, 1);
    EXPECT_TRUE(pic.fileName.IsEmpty());
    EXPECT_EQ(pic.modified, 2u);
    EXPECT_EQ(captions, 2);
    EXPECT_EQ(Count(pic.undoHead), 1);  // twice in a row is one step
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(Pixels(), before);
    EXPECT_EQ(std::string(pic.fileName.c_str()), "C:\\pics\\a.bmp");
}

}  // namespace
