// File > Desktop in the started program: the screens are written as
// 320 x 400 BMP files of 8 bits and read back at twice their width, Import
// items follow the files, and the wallpaper is stored without the picture
// taking its name.
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "desktop_images.h"
#include "mainwindow_fixture.h"
#include "messages.h"

namespace {

const char* const SetupKey = "Software\\MICROSOFT\\Windows\\CurrentVersion\\Setup";

std::vector<unsigned char> FileBytes(const AnsiString& name)
{
    std::ifstream f(name.c_str(), std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

unsigned Get(const std::vector<unsigned char>& b, size_t at, int bytes)
{
    unsigned v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | (at + i < b.size() ? b[at + i] : 0);
    return v;
}

class DesktopImages : public MainWindow {
protected:
    void BeforeMainForm() override
    {
        char wallpaper[MAX_PATH] = {};
        SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, wallpaper, 0);
        savedWallpaper = wallpaper;
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        if (reg.OpenKey(SetupKey, true)) {
            savedBootDir = reg.ValueExists("BootDir") ? reg.ReadString("BootDir").c_str() : "";
            reg.WriteString("BootDir", "C:\\");
        }
        RemoveScreenFiles();
    }
    void TearDown() override
    {
        MainWindow::TearDown();
        RemoveScreenFiles();
        DeleteFileA(DesktopExportFile(DeskWallpaper).c_str());
        SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, &savedWallpaper[0], SPIF_UPDATEINIFILE);
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        if (!reg.OpenKey(SetupKey, false)) return;
        if (savedBootDir.empty())
            reg.DeleteValue("BootDir");
        else
            reg.WriteString("BootDir", savedBootDir.c_str());
    }
    static void RemoveScreenFiles()
    {
        DeleteFileA("C:\\logo.sys");
        for (DesktopImage d : {DeskWaiting, DeskShutdown}) DeleteFileA(DesktopExportFile(d).c_str());
    }

    // A 640 x 480 picture of bands, grey in its save parameters (a BMP
    // cannot be grey), as the current picture.
    static UDBuffer& BandedPicture()
    {
        TImageForm* f = CreateImageWindow(640, 480, "");
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) *f->Picture.At(x, y) = (x / 40) * 0x100F00 + (y / 60) * 0x1F;
        f->Picture.saveParams.grey = 1;
        f->Picture.saveParams.bits = 16;
        f->Show();
        return f->Picture;
    }

    bool ImportEnabled(TMenuItem* item)
    {
        MainForm->Desktop1Click(MainForm);
        return item->GetEnabled();
    }

    std::string savedWallpaper;
    std::string savedBootDir;
};

typedef void (TMainForm::*Handler)(TObject*);

TEST_F(DesktopImages, ScreensAreWrittenAt320x400In8BitsAndReadBackTwiceAsWide)
{
    ASSERT_TRUE(started);
    struct Case {
        DesktopImage which;
        TMenuItem* TMainForm::*import;
        Handler importClick, exportClick;
    } cases[] = {
        {DeskStartup, &TMainForm::Import2, &TMainForm::Import2Click, &TMainForm::Export2Click},
        {DeskWaiting, &TMainForm::Import3, &TMainForm::Import3Click, &TMainForm::Export3Click},
        {DeskShutdown, &TMainForm::Import4, &TMainForm::Import4Click, &TMainForm::Export4Click},
    };
    for (const Case& c : cases) {
        AnsiString file = DesktopExportFile(c.which);
        SCOPED_TRACE(file.c_str());
        EXPECT_EQ(file, DesktopImportFile(c.which));
        EXPECT_FALSE(ImportEnabled(MainForm->*c.import));
        UDBuffer& pic = BandedPicture();
        (MainForm->*c.exportClick)(MainForm);
        EXPECT_TRUE(recorder->Boxes.empty());
        std::vector<unsigned char> bmp = FileBytes(file);
        ASSERT_GE(bmp.size(), 54u);
        EXPECT_EQ(0x4D42u, Get(bmp, 0, 2));
        EXPECT_EQ(320u, Get(bmp, 18, 4));
        EXPECT_EQ(400u, Get(bmp, 22, 4));
        EXPECT_EQ(8u, Get(bmp, 28, 2));
        EXPECT_TRUE(pic.fileName.IsEmpty());  // the picture is not the screen file

        ASSERT_TRUE(ImportEnabled(MainForm->*c.import));
        int windows = ImageFormCount();
        (MainForm->*c.importClick)(MainForm);
        ASSERT_EQ(windows + 1, ImageFormCount());
        EXPECT_EQ(640, CurrentPicture->Width());
        EXPECT_EQ(400, CurrentPicture->Height());
        EXPECT_STREQ(file.c_str(), CurrentPicture->fileName.c_str());
        EXPECT_TRUE(recorder->Boxes.empty());
    }
    // Without the boot folder the start-up screen has no file.
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(SetupKey, false));
    reg.DeleteValue("BootDir");
    EXPECT_FALSE(ImportEnabled(MainForm->Import2));
    MainForm->Export2Click(MainForm);
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_STREQ(Translate("ErrSaveImg").c_str(), recorder->Boxes[0].Text.c_str());
}

TEST_F(DesktopImages, WallpaperIsStoredAndThePictureKeepsItsNameAndChanges)
{
    ASSERT_TRUE(started);
    UDBuffer& pic = BandedPicture();
    pic.fileName = "C:\\pictures\\bands.png";
    pic.noFile = 0;
    pic.modified = 3;
    MainForm->Export1Click(MainForm);
    EXPECT_TRUE(recorder->Boxes.empty());
    AnsiString file = DesktopExportFile(DeskWallpaper);
    char stored[MAX_PATH] = {};
    SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, stored, 0);
    EXPECT_STREQ(file.c_str(), stored);
    EXPECT_STREQ(file.c_str(), DesktopImportFile(DeskWallpaper).c_str());
    std::vector<unsigned char> bmp = FileBytes(file);
    EXPECT_EQ(0x4D42u, Get(bmp, 0, 2));
    EXPECT_EQ(640u, Get(bmp, 18, 4));
    EXPECT_EQ(24u, Get(bmp, 28, 2));
    EXPECT_STREQ("C:\\pictures\\bands.png", pic.fileName.c_str());
    EXPECT_EQ(0, pic.noFile);
    EXPECT_EQ(3u, pic.modified);
    EXPECT_TRUE(ImportEnabled(MainForm->Import1));
}

// Writes the wait screen into the folder KESTREL_DESKTOP_EXPORT names, for
// desktop_crosscheck.py to read with Pillow.
TEST_F(DesktopImages, ExportForPillow)
{
    const char* out = std::getenv("KESTREL_DESKTOP_EXPORT");
    if (!out) GTEST_SKIP() << "KESTREL_DESKTOP_EXPORT not set";
    ASSERT_TRUE(started);
    BandedPicture();
    MainForm->Export3Click(MainForm);
    std::string copy = std::string(out) + "\\logow.sys";
    EXPECT_TRUE(CopyFileA(DesktopExportFile(DeskWaiting).c_str(), copy.c_str(), FALSE));
}

}  // namespace
