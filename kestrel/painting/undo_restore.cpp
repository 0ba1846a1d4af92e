// Undo and redo: putting a step's pixels back, with the opposite step made
// from the pixels they replace.
//
// Nothing of the picture changes until everything the change needs is at
// hand (the step's pixels read and checked, a new block for a whole step,
// the opposite step): a failure leaves the picture and both lists as they
// were, except that a step whose file cannot be read is discarded, with the
// older steps of its list when they build on it (see KeptBelowGap).
#include "exceptions.h"
#include "messages.h"
#include "pictureview.h"
#include "programpictures.h"
#include "undo_internal.h"
#include "undo_platform.h"
#include "undo_record.h"
#include "undo_settings.h"

namespace {

const unsigned long NoKey = 0xFFFFFFFF;

// The step's pixels: a view of those in memory or a block read from its file.
SpillRead LoadStep(UndoEntry* e, Buffer& data)
{
    if (e->Width() == 0 || e->Height() == 0) return SpillOk;
    if (!e->onDisk) {
        if (!e->picture.pixels) return SpillUnreadable;
        data.Alloc(e->picture, e->picture.GetRect(), true);
        return SpillOk;
    }
    return ReadSpillFile(e->spillFile, e->Width(), e->Height(), data);
}

// False when the brush came back but its stamp could not be rebuilt.
bool AfterRestore(UDBuffer* pic, UndoEntry* e)
{
    if (pic == CurrentPicture) {
        if (!InstBrush) {
            pic->TraceSelection();
            pic->ScaleSelectionPath();
        }
        UpdateCurrentView();
    }
    if (pic == &CurrentBrush) {
        BrushState = e->brushState;
        if (!RebuildStampFromBrush()) {
            TranslatedMessageBox("NoMem", "Err", MsgIconExclamation);
            return false;
        }
    }
    return true;
}

bool RestoreNewest(UDBuffer* pic, UndoListKind from, bool makeOpposite)
{
    UndoEntry* e = ListHead(pic, from);
    if (!e) return false;
    Buffer data;
    SpillRead got = LoadStep(e, data);
    if (got == SpillUnreadable) {
        bool olderKept = DiscardStep(pic, from, e);
        TranslatedMessageBox(olderKept ? "UndoStepSkipped" : "UndoStepLost", "Err", MsgIconWarning);
        return false;
    }
    Buffer fresh;
    if (got == SpillOk && e->whole) {
        try {
            AllocStepPixels(fresh, e->Width(), e->Height());
        } catch (const EOutOfMemory&) {
            got = SpillNoMemory;
        }
    }
    UndoEntry* opposite = nullptr;
    if (got == SpillOk && makeOpposite) {
        // The step being restored is freed right after: its memory pays for
        // the opposite step, so undo still works at the limit with no disk.
        long long credit = e->onDisk ? 0 : e->SizeKB();
        opposite = MakeUndoEntry(pic, Rect{e->left, e->top, e->right, e->bottom}, e->whole, credit);
        if (!opposite) got = SpillNoMemory;
    }
    if (got == SpillNoMemory) {
        TranslatedMessageBox("NoMem", "Err", MsgIconExclamation);
        return false;
    }
    if (e->whole) {
        fresh.Copy(data, Pair<int>{0, 0}, NoKey);
        static_cast<Buffer&>(*pic) = fresh;
        if (pic == CurrentPicture) PicturePixelsChanged(pic);
    } else {
        // Clipped: the picture may have shrunk since the step was made.
        pic->Copy(data, Pair<int>{e->left, e->top}, NoKey);
    }
    pic->CopyAttributes(e->picture);
    if (opposite) {
        opposite->key = e->key;
        opposite->brushState = BrushState;
        PushNewest(pic, from == UndoSteps ? RedoSteps : UndoSteps, opposite);
    }
    bool stampKept = AfterRestore(pic, e);
    Unlink(pic, from, e);
    DestroyStep(e);
    // Only now: resetting records a step of its own, which discards redo
    // steps, the one being restored among them.
    if (!stampKept && ResetBrushHook) ResetBrushHook();
    return true;
}

int Clamp(int v, int low, int high) { return v < low ? low : v > high ? high : v; }

}  // namespace

bool UDBuffer::Undo(UDBuffer* pic, bool keepRedo) { return RestoreNewest(pic, UndoSteps, keepRedo); }

bool UDBuffer::Redo(UDBuffer* pic) { return RestoreNewest(pic, RedoSteps, true); }

bool UDBuffer::CopyFromUndo(UDBuffer* pic, Buffer& dest, int left, int top, int right, int bottom)
{
    UndoEntry* e = pic->undoHead;
    if (!e) return false;
    if (right < left || bottom < top) {
        dest.Free();
        return true;
    }
    dest.Alloc(Pair<int>{right - left + 1, bottom - top + 1});
    Buffer data;
    if (LoadStep(e, data) != SpillOk || !data.pixels) {
        dest.Bool(1, 0);  // defined contents rather than whatever the heap held
        return false;
    }
    // Edge pixels repeat outward in both axes, corners included.
    for (int y = top; y <= bottom; ++y) {
        int sy = Clamp(y, e->top, e->bottom) - e->top;
        for (int x = left; x <= right; ++x)
            *dest.At(x - left, y - top) = *data.At(Clamp(x, e->left, e->right) - e->left, sy);
    }
    return true;
}

Pair<int> UDBuffer::NewestUndoSize(UDBuffer* pic)
{
    UndoEntry* e = pic->undoHead;
    return e ? Pair<int>{e->Width(), e->Height()} : Pair<int>{0, 0};
}

static AnsiString FilePart(const AnsiString& path)
{
    int slash = path.LastDelimiter("\\/:");
    return path.SubString(slash + 1, path.Length() - slash);
}

bool UDBuffer::MoveUndoFiles(UDBuffer* pic)
{
    bool all = true;
    AnsiString dir = UndoDirectory();
    for (UndoListKind kind : {UndoSteps, RedoSteps}) {
        for (UndoEntry* e = ListHead(pic, kind); e; e = e->next) {
            if (!e->onDisk) continue;
            AnsiString to = dir + FilePart(e->spillFile);
            if (to.Compare(e->spillFile) == 0) continue;
            if (!GetUndoPlatform().Move(e->spillFile, to)) {
                DiscardFrom(pic, kind, e);
                all = false;
                break;
            }
            e->spillFile = to;
        }
    }
    return all;
}

void MoveAllUndoFiles()
{
    bool all = true;
    for (int i = 0; i < UndoPictureCount(); ++i)
        if (UDBuffer* pic = UndoPicture(i)) all = UDBuffer::MoveUndoFiles(pic) && all;
    if (!all) TranslatedMessageBox("UndoFilesLost", "Err", MsgIconWarning);
}
