// The floating page control's rules without windows: error text, the next
// sheet, the order of returning sheets, the grip's dots, accelerators.
#include <gtest/gtest.h>

#include "floattabs_model.h"

TEST(FloatTabsRules, InvalidPageIndexTextHasTwoBlanks)
{
    EXPECT_STREQ("9 is an invalid PageIndex value.  PageIndex must be between 0 and 6",
                 InvalidPageIndexText(9, 7).c_str());
    EXPECT_STREQ("-1 is an invalid PageIndex value.  PageIndex must be between 0 and -1",
                 InvalidPageIndexText(-1, 0).c_str());
}

TEST(FloatTabsRules, NextPageWrapsAndSkipsSheetsWithoutTab)
{
    std::vector<bool> tabs = {true, false, true, true, false};
    EXPECT_EQ(2, NextPageIndex(tabs, 0, true));
    EXPECT_EQ(0, NextPageIndex(tabs, 3, true));  // last with a tab -> first
    EXPECT_EQ(3, NextPageIndex(tabs, 0, false));
    EXPECT_EQ(0, NextPageIndex(tabs, -1, true));
    EXPECT_EQ(3, NextPageIndex(tabs, -1, false));
    EXPECT_EQ(0, NextPageIndex(tabs, 99, true));
    EXPECT_EQ(2, NextPageIndex(tabs, 1, true));  // from a sheet without a tab
    EXPECT_EQ(-1, NextPageIndex({false, false}, 0, true));
    EXPECT_EQ(-1, NextPageIndex({}, 0, true));
    EXPECT_EQ(0, NextPageIndex({true}, 0, true));  // only one: itself
}

TEST(FloatTabsRules, ReturningSheetGoesBackToItsStaticIndex)
{
    // Sheets 0, 1, 3, 4 docked; sheet 2 came back and was appended.
    std::vector<int> order = StaticPageOrder({-1, -1, -1, -1, 2});
    EXPECT_EQ((std::vector<int>{0, 1, 4, 2, 3}), order);
    // Every sheet with its own index: sorted by it, stable at ties.
    EXPECT_EQ((std::vector<int>{2, 0, 1}), StaticPageOrder({1, 1, 0}));
    EXPECT_EQ((std::vector<int>{0, 1, 2}), StaticPageOrder({-1, -1, -1}));
    EXPECT_TRUE(StaticPageOrder({}).empty());
}

TEST(FloatTabsRules, GripHasFiveStepsOfTwoDotsCentred)
{
    std::vector<TGripDot> dots = GripDots(20);
    ASSERT_EQ(10u, dots.size());
    EXPECT_EQ(0, dots[0].Across);
    EXPECT_EQ(0, dots[0].Along);
    EXPECT_EQ(2, dots[1].Across);
    EXPECT_EQ(3, dots[1].Along);
    EXPECT_EQ(16, dots[8].Along);
    EXPECT_EQ(10, GripDots(40)[0].Along);
    EXPECT_EQ(0, GripDots(5)[0].Along);  // too short: starts at the edge
}

TEST(FloatTabsRules, AcceleratorIsTheCharacterAfterOneAmpersand)
{
    EXPECT_EQ('U', AccelCharOf("&Undo"));
    EXPECT_EQ('A', AccelCharOf("Save &as"));
    EXPECT_EQ(0, AccelCharOf("Fish && Chips"));
    EXPECT_EQ('C', AccelCharOf("Fish && &Chips"));
    EXPECT_EQ(0, AccelCharOf("Plain"));
    EXPECT_EQ(0, AccelCharOf("Trailing&"));
    EXPECT_TRUE(IsAccelFor('u', "&Undo"));
    EXPECT_TRUE(IsAccelFor('U', "&Undo"));
    EXPECT_FALSE(IsAccelFor('n', "&Undo"));
    EXPECT_FALSE(IsAccelFor(0, "Trailing&"));
}
