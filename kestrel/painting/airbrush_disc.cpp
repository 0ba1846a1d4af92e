// The airbrush's disc: the rows of a midpoint circle, each blended once
// with its widest span (the walk meets some rows twice, and the centre row
// twice for radius 1; blending those twice would darken them).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "paintkit.h"
#include "spray.h"

namespace {

// Half-widths of the disc's rows, index dy + radius.
std::vector<int> DiscSpans(int radius)
{
    std::vector<int> half(size_t(2 * radius + 1), -1);
    auto span = [&](int dy, int h) {
        int& s = half[size_t(dy + radius)];
        if (h > s) s = h;
    };
    int i = 0, j = radius, d = 3 - 2 * radius;
    while (j >= i) {
        if (d < 0) {
            span(i, j);
            span(-i, j);
            ++i;
            d += 4 * i + 6;
        } else {
            span(j, i);
            span(-j, i);
            if (i < j) {
                span(i, j);
                span(-i, j);
            }
            ++i;
            d += 4 * (i - j) + 10;
            --j;
        }
    }
    return half;
}

unsigned long Blend(unsigned long pixel, unsigned long colour, int t)
{
    unsigned long out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        unsigned long c = (pixel >> shift) & 0xFF, k = (colour >> shift) & 0xFF;
        out |= (((c * unsigned(256 - t) + k * unsigned(t)) >> 8) & 0xFF) << shift;
    }
    return out;
}

struct DiscRow {
    int cx, dy, x0, x1;  // the span, picture columns
    double rim;          // distance of the span's ends from the centre
};

// The weight falls off with the square root of the distance, relative to
// the span's ends; 0 .. 256 whatever the strength.
int Weight(const DiscRow& row, int x, int f)
{
    double dist = std::sqrt(double(row.dy) * row.dy + double(row.cx - x) * (row.cx - x));
    int o = int(std::sqrt(dist / row.rim) * f);
    int t = std::rand() % 5 + f - o - 2;
    return std::max(0, std::min(256, t));
}

void BlendRow(const DiscRow& row, int y, int f, unsigned long colour)
{
    const Rect v = WorkView.GetRect();
    auto blend = [&](int x, int t) {
        if (x < v.left || x > v.right) return;
        unsigned long* p = WorkView.At(x, y);
        *p = Blend(*p, colour, t);
    };
    // Walked from both ends inward; the mirrored pixel takes the same weight.
    for (int l = row.x0, r = row.x1; l <= r; ++l, --r) {
        int t = Weight(row, l, f);
        blend(l, t);
        if (r != l) blend(r, t);
    }
}

}  // namespace

void AirbrushDisc(int cx, int cy, int radius, int strength, unsigned long colour)
{
    SetVisibleClip();
    if (!WorkView.pixels || radius < 1) return;
    int f = int(strength * 2.4 + 12);
    std::vector<int> half = DiscSpans(radius);
    const Rect v = WorkView.GetRect();
    for (int dy = -radius; dy <= radius; ++dy) {
        int h = half[size_t(dy + radius)];
        int y = cy + dy;
        if (h < 0 || y < v.top || y > v.bottom) continue;
        DiscRow row = {cx, dy, cx - h, cx + h, 0};
        row.rim = std::max(1.0, std::trunc(std::sqrt(double(dy) * dy + double(h) * h)));
        BlendRow(row, y, f, colour);
    }
}
