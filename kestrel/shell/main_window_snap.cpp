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
bool Meet(const TRect& a, const TRect& b, int reach)
{
    return a.Left <= b.Right + reach && b.Left <= a.Right + reach && a.Top <= b.Bottom + reach &&
           b.Top <= a.Bottom + reach;
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

void SnapToWorkArea(TRect& r, const TRect& workArea, SnapDistance d, const std::vector<int>& imageTops)
{
    SnapAxis(r.Left, r.Right, workArea.Left, workArea.Right, d);
    SnapAxis(r.Top, r.Bottom, workArea.Top, workArea.Bottom, d);
    for (int top : imageTops)
        if (std::abs(top - r.Bottom) <= d.nearEdge) {
            r.Top += top - r.Bottom;
            r.Bottom = top;
            break;
        }
}

void SnapToolWindow(TRect& r, const TRect& workArea, const TRect& mainWindow,
                    const std::vector<TRect>& imageWindows)
{
    const int reach = ToolWindowSnap.nearEdge;
    SnapToWorkArea(r, workArea, ToolWindowSnap, {});
    if (Meet(r, mainWindow, reach) && std::abs(r.Top - mainWindow.Bottom) <= reach) {
        r.Bottom += mainWindow.Bottom - r.Top;
        r.Top = mainWindow.Bottom;
    }
    bool across = false, down = false;
    for (const TRect& image : imageWindows) {
        if (!Meet(r, image, reach)) continue;
        if (!across) across = SnapSpanToEdges(r.Left, r.Right, image.Left, image.Right, reach);
        if (!down) down = SnapSpanToEdges(r.Top, r.Bottom, image.Top, image.Bottom, reach);
    }
}

MaximisedPlace MaximisedMainWindow(const TRect& workArea)
{
    return MaximisedPlace{workArea.Left - 4, workArea.Top - 3, workArea.Right - workArea.Left + 10};
}
