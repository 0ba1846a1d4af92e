// The tip-of-the-day file: one tip a line, "context,text", where context is
// the help topic of the tip (0: none).
#ifndef KESTREL_TIPFILE_H
#define KESTREL_TIPFILE_H

#include "ansistring.h"

struct TipOfTheDay {
    int context = 0;
    AnsiString text;
};

// The longest line read; the rest of a longer line is skipped, so that it
// stays one tip.
const int TipLineLength = 1023;

// Reads tip number index (from 0) of the file at path into tip and advances
// index; past the file's end it starts again at the first tip. False when
// the file cannot be opened (index and tip unchanged); an empty file gives
// an empty tip and index 0.
bool ReadTipOfTheDay(const AnsiString& path, int& index, TipOfTheDay& tip);

// One line of the file: the number before the first comma (0 when there is
// none) and the text after it (the whole line without a comma).
TipOfTheDay ParseTipLine(const char* line);

#endif
