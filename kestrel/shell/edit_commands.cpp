#include "edit_commands.h"

#include "paintkit.h"
#include "selection_trace.h"

namespace {

Rect Clipped(const Buffer& pic, Rect r)
{
    if (r.left < pic.left) r.left = pic.left;
    if (r.top < pic.top) r.top = pic.top;
    if (r.right > pic.right) r.right = pic.right;
    if (r.bottom > pic.bottom) r.bottom = pic.bottom;
    return r;
}

bool IsEmpty(const Rect& r) { return r.right < r.left || r.bottom < r.top; }

void SetSelectionRect(UDBuffer* pic, const Rect& r)
{
    pic->selMinX = r.left;
    pic->selMinY = r.top;
    pic->selMaxX = r.right;
    pic->selMaxY = r.bottom;
}

void Retrace(UDBuffer* pic)
{
    pic->TraceSelection();
    pic->ScaleSelectionPath();
}

}  // namespace

bool ClearSelection(UDBuffer* pic)
{
    Rect r = Clipped(*pic, pic->SelectionRect());
    // Without a box there is nothing to clear, and a step cropped to it
    // would be inverted.
    if (IsEmpty(r)) return true;
    return UDBuffer::SaveUndo(pic, "DelSel", nullptr, r.left, r.top, r.right, r.bottom) && pic->DropSelection(true);
}

bool InvertSelection(UDBuffer* pic)
{
    if (!UDBuffer::SaveUndo(pic, "InvSel", nullptr, -1, 0, 0, 0)) return false;
    pic->Bool(3, SelectedBit);
    SetSelectionRect(pic, pic->GetRect());
    Retrace(pic);
    return true;
}

bool DeleteSelected(UDBuffer* pic, const char* stepName, unsigned long background)
{
    Rect r = Clipped(*pic, pic->SelectionRect());
    if (IsEmpty(r)) return true;
    if (!UDBuffer::SaveUndo(pic, stepName, nullptr, r.left, r.top, r.right, r.bottom)) return false;
    unsigned long painted = (background & 0x00FFFFFF) | SelectedBit;
    for (int y = r.top; y <= r.bottom; ++y)
        for (int x = r.left; x <= r.right; ++x)
            if (*pic->At(x, y) & SelectedBit) *pic->At(x, y) = painted;
    ++pic->modified;
    return true;
}

void PasteIntoPicture(UDBuffer* pic, Buffer& pasted, bool instBrush)
{
    if (pasted.pixels == nullptr) return;
    Pair<int> at = {0, 0};
    if (pic->HasSelection()) {
        at = Pair<int>{pic->selMinX, pic->selMinY};
        pic->DropSelection(false);
    }
    if (!instBrush)
        for (int y = pasted.top; y <= pasted.bottom; ++y)
            for (int x = pasted.left; x <= pasted.right; ++x)
                if (*pasted.At(x, y) != KeyPixel) *pasted.At(x, y) |= SelectedBit;
    pic->Copy(pasted, at, KeyPixel);
    if (!instBrush) {
        Rect area = {at.x, at.y, at.x + pasted.Width() - 1, at.y + pasted.Height() - 1};
        SetSelectionRect(pic, Clipped(*pic, area));
        Retrace(pic);
    }
    ++pic->modified;
}
