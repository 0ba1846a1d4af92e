// Scan conversion of a quadrilateral into the column spans it covers.
//
// The smoothing form is the plain one on a grid twice as fine: sample line q
// lies at y = (q + 0.5) / 2 and sample h at x = (h + 0.5) / 2, so the four
// samples of pixel (c, r) are h = 2c, 2c + 1 on lines 2r, 2r + 1, and a span's
// ends in half-pixel units are simply its first and last covered h.
//
// Fill rule: an edge crosses the lines with top <= y < bottom, and a sample
// counts when min <= x < max on its line, so two shapes sharing an edge never
// both cover a sample on it.
//
// The result comes from malloc, the heap both modules share: callers release
// it with free(). It holds one (left, right) pair per row, or per half row
// when smoothing (upper half first; rows then counts whole rows). A line with
// nothing covered between the first and last covered ones has left > right.
// Nothing covered, or a corner that is not a number or lies beyond 2^62:
// null, with rows 0.
#include <limits.h>
#include <math.h>
#include <stdint.h>
#include <stdlib.h>

#include <algorithm>

#include "buffer.h"
#include "exceptions.h"
#include "scratch_block.h"

namespace {

// Corners farther out than this are refused: differences of two corners stay
// finite, and no picture lies anywhere near.
const double MaxCorner = 4611686018427387904.0;  // 2^62

// Sample lines and sample columns of the buffer on the (possibly doubled) grid.
struct Grid {
    int64_t lineLo, lineHi;  // the lines the corners reach, clipped to the rect
    int64_t colLo, colHi;
    int per;                 // samples per pixel along each axis
};

bool Usable(const Pair<double>* corners)
{
    for (int i = 0; i < 4; ++i) {
        Pair<double> c = corners[i];
        if (!(fabs(c.x) <= MaxCorner && fabs(c.y) <= MaxCorner)) return false;  // NaN fails too
    }
    return true;
}

int64_t FloorDiv(int64_t a, int per)
{
    return a >= 0 ? a / per : -((-a + per - 1) / per);
}

// First and last index i with lo <= i + 0.5 < hi, clipped to [first, last].
bool SampleRange(double lo, double hi, int64_t first, int64_t last, int64_t& a, int64_t& b)
{
    double from = std::max(ceil(lo - 0.5), double(first));
    double to = std::min(ceil(hi - 0.5) - 1, double(last));
    if (!(from <= to)) return false;
    a = int64_t(from);
    b = int64_t(to);
    return true;
}

// An edge widens the range of every line it crosses.
void CrossEdge(Pair<double> a, Pair<double> b, const Grid& g, double* lo, double* hi)
{
    if (a.y == b.y) return;
    if (a.y > b.y) std::swap(a, b);
    int64_t first, last;
    if (!SampleRange(a.y, b.y, g.lineLo, g.lineHi, first, last)) return;
    double dx = b.x - a.x, dy = b.y - a.y;
    for (int64_t q = first; q <= last; ++q) {
        // The fraction stays within [0, 1], so steep edges cannot overflow.
        double x = a.x + dx * ((double(q) + 0.5 - a.y) / dy);
        size_t i = size_t(q - g.lineLo);
        lo[i] = std::min(lo[i], x);
        hi[i] = std::max(hi[i], x);
    }
}

struct Span {
    int64_t left, right;
};

Span Covered(const Grid& g, const double* lo, const double* hi, int64_t q)
{
    Span s = {0, -1};
    if (q < g.lineLo || q > g.lineHi) return s;
    size_t i = size_t(q - g.lineLo);
    if (!SampleRange(lo[i], hi[i], g.colLo, g.colHi, s.left, s.right)) s = Span{0, -1};
    return s;
}

}  // namespace

Pair<int>* Buffer::Render(Pair<double>* corners, Pair<int>& first, int& rows, int smooth)
{
    first = Pair<int>{0, 0};
    rows = 0;
    if (!corners || right < left || bottom < top || !Usable(corners)) return nullptr;

    Grid g;
    g.per = smooth ? 2 : 1;
    // Half-pixel ends must fit in an int; columns beyond +-2^30 are dropped there.
    g.colLo = std::max<int64_t>(int64_t(left) * g.per, INT_MIN);
    g.colHi = std::min<int64_t>(int64_t(right) * g.per + g.per - 1, INT_MAX);
    double ymin = corners[0].y, ymax = corners[0].y;
    for (int i = 1; i < 4; ++i) {
        ymin = std::min(ymin, corners[i].y);
        ymax = std::max(ymax, corners[i].y);
    }
    if (!SampleRange(ymin * g.per, ymax * g.per, int64_t(top) * g.per, int64_t(bottom) * g.per + g.per - 1,
                     g.lineLo, g.lineHi))
        return nullptr;

    uint64_t lines = uint64_t(g.lineHi - g.lineLo) + 1;
    ScratchBlock<double> lo(lines), hi(lines);
    std::fill(lo.Get(), lo.Get() + lines, HUGE_VAL);
    std::fill(hi.Get(), hi.Get() + lines, -HUGE_VAL);
    for (int i = 0; i < 4; ++i) {
        Pair<double> a = corners[i], b = corners[(i + 1) % 4];
        CrossEdge(Pair<double>{a.x * g.per, a.y * g.per}, Pair<double>{b.x * g.per, b.y * g.per}, g, lo.Get(),
                  hi.Get());
    }

    bool any = false;
    int64_t firstLine = 0, lastLine = 0, minCol = INT64_MAX;
    for (int64_t q = g.lineLo; q <= g.lineHi; ++q) {
        Span s = Covered(g, lo.Get(), hi.Get(), q);
        if (s.left > s.right) continue;
        if (!any) firstLine = q;
        any = true;
        lastLine = q;
        minCol = std::min(minCol, s.left);
    }
    if (!any) return nullptr;

    int64_t firstRow = FloorDiv(firstLine, g.per), lastRow = FloorDiv(lastLine, g.per);
    int64_t count = (lastRow - firstRow + 1) * g.per;
    Pair<int>* spans = static_cast<Pair<int>*>(malloc(size_t(count) * sizeof(Pair<int>)));
    if (!spans) throw EOutOfMemory();
    for (int64_t i = 0; i < count; ++i) {
        Span s = Covered(g, lo.Get(), hi.Get(), firstRow * g.per + i);
        spans[i] = Pair<int>{int(s.left), int(s.right)};
    }
    first = Pair<int>{int(FloorDiv(minCol, g.per)), int(firstRow)};
    rows = int(lastRow - firstRow + 1);
    return spans;
}
