// Glyph strips as plain pixels: the one place the component set's buttons
// read a strip, cut it into cells and turn cells back into bitmaps. Which
// cell means which look is each button's own business (they differ).
// Pixels are 0x00RRGGBB, top row first.
#ifndef KESTREL_GLYPHSTRIP_H
#define KESTREL_GLYPHSTRIP_H

#include <memory>
#include <vector>

#include "bitmap.h"

// Raises EOutOfResources when GDI cannot read it.
std::vector<unsigned> ReadBitmapPixels(TBitmap* Bitmap);
// Cell Index, CellWidth wide, of a strip StripWidth pixels wide; the cell
// must lie inside the strip (EInvalidOperation otherwise).
std::vector<unsigned> CutGlyphCell(const std::vector<unsigned>& Strip, int StripWidth, int CellWidth, int Index);
// Writes Pixels (Width x Height) into Bitmap; false when GDI refuses.
bool WriteBitmapPixels(HBITMAP Bitmap, int Width, int Height, const std::vector<unsigned>& Pixels);
// A 0x00BBGGRR colour as a pixel here, or back.
inline unsigned SwapRedBlue(unsigned C)
{
    return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
}

#endif
