// Snapping of the main window to the work area's edges and to the image
// window under it, and the size it takes when maximised: a full-width bar
// whose frame lies just outside the work area.
#ifndef KESTREL_MAIN_WINDOW_SNAP_H
#define KESTREL_MAIN_WINDOW_SNAP_H

#include <vector>

#include "geometry.h"

// How close (in pixels) an edge must come to snap: near and far edges may
// differ (the tool windows use 6 and 7).
struct SnapDistance {
    int nearEdge, farEdge;
};
const SnapDistance MainWindowSnap = {3, 4};
const SnapDistance ToolWindowSnap = {6, 7};

// Moves r (keeping its size) so that an edge within reach of the work
// area's edge lies on it; then its bottom onto the first of imageTops
// within nearEdge pixels.
void SnapToWorkArea(TRect& r, const TRect& workArea, SnapDistance d, const std::vector<int>& imageTops);

// A floating tool window moved (keeping its size): onto the work area's
// edges as above with ToolWindowSnap, then its top onto the main window's
// bottom, then its left or right edge onto the left or right edge of the
// first image window that has one within reach, and likewise its top or
// bottom. Each is within ToolWindowSnap.nearEdge pixels, and only for a
// window the tool window meets (or nearly): an edge is a segment, not a line
// across the screen.
void SnapToolWindow(TRect& r, const TRect& workArea, const TRect& mainWindow,
                    const std::vector<TRect>& imageWindows);

struct MaximisedPlace {
    int left, top, width;
};
MaximisedPlace MaximisedMainWindow(const TRect& workArea);

#endif
