// The compiled code against the independent interpreter on random formulas:
// every pixel and every error verdict must agree. FORMULA_ORACLE_FORMULAS
// raises the count for longer runs.
#include "../formula_generator.h"
#include "component_harness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>

namespace {

struct Shape {
    int width, height;
};
const Shape kShapes[] = {{1, 1}, {1, 7}, {7, 1}, {4, 4}, {9, 6}};

oracle::Picture RandomPicture(std::mt19937& rng, Shape s)
{
    oracle::Picture pic{s.width, s.height, {}};
    for (int k = 0; k < s.width * s.height; ++k) {
        uint32_t p = rng() & 0x00FFFFFF;
        // Flags on a random subset; without a selection they must not matter.
        if (rng() % 2)
            p |= (rng() % 255 + 1) << 24;
        pic.pixels.push_back(p);
    }
    return pic;
}

// Runs from a copy of the code at another address.
std::vector<uint32_t> RunRelocated(FormulaCode& code, const oracle::Picture& pic, bool hasSelection, const int ctl[8])
{
    unsigned char* copy = static_cast<unsigned char*>(
        VirtualAlloc(nullptr, 4 * kFormulaCodeSize, MEM_RESERVE | MEM_COMMIT, PAGE_EXECUTE_READWRITE));
    FormulaRoutines routines;
    for (int k = 0; k < 4; ++k) {
        std::memcpy(copy + k * kFormulaCodeSize, code.Code(k), kFormulaCodeSize);
        routines.code[k] = copy + k * kFormulaCodeSize;
    }
    std::vector<uint32_t> out(pic.pixels.size(), kUntouched);
    RunFormulaPixels(routines, ProgramFormulaContext(), ctl, PixelsOf(pic, out, hasSelection), nullptr);
    VirtualFree(copy, 0, MEM_RELEASE);
    return out;
}

// Every slider named, so that the component receives all eight values.
std::vector<uint32_t> RunThroughComponent(FormulaCode& code, const FormulaCompilation& compiled,
                                          const oracle::Picture& pic, bool hasSelection, const int ctl[8])
{
    FormulaSet set;
    for (int k = 0; k < 8; ++k) {
        set.sliderName[k] = "s" + std::to_string(k);
        set.ctl[k] = ctl[k];
    }
    std::string path = BuildComponent(code, compiled, set);
    if (path.empty())
        return {};
    return RunComponent(path, pic, hasSelection, std::vector<int>(ctl, ctl + 8));
}

std::string Describe(const FormulaTriple& f, Shape s, bool sel)
{
    return "r: " + f.text[0] + "\ng: " + f.text[1] + "\nb: " + f.text[2] + "\npicture " + std::to_string(s.width) +
           "x" + std::to_string(s.height) + (sel ? " with selection" : "");
}

}  // namespace

TEST(FormulaOracle, RandomFormulasMatchTheInterpreter)
{
    int formulas = 100000;
    if (const char* n = std::getenv("FORMULA_ORACLE_FORMULAS"))
        formulas = std::atoi(n);
    FormulaGenerator generator(20261209);
    std::mt19937 rng(7);
    FormulaCode code;
    int mismatches = 0, errors = 0, codeFull = 0;
    for (int k = 0; k < formulas / 3 + 1 && mismatches < 5; ++k) {
        FormulaTriple f;
        for (auto& t : f.text)
            t = generator.Formula();
        Shape shape = kShapes[k % 5];
        bool sel = (k / 5) % 2 == 1;
        oracle::Picture pic = RandomPicture(rng, shape);
        int ctl[8];
        for (int& c : ctl)
            c = static_cast<int>(rng() % 256);
        FormulaRunResult compiled = RunCompiled(code, f, pic, sel, ctl);
        oracle::Tree trees[3];
        std::vector<uint32_t> expected = RunOracle(f, pic, sel, ctl, trees);
        // The interpreter knows no code size: a triple that filled a buffer is
        // only checked for being a valid formula there.
        bool full = false;
        for (int c = 0; c < 3; ++c) {
            if (!compiled.compilation.channel[c].codeFull)
                continue;
            full = true;
            ++codeFull;
            EXPECT_GE(trees[c].root, 0) << "a full buffer for an invalid formula\n" << Describe(f, shape, sel);
        }
        if (full)
            continue;
        bool same = true;
        for (int c = 0; c < 3; ++c) {
            bool ok = trees[c].root >= 0;
            errors += !ok;
            same = same && ok == compiled.compilation.channel[c].ok;
        }
        same = same && expected == compiled.pixels;
        if (same && k % 37 == 0)
            same = RunRelocated(code, pic, sel, ctl) == compiled.pixels;
        if (same && k % 331 == 0)
            same = RunThroughComponent(code, compiled.compilation, pic, sel, ctl) == compiled.pixels;
        if (!same) {
            ++mismatches;
            std::string verdicts;
            for (int c = 0; c < 3; ++c)
                verdicts += std::to_string(compiled.compilation.channel[c].ok) + "/" +
                            std::to_string(trees[c].root >= 0) + " ";
            size_t at = 0;
            while (at < expected.size() && expected[at] == compiled.pixels[at])
                ++at;
            std::string pixel;
            if (at < expected.size())
                pixel = " pixel " + std::to_string(at) + ": " + std::to_string(compiled.pixels[at]) + " against " +
                        std::to_string(expected[at]);
            ADD_FAILURE() << "verdicts (compiled/interpreted) " << verdicts << pixel << "\n" << Describe(f, shape, sel);
        }
    }
    EXPECT_EQ(0, mismatches);
    // The generator must reach both verdicts, or the comparison proves little.
    EXPECT_GT(errors, formulas / 50);
    EXPECT_LT(errors, formulas / 2);
    EXPECT_LT(codeFull, formulas / 100);
}
