// One undo or redo step: the pixels of a rectangle of the picture as they
// were (in memory, or in a spill file), the picture's attributes, and the
// brush state.
#ifndef KESTREL_UNDO_ENTRY_H
#define KESTREL_UNDO_ENTRY_H

#include "brushstate.h"
#include "picture_document.h"

struct UndoEntry {
    UndoEntry* next = nullptr;  // the next older step
    UndoEntry* prev = nullptr;  // the next newer step
    bool onDisk = false;
    UDBuffer picture;           // the rectangle's pixels (empty on disk) and attributes
    AnsiString spillFile;       // empty while in memory
    AnsiString key;             // language key naming the step
    int top = 0, left = 0, right = -1, bottom = -1;  // inclusive, picture coordinates
    bool whole = false;         // restoring reallocates the picture to the step's size
    TBrushState brushState;

    // An empty rectangle is a step of no pixels: it restores attributes only.
    int Width() const { return right >= left ? right - left + 1 : 0; }
    int Height() const { return bottom >= top ? bottom - top + 1 : 0; }
    long long SizeKB() const { return SizeKB(Width(), Height()); }
    static long long SizeKB(int w, int h) { return (static_cast<long long>(w) * h * 4 + 1023) / 1024; }
};

// Program-wide sums of the four figures over all pictures.
struct UndoTotals {
    UndoFigures undo;
    UndoFigures redo;
};
extern UndoTotals UndoTotal;

// Pictures in the order spilling visits them: the image windows, then the
// brush.
int UndoPictureCount();
UDBuffer* UndoPicture(int index);

#endif
