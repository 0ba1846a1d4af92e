// Undo after the preferences change its folder or lower its limits, with
// real spill files in two folders: every file that can move moves, a step
// whose file cannot goes with its older steps and the user is told, and
// trimming keeps the newest step while it spills and deletes the oldest.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "messages.h"
#include "pictureview.h"
#include "undo_entry.h"
#include "undo_history.h"
#include "undo_platform.h"
#include "undo_settings.h"

namespace {

namespace fs = std::filesystem;

// Spill files on the real disk through the C library, in both builds.
class DiskFolder : public UndoPlatform {
public:
    class File : public UndoFile {
    public:
        explicit File(std::FILE* file) : f(file) {}
        ~File() override { Close(); }
        bool Write(const void* data, unsigned count) override { return f && std::fwrite(data, 1, count, f) == count; }
        bool Read(void* data, unsigned count) override { return f && std::fread(data, 1, count, f) == count; }
        bool Seek(long long offset) override { return f && std::fseek(f, long(offset), SEEK_SET) == 0; }
        long long Size() override
        {
            if (!f) return -1;
            long at = std::ftell(f);
            if (std::fseek(f, 0, SEEK_END) != 0) return -1;
            long size = std::ftell(f);
            std::fseek(f, at, SEEK_SET);
            return size;
        }
        bool Close() override
        {
            bool ok = !f || std::fclose(f) == 0;
            f = nullptr;
            return ok;
        }

    private:
        std::FILE* f;
    };

    unsigned long tick = 5000;

    UndoFile* CreateNew(const AnsiString& path, bool& exists) override
    {
        exists = Exists(path);
        std::FILE* f = exists ? nullptr : std::fopen(path.c_str(), "wb");
        return f ? new File(f) : nullptr;
    }
    UndoFile* OpenRead(const AnsiString& path) override
    {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        return f ? new File(f) : nullptr;
    }
    bool Exists(const AnsiString& path) override
    {
        std::error_code error;
        return fs::exists(fs::path(path.c_str()), error);
    }
    bool Delete(const AnsiString& path) override { return std::remove(path.c_str()) == 0; }
    // As the system's move: never over an existing name.
    bool Move(const AnsiString& from, const AnsiString& to) override
    {
        return !Exists(to) && std::rename(from.c_str(), to.c_str()) == 0;
    }
    long long AvailableMemoryKB() override { return 1LL << 30; }
    unsigned long TickCount() override { return tick++; }
    int Random() override { return 7; }
    AnsiString TempDirectory() override { return AnsiString(); }
};

class UndoMove : public ::testing::Test {
protected:
    DiskFolder disk;
    fs::path from, to;
    UDBuffer pic;
    int messages = 0;

    void SetUp() override
    {
        fs::path root = fs::temp_directory_path() /
                        (std::string("undomove-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        from = root / "from";
        to = root / "to";
        fs::create_directories(from);
        fs::create_directories(to);
        SetUndoPlatform(&disk);
        MessageBoxHook = [this](const AnsiString&, const AnsiString&, unsigned) { return ++messages, 1; };
        UndoSettings = TUndoSettings();
        UndoSettings.memKB = 0;  // every step to disk
        UndoSettings.dir = Dir(from);
        pic.Alloc(Pair<int>{32, 32});
        for (int i = 0; i < 32 * 32; ++i) pic.pixels[i] = 0x00010203u * unsigned(i % 97);
        ASSERT_TRUE(AddImagePicture(&pic));
    }
    void TearDown() override
    {
        UDBuffer::DropAllRedo(&pic);
        while (pic.undoHead) UDBuffer::DropUndo(&pic);
        RemoveImagePicture(&pic);
        MessageBoxHook = nullptr;
        SetUndoPlatform(nullptr);
        UndoSettings = TUndoSettings();
        fs::remove_all(from.parent_path());
    }

    static AnsiString Dir(const fs::path& p) { return AnsiString((p.string() + "/").c_str()); }
    static int FilesIn(const fs::path& dir)
    {
        int n = 0;
        for (auto& entry : fs::directory_iterator(dir)) n += entry.is_regular_file();
        return n;
    }
    static bool In(const UndoEntry* e, const fs::path& dir) { return e->spillFile.Pos(Dir(dir)) == 1; }
    static int Count(const UndoEntry* e)
    {
        int n = 0;
        for (; e; e = e->next) ++n;
        return n;
    }
    std::vector<unsigned long> Pixels() { return std::vector<unsigned long>(pic.pixels, pic.pixels + 32 * 32); }

    void Paint(int step)
    {
        ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, step, step, 20 + step, 12 + step));
        pic.Box(Rect{step, step, 20 + step, 12 + step}, 0x00FF0000u + unsigned(step));
    }
};

}  // namespace

TEST_F(UndoMove, EveryFileMovesAndItsStepsRestoreFromTheNewFolder)
{
    auto original = Pixels();
    for (int step = 1; step <= 3; ++step) Paint(step);
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));  // a redo step on disk too
    ASSERT_EQ(FilesIn(from), 3);
    UndoSettings.dir = Dir(to);
    MoveAllUndoFiles();
    EXPECT_EQ(FilesIn(from), 0);
    EXPECT_EQ(FilesIn(to), 3);
    for (UndoEntry* e : {pic.undoHead, pic.undoHead->next, pic.redoHead}) EXPECT_TRUE(In(e, to));
    ASSERT_TRUE(UDBuffer::Redo(&pic));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(Pixels(), original);
    EXPECT_EQ(messages, 0);
}

TEST_F(UndoMove, AFileThatCannotMoveGoesWithItsOlderStepsAndTheUserIsTold)
{
    Paint(1);
    Paint(2);
    auto afterSecond = Pixels();
    Paint(3);
    UndoEntry* middle = pic.undoHead->next;
    // The new folder already holds something of that name.
    std::string name = fs::path(middle->spillFile.c_str()).filename().string();
    fs::create_directory(to / name);

    UndoSettings.dir = Dir(to);
    MoveAllUndoFiles();
    EXPECT_EQ(messages, 1);
    ASSERT_EQ(Count(pic.undoHead), 1);
    EXPECT_TRUE(In(pic.undoHead, to));
    EXPECT_EQ(FilesIn(from), 0) << "the discarded steps' files are deleted";
    EXPECT_EQ(pic.undoFig.diskKB, pic.undoHead->SizeKB());
    ASSERT_TRUE(UDBuffer::Undo(&pic, false));
    EXPECT_EQ(Pixels(), afterSecond);
}

TEST_F(UndoMove, LoweredLimitsSpillOldStepsThenDeleteTheOldestButKeepTheNewest)
{
    UndoSettings.memKB = 1 << 20;
    Paint(1);
    auto afterFirst = Pixels();
    Paint(2);
    Paint(3);
    ASSERT_EQ(FilesIn(from), 0);
    long long stepKB = pic.undoHead->SizeKB();

    UndoSettings.memKB = 0;
    UDBuffer::TrimUndo(&pic);
    EXPECT_FALSE(pic.undoHead->onDisk) << "the newest step stays in memory";
    EXPECT_TRUE(pic.undoHead->next->onDisk);
    EXPECT_TRUE(pic.undoHead->next->next->onDisk);
    EXPECT_EQ(FilesIn(from), 2);
    EXPECT_EQ(UndoTotal.undo.memKB, stepKB);
    EXPECT_EQ(UndoTotal.undo.diskKB, 2 * stepKB);

    UndoSettings.diskKB = stepKB;
    UDBuffer::TrimUndo(&pic);
    ASSERT_EQ(Count(pic.undoHead), 2);
    EXPECT_EQ(FilesIn(from), 1);
    EXPECT_EQ(UndoTotal.undo.diskKB, stepKB);
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(UDBuffer::Undo(&pic, false));
    EXPECT_EQ(Pixels(), afterFirst);
}
