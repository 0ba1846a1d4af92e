#include "marching_ants.h"

#include "outline_path.h"

int AntsPhase = 0;

void AdvanceAntsPhase() { AntsPhase = (AntsPhase + 1) % 12; }

unsigned long AntsColour(int x, int y, int phase)
{
    int m = (x + y + phase) % 12;
    if (m < 0) m += 12;
    return m < 6 ? 0x000000 : 0xFFFFFF;
}

// Draws the points a run passes before each of its steps, limited to the
// part of [from, from + steps) that lies within [low, high).
static void DrawSpan(AntsSurface& s, int fixed, bool horizontal, int from, int step, int steps, int phase)
{
    int fixedLow = horizontal ? s.top : s.left, fixedHigh = horizontal ? s.bottom : s.right;
    if (fixed < fixedLow || fixed >= fixedHigh) return;
    int low = horizontal ? s.left : s.top, high = horizontal ? s.right : s.bottom;
    for (int i = 0; i < steps; ++i) {
        int v = from + i * step;
        if (v < low || v >= high) {
            // Jump to where the run enters the visible range, if it does.
            int target = step > 0 ? low : high - 1;
            int skip = (target - v) * step;
            if (skip <= 0) break;
            i += skip - 1;
            continue;
        }
        int x = horizontal ? v : fixed, y = horizontal ? fixed : v;
        s.plot(x, y, AntsColour(x, y, phase));
    }
}

void DrawAntsPath(const unsigned char* path, int phase, AntsSurface& surface)
{
    if (!path || !surface.plot) return;
    ForEachOutlineRun(path, [&](int x, int y, OutlineDir dir, int steps) {
        switch (dir) {
        case DirRight: DrawSpan(surface, y, true, x, 1, steps, phase); break;
        case DirLeft: DrawSpan(surface, y, true, x, -1, steps, phase); break;
        case DirDown: DrawSpan(surface, x, false, y, 1, steps, phase); break;
        default: DrawSpan(surface, x, false, y, -1, steps, phase); break;
        }
    });
}
