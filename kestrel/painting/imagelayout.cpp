#include "imagelayout.h"

#include <algorithm>

#include "imagezoom.h"

namespace {
// The scroll box's own sunken edge, two pixels each side.
const int BoxEdges = 4;
const int MinWindowWidth = 192, MinWindowHeight = 96;

int WantedBoxLength(int picture, double zoom, int frame, int minimum, int room)
{
    int wanted = int(picture * zoom + 0.5 + frame + BoxEdges);
    wanted = std::max(wanted, minimum);
    wanted = std::min(wanted, room - 1);
    return std::max(wanted - frame - BoxEdges, 1);
}
}  // namespace

FitArea FitAvailableArea(const FitInput& in)
{
    return FitArea{WantedBoxLength(in.pictureWidth, in.zoom, in.frameWidth, MinWindowWidth,
                                   in.screenWidth - in.formLeft),
                   WantedBoxLength(in.pictureHeight, in.zoom, in.frameHeight, MinWindowHeight,
                                   in.screenHeight - in.formTop)};
}

double FitZoomFactor(const FitArea& area, int pictureWidth, int pictureHeight)
{
    if (pictureWidth < 1 || pictureHeight < 1) return 1.0;
    return std::min(double(area.height) / pictureHeight, double(area.width) / pictureWidth);
}

FitArea FitWindowSize(const FitArea& area, int zoomedWidth, int zoomedHeight, int frameWidth, int frameHeight,
                      int emptyDocks)
{
    // A small picture's view is centred in a window that keeps room for its
    // status bar. An empty dock is kept wide enough for a bar to come in
    // without narrowing the view.
    return FitArea{std::max(std::min(zoomedWidth, area.width) + frameWidth + BoxEdges, MinWindowWidth) +
                       EmptyDockRoom * std::max(emptyDocks, 0),
                   std::max(std::min(zoomedHeight, area.height) + frameHeight + BoxEdges, MinWindowHeight)};
}

AxisPlacement PlaceViewOnAxis(int boxClient, int viewLength)
{
    // A view that just fits needs no bar either: a range equal to the client
    // would keep a bar that the other axis's bar made necessary.
    if (boxClient >= viewLength) return AxisPlacement{(boxClient - viewLength) / 2, 0};
    return AxisPlacement{0, viewLength};
}

BoxClient ScrollBoxClient(BoxClient full, int viewWidth, int viewHeight, BoxClient bar)
{
    bool horz = viewWidth > full.width, vert = viewHeight > full.height;
    if (horz && !vert) vert = viewHeight > full.height - bar.height;
    if (vert && !horz) horz = viewWidth > full.width - bar.width;
    return BoxClient{full.width - (vert ? bar.width : 0), full.height - (horz ? bar.height : 0)};
}

int ScrollToKeep(int keptOld, int spot, int oldStep, int newStep)
{
    ZoomFraction o = ZoomStepFraction(oldStep), n = ZoomStepFraction(newStep);
    long long keptNew = (long long)keptOld * o.m * n.n / ((long long)o.n * n.m);
    return int(std::max(keptNew - spot, 0LL));
}
