// File > Acquire and Select Source through the stand-in wrapper library
// (tests/fixtures/twain): each kind of scanned bitmap opens as a new,
// changed, unnamed picture or is refused with "ErrScan", and every block
// acquired is handed back once.
#include <cstdlib>
#include <fstream>
#include <string>

#include "../textfile_fixture.h"
#include "mainwindow_fixture.h"
#include "messages.h"
#include "toolmanager.h"

namespace {

const char* const FixtureLibrary = "Z:" KESTREL_BINARY_DIR "/tests/twain/EZTW32.DLL";

// The fixture's pictures.
unsigned long BwPixel(int x, int y) { return (x * 3 + y) % 5 == 0 ? 0xFFFFFF : 0; }
unsigned long RgbPixel(int x, int y) { return (unsigned long)(x * 50) << 16 | (unsigned long)(y * 100) << 8 | 0x4D; }
unsigned long Pal8Pixel(int x, int y)
{
    int i = (x + y * 6) % 16;
    return (unsigned long)(i * 16) << 16 | (unsigned long)(255 - i * 16) << 8 | i;
}

class Scanning : public MainWindow {
protected:
    void BeforeMainForm() override
    {
        savedLibrary = TwainLibraryName;
        TwainLibraryName = FixtureLibrary;
        std::remove(LogPath().c_str());
        SetEnvironmentVariableA("KESTREL_TWAIN_LOG", LogPath().c_str());
        SetEnvironmentVariableA("KESTREL_TWAIN_SCAN", "bw");
    }
    void TearDown() override
    {
        MainWindow::TearDown();
        TwainLibraryName = savedLibrary;
        SetEnvironmentVariableA("KESTREL_TWAIN_LOG", nullptr);
        SetEnvironmentVariableA("KESTREL_TWAIN_SCAN", nullptr);
        std::remove(LogPath().c_str());
    }

    static std::string LogPath() { return TestTempPath("twain_fixture.log"); }
    static int Logged(const std::string& line)
    {
        std::ifstream log(LogPath());
        int n = 0;
        for (std::string l; std::getline(log, l);) n += l == line;
        return n;
    }

    const char* savedLibrary = nullptr;
};

TEST_F(Scanning, EachKindOfBitmapOpensOrIsRefused)
{
    ASSERT_TRUE(started);
    ASSERT_TRUE(MainForm->Acquire1->GetEnabled());
    ASSERT_TRUE(MainForm->SelectSource1->GetEnabled());
    struct Case {
        const char* kind;
        int width, height;  // 0: no window
        unsigned long (*pixel)(int, int);
        int rows;  // read from the bottom up
    } cases[] = {
        {"bw", 37, 11, BwPixel, 11},      {"truncated", 37, 11, BwPixel, 3}, {"rgb24", 5, 3, RgbPixel, 3},
        {"topdown", 5, 3, RgbPixel, 3},   {"pal8", 6, 4, Pal8Pixel, 4},      {"fields32", 5, 3, RgbPixel, 3},
        {"core", 0, 0, nullptr, 0},       {"cancel", 0, 0, nullptr, 0},
    };
    int acquired = 0, freed = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        SetEnvironmentVariableA("KESTREL_TWAIN_SCAN", c.kind);
        int windows = ImageFormCount();
        recorder->Boxes.clear();
        MainForm->Acquire1Click(MainForm);
        gui::PumpUntilIdle();
        EXPECT_EQ(++acquired, Logged("AcquireNative"));
        bool handedOut = std::string(c.kind) != "cancel";
        freed += handedOut;
        EXPECT_EQ(freed, Logged("FreeNative"));
        if (c.width == 0) {
            EXPECT_EQ(windows, ImageFormCount());
            if (handedOut) {
                ASSERT_EQ(1u, recorder->Boxes.size());
                EXPECT_STREQ(Translate("ErrScan").c_str(), recorder->Boxes[0].Text.c_str());
            } else {
                EXPECT_TRUE(recorder->Boxes.empty());
            }
            continue;
        }
        EXPECT_TRUE(recorder->Boxes.empty());
        ASSERT_EQ(windows + 1, ImageFormCount());
        UDBuffer& pic = *CurrentPicture;
        EXPECT_EQ(&GetImageForm(windows)->Picture, &pic);
        ASSERT_EQ(c.width, pic.Width());
        ASSERT_EQ(c.height, pic.Height());
        EXPECT_NE(0u, pic.modified);
        EXPECT_EQ(1, pic.noFile);
        EXPECT_EQ(c.width, MainForm->NewWidth);  // New offers the scanned size next
        HideOutline();  // the pen's outline is drawn into the picture under the pointer
        for (int y = c.height - c.rows; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                ASSERT_EQ(c.pixel(x, y), *pic.At(x, y) & 0xFFFFFF) << x << "," << y;
    }
    EXPECT_EQ(0, Logged("AcquireNative with bad arguments"));
}

TEST_F(Scanning, SourceChoiceGetsTheWindowAndNoSourceGreysBothItems)
{
    ASSERT_TRUE(started);
    MainForm->SelectSource1Click(MainForm);
    EXPECT_EQ(1, Logged("SelectImageSource"));
    SetEnvironmentVariableA("KESTREL_TWAIN_SCAN", "unavailable");
    StartAgain();
    ASSERT_TRUE(started);
    EXPECT_FALSE(MainForm->Acquire1->GetEnabled());
    EXPECT_FALSE(MainForm->SelectSource1->GetEnabled());
}

}  // namespace
