#include "cut_rect.h"

#include <algorithm>

#include "cut_brush.h"
#include "drawtools_common.h"
#include "exceptions.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "pictureview.h"
#include "selection_trace.h"

Rect CutRectangle(const Buffer& pic, int x1, int y1, int x2, int y2)
{
    Rect r = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    r = ClipToPicture(pic, r);
    if (!pic.pixels || RectIsEmpty(r)) return Rect{0, 0, -1, -1};
    return r;
}

// The right button's erase: the picture keeps a step of its own for it.
static void EraseCutRect(UDBuffer* pic, Rect r, unsigned long bg, const AnsiString& stepKey)
{
    if (!UDBuffer::SaveUndo(pic, stepKey, nullptr, r.left, r.top, r.right, r.bottom)) return;
    pic->Box(r, bg);
    ++pic->modified;
    InvalidatePictureRect(r.left, r.top, r.right + 1, r.bottom + 1);
}

bool CutRectToBrush(Rect r, bool rightButton, const AnsiString& stepKey)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic || RectIsEmpty(r) || !UDBuffer::SaveUndo(&CurrentBrush, stepKey, nullptr, -1, 0, 0, 0)) return false;
    const unsigned long bg = BackColour() & ColourBits;
    try {
        Buffer brush;
        brush.Alloc(Pair<int>{r.right - r.left + 1, r.bottom - r.top + 1});
        brush.Copy(*pic, Pair<int>{-r.left, -r.top}, 0xFFFFFFFF);
        brush.Bool(1, ColourBits);
        brush.ChColor(bg, KeyPixel);
        InstallCutBrush(brush, r.left, r.top, bg);
    } catch (const EOutOfMemory&) {
        BrushTooBig();
        return false;
    }
    // Last, so that a brush that could not be made leaves the picture as it was.
    if (rightButton) EraseCutRect(pic, r, bg, stepKey);
    return true;
}

void CutRectToSelection(Rect r, CutCombine how)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic || RectIsEmpty(r)) return;
    ResetDirtyRect();
    Rect old = ClipToPicture(*pic, pic->SelectionRect());
    // The old box is in the step too: taking pixels away shrinks the box
    // past them, and undo must bring their bits back.
    if (!RectIsEmpty(old)) ExtendDirtyRect(old.left, old.top, old.right, old.bottom);
    if (how == CutCombine::Replace) {
        pic->DropSelection(false);
        pic->ClearSelectionRect();
        old = Rect{0, 0, -1, -1};
    }
    ExtendDirtyRect(r.left, r.top, r.right, r.bottom);
    Buffer view(*pic, r, true);
    Rect box;
    if (how == CutCombine::Subtract) {
        view.Bool(1, ~SelectedBit);
        box = ShrinkToSelected(*pic, old);
    } else {
        view.Bool(2, SelectedBit);
        box = UnionRect(old, r);
    }
    SetSelectionBox(pic, box);
    CropUndoToDirtyRect();
}
