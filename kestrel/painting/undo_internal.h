// Shared by the undo units: list surgery with its accounting, spill files
// and pixel allocation. Not for callers outside undo.
#ifndef KESTREL_UNDO_INTERNAL_H
#define KESTREL_UNDO_INTERNAL_H

#include "undo_entry.h"

enum UndoListKind { UndoSteps, RedoSteps };

UndoEntry*& ListHead(UDBuffer* pic, UndoListKind kind);
UndoEntry* OldestStep(UndoEntry* head);

// Linking and unlinking keep the picture's figures and the totals equal to
// the sums over the steps; a step's figures change only through these and
// through ChangeStep.
void PushNewest(UDBuffer* pic, UndoListKind kind, UndoEntry* step);
void Unlink(UDBuffer* pic, UndoListKind kind, UndoEntry* step);
// Takes a linked step's figures out, runs change, puts them back as the
// step then is (size and place may have changed).
template <class F> void ChangeStep(UDBuffer* pic, UndoListKind kind, UndoEntry* step, F change);
void CountStep(UDBuffer* pic, UndoListKind kind, const UndoEntry* step, int sign);

// Deletes the spill file or frees the pixels, then the node.
void DestroyStep(UndoEntry* step);
// The step and every older one of its list: a list with a gap would restore
// states that never existed. Answers the kilobytes released.
long long DiscardFrom(UDBuffer* pic, UndoListKind kind, UndoEntry* step);
// A gap is harmless above a step that records the whole picture: restoring
// it brings back a real earlier picture whatever came after it. That step,
// when it is the next older one; else null (nothing older can stay).
UndoEntry* KeptBelowGap(const UndoEntry* step);
// Removes the step, and its older steps unless they can stay. True when
// they stayed.
bool DiscardStep(UDBuffer* pic, UndoListKind kind, UndoEntry* step);
void DiscardList(UDBuffer* pic, UndoListKind kind);

// A new pixel block of w x h; EOutOfMemory when the heap (or the platform's
// injected limit) refuses.
void AllocStepPixels(Buffer& b, int w, int h);

// --- Spill files ---
const int SpillHeaderSize = 296;
const int SpillNameField = 260;

// Writes rect of src (src's coordinates) to a new file in the undo folder,
// with the attributes of attrs in the header. False on any failure; no file
// is left behind then.
bool WriteSpillFile(const UDBuffer& attrs, Buffer& src, Rect rect, AnsiString& name);

enum SpillRead { SpillOk, SpillUnreadable, SpillNoMemory };
// Reads a whole spill file of w x h into out (a new block). The file must
// open and have exactly the header's and the step's size.
SpillRead ReadSpillFile(const AnsiString& name, int w, int h, Buffer& out);
// A new spill file holding crop (relative to the stored rectangle) of the
// old one. False on any failure, with no new file left.
bool CropSpillFile(const AnsiString& oldName, int oldW, int oldH, Rect crop, AnsiString& newName);

void DeleteSpillFile(const AnsiString& name);

template <class F> void ChangeStep(UDBuffer* pic, UndoListKind kind, UndoEntry* step, F change)
{
    CountStep(pic, kind, step, -1);
    change();
    CountStep(pic, kind, step, +1);
}

#endif
