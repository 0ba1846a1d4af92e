// Colour limitation without the dialog: the settings kept for the run, the
// palette each operation works with, the palette bar's new size and the
// order a created palette is shown in.
#ifndef KESTREL_LIMITCOLORS_MODEL_H
#define KESTREL_LIMITCOLORS_MODEL_H

#include <vector>

#include "buffer.h"

enum LimitOperation { PutToFastPalette = 0, UseFastPalette = 1, CreateFastPaletteOnly = 2 };

struct LimitColorsSettings {
    int limit = 234;  // 2..256
    bool dither = true;
    bool saveBackground = false;
    int operation = PutToFastPalette;
};

// 256 triples R, G, B.
struct LimitPalette {
    unsigned char rgb[768];
};

// The bar size for n created colours: a multiple of 8 below 33, else a
// multiple of 16; below 17 a multiple of 4 and at least 8, because the bar
// lays its cells out in columns of four and has no fewer than 8.
int LimitBarSize(int n);

// Bubble passes over count entries, each pass one shorter: a pair swaps when
// the second colour's HSV value exceeds the first's by more than 28, or its
// hue does, or its saturation does.
void SortPaletteByHSV(unsigned char* rgb, int count);

// The colour key of the reduction: the background colour when it is to be
// kept, else none.
unsigned long LimitKey(const LimitColorsSettings& s, unsigned long background);

// The palette an operation reduces with: the bar's colours in order (the
// rest black) for UseFastPalette, else a created palette of limit colours.
// With the background kept, entry 0 is the background colour: the
// reduction never maps other pixels to entry 0, so it must not hold a
// colour they need. barSize is the bar's new size, 0 when the bar stays as
// it is.
void MakeLimitPalette(Buffer& pic, const LimitColorsSettings& s, unsigned long background,
                      const std::vector<unsigned long>& bar, LimitPalette& pal, int& barSize);

// The created palette as the bar shows it: a copy whose first barSize
// entries are sorted. The reduction keeps the palette's own order.
LimitPalette BarPalette(const LimitPalette& pal, int barSize);

// Reduces pic to the palette's first limit entries, flags kept.
void ReduceToPalette(Buffer& pic, const LimitColorsSettings& s, unsigned long background, LimitPalette& pal);

// The palette entries as bar colours 0x00RRGGBB.
std::vector<unsigned long> PaletteColours(const LimitPalette& pal, int count);

#endif
