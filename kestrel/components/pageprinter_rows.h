// Laying out one table row of the page printer (its header and footer):
// each column's text, wrapped or cut to the column, on as many physical
// lines as the longest column needs. Widths are printer pixels; text is
// measured by the caller's function, so the layout runs without a printer.
#ifndef KESTREL_PAGEPRINTER_ROWS_H
#define KESTREL_PAGEPRINTER_ROWS_H

#include <functional>
#include <vector>
#include "ansistring.h"
#include "pageprinter_columns.h"

typedef std::function<int(const AnsiString&)> TextMeasure;

// The part of text that goes on this physical line; text keeps the rest.
// With wrap: the longest prefix that fits, cut back after its last blank
// when a word would be split, and ended at a line feed (the text after it
// goes in front of the rest). Without: the longest prefix that fits, and
// nothing is left. Wrapping always takes at least one character, so a
// column narrower than a character still empties.
AnsiString TakeLine(AnsiString& text, int width, bool wrap, const TextMeasure& measure);

struct RowColumn {
    TColumnAlign align = caLeft;
    int width = 0;  // pixels
    bool grid = true;
};

struct RowCell {
    int left = 0;      // the column's left edge, from the row's start
    int width = 0;     // the column's width
    int offset = 0;    // where the text starts inside the column
    int textWidth = 0;
    AnsiString text;
    bool grid = true;
};

// One entry per physical line, each with one cell per column. padding: the
// gap kept between a left- or right-aligned text and its column's edge
// when there is room for it.
std::vector<std::vector<RowCell>> LayOutRow(const std::vector<RowColumn>& columns, std::vector<AnsiString> texts,
                                            bool wrap, int padding, const TextMeasure& measure);

#endif
