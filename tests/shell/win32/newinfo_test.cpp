// File > New and Image > Information in the started program: the size
// chosen is the picture made and offered next, out-of-range sizes are held
// to the spin edits' range, and the information dialog reports the file,
// the colour counts and opens where it was left.
#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "../../gui/win32/timed_step.h"
#include "../textfile_fixture.h"
#include "colour_count.h"
#include "infoform.h"
#include "mainwindow_fixture.h"
#include "messages.h"
#include "newform.h"
#include "paintkit_host.h"
#include "selection_trace.h"
#include "sysutils.h"
#include "toolmanager.h"

namespace {

class NewAndInfo : public MainWindow {
protected:
    // Runs New with the texts typed into the two edits; the size the dialog
    // offered comes back in offered.
    void NewWith(const char* x, const char* y, Pair<int>* offered)
    {
        gui::WhenOpen<TNewForm>([=](TNewForm* f) {
            if (offered) *offered = Pair<int>{int(f->SizeX->GetValue()), int(f->SizeY->GetValue())};
            f->SizeX->SetText(x);
            f->SizeY->SetText(y);
            f->OkBtn->Click();
        });
        MainForm->New1Click(MainForm);
        gui::PumpUntilIdle();
    }

    static int IndependentCount(const Buffer& b)
    {
        std::set<unsigned long> colours;
        for (int y = b.top; y <= b.bottom; ++y)
            for (int x = b.left; x <= b.right; ++x) colours.insert(*b.At(x, y) & 0xFFFFFF);
        return int(colours.size());
    }
};

TEST_F(NewAndInfo, NewPictureHasTheChosenSizeInTheBackgroundColour)
{
    ASSERT_TRUE(started);
    struct Case {
        const char *x, *y;
        int width, height;
    } cases[] = {
        {"1", "1", 1, 1},
        {"640", "480", 640, 480},
        {"0", "99999", 1, NewPictureMaxSide},  // held to the spin edits' range
        {"abc", "-3", 1, 1},                    // the last valid values, then the least
    };
    Pair<int> offered = {0, 0};
    Pair<int> last = {MainForm->NewWidth, MainForm->NewHeight};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.x) + " x " + c.y);
        int windows = ImageFormCount();
        NewWith(c.x, c.y, &offered);
        EXPECT_EQ(last.x, offered.x);
        EXPECT_EQ(last.y, offered.y);
        ASSERT_EQ(windows + 1, ImageFormCount());
        UDBuffer& pic = GetImageForm(windows)->Picture;
        EXPECT_EQ(&pic, CurrentPicture);
        EXPECT_EQ(c.width, pic.Width());
        EXPECT_EQ(c.height, pic.Height());
        EXPECT_EQ(BackColour(), *pic.At(0, 0) & 0xFFFFFF);
        EXPECT_EQ(BackColour(), *pic.At(pic.right, pic.bottom) & 0xFFFFFF);
        EXPECT_EQ(1, pic.noFile);
        EXPECT_EQ(0u, pic.modified);
        EXPECT_TRUE(recorder->Boxes.empty());
        last = Pair<int>{c.width, c.height};
        delete GetImageForm(windows);
    }
}

// A gigabyte of pixels: made, or refused once with "NoMem" where the
// address space has no such room.
TEST_F(NewAndInfo, LargestNewPictureIsMadeOrRefusedOnce)
{
    ASSERT_TRUE(started);
    int windows = ImageFormCount();
    NewWith("16384", "16384", nullptr);
    if (ImageFormCount() == windows) {
        ASSERT_EQ(1u, recorder->Boxes.size());
        EXPECT_STREQ(Translate("NoMem").c_str(), recorder->Boxes[0].Text.c_str());
    } else {
        EXPECT_TRUE(recorder->Boxes.empty());
        EXPECT_EQ(NewPictureMaxSide, CurrentPicture->Width());
        EXPECT_EQ(NewPictureMaxSide, CurrentPicture->Height());
        delete GetImageForm(windows);
    }
}

TEST_F(NewAndInfo, NewWindowAfterAMaximisedOneIsMaximisedWithTheBars)
{
    ASSERT_TRUE(started);
    First()->SetWindowState(wsMaximized);
    ASSERT_EQ(First()->LeftDock, MainForm->Toolbar->GetDockedTo());
    NewWith("20", "10", nullptr);
    ASSERT_EQ(2, ImageFormCount());
    TImageForm* f = GetImageForm(1);
    EXPECT_EQ(wsMaximized, f->GetWindowState());
    EXPECT_EQ(f->LeftDock, MainForm->Toolbar->GetDockedTo());
    EXPECT_EQ(f->RightDock, MainForm->Palettebar->GetDockedTo());
}

// Crop: an L of three selected pixels becomes a 2 x 2 picture whose fourth
// pixel is the background; the crop's size is what New offers next, and the
// new picture counts as changed so that closing it asks.
TEST_F(NewAndInfo, CropMakesTheSelectionAPictureOfItsOwn)
{
    ASSERT_TRUE(started);
    UDBuffer& pic = First()->Picture;
    HideOutline();
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++) *pic.At(x, y) = 0x101010UL * unsigned(1 + x + 4 * y);
    ++pic.modified;
    for (Pair<int> p : {Pair<int>{1, 1}, Pair<int>{1, 2}, Pair<int>{2, 2}}) *pic.At(p.x, p.y) |= SelectedBit;
    pic.selMinX = 1, pic.selMinY = 1, pic.selMaxX = 2, pic.selMaxY = 2;
    pic.TraceSelection();
    const int windows = ImageFormCount();
    MainForm->Crop2Click(MainForm);
    gui::PumpUntilIdle();
    ASSERT_EQ(windows + 1, ImageFormCount());
    UDBuffer& made = CurrentImageForm->Picture;
    ASSERT_EQ(2, made.Width());
    ASSERT_EQ(2, made.Height());
    EXPECT_EQ(0x101010UL * 6, *made.At(0, 0));
    EXPECT_EQ(BackColour() & 0xFFFFFF, *made.At(1, 0));
    EXPECT_EQ(0x101010UL * 10, *made.At(0, 1));
    EXPECT_EQ(0x101010UL * 11, *made.At(1, 1));
    EXPECT_EQ(1u, made.modified);
    EXPECT_EQ(2, MainForm->NewWidth);
    EXPECT_TRUE(pic.HasSelection());  // the old picture keeps its selection
}

TEST_F(NewAndInfo, EnterConfirmsNewAndEscapeCancelsIt)
{
    ASSERT_TRUE(started);
    struct Case {
        WORD key;
        const char* typed;
        int newWindows, width;
    } cases[] = {{VK_RETURN, "20", 1, 20}, {VK_ESCAPE, "30", 0, 20}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        int windows = ImageFormCount();
        gui::WhenOpen<TNewForm>([&c](TNewForm* f) {
            f->SizeX->SetText(c.typed);
            SetForegroundWindow(f->GetHandle());
            f->SizeX->SetFocus();
            gui::InputKeyStroke(c.key);
        });
        MainForm->New1Click(MainForm);
        gui::PumpUntilIdle();
        ASSERT_EQ(windows + c.newWindows, ImageFormCount());
        EXPECT_EQ(c.width, MainForm->NewWidth);
        if (c.newWindows) delete GetImageForm(windows);
    }
    MainForm->NewWidth = 416;
}

TEST_F(NewAndInfo, InformationReportsTheFileAndCountsAndOpensWhereLeft)
{
    ASSERT_TRUE(started);
    {
        HideOutline();  // the pen's outline is drawn into the picture under the pointer
        TInfoForm info(nullptr);  // the blank picture of the start
        int centredLeft = WorkArea.left + (WorkArea.right - WorkArea.left - info.GetWidth()) / 2;
        EXPECT_EQ(centredLeft, info.GetLeft());
        EXPECT_STREQ(InfoValue("SizeInB", "").c_str(), info.ImageSize->GetCaption().c_str());
        EXPECT_STREQ((Translate("Date") + ": -").c_str(), info.ImageDate->GetCaption().c_str());
        EXPECT_STREQ((Translate("ColNum") + ": -").c_str(), info.ImageCol->GetCaption().c_str());
        info.ImgColCnt->Click();
        EXPECT_STREQ((Translate("ColNum") + ": 1").c_str(), info.ImageCol->GetCaption().c_str());
        info.BrshColCnt->Click();
        std::string brush = (Translate("ColNum") + ": " + IntToStr(IndependentCount(CurrentBrush))).c_str();
        EXPECT_EQ(brush, info.BrushCol->GetCaption().c_str());
        info.SetBounds(30, 40, info.GetWidth(), info.GetHeight());
        info.FormDeactivate(&info);
    }
    std::string file = TestTempPath("info.bmp");
    WriteSmallBmp(file.c_str());
    ASSERT_EQ(0, LoadPictureFile(nullptr, file.c_str(), 0, false));
    TInfoForm info(nullptr);
    EXPECT_EQ(30, info.GetLeft());
    EXPECT_EQ(40, info.GetTop());
    EXPECT_STREQ((Translate("Dims") + ": 2 x 2").c_str(), info.ImageDim->GetCaption().c_str());
    std::ifstream bytes(file, std::ios::binary | std::ios::ate);
    std::string size = (Translate("SizeInB") + ": ").c_str() + std::to_string(bytes.tellg());
    EXPECT_EQ(size, info.ImageSize->GetCaption().c_str());
    std::string date = info.ImageDate->GetCaption().c_str();
    EXPECT_TRUE(std::regex_match(date, std::regex(".*: [01][0-9]/[0-3][0-9]/20[0-9][0-9] [0-2][0-9]:[0-5][0-9]")))
        << date;
    info.ImgColCnt->Click();
    std::string count = (Translate("ColNum") + ": " + IntToStr(IndependentCount(*CurrentPicture))).c_str();
    EXPECT_EQ(count, info.ImageCol->GetCaption().c_str());
    info.HelpBtn->Click();
    ASSERT_EQ(1u, recorder->Helps.size());
    EXPECT_EQ(unsigned(HELP_CONTEXT), recorder->Helps[0].Command);
    EXPECT_EQ(ULONG_PTR(InfoHelpContext), recorder->Helps[0].Data);
    std::remove(file.c_str());
}

// Help goes through the application's one help call: the contents, a
// dialog's context, and the quit at shut-down, all with the language's file.
TEST_F(NewAndInfo, HelpOpensTheLanguagesFileAtTheRightPlace)
{
    ASSERT_TRUE(started);
    AnsiString file = ProgramDir + Translate("HelpFile");
    MainForm->Contents1Click(MainForm);
    TNewForm(nullptr).HelpBtn->Click();
    bool canClose = false;
    MainForm->ShutDownRequest(MainForm, canClose);
    ASSERT_TRUE(canClose);
    struct Expected {
        unsigned command;
        ULONG_PTR data;
    } expected[] = {{HELP_FINDER, 0}, {HELP_CONTEXT, NewHelpContext}, {HELP_QUIT, 0}};
    ASSERT_EQ(3u, recorder->Helps.size());
    for (int i = 0; i < 3; ++i) {
        EXPECT_STREQ(file.c_str(), recorder->Helps[i].File.c_str()) << i;
        EXPECT_EQ(expected[i].command, recorder->Helps[i].Command) << i;
        EXPECT_EQ(expected[i].data, recorder->Helps[i].Data) << i;
    }
}

}  // namespace
