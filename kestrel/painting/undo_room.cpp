// Keeping undo within its limits: old steps of all pictures move from memory
// to spill files, and old spill files are deleted, oldest first, the other
// pictures before the one that needs the room.
//
// The limits are compared with undo and redo steps together: the spill loops
// free redo steps first, which only makes room if redo steps count.
#include <algorithm>

#include "undo_internal.h"
#include "undo_platform.h"
#include "undo_settings.h"

namespace {

long long MemoryTotal() { return UndoTotal.undo.memKB + UndoTotal.redo.memKB; }
long long DiskTotal() { return UndoTotal.undo.diskKB + UndoTotal.redo.diskKB; }

// The oldest step still in memory (and holding pixels). Answers the
// kilobytes moved to disk, or -1 when nothing was spilled (none, the newest
// when it must stay, no disk room, a write error).
long long SpillOldest(UDBuffer* pic, UndoListKind kind, bool keepNewest)
{
    UndoEntry* head = ListHead(pic, kind);
    UndoEntry* step = OldestStep(head);
    while (step && (step->onDisk || step->Width() == 0 || step->Height() == 0)) step = step->prev;
    if (!step || (keepNewest && step == head)) return -1;
    long long kb = step->SizeKB();
    if (DiskTotal() + kb > UndoSettings.diskKB) return -1;
    AnsiString name;
    Buffer& pixels = step->picture;
    if (!WriteSpillFile(step->picture, pixels, pixels.GetRect(), name)) return -1;
    ChangeStep(pic, kind, step, [&] {
        step->onDisk = true;
        step->spillFile = name;
        step->picture.Free();
    });
    return kb;
}

// Deletes the oldest spilled step with the older steps that cannot stay
// without it. Answers the disk kilobytes released, or -1 when nothing was
// deleted.
long long DeleteOldestSpilled(UDBuffer* pic, UndoListKind kind, bool keepNewest)
{
    UndoEntry* head = ListHead(pic, kind);
    UndoEntry* step = OldestStep(head);
    while (step && !step->onDisk) step = step->prev;
    if (!step || (keepNewest && step == head)) return -1;
    long long diskKB = 0;
    for (UndoEntry *s = step, *kept = KeptBelowGap(step); s != kept; s = s->next)
        if (s->onDisk) diskKB += s->SizeKB();
    DiscardStep(pic, kind, step);
    return diskKB;
}

template <class Act> bool ActOnOthers(UDBuffer* pic, Act act, long long& need)
{
    for (int i = 0; i < UndoPictureCount(); ++i) {
        UDBuffer* other = UndoPicture(i);
        if (!other || other == pic) continue;
        long long kb = act(other, RedoSteps, false);
        if (kb < 0) kb = act(other, UndoSteps, false);
        if (kb >= 0) {
            need -= kb;
            return true;
        }
    }
    return false;
}

template <class Act> long long Release(UDBuffer* pic, long long need, Act act)
{
    while (need > 0 && ActOnOthers(pic, act, need)) {
    }
    while (need > 0) {
        long long kb = act(pic, RedoSteps, true);
        if (kb < 0) kb = act(pic, UndoSteps, true);
        if (kb < 0) break;
        need -= kb;
    }
    return std::max(need, 0LL);
}

}  // namespace

long long UDBuffer::FreeUndoMemory(UDBuffer* pic, long long s, bool keepNewest)
{
    long long room = std::min(GetUndoPlatform().AvailableMemoryKB(), UndoSettings.memKB - MemoryTotal());
    return Release(pic, s - room, [keepNewest](UDBuffer* p, UndoListKind kind, bool own) {
        return SpillOldest(p, kind, own && keepNewest);
    });
}

long long UDBuffer::FreeUndoDisk(UDBuffer* pic, long long s)
{
    return Release(pic, s + DiskTotal() - UndoSettings.diskKB, DeleteOldestSpilled);
}

bool UDBuffer::MakeUndoRoom(UDBuffer* pic, long long s)
{
    long long need = FreeUndoMemory(pic, s, true);
    if (need == 0) return true;
    if (FreeUndoDisk(pic, need) > 0) return false;
    if (FreeUndoMemory(pic, s, true) == 0) return true;
    FreeUndoDisk(pic, s);
    return false;
}

// Spill files go first, so that the disk has room for the memory steps
// that spill next.
void UDBuffer::TrimUndo(UDBuffer* pic)
{
    FreeUndoDisk(pic, 0);
    FreeUndoMemory(pic, 0, true);
}
