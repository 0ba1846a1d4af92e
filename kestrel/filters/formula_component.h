// Builds a filter component from the template library: the compiled code
// and a descriptor go into the template's data area, whose place is marked
// by "FFCD" and whose size follows the marker.
#ifndef KESTREL_FORMULA_COMPONENT_H
#define KESTREL_FORMULA_COMPONENT_H

#include "formula_set.h"

#include <string>

// The routines in the order the component stores them: setup, red, green, blue.
struct FormulaComponentCode {
    const unsigned char* code[4];
    int size[4];
};

std::string FormulaComponentDescriptor(const FormulaSet& set);

// False when the template has no marker or its area cannot hold the code and
// the descriptor; out then stays untouched. The output has the template's size.
bool BuildFormulaComponent(const std::string& templ, const FormulaSet& set, const FormulaComponentCode& code,
                           std::string& out);

#endif
