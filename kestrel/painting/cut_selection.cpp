#include "cut_selection.h"

#include <algorithm>

#include "picture_document.h"
#include "selection_trace.h"

static const unsigned ShiftAlt = 2, ShiftCtrl = 4;  // of the shift state

CutCombine CombineFor(unsigned shift)
{
    if (shift & ShiftAlt) return CutCombine::Subtract;
    if (shift & ShiftCtrl) return CutCombine::Add;
    return CutCombine::Replace;
}

bool RectIsEmpty(const Rect& r) { return r.right < r.left || r.bottom < r.top; }

Rect UnionRect(const Rect& a, const Rect& b)
{
    if (RectIsEmpty(a)) return b;
    if (RectIsEmpty(b)) return a;
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

Rect ClipToPicture(const Buffer& pic, Rect r)
{
    return Rect{std::max(r.left, pic.left), std::max(r.top, pic.top), std::min(r.right, pic.right),
                std::min(r.bottom, pic.bottom)};
}

static bool RowSelected(const Buffer& pic, int y, int left, int right)
{
    const unsigned long* p = pic.At(left, y);
    for (int x = left; x <= right; ++x, ++p)
        if (*p & SelectedBit) return true;
    return false;
}

static bool ColumnSelected(const Buffer& pic, int x, int top, int bottom)
{
    for (int y = top; y <= bottom; ++y)
        if (*pic.At(x, y) & SelectedBit) return true;
    return false;
}

Rect ShrinkToSelected(const Buffer& pic, Rect box)
{
    Rect r = ClipToPicture(pic, box);
    if (!pic.pixels || RectIsEmpty(r)) return Rect{0, 0, -1, -1};
    while (r.top <= r.bottom && !RowSelected(pic, r.top, r.left, r.right)) ++r.top;
    while (r.bottom >= r.top && !RowSelected(pic, r.bottom, r.left, r.right)) --r.bottom;
    if (r.top > r.bottom) return Rect{0, 0, -1, -1};
    while (!ColumnSelected(pic, r.left, r.top, r.bottom)) ++r.left;
    while (!ColumnSelected(pic, r.right, r.top, r.bottom)) --r.right;
    return r;
}

void SetSelectionBox(UDBuffer* pic, Rect box)
{
    if (RectIsEmpty(box)) {
        // The outline may be gone already; the rectangle must go with it.
        pic->DropSelection(false);
        pic->ClearSelectionRect();
        return;
    }
    pic->selMinX = box.left;
    pic->selMaxX = box.right;
    pic->selMinY = box.top;
    pic->selMaxY = box.bottom;
    pic->TraceSelection();
    pic->ScaleSelectionPath();
}
