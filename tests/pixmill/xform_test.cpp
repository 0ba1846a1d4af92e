// XFormLin and Render: exact copies and quarter turns, rotations checked
// against the inverse map computed in double, edge blending, keys, sources
// past 16.16 range, and matrices that are singular, tiny, huge or not numbers.
#include <gtest/gtest.h>
#include <limits.h>
#include <math.h>
#include <stdlib.h>

#include <string>

#if defined(__unix__)
#include <sys/mman.h>
#include <unistd.h>
#endif

#include "buffer.h"
#include "draw_fixture.h"

namespace {

const unsigned long NoKey = 0xFFFFFFFF;
const unsigned long Key = 0x00FF00FF;
const unsigned long Blank = 0x00ABCDEF;

// Pixel values that are all different and never Blank, Key or the guard.
void Distinct(Canvas& c)
{
    for (int y = 0; y < c.view.Height(); ++y)
        for (int x = 0; x < c.view.Width(); ++x) c.Row(y)[x] = 0x00010000u * unsigned(y + 1) + unsigned(x + 1);
}

std::vector<unsigned long> Pixels(Canvas& c)
{
    std::vector<unsigned long> out;
    for (int y = 0; y < c.view.Height(); ++y) out.insert(out.end(), c.Row(y), c.Row(y) + c.view.Width());
    return out;
}

// numpy's rot90(a, k) of an array of h rows of w pixels: k quarter turns
// counter-clockwise as the array is printed.
std::vector<unsigned long> Rot90(const std::vector<unsigned long>& a, int w, int h, int k)
{
    int ow = k % 2 ? h : w, oh = k % 2 ? w : h;
    std::vector<unsigned long> out(a.size());
    for (int i = 0; i < oh; ++i)
        for (int j = 0; j < ow; ++j) {
            int r = k == 1 ? j : k == 2 ? h - 1 - i : h - 1 - j;
            int c = k == 1 ? w - 1 - i : k == 2 ? w - 1 - j : i;
            out[size_t(i) * ow + j] = a[size_t(r) * w + c];
        }
    return out;
}

struct Map {
    Matrix2D m;
    Pair<int> t;
};

// The source point under destination point (x, y), by the inverse in double.
Pair<double> Inverse(const Map& f, double x, double y)
{
    const Matrix2D& m = f.m;
    double det = m.m0 * m.m3 - m.m1 * m.m2;
    x -= f.t.x;
    y -= f.t.y;
    return Pair<double>{(m.m3 * x - m.m2 * y) / det, (m.m0 * y - m.m1 * x) / det};
}

// Where a sample lands in src: 1 well inside the inset picture, 0 well
// outside, -1 too close to the inset edge or to a pixel edge to call (the
// drawing rounds through fixed point there).
int Classify(const Buffer& src, Pair<double> p, double slack, int64_t& sx, int64_t& sy)
{
    double x0 = src.left + 0.05, x1 = src.right + 0.95, y0 = src.top + 0.05, y1 = src.bottom + 0.95;
    if (p.x < x0 - slack || p.x > x1 + slack || p.y < y0 - slack || p.y > y1 + slack) return 0;
    if (p.x < x0 + slack || p.x > x1 - slack || p.y < y0 + slack || p.y > y1 - slack) return -1;
    sx = int64_t(floor(p.x));
    sy = int64_t(floor(p.y));
    if (p.x - sx < slack || sx + 1 - p.x < slack || p.y - sy < slack || sy + 1 - p.y < slack) return -1;
    return 1;
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

// The destination pixel (x, y) as XFormLin should leave it, or false when a
// sample lies too close to an edge to call.
bool Expected(const Buffer& src, const Map& f, int x, int y, bool smooth, unsigned long key, unsigned long under,
              double slack, unsigned long& out)
{
    int n = smooth ? 4 : 1;
    unsigned long s[4];
    bool any = false;
    for (int i = 0; i < n; ++i) {
        double dx = smooth ? 0.25 + 0.5 * (i & 1) : 0.5, dy = smooth ? 0.25 + 0.5 * (i / 2) : 0.5;
        int64_t sx, sy;
        int where = Classify(src, Inverse(f, x + dx, y + dy), slack, sx, sy);
        if (where < 0) return false;
        s[i] = under;
        if (where == 0) continue;
        any = true;
        unsigned long v = *src.At(int(sx), int(sy));
        if (key == NoKey || v != key) s[i] = v;
    }
    out = !any ? under : smooth ? Mean(s) : s[0];
    return true;
}

// Draws and compares every pixel that can be called; returns how many were
// covered. The guard must hold and the uncalled pixels must be few. slack is
// in source pixels: fixed-point steps drift up to 1/512 pixel between restarts.
int CheckAgainstInverse(Canvas& dst, Canvas& src, const Map& f, int mode, bool smooth, unsigned long key,
                        double slack = 1e-3)
{
    std::vector<unsigned long> before = Pixels(dst);
    Matrix2D m = f.m;
    dst.view.XFormLin(src.view, m, f.t, key, mode);
    EXPECT_TRUE(dst.GuardIntact());
    int covered = 0, uncalled = 0, wrong = 0;
    for (int y = dst.view.top; y <= dst.view.bottom; ++y)
        for (int x = dst.view.left; x <= dst.view.right; ++x) {
            unsigned long under = before[size_t(y - dst.view.top) * dst.view.Width() + (x - dst.view.left)];
            unsigned long want;
            if (!Expected(src.view, f, x, y, smooth, key, under, slack, want)) {
                ++uncalled;
                continue;
            }
            if (want != under || dst.Px(x, y) != under) ++covered;
            if (dst.Px(x, y) != want && ++wrong <= 5)
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << dst.Px(x, y) << " not " << want;
        }
    EXPECT_LT(uncalled, dst.view.Width() * dst.view.Height() / 20 + 8);
    return covered;
}

Map Rotation(double degrees, Pair<int> t)
{
    double a = degrees * 3.14159265358979323846 / 180;
    return Map{Matrix2D{cos(a), sin(a), -sin(a), cos(a)}, t};
}

// A picture at the very end of its memory: on systems that allow it the page
// after it is unreadable, so a read past src faults at once.
class EdgeOfPage {
public:
    EdgeOfPage(int w, int h)
    {
        size_t count = size_t(w) * h;
#if defined(__unix__)
        size_t bytes = count * sizeof(unsigned long);
        page = size_t(sysconf(_SC_PAGESIZE));
        size = (bytes + page - 1) / page * page + page;
        void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) abort();
        base = static_cast<char*>(p);
        mprotect(base + size - page, page, PROT_NONE);
        mem = reinterpret_cast<unsigned long*>(base + size - page - bytes);
#else
        store.resize(count);
        mem = store.data();
#endif
        for (size_t i = 0; i < count; ++i) mem[i] = 0x00102030u + unsigned(i);
        picture.Alloc(Pair<int>{w, h}, mem, 0);
    }
    ~EdgeOfPage()
    {
#if defined(__unix__)
        munmap(base, size);
#endif
    }
    Buffer picture;

private:
    unsigned long* mem;
#if defined(__unix__)
    char* base;
    size_t page, size;
#else
    std::vector<unsigned long> store;
#endif
};

}  // namespace

TEST(XFormLin, UnitMatrixCopiesAndShifts)
{
    Canvas src(23, 17, Pair<int>{-4, 6});
    Distinct(src);
    for (int mode = -1; mode <= 0; ++mode) {
        Canvas dst(40, 40, Pair<int>{-10, 0});
        dst.Fill(Blank);
        EXPECT_EQ(1, dst.view.XFormLin(src.view, Matrix2D::Unit, Pair<int>{0, 0}, NoKey, mode));
        for (int y = dst.view.top; y <= dst.view.bottom; ++y)
            for (int x = dst.view.left; x <= dst.view.right; ++x)
                ASSERT_EQ(src.Inside(x, y) ? src.Px(x, y) : Blank, dst.Px(x, y)) << x << "," << y;

        dst.Fill(Blank);
        dst.view.XFormLin(src.view, Matrix2D::Unit, Pair<int>{10, 5}, NoKey, mode);
        for (int y = dst.view.top; y <= dst.view.bottom; ++y)
            for (int x = dst.view.left; x <= dst.view.right; ++x)
                ASSERT_EQ(src.Inside(x - 10, y - 5) ? src.Px(x - 10, y - 5) : Blank, dst.Px(x, y)) << x << "," << y;
        EXPECT_TRUE(dst.GuardIntact());
    }
}

TEST(XFormLin, SmoothingAUnitCopyKeepsColoursAndClearsFlags)
{
    Canvas src(9, 7, Pair<int>{0, 0});
    Distinct(src);
    src.Px(3, 3) |= 0x05000000;
    Canvas dst(9, 7, Pair<int>{0, 0});
    dst.view.XFormLin(src.view, Matrix2D::Unit, Pair<int>{0, 0}, NoKey, 1);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) ASSERT_EQ(src.Px(x, y) & 0x00FFFFFF, dst.Px(x, y)) << x << "," << y;
}

TEST(XFormLin, QuarterTurnsEqualRot90)
{
    const int w = 13, h = 8;
    Canvas src(w, h, Pair<int>{0, 0});
    Distinct(src);
    std::vector<unsigned long> a = Pixels(src);
    const Map turns[] = {{{0, -1, 1, 0}, {0, w}}, {{-1, 0, 0, -1}, {w, h}}, {{0, 1, -1, 0}, {h, 0}}};
    for (int k = 1; k <= 3; ++k)
        for (int mode = -1; mode <= 1; ++mode) {
            Canvas dst(k % 2 ? h : w, k % 2 ? w : h, Pair<int>{0, 0});
            Matrix2D m = turns[k - 1].m;
            EXPECT_EQ(1, dst.view.XFormLin(src.view, m, turns[k - 1].t, NoKey, mode));
            EXPECT_EQ(Rot90(a, w, h, k), Pixels(dst)) << "k " << k << " mode " << mode;
            EXPECT_TRUE(dst.GuardIntact());
        }
}

TEST(XFormLin, ThirtyDegreesCoversTheRotatedArea)
{
    Canvas src(40, 30, Pair<int>{0, 0});
    Distinct(src);
    Canvas dst(80, 80, Pair<int>{-40, -10});
    dst.Fill(Blank);
    Map f = Rotation(30, Pair<int>{0, 0});
    int covered = CheckAgainstInverse(dst, src, f, -1, false, NoKey);
    // The inset picture's area, 39.9 x 29.9, give or take the pixels along its edge.
    EXPECT_NEAR(39.9 * 29.9, covered, 2 * (39.9 + 29.9));
    int drawn = 0;
    for (int y = dst.view.top; y <= dst.view.bottom; ++y)
        for (int x = dst.view.left; x <= dst.view.right; ++x) drawn += dst.Px(x, y) != Blank;
    EXPECT_NEAR(39.9 * 29.9, drawn, 2 * (39.9 + 29.9));
}

TEST(XFormLin, RotationsStretchesAndShearsMatchTheInverseMap)
{
    std::mt19937 rng(21);
    for (int n = 0; n < 60; ++n) {
        Canvas src(1 + int(rng() % 24), 1 + int(rng() % 24), Pair<int>{int(rng() % 20) - 10, int(rng() % 20) - 10});
        Distinct(src);
        bool keyed = n % 3 == 0;
        if (keyed)
            for (int i = 0; i < src.view.Width(); i += 2) src.Row(0)[i] = Key;
        Canvas dst(50, 50, Pair<int>{-25, -25});
        dst.Noise(rng);
        Pair<int> t = {int(rng() % 20) - 10, int(rng() % 20) - 10};
        auto entry = [&] { return (int(rng() % 601) - 300) / 100.0; };
        Map f = n % 2 ? Rotation(double(rng() % 36000) / 100, t) : Map{Matrix2D{entry(), entry(), entry(), entry()}, t};
        if (fabs(f.m.m0 * f.m.m3 - f.m.m1 * f.m.m2) < 0.05) continue;
        bool smooth = n % 4 >= 2;
        CheckAgainstInverse(dst, src, f, smooth ? 1 : 0, smooth, keyed ? Key : NoKey);
        ASSERT_FALSE(HasFailure()) << n;
    }
}

TEST(XFormLin, LongStretchesKeepTheirSourceColumns)
{
    // Wide spans: a step that drifts slides column edges out of place, and at
    // the end of the row past the picture. Moderate stretches of a wide
    // picture must stay within 1/256 source pixel; strong ones within a few
    // hundredths of a destination pixel.
    struct Case {
        int w;
        double s, slack;
    } cases[] = {{1000, 7.9, 1.0 / 256}, {5, 1234.567, 1e-5}, {3, 9000.3, 1e-5}};
    for (const Case& c : cases) {
        Canvas src(c.w, 1, Pair<int>{0, 0});
        Distinct(src);
        for (int mode = 0; mode <= 1; ++mode) {
            Canvas dst(int(c.w * c.s) + 4, 1, Pair<int>{0, 0});
            dst.Fill(Blank);
            CheckAgainstInverse(dst, src, Map{Matrix2D{c.s, 0, 0, 1}, Pair<int>{1, 0}}, mode, mode == 1, NoKey,
                                c.slack);
            ASSERT_FALSE(HasFailure()) << c.s;
        }
    }
}

TEST(XFormLin, SmoothEdgesBlendWithWhatLiesBeneath)
{
    // A half-pixel shift: every destination pixel has two samples in the
    // picture and two outside, or all four in.
    Canvas src(4, 1, Pair<int>{0, 0});
    src.Fill(0x00FC0000);
    Canvas dst(6, 3, Pair<int>{0, 0});
    dst.Fill(0x00000040);
    Matrix2D m = {1, 0, 0, 1};
    // Half height: the upper samples of row 1 fall in the picture, the lower ones outside.
    Matrix2D half = {1, 0, 0, 0.5};
    dst.view.XFormLin(src.view, half, Pair<int>{1, 1}, NoKey, 1);
    for (int x = 1; x <= 4; ++x) EXPECT_EQ(0x007E0020u, dst.Px(x, 1)) << x;  // (2*0xFC + 2)/4, (2*0x40 + 2)/4
    EXPECT_EQ(0x00000040u, dst.Px(0, 1));
    EXPECT_EQ(0x00000040u, dst.Px(5, 1));
    EXPECT_EQ(0x00000040u, dst.Px(2, 2));
    // A key sample counts as the pixel beneath.
    src.Px(1, 0) = Key;
    dst.Fill(0x00000040);
    dst.view.XFormLin(src.view, m, Pair<int>{1, 1}, Key, 1);
    EXPECT_EQ(0x00000040u, dst.Px(2, 1));
    EXPECT_EQ(0x00FC0000u, dst.Px(1, 1));
    // Plain: the key pixel is left alone.
    dst.Fill(0x00000040);
    dst.view.XFormLin(src.view, m, Pair<int>{1, 1}, Key, 0);
    EXPECT_EQ(0x00000040u, dst.Px(2, 1));
    EXPECT_EQ(0x00FC0000u, dst.Px(3, 1));
}

TEST(XFormLin, ModeBelowZeroChoosesByTheColumnLengths)
{
    Canvas src(20, 20, Pair<int>{0, 0});
    Distinct(src);
    struct Case {
        Matrix2D m;
        bool smooth;
    } cases[] = {{{1.2, 0, 0, 0.8}, false}, {{1.6, 0, 0, 1}, true},     {{1, 0, 0, 0.6}, true},
                 {{0.7, 0.7, -0.7, 0.7}, false}, {{1, 0, 1, 1}, false}, {{1, 0, 1.2, 1}, true}};
    for (Case& c : cases) {
        Canvas chosen(50, 50, Pair<int>{-10, -10}), fixed(50, 50, Pair<int>{-10, -10});
        chosen.view.XFormLin(src.view, c.m, Pair<int>{2, 2}, NoKey, -1);
        fixed.view.XFormLin(src.view, c.m, Pair<int>{2, 2}, NoKey, c.smooth ? 1 : 0);
        EXPECT_EQ(fixed.Snapshot(), chosen.Snapshot()) << c.m.m0 << " " << c.m.m1 << " " << c.m.m2 << " " << c.m.m3;
    }
}

TEST(XFormLin, SourcesBeyond16BitPositions)
{
    // 16.16 positions wrap past 32,767 pixels; these must still be exact.
    const int w = 40000;
    Canvas src(w, 2, Pair<int>{0, 0});
    Distinct(src);
    for (int mode = 0; mode <= 1; ++mode) {
        Canvas dst(w, 2, Pair<int>{0, 0});
        Matrix2D half = {-1, 0, 0, -1};
        ASSERT_EQ(1, dst.view.XFormLin(src.view, half, Pair<int>{w, 2}, NoKey, mode));
        for (int x = 0; x < w; ++x) {
            ASSERT_EQ(src.Px(w - 1 - x, 1), dst.Px(x, 0)) << x;
            ASSERT_EQ(src.Px(w - 1 - x, 0), dst.Px(x, 1)) << x;
        }
    }
    Canvas tall(3, w, Pair<int>{0, 0});
    Distinct(tall);
    Canvas wide(w, 3, Pair<int>{0, 0});
    Matrix2D quarter = {0, 1, -1, 0};
    ASSERT_EQ(1, wide.view.XFormLin(tall.view, quarter, Pair<int>{w, 0}, NoKey, 0));
    EXPECT_EQ(Rot90(Pixels(tall), 3, w, 3), Pixels(wide));
    EXPECT_TRUE(wide.GuardIntact());
}

// src's (x, y) lands on (x + t.x, y + t.y).
void CheckShiftedCopy(Canvas& src, Canvas& dst, Pair<int> t, int mode)
{
    dst.Fill(Blank);
    Matrix2D m = Matrix2D::Unit;
    EXPECT_EQ(1, dst.view.XFormLin(src.view, m, t, NoKey, mode));
    for (int64_t y = dst.view.top; y <= dst.view.bottom; ++y)
        for (int64_t x = dst.view.left; x <= dst.view.right; ++x) {
            int64_t sx = x - t.x, sy = y - t.y;
            unsigned long want = src.Inside(sx, sy) ? src.Px(int(sx), int(sy)) : Blank;
            ASSERT_EQ(want, dst.Px(int(x), int(y))) << x << "," << y << " mode " << mode;
        }
    EXPECT_TRUE(dst.GuardIntact());
}

TEST(XFormLin, CoordinatesAtTheEndsOfIntRange)
{
    Canvas far(12, 9, Pair<int>{INT_MAX - 11, INT_MIN});
    Distinct(far);
    Canvas near(12, 9, Pair<int>{0, 0});
    Distinct(near);
    for (int mode = 0; mode <= 1; ++mode) {
        Canvas corner(16, 6, Pair<int>{INT_MAX - 15, INT_MIN + 2});
        CheckShiftedCopy(far, corner, Pair<int>{-4, 3}, mode);
        Canvas other(16, 6, Pair<int>{INT_MIN + 2, INT_MAX - 5});
        CheckShiftedCopy(near, other, Pair<int>{INT_MIN + 4, INT_MAX - 7}, mode);
    }
}

TEST(XFormLin, DegenerateMatricesDrawNothingAndReadNothingOutside)
{
    const double nan = NAN, inf = INFINITY;
    struct Case {
        Matrix2D m;
        bool nothing;  // must return 0 and leave the destination alone
    } cases[] = {
        {{1, 0, 0, 0}, true},           {{0, 0, 1, 0}, true},          {{0, 0, 0, 0}, true},
        {{1, 2, 2, 4}, true},           {{1, 0, 0, 1e-12}, true},      {{1e-12, 0, 0, 1}, true},
        {{1, 1, 1, 1 + 1e-12}, true},   {{1e6, 1e6, 1e6, 1e6 + 1e-6}, true},
        {{nan, 0, 0, 1}, true},         {{1, inf, 0, 1}, true},        {{1, 0, -inf, 1}, true},
        {{1e-300, 0, 0, 1e-300}, true}, {{1e300, 0, 0, 1e300}, false}, {{1e300, 1e300, -1e300, 1e300}, false},
        {{4e9, 0, 0, 3e9}, false},      {{1e-4, 0, 0, 1e-4}, false},   {{1e5, 0, 0, 1e-4}, false},
        {{-1e-3, 3e4, 2e-4, -7}, false},
    };
    EdgeOfPage edge(7, 5);
    Canvas src(7, 5, Pair<int>{0, 0});
    Distinct(src);
    for (Buffer* s : {&edge.picture, &src.view})
        for (Case& c : cases)
            for (int mode = -1; mode <= 1; ++mode) {
                Canvas dst(30, 30, Pair<int>{-15, -15});
                dst.Fill(Blank);
                std::vector<unsigned long> before = dst.Snapshot();
                int result = dst.view.XFormLin(*s, c.m, Pair<int>{0, 0}, NoKey, mode);
                EXPECT_TRUE(dst.GuardIntact());
                if (c.nothing) {
                    EXPECT_EQ(0, result) << c.m.m0 << " " << c.m.m1 << " " << c.m.m2 << " " << c.m.m3;
                    EXPECT_EQ(before, dst.Snapshot());
                }
            }
}

TEST(XFormLin, NearlyFlatSliversOnASampleLineAreRefused)
{
    // Squeezed a billion times, the picture is a sliver round y = 0.5 that
    // crosses row 0's sample points: the inverse would be all rounding.
    Canvas src(3, 3, Pair<int>{0, 499999999});
    Distinct(src);
    Canvas dst(8, 4, Pair<int>{0, 0});
    dst.Fill(Blank);
    std::vector<unsigned long> before = dst.Snapshot();
    Matrix2D m = {1, 0, 0, 1e-9};
    Pair<double> c[4] = {{0.05, 0.49999999905}, {2.95, 0.49999999905}, {2.95, 0.50000000195}, {0.05, 0.50000000195}};
    Pair<int> first;
    int rows;
    Pair<int>* covered = dst.view.Render(c, first, rows, 0);
    EXPECT_NE(nullptr, covered);
    free(covered);
    for (int mode = 0; mode <= 1; ++mode) EXPECT_EQ(0, dst.view.XFormLin(src.view, m, Pair<int>{0, 0}, NoKey, mode));
    EXPECT_EQ(before, dst.Snapshot());
}

TEST(XFormLin, NothingToDrawReturnsZero)
{
    Canvas src(5, 5, Pair<int>{0, 0});
    Distinct(src);
    Canvas dst(8, 8, Pair<int>{0, 0});
    Buffer empty;
    Matrix2D m = Matrix2D::Unit;
    EXPECT_EQ(0, dst.view.XFormLin(empty, m, Pair<int>{0, 0}, NoKey, 0));
    EXPECT_EQ(0, empty.XFormLin(src.view, m, Pair<int>{0, 0}, NoKey, 0));
    EXPECT_EQ(0, dst.view.XFormLin(src.view, m, Pair<int>{8, 0}, NoKey, 1));
    EXPECT_EQ(0, dst.view.XFormLin(src.view, m, Pair<int>{INT_MIN, INT_MAX}, NoKey, 0));
    EXPECT_EQ(1, dst.view.XFormLin(src.view, m, Pair<int>{7, 7}, NoKey, 0));
}

namespace {

struct Spans {
    Pair<int>* data;
    Pair<int> first;
    int rows;

    Spans(Buffer& b, std::vector<Pair<double>> c, int smooth) : first{-99, -99}, rows(-99)
    {
        data = b.Render(c.data(), first, rows, smooth);
    }
    ~Spans() { free(data); }
    std::string Row(int i) const { return std::to_string(data[i].x) + "," + std::to_string(data[i].y); }
};

std::vector<Pair<double>> Square(double x0, double y0, double x1, double y1)
{
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

}  // namespace

TEST(Render, SquareGivesWholeAndHalfPixelSpans)
{
    Buffer b;
    b.Alloc(Pair<int>{20, 20});
    Spans plain(b, Square(0, 0, 10, 10), 0);
    ASSERT_NE(nullptr, plain.data);
    EXPECT_EQ(0, plain.first.x);
    EXPECT_EQ(0, plain.first.y);
    ASSERT_EQ(10, plain.rows);
    for (int i = 0; i < 10; ++i) EXPECT_EQ("0,9", plain.Row(i));

    Spans halves(b, Square(0, 0, 10, 10), 1);
    ASSERT_EQ(10, halves.rows);
    for (int i = 0; i < 20; ++i) EXPECT_EQ("0,19", halves.Row(i));

    // Ends that cover only one half sample of their column.
    Spans part(b, Square(2.6, 1.6, 9.4, 3.4), 1);
    EXPECT_EQ(2, part.first.x);
    EXPECT_EQ(1, part.first.y);
    ASSERT_EQ(3, part.rows);
    const char* want[] = {"0,-1", "5,18", "5,18", "5,18", "5,18", "0,-1"};  // 1.25 out, 1.75 .. 3.25 in, 3.75 out
    for (int i = 0; i < 6; ++i) EXPECT_EQ(want[i], part.Row(i)) << i;
}

TEST(Render, ClipsToTheRectAndDropsEmptyRows)
{
    Buffer big;
    big.Alloc(Pair<int>{10, 10});
    Buffer b(big, Rect{2, 3, 7, 8}, true);  // columns 2..7, rows 3..8
    Spans s(b, Square(-5, 4.2, 100, 6.6), 0);
    EXPECT_EQ(2, s.first.x);
    EXPECT_EQ(4, s.first.y);
    ASSERT_EQ(3, s.rows);  // row centres 4.5, 5.5 and 6.5
    for (int i = 0; i < 3; ++i) EXPECT_EQ("2,7", s.Row(i));
    Spans above(b, Square(0, -9, 9, 2.9), 1);
    EXPECT_EQ(nullptr, above.data);
}

TEST(Render, SharedEdgesAreCoveredOnce)
{
    Buffer b;
    b.Alloc(Pair<int>{12, 12});
    for (int smooth = 0; smooth <= 1; ++smooth) {
        // Two triangles-as-quads meeting on a diagonal, and two boxes meeting
        // exactly on sample lines and sample columns.
        std::vector<std::vector<Pair<double>>> pairs[] = {
            {{{1, 1}, {9, 1}, {9, 9}, {9, 9}}, {{1, 1}, {9, 9}, {1, 9}, {1, 9}}},
            {Square(0.5, 0.5, 5.5, 8.25), Square(5.5, 0.5, 10.75, 8.25)},
            {Square(0.25, 0.75, 8, 4.5), Square(0.25, 4.5, 8, 11)},
        };
        for (auto& p : pairs) {
            std::vector<int> count(24 * 24, 0);
            for (auto& quad : p) {
                Spans s(b, quad, smooth);
                if (!s.data) continue;
                for (int i = 0; i < s.rows * (smooth + 1); ++i)
                    for (int h = s.data[i].x; h <= s.data[i].y; ++h)
                        ++count[size_t(s.first.y * (smooth + 1) + i) * 24 + h];
            }
            for (int c : count) ASSERT_LE(c, 1);
        }
    }
}

TEST(Render, NothingCoveredGivesNull)
{
    Buffer b;
    b.Alloc(Pair<int>{10, 10});
    const double nan = NAN, inf = INFINITY;
    std::vector<std::vector<Pair<double>>> none = {
        Square(2, 3, 8, 3),             // flat
        Square(2.6, 2, 3.4, 8),         // between column centres
        Square(2, 2.6, 8, 3.4),         // between row centres
        Square(-20, -20, -1, 30),       // left of the rect
        Square(nan, 0, 5, 5),           // not numbers
        Square(0, 0, inf, 5),
        Square(-1e300, -1e300, 1e300, 1e300),
    };
    for (auto& quad : none) {
        Spans s(b, quad, 0);
        EXPECT_EQ(nullptr, s.data);
        EXPECT_EQ(0, s.rows);
    }
    Buffer empty;
    Spans e(empty, Square(0, 0, 5, 5), 1);
    EXPECT_EQ(nullptr, e.data);
    Spans half(b, Square(2.6, 2, 3.4, 8), 1);  // the half samples at 2.75 and 3.25 are in
    ASSERT_NE(nullptr, half.data);
    EXPECT_EQ("5,6", half.Row(0));
}

TEST(Render, FarCornersStillGiveTheRect)
{
    Buffer b;
    b.Alloc(Pair<int>{6, 4});
    Spans s(b, Square(-1e15, -1e15, 1e15, 1e15), 1);
    ASSERT_NE(nullptr, s.data);
    ASSERT_EQ(4, s.rows);
    for (int i = 0; i < 8; ++i) EXPECT_EQ("0,11", s.Row(i));
}
