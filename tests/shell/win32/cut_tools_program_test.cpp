// The cut tools in the started program, chosen by their hot key and driven
// by mouse messages on the picture window: each gesture selects with its
// modifier, the marching ants follow and undo gives the picture back bit
// for bit; with the window's instant-brush button down the same tools cut
// brushes and hand over to the dotted pen; the modifier cursors and the
// fixed rectangle's size keys.
#include "brushes_tools.h"
#include "cut_tools.h"
#include "mainwindow_fixture.h"
#include "optionbar.h"
#include "paintkit.h"
#include "selection_trace.h"
#include "toolsteps.h"
#include "undo_settings.h"

namespace {

const unsigned long Paper = 0x00FFFFFF, Patch = 0x00000000;

struct Gesture {
    const char* what;
    P_icon* tool;
    bool drag;  // one press-drag-release through the points; else a click at each
    std::vector<TPoint> points;
    WPARAM keys;  // MK_CONTROL
    bool alt;
    int selected;
    Rect box;
};

class CutToolsProgram : public MainWindow {
protected:
    TImageForm* f = nullptr;
    CutToolSet& cuts = CutTools();

    void SetUp() override
    {
        MainWindow::SetUp();
        ASSERT_TRUE(started);
        f = First();
        FocusWindow(f);
        ASSERT_EQ(f->Zoom, 1.0);
        f->Picture.Box(f->Picture.GetRect(), Paper);
        f->Picture.Box(Rect{95, 95, 104, 104}, Patch);
        f->ShowBuf->Invalidate();
    }
    void TearDown() override
    {
        InstBrush = false;
        ApplyCutMode();
        MainWindow::TearDown();
    }

    // Hot key B until the tool shows: the group steps through its variants.
    void Choose(P_icon* tool)
    {
        for (int i = 0; i < 6 && CurrentTool != tool; ++i) {
            FocusWindow(f);
            gui::InputKeyStroke('B');
        }
        ASSERT_EQ(CurrentTool, tool);
        Away();
    }
    // The pointer off the view: no feedback stays in the picture.
    void Away()
    {
        gui::MouseMove(f->ShowBuf, -5, -5);
        SendMessageA(f->ShowBuf->GetHandle(), WM_MOUSELEAVE, 0, 0);
        gui::PumpUntilIdle();
    }
    void Do(const Gesture& g)
    {
        FocusWindow(f);
        if (g.alt) {
            gui::InputKey(VK_MENU, false);
            gui::PumpUntilIdle();
        }
        const std::vector<TPoint>& p = g.points;
        if (g.drag) {
            gui::MouseMove(f->ShowBuf, p[0].x, p[0].y, g.keys);
            gui::MouseDown(f->ShowBuf, p[0].x, p[0].y, mbLeft, g.keys);
            DragIsSure();  // as the drag timer would after 300 ms
            for (TPoint q : p) gui::MouseMove(f->ShowBuf, q.x, q.y, g.keys | MK_LBUTTON);
            gui::MouseUp(f->ShowBuf, p.back().x, p.back().y, mbLeft, g.keys);
        } else {
            for (TPoint q : p) {
                gui::MouseMove(f->ShowBuf, q.x, q.y, g.keys);
                gui::MouseDown(f->ShowBuf, q.x, q.y, mbLeft, g.keys);
                gui::MouseUp(f->ShowBuf, q.x, q.y, mbLeft, g.keys);
            }
        }
        if (g.alt) {
            // Another key while Alt is held: its release is no menu key then.
            gui::InputKey(VK_SHIFT, false);
            gui::InputKey(VK_SHIFT, true);
            gui::InputKey(VK_MENU, true);
        }
        gui::PumpUntilIdle();
        Away();
    }
    std::vector<unsigned long> Pixels() const
    {
        const UDBuffer& p = f->Picture;
        return std::vector<unsigned long>(p.pixels, p.pixels + p.Width() * p.Height());
    }
    int SelectedCount() const
    {
        int n = 0;
        for (unsigned long p : Pixels()) n += (p & SelectedBit) != 0;
        return n;
    }
};

TEST_F(CutToolsProgram, EachCutSelectsWithItsModifierTheAntsFollowAndUndoIsExact)
{
    const Gesture gestures[] = {
        {"rectangle", &cuts.box, true, {{10, 10}, {19, 19}}, 0, false, 100, {10, 10, 19, 19}},
        {"rectangle added with Ctrl", &cuts.box, true, {{30, 30}, {34, 34}}, MK_CONTROL, false, 125, {10, 10, 34, 34}},
        {"rectangle taken away with Alt", &cuts.box, true, {{10, 10}, {19, 14}}, 0, true, 75, {10, 15, 34, 34}},
        {"fixed rectangle 3 x 2 replaces", &cuts.resize, false, {{50, 50}}, 0, false, 6, {50, 50, 52, 51}},
        {"freehand square added with Ctrl", &cuts.draw, true, {{60, 60}, {69, 60}, {69, 69}, {60, 69}, {60, 60}},
         MK_CONTROL, false, 106, {50, 50, 69, 69}},
        {"polygon takes the square's top away with Alt", &cuts.poly, false,
         {{55, 50}, {75, 50}, {75, 64}, {55, 64}, {55, 50}}, 0, true, 56, {50, 50, 69, 69}},
        {"wand takes the dark patch", &cuts.wand, false, {{100, 100}}, 0, false, 100, {95, 95, 104, 104}},
    };
    UDBuffer& pic = f->Picture;
    for (const Gesture& g : gestures) {
        SCOPED_TRACE(g.what);
        Choose(g.tool);
        if (g.tool == &cuts.resize) {
            SetOptionValue(1, 3);
            SetOptionValue(2, 2);
        }
        std::vector<unsigned long> before = Pixels();
        Do(g);
        EXPECT_EQ(SelectedCount(), g.selected);
        EXPECT_EQ(pic.selMinX, g.box.left);
        EXPECT_EQ(pic.selMinY, g.box.top);
        EXPECT_EQ(pic.selMaxX, g.box.right);
        EXPECT_EQ(pic.selMaxY, g.box.bottom);
        EXPECT_NE(pic.zoomedOutlinePath, nullptr) << "the ants follow";
        MainForm->UndoBtn->Click();
        gui::PumpUntilIdle();
        EXPECT_TRUE(Pixels() == before);
        MainForm->RedoBtn->Click();
        gui::PumpUntilIdle();
    }
}

TEST_F(CutToolsProgram, WithInstantBrushTheCutsMakeBrushesForTheDottedPen)
{
    f->InstBrushBtnClick(f->InstBrushBtn);
    ASSERT_TRUE(InstBrush);
    EXPECT_TRUE(cuts.box.IsOneShot());
    unsigned long bg = BackColour() & 0x00FFFFFF;
    f->Picture.Box(Rect{3, 2, 3, 4}, 0x00123456);
    std::vector<unsigned long> before = Pixels();
    Choose(&cuts.box);
    Do({"rectangle", &cuts.box, true, {{2, 2}, {5, 4}}, 0, false, 0, {}});
    EXPECT_EQ(CurrentTool, &PenBrushTools().penDisc);
    ASSERT_EQ(CurrentBrush.Width(), 4);
    EXPECT_EQ(*CurrentBrush.At(1, 1), 0x00123456u);
    EXPECT_EQ(*CurrentBrush.At(0, 0), bg == Paper ? KeyPixel : Paper);
    EXPECT_EQ(BrushState.keyColour, bg);
    SelectTool(&cuts.wand, true, -1);
    Away();
    Do({"wand", &cuts.wand, false, {{100, 100}}, 0, false, 0, {}});
    EXPECT_EQ(CurrentTool, &PenBrushTools().penDisc);
    EXPECT_EQ(CurrentBrush.Width(), 10);
    EXPECT_EQ(BrushState.keyColour, 0x010000u);  // the brush is all red 0
    SelectTool(&PenBrushTools().penCont, true, -1);
    Away();
    EXPECT_EQ(Pixels(), before);
}

TEST_F(CutToolsProgram, ModifierCursorsAndTheFixedRectangleSizeKeys)
{
    struct Hint {
        P_icon* tool;
        WORD key;
        short cursor;
    } hints[] = {{&cuts.box, VK_CONTROL, -48}, {&cuts.box, VK_MENU, -47}, {&cuts.wand, VK_CONTROL, -39},
                 {&cuts.wand, VK_MENU, -38}};
    for (const Hint& h : hints) {
        Choose(h.tool);
        FocusWindow(f);
        gui::InputKey(h.key, false);
        gui::PumpUntilIdle();
        EXPECT_EQ(f->ShowBuf->GetCursor(), h.cursor);
        gui::InputKey(h.key, true);
        gui::PumpUntilIdle();
        EXPECT_EQ(f->ShowBuf->GetCursor(), h.tool->cursor);
    }
    Choose(&cuts.resize);
    ASSERT_GE(OptionControlCount(), 5);
    EXPECT_EQ(GetOptionValue(1), 416);
    EXPECT_EQ(GetOptionValue(2), 312);
    const struct {
        WORD key;
        int width, height;
    } keys[] = {{VK_LEFT, 415, 312}, {VK_UP, 415, 311}, {VK_RIGHT, 416, 311}, {VK_DOWN, 416, 312},
                {VK_HOME, 415, 311}, {VK_NEXT, 416, 312}};
    for (auto k : keys) {
        FocusWindow(f);
        gui::InputKeyStroke(k.key, VK_CONTROL);
        EXPECT_EQ(GetOptionValue(1), k.width) << k.key;
        EXPECT_EQ(GetOptionValue(2), k.height) << k.key;
    }
}

}  // namespace
