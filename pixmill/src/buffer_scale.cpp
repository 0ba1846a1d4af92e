// Scaling and mirroring a picture into a destination rectangle.
//
// Every destination row takes the same source columns, so the columns (and
// the rows) are found once per call; the pixel loops then only look them up.
// The indices are stepped as exact quotient and remainder rather than as a
// rounded 32.32 fraction: a rounded step drifts by up to one unit per pixel,
// and for stretched sizes beyond about 46,000 pixels that drift picks the
// neighbouring source pixel where a sample falls just below a pixel edge.
#include <limits.h>
#include <stdint.h>

#include <algorithm>

#include "buffer.h"
#include "buffer_clip.h"
#include "buffer_sample.h"
#include "scratch_block.h"

namespace {

const unsigned long NoKey = 0xFFFFFFFF;

// length source pixels cut into `parts` equal parts, each sampled at its
// middle: out[i] = floor((2j + 1) * length / (2 * parts)) for j = first + i.
// With length < 2^31 and parts <= 2^32 every term fits in 64 bits.
void SampleIndices(uint64_t length, uint64_t parts, uint64_t first, ptrdiff_t count, int* out)
{
    uint64_t den = 2 * parts;
    uint64_t num = (2 * first + 1) * length;
    uint64_t q = num / den, r = num % den;
    uint64_t stepQ = 2 * length / den, stepR = 2 * length % den;
    for (ptrdiff_t i = 0; i < count; ++i) {
        out[i] = int(q);
        q += stepQ;
        r += stepR;
        if (r >= den) {
            r -= den;
            ++q;
        }
    }
}

// Source indices for destination positions lo .. lo + count - 1 of an axis
// that starts at start and runs size positions (negative: mirrored). per is
// the number of samples per destination position (1 plain, 2 smoothing).
void AxisTable(int64_t srcLen, int64_t start, int64_t size, int64_t lo, ptrdiff_t count, int per, int* out)
{
    int64_t len = size < 0 ? -size : size;
    int64_t k = lo - start;
    // Mirrored, position lo takes the last of the visible k, counted from the
    // far side; the table is built in k order and turned round.
    if (size < 0) k = len - 1 - k - (count - 1);
    SampleIndices(uint64_t(srcLen), uint64_t(len) * per, uint64_t(k) * per, count * per, out);
    if (size < 0) std::reverse(out, out + count * per);
}

// Both ratios strictly between 2/3 and 3/2: one sample per pixel looks right.
bool NearUnitRatio(int64_t from, int64_t to)
{
    return 2 * from < 3 * to && 2 * to < 3 * from;
}

struct ScaleJob {
    unsigned long* dst;
    ptrdiff_t dstStride;
    const unsigned long* src;
    ptrdiff_t srcStride;
    const int* cols;  // per destination column (two when smoothing)
    const int* rows;  // per destination row (two when smoothing)
    ptrdiff_t width, height;
    unsigned long key;
};

void PlainRows(const ScaleJob& j)
{
    for (ptrdiff_t y = 0; y < j.height; ++y) {
        unsigned long* d = j.dst + y * j.dstStride;
        const unsigned long* s = j.src + j.rows[y] * j.srcStride;
        for (ptrdiff_t i = 0; i < j.width; ++i) d[i] = s[j.cols[i]];
    }
}

// A key pixel leaves the destination as it is.
void PlainRowsKeyed(const ScaleJob& j)
{
    for (ptrdiff_t y = 0; y < j.height; ++y) {
        unsigned long* d = j.dst + y * j.dstStride;
        const unsigned long* s = j.src + j.rows[y] * j.srcStride;
        for (ptrdiff_t i = 0; i < j.width; ++i) {
            unsigned long v = s[j.cols[i]];
            if (v != j.key) d[i] = v;
        }
    }
}

void SmoothRows(const ScaleJob& j)
{
    for (ptrdiff_t y = 0; y < j.height; ++y) {
        unsigned long* d = j.dst + y * j.dstStride;
        const unsigned long* s0 = j.src + j.rows[2 * y] * j.srcStride;
        const unsigned long* s1 = j.src + j.rows[2 * y + 1] * j.srcStride;
        for (ptrdiff_t i = 0; i < j.width; ++i) {
            int c0 = j.cols[2 * i], c1 = j.cols[2 * i + 1];
            d[i] = MeanOf4(s0[c0], s0[c1], s1[c0], s1[c1]);
        }
    }
}

// A key sample is replaced by what lies beneath, so keyed edges blend.
void SmoothRowsKeyed(const ScaleJob& j)
{
    for (ptrdiff_t y = 0; y < j.height; ++y) {
        unsigned long* d = j.dst + y * j.dstStride;
        const unsigned long* s0 = j.src + j.rows[2 * y] * j.srcStride;
        const unsigned long* s1 = j.src + j.rows[2 * y + 1] * j.srcStride;
        for (ptrdiff_t i = 0; i < j.width; ++i) {
            int c0 = j.cols[2 * i], c1 = j.cols[2 * i + 1];
            unsigned long under = d[i];
            unsigned long a = s0[c0], b = s0[c1], c = s1[c0], e = s1[c1];
            d[i] = MeanOf4(a != j.key ? a : under, b != j.key ? b : under, c != j.key ? c : under,
                           e != j.key ? e : under);
        }
    }
}

}  // namespace

void Buffer::Scale(Buffer& src, Pair<int> size, Pair<int> pos, unsigned long key, int mode)
{
    if (!src.pixels || size.x == 0 || size.y == 0) return;
    int64_t w = int64_t(src.right) - src.left + 1, h = int64_t(src.bottom) - src.top + 1;
    if (w < 1 || h < 1 || w > INT_MAX || h > INT_MAX) return;
    int64_t sw = size.x < 0 ? -int64_t(size.x) : size.x, sh = size.y < 0 ? -int64_t(size.y) : size.y;
    Rect d;
    if (!ClipShifted(*this, Rect{0, 0, int(sw - 1), int(sh - 1)}, pos.x, pos.y, d)) return;

    bool smooth = mode > 0;
    if (mode < 0) smooth = !(NearUnitRatio(w, sw) && NearUnitRatio(h, sh));
    int per = smooth ? 2 : 1;
    ptrdiff_t width = RectWidth(d), height = RectHeight(d);
    ScratchBlock<int> cols(uint64_t(width) * per), rows(uint64_t(height) * per);
    AxisTable(w, pos.x, size.x, d.left, width, per, cols.Get());
    AxisTable(h, pos.y, size.y, d.top, height, per, rows.Get());

    ScaleJob job = {PixelAt(*this, d.left, d.top), stride, src.pixels, src.stride, cols.Get(), rows.Get(),
                    width, height, key};
    if (smooth)
        key == NoKey ? SmoothRows(job) : SmoothRowsKeyed(job);
    else
        key == NoKey ? PlainRows(job) : PlainRowsKeyed(job);
}
