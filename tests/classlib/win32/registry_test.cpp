// Registry and registry-INI round trips under a throw-away key below
// HKCU\Software\KestrelTests, deleted after each test.
#include "registry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "exceptions.h"
#include "stringlist.h"

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base.sprintf("Software\\KestrelTests\\%lu-%lu", GetCurrentProcessId(), GetTickCount());
    }
    void TearDown() override
    {
        TRegistry reg;
        reg.DeleteKey("\\" + base);
        EXPECT_FALSE(reg.KeyExists("\\" + base));
    }

    AnsiString base;
};

AnsiString SortedText(TStrings* strings)
{
    TStringList sorted;
    sorted.Assign(strings);
    sorted.SetSorted(true);
    return sorted.GetCommaText();
}

}  // namespace

TEST_F(RegistryTest, TypedValuesRoundTrip)
{
    {
        TRegistry reg;
        EXPECT_EQ(HKEY_CURRENT_USER, reg.GetRootKey());
        ASSERT_TRUE(reg.OpenKey("\\" + base, true));
        EXPECT_EQ(base, reg.GetCurrentPath());
        reg.WriteInteger("Int", -7);
        reg.WriteBool("Bool", true);
        reg.WriteString("Str", "hello world");
        reg.WriteString("Empty", "");
        reg.WriteFloat("Float", 0.1);
        unsigned char bytes[5] = {1, 0, 255, 3, 4};
        reg.WriteBinaryData("Bin", bytes, sizeof bytes);
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\" + base));
    EXPECT_EQ(-7, reg.ReadInteger("Int"));
    EXPECT_TRUE(reg.ReadBool("Bool"));
    EXPECT_EQ("hello world", reg.ReadString("Str"));
    EXPECT_EQ("", reg.ReadString("Empty"));
    EXPECT_EQ(0.1, reg.ReadFloat("Float"));
    unsigned char back[8] = {};
    EXPECT_EQ(5, reg.ReadBinaryData("Bin", back, sizeof back));
    EXPECT_EQ(255, back[2]);
    EXPECT_EQ(rdInteger, reg.GetDataType("Int"));
    EXPECT_EQ(rdString, reg.GetDataType("Str"));
    EXPECT_EQ(rdBinary, reg.GetDataType("Bin"));
    EXPECT_EQ(12, reg.GetDataSize("Str"));
    EXPECT_TRUE(reg.ValueExists("Int"));
    EXPECT_FALSE(reg.ValueExists("Nope"));
    TStringList names;
    reg.GetValueNames(&names);
    EXPECT_EQ("Bin,Bool,Empty,Float,Int,Str", SortedText(&names));
}

TEST_F(RegistryTest, MissingAndMistypedValuesRaise)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\" + base, true));
    reg.WriteString("Str", "12");
    reg.WriteInteger("Int", 12);
    try {
        reg.ReadInteger("Str");
        FAIL();
    } catch (const ERegistryException& e) {
        EXPECT_STREQ("Invalid data type for 'Str'", e.what());
    }
    EXPECT_THROW(reg.ReadString("Int"), ERegistryException);
    EXPECT_THROW(reg.ReadFloat("Int"), ERegistryException);
    EXPECT_THROW(reg.ReadBool("Missing"), ERegistryException);
    EXPECT_THROW(reg.ReadString("Missing"), ERegistryException);
    unsigned char small[2];
    reg.WriteBinaryData("Bin", "abcd", 4);
    EXPECT_THROW(reg.ReadBinaryData("Bin", small, sizeof small), ERegistryException);
    EXPECT_THROW(reg.WriteBinaryData("Bad", nullptr, 4), ERegistryException);

    TRegistry closed;
    try {
        closed.WriteInteger("X", 1);
        FAIL();
    } catch (const ERegistryException& e) {
        EXPECT_STREQ("Failed to set data for 'X'", e.what());
    }
    TRegistry readOnly;
    ASSERT_TRUE(readOnly.OpenKeyReadOnly("\\" + base));
    EXPECT_THROW(readOnly.WriteString("Str", "x"), ERegistryException);
    EXPECT_EQ("12", readOnly.ReadString("Str"));
}

TEST_F(RegistryTest, LeadingBackslashIsAbsoluteOtherwiseRelative)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\" + base, true));
    ASSERT_TRUE(reg.OpenKey("child", true));
    EXPECT_EQ(base + "\\child", reg.GetCurrentPath());
    ASSERT_TRUE(reg.OpenKey("grand\\great", true));
    EXPECT_EQ(base + "\\child\\grand\\great", reg.GetCurrentPath());
    ASSERT_TRUE(reg.OpenKey("\\" + base + "\\other", true));
    EXPECT_EQ(base + "\\other", reg.GetCurrentPath());
    EXPECT_FALSE(reg.OpenKey("absent", false));
    EXPECT_EQ(base + "\\other", reg.GetCurrentPath());  // the old key stays open
    EXPECT_TRUE(reg.KeyExists("\\" + base + "\\child\\grand"));
    EXPECT_FALSE(reg.KeyExists("child"));  // relative to ...\other

    ASSERT_TRUE(reg.OpenKey("\\" + base, false));
    TStringList keys;
    reg.GetKeyNames(&keys);
    EXPECT_EQ("child,other", SortedText(&keys));
    EXPECT_TRUE(reg.HasSubKeys());
    // Deleting removes the whole tree below.
    EXPECT_TRUE(reg.DeleteKey("child"));
    EXPECT_FALSE(reg.KeyExists("child"));
    EXPECT_FALSE(reg.DeleteKey("child"));
    EXPECT_FALSE(reg.DeleteKey(""));
    EXPECT_TRUE(reg.KeyExists("other"));
    reg.WriteInteger("v", 1);
    EXPECT_TRUE(reg.DeleteValue("v"));
    EXPECT_FALSE(reg.DeleteValue("v"));
    reg.CloseKey();
    EXPECT_EQ("", reg.GetCurrentPath());
    EXPECT_EQ(nullptr, reg.GetCurrentKey());
}

TEST_F(RegistryTest, RegIniFileSectionsAreSubkeys)
{
    {
        TRegIniFile ini(base);
        ini.WriteString("Window", "Caption", "Kestrel");
        ini.WriteInteger("Window", "Left", -20);
        ini.WriteBool("Window", "Maximized", true);
        ini.WriteString("Paths", "Last", "C:\\x.bmp");
    }
    TRegIniFile ini(base);
    EXPECT_EQ("Kestrel", ini.ReadString("Window", "Caption", "def"));
    EXPECT_EQ("def", ini.ReadString("Window", "Missing", "def"));
    EXPECT_EQ("def", ini.ReadString("NoSection", "Caption", "def"));
    EXPECT_EQ(-20, ini.ReadInteger("Window", "Left", 0));
    EXPECT_EQ(5, ini.ReadInteger("Window", "Caption", 5));  // text, not a number
    EXPECT_TRUE(ini.ReadBool("Window", "Maximized", false));
    EXPECT_FALSE(ini.ReadBool("Window", "Missing", false));
    {
        TRegistry reg;  // a REG_DWORD written by someone else reads too
        ASSERT_TRUE(reg.OpenKey("\\" + base + "\\Window", false));
        reg.WriteInteger("Dword", 42);
    }
    EXPECT_EQ(42, ini.ReadInteger("Window", "Dword", 0));

    TStringList list;
    ini.ReadSections(&list);
    EXPECT_EQ("Paths,Window", SortedText(&list));
    ini.ReadSectionValues("Paths", &list);
    EXPECT_EQ("Last=C:\\x.bmp\r\n", list.GetText());
    EXPECT_TRUE(ini.SectionExists("Paths"));
    EXPECT_TRUE(ini.ValueExists("Window", "Left"));
    ini.DeleteKey("Window", "Left");
    EXPECT_FALSE(ini.ValueExists("Window", "Left"));
    ini.EraseSection("Paths");
    EXPECT_FALSE(ini.SectionExists("Paths"));
    ini.ReadSection("Paths", &list);
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(base, ini.GetCurrentPath());
}
