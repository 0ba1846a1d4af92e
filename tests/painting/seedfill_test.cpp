// The seed fill against a breadth-first reference written here, on noisy
// pictures, inside clipped views, and where rows wrap.

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include "seedfill.h"

namespace {

// The marked set a plain breadth-first walk finds within the rectangle r.
std::vector<bool> Reference(const Buffer& b, Rect r, int sx, int sy, int tol, bool eight)
{
    int w = b.Width();
    std::vector<bool> in(size_t(w * b.Height()), false);
    unsigned long seed = *b.At(sx, sy);
    auto near = [&](int x, int y) {
        unsigned long p = *b.At(x, y);
        int d = std::abs(int(p >> 16 & 0xFF) - int(seed >> 16 & 0xFF)) +
                std::abs(int(p >> 8 & 0xFF) - int(seed >> 8 & 0xFF)) + std::abs(int(p & 0xFF) - int(seed & 0xFF));
        return d <= tol;
    };
    std::deque<std::pair<int, int>> todo = {{sx, sy}};
    in[size_t(sy * w + sx)] = true;
    while (!todo.empty()) {
        auto [x, y] = todo.front();
        todo.pop_front();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                if ((dx == 0) == (dy == 0) && !(eight && dx && dy)) continue;
                int nx = x + dx, ny = y + dy;
                if (nx < r.left || nx > r.right || ny < r.top || ny > r.bottom) continue;
                if (in[size_t(ny * w + nx)] || !near(nx, ny)) continue;
                in[size_t(ny * w + nx)] = true;
                todo.push_back({nx, ny});
            }
    }
    return in;
}

void Noise(Buffer& b, unsigned seed)
{
    srand(seed);
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x) *b.At(x, y) = (unsigned long)(rand() % 4) * 0x00203010u + 0x00101010u;
}

struct FillCase {
    const char* name;
    Rect view;  // of the 48x40 picture
    int x, y, tolerance;
    bool eight;
};

// Fills view of pic from (x, y) and checks every pixel of pic, and the box
// answered, against the reference.
void ExpectReferenceFill(Buffer& pic, Rect r, int x, int y, int tolerance, bool eight, const std::string& name)
{
    int w = pic.Width(), h = pic.Height();
    std::vector<bool> want = Reference(pic, r, x, y, tolerance, eight);
    Buffer view(pic, r, true);
    Rect box = SeedFill(view, x, y, tolerance, eight);
    Rect wantBox = {w, h, -1, -1};
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px) {
            unsigned long p = *pic.At(px, py);
            bool in = want[size_t(py * w + px)];
            ASSERT_EQ((p & FillMark) != 0, in) << name << " at " << px << "," << py;
            ASSERT_EQ(p & 0xFD000000, 0u) << name << ": flag bits left at " << px << "," << py;
            if (in) wantBox = Rect{std::min(wantBox.left, px), std::min(wantBox.top, py), std::max(wantBox.right, px),
                                   std::max(wantBox.bottom, py)};
        }
    EXPECT_EQ(box.left, wantBox.left) << name;
    EXPECT_EQ(box.top, wantBox.top) << name;
    EXPECT_EQ(box.right, wantBox.right) << name;
    EXPECT_EQ(box.bottom, wantBox.bottom) << name;
}

TEST(SeedFill, MarksTheComponentTheReferenceFinds)
{
    const FillCase cases[] = {
        {"4-connected, exact colour", {0, 0, 47, 39}, 20, 20, 0, false},
        {"8-connected, exact colour", {0, 0, 47, 39}, 20, 20, 0, true},
        {"4-connected, tolerance 100", {0, 0, 47, 39}, 5, 7, 100, false},
        {"8-connected, tolerance 100", {0, 0, 47, 39}, 5, 7, 100, true},
        {"everything within tolerance", {0, 0, 47, 39}, 47, 39, 765, true},
        {"clipped view", {10, 6, 30, 25}, 15, 10, 100, true},
        {"seed at a view corner", {10, 6, 30, 25}, 30, 25, 60, false},
    };
    for (const FillCase& c : cases) {
        Buffer pic;
        pic.Alloc(Pair<int>{48, 40});
        Noise(pic, 7);
        ExpectReferenceFill(pic, c.view, c.x, c.y, c.tolerance, c.eight, c.name);
    }
}

// Many small pictures of few colours (long runs, holes, runs that end
// together or overhang each other), in random views: the shapes a walk
// over runs gets wrong at its turns.
TEST(SeedFill, SmallRandomPicturesMatchTheReference)
{
    srand(26);
    for (int i = 0; i < 3000; ++i) {
        int w = 1 + rand() % 14, h = 1 + rand() % 12, colours = 2 + rand() % 2;
        Buffer pic;
        pic.Alloc(Pair<int>{w, h});
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) *pic.At(x, y) = (unsigned long)(rand() % colours) * 0x00100C08u;
        Rect r;
        r.left = rand() % w;
        r.top = rand() % h;
        r.right = r.left + rand() % (w - r.left);
        r.bottom = r.top + rand() % (h - r.top);
        int x = r.left + rand() % (r.right - r.left + 1), y = r.top + rand() % (r.bottom - r.top + 1);
        int tolerance = rand() % 3 ? 0 : 40;
        bool eight = rand() % 2;
        ExpectReferenceFill(pic, r, x, y, tolerance, eight, "picture " + std::to_string(i));
        if (HasFatalFailure()) return;
    }
}

// A checkerboard: 4-connected takes the seed alone, 8-connected every cell
// of its colour; a diagonal across the row wrap joins nothing.
TEST(SeedFill, CheckerboardAndRowWrap)
{
    Buffer pic;
    pic.Alloc(Pair<int>{8, 8});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) *pic.At(x, y) = (x + y) % 2 ? 0x00FFFFFFu : 0;
    Buffer copy;
    copy.Alloc(Pair<int>{8, 8});
    copy.Copy(pic, Pair<int>{0, 0}, 0xFFFFFFFF);
    auto count = [](Buffer& b) {
        int n = 0;
        for (int i = 0; i < 64; ++i) n += (b.pixels[i] & FillMark) != 0;
        return n;
    };
    SeedFill(pic, 2, 2, 0, false);
    EXPECT_EQ(count(pic), 1);
    SeedFill(copy, 2, 2, 0, true);
    EXPECT_EQ(count(copy), 32);

    // Black only at the right end of row 0 and the left end of row 1:
    // neighbours in memory, not in the picture.
    Buffer wrap;
    wrap.Alloc(Pair<int>{8, 3});
    wrap.Box(wrap.GetRect(), 0x00FFFFFF);
    *wrap.At(7, 0) = 0;
    *wrap.At(0, 1) = 0;
    SeedFill(wrap, 7, 0, 0, true);
    EXPECT_EQ(*wrap.At(0, 1), 0u);
}

TEST(SeedFill, SeedOutsideTheViewOrMarkedMarksNothing)
{
    Buffer pic;
    pic.Alloc(Pair<int>{4, 4});
    pic.Box(pic.GetRect(), 0x00102030);
    Buffer view(pic, Rect{1, 1, 2, 2}, true);
    EXPECT_GT(SeedFill(view, 0, 0, 0, false).left, SeedFill(view, 0, 0, 0, false).right);
    *pic.At(1, 1) |= FillMark;
    Rect box = SeedFill(view, 1, 1, 0, false);
    EXPECT_GT(box.left, box.right);
    EXPECT_EQ(*pic.At(2, 2), 0x00102030u);
}

}  // namespace
