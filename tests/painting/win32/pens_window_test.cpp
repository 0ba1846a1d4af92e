// The pens in a real image window at zoom 2: a stroke dragged by mouse
// messages lands where stamps placed independently along the same path do,
// and undo and redo take it back and repaint it.

#include "brushes_tools.h"
#include "imageform_fixture.h"
#include "paintkit.h"
#include "../paintkit_fixture.h"

namespace {

class PenWindow : public ImageFormTest {
protected:
    const std::vector<std::string> shape = {"##.", ".##"};

    void SetUp() override
    {
        ImageFormTest::SetUp();
        PaintKitHost.foreColour = [] { return Fore; };
        InitPaintKit();
    }

    void TearDown() override
    {
        while (CurrentBrush.undoHead) UDBuffer::DropUndo(&CurrentBrush);
        CurrentBrush.Free();
        StampBuffer.Free();
        WorkView.Free();
        BrushState = TBrushState();
        StampRecolourHook = nullptr;
        ImageFormTest::TearDown();
    }

    void MakeBrush()
    {
        CurrentBrush.Alloc(Pair<int>{3, 2});
        for (int i = 0; i < 6; ++i) CurrentBrush.pixels[i] = shape[i / 3][i % 3] == '#' ? Fore : KeyPixel;
        BrushState.hotSpot = HandleRightBottom;
        BrushState.paintMode = PaintModeC;
        RecolorBrush(false);
    }

    static std::vector<unsigned long> PixelsOf(UDBuffer& pic)
    {
        return std::vector<unsigned long>(pic.pixels, pic.pixels + pic.Width() * pic.Height());
    }

    // The screen shows the picture at zoom 2: counts the pixels it does not.
    static int Unshown(TImageForm* f)
    {
        gui::PumpUntilIdle();
        gui::TPixels view = gui::ReadPixels(f->ShowBuf->GetHandle());
        int wrong = 0;
        for (int y = 0; y < f->Picture.Height() && 2 * y + 1 < view.Height; ++y)
            for (int x = 0; x < f->Picture.Width() && 2 * x + 1 < view.Width; ++x)
                wrong += view.At(2 * x + 1, 2 * y + 1) != (*f->Picture.At(x, y) & 0xFFFFFF);
        return wrong;
    }
};

TEST_F(PenWindow, EachPenPaintsItsStrokeAndUndoTakesItBack)
{
    TImageForm* f = NewShownWindow(24, 16);
    ASSERT_NE(f, nullptr);
    f->SetZoomStep(2);
    gui::PumpUntilIdle();
    MakeBrush();
    const std::vector<TPoint> path = {{3, 3}, {9, 5}, {14, 12}, {20, 4}};
    PenBrushToolSet& t = PenBrushTools();
    P_pen* pens[] = {&t.penCont, &t.penDisc, &t.penOne};
    for (P_pen* pen : pens) {
        SelectTool(pen, false, -1);
        HideOutline();
        f->Picture.Box(f->Picture.GetRect(), 0x00FFFFFF);
        f->ShowBuf->Invalidate();
        auto before = PixelsOf(f->Picture);
        Press(f, path[0].x * 2 + 1, path[0].y * 2 + 1);
        timer.Advance(300);
        for (TPoint p : path) MoveTo(f, p.x * 2 + 1, p.y * 2 + 1, MK_LBUTTON);
        Release(f, path.back().x * 2 + 1, path.back().y * 2 + 1);
        HideOutline();  // the preview that follows the pointer
        gui::PumpUntilIdle();

        Buffer mask;
        mask.Alloc(Pair<int>{24, 16});
        mask.Box(mask.GetRect(), 0);
        for (size_t i = 0; i < (pen == &t.penOne ? 1 : path.size()); ++i) {
            Pair<int> p = {path[i].x, path[i].y};
            if (pen == &t.penCont && i > 0)
                mask.Line(Pair<int>{path[i - 1].x, path[i - 1].y}, p, 1);
            else
                mask.PutPixel(p, 1);
        }
        auto stroke = PlaceStamps(before, 24, mask, shape, 2, 1, Fore);
        EXPECT_EQ(PixelsOf(f->Picture), stroke) << pen->iconKey.c_str();
        EXPECT_EQ(Unshown(f), 0);
        ASSERT_TRUE(UDBuffer::Undo(&f->Picture, true));
        EXPECT_EQ(PixelsOf(f->Picture), before) << pen->iconKey.c_str();
        EXPECT_EQ(Unshown(f), 0);
        ASSERT_TRUE(UDBuffer::Redo(&f->Picture));
        EXPECT_EQ(PixelsOf(f->Picture), stroke) << pen->iconKey.c_str();
        EXPECT_EQ(Unshown(f), 0);
    }
}

}  // namespace
