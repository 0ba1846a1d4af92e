// What the cut tools do to a picture's selection: the modifiers of the
// press, the selection box after pixels were taken away, and the box made
// the selection (traced and scaled) or the selection dropped when it holds
// nothing.
#ifndef KESTREL_CUT_SELECTION_H
#define KESTREL_CUT_SELECTION_H

#include "buffer.h"

class UDBuffer;

enum class CutCombine { Replace, Add, Subtract };

// Alt takes away, else Ctrl adds, else the cut replaces the selection.
CutCombine CombineFor(unsigned shift);

bool RectIsEmpty(const Rect& r);
// The smallest rectangle holding both; an empty one counts as nothing.
Rect UnionRect(const Rect& a, const Rect& b);
// r clipped to the picture.
Rect ClipToPicture(const Buffer& pic, Rect r);

// box (clipped to the picture) with its top moved down past rows that hold
// no selected pixel, its bottom up likewise, then its left and right edges
// past empty columns. Empty when nothing in it is selected.
Rect ShrinkToSelected(const Buffer& pic, Rect box);

// The selection rectangle := box, its outline traced and scaled; an empty
// box drops the selection instead (no undo step: the caller's step holds
// it).
void SetSelectionBox(UDBuffer* pic, Rect box);

#endif
