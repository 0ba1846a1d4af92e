#include "toolbar_button_model.h"

#include <stddef.h>

int ClampNumGlyphs(int Value)
{
    return Value < 1 ? 1 : Value > 5 ? 5 : Value;
}

namespace {

bool IsHorizontal(const TTbFaceParts& p) { return p.Layout == tglGlyphLeft || p.Layout == tglGlyphRight; }

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
    if (!hasGlyph && !IsHorizontal(Parts)) Parts.Layout = tglGlyphLeft;
    return PlaceButtonFace(Parts);
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
