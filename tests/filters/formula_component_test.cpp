#include "formula_component.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::string Template(uint32_t area, size_t zeros)
{
    std::string t = "MZ-head-FFCD-decoy-";
    while (t.size() % 4)
        t += '.';
    t += "FFCD";
    for (int k = 0; k < 4; ++k)
        t += static_cast<char>(area >> (8 * k));
    t += std::string(zeros, '\0');
    return t + "tail";
}

const unsigned char kCode[4][3] = {{1, 2, 3}, {4}, {5, 6}, {7}};

FormulaComponentCode Code()
{
    FormulaComponentCode c;
    const int sizes[4] = {3, 1, 2, 1};
    for (int k = 0; k < 4; ++k) {
        c.code[k] = kCode[k];
        c.size[k] = sizes[k];
    }
    return c;
}

}  // namespace

TEST(FormulaComponent, FillsTheLastMarkedAreaAndKeepsTheSize)
{
    FormulaSet set;
    set.text[TEXT_TITLE] = "Sepia";
    set.text[TEXT_AUTHOR] = "Me";
    set.text[TEXT_COPYRIGHT] = "(c)";
    set.sliderName[2] = "Strength";
    set.ctl[2] = 77;
    std::string templ = Template(300, 292), out;
    ASSERT_TRUE(BuildFormulaComponent(templ, set, Code(), out));
    ASSERT_EQ(templ.size(), out.size());
    size_t area = templ.rfind("FFCD");
    EXPECT_EQ(templ.substr(0, area), out.substr(0, area));
    std::string expected = std::string("ffcd") + std::string("\3\0\0\0\1\0\0\0\2\0\0\0\1\0\0\0", 16) +
                           "\1\2\3\4\5\6\7" +
                           "Ver=2.00\rName=Sepia\rCopyright=(c)\rContact=Me\rOpt=PW\rPar3=S,Strength,0,255,77\r";
    EXPECT_EQ(expected, out.substr(area, expected.size()));
    EXPECT_EQ('\0', out[area + expected.size()]);
    EXPECT_EQ("tail", out.substr(out.size() - 4));
}

TEST(FormulaComponent, DescriptorFieldsKeepToTheirLines)
{
    FormulaSet set;
    set.text[TEXT_TITLE] = "Two\rLines";
    set.text[TEXT_AUTHOR] = "A, B";
    set.sliderName[0] = "Gain,Bias";
    set.ctl[0] = 9;
    EXPECT_EQ("Ver=2.00\rName=Two Lines\rCopyright=\rContact=A  B\rOpt=PW\rPar1=S,Gain Bias,0,255,9\r",
              FormulaComponentDescriptor(set));
}

TEST(FormulaComponent, RefusesTemplatesWithoutMarkerOrRoom)
{
    FormulaSet set;
    std::string out = "untouched";
    EXPECT_FALSE(BuildFormulaComponent("MZ no marker here", set, Code(), out));
    EXPECT_FALSE(BuildFormulaComponent(Template(64, 1000), set, Code(), out));  // the area says 64 bytes
    EXPECT_FALSE(BuildFormulaComponent(Template(0, 8), set, Code(), out));      // the file ends first
    EXPECT_EQ("untouched", out);
}
