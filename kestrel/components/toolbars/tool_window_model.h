// Screen arithmetic of floating tool windows, independent of Windows:
// keeping a window on its work area, the outline that follows the mouse
// while a window is dragged, the zone round a dock where a drag docks, and
// the shortening of a caption that does not fit.
#ifndef KESTREL_TOOL_WINDOW_MODEL_H
#define KESTREL_TOOL_WINDOW_MODEL_H

#include <functional>
#include <string>

#include "geometry.h"

// R moved into Work: left by its overhang past the right edge, up by its
// overhang past the bottom, then right or down when it starts before the
// left or top edge. With OnlyIfFullyOffscreen a window that still touches
// Work stays where it is.
TRect MoveRectOnScreen(const TRect& R, const TRect& Work, bool OnlyIfFullyOffscreen);

// The outline's top-left for the mouse at (MouseX, MouseY): the grab point
// keeps its proportional place in a window of the outline's size.
int OutlineStart(int Mouse, int Grab, int StartSize, int OutlineSize);

// The zone round a dock's rectangle in which a drag docks: grown by up to 32
// pixels along x and 20 along y, split between the two sides by where the
// window was grabbed (grabbed at its left edge, the zone grows to the right,
// where the rest of the window will be).
TRect DockZone(const TRect& Dock, int GrabX, int GrabY, int StartWidth, int StartHeight);

// A floating outline kept where the user can take it again: it overlaps the
// work area shrunk by Frame + 4 on every side, and its top lies no higher
// than 4 - Frame - Caption below the work area's top.
TRect KeepOutlineReachable(const TRect& Outline, const TRect& Work, int Frame, int Caption);

// Text fitted to MaxWidth: unchanged when it fits; else "..." appended and
// one character before it dropped at a time until it fits or four
// characters are left.
std::string ShortenCaption(const std::string& Text, int MaxWidth, const std::function<int(const std::string&)>& Width);

#endif
