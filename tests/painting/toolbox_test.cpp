// The spray, the airbrush, the clone brush and the colour changer driven
// through the tool-step machine on a 64 x 64 picture, and the grid's
// rounding. The pipette and the grid tools are tried in the started program.
#include <cstdlib>

#include "paintkit_fixture.h"
#include "toolbox_tools.h"

namespace {

const int Side = 64;
const unsigned AltShift = 2;

class ToolBox : public PaintKitTest {
protected:
    ToolBoxSet& box = ToolBoxTools();
    std::vector<unsigned long> before;

    void SetUp() override
    {
        PaintKitTest::SetUp();
        pic.Alloc(Pair<int>{Side, Side});
        Fill([](int, int) { return 0x00808080ul; });
        SetBrush({"#"}, HandleCentre);
        PenBrushTools().resizeSpray.sprayRadius = 20;
        box.spray.intensity = box.airbrush.intensity = 10;
        box.clone.sourceX = box.clone.sourceY = 0;
        box.clone.sourceJustSet = box.clone.repeatOption = 0;
        box.chCol.tolerance = 0;
    }

    template <class F>
    void Fill(F colourAt)
    {
        for (int y = 0; y < Side; ++y)
            for (int x = 0; x < Side; ++x) *pic.At(x, y) = colourAt(x, y);
    }
    std::vector<unsigned long> All() const { return std::vector<unsigned long>(pic.pixels, pic.pixels + Side * Side); }
    unsigned long At(int x, int y) const { return *pic.At(x, y); }

    void Use(P_icon& tool)
    {
        SelectTool(&tool, false, -1);
        Leave();  // no preview in the picture
        before = All();
    }
    void Click(int x, int y, unsigned shift = 0)
    {
        MouseShift = shift;
        Press(x, y);
        Release(x, y);
        MouseShift = 0;
        Leave();  // takes the preview back
    }
    // The pixels that changed, as points.
    std::vector<TPoint> Changed() const
    {
        std::vector<TPoint> out;
        for (int y = 0; y < Side; ++y)
            for (int x = 0; x < Side; ++x)
                if (At(x, y) != before[size_t(y * Side + x)]) out.push_back(TPoint{x, y});
        return out;
    }
};

// ---- spray and airbrush

TEST_F(ToolBox, SprayStepMakesAtMostTwoIMinusOneDabsWithinTheRadiusReproducibly)
{
    struct Case {
        int intensity, radius;
        size_t most;
    };
    for (Case c : {Case{1, 20, 1}, Case{10, 20, 19}, Case{10, 0, 19}}) {
        SCOPED_TRACE(c.intensity * 100 + c.radius);
        Use(box.spray);
        SetOptionValue(1, c.radius);
        SetOptionValue(2, c.intensity);
        std::vector<std::vector<unsigned long>> runs;
        for (int run = 0; run < 2; ++run) {
            std::srand(1);
            Press(32, 32);
            box.spray.Step();
            timer.Advance(300);
            Release(32, 32);
            Leave();
            std::vector<TPoint> dabs = Changed();
            EXPECT_LE(dabs.size(), c.most);
            EXPECT_FALSE(dabs.empty());
            for (TPoint p : dabs) {
                EXPECT_LE(std::abs(p.x - 32), std::max(c.radius, 1));
                EXPECT_LE(std::abs(p.y - 32), std::max(c.radius, 1));
            }
            runs.push_back(All());
            ASSERT_TRUE(UDBuffer::Undo(&pic, false));
            ASSERT_EQ(All(), before);
        }
        EXPECT_EQ(runs[0], runs[1]);
    }
}

TEST_F(ToolBox, AirbrushBlendsOnlyItsDiscEachPixelOnceAndUndoesExactly)
{
    PaintKitHost.foreColour = [] { return 0x00FF0000ul; };
    struct Case {
        int intensity, radius;
        int redLow, redHigh;  // the centre pixel's red after one step
    };
    // f = 36: t 34..38; f = 492 must not turn the weights negative; radius 1
    // walks the centre row twice.
    for (Case c : {Case{10, 10, 144, 146}, Case{200, 10, 255, 255}, Case{10, 1, 144, 146}}) {
        SCOPED_TRACE(c.intensity * 100 + c.radius);
        Use(box.airbrush);
        SetOptionValue(1, c.radius);
        SetOptionValue(2, c.intensity);
        std::srand(3);
        Press(32, 32);
        box.airbrush.Step();
        unsigned long centre = At(32, 32);
        EXPECT_GE(int(centre >> 16), c.redLow);
        EXPECT_LE(int(centre >> 16), c.redHigh);
        if (c.intensity == 10) {
            EXPECT_GE(int(centre & 0xFF), 109);
        }
        for (TPoint p : Changed())
            EXPECT_LE((p.x - 32) * (p.x - 32) + (p.y - 32) * (p.y - 32), c.radius * c.radius + c.radius);
        // The rim is touched lightly.
        if (c.intensity == 10 && c.radius == 10) {
            EXPECT_LE(int(At(32, 22) >> 16), 0x80 + 12);
        }
        timer.Advance(300);
        Release(32, 32);
        Leave();
        ASSERT_TRUE(UDBuffer::Undo(&pic, false));
        EXPECT_EQ(All(), before);
    }
}

TEST_F(ToolBox, AClickIsOneStepAndHoveringLeavesNoTrail)
{
    PaintKitHost.foreColour = [] { return 0x00FF0000ul; };
    Use(box.airbrush);
    SetOptionValue(1, 3);
    Move(10, 10);
    Move(11, 12);
    Leave();
    EXPECT_EQ(All(), before);
    Click(32, 32);
    EXPECT_EQ(ToolPhase, PhaseIdle);
    EXPECT_EQ(pic.modified, 1u);
    EXPECT_LE(int(At(32, 32) >> 16), 146);  // a second step would pass 150
    EXPECT_GE(int(At(32, 32) >> 16), 144);
    box.airbrush.Step();  // the activity timer, with no stroke running
    EXPECT_LE(int(At(32, 32) >> 16), 146);
}

// ---- clone

class Clone : public ToolBox {
protected:
    void SetUp() override
    {
        ToolBox::SetUp();
        Fill([](int x, int y) { return 0x00000000ul | unsigned(x) | unsigned(y) << 8; });
    }
    unsigned long Original(int x, int y) const
    {
        x = std::max(0, std::min(Side - 1, x));
        y = std::max(0, std::min(Side - 1, y));
        return before[size_t(y * Side + x)];
    }
};

TEST_F(Clone, DabsCopyTheSourceAtTheFixedOffsetClampedAtTheEdges)
{
    struct Case {
        TPoint source, first, second;
        int size;
    };
    for (Case c : {Case{{5, 5}, {20, 20}, {30, 10}, 3}, Case{{0, 0}, {10, 10}, {40, 40}, 5}}) {
        SCOPED_TRACE(c.source.x);
        std::vector<std::string> square(size_t(c.size), std::string(size_t(c.size), '#'));
        SetBrush(square, HandleCentre);
        Use(box.clone);
        Click(c.source.x, c.source.y, AltShift);
        EXPECT_EQ(Count(pic.undoHead), 0);  // setting the source changed nothing
        Click(c.first.x, c.first.y);
        Click(c.second.x, c.second.y);
        int ox = c.source.x - c.first.x, oy = c.source.y - c.first.y, h = c.size / 2;
        for (TPoint p : {c.first, c.second})
            for (int y = p.y - h; y <= p.y + h; ++y)
                for (int x = p.x - h; x <= p.x + h; ++x) ASSERT_EQ(At(x, y), Original(x + ox, y + oy)) << x << "," << y;
        EXPECT_EQ(Count(pic.undoHead), 2);
        while (pic.undoHead) UDBuffer::Undo(&pic, false);
        EXPECT_EQ(All(), before);
    }
}

// The stroke copies the picture as it was at the press; with the repeat
// option, its own paint. A spilled press step is read once for the whole
// stroke; one that cannot be read leaves the stroke unpainted, never black.
TEST_F(Clone, SnapshotCopiesThePictureBeforeTheStrokeRepeatCopiesItsOwnPaint)
{
    const struct {
        int repeat;
        bool spilled, unreadable;
    } cases[] = {{0, false, false}, {1, false, false}, {0, true, false}, {0, true, true}};
    for (auto& c : cases) {
        SCOPED_TRACE(c.repeat * 100 + c.spilled * 10 + c.unreadable);
        if (c.spilled) UndoSettings.memKB = 0;
        Use(box.clone);
        SetOptionValue(0, c.repeat);
        Click(5, 10, AltShift);
        undo.folder.failRead = c.unreadable;
        undo.folder.opensForReading = 0;
        Press(10, 10);
        timer.Advance(300);
        for (int x = 11; x <= 30; ++x) Move(x, 10);
        Release(30, 10);
        Leave();
        if (c.spilled) {
            EXPECT_EQ(undo.folder.opensForReading, 2);  // the snapshot, and the crop at the end
        }
        for (int x = 10; x <= 30; ++x) {
            int from = c.repeat ? 5 + (x - 10) % 5 : x - 5;
            ASSERT_EQ(At(x, 10), c.unreadable ? before[size_t(10 * Side + x)] : Original(from, 10)) << x;
        }
        undo.folder.failRead = false;
        Click(40, 40);
        EXPECT_EQ(GetOptionValue(0), c.repeat);  // the check box stays as the user left it
        while (pic.undoHead) UDBuffer::Undo(&pic, false);
    }
}

// ---- colour change

TEST_F(ToolBox, ColourChangeReplacesEveryPixelWithinToleranceAndUndoes)
{
    const unsigned long seed = 0x00123456;
    struct Case {
        int tolerance;
        unsigned long pixel;
        bool changes;
    };
    const Case cases[] = {
        {0, seed, true},         {0, 0x00123457, false},  {30, 0x001C3E60, true},
        {30, 0x001C3E61, false}, {30, 0x00083C4C, true},  {30, seed | 0x02000000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pixel);
        // The seed at a corner, the pixel in three blobs that touch nothing.
        Fill([&](int x, int y) { return x == 0 && y == 0 ? seed : (x % 20 == 10 && y % 30 == 10) ? c.pixel : 0x00808080ul; });
        Use(box.chCol);
        SetOptionValue(0, c.tolerance);
        Click(0, 0);
        EXPECT_EQ(At(0, 0), Fore);
        for (int y = 0; y < Side; ++y)
            for (int x = 0; x < Side; ++x) {
                bool blob = x % 20 == 10 && y % 30 == 10;
                if (x == 0 && y == 0) continue;
                ASSERT_EQ(At(x, y), blob && c.changes ? Fore : before[size_t(y * Side + x)]) << x << "," << y;
            }
        ASSERT_TRUE(UDBuffer::Undo(&pic, false));
        EXPECT_EQ(All(), before);
    }
}

TEST_F(ToolBox, ColourChangeOnAMarkedSeedLeavesNoStep)
{
    Fill([](int, int) { return 0x02123456ul; });
    Use(box.chCol);
    Click(4, 4);
    EXPECT_EQ(All(), before);
    EXPECT_EQ(pic.undoHead, nullptr);
    EXPECT_EQ(pic.modified, 0u);
}

// ---- grid

TEST(SnapToGrid, RoundsToTheNearestGridLineHalfWayUp)
{
    struct Case {
        int spacing, origin, x, snapped;
    };
    const Case cases[] = {
        {8, 0, 3, 0}, {8, 0, 4, 8}, {8, 0, 11, 8}, {8, 0, 12, 16}, {8, 3, 3, 3},
        {8, 3, 6, 3}, {8, 3, 7, 11}, {1, 0, 13, 13}, {0, 0, 13, 13},
    };
    for (const Case& c : cases) {
        GridSettings g;
        g.dx = c.spacing;
        g.px = c.origin;
        g.dy = 5;
        int x = c.x, y = 7;
        SnapToGrid(g, x, y);
        EXPECT_EQ(x, c.snapped) << c.spacing << " " << c.origin << " " << c.x;
        EXPECT_EQ(y, 5);
    }
}

}  // namespace
