#include "imagewindow_glue_model.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The work area's edges: near (3 pixels, or beyond) takes the near edge.
void SnapToArea(int& lo, int& hi, int areaLo, int areaHi)
{
    int size = hi - lo;
    if (lo - areaLo <= 3) {
        lo = areaLo;
        hi = areaLo + size;
    } else if (hi > areaHi - 4) {
        hi = areaHi;
        lo = areaHi - size;
    }
}

// Against another window's span (start, length) on the same axis.
void SnapToSpan(int& lo, int& hi, int otherLo, int otherLength)
{
    int size = hi - lo;
    if (std::abs(lo + 1 - (otherLo + otherLength)) <= 3) {
        lo = otherLo + otherLength;
        hi = lo + size;
    } else if (std::abs(hi - otherLo) < 4) {
        hi = otherLo;
        lo = otherLo - size;
    }
}

int Opposite(int side) { return (side + 2) % 4; }

void Link(GlueWindow& holder, int side, int neighbour) { holder.links.push_back(GlueLink{side, neighbour}); }

// How far the window's edge on `side` may move and leave it its minimum.
void LimitChange(const GlueWindow& w, int side, int& change)
{
    switch (side) {
    case GlueLeft: change = std::min(change, w.width - MinGluedWidth); break;
    case GlueTop: change = std::min(change, w.height - MinGluedHeight); break;
    case GlueRight: change = std::max(change, MinGluedWidth - w.width); break;
    default: change = std::max(change, MinGluedHeight - w.height); break;
    }
}

void ApplyChange(GlueWindow& w, int side, int change)
{
    switch (side) {
    case GlueLeft: w.left += change, w.width -= change; break;
    case GlueTop: w.top += change, w.height -= change; break;
    case GlueRight: w.width += change; break;
    default: w.height += change; break;
    }
}

}  // namespace

void SnapMovingRect(MoveRect& r, const MoveRect& work, int mainBottom, const std::vector<GlueWindow>& others)
{
    SnapToArea(r.left, r.right, work.left, work.right);
    SnapToArea(r.top, r.bottom, work.top, work.bottom);
    if (std::abs(r.top - mainBottom) < 4) {
        r.bottom = mainBottom + (r.bottom - r.top);
        r.top = mainBottom;
    }
    for (const GlueWindow& o : others) {
        SnapToSpan(r.left, r.right, o.left, o.width);
        SnapToSpan(r.top, r.bottom, o.top, o.height);
    }
}

void GlueWindows(std::vector<GlueWindow>& windows)
{
    for (GlueWindow& w : windows) w.links.clear();
    int n = int(windows.size());
    for (int a = 0; a < n; ++a) {
        for (int b = 0; b < n; ++b) {
            const GlueWindow &wa = windows[size_t(a)], &wb = windows[size_t(b)];
            if (a == b || wa.minimised || wb.minimised) continue;
            // Each ordered pair once: a is left of (or above) b.
            if (wa.left + wa.width == wb.left) {
                Link(windows[size_t(a)], GlueRight, b);
                Link(windows[size_t(b)], GlueLeft, a);
            }
            if (wa.top + wa.height == wb.top) {
                Link(windows[size_t(a)], GlueBottom, b);
                Link(windows[size_t(b)], GlueTop, a);
            }
        }
    }
}

void PropagateResize(std::vector<GlueWindow>& windows, int index, int side, int& change)
{
    GlueWindow& w = windows[size_t(index)];
    if (w.state == ResizeUntouched) {
        w.state = ResizeVisited;
        LimitChange(w, side, change);
        for (const GlueLink& link : w.links)
            if (link.side == side && windows[size_t(link.neighbour)].state == ResizeUntouched)
                PropagateResize(windows, link.neighbour, Opposite(side), change);
        return;
    }
    if (w.state == ResizeVisited) {
        ApplyChange(w, side, change);
        w.state = ResizeMoved;
    }
    for (const GlueLink& link : w.links)
        if (link.side == side && windows[size_t(link.neighbour)].state == ResizeVisited)
            PropagateResize(windows, link.neighbour, Opposite(side), change);
}

int SizeGluedWindow(std::vector<GlueWindow>& windows, int index, int side, int change)
{
    for (GlueWindow& w : windows) w.state = ResizeUntouched;
    PropagateResize(windows, index, side, change);
    // The sized window itself goes as the system sizes it.
    windows[size_t(index)].state = ResizeMoved;
    if (change != 0) PropagateResize(windows, index, side, change);
    return change;
}
