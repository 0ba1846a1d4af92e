// CreatePalette: entries of simple pictures, the transparent colour and the
// flag mask, degenerate sizes, the work buffer and the quality of the cut.
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <random>
#include <set>
#include <vector>

#include "buffer.h"
#include "exceptions.h"
#include "heapstats.h"
#include "quantize.h"

namespace {

const unsigned long None = 0xFFFFFFFF;

struct Picture {
    Buffer b;
    Picture(int w, int h, unsigned long fill = 0)
    {
        b.Alloc({w, h});
        b.Box(b.GetRect(), fill);
    }
    unsigned long& operator()(int x, int y) { return *b.At(x, y); }
};

// 768 palette bytes and a guard after them that must stay untouched.
struct Palette {
    unsigned char bytes[800];
    Palette() { memset(bytes, 0xCD, sizeof bytes); }
    unsigned long Entry(int i) const
    {
        return (unsigned long)bytes[3 * i] << 16 | bytes[3 * i + 1] << 8 | bytes[3 * i + 2];
    }
    bool Untouched(int from) const
    {
        for (int i = from; i < int(sizeof bytes); i++)
            if (bytes[i] != 0xCD) return false;
        return true;
    }
};

std::set<unsigned long> Entries(const Palette& p, int from, int to)
{
    std::set<unsigned long> s;
    for (int i = from; i < to; i++) s.insert(p.Entry(i));
    return s;
}

// Random photo-like colours: smooth gradients plus noise.
void FillPhoto(Picture& p, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> noise(-12, 12);
    for (int y = 0; y <= p.b.bottom; y++)
        for (int x = 0; x <= p.b.right; x++) {
            int r = (x * 255) / (p.b.right + 1) + noise(rng), g = (y * 200) / (p.b.bottom + 1) + noise(rng),
                b = ((x + y) * 3) % 256;
            r = r < 0 ? 0 : r > 255 ? 255 : r;
            g = g < 0 ? 0 : g > 255 ? 255 : g;
            p(x, y) = (unsigned long)r << 16 | (unsigned long)g << 8 | (unsigned long)b;
        }
}

double SquaredError(Picture& p, Palette& pal, int n)
{
    double sum = 0;
    for (int y = 0; y <= p.b.bottom; y++)
        for (int x = 0; x <= p.b.right; x++) {
            unsigned long c = p(x, y), e = pal.Entry(Quantize(c, pal.bytes, n));
            for (int s = 0; s < 24; s += 8) {
                double d = double((c >> s) & 0xFF) - double((e >> s) & 0xFF);
                sum += d * d;
            }
        }
    return sum;
}

}  // namespace

TEST(CreatePalette, DistinctColoursBecomeEntriesAndTheRestIsZeroed)
{
    Picture p(5, 4, 0x00102030);
    for (int x = 0; x < 5; x++) p(x, 1) = 0x00FF0001;
    p(2, 3) = 0x0000FE80;
    Palette pal;
    ASSERT_EQ(3, CreatePalette(p.b, pal.bytes, 16, None, nullptr));
    EXPECT_EQ((std::set<unsigned long>{0x00102030, 0x00FF0001, 0x0000FE80}), Entries(pal, 0, 3));
    for (int i = 3 * 3; i < 3 * 16; i++) EXPECT_EQ(0, pal.bytes[i]);
    EXPECT_TRUE(pal.Untouched(3 * 16));
}

TEST(CreatePalette, OneEntryIsTheRoundedMeanByChannel)
{
    Picture p(2, 1);
    p(0, 0) = 0x00000A00;
    p(1, 0) = 0x00FF0B01;  // red mean 127.5 rounds up, green 10.5 too, blue 0.5 too
    Palette pal;
    ASSERT_EQ(1, CreatePalette(p.b, pal.bytes, 1, None, nullptr));
    EXPECT_EQ(0x00800B01u, pal.Entry(0));
    EXPECT_TRUE(pal.Untouched(3));
}

TEST(CreatePalette, GreyRampSplitsBetweenTheTwoHalves)
{
    Picture p(256, 3);
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 256; x++) p(x, y) = 0x010101u * (unsigned long)x;
    Palette pal;
    ASSERT_EQ(2, CreatePalette(p.b, pal.bytes, 2, None, nullptr));
    EXPECT_EQ(0x00404040u, pal.Entry(0));
    EXPECT_EQ(0x00C0C0C0u, pal.Entry(1));
}

TEST(CreatePalette, TransparentColourOwnsEntryZeroAndIsLeftOut)
{
    Picture p(10, 10, 0x00336699);  // mostly transparent
    p(0, 0) = 0x00000000;
    p(9, 9) = 0x00FFFFFF;
    p(5, 5) = 0x80336699;  // flag bits do not hide the colour
    Palette pal;
    ASSERT_EQ(3, CreatePalette(p.b, pal.bytes, 8, 0x336699, nullptr));
    EXPECT_EQ(0x00336699u, pal.Entry(0));
    EXPECT_EQ((std::set<unsigned long>{0, 0x00FFFFFF}), Entries(pal, 1, 3));

    // With one box left, its mean comes from the other two pixels only.
    ASSERT_EQ(2, CreatePalette(p.b, pal.bytes, 2, 0x336699, nullptr));
    EXPECT_EQ(0x00808080u, pal.Entry(1));

    ASSERT_EQ(1, CreatePalette(p.b, pal.bytes, 1, 0x336699, nullptr));
    EXPECT_EQ(0x00336699u, pal.Entry(0));
}

TEST(CreatePalette, FlagMaskSelectsThePixels)
{
    Picture p(6, 6, 0x0000FF00);
    p(1, 1) = 0x04FF0000;
    p(2, 1) = 0x05FF0000;
    p(3, 3) = 0x020000FF;  // another flag: left out
    Palette pal;
    ASSERT_EQ(1, CreatePalette(p.b, pal.bytes, 4, 0x04000000, nullptr));
    EXPECT_EQ(0x00FF0000u, pal.Entry(0));
    EXPECT_EQ(0, pal.bytes[3]);
}

TEST(CreatePalette, NoPixelsGiveNoEntries)
{
    Palette pal;
    Buffer empty;
    EXPECT_EQ(0, CreatePalette(empty, pal.bytes, 4, None, nullptr));
    EXPECT_EQ(0, pal.bytes[11]);
    EXPECT_TRUE(pal.Untouched(12));

    Picture p(3, 3, 0x00123456);
    EXPECT_EQ(1, CreatePalette(p.b, pal.bytes, 4, 0x123456, nullptr));  // all transparent
    EXPECT_EQ(0x00123456u, pal.Entry(0));
    EXPECT_EQ(0u, pal.Entry(1));
    EXPECT_EQ(0, CreatePalette(p.b, pal.bytes, 4, 0x40000000, nullptr));  // none flagged

    Palette untouched;
    EXPECT_EQ(0, CreatePalette(p.b, untouched.bytes, 0, None, nullptr));
    EXPECT_EQ(0, CreatePalette(p.b, untouched.bytes, -3, 0x123456, nullptr));
    EXPECT_TRUE(untouched.Untouched(0));
}

TEST(CreatePalette, NullPaletteIsRefusedWhenEntriesAreAskedFor)
{
    Picture p(3, 3, 0x00123456);
    Buffer empty;
    for (unsigned long t : {None, 0x00123456ul, 0x04000000ul}) {
        EXPECT_THROW(CreatePalette(p.b, nullptr, 4, t, nullptr), EInvalidImage);
        EXPECT_THROW(CreatePalette(empty, nullptr, 1, t, nullptr), EInvalidImage);
    }
    EXPECT_EQ(0, CreatePalette(p.b, nullptr, 0, None, nullptr));
}

TEST(CreatePalette, NeverWritesPastEntry255)
{
    Picture p(64, 64);
    FillPhoto(p, 7);
    Palette pal;
    EXPECT_EQ(256, CreatePalette(p.b, pal.bytes, 1000, None, nullptr));
    EXPECT_TRUE(pal.Untouched(768));
}

TEST(CreatePalette, EntriesAreDistinctAndTheErrorFallsWithMoreEntries)
{
    Picture p(160, 120);
    FillPhoto(p, 42);
    double last = 1e300;
    for (int n : {2, 16, 64, 256}) {
        Palette pal;
        ASSERT_EQ(n, CreatePalette(p.b, pal.bytes, n, None, nullptr));
        EXPECT_EQ(size_t(n), Entries(pal, 0, n).size());
        double error = SquaredError(p, pal, n);
        EXPECT_LT(error, last) << n;
        last = error;
    }
    // 256 chosen entries do better than the 216 of a uniform 6 x 6 x 6 grid.
    Palette uniform;
    for (int i = 0; i < 216; i++) {
        uniform.bytes[3 * i] = (unsigned char)(51 * (i / 36));
        uniform.bytes[3 * i + 1] = (unsigned char)(51 * (i / 6 % 6));
        uniform.bytes[3 * i + 2] = (unsigned char)(51 * (i % 6));
    }
    EXPECT_LT(last, 0.5 * SquaredError(p, uniform, 216));
}

TEST(CreatePalette, UsesAWorkBufferOnlyWhenItIsOneLargeEnoughArray)
{
    Picture p(40, 30);
    FillPhoto(p, 3);
    const unsigned long Unused = 0x6EEEEEEE;
    Palette reference;
    CreatePalette(p.b, reference.bytes, 32, None, nullptr);
    Picture big(50, 30, Unused), small(40, 29, Unused), wide(100, 30, Unused);
    const int live = PixmillLiveBlocks();

    auto run = [&](Buffer& work) {
        Palette pal;
        CreatePalette(p.b, pal.bytes, 32, None, &work);
        EXPECT_EQ(0, memcmp(pal.bytes, reference.bytes, sizeof pal.bytes));
        EXPECT_EQ(live, PixmillLiveBlocks());
        for (int y = work.top; y <= work.bottom; y++)
            for (int x = work.left; x <= work.right; x++)
                if (*work.At(x, y) != Unused) return true;
        return false;
    };
    EXPECT_TRUE(run(big.b));
    EXPECT_FALSE(run(small.b));
    Buffer gaps(wide.b, Rect{0, 0, 49, 29}, true);  // enough pixels, but rows apart
    EXPECT_FALSE(run(gaps));

    // The picture itself as scratch: same entries, its pixels given up.
    Picture copy(40, 30);
    copy.b.Copy(p.b, {0, 0}, None);
    Palette pal;
    CreatePalette(copy.b, pal.bytes, 32, None, &copy.b);
    EXPECT_EQ(0, memcmp(pal.bytes, reference.bytes, sizeof pal.bytes));
}

TEST(CreatePalette, ViewsReadOnlyTheirOwnPixels)
{
    Picture p(8, 8, 0x00FF0000);
    Buffer view(p.b, Rect{2, 2, 5, 5}, false);
    view.Box(view.GetRect(), 0x000000FF);
    Palette pal;
    ASSERT_EQ(1, CreatePalette(view, pal.bytes, 4, None, nullptr));
    EXPECT_EQ(0x000000FFu, pal.Entry(0));
}

TEST(CreatePalette, ScratchBeyondTheAddressSpaceRaisesOutOfMemory)
{
    unsigned long pixel = 0;
    Buffer huge;
    huge.Alloc({65536, 65536}, &pixel, 0);  // never read: the copy cannot be made
    Palette pal;
    const int live = PixmillLiveBlocks();
    EXPECT_THROW(CreatePalette(huge, pal.bytes, 16, None, nullptr), EOutOfMemory);
    EXPECT_EQ(live, PixmillLiveBlocks());
}
