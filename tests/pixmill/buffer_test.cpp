// Ownership, allocation and views of Buffer.
#include <gtest/gtest.h>
#include <stdint.h>

#include <random>

#include "buffer.h"
#include "exceptions.h"
#include "heapstats.h"

static void ExpectEmpty(const Buffer& b)
{
    EXPECT_EQ(nullptr, b.pixels);
    EXPECT_EQ(0, b.stride);
    EXPECT_EQ(0, b.left);
    EXPECT_EQ(0, b.top);
    EXPECT_EQ(-1, b.right);
    EXPECT_EQ(-1, b.bottom);
}

static void Fill(Buffer& b)
{
    for (int y = b.top; y <= b.bottom; y++)
        for (int x = b.left; x <= b.right; x++) *b.At(x, y) = unsigned(y) << 16 | unsigned(x);
}

TEST(Buffer, ImpossibleSizesGiveAnEmptyBufferAndFreeTheOldBlock)
{
    int base = PixmillLiveBlocks();
    Buffer b;
    ExpectEmpty(b);
    for (Pair<int> size : {Pair<int>{0, 5}, Pair<int>{5, -1}, Pair<int>{-3, -3}}) {
        b.Alloc({7, 3});
        EXPECT_EQ(base + 1, PixmillLiveBlocks());
        b.Alloc(size);
        ExpectEmpty(b);
        EXPECT_EQ(base, PixmillLiveBlocks());
    }
}

TEST(Buffer, AllocSetsRectStrideAndAlignment)
{
    Buffer b;
    b.Alloc({13, 7});
    EXPECT_EQ(13, b.stride);
    EXPECT_EQ(0, b.left);
    EXPECT_EQ(0, b.top);
    EXPECT_EQ(12, b.right);
    EXPECT_EQ(6, b.bottom);
    EXPECT_TRUE(b.own == 0 || b.own == -1);
    EXPECT_EQ(0u, uintptr_t(b.pixels) % 8);
}

TEST(Buffer, ManySizesAreAllEightByteAlignedAndAllFreed)
{
    int base = PixmillLiveBlocks();
    std::mt19937 rng(1);
    std::vector<Buffer> buffers(200);
    for (int i = 0; i < 10000; i++) {
        Buffer& b = buffers[i % buffers.size()];
        b.Alloc({1 + int(rng() % 300), 1 + int(rng() % 300)});
        ASSERT_EQ(0u, uintptr_t(b.pixels) % 8);
        b.pixels[b.Width() * b.Height() - 1] = 1;  // the last pixel is inside the block
    }
    buffers.clear();
    EXPECT_EQ(base, PixmillLiveBlocks());
}

TEST(Buffer, SizesBeyondTheAddressSpaceRaiseOutOfMemory)
{
    int base = PixmillLiveBlocks();
    Buffer b;
    b.Alloc({4, 4});
    // 65536 x 65537 wraps to 65536 pixels in 32-bit arithmetic.
    for (Pair<int> size : {Pair<int>{65536, 65537}, Pair<int>{46341, 46341}, Pair<int>{0x7FFFFFFF, 0x7FFFFFFF},
                           Pair<int>{1 << 29, 1}}) {
        EXPECT_THROW(b.Alloc(size), EOutOfMemory);
        ExpectEmpty(b);
    }
    EXPECT_EQ(base, PixmillLiveBlocks());
}

TEST(Buffer, AssignmentMovesOwnershipAndLeavesTheSourceAView)
{
    int base = PixmillLiveBlocks();
    Buffer a;
    a.Alloc({10, 4});
    Fill(a);
    unsigned long* px = a.pixels;
    Buffer b;
    b = a;
    EXPECT_EQ(px, a.pixels);
    EXPECT_EQ(9, a.right);
    EXPECT_EQ(3, a.bottom);
    EXPECT_EQ(1, a.own);
    EXPECT_EQ(px, b.pixels);
    EXPECT_EQ(0x00030009u, *a.At(9, 3));
    a.Free();
    EXPECT_EQ(base + 1, PixmillLiveBlocks());
    EXPECT_EQ(0x00030009u, *b.At(9, 3));
    b.Free();
    EXPECT_EQ(base, PixmillLiveBlocks());
}

TEST(Buffer, SelfAssignmentKeepsThePixels)
{
    Buffer b;
    b.Alloc({5, 5});
    Fill(b);
    unsigned long* px = b.pixels;
    int own = b.own;
    Buffer& alias = b;
    b = alias;
    EXPECT_EQ(px, b.pixels);
    EXPECT_EQ(own, b.own);
    EXPECT_EQ(0x00040004u, *b.At(4, 4));
}

TEST(Buffer, CopyAndMoveConstructionTakeOwnership)
{
    int base = PixmillLiveBlocks();
    {
        Buffer a;
        a.Alloc({3, 3});
        Buffer b(a);
        EXPECT_EQ(1, a.own);
        EXPECT_NE(1, b.own);
        std::vector<Buffer> list;
        list.push_back(std::move(b));
        EXPECT_EQ(1, b.own);
        EXPECT_EQ(a.pixels, list[0].pixels);
    }
    EXPECT_EQ(base, PixmillLiveBlocks());
}

TEST(Buffer, ViewsClipRebaseAndKeepCoordinates)
{
    Buffer src;
    src.Alloc({100, 100});
    Fill(src);

    Buffer rebased(src, Rect{-10, -10, 9, 9}, false);
    EXPECT_EQ(1, rebased.own);
    EXPECT_EQ(10, rebased.left);
    EXPECT_EQ(10, rebased.top);
    EXPECT_EQ(19, rebased.right);
    EXPECT_EQ(19, rebased.bottom);
    EXPECT_EQ(src.At(0, 0), rebased.At(10, 10));
    EXPECT_EQ(100, rebased.stride);

    Buffer kept(src, Rect{-10, -10, 9, 9}, true);
    EXPECT_EQ(0, kept.left);
    EXPECT_EQ(0, kept.top);
    EXPECT_EQ(9, kept.right);
    EXPECT_EQ(9, kept.bottom);
    EXPECT_EQ(src.At(5, 7), kept.At(5, 7));

    Buffer sentinel(src, Rect{Buffer::RebaseToClip, -5, 120, 30}, false);
    EXPECT_EQ(0, sentinel.left);
    EXPECT_EQ(0, sentinel.top);
    EXPECT_EQ(99, sentinel.right);
    EXPECT_EQ(30, sentinel.bottom);
    EXPECT_EQ(src.At(0, 0), sentinel.pixels);

    Buffer inner(src, Rect{40, 30, 49, 39}, false);
    EXPECT_EQ(0, inner.left);
    EXPECT_EQ(9, inner.right);
    EXPECT_EQ(0x001E0028u, *inner.At(0, 0));
    // A view of a view keeps the coordinates of the buffer it looks into.
    Buffer nested(inner, Rect{5, 5, 20, 20}, true);
    EXPECT_EQ(5, nested.left);
    EXPECT_EQ(9, nested.right);
    EXPECT_EQ(0x0023002Du, *nested.At(5, 5));
}

TEST(Buffer, AViewThatMissesIsEmptyAndFreesNothing)
{
    Buffer src;
    src.Alloc({100, 100});
    int live = PixmillLiveBlocks();
    for (Rect r : {Rect{100, 0, 120, 10}, Rect{-50, -50, -1, 99}, Rect{10, 10, 5, 20}}) {
        Buffer v(src, r, false);
        ExpectEmpty(v);
        EXPECT_EQ(0, v.own);
        v.Free();
        EXPECT_EQ(live, PixmillLiveBlocks());
    }
    Buffer none;
    Buffer v(none, Rect{0, 0, 10, 10}, true);
    ExpectEmpty(v);
}

TEST(Buffer, FreeingAViewOrItsSourceFreesTheBlockOnce)
{
    int base = PixmillLiveBlocks();
    Buffer src;
    src.Alloc({20, 20});
    Buffer v(src, Rect{2, 2, 5, 5}, true);
    v.Free();
    EXPECT_EQ(base + 1, PixmillLiveBlocks());
    src.Free();
    EXPECT_EQ(base, PixmillLiveBlocks());
}

TEST(Buffer, AViewOfItselfEndsEmptyAndFreesItsBlock)
{
    int base = PixmillLiveBlocks();
    Buffer b;
    b.Alloc({20, 20});
    b.Alloc(b, Rect{0, 0, 9, 9}, true);
    ExpectEmpty(b);
    EXPECT_EQ(base, PixmillLiveBlocks());
}

TEST(Buffer, ViewsRebasedFarAwayDoNotOverflow)
{
    Buffer src;
    src.Alloc({10, 10});
    Buffer v(src, Rect{-2147483646, -2147483646, 2147483647, 2147483647}, false);
    EXPECT_EQ(src.pixels, v.pixels);
    EXPECT_LE(v.left, v.right);
    EXPECT_LE(v.top, v.bottom);
}

TEST(Buffer, CallerMemoryIsBorrowedAndNeverFreed)
{
    unsigned long mem[6 * 4];
    for (auto& m : mem) m = 0xABCDEF;
    int base = PixmillLiveBlocks();
    Buffer b;
    b.Alloc({6, 4}, mem, 0);
    EXPECT_EQ(6, b.stride);
    EXPECT_EQ(1, b.own);
    EXPECT_EQ(5, b.right);
    EXPECT_EQ(3, b.bottom);
    b.Free();
    ExpectEmpty(b);
    EXPECT_EQ(base, PixmillLiveBlocks());
    for (auto m : mem) EXPECT_EQ(0xABCDEFu, m);

    b.Alloc({3, 4}, mem, 6);
    EXPECT_EQ(6, b.stride);
    b.Alloc({3, 4}, nullptr, 6);
    ExpectEmpty(b);
    for (Pair<int> size : {Pair<int>{-3, 4}, Pair<int>{3, 0}, Pair<int>{0, -1}}) {
        b.Alloc(size, mem, 0);
        ExpectEmpty(b);
    }
}

TEST(Buffer, ExportedDefaultsAndUnitMatrix)
{
    EXPECT_EQ(256, Buffer::GetDefaultX());
    EXPECT_EQ(192, Buffer::GetDefaultY());
    EXPECT_EQ(Buffer::config_file, Buffer::GetConfigFile());
    Buffer::SetDefaultX(640);
    Buffer::SetDefaultY(480);
    EXPECT_EQ(640, Buffer::default_x);
    EXPECT_EQ(480, Buffer::default_y);
    Buffer::SetDefaultX(256);
    Buffer::SetDefaultY(192);
    EXPECT_EQ(1.0, Matrix2D::Unit.m0);
    EXPECT_EQ(0.0, Matrix2D::Unit.m1);
    EXPECT_EQ(0.0, Matrix2D::Unit.m2);
    EXPECT_EQ(1.0, Matrix2D::Unit.m3);
}
