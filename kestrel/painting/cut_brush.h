// The last steps every cut that makes a brush shares: the new brush taken
// up where it was cut, and the way back when memory runs out on the way.
#ifndef KESTREL_CUT_BRUSH_H
#define KESTREL_CUT_BRUSH_H

#include "buffer.h"

// brush (pixels 0x00RRGGBB or the transparent key; its block is taken)
// becomes CurrentBrush, cut at (left, top) of the picture, with key as the
// colour that stands for the transparent pixels. The pointer goes to the
// brush's hot spot over the cut, so the brush shows where it came from;
// the stamp is prepared and paint mode P chosen. EOutOfMemory may pass.
void InstallCutBrush(Buffer& brush, int left, int top, unsigned long key);

// Memory ran out while a cut made a brush whose undo step was recorded:
// the user is told ("BrTooBig"), the brush and its stamp come back from
// that step, and the default tool is selected.
void BrushTooBig();

// The colour of a pixel. Picture pixels may carry selection or mark bits;
// a painting pixel of a cut brush carries none.
const unsigned long ColourBits = 0x00FFFFFF;

#endif
