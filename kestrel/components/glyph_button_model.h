// Rules of the glyph button and the edit with a button that need no window:
// glyph cells, the grey inactive look, the ellipsis glyph, and where the
// edit's button window stands.
#ifndef KESTREL_GLYPH_BUTTON_MODEL_H
#define KESTREL_GLYPH_BUTTON_MODEL_H

#include <vector>

// Glyph cells, left to right in a glyph bitmap.
enum TGlyphCell { gcUp = 0, gcDisabled = 1, gcDown = 2, gcExclusive = 3, gcInactive = 4 };

// The look a button is drawn in, as the class library's TButtonState.
enum TGlyphLook { glUp, glDisabled, glDown, glExclusive, glInactive };

// Where a cell comes from when the bitmap holds fewer: the cell itself, or
// a generated one (disabled: embossed up cell; down: the up cell; inactive:
// the up cell in grey).
enum TCellSource { csOwn, csUpCell, csEmbossed, csGreyed };
TCellSource GlyphCellSource(TGlyphCell cell, int numGlyphs);

// NumGlyphs for a glyph of this size: width / height when the width is an
// exact multiple of the height and that is below 6, else 1.
int GlyphCountFromSize(int width, int height);

// Grey level of a 0x00BBGGRR colour: (77 R + 150 G + 29 B) / 256, as a grey
// colour.
unsigned GreyOf(unsigned bgr);

// The ellipsis glyph of an edit's button: max(1, buttonWidth - 6) wide, 4
// high, three 2 x 2 dots at row 1, spaced by (width - 6) / 2 clamped to
// 1..3, the group centred.
struct TEllipsisGlyph {
    int Width;
    int Height;
    int DotX[3];  // left column of each dot
    int DotY;
};
TEllipsisGlyph EllipsisGlyph(int buttonWidth);

// The button window of an edit with a button. New-style systems: at
// Width - ButtonWidth - 4 (+2 without 3-D look), top 0 (2 without), Height - 4
// high; old style: (Width - ButtonWidth, 1), Height - 1 high.
struct TEditButtonPlace {
    int Left;
    int Top;
    int Width;
    int Height;
};
TEditButtonPlace EditButtonPlace(int width, int height, int buttonWidth, bool ctl3D, bool newStyle);

// min(system font height, control font height) + 4 x border height + 1.
int ComboEditMinHeight(int systemFontHeight, int controlFontHeight, int borderHeight);

// The drop-down mark: rows of 7, 5, 3 and 1 pixels. Returns the first
// column and width of row (0..3).
void DropDownMarkRow(int row, int& first, int& width);

// Cells as pixels (0x00BBGGRR, row by row, w x h). The grey look: every
// pixel but the transparent colour becomes GreyOf.
std::vector<unsigned> GreyCell(const std::vector<unsigned>& pixels, unsigned transparent);
// The disabled look: the shape of the opaque pixels in the shadow colour,
// with a highlight copy one pixel right and down under it; the rest is
// transparent. Raises std::invalid_argument when the sizes disagree.
std::vector<unsigned> EmbossedCell(const std::vector<unsigned>& pixels, int width, int height, unsigned transparent,
                                   unsigned highlight, unsigned shadow);

#endif
