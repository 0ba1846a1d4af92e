// The rectangle cut: the rectangle between two corners taken from the
// current picture as a brush, or combined with its selection.
#ifndef KESTREL_CUT_RECT_H
#define KESTREL_CUT_RECT_H

#include "ansistring.h"
#include "buffer.h"
#include "cut_selection.h"

// The rectangle between the corners, ordered, and clipped to the picture
// on all four sides (a drag may end left of or above it); empty when it
// misses the picture.
Rect CutRectangle(const Buffer& pic, int x1, int y1, int x2, int y2);

// InstBrush on: r of the current picture becomes the brush, the background
// colour its transparent key; the right button also erases r to the
// background colour with an undo step of its own. The brush's undo step is
// named stepKey. False when no brush was made (the user was told).
bool CutRectToBrush(Rect r, bool rightButton, const AnsiString& stepKey);

// InstBrush off: r replaces, is added to or is taken from the selection of
// the current picture, whose newest undo step (the whole picture, recorded
// at the press) is cropped to what changed.
void CutRectToSelection(Rect r, CutCombine how);

#endif
