// Turning pictures: the box sizes, quarter turns against the permutations
// they must be, and any angle against a reference of the mapping written
// here: each destination pixel centre turned back around the centres, with
// the whole-pixel translation, and sampled nearest.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "rotate_geometry.h"

namespace {

const unsigned long Bg = 0x00123456;

Buffer Numbered(int w, int h)
{
    Buffer b;
    b.Alloc(Pair<int>{w, h});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) *b.At(x, y) = 0x00010000u * unsigned(x + 1) + unsigned(y + 1);
    return b;
}

// Counter-clockwise quarter turns of src, as a viewer sees them.
unsigned long QuarterTurned(Buffer& src, int turns, int x, int y)
{
    int w = src.Width(), h = src.Height();
    switch (turns) {
    case 1: return *src.At(w - 1 - y, x);
    case 2: return *src.At(w - 1 - x, h - 1 - y);
    default: return *src.At(y, h - 1 - x);
    }
}

TEST(RotateGeometry, BoxOfTheTurnedPicture)
{
    const struct {
        int w, h;
        double degrees;
        int bw, bh;
    } cases[] = {
        {100, 50, 30, 111, 93}, {5, 5, 45, 7, 7}, {1, 1, 45, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.degrees);
        EXPECT_EQ(RotatedBrushWidth(c.w, c.h, c.degrees * RadiansPerDegree), c.bw);
        EXPECT_EQ(RotatedBrushHeight(c.w, c.h, c.degrees * RadiansPerDegree), c.bh);
    }
    // Angles are refused by the tool; a box beyond 16384 pixels here.
    int w = 0, h = 0;
    EXPECT_EQ(CheckPictureTurn(12000, 12000, 45, false, w, h), TurnCheck::TooLarge);
    EXPECT_EQ(CheckPictureTurn(12000, 12000, 45, true, w, h), TurnCheck::Ok);
}

TEST(RotateGeometry, QuarterTurnsArePermutations)
{
    // Odd sides catch a centre rounded the wrong way: a lost row or column
    // and a background line instead.
    const struct {
        int w, h, degrees;
    } cases[] = {{4, 2, 90}, {4, 2, 180}, {4, 2, 270}, {3, 2, 90}, {2, 3, 90}, {3, 2, 270},
                 {2, 3, 270}, {3, 3, 180}, {5, 2, -90}, {1, 4, 90}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " at " << c.degrees);
        Buffer src = Numbered(c.w, c.h), out;
        TurnPicture(src, out, c.degrees, false, Bg, false);
        int turns = ((c.degrees / 90) % 4 + 4) % 4;
        ASSERT_EQ(out.Width(), turns == 2 ? c.w : c.h);
        ASSERT_EQ(out.Height(), turns == 2 ? c.h : c.w);
        for (int y = 0; y < out.Height(); ++y)
            for (int x = 0; x < out.Width(); ++x) ASSERT_EQ(*out.At(x, y), QuarterTurned(src, turns, x, y)) << x << "," << y;
    }
}

TEST(RotateGeometry, KeepingTheSizeLeavesTheUncoveredBackground)
{
    Buffer src = Numbered(4, 2), out;
    TurnPicture(src, out, 90, true, Bg, false);
    ASSERT_EQ(out.Width(), 4);
    ASSERT_EQ(out.Height(), 2);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(*out.At(0, y), Bg);
        EXPECT_EQ(*out.At(3, y), Bg);
        // The middle of the turned 2x4 picture: its rows 1 and 2.
        for (int x = 1; x <= 2; ++x) EXPECT_EQ(*out.At(x, y), QuarterTurned(src, 1, x - 1, y + 1));
    }
}

// Where the reference puts destination pixel (x, y): the source pixel, or
// -1 outside the (inset) source.
struct Sample {
    double sx, sy;
    bool inside;
};

Sample Reference(int w, int h, int bw, int bh, double degrees, int x, int y)
{
    double a = degrees * 3.14159265358979323846 / 180, c = std::cos(a), s = std::sin(a);
    // Forward, a source point (u, v) lands at (c u + s v, -s u + c v) + t;
    // t takes the source centre to the box centre, in whole pixels.
    double tx = std::round(bw / 2.0 - (c * w / 2.0 + s * h / 2.0));
    double ty = std::round(bh / 2.0 - (-s * w / 2.0 + c * h / 2.0));
    double px = x + 0.5 - tx, py = y + 0.5 - ty;
    Sample r{c * px - s * py, s * px + c * py, false};
    r.inside = r.sx >= 0.05 && r.sx <= w - 0.05 && r.sy >= 0.05 && r.sy <= h - 0.05;
    return r;
}

TEST(RotateGeometry, AnyAngleMatchesTheReferenceMapping)
{
    for (double degrees : {30.0, -30.0, 137.5}) {
        SCOPED_TRACE(degrees);
        const int w = 37, h = 23;
        Buffer src = Numbered(w, h), out;
        TurnPicture(src, out, degrees, false, Bg, false);
        int bw = out.Width(), bh = out.Height(), differ = 0;
        for (int y = 0; y < bh; ++y)
            for (int x = 0; x < bw; ++x) {
                Sample r = Reference(w, h, bw, bh, degrees, x, y);
                unsigned long want = r.inside ? *src.At(int(r.sx), int(r.sy)) : Bg;
                unsigned long got = *out.At(x, y);
                if (got == want) continue;
                ++differ;
                // Only where the reference lies within a hair of a pixel's
                // edge may fixed point and floating point part ways, and
                // then to a neighbour or the background.
                bool neighbour = got == Bg;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        int nx = int(std::floor(r.sx)) + dx, ny = int(std::floor(r.sy)) + dy;
                        if (nx >= 0 && nx < w && ny >= 0 && ny < h && *src.At(nx, ny) == got) neighbour = true;
                    }
                EXPECT_TRUE(neighbour) << x << "," << y;
            }
        EXPECT_LE(differ, bw * bh / 100);
    }
}

}  // namespace
