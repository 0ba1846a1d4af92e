#include "palette.h"

#include <algorithm>
#include <cstdio>
#include "exceptions.h"

PaletteCells PaletteBarCells;

int PaletteCellCount(int requested)
{
    int count = std::min(std::max(requested, MinPaletteCells), MaxPaletteCells);
    return (count + 3) / 4 * 4;
}

PaletteLayout LayoutPalette(int requested)
{
    PaletteLayout l;
    l.count = PaletteCellCount(requested);
    if (l.count >= 33 && l.count % 16 == 0)
        l.rows = 16;
    else if (l.count >= 17 && l.count % 8 == 0)
        l.rows = 8;
    else
        l.rows = 4;
    l.rowHeight = PaletteHeight / l.rows;
    l.columns = l.count / l.rows;
    l.cellWidth = (l.columns + 27) / l.columns;
    if (l.cellWidth < 4) l.cellWidth = l.rowHeight;
    return l;
}

Rect PaletteLayout::CellRect(int i) const
{
    if (i < 0 || i >= count) throw ERangeError();
    int x = i / rows * cellWidth;
    int y = i % rows * rowHeight;
    return Rect{x, y, x + cellWidth - 1, y + rowHeight - 1};
}

int PaletteLayout::CellAt(int x, int y) const
{
    if (count == 0 || x < 0 || y < 0 || x >= Width() || y >= Height()) return -1;
    return x / cellWidth * rows + y / rowHeight;
}

namespace {

const unsigned long BaseColours[16] = {0x000000, 0x00FFFF, 0x0000FF, 0xFF00FF, 0x00FF00, 0xFFFF00,
                                       0xFF0000, 0xFFFFFF, 0x808080, 0x008080, 0x000080, 0x800080,
                                       0x008000, 0x808000, 0x800000, 0xAAAAAA};

// Blue, green, cyan, red, magenta, yellow, grey: step and full colour.
const unsigned long RampSteps[7] = {0x10, 0x1000, 0x1010, 0x100000, 0x100010, 0x101000, 0x101010};
const unsigned long RampFull[7] = {0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

unsigned long BlendRamp(int ramp, int k)
{
    unsigned long u = static_cast<unsigned long>(k * 255 / 31);
    unsigned long d = static_cast<unsigned long>((7905 - k * 255) / 31);
    switch (ramp) {
    case 0: return (u << 16) | d;                // blue to red
    case 1: return (d << 16) | (u << 8);         // red to green
    case 2: return (u << 16) + 0xFF00;           // green to yellow
    default: return (d << 16) | (d << 8) | u;    // yellow to blue
    }
}

}  // namespace

unsigned long DefaultPaletteColour(int i)
{
    if (i < 0 || i >= DefaultPaletteSize) throw ERangeError();
    if (i < 16) return BaseColours[i];
    if (i < 128) {
        int ramp = (i - 16) / 16;
        unsigned long j = static_cast<unsigned long>((i - 16) % 16 + 1);
        return std::min(j * RampSteps[ramp], RampFull[ramp]);
    }
    return BlendRamp((i - 128) / 32, (i - 128) % 32);
}

std::vector<unsigned long> DefaultPalette()
{
    std::vector<unsigned long> colours(DefaultPaletteSize);
    for (int i = 0; i < DefaultPaletteSize; i++) colours[static_cast<size_t>(i)] = DefaultPaletteColour(i);
    return colours;
}

AnsiString ColourReadout(unsigned long pixel)
{
    char text[40];
    std::snprintf(text, sizeof text, "R:%lu G:%lu B:%lu", (pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    return AnsiString(text);
}

void PaletteCells::Build(int count, const std::vector<unsigned long>& colours)
{
    PaletteLayout layout = LayoutPalette(count);
    Buffer picture;
    picture.Alloc(Pair<int>{layout.Width(), layout.Height()});
    picture.Box(picture.GetRect(), 0);
    for (int i = 0; i < layout.count; i++) {
        unsigned long colour = static_cast<size_t>(i) < colours.size() ? colours[static_cast<size_t>(i)] : 0;
        picture.Box(layout.CellRect(i), colour & 0xFFFFFF);
    }
    picture_ = picture;
    layout_ = layout;
}

std::vector<unsigned long> PaletteCells::Colours() const
{
    std::vector<unsigned long> colours(static_cast<size_t>(layout_.count));
    for (int i = 0; i < layout_.count; i++) colours[static_cast<size_t>(i)] = Colour(i);
    return colours;
}

unsigned long PaletteCells::Colour(int i) const
{
    Rect r = layout_.CellRect(i);
    return *picture_.At(r.right, r.bottom) & 0xFFFFFF;
}

Rect PaletteCells::SetColour(int i, unsigned long pixel)
{
    Rect r = layout_.CellRect(i);
    picture_.Box(r, pixel & 0xFFFFFF);
    return r;
}

bool PaletteCells::PixelAt(int x, int y, unsigned long& pixel) const
{
    if (!picture_.pixels || x < picture_.left || y < picture_.top || x > picture_.right || y > picture_.bottom)
        return false;
    pixel = *picture_.At(x, y) & 0xFFFFFF;
    return true;
}
