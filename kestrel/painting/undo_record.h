// Making a step from a picture (used by recording, undo and redo).
#ifndef KESTREL_UNDO_RECORD_H
#define KESTREL_UNDO_RECORD_H

#include "undo_entry.h"

// A step holding rect of pic (the whole picture when whole), in memory or
// in a spill file as the limits decide, with pic's attributes. Null when
// memory or the spill file failed; nothing is linked. creditKB: memory that
// will be released as soon as the step is linked (the step being undone),
// so it need not be made room for.
UndoEntry* MakeUndoEntry(UDBuffer* pic, Rect rect, bool whole, long long creditKB = 0);

#endif
