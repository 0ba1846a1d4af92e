// Path shortening with a fixed-pitch measure: every character is 6 pixels.
#include <gtest/gtest.h>

#include "exceptions.h"
#include "file_name_label_model.h"

namespace {

int Pitch6(const AnsiString& s) { return 6 * s.Length(); }

AnsiString Fit(const char* path, TDirection dir, int width)
{
    return ShortenFileName(path, "\\", dir, width, Pitch6);
}

const char* const kPath = "C:\\Pics\\Holiday\\1998\\beach.bmp";  // 30 characters

}  // namespace

TEST(FileLabelShorten, WholePathWhenItFitsOrIsEmpty)
{
    EXPECT_STREQ(kPath, Fit(kPath, drFromLeft, 180).c_str());
    EXPECT_STREQ(kPath, Fit(kPath, drFromRight, 500).c_str());
    EXPECT_STREQ("", Fit("", drFromLeft, 0).c_str());
}

TEST(FileLabelShorten, FromLeftKeepsTheFoldersNearTheFile)
{
    // "C:\...\1998\beach.bmp" is 21 characters; "Holiday\" would make 29.
    EXPECT_STREQ("C:\\...\\1998\\beach.bmp", Fit(kPath, drFromLeft, 21 * 6).c_str());
    EXPECT_STREQ("C:\\...\\1998\\beach.bmp", Fit(kPath, drFromLeft, 28 * 6).c_str());
    EXPECT_STREQ("C:\\...\\Holiday\\1998\\beach.bmp", Fit(kPath, drFromLeft, 29 * 6).c_str());
}

TEST(FileLabelShorten, FromRightKeepsTheFoldersNearTheDrive)
{
    EXPECT_STREQ("C:\\Pics\\...\\beach.bmp", Fit(kPath, drFromRight, 21 * 6).c_str());
    EXPECT_STREQ("C:\\Pics\\Holiday\\...\\beach.bmp", Fit(kPath, drFromRight, 29 * 6).c_str());
    // The scan stops at the first folder that does not fit.
    EXPECT_STREQ("C:\\...\\beach.bmp", Fit("C:\\AVeryLongFolderName\\x\\beach.bmp", drFromRight, 20 * 6).c_str());
}

TEST(FileLabelShorten, DropsTheDriveThenTheEllipsisWhenNarrow)
{
    // L + E = 13 characters, + "C:\" = 16.
    EXPECT_STREQ("...\\beach.bmp", Fit(kPath, drFromLeft, 14 * 6).c_str());
    EXPECT_STREQ("...\\beach.bmp", Fit(kPath, drFromRight, 15 * 6).c_str());
    EXPECT_STREQ("beach.bmp", Fit(kPath, drFromLeft, 12 * 6).c_str());
    EXPECT_STREQ("beach.bmp", Fit(kPath, drFromRight, 3).c_str());
}

TEST(FileLabelShorten, OddPathsNeverRepeatTheDriveOrCrash)
{
    // No separator at all: the name alone, however narrow.
    EXPECT_STREQ("picture.bmp", Fit("picture.bmp", drFromLeft, 10).c_str());
    // A bare drive is a name, not a prefix to add twice.
    EXPECT_STREQ("C:", Fit("C:", drFromLeft, 1).c_str());
    // A UNC path has empty first parts and no drive.
    AnsiString unc = Fit("\\\\server\\share\\dir\\a.bmp", drFromRight, 16 * 6);
    EXPECT_LE(unc.Length() * 6, 16 * 6);
    EXPECT_STREQ("a.bmp", unc.c_str() + unc.Length() - 5);
    // A two-character separator.
    EXPECT_STREQ("C:->...->c.bmp", ShortenFileName("C:->aa->bb->c.bmp", "->", drFromLeft, 15 * 6, Pitch6).c_str());
    EXPECT_THROW(ShortenFileName(kPath, "\\", drFromLeft, 10, TTextWidthFunc()), EInvalidOperation);
}
