// The three pens driven through the tool-step machine: strokes compared with
// stamps placed independently along the same path, undo and redo of a
// stroke, clicks, the right button, and the preview that follows the
// pointer.

#include "paintkit_fixture.h"

namespace {

// An asymmetric brush held at its right-bottom corner, so a misplaced hot
// spot or a mirrored stamp shows.
const std::vector<std::string> Shape = {"##.", ".##"};
const int HotX = 2, HotY = 1;

class PenStroke : public PaintKitTest {
protected:
    std::vector<unsigned long> before;

    void SetUp() override
    {
        PaintKitTest::SetUp();
        SetBrush(Shape, HandleRightBottom);
        MousePoint = TPoint{OutsideView, OutsideView};
    }

    void Use(P_icon& tool)
    {
        SelectTool(&tool, false, -1);
        before = Pixels();
    }

    // Press at the first point, drag through the others, release at the last.
    void Drag(const std::vector<TPoint>& path)
    {
        Press(path[0].x, path[0].y);
        timer.Advance(300);
        for (size_t i = 1; i < path.size(); ++i) Move(path[i].x, path[i].y);
        Release(path.back().x, path.back().y);
        Leave();
    }

    std::vector<unsigned long> Reference(const std::vector<TPoint>& path, bool lines, unsigned long colour)
    {
        Buffer mask;
        mask.Alloc(Pair<int>{20, 10});
        mask.Box(mask.GetRect(), 0);
        for (size_t i = 0; i < path.size(); ++i) {
            Pair<int> p = {path[i].x, path[i].y};
            if (lines && i > 0)
                mask.Line(Pair<int>{path[i - 1].x, path[i - 1].y}, p, 1);
            else
                mask.PutPixel(p, 1);
        }
        return PlaceStamps(before, 20, mask, Shape, HotX, HotY, colour);
    }

    void ExpectUndoAndRedo(const std::vector<unsigned long>& stroke)
    {
        ASSERT_EQ(Pixels(), stroke);
        ASSERT_TRUE(UDBuffer::Undo(&pic, true));
        EXPECT_EQ(Pixels(), before);
        ASSERT_TRUE(UDBuffer::Redo(&pic));
        EXPECT_EQ(Pixels(), stroke);
        EXPECT_EQ(CheckUndoInvariants(undo.folder, {&pic}), "");
    }
};

const std::vector<TPoint> Path = {{2, 3}, {6, 4}, {9, 8}, {15, 2}, {18, 7}, {17, 7}};

TEST_F(PenStroke, ContinuousPenStampsAlongTheLinesOfThePath)
{
    Use(PenBrushTools().penCont);
    Drag(Path);
    EXPECT_EQ(pic.modified, 1u);
    EXPECT_EQ(Count(pic.undoHead), 1);
    ExpectUndoAndRedo(Reference(Path, true, Fore));
}

TEST_F(PenStroke, DottedPenStampsOnlyWhereThePointerWas)
{
    Use(PenBrushTools().penDisc);
    EXPECT_EQ(PenBrushTools().penDisc.statusText, Translate("Pen"));
    Drag(Path);
    EXPECT_EQ(std::string(pic.undoHead->key.c_str()), "DotFhandIcon");
    ExpectUndoAndRedo(Reference(Path, false, Fore));
}

TEST_F(PenStroke, SingleDabPenFinishesAtThePress)
{
    Use(PenBrushTools().penOne);
    Drag(Path);
    EXPECT_EQ(pic.modified, 1u);
    ExpectUndoAndRedo(Reference({Path[0]}, false, Fore));
}

TEST_F(PenStroke, RightButtonPaintsTheBackgroundColour)
{
    Use(PenBrushTools().penCont);
    MouseShift = 16;
    Drag(Path);
    ExpectUndoAndRedo(Reference(Path, true, Back));
    // The brush paints its own colours again after the stroke.
    EXPECT_EQ(*StampBuffer.At(0, 0), Fore);
}

TEST_F(PenStroke, ClickPaintsOneDabAndCropsTheStepToIt)
{
    Use(PenBrushTools().penCont);
    Press(7, 5);
    Release(7, 5);  // within the drag time
    EXPECT_EQ(ToolPhase, 0);
    Pair<int> size = UDBuffer::NewestUndoSize(&pic);
    EXPECT_EQ(size.x, 3);
    EXPECT_EQ(size.y, 2);
    Leave();
    ExpectUndoAndRedo(Reference({{7, 5}}, false, Fore));
}

TEST_F(PenStroke, StrokeAtThePictureEdgeIsClippedAndUndone)
{
    Use(PenBrushTools().penCont);
    std::vector<TPoint> edge = {{0, 0}, {19, 9}, {0, 9}};
    Drag(edge);
    ExpectUndoAndRedo(Reference(edge, true, Fore));
}

TEST_F(PenStroke, HoveringLeavesNoTrace)
{
    Use(PenBrushTools().penCont);
    for (TPoint p : Path) {
        Move(p.x, p.y);
        EXPECT_NE(Pixels(), before);  // the preview is shown
    }
    Leave();
    EXPECT_EQ(Pixels(), before);
    EXPECT_GT(updates, 0);  // the preview is painted at once
}

// The feedback is taken back where it was drawn, also when the pointer has
// moved on before the tool is asked to hide it.
TEST_F(PenStroke, PreviewIsTakenBackWhereItWasDrawn)
{
    Use(PenBrushTools().penCont);
    Move(4, 4);
    MousePoint = TPoint{12, 6};
    HideOutline();
    EXPECT_EQ(Pixels(), before);
}

// Hiding twice must not restore the saved area over paint made since.
TEST_F(PenStroke, PreviewIsTakenBackOnlyOnce)
{
    Use(PenBrushTools().penCont);
    Move(4, 4);
    HideOutline();
    pic.PutPixel(Pair<int>{4, 4}, 0x123456);
    HideOutline();
    EXPECT_EQ(*pic.At(4, 4), 0x123456u);
}

TEST_F(PenStroke, SwitchingToolsMidStrokeTakesTheStrokeBack)
{
    Use(PenBrushTools().penCont);
    Press(2, 2);
    timer.Advance(300);
    Move(9, 6);
    SelectTool(&pen, true, -1);
    EXPECT_EQ(Pixels(), before);
    EXPECT_EQ(pic.undoHead, nullptr);
}

}  // namespace
