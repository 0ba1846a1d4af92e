// The description text of an option bar, read into a list of items.
//
// The text is comma-separated: the bar's caption, then items, each starting
// with a code token whose first letter is the kind and whose length minus 1
// is the user level the item needs. Descriptions come from language files,
// which users edit: a missing token reads as empty (or 0), and reading
// stops at the end of the text.
#ifndef KESTREL_OPTIONBAR_PARSE_H
#define KESTREL_OPTIONBAR_PARSE_H

#include <vector>
#include "ansistring.h"

struct OptionItem {
    char kind = 0;           // B C F I L O P S T
    int level = 0;
    AnsiString caption;      // the label's or the control's own; P: glyph resource name
    AnsiString hint;
    int decimals = 0;        // F
    double minimum = 0, maximum = 0;
    double value = 0;        // initial: checked, spin value, list index 0, colour 0x00RRGGBB
    std::vector<AnsiString> entries;  // L

    // Whether the item's control enters the table tools address (labels and
    // separators do not).
    bool HasValue() const;
    // The control's Tag: level * 4096, + 4 for a list, + 5 for a spin edit.
    int Tag() const;
};

struct OptionBarDescription {
    AnsiString caption;
    std::vector<OptionItem> items;
};

OptionBarDescription ParseOptionBar(const AnsiString& text);

// A decimal number with "." as separator, whatever the locale; 0 when the
// text is not a number.
double ParseOptionNumber(const AnsiString& text);

#endif
