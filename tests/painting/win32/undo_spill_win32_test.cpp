// Spill files on real Windows drives. The full-disk and read-only cases need
// small drives (tmpfs mounts mapped as Wine drives by the test runner):
// KESTREL_UNDO_DRIVE holds a few steps before it fills, KESTREL_READONLY_DRIVE
// refuses every write; without them those cases are skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "messages.h"
#include "pictureview.h"
#include "undo_entry.h"
#include "undo_platform.h"
#include "undo_settings.h"
#include "winapi.h"

namespace {

// Keeps a picture in the spill order for as long as it lives.
struct ImageRegistration {
    UDBuffer* picture;
    ~ImageRegistration() { RemoveImagePicture(picture); }
};

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

// Both limits hold one whole step of a 100 x 100 picture. The newer step of
// one picture went to disk for want of memory; another picture's new step
// takes its disk room, and the older whole-picture step stays and undoes.
TEST_F(RealSpill, FreeingDiskRoomKeepsAnOlderWholePictureStep)
{
    UndoSettings.memKB = UndoSettings.diskKB = 40;
    UDBuffer a, b;
    a.Alloc(Pair<int>{100, 100});
    b.Alloc(Pair<int>{100, 100});
    for (int i = 0; i < 100 * 100; ++i) a.pixels[i] = unsigned(i) * 40503u & 0xFFFFFF;
    ASSERT_TRUE(AddImagePicture(&a));
    ImageRegistration keepA{&a};
    ASSERT_TRUE(AddImagePicture(&b));
    ImageRegistration keepB{&b};
    std::vector<unsigned long> earlier(a.pixels, a.pixels + 100 * 100);
    ASSERT_TRUE(UDBuffer::SaveUndo(&a, "Whole", nullptr, -1, 0, 0, 0));
    a.Box(Rect{0, 0, 99, 49}, 0x101010);
    ASSERT_TRUE(UDBuffer::SaveUndo(&a, "Paint", nullptr, 10, 10, 59, 59));
    a.Box(Rect{10, 10, 59, 59}, 0x202020);
    ASSERT_TRUE(a.undoHead->onDisk);
    ASSERT_FALSE(a.undoHead->next->onDisk);

    ASSERT_TRUE(UDBuffer::SaveUndo(&b, "Whole", nullptr, -1, 0, 0, 0));
    ASSERT_NE(a.undoHead, nullptr);
    EXPECT_EQ(a.undoHead->next, nullptr);
    EXPECT_TRUE(a.undoHead->whole);
    EXPECT_TRUE(a.undoHead->onDisk) << "the kept step spills in place of the deleted one";
    EXPECT_EQ(UndoTotal.undo.diskKB, 40);
    ASSERT_TRUE(UDBuffer::Undo(&a, true));
    EXPECT_TRUE(std::equal(earlier.begin(), earlier.end(), a.pixels));
    EXPECT_TRUE(messages.empty());
}

TEST_F(RealSpill, FullDiskKeepsWhatFitsAndRefusesTheRestWithoutAFile)
{
    const char* drive = std::getenv("KESTREL_UNDO_DRIVE");
    if (!drive) GTEST_SKIP() << "KESTREL_UNDO_DRIVE not set";
    UndoSettings.dir = drive;
    UndoSettings.diskKB = 1 << 30;
    auto original = Pixels();
    // Each step paints, so that each undo has something of its own to bring back.
    std::vector<std::vector<unsigned long>> before;
    int saved = 0;
    while (saved < 100) {
        before.push_back(Pixels());
        if (!UDBuffer::SaveUndo(&pic, "Paint", nullptr, -1, 0, 0, 0)) break;
        pic.Box(Rect{saved, saved, saved + 20, saved + 20}, 0x010101u * unsigned(saved + 1));
        ++saved;
    }
    ASSERT_LT(saved, 100) << "the drive never filled up";
    ASSERT_GE(saved, 2) << "the drive holds too little to show kept steps";
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(Pixels(), before.back()) << "the refused step changed the picture";
    // Only whole spill files remain, one per kept step.
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
    for (int i = saved - 1; i >= 0; --i) {
        ASSERT_TRUE(UDBuffer::Undo(&pic, false)) << i;
        EXPECT_EQ(Pixels(), before[i]) << "undo " << i;
    }
    EXPECT_EQ(Pixels(), original);
    UDBuffer::DropAllRedo(&pic);
}

// A folder that refuses writes: steps stay in memory while they fit, the
// step that needs the disk is refused with one message, nothing is lost.
TEST_F(RealSpill, ReadOnlyFolderKeepsStepsInMemoryWhileTheyFit)
{
    const char* drive = std::getenv("KESTREL_READONLY_DRIVE");
    if (!drive) GTEST_SKIP() << "KESTREL_READONLY_DRIVE not set";
    UndoSettings.dir = drive;
    UndoSettings.memKB = 8;
    auto original = Pixels();
    ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, 0, 0, 9, 9));  // 1 KB
    pic.Box(Rect{0, 0, 9, 9}, 0x111111);
    ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, 0, 0, 39, 29));  // 5 KB
    pic.Box(Rect{0, 0, 39, 29}, 0x222222);
    auto painted = Pixels();
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, 0, 0, 39, 29));  // over the limit, no disk
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(Pixels(), painted);
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(Pixels(), original);
}
