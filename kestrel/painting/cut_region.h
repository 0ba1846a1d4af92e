// The shape and wand cut: the pixels of the current picture that carry the
// fill mark (a closed freehand shape or polygon, or the wand's seed fill)
// become the brush or are combined with the selection. The marks go in
// both cases. The newest undo step of the picture must hold it as it was
// before the marks (the whole picture, recorded at the press).
#ifndef KESTREL_CUT_REGION_H
#define KESTREL_CUT_REGION_H

#include "ansistring.h"
#include "buffer.h"
#include "cut_selection.h"

// The box of the marked pixels; empty when none is marked.
Rect MarkedBox(const Buffer& pic);

// The marked pixels become the brush (its undo step named stepKey), every
// other pixel of their box transparent, and the least used colour of the
// brush its key. The picture's step is taken back, which removes the
// marks; with the right button the marked pixels are erased to the
// background colour instead and the step is cropped to them. False when
// no brush was made: nothing was marked, or memory ran out (the user was
// told); the marks are gone then too.
bool MarkedRegionToBrush(bool rightButton, const AnsiString& stepKey);

// The marked pixels replace, are added to or are taken from the selection;
// the picture's step is cropped to what changed.
void MarkedRegionToSelection(CutCombine how);

// One of the two by InstBrush; shift is the press's shift state (buttons
// and modifiers). Answers whether a brush was made.
bool CutMarkedRegion(unsigned shift, const AnsiString& stepKey);

#endif
