#include <gtest/gtest.h>

#include "charset_table.h"

TEST(CharsetTable, LayoutLanguageNamesItsCharacterSet)
{
    struct Case {
        unsigned long layout;
        int charset;
    } cases[] = {
        {1049, 204},        {1026, 204},       {3098, 204},  {1045, 238}, {1029, 238}, {1060, 238},
        {1032, 161},        {1055, 162},       {1062, 186},  {1061, 186}, {1033, 0},   {1031, 0},
        {0x04190419, 204},  // a layout handle: only the language word counts
        {0x04090419, 204},  {0x04190409, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(CharsetForLayout(c.layout), c.charset) << c.layout;
}
