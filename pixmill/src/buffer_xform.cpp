// Drawing a picture through a 2x2 linear map plus a translation.
//
// Render finds the destination samples the mapped picture covers; each is
// mapped back through the inverse matrix to the source pixel that contains it.
// Positions start exactly (from doubles) at every run of up to 256 samples
// and step by fixed point addition along it. Every source index is checked against src before
// it is read, so rounding at the picture's edge, or a nearly singular matrix,
// can never reach memory outside src: such a sample counts as not covered.
#include <limits.h>
#include <math.h>
#include <stdint.h>
#include <stdlib.h>

#include <algorithm>
#include <memory>

#include "buffer.h"
#include "buffer_sample.h"

namespace {

const unsigned long NoKey = 0xFFFFFFFF;

// A map that shrinks the picture more than this along some direction draws
// nothing: singular and nearly singular matrices end here, before their
// inverse can blow up positions and steps.
const double MaxInverse = 16384;

// Source offsets (from src's top-left) of a destination point (X, Y):
// u = a (X - t.x) + b (Y - t.y) - src.left, v = c (X - t.x) + d (Y - t.y) - src.top.
struct Inverse {
    double a, b, c, d;
};

bool Invert(const Matrix2D& m, Inverse& inv)
{
    double det = m.m0 * m.m3 - m.m1 * m.m2;
    inv = Inverse{m.m3 / det, -m.m2 / det, -m.m1 / det, m.m0 / det};
    double e[4] = {inv.a, inv.b, inv.c, inv.d};
    for (double v : e)
        if (!(fabs(v) <= MaxInverse)) return false;  // NaN fails too
    return true;
}

bool Finite(const Matrix2D& m)
{
    return isfinite(m.m0) && isfinite(m.m1) && isfinite(m.m2) && isfinite(m.m3);
}

// An upper bound of how far the map stretches any direction.
double Magnification(const Matrix2D& m)
{
    return sqrt(m.m0 * m.m0 + m.m1 * m.m1 + m.m2 * m.m2 + m.m3 * m.m3);
}

// Plain sampling when both source axes keep their length within 0.67 .. 1.5.
bool NearUnit(const Matrix2D& m)
{
    double x = hypot(m.m0, m.m1), y = hypot(m.m2, m.m3);
    return x > 0.67 && x < 1.5 && y > 0.67 && y < 1.5;
}

// 16.16 positions for sources up to 32,767 pixels, 32.32 beyond, and for
// strong enlargements, which would magnify 16.16's drift into visible shifts.
// Unsigned, so that stepping wraps instead of overflowing; a wrapped or
// negative position reads as an index far beyond the source and fails the
// bounds check.
struct Fixed16 {
    typedef uint32_t Pos;
    static constexpr int Bits = 16;
    static constexpr double One = 65536.0;
    static constexpr double Limit = 32768.0;
    static uint32_t Index(Pos p) { return p >> 16; }
    static int64_t Signed(Pos p) { return int32_t(p); }
};

struct Fixed32 {
    typedef uint64_t Pos;
    static constexpr int Bits = 32;
    static constexpr double One = 4294967296.0;
    static constexpr double Limit = 2147483647.0;
    static uint32_t Index(Pos p) { return uint32_t(p >> 32); }
    static int64_t Signed(Pos p) { return int64_t(p); }
};

// Positions far outside any source are pulled in before conversion, to a
// point that still fails the bounds check.
template <class F> typename F::Pos ToFixed(double v)
{
    v = std::min(std::max(v, -F::Limit), F::Limit);
    return typename F::Pos(int64_t(llround(v * F::One)));
}

// Positions restart from doubles every so many samples, which bounds the
// drift of a rounded step: 256 steps of at most half a unit stay within
// 1/512 of a source pixel in 16.16.
const int RunSamples = 256;

struct Source {
    const unsigned long* pixels;
    ptrdiff_t stride;
    uint32_t width, height;
};

// A walk along one sample line: position of its first sample and the step.
template <class F> struct Walk {
    typename F::Pos u, v, du, dv;
};

// The source pixel under the walk's position, then one step on. Checked:
// null when the position lies outside src.
template <class F, bool Checked> const unsigned long* Next(Walk<F>& w, const Source& s)
{
    uint32_t x = F::Index(w.u), y = F::Index(w.v);
    w.u += w.du;
    w.v += w.dv;
    if (Checked && (x >= s.width || y >= s.height)) return nullptr;
    return s.pixels + ptrdiff_t(y) * s.stride + ptrdiff_t(x);
}

template <class F> bool AxisInside(typename F::Pos p, typename F::Pos d, int64_t n, uint32_t size)
{
    int64_t first = F::Signed(p), last = first + (n - 1) * F::Signed(d);
    int64_t end = int64_t(size) << F::Bits;
    return first >= 0 && first < end && last >= 0 && last < end;
}

// Whether all n positions of the walk lie in src, so that the checks can go:
// steps are small enough that n of them never wrap, so the positions lie on
// the straight line between the first and the last.
template <class F> bool WalkInside(const Walk<F>& w, int64_t n, const Source& s)
{
    return AxisInside<F>(w.u, w.du, n, s.width) && AxisInside<F>(w.v, w.dv, n, s.height);
}

struct SpanFree {
    void operator()(Pair<int>* p) const { free(p); }
};

// Everything the row loops share. Destination coordinates are rebased so that
// the buffer's top-left is (0, 0); bx, by turn them back into X - t.x, Y - t.y.
struct Job {
    unsigned long* dst;
    ptrdiff_t dstStride;
    Source src;
    Inverse inv;
    double bx, by;  // left - t.x, top - t.y
    double sx, sy;  // src.left, src.top
    unsigned long key;
};

// The walk from destination sample (x, y) (rebased), step apart along the row.
template <class F> Walk<F> WalkAt(const Job& j, double x, double y, double step)
{
    x += j.bx;
    y += j.by;
    Walk<F> w = {ToFixed<F>(j.inv.a * x + j.inv.b * y - j.sx), ToFixed<F>(j.inv.c * x + j.inv.d * y - j.sy),
                 ToFixed<F>(j.inv.a * step), ToFixed<F>(j.inv.c * step)};
    return w;
}

template <class F, bool Keyed, bool Checked>
void PlainRun(unsigned long* d, ptrdiff_t n, Walk<F> w, const Source& s, unsigned long key)
{
    for (ptrdiff_t i = 0; i < n; ++i) {
        const unsigned long* p = Next<F, Checked>(w, s);
        if ((!Checked || p) && (!Keyed || *p != key)) d[i] = *p;
    }
}

template <class F, bool Keyed> void PlainRows(const Job& j, const Pair<int>* spans, Pair<int> first, int rows)
{
    for (int i = 0; i < rows; ++i) {
        Pair<int> s = spans[i];
        int r = first.y + i;
        unsigned long* d = j.dst + ptrdiff_t(r) * j.dstStride;
        for (int64_t c = s.x; c <= s.y; c += RunSamples) {
            ptrdiff_t n = ptrdiff_t(std::min<int64_t>(s.y, c + RunSamples - 1) - c + 1);
            Walk<F> w = WalkAt<F>(j, c + 0.5, r + 0.5, 1);
            if (WalkInside(w, n, j.src))
                PlainRun<F, Keyed, false>(d + c, n, w, j.src, j.key);
            else
                PlainRun<F, Keyed, true>(d + c, n, w, j.src, j.key);
        }
    }
}

// One half row of a smoothed destination row: the covered half samples
// from .. to, walked in order as the pixels ask for them.
template <class F> struct HalfRow {
    int from, to;
    Walk<F> walk;
};

// The half row's walk, starting at half sample h or at its first covered one.
template <class F> HalfRow<F> HalfRowAt(const Job& j, Pair<int> span, int line, int h)
{
    HalfRow<F> row = {span.x, span.y, Walk<F>()};
    h = std::max(h, span.x);
    if (h <= span.y) row.walk = WalkAt<F>(j, (h + 0.5) / 2, (line + 0.5) / 2, 0.5);
    return row;
}

template <class F, bool Keyed>
unsigned long Take(HalfRow<F>& row, int h, const Source& s, unsigned long key, unsigned long under)
{
    if (h < row.from || h > row.to) return under;
    const unsigned long* p = Next<F, true>(row.walk, s);
    if (!p || (Keyed && *p == key)) return under;
    return *p;
}

// A pixel whose four samples are all covered: only the source bounds (when
// Checked) and the key can still send a sample to the pixel beneath.
template <class F, bool Keyed, bool Checked>
unsigned long TakeCovered(Walk<F>& w, const Source& s, unsigned long key, unsigned long under)
{
    const unsigned long* p = Next<F, Checked>(w, s);
    if ((Checked && !p) || (Keyed && *p == key)) return under;
    return *p;
}

template <class F, bool Keyed>
unsigned long EdgePixel(HalfRow<F>& up, HalfRow<F>& down, int c, const Source& s, unsigned long key,
                        unsigned long under)
{
    uint32_t acc = SampleRound;
    acc += PackSample(Take<F, Keyed>(up, 2 * c, s, key, under));
    acc += PackSample(Take<F, Keyed>(up, 2 * c + 1, s, key, under));
    acc += PackSample(Take<F, Keyed>(down, 2 * c, s, key, under));
    acc += PackSample(Take<F, Keyed>(down, 2 * c + 1, s, key, under));
    return UnpackMean(acc);
}

template <class F, bool Keyed, bool Checked>
void InnerPixels(unsigned long* d, int c0, int c1, Walk<F>& up, Walk<F>& down, const Source& s, unsigned long key)
{
    for (int c = c0; c <= c1; ++c) {
        uint32_t acc = SampleRound;
        acc += PackSample(TakeCovered<F, Keyed, Checked>(up, s, key, d[c]));
        acc += PackSample(TakeCovered<F, Keyed, Checked>(up, s, key, d[c]));
        acc += PackSample(TakeCovered<F, Keyed, Checked>(down, s, key, d[c]));
        acc += PackSample(TakeCovered<F, Keyed, Checked>(down, s, key, d[c]));
        d[c] = UnpackMean(acc);
    }
}

// Pixels c0 .. c1 of row r, whose half rows cover the half samples a and b.
template <class F, bool Keyed>
void SmoothRun(const Job& j, unsigned long* d, int c0, int c1, Pair<int> a, Pair<int> b, int r)
{
    HalfRow<F> up = HalfRowAt<F>(j, a, 2 * r, 2 * c0), down = HalfRowAt<F>(j, b, 2 * r + 1, 2 * c0);
    // Between the edges every sample is covered and the checks can go.
    int i0 = c1 + 1, i1 = c1;
    if (a.x <= a.y && b.x <= b.y) {
        i0 = std::max(c0, (std::max(a.x, b.x) + 1) / 2);
        i1 = std::min(c1, (std::min(a.y, b.y) + 1) / 2 - 1);
        if (i0 > i1) i0 = c1 + 1, i1 = c1;
    }
    int c = c0;
    for (; c < i0; ++c) d[c] = EdgePixel<F, Keyed>(up, down, c, j.src, j.key, d[c]);
    if (c <= i1) {
        int64_t samples = 2 * (int64_t(i1) - c + 1);
        if (WalkInside(up.walk, samples, j.src) && WalkInside(down.walk, samples, j.src))
            InnerPixels<F, Keyed, false>(d, c, i1, up.walk, down.walk, j.src, j.key);
        else
            InnerPixels<F, Keyed, true>(d, c, i1, up.walk, down.walk, j.src, j.key);
        c = i1 + 1;
    }
    for (; c <= c1; ++c) d[c] = EdgePixel<F, Keyed>(up, down, c, j.src, j.key, d[c]);
}

template <class F, bool Keyed> void SmoothRows(const Job& j, const Pair<int>* spans, Pair<int> first, int rows)
{
    for (int i = 0; i < rows; ++i) {
        Pair<int> a = spans[2 * i], b = spans[2 * i + 1];
        bool hasA = a.x <= a.y, hasB = b.x <= b.y;
        if (!hasA && !hasB) continue;
        int r = first.y + i;
        // Half-sample indices are never negative here (the rows are rebased).
        int lo = std::min(hasA ? a.x : INT_MAX, hasB ? b.x : INT_MAX) / 2;
        int hi = std::max(hasA ? a.y : INT_MIN, hasB ? b.y : INT_MIN) / 2;
        unsigned long* d = j.dst + ptrdiff_t(r) * j.dstStride;
        for (int64_t c = lo; c <= hi; c += RunSamples / 2)
            SmoothRun<F, Keyed>(j, d, int(c), int(std::min<int64_t>(hi, c + RunSamples / 2 - 1)), a, b, r);
    }
}

template <class F> void Draw(const Job& j, const Pair<int>* spans, Pair<int> first, int rows, bool smooth)
{
    bool keyed = j.key != NoKey;
    if (smooth)
        keyed ? SmoothRows<F, true>(j, spans, first, rows) : SmoothRows<F, false>(j, spans, first, rows);
    else
        keyed ? PlainRows<F, true>(j, spans, first, rows) : PlainRows<F, false>(j, spans, first, rows);
}

}  // namespace

int Buffer::XFormLin(Buffer& src, Matrix2D& m, Pair<int> t, unsigned long key, int mode)
{
    if (!pixels || !src.pixels || !Finite(m)) return 0;
    int64_t w = int64_t(src.right) - src.left + 1, h = int64_t(src.bottom) - src.top + 1;
    if (w < 1 || h < 1 || w > INT_MAX || h > INT_MAX) return 0;
    int64_t dw = int64_t(right) - left + 1, dh = int64_t(bottom) - top + 1;
    if (dw < 1 || dh < 1) return 0;
    Inverse inv;
    if (!Invert(m, inv)) return 0;
    bool smooth = mode > 0 || (mode < 0 && !NearUnit(m));

    // The picture's rect inset by 0.05 pixel, mapped, relative to this
    // buffer's top-left: Render then works on a rect at (0, 0), where half
    // pixel units fit an int whatever this buffer's coordinates are.
    double x0 = src.left + 0.05, x1 = src.right + 0.95, y0 = src.top + 0.05, y1 = src.bottom + 0.95;
    double ox = double(t.x) - left, oy = double(t.y) - top;
    Pair<double> corners[4] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    for (Pair<double>& c : corners)
        c = Pair<double>{m.m0 * c.x + m.m2 * c.y + ox, m.m1 * c.x + m.m3 * c.y + oy};
    Buffer area;  // Render reads the rect alone
    area.left = area.top = 0;
    area.right = int(std::min<int64_t>(dw - 1, INT_MAX));
    area.bottom = int(std::min<int64_t>(dh - 1, INT_MAX));
    Pair<int> first;
    int rows;
    std::unique_ptr<Pair<int>, SpanFree> spans(area.Render(corners, first, rows, smooth));
    if (!spans) return 0;

    Job j = {pixels, stride, Source{src.pixels, src.stride, uint32_t(w), uint32_t(h)}, inv, -ox, -oy,
             double(src.left), double(src.top), key};
    if (w <= 32767 && h <= 32767 && Magnification(m) <= 8)
        Draw<Fixed16>(j, spans.get(), first, rows, smooth);
    else
        Draw<Fixed32>(j, spans.get(), first, rows, smooth);
    return 1;
}
