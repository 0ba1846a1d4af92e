// Reading the tip of the day: which line comes next, where the file wraps,
// and how a line splits into help context and text.
#include <string>

#include "textfile_fixture.h"
#include "tipfile.h"

namespace {

class TipFile : public ::testing::Test {
protected:
    void TearDown() override { std::remove(path.c_str()); }
    // One file per test: ctest runs this suite's tests in parallel processes.
    const std::string path =
        TestTempPath(std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".txt");
};

TEST_F(TipFile, ShowsTheTipAtTheIndexAndWrapsPastTheEnd)
{
    WriteTextFile(path, "7,first\r\n0,second\n9,third\n");
    TipOfTheDay tip;
    int index = 3;
    ASSERT_TRUE(ReadTipOfTheDay(path.c_str(), index, tip));
    EXPECT_STREQ("first", tip.text.c_str());
    EXPECT_EQ(7, tip.context);
    EXPECT_EQ(1, index);
    ASSERT_TRUE(ReadTipOfTheDay(path.c_str(), index, tip));
    EXPECT_STREQ("second", tip.text.c_str());
    EXPECT_EQ(0, tip.context);
    index = 2;
    ASSERT_TRUE(ReadTipOfTheDay(path.c_str(), index, tip));
    EXPECT_STREQ("third", tip.text.c_str());  // the last line has no line end to lose
    EXPECT_EQ(3, index);
}

TEST_F(TipFile, OverlongLineStaysOneTip)
{
    WriteTextFile(path, "4," + std::string(1998, 'x') + "\n5,after\n");
    TipOfTheDay tip;
    int index = 0;
    ASSERT_TRUE(ReadTipOfTheDay(path.c_str(), index, tip));
    EXPECT_EQ(4, tip.context);
    EXPECT_EQ(TipLineLength - 2, tip.text.Length());
    ASSERT_TRUE(ReadTipOfTheDay(path.c_str(), index, tip));
    EXPECT_STREQ("after", tip.text.c_str());
    EXPECT_EQ(5, tip.context);
    EXPECT_EQ(2, index);
}

TEST_F(TipFile, MissingFileChangesNothingAndEmptyFileGivesNoTip)
{
    TipOfTheDay tip;
    tip.text = "kept";
    int index = 5;
    EXPECT_FALSE(ReadTipOfTheDay(TestTempPath("no-such-tips.txt").c_str(), index, tip));
    EXPECT_EQ(5, index);
    EXPECT_STREQ("kept", tip.text.c_str());
    WriteTextFile(path, "");
    EXPECT_TRUE(ReadTipOfTheDay(path.c_str(), index, tip));
    EXPECT_EQ(0, index);
    EXPECT_TRUE(tip.text.IsEmpty());
}

TEST(TipLine, SplitsAtTheFirstComma)
{
    TipOfTheDay t = ParseTipLine("12,Keep it, simple");
    EXPECT_EQ(12, t.context);
    EXPECT_STREQ("Keep it, simple", t.text.c_str());
    t = ParseTipLine("no number,text");
    EXPECT_EQ(0, t.context);
    EXPECT_STREQ("text", t.text.c_str());
    t = ParseTipLine("no comma at all");
    EXPECT_EQ(0, t.context);
    EXPECT_STREQ("no comma at all", t.text.c_str());
    EXPECT_EQ(0, ParseTipLine("99999999999,too big").context);
    EXPECT_EQ(0, ParseTipLine("-3,negative").context);
}

}  // namespace
