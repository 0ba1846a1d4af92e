// One dab of the clone brush.
#include <algorithm>

#include "clone.h"
#include "paintkit.h"
#include "picture_document.h"
#include "pictureview.h"

namespace {

Rect Intersect(Rect a, Rect b)
{
    return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

}  // namespace

void CloneDab(int x, int y, int offsetX, int offsetY, bool fromSnapshot)
{
    UDBuffer* pic = CurrentPicture;
    SetVisibleClip();
    if (!pic || !pic->pixels || !WorkView.pixels || !StampBuffer.pixels) return;
    TPoint o = StampHotSpot();
    int bx = x - o.x, by = y - o.y;  // picture point of the brush's first pixel
    Rect dest = Intersect(Rect{bx, by, bx + StampBuffer.Width() - 1, by + StampBuffer.Height() - 1},
                          WorkView.GetRect());
    if (dest.right < dest.left || dest.bottom < dest.top) return;
    // The snapshot is read as a whole before anything is painted, so a
    // stroke that crosses its own source copies the picture before it.
    Buffer snapshot;
    if (fromSnapshot) {
        try {
            UDBuffer::CopyFromUndo(pic, snapshot, dest.left + offsetX, dest.top + offsetY, dest.right + offsetX,
                                   dest.bottom + offsetY);
        } catch (...) {
            return;  // no step, or it cannot be read: nothing to copy from
        }
        if (!snapshot.pixels) return;
    }
    for (int py = dest.top; py <= dest.bottom; ++py)
        for (int px = dest.left; px <= dest.right; ++px) {
            unsigned long brush = *StampBuffer.At(StampBuffer.left + px - bx, StampBuffer.top + py - by);
            if (brush == KeyPixel) continue;
            unsigned long source;
            if (fromSnapshot)
                source = *snapshot.At(snapshot.left + px - dest.left, snapshot.top + py - dest.top);
            else
                source = *pic->At(Clamp(px + offsetX, pic->left, pic->right), Clamp(py + offsetY, pic->top, pic->bottom));
            *WorkView.At(px, py) = source;
        }
    InvalidatePictureRect(bx, by, bx + StampBuffer.Width(), by + StampBuffer.Height());
}
