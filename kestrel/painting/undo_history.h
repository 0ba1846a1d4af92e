// Several steps at once: the model of the undo and redo list popup and of
// the undo and redo buttons' hints.
#ifndef KESTREL_UNDO_HISTORY_H
#define KESTREL_UNDO_HISTORY_H

#include <vector>
#include "ansistring.h"

class UDBuffer;

// Translated step keys, newest first.
std::vector<AnsiString> UndoStepNames(UDBuffer* pic, bool redo);

// Translated "Undo" (or "Redo") and the translated key of the newest step;
// only the first word without a picture or a step.
AnsiString UndoButtonHint(UDBuffer* pic, bool redo);

// count undos (keeping redo steps) or redos; stops at the first that fails.
// Answers how many were done.
int PerformUndoSteps(UDBuffer* pic, bool redo, int count);

// The popup lists at most this many rows before it scrolls.
const int UndoPopupRows = 8;

struct UndoPopupPlace {
    int left, top, formHeight, listHeight;
};

// Where the popup opens: at the pointer, moved left and up to stay inside
// the work area (right and bottom exclusive).
UndoPopupPlace PlaceUndoPopup(int stepCount, int itemHeight, int formWidth, int pointerX, int pointerY,
                              int workLeft, int workTop, int workRight, int workBottom);

// After the undo folder changed: moves every spill file there; steps whose
// file cannot be moved are discarded with their older steps, and the user
// is told.
void MoveAllUndoFiles();

#endif
