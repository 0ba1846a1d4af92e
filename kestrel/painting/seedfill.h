// The seed fill: marks, inside a view of a picture, the pixels connected to
// a seed whose colour is near the seed's. It needs no memory beyond the
// picture: the walk keeps its way back in the flag byte of the pixels it has
// marked, and clears it as it leaves them.
#ifndef KESTREL_SEEDFILL_H
#define KESTREL_SEEDFILL_H

#include "buffer.h"

// The fill mark. Marked pixels keep their colour below it.
const unsigned long FillMark = 0x02000000;

// |red difference| + |green difference| + |blue difference| of two pixels;
// a marked pixel is 1024 away from everything, so it is never taken again.
int FillDistance(unsigned long pixel, unsigned long seed);

// Marks (OR FillMark) the 4- or 8-connected pixels of view, seed included,
// within tolerance of the seed's colour. The view's own rectangle bounds the
// walk, whatever its stride. Answers the rectangle of the marked pixels
// (empty when the seed is outside the view or marked already).
Rect SeedFill(Buffer& view, int x, int y, int tolerance, bool eightConnected);

#endif
