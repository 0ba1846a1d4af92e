// Glyph images of a toolbar button: cut, masked and put in an image list.
#include "toolbar_button_glyph.h"

#include "canvas.h"
#include "exceptions.h"
#include "glyphstrip.h"

namespace {

// A device bitmap holding pixels (0x00RRGGBB); a monochrome one when mono.
TBitmap* MakeBitmap(int w, int h, const std::vector<unsigned>& pixels, bool mono)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = mono ? CreateBitmap(w, h, 1, 1, nullptr) : CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    if (!WriteBitmapPixels(bitmap, w, h, pixels)) {
        if (bitmap) DeleteObject(bitmap);
        throw EOutOfResources("Cannot make a glyph image");
    }
    TBitmap* out = new TBitmap;
    out->SetHandle(bitmap);
    return out;
}

// Image lists draw a masked image as (dest AND mask) OR image, so the
// image must be black where it is transparent.
void AddImage(TImageList& list, const TGlyphPixels& g)
{
    std::vector<unsigned> image(g.Rgb.size());
    std::vector<unsigned> mask(g.Rgb.size());
    for (size_t i = 0; i < image.size(); ++i) {
        image[i] = g.Opaque[i] ? g.Rgb[i] : 0;
        mask[i] = g.Opaque[i] ? 0 : 0xFFFFFF;
    }
    std::unique_ptr<TBitmap> picture(MakeBitmap(g.Width, g.Height, image, false));
    std::unique_ptr<TBitmap> stencil(MakeBitmap(g.Width, g.Height, mask, true));
    list.Add(picture.get(), stencil.get());
}

TGlyphPixels Cell(const std::vector<unsigned>& strip, const std::vector<unsigned>& mask, int stripWidth,
                  int cellWidth, int height, int index, unsigned transparent)
{
    TGlyphPixels g;
    g.Width = cellWidth;
    g.Height = height;
    g.Rgb = CutGlyphCell(strip, stripWidth, cellWidth, index);
    std::vector<unsigned> stencil = mask.empty() ? g.Rgb : CutGlyphCell(mask, stripWidth, cellWidth, index);
    g.Opaque.resize(g.Rgb.size());
    for (size_t i = 0; i < g.Rgb.size(); ++i) g.Opaque[i] = mask.empty() ? stencil[i] != transparent : stencil[i] == 0;
    return g;
}

}  // namespace

TButtonGlyph::TButtonGlyph(TBitmap* Strip, TBitmap* Mask, int NumGlyphs, bool OldDisabledStyle)
{
    if (!Strip || Strip->GetEmpty()) throw EInvalidOperation("No glyph");
    NumGlyphs = ClampNumGlyphs(NumGlyphs);
    int w = Strip->GetWidth();
    int h = Strip->GetHeight();
    int cell = w / NumGlyphs;
    if (cell <= 0) throw EInvalidOperation("Glyph too narrow for its number of images");
    list_.SetWidth(cell);
    list_.SetHeight(h);
    std::vector<unsigned> strip = ReadBitmapPixels(Strip);
    std::vector<unsigned> mask;
    if (Mask && !Mask->GetEmpty() && Mask->GetWidth() == w && Mask->GetHeight() == h) mask = ReadBitmapPixels(Mask);
    unsigned transparent = strip[size_t(h - 1) * w];

    TGlyphPixels up;
    for (int i = 0; i < NumGlyphs; ++i) {
        TGlyphPixels g = Cell(strip, mask, w, cell, h, i, transparent);
        if (i == 0) up = g;
        AddImage(list_, g);
    }
    for (int s = 0; s < 5; ++s) index_[s] = s < NumGlyphs ? s : 0;
    if (NumGlyphs < 2) {
        unsigned hi = unsigned(ColorToRGB(clBtnHighlight));
        unsigned sh = unsigned(ColorToRGB(clBtnShadow));
        AddImage(list_, DisabledGlyph(up, OldDisabledStyle, SwapRedBlue(hi), SwapRedBlue(sh)));
        index_[tbsDisabled] = NumGlyphs;
    }
}

void TButtonGlyph::Draw(TCanvas* Canvas, int X, int Y, TToolbarButtonState State)
{
    list_.Draw(Canvas, X, Y, index_[State]);
}
