// Helpers for the drawing tests: a view with a guard border round it, and the
// line walk written out plainly, one step at a time, with no clipping.
#ifndef TESTS_PIXMILL_DRAW_FIXTURE_H
#define TESTS_PIXMILL_DRAW_FIXTURE_H

#include <stdint.h>

#include <algorithm>
#include <random>
#include <vector>

#include "buffer.h"

// A w x h view whose own coordinates start at origin, inside a block whose
// other pixels hold Guard. With the default origin the view keeps the block's
// coordinates (keep = true); any other origin is set in the fields.
class Canvas {
public:
    static constexpr int Border = 3;
    static constexpr unsigned long Guard = 0xC0FFEE11;

    Canvas(int w, int h) : Canvas(w, h, Pair<int>{Border, Border}) {}
    Canvas(int w, int h, Pair<int> origin)
    {
        block.Alloc({w + 2 * Border, h + 2 * Border});
        std::fill(block.pixels, BlockEnd(), Guard);
        Rect r = {Border, Border, Border + w - 1, Border + h - 1};
        if (origin.x == Border && origin.y == Border) {
            view.Alloc(block, r, true);
        } else {
            // Views made by Alloc never start below 0; the fields are plain
            // data, so any origin is one assignment away.
            view.Alloc({w, h}, block.At(Border, Border), block.stride);
            view.left = origin.x;
            view.top = origin.y;
            view.right = int(int64_t(origin.x) + w - 1);
            view.bottom = int(int64_t(origin.y) + h - 1);
        }
        Fill(0);
    }

    Buffer block, view;

    bool Inside(int64_t x, int64_t y) const
    {
        return x >= view.left && x <= view.right && y >= view.top && y <= view.bottom;
    }
    unsigned long& Px(int x, int y) { return *view.At(x, y); }

    // Row j of the view (0 = top). Offsets, not coordinates: a view may end at INT_MAX.
    unsigned long* Row(int j) { return view.pixels + j * view.stride; }

    void Fill(unsigned long v)
    {
        for (int j = 0; j < view.Height(); ++j) std::fill(Row(j), Row(j) + view.Width(), v);
    }
    void Noise(std::mt19937& rng)
    {
        for (int j = 0; j < view.Height(); ++j)
            for (int i = 0; i < view.Width(); ++i) Row(j)[i] = rng();
    }
    // The whole block, guard included.
    std::vector<unsigned long> Snapshot() const { return std::vector<unsigned long>(block.pixels, BlockEnd()); }
    // Row by row with std::equal: the drawing tests call this thousands of
    // times in unoptimised sanitizer builds.
    bool GuardIntact() const
    {
        std::vector<unsigned long> guard(size_t(block.Width()), Guard);
        const unsigned long* g = guard.data();
        int w = view.Width();
        for (int y = 0; y < block.Height(); ++y) {
            const unsigned long* row = block.pixels + y * block.stride;
            if (y < Border || y >= Border + view.Height()) {
                if (!std::equal(row, row + block.Width(), g)) return false;
            } else if (!std::equal(row, row + Border, g) || !std::equal(row + Border + w, row + block.Width(), g)) {
                return false;
            }
        }
        return true;
    }

private:
    unsigned long* BlockEnd() const { return block.pixels + block.Width() * block.Height(); }
};

// The line's pixels in walk order: one pixel per step along the major axis, a
// 32-bit accumulator for the minor one, started at 2^31 and stepped by
// dminor * 2^32 / dmajor; a carry moves the minor axis. A diagonal starts at
// 0xFFFFFFFE and steps by 0xFFFFFFFF. Axis-parallel lines take every pixel.
template <class Visit> void ReferenceWalk(Pair<int> p1, Pair<int> p2, Visit visit)
{
    int64_t dx = int64_t(p2.x) - p1.x, dy = int64_t(p2.y) - p1.y;
    int64_t ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
    int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    bool yMajor = ax < ay;
    int64_t major = yMajor ? ay : ax, minor = yMajor ? ax : ay;
    uint32_t acc = 0x80000000, step = 0;
    if (minor == major) {
        acc = 0xFFFFFFFE;
        step = 0xFFFFFFFF;
    } else if (minor != 0) {
        step = uint32_t((uint64_t(minor) << 32) / uint64_t(major));
    }
    int64_t x = p1.x, y = p1.y;
    for (int64_t i = 0; i <= major; ++i) {
        visit(x, y);
        uint32_t old = acc;
        acc += step;
        bool carry = acc < old && minor != 0;
        if (yMajor) {
            y += sy;
            if (carry) x += sx;
        } else {
            x += sx;
            if (carry) y += sy;
        }
    }
}

#endif
