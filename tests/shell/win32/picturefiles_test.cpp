// LoadPictureFile and SavePictureFile on real files: their result codes and
// messages, what a picture keeps after each failure, backups, and that no
// failed or cancelled save costs the user the file that was there.
#include "picturefiles_fixture.h"

#include <cstdlib>

#include "exceptions.h"
#include "mruflist.h"
#include "picturefiles_win32.h"

namespace {

std::string Text(const char* key) { return Translate(key).c_str(); }

class LoadPictureTest : public PictureFolderTest {};

TEST_F(LoadPictureTest, ReadsIntoAPictureWithItsFullNameAndParameters)
{
    WritePicture("a.png", 10, 5, 1);
    UDBuffer pic;
    pic.modified = 3;
    pic.noFile = 1;
    EXPECT_EQ(LoadPictureFile(&pic, ("  " + Path("a.png") + " ").c_str(), 0, true), LoadOk);
    Buffer expected;
    FillPattern(expected, 10, 5, 1);
    EXPECT_TRUE(SamePixels(pic, expected));
    EXPECT_EQ(std::string(pic.fileName.c_str()), Path("a.png"));
    EXPECT_EQ(pic.modified, 0u);
    EXPECT_EQ(pic.noFile, 0);
    EXPECT_EQ(pic.saveParams.bits, 24);
    EXPECT_TRUE(shown.empty());
}

TEST_F(LoadPictureTest, UnknownFormatIsTwoAndNotKeptUnlessQuiet)
{
    std::string junk;
    for (int i = 0; i < 3000; ++i) junk += char((i * 7919 + 13) % 251);
    WriteBytes(Path("junk.png"), junk);
    UDBuffer pic;
    EXPECT_EQ(LoadPictureFile(&pic, Path("junk.png").c_str(), 0, true), LoadUnknown);
    EXPECT_EQ(pic.pixels, nullptr);  // quiet: kept as read, which is nothing
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(LoadPictureFile(&pic, Path("junk.png").c_str(), 0, false), LoadUnknown);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], Text("FormNotSup"));
    // Not kept: another picture gets the library's default size.
    EXPECT_EQ(pic.Width(), Buffer::default_x);
    EXPECT_EQ(pic.Height(), Buffer::default_y);
}

TEST_F(LoadPictureTest, DamagedFileKeepsWhatWasReadWhenTheUserSaysYes)
{
    WritePicture("full.png", 64, 64, 2);
    std::string data = ReadBytes(Path("full.png"));
    WriteBytes(Path("cut.png"), data.substr(0, data.size() * 6 / 10));
    UDBuffer pic;
    int quiet = LoadPictureFile(&pic, Path("cut.png").c_str(), 0, true);
    EXPECT_TRUE(quiet == LoadDamaged || quiet == LoadReadError) << quiet;
    EXPECT_NE(pic.pixels, nullptr);
    answer = IDYES;
    EXPECT_EQ(LoadPictureFile(&pic, Path("cut.png").c_str(), 0, false), quiet);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], Text("ErrLoadImg"));
    EXPECT_EQ(lastFlags, 0x34u);  // warning icon, Yes and No
    EXPECT_EQ(pic.Width(), 64);
    EXPECT_EQ(std::string(pic.fileName.c_str()), Path("cut.png"));
    answer = IDNO;
    EXPECT_EQ(LoadPictureFile(&pic, Path("cut.png").c_str(), 0, false), quiet);
    EXPECT_EQ(pic.Width(), Buffer::default_x);
}

TEST_F(LoadPictureTest, ReadAndOpenErrorsHaveTheirOwnCodes)
{
    WritePicture("a.bmp", 40, 30, 3);
    std::string data = ReadBytes(Path("a.bmp"));
    WriteBytes(Path("short.bmp"), data.substr(0, data.size() / 2));
    UDBuffer pic;
    int shortCode = LoadPictureFile(&pic, Path("short.bmp").c_str(), 0, true);
    EXPECT_TRUE(shortCode == LoadReadError || shortCode == LoadDamaged) << shortCode;
    EXPECT_EQ(LoadPictureFile(&pic, Path("missing.png").c_str(), 0, true), LoadOtherError);
    EXPECT_EQ(LoadPictureFile(&pic, Path("missing.png").c_str(), 0, false), LoadOtherError);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], Text("ErrOpenImg"));
}

TEST_F(LoadPictureTest, OpenedFilesGoToTheRecentListNewestFirst)
{
    TMRUFileList list(nullptr);
    list.SetAutoSave(false);
    list.SetMaximum(8);
    RecentFiles = &list;
    UDBuffer pic;
    for (int i = 0; i < 12; ++i) {
        std::string name = "P" + std::to_string(i) + ".png";
        WritePicture(name.c_str(), 3, 3, i);
        EXPECT_EQ(LoadPictureFile(&pic, Path(name.c_str()).c_str(), 0, false), LoadOk);
    }
    EXPECT_EQ(LoadPictureFile(&pic, Path("P5.png").c_str(), 0, true), LoadOk);  // quiet: not listed
    ASSERT_EQ(list.GetCount(), 8);
    for (int i = 0; i < 8; ++i) {
        std::string expected = Path(("p" + std::to_string(11 - i) + ".png").c_str());
        for (char& c : expected) c = char(tolower((unsigned char)c));
        EXPECT_EQ(std::string(list.GetFile(i).c_str()), expected);
    }
    RecentFiles = nullptr;
}

class SavePictureTest : public PictureFolderTest {
protected:
    void SetUp() override
    {
        PictureFolderTest::SetUp();
        AppSettings.BackupFiles = false;
        FillPattern(pic, 12, 7, 9);
        memset(&params, 0, sizeof params);
        WritePicture("keep.png", 5, 5, 4);
        original = ReadBytes(Path("keep.png"));
    }
    // The original file is unchanged and nothing else was left beside it.
    void ExpectOriginalAlone()
    {
        EXPECT_EQ(ReadBytes(Path("keep.png")), original);
        EXPECT_EQ(Files(), std::vector<std::string>{"keep.png"});
    }

    UDBuffer pic;
    GFXSaveParams params;
    std::string original;
};

TEST_F(SavePictureTest, SavedFileHoldsThePictureAndTheNameMoves)
{
    pic.modified = 4;
    pic.noFile = 1;
    *pic.At(3, 3) |= 0x03000000;  // marks never reach the file
    EXPECT_EQ(SavePictureFile(Path("keep.png").c_str(), &pic, &params), SaveOk);
    Buffer back;
    ASSERT_TRUE(ReadPicture(Path("keep.png"), back));
    EXPECT_TRUE(SamePixels(back, pic));
    EXPECT_EQ(*pic.At(3, 3) & 0x03000000, 0u);
    EXPECT_EQ(pic.modified, 0u);
    EXPECT_EQ(pic.noFile, 0);
    EXPECT_EQ(std::string(pic.fileName.c_str()), Path("keep.png"));
    EXPECT_EQ(Files(), std::vector<std::string>{"keep.png"});
}

TEST_F(SavePictureTest, FormatThatCannotHoldThePictureIsOneAndChangesNothing)
{
    params.bits = 16;  // PNG writes 1, 2, 4, 8 and 24 bits only
    EXPECT_EQ(SavePictureFile(Path("keep.png").c_str(), &pic, &params), SaveCannotHold);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], Text("ErrSaveImgForm"));
    ExpectOriginalAlone();
}

bool StopAtOnce(int) { return false; }
bool FailHalfWay(int percent)
{
    if (percent >= 50) throw EWriteError();  // as a full disk makes the stream raise
    return true;
}

TEST_F(SavePictureTest, CancelledSaveIsTwoAndKeepsTheOldFile)
{
    GFXFile::SetProgFunc(nullptr, StopAtOnce, nullptr);
    pic.modified = 2;
    EXPECT_EQ(SavePictureFile(Path("keep.png").c_str(), &pic, &params), SaveCancelled);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(pic.modified, 2u);
    ExpectOriginalAlone();
}

TEST_F(SavePictureTest, WriteErrorIsThreeAndKeepsTheOldFile)
{
    AppSettings.BackupFiles = true;
    FillPattern(pic, 300, 200, 5);
    GFXFile::SetProgFunc(nullptr, FailHalfWay, nullptr);
    EXPECT_EQ(SavePictureFile(Path("keep.png").c_str(), &pic, &params), SaveWriteError);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], Text("ErrSaveImg"));
    ExpectOriginalAlone();
    GFXFile::SetProgFunc(nullptr, nullptr, nullptr);
    EXPECT_EQ(SavePictureFile((dir + "\\no such folder\\a.png").c_str(), &pic, &params), SaveWriteError);
}

// Needs a small drive (a tmpfs mapped as a Wine drive) named by
// KESTREL_FULL_DRIVE, e.g. "U:\\".
TEST_F(SavePictureTest, FullDiskIsAWriteErrorAndKeepsTheOldFile)
{
    const char* drive = std::getenv("KESTREL_FULL_DRIVE");
    if (!drive) GTEST_SKIP() << "KESTREL_FULL_DRIVE not set";
    std::string name = std::string(drive) + "kestrel-full.png";
    WriteBytes(name, original);
    FillPattern(pic, 1200, 900, 8);  // far more than the drive holds
    EXPECT_EQ(SavePictureFile(name.c_str(), &pic, &params), SaveWriteError);
    EXPECT_EQ(ReadBytes(name), original);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((std::string(drive) + "kestrel-full.png.*.tmp").c_str(), &fd);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE) << "a temporary file was left: " << fd.cFileName;
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
    DeleteFileA(name.c_str());
}

TEST_F(SavePictureTest, BackupHoldsTheFirstVersionOnly)
{
    AppSettings.BackupFiles = true;
    FillPattern(pic, 8, 8, 1);
    ASSERT_EQ(SavePictureFile(Path("a.png").c_str(), &pic, &params), SaveOk);
    EXPECT_EQ(ReadBytes(Path("a._pn")), "<missing>");  // nothing to back up yet
    std::string first = ReadBytes(Path("a.png"));
    FillPattern(pic, 8, 8, 2);
    ASSERT_EQ(SavePictureFile(Path("a.png").c_str(), &pic, &params), SaveOk);
    EXPECT_EQ(ReadBytes(Path("a._pn")), first);
    FillPattern(pic, 8, 8, 3);
    ASSERT_EQ(SavePictureFile(Path("a.png").c_str(), &pic, &params), SaveOk);
    EXPECT_EQ(ReadBytes(Path("a._pn")), first);
    Buffer back;
    ASSERT_TRUE(ReadPicture(Path("a.png"), back));
    EXPECT_TRUE(SamePixels(back, pic));
    AppSettings.BackupFiles = false;
    EXPECT_FALSE(MakeBackup(Path("a.png").c_str()));
}

TEST(PictureFiltersWindows, EveryFormatOpensTenSave)
{
    EXPECT_EQ(BuildFileFilter(false), 13);
    EXPECT_EQ(BuildFileFilter(true), 11);
    int index = 0;
    EXPECT_EQ(FindSaveFormat("x.ico", index), nullptr);
    EXPECT_EQ(FindSaveFormat("x.avi", index), nullptr);
    EXPECT_NE(FindSaveFormat("X.EMF", index), nullptr);
}

}  // namespace
