// The halves of the clipboard exchange with programs outside Wine that
// clipboard_bridge_crosscheck.py drives: Kestrel copies a picture and keeps
// running while the script reads the X clipboard, and Kestrel pastes what
// the script put there. Without the script's folder they skip.
#include <cstdlib>
#include <string>

#include "mainwindow_fixture.h"
#include "selection_trace.h"

namespace {

const int Width = 16, Height = 10;

// The pictures both sides know, as 0x00RRGGBB.
unsigned long Copied(int x, int y) { return unsigned(x * 15) << 16 | unsigned(y * 25) << 8 | unsigned((x + y) * 7); }
unsigned long Pasted(int x, int y) { return unsigned(255 - x * 9) << 16 | unsigned(y * 21) << 8 | 0x40u; }

class ClipboardBridge : public MainWindow {
protected:
    std::string dir;

    void SetUp() override
    {
        const char* d = std::getenv("KESTREL_BRIDGE_DIR");
        if (!d) GTEST_SKIP() << "run by clipboard_bridge_crosscheck.py";
        dir = d;
        MainWindow::SetUp();
        ASSERT_TRUE(started);
    }
    bool Exists(const char* name) const { return GetFileAttributesA((dir + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES; }
    void Touch(const char* name) const
    {
        HANDLE h = CreateFileA((dir + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
    }
};

TEST_F(ClipboardBridge, CopiesAPictureAndHoldsItWhileTheScriptReads)
{
    UDBuffer& pic = First()->Picture;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) *pic.At(x, y) = Copied(x, y) | SelectedBit;
    pic.selMinX = 0, pic.selMinY = 0, pic.selMaxX = Width - 1, pic.selMaxY = Height - 1;
    pic.TraceSelection();
    MainForm->Copy1Click(MainForm);
    Touch("copied");
    for (int i = 0; i < 1500 && !Exists("read"); ++i) {
        gui::PumpUntilIdle();
        Sleep(20);
    }
    EXPECT_TRUE(Exists("read"));
}

TEST_F(ClipboardBridge, PastesThePictureTheScriptPut)
{
    MainForm->Paste1Click(MainForm);
    UDBuffer& pic = First()->Picture;
    int wrong = 0;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) wrong += (*pic.At(x, y) & 0x00FFFFFF) != Pasted(x, y);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(pic.selMaxX, Width - 1);
    EXPECT_EQ(pic.selMaxY, Height - 1);
}

}  // namespace
