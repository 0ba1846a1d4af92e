// Sets of pixel positions, to compare where a colour landed with where it
// should have.
#ifndef TESTS_SUPPORT_PIXEL_MASK_H
#define TESTS_SUPPORT_PIXEL_MASK_H

#include <set>
#include <utility>

#include "buffer.h"

using PixelMask = std::set<std::pair<int, int>>;

inline PixelMask ShiftedMask(const PixelMask& m, int dx, int dy)
{
    PixelMask out;
    for (auto p : m) out.insert({p.first + dx, p.second + dy});
    return out;
}

// Every pixel within one step of the mask, corners included.
inline PixelMask SpreadMask(const PixelMask& m)
{
    PixelMask out;
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) out.merge(ShiftedMask(m, i, j));
    return out;
}

inline PixelMask MaskWithout(const PixelMask& a, const PixelMask& b)
{
    PixelMask out;
    for (auto p : a)
        if (!b.count(p)) out.insert(p);
    return out;
}

// The pixels whose colour, flags aside, is colour.
inline PixelMask ColourMask(const Buffer& b, unsigned long colour)
{
    PixelMask m;
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x)
            if ((*b.At(x, y) & 0xFFFFFF) == colour) m.insert({x, y});
    return m;
}

#endif
