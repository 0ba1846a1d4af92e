// Tracing the selected pixels of a picture into an outline path.
//
// A pixel counts as inside while exactly one of its selected bit and its
// trace mark is set. Each contour is walked clockwise on screen with the
// inside on the walker's right, inside pixels joined only through edges
// (two pixels touching at a corner are two islands). After a contour is
// written, the trace mark of every pixel it encloses is flipped, so the
// traced region stops counting as inside and its holes start to: they are
// traced as contours of their own. The even-odd fill of all contours gives
// back the selected pixels.
#ifndef KESTREL_SELECTION_TRACE_H
#define KESTREL_SELECTION_TRACE_H

#include "buffer.h"

const unsigned long SelectedBit = 0x04000000;
const unsigned long TraceMark = 0x02000000;

// Traces the selection inside rect (clipped to the picture) and clears every
// trace mark there again. Null when no pixel is selected. When the path block
// cannot grow, the contour being walked is ended and tracing stops; what was
// traced stays.
unsigned char* TraceOutline(Buffer& pic, Rect rect);

#endif
