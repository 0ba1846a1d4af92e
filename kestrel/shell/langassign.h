// The string work of applying a form section's assignment, kept apart from
// the components it is applied to.
#ifndef KESTREL_LANGASSIGN_H
#define KESTREL_LANGASSIGN_H

#include <vector>
#include "ansistring.h"

// "OkBtn.Caption" -> "OkBtn" and "Caption", both trimmed; false (and path
// untouched) when there is no ".".
bool SplitComponentPath(AnsiString& path, AnsiString& component);

// A string-list value: items separated by "|", a trailing empty part
// dropped ("A|B|" gives A and B; "" gives none).
std::vector<AnsiString> SplitListValue(const AnsiString& value);

// An integer property's value; false for text that is no number, so that
// a bad line is skipped instead of failing the form's creation.
bool ParseIntegerValue(const AnsiString& value, int& result);

#endif
