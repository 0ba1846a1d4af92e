// The recent-files list as strings: insertion, captions, stored order.
#include <gtest/gtest.h>

#include "exceptions.h"
#include "mruflist_model.h"
#include "stringlist.h"

TEST(MRUList, ReinsertedNameMovesToTheTopIgnoringCase)
{
    TStringList list;
    MRUInsert(&list, 0, "C:\\A.bmp", 5);
    MRUInsert(&list, 0, "C:\\B.bmp", 5);
    MRUInsert(&list, 0, "c:\\a.BMP", 5);
    ASSERT_EQ(2, list.GetCount());
    EXPECT_STREQ("C:\\A.bmp", list.GetStrings(0).c_str());
    EXPECT_STREQ("C:\\B.bmp", list.GetStrings(1).c_str());
}

TEST(MRUList, MaximumDropsTheOldestAndZeroKeepsNothing)
{
    TStringList list;
    for (const char* name : {"a", "b", "c", "d"}) MRUInsert(&list, 0, name, 3);
    ASSERT_EQ(3, list.GetCount());
    EXPECT_STREQ("d", list.GetStrings(0).c_str());
    EXPECT_STREQ("b", list.GetStrings(2).c_str());
    MRUTrim(&list, 1);
    EXPECT_EQ(1, list.GetCount());
    MRUInsert(&list, 0, "e", 0);
    EXPECT_EQ(0, list.GetCount());
    EXPECT_THROW(MRUInsert(&list, 2, "f", 5), EListError);
}

TEST(MRUList, CaptionsNumberEntriesAndKeepAmpersands)
{
    EXPECT_STREQ("&1 C:\\x.bmp", MRUCaption(1, "C:\\x.bmp").c_str());
    EXPECT_STREQ("&12 Tom && Jerry.bmp", MRUCaption(12, "Tom & Jerry.bmp").c_str());
    EXPECT_STREQ("F0", MRUValueName(0).c_str());
    EXPECT_STREQ("F11", MRUValueName(11).c_str());
}

TEST(MRUList, StoredLinesComeBackInNumberOrder)
{
    // The registry sorts value names as text.
    TStringList lines;
    for (const char* line : {"F0=zero", "F1=one", "F10=ten", "F11=eleven", "F2=two", "F3=three", "F4=four",
                             "F5=five", "F6=six", "F7=seven", "F8=eight", "F9=nine"})
        lines.Add(line);
    MRUStoredToList(&lines);
    const char* expected[] = {"zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine",
                              "ten", "eleven"};
    ASSERT_EQ(12, lines.GetCount());
    for (int i = 0; i < 12; ++i) EXPECT_STREQ(expected[i], lines.GetStrings(i).c_str()) << i;
}

TEST(MRUList, ValuesKeepEqualsSignsAndStrangeNamesGoLast)
{
    TStringList lines;
    lines.Add("Other=x");
    lines.Add("F1=C:\\a=b\\c.bmp");
    lines.Add("F0=first");
    lines.Add("no equals");
    MRUStoredToList(&lines);
    ASSERT_EQ(4, lines.GetCount());
    EXPECT_STREQ("first", lines.GetStrings(0).c_str());
    EXPECT_STREQ("C:\\a=b\\c.bmp", lines.GetStrings(1).c_str());
    EXPECT_STREQ("x", lines.GetStrings(2).c_str());
    EXPECT_STREQ("no equals", lines.GetStrings(3).c_str());
}
