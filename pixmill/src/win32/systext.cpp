#include "systext.h"

#include <stdint.h>

#include <algorithm>

#include "ansistring.h"
#include "buffer_clip.h"
#include "font.h"
#include "shared_text_dc.h"

namespace {

// The system's colour is R, G, B the other way round.
COLORREF SystemColour(unsigned long colour)
{
    return RGB(colour >> 16 & 0xFF, colour >> 8 & 0xFF, colour & 0xFF);
}

// Overhangs of one character: how far its ink reaches left of its cell (A)
// and right of its advance (C), as positive numbers, 0 when it does not.
struct Overhang {
    int left, right;
};

int Rounded(float v)
{
    return int(0.5f + (v < 0 ? -v : v));
}

Overhang CharOverhang(HDC dc, unsigned char ch)
{
    ABC abc;
    if (GetCharABCWidthsA(dc, ch, ch, &abc)) return Overhang{std::max(0, -abc.abcA), std::max(0, -abc.abcC)};
    ABCFLOAT f;
    if (GetCharABCWidthsFloatA(dc, ch, ch, &f))
        return Overhang{f.abcfA < 0 ? Rounded(f.abcfA) : 0, f.abcfC < 0 ? Rounded(f.abcfC) : 0};
    return Overhang{0, 0};
}

struct Extent {
    int width, height, left;  // left: the left overhang, where drawing starts
};

// With the font selected into dc.
Extent Measure(HDC dc, const char* s, int length)
{
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, s, length, &size);
    Extent e = {int(size.cx), int(size.cy), 0};
    if (length > 0) {
        e.left = CharOverhang(dc, (unsigned char)s[0]).left;
        e.width += e.left + CharOverhang(dc, (unsigned char)s[length - 1]).right;
    }
    return e;
}

// A top-down 32-bit section: its pixels are a Buffer's pixels.
HBITMAP CreateSection(HDC dc, int w, int h, void** bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biXPelsPerMeter = 100;
    info.bmiHeader.biYPelsPerMeter = 100;
    return CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// The text drawn over the key in a section covering box (text-local), or
// null when no section could be made.
HBITMAP DrawSection(HDC dc, const Extent& ext, Rect box, const char* s, int length, unsigned long colour,
                    Buffer& section)
{
    int w = box.right - box.left + 1, h = box.bottom - box.top + 1;
    void* bits = nullptr;
    HBITMAP bitmap = CreateSection(dc, w, h, &bits);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    section.Alloc(Pair<int>{w, h}, static_cast<unsigned long*>(bits), w);
    section.left = box.left, section.top = box.top, section.right = box.right, section.bottom = box.bottom;
    unsigned long key = colour ^ 0xFFFFFF;
    std::fill(section.pixels, section.pixels + size_t(w) * h, key);
    HGDIOBJ old = SelectObject(dc, bitmap);
    TextOutA(dc, ext.left - box.left, -box.top, s, length);
    GdiFlush();
    SelectObject(dc, old);
    // The system writes 0 into the flag byte.
    if (colour > 0xFFFFFF) section.ChColor(colour & 0xFFFFFF, colour);
    return bitmap;
}

HFONT DefaultFont()
{
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

Pair<int> SystemTextExtent(HFONT font, const char* s, int length)
{
    if (length <= 0) return Pair<int>{0, 0};
    TextLock lock;
    HGDIOBJ old = SelectObject(lock.dc, PlainFont(font));
    Extent e = Measure(lock.dc, s, length);
    SelectObject(lock.dc, old);
    return Pair<int>{e.width, e.height};
}

void SystemTextOut(Buffer& b, HFONT font, Pair<int> pos, const char* s, int length, unsigned long colour)
{
    Buffer section;
    HBITMAP bitmap = nullptr;
    {
        TextLock lock;
        HGDIOBJ oldFont = SelectObject(lock.dc, PlainFont(font));
        SetTextColor(lock.dc, SystemColour(colour));
        SetBkMode(lock.dc, TRANSPARENT);
        Extent ext = Measure(lock.dc, s, length);
        Rect box;
        if (ext.width > 0 && ext.height > 0 &&
            ClipShifted(b, Rect{0, 0, ext.width - 1, ext.height - 1}, pos.x, pos.y, box)) {
            // In text-local coordinates from here on.
            box = Rect{int(int64_t(box.left) - pos.x), int(int64_t(box.top) - pos.y),
                       int(int64_t(box.right) - pos.x), int(int64_t(box.bottom) - pos.y)};
            bitmap = DrawSection(lock.dc, ext, box, s, length, colour, section);
        }
        SelectObject(lock.dc, oldFont);
    }
    if (!bitmap) return;
    b.Copy(section, pos, colour ^ 0xFFFFFF);
    section.Free();
    DeleteObject(bitmap);
}

void Buffer::OutText(TFont* font, Pair<int> pos, AnsiString& s, unsigned long colour)
{
    SystemTextOut(*this, font ? font->GetHandle() : DefaultFont(), pos, s.c_str(), s.Length(), colour);
}

Pair<int> Buffer::GetTextExtent(TFont* font, AnsiString& s)
{
    return SystemTextExtent(font ? font->GetHandle() : DefaultFont(), s.c_str(), s.Length());
}
