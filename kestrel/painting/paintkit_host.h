// What the paint kit asks of the windows around it: the current image
// window's view (invalidation in view pixels, an immediate repaint, the
// visible part, XOR lines on its canvas, moving the pointer), the main
// window's colour swatches, the image window's caption, and the settings
// it reads. The image
// window installs the view part when it exists; with nothing installed there
// is no view, so there is nothing to repaint, the whole picture counts as
// visible, and the colours are black on white.
#ifndef KESTREL_PAINTKIT_HOST_H
#define KESTREL_PAINTKIT_HOST_H

#include <functional>

// Scroll position and client size of the current window's scroll box, in
// view pixels.
struct ViewArea {
    int scrollX, scrollY, clientWidth, clientHeight;
};

struct PaintKitHostServices {
    // A rectangle of the current view in view pixels (right and bottom
    // exclusive), invalidated without erasing.
    std::function<void(int left, int top, int right, int bottom)> invalidate;
    std::function<void()> update;  // paint what is invalid now
    std::function<bool(ViewArea&)> visibleArea;
    // A line on the view's canvas in pen mode XOR with the outline grey;
    // like LineTo, the end point is not drawn.
    std::function<void(int x1, int y1, int x2, int y2)> canvasXorLine;
    // Moves the pointer to a picture point (clamped to the visible part).
    std::function<void(int x, int y)> warpCursor;
    std::function<unsigned long()> foreColour;  // 0x00RRGGBB
    std::function<unsigned long()> backColour;
    std::function<void()> updateCaption;  // of the current image window
};
extern PaintKitHostServices PaintKitHost;

// Settings the paint kit reads (the preferences keep them). Clipping and
// AntiAlias belong to the image windows, which switch them.
extern bool Clipping;    // stamps go only into the visible part of the picture
extern bool OptimBrush;  // a brush is trimmed to its painted pixels
extern bool AntiAlias;   // brush scaling and turning smooth

void InvalidateView(int left, int top, int right, int bottom);
void UpdateView();
bool GetViewArea(ViewArea& area);
void CanvasXorLine(int x1, int y1, int x2, int y2);
void WarpPointer(int x, int y);
unsigned long ForeColour();
unsigned long BackColour();
// Taken from the image windows' untitled counter.
int NextUntitledNumber();
void UpdateImageCaption();

#endif
