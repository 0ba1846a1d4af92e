#include "component_descriptor.h"

#include <gtest/gtest.h>

TEST(ComponentDescriptor, FirstOccurrenceAnywhereWins)
{
    const std::string text = "FileName=a\rName=b\rVer=2\rOpt=WP";
    EXPECT_EQ(DescriptorValue(text, "Name"), "a");
    EXPECT_EQ(DescriptorValue(text, "Opt"), "WP");
    EXPECT_EQ(DescriptorValue(text, "Icon"), "");
}

TEST(ComponentDescriptor, VersionMustBeWhollyANumberOfAtLeastTwo)
{
    const struct {
        const char* value;
        bool accepted;
    } cases[] = {{"2", true},    {"2.00", true}, {"3.5", true}, {"1.5", false}, {"", false},
                 {"abc", false}, {"2abc", false}, {"2,00", false}, {".", false}};
    for (const auto& c : cases) {
        double version = 0;
        EXPECT_EQ(ComponentVersionAccepted(c.value, version), c.accepted) << c.value;
    }
    double version = 0;
    ASSERT_TRUE(ComponentVersionAccepted("2.50", version));
    EXPECT_DOUBLE_EQ(version, 2.5);
}

TEST(ComponentDescriptor, HelpWithoutCommaIsLocalisedWithContext100)
{
    ComponentHelp own = ParseComponentHelp("probe.hlp,42");
    EXPECT_EQ(own.file, "probe.hlp");
    EXPECT_EQ(own.context, 42);
    EXPECT_FALSE(own.localised);
    ComponentHelp shared = ParseComponentHelp("filters.hlp");
    EXPECT_EQ(shared.file, "filters.hlp");
    EXPECT_EQ(shared.context, 100);
    EXPECT_TRUE(shared.localised);
}
