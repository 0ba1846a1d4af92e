#include "limitcolors_model.h"

#include <string.h>

#include "colorsel_hsv.h"
#include "quantize.h"

int LimitBarSize(int n)
{
    if (n < 17) return n < 8 ? 8 : (n + 3) / 4 * 4;
    if (n < 33) return (n + 7) / 8 * 8;
    return (n + 15) / 16 * 16;
}

namespace {

int ClampLimit(int n) { return n < 2 ? 2 : n > 256 ? 256 : n; }

HSVTriple EntryHSV(const unsigned char* rgb, int i) { return RGBToHSV(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]); }

bool ComesFirst(HSVTriple second, HSVTriple first)
{
    return second.v - first.v > 28 || second.h - first.h > 28 || second.s - first.s > 28;
}

void PutColour(LimitPalette& pal, int i, unsigned long colour)
{
    pal.rgb[3 * i] = (unsigned char)(colour >> 16);
    pal.rgb[3 * i + 1] = (unsigned char)(colour >> 8);
    pal.rgb[3 * i + 2] = (unsigned char)colour;
}

void SwapEntries(unsigned char* rgb, int i, int j)
{
    for (int c = 0; c < 3; c++) {
        const unsigned char t = rgb[3 * i + c];
        rgb[3 * i + c] = rgb[3 * j + c];
        rgb[3 * j + c] = t;
    }
}

}  // namespace

void SortPaletteByHSV(unsigned char* rgb, int count)
{
    for (int end = count - 1; end > 0; end--)
        for (int i = 0; i < end; i++)
            if (ComesFirst(EntryHSV(rgb, i + 1), EntryHSV(rgb, i))) SwapEntries(rgb, i, i + 1);
}

unsigned long LimitKey(const LimitColorsSettings& s, unsigned long background)
{
    return s.saveBackground ? (background & 0xFFFFFF) : 0xFFFFFFFF;
}

void MakeLimitPalette(Buffer& pic, const LimitColorsSettings& s, unsigned long background,
                      const std::vector<unsigned long>& bar, LimitPalette& pal, int& barSize)
{
    memset(pal.rgb, 0, sizeof pal.rgb);
    barSize = 0;
    if (s.operation == UseFastPalette) {
        // The bar's colours all stay reachable: the background takes an
        // entry of its own in front of them.
        const unsigned long key = LimitKey(s, background);
        const int first = key == 0xFFFFFFFF ? 0 : 1;
        if (first) PutColour(pal, 0, key);
        for (size_t i = 0; i < bar.size() && first + int(i) < 256; i++) PutColour(pal, first + int(i), bar[i]);
        return;
    }
    const int n = ClampLimit(s.limit);
    CreatePalette(pic, pal.rgb, n, LimitKey(s, background), nullptr);
    barSize = LimitBarSize(n);
}

LimitPalette BarPalette(const LimitPalette& pal, int barSize)
{
    LimitPalette shown = pal;
    SortPaletteByHSV(shown.rgb, barSize < 0 ? 0 : barSize > 256 ? 256 : barSize);
    return shown;
}

void ReduceToPalette(Buffer& pic, const LimitColorsSettings& s, unsigned long background, LimitPalette& pal)
{
    Quantize(pic, pal.rgb, ClampLimit(s.limit), LimitKey(s, background), s.dither, nullptr, 0);
}

std::vector<unsigned long> PaletteColours(const LimitPalette& pal, int count)
{
    std::vector<unsigned long> colours;
    for (int i = 0; i < count && i < 256; i++)
        colours.push_back((unsigned long)pal.rgb[3 * i] << 16 | (unsigned long)pal.rgb[3 * i + 1] << 8 |
                          pal.rgb[3 * i + 2]);
    return colours;
}
