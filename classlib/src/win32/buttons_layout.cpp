// The placement of a button's glyph and caption on its face.
#include "buttons.h"

namespace {

// The coordinate along the layout's direction, and across it.
LONG& Along(POINT& p, bool horizontal) { return horizontal ? p.x : p.y; }
LONG& Across(POINT& p, bool horizontal) { return horizontal ? p.y : p.x; }
int Along(SIZE s, bool horizontal) { return horizontal ? s.cx : s.cy; }
int Across(SIZE s, bool horizontal) { return horizontal ? s.cy : s.cx; }

}  // namespace

TGlyphPlacement CalcButtonLayout(const RECT& Client, POINT Offset, SIZE TextSize, SIZE GlyphSize,
                                 TButtonLayout Layout, int Margin, int Spacing)
{
    bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
    SIZE client = {Client.right - Client.left, Client.bottom - Client.top};
    POINT glyph = {0, 0};
    POINT text = {0, 0};
    // Across the layout both are centred.
    Across(glyph, horizontal) = (Across(client, horizontal) - Across(GlyphSize, horizontal) + 1) / 2;
    Across(text, horizontal) = (Across(client, horizontal) - Across(TextSize, horizontal) + 1) / 2;

    int clientLen = Along(client, horizontal);
    int glyphLen = Along(GlyphSize, horizontal);
    int textLen = Along(TextSize, horizontal);
    if (textLen == 0 || glyphLen == 0) Spacing = 0;
    if (Margin == -1) {
        if (Spacing == -1) {
            Margin = (clientLen - glyphLen - textLen) / 3;
            Spacing = Margin;
        } else {
            Margin = (clientLen - glyphLen - Spacing - textLen + 1) / 2;
        }
    } else if (Spacing == -1) {
        Spacing = (clientLen - Margin - glyphLen - textLen) / 2;
    }

    switch (Layout) {
    case blGlyphLeft:
    case blGlyphTop:
        Along(glyph, horizontal) = Margin;
        Along(text, horizontal) = Margin + glyphLen + Spacing;
        break;
    case blGlyphRight:
    case blGlyphBottom:
        Along(glyph, horizontal) = clientLen - Margin - glyphLen;
        Along(text, horizontal) = Along(glyph, horizontal) - Spacing - textLen;
        break;
    }

    TGlyphPlacement out;
    out.GlyphPos = POINT{glyph.x + Client.left + Offset.x, glyph.y + Client.top + Offset.y};
    int tx = text.x + Client.left + Offset.x;
    int ty = text.y + Client.top + Offset.y;
    out.TextBounds = RECT{tx, ty, tx + TextSize.cx, ty + TextSize.cy};
    return out;
}
