// Column formats of the page printer's table rows: a list of column
// specifications separated by the token separator, each an optional
// alignment character ("<" left, ">" right, "^" centre) and a width in the
// page printer's unit. A negative width is its size with no grid.
#ifndef KESTREL_PAGEPRINTER_COLUMNS_H
#define KESTREL_PAGEPRINTER_COLUMNS_H

#include <vector>
#include "ansistring.h"

enum TColumnAlign { caLeft, caCenter, caRight };

struct ColumnSpec {
    TColumnAlign align = caLeft;
    double width = 0;  // in the unit of the format, never negative
    bool grid = true;
};

// Splits at the separator; a trailing separator gives an empty last part,
// and an empty text one empty part.
std::vector<AnsiString> SplitColumns(const AnsiString& text, char separator);

// Empty or width-less specifications take defaultWidth; so does a width
// that cannot be read.
ColumnSpec ParseColumnSpec(const AnsiString& spec, double defaultWidth);

// The stored form: each column as its alignment character and its width in
// the shortest decimal form (negative when it has no grid).
AnsiString NormalizeColumnFormat(const AnsiString& format, char separator, double defaultWidth);

// Every width multiplied by factor (a change of unit), normalised.
AnsiString ScaleColumnFormat(const AnsiString& format, char separator, double factor, double defaultWidth);

#endif
