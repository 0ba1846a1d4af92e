// The palette bar's cells: how many there are, how they are laid out in the
// small picture the bar shows (at twice its size), the default colours, and
// the picture itself with reading and filling cells. The window side (the
// view, the swatches, the mouse) is win32/palettebar.h.
#ifndef KESTREL_PALETTE_H
#define KESTREL_PALETTE_H

#include <vector>
#include "ansistring.h"
#include "buffer.h"

const int MinPaletteCells = 8;
// The preferences offer no more; it also bounds the picture's size when a
// damaged setting asks for millions of cells.
const int MaxPaletteCells = 256;
const int DefaultPaletteSize = 256;
const int PaletteHeight = 64;  // picture pixels, whatever the count
const int PaletteZoom = 2;     // the bar shows the picture at twice its size

// At least MinPaletteCells, rounded up to a multiple of 4, at most
// MaxPaletteCells.
int PaletteCellCount(int requested);

struct PaletteLayout {
    int count = 0;
    int rows = 0;
    int rowHeight = 0;
    int columns = 0;
    int cellWidth = 0;

    int Width() const { return columns * cellWidth; }
    int Height() const { return rows * rowHeight; }
    // Inclusive picture rectangle of cell i (0 <= i < count, else ERangeError).
    Rect CellRect(int i) const;
    // The cell under a picture point, or -1.
    int CellAt(int x, int y) const;
};

// The layout of PaletteCellCount(requested) cells.
PaletteLayout LayoutPalette(int requested);

// Colour i (0..255) of the default palette, 0x00RRGGBB.
unsigned long DefaultPaletteColour(int i);
std::vector<unsigned long> DefaultPalette();

// The status readout of a colour: "R:r G:g B:b".
AnsiString ColourReadout(unsigned long pixel);

class PaletteCells {
public:
    PaletteCells() = default;
    PaletteCells(const PaletteCells&) = delete;
    PaletteCells& operator=(const PaletteCells&) = delete;

    // A new picture for the layout of `count` cells, filled in order from
    // colours (missing ones 0). EOutOfMemory leaves the old cells.
    void Build(int count, const std::vector<unsigned long>& colours);
    // The cells' colours in order; none before the first Build.
    std::vector<unsigned long> Colours() const;

    int Count() const { return layout_.count; }
    const PaletteLayout& Layout() const { return layout_; }
    Buffer& Picture() { return picture_; }

    // The colour of cell i: its bottom-right pixel. ERangeError outside.
    unsigned long Colour(int i) const;
    // Fills cell i; answers its rectangle for the repaint. ERangeError outside.
    Rect SetColour(int i, unsigned long pixel);
    // The pixel at a picture point, false outside the picture.
    bool PixelAt(int x, int y, unsigned long& pixel) const;

private:
    PaletteLayout layout_;
    Buffer picture_;
};

// The palette bar's cells (one for the program).
extern PaletteCells PaletteBarCells;

#endif
