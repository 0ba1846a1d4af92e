#include "cut_region.h"

#include <algorithm>

#include "cut_brush.h"
#include "drawtools_common.h"
#include "exceptions.h"
#include "fills.h"
#include "least_used_colour.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "pictureview.h"
#include "seedfill.h"
#include "selection_trace.h"
#include "undo_settings.h"

static const unsigned ShiftRight = 16;  // ssRight of the shift state

static bool RowMarked(const Buffer& pic, int y)
{
    const unsigned long* p = pic.At(pic.left, y);
    for (int x = 0; x < pic.Width(); ++x)
        if (p[x] & FillMark) return true;
    return false;
}

static bool ColumnMarked(const Buffer& pic, int x, int top, int bottom)
{
    for (int y = top; y <= bottom; ++y)
        if (*pic.At(x, y) & FillMark) return true;
    return false;
}

Rect MarkedBox(const Buffer& pic)
{
    if (!pic.pixels) return Rect{0, 0, -1, -1};
    Rect r = pic.GetRect();
    while (r.top <= r.bottom && !RowMarked(pic, r.top)) ++r.top;
    while (r.bottom >= r.top && !RowMarked(pic, r.bottom)) --r.bottom;
    if (r.top > r.bottom) return Rect{0, 0, -1, -1};
    while (!ColumnMarked(pic, r.left, r.top, r.bottom)) ++r.left;
    while (!ColumnMarked(pic, r.right, r.top, r.bottom)) --r.right;
    return r;
}

// brush := box of the picture before the marks, the marked pixels in their
// colours and the others transparent.
static void CopyMarkedPixels(UDBuffer* pic, Rect box, Buffer& brush)
{
    UDBuffer::CopyFromUndo(pic, brush, box.left, box.top, box.right, box.bottom);
    for (int y = box.top; y <= box.bottom; ++y) {
        const unsigned long* p = pic->At(box.left, y);
        unsigned long* b = brush.At(brush.left, brush.top + y - box.top);
        for (int x = 0; x <= box.right - box.left; ++x) b[x] = (p[x] & FillMark) ? (b[x] & ColourBits) : KeyPixel;
    }
}

bool MarkedRegionToBrush(bool rightButton, const AnsiString& stepKey)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic) return false;
    Rect box = MarkedBox(*pic);
    // Without the picture's step there is nothing to take the brush from.
    if (RectIsEmpty(box) || !pic->undoHead || !UDBuffer::SaveUndo(&CurrentBrush, stepKey, nullptr, -1, 0, 0, 0)) {
        UDBuffer::Undo(pic, false);
        return false;
    }
    bool marksGone = false;
    try {
        Buffer brush;
        CopyMarkedPixels(pic, box, brush);
        const unsigned long bg = BackColour() & ColourBits;
        // Counted over the brush's own pixels: a key the brush paints with
        // would turn into holes when the brush is scaled or turned.
        unsigned long key = LeastUsedColour(brush, bg);
        InstallCutBrush(brush, box.left, box.top, key);
        if (rightButton) {
            ApplySolid(bg, false);
            ++pic->modified;
            ExtendDirtyRect(box.left, box.top, box.right, box.bottom);
            CropUndoToDirtyRect();
        } else {
            UDBuffer::Undo(pic, false);
        }
        marksGone = true;
    } catch (const EOutOfMemory&) {
        if (!marksGone) UDBuffer::Undo(pic, false);
        BrushTooBig();
        return false;
    }
    return true;
}

// Every marked pixel of box takes its value before the marks with the
// selected bit set (or cleared), which also removes the mark.
static void RewriteMarked(UDBuffer* pic, Rect box, bool select)
{
    Buffer before;
    UDBuffer::CopyFromUndo(pic, before, box.left, box.top, box.right, box.bottom);
    for (int y = box.top; y <= box.bottom; ++y) {
        unsigned long* p = pic->At(box.left, y);
        // With no step to read, the marked pixels keep what they hold.
        const unsigned long* b = before.pixels ? before.At(before.left, before.top + y - box.top) : p;
        for (int x = 0; x <= box.right - box.left; ++x) {
            if (!(p[x] & FillMark)) continue;
            unsigned long v = b[x] & ~FillMark;
            p[x] = select ? (v | SelectedBit) : (v & ~SelectedBit);
        }
    }
}

void MarkedRegionToSelection(CutCombine how)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic) return;
    Rect marked = MarkedBox(*pic);
    Rect old = ClipToPicture(*pic, pic->SelectionRect());
    // The step must hold every pixel that changes: the marked ones (the
    // wand's DirtyRect holds none of them) and, since replacing drops it
    // and taking away shrinks past it, the old selection.
    if (!RectIsEmpty(old)) ExtendDirtyRect(old.left, old.top, old.right, old.bottom);
    if (!RectIsEmpty(marked)) ExtendDirtyRect(marked.left, marked.top, marked.right, marked.bottom);
    if (how == CutCombine::Replace) {
        pic->DropSelection(false);
        pic->ClearSelectionRect();
        old = Rect{0, 0, -1, -1};
    }
    CropUndoToDirtyRect();
    if (!RectIsEmpty(marked)) {
        RewriteMarked(pic, marked, how != CutCombine::Subtract);
        InvalidatePictureRect(marked.left, marked.top, marked.right + 1, marked.bottom + 1);
    }
    SetSelectionBox(pic, how == CutCombine::Subtract ? ShrinkToSelected(*pic, old) : UnionRect(old, marked));
}

bool CutMarkedRegion(unsigned shift, const AnsiString& stepKey)
{
    if (InstBrush) return MarkedRegionToBrush((shift & ShiftRight) != 0, stepKey);
    MarkedRegionToSelection(CombineFor(shift));
    return false;
}
