#include "stretch_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "rotate_geometry.h"

int StretchSide(int pointer, int anchor)
{
    long long d = (long long)pointer - anchor;
    return int(d < 0 ? d - 1 : d + 1);
}

int MirroredOffset(int offset, int side) { return side < 0 ? offset - (-side - 1) : offset; }

double PercentOfSide(double size, int side) { return side > 0 ? size * 100 / side : 0; }

double SideOfPercent(double percent, int side) { return percent * side / 100; }

bool StretchSideOk(double size)
{
    double r = std::round(size);
    return std::fabs(r) >= 1 && std::fabs(r) <= MaxPictureSide;
}

int RoundedSide(double size) { return int(std::lround(size)); }

void StretchPicture(Buffer& src, Buffer& out, int w, int h, bool smooth)
{
    Buffer stretched;
    stretched.Alloc(Pair<int>{std::abs(w), std::abs(h)});
    stretched.Scale(src, Pair<int>{w, h}, Pair<int>{0, 0}, 0xFFFFFFFF, smooth ? 1 : 0);
    out = stretched;
}

unsigned long FreeKeyColour(Buffer& brush, unsigned long preferred)
{
    std::vector<unsigned long> used;
    for (int y = brush.top; brush.pixels && y <= brush.bottom; ++y) {
        const unsigned long* p = brush.At(brush.left, y);
        for (int x = 0; x < brush.Width(); ++x)
            if (p[x] != 0x01000000) used.push_back(p[x] & 0x00FFFFFF);
    }
    std::sort(used.begin(), used.end());
    unsigned long c = preferred & 0x00FFFFFF;
    // At most one colour per pixel is taken, so a free one comes soon.
    while (std::binary_search(used.begin(), used.end(), c)) c = (c + 1) & 0x00FFFFFF;
    return c;
}
