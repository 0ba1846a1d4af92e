#include "glyph_button_model.h"

#include <algorithm>
#include <stdexcept>

TCellSource GlyphCellSource(TGlyphCell cell, int numGlyphs)
{
    if (static_cast<int>(cell) < numGlyphs) return csOwn;
    switch (cell) {
    case gcDisabled: return csEmbossed;
    case gcInactive: return csGreyed;
    default: return csUpCell;
    }
}

int GlyphCountFromSize(int width, int height)
{
    if (width <= 0 || height <= 0 || width % height != 0) return 1;
    int n = width / height;
    return n < 6 ? n : 1;
}

unsigned GreyOf(unsigned bgr)
{
    unsigned r = bgr & 0xFF;
    unsigned g = (bgr >> 8) & 0xFF;
    unsigned b = (bgr >> 16) & 0xFF;
    unsigned level = (77 * r + 150 * g + 29 * b) / 256;
    return level | (level << 8) | (level << 16);
}

TEllipsisGlyph EllipsisGlyph(int buttonWidth)
{
    TEllipsisGlyph g;
    g.Width = std::max(1, buttonWidth - 6);
    g.Height = 4;
    g.DotY = 1;
    int spacing = std::clamp((g.Width - 6) / 2, 1, 3);
    // Three dots of 2 with two gaps: centred in the bitmap.
    int group = 3 * 2 + 2 * spacing;
    int left = (g.Width - group) / 2;
    for (int i = 0; i < 3; ++i) g.DotX[i] = left + i * (2 + spacing);
    return g;
}

TEditButtonPlace EditButtonPlace(int width, int height, int buttonWidth, bool ctl3D, bool newStyle)
{
    if (!newStyle) return TEditButtonPlace{width - buttonWidth, 1, buttonWidth, std::max(0, height - 1)};
    int left = width - buttonWidth - 4 + (ctl3D ? 0 : 2);
    return TEditButtonPlace{left, ctl3D ? 0 : 2, buttonWidth, std::max(0, height - 4)};
}

int ComboEditMinHeight(int systemFontHeight, int controlFontHeight, int borderHeight)
{
    return std::min(systemFontHeight, controlFontHeight) + 4 * borderHeight + 1;
}

void DropDownMarkRow(int row, int& first, int& width)
{
    row = std::clamp(row, 0, 3);
    width = 7 - 2 * row;
    first = row;
}

std::vector<unsigned> GreyCell(const std::vector<unsigned>& pixels, unsigned transparent)
{
    std::vector<unsigned> out(pixels);
    transparent &= 0xFFFFFF;
    for (unsigned& p : out)
        if ((p & 0xFFFFFF) != transparent) p = GreyOf(p);
    return out;
}

std::vector<unsigned> EmbossedCell(const std::vector<unsigned>& pixels, int width, int height, unsigned transparent,
                                   unsigned highlight, unsigned shadow)
{
    if (width < 0 || height < 0 || pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
        throw std::invalid_argument("glyph cell size does not match its pixels");
    transparent &= 0xFFFFFF;
    std::vector<unsigned> out(pixels.size(), transparent);
    auto opaque = [&](int x, int y) { return (pixels[size_t(y) * width + x] & 0xFFFFFF) != transparent; };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (opaque(x, y) && x + 1 < width && y + 1 < height) out[size_t(y + 1) * width + x + 1] = highlight;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (opaque(x, y)) out[size_t(y) * width + x] = shadow;
    return out;
}
