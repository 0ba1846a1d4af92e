#include "seedfill.h"

#include <algorithm>
#include <cstdlib>

namespace {

// While the walk runs, a marked pixel holds in these bits the step (an
// index into the order below) that reached it.
const unsigned long StepBits = 0x1C000000;
const int StepShift = 26;

struct Step {
    int dx, dy;
};
const Step FourSteps[] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
const Step EightSteps[] = {{-1, 0}, {1, -1}, {0, -1}, {-1, -1}, {1, 0}, {0, 1}, {-1, 1}, {1, 1}};

}  // namespace

int FillDistance(unsigned long pixel, unsigned long seed)
{
    if (pixel & FillMark) return 1024;
    int r = int((pixel >> 16) & 0xFF) - int((seed >> 16) & 0xFF);
    int g = int((pixel >> 8) & 0xFF) - int((seed >> 8) & 0xFF);
    int b = int(pixel & 0xFF) - int(seed & 0xFF);
    return std::abs(r) + std::abs(g) + std::abs(b);
}

// A depth-first walk whose way back is written into the pixels: each step
// tries the neighbours in a fixed order; back at a pixel from the n-th
// neighbour, it goes on with the (n+1)-th, since the earlier ones were
// refused then and a refusal holds (marks only grow).
Rect SeedFill(Buffer& view, int x, int y, int tolerance, bool eightConnected)
{
    Rect box = {0, 0, -1, -1};
    if (!view.pixels || x < view.left || x > view.right || y < view.top || y > view.bottom) return box;
    unsigned long* p = view.At(x, y);
    if (*p & FillMark) return box;
    const unsigned long seed = *p & 0x00FFFFFF;
    const Step* steps = eightConnected ? EightSteps : FourSteps;
    const int count = eightConnected ? 8 : 4;
    *p = (*p & ~StepBits) | FillMark;
    box = Rect{x, y, x, y};
    const int seedX = x, seedY = y;
    int next = 0;
    for (;;) {
        bool moved = false;
        for (; next < count; ++next) {
            int nx = x + steps[next].dx, ny = y + steps[next].dy;
            if (nx < view.left || nx > view.right || ny < view.top || ny > view.bottom) continue;
            unsigned long* q = p + steps[next].dy * view.stride + steps[next].dx;
            if ((*q & FillMark) || FillDistance(*q, seed) > tolerance) continue;
            *q = (*q & ~StepBits) | FillMark | (unsigned long)next << StepShift;
            x = nx;
            y = ny;
            p = q;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
            next = 0;
            moved = true;
            break;
        }
        if (moved) continue;
        if (x == seedX && y == seedY) break;
        // Back along the step that reached this pixel, then on with the
        // neighbour after it.
        int came = int((*p & StepBits) >> StepShift);
        *p &= ~StepBits;
        x -= steps[came].dx;
        y -= steps[came].dy;
        p -= steps[came].dy * view.stride + steps[came].dx;
        next = came + 1;
    }
    return box;
}
