// Drawing and measuring text in raster fonts; without a prepared face the
// default system font stands in.
#include <stdint.h>

#include "buffer.h"
#include "buffer_clip.h"
#include "rfont.h"
#include "rfont_glyph.h"
#include "rfont_system.h"

namespace {

bool Ready(RFont& f)
{
    f.Prepare();
    return f.entry && f.entry->glyphs;
}

unsigned char CharAt(const AnsiString& s, int i)
{
    return (unsigned char)s.c_str()[i];
}

// The step from character i to the next, before spacing. carry carries the
// kerning state from one pair to the next.
int Advance(RFont& f, const AnsiString& s, int i, int& carry)
{
    const RFontEntry& e = *f.entry;
    int ch = CharAt(s, i);
    if (ch == ' ' || f.mode == 0) {
        carry = 0;
        return f.GetSpaceSize();
    }
    int step = CharWidth(e, ch);
    int next = i + 1 < s.Length() ? CharAt(s, i + 1) : ' ';
    if (f.mode > 0 && InRange(e, ch) && next != ' ' && InRange(e, next)) {
        step = KernedDistance(e, ch, next, carry, f.GetSpacing());
        carry = CharWidth(e, ch) - step;
    } else {
        carry = 0;
    }
    return step;
}

void DrawGlyph(Buffer& b, const RFontEntry& e, const unsigned char* bits, int width, int64_t x0, int64_t y0,
               unsigned long colour)
{
    width = std::min(width, 8 * int(e.rowBytes));
    Rect r;
    if (width <= 0 || !ClipShifted(b, Rect{0, 0, width - 1, e.size - 1}, x0, y0, r)) return;
    for (int y = r.top; y <= r.bottom; ++y) {
        const unsigned char* row = bits + (y - y0) * e.rowBytes;
        unsigned long* p = PixelAt(b, r.left, y);
        for (int x = r.left; x <= r.right; ++x, ++p)
            if (Ink(row, int(x - x0))) *p = colour;
    }
}

void Fallback(Buffer& b, Pair<int> pos, AnsiString& s, unsigned long colour)
{
    if (RFontSystem* sys = GetRFontSystem()) sys->OutText(b, pos, s, colour);
}

}  // namespace

void Buffer::OutChar(RFont& f, Pair<int> pos, int ch, unsigned long colour)
{
    if (!Ready(f)) {
        AnsiString one((char)ch);
        Fallback(*this, pos, one, colour);
        return;
    }
    const RFontEntry& e = *f.entry;
    const unsigned char* bits = GlyphBits(e, ch);
    if (!bits) return;
    int width = CharWidth(e, ch);
    int64_t x = pos.x;
    if (f.mode == 0) x += (f.GetSpaceSize() - width) / 2;
    DrawGlyph(*this, e, bits, width, x, pos.y, colour);
}

void Buffer::OutText(RFont& f, Pair<int> pos, AnsiString& s, unsigned long colour)
{
    if (!Ready(f)) {
        Fallback(*this, pos, s, colour);
        return;
    }
    int64_t x = pos.x;
    int carry = 0;
    for (int i = 0; i < s.Length(); ++i) {
        int ch = CharAt(s, i);
        // Past the int range nothing more can land in a buffer.
        if (x > INT32_MAX) break;
        if (ch != ' ' && x >= INT32_MIN) OutChar(f, Pair<int>{int(x), pos.y}, ch, colour);
        x += Advance(f, s, i, carry) + f.GetSpacing();
    }
}

Pair<int> Buffer::GetTextExtent(RFont& f, AnsiString& s)
{
    if (!Ready(f)) {
        RFontSystem* sys = GetRFontSystem();
        return sys ? sys->GetTextExtent(s) : Pair<int>{0, 0};
    }
    int height = f.entry->size;
    if (!s.Length()) return Pair<int>{0, height};
    int64_t width = -int64_t(f.GetSpacing());
    int carry = 0;
    for (int i = 0; i < s.Length(); ++i) width += Advance(f, s, i, carry) + f.GetSpacing();
    return Pair<int>{int(std::max<int64_t>(INT32_MIN, std::min<int64_t>(width, INT32_MAX))), height};
}
