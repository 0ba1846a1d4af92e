// Compiles formula triples into executable memory and runs them on small
// pictures, and runs the independent interpreter on the same input.
#ifndef KESTREL_TESTS_FORMULA_HARNESS_H
#define KESTREL_TESTS_FORMULA_HARNESS_H

#include "buffer.h"
#include "formula_code.h"
#include "../formula_oracle.h"

#include <string>
#include <vector>

struct FormulaTriple {
    std::string text[3];
};

struct FormulaRunResult {
    FormulaCompilation compilation;
    std::vector<uint32_t> pixels;
};

const uint32_t kUntouched = 0xA5C3E1F7;  // what unselected target pixels keep

inline FormulaPixels PixelsOf(const oracle::Picture& pic, std::vector<uint32_t>& out, bool hasSelection)
{
    FormulaPixels p;
    p.source = reinterpret_cast<const unsigned long*>(pic.pixels.data());
    p.sourceStride = pic.width;
    p.target = reinterpret_cast<unsigned long*>(out.data());
    p.targetStride = pic.width;
    p.width = pic.width;
    p.height = pic.height;
    p.hasSelection = hasSelection;
    return p;
}

// Compiles into code and runs through the program's entry point.
inline FormulaRunResult RunCompiled(FormulaCode& code, const FormulaTriple& f, const oracle::Picture& pic,
                                    bool hasSelection, const int ctl[8])
{
    FormulaRunResult result;
    const char* const texts[3] = {f.text[0].c_str(), f.text[1].c_str(), f.text[2].c_str()};
    CompileFormulas(code, texts, result.compilation);
    result.pixels.assign(pic.pixels.size(), kUntouched);
    std::vector<uint32_t> source = pic.pixels;
    Buffer in, out;
    in.Alloc(Pair<int>{pic.width, pic.height}, reinterpret_cast<unsigned long*>(source.data()), 0);
    out.Alloc(Pair<int>{pic.width, pic.height}, reinterpret_cast<unsigned long*>(result.pixels.data()), 0);
    RunCompiledFormulas(code, ctl, in, out, hasSelection, nullptr);
    return result;
}

// The interpreter's verdicts (root -1: error) and pixels. Formulas count by
// their first 1,024 characters, as the compiler's do.
inline std::vector<uint32_t> RunOracle(const FormulaTriple& f, const oracle::Picture& pic, bool hasSelection,
                                       const int ctl[8], oracle::Tree trees[3])
{
    for (int c = 0; c < 3; ++c)
        trees[c] = oracle::Parser(f.text[c].substr(0, 1024)).Parse();
    std::vector<uint32_t> out(pic.pixels.size(), kUntouched);
    oracle::Evaluator(ProgramFormulaContext(), pic, ctl).Run(trees, hasSelection, out);
    return out;
}

inline oracle::Picture FlatPicture(int width, int height, uint32_t pixel)
{
    oracle::Picture pic{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, pixel)};
    return pic;
}

#endif
