#include "tbctrls_core.h"

#include <stddef.h>

#include <initializer_list>

int ClampNumGlyphs(int Value)
{
    return Value < 1 ? 1 : Value > 5 ? 5 : Value;
}


namespace {

// Along the layout's axis, and across it.
int& Along(TTbPoint& p, bool horizontal) { return horizontal ? p.x : p.y; }
int& Across(TTbPoint& p, bool horizontal) { return horizontal ? p.y : p.x; }
int Along(TTbButtonSize s, bool horizontal) { return horizontal ? s.cx : s.cy; }
int Across(TTbButtonSize s, bool horizontal) { return horizontal ? s.cy : s.cx; }

bool IsHorizontal(const TTbFaceParts& p) { return p.Layout == tglGlyphLeft || p.Layout == tglGlyphRight; }

int Centred(int room, int size) { return (room - size + 1) / 2; }

}  // namespace

int WrapWidth(const TTbFaceParts& Parts)
{
    int margins = Parts.Margin > 0 ? 2 * Parts.Margin : 0;
    int room = Parts.Width - margins;
    if (IsHorizontal(Parts)) {
        room -= Parts.Glyph.cx + Parts.Arrow.cx;
        if (Parts.Glyph.cx > 0 && Parts.Spacing > 0) room -= Parts.Spacing;
    }
    return room > 0 ? room : 0;
}

TTbFacePlace PlaceFaceParts(TTbFaceParts Parts)
{
    bool hasGlyph = Parts.Glyph.cx > 0 && Parts.Glyph.cy > 0;
    if (!hasGlyph) Parts.Glyph = TTbButtonSize();
    if (!hasGlyph && !IsHorizontal(Parts)) Parts.Layout = tglGlyphLeft;
    bool horizontal = IsHorizontal(Parts);
    TTbButtonSize face{Parts.Width, Parts.Height};

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

    TTbFacePlace out;
    bool leading = Parts.Layout == tglGlyphLeft || Parts.Layout == tglGlyphTop;
    if (leading) {
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
        // The arrow lines up with the middle of the glyph, else of the text.
        int anchor = hasGlyph ? out.Glyph.y : out.Text.y;
        int height = hasGlyph ? Parts.Glyph.cy : Parts.Text.cy;
        out.Arrow.y = anchor + (height - Parts.Arrow.cy) / 2;
    } else {
        out.Arrow.x = Centred(faceAcross, Parts.Arrow.cx);
    }

    for (TTbPoint* p : {&out.Glyph, &out.Text, &out.Arrow}) {
        p->x += Parts.Left + Parts.Offset.x;
        p->y += Parts.Top + Parts.Offset.y;
    }
    return out;
}

TDisabledTone DisabledToneOf(unsigned Rgb)
{
    unsigned a = Rgb & 0xFF;
    unsigned g = (Rgb >> 8) & 0xFF;
    unsigned b = (Rgb >> 16) & 0xFF;
    unsigned light = (a + 2 * g + b) / 4;
    // White and near-white (224 and up) stay visible as the highlight;
    // silver (192) melts into the face; grey (128) and darker cast shadow.
    if (light >= 224) return dtHighlight;
    if (light >= 160) return dtFace;
    return dtShadow;
}

TGlyphPixels DisabledGlyph(const TGlyphPixels& Up, bool OldStyle, unsigned Highlight, unsigned Shadow)
{
    TGlyphPixels out;
    out.Width = Up.Width;
    out.Height = Up.Height;
    // Glyphs are small; the limit keeps the product inside 32 bits.
    const int kMaxSide = 4096;
    bool sized = Up.Width > 0 && Up.Height > 0 && Up.Width <= kMaxSide && Up.Height <= kMaxSide;
    size_t n = sized ? size_t(Up.Width) * size_t(Up.Height) : 0;
    if (!sized || Up.Rgb.size() < n || Up.Opaque.size() < n) {
        out.Width = out.Height = 0;
        return out;
    }
    out.Rgb.assign(n, 0);
    out.Opaque.assign(n, 0);
    for (int y = 0; y < Up.Height; ++y) {
        for (int x = 0; x < Up.Width; ++x) {
            size_t at = size_t(y) * Up.Width + x;
            if (OldStyle) {
                if (Up.Opaque[at]) {
                    out.Rgb[at] = Shadow;
                    out.Opaque[at] = 1;
                } else if (x > 0 && y > 0 && Up.Opaque[at - Up.Width - 1]) {
                    out.Rgb[at] = Highlight;
                    out.Opaque[at] = 1;
                }
                continue;
            }
            if (!Up.Opaque[at]) continue;
            TDisabledTone tone = DisabledToneOf(Up.Rgb[at]);
            if (tone == dtFace) continue;
            out.Rgb[at] = tone == dtHighlight ? Highlight : Shadow;
            out.Opaque[at] = 1;
        }
    }
    return out;
}
