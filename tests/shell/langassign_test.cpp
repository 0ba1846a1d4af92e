#include <gtest/gtest.h>

#include "langassign.h"

namespace {

TEST(LangAssign, PathSplitsAtFirstDotAndTrims)
{
    AnsiString path = " Pages . OkBtn.Caption";
    AnsiString component;
    ASSERT_TRUE(SplitComponentPath(path, component));
    EXPECT_STREQ(component.c_str(), "Pages");
    EXPECT_STREQ(path.c_str(), "OkBtn.Caption");
    ASSERT_TRUE(SplitComponentPath(path, component));
    EXPECT_STREQ(component.c_str(), "OkBtn");
    EXPECT_FALSE(SplitComponentPath(path, component));
    EXPECT_STREQ(path.c_str(), "Caption");
}

TEST(LangAssign, ListValueDropsOnlyTrailingEmptyPart)
{
    std::vector<AnsiString> items = SplitListValue("A|B|");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_STREQ(items[1].c_str(), "B");
    items = SplitListValue("|x||y");
    ASSERT_EQ(items.size(), 4u);
    EXPECT_TRUE(items[0].IsEmpty());
    EXPECT_TRUE(items[2].IsEmpty());
    EXPECT_TRUE(SplitListValue("").empty());
}

TEST(LangAssign, BadIntegerIsRefusedNotThrown)
{
    int v = 0;
    EXPECT_TRUE(ParseIntegerValue(" 120 ", v));
    EXPECT_EQ(v, 120);
    EXPECT_FALSE(ParseIntegerValue("wide", v));
    EXPECT_FALSE(ParseIntegerValue("", v));
}

}  // namespace
