#include "glyphstrip.h"

#include "exceptions.h"

std::vector<unsigned> ReadBitmapPixels(TBitmap* Bitmap)
{
    int w = Bitmap->GetWidth();
    int h = Bitmap->GetHeight();
    std::vector<unsigned> out(size_t(w) * size_t(h));
    if (out.empty()) return out;
    BITMAPINFO bi = TopDownInfo32(w, h);
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, Bitmap->GetHandle(), 0, h, out.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != h) throw EOutOfResources("Cannot read the glyph");
    for (unsigned& p : out) p &= 0xFFFFFF;
    return out;
}

std::vector<unsigned> CutGlyphCell(const std::vector<unsigned>& Strip, int StripWidth, int CellWidth, int Index)
{
    if (StripWidth <= 0 || CellWidth <= 0 || Index < 0 || (Index + 1) * CellWidth > StripWidth)
        throw EInvalidOperation("Glyph cell outside its strip");
    size_t height = Strip.size() / size_t(StripWidth);
    std::vector<unsigned> cell(size_t(CellWidth) * height);
    for (size_t y = 0; y < height; ++y)
        for (int x = 0; x < CellWidth; ++x)
            cell[y * CellWidth + x] = Strip[y * StripWidth + size_t(Index) * CellWidth + x];
    return cell;
}

bool WriteBitmapPixels(HBITMAP Bitmap, int Width, int Height, const std::vector<unsigned>& Pixels)
{
    if (!Bitmap || Pixels.size() < size_t(Width) * size_t(Height)) return false;
    BITMAPINFO bi = TopDownInfo32(Width, Height);
    HDC screen = GetDC(nullptr);
    int rows = SetDIBits(screen, Bitmap, 0, Height, Pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return rows == Height;
}
