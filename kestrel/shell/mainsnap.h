// Snapping of the main window to the work area's edges and to the image
// window under it, and the size it takes when maximised: a full-width bar
// whose frame lies just outside the work area.
#ifndef KESTREL_MAINSNAP_H
#define KESTREL_MAINSNAP_H

#include <vector>

struct SnapRect {
    int left, top, right, bottom;
};

// How close (in pixels) an edge must come to snap: near and far edges may
// differ (the tool windows use 6 and 7).
struct SnapDistance {
    int nearEdge, farEdge;
};
const SnapDistance MainWindowSnap = {3, 4};

// Moves r (keeping its size) so that an edge within reach of the work
// area's edge lies on it; then its bottom onto the first of imageTops
// within nearEdge pixels.
void SnapToWorkArea(SnapRect& r, const SnapRect& workArea, SnapDistance d, const std::vector<int>& imageTops);

struct MaximisedPlace {
    int left, top, width;
};
MaximisedPlace MaximisedMainWindow(const SnapRect& workArea);

#endif
