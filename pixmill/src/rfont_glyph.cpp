#include "rfont_glyph.h"

#include <algorithm>
#include <vector>

namespace {

// Column after the rightmost ink of each row; 0 for an empty row.
std::vector<int> RightExtents(const RFontEntry& e, const unsigned char* bits)
{
    std::vector<int> out(e.size, 0);
    int columns = 8 * e.rowBytes;
    for (int y = 0; bits && y < e.size; ++y) {
        const unsigned char* row = bits + y * e.rowBytes;
        for (int x = columns; x-- > 0;)
            if (Ink(row, x)) {
                out[size_t(y)] = x + 1;
                break;
            }
    }
    return out;
}

// Column of the leftmost ink of each row; 8 x row bytes for an empty row.
std::vector<int> LeftExtents(const RFontEntry& e, const unsigned char* bits)
{
    int columns = 8 * e.rowBytes;
    std::vector<int> out(e.size, columns);
    for (int y = 0; bits && y < e.size; ++y) {
        const unsigned char* row = bits + y * e.rowBytes;
        for (int x = 0; x < columns; ++x)
            if (Ink(row, x)) {
                out[size_t(y)] = x;
                break;
            }
    }
    return out;
}

}  // namespace

const unsigned char* GlyphBits(const RFontEntry& e, int ch)
{
    if (!e.glyphs || !InRange(e, ch)) return nullptr;
    int i = ch - e.first;
    if (e.index) {
        if (!e.widths[i]) return nullptr;
        i = e.index[i];
    }
    return e.glyphs + i * e.glyphBytes;
}

int KernedDistance(const RFontEntry& e, int left, int right, int carry, int spacing)
{
    std::vector<int> reach = RightExtents(e, GlyphBits(e, left));
    std::vector<int> start = LeftExtents(e, GlyphBits(e, right));
    int distance = std::max({0, carry, CharWidth(e, left) - CharWidth(e, right) - spacing});
    int rows = e.size;
    for (int i = 0; i < rows; ++i) {
        int near = reach[size_t(i)];
        if (i > 0) near = std::max(near, reach[size_t(i - 1)]);
        if (i + 1 < rows) near = std::max(near, reach[size_t(i + 1)]);
        distance = std::max(distance, near - start[size_t(i)]);
    }
    return distance;
}
