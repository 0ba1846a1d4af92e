// Single pixels, vertical runs, filled and outlined rectangles.
#include "buffer.h"
#include "buffer_clip.h"

void Buffer::PutPixel(Pair<int> p, unsigned long colour)
{
    if (!pixels || p.x < left || p.x > right || p.y < top || p.y > bottom) return;
    Plot(PixelAt(*this, p.x, p.y), colour);
}

void Buffer::VLine(int x, int y1, int y2, unsigned long colour)
{
    Rect r = {x, y1, x, y2};
    if (!ClipRect(*this, r)) return;
    unsigned long* p = PixelAt(*this, r.left, r.top);
    ptrdiff_t n = RectHeight(r);
    if (colour & XorBit) {
        unsigned long bits = colour & ~XorBit;
        for (ptrdiff_t i = 0; i < n; ++i) p[i * stride] ^= bits;
    } else {
        for (ptrdiff_t i = 0; i < n; ++i) p[i * stride] = colour;
    }
}

void Buffer::Box(Rect r, unsigned long colour)
{
    if (!ClipRect(*this, r)) return;
    unsigned long* row = PixelAt(*this, r.left, r.top);
    ptrdiff_t w = RectWidth(r);
    for (ptrdiff_t y = 0; y < RectHeight(r); ++y) FillRun(row + y * stride, w, colour);
}

void Buffer::Rectangle(Rect r, unsigned long colour)
{
    if (r.right < r.left || r.bottom < r.top) return;
    // The corners belong to the rows and the columns stop short of them, so
    // an XOR outline touches every pixel once.
    Box(Rect{r.left, r.top, r.right, r.top}, colour);
    if (r.top < r.bottom) Box(Rect{r.left, r.bottom, r.right, r.bottom}, colour);
    if (int64_t(r.bottom) - r.top < 2) return;
    VLine(r.left, r.top + 1, r.bottom - 1, colour);
    if (r.left != r.right) VLine(r.right, r.top + 1, r.bottom - 1, colour);
}
