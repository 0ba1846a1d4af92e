// The rules of the check-list box that need no window: which glyph cell an
// item shows, how a click moves its state, and the list box's geometry.
// States are numbered as the class library's TCheckBoxState: 0 unchecked,
// 1 checked, 2 grayed.
#ifndef KESTREL_LISTCTLS_MODEL_H
#define KESTREL_LISTCTLS_MODEL_H

enum TCheckKind { ckCheckBoxes, ckRadioButtons };

enum : int { CheckStateUnchecked = 0, CheckStateChecked = 1, CheckStateGrayed = 2 };

// The cell (0..11, row by row in a 4 x 3 grid) of the check glyph picture.
// A state outside 0..2 reads as unchecked.
int CheckImageCell(TCheckKind kind, bool enabled, int state);

// The state after a click: unchecked -> grayed (when grays are allowed and
// the items are check boxes) or checked; checked -> unchecked; grayed ->
// checked.
int ToggledCheckState(int state, bool allowGrayed, TCheckKind kind);

// Width of each column of a multi-column list: (width + columns - 3) /
// columns; 0 without columns.
int ListColumnWidth(int width, int columns);

// Tab stops in pixels: round(width of "0" x tabWidth / 4); a negative
// tabWidth counts as 0.
int ListTabStopPixels(int zeroWidth, int tabWidth);

#endif
