// The placement of a speed button's glyph and caption on its face.
#include "buttons.h"

TGlyphPlacement CalcButtonLayout(const RECT& Client, POINT Offset, SIZE TextSize, SIZE GlyphSize,
                                 TButtonLayout Layout, int Margin, int Spacing)
{
    TFaceParts parts;
    parts.Left = Client.left;
    parts.Top = Client.top;
    parts.Width = Client.right - Client.left;
    parts.Height = Client.bottom - Client.top;
    parts.Offset.x = Offset.x;
    parts.Offset.y = Offset.y;
    parts.Glyph.cx = GlyphSize.cx;
    parts.Glyph.cy = GlyphSize.cy;
    parts.Text.cx = TextSize.cx;
    parts.Text.cy = TextSize.cy;
    parts.Layout = Layout;
    parts.Margin = Margin;
    parts.Spacing = Spacing;
    TFacePlace at = PlaceButtonFace(parts);
    TGlyphPlacement out;
    out.GlyphPos = POINT{at.Glyph.x, at.Glyph.y};
    out.TextBounds = RECT{at.Text.x, at.Text.y, at.Text.x + TextSize.cx, at.Text.y + TextSize.cy};
    return out;
}
