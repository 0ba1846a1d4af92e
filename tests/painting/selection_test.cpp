#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>

#include "outline_path.h"
#include "pictureview.h"
#include "selection_scale.h"
#include "selection_trace.h"
#include "undo_fixture.h"
#include "picture_document.h"

namespace {

void Fill(Buffer& b, int w, int h, unsigned long v)
{
    b.Alloc(Pair<int>{w, h});
    b.Box(Rect{0, 0, w - 1, h - 1}, v);
}

// The even-odd fill of the path: flips for every vertical unit step, as the
// tracer marks what it encloses.
std::vector<std::vector<int>> ParityFill(const unsigned char* path, int w, int h)
{
    std::vector<std::vector<int>> inside(size_t(h), std::vector<int>(size_t(w), 0));
    std::vector<OutlineContour> contours;
    EXPECT_TRUE(DecodeOutlinePath(path, OutlinePathLength(path), contours));
    for (const OutlineContour& c : contours) {
        int x = c.x, y = c.y;
        for (const OutlineRun& r : c.runs)
            for (int i = 0; i < r.steps; ++i) {
                if (r.dir == DirDown || r.dir == DirUp) {
                    int row = r.dir == DirDown ? y : y - 1;
                    for (int px = 0; px < x; ++px) inside[size_t(row)][size_t(px)] ^= 1;
                    y += r.dir == DirDown ? 1 : -1;
                } else {
                    x += r.dir == DirRight ? 1 : -1;
                }
            }
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
    }
    return inside;
}

size_t ContourCount(const unsigned char* path)
{
    std::vector<OutlineContour> c;
    DecodeOutlinePath(path, OutlinePathLength(path), c);
    return c.size();
}

void Select(Buffer& b, int x, int y) { *b.At(x, y) |= SelectedBit; }

}  // namespace

TEST(TraceSelection, SinglePixelGivesTheDocumentedBytes)
{
    Buffer b;
    Fill(b, 16, 16, 0x123456);
    Select(b, 5, 7);
    unsigned char* path = TraceOutline(b, Rect{0, 0, 15, 15});
    const unsigned char expected[] = {5, 0, 0, 0, 7, 0, 0, 0, 0x20, 0x40, 0x60, 0x00, 0x10, 0xFF, 0xFF, 0xFF, 0xFF};
    ASSERT_EQ(OutlinePathLength(path), sizeof expected);
    EXPECT_EQ(std::memcmp(path, expected, sizeof expected), 0);
    std::free(path);
}

TEST(TraceSelection, HolesIslandsAndCornerContacts)
{
    Buffer b;
    Fill(b, 10, 10, 0);
    for (int y = 1; y <= 5; ++y)
        for (int x = 1; x <= 5; ++x)
            if (x != 3 || y != 3) Select(b, x, y);
    unsigned char* ring = TraceOutline(b, Rect{0, 0, 9, 9});
    EXPECT_EQ(ContourCount(ring), 2u);
    std::free(ring);

    Fill(b, 10, 10, 0);
    Select(b, 1, 1);
    Select(b, 4, 1);
    unsigned char* islands = TraceOutline(b, Rect{0, 0, 9, 9});
    EXPECT_EQ(ContourCount(islands), 2u);
    std::free(islands);

    Fill(b, 10, 10, 0);
    Select(b, 2, 2);
    Select(b, 3, 3);
    unsigned char* corner = TraceOutline(b, Rect{0, 0, 9, 9});
    EXPECT_EQ(ContourCount(corner), 2u);
    std::free(corner);
}

TEST(TraceSelection, EmptySelectionGivesNoPath)
{
    Buffer b;
    Fill(b, 8, 8, 0x00FFFFFF);
    EXPECT_EQ(TraceOutline(b, Rect{0, 0, 7, 7}), nullptr);
    EXPECT_EQ(TraceOutline(b, Rect{65536, 65536, -1, -1}), nullptr);
}

// Random blobs, holes, islands and diagonal contacts: the parity fill of the
// traced outline is exactly the selection, and no pixel keeps a trace mark.
TEST(TraceSelection, RandomMasksRoundTrip)
{
    std::mt19937 rng(1234);
    for (int round = 0; round < 500; ++round) {
        int w = 1 + int(rng() % 64), h = 1 + int(rng() % 64);
        Buffer b;
        b.Alloc(Pair<int>{w, h});
        int density = int(rng() % 100);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                unsigned long v = rng() & 0x00FFFFFF;
                if (int(rng() % 100) < density) v |= SelectedBit;
                *b.At(x, y) = v;
            }
        std::vector<unsigned long> before(b.pixels, b.pixels + w * h);
        unsigned char* path = TraceOutline(b, Rect{0, 0, w - 1, h - 1});
        for (int i = 0; i < w * h; ++i) ASSERT_EQ(b.pixels[i], before[size_t(i)]) << "pixel changed, round " << round;
        bool any = false;
        for (unsigned long v : before) any |= (v & SelectedBit) != 0;
        if (!any) {
            EXPECT_EQ(path, nullptr);
            continue;
        }
        ASSERT_NE(path, nullptr);
        auto inside = ParityFill(path, w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(inside[size_t(y)][size_t(x)] != 0, (*b.At(x, y) & SelectedBit) != 0)
                    << "round " << round << " at " << x << "," << y;
        std::free(path);
    }
}

TEST(TraceSelection, OnlyTheRectangleCounts)
{
    Buffer b;
    Fill(b, 12, 12, SelectedBit);
    unsigned char* path = TraceOutline(b, Rect{2, 3, 5, 4});
    std::vector<OutlineContour> c;
    ASSERT_TRUE(DecodeOutlinePath(path, OutlinePathLength(path), c));
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].x, 2);
    EXPECT_EQ(c[0].y, 3);
    ASSERT_EQ(c[0].runs.size(), 4u);
    EXPECT_EQ(c[0].runs[0].steps, 4);
    EXPECT_EQ(c[0].runs[1].steps, 2);
    std::free(path);
}

TEST(TraceSelection, CheckerboardGrowsThePathBlock)
{
    Buffer b;
    Fill(b, 300, 300, 0);
    for (int y = 0; y < 300; ++y)
        for (int x = (y & 1); x < 300; x += 2) Select(b, x, y);
    unsigned char* path = TraceOutline(b, Rect{0, 0, 299, 299});
    EXPECT_EQ(ContourCount(path), 45000u);
    std::free(path);
}

TEST(TraceSelection, FailedGrowthKeepsWhatWasTracedAndClearsMarks)
{
    Buffer b;
    Fill(b, 300, 300, 0);
    for (int y = 0; y < 300; ++y)
        for (int x = (y & 1); x < 300; x += 2) Select(b, x, y);
    OutlinePathByteLimit = 20000;
    unsigned char* path = TraceOutline(b, Rect{0, 0, 299, 299});
    OutlinePathByteLimit = SIZE_MAX;
    ASSERT_NE(path, nullptr);
    size_t n = ContourCount(path);
    EXPECT_GT(n, 100u);
    EXPECT_LT(n, 45000u);
    for (int i = 0; i < 300 * 300; ++i) ASSERT_EQ(b.pixels[i] & TraceMark, 0u);
    std::free(path);
}

TEST(ScaleOutline, HalfZoomCarriesFractions)
{
    OutlinePathWriter w;
    w.BeginContour(4, 4);
    w.Move(DirRight, 3);
    w.Move(DirDown, 2);
    w.Move(DirLeft, 3);
    w.Move(DirUp, 2);
    unsigned char* path = w.Finish();
    unsigned char* half = ScaleOutline(path, 0.5);
    std::vector<OutlineContour> c;
    ASSERT_TRUE(DecodeOutlinePath(half, OutlinePathLength(half), c));
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].x, 2);
    EXPECT_EQ(c[0].y, 2);
    ASSERT_EQ(c[0].runs.size(), 4u);
    for (const OutlineRun& r : c[0].runs) EXPECT_EQ(r.steps, 1);
    EXPECT_EQ(c[0].runs[2].dir, DirLeft);

    unsigned char* triple = ScaleOutline(path, 3);
    ASSERT_TRUE(DecodeOutlinePath(triple, OutlinePathLength(triple), c));
    EXPECT_EQ(c[0].x, 12);
    EXPECT_EQ(c[0].runs[0].steps, 9);
    EXPECT_EQ(c[0].runs[1].steps, 6);
    std::free(path);
    std::free(half);
    std::free(triple);
}

TEST(ScaleOutline, RunsThatScaleToNothingAreLeftOut)
{
    OutlinePathWriter w;
    w.BeginContour(0, 0);
    w.Move(DirRight, 1);
    w.Move(DirDown, 1);
    w.Move(DirLeft, 1);
    w.Move(DirUp, 1);
    unsigned char* path = w.Finish();
    unsigned char* quarter = ScaleOutline(path, 0.25);
    std::vector<OutlineContour> c;
    ASSERT_TRUE(DecodeOutlinePath(quarter, OutlinePathLength(quarter), c));
    ASSERT_EQ(c.size(), 1u);
    EXPECT_TRUE(c[0].runs.empty());
    std::free(path);
    std::free(quarter);
}

class PictureSelection : public ::testing::Test {
protected:
    UndoTest undo;
    UDBuffer pic;
    std::vector<std::pair<int, int>> plotted;
    std::vector<unsigned long> colours;

    void SetUp() override
    {
        pic.Alloc(Pair<int>{20, 20});
        pic.Box(Rect{0, 0, 19, 19}, 0x00336699);
        for (int y = 5; y < 15; ++y)
            for (int x = 5; x < 15; ++x) *pic.At(x, y) |= SelectedBit;
        pic.selMinX = 5;
        pic.selMaxX = 14;
        pic.selMinY = 5;
        pic.selMaxY = 14;
        PictureViews.antsSurface = [this](UDBuffer*, AntsSurface& s) {
            s.left = 0;
            s.top = 0;
            s.right = 100;
            s.bottom = 100;
            s.plot = [this](int x, int y, unsigned long c) {
                plotted.push_back({x, y});
                colours.push_back(c);
            };
            return true;
        };
    }
    void TearDown() override { PictureViews = PictureViewServices(); }
};

TEST_F(PictureSelection, AntsFollowTheOutlineAndLeaveThePictureAlone)
{
    pic.TraceSelection();
    pic.ScaleSelectionPath();
    std::vector<unsigned long> before(pic.pixels, pic.pixels + 400);
    AntsPhase = 0;
    pic.DrawMarchingAnts(false);
    ASSERT_EQ(plotted.size(), 40u);
    for (size_t i = 0; i < plotted.size(); ++i) {
        int x = plotted[i].first, y = plotted[i].second;
        EXPECT_TRUE(x == 5 || x == 15 || y == 5 || y == 15);
        EXPECT_EQ(colours[i], (x + y) % 12 < 6 ? 0x000000u : 0xFFFFFFu);
    }
    std::vector<unsigned long> firstColours = colours;
    plotted.clear();
    colours.clear();
    pic.DrawMarchingAnts(true);
    EXPECT_EQ(AntsPhase, 1);
    for (size_t i = 0; i < plotted.size(); ++i)
        EXPECT_EQ(colours[i], (plotted[i].first + plotted[i].second + 1) % 12 < 6 ? 0x000000u : 0xFFFFFFu);
    EXPECT_NE(colours, firstColours);
    EXPECT_EQ(std::vector<unsigned long>(pic.pixels, pic.pixels + 400), before);
}

TEST_F(PictureSelection, AntsOutsideTheVisiblePartAreSkipped)
{
    PictureViews.zoom = [](UDBuffer*) { return 4.0; };
    pic.TraceSelection();
    pic.ScaleSelectionPath();
    PictureViews.antsSurface = [this](UDBuffer*, AntsSurface& s) {
        s.left = 30;
        s.top = 0;
        s.right = 50;
        s.bottom = 25;
        s.plot = [this](int x, int y, unsigned long) { plotted.push_back({x, y}); };
        return true;
    };
    pic.DrawMarchingAnts(false);
    // The top edge runs along y = 20 from x = 20 to 60; only 30..49 are visible.
    EXPECT_EQ(plotted.size(), 20u);
    for (auto& p : plotted) {
        EXPECT_GE(p.first, 30);
        EXPECT_LT(p.first, 50);
        EXPECT_EQ(p.second, 20);
    }
}

TEST_F(PictureSelection, DropSelectionRecordsAStepThatBringsItBack)
{
    pic.TraceSelection();
    ASSERT_TRUE(pic.HasSelection());
    ASSERT_TRUE(pic.DropSelection(true));
    EXPECT_FALSE(pic.HasSelection());
    EXPECT_EQ(pic.zoomedOutlinePath, nullptr);
    EXPECT_EQ(pic.selMinX, 65536);
    EXPECT_EQ(pic.selMaxY, -1);
    for (int i = 0; i < 400; ++i) ASSERT_EQ(pic.pixels[i] & SelectedBit, 0u);
    ASSERT_NE(pic.undoHead, nullptr);
    EXPECT_STREQ(pic.undoHead->key.c_str(), "DelSel");
    EXPECT_EQ(pic.undoHead->Width(), 10);
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(*pic.At(5, 5) & SelectedBit, SelectedBit);
    EXPECT_EQ(*pic.At(4, 5) & SelectedBit, 0u);
    EXPECT_EQ(pic.selMinX, 5);
}

TEST_F(PictureSelection, DropSelectionWithoutOutlineRecordsNothing)
{
    ASSERT_TRUE(pic.DropSelection(true));
    EXPECT_EQ(pic.undoHead, nullptr);
}

TEST_F(PictureSelection, DropSelectionKeepsTheSelectionWhenItsStepFails)
{
    pic.TraceSelection();
    undo.folder.allocBudget = 0;
    EXPECT_FALSE(pic.DropSelection(true));
    EXPECT_TRUE(pic.HasSelection());
    EXPECT_EQ(*pic.At(5, 5) & SelectedBit, SelectedBit);
    ASSERT_EQ(undo.messages.size(), 1u);
    EXPECT_EQ(undo.messages[0].caption, "Error");
}

TEST(UDBufferAttributes, CopyAttributesLeavesTheRestAlone)
{
    UDBuffer a, b;
    a.noFile = 1;
    a.modified = 7;
    a.fileName = "C:\\x.png";
    a.imageNumber = 3;
    a.untitledNumber = 9;
    a.selMinX = 1;
    a.selMaxX = 2;
    a.selMinY = 3;
    a.selMaxY = 4;
    a.saveParams.bits = 8;
    b.untitledNumber = 5;
    b.palette = static_cast<unsigned char*>(std::malloc(768));
    unsigned char* palette = b.palette;
    b.CopyAttributes(a);
    EXPECT_EQ(b.noFile, 1);
    EXPECT_EQ(b.modified, 7u);
    EXPECT_STREQ(b.fileName.c_str(), "C:\\x.png");
    EXPECT_EQ(b.imageNumber, 3);
    EXPECT_EQ(b.selMaxY, 4);
    EXPECT_EQ(b.untitledNumber, 5);
    EXPECT_EQ(b.saveParams.bits, 24);
    EXPECT_EQ(b.palette, palette);
}
