// The arithmetic of stretching brushes and pictures: the signed side a drag
// gives, the width and height the stretch bar's percentages give, and the
// sizes a picture may be stretched to. A negative side mirrors.
#ifndef KESTREL_STRETCH_GEOMETRY_H
#define KESTREL_STRETCH_GEOMETRY_H

#include "buffer.h"

// The side a drag from the anchor to the pointer gives: both end pixels
// count, so d = pointer - anchor gives d + 1, or d - 1 to the left of the
// anchor (mirrored); the anchor's own column gives 1, never 0.
int StretchSide(int pointer, int anchor);

// Where a mirrored side puts the pixel the pointer held: shifted back by
// |side| - 1 when mirrored.
int MirroredOffset(int offset, int side);

// Percent of side that size is, and the size that percent of side is.
double PercentOfSide(double size, int side);
double SideOfPercent(double percent, int side);

// A typed size, rounded: false unless 1 <= |size| <= MaxPictureSide.
bool StretchSideOk(double size);
int RoundedSide(double size);

// out := src stretched to |w| x |h| (mirrored where negative), every pixel
// kept as it is: the picture's own pixels carry no transparency. Sides
// checked by StretchSideOk; EOutOfMemory leaves out as it was.
void StretchPicture(Buffer& src, Buffer& out, int w, int h, bool smooth);

// A colour that no painted pixel of the brush has (key pixels aside):
// preferred when it is free, else the first free one counting from it.
unsigned long FreeKeyColour(Buffer& brush, unsigned long preferred);

#endif
