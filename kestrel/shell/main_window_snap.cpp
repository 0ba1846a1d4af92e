#include "main_window_snap.h"

#include <cstdlib>

namespace {

// Shifts [lo, hi] so that lo lies on areaLo, or else hi on areaHi, when
// within reach; a window beyond the edge snaps too.
void SnapAxis(int& lo, int& hi, int areaLo, int areaHi, SnapDistance d)
{
    if (lo <= areaLo + d.nearEdge) {
        hi += areaLo - lo;
        lo = areaLo;
    } else if (hi > areaHi - d.farEdge) {
        lo += areaHi - hi;
        hi = areaHi;
    }
}

// Within reach of each other along both axes.
bool Meet(const SnapRect& a, const SnapRect& b, int reach)
{
    return a.left <= b.right + reach && b.left <= a.right + reach && a.top <= b.bottom + reach &&
           b.top <= a.bottom + reach;
}

// Shifts [lo, hi] so that lo, or else hi, lies on the nearer of the edges a
// and b when that is within reach.
bool SnapSpanToEdges(int& lo, int& hi, int a, int b, int reach)
{
    const int ends[2] = {lo, hi};
    for (int end : ends) {
        int target = std::abs(end - a) <= std::abs(end - b) ? a : b;
        if (std::abs(end - target) > reach) continue;
        lo += target - end;
        hi += target - end;
        return true;
    }
    return false;
}

}  // namespace

void SnapToWorkArea(SnapRect& r, const SnapRect& workArea, SnapDistance d, const std::vector<int>& imageTops)
{
    SnapAxis(r.left, r.right, workArea.left, workArea.right, d);
    SnapAxis(r.top, r.bottom, workArea.top, workArea.bottom, d);
    for (int top : imageTops)
        if (std::abs(top - r.bottom) <= d.nearEdge) {
            r.top += top - r.bottom;
            r.bottom = top;
            break;
        }
}

void SnapToolWindow(SnapRect& r, const SnapRect& workArea, const SnapRect& mainWindow,
                    const std::vector<SnapRect>& imageWindows)
{
    const int reach = ToolWindowSnap.nearEdge;
    SnapToWorkArea(r, workArea, ToolWindowSnap, {});
    if (Meet(r, mainWindow, reach) && std::abs(r.top - mainWindow.bottom) <= reach) {
        r.bottom += mainWindow.bottom - r.top;
        r.top = mainWindow.bottom;
    }
    bool across = false, down = false;
    for (const SnapRect& image : imageWindows) {
        if (!Meet(r, image, reach)) continue;
        if (!across) across = SnapSpanToEdges(r.left, r.right, image.left, image.right, reach);
        if (!down) down = SnapSpanToEdges(r.top, r.bottom, image.top, image.bottom, reach);
    }
}

MaximisedPlace MaximisedMainWindow(const SnapRect& workArea)
{
    return MaximisedPlace{workArea.left - 4, workArea.top - 3, workArea.right - workArea.left + 10};
}
