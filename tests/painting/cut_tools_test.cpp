// The cut tools driven through the tool-step machine: brushes cut in
// instant-brush mode, selections replaced, added to and taken from, each
// undone bit for bit (flag bytes included), the clipped and cancelled
// rectangle, the fixed rectangle's size steps and the brush's key colour.
#include <cstring>
#include <set>
#include <utility>

#include "cut_size.h"
#include "cut_tools.h"
#include "exceptions.h"
#include "least_used_colour.h"
#include "outline_path.h"
#include "paintkit_fixture.h"
#include "seedfill.h"
#include "selection_trace.h"
#include "shapes_tools.h"
#include "undo_settings.h"

namespace {

using PixelList = std::vector<unsigned long>;
using PointSet = std::set<std::pair<int, int>>;

const unsigned ShiftAlt = 2, ShiftCtrl = 4, ShiftRight = 16;

class CutToolsTest : public PaintKitTest {
protected:
    CutToolSet& cuts = CutTools();
    int W = 40, H = 30;
    PixelList before;

    void SetUp() override
    {
        PaintKitTest::SetUp();
        Picture(40, 30);
        SetBrush({"#"}, HandleCentre);
        MousePoint = TPoint{OutsideView, OutsideView};
        cuts.wand.tolerance = 128;
        cuts.resize.width = 416;
        cuts.resize.height = 312;
        cuts.resize.ratio = 0;
        Mode(false);
    }
    void TearDown() override
    {
        GetSelectionEnabler = nullptr;
        InstBrush = false;
        ApplyCutMode();
        PaintKitTest::TearDown();
    }

    void Mode(bool instBrush)
    {
        InstBrush = instBrush;
        ApplyCutMode();
    }
    // Each pixel its own colour from its place; every seventh the background.
    void Picture(int w, int h)
    {
        W = w, H = h;
        pic.Alloc(Pair<int>{w, h});
        for (int i = 0; i < w * h; ++i) pic.pixels[i] = i % 7 == 3 ? Back : 0x00100000u + unsigned(i) * 0x0107u;
    }
    PixelList All() const { return PixelList(pic.pixels, pic.pixels + W * H); }

    // The pointer leaves the view: feedback drawn into the picture goes.
    void Use(P_icon& tool)
    {
        SelectTool(&tool, false, -1);
        Leave();
        before = All();
    }
    void Drag(TPoint a, TPoint b, unsigned shift = 0)
    {
        MouseShift = shift;
        Press(a.x, a.y);
        timer.Advance(300);
        Move(b.x, b.y);
        Release(b.x, b.y);
        MouseShift = 0;
        Leave();
    }
    void ClickAt(TPoint p, unsigned shift = 0)
    {
        MouseShift = shift;
        Press(p.x, p.y);
        Release(p.x, p.y);
        MouseShift = 0;
        Leave();
    }
    // A closed freehand shape through the points.
    void Freehand(const std::vector<TPoint>& points, unsigned shift = 0)
    {
        MouseShift = shift;
        Press(points[0].x, points[0].y);
        timer.Advance(300);
        for (TPoint p : points) Move(p.x, p.y);
        Release(points.back().x, points.back().y);
        MouseShift = 0;
        Leave();
    }
    PointSet Selected() const
    {
        PointSet s;
        for (int i = 0; i < W * H; ++i)
            if (pic.pixels[i] & SelectedBit) s.insert({i % W, i / W});
        return s;
    }
    static PointSet Box(int l, int t, int r, int b)
    {
        PointSet s;
        for (int y = t; y <= b; ++y)
            for (int x = l; x <= r; ++x) s.insert({x, y});
        return s;
    }
    // The step the operation left undoes to the picture before it, flag
    // bytes and selection box included.
    void ExpectUndoneExactly(const PixelList& was, Rect box)
    {
        ASSERT_TRUE(UDBuffer::Undo(&pic, true));
        EXPECT_TRUE(All() == was);
        ExpectBox(box);
    }
    void ExpectBox(Rect box) const
    {
        Rect r = pic.SelectionRect();
        EXPECT_EQ(std::vector<int>({r.left, r.top, r.right, r.bottom}),
                  std::vector<int>({box.left, box.top, box.right, box.bottom}));
    }
    bool MarksLeft() const
    {
        for (int i = 0; i < W * H; ++i)
            if (pic.pixels[i] & (FillMark | KeyPixel)) return true;
        return false;
    }
};

// A w x h brush from a list of pixel values, the rest transparent.
Buffer BrushOf(const PixelList& values)
{
    Buffer b;
    b.Alloc(Pair<int>{int(values.size()) + 1, 1});
    for (size_t i = 0; i < values.size(); ++i) b.pixels[i] = values[i];
    b.pixels[values.size()] = KeyPixel;
    return b;
}

TEST(LeastUsedColour, FirstMissingRedThenGreenThenBlueOverThePaintingPixels)
{
    PixelList red7Short, red7AllGreens;
    for (unsigned r = 0; r < 256; ++r) {
        red7Short.push_back(r << 16 | 0x0101);
        if (r != 7) red7Short.push_back(r << 16 | 0x0202);
    }
    // Red 7 with every green once (blue 0): 256 pixels; every other red more.
    for (unsigned r = 0; r < 256; ++r)
        for (unsigned i = 0; i < 257 && r != 7; ++i) red7AllGreens.push_back(r << 16);
    for (unsigned g = 0; g < 256; ++g) red7AllGreens.push_back(0x070000 | g << 8);
    struct Case {
        const char* what;
        PixelList pixels;
        unsigned long key;
    } cases[] = {
        {"red 0 missing (the key pixels count for nothing)", {0x010000, KeyPixel, 0x020000}, 0x000000},
        {"red 3 missing (flag bits are no colour)", {0x04000000, 0x05010000, 0x020000, 0x040000}, 0x030000},
        {"every red: the least used red's first missing green", red7Short, 0x070000},
        {"every red and green of red 7: its first missing blue", red7AllGreens, 0x070001},
    };
    for (Case& c : cases) {
        Buffer b = BrushOf(c.pixels);
        EXPECT_EQ(LeastUsedColour(b, 0xABCDEF), c.key) << c.what;
    }
    // All 2^24 colours cannot be in a brush this test builds; the fallback
    // shows with the one colour whose channels are all taken.
    PixelList full;
    for (unsigned v = 0; v < 256; ++v) full.push_back(v << 16 | v << 8 | v);
    for (unsigned v = 0; v < 256; ++v) full.push_back(v << 8 | v);
    for (unsigned v = 0; v < 256; ++v) full.push_back(v);
    Buffer b = BrushOf(full);
    EXPECT_NE(LeastUsedColour(b, 0xABCDEF), 0xABCDEFu);
}

TEST_F(CutToolsTest, RectangleMakesABrushWithTheBackgroundKeyed)
{
    for (bool right : {false, true}) {
        SCOPED_TRACE(right ? "right button" : "left button");
        Mode(true);
        Use(cuts.box);
        int brushSteps = Count(CurrentBrush.undoHead), pictureSteps = Count(pic.undoHead);
        Drag({2, 2}, {5, 4}, right ? ShiftRight : 0);
        ASSERT_EQ(CurrentBrush.Width(), 4);
        ASSERT_EQ(CurrentBrush.Height(), 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                unsigned long p = before[size_t((y + 2) * W + x + 2)];
                EXPECT_EQ(*CurrentBrush.At(x, y), p == Back ? KeyPixel : p) << x << "," << y;
            }
        EXPECT_EQ(BrushState.originX, 2);
        EXPECT_EQ(BrushState.originY, 2);
        EXPECT_EQ(BrushState.keyColour, Back);
        EXPECT_EQ(BrushState.pictureBrush, 1);
        EXPECT_EQ(BrushState.paintMode, PaintModeP);
        EXPECT_EQ(CurrentTool, &PenBrushTools().penDisc);
        ASSERT_FALSE(warps.empty());
        EXPECT_EQ(warps.back(), (TPoint{4, 3}));  // the centre hot spot of 4 x 3
        EXPECT_EQ(Count(CurrentBrush.undoHead), brushSteps + 1);
        EXPECT_EQ(Count(pic.undoHead), pictureSteps + (right ? 1 : 0));
        PixelList want = before;
        if (right)
            for (int y = 2; y <= 4; ++y)
                for (int x = 2; x <= 5; ++x) want[size_t(y * W + x)] = Back;
        SelectTool(&pen, true, -1);
        EXPECT_EQ(All(), want);
    }
}

TEST_F(CutToolsTest, RectanglesReplaceAddAndTakeAwayAndEachUndoesExactly)
{
    Use(cuts.box);
    Drag({10, 10}, {19, 19});
    EXPECT_EQ(Selected(), Box(10, 10, 19, 19));
    ExpectBox(Rect{10, 10, 19, 19});
    std::vector<OutlineContour> contours;
    ASSERT_TRUE(DecodeOutlinePath(pic.outlinePath, 1 << 16, contours));
    ASSERT_EQ(contours.size(), 1u);
    EXPECT_EQ(contours[0].x, 10);
    EXPECT_EQ(contours[0].y, 10);
    EXPECT_EQ(CurrentTool, &cuts.box);  // selection mode keeps the tool

    struct Step {
        const char* what;
        TPoint a, b;
        unsigned shift;
        PointSet selected;
        Rect box;  // min x, min y, max x, max y
    };
    PointSet added = Box(10, 10, 19, 19);
    for (auto p : Box(30, 25, 34, 29)) added.insert(p);
    const Step steps[] = {
        {"Ctrl adds a second rectangle", {30, 25}, {34, 29}, ShiftCtrl, added, {10, 10, 34, 29}},
        {"Alt takes away the top half of the first", {10, 10}, {19, 14}, ShiftAlt,
         [&] {
             PointSet s = added;
             for (auto p : Box(10, 10, 19, 14)) s.erase(p);
             return s;
         }(),
         {10, 15, 34, 29}},
        {"Alt takes the second away: the box shrinks past its columns", {36, 29}, {28, 24}, ShiftAlt,
         Box(10, 15, 19, 19), {10, 15, 19, 19}},
        {"a plain rectangle replaces the selection", {0, 0}, {1, 1}, 0, Box(0, 0, 1, 1), {0, 0, 1, 1}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        PixelList was = All();
        Rect oldBox = pic.SelectionRect();
        Drag(s.a, s.b, s.shift);
        EXPECT_EQ(Selected(), s.selected);
        ExpectBox(s.box);
        EXPECT_TRUE(pic.HasSelection());
        PixelList after = All();
        ExpectUndoneExactly(was, oldBox);
        ASSERT_TRUE(UDBuffer::Redo(&pic));
        EXPECT_EQ(All(), after);
    }
    PixelList was = All();
    Drag({0, 0}, {39, 29}, ShiftAlt);
    EXPECT_EQ(pic.outlinePath, nullptr);
    EXPECT_GT(pic.selMinX, pic.selMaxX);
    EXPECT_TRUE(Selected().empty());
    ExpectUndoneExactly(was, Rect{0, 0, 1, 1});
}

TEST_F(CutToolsTest, OnePixelGivesTheOnePixelOutline)
{
    Use(cuts.box);
    Drag({5, 7}, {5, 7});
    ASSERT_NE(pic.outlinePath, nullptr);
    const unsigned char want[] = {5, 0, 0, 0, 7, 0, 0, 0, 0x20, 0x40, 0x60, 0x00, 0x10, 0xFF, 0xFF, 0xFF, 0xFF};
    ASSERT_EQ(OutlinePathLength(pic.outlinePath), sizeof want);
    EXPECT_EQ(std::memcmp(pic.outlinePath, want, sizeof want), 0);
}

TEST_F(CutToolsTest, RectanglePastAnyEdgeIsClippedAndOneReleasedOffTheViewIsCancelled)
{
    Use(cuts.box);
    Drag({3, 4}, {-20, -9});
    EXPECT_EQ(Selected(), Box(0, 0, 3, 4));
    Drag({36, 26}, {60, 50}, ShiftCtrl);
    PointSet both = Box(0, 0, 3, 4);
    for (auto p : Box(36, 26, 39, 29)) both.insert(p);
    EXPECT_EQ(Selected(), both);
    int steps = Count(pic.undoHead);
    PixelList was = All();
    Drag({10, 10}, {OutsideView, OutsideView});
    EXPECT_EQ(All(), was);
    EXPECT_EQ(Count(pic.undoHead), steps);

    Mode(true);
    Use(cuts.box);
    Drag({30, 20}, {-5, 40});
    ASSERT_EQ(CurrentBrush.Width(), 31);
    EXPECT_EQ(CurrentBrush.Height(), 10);
    EXPECT_EQ(BrushState.originX, 0);
    EXPECT_EQ(*CurrentBrush.At(30, 9) & 0x00FFFFFFul, before[size_t(29 * W + 30)] & 0x00FFFFFFul);
}

TEST_F(CutToolsTest, FreehandPolygonAndWandSelectionsUndoExactlyAndLeaveNoMarks)
{
    const std::vector<TPoint> triangle = {{10, 4}, {24, 4}, {17, 18}, {10, 4}};
    // The fill of the same shape tells which pixels the cut must select.
    PointSet inside;
    {
        PixelList keep = All();
        SelectTool(&ShapeTools().fillDraw, false, -1);
        before = All();
        Freehand(triangle);
        for (int i = 0; i < W * H; ++i)
            if (pic.pixels[i] != keep[size_t(i)]) inside.insert({i % W, i / W});
        ASSERT_TRUE(UDBuffer::Undo(&pic, false));
    }
    ASSERT_FALSE(inside.empty());

    Use(cuts.box);
    Drag({30, 20}, {33, 23});
    // The wand on a flat area with Ctrl: its region lies outside the marks'
    // DirtyRect and outside the old box, and both must be in the step.
    pic.Box(Rect{0, 22, 8, 29}, 0x00123456);
    before = All();
    Use(cuts.wand);
    SetOptionValue(0, 0);
    PixelList was = All();
    Rect oldBox = pic.SelectionRect();
    ClickAt({2, 25}, ShiftCtrl);
    PointSet want = Box(30, 20, 33, 23);
    for (auto p : Box(0, 22, 8, 29)) want.insert(p);
    EXPECT_EQ(Selected(), want);
    EXPECT_FALSE(MarksLeft());
    ExpectUndoneExactly(was, oldBox);

    Use(cuts.draw);
    was = All();
    oldBox = pic.SelectionRect();
    Freehand(triangle);
    EXPECT_EQ(Selected(), inside);
    EXPECT_FALSE(MarksLeft());
    PixelList colours = All();
    for (int i = 0; i < W * H; ++i) EXPECT_EQ(colours[size_t(i)] & 0x00FFFFFF, was[size_t(i)] & 0x00FFFFFF) << i;
    ExpectUndoneExactly(was, oldBox);

    Use(cuts.poly);
    for (TPoint p : triangle) ClickAt(p);
    EXPECT_EQ(Selected(), inside);
    EXPECT_FALSE(MarksLeft());
    ASSERT_TRUE(pic.HasSelection());
    was = All();
    // Alt over a part of it: the box shrinks to what is left.
    Use(cuts.draw);
    Freehand({{5, 2}, {30, 2}, {30, 10}, {5, 10}, {5, 2}}, ShiftAlt);
    EXPECT_FALSE(MarksLeft());
    for (auto p : Selected()) EXPECT_GT(p.second, 10);
    EXPECT_EQ(pic.selMinY, 11);
    ExpectUndoneExactly(was, Rect{10, 4, 24, 18});
}

TEST_F(CutToolsTest, ShapesAndWandCutBrushesOfTheRegionWithALeastUsedKey)
{
    Mode(true);
    Use(cuts.draw);
    Freehand({{10, 4}, {24, 4}, {17, 18}, {10, 4}});
    EXPECT_EQ(CurrentTool, &PenBrushTools().penDisc);
    EXPECT_EQ(All(), before) << "the picture's step is taken back";
    EXPECT_EQ(BrushState.originX, 10);
    EXPECT_EQ(BrushState.originY, 4);
    ASSERT_EQ(CurrentBrush.Width(), 15);
    int painting = 0;
    for (int y = 0; y < CurrentBrush.Height(); ++y)
        for (int x = 0; x < CurrentBrush.Width(); ++x) {
            unsigned long b = *CurrentBrush.At(x, y);
            if (b == KeyPixel) continue;
            ++painting;
            EXPECT_EQ(b, before[size_t((y + 4) * W + x + 10)]);
            EXPECT_NE(b, BrushState.keyColour);
        }
    EXPECT_GT(painting, 50);

    // Every red in the region, red 7 the rarest, and no red-7 pixel with
    // green 0: the key is (7, 0, 0). The wand takes everything at 765.
    Picture(256, 2);
    for (int x = 0; x < 256; ++x) {
        *pic.At(x, 0) = unsigned(x) << 16 | 0x0100;
        *pic.At(x, 1) = x == 7 ? 0x00000000u : unsigned(x) << 16 | 0x0200;
    }
    Use(cuts.wand);
    cuts.wand.tolerance = 765;
    SetOptionValue(0, 765);
    ClickAt({100, 0});
    EXPECT_EQ(BrushState.keyColour, 0x070000u);
    EXPECT_EQ(CurrentBrush.Width(), 256);

    // The right button erases the region and keeps the step for it.
    Picture(40, 30);
    pic.Box(Rect{5, 5, 9, 9}, 0x00777777);
    Use(cuts.wand);
    SetOptionValue(0, 0);
    ClickAt({6, 6}, ShiftRight);
    PixelList want = before;
    for (auto p : Box(5, 5, 9, 9)) want[size_t(p.second * W + p.first)] = Back;
    EXPECT_EQ(All(), want);
    EXPECT_EQ(CurrentBrush.Width(), 5);
    EXPECT_EQ(*CurrentBrush.At(0, 0), 0x00777777u);
    ASSERT_TRUE(UDBuffer::Undo(&pic, false));
    EXPECT_EQ(All(), before);
}

TEST_F(CutToolsTest, OutOfMemoryTakesTheBrushBackWithItsStamp)
{
    Mode(true);
    SetBrush({"#.", ".#"}, HandleCentre);
    Buffer oldBrush;
    oldBrush.Alloc(Pair<int>{2, 2});
    oldBrush.Copy(CurrentBrush, Pair<int>{0, 0}, 0xFFFFFFFF);
    PixelList oldStamp(StampBuffer.pixels, StampBuffer.pixels + 4);
    PaintKitHost.warpCursor = [](int, int) { throw EOutOfMemory(); };
    Use(cuts.box);
    Drag({2, 2}, {8, 8});
    ASSERT_EQ(undo.messages.size(), 1u);
    EXPECT_EQ(undo.messages[0].text, Translate("BrTooBig").c_str());
    ASSERT_EQ(CurrentBrush.Width(), 2);
    EXPECT_EQ(PixelList(CurrentBrush.pixels, CurrentBrush.pixels + 4), PixelList(oldBrush.pixels, oldBrush.pixels + 4));
    ASSERT_EQ(StampBuffer.Width(), 2);
    EXPECT_EQ(PixelList(StampBuffer.pixels, StampBuffer.pixels + 4), oldStamp);
    EXPECT_EQ(CurrentBrush.undoHead, nullptr);
    EXPECT_EQ(CurrentTool, &pen);
    EXPECT_EQ(All(), before);
}

TEST(FixedCutSize, StepsKeepTheRatioAndNeverReachZero)
{
    struct Case {
        const char* what;
        FixedCutSize from;
        bool grow;
        int w, h;
    } cases[] = {
        {"grow 10 x 4 at 0.4", {10, 4, 0.4}, true, 11, 4},
        {"grow stops at the picture's width", {20, 4, 0.2}, true, 20, 4},
        {"grow stops at the picture's height", {5, 10, 2}, true, 5, 10},
        {"shrink the taller side", {4, 10, 2.5}, false, 4, 9},
        {"shrink rounds half up", {8, 3, 0.3125}, false, 7, 2},
        {"shrink never rounds a side to 0", {3, 2, 0.01}, false, 2, 1},
        {"shrink a tall side never to width 0", {2, 3, 100}, false, 1, 2},
        {"ratio 0 is taken from the sides", {6, 3, 0}, false, 5, 3},
        {"shrink needs both sides above 1", {1, 5, 5}, false, 1, 5},
    };
    for (const Case& c : cases) {
        FixedCutSize s = c.grow ? GrowFixedCut(c.from, 20, 10) : ShrinkFixedCut(c.from);
        EXPECT_EQ(s.width, c.w) << c.what;
        EXPECT_EQ(s.height, c.h) << c.what;
    }
}

TEST_F(CutToolsTest, SizeKeysChangeTheFixedRectangleOnlyWhileItIsCurrent)
{
    RunCutRectKey(ImageKey::CutRectWider);
    EXPECT_EQ(cuts.resize.width, 416);
    Use(cuts.resize);
    EXPECT_EQ(GetOptionValue(1), 416);
    SetOptionValue(1, 10);
    SetOptionValue(2, 4);
    CutSizeChangedByHand();
    EXPECT_DOUBLE_EQ(cuts.resize.ratio, 0.4);
    RunCutRectKey(ImageKey::CutRectLarger);
    EXPECT_EQ(GetOptionValue(1), 11);
    EXPECT_EQ(GetOptionValue(2), 4);
    EXPECT_DOUBLE_EQ(cuts.resize.ratio, 0.4);
    SetOptionValue(1, 1);
    RunCutRectKey(ImageKey::CutRectNarrower);
    EXPECT_EQ(GetOptionValue(1), 1);
    RunCutRectKey(ImageKey::CutRectHigher);
    EXPECT_EQ(GetOptionValue(2), 5);
    EXPECT_DOUBLE_EQ(cuts.resize.ratio, 5.0);

    // A press cuts the fixed size there, clipped to the picture.
    ClickAt({36, 20});
    EXPECT_EQ(Selected(), Box(36, 20, 36, 24));
    HalveCutSize();
    DoubleCutSize();
    EXPECT_EQ(GetOptionValue(1), 2);
    EXPECT_EQ(GetOptionValue(2), 4);
    ResetCutSize();
    SelectTool(&pen, true, -1);
    EXPECT_EQ(cuts.resize.width, 416);
    EXPECT_EQ(cuts.resize.height, 312);
}

}  // namespace
