// Reading the expanded language text: the "[Messages]" entries and the
// assignments of a form's section.
#ifndef KESTREL_LANGTEXT_H
#define KESTREL_LANGTEXT_H

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>
#include "ansistring.h"

// Longest lines the sections are read with. A longer line is cut there and
// the rest of it skipped, so its tail is never taken for a line of its own.
const int MessageLineLimit = 1023;
const int SectionHeaderLimit = 255;
const int AssignmentLineLimit = 511;

// Reads lines of at most maxChars characters, line end included.
bool ReadLimitedLine(std::FILE* file, int maxChars, std::string& line);
// The same over a text in memory; pos is where the next line starts.
bool ReadLimitedLine(const std::string& text, std::size_t& pos, int maxChars, std::string& line);

struct LangEntry {
    AnsiString key;
    AnsiString value;
};

// Every "@" becomes a blank, so a text can begin or end with one.
AnsiString AtSignsToBlanks(const AnsiString& text);

// One line of the messages section: key and value trimmed, a line without
// "=" an entry with an empty key.
LangEntry ParseMessageLine(const AnsiString& line);

// The entries of the "[Messages]" section (its header found in any case),
// in file order; none when the section is missing.
std::vector<LangEntry> ReadMessageSection(std::FILE* file);
// The same over a whole expanded text in memory.
std::vector<LangEntry> ReadMessageSection(const std::string& text);

// One line of a form section; false when it is to be skipped (empty,
// comment, no "="). The key stays as it stands, the value loses trailing
// blanks and line ends; "@" is not replaced here.
bool ReadAssignment(const std::string& line, LangEntry& entry);

// The assignments of the section whose header equals section exactly
// (case matters), in file order; none when it is missing.
std::vector<LangEntry> ReadFormSection(std::FILE* file, const AnsiString& section);

#endif
