// A component built by Make from the template library, loaded as the host
// loads one, computes exactly what the program computes.
#include "formula_component.h"
#include "formula_files.h"
#include "formula_harness.h"

#include "winapi.h"

#include <gtest/gtest.h>

#include <random>

namespace {

typedef const char* (*GetDescriptor)();
typedef int(__stdcall* ProcessFunction)(void*, int);

struct ProcessBlock {
    uint32_t window;
    const uint32_t* source;
    uint32_t* destination;
    int width, height, left, top, right, bottom, hasSelection, preview;
    uint32_t rest[9];
};

template <class F> F Export(HMODULE dll, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

std::string TemplatePath() { return std::string(KESTREL_BINARY_DIR) + "/bin/ffksc.dll"; }

std::string TempFile(const char* name)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

}  // namespace

TEST(FormulaComponentBuild, TheTemplateAloneDeclaresNoVersion)
{
    HMODULE dll = LoadLibraryA(TemplatePath().c_str());
    ASSERT_NE(nullptr, dll);
    auto desc = Export<GetDescriptor>(dll, "KSCGETDESC");
    ASSERT_NE(nullptr, desc);
    EXPECT_EQ(nullptr, std::strstr(desc(), "Ver="));
    EXPECT_EQ(nullptr, GetProcAddress(dll, "KSCDESC"));
    FreeLibrary(dll);
}

TEST(FormulaComponentBuild, ABuiltComponentComputesWhatTheProgramComputes)
{
    FormulaSet set;
    set.formula[0] = "cnv(1,2,1,2,4,2,1,2,1,16) + i - u";
    set.formula[1] = "src(x+1, y-1, 2) + d + m + rnd(0, 9) + ctl(2)";
    set.formula[2] = "v + b + g / 3 + put(r, 3) - get(3) + val(4, 0, 255)";
    set.text[TEXT_TITLE] = "Test";
    set.sliderName[2] = "Amount";
    set.sliderName[4] = "Mix";
    set.ctl[2] = 77;
    set.ctl[4] = 200;
    FormulaCode code;
    FormulaCompilation compiled;
    const char* const texts[3] = {set.formula[0].c_str(), set.formula[1].c_str(), set.formula[2].c_str()};
    CompileFormulas(code, texts, compiled);
    EXPECT_EQ(511u, compiled.usage);
    FormulaComponentCode parts;
    const int order[4] = {CODE_SETUP, CODE_RED, CODE_GREEN, CODE_BLUE};
    for (int k = 0; k < 4; ++k) {
        parts.code[k] = code.Code(order[k]);
        parts.size[k] = compiled.size[order[k]];
    }
    std::string templ, built;
    ASSERT_TRUE(ReadWholeFile(TemplatePath(), templ));
    ASSERT_TRUE(BuildFormulaComponent(templ, set, parts, built));
    std::string path = TempFile("formula_test.ksc");
    ASSERT_TRUE(WriteWholeFile(path, built));

    std::mt19937 rng(5);
    oracle::Picture pic{9, 6, {}};
    for (int k = 0; k < 54; ++k)
        pic.pixels.push_back((rng() & 0x00FFFFFF) | (k % 3 ? 0x04000000u : 0));
    FormulaRunResult expected = RunCompiled(code, FormulaTriple{{set.formula[0], set.formula[1], set.formula[2]}},
                                            pic, true, set.ctl);

    HMODULE dll = LoadLibraryA(path.c_str());
    ASSERT_NE(nullptr, dll);
    auto desc = Export<GetDescriptor>(dll, "KSCGETDESC");
    auto process = Export<ProcessFunction>(dll, "KSCPROCESS");
    ASSERT_TRUE(desc && process);
    EXPECT_STREQ("Ver=2.00\rName=Test\rCopyright=\rContact=\rOpt=PW\rPar3=S,Amount,0,255,77\rPar5=S,Mix,0,255,200\r",
                 desc());
    std::vector<uint32_t> out(pic.pixels.size(), kUntouched);
    ProcessBlock block{0, pic.pixels.data(), out.data(), 9, 6, 0, 0, 8, 5, 1, 1, {}};
    int values[2] = {77, 200};
    process(&block, 4493);
    process(values, 4494);
    process(&block, 4496);
    process(nullptr, 4497);
    FreeLibrary(dll);
    DeleteFileA(path.c_str());
    EXPECT_EQ(expected.pixels, out);
}
