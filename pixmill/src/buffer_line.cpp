// Straight lines, and copying the pixels that lie on one.
//
// The walk steps one pixel along the major axis at a time; a 32-bit
// accumulator moves the minor axis on each carry. Clipping works out where the
// walk enters and leaves the rect instead of stepping up to it, so a line from
// far outside costs nothing extra and draws exactly the pixels of the whole
// line that fall inside: rubber bands erased by XOR depend on that.
#include "buffer.h"
#include "buffer_clip.h"

namespace {

// Pixel i of the walk (0 at p1) lies i pixels along the major axis and
// Carries(i) = (start + i * step) >> 32 pixels along the minor axis. Both
// factors are below 2^32, so the sum stays below 2^64 for every i <= dmajor.
struct Walk {
    int x, y;            // first pixel inside the clip rect
    int64_t count;       // pixels inside
    bool yMajor;
    int sx, sy;          // direction from p1 to p2 on each axis
    uint32_t acc, step;  // accumulator at that first pixel
};

int Outcode(Pair<int> p, const Rect& c)
{
    return (p.x < c.left ? 1 : 0) | (p.x > c.right ? 2 : 0) | (p.y < c.top ? 4 : 0) | (p.y > c.bottom ? 8 : 0);
}

// The k for which v + s * k lies in [lo, hi] (s is 1 or -1), as [first, last].
void OffsetRange(int64_t v, int s, int64_t lo, int64_t hi, int64_t& first, int64_t& last)
{
    if (s > 0) {
        first = lo - v;
        last = hi - v;
    } else {
        first = v - hi;
        last = v - lo;
    }
}

// First i with Carries(i) >= k; 1 <= k <= Carries(dmajor) keeps k << 32 in range.
int64_t FirstStepReaching(uint64_t k, uint64_t start, uint64_t step)
{
    return int64_t(((k << 32) - start + step - 1) / step);
}

// Last i with Carries(i) <= k; 0 <= k < Carries(dmajor).
int64_t LastStepWithin(uint64_t k, uint64_t start, uint64_t step)
{
    return int64_t((((k + 1) << 32) - 1 - start) / step);
}

// The part of the walk from p1 to p2 (not axis-parallel) inside c.
bool ClipWalk(Pair<int> p1, Pair<int> p2, const Rect& c, Walk& w)
{
    if (Outcode(p1, c) & Outcode(p2, c)) return false;
    int64_t dx = int64_t(p2.x) - p1.x, dy = int64_t(p2.y) - p1.y;
    w.sx = dx < 0 ? -1 : 1;
    w.sy = dy < 0 ? -1 : 1;
    uint64_t adx = uint64_t(dx < 0 ? -dx : dx), ady = uint64_t(dy < 0 ? -dy : dy);
    w.yMajor = adx < ady;
    uint64_t dmajor = w.yMajor ? ady : adx, dminor = w.yMajor ? adx : ady;
    uint64_t start = 0x80000000, step;
    if (adx == ady) {
        // Every step carries: a pure diagonal.
        start = 0xFFFFFFFE;
        step = 0xFFFFFFFF;
    } else {
        // Rounded down: a line over 2^31 pixels long can end one pixel short
        // of p2 on the minor axis. Clipped or not, it is the same walk.
        step = (dminor << 32) / dmajor;
    }

    // a: the major coordinate, b: the minor one.
    int64_t a1 = w.yMajor ? p1.y : p1.x, b1 = w.yMajor ? p1.x : p1.y;
    int sa = w.yMajor ? w.sy : w.sx, sb = w.yMajor ? w.sx : w.sy;
    int64_t aLo = w.yMajor ? c.top : c.left, aHi = w.yMajor ? c.bottom : c.right;
    int64_t bLo = w.yMajor ? c.left : c.top, bHi = w.yMajor ? c.right : c.bottom;

    // Steps i in [first, last] keep a inside; carries in [cfirst, clast] keep b inside.
    int64_t first, last, cfirst, clast;
    OffsetRange(a1, sa, aLo, aHi, first, last);
    OffsetRange(b1, sb, bLo, bHi, cfirst, clast);
    first = std::max<int64_t>(first, 0);
    last = std::min<int64_t>(last, int64_t(dmajor));
    int64_t cmax = int64_t((start + dmajor * step) >> 32);
    if (clast < 0 || cfirst > cmax) return false;
    // Carries(i) never decreases, so the minor range cuts one interval of i.
    if (cfirst > 0) first = std::max(first, FirstStepReaching(uint64_t(cfirst), start, step));
    if (clast < cmax) last = std::min(last, LastStepWithin(uint64_t(clast), start, step));
    if (first > last) return false;

    uint64_t sum = start + uint64_t(first) * step;
    int64_t a = a1 + sa * first, b = b1 + sb * int64_t(sum >> 32);
    w.x = int(w.yMajor ? b : a);
    w.y = int(w.yMajor ? a : b);
    w.count = last - first + 1;
    w.acc = uint32_t(sum);
    w.step = uint32_t(step);
    return true;
}

// Pointer moves of one major and one minor step in a buffer.
struct Moves {
    ptrdiff_t major, minor;
};

Moves MovesFor(const Walk& w, int stride)
{
    ptrdiff_t across = w.sx, down = ptrdiff_t(w.sy) * stride;
    return w.yMajor ? Moves{down, across} : Moves{across, down};
}

// Visits each pixel of the clipped walk. The cursor never steps past the last
// pixel, so its pointers stay inside the rect.
template <class Cursor> void Trace(const Walk& w, Cursor& cursor)
{
    uint32_t acc = w.acc;
    for (int64_t n = w.count;;) {
        cursor.Visit();
        if (--n == 0) return;
        uint32_t before = acc;
        acc += w.step;
        cursor.Step(acc < before);
    }
}

struct StoreCursor {
    unsigned long* p;
    Moves m;
    unsigned long colour;
    void Visit() { *p = colour; }
    void Step(bool carry) { p += carry ? m.major + m.minor : m.major; }
};

struct XorCursor {
    unsigned long* p;
    Moves m;
    unsigned long bits;
    void Visit() { *p ^= bits; }
    void Step(bool carry) { p += carry ? m.major + m.minor : m.major; }
};

struct CopyCursor {
    unsigned long* d;
    const unsigned long* s;
    Moves dm, sm;
    void Visit() { *d = *s; }
    void Step(bool carry)
    {
        d += carry ? dm.major + dm.minor : dm.major;
        s += carry ? sm.major + sm.minor : sm.major;
    }
};

}  // namespace

void Buffer::Line(Pair<int> p1, Pair<int> p2, unsigned long colour)
{
    if (p1.x == p2.x) {
        VLine(p1.x, std::min(p1.y, p2.y), std::max(p1.y, p2.y), colour);
        return;
    }
    if (p1.y == p2.y) {
        Box(Rect{std::min(p1.x, p2.x), p1.y, std::max(p1.x, p2.x), p1.y}, colour);
        return;
    }
    Walk w;
    if (!pixels || !ClipWalk(p1, p2, GetRect(), w)) return;
    unsigned long* p = PixelAt(*this, w.x, w.y);
    if (colour & XorBit) {
        XorCursor c = {p, MovesFor(w, stride), colour & ~XorBit};
        Trace(w, c);
    } else {
        StoreCursor c = {p, MovesFor(w, stride), colour};
        Trace(w, c);
    }
}

void Buffer::CopyLine(Buffer& src, Pair<int> p1, Pair<int> p2, Pair<int> offset)
{
    if (p1.x == p2.x || p1.y == p2.y) {
        Rect r = {std::min(p1.x, p2.x), std::min(p1.y, p2.y), std::max(p1.x, p2.x), std::max(p1.y, p2.y)};
        Buffer span(src, r, true);
        Copy(span, offset, 0xFFFFFFFF);
        return;
    }
    // Walk in src coordinates, over the part of src that lands inside this buffer.
    Rect c;
    Walk w;
    if (!pixels || !ClipShifted(src, GetRect(), -int64_t(offset.x), -int64_t(offset.y), c)) return;
    if (!ClipWalk(p1, p2, c, w)) return;
    CopyCursor cursor = {PixelAt(*this, int64_t(w.x) + offset.x, int64_t(w.y) + offset.y), PixelAt(src, w.x, w.y),
                         MovesFor(w, stride), MovesFor(w, src.stride)};
    Trace(w, cursor);
}
