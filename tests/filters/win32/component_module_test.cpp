#include <gtest/gtest.h>

#include "component_descriptor.h"
#include "component_module.h"

namespace {

const std::string Folder = KESTREL_BINARY_DIR "/tests/components/";

}  // namespace

TEST(ComponentModule, OnlyComponentsOfVersionTwoLoad)
{
    const struct {
        const char* file;
        bool loads;
    } cases[] = {{"getdesc.ksc", true}, {"oldver.ksc", false},  {"badver.ksc", false},
                 {"nover.ksc", false},  {"noproc.ksc", false},  {"notadll.ksc", false},
                 {"missing.ksc", false}, {"desc.ksc", true}};
    for (const auto& c : cases) {
        ComponentModule m;
        EXPECT_EQ(LoadComponentModule(Folder + c.file, m), c.loads) << c.file;
        EXPECT_EQ(m.module != nullptr, c.loads) << c.file;
        FreeComponentModule(m);
    }
}

TEST(ComponentModule, DescriptorFunctionServesWithoutTheDataExport)
{
    ComponentModule m;
    ASSERT_TRUE(LoadComponentModule(Folder + "getdesc.ksc", m));
    EXPECT_EQ(DescriptorValue(m.descriptor, "Name"), "Wrong");
    EXPECT_DOUBLE_EQ(m.version, 2);
    EXPECT_NE(m.process, nullptr);
    FreeComponentModule(m);
    EXPECT_EQ(m.module, nullptr);
    ASSERT_TRUE(LoadComponentModule(Folder + "desc.ksc", m));
    EXPECT_EQ(DescriptorValue(m.descriptor, "Name"), "Desc");
    FreeComponentModule(m);
}
