// Copying between buffers (with an optional transparent key), and exchanging.
#include <string.h>

#include "buffer.h"
#include "buffer_clip.h"

namespace {

const unsigned long NoKey = 0xFFFFFFFF;

// One rectangle of pixels in each of two buffers, walked row by row.
struct Rows {
    unsigned long* d;
    const unsigned long* s;
    ptrdiff_t dStride, sStride;
    ptrdiff_t width, height;
};

// Rows are whole: within a row memmove copes with any overlap, so only the
// order of the rows matters.
void CopyPlain(Rows r)
{
    size_t bytes = size_t(r.width) * sizeof(unsigned long);
    for (ptrdiff_t y = 0; y < r.height; ++y) memmove(r.d + y * r.dStride, r.s + y * r.sStride, bytes);
}

// A pixel equal to the key keeps the destination; writing the destination's
// own value back leaves the loop branch-free, and writes nothing a later read
// could see changed.
void CopyKeyedForward(Rows r, unsigned long key)
{
    for (ptrdiff_t y = 0; y < r.height; ++y) {
        unsigned long* d = r.d + y * r.dStride;
        const unsigned long* s = r.s + y * r.sStride;
        for (ptrdiff_t i = 0; i < r.width; ++i) d[i] = s[i] != key ? s[i] : d[i];
    }
}

// Rows arrive last first (negative strides); each row runs right to left.
void CopyKeyedBackward(Rows r, unsigned long key)
{
    for (ptrdiff_t y = 0; y < r.height; ++y) {
        unsigned long* d = r.d + y * r.dStride;
        const unsigned long* s = r.s + y * r.sStride;
        for (ptrdiff_t i = r.width; i-- > 0;) d[i] = s[i] != key ? s[i] : d[i];
    }
}

}  // namespace

void Buffer::Copy(Buffer& src, Pair<int> pos, unsigned long key)
{
    Rect d;
    if (!src.pixels || !ClipShifted(*this, src.GetRect(), pos.x, pos.y, d)) return;
    Rows r = {PixelAt(*this, d.left, d.top), PixelAt(src, int64_t(d.left) - pos.x, int64_t(d.top) - pos.y),
              stride, src.stride, RectWidth(d), RectHeight(d)};
    if (r.d == r.s && r.dStride == r.sStride) return;
    // Both may lie in one block. When the source starts lower in memory the
    // destination would overwrite source pixels not yet read, so run from the
    // last row back, right to left.
    bool backwards = reinterpret_cast<uintptr_t>(r.s) < reinterpret_cast<uintptr_t>(r.d);
    if (backwards) {
        r.d += (r.height - 1) * r.dStride;
        r.s += (r.height - 1) * r.sStride;
        r.dStride = -r.dStride;
        r.sStride = -r.sStride;
    }
    if (key == NoKey)
        CopyPlain(r);
    else if (backwards)
        CopyKeyedBackward(r, key);
    else
        CopyKeyedForward(r, key);
}

void Buffer::Swap(Buffer& other)
{
    Rect r = other.GetRect();
    if (&other == this || !other.pixels || !ClipRect(*this, r)) return;
    unsigned long* a = PixelAt(*this, r.left, r.top);
    unsigned long* b = PixelAt(other, r.left, r.top);
    ptrdiff_t w = RectWidth(r);
    for (ptrdiff_t y = 0; y < RectHeight(r); ++y) {
        unsigned long* row = a + y * stride;
        std::swap_ranges(row, row + w, b + y * other.stride);
    }
}
