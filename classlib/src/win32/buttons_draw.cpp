// What every button face is drawn with: a glyph image and a caption.
#include "buttons.h"
#include "memorydc.h"

namespace {

// Mono bits 0 become the DC's text colour, 1 its background colour.
void BlitMask(HDC dc, POINT p, SIZE s, HDC mask, COLORREF zero, COLORREF one, DWORD rop)
{
    COLORREF oldText = SetTextColor(dc, zero);
    COLORREF oldBk = SetBkColor(dc, one);
    BitBlt(dc, p.x, p.y, s.cx, s.cy, mask, 0, 0, rop);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBk);
}

// Opaque pixels (mask 0) painted in one colour: the disabled look.
void PaintSilhouette(HDC dc, POINT p, SIZE s, HDC mask, COLORREF color)
{
    BlitMask(dc, p, s, mask, RGB(0, 0, 0), RGB(255, 255, 255), SRCAND);
    BlitMask(dc, p, s, mask, color, RGB(0, 0, 0), SRCPAINT);
}

}  // namespace

void DrawButtonGlyph(HDC DC, POINT At, TBitmap* Strip, int Left, SIZE Size, bool Engraved)
{
    COLORREF transparent = ColorToRGB(Strip->GetTransparentColor()) & 0xFFFFFF;
    TMemoryDC source(DC, Strip->GetHandle());
    HBITMAP maskBitmap = CreateBitmap(Size.cx, Size.cy, 1, 1, nullptr);
    if (!maskBitmap) throw EOutOfResources("Cannot create a glyph mask");
    {
        TMemoryDC mask(DC, maskBitmap);
        SetBkColor(source.Get(), transparent);
        BitBlt(mask.Get(), 0, 0, Size.cx, Size.cy, source.Get(), Left, 0, SRCCOPY);
        if (Engraved) {
            PaintSilhouette(DC, POINT{At.x + 1, At.y + 1}, Size, mask.Get(), GetSysColor(COLOR_BTNHIGHLIGHT));
            PaintSilhouette(DC, At, Size, mask.Get(), GetSysColor(COLOR_BTNSHADOW));
        } else {
            // dest ^ src, cleared where opaque, ^ src: the glyph over the face.
            BitBlt(DC, At.x, At.y, Size.cx, Size.cy, source.Get(), Left, 0, SRCINVERT);
            BlitMask(DC, At, Size, mask.Get(), RGB(0, 0, 0), RGB(255, 255, 255), SRCAND);
            BitBlt(DC, At.x, At.y, Size.cx, Size.cy, source.Get(), Left, 0, SRCINVERT);
        }
    }
    DeleteObject(maskBitmap);
}

void DrawButtonText(HDC DC, const AnsiString& Text, RECT Bounds, UINT Flags, bool Enabled, TColor FontColor)
{
    SetBkMode(DC, TRANSPARENT);
    if (!Enabled) {
        RECT shifted = {Bounds.left + 1, Bounds.top + 1, Bounds.right + 1, Bounds.bottom + 1};
        SetTextColor(DC, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(DC, Text.c_str(), -1, &shifted, Flags);
        SetTextColor(DC, GetSysColor(COLOR_BTNSHADOW));
    } else {
        SetTextColor(DC, ColorToRGB(FontColor));
    }
    DrawTextA(DC, Text.c_str(), -1, &Bounds, Flags);
}
