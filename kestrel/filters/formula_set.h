// What the filter factory keeps between uses for the program's run, and
// what a formula file and a built component carry.
#ifndef KESTREL_FORMULA_SET_H
#define KESTREL_FORMULA_SET_H

#include <string>

enum FormulaText { TEXT_CATEGORY, TEXT_TITLE, TEXT_AUTHOR, TEXT_COPYRIGHT };

struct FormulaSet {
    std::string formula[4] = {"r", "g", "b", "a"};  // red, green, blue and the kept alpha
    std::string text[4];                            // FormulaText order
    std::string sliderName[8];
    int ctl[8] = {0, 0, 0, 0, 0, 0, 0, 0};
};

#endif
