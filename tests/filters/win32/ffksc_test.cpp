// A component built by Make from the template library, loaded as the host
// loads one, computes exactly what the program computes.
#include "component_harness.h"

#include <gtest/gtest.h>

#include <random>

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
    set.text[TEXT_TITLE] = "Par1=Test";  // not a parameter line
    set.sliderName[2] = "Amount";
    set.sliderName[4] = "Mix";
    set.ctl[2] = 77;
    set.ctl[4] = 200;
    FormulaCode code;
    FormulaCompilation compiled;
    const char* const texts[3] = {set.formula[0].c_str(), set.formula[1].c_str(), set.formula[2].c_str()};
    CompileFormulas(code, texts, compiled);
    EXPECT_EQ(511u, compiled.usage);
    std::string path = BuildComponent(code, compiled, set);
    ASSERT_NE("", path);

    std::mt19937 rng(5);
    oracle::Picture pic{9, 6, {}};
    for (int k = 0; k < 54; ++k)
        pic.pixels.push_back((rng() & 0x00FFFFFF) | (k % 3 ? 0x04000000u : 0));
    FormulaRunResult expected = RunCompiled(code, FormulaTriple{{set.formula[0], set.formula[1], set.formula[2]}},
                                            pic, true, set.ctl);
    std::string desc;
    EXPECT_EQ(expected.pixels, RunComponent(path, pic, true, {77, 200}, &desc));
    EXPECT_EQ("Ver=2.00\rName=Par1=Test\rCopyright=\rContact=\rOpt=PW\rPar3=S,Amount,0,255,77\rPar5=S,Mix,0,255,200\r",
              desc);
}

// Sizes past a routine's room, as a damaged file might hold, give no
// descriptor and compute nothing.
TEST(FormulaComponentBuild, ADamagedComponentDeclaresAndComputesNothing)
{
    FormulaSet set;
    set.text[TEXT_TITLE] = "Damaged";
    FormulaCode code;
    FormulaCompilation compiled;
    const char* const texts[3] = {"255 - r", "g", "b"};
    CompileFormulas(code, texts, compiled);
    std::string path = BuildComponent(code, compiled, set), bytes;
    ASSERT_NE("", path);
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    size_t area = bytes.rfind("ffcd");
    ASSERT_NE(std::string::npos, area);
    bytes.replace(area + 8, 4, std::string("\x00\x00\x01\x00", 4));  // red: 65,536 bytes
    ASSERT_TRUE(WriteWholeFile(path, bytes));
    oracle::Picture pic = FlatPicture(3, 2, 0x00102030);
    std::string desc;
    EXPECT_EQ(std::vector<uint32_t>(6, kUntouched), RunComponent(path, pic, false, {}, &desc));
    EXPECT_EQ(std::string::npos, desc.find("Ver="));
}
