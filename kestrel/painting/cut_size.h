// The size of the fixed cut rectangle: the image window's size keys, and
// the main window's handlers of the fixed rectangle's option controls
// (option 1 the width, 2 the height). The aspect ratio is the one the user
// last set by hand; shrinking and growing keep it.
#ifndef KESTREL_CUT_SIZE_H
#define KESTREL_CUT_SIZE_H

#include "imagekeys.h"

struct FixedCutSize {
    int width, height;
    double ratio;  // height / width
};

// One pixel less or more on the longer side, the other side following the
// ratio (rounded half up), neither below 1. Shrinking needs both sides
// above 1; growing needs both below the picture's.
FixedCutSize ShrinkFixedCut(FixedCutSize s);
FixedCutSize GrowFixedCut(FixedCutSize s, int pictureWidth, int pictureHeight);

// The size keys: nothing unless the fixed rectangle is the current tool.
// One pixel narrower or wider, less or more high (within 1 and the
// picture's size; the ratio follows), or smaller or larger keeping it.
void CutRectWidthDown();
void CutRectWidthUp();
void CutRectHeightDown();
void CutRectHeightUp();
void CutRectShrink();
void CutRectGrow();
// The image window's keys (ImageKey::CutRect...) to the operations above.
void RunCutRectKey(ImageKey key);

// The option controls' handlers: back to 416 x 312, both sides doubled
// (unless already 8192 or more) or halved (while above 1), and a side set
// by hand. Each takes the ratio from the new size and redraws the outline.
void ResetCutSize();
void DoubleCutSize();
void HalveCutSize();
void CutSizeChangedByHand();

#endif
