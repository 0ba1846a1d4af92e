#include "paintkit_host.h"

#include "imagewindow_host.h"
#include "toolmanager.h"

PaintKitHostServices PaintKitHost;
bool Clipping = false;
bool OptimBrush = false;
bool AntiAlias = false;

void InvalidateView(int left, int top, int right, int bottom)
{
    if (PaintKitHost.invalidate) PaintKitHost.invalidate(left, top, right, bottom);
}

void UpdateView()
{
    if (PaintKitHost.update) PaintKitHost.update();
}

bool GetViewArea(ViewArea& area) { return PaintKitHost.visibleArea && PaintKitHost.visibleArea(area); }

void CanvasXorLine(int x1, int y1, int x2, int y2)
{
    if (PaintKitHost.canvasXorLine) PaintKitHost.canvasXorLine(x1, y1, x2, y2);
}

void WarpPointer(int x, int y)
{
    if (PaintKitHost.warpCursor) {
        PaintKitHost.warpCursor(x, y);
        return;
    }
    // No window to move the pointer in: the tools still see the new point.
    MousePoint = TPoint{x, y};
}

unsigned long ForeColour() { return PaintKitHost.foreColour ? PaintKitHost.foreColour() & 0xFFFFFF : 0x000000; }

unsigned long BackColour() { return PaintKitHost.backColour ? PaintKitHost.backColour() & 0xFFFFFF : 0xFFFFFF; }

int NextUntitledNumber() { return UntitledCounter++; }

void UpdateImageCaption()
{
    if (PaintKitHost.updateCaption) PaintKitHost.updateCaption();
}
