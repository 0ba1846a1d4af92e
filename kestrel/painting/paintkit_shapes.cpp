// Circles and ellipses: the outline circle of the sizing feedback, the
// filled ellipse from the sine table, and the filled circle the built-in
// round brushes are made of.
#include <algorithm>
#include <cmath>

#include "exceptions.h"
#include "paintkit.h"
#include "paintkit_walk.h"
#include "pictureview.h"

namespace {
struct Sines {
    int v[SineTableSize];
    Sines()
    {
        // Truncated, not rounded: the ellipse vertices are defined on these values.
        for (int i = 0; i < SineTableSize; ++i) v[i] = int(std::trunc(512 * std::sin(i * 3.14159265358979323846 / 512)));
    }
};
const Sines sines;
}  // namespace

const int* const SineTable = sines.v;

// Far beyond any picture; keeps the integer arithmetic below in range and
// the loops short.
static const int MaxShapeRadius = 1 << 20;

static void CheckRadius(int r)
{
    if (r > MaxShapeRadius || r < -MaxShapeRadius) throw ERangeError();
}

// The midpoint walk over one eighth of a circle of radius r: visit(i, j)
// for each step, i from 0 up to where it meets j.
template <class Visit> static void WalkCircle(int r, Visit visit)
{
    int i = 0, j = r, d = 3 - 2 * r;
    while (i <= j) {
        visit(i, j);
        if (d < 0) {
            d += 4 * i + 10;
        } else {
            d += 4 * (i - j) + 14;
            --j;
        }
        ++i;
    }
}

// Plots each distinct point of the eight once: on the axes and diagonals
// points coincide, and an XOR colour plotted twice would leave a gap.
static void PlotOctants(Buffer& b, int cx, int cy, int i, int j, unsigned long colour)
{
    Pair<int> pts[8] = {{cx + i, cy + j}, {cx - i, cy + j}, {cx + i, cy - j}, {cx - i, cy - j},
                        {cx + j, cy + i}, {cx - j, cy + i}, {cx + j, cy - i}, {cx - j, cy - i}};
    for (int k = 0; k < 8; ++k) {
        bool seen = false;
        for (int m = 0; m < k && !seen; ++m) seen = pts[m].x == pts[k].x && pts[m].y == pts[k].y;
        if (!seen) b.PutPixel(pts[k], colour);
    }
}

void DrawCircleOutline(int cx, int cy, int r, unsigned long colour)
{
    UDBuffer* pic = CurrentPicture;
    CheckRadius(r);
    if (!pic || r <= 0) return;
    WalkCircle(r, [&](int i, int j) { PlotOctants(*pic, cx, cy, i, j, colour); });
    InvalidatePictureRect(cx - r, cy - r, cx + r + 1, cy + r + 1);
}

// Half the outline from the top down the left side; each new row is filled
// from the walk's point to its mirror image.
void FillEllipse(int cx, int cy, int rx, int ry, unsigned long colour)
{
    UDBuffer* pic = CurrentPicture;
    CheckRadius(rx);
    CheckRadius(ry);
    if (!pic) return;
    rx = std::abs(rx);
    ry = std::abs(ry);
    int shift = std::max(rx, ry) / 32;
    int n = shift >= 6 ? 1024 : 16 << shift;
    int s = 1024 / n;
    int px = cx, py = cy - ry, row = py;
    pic->Box(Rect{px, row, 2 * cx - px, row}, colour);
    for (int i = 1; i <= n / 2; ++i) {
        int x = cx - (rx * SineTable[i * s]) / 512, y = cy - (ry * SineTable[i * s + 256]) / 512;
        WalkLine(px, py, x, y, [&](int wx, int wy) {
            if (wy == row) return;
            row = wy;
            pic->Box(Rect{std::min(wx, 2 * cx - wx), wy, std::max(wx, 2 * cx - wx), wy}, colour);
        });
        px = x;
        py = y;
    }
    InvalidatePictureRect(cx - rx, cy - ry, cx + rx + 1, cy + ry + 1);
}

void FillCircle(Buffer& dest, int cx, int cy, unsigned long colour, int r)
{
    CheckRadius(r);
    if (r < 0) return;
    WalkCircle(r, [&](int i, int j) {
        dest.Line(Pair<int>{cx - i, cy + j}, Pair<int>{cx + i, cy + j}, colour);
        dest.Line(Pair<int>{cx - i, cy - j}, Pair<int>{cx + i, cy - j}, colour);
        dest.Line(Pair<int>{cx - j, cy + i}, Pair<int>{cx + j, cy + i}, colour);
        dest.Line(Pair<int>{cx - j, cy - i}, Pair<int>{cx + j, cy - i}, colour);
    });
}
