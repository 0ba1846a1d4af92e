#include <gtest/gtest.h>

#include "maxmin.h"
#include "strutils.h"

TEST(WordPosition, FindsWordsAcrossRunsOfDelimiters)
{
    EXPECT_EQ(1, WordPosition(1, "a,,b", ","));
    EXPECT_EQ(4, WordPosition(2, "a,,b", ","));
    EXPECT_EQ(0, WordPosition(3, "a,,b", ","));
    EXPECT_EQ(3, WordPosition(1, ", x y", ", "));
    EXPECT_EQ(5, WordPosition(2, ", x y", ", "));
}

TEST(WordPosition, AnswersZeroForMissingWords)
{
    EXPECT_EQ(0, WordPosition(1, "", ","));
    EXPECT_EQ(0, WordPosition(1, ",,,", ","));
    EXPECT_EQ(0, WordPosition(0, "abc", ","));
    EXPECT_EQ(0, WordPosition(-2, "abc", ","));
}

TEST(WordPosition, EmptyDelimiterSetMakesOneWord)
{
    EXPECT_EQ(1, WordPosition(1, "a,b", ""));
    EXPECT_EQ(0, WordPosition(2, "a,b", ""));
}

TEST(ExtractWord, ReturnsTheWholeWord)
{
    EXPECT_EQ(AnsiString("b"), ExtractWord(2, "a,,b", ","));
    EXPECT_EQ(AnsiString("second"), ExtractWord(2, " first  second;third", " ;"));
    EXPECT_EQ(AnsiString("third"), ExtractWord(3, " first  second;third", " ;"));
    EXPECT_EQ(AnsiString(), ExtractWord(4, " first  second;third", " ;"));
}

TEST(WordCount, CountsWordsNotDelimiters)
{
    EXPECT_EQ(0, WordCount("", ","));
    EXPECT_EQ(0, WordCount(",,", ","));
    EXPECT_EQ(2, WordCount("a,,b,", ","));
}

TEST(Maxmin, PicksTheRightOne)
{
    EXPECT_EQ(3, Max(3, -7));
    EXPECT_EQ(-7, Min(3, -7));
    EXPECT_EQ(5, Max(5, 5));
}
