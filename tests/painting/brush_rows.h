// Brushes written as rows of letters: each letter a colour of its own, '.'
// the key; read back the same way, with one more colour shown as '+'.
#ifndef TESTS_PAINTING_BRUSH_ROWS_H
#define TESTS_PAINTING_BRUSH_ROWS_H

#include <string>
#include <vector>

#include "paintkit.h"

using Rows = std::vector<std::string>;

inline unsigned long RowColour(char c) { return c == '.' ? KeyPixel : 0x00100000u + unsigned(c) * 0x0103u; }

inline void DrawRows(Buffer& b, const Rows& rows)
{
    b.Alloc(Pair<int>{int(rows[0].size()), int(rows.size())});
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x) *b.At(int(x), int(y)) = RowColour(rows[y][x]);
}

inline Rows ReadRows(Buffer& b, unsigned long plus = 0xFFFFFFFF)
{
    Rows rows;
    for (int y = b.top; y <= b.bottom; ++y) {
        std::string row;
        for (int x = b.left; x <= b.right; ++x) {
            unsigned long p = *b.At(x, y);
            char c = p == KeyPixel ? '.' : p == plus ? '+' : '?';
            for (char l = 'A'; l <= 'Z' && c == '?'; ++l)
                if (p == RowColour(l)) c = l;
            row += c;
        }
        rows.push_back(row);
    }
    return rows;
}

#endif
