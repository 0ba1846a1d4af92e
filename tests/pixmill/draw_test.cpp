// PutPixel, VLine, Box and Rectangle, and the XOR rule over every shape
// (lines included): rubber bands are erased by drawing them again.
#include <gtest/gtest.h>
#include <limits.h>

#include <string>

#include "buffer.h"
#include "draw_fixture.h"

namespace {

const unsigned long Xor = 0x80000000;

struct Shape {
    int kind;  // 0 PutPixel, 1 VLine, 2 Box, 3 Rectangle, 4 Line
    Pair<int> a, b;
};

std::string Describe(const Shape& s)
{
    static const char* names[] = {"PutPixel", "VLine", "Box", "Rectangle", "Line"};
    return std::string(names[s.kind]) + " " + std::to_string(s.a.x) + "," + std::to_string(s.a.y) + " " +
           std::to_string(s.b.x) + "," + std::to_string(s.b.y);
}

void Draw(Buffer& b, const Shape& s, unsigned long colour)
{
    switch (s.kind) {
    case 0: b.PutPixel(s.a, colour); break;
    case 1: b.VLine(s.a.x, s.a.y, s.b.y, colour); break;
    case 2: b.Box(Rect{s.a.x, s.a.y, s.b.x, s.b.y}, colour); break;
    case 3: b.Rectangle(Rect{s.a.x, s.a.y, s.b.x, s.b.y}, colour); break;
    default: b.Line(s.a, s.b, colour); break;
    }
}

// Mostly near the canvas (which starts at near + 10), else far or at the limits.
int RandomCoord(std::mt19937& rng, int64_t near)
{
    static const int far[] = {INT_MIN, INT_MIN + 1, INT_MAX, INT_MAX - 1, -32768, 65535, -100000, 100000};
    switch (rng() % 8) {
    case 0: return far[rng() % 8];
    case 1: return int(rng() % 200001) - 100000;
    default: {
        int64_t v = near + int64_t(rng() % 36);
        return int(v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : v);
    }
    }
}

// Each shape drawn twice in XOR leaves the picture as it was, never writes
// outside the view, and XORed once onto a blank canvas equals the shape
// stored: a pixel touched twice would read 0 there.
void CheckXorShapes(Pair<int> origin, int count, unsigned seed)
{
    std::mt19937 rng(seed);
    Canvas noisy(16, 12, origin), stored(16, 12, origin), xored(16, 12, origin);
    noisy.Noise(rng);
    for (int n = 0; n < count; ++n) {
        Shape s = {int(rng() % 5), {RandomCoord(rng, origin.x - 10LL), RandomCoord(rng, origin.y - 10LL)},
                   {RandomCoord(rng, origin.x - 10LL), RandomCoord(rng, origin.y - 10LL)}};
        unsigned long c = (rng() & 0x7FFFFFFF) | 1;
        std::vector<unsigned long> before = noisy.Snapshot();
        Draw(noisy.view, s, c | Xor);
        ASSERT_TRUE(noisy.GuardIntact()) << Describe(s);
        Draw(noisy.view, s, c | Xor);
        ASSERT_EQ(before, noisy.Snapshot()) << Describe(s);

        stored.Fill(0);
        xored.Fill(0);
        Draw(stored.view, s, c);
        Draw(xored.view, s, c | Xor);
        ASSERT_EQ(stored.Snapshot(), xored.Snapshot()) << Describe(s);
    }
}

// Pixels of the view equal to v, as "x,y" strings for readable failures.
std::vector<std::string> PixelsOf(Canvas& c, unsigned long v)
{
    std::vector<std::string> out;
    for (int y = c.view.top; y <= c.view.bottom; ++y)
        for (int x = c.view.left; x <= c.view.right; ++x)
            if (c.Px(x, y) == v) out.push_back(std::to_string(x) + "," + std::to_string(y));
    return out;
}

std::vector<std::string> PixelsWhere(Canvas& c, bool (*in)(int, int))
{
    std::vector<std::string> out;
    for (int y = c.view.top; y <= c.view.bottom; ++y)
        for (int x = c.view.left; x <= c.view.right; ++x)
            if (in(x, y)) out.push_back(std::to_string(x) + "," + std::to_string(y));
    return out;
}

}  // namespace

TEST(DrawXor, RandomShapesTwiceRestore)
{
    CheckXorShapes(Pair<int>{Canvas::Border, Canvas::Border}, 10000, 1);
}

TEST(DrawXor, RandomShapesAtTheEdgesOfIntRange)
{
    CheckXorShapes(Pair<int>{INT_MAX - 15, INT_MIN}, 1000, 2);
    CheckXorShapes(Pair<int>{INT_MIN, INT_MAX - 11}, 1000, 3);
}

TEST(DrawXor, OnePixelRectangleXorsOnce)
{
    Canvas c(4, 4);
    c.Px(4, 4) = 0x00F0F0F0;
    c.view.Rectangle(Rect{4, 4, 4, 4}, Xor | 0x00FF0000);
    EXPECT_EQ(0x000FF0F0u, c.Px(4, 4));
    EXPECT_EQ(15u, PixelsOf(c, 0).size());
}

TEST(DrawRectangle, OutlineShapes)
{
    Canvas c(12, 10);  // coordinates 3..14, 3..12
    c.view.Rectangle(Rect{4, 5, 9, 10}, 7);
    EXPECT_EQ(PixelsOf(c, 7), PixelsWhere(c, [](int x, int y) {
                  return x >= 4 && x <= 9 && y >= 5 && y <= 10 && (x == 4 || x == 9 || y == 5 || y == 10);
              }));

    c.Fill(0);
    c.view.Rectangle(Rect{4, 5, 9, 6}, 7);  // two rows, no columns between
    EXPECT_EQ(PixelsOf(c, 7), PixelsWhere(c, [](int x, int y) { return x >= 4 && x <= 9 && y >= 5 && y <= 6; }));

    c.Fill(0);
    c.view.Rectangle(Rect{6, 4, 6, 9}, 7 | Xor);  // one column: drawn once
    EXPECT_EQ(PixelsOf(c, 7), PixelsWhere(c, [](int x, int y) { return x == 6 && y >= 4 && y <= 9; }));

    c.Fill(0);
    c.view.Rectangle(Rect{9, 5, 4, 10}, 7);  // empty
    c.view.Rectangle(Rect{4, 10, 9, 5}, 7);
    EXPECT_TRUE(PixelsOf(c, 7).empty());
}

TEST(DrawClip, RunsAndBoxesStayInTheView)
{
    Canvas c(8, 6);  // coordinates 3..10, 3..8
    c.view.VLine(5, 8, 3, 9);
    c.view.VLine(2, 3, 8, 9);
    c.view.VLine(11, INT_MIN, INT_MAX, 9);
    EXPECT_TRUE(PixelsOf(c, 9).empty());

    c.view.VLine(5, INT_MIN, INT_MAX, 9);
    EXPECT_EQ(PixelsOf(c, 9), PixelsWhere(c, [](int x, int) { return x == 5; }));

    c.view.Box(Rect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 4);
    EXPECT_EQ(48u, PixelsOf(c, 4).size());
    EXPECT_TRUE(c.GuardIntact());

    // The view's own coordinates: (3, 3) is its first pixel, (0, 0) lies in the guard.
    c.Fill(0);
    c.view.PutPixel(Pair<int>{3, 3}, 5);
    c.view.PutPixel(Pair<int>{0, 0}, 5);
    c.view.PutPixel(Pair<int>{11, 8}, 5);
    EXPECT_EQ(5u, *c.block.At(3, 3));
    EXPECT_EQ(1u, PixelsOf(c, 5).size());
    EXPECT_TRUE(c.GuardIntact());
}

TEST(DrawClip, EmptyBufferDrawsNothing)
{
    Buffer empty;
    empty.PutPixel(Pair<int>{0, 0}, 1);
    empty.VLine(0, 0, 5, 1);
    empty.Box(Rect{0, 0, 5, 5}, 1);
    empty.Rectangle(Rect{-1, -1, 5, 5}, 1);
    empty.Line(Pair<int>{-1, -1}, Pair<int>{5, 2}, 1);
    EXPECT_EQ(nullptr, empty.pixels);
}
