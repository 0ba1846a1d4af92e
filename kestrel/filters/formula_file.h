// Formula files (".afs"): lines end with CR when written; CR, LF and CR LF
// are read.
#ifndef KESTREL_FORMULA_FILE_H
#define KESTREL_FORMULA_FILE_H

#include "formula_set.h"

#include <string>

std::string WriteFormulaFile(const FormulaSet& set);

// False when the header or a slider value is not valid ("NotValidFF"); the
// values read before the fault stay in set.
bool ReadFormulaFile(const std::string& bytes, FormulaSet& set);

#endif
