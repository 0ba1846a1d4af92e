// The Edit menu in the started program: the clipboard keys from a picture
// window, the bitmap another process would read, and the steps and captions
// the commands leave.
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "../../gui/win32/timed_step.h"
#include "mainwindow_fixture.h"
#include "messages.h"
#include "selection_trace.h"
#include "toolmanager.h"
#include "undo_entry.h"

namespace {

class EditMenu : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        ASSERT_TRUE(started);
        // The pointer away from the pictures: a tool's outline under it is
        // drawn into the picture and taken back when a command suspends the
        // tool, which would read as a change.
        gui::InputMouseMoveTo(1023, 767);
        gui::PumpUntilIdle();
        FocusWindow(First());
        MessageBoxHook = [this](const AnsiString& text, const AnsiString&, unsigned) {
            boxes.push_back(text.c_str());
            return IDOK;
        };
    }
    void TearDown() override
    {
        MessageBoxHook = nullptr;
        MainWindow::TearDown();
    }

    // An L of three pixels in the corner of the 2 x 2 box at (1, 1).
    void SelectShape()
    {
        UDBuffer& pic = First()->Picture;
        for (Pair<int> p : {Pair<int>{1, 1}, Pair<int>{1, 2}, Pair<int>{2, 2}}) *pic.At(p.x, p.y) |= SelectedBit;
        pic.selMinX = 1, pic.selMinY = 1, pic.selMaxX = 2, pic.selMaxY = 2;
        pic.TraceSelection();
    }

    static std::vector<unsigned char> ClipboardDib()
    {
        std::vector<unsigned char> bytes;
        if (!OpenClipboard(nullptr)) return bytes;
        HANDLE block = GetClipboardData(CF_DIB);
        const unsigned char* at = block ? static_cast<const unsigned char*>(GlobalLock(block)) : nullptr;
        if (at) bytes.assign(at, at + GlobalSize(block));
        if (at) GlobalUnlock(block);
        CloseClipboard();
        return bytes;
    }

    static void PutClipboardDib(const std::vector<unsigned char>& dib)
    {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, dib.size());
        std::memcpy(GlobalLock(block), dib.data(), dib.size());
        GlobalUnlock(block);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        SetClipboardData(CF_DIB, block);
        CloseClipboard();
    }

    std::vector<std::string> boxes;
};

TEST_F(EditMenu, CopiedShapeTravelsWithTheKeyAndPastesBackAsTheSelection)
{
    SelectShape();
    UDBuffer& pic = First()->Picture;
    std::vector<unsigned long> colours;
    for (int i = 0; i < 4; ++i) colours.push_back(pic.pixels[i + pic.stride] & 0xFFFFFF);
    gui::InputKeyStroke('C', VK_CONTROL);
    gui::PumpUntilIdle();
    std::vector<unsigned char> dib = ClipboardDib();
    ASSERT_GE(dib.size(), 56u);
    BITMAPINFOHEADER h;
    std::memcpy(&h, dib.data(), sizeof h);
    EXPECT_EQ(32, h.biBitCount);
    EXPECT_EQ(DWORD(BI_RGB), h.biCompression);
    EXPECT_EQ(2, h.biWidth);
    EXPECT_EQ(2, h.biHeight);  // bottom-up
    const unsigned char key[4] = {0, 0, 0, 1};
    EXPECT_EQ(0, std::memcmp(dib.data() + 40 + 12, key, 4)) << "the unselected top-right pixel";
    for (int i : {0, 1, 2}) EXPECT_NE(0, std::memcmp(dib.data() + 40 + 4 * i, key, 4)) << i;

    pic.DropSelection(false);
    gui::InputKeyStroke(VK_INSERT, VK_SHIFT);
    gui::PumpUntilIdle();
    EXPECT_TRUE(boxes.empty());
    ASSERT_NE(nullptr, pic.undoHead);
    EXPECT_STREQ("PasteImg", pic.undoHead->key.c_str());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            // Without a selection the paste lands at the picture's corner.
            bool inShape = (x == 0 && y == 0) || (x == 0 && y == 1) || (x == 1 && y == 1);
            EXPECT_EQ(inShape ? SelectedBit : 0u, *pic.At(x, y) & SelectedBit) << x << "," << y;
        }
    EXPECT_TRUE(pic.HasSelection());

    MainForm->Edit1Click(MainForm);
    EXPECT_STREQ((Translate("UndoMenu") + " " + Translate("PasteImg")).c_str(), MainForm->Undo1->GetCaption().c_str());
    EXPECT_TRUE(MainForm->Undo1->GetEnabled());
}

TEST_F(EditMenu, DamagedClipboardBitmapIsRefusedWithTheMessage)
{
    UDBuffer& pic = First()->Picture;
    // Compared without the tool's outline, which is drawn into the picture
    // whenever the window shows it (activation by any window comes and goes).
    HideOutline();
    std::vector<unsigned long> before(pic.pixels, pic.pixels + pic.stride * pic.Height());
    std::vector<unsigned char> dib(60, 0);
    const uint32_t header[] = {400, 2, 2, 0x200001};  // a header larger than the block
    std::memcpy(dib.data(), header, sizeof header);
    PutClipboardDib(dib);
    MainForm->Paste1Click(MainForm);
    EXPECT_EQ(std::vector<std::string>{Translate("ErrClp").c_str()}, boxes);
    HideOutline();
    EXPECT_EQ(before, std::vector<unsigned long>(pic.pixels, pic.pixels + pic.stride * pic.Height()));
}

// The system turns a device-dependent bitmap into bit fields with the masks
// after the header; read as plain rows, the picture would shift by three.
TEST_F(EditMenu, DeviceBitmapPastesWithoutShift)
{
    const unsigned long row[4] = {0x112233, 0x445566, 0x778899, 0xAABBCC};
    HDC screen = GetDC(nullptr);
    HBITMAP ddb = CreateCompatibleBitmap(screen, 4, 1);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBits(screen, ddb, 0, 1, row, &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_BITMAP, ddb);
    CloseClipboard();
    MainForm->Paste1Click(MainForm);
    EXPECT_TRUE(boxes.empty());
    UDBuffer& pic = First()->Picture;
    for (int x = 0; x < 4; ++x) EXPECT_EQ(row[x] | SelectedBit, *pic.At(x, 0)) << x;
}

TEST_F(EditMenu, InvertClearAndTheUndoButton)
{
    SelectShape();
    UDBuffer& pic = First()->Picture;
    MainForm->InvertSel1Click(MainForm);
    EXPECT_STREQ("InvSel", pic.undoHead->key.c_str());
    EXPECT_EQ(0u, *pic.At(1, 1) & SelectedBit);
    MainForm->ClearSel1Click(MainForm);
    EXPECT_FALSE(pic.HasSelection());
    MainForm->UndoBtn->Click();
    gui::PumpUntilIdle();
    EXPECT_EQ(SelectedBit, *pic.At(0, 0) & SelectedBit) << "the inverted selection is back";
}

// Another program keeps the clipboard open: Cut says so and takes nothing
// away, since nothing reached the clipboard.
TEST_F(EditMenu, CutWhileTheClipboardIsHeldKeepsThePixels)
{
    SelectShape();
    UDBuffer& pic = First()->Picture;
    HideOutline();
    std::vector<unsigned long> before(pic.pixels, pic.pixels + pic.stride * pic.Height());
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr), done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        bool held = OpenClipboard(nullptr) != 0;
        SetEvent(opened);
        WaitForSingleObject(done, 10000);
        if (held) CloseClipboard();
    });
    WaitForSingleObject(opened, 10000);
    bool escaped = false;
    try {
        MainForm->Cut1Click(MainForm);
    } catch (...) {
        escaped = true;
    }
    SetEvent(done);
    holder.join();
    CloseHandle(opened);
    CloseHandle(done);
    EXPECT_FALSE(escaped);
    EXPECT_EQ(std::vector<std::string>{Translate("ErrClp").c_str()}, boxes);
    HideOutline();
    EXPECT_EQ(before, std::vector<unsigned long>(pic.pixels, pic.pixels + pic.stride * pic.Height()));
    EXPECT_TRUE(pic.undoHead == nullptr || pic.undoHead->key != "CutImg");
}

struct EditKeyCase {
    const char* what;
    WORD key, modifier;
    // The newest step after the key; null: the clipboard got the shape;
    // empty: the step recorded before the key was undone.
    const char* step;
};

const EditKeyCase kEditKeys[] = {
    {"Ctrl+Insert copies", VK_INSERT, VK_CONTROL, nullptr},
    {"Ctrl+C copies", 'C', VK_CONTROL, nullptr},
    {"Ctrl+X cuts", 'X', VK_CONTROL, "CutImg"},
    {"Shift+Delete cuts", VK_DELETE, VK_SHIFT, "CutImg"},
    {"Ctrl+Delete deletes", VK_DELETE, VK_CONTROL, "DeleteImg"},
    {"Shift+Insert pastes", VK_INSERT, VK_SHIFT, "PasteImg"},
    {"Ctrl+Z undoes", 'Z', VK_CONTROL, ""},
};

TEST_F(EditMenu, EveryEditKeyWorksFromBothWindows)
{
    UDBuffer& pic = First()->Picture;
    for (bool fromMainWindow : {false, true})
        for (const EditKeyCase& c : kEditKeys) {
            SCOPED_TRACE(std::string(c.what) + (fromMainWindow ? " from the main window" : " from the picture"));
            while (pic.undoHead) UDBuffer::DropUndo(&pic);
            pic.DropSelection(false);
            SelectShape();
            PutClipboardDib(std::vector<unsigned char>(40 + 4, 0));  // a 0 x 0 header: anything copied replaces it
            if (c.step && !*c.step) {
                ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "pen", nullptr, -1, 0, 0, 0));
            }
            HWND target = fromMainWindow ? MainForm->GetHandle() : First()->GetHandle();
            SetForegroundWindow(target);
            SetFocus(target);
            gui::PumpUntilIdle();
            gui::InputKeyStroke(c.key, c.modifier);
            gui::PumpUntilIdle();
            if (c.step && !*c.step) {
                EXPECT_EQ(nullptr, pic.undoHead);
            } else if (c.step) {
                ASSERT_NE(nullptr, pic.undoHead);
                EXPECT_STREQ(c.step, pic.undoHead->key.c_str());
            } else {
                std::vector<unsigned char> dib = ClipboardDib();
                ASSERT_GE(dib.size(), 40u);
                EXPECT_EQ(2u, unsigned(dib[4]));
            }
        }
}

}  // namespace
