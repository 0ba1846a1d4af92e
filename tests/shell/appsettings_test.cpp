// Settings defaults and their arithmetic, and the extension lists of the
// file-type associations.
#include <gtest/gtest.h>

#include "appsettings.h"
#include "messages.h"
#include "fileassoc.h"
#include "undo_settings.h"
#include "userlevel.h"

namespace {

const long long KB = 1024, MB = 1024 * KB, GB = 1024 * MB, TB = 1024 * GB;

TEST(AppSettings, FirstStartDefaults)
{
    TAppSettings s;
    EXPECT_EQ(s.Palette, 8);
    EXPECT_EQ(s.MRUFiles, 6);
    EXPECT_TRUE(s.ShowTOD && s.UseKSC && s.UseAdobe && s.FlatIcons && s.AlwaysDock && s.ResizeNeigh && s.BackupFiles);
    EXPECT_FALSE(s.Clipping || s.InstBrush || s.AntiAlias || s.StartMax || s.CacheThumbs);
    EXPECT_TRUE(s.Language.IsEmpty());
    EXPECT_FALSE(s.PlacementKnown);
}

TEST(AppSettings, UndoDefaultsAreAThirdUpToTheDialogsMaximum)
{
    EXPECT_EQ(DefaultUndoMemKB(768 * MB), 256 * KB);
    EXPECT_EQ(DefaultUndoMemKB(24 * GB), MaxUndoKB);  // beyond a 32-bit address space
    EXPECT_EQ(DefaultUndoDiskKB(900 * MB), 300 * KB);
    EXPECT_EQ(DefaultUndoDiskKB(-1), 0);
    EXPECT_EQ(DefaultUndoDiskKB(0), 0);
}

TEST(AppSettings, HugeDisksNeitherWrapNorOverflow)
{
    // 5 TB: the free kilobytes pass 32 bits, a third of them the registry's integer.
    EXPECT_EQ(DefaultUndoDiskKB(5 * TB), MaxUndoKB);
    EXPECT_STREQ(FreeSpaceText(5 * TB).c_str(), "5242880 MB");
    EXPECT_STREQ(FreeSpaceText(4 * GB + 512 * MB).c_str(), "4608 MB");
    EXPECT_STREQ(FreeSpaceText(-1).c_str(), BuiltInText("N/A"));
}

TEST(AppSettings, ForeignValuesAreBroughtIntoRange)
{
    TAppSettings s;
    s.Palette = 1000;
    s.MRUFiles = -3;
    s.Level = 7;
    s.TODIndex = -1;
    ClampAppSettings(s);
    EXPECT_EQ(s.Palette, 256);
    EXPECT_EQ(s.MRUFiles, 0);
    EXPECT_EQ(s.Level, 1);
    EXPECT_EQ(s.TODIndex, 0);
    s.Palette = 13;
    ClampAppSettings(s);
    EXPECT_EQ(s.Palette, 12);
}

TEST(AppSettings, CoreTakesUndoLimitsFolderAndLevel)
{
    TAppSettings s;
    s.UndoMem = 1000;
    s.UndoDisk = 2000;
    s.UndoDir = "D:\\undo\\";
    s.InstBrush = true;
    s.Level = LevelExpert;
    ApplySettingsToCore(s);
    EXPECT_EQ(UndoSettings.memKB, 1000);
    EXPECT_EQ(UndoSettings.diskKB, 2000);
    EXPECT_STREQ(UndoSettings.dir.c_str(), "D:\\undo\\");
    EXPECT_TRUE(InstBrush);
    EXPECT_EQ(Level, LevelExpert);
    ApplySettingsToCore(TAppSettings());
}

TEST(FileAssoc, ExtensionListsSplitAtSemicolons)
{
    AnsiString list = "*.bmp;*.rle";
    EXPECT_STREQ(SplitExtensionList(list).c_str(), ".bmp");
    EXPECT_STREQ(list.c_str(), "*.rle");
    EXPECT_STREQ(SplitExtensionList(list).c_str(), ".rle");
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_TRUE(SplitExtensionList(list).IsEmpty());
    AnsiString single = "*.png";
    EXPECT_STREQ(SplitExtensionList(single).c_str(), ".png");
}

}  // namespace
