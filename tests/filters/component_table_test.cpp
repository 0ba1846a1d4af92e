#include <gtest/gtest.h>

#include "component_table.h"

TEST(ComponentTable, FolderNamesAndMenuColumns)
{
    const struct {
        const char* path;
        const char* name;
    } folders[] = {{"C:\\Kestrel\\Comps\\Blur", "BLUR"}, {"Z:\\x\\Comps\\B\\c\\", "C"}, {"many", "MANY"}};
    for (const auto& f : folders) EXPECT_EQ(f.name, EffectFolderName(f.path)) << f.path;
    for (int place = 0; place < 130; ++place)
        EXPECT_EQ(place == 20 || place == 40 || place == 60 || place == 80 || place == 100 || place == 120,
                  StartsMenuColumn(place))
            << place;
}

TEST(ComponentTable, HoldsAtMost128)
{
    ClearComponents();
    ComponentEntry e;
    for (int i = 0; i < MAX_COMPONENTS; ++i) {
        e.name = "c" + std::to_string(i);
        ASSERT_EQ(i, AddComponent(e));
    }
    EXPECT_EQ(-1, AddComponent(e));
    EXPECT_EQ(MAX_COMPONENTS, ComponentCount);
    EXPECT_EQ("c127", ComponentAt(127)->name);
    EXPECT_EQ(nullptr, ComponentAt(128));
    EXPECT_EQ(nullptr, ComponentAt(-1));
    ClearComponents();
    EXPECT_EQ(nullptr, ComponentAt(0));
}

// The value block holds x in the low word; a component's request holds it
// in the high word. Both are what components were built against.
TEST(ComponentTable, PointWordsKeepTheirOrder)
{
    int x = 0, y = 0;
    SplitPointSlot(JoinPointSlot(32767, 5), x, y);
    EXPECT_EQ(32767, x);
    EXPECT_EQ(5, y);
    EXPECT_EQ(0x00057FFFu, JoinPointSlot(32767, 5));
    SplitPointMessage(long(32767u << 16 | 5u), x, y);
    EXPECT_EQ(32767, x);
    EXPECT_EQ(5, y);
}
