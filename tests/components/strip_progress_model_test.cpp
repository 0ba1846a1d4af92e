#include <gtest/gtest.h>

#include "strip_progress_model.h"

TEST(StripProgressNumbers, PercentAndFillFollowPositionOverMax)
{
    EXPECT_EQ(37, StripPercent(37, 100));
    EXPECT_EQ(55, StripFillWidth(37, 100, 150));  // round(0.37 * 149)
    EXPECT_EQ(33, StripPercent(1, 3));
    EXPECT_EQ(67, StripPercent(2, 3));
    EXPECT_EQ(149, StripFillWidth(100, 100, 150));
    EXPECT_EQ(0, StripFillWidth(0, 100, 150));
}

TEST(StripProgressNumbers, ZeroMaxShowsNothingAndOverflowIsClamped)
{
    EXPECT_EQ(0, StripPercent(50, 0));
    EXPECT_EQ(0, StripFillWidth(50, 0, 150));
    EXPECT_EQ(0, StripPercent(5, -10));
    EXPECT_EQ(100, StripPercent(250, 100));
    EXPECT_EQ(149, StripFillWidth(250, 100, 150));
    EXPECT_EQ(0, StripPercent(-20, 100));
    EXPECT_EQ(0, StripFillWidth(-20, 100, 150));
    EXPECT_EQ(0, StripFillWidth(50, 100, 0));
}

TEST(StripProgressNumbers, TextHasThreeBlanksBeforeThePercentage)
{
    EXPECT_STREQ("Processing...   37%", StripText("Processing...", 37).c_str());
    EXPECT_STREQ("0%", StripText("", 0).c_str());
}
