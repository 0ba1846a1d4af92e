// The window-free parts of opening and saving: filters, the save format by
// extension, backup and target names, recent-file entries, the preview
// place and the save dialog's depth choice.
#include <gtest/gtest.h>

#include <string>

#include "picturefiles.h"

namespace {

GFXFile* Named(const char* name)
{
    for (GFXFile* f = GFXFile::Formats(); f; f = f->next)
        if (f->name == name) return f;
    return nullptr;
}

int FormatCount(bool writableOnly)
{
    int n = 0;
    for (GFXFile* f = GFXFile::Formats(); f; f = f->next) n += !writableOnly || IsWritable(f);
    return n;
}

int Bars(const AnsiString& s)
{
    int n = 0;
    for (int i = 1; i <= s.Length(); ++i) n += s[i] == '|';
    return n;
}

TEST(PictureFilters, OpenFilterListsEveryFormatThenAll)
{
    int count = BuildFileFilter(false);
    EXPECT_EQ(count, FormatCount(false) + 1);
    EXPECT_EQ(Bars(FileFilter), 2 * count);
    std::string f = FileFilter.c_str();
    EXPECT_EQ(f.find("Corvane Frame (*.frm)|*.frm|"), 0u);
    EXPECT_NE(f.find("|JPEG (*.jpg,*.jpeg,*.jfif)|*.jpg;*.jpeg;*.jfif|"), std::string::npos);
    size_t all = f.find("All (*.frm,");
    ASSERT_NE(all, std::string::npos);
    EXPECT_NE(f.find(",*.jpg,*.jpeg,*.jfif,", all), std::string::npos);
    EXPECT_NE(f.find("|*.frm;", all), std::string::npos);
    EXPECT_EQ(f.back(), '|');
}

TEST(PictureFilters, SaveFilterHasOnlyWritableFormatsAndNoAll)
{
    int count = BuildFileFilter(true);
    EXPECT_EQ(count, FormatCount(true) + 1);
    EXPECT_EQ(Bars(FileFilter), 2 * (count - 1));
    std::string f = FileFilter.c_str();
    EXPECT_EQ(f.find("Icon"), std::string::npos);
    EXPECT_EQ(f.find("AVI"), std::string::npos);
    EXPECT_EQ(f.find("All"), std::string::npos);
    EXPECT_NE(f.find("CompuServe GIF (*.gif)|*.gif|"), std::string::npos);
}

TEST(SaveFormat, FoundByWholeExtensionAmongWritableFormats)
{
    int index = -1;
    GFXFile* jpeg = Named("JPEG");
    ASSERT_NE(jpeg, nullptr);
    EXPECT_EQ(FindSaveFormat("X.JPEG", index), jpeg);
    EXPECT_EQ(index, WritableIndex(jpeg));
    EXPECT_EQ(WritableFormat(index), jpeg);
    EXPECT_EQ(FindSaveFormat("c:\\pics\\a.jfif ", index), jpeg);
    EXPECT_EQ(FindSaveFormat("x.jp", index), nullptr);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(FindSaveFormat("x.ico", index), nullptr);  // read-only
    EXPECT_EQ(FindSaveFormat("dir.gif\\picture", index), nullptr);
    EXPECT_EQ(FindSaveFormat("", index), nullptr);
    EXPECT_EQ(FindSaveFormat("a.ilbm", index), Named("Amiga IFF"));
}

TEST(SaveFormat, IndexesCountWritableFormatsOnly)
{
    EXPECT_EQ(WritableIndex(Named("Corvane Frame")), 1);
    EXPECT_EQ(WritableFormat(0), nullptr);
    EXPECT_EQ(WritableFormat(FormatCount(true) + 1), nullptr);
    EXPECT_EQ(FormatAt(0), GFXFile::Formats());
    EXPECT_EQ(FormatAt(FormatCount(false)), nullptr);
    EXPECT_EQ(FormatAt(-1), nullptr);
    for (int i = 1; i <= FormatCount(true); ++i) EXPECT_EQ(WritableIndex(WritableFormat(i)), i);
}

TEST(SaveFormat, DefaultTypeFallsBackToTheFirstWritable)
{
    EXPECT_EQ(DefaultSaveIndex(4), WritableIndex(FormatAt(4)));
    EXPECT_EQ(DefaultSaveIndex(FormatCount(false)), 1);  // beyond the list
    EXPECT_EQ(DefaultSaveIndex(-3), 1);
    EXPECT_EQ(DefaultExtension(Named("JPEG")), "jpg");
    EXPECT_EQ(DefaultExtension(nullptr), "");
}

TEST(SaveNames, BackupTakesTwoLettersOfTheExtension)
{
    EXPECT_EQ(BackupName("picture.bmp"), "picture._bm");
    EXPECT_EQ(BackupName("c:\\a\\a.png"), "c:\\a\\a._pn");
    EXPECT_EQ(BackupName("a.x"), "a._x");
    EXPECT_EQ(BackupName("c:\\dir.v2\\noext"), "c:\\dir.v2\\noext._");
}

TEST(SaveNames, TargetGetsTheExtensionPixmillWouldAppend)
{
    GFXFile* tga = Named("TrueVision Targa");
    GFXFile* format = tga;
    EXPECT_EQ(SaveTargetName("out", format), "out.TGA");
    EXPECT_EQ(format, tga);
    format = nullptr;
    EXPECT_EQ(SaveTargetName("out.xyz", format), "out.xyz.FRM");
    EXPECT_EQ(format, GFXFile::Formats());
    format = nullptr;
    EXPECT_EQ(SaveTargetName("a.Gif", format), "a.Gif");
    EXPECT_EQ(format, Named("CompuServe GIF"));
}

TEST(RecentFiles, EntryNamesTheImageAndSplitsBack)
{
    EXPECT_EQ(RecentFileEntry("C:\\Tmp\\Anim.GIF", 2), "c:\\tmp\\anim.gif: 2");
    EXPECT_EQ(RecentFileEntry("C:\\A.BMP", 0), "c:\\a.bmp");
    AnsiString name;
    int image = -1;
    SplitRecentFileEntry("c:\\tmp\\anim.gif: 2", name, image);
    EXPECT_EQ(name, "c:\\tmp\\anim.gif");
    EXPECT_EQ(image, 2);
    SplitRecentFileEntry("c:\\a.bmp", name, image);
    EXPECT_EQ(name, "c:\\a.bmp");
    EXPECT_EQ(image, 0);
    // ": " inside a name is not an image number.
    SplitRecentFileEntry("c:\\notes: old\\a.bmp", name, image);
    EXPECT_EQ(name, "c:\\notes: old\\a.bmp");
    EXPECT_EQ(image, 0);
    SplitRecentFileEntry("c:\\a.gif: ", name, image);
    EXPECT_EQ(image, 0);
}

TEST(Preview, ScaledIntoTheAreaAndCentred)
{
    PreviewPlace p = PreviewPlacement(10, 5);
    EXPECT_EQ(p.width, 240);
    EXPECT_EQ(p.height, 120);
    EXPECT_EQ(p.left, 4);
    EXPECT_EQ(p.top, 54);
    p = PreviewPlacement(1000, 10);
    EXPECT_EQ(p.width, 240);  // 0.24 * 1000 in doubles would give 239
    EXPECT_EQ(p.height, 2);
    p = PreviewPlacement(1, 5000);
    EXPECT_EQ(p.width, 1);
    EXPECT_EQ(p.height, 180);
    EXPECT_EQ(p.left, 4 + 119);
    p = PreviewPlacement(0, 0);  // never a zero-sized view
    EXPECT_GE(p.width, 1);
}

TEST(SaveDepths, FormatsEnableTheirButtons)
{
    bool e[DepthCount];
    EnabledDepths(Named("JPEG"), e);
    EXPECT_TRUE(e[DepthTC24]);
    EXPECT_TRUE(e[DepthGS]);
    EXPECT_FALSE(e[DepthB8]);
    EXPECT_FALSE(e[DepthAD]);
    EnabledDepths(Named("CompuServe GIF"), e);
    EXPECT_FALSE(e[DepthTC24]);
    EXPECT_TRUE(e[DepthB8]);
    EXPECT_TRUE(e[DepthB4]);
    EXPECT_TRUE(e[DepthMC]);
    EXPECT_TRUE(e[DepthAD]);
    EXPECT_FALSE(e[DepthGS]);
}

TEST(SaveDepths, NearestGoesUpThenDown)
{
    bool e[DepthCount];
    EnabledDepths(Named("JPEG"), e);
    EXPECT_EQ(NearestDepth(e, 8, false), DepthTC24);
    EXPECT_EQ(NearestDepth(e, 8, true), DepthGS);
    EnabledDepths(Named("CompuServe GIF"), e);
    EXPECT_EQ(NearestDepth(e, 24, false), DepthB8);  // down from 24
    EXPECT_EQ(NearestDepth(e, 1, false), DepthMC);
    EXPECT_EQ(NearestDepth(e, 3, false), DepthB4);
    EXPECT_EQ(NearestDepth(e, -1, false), DepthAD);
    EXPECT_EQ(NearestDepth(e, 8, true), DepthB8);  // no grey: 8 bits
    EnabledDepths(Named("Corvane Frame"), e);
    EXPECT_EQ(NearestDepth(e, 1, false), DepthTC24);
    bool none[DepthCount] = {};
    EXPECT_EQ(NearestDepth(none, 24, false), DepthCount);
    EXPECT_EQ(DepthBits(DepthAD), -1);
    EXPECT_EQ(DepthBits(DepthGS), 8);
    EXPECT_TRUE(DepthGrey(DepthGS));
}

TEST(SaveDepths, TypedNameFindsItsType)
{
    EXPECT_EQ(TypedNameFormat("x.gif"), WritableIndex(Named("CompuServe GIF")));
    EXPECT_EQ(TypedNameFormat("x"), 0);
    EXPECT_EQ(TypedNameFormat("x.foo"), -1);
    EXPECT_EQ(TypedNameFormat("x.ico"), -1);
}

}  // namespace
