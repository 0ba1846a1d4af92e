// Rules of the floating page control that need no window: which sheet
// comes next, where returning sheets go, the grip's dots, and the messages.
#ifndef KESTREL_FLOATTABS_MODEL_H
#define KESTREL_FLOATTABS_MODEL_H

#include <vector>

#include "ansistring.h"

// "%d is an invalid PageIndex value.  PageIndex must be between 0 and %d".
AnsiString InvalidPageIndexText(int index, int count);

// The index after (or before) current among count sheets, wrapping round,
// skipping those whose eligible flag is false; -1 when none is eligible.
// current -1 starts before the first (forward) or after the last.
int NextPageIndex(const std::vector<bool>& eligible, int current, bool goForward);

// The order sheets take after one came back: a stable sort on the key
// StaticPageIndex where it is >= 0, else the sheet's current position; at a
// tie a sheet with its own StaticPageIndex goes first. Returns the old
// positions in their new order.
std::vector<int> StaticPageOrder(const std::vector<int>& staticIndex);

// The grip's dots along a strip of the given length: five steps of 4 pixels,
// each a 2 x 2 dot at (0, 4 k) and another at (2, 4 k + 3) across the strip
// (x) and along it (y), the whole pattern centred along the strip.
struct TGripDot {
    int Across;
    int Along;
};
std::vector<TGripDot> GripDots(int stripLength);

// The accelerator of a caption: the character after a single '&', upper
// case; 0 when there is none ("&&" is a plain ampersand).
char AccelCharOf(const AnsiString& caption);
// Key (either case) is the caption's accelerator.
bool IsAccelFor(char key, const AnsiString& caption);

#endif
