// TButtonGlyph: a toolbar button's glyph strip cut into masked images, one
// per look, with the disabled one made when the strip has none.
#ifndef KESTREL_TOOLBAR_BUTTON_GLYPH_H
#define KESTREL_TOOLBAR_BUTTON_GLYPH_H

#include "bitmap.h"
#include "imagelist.h"
#include "toolbar_button_model.h"

class TButtonGlyph {
public:
    // Mask, when given, is white where Strip is transparent; otherwise the
    // colour of Strip's bottom-left pixel is. Raises EInvalidOperation for
    // an empty strip.
    TButtonGlyph(TBitmap* Strip, TBitmap* Mask, int NumGlyphs, bool OldDisabledStyle);
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    int GetWidth() const { return list_.GetWidth(); }
    int GetHeight() const { return list_.GetHeight(); }
    // The image of State at x, y of Canvas.
    void Draw(TCanvas* Canvas, int X, int Y, TToolbarButtonState State);

private:
    TImageList list_;
    int index_[5];
};

#endif
