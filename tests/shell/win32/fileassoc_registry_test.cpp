// File-type associations in HKEY_CLASSES_ROOT: taking an extension keeps
// the other program's type so that giving it back restores it, and nothing
// is lost when there is no ProgID key to keep it in.
#include <gtest/gtest.h>

#include "fileassoc.h"
#include "registry_fixture.h"

namespace {

// Made-up extensions: the test prefix's real types stay untouched.
const char* const Png = ".kspng";
const char* const Fresh = ".ksnew";

class FileAssocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clear();
        RegSetString(HKEY_CLASSES_ROOT, Png, "", "kspngfile");
        TRegistry reg;
        reg.SetRootKey(HKEY_CLASSES_ROOT);
        reg.CreateKey(KestrelProgId);
    }
    void TearDown() override { Clear(); }
    static void Clear()
    {
        RemoveKey(HKEY_CLASSES_ROOT, Png);
        RemoveKey(HKEY_CLASSES_ROOT, Fresh);
        TRegistry reg;
        reg.SetRootKey(HKEY_CLASSES_ROOT);
        if (reg.OpenKey(KestrelProgId, false)) {
            reg.DeleteValue(Png);
            reg.DeleteValue(Fresh);
        }
    }
};

TEST_F(FileAssocTest, AssociatingKeepsThePreviousTypeAndUnassociatingRestoresIt)
{
    EXPECT_FALSE(IsAssociated(Png));
    EXPECT_TRUE(Associate(".KSPNG"));
    EXPECT_EQ(RegDefault(HKEY_CLASSES_ROOT, Png), "Kestrel");
    EXPECT_EQ(RegDefault(HKEY_CLASSES_ROOT, "Kestrel", Png), "kspngfile");
    EXPECT_TRUE(IsAssociated(Png));
    EXPECT_TRUE(IsAssociated(".KsPng"));
    // Associating again must not take our own name for the previous type.
    EXPECT_TRUE(Associate(Png));
    EXPECT_EQ(RegDefault(HKEY_CLASSES_ROOT, "Kestrel", Png), "kspngfile");
    EXPECT_TRUE(Unassociate(Png));
    EXPECT_EQ(RegDefault(HKEY_CLASSES_ROOT, Png), "kspngfile");
    EXPECT_FALSE(IsAssociated(Png));
}

TEST_F(FileAssocTest, NewExtensionIsCreatedAndGivenBackEmpty)
{
    EXPECT_TRUE(Associate(Fresh));
    EXPECT_TRUE(IsAssociated(Fresh));
    EXPECT_TRUE(Unassociate(Fresh));
    EXPECT_EQ(RegDefault(HKEY_CLASSES_ROOT, Fresh), "");
}

TEST_F(FileAssocTest, AnotherProgramsTypeIsNotUnassociated)
{
    ASSERT_TRUE(Associate(Png));
    RegSetString(HKEY_CLASSES_ROOT, Png, "", "otherfile");  // another program took it since
    EXPECT_FALSE(Unassociate(Png));
    EXPECT_EQ(RegDefault(HKEY_CLASSES_ROOT, Png), "otherfile");
}

TEST_F(FileAssocTest, WithoutProgIdKeyTheExtensionStaysAsItIs)
{
    // A ProgID nobody registered, rather than deleting the one other tests use.
    const char* saved = KestrelProgId;
    KestrelProgId = "KestrelTestMissing";
    RemoveKey(HKEY_CLASSES_ROOT, KestrelProgId);
    EXPECT_FALSE(Associate(Png));
    EXPECT_EQ(RegDefault(HKEY_CLASSES_ROOT, Png), "kspngfile");
    EXPECT_FALSE(IsAssociated(Png));
    EXPECT_FALSE(Unassociate(Png));
    EXPECT_EQ(RegDefault(HKEY_CLASSES_ROOT, Png), "kspngfile");
    KestrelProgId = saved;
}

}  // namespace
