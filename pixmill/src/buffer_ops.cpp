// Whole-buffer operations: bitwise maps, colour exchange, mask test,
// outlines of colour regions and the test pattern.
#include <vector>

#include "buffer.h"
#include "buffer_clip.h"

namespace {

// Calls f on every pixel of the rect, row by row, left to right.
template <class F> void EachPixel(Buffer& b, F f)
{
    Rect r = b.GetRect();
    if (!ClipRect(b, r)) return;
    ptrdiff_t w = RectWidth(r);
    for (ptrdiff_t y = 0; y < RectHeight(r); ++y) {
        unsigned long* row = b.pixels + y * b.stride;
        for (ptrdiff_t x = 0; x < w; ++x) f(row[x]);
    }
}

void Shift(Buffer& b, unsigned long v)
{
    // v is a signed count in an unsigned argument; negating in unsigned
    // arithmetic keeps -INT_MIN defined.
    if (int32_t(v) > 0) {
        unsigned n = v & 31;
        if (n) EachPixel(b, [n](unsigned long& p) { p <<= n; });
    } else if (int32_t(v) < 0) {
        unsigned n = (0u - v) & 31;
        if (n) EachPixel(b, [n](unsigned long& p) { p >>= n; });
    }
}

// Whether any pixel around column x of three rows (absent rows null),
// itself included, passes is.
template <class Is>
bool AnyAround(const unsigned long* up, const unsigned long* mid, const unsigned long* down, ptrdiff_t x, ptrdiff_t w,
               Is is)
{
    ptrdiff_t from = x > 0 ? x - 1 : 0, to = x + 1 < w ? x + 1 : x;
    for (ptrdiff_t i = from; i <= to; ++i)
        if ((up && is(up[i])) || is(mid[i]) || (down && is(down[i]))) return true;
    return false;
}

// Every pixel that passes target and has a neighbour passing source becomes
// colour. Decisions read the picture as it was before the pass, so a pixel
// painted here never makes its neighbours qualify: row y - 1 and row y are
// kept as copies, and row y + 1 is still untouched when row y is written.
template <class Target, class Source> void Outline(Buffer& b, Target target, Source source, unsigned long colour)
{
    Rect r = b.GetRect();
    if (!ClipRect(b, r)) return;
    ptrdiff_t w = RectWidth(r), h = RectHeight(r);
    std::vector<unsigned long> above, here;
    above.reserve(size_t(w));
    here.reserve(size_t(w));
    for (ptrdiff_t y = 0; y < h; ++y) {
        unsigned long* row = b.pixels + y * b.stride;
        above.swap(here);
        here.assign(row, row + w);
        const unsigned long* up = y > 0 ? above.data() : nullptr;
        const unsigned long* down = y + 1 < h ? row + b.stride : nullptr;
        for (ptrdiff_t x = 0; x < w; ++x)
            if (target(here[size_t(x)]) && AnyAround(up, here.data(), down, x, w, source)) row[x] = colour;
    }
}

}  // namespace

void Buffer::Bool(int op, unsigned long v)
{
    switch (op) {
    case 1:
        EachPixel(*this, [v](unsigned long& p) { p &= v; });
        break;
    case 2:
        EachPixel(*this, [v](unsigned long& p) { p |= v; });
        break;
    case 3:
        EachPixel(*this, [v](unsigned long& p) { p ^= v; });
        break;
    case 4:
        Shift(*this, v);
        break;
    default:
        break;
    }
}

void Buffer::ChColor(unsigned long from, unsigned long to)
{
    EachPixel(*this, [from, to](unsigned long& p) {
        if (p == from) p = to;
    });
}

void Buffer::XChColor(unsigned long c1, unsigned long c2)
{
    EachPixel(*this, [c1, c2](unsigned long& p) {
        if (p == c1)
            p = c2;
        else if (p == c2)
            p = c1;
    });
}

bool Buffer::CheckMask(unsigned long mask)
{
    Rect r = GetRect();
    if (!ClipRect(*this, r)) return false;
    ptrdiff_t w = RectWidth(r);
    for (ptrdiff_t y = 0; y < RectHeight(r); ++y) {
        const unsigned long* row = pixels + y * stride;
        for (ptrdiff_t x = 0; x < w; ++x)
            if (row[x] & mask) return true;
    }
    return false;
}

void Buffer::OutlineEQ(unsigned long key, unsigned long colour)
{
    Outline(*this, [key](unsigned long p) { return p != key; }, [key](unsigned long p) { return p == key; }, colour);
}

void Buffer::OutlineNE(unsigned long key, unsigned long colour)
{
    Outline(*this, [key](unsigned long p) { return p == key; },
            [key, colour](unsigned long p) { return p != key && p != colour; }, colour);
}

void Buffer::VClr(int n)
{
    unsigned long flags = ((unsigned long)(n) << 4 & 0xFF) << 24;
    Rect r = GetRect();
    if (!ClipRect(*this, r)) return;
    ptrdiff_t w = RectWidth(r);
    for (ptrdiff_t y = 0; y < RectHeight(r); ++y) {
        unsigned long* row = pixels + y * stride;
        unsigned long g = (unsigned long)(y & 0xFF) << 8;
        for (ptrdiff_t x = 0; x < w; ++x) {
            unsigned long red = (unsigned long)((y >> 8) + x) & 0xFF;
            // Blue is the pixel's own blue halved, so repeated patterns fade it.
            row[x] = flags | red << 16 | g | (row[x] & 0xFF) >> 1;
        }
    }
}
