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

void CloneDab(int x, int y, int offsetX, int offsetY, const Buffer* snapshot)
{
    UDBuffer* pic = CurrentPicture;
    SetVisibleClip();
    if (!pic || !pic->pixels || !WorkView.pixels || !StampBuffer.pixels) return;
    TPoint o = StampHotSpot();
    int bx = x - o.x, by = y - o.y;  // picture point of the brush's first pixel
    Rect dest = Intersect(Rect{bx, by, bx + StampBuffer.Width() - 1, by + StampBuffer.Height() - 1},
                          WorkView.GetRect());
    if (dest.right < dest.left || dest.bottom < dest.top) return;
    // A snapshot holds the picture as before the stroke, so a stroke that
    // crosses its own source copies the picture before it.
    if (snapshot && (snapshot->Width() != pic->Width() || snapshot->Height() != pic->Height())) return;
    for (int py = dest.top; py <= dest.bottom; ++py)
        for (int px = dest.left; px <= dest.right; ++px) {
            unsigned long brush = *StampBuffer.At(StampBuffer.left + px - bx, StampBuffer.top + py - by);
            if (brush == KeyPixel) continue;
            int sx = Clamp(px + offsetX, pic->left, pic->right), sy = Clamp(py + offsetY, pic->top, pic->bottom);
            if (snapshot)
                *WorkView.At(px, py) = *snapshot->At(snapshot->left + sx - pic->left, snapshot->top + sy - pic->top);
            else
                *WorkView.At(px, py) = *pic->At(sx, sy);
        }
    InvalidatePictureRect(bx, by, bx + StampBuffer.Width(), by + StampBuffer.Height());
}
