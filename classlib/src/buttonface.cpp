#include "buttonface.h"

#include <initializer_list>

namespace {

// Along the layout's axis, and across it.
int& Along(TPoint& p, bool horizontal) { return horizontal ? p.x : p.y; }
int& Across(TPoint& p, bool horizontal) { return horizontal ? p.y : p.x; }
int Along(TFaceSize s, bool horizontal) { return horizontal ? s.cx : s.cy; }
int Across(TFaceSize s, bool horizontal) { return horizontal ? s.cy : s.cx; }

int Centred(int room, int size) { return (room - size + 1) / 2; }

}  // namespace

TFacePlace PlaceButtonFace(TFaceParts Parts)
{
    bool hasGlyph = Parts.Glyph.cx > 0 && Parts.Glyph.cy > 0;
    if (!hasGlyph) Parts.Glyph = TFaceSize();
    bool horizontal = Parts.Layout == blGlyphLeft || Parts.Layout == blGlyphRight;
    TFaceSize face;
    face.cx = Parts.Width;
    face.cy = Parts.Height;

    int faceLen = Along(face, horizontal);
    int glyphLen = Along(Parts.Glyph, horizontal);
    int textLen = Along(Parts.Text, horizontal);
    int arrowLen = Along(Parts.Arrow, horizontal);
    int margin = Parts.Margin;
    int spacing = Parts.Spacing;
    if (!hasGlyph || textLen == 0) spacing = 0;
    int free = faceLen - glyphLen - textLen - arrowLen;
    if (margin == -1 && spacing == -1) {
        margin = free / 3;
        spacing = margin;
    } else if (margin == -1) {
        margin = (free - spacing + 1) / 2;
    } else if (spacing == -1) {
        spacing = (free - margin) / 2;
    }

    TFacePlace out;
    if (Parts.Layout == blGlyphLeft || Parts.Layout == blGlyphTop) {
        Along(out.Glyph, horizontal) = margin;
        Along(out.Text, horizontal) = margin + glyphLen + spacing;
        Along(out.Arrow, horizontal) = margin + glyphLen + spacing + textLen;
    } else {
        Along(out.Arrow, horizontal) = faceLen - margin - arrowLen;
        Along(out.Glyph, horizontal) = Along(out.Arrow, horizontal) - glyphLen;
        Along(out.Text, horizontal) = Along(out.Glyph, horizontal) - spacing - textLen;
    }

    int faceAcross = Across(face, horizontal);
    Across(out.Glyph, horizontal) = Centred(faceAcross, Across(Parts.Glyph, horizontal));
    Across(out.Text, horizontal) = Centred(faceAcross, Across(Parts.Text, horizontal));
    if (horizontal) {
        int anchor = hasGlyph ? out.Glyph.y : out.Text.y;
        int height = hasGlyph ? Parts.Glyph.cy : Parts.Text.cy;
        out.Arrow.y = anchor + (height - Parts.Arrow.cy) / 2;
    } else {
        out.Arrow.x = Centred(faceAcross, Parts.Arrow.cx);
    }

    for (TPoint* p : {&out.Glyph, &out.Text, &out.Arrow}) {
        p->x += Parts.Left + Parts.Offset.x;
        p->y += Parts.Top + Parts.Offset.y;
    }
    return out;
}
