// The arithmetic of arranging image windows: snapping a window being moved
// to the work area, to the main window's bottom and to the other windows'
// edges; gluing windows whose edges touch; and sizing a window together
// with the neighbours glued to the edge that moves. Windows are plain boxes
// here, numbered as the caller lists them.
#ifndef KESTREL_IMAGEWINDOW_GLUE_MODEL_H
#define KESTREL_IMAGEWINDOW_GLUE_MODEL_H

#include <vector>

// Sides as seen from the window that holds a link.
enum GlueSide : int { GlueTop = 0, GlueRight = 1, GlueBottom = 2, GlueLeft = 3 };

// A window sized with its glued neighbours keeps at least this much.
const int MinGluedWidth = 192;
const int MinGluedHeight = 96;

struct GlueLink {
    int side;
    int neighbour;  // index in the caller's list
};

// Resize state of a window during one sizing step.
enum : int { ResizeUntouched = 0, ResizeVisited = 1, ResizeMoved = 2 };

struct GlueWindow {
    int left = 0, top = 0, width = 0, height = 0;
    bool minimised = false;
    std::vector<GlueLink> links;
    int state = ResizeUntouched;
};

// Right and bottom exclusive, as WM_MOVING gives it.
struct MoveRect {
    int left, top, right, bottom;
};

// Moves r (size kept) against the work area's edges, the main window's
// bottom row (mainBottom = its top + height - 1) and the edges of others.
void SnapMovingRect(MoveRect& r, const MoveRect& work, int mainBottom, const std::vector<GlueWindow>& others);

// Clears every window's links, then links each pair of windows that are
// not minimised and whose right (or bottom) edge equals the other's left
// (or top), on both windows.
void GlueWindows(std::vector<GlueWindow>& windows);

// One call of the two-phase walk (see SizeGluedWindow): an untouched
// window is visited and limits `change`, a visited one applies it.
void PropagateResize(std::vector<GlueWindow>& windows, int index, int side, int& change);

// Window `index` is sized on `side` by `change` pixels (positive: the edge
// moves right or down). Its glued neighbours follow on their opposite
// edges as far as every window involved keeps its minimum size; answers
// the change allowed, by which the caller moves the sized window's edge.
// The neighbours that moved have state ResizeMoved and their new boxes.
int SizeGluedWindow(std::vector<GlueWindow>& windows, int index, int side, int change);

#endif
