#include "mainsnap.h"

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

MaximisedPlace MaximisedMainWindow(const SnapRect& workArea)
{
    return MaximisedPlace{workArea.left - 4, workArea.top - 3, workArea.right - workArea.left + 10};
}
