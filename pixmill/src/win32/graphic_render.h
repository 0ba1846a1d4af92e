// Pixels between a Buffer and GDI bitmaps: pictures the platform draws for
// us (metafiles, icons) rendered at their own size onto white and read back,
// and a picture put into a bitmap for recording.
#ifndef PIXMILL_GRAPHIC_RENDER_H
#define PIXMILL_GRAPHIC_RENDER_H

#include "buffer.h"
#include "winapi.h"

class TGraphic;

// Allocates an empty b at width x height, clears the picture's area of b and
// draws graphic into it, clipped to b. A picture without pixels, or of more
// than MaxPicturePixels, raises EInvalidImage whose detail starts with what.
void RenderGraphic(Buffer& b, TGraphic* graphic, int width, int height, const char* what);

// The common start of every platform reader: refuses sizes no buffer can
// hold, allocates an empty b and clears the picture's area.
void PreparePicture(Buffer& b, int width, int height, const char* what);

// Puts b's pixels into a bitmap of b's size (the flag bytes go only where
// the bitmap has room for them).
void PutRows(HBITMAP bitmap, Buffer& b);

#endif
