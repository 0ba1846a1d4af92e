// The view's drawing without a window: into a DIB section, with the GDI calls
// recorded (and refused where a test says so).
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "gdi_recorder.h"
#include "render_fixture.h"

namespace {

std::vector<RECT> Whole(const Screen& s)
{
    return {RECT{0, 0, s.width, s.height}};
}

void Render(Screen& s, const Buffer& pic, ViewZoom z, std::vector<RECT> rects)
{
    BITMAPV4HEADER h = BlankViewHeader();
    RenderRects(s.dc, pic, rects, z, h);
}

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pic.Alloc(Pair<int>{37, 23});
        FillPositions(pic);
    }
    Buffer pic;
};

}  // namespace

TEST_F(RenderTest, OneToOneIsTheSourceAndBlackBeyond)
{
    Screen s(50, 30);
    Render(s, pic, ViewZoom{1, 1}, Whole(s));
    ExpectNearest(s, pic, 1);
}

TEST_F(RenderTest, IntegerZoomsAreNearestNeighbour)
{
    for (int n : {2, 3, 5}) {
        Screen s(37 * n + 4, 23 * n + 3);
        Render(s, pic, ViewZoom{n, 1}, Whole(s));
        ExpectNearest(s, pic, n);
    }
}

TEST_F(RenderTest, FractionalZoomsKeepBlocksAligned)
{
    for (ViewZoom z : {ViewZoom{1, 2}, ViewZoom{3, 4}, ViewZoom{2, 3}, ViewZoom{1, 5}, ViewZoom{5, 3},
                       ViewZoom{1, 1000}, ViewZoom{65535, 1}, ViewZoom{65535, 65534}}) {
        Screen s(70, 45);
        Render(s, pic, z, Whole(s));
        ExpectBlocks(s, pic, z);
    }
}

TEST_F(RenderTest, APictureOfWholeBlocksFillsItsExtentExactly)
{
    Buffer even;
    even.Alloc(Pair<int>{36, 24});
    FillPositions(even);
    Screen s(30, 20);
    Render(s, even, ViewZoom{3, 4}, Whole(s));
    ExpectBlocks(s, even, ViewZoom{3, 4});
    EXPECT_NE(0u, s.At(26, 17));
    EXPECT_EQ(0u, s.At(27, 17));
    EXPECT_EQ(0u, s.At(26, 18));
}

// Whole blocks are drawn, so a zoomed draw may spill up to a block beyond its
// rectangle (the paint DC clips it in a window); it never draws anything else.
TEST_F(RenderTest, OnlyTheGivenRectanglesAreDrawn)
{
    for (ViewZoom z : {ViewZoom{1, 1}, ViewZoom{3, 1}, ViewZoom{2, 3}}) {
        Screen full(60, 40), part(60, 40);
        Render(full, pic, z, Whole(full));
        RECT r1{5, 7, 19, 20}, r2{30, 2, 41, 9};
        Render(part, pic, z, {r1, r2});
        for (int y = 0; y < 40; y++)
            for (int x = 0; x < 60; x++) {
                POINT p{x, y};
                RECT g1{r1.left - z.n, r1.top - z.n, r1.right + z.n, r1.bottom + z.n};
                RECT g2{r2.left - z.n, r2.top - z.n, r2.right + z.n, r2.bottom + z.n};
                if (PtInRect(&r1, p) || PtInRect(&r2, p))
                    ASSERT_EQ(full.At(x, y), part.At(x, y)) << z.n << "/" << z.m << " at " << x << "," << y;
                else if (part.At(x, y) != Untouched) {
                    ASSERT_TRUE((PtInRect(&g1, p) || PtInRect(&g2, p)) && part.At(x, y) == full.At(x, y))
                        << z.n << "/" << z.m << " at " << x << "," << y;
                }
            }
    }
}

TEST_F(RenderTest, AClippedDcShowsExactlyTheRectangles)
{
    Screen full(60, 40), part(60, 40);
    ViewZoom z{3, 1};
    Render(full, pic, z, Whole(full));
    RECT r{31, 2, 41, 9};
    HRGN clip = CreateRectRgnIndirect(&r);
    SelectClipRgn(part.dc, clip);
    DeleteObject(clip);
    Render(part, pic, z, {r});
    for (int y = 0; y < 40; y++)
        for (int x = 0; x < 60; x++) {
            POINT p{x, y};
            ASSERT_EQ(PtInRect(&r, p) ? full.At(x, y) : Untouched, part.At(x, y)) << x << "," << y;
        }
}

TEST_F(RenderTest, AViewWithAWiderStrideShowsItsOwnPixels)
{
    Buffer view;
    view.Alloc(pic, Rect{10, 5, 25, 19}, false);
    ASSERT_GT(view.stride, view.Width());
    Buffer copy;
    copy.Alloc(Pair<int>{view.Width(), view.Height()});
    for (int y = 0; y < view.Height(); y++)
        for (int x = 0; x < view.Width(); x++)
            *copy.At(x, y) = *view.At(view.left + x, view.top + y);
    for (ViewZoom z : {ViewZoom{1, 1}, ViewZoom{2, 1}, ViewZoom{2, 3}}) {
        Screen a(40, 35), b(40, 35);
        Render(a, view, z, Whole(a));
        Render(b, copy, z, Whole(b));
        EXPECT_TRUE(a.SameAs(b)) << z.n << "/" << z.m;
    }
}

TEST_F(RenderTest, NoPixelsOrOverlappingRowsPaintBlack)
{
    Buffer empty;
    Screen s(8, 8);
    Render(s, empty, ViewZoom{1, 1}, {RECT{2, 2, 6, 6}});
    EXPECT_EQ(0u, s.At(3, 3));
    EXPECT_EQ(Untouched, s.At(1, 1));
    Buffer overlapping;
    overlapping.Alloc(Pair<int>{8, 8}, pic.pixels, 4);  // stride below the width
    EXPECT_FALSE(Drawable(overlapping));
    s.Clear();
    Render(s, overlapping, ViewZoom{1, 1}, Whole(s));
    EXPECT_EQ(0u, s.At(7, 7));
}

TEST_F(RenderTest, OneBandPerRectangleAndStretchModeOnlyWhenZoomed)
{
    Screen s(80, 50);
    {
        GdiRecorder rec;
        Render(s, pic, ViewZoom{1, 1}, {RECT{0, 0, 10, 10}, RECT{20, 0, 30, 10}});
        ASSERT_EQ(2u, rec.calls.size());
        EXPECT_FALSE(rec.calls[0].stretch);
        EXPECT_TRUE(rec.stretchModes.empty());
    }
    {
        GdiRecorder rec;
        Render(s, pic, ViewZoom{2, 1}, {RECT{0, 0, 11, 11}});
        ASSERT_EQ(1u, rec.calls.size());
        const GdiCall& c = rec.calls[0];
        EXPECT_TRUE(c.stretch);
        // Whole blocks: screen 0..11 needs blocks 0..5.
        EXPECT_EQ(12, c.dstW);
        EXPECT_EQ(12, c.dstH);
        EXPECT_EQ(6, c.srcW);
        EXPECT_EQ(6, c.srcH);
        EXPECT_EQ(pic.stride, c.header.bV4Width);
        EXPECT_EQ(-6, c.header.bV4Height);
        EXPECT_EQ(32, c.header.bV4BitCount);
        EXPECT_EQ(1, c.header.bV4Planes);
        EXPECT_EQ(DWORD(BI_RGB), c.header.bV4V4Compression);
        ASSERT_EQ(1u, rec.stretchModes.size());
        EXPECT_EQ(COLORONCOLOR, rec.stretchModes[0]);
    }
}

TEST(ChooseRects, StretchPatchDrawsTheVisiblePartOnlyWhenZoomed)
{
    RECT r{1, 1, 2, 2}, visible{0, 0, 40, 30};
    std::vector<RECT> zoomed = ChooseRects(&r, 1, r, ViewZoom{2, 1}, true, visible);
    ASSERT_EQ(1u, zoomed.size());
    EXPECT_TRUE(EqualRect(&visible, &zoomed[0]));
    std::vector<RECT> flat = ChooseRects(&r, 1, r, ViewZoom{1, 1}, true, visible);
    ASSERT_EQ(1u, flat.size());
    EXPECT_TRUE(EqualRect(&r, &flat[0]));
}

namespace {

// A region of `count` separate one-pixel-high rectangles, one every other row.
HRGN Stripes(int count, int width)
{
    std::vector<char> data(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
    RGNDATA* rd = reinterpret_cast<RGNDATA*>(data.data());
    rd->rdh.dwSize = sizeof(RGNDATAHEADER);
    rd->rdh.iType = RDH_RECTANGLES;
    rd->rdh.nCount = count;
    rd->rdh.nRgnSize = count * sizeof(RECT);
    rd->rdh.rcBound = RECT{0, 0, 6 + width, 2 * count};
    RECT* r = reinterpret_cast<RECT*>(rd->Buffer);
    for (int i = 0; i < count; i++)
        r[i] = RECT{i % 7, 2 * i, i % 7 + width, 2 * i + 1};
    return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), rd);
}

int RegionDraws(const Buffer& pic, HRGN rgn, ViewZoom z, Screen& s)
{
    GdiRecorder rec;
    BITMAPV4HEADER h = BlankViewHeader();
    RenderRegion(s.dc, rgn, pic, h, RegionPaint{z, false, RECT{0, 0, s.width, s.height}});
    return static_cast<int>(rec.calls.size());
}

}  // namespace

TEST_F(RenderTest, UpdateRegionOfElevenRectanglesIsOneDraw)
{
    Screen s(40, 40);
    HRGN ten = Stripes(10, 5), eleven = Stripes(11, 5);
    ASSERT_EQ(DWORD(sizeof(RGNDATAHEADER) + 10 * sizeof(RECT)), GetRegionData(ten, 0, nullptr));
    EXPECT_EQ(10, RegionDraws(pic, ten, ViewZoom{1, 1}, s));
    EXPECT_EQ(1, RegionDraws(pic, eleven, ViewZoom{1, 1}, s));
    EXPECT_EQ(10, RegionDraws(pic, ten, ViewZoom{2, 1}, s));
    EXPECT_EQ(1, RegionDraws(pic, eleven, ViewZoom{2, 1}, s));
    DeleteObject(ten);
    DeleteObject(eleven);
}

TEST(RenderRegion, ARegionTooLargeToReadIsDrawnAsItsBox)
{
    Buffer big;
    big.Alloc(Pair<int>{64, 6200});
    FillPositions(big);
    Screen s(64, 6200);
    HRGN many = Stripes(3100, 3);  // 3100 rectangles need more than 48 KB
    ASSERT_GT(GetRegionData(many, 0, nullptr), 0xC000u);
    {
        GdiRecorder rec;
        BITMAPV4HEADER h = BlankViewHeader();
        RenderRegion(s.dc, many, big, h, RegionPaint{ViewZoom{1, 1}, false, RECT{0, 0, 64, 6200}});
        ASSERT_EQ(1u, rec.calls.size());
        EXPECT_EQ(0, rec.calls[0].dstY);
        EXPECT_EQ(2 * 3099 + 1, rec.calls[0].dstH);
    }
    EXPECT_EQ(PositionColour(5, 3001), s.At(5, 3001));  // between two stripes
    DeleteObject(many);
}

TEST(PrepareColour, HeaderCarriesGammaOnlyWithIcmAndGamma)
{
    Screen s(4, 4);
    GdiRecorder rec;
    BITMAPV4HEADER h = BlankViewHeader();
    ViewColour c = {};
    c.endpoints.ciexyzRed.ciexyzX = 0x28F5C28F;
    c.gammaRed = c.gammaGreen = c.gammaBlue = 0x23333;

    c.icm = true;
    c.gamma = true;
    PrepareColour(s.dc, h, c);
    EXPECT_EQ(108u, h.bV4Size);
    EXPECT_EQ(0x23333u, h.bV4GammaGreen);
    EXPECT_EQ(0x28F5C28F, h.bV4Endpoints.ciexyzRed.ciexyzX);

    c.gamma = false;
    PrepareColour(s.dc, h, c);
    EXPECT_EQ(40u, h.bV4Size);

    c.icm = false;
    c.gamma = true;  // gamma needs colour management
    PrepareColour(s.dc, h, c);
    EXPECT_EQ(40u, h.bV4Size);
    EXPECT_EQ((std::vector<int>{ICM_ON, ICM_ON, ICM_OFF}), rec.icmModes);
}

TEST_F(RenderTest, TheDrawCallsGetThePreparedHeader)
{
    Screen s(40, 40);
    GdiRecorder rec;
    BITMAPV4HEADER h = BlankViewHeader();
    ViewColour c = {};
    c.icm = c.gamma = true;
    c.gammaBlue = 0x12345;
    PrepareColour(s.dc, h, c);
    RenderRects(s.dc, pic, Whole(s), ViewZoom{1, 1}, h);
    ASSERT_FALSE(rec.calls.empty());
    EXPECT_EQ(108u, rec.calls[0].header.bV4Size);
    EXPECT_EQ(0x12345u, rec.calls[0].header.bV4GammaBlue);
    EXPECT_EQ(0u, rec.calls[0].header.bV4CSType);
}

static bool Crosses64K(const GdiCall& c)
{
    uintptr_t first = reinterpret_cast<uintptr_t>(c.bits);
    uintptr_t last = first + 4u * c.header.bV4Width * -c.header.bV4Height - 1;
    return first >> 16 != last >> 16;
}

// Drivers that refuse large blocks: the view halves its band, then draws line
// by line in pieces that stay inside 64 KB of pixel memory.
class RefusingDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        // An odd stride in memory of our own, so that 64 KB boundaries fall
        // at every place within the rows and within the blocks.
        memory.resize(697 * 400 + 1);
        pic.Alloc(Pair<int>{696, 400}, memory.data() + 1, 697);
        FillPositions(pic);
    }
    void Compare(ViewZoom z, std::function<bool(const GdiCall&)> refuse, bool exact)
    {
        Screen normal(480, 300), refused(480, 300);
        std::vector<RECT> rects = Whole(normal);
        Render(normal, pic, z, rects);
        GdiRecorder rec;
        rec.refuse = refuse;
        Render(refused, pic, z, rects);
        EXPECT_GT(rec.refused, 0);
        if (exact)
            EXPECT_TRUE(normal.SameAs(refused)) << z.n << "/" << z.m;
        else
            ExpectBlocks(refused, pic, z);
        for (const GdiCall& c : rec.calls)
            EXPECT_FALSE(refuse(c));
        calls = rec.calls;
    }
    std::vector<unsigned long> memory;
    Buffer pic;
    std::vector<GdiCall> calls;
};

TEST_F(RefusingDriver, BandsAreHalvedDownToOneBlockRow)
{
    for (ViewZoom z : {ViewZoom{1, 1}, ViewZoom{2, 1}, ViewZoom{3, 1}, ViewZoom{2, 3}, ViewZoom{1, 2}}) {
        int m = z.m;
        Compare(z, [m](const GdiCall& c) { return -c.header.bV4Height > m; }, true);
    }
}

TEST_F(RefusingDriver, EachRefusalHalvesTheBand)
{
    std::vector<int> refused;
    Compare(ViewZoom{1, 1},
            [&refused](const GdiCall& c) {
                bool no = -c.header.bV4Height > 1;
                if (no)
                    refused.push_back(-c.header.bV4Height);
                return no;
            },
            true);
    EXPECT_EQ((std::vector<int>{300, 150, 75, 37, 18, 9, 4, 2}), refused);
    EXPECT_EQ(300u, calls.size());
}

TEST_F(RefusingDriver, SingleLinesInPiecesBelow64KBoundaries)
{
    for (ViewZoom z : {ViewZoom{1, 1}, ViewZoom{2, 1}, ViewZoom{3, 1}, ViewZoom{2, 3}, ViewZoom{3, 4}}) {
        // Like a driver that cannot take a block across a 64 KB boundary.
        Compare(z, [](const GdiCall& c) { return -c.header.bV4Height > 1 || Crosses64K(c); }, z.m == 1);
        int straddles = 0;
        for (const GdiCall& c : calls) {
            if (-c.header.bV4Height == 1) {
                EXPECT_EQ(0, c.srcX) << "a piece starts at its own first pixel";
            }
            if (z.m > 1 && c.srcW % z.m)
                straddles++;
        }
        if (z.m > 1) {
            EXPECT_GT(straddles, 0) << "no block straddled a boundary at " << z.n << "/" << z.m;
        }
    }
}
