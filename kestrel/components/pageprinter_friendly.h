// The page printer's short form of a header or footer ("&lLeft&cMiddle&r&p")
// and the macros a printed cell may hold ("{$PAGE}").
#ifndef KESTREL_PAGEPRINTER_FRIENDLY_H
#define KESTREL_PAGEPRINTER_FRIENDLY_H

#include "ansistring.h"
#include "pageprinter_columns.h"

// What the codes stand for, taken when the short form is read.
struct FriendlyValues {
    AnsiString shortDate, longDate, shortTime, longTime;
    AnsiString fileName;
};

struct FriendlyResult {
    AnsiString text;    // the columns' texts joined by the separator
    AnsiString format;  // each column's alignment and an equal share of the width
};

// Reads the short form: "&&" an ampersand; "&d" "&D" "&t" "&T" dates and
// times; "&F" the file name, "&f" without its folder; "&p" "{$PAGE}", "&i"
// "{$TITLE}"; "&l" "&c" "&r" start a column aligned left, centre, right; any
// other code a blank. Text before the first column code is a left column.
// width: what the columns share, in the page printer's unit.
FriendlyResult ReadFriendlyText(const AnsiString& friendly, const FriendlyValues& values, double width,
                                char separator);

struct MacroValues {
    int line = 0, page = 0;
    AnsiString date, time, title;
};

// "{$LINE}" "{$PAGE}" "{$DATE}" "{$TIME}" "{$TITLE}", replaced left to right;
// what is put in is not searched again.
AnsiString ExpandMacros(const AnsiString& text, const MacroValues& values);

#endif
