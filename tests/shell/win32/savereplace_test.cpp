// Saving over an existing file through Pixmill, in every writable format:
// a full drive, a read-only drive, a read-only file and a cancel each leave
// the old file byte for byte and nothing beside it.
#include "picturefiles_fixture.h"

#include <cstdlib>
#include <set>

#include "exceptions.h"
#include "filereplace.h"
#include "picturefiles.h"

namespace {

std::set<std::string> Listing(const std::string& folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(fd.cFileName);
    while (FindNextFileA(h, &fd));
    FindClose(h);
    return names;
}

// Far more than the 64 KB drive holds in any format: noise compresses badly.
void FillNoise(Buffer& b, int w, int h)
{
    b.Alloc(Pair<int>{w, h});
    unsigned long seed = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            *b.At(x, y) = (seed >> 8) & 0xFFFFFF;
        }
}

bool StopAtOnce(int) { return false; }

enum Outcome { Written, Cancelled, Raised };

Outcome SaveOver(Buffer& b, const std::string& name, GFXFile* format)
{
    GFXSaveParams p;
    memset(&p, 0, sizeof p);
    p.format = format;
    try {
        return GFXFile::Save(b, name.c_str(), nullptr, &p) ? Written : Cancelled;
    } catch (Exception&) {
        return Raised;
    }
}

class SaveOverTest : public PictureFolderTest {
protected:
    void SetUp() override
    {
        PictureFolderTest::SetUp();
        FillNoise(big, 400, 400);
    }
    // The old file in folder for a format: a small picture of its own kind,
    // or the one the read-only drive was given.
    std::string OldFile(const std::string& folder, GFXFile* f, bool given)
    {
        if (given) return folder + "kept.pic";
        std::string name = folder + "old." + DefaultExtension(f).c_str();
        Buffer small;
        FillPattern(small, 8, 6, 1);
        GFXSaveParams p;
        memset(&p, 0, sizeof p);
        p.format = f;
        EXPECT_TRUE(GFXFile::Save(small, name.c_str(), nullptr, &p)) << name;
        return name;
    }

    Buffer big;
};

TEST_F(SaveOverTest, EveryWritableFormatKeepsTheOldFile)
{
    enum How { FullDrive, ReadOnlyDrive, ReadOnlyFile, Cancel };
    const struct {
        const char* what;
        const char* drive;  // variable naming the drive; null = the test folder
        How how;
    } cases[] = {
        {"full drive", "KESTREL_FULL_DRIVE", FullDrive},
        {"read-only drive", "KESTREL_READONLY_DRIVE", ReadOnlyDrive},
        {"read-only file", nullptr, ReadOnlyFile},
        {"cancelled", nullptr, Cancel},
    };
    int formats = 0;
    for (const auto& c : cases) {
        std::string folder = dir + "\\";
        if (c.drive) {
            const char* drive = std::getenv(c.drive);
            if (!drive) {
                std::printf("skipped: %s (%s not set)\n", c.what, c.drive);
                continue;
            }
            folder = drive;
            if (c.how == FullDrive) {
                folder += "kestrel-replace\\";
                CreateDirectoryA(folder.c_str(), nullptr);
            }
        }
        for (GFXFile* f = GFXFile::Formats(); f; f = f->next) {
            if (!IsWritable(f)) continue;
            SCOPED_TRACE(std::string(c.what) + ", " + f->name.c_str());
            ++formats;
            GFXFile::SetProgFunc(nullptr, nullptr, nullptr);
            std::string name = OldFile(folder, f, c.how == ReadOnlyDrive);
            if (c.how == ReadOnlyFile) SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_READONLY);
            if (c.how == Cancel) GFXFile::SetProgFunc(nullptr, StopAtOnce, nullptr);
            std::string before = ReadBytes(name);
            std::set<std::string> files = Listing(folder);
            ASSERT_NE(before, "<missing>");
            EXPECT_EQ(SaveOver(big, name, f), c.how == Cancel ? Cancelled : Raised);
            EXPECT_TRUE(ReadBytes(name) == before) << "the old file changed";
            EXPECT_EQ(Listing(folder), files);
            DWORD attributes = GetFileAttributesA(name.c_str());
            EXPECT_EQ((attributes & FILE_ATTRIBUTE_READONLY) != 0, c.how == ReadOnlyFile);
            if (c.how == ReadOnlyFile) SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (c.how != ReadOnlyDrive) DeleteFileA(name.c_str());
        }
        if (c.how == FullDrive) RemoveDirectoryA(folder.c_str());
    }
    GFXFile::SetProgFunc(nullptr, nullptr, nullptr);
    EXPECT_GE(formats, 16);  // at least the two situations every machine has
}

// Writers choose a variant by the target's extension (".rle" compresses a
// BMP), never by the temporary file's; and two writes of one target at
// once each get a temporary file of their own.
TEST_F(SaveOverTest, TemporaryFilesStayOutOfTheWay)
{
    Buffer b;
    FillPattern(b, 32, 8, 2);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) *b.At(x, y) = 0x102030;
    GFXSaveParams p;
    memset(&p, 0, sizeof p);
    p.bits = 8;
    ASSERT_TRUE(GFXFile::Save(b, Path("pic.rle").c_str(), nullptr, &p));
    std::string head = ReadBytes(Path("pic.rle"));
    ASSERT_GT(head.size(), 34u);
    EXPECT_EQ(head[30], 1);  // BI_RLE8

    AnsiString target = Path("two.bin").c_str();
    {
        TReplacingFile first(target), second(target);
        first.Stream()->WriteBuffer("first", 5);
        second.Stream()->WriteBuffer("second", 6);
        first.Commit();
        EXPECT_EQ(ReadBytes(target.c_str()), "first");
        second.Commit();
    }
    EXPECT_EQ(ReadBytes(target.c_str()), "second");
    EXPECT_EQ(Files().size(), 2u);  // pic.rle and two.bin
}

}  // namespace
