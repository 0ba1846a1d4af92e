// Copy (plain, keyed, between views of one block), Swap and CopyLine.
#include <gtest/gtest.h>
#include <limits.h>

#include <string>

#include "buffer.h"
#include "draw_fixture.h"

namespace {

const unsigned long NoKey = 0xFFFFFFFF;
const unsigned long Key = 0x01FF00FF;

bool Contains(const Buffer& b, int64_t x, int64_t y)
{
    return x >= b.left && x <= b.right && y >= b.top && y <= b.bottom;
}

// The block after dst.Copy(src, pos, key) where src and dst are views of one
// block: every source pixel is read as it was before the copy began.
std::vector<unsigned long> CopyFromSnapshot(const Buffer& block, const std::vector<unsigned long>& before,
                                            const Buffer& dst, const Buffer& src, Pair<int> pos, unsigned long key)
{
    std::vector<unsigned long> out = before;
    for (int y = dst.top; y <= dst.bottom; ++y)
        for (int x = dst.left; x <= dst.right; ++x) {
            int64_t sx = int64_t(x) - pos.x, sy = int64_t(y) - pos.y;
            if (!Contains(src, sx, sy)) continue;
            unsigned long v = before[size_t(src.At(int(sx), int(sy)) - block.pixels)];
            if (key == NoKey || v != key) out[size_t(dst.At(x, y) - block.pixels)] = v;
        }
    return out;
}

// Noise with about one pixel in four set to Key.
void KeyedNoise(Buffer& b, std::mt19937& rng)
{
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x) *b.At(x, y) = rng() % 4 ? rng() : Key;
}

std::string Case(Pair<int> d, unsigned long key)
{
    return "shift " + std::to_string(d.x) + "," + std::to_string(d.y) + (key == NoKey ? " no key" : " keyed");
}

}  // namespace

TEST(CopyOverlap, ShiftedOntoItself)
{
    std::mt19937 rng(21);
    Buffer b;
    b.Alloc({20, 16});
    for (unsigned long key : {NoKey, Key})
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                KeyedNoise(b, rng);
                std::vector<unsigned long> before(b.pixels, b.pixels + 320);
                b.Copy(b, {dx, dy}, key);
                std::vector<unsigned long> after(b.pixels, b.pixels + 320);
                ASSERT_EQ(CopyFromSnapshot(b, before, b, b, {dx, dy}, key), after) << Case({dx, dy}, key);
            }
}

TEST(CopyOverlap, BetweenViewsOfOneBlock)
{
    std::mt19937 rng(22);
    Buffer b;
    b.Alloc({20, 16});
    for (unsigned long key : {NoKey, Key})
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                // Rebased views: both start at (0, 0) but lie one pixel apart.
                Buffer src(b, Rect{2, 2, 15, 11}, false), dst(b, Rect{2 + dx, 2 + dy, 15 + dx, 11 + dy}, false);
                KeyedNoise(b, rng);
                std::vector<unsigned long> before(b.pixels, b.pixels + 320);
                dst.Copy(src, {0, 0}, key);
                std::vector<unsigned long> after(b.pixels, b.pixels + 320);
                ASSERT_EQ(CopyFromSnapshot(b, before, dst, src, {0, 0}, key), after) << Case({dx, dy}, key);

                // Views that keep the block's coordinates, copied with an offset.
                Buffer ksrc(b, Rect{3, 1, 17, 13}, true), kdst(b, Rect{1, 2, 18, 14}, true);
                KeyedNoise(b, rng);
                before.assign(b.pixels, b.pixels + 320);
                kdst.Copy(ksrc, {dx, dy}, key);
                after.assign(b.pixels, b.pixels + 320);
                ASSERT_EQ(CopyFromSnapshot(b, before, kdst, ksrc, {dx, dy}, key), after) << Case({dx, dy}, key);
            }
}

TEST(Copy, ClipsAndKeepsPixelsUnderTheKey)
{
    std::mt19937 rng(23);
    Buffer src;
    src.Alloc({7, 5});
    Canvas dst(10, 8);  // coordinates 3..12, 3..10
    const Pair<int> positions[] = {{0, 0},       {3, 3},       {-5, 4},          {8, 9},       {12, 10},
                                   {-6, -4},     {INT_MAX, 0}, {INT_MIN, INT_MIN}, {0, INT_MAX}, {INT_MAX - 3, 5}};
    for (unsigned long key : {NoKey, Key})
        for (Pair<int> pos : positions) {
            KeyedNoise(src, rng);
            dst.Noise(rng);
            Canvas expected(10, 8);
            for (int y = 3; y <= 10; ++y)
                for (int x = 3; x <= 12; ++x) {
                    unsigned long v = dst.Px(x, y);
                    int64_t sx = int64_t(x) - pos.x, sy = int64_t(y) - pos.y;
                    if (Contains(src, sx, sy) && (key == NoKey || *src.At(int(sx), int(sy)) != key))
                        v = *src.At(int(sx), int(sy));
                    expected.Px(x, y) = v;
                }
            dst.view.Copy(src, pos, key);
            ASSERT_EQ(expected.Snapshot(), dst.Snapshot()) << Case(pos, key);
        }

    // All key but one pixel: only that pixel lands.
    dst.Fill(5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) *src.At(x, y) = Key;
    *src.At(2, 1) = 9;
    dst.view.Copy(src, {3, 3}, Key);
    Canvas expected(10, 8);
    expected.Fill(5);
    expected.Px(5, 4) = 9;
    EXPECT_EQ(expected.Snapshot(), dst.Snapshot());

    Buffer empty;
    dst.view.Copy(empty, {3, 3}, NoKey);
    empty.Copy(dst.view, {0, 0}, NoKey);
    EXPECT_EQ(expected.Snapshot(), dst.Snapshot());
}

TEST(Swap, ExchangesTheCommonRectOnly)
{
    std::mt19937 rng(24);
    Canvas a(8, 6), b(6, 9, Pair<int>{7, 1});  // a: 3..10 x 3..8, b: 7..12 x 1..9
    a.Noise(rng);
    b.Noise(rng);
    std::vector<unsigned long> a0 = a.Snapshot(), b0 = b.Snapshot();
    a.view.Swap(b.view);
    int swapped = 0;
    for (int y = 1; y <= 9; ++y)
        for (int x = 3; x <= 12; ++x) {
            bool inA = a.Inside(x, y), inB = b.Inside(x, y);
            if (inA && inB) {
                ++swapped;
                EXPECT_EQ(a0[size_t(a.view.At(x, y) - a.block.pixels)], b.Px(x, y));
                EXPECT_EQ(b0[size_t(b.view.At(x, y) - b.block.pixels)], a.Px(x, y));
            } else if (inA) {
                EXPECT_EQ(a0[size_t(a.view.At(x, y) - a.block.pixels)], a.Px(x, y));
            } else if (inB) {
                EXPECT_EQ(b0[size_t(b.view.At(x, y) - b.block.pixels)], b.Px(x, y));
            }
        }
    EXPECT_EQ(24, swapped);
    EXPECT_TRUE(a.GuardIntact() && b.GuardIntact());

    std::vector<unsigned long> a1 = a.Snapshot();
    Buffer empty;
    a.view.Swap(a.view);
    a.view.Swap(empty);
    empty.Swap(a.view);
    EXPECT_EQ(a1, a.Snapshot());
}

TEST(CopyLine, CopiesTheWalkedSourcePixels)
{
    std::mt19937 rng(25);
    Canvas src(20, 15), dst(12, 10, Pair<int>{0, 0});
    for (int n = 0; n < 1500; ++n) {
        src.Noise(rng);
        dst.Fill(0);
        Pair<int> p1 = {int(rng() % 40) - 8, int(rng() % 30) - 6};
        Pair<int> p2 = {int(rng() % 40) - 8, int(rng() % 30) - 6};
        if (n % 5 == 0) p2.x = p1.x;
        if (n % 5 == 1) p2.y = p1.y;
        Pair<int> off = {int(rng() % 31) - 15, int(rng() % 31) - 15};
        if (n % 50 == 2) off = {INT_MAX, INT_MIN};

        Canvas expected(12, 10, Pair<int>{0, 0});
        ReferenceWalk(p1, p2, [&](int64_t x, int64_t y) {
            if (src.Inside(x, y) && expected.Inside(x + off.x, y + off.y))
                expected.Px(int(x + off.x), int(y + off.y)) = src.Px(int(x), int(y));
        });
        dst.view.CopyLine(src.view, p1, p2, off);
        ASSERT_EQ(expected.Snapshot(), dst.Snapshot())
            << p1.x << "," << p1.y << " to " << p2.x << "," << p2.y << " by " << off.x << "," << off.y;
    }
}
