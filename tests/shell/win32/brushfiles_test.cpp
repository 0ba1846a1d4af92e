// Open Brush and Save Brush: a brush read from a file paints its own
// pixels, and a brush saved in single-colour mode is saved as it paints.
#include "../../painting/win32/imageform_fixture.h"
#include "picturefiles_dialogdriver.h"
#include "picturefiles_fixture.h"

#include "brushstate.h"
#include "open_dialog_preview.h"
#include "paintkit.h"
#include "picturefiles_win32.h"
#include "programpictures.h"
#include "save_dialog_options.h"

namespace {

const unsigned long Fore = 0x00C01020;
const unsigned long Back = 0x0030E040;

class BrushFilesTest : public ImageFormTest {
protected:
    void SetUp() override
    {
        ImageFormTest::SetUp();
        folder.Open();
        CreatePictureFileForms(nullptr);
        LastDirectory = folder.dir.c_str();
        OpenFilterIndex = -1;
        BrushState = TBrushState();
        InitPaintKit();
    }
    void TearDown() override
    {
        FreeOpenPreview();
        delete OpenPlus;
        OpenPlus = nullptr;
        delete SavePlus;
        SavePlus = nullptr;
        while (CurrentBrush.undoHead) UDBuffer::DropUndo(&CurrentBrush);
        UDBuffer::DropAllRedo(&CurrentBrush);
        CurrentBrush.Free();
        BrushSavePicture.Free();
        StampBuffer.Free();
        BrushState = TBrushState();
        StampRecolourHook = nullptr;
        folder.Close();
        ImageFormTest::TearDown();
    }
    void UseColours()
    {
        PaintKitHost.foreColour = [] { return Fore; };
        PaintKitHost.backColour = [] { return Back; };
    }

    PictureFolder folder;
};

// The built-in one-pixel brush in single-colour mode is replaced by a
// picture brush that stamps the file's pixels.
// One pixel in the background colour stays opaque: a file without a
// transparent colour has none.
TEST_F(BrushFilesTest, OpenedBrushStampsItsOwnPixels)
{
    Buffer expected;
    FillPattern(expected, 5, 3, 7);
    *expected.At(2, 1) = Back;
    GFXSaveParams p;
    memset(&p, 0, sizeof p);
    ASSERT_TRUE(GFXFile::Save(expected, folder.Path("brush.png").c_str(), nullptr, &p));
    ASSERT_NE(NewShownWindow(20, 20), nullptr);
    UseColours();
    CurrentBrush.Alloc(Pair<int>{1, 1});
    *CurrentBrush.At(0, 0) = Fore;
    BrushState.paintMode = PaintModeC;
    RecolorBrush(false);
    dialogdriver::Start({
        [&](HWND dlg) { return dialogdriver::SelectFile(dlg, "brush"); },
        [&](HWND dlg) {
            if (!OpenPlus->PreviewBuf->GetVisible()) return false;  // previewed first
            dialogdriver::TypeName(dlg, "brush.png");
            dialogdriver::Press(dlg, IDOK);
            return true;
        },
    });
    OpenImageClick(nullptr, true);
    EXPECT_TRUE(dialogdriver::Finish());
    EXPECT_EQ(BrushState.pictureBrush, 1);
    EXPECT_EQ(BrushState.paintMode, PaintModeP);
    SetVisibleClip();
    StampOnce(10, 10);  // held at the centre: top-left at (8, 9)
    Buffer stamped(*CurrentPicture, Rect{8, 9, 12, 11}, false);
    EXPECT_TRUE(SamePixels(stamped, expected));
}

// In single-colour mode the saved brush is its shape in the drawing colour
// on the background colour, whatever colours its pixels hold.
TEST_F(BrushFilesTest, BrushSavedInColourModeIsItsShapeInTheDrawingColour)
{
    UseColours();
    const char* rows[] = {"#.#.", ".##.", "####"};
    CurrentBrush.Alloc(Pair<int>{4, 3});
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) *CurrentBrush.At(x, y) = rows[y][x] == '#' ? 0x102030u * (x + 1) : KeyPixel;
    BrushState.pictureBrush = 1;
    BrushState.paintMode = PaintModeC;
    GFXSaveParams p;
    memset(&p, 0, sizeof p);
    p.bits = 24;
    ASSERT_EQ(SavePictureFile(folder.Path("shape.bmp").c_str(), &BrushSavePicture, &p), SaveOk);
    Buffer back;
    ASSERT_TRUE(folder.ReadPicture(folder.Path("shape.bmp"), back));
    Buffer expected;
    expected.Alloc(Pair<int>{4, 3});
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) *expected.At(x, y) = rows[y][x] == '#' ? Fore : Back;
    EXPECT_TRUE(SamePixels(back, expected));
}

}  // namespace
