// The palette bar saved to and loaded from palette files through the File
// menu's commands: what is written reads back equal, damaged files keep
// the bar within its range, and the dialogs remember the folder and name.
#include <fstream>
#include <sstream>
#include <string>

#include "../textfile_fixture.h"
#include "dialogs.h"
#include "mainwindow_fixture.h"
#include "messages.h"
#include "palette_commands.h"

namespace {

class PaletteFiles : public MainWindow {
protected:
    void TearDown() override
    {
        TCommonDialog::ExecuteHook = nullptr;
        std::remove(Path().c_str());
        MainWindow::TearDown();
    }
    static std::string Path() { return TestTempPath("bar.pal"); }
    static std::string FileText()
    {
        std::ifstream f(Path(), std::ios::binary);
        std::stringstream text;
        text << f.rdbuf();
        return text.str();
    }
    static std::vector<unsigned long> Colours() { return PaletteBarCells.Colours(); }
};

TEST_F(PaletteFiles, SavedBarLoadsBackEqualThroughTheRememberedFolder)
{
    ASSERT_TRUE(started);
    BuildPalette(MainForm->PaletteHolder, 8, true);
    SetPaletteColor(MainForm->PaletteHolder, 5, 0x123456);
    std::vector<unsigned long> saved = Colours();
    std::string initialDir;
    TCommonDialog::ExecuteHook = [&](TCommonDialog* d) {
        TOpenDialog* dialog = static_cast<TOpenDialog*>(d);
        initialDir = dialog->GetInitialDir().c_str();
        dialog->SetFileName(Path().c_str());
        return true;
    };
    MainForm->SavePaletteClick(MainForm);
    std::string text = FileText();
    EXPECT_EQ(0u, text.find("8\r\n000000\r\n00FFFF\r\n0000FF\r\nFF00FF\r\n00FF00\r\n123456\r\n")) << text;
    EXPECT_EQ(std::string(PaletteDirectory.c_str()) + PaletteFileName.c_str(), Path());

    BuildPalette(MainForm->PaletteHolder, 64, true);
    MainForm->LoadPaletteClick(MainForm);
    EXPECT_EQ(std::string(PaletteDirectory.c_str()), initialDir);
    EXPECT_EQ(saved, Colours());
    EXPECT_TRUE(recorder->Boxes.empty());
}

TEST_F(PaletteFiles, DamagedFilesKeepTheBarWithinItsRange)
{
    ASSERT_TRUE(started);
    struct Case {
        const char* text;
        int cells;
        int fromFile;  // cells the file sets; the rest keep their colours
        const char* message;
    } cases[] = {
        {"12\n0000A1\n0000A2\n0000A3\n", 12, 3, nullptr},
        {"1000000\n0000A1\n", MaxPaletteCells, 1, nullptr},
        {"-5\n0000A1\n", MinPaletteCells, 1, nullptr},
        {"garbage\n", 16, 0, "ErrOpenPal"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        BuildPalette(MainForm->PaletteHolder, 16, true);
        std::vector<unsigned long> before = DefaultPalette();
        WriteTextFile(Path(), c.text);
        recorder->Boxes.clear();
        EXPECT_EQ(c.message == nullptr, LoadPaletteFile(MainForm->PaletteHolder, Path().c_str()));
        std::vector<unsigned long> after = Colours();
        ASSERT_EQ(size_t(c.cells), after.size());
        for (int i = 0; i < c.cells; ++i) {
            unsigned long expected = i < c.fromFile ? 0xA1ul + i : (i < 16 ? before[i] : 0);
            EXPECT_EQ(expected, after[i]) << i;
        }
        ASSERT_EQ(c.message ? 1u : 0u, recorder->Boxes.size());
        if (c.message) {
            EXPECT_STREQ(Translate(c.message).c_str(), recorder->Boxes[0].Text.c_str());
        }
    }
    recorder->Boxes.clear();
    std::remove(Path().c_str());
    EXPECT_FALSE(LoadPaletteFile(MainForm->PaletteHolder, Path().c_str()));
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_STREQ(Translate("ErrOpenPal").c_str(), recorder->Boxes[0].Text.c_str());
}

TEST_F(PaletteFiles, UnwritableFileKeepsTheOldOneAndSaysSo)
{
    ASSERT_TRUE(started);
    WriteTextFile(Path(), "8\n");
    SetFileAttributesA(Path().c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(SavePaletteFile(Path().c_str()));
    SetFileAttributesA(Path().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ("8\n", FileText());
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_STREQ(Translate("ErrSavePal").c_str(), recorder->Boxes[0].Text.c_str());
}

}  // namespace
