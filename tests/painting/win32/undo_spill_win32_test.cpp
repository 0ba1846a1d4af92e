// Spill files on real Windows drives. The full-disk case needs a small
// drive: KESTREL_FULL_DRIVE names a folder on one (a tmpfs of a few hundred
// kilobytes mapped as a Wine drive); without it that case is skipped.
#include <gtest/gtest.h>

#include <cstdlib>

#include "messages.h"
#include "undo_entry.h"
#include "undo_platform.h"
#include "undo_settings.h"
#include "winapi.h"

namespace {

class RealSpill : public ::testing::Test {
protected:
    UDBuffer pic;
    std::vector<std::string> messages;

    void SetUp() override
    {
        SetUndoPlatform(nullptr);
        MessageBoxHook = [this](const AnsiString& text, const AnsiString&, unsigned) {
            messages.push_back(text.c_str());
            return 1;
        };
        UndoSettings = TUndoSettings();
        UndoSettings.memKB = 0;  // every step to disk
        pic.Alloc(Pair<int>{200, 150});
        for (int i = 0; i < 200 * 150; ++i) pic.pixels[i] = unsigned(i) * 2654435761u & 0xFFFFFF;
    }
    void TearDown() override
    {
        MessageBoxHook = nullptr;
        UndoSettings = TUndoSettings();
    }
    std::vector<unsigned long> Pixels() { return std::vector<unsigned long>(pic.pixels, pic.pixels + 200 * 150); }
};

}  // namespace

TEST_F(RealSpill, StepsRoundTripThroughTheTempFolderAndLeaveNoFiles)
{
    auto original = Pixels();
    ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, -1, 0, 0, 0));
    ASSERT_TRUE(pic.undoHead->onDisk);
    AnsiString file = pic.undoHead->spillFile;
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 296u + 200 * 150 * 4);
    pic.Box(Rect{10, 10, 100, 100}, 0x123456);
    UDBuffer::ShrinkUndo(&pic, 10, 10, 100, 100);
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    AnsiString cropped = pic.undoHead->spillFile;
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(Pixels(), original);
    EXPECT_EQ(GetFileAttributesA(cropped.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(UDBuffer::Redo(&pic));
    EXPECT_EQ(*pic.At(50, 50), 0x123456u);
    UDBuffer::DropAllRedo(&pic);
    UDBuffer::DropUndo(&pic);
    EXPECT_TRUE(messages.empty());
}

TEST_F(RealSpill, UnopenableFileIsReportedAndThePictureKept)
{
    ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, 0, 0, 49, 49));
    pic.Box(Rect{0, 0, 49, 49}, 0x00FF00);
    auto painted = Pixels();
    ASSERT_TRUE(DeleteFileA(pic.undoHead->spillFile.c_str()));
    EXPECT_FALSE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(Pixels(), painted);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(pic.undoHead, nullptr);
}

TEST_F(RealSpill, FullDiskRefusesTheStepAndLeavesNoFile)
{
    const char* drive = std::getenv("KESTREL_FULL_DRIVE");
    if (!drive) GTEST_SKIP() << "KESTREL_FULL_DRIVE not set";
    UndoSettings.dir = drive;
    UndoSettings.diskKB = 1 << 30;
    auto original = Pixels();
    int saved = 0;
    while (saved < 100 && UDBuffer::SaveUndo(&pic, "Paint", nullptr, -1, 0, 0, 0)) ++saved;
    ASSERT_LT(saved, 100) << "the drive never filled up";
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(Pixels(), original);
    // What was kept still undoes; no half-written file remains.
    int files = 0;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((UndoDirectory() + "KS*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            ++files;
            EXPECT_EQ(found.nFileSizeLow, 296u + 200 * 150 * 4) << found.cFileName;
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    EXPECT_EQ(files, saved);
    for (int i = 0; i < saved; ++i) ASSERT_TRUE(UDBuffer::Undo(&pic, false));
    EXPECT_EQ(Pixels(), original);
}
