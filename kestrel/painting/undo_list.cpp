#include "undo_internal.h"

#include "exceptions.h"
#include "pictureview.h"
#include "programpictures.h"
#include "undo_platform.h"

UndoTotals UndoTotal;

int UndoPictureCount() { return ImagePictureCount() + 1; }

UDBuffer* UndoPicture(int index)
{
    return index < ImagePictureCount() ? ImagePicture(index) : index == ImagePictureCount() ? &CurrentBrush : nullptr;
}

UndoEntry*& ListHead(UDBuffer* pic, UndoListKind kind) { return kind == UndoSteps ? pic->undoHead : pic->redoHead; }

UndoEntry* OldestStep(UndoEntry* head)
{
    while (head && head->next) head = head->next;
    return head;
}

void CountStep(UDBuffer* pic, UndoListKind kind, const UndoEntry* step, int sign)
{
    UndoFigures& own = kind == UndoSteps ? pic->undoFig : pic->redoFig;
    UndoFigures& total = kind == UndoSteps ? UndoTotal.undo : UndoTotal.redo;
    long long kb = sign * step->SizeKB();
    (step->onDisk ? own.diskKB : own.memKB) += kb;
    (step->onDisk ? total.diskKB : total.memKB) += kb;
}

void PushNewest(UDBuffer* pic, UndoListKind kind, UndoEntry* step)
{
    UndoEntry*& head = ListHead(pic, kind);
    step->prev = nullptr;
    step->next = head;
    if (head) head->prev = step;
    head = step;
    CountStep(pic, kind, step, +1);
}

void Unlink(UDBuffer* pic, UndoListKind kind, UndoEntry* step)
{
    UndoEntry*& head = ListHead(pic, kind);
    if (step->prev) step->prev->next = step->next;
    else head = step->next;
    if (step->next) step->next->prev = step->prev;
    step->next = step->prev = nullptr;
    CountStep(pic, kind, step, -1);
}

void DeleteSpillFile(const AnsiString& name)
{
    if (!name.IsEmpty()) GetUndoPlatform().Delete(name);
}

void DestroyStep(UndoEntry* step)
{
    if (step->onDisk) DeleteSpillFile(step->spillFile);
    delete step;
}

long long DiscardFrom(UDBuffer* pic, UndoListKind kind, UndoEntry* step)
{
    long long released = 0;
    while (step) {
        UndoEntry* older = step->next;
        released += step->SizeKB();
        Unlink(pic, kind, step);
        DestroyStep(step);
        step = older;
    }
    return released;
}

void DiscardList(UDBuffer* pic, UndoListKind kind) { DiscardFrom(pic, kind, ListHead(pic, kind)); }

UndoEntry* KeptBelowGap(const UndoEntry* step) { return step->next && step->next->whole ? step->next : nullptr; }

bool DiscardStep(UDBuffer* pic, UndoListKind kind, UndoEntry* step)
{
    if (!KeptBelowGap(step)) {
        DiscardFrom(pic, kind, step);
        return false;
    }
    Unlink(pic, kind, step);
    DestroyStep(step);
    return true;
}

void AllocStepPixels(Buffer& b, int w, int h)
{
    if (!GetUndoPlatform().MayAllocate(static_cast<long long>(w) * h * 4)) throw EOutOfMemory();
    b.Alloc(Pair<int>{w, h});
}

void UDBuffer::DropUndo(UDBuffer* pic)
{
    if (UndoEntry* step = pic->undoHead) {
        Unlink(pic, UndoSteps, step);
        DestroyStep(step);
    }
}

void UDBuffer::DropRedo(UDBuffer* pic)
{
    if (UndoEntry* step = pic->redoHead) {
        Unlink(pic, RedoSteps, step);
        DestroyStep(step);
    }
}

void UDBuffer::DropAllRedo(UDBuffer* pic) { DiscardList(pic, RedoSteps); }
