// The paint kit: stamp spacing and hot spots, the XOR figures and their
// erasing, recolouring by paint mode, the shapes, the work view, trimming,
// scaling and turning the brush, and the undo crop.

#include <cmath>
#include <map>
#include <set>

#include "exceptions.h"
#include "paintkit_fixture.h"
#include "undo_entry.h"

namespace {

class PaintKit : public PaintKitTest {
protected:
    void SetUp() override
    {
        PaintKitTest::SetUp();
        pic.Box(pic.GetRect(), 0);
    }

    std::vector<int> PaintedColumns(int y)
    {
        std::vector<int> xs;
        for (int x = 0; x < 20; ++x)
            if (*pic.At(x, y) == Fore) xs.push_back(x);
        return xs;
    }

    std::set<std::pair<int, int>> Changed(unsigned long background = 0)
    {
        std::set<std::pair<int, int>> s;
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x)
                if (*pic.At(x, y) != background) s.insert({x, y});
        return s;
    }
};

TEST_F(PaintKit, LineStampsByItsSpacingAndCarriesThePhaseOn)
{
    SetBrush({"#"}, HandleCentre);
    EXPECT_DOUBLE_EQ(StampBrushLine(0, 0, 3, 0, 1, 1), 1.0);
    EXPECT_EQ(PaintedColumns(0), (std::vector<int>{0, 1, 2, 3}));

    EXPECT_DOUBLE_EQ(StampBrushLine(0, 1, 10, 1, 2.5, 1), 2.5);
    EXPECT_EQ(PaintedColumns(1), (std::vector<int>{0, 3, 5, 8, 10}));

    // The shared point is walked twice, as the curve does it.
    double phase = StampBrushLine(0, 2, 3, 2, 2.5, 1);
    StampBrushLine(3, 2, 6, 2, 2.5, phase + 1);
    EXPECT_EQ(PaintedColumns(2), (std::vector<int>{0, 3, 5}));
}

TEST_F(PaintKit, LineInvalidatesItsBoxWidenedByTheStampOnce)
{
    SetBrush({"###.", "####", "####"}, HandleCentre);
    invalidated.clear();
    StampBrushLine(5, 4, 9, 6, 1, 1);
    ASSERT_EQ(invalidated.size(), 1u);
    Rect r = invalidated[0];
    // (5 - 2, 4 - 1) to (9 + 4 - 2, 6 + 3 - 1), one view pixel more around.
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.top, 2);
    EXPECT_EQ(r.right, 12);
    EXPECT_EQ(r.bottom, 9);
}

TEST_F(PaintKit, HotSpotOffsetsOfA4x3Stamp)
{
    struct {
        unsigned char handle;
        int x, y;
    } cases[] = {{HandleCentre, 2, 1},
                 {HandleLeftTop, 0, 0},
                 {HandleRightTop, 3, 0},
                 {HandleRightBottom, 3, 2},
                 {HandleLeftBottom, 0, 2}};
    for (auto c : cases) {
        TPoint o = HotSpotOf(4, 3, c.handle);
        EXPECT_EQ(o.x, c.x) << int(c.handle);
        EXPECT_EQ(o.y, c.y) << int(c.handle);
    }
}

TEST_F(PaintKit, OutlineRectangleMarksEachEdgePixelOnceAndErasesItself)
{
    for (int w = 1; w <= 6; ++w)
        for (int h = 1; h <= 6; ++h) {
            DrawOutlineRect(2 + w - 1, 1 + h - 1, 2, 1);  // corners given in either order
            for (int y = 0; y < 10; ++y)
                for (int x = 0; x < 20; ++x) {
                    bool inside = x >= 2 && x < 2 + w && y >= 1 && y < 1 + h;
                    bool edge = inside && (x == 2 || x == 1 + w || y == 1 || y == h);
                    ASSERT_EQ(*pic.At(x, y), edge ? 0x008F8F8Fu : 0u) << w << "x" << h << " at " << x << "," << y;
                }
            DrawOutlineRect(2, 1, 2 + w - 1, 1 + h - 1);
            ASSERT_TRUE(Changed().empty()) << w << "x" << h;
        }
}

TEST_F(PaintKit, GuidesCrossThePictureAndEraseThemselves)
{
    DrawGuides(7, 3);
    auto marked = Changed();
    EXPECT_EQ(marked.size(), 10u + 20u - 2u);  // the crossing is XORed by both lines
    EXPECT_FALSE(marked.count({7, 3}));
    EXPECT_TRUE(marked.count({7, 9}) && marked.count({19, 3}) && marked.count({0, 3}) && marked.count({7, 0}));
    DrawGuides(7, 3);
    EXPECT_TRUE(Changed().empty());
}

TEST_F(PaintKit, OutlinePixelGoesIntoTheWorkViewAndIsInvalidated)
{
    zoom = 2;
    PlotOutlinePixel(4, 6);
    EXPECT_EQ(*pic.At(4, 6), 0x008F8F8Fu);
    ASSERT_FALSE(invalidated.empty());
    EXPECT_EQ(invalidated.back().left, 7);
    EXPECT_EQ(invalidated.back().top, 11);
    EXPECT_EQ(invalidated.back().right, 11);
    EXPECT_EQ(invalidated.back().bottom, 15);
    PlotOutlinePixel(4, 6);
    EXPECT_TRUE(Changed().empty());
}

// Canvas lines leave out their end point, as LineTo does.
class CanvasRecorder {
public:
    std::map<std::pair<int, int>, int> hits;
    void Line(int x1, int y1, int x2, int y2)
    {
        int dx = (x2 > x1) - (x2 < x1), dy = (y2 > y1) - (y2 < y1);
        for (int x = x1, y = y1; x != x2 || y != y2; x += dx, y += dy) ++hits[{x, y}];
    }
};

TEST_F(PaintKit, CanvasRectangleDrawsEachOutlinePixelOnce)
{
    CanvasRecorder canvas;
    PaintKitHost.canvasXorLine = [&](int x1, int y1, int x2, int y2) { canvas.Line(x1, y1, x2, y2); };
    zoom = 2;
    DrawCanvasRect(3, 2, 1, 1);
    // (1, 1)-(3, 2) at zoom 2 covers view pixels (2, 2)-(7, 5).
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            bool edge = x >= 2 && x <= 7 && y >= 2 && y <= 5 && (x == 2 || x == 7 || y == 2 || y == 5);
            auto it = canvas.hits.find({x, y});
            EXPECT_EQ(it == canvas.hits.end() ? 0 : it->second, edge ? 1 : 0) << x << "," << y;
        }
    canvas.hits.clear();
    zoom = 1;
    DrawCanvasRect(4, 1, 4, 3);  // one column: a line with both ends
    EXPECT_EQ(canvas.hits.size(), 3u);
}

TEST_F(PaintKit, CrosshairRunsThroughThePixelCentre)
{
    std::vector<Rect> lines;
    PaintKitHost.canvasXorLine = [&](int x1, int y1, int x2, int y2) { lines.push_back(Rect{x1, y1, x2, y2}); };
    zoom = 4;
    DrawCrosshair(3, 2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].left, 14);   // 3 * 4 + 2
    EXPECT_EQ(lines[0].bottom, 40); // the picture's height in view pixels
    EXPECT_EQ(lines[1].top, 10);
    EXPECT_EQ(lines[1].right, 80);
    invalidated.clear();
    InvalidateCrosshair(3, 2);
    ASSERT_EQ(invalidated.size(), 2u);
    EXPECT_EQ(invalidated[0].left, 13);
    EXPECT_EQ(invalidated[0].right, 16);
}

TEST_F(PaintKit, RecolouringFollowsModeAndButton)
{
    const unsigned long own = 0x00445566, key = 0x00777777;
    CurrentBrush.Alloc(Pair<int>{2, 1});
    CurrentBrush.pixels[0] = own;
    CurrentBrush.pixels[1] = KeyPixel;
    BrushState.pictureBrush = 1;
    BrushState.keyColour = key;
    struct {
        unsigned char mode;
        bool right;
        unsigned long painted, keyed;
    } cases[] = {{PaintModeP, false, own, KeyPixel}, {PaintModeC, false, Fore, KeyPixel},
                 {PaintModeR, false, own, key},      {PaintModeP, true, Back, KeyPixel},
                 {PaintModeC, true, Back, KeyPixel}, {PaintModeR, true, Back, Back}};
    for (auto c : cases) {
        BrushState.paintMode = c.mode;
        RecolorBrush(c.right);
        EXPECT_EQ(StampBuffer.pixels[0], c.painted) << int(c.mode) << c.right;
        EXPECT_EQ(StampBuffer.pixels[1], c.keyed) << int(c.mode) << c.right;
    }
    EXPECT_EQ(CurrentBrush.pixels[0], own);  // the master keeps its colours
}

TEST_F(PaintKit, BuiltInBrushPaintsOnlyInModeC)
{
    SetBrush({"#"}, HandleCentre);
    BrushState.pictureBrush = 0;
    SetPaintModeP();
    SetPaintModeR();
    EXPECT_EQ(BrushState.paintMode, PaintModeC);
    BrushState.pictureBrush = 1;
    SetPaintModeR();
    EXPECT_EQ(BrushState.paintMode, PaintModeR);
    EXPECT_EQ(statusTexts.back(), "0:R");
}

TEST_F(PaintKit, PointAtAngle)
{
    TPoint p = PointAtAngle(4, 5, 4, 5, 30, 10);
    EXPECT_EQ(p.x, 4);
    EXPECT_EQ(p.y, 5);
    p = PointAtAngle(0, 0, 10, 0, 90, 5);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 5);
    TPoint a = PointAtAngle(0, 0, 10, 0, -30, 10), b = PointAtAngle(0, 0, 10, 0, 30, 10);
    EXPECT_EQ(a.x, 8);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, -b.y);
    EXPECT_EQ(b.y, 4);  // 10 sin 30 degrees is a hair below 5, truncated
}

TEST_F(PaintKit, CircleOutlineIsSymmetricAndErasesItself)
{
    DrawCircleOutline(10, 5, 0, OutlineColour);
    EXPECT_TRUE(Changed().empty());
    DrawCircleOutline(10, 5, 4, OutlineColour);
    auto marked = Changed();
    for (auto p : marked) {
        int dx = p.first - 10, dy = p.second - 5;
        for (auto q : {std::make_pair(-dx, dy), std::make_pair(dx, -dy), std::make_pair(dy, dx)})
            EXPECT_TRUE(marked.count({10 + q.first, 5 + q.second})) << dx << "," << dy;
    }
    // Points shared by two octants are marked, not XORed away.
    for (auto q : {std::make_pair(10, 1), std::make_pair(10, 9), std::make_pair(6, 5), std::make_pair(14, 5)})
        EXPECT_TRUE(marked.count(q));
    DrawCircleOutline(10, 5, 4, OutlineColour);
    EXPECT_TRUE(Changed().empty());
}

TEST_F(PaintKit, FilledEllipseCoversItsRowsSymmetrically)
{
    FillEllipse(10, 5, 6, 4, Fore);
    auto covered = Changed();
    for (auto p : covered) {
        EXPECT_TRUE(p.first >= 4 && p.first <= 16 && p.second >= 1 && p.second <= 9) << p.first << "," << p.second;
        EXPECT_TRUE(covered.count({20 - p.first, p.second}));
    }
    for (int y = 1; y <= 9; ++y) EXPECT_EQ(*pic.At(10, y), Fore) << y;
    EXPECT_EQ(*pic.At(4, 5), Fore);
    // Far past the radius where the samples stop doubling.
    FillEllipse(10, 5, 100000, 100000, Back);
    EXPECT_TRUE(Changed(Back).empty());
}

TEST_F(PaintKit, FilledCircleIsTwiceTheRadiusPlusOneWide)
{
    for (int r = 0; r <= 4; ++r) {
        pic.Box(pic.GetRect(), 0);
        FillCircle(pic, 9, 4, Fore, r);
        auto covered = Changed();
        int minX = 99, maxX = -1, minY = 99, maxY = -1;
        for (auto p : covered) {
            minX = std::min(minX, p.first);
            maxX = std::max(maxX, p.first);
            minY = std::min(minY, p.second);
            maxY = std::max(maxY, p.second);
        }
        EXPECT_EQ(maxX - minX + 1, 2 * r + 1);
        EXPECT_EQ(maxY - minY + 1, 2 * r + 1);
        EXPECT_EQ(minX, 9 - r);
    }
}

TEST_F(PaintKit, CurveCropsTheUndoStepToWhatItTouched)
{
    SetBrush({"##.", ".##"}, HandleRightBottom);
    pic.Box(pic.GetRect(), 0x00101010);
    auto before = Pixels();
    ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Curve", nullptr, -1, 0, 0, 0));
    StampBrushCurve(TPoint{3, 2}, TPoint{9, 9}, TPoint{16, 3}, 1.5, 2);
    UndoEntry* step = pic.undoHead;
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->left, std::max(0, DirtyRect.left - 2));
    EXPECT_EQ(step->top, std::max(0, DirtyRect.top - 1));
    EXPECT_EQ(step->right, std::min(19, DirtyRect.right));
    EXPECT_EQ(step->bottom, std::min(9, DirtyRect.bottom));
    EXPECT_FALSE(step->whole);
    EXPECT_NE(Pixels(), before);
    ASSERT_TRUE(UDBuffer::Undo(&pic, false));
    EXPECT_EQ(Pixels(), before);
}

TEST_F(PaintKit, DottedCurveErasesItself)
{
    DottedCurve(TPoint{1, 1}, TPoint{10, 12}, TPoint{18, 2}, 2, 4);
    EXPECT_FALSE(Changed().empty());
    DottedCurve(TPoint{1, 1}, TPoint{10, 12}, TPoint{18, 2}, 2, 4);
    EXPECT_TRUE(Changed().empty());
}

// An operation that touched nothing leaves its step out instead of cropping
// it to an inverted rectangle.
TEST_F(PaintKit, CropWithNothingTouchedDropsTheStep)
{
    SetBrush({"#"}, HandleCentre);
    ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Pen", nullptr, -1, 0, 0, 0));
    ResetDirtyRect();
    CropUndoToBrush();
    EXPECT_EQ(pic.undoHead, nullptr);
    EXPECT_EQ(CheckUndoInvariants(undo.folder, {&pic}), "");
}

TEST_F(PaintKit, WorkViewCoversTheVisiblePartInPictureCoordinates)
{
    pic.Alloc(Pair<int>{100, 60});
    PaintKitHost.visibleArea = [](ViewArea& a) {
        a = ViewArea{30, 10, 100, 80};
        return true;
    };
    zoom = 2;
    Clipping = true;
    SetVisibleClip();
    EXPECT_EQ(WorkView.left, 15);
    EXPECT_EQ(WorkView.top, 5);
    EXPECT_EQ(WorkView.right, 64);
    EXPECT_EQ(WorkView.bottom, 44);
    EXPECT_EQ(WorkView.At(20, 7), pic.At(20, 7));
    Clipping = false;
    SetVisibleClip();
    EXPECT_EQ(WorkView.left, 0);
    EXPECT_EQ(WorkView.right, 99);
    EXPECT_EQ(WorkView.bottom, 59);
}

TEST_F(PaintKit, StampsOutsideTheVisiblePartCostNothing)
{
    SetBrush({"#"}, HandleCentre);
    PaintKitHost.visibleArea = [](ViewArea& a) {
        a = ViewArea{0, 0, 5, 5};
        return true;
    };
    Clipping = true;
    StampBrushLine(0, 0, 19, 0, 1, 1);
    EXPECT_EQ(PaintedColumns(0), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(PaintKit, RegionIsRestoredOnlyIntoThePictureItCameFrom)
{
    SaveRegion(2, 2, 4, 4);
    pic.Box(pic.GetRect(), Fore);
    UDBuffer other;
    other.Alloc(Pair<int>{20, 10});
    other.Box(other.GetRect(), Fore);
    CurrentPicture = &other;
    RestoreRegion(2, 2, 4, 4);
    EXPECT_EQ(*other.At(3, 3), Fore);
    CurrentPicture = &pic;
    RestoreRegion(4, 4, 2, 2);
    EXPECT_EQ(Changed(Fore).size(), 9u);
}

TEST_F(PaintKit, TrimmingKeepsTheBrushWhereItWasOnScreen)
{
    SetBrush({"....", ".##.", "...."}, HandleCentre);
    OptimBrush = true;
    MousePoint = TPoint{10, 5};
    OptimiseBrush();
    EXPECT_EQ(CurrentBrush.Width(), 2);
    EXPECT_EQ(CurrentBrush.Height(), 1);
    ASSERT_EQ(warps.size(), 1u);
    // The painted pixel that was at (9, 5) is still there under the pointer.
    EXPECT_EQ(warps[0].x - HotSpotOf(2, 1, HandleCentre).x, 9);
    EXPECT_EQ(warps[0].y, 5);
    EXPECT_EQ(*StampBuffer.At(0, 0), Fore);
}

// A brush with no painted pixel (taken from a picture all in the
// background colour) would trim to nothing.
TEST_F(PaintKit, TrimmingLeavesAnUnpaintedBrushAlone)
{
    SetBrush({"...", "..."}, HandleCentre);
    OptimBrush = true;
    OptimiseBrush();
    EXPECT_EQ(CurrentBrush.Width(), 3);
    EXPECT_EQ(CurrentBrush.Height(), 2);
    EXPECT_TRUE(warps.empty());
}

TEST_F(PaintKit, ScalingStretchesAndMirrorsTheBrush)
{
    SetBrush({"#."}, HandleCentre);
    BrushState.keyColour = 0x00FEFEFE;
    ScaleBrush(2, 2);
    ASSERT_EQ(CurrentBrush.Width(), 4);
    ASSERT_EQ(CurrentBrush.Height(), 2);
    EXPECT_EQ(*CurrentBrush.At(1, 1), 0x00ABCDEFu);
    EXPECT_EQ(*CurrentBrush.At(2, 0), KeyPixel);
    ScaleBrush(-1, 1);
    EXPECT_EQ(*CurrentBrush.At(0, 0), KeyPixel);
    EXPECT_EQ(*CurrentBrush.At(3, 0), 0x00ABCDEFu);
    EXPECT_EQ(*StampBuffer.At(3, 0), Fore);
}

TEST_F(PaintKit, BrushScaledToOneKeyPixelPaintsTheDrawingColour)
{
    SetBrush({"#.", ".."}, HandleCentre);
    ScaleBrush(0.5, 0.5);
    ASSERT_EQ(CurrentBrush.Width(), 1);
    EXPECT_EQ(CurrentBrush.pixels[0], Fore);
    // A factor that rounds to no pixel still leaves one.
    SetBrush({"###", "###"}, HandleCentre);
    ScaleBrush(0.01, 0.01);
    EXPECT_EQ(CurrentBrush.Width(), 1);
    EXPECT_EQ(CurrentBrush.Height(), 1);
}

TEST_F(PaintKit, TurningAQuarterSwapsTheSides)
{
    SetBrush({"##."}, HandleCentre);
    TransformBrush(90);
    EXPECT_EQ(CurrentBrush.Width(), 1);
    EXPECT_EQ(CurrentBrush.Height(), 3);
    int painted = 0;
    for (int y = 0; y < 3; ++y) painted += *CurrentBrush.At(0, y) != KeyPixel;
    EXPECT_EQ(painted, 2);
}

TEST_F(PaintKit, BadNumbersAreRefused)
{
    SetBrush({"#"}, HandleCentre);
    EXPECT_THROW(StampBrushLine(0, 0, 5, 0, std::nan(""), 1), ERangeError);
    EXPECT_THROW(ScaleBrush(std::nan(""), 1), ERangeError);
    EXPECT_THROW(ScaleBrush(1e9, 1), ERangeError);
    EXPECT_THROW(TransformBrush(INFINITY), ERangeError);
    EXPECT_THROW(FillEllipse(5, 5, 1 << 25, 3, Fore), ERangeError);
    EXPECT_THROW(DrawCircleOutline(5, 5, 1 << 25, Fore), ERangeError);
    EXPECT_EQ(CurrentBrush.Width(), 1);
    EXPECT_TRUE(Changed().empty());
    // A spacing far beyond any picture is held at a bound.
    StampBrushLine(0, 0, 5, 0, 1e30, 1);
    EXPECT_EQ(PaintedColumns(0).size(), 1u);
}

}  // namespace
