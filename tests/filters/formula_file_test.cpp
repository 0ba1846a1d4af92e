#include "formula_file.h"

#include <gtest/gtest.h>

namespace {

FormulaSet Sample()
{
    FormulaSet s;
    s.formula[0] = "r*ctl(0)/255";
    s.formula[1] = "src(x+1,y,1)";
    s.formula[2] = "b";
    s.text[TEXT_CATEGORY] = "Tests";
    s.text[TEXT_TITLE] = "Darker";
    s.sliderName[2] = "Amount";
    for (int k = 0; k < 8; ++k)
        s.ctl[k] = 30 * k;
    return s;
}

void ExpectSame(const FormulaSet& a, const FormulaSet& b)
{
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(a.formula[k], b.formula[k]);
        EXPECT_EQ(a.text[k], b.text[k]);
    }
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(a.sliderName[k], b.sliderName[k]);
        EXPECT_EQ(a.ctl[k], b.ctl[k]);
    }
}

std::string Replace(std::string s, const std::string& from, const std::string& to)
{
    for (size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += to.size())
        s.replace(at, from.size(), to);
    return s;
}

}  // namespace

TEST(FormulaFile, WritesTheLayoutAndReadsItBackInEveryLineEnding)
{
    std::string bytes = WriteFormulaFile(Sample());
    EXPECT_EQ("%RGB-1.0\r0\r30\r60\r90\r120\r150\r180\r210\r"
              "r*ctl(0)/255\r\rsrc(x+1,y,1)\r\rb\r\ra\r\r"
              "Tests\r\rDarker\r\r-\r\r-\r\r"
              "1: \r\r2: \r\r3: Amount\r\r4: \r\r5: \r\r6: \r\r7: \r\r8: \r\r",
              bytes);
    for (const std::string& end : {std::string("\r"), std::string("\n"), std::string("\r\n")}) {
        FormulaSet read;
        ASSERT_TRUE(ReadFormulaFile(Replace(bytes, "\r", end), read));
        ExpectSame(Sample(), read);
        EXPECT_EQ(bytes, WriteFormulaFile(read));
    }
}

TEST(FormulaFile, JoinsLinesAndKeepsFormulasInPlace)
{
    FormulaSet s = Sample();
    s.formula[0] = "r +\r\n\r\n g";  // a blank line inside a formula
    s.formula[1] = "";                // an empty formula
    s.formula[2] = std::string(1500, '1');
    s.formula[3] = std::string(1023, '2') + "\r\n+3";  // a line exactly at the limit
    FormulaSet read;
    ASSERT_TRUE(ReadFormulaFile(WriteFormulaFile(s), read));
    EXPECT_EQ("r + g", read.formula[0]);
    EXPECT_EQ("0", read.formula[1]);
    EXPECT_EQ(s.formula[2], read.formula[2]);
    EXPECT_EQ(std::string(1023, '2') + "+3", read.formula[3]);
    EXPECT_EQ("Tests", read.text[TEXT_CATEGORY]);

    // A name line without a colon names nothing; the lines after it keep their places.
    s.sliderName[3] = "Next";
    FormulaSet noColon;
    ASSERT_TRUE(ReadFormulaFile(Replace(WriteFormulaFile(s), "3: Amount", "Amount"), noColon));
    EXPECT_EQ("", noColon.sliderName[2]);
    EXPECT_EQ("Next", noColon.sliderName[3]);
}

TEST(FormulaFile, RefusesABadHeaderOrValueKeepingWhatWasRead)
{
    FormulaSet set;
    EXPECT_FALSE(ReadFormulaFile("%RGB-1.1\r1\r", set));
    EXPECT_EQ(0, set.ctl[0]);
    EXPECT_FALSE(ReadFormulaFile("%RGB-1.0\n7\n12abc\n5\n", set));
    EXPECT_EQ(7, set.ctl[0]);
    EXPECT_EQ(12, set.ctl[1]);
    EXPECT_EQ(0, set.ctl[2]);
    EXPECT_EQ("r", set.formula[0]);
    EXPECT_FALSE(ReadFormulaFile("", set));
}
