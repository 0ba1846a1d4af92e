// Save As through the real save dialog under Xvfb: the options follow the
// type, a name typed with another type's extension brings the dialog back
// with that type, and the files written hold what the options said.
#include "../../gui/win32/gui_fixture.h"
#include "picturefiles_dialogdriver.h"
#include "picturefiles_fixture.h"

#include <cstdlib>
#include <functional>

#include "imagewindow_host.h"
#include "picturefiles_win32.h"
#include "pictureview.h"
#include "open_dialog_preview.h"
#include "save_dialog_options.h"

namespace {

using dialogdriver::Press;
using dialogdriver::TypeName;

GFXFile* Named(const char* name)
{
    for (GFXFile* f = GFXFile::Formats(); f; f = f->next)
        if (f->name == name) return f;
    return nullptr;
}

// Four colours in blocks: every palette depth holds them exactly.
void FillBlocks(Buffer& b)
{
    static const unsigned long colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    b.Free();
    b.Alloc(Pair<int>{16, 10});
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 16; ++x) *b.At(x, y) = colours[(x / 4 + y / 5) % 4];
}

GFXFileDesc Describe(const std::string& name)
{
    GFXFileDesc d;
    memset(&d, 0, sizeof d);
    AnsiString n = name.c_str();
    GFXFile::Test(n, &d);
    return d;
}

class SavePlusTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        folder.Open();
        CreatePictureFileForms(nullptr);
        FillBlocks(pic);
        pic.noFile = 1;
        pic.fileName = folder.Path("start.jpg").c_str();
        memset(&pic.saveParams, 0, sizeof pic.saveParams);
        pic.saveParams.bits = 24;
        CurrentPicture = &pic;
        AppSettings.AutoReload = false;
        AppSettings.BackupFiles = false;
        LastDirectory = folder.dir.c_str();
    }
    void TearDown() override
    {
        CurrentPicture = nullptr;
        delete SavePlus;
        SavePlus = nullptr;
        delete OpenPlus;
        OpenPlus = nullptr;
        folder.Close();
        GuiTest::TearDown();
    }
    int SaveAs(std::vector<dialogdriver::Step> steps)
    {
        dialogdriver::Start(std::move(steps));
        int result = SavePictureAs(nullptr, false);
        EXPECT_TRUE(dialogdriver::Finish()) << "the dialog closed before every step ran";
        return result;
    }
    int TypeIndex() { return SavePlus->SavePicDlg->GetSelFilterIndex(); }

    PictureFolder folder;
    UDBuffer pic;
};

TEST_F(SavePlusTest, NameOfAnotherTypeReopensWithThatType)
{
    int jpeg = WritableIndex(Named("JPEG"));
    int gif = WritableIndex(Named("CompuServe GIF"));
    std::vector<int> types;
    int result = SaveAs({
        [&](HWND dlg) {
            types.push_back(TypeIndex());
            EXPECT_TRUE(SavePlus->Quality->GetEnabled());
            EXPECT_TRUE(SavePlus->TC24RB->GetChecked());
            EXPECT_FALSE(SavePlus->B8RB->GetEnabled());
            TypeName(dlg, "x.gif");
            Press(dlg, IDOK);
            return true;
        },
        [&](HWND dlg) {
            if (TypeIndex() != gif) return false;  // the first dialog is still closing
            types.push_back(TypeIndex());
            EXPECT_FALSE(SavePlus->TC24RB->GetEnabled());
            EXPECT_FALSE(SavePlus->Quality->GetEnabled());
            EXPECT_TRUE(SavePlus->B8RB->GetChecked());  // nearest to 24 bits
            EXPECT_TRUE(SavePlus->MultiPass->GetEnabled());
            SendMessageA(SavePlus->MultiPass->GetHandle(), BM_CLICK, 0, 0);
            Press(dlg, IDOK);
            return true;
        },
    });
    EXPECT_EQ(result, SaveOk);
    ASSERT_EQ(types.size(), 2u);
    EXPECT_EQ(types[0], jpeg);
    EXPECT_EQ(types[1], gif);
    GFXFileDesc d = Describe(folder.Path("x.gif"));
    EXPECT_EQ(d.format, Named("CompuServe GIF"));
    EXPECT_EQ(d.interlaced, 1);
    Buffer back;
    ASSERT_TRUE(folder.ReadPicture(folder.Path("x.gif"), back));
    EXPECT_TRUE(SamePixels(back, pic));
    EXPECT_EQ(std::string(pic.fileName.c_str()), folder.Path("x.gif"));
    EXPECT_EQ(pic.saveParams.interlaced, 1);
}

TEST_F(SavePlusTest, DepthAndQualityFromTheOptions)
{
    pic.fileName = folder.Path("b.bmp").c_str();
    int result = SaveAs({
        [&](HWND dlg) {
            EXPECT_TRUE(SavePlus->B8RB->GetEnabled());
            SendMessageA(SavePlus->B8RB->GetHandle(), BM_CLICK, 0, 0);
            EXPECT_TRUE(SavePlus->LimitColsCB->GetEnabled());
            EXPECT_TRUE(SavePlus->Dither->GetEnabled());
            Press(dlg, IDOK);
            return true;
        },
    });
    EXPECT_EQ(result, SaveOk);
    GFXFileDesc d = Describe(folder.Path("b.bmp"));
    EXPECT_EQ(d.bits, 8);
    Buffer back;
    ASSERT_TRUE(folder.ReadPicture(folder.Path("b.bmp"), back));
    EXPECT_TRUE(SamePixels(back, pic));

    pic.fileName = folder.Path("q.jpg").c_str();
    result = SaveAs({
        [&](HWND dlg) {
            SavePlus->Quality->SetPosition(50);
            EXPECT_EQ(std::string(SavePlus->QualityVal->GetCaption().c_str()), "50");
            Press(dlg, IDOK);
            return true;
        },
    });
    EXPECT_EQ(result, SaveOk);
    EXPECT_EQ(pic.saveParams.quality, 50);
    EXPECT_EQ(Describe(folder.Path("q.jpg")).format, Named("JPEG"));
}

bool StopAtOnce(int) { return false; }

// A save that did not write the file must not reload it: the picture would
// be left with the file's old pixels or none at all.
TEST_F(SavePlusTest, AutoReloadOnlyAfterASave)
{
    AppSettings.AutoReload = true;
    FillPattern(pic, 16, 10, 3);  // more colours than the palette depth keeps apart
    Buffer before;
    FillPattern(before, 16, 10, 3);
    pic.fileName = folder.Path("r.gif").c_str();
    auto pressOk = [](HWND dlg) {
        Press(dlg, IDOK);
        return true;
    };
    GFXFile::SetProgFunc(nullptr, StopAtOnce, nullptr);
    EXPECT_EQ(SaveAs({pressOk}), SaveCancelled);
    GFXFile::SetProgFunc(nullptr, nullptr, nullptr);
    EXPECT_TRUE(SamePixels(pic, before));
    EXPECT_EQ(pic.noFile, 1);
    EXPECT_TRUE(folder.Files().empty());

    EXPECT_EQ(SaveAs({pressOk}), SaveOk);
    Buffer file;
    ASSERT_TRUE(folder.ReadPicture(folder.Path("r.gif"), file));
    EXPECT_TRUE(SamePixels(pic, file));  // the window shows what the file holds
    EXPECT_EQ(pic.modified, 0u);
    EXPECT_EQ(pic.noFile, 0);
}

TEST_F(SavePlusTest, CancelWritesNothingAndStopsAClose)
{
    ClosingCancelled = false;
    pic.modified = 1;
    int result = SaveAs({
        [&](HWND dlg) {
            Press(dlg, IDCANCEL);
            return true;
        },
    });
    EXPECT_EQ(result, SaveCancelled);
    EXPECT_TRUE(ClosingCancelled);
    EXPECT_EQ(pic.modified, 1u);
    EXPECT_TRUE(folder.Files().empty());
    ClosingCancelled = false;
}

// File > Save over a read-only file is refused with the write error, with
// backups on or off: the file, its protection and its folder stay as they
// were, and the picture is still unsaved.
TEST_F(SavePlusTest, ReadOnlyFileIsRefusedAndKept)
{
    std::string name = folder.Path("locked.png");
    for (bool backups : {false, true}) {
        SCOPED_TRACE(backups ? "backups on" : "backups off");
        folder.shown.clear();
        AppSettings.BackupFiles = backups;
        folder.WritePicture("locked.png", 5, 5, 4);
        std::string before = ReadBytes(name);
        ASSERT_TRUE(SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_READONLY));
        pic.fileName = name.c_str();
        pic.noFile = 0;
        pic.modified = 1;
        SavePicture(nullptr);
        EXPECT_EQ(folder.shown, std::vector<std::string>{Translate("ErrSaveImg").c_str()});
        EXPECT_EQ(ReadBytes(name), before);
        EXPECT_NE(GetFileAttributesA(name.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
        EXPECT_EQ(folder.Files(), std::vector<std::string>{"locked.png"});
        EXPECT_EQ(pic.modified, 1u);
        SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

}  // namespace

namespace {

// Writes the files picturefiles_crosscheck.py reads back with Pillow: the
// block picture saved through the dialog as 8-bit BMP, JPEG at quality 50
// and interlaced GIF, into the folder KESTREL_PICTURE_EXPORT names.
TEST_F(SavePlusTest, ExportForPillow)
{
    const char* out = std::getenv("KESTREL_PICTURE_EXPORT");
    if (!out) GTEST_SKIP() << "KESTREL_PICTURE_EXPORT not set";
    std::string dir = out;
    LastDirectory = dir.c_str();
    auto saveAs = [&](const char* name, std::function<void()> choose) {
        pic.fileName = (dir + "\\" + name).c_str();
        return SaveAs({[&](HWND dlg) {
            choose();
            Press(dlg, IDOK);
            return true;
        }});
    };
    auto click = [](TWinControl* c) { SendMessageA(c->GetHandle(), BM_CLICK, 0, 0); };
    EXPECT_EQ(saveAs("e8.bmp", [&] { click(SavePlus->B8RB); }), SaveOk);
    EXPECT_EQ(saveAs("q50.jpg", [&] { SavePlus->Quality->SetPosition(50); }), SaveOk);
    EXPECT_EQ(saveAs("il.gif", [&] {
                  if (!SavePlus->MultiPass->GetChecked()) click(SavePlus->MultiPass);
              }),
              SaveOk);
}

}  // namespace
