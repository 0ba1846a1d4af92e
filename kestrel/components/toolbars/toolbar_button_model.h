// The arithmetic of a toolbar button that needs no window: glyph counts,
// where glyph, caption and dropdown arrow sit on the face, and which tone a
// glyph colour takes in the disabled look.
#ifndef KESTREL_TOOLBAR_BUTTON_MODEL_H
#define KESTREL_TOOLBAR_BUTTON_MODEL_H

#include <vector>

#include "buttonface.h"

// The looks of a button, in the order of the images in a glyph strip.
enum TToolbarButtonState { tbsUp, tbsDisabled, tbsDown, tbsExclusive, tbsMouseIn };

// The face is laid out by the class library's rule (buttonface.h).
using TTbGlyphLayout = TButtonLayout;
const TButtonLayout tglGlyphLeft = blGlyphLeft;
const TButtonLayout tglGlyphRight = blGlyphRight;
const TButtonLayout tglGlyphTop = blGlyphTop;
const TButtonLayout tglGlyphBottom = blGlyphBottom;
using TTbButtonSize = TFaceSize;
using TTbPoint = TPoint;
using TTbFaceParts = TFaceParts;
using TTbFacePlace = TFacePlace;

// Width of a combo button's arrow part, and the size of a plain dropdown
// button's arrow, in pixels.
const int kComboArrowWidth = 11;
const int kDropArrowWidth = 9;
const int kDropArrowHeight = 3;

int ClampNumGlyphs(int Value);

// PlaceButtonFace, but a button without a glyph lays its caption out as
// with the glyph on the left.
TTbFacePlace PlaceFaceParts(TTbFaceParts Parts);

// Room a word-wrapped caption may take along the face.
int WrapWidth(const TTbFaceParts& Parts);

enum TDisabledTone { dtHighlight, dtFace, dtShadow };
// Light colours keep a highlight, mid tones vanish into the face, dark and
// grey ones become the shadow (0x00RRGGBB or 0x00BBGGRR: only the sum of
// weighted channels counts, and red and blue weigh alike).
TDisabledTone DisabledToneOf(unsigned Rgb);

// One glyph image: 0x00RRGGBB pixels, top row first, and which are opaque.
struct TGlyphPixels {
    int Width = 0;
    int Height = 0;
    std::vector<unsigned> Rgb;
    std::vector<unsigned char> Opaque;
};

// The disabled look of Up. Old style: the shape embossed, a Highlight copy
// one pixel down and right under a Shadow copy. New style: each opaque
// pixel in Highlight or Shadow by its DisabledToneOf, face tones left out.
TGlyphPixels DisabledGlyph(const TGlyphPixels& Up, bool OldStyle, unsigned Highlight, unsigned Shadow);

#endif
