#include "inifiles.h"

#include <gtest/gtest.h>

#include "stringlist.h"
#include "sysutils.h"
#include "winapi.h"

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char dir[MAX_PATH];
        GetTempPathA(sizeof dir, dir);
        path.sprintf("%skestrel-ini-%lu-%lu.ini", dir, GetCurrentProcessId(), GetTickCount());
    }
    void TearDown() override { DeleteFile(path); }

    AnsiString path;
};

}  // namespace

TEST_F(IniFileTest, ValuesRoundTripThroughTheFile)
{
    {
        TIniFile ini(path);
        ini.WriteString("Main", "Name", "Kestrel");
        ini.WriteInteger("Main", "Width", 640);
        ini.WriteBool("Main", "Grid", false);
        ini.WriteString("Tools", "Zeta", "z");
        ini.WriteString("Tools", "Alpha", "a");
        ini.UpdateFile();
    }
    EXPECT_TRUE(FileExists(path));
    TIniFile ini(path);
    EXPECT_EQ(path, ini.GetFileName());
    EXPECT_EQ("Kestrel", ini.ReadString("Main", "name", "x"));  // idents ignore case
    EXPECT_EQ("x", ini.ReadString("Main", "Missing", "x"));
    EXPECT_EQ(640, ini.ReadInteger("Main", "Width", 0));
    EXPECT_EQ(7, ini.ReadInteger("Main", "Name", 7));
    EXPECT_FALSE(ini.ReadBool("Main", "Grid", true));
    EXPECT_TRUE(ini.ReadBool("Main", "Missing", true));

    TStringList list;
    ini.ReadSection("Tools", &list);
    EXPECT_EQ("Zeta,Alpha", list.GetCommaText());  // file order
    ini.ReadSectionValues("Tools", &list);
    EXPECT_EQ("z", list.GetValues("Zeta"));
    EXPECT_EQ(2, list.GetCount());
    ini.ReadSections(&list);
    EXPECT_EQ("Main,Tools", list.GetCommaText());
    EXPECT_TRUE(ini.ValueExists("Tools", "alpha"));
    EXPECT_FALSE(ini.ValueExists("Tools", "Beta"));

    ini.DeleteKey("Tools", "Zeta");
    ini.DeleteKey("Tools", "");  // not the whole section
    EXPECT_TRUE(ini.SectionExists("Tools"));
    EXPECT_FALSE(ini.ValueExists("Tools", "Zeta"));
    ini.EraseSection("Tools");
    EXPECT_FALSE(ini.SectionExists("Tools"));
}

TEST_F(IniFileTest, LongValuesAreNotCut)
{
    AnsiString big;
    for (int i = 0; i < 5000; i++) big += static_cast<char>('a' + i % 26);
    TIniFile ini(path);
    ini.WriteString("S", "Big", big);
    EXPECT_EQ(big, ini.ReadString("S", "Big", ""));
    for (int i = 0; i < 400; i++) ini.WriteInteger("Many", "Ident" + IntToStr(i), i);
    TStringList list;
    ini.ReadSection("Many", &list);
    EXPECT_EQ(400, list.GetCount());
    EXPECT_EQ("Ident399", list.GetStrings(399));
}

TEST_F(IniFileTest, UnwritableFileRaises)
{
    TIniFile ini("Z:\\no\\such\\folder\\kestrel.ini");
    EXPECT_THROW(ini.WriteString("S", "I", "v"), EIniFileException);
    EXPECT_EQ("d", ini.ReadString("S", "I", "d"));
}
