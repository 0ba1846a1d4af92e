// Scale: every destination pixel checked against the sampling rule computed
// on its own (exact integer arithmetic, no stepping, no clipping), over random
// sizes, mirrors, clips and keys; and the packed four-sample mean.
#include <gtest/gtest.h>
#include <limits.h>

#include <string>

#include "buffer.h"
#include "buffer_sample.h"
#include "draw_fixture.h"

namespace {

const unsigned long NoKey = 0xFFFFFFFF;
const unsigned long Key = 0x00FF00FF;

struct Job {
    Pair<int> size, pos;
    unsigned long key;
    int mode;
};

std::string Describe(const Buffer& src, const Buffer& dst, const Job& j)
{
    return "src " + std::to_string(src.Width()) + "x" + std::to_string(src.Height()) + " size " +
           std::to_string(j.size.x) + "," + std::to_string(j.size.y) + " pos " + std::to_string(j.pos.x) + "," +
           std::to_string(j.pos.y) + " dst at " + std::to_string(dst.left) + "," + std::to_string(dst.top) + " " +
           std::to_string(dst.Width()) + "x" + std::to_string(dst.Height()) + " mode " + std::to_string(j.mode);
}

// Sample j of `parts` equal parts of len pixels, taken at the part's middle.
int64_t SourceIndex(int64_t len, int64_t parts, int64_t j)
{
    return int64_t(uint64_t(2 * j + 1) * uint64_t(len) / uint64_t(2 * parts));
}

unsigned long Mean(const unsigned long* p)
{
    unsigned long out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        unsigned sum = 2;
        for (int i = 0; i < 4; ++i) sum += (p[i] >> shift) & 0xFF;
        out |= (unsigned long)(sum >> 2) << shift;
    }
    return out;
}

// Position k along an axis of |size| pixels placed at start, counted from the
// mirrored side when size < 0; false when x lies outside the axis.
bool AxisPosition(int64_t x, int start, int size, int64_t& k)
{
    int64_t len = size < 0 ? -int64_t(size) : size;
    k = x - start;
    if (k < 0 || k >= len) return false;
    if (size < 0) k = len - 1 - k;
    return true;
}

// What dst should hold after dst.Scale(src, ...), each pixel on its own.
void ReferenceScale(Canvas& dst, Buffer& src, const Job& j, bool smooth)
{
    int64_t w = src.Width(), h = src.Height();
    int64_t sw = j.size.x < 0 ? -int64_t(j.size.x) : j.size.x, sh = j.size.y < 0 ? -int64_t(j.size.y) : j.size.y;
    // 64-bit loops: a view may end at INT_MAX.
    for (int64_t y = dst.view.top; y <= dst.view.bottom; ++y)
        for (int64_t x = dst.view.left; x <= dst.view.right; ++x) {
            int64_t kx, ky;
            if (!AxisPosition(x, j.pos.x, j.size.x, kx) || !AxisPosition(y, j.pos.y, j.size.y, ky)) continue;
            unsigned long& d = dst.Px(int(x), int(y));
            if (!smooth) {
                int sx = int(SourceIndex(w, sw, kx)), sy = int(SourceIndex(h, sh, ky));
                unsigned long v = *src.At(src.left + sx, src.top + sy);
                if (j.key == NoKey || v != j.key) d = v;
                continue;
            }
            unsigned long s[4];
            for (int i = 0; i < 4; ++i) {
                int64_t sx = SourceIndex(w, 2 * sw, 2 * kx + (i & 1)), sy = SourceIndex(h, 2 * sh, 2 * ky + i / 2);
                s[i] = *src.At(src.left + int(sx), src.top + int(sy));
                if (j.key != NoKey && s[i] == j.key) s[i] = d;
            }
            d = Mean(s);
        }
}

// Scales into one canvas and the reference into a copy; both must agree on
// every pixel, the guard border included.
void CheckScale(Canvas& dst, Buffer& src, const Job& j, bool smooth)
{
    Canvas expected(dst.view.Width(), dst.view.Height(), Pair<int>{dst.view.left, dst.view.top});
    for (int y = 0; y < dst.view.Height(); ++y)
        std::copy(dst.Row(y), dst.Row(y) + dst.view.Width(), expected.Row(y));
    ReferenceScale(expected, src, j, smooth);
    dst.view.Scale(src, j.size, j.pos, j.key, j.mode);
    ASSERT_EQ(expected.Snapshot(), dst.Snapshot()) << Describe(src, dst.view, j);
}

// A source view whose coordinates start at origin, inside a guard border.
Canvas NoisySource(int w, int h, Pair<int> origin, std::mt19937& rng, bool keyed)
{
    Canvas c(w, h, origin);
    c.Noise(rng);
    if (keyed)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (rng() % 4 == 0) c.Row(y)[x] = Key;
    return c;
}

int RandomSize(std::mt19937& rng, int from)
{
    // Factors from 0.05 to 9, with exact multiples and halves now and then.
    static const double exact[] = {0.5, 1, 2, 3, 0.25, 4};
    double f = rng() % 3 == 0 ? exact[rng() % 6] : 0.05 + (rng() % 8951) / 1000.0;
    int n = std::max(1, int(from * f + 0.5));
    return rng() % 4 == 0 ? -n : n;
}

}  // namespace

TEST(Scale, MirrorIsAColumnReversedCopy)
{
    std::mt19937 rng(7);
    Canvas src = NoisySource(100, 50, Pair<int>{0, 0}, rng, false);
    Canvas dst(100, 50, Pair<int>{0, 0});
    dst.view.Scale(src.view, Pair<int>{-100, 50}, Pair<int>{0, 0}, NoKey, 0);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_EQ(src.Px(99 - x, y), dst.Px(x, y)) << x << "," << y;

    // Both axes, and the same size, is a half turn.
    dst.view.Scale(src.view, Pair<int>{-100, -50}, Pair<int>{0, 0}, NoKey, -1);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_EQ(src.Px(99 - x, 49 - y), dst.Px(x, y)) << x << "," << y;
    EXPECT_TRUE(dst.GuardIntact());
}

TEST(Scale, ModeBelowZeroChoosesByTheRatios)
{
    std::mt19937 rng(8);
    Canvas src = NoisySource(100, 100, Pair<int>{0, 0}, rng, false);
    struct Case {
        Pair<int> size;
        bool smooth;
    } cases[] = {{{120, 80}, false},  {{150, 100}, true}, {{100, 66}, true},  {{100, 67}, false},
                 {{-149, 99}, false}, {{68, -140}, false}, {{100, 200}, true}, {{40, 100}, true}};
    for (const Case& c : cases) {
        Canvas chosen(160, 210, Pair<int>{0, 0}), fixed(160, 210, Pair<int>{0, 0});
        chosen.view.Scale(src.view, c.size, Pair<int>{2, 3}, NoKey, -1);
        fixed.view.Scale(src.view, c.size, Pair<int>{2, 3}, NoKey, c.smooth ? 1 : 0);
        EXPECT_EQ(fixed.Snapshot(), chosen.Snapshot()) << c.size.x << "x" << c.size.y;
    }
}

TEST(Scale, RandomSizesMirrorsAndClipsMatchTheRule)
{
    std::mt19937 rng(9);
    for (int n = 0; n < 250; ++n) {
        int w = 1 + int(rng() % 40), h = 1 + int(rng() % 40);
        bool keyed = rng() % 3 == 0;
        Pair<int> so = {int(rng() % 21) - 10, int(rng() % 21) - 10};
        Canvas src = NoisySource(w, h, so, rng, keyed);
        Job j = {{RandomSize(rng, w), RandomSize(rng, h)}, {0, 0}, keyed ? Key : NoKey, int(rng() % 3) - 1};
        // The destination catches the picture whole, or cuts into it anywhere.
        Pair<int> origin = {int(rng() % 41) - 20, int(rng() % 41) - 20};
        Canvas dst(1 + int(rng() % 60), 1 + int(rng() % 60), origin);
        dst.Noise(rng);
        j.pos = Pair<int>{origin.x + int(rng() % 81) - 40, origin.y + int(rng() % 81) - 40};
        bool smooth = j.mode > 0;
        if (j.mode < 0) {
            int64_t sw = std::abs(int64_t(j.size.x)), sh = std::abs(int64_t(j.size.y));
            smooth = !(2 * w < 3 * sw && 2 * sw < 3 * w && 2 * h < 3 * sh && 2 * sh < 3 * h);
        }
        CheckScale(dst, src.view, j, smooth);
        if (HasFatalFailure()) return;
    }
}

TEST(Scale, HugeSizesStaySampleExact)
{
    // Stretches far beyond any picture, seen through a small window: a drifting
    // fixed-point step would pick a neighbour here.
    std::mt19937 rng(11);
    Canvas src = NoisySource(7, 5, Pair<int>{0, 0}, rng, false);
    struct Case {
        Pair<int> size, pos, origin;
    } cases[] = {
        {{100003, 3}, {-50000, 0}, {0, 0}},
        {{-100003, 5}, {-99990, 0}, {0, 0}},
        {{INT_MAX, 5}, {0, 0}, {INT_MAX - 20, 0}},
        {{INT_MIN, -7}, {0, 0}, {INT_MAX - 15, 0}},
        {{3, INT_MIN}, {0, 1}, {0, INT_MAX - 12}},
        {{1234567, 7654321}, {INT_MIN, INT_MIN}, {INT_MIN + 600000, INT_MIN + 5000000}},
    };
    for (const Case& c : cases)
        for (int mode = 0; mode <= 1; ++mode) {
            Canvas dst(16, 6, c.origin);
            dst.Noise(rng);
            CheckScale(dst, src.view, Job{c.size, c.pos, NoKey, mode}, mode == 1);
            if (HasFatalFailure()) return;
        }
}

TEST(Scale, KeyPixelsKeepOrBlendWhatLiesBeneath)
{
    Canvas src(2, 2, Pair<int>{0, 0});
    src.Px(0, 0) = Key;
    src.Px(1, 0) = 0x00400000;
    src.Px(0, 1) = 0x00004000;
    src.Px(1, 1) = 0x00000040;
    // Plain, same size: the key pixel leaves the destination as it was.
    Canvas dst(2, 2, Pair<int>{0, 0});
    dst.Fill(0x01102030);
    dst.view.Scale(src.view, Pair<int>{2, 2}, Pair<int>{0, 0}, Key, 0);
    EXPECT_EQ(0x01102030u, dst.Px(0, 0));
    EXPECT_EQ(0x00400000u, dst.Px(1, 0));
    // Smoothing to one pixel: the key sample counts as the pixel beneath.
    Canvas one(1, 1, Pair<int>{0, 0});
    one.Fill(0x01FE0000);
    one.view.Scale(src.view, Pair<int>{1, 1}, Pair<int>{0, 0}, Key, 1);
    EXPECT_EQ(0x00501010u, one.Px(0, 0));  // (0xFE + 0x40 + 2) / 4, (0x40 + 2) / 4, (0x40 + 2) / 4
    // Without a key the key colour is a colour like any other.
    one.view.Scale(src.view, Pair<int>{1, 1}, Pair<int>{0, 0}, NoKey, 1);
    EXPECT_EQ(0x00501050u, one.Px(0, 0));
}

TEST(Scale, PlainCarriesFlagsAndSmoothingClearsThem)
{
    Canvas src(1, 1, Pair<int>{0, 0});
    src.Px(0, 0) = 0x05A0B0C0;
    Canvas dst(3, 3, Pair<int>{0, 0});
    dst.view.Scale(src.view, Pair<int>{3, 3}, Pair<int>{0, 0}, NoKey, 0);
    EXPECT_EQ(0x05A0B0C0u, dst.Px(2, 2));
    dst.view.Scale(src.view, Pair<int>{3, 3}, Pair<int>{0, 0}, NoKey, 1);
    EXPECT_EQ(0x00A0B0C0u, dst.Px(2, 2));
    // A source pixel of all ones is drawn when no key is given.
    src.Px(0, 0) = 0xFFFFFFFF;
    dst.view.Scale(src.view, Pair<int>{3, 3}, Pair<int>{0, 0}, NoKey, 0);
    EXPECT_EQ(0xFFFFFFFFu, dst.Px(1, 1));
}

TEST(Scale, NothingHappensWithoutPixelsOrSize)
{
    std::mt19937 rng(12);
    Canvas src = NoisySource(5, 5, Pair<int>{0, 0}, rng, false);
    Canvas dst(8, 8, Pair<int>{0, 0});
    std::vector<unsigned long> before = dst.Snapshot();
    Buffer empty;
    dst.view.Scale(empty, Pair<int>{8, 8}, Pair<int>{0, 0}, NoKey, 0);
    dst.view.Scale(src.view, Pair<int>{0, 8}, Pair<int>{0, 0}, NoKey, 0);
    dst.view.Scale(src.view, Pair<int>{8, 0}, Pair<int>{0, 0}, NoKey, 1);
    dst.view.Scale(src.view, Pair<int>{8, 8}, Pair<int>{8, 0}, NoKey, 1);
    dst.view.Scale(src.view, Pair<int>{INT_MAX, INT_MAX}, Pair<int>{INT_MIN, 8}, NoKey, 1);
    dst.view.Scale(src.view, Pair<int>{INT_MIN, INT_MIN}, Pair<int>{INT_MAX, INT_MAX}, NoKey, 0);
    EXPECT_EQ(before, dst.Snapshot());
    empty.Scale(src.view, Pair<int>{8, 8}, Pair<int>{0, 0}, NoKey, 1);
    EXPECT_EQ(nullptr, empty.pixels);
}

TEST(SampleMean, PackedChannelsRoundLikeSeparateOnes)
{
    std::mt19937 rng(13);
    const unsigned long edges[] = {0, 0xFFFFFFFF, 0x00FFFFFF, 0x01010101, 0x00020202, 0x80000000, 0x00FF00FF};
    for (int n = 0; n < 20000; ++n) {
        unsigned long p[4];
        for (unsigned long& v : p) v = rng() % 4 ? rng() : edges[rng() % 7];
        ASSERT_EQ(Mean(p), MeanOf4(p[0], p[1], p[2], p[3])) << std::hex << p[0] << " " << p[1] << " " << p[2]
                                                           << " " << p[3];
    }
    EXPECT_EQ(0x00FFFFFFu, MeanOf4(0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF));
    EXPECT_EQ(0x00010100u, MeanOf4(0x00010200, 0x00010100, 0x00000100, 0x00000001));  // 2/4 rounds up, 1/4 down
}
