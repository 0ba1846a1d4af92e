#include <gtest/gtest.h>

#include "dateutil.h"
#include "exceptions.h"
#include "control_support_model.h"

TEST(StripCellRect, CellsRunRowByRow)
{
    // 4 x 3 cells of 13 x 13: cell 5 is row 1, column 1.
    TRect r = StripCellRect(52, 39, 4, 3, 5);
    EXPECT_EQ(13, r.Left);
    EXPECT_EQ(13, r.Top);
    EXPECT_EQ(13, r.Width());
    EXPECT_EQ(13, r.Height());
    r = StripCellRect(52, 39, 4, 3, 11);
    EXPECT_EQ(39, r.Left);
    EXPECT_EQ(26, r.Top);
}

TEST(StripCellRect, RefusesCellsOutsideTheStrip)
{
    EXPECT_THROW(StripCellRect(52, 39, 4, 3, 12), EListError);
    EXPECT_THROW(StripCellRect(52, 39, 4, 3, -1), EListError);
    EXPECT_THROW(StripCellRect(52, 39, 0, 3, 0), EListError);
    EXPECT_THROW(StripCellRect(3, 39, 4, 3, 0), EInvalidOperation);
}

namespace {
// Every character 10 wide.
int TenPerChar(const AnsiString& s) { return 10 * s.Length(); }
}  // namespace

TEST(ShortenText, KeepsTextThatFits)
{
    EXPECT_EQ(AnsiString("abcde"), ShortenText("abcde", 50, TenPerChar));
    EXPECT_EQ(AnsiString(""), ShortenText("", 0, TenPerChar));
}

TEST(ShortenText, CutsToTheLongestPrefixThatFitsWithDots)
{
    EXPECT_EQ(AnsiString("abcd..."), ShortenText("abcdefghij", 70, TenPerChar));
    EXPECT_EQ(AnsiString("abcd..."), ShortenText("abcdefghij", 79, TenPerChar));
    EXPECT_EQ(AnsiString("a..."), ShortenText("abcdefghij", 40, TenPerChar));
}

TEST(ShortenText, NothingFitsGivesDotsAlone)
{
    EXPECT_EQ(AnsiString("..."), ShortenText("abcdef", 5, TenPerChar));
    EXPECT_EQ(AnsiString("..."), ShortenText("abcdef", -1, TenPerChar));
}

TEST(ShortenText, ResultNeverWiderThanAllowed)
{
    // Uneven widths: 'W' is wide, the rest narrow.
    auto width = [](const AnsiString& s) {
        int w = 0;
        for (int i = 1; i <= s.Length(); ++i) w += s[i] == 'W' ? 20 : 4;
        return w;
    };
    for (int max = 12; max < 120; ++max) {
        AnsiString out = ShortenText("abWWcdWefWW", max, width);
        EXPECT_LE(width(out), max) << max;
    }
}

TEST(Dateutil, FourDigitYearFollowsTheFormat)
{
    EXPECT_TRUE(IsFourDigitYearFormat("m/d/yyyy"));
    EXPECT_TRUE(IsFourDigitYearFormat("dd.MM.YYYY"));
    EXPECT_FALSE(IsFourDigitYearFormat("d/m/yy"));
    EXPECT_FALSE(IsFourDigitYearFormat(""));
}
