// The part of a picture that a caller's buffer holds. Readers decode every
// row (the data is sequential) but store only this part, so a buffer smaller
// than the picture, or placed elsewhere, receives the picture clipped.
#ifndef PIXMILL_PICTURE_CLIP_H
#define PIXMILL_PICTURE_CLIP_H

#include "buffer.h"

// Columns x0..x1 - 1, rows y0..y1 - 1 of the picture; empty (x1 == x0 or
// y1 == y0) when the buffer has no pixels or lies outside the picture.
struct Visible {
    int x0, x1, y0, y1;
};

inline Visible ClipToBuffer(const Buffer& b, int width, int height)
{
    Visible v{0, 0, 0, 0};
    if (!b.pixels) return v;
    v.x0 = b.left > 0 ? b.left : 0;
    v.y0 = b.top > 0 ? b.top : 0;
    v.x1 = b.right < width ? b.right + 1 : width;
    v.y1 = b.bottom < height ? b.bottom + 1 : height;
    if (v.x1 < v.x0) v.x1 = v.x0;
    if (v.y1 < v.y0) v.y1 = v.y0;
    return v;
}

#endif
