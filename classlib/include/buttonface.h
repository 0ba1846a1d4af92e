// Where a button face puts its glyph, caption and drop-down arrow: the one
// layout rule of the buttons with a glyph, in plain numbers.
#ifndef CLASSLIB_BUTTONFACE_H
#define CLASSLIB_BUTTONFACE_H

#include "geometry.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct TFaceSize {
    int cx = 0;
    int cy = 0;
};

// What the face holds; a zero size means the part is absent.
struct TFaceParts {
    int Left = 0, Top = 0, Width = 0, Height = 0;  // the face
    TPoint Offset;                                 // 1,1 while pressed
    TFaceSize Glyph;
    TFaceSize Text;
    TFaceSize Arrow;  // last: after the text, or after a trailing glyph
    TButtonLayout Layout = blGlyphLeft;
    int Margin = -1;   // from the edge; -1: the parts are centred
    int Spacing = 4;   // between glyph and text; -1: spread evenly
};

struct TFacePlace {
    TPoint Glyph;
    TPoint Text;
    TPoint Arrow;
};

// Along the layout the parts follow each other; across it each is centred
// (a horizontal layout's arrow on the middle of the glyph, else the text).
// Without both glyph and text there is no spacing.
TFacePlace PlaceButtonFace(TFaceParts Parts);

#endif
