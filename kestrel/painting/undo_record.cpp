// Recording steps and cropping them to what an operation changed.
#include <memory>
#include <new>

#include "exceptions.h"
#include "messages.h"
#include "programpictures.h"
#include "undo_internal.h"
#include "undo_record.h"

static const unsigned long NoKey = 0xFFFFFFFF;

static Rect Intersect(Rect a, Rect b)
{
    return Rect{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
}

static bool IsEmpty(Rect r) { return r.right < r.left || r.bottom < r.top; }

// An empty rectangle becomes the step of no pixels at its corner, so sizes
// never go negative.
static Rect Normalised(Rect r)
{
    if (IsEmpty(r)) return Rect{r.left, r.top, r.left - 1, r.top - 1};
    return r;
}

static void SetRect(UndoEntry* e, Rect r)
{
    e->left = r.left;
    e->top = r.top;
    e->right = r.right;
    e->bottom = r.bottom;
}

UndoEntry* MakeUndoEntry(UDBuffer* pic, Rect rect, bool whole, long long creditKB)
{
    std::unique_ptr<UndoEntry> e(new (std::nothrow) UndoEntry);
    if (!e) return nullptr;
    rect = Normalised(whole ? pic->GetRect() : Intersect(rect, pic->GetRect()));
    if (!pic->pixels) rect = Rect{0, 0, -1, -1};
    SetRect(e.get(), rect);
    long long kb = e->SizeKB();
    bool inMemory = kb <= creditKB || UDBuffer::MakeUndoRoom(pic, kb - creditKB);
    if (!inMemory) {
        if (!WriteSpillFile(*pic, *pic, rect, e->spillFile)) return nullptr;
        e->onDisk = true;
    } else if (kb > 0) {
        try {
            AllocStepPixels(e->picture, e->Width(), e->Height());
        } catch (const EOutOfMemory&) {
            return nullptr;
        }
        e->picture.Copy(*pic, Pair<int>{-rect.left, -rect.top}, NoKey);
    }
    e->picture.CopyAttributes(*pic);
    e->whole = whole;
    return e.release();
}

bool UDBuffer::SaveUndo(UDBuffer* pic, const AnsiString& key, UDBuffer* owner, int left, int top, int right,
                        int bottom)
{
    UDBuffer* list = owner ? owner : pic;
    DiscardList(list, RedoSteps);
    UndoEntry* e = MakeUndoEntry(pic, Rect{left, top, right, bottom}, left == -1);
    if (!e) {
        TranslatedMessageBox("NoMem", "Err", MsgIconExclamation);
        return false;
    }
    e->key = key;
    if (pic == &CurrentBrush) e->brushState = BrushState;
    PushNewest(list, UndoSteps, e);
    return true;
}

void UDBuffer::ShrinkUndo(UDBuffer* pic, int left, int top, int right, int bottom)
{
    UndoEntry* e = pic->undoHead;
    if (!e) return;
    Rect old{e->left, e->top, e->right, e->bottom};
    // In picture coordinates: a step that does not start at (0, 0), or one
    // cropped before, is cut where the operation really was.
    Rect n = Normalised(Intersect(Rect{left, top, right, bottom}, old));
    if (n.left == old.left && n.top == old.top && n.right == old.right && n.bottom == old.bottom) {
        e->whole = false;
        return;
    }
    Rect rel{n.left - old.left, n.top - old.top, n.right - old.left, n.bottom - old.top};
    if (e->onDisk) {
        AnsiString newName;
        if (!IsEmpty(n) && !CropSpillFile(e->spillFile, e->Width(), e->Height(), rel, newName)) return;
        AnsiString oldName = e->spillFile;
        ChangeStep(pic, UndoSteps, e, [&] {
            e->spillFile = newName;
            e->onDisk = !IsEmpty(n);
            SetRect(e, n);
            e->whole = false;
        });
        DeleteSpillFile(oldName);
        return;
    }
    Buffer crop;
    if (!IsEmpty(n) && e->picture.pixels) {
        try {
            AllocStepPixels(crop, n.right - n.left + 1, n.bottom - n.top + 1);
        } catch (const EOutOfMemory&) {
            return;
        }
        crop.Copy(e->picture, Pair<int>{-rel.left, -rel.top}, NoKey);
    }
    ChangeStep(pic, UndoSteps, e, [&] {
        static_cast<Buffer&>(e->picture) = crop;
        SetRect(e, n);
        e->whole = false;
    });
}
