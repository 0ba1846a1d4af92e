// Sizes and places of the image window's parts, worked out apart from the
// windows: fitting the window to its picture, centring the view in its
// scroll box, and the scroll position that keeps a point in place when the
// zoom changes.
#ifndef KESTREL_IMAGELAYOUT_H
#define KESTREL_IMAGELAYOUT_H

struct FitInput {
    int pictureWidth, pictureHeight;
    double zoom;
    // The form's outer size less the scroll box's: caption, borders, status
    // bar, docks.
    int frameWidth, frameHeight;
    int formLeft, formTop;
    int screenWidth, screenHeight;
};

// The scroll box size that the picture may fill: at least 192 x 96 for the
// whole window, never past the screen's bottom or right edge.
struct FitArea {
    int width, height;
};
FitArea FitAvailableArea(const FitInput& in);
// The factor that shows the whole picture in the area (before rounding to
// a step).
double FitZoomFactor(const FitArea& area, int pictureWidth, int pictureHeight);
// The window's outer size for a view of the zoomed size in that area, at
// least 192 x 96, and EmptyDockRoom wider for each of emptyDocks (the docks
// that hold no bar while bars are to dock in the image windows).
const int EmptyDockRoom = 60;
FitArea FitWindowSize(const FitArea& area, int zoomedWidth, int zoomedHeight, int frameWidth, int frameHeight,
                      int emptyDocks);

// One axis of the view in its scroll box: a view no larger than the box is
// centred and nothing scrolls; a larger one starts at 0 and scrolls over
// its length.
struct AxisPlacement {
    int viewOffset;
    int scrollRange;
};
AxisPlacement PlaceViewOnAxis(int boxClient, int viewLength);

// The client size a scroll box keeps for a view once it shows the bars the
// view needs: each bar takes room from the other axis, which may then need
// its bar too. full: the client without bars; bar: the bars' thickness.
struct BoxClient {
    int width, height;
};
BoxClient ScrollBoxClient(BoxClient full, int viewWidth, int viewHeight, BoxClient bar);

// The scroll position after a zoom change that keeps the picture point
// under `spot` (box client pixels): `keptOld` is that point in old view
// pixels.
int ScrollToKeep(int keptOld, int spot, int oldStep, int newStep);

#endif
