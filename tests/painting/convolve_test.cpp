#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <algorithm>

#include <random>

#include "acffile.h"
#include "convolve.h"
#include "weightedit.h"

namespace {

void FillRandom(Buffer& b, unsigned seed, unsigned long flags)
{
    std::mt19937 rng(seed);
    for (int y = b.top; y <= b.bottom; y++)
        for (int x = b.left; x <= b.right; x++) *b.At(x, y) = (rng() & 0xFFFFFF) | flags;
}

// The arithmetic written out plainly, one channel at a time.
unsigned long ReferencePixel(Buffer& src, const ConvolveKernel& k, int size, int x, int y)
{
    const int rad = size / 2, skip = (5 - size) / 2;
    const int w = src.Width(), h = src.Height();
    const bool inner = x >= rad && y >= rad && x < w - rad && y < h - rad;
    unsigned long result = *src.At(x, y) & 0xFF000000;
    for (int shift = 16; shift >= 0; shift -= 8) {
        float sum = 0.0f;
        for (int dy = -rad; dy <= rad; dy++)
            for (int dx = -rad; dx <= rad; dx++) {
                const int sx = std::min(std::max(x + dx, 0), w - 1), sy = std::min(std::max(y + dy, 0), h - 1);
                const float c = float(k.weights[(dy + rad + skip) * 5 + dx + rad + skip]) / float(k.div);
                sum = sum + c * float((*src.At(sx, sy) >> shift) & 0xFF);
            }
        sum = sum + float(k.bias);
        const long v = inner ? lrintf(sum) : long(sum);
        result |= (unsigned long)std::min(std::max(v, 0L), 255L) << shift;
    }
    return result;
}

ConvolveKernel Kernel(std::initializer_list<int> grid, int div, int bias)
{
    ConvolveKernel k{};
    int i = 0;
    for (int w : grid) k.weights[i++] = (short)w;
    k.div = div;
    k.bias = bias;
    return k;
}

struct Case {
    const char* name;
    ConvolveKernel kernel;
    int w, h;
    int size;
};

}  // namespace

TEST(Convolve, MatchesThePlainArithmetic)
{
    const Case cases[] = {
        {"start values 1x1", DefaultConvolveKernel(), 1, 1, 3},
        {"start values", DefaultConvolveKernel(), 6, 5, 3},
        {"box blur", Kernel({0, 0, 0, 0, 0, 0, 1, 1, 1, 0, 0, 1, 1, 1, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0}, 9, 0), 17, 13, 3},
        {"sharpen", Kernel({0, 0, 0, 0, 0, 0, 0, -1, 0, 0, 0, -1, 5, -1, 0, 0, 0, -1, 0, 0, 0, 0, 0, 0, 0}, 1, 0), 17, 13,
         3},
        {"emboss with bias", Kernel({0, 0, 0, 0, 0, 0, -2, -1, 0, 0, 0, -1, 1, 1, 0, 0, 0, 1, 2, 0, 0, 0, 0, 0, 0}, 1, 128),
         17, 13, 3},
        {"5x5 div 9", Kernel({1, 2, 3, 2, 1, 2, 4, 6, 4, 2, 3, 6, 9, 6, 3, 2, 4, 6, 4, 2, 1, 2, 3, 2, 1}, 9, -3), 17, 13, 5},
        {"5x5 on 2x2", Kernel({1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1}, 5, 0), 2, 2, 5},
        {"ring 1 div 300 is 3x3", Kernel({1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 1, 0, 300, 0, 1, 1, 0, 0, 0, 1, 1, 1, 1, 1, 1}, 300, 0),
         9, 7, 3},
        {"ring 1 div 256 is 5x5", Kernel({1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 1, 0, 256, 0, 1, 1, 0, 0, 0, 1, 1, 1, 1, 1, 1}, 256, 0),
         9, 7, 5},
    };
    unsigned seed = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Buffer saved, out;
        saved.Alloc({c.w, c.h});
        out.Alloc({c.w, c.h});
        FillRandom(saved, seed++, 0);
        Convolver conv(saved, c.kernel);
        EXPECT_EQ(c.size, conv.Size());
        conv.Run(out, saved.GetRect(), false);
        for (int y = 0; y < c.h; y++)
            for (int x = 0; x < c.w; x++)
                ASSERT_EQ(ReferencePixel(saved, c.kernel, c.size, x, y), *out.At(x, y)) << x << "," << y;
    }
}

TEST(Convolve, IdentityLeavesThePictureAndItsFlags)
{
    for (int side : {1, 2, 16}) {
        Buffer saved, out;
        saved.Alloc({side, side});
        out.Alloc({side, side});
        FillRandom(saved, side, 0x04000000);
        const ConvolveKernel identity =
            Kernel({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1, 0);
        Convolver(saved, identity).Run(out, saved.GetRect(), false);
        for (int y = 0; y < side; y++)
            for (int x = 0; x < side; x++) ASSERT_EQ(*saved.At(x, y), *out.At(x, y));
    }
}

// A second run over a selection must still see the selected pixels: the
// flag byte is carried over, and only flagged pixels change.
TEST(Convolve, SelectionIsKeptSoASecondRunChangesAgain)
{
    const ConvolveKernel blur = Kernel({0, 0, 0, 0, 0, 0, 1, 1, 1, 0, 0, 1, 1, 1, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0}, 9, 0);
    Buffer pic, saved;
    pic.Alloc({12, 10});
    saved.Alloc({12, 10});
    FillRandom(pic, 7, 0);
    for (int y = 3; y <= 6; y++)
        for (int x = 4; x <= 8; x++) *pic.At(x, y) |= 0x04000000;
    Buffer original;
    original.Alloc({12, 10});
    original.Copy(pic, {0, 0}, 0xFFFFFFFF);
    for (int pass = 0; pass < 2; pass++) {
        saved.Copy(pic, {0, 0}, 0xFFFFFFFF);
        Convolver(saved, blur).Run(pic, Rect{4, 3, 8, 6}, true);
        int changed = 0;
        for (int y = 0; y < 10; y++)
            for (int x = 0; x < 12; x++) {
                const bool inSel = x >= 4 && x <= 8 && y >= 3 && y <= 6;
                EXPECT_EQ(*original.At(x, y) & 0xFF000000, *pic.At(x, y) & 0xFF000000);
                if (!inSel) {
                    EXPECT_EQ(*saved.At(x, y), *pic.At(x, y));
                }
                changed += inSel && *saved.At(x, y) != *pic.At(x, y);
            }
        EXPECT_GT(changed, 10) << "pass " << pass;
    }
}

TEST(Convolve, DivisorOutOfRangeIsClamped)
{
    ConvolveKernel zero = DefaultConvolveKernel(), one = DefaultConvolveKernel();
    zero.div = 0;
    Buffer saved, a, b;
    saved.Alloc({5, 4});
    a.Alloc({5, 4});
    b.Alloc({5, 4});
    FillRandom(saved, 3, 0);
    Convolver(saved, zero).Run(a, saved.GetRect(), false);
    Convolver(saved, one).Run(b, saved.GetRect(), false);
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 5; x++) ASSERT_EQ(*b.At(x, y), *a.At(x, y));
}

TEST(AcfFile, RoundTripsAndRefusesShortFiles)
{
    ConvolveKernel k{};
    for (int i = 0; i < 25; i++) k.weights[i] = (short)(i + 1);
    k.div = 9;
    k.bias = -3;
    unsigned char bytes[AcfFileSize];
    EncodeAcf(k, bytes);
    EXPECT_EQ(0x00, bytes[0]);
    EXPECT_EQ(0x01, bytes[1]);
    EXPECT_EQ(0x19, bytes[49]);
    EXPECT_EQ(0x09, bytes[51]);
    EXPECT_EQ(0xFF, bytes[52]);
    EXPECT_EQ(0xFD, bytes[53]);

    ConvolveKernel back = DefaultConvolveKernel();
    ASSERT_TRUE(DecodeAcf(bytes, sizeof bytes, back));
    unsigned char again[AcfFileSize];
    EncodeAcf(back, again);
    EXPECT_EQ(0, memcmp(bytes, again, sizeof bytes));

    ConvolveKernel kept = DefaultConvolveKernel();
    EXPECT_FALSE(DecodeAcf(bytes, AcfFileSize - 1, kept));
    unsigned char keptBytes[AcfFileSize], startBytes[AcfFileSize];
    EncodeAcf(kept, keptBytes);
    EncodeAcf(DefaultConvolveKernel(), startBytes);
    EXPECT_EQ(0, memcmp(startBytes, keptBytes, sizeof keptBytes));
}

TEST(AcfFile, DivAndBiasComeInRange)
{
    unsigned char bytes[AcfFileSize] = {};
    bytes[50] = 0x00, bytes[51] = 0x00;  // div 0
    bytes[52] = 0x80, bytes[53] = 0x00;  // bias -32768
    ConvolveKernel k{};
    ASSERT_TRUE(DecodeAcf(bytes, sizeof bytes, k));
    EXPECT_EQ(1, k.div);
    EXPECT_EQ(-9999, k.bias);
}

TEST(WeightEdit, TypingAndLeaving)
{
    struct Typed {
        const char* text;
        int caret;
        const char* kept;
        int keptCaret;
    } typed[] = {{"1a2", 2, "12", 1}, {"-12", 3, "-12", 3}, {"1-2", 2, "12", 1}, {"+-5", 2, "+5", 1}, {"x", 1, "", 0}};
    for (const Typed& t : typed) {
        int caret = t.caret;
        EXPECT_EQ(t.kept, FilterWeightText(t.text, caret)) << t.text;
        EXPECT_EQ(t.keptCaret, caret) << t.text;
    }
    const char* left[][2] = {{"", ""}, {"+", ""}, {"-", ""}, {"0", ""}, {"-0", ""}, {"2000", "999"},
                             {"-2000", "-999"}, {"+7", "7"}, {"0000000000005", "5"}, {"99999999999999999999", "999"}};
    for (auto& l : left) EXPECT_EQ(l[1], NormaliseWeightText(l[0])) << l[0];
}
