#include "filestream.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <string.h>
#include <windows.h>

#include <vector>

#include "exceptions.h"

namespace {

// Each test works in a fresh folder of its own under %TEMP%.
class FileStreamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        ASSERT_NE(0u, GetTempPathA(MAX_PATH, temp));
        folder_.sprintf("%sclasslib-%lu-%lu", temp, GetCurrentProcessId(), GetTickCount());
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
    }

    void TearDown() override
    {
        for (const AnsiString& name : made_) DeleteFileA(name.c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    AnsiString Path(const char* name)
    {
        AnsiString path = folder_ + "\\" + name;
        made_.push_back(path);
        return path;
    }

    void MakeFile(const AnsiString& path, const char* text)
    {
        TFileStream f(path, fmCreate);
        f.WriteBuffer(text, lstrlenA(text));
    }

    AnsiString folder_;
    std::vector<AnsiString> made_;
};

AnsiString ReadAll(TStream& s)
{
    AnsiString text;
    text.SetLength(s.GetSize());
    s.SetPosition(0);
    if (text.Length() > 0) s.ReadBuffer(&text[1], text.Length());
    return text;
}

}  // namespace

TEST_F(FileStreamTest, MissingFileRaisesOpenErrorNamingIt)
{
    AnsiString missing = Path("missing.bmp");
    try {
        TFileStream f(missing, fmOpenRead);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& e) {
        EXPECT_EQ("Cannot open file " + missing, e.Message);
    }
    EXPECT_THROW(TFileStream(folder_ + "\\no\\such\\folder.tga", fmCreate), EFCreateError);
}

TEST_F(FileStreamTest, CreateWriteAndReadBack)
{
    AnsiString path = Path("picture.frm");
    {
        TFileStream out(path, fmCreate);
        EXPECT_EQ(path, out.FileName);
        out.WriteBuffer("hello, file", 11);
        EXPECT_EQ(11, out.GetSize());
    }
    TFileStream in(path, fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ("hello, file", ReadAll(in));
    char extra;
    EXPECT_EQ(0, in.Read(&extra, 1));
    EXPECT_THROW(in.ReadBuffer(&extra, 1), EReadError);
}

TEST_F(FileStreamTest, CreateEmptiesAnExistingFile)
{
    AnsiString path = Path("old.pcx");
    MakeFile(path, "previous contents");
    TFileStream again(path, fmCreate);
    EXPECT_EQ(0, again.GetSize());
}

TEST_F(FileStreamTest, ShareModesAreEnforced)
{
    AnsiString path = Path("shared.gif");
    MakeFile(path, "data");
    {
        TFileStream reader(path, fmOpenRead | fmShareDenyWrite);
        EXPECT_THROW(TFileStream(path, fmOpenReadWrite | fmShareDenyNone), EFOpenError);
        EXPECT_THROW(TFileStream(path, fmOpenWrite | fmShareDenyNone), EFOpenError);
        TFileStream second(path, fmOpenRead | fmShareDenyNone);
        EXPECT_EQ("data", ReadAll(second));
    }
    {
        TFileStream only(path, fmOpenReadWrite | fmShareExclusive);
        EXPECT_THROW(TFileStream(path, fmOpenRead | fmShareDenyNone), EFOpenError);
    }
    TFileStream afterwards(path, fmOpenReadWrite | fmShareDenyNone);
}

TEST_F(FileStreamTest, UnknownModesAreRefused)
{
    AnsiString path = Path("mode.ico");
    MakeFile(path, "x");
    EXPECT_THROW(TFileStream(path, 0x0003), EFOpenError);
    EXPECT_THROW(TFileStream(path, 0x0050), EFOpenError);
    EXPECT_THROW(TFileStream(path, 0x0100), EFOpenError);
}

TEST_F(FileStreamTest, SeekAndSize)
{
    AnsiString path = Path("seek.bin");
    TFileStream f(path, fmCreate);
    f.WriteBuffer("abcdef", 6);
    EXPECT_EQ(2, f.Seek(-4, soFromEnd));
    EXPECT_EQ(4, f.Seek(2, soFromCurrent));
    EXPECT_EQ(-1, f.Seek(-5, soFromCurrent));
    EXPECT_EQ(-1, f.Seek(INT_MAX, soFromCurrent));
    EXPECT_EQ(-1, f.Seek(0, 3));
    EXPECT_EQ(4, f.GetPosition());

    // Writing past the end fills the gap with zero bytes.
    EXPECT_EQ(8, f.Seek(8, soFromBeginning));
    f.WriteBuffer("z", 1);
    EXPECT_EQ(AnsiString("abcdef\0\0z", 9), ReadAll(f));

    f.SetPosition(7);
    f.SetSize(3);
    EXPECT_EQ(3, f.GetSize());
    EXPECT_EQ(3, f.GetPosition());
    f.SetPosition(1);
    f.SetSize(5);
    EXPECT_EQ(1, f.GetPosition());
    EXPECT_EQ(AnsiString("abc\0\0", 5), ReadAll(f));
    EXPECT_THROW(f.SetSize(-1), EWriteError);
}

TEST_F(FileStreamTest, WriteThroughAReadOnlyHandleRaises)
{
    AnsiString path = Path("readonly.jpg");
    MakeFile(path, "keep");
    TFileStream f(path, fmOpenRead | fmShareDenyNone);
    EXPECT_EQ(0, f.Write("x", 1));
    EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError);
}

TEST_F(FileStreamTest, MemoryStreamToFileAndBack)
{
    AnsiString path = Path("memory.png");
    TMemoryStream out;
    out.WriteBuffer("\x89PNG\r\n\x1a\n", 8);
    out.SaveToFile(path);
    TMemoryStream in;
    in.LoadFromFile(path);
    ASSERT_EQ(8, in.GetSize());
    EXPECT_EQ(0, memcmp(in.GetMemory(), out.GetMemory(), 8));
    EXPECT_THROW(in.LoadFromFile(Path("absent.png")), EFOpenError);
}
