// The arithmetic of the drawing support routines, kept free of Windows so
// that it runs under the sanitizers: image-strip cells and text shortening.
#ifndef KESTREL_CONTROL_SUPPORT_MODEL_H
#define KESTREL_CONTROL_SUPPORT_MODEL_H

#include <functional>

#include "ansistring.h"
#include "geometry.h"

// Cell Index (0-based, row by row) of a Width x Height picture laid out as
// Cols x Rows equal cells. Raises EListError for an index outside the strip
// or a layout without cells, EInvalidOperation when the picture is smaller
// than one cell per column/row.
TRect StripCellRect(int Width, int Height, int Cols, int Rows, int Index);

// Text cut from its end, with "..." appended, until TextWidth says it fits
// MaxWidth; Text itself when it fits already. Returns "..." alone when not
// even one character fits with it.
AnsiString ShortenText(const AnsiString& Text, int MaxWidth,
                       const std::function<int(const AnsiString&)>& TextWidth);

#endif
