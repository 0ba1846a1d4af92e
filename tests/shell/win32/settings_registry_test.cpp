// Settings in the registry: a first start's defaults as reg.exe shows them,
// changes that persist, values that are missing or of the wrong type, and
// the language written apart from the rest.
#include <gtest/gtest.h>

#include <regex>
#include "registry_fixture.h"
#include "settings_registry.h"

namespace {

const char* const Base = "Software\\Corvane\\KS\\";

class SettingsRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    // Only our two keys: the tool window positions live beside them.
    static void Clear()
    {
        RemoveKey(HKEY_CURRENT_USER, "Software\\Corvane\\KS\\MainForm");
        RemoveKey(HKEY_CURRENT_USER, "Software\\Corvane\\KS\\Preferences");
    }
    static bool Shows(const std::string& output, const std::string& name, const std::string& type,
                      const std::string& value)
    {
        return std::regex_search(output, std::regex("\\b" + name + "\\s+" + type + "\\s+" + value + "\\s"));
    }
};

TEST_F(SettingsRegistryTest, FirstStartStoresTheDefaults)
{
    TAppSettings s;
    LoadAppSettings(s, Base);
    EXPECT_FALSE(s.PlacementKnown);
    EXPECT_EQ(s.UndoDir, SystemTempPath());
    EXPECT_GE(s.UndoMem, 0);
    EXPECT_LE(s.UndoMem, MaxUndoKB);
    EXPECT_LE(s.UndoDisk, MaxUndoKB);
    SaveAppSettings(s, Base);

    std::string prefs = RegQuery("HKCU\\Software\\Corvane\\KS\\Preferences");
    for (const char* on : {"ShowTOD", "UseKSC", "UseAdobe", "FlatIcons", "AlwaysDock", "ResizeNeigh", "BackupFiles"})
        EXPECT_TRUE(Shows(prefs, on, "REG_DWORD", "0x1")) << on << "\n" << prefs;
    EXPECT_TRUE(Shows(prefs, "Palette", "REG_DWORD", "0x8")) << prefs;
    EXPECT_TRUE(Shows(prefs, "MRUFiles", "REG_DWORD", "0x6")) << prefs;
    EXPECT_TRUE(Shows(prefs, "Clipping", "REG_DWORD", "0x0")) << prefs;
    EXPECT_TRUE(Shows(prefs, "UndoDir", "REG_SZ", std::regex_replace(s.UndoDir.c_str(), std::regex("\\\\"), "\\\\")))
        << prefs;
    EXPECT_EQ(prefs.find("Language"), std::string::npos);
    std::string main = RegQuery("HKCU\\Software\\Corvane\\KS\\MainForm");
    EXPECT_TRUE(Shows(main, "Left", "REG_DWORD", "0x0")) << main;
    EXPECT_TRUE(Shows(main, "Maximized", "REG_DWORD", "0x0")) << main;
}

TEST_F(SettingsRegistryTest, ChangedSettingsComeBack)
{
    TAppSettings s;
    LoadAppSettings(s, Base);
    s.Left = -20;
    s.Top = 300;
    s.Maximized = true;
    s.Palette = 64;
    s.Clipping = true;
    s.ShowTOD = false;
    s.UndoDir = "C:\\undo\\";
    s.UndoMem = 1234;
    s.UndoDisk = 0;
    s.AdobeLoc = "C:\\plugins\\";
    s.DefFileExt = 5;
    SaveAppSettings(s, Base);

    TAppSettings back;
    LoadAppSettings(back, Base);
    EXPECT_TRUE(back.PlacementKnown);
    EXPECT_EQ(back.Left, -20);
    EXPECT_EQ(back.Top, 300);
    EXPECT_TRUE(back.Maximized);
    EXPECT_EQ(back.Palette, 64);
    EXPECT_TRUE(back.Clipping);
    EXPECT_FALSE(back.ShowTOD);
    EXPECT_STREQ(back.UndoDir.c_str(), "C:\\undo\\");
    EXPECT_EQ(back.UndoMem, 1234);
    EXPECT_EQ(back.UndoDisk, 0);  // a stored 0 is a choice, not a missing value
    EXPECT_STREQ(back.AdobeLoc.c_str(), "C:\\plugins\\");
    EXPECT_EQ(back.DefFileExt, 5);
}

TEST_F(SettingsRegistryTest, MissingOrForeignValuesKeepDefaults)
{
    TAppSettings s;
    LoadAppSettings(s, Base);
    s.Palette = 32;
    s.Language = "Old";
    SaveAppSettings(s, Base);
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("Software\\Corvane\\KS\\Preferences", false));
        reg.DeleteValue("Palette");
        reg.DeleteValue("UndoDir");
        reg.WriteString("MRUFiles", "seven");  // another type
        reg.WriteInteger("UndoMem", -5);       // a wrapped figure
        reg.WriteInteger("Level", 40);
    }
    RemoveKey(HKEY_CURRENT_USER, "Software\\Corvane\\KS\\MainForm");
    RegSetString(HKEY_CURRENT_USER, "Software\\Corvane\\KS\\MainForm", "Left", "10");

    TAppSettings back;
    back.Language = "Kept";  // strings keep what they held
    LoadAppSettings(back, Base);
    EXPECT_EQ(back.Palette, 8);
    EXPECT_EQ(back.MRUFiles, 6);
    EXPECT_EQ(back.UndoDir, SystemTempPath());
    EXPECT_GE(back.UndoMem, 0);
    EXPECT_EQ(back.Level, 1);
    EXPECT_STREQ(back.Language.c_str(), "Kept");
    EXPECT_FALSE(back.PlacementKnown);
}

TEST_F(SettingsRegistryTest, LanguageIsWrittenOnlyWhenChosen)
{
    TAppSettings s;
    LoadAppSettings(s, Base);
    s.Language = "German";
    SaveLanguageSetting(s, Base);
    s.Language = "French";
    SaveAppSettings(s, Base);  // shut-down must not overwrite the choice
    EXPECT_TRUE(Shows(RegQuery("HKCU\\Software\\Corvane\\KS\\Preferences"), "Language", "REG_SZ", "German"));
    TAppSettings back;
    LoadAppSettings(back, Base);
    EXPECT_STREQ(back.Language.c_str(), "German");
}

TEST_F(SettingsRegistryTest, SystemValuesAreSane)
{
    EXPECT_GT(PhysicalMemoryBytes(), 16ull * 1024 * 1024);
    AnsiString temp = SystemTempPath();
    ASSERT_FALSE(temp.IsEmpty());
    EXPECT_EQ(temp[temp.Length()], '\\');
    EXPECT_GT(FreeDiskBytes(temp), 0);
    EXPECT_EQ(FreeDiskBytes("Q:\\no\\such\\drive\\"), -1);
    EXPECT_EQ(FreeDiskBytes(""), -1);
}

}  // namespace
