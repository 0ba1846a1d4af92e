// The text tool's measures and the order of its drawing passes.
#include <algorithm>
#include <cmath>

#include "paintkit.h"
#include "text_tool.h"

namespace {

int RoundHalfUp(double v) { return int(std::floor(v + 0.5)); }

Pair<int> ScaledLineSize(Pair<int> extent, const TextLook& look)
{
    return Pair<int>{RoundHalfUp(extent.x * look.sizeX * 0.01 / look.f),
                     RoundHalfUp(extent.y * look.sizeY * 0.01 / look.f)};
}

// One line's glyphs in the foreground colour on the key.
bool DrawLineBuffer(Buffer& line, AnsiString& text, TextGlyphs& glyphs, unsigned long fore)
{
    Pair<int> extent = glyphs.Extent(text);
    // An empty line has no pixels; it only takes its line height.
    if (extent.x < 1 || extent.y < 1) return false;
    line.Alloc(extent);
    line.Box(line.GetRect(), KeyPixel);
    glyphs.Draw(line, Pair<int>{0, 0}, text, fore);
    return true;
}

void RenderLine(Buffer& dest, Buffer& line, Pair<int> size, int x, int top, const TextLook& look,
                const TextColours& c, int smooth)
{
    int o = look.o, d = look.d;
    dest.Scale(line, size, Pair<int>{x + o, top + o}, KeyPixel, 0);
    if (look.s) {
        line.ChColor(c.fore, c.shadow);
        if (o) {
            for (int j = 0; j < 3; ++j)
                for (int i = 0; i < 3; ++i) dest.Scale(line, size, Pair<int>{x + d + i, top + d + j}, KeyPixel, smooth);
        } else {
            dest.Scale(line, size, Pair<int>{x + d, top + d}, KeyPixel, smooth);
        }
    }
    if (o) {
        line.ChColor(look.s ? c.shadow : c.fore, c.back);
        for (int j = 0; j < 3; ++j)
            for (int i = 0; i < 3; ++i) dest.Scale(line, size, Pair<int>{x + i, top + j}, KeyPixel, smooth);
        line.ChColor(c.back, c.fore);
    } else if (look.s) {
        line.ChColor(c.shadow, c.fore);
    }
    dest.Scale(line, size, Pair<int>{x + o, top + o}, KeyPixel, smooth);
}

}  // namespace

TextLook TextLookOf(const TextDraft& draft, bool antiAlias)
{
    TextLook look;
    look.sizeX = draft.sizeX;
    look.sizeY = draft.sizeY;
    look.f = antiAlias ? 2 : 1;
    look.o = (draft.style & TextOutline) ? 1 : 0;
    look.s = (draft.style & TextShadow) ? 1 : 0;
    look.d = draft.depth;
    return look;
}

std::vector<AnsiString> SplitTextLines(const AnsiString& text)
{
    std::vector<AnsiString> lines;
    if (text.IsEmpty()) return lines;
    const char* p = text.c_str();
    const char* start = p;
    for (; *p; ++p) {
        if (p[0] == '\r' && p[1] == '\n') {
            lines.push_back(AnsiString(start, int(p - start)));
            start = ++p + 1;
        }
    }
    lines.push_back(AnsiString(start, int(p - start)));
    return lines;
}

int MeasureTextWidth(std::vector<AnsiString>& lines, const TextLook& look, TextGlyphs& glyphs)
{
    int widest = 1;
    for (AnsiString& line : lines) widest = std::max(widest, glyphs.Extent(line).x);
    int w = int(look.sizeX * widest * 0.01 / look.f + 2 * look.o + look.d * look.s + 0.5);
    return std::max(w, 1);
}

int MeasureLineHeight(const TextLook& look, TextGlyphs& glyphs)
{
    AnsiString x("X");
    int h = glyphs.Extent(x).y;
    return int(look.sizeY * h * 0.01 / look.f + 2 * look.o + 1);
}

int MeasureTextHeight(std::vector<AnsiString>& lines, const TextLook& look, TextGlyphs& glyphs)
{
    double sum = double(lines.size()) * MeasureLineHeight(look, glyphs);
    return int(look.d * look.s + 1 + sum);
}

Rect TextBlockRect(int x, int y, int w, int h)
{
    int top = y - h / 2 + 1;
    return Rect{x, top, x + w - 1, top + h - 1};
}

void RenderText(Buffer& dest, std::vector<AnsiString>& lines, int x, int top, const TextLook& look,
                TextGlyphs& glyphs, const TextColours& colours, bool antiAlias)
{
    int lineHeight = MeasureLineHeight(look, glyphs);
    int smooth = antiAlias ? 1 : 0;
    for (AnsiString& text : lines) {
        Buffer line;
        if (DrawLineBuffer(line, text, glyphs, colours.fore)) {
            Pair<int> size = ScaledLineSize(Pair<int>{line.Width(), line.Height()}, look);
            if (size.x > 0 && size.y > 0) RenderLine(dest, line, size, x, top, look, colours, smooth);
        }
        top += lineHeight;
    }
}
