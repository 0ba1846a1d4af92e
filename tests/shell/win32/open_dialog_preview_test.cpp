// Opening pictures into image windows under Xvfb: the open dialog with its
// preview, and what happens to the new window when the file is bad.
#include "../../painting/win32/imageform_fixture.h"
#include "picturefiles_dialogdriver.h"
#include "picturefiles_fixture.h"

#include <commctrl.h>

#include "open_dialog_preview.h"
#include "picturefiles_win32.h"
#include "programpictures.h"
#include "save_dialog_options.h"

namespace {

// Selects the first file of the dialog's list as a click would.
bool SelectFirstFile(HWND dialog)
{
    HWND list = nullptr;
    EnumChildWindows(dialog, dialogdriver::FindList, reinterpret_cast<LPARAM>(&list));
    if (!list || SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) < 1) return false;
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    return true;
}

bool Showing(const char* name)
{
    std::string shown = OpenPlus->ShownFile().c_str();
    return shown.size() >= strlen(name) && shown.compare(shown.size() - strlen(name), std::string::npos, name) == 0;
}

class OpenPlusTest : public ImageFormTest {
protected:
    void SetUp() override
    {
        ImageFormTest::SetUp();
        folder.Open();
        MessageBoxHook = [this](const AnsiString& text, const AnsiString&, unsigned) {
            shown.push_back(text.c_str());
            return answer;
        };
        CreatePictureFileForms(nullptr);
        LastDirectory = folder.dir.c_str();
        OpenFilterIndex = -1;
    }
    void TearDown() override
    {
        FreeOpenPreview();
        delete OpenPlus;
        OpenPlus = nullptr;
        delete SavePlus;
        SavePlus = nullptr;
        folder.Close();
        ImageFormTest::TearDown();
    }

    PictureFolder folder;
    std::vector<std::string> shown;
    int answer = IDNO;
};

TEST_F(OpenPlusTest, DialogPreviewsThePictureAndOpensItInAWindow)
{
    folder.WritePicture("a.png", 10, 5, 6);
    RECT preview = {};
    std::string size;
    dialogdriver::Start({
        [&](HWND dlg) { return SelectFirstFile(dlg); },
        [&](HWND dlg) {
            if (OpenPlus->ShownFile().IsEmpty()) return false;
            TBuffer* b = OpenPlus->PreviewBuf;
            preview = RECT{b->GetLeft(), b->GetTop(), b->GetWidth(), b->GetHeight()};
            EXPECT_TRUE(IsWindowVisible(b->GetHandle()));
            size = OpenPlus->PicSize->GetCaption().c_str();
            dialogdriver::TypeName(dlg, "a.png");
            dialogdriver::Press(dlg, IDOK);
            return true;
        },
    });
    OpenImageClick(nullptr, false);
    EXPECT_TRUE(dialogdriver::Finish());
    EXPECT_EQ(preview.left, 4);
    EXPECT_EQ(preview.top, 54);
    EXPECT_EQ(preview.right, 240);   // width
    EXPECT_EQ(preview.bottom, 120);  // height
    EXPECT_NE(size.find("10x5"), std::string::npos) << size;
    ASSERT_EQ(ImageFormCount(), 1);
    Buffer expected;
    FillPattern(expected, 10, 5, 6);
    EXPECT_TRUE(SamePixels(*CurrentPicture, expected));
    EXPECT_EQ(std::string(CurrentPicture->fileName.c_str()), folder.Path("a.png"));
    EXPECT_EQ(OpenPreviewPicture.pixels, nullptr);  // handed over or freed
    EXPECT_TRUE(shown.empty());
}

TEST_F(OpenPlusTest, WidePictureFitsTheWidth)
{
    folder.WritePicture("wide.bmp", 1000, 10, 1);
    OpenPlus->LoadPreview(folder.Path("wide.bmp").c_str());
    EXPECT_EQ(OpenPlus->PreviewBuf->GetWidth(), 240);
    EXPECT_EQ(OpenPlus->PreviewBuf->GetHeight(), 2);
    OpenPlus->LoadPreview("");
    EXPECT_FALSE(OpenPlus->PreviewBuf->GetVisible());
}

TEST_F(OpenPlusTest, UnknownFileClosesItsNewWindowOnly)
{
    NewShownWindow(8, 8);
    NewShownWindow(8, 8);
    std::string junk(4000, '\0');
    for (size_t i = 0; i < junk.size(); ++i) junk[i] = char(i * 31 + 7);
    WriteBytes(folder.Path("junk.png"), junk);
    EXPECT_EQ(LoadPictureFile(nullptr, folder.Path("junk.png").c_str(), 0, false), LoadUnknown);
    gui::PumpUntilIdle();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], std::string(Translate("FormNotSup").c_str()));
    EXPECT_EQ(ImageFormCount(), 2);
}

TEST_F(OpenPlusTest, DamagedFileAnsweredYesKeepsThePartAndTheName)
{
    folder.WritePicture("full.png", 60, 40, 3);
    std::string data = ReadBytes(folder.Path("full.png"));
    WriteBytes(folder.Path("cut.png"), data.substr(0, data.size() * 6 / 10));
    answer = IDYES;
    int result = LoadPictureFile(nullptr, folder.Path("cut.png").c_str(), 0, false);
    EXPECT_TRUE(result == LoadDamaged || result == LoadReadError) << result;
    ASSERT_EQ(ImageFormCount(), 1);
    EXPECT_EQ(CurrentPicture->Width(), 60);
    EXPECT_EQ(std::string(CurrentPicture->fileName.c_str()), folder.Path("cut.png"));
}

TEST_F(OpenPlusTest, LastWindowThatCannotLoadBecomesAFreshPicture)
{
    EXPECT_EQ(LoadPictureFile(nullptr, folder.Path("missing.png").c_str(), 0, false), LoadOtherError);
    ASSERT_EQ(ImageFormCount(), 1);
    EXPECT_EQ(CurrentPicture->Width(), 416);
    EXPECT_EQ(CurrentPicture->Height(), 312);
    EXPECT_EQ(CurrentPicture->noFile, 1);
    EXPECT_TRUE(CurrentImageForm->Fresh);
}

// A damaged file opened from its preview keeps its own record: the depth it
// is saved in, the colours it gives the swatches, and one question.
TEST_F(OpenPlusTest, DamagedPreviewBringsItsOwnRecord)
{
    Buffer two;  // red and blue blocks, saved 1-bit with its colours
    two.Alloc(Pair<int>{16, 8});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) *two.At(x, y) = x < 8 ? 0xFF0000 : 0x0000FF;
    GFXSaveParams p;
    memset(&p, 0, sizeof p);
    p.bits = 1;
    GFXtra32 colours = {0, 0, 0xFF0000, 0x0000FF};
    ASSERT_TRUE(GFXFile::Save(two, folder.Path("a.iff").c_str(), &colours, &p));
    folder.WritePicture("full.png", 60, 40, 3);
    std::string data = ReadBytes(folder.Path("full.png"));
    WriteBytes(folder.Path("b.png"), data.substr(0, data.size() * 6 / 10));
    DeleteFileA(folder.Path("full.png").c_str());
    std::vector<unsigned long> taken;
    PictureFileLinks.takeColours = [&](unsigned long c1, unsigned long c2) { taken = {c1, c2}; };
    answer = IDYES;
    dialogdriver::Start({
        [&](HWND dlg) { return dialogdriver::SelectFile(dlg, "a"); },
        [&](HWND dlg) {
            return Showing("a.iff") && OpenPlus->PreviewBuf->GetVisible() && dialogdriver::SelectFile(dlg, "b");
        },
        [&](HWND dlg) {
            if (!Showing("b.png") || !OpenPlus->PreviewBuf->GetVisible()) return false;
            dialogdriver::TypeName(dlg, "b.png");
            dialogdriver::Press(dlg, IDOK);
            return true;
        },
    });
    OpenImageClick(nullptr, false);
    EXPECT_TRUE(dialogdriver::Finish());
    PictureFileLinks.takeColours = nullptr;
    ASSERT_EQ(ImageFormCount(), 1);
    EXPECT_EQ(shown, std::vector<std::string>{Translate("ErrLoadImg").c_str()});
    EXPECT_EQ(taken, (std::vector<unsigned long>{ForeColour(), BackColour()}));
    EXPECT_EQ(CurrentPicture->saveParams.bits, 24);
    SavePicture(nullptr);
    GFXFileDesc d;
    memset(&d, 0, sizeof d);
    AnsiString saved = folder.Path("b.png").c_str();
    ASSERT_TRUE(GFXFile::Test(saved, &d));
    EXPECT_EQ(d.bits, 24);
    EXPECT_EQ(d.width, 60);
}

}  // namespace
