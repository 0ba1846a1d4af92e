// Line: the pixels of the accumulator walk, and clipping that draws exactly
// the part of the whole line inside the buffer.
#include <gtest/gtest.h>
#include <limits.h>

#include <set>
#include <utility>

#include "buffer.h"
#include "draw_fixture.h"

namespace {

using Pixels = std::set<std::pair<int64_t, int64_t>>;

// Drawn in XOR onto a blank canvas: a pixel touched twice reads 0 and goes missing.
Pixels DrawLine(Canvas& c, Pair<int> p1, Pair<int> p2)
{
    c.Fill(0);
    c.view.Line(p1, p2, 0x80000001);
    Pixels out;
    for (int j = 0; j < c.view.Height(); ++j) {
        const unsigned long* row = c.Row(j);
        for (int i = 0; i < c.view.Width(); ++i)
            if (row[i] == 1) out.insert({int64_t(c.view.left) + i, int64_t(c.view.top) + j});
    }
    EXPECT_TRUE(c.GuardIntact());
    return out;
}

Pixels WalkInside(const Canvas& c, Pair<int> p1, Pair<int> p2)
{
    Pixels out;
    ReferenceWalk(p1, p2, [&](int64_t x, int64_t y) {
        if (c.Inside(x, y)) out.insert({x, y});
    });
    return out;
}

// Pixel i of the walk, i steps along the major axis, has moved
// (start + i * step) >> 32 along the minor one; evaluated only at the
// canvas's own columns (or rows), so lines 2^32 long cost nothing.
Pixels ClosedFormInside(const Canvas& c, Pair<int> p1, Pair<int> p2)
{
    int64_t dx = int64_t(p2.x) - p1.x, dy = int64_t(p2.y) - p1.y;
    int64_t ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
    bool yMajor = ax < ay;
    int64_t major = yMajor ? ay : ax, minor = yMajor ? ax : ay;
    uint64_t start = 0x80000000, step = 0;
    if (minor == major) {
        start = 0xFFFFFFFE;
        step = 0xFFFFFFFF;
    } else if (minor) {
        step = (uint64_t(minor) << 32) / uint64_t(major);
    }
    int64_t a1 = yMajor ? p1.y : p1.x, b1 = yMajor ? p1.x : p1.y;
    int sa = (yMajor ? dy : dx) < 0 ? -1 : 1, sb = (yMajor ? dx : dy) < 0 ? -1 : 1;
    int64_t lo = yMajor ? c.view.top : c.view.left, hi = yMajor ? c.view.bottom : c.view.right;
    Pixels out;
    for (int64_t a = lo; a <= hi; ++a) {
        int64_t i = (a - a1) * sa;
        if (i < 0 || i > major) continue;
        int64_t b = b1 + (minor ? sb * int64_t((start + uint64_t(i) * step) >> 32) : 0);
        int64_t x = yMajor ? b : a, y = yMajor ? a : b;
        if (c.Inside(x, y)) out.insert({x, y});
    }
    return out;
}

int Near(std::mt19937& rng, int64_t from, int span)
{
    int64_t v = from + int64_t(rng() % unsigned(span));
    return int(v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : v);
}

std::string Show(Pair<int> p1, Pair<int> p2)
{
    return std::to_string(p1.x) + "," + std::to_string(p1.y) + " to " + std::to_string(p2.x) + "," +
           std::to_string(p2.y);
}

}  // namespace

TEST(Line, KnownLines)
{
    Canvas c(10, 10, Pair<int>{0, 0});

    Pixels shallow = DrawLine(c, {0, 0}, {9, 3});
    ASSERT_EQ(10u, shallow.size());
    std::set<int64_t> columns;
    for (const auto& p : shallow) columns.insert(p.first);
    EXPECT_EQ(10u, columns.size());
    EXPECT_TRUE(shallow.count({0, 0}) && shallow.count({9, 3}));

    EXPECT_EQ((Pixels{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}), DrawLine(c, {0, 0}, {5, 5}));

    Pixels through = DrawLine(c, {-100, -40}, {109, 43});
    EXPECT_FALSE(through.empty());
    EXPECT_EQ(WalkInside(c, {-100, -40}, {109, 43}), through);

    EXPECT_TRUE(DrawLine(c, {-5, 0}, {-1, 9}).empty());        // wholly left
    EXPECT_TRUE(DrawLine(c, {-20, 12}, {13, -12}).empty());    // passes the corner outside
    EXPECT_EQ((Pixels{{4, 7}}), DrawLine(c, {4, 7}, {4, 7}));  // a point
}

TEST(Line, MatchesTheReferenceWalkInAllOctants)
{
    std::mt19937 rng(11);
    Canvas c(32, 24);
    for (int n = 0; n < 1000; ++n) {
        Pair<int> p1 = {Near(rng, c.view.left, 32), Near(rng, c.view.top, 24)};
        Pair<int> p2 = {Near(rng, c.view.left, 32), Near(rng, c.view.top, 24)};
        Pixels fwd = DrawLine(c, p1, p2);
        ASSERT_EQ(WalkInside(c, p1, p2), fwd) << Show(p1, p2);
        ASSERT_EQ(size_t(std::max(std::abs(p2.x - p1.x), std::abs(p2.y - p1.y)) + 1), fwd.size()) << Show(p1, p2);
        ASSERT_EQ(WalkInside(c, p2, p1), DrawLine(c, p2, p1)) << Show(p2, p1);
        // Keeps the closed form honest for the huge-coordinate test below.
        ASSERT_EQ(fwd, ClosedFormInside(c, p1, p2)) << Show(p1, p2);
    }
}

TEST(Line, ClippedLineIsTheWholeLineCropped)
{
    std::mt19937 rng(12);
    Canvas at0(10, 10, Pair<int>{0, 0}), view(10, 10);
    for (Canvas* c : {&at0, &view}) {
        for (int n = 0; n < 30; ++n) {
            // Far ends, half of them aimed through the canvas.
            Pair<int> p1 = {int(rng() % 200001) - 100000, int(rng() % 200001) - 100000};
            Pair<int> p2 = {int(rng() % 200001) - 100000, int(rng() % 200001) - 100000};
            if (n % 2) {
                Pair<int> q = {Near(rng, c->view.left, 10), Near(rng, c->view.top, 10)};
                int64_t t = rng() % 1001;
                p2 = {int(q.x + (q.x - int64_t(p1.x)) * t / 1000), int(q.y + (q.y - int64_t(p1.y)) * t / 1000)};
            }
            ASSERT_EQ(WalkInside(*c, p1, p2), DrawLine(*c, p1, p2)) << Show(p1, p2);
        }
        for (int n = 0; n < 500; ++n) {
            Pair<int> p1 = {Near(rng, c->view.left - 30, 70), Near(rng, c->view.top - 30, 70)};
            Pair<int> p2 = {Near(rng, c->view.left - 30, 70), Near(rng, c->view.top - 30, 70)};
            ASSERT_EQ(WalkInside(*c, p1, p2), DrawLine(*c, p1, p2)) << Show(p1, p2);
        }
    }
}

TEST(Line, HugeCoordinatesClipExactly)
{
    std::mt19937 rng(13);
    Canvas low(10, 10), high(10, 10, Pair<int>{INT_MAX - 9, INT_MIN}), top(12, 7, Pair<int>{INT_MIN, INT_MAX - 6}),
        corner(10, 10, Pair<int>{INT_MAX - 9, INT_MAX - 9});
    // Lines 2^32 - 1 long: the accumulator's last carries fall short of p2.
    const Pair<int> ends[][2] = {
        {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}}, {{INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}},
        {{INT_MIN, INT_MIN + 1}, {INT_MAX, INT_MAX}}, {{INT_MIN, 0}, {INT_MAX, INT_MAX}},
        {{INT_MAX, INT_MIN}, {INT_MIN + 1, INT_MAX}}, {{0, INT_MIN}, {INT_MAX, INT_MAX}},
    };
    for (Canvas* c : {&low, &high, &top, &corner})
        for (const auto& e : ends) {
            Pixels drawn = DrawLine(*c, e[0], e[1]);
            ASSERT_EQ(ClosedFormInside(*c, e[0], e[1]), drawn) << Show(e[0], e[1]);
        }
    EXPECT_EQ((Pixels{{INT_MAX - 9, INT_MAX - 9}, {INT_MAX - 8, INT_MAX - 8}, {INT_MAX - 7, INT_MAX - 7},
                      {INT_MAX - 6, INT_MAX - 6}, {INT_MAX - 5, INT_MAX - 5}, {INT_MAX - 4, INT_MAX - 4},
                      {INT_MAX - 3, INT_MAX - 3}, {INT_MAX - 2, INT_MAX - 2}, {INT_MAX - 1, INT_MAX - 1},
                      {INT_MAX, INT_MAX - 1}}),
              DrawLine(corner, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}));

    for (Canvas* c : {&low, &high, &top, &corner}) {
        auto coord = [&](int64_t near) {
            static const int limits[] = {INT_MIN, INT_MIN + 1, INT_MAX, INT_MAX - 1, -32768, 65535};
            switch (rng() % 3) {
            case 0: return limits[rng() % 6];
            case 1: return int(rng());
            default: return Near(rng, near - 5, 20);
            }
        };
        for (int n = 0; n < 1000; ++n) {
            Pair<int> p1 = {coord(c->view.left), coord(c->view.top)};
            Pair<int> p2 = {coord(c->view.left), coord(c->view.top)};
            ASSERT_EQ(ClosedFormInside(*c, p1, p2), DrawLine(*c, p1, p2)) << Show(p1, p2);
        }
    }
}
