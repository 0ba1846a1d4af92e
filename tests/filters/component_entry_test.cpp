#include "component_entry.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(ComponentEntry, TakesTheDescriptorsTextsAndStartsFromTheDefaults)
{
    const std::string descriptor =
        "Ver=2.00\rName=Probe\rCopyright=(c) Test\rContact=Nobody\rHelp=probe.hlp,42\rOpt=WP\r"
        "Par1=I,Amt,0,100,50\rPar2=C,Flag,1\r";
    ComponentEntry e = DescribeComponent(descriptor, "C:\\Comps\\probe.ksc", 2);
    EXPECT_EQ(e.name, "Probe");
    EXPECT_EQ(e.copyright, "(c) Test");
    EXPECT_EQ(e.contact, "Nobody");
    EXPECT_EQ(e.help.file, "probe.hlp");
    EXPECT_EQ(e.help.context, 42);
    EXPECT_EQ(e.icon, "");
    EXPECT_EQ(e.toolIcon, -1);
    EXPECT_TRUE(ComponentHasOption(e, 'W'));
    EXPECT_FALSE(ComponentHasOption(e, 'U'));
    EXPECT_FALSE(ComponentHasOption(e, 'w'));
    ASSERT_EQ(e.params.size(), 2u);
    EXPECT_EQ(e.valueBytes, 8);
    EXPECT_EQ(e.values[0], 50);
    EXPECT_EQ(e.values[4], 1);
    EXPECT_EQ(std::memcmp(e.values, e.defaults, sizeof e.values), 0);
}
