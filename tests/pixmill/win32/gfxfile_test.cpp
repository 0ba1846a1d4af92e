// Loading and saving files through the registry: names, probing by content,
// progress, cancellation and what is left on disk when things go wrong; and
// the library's configuration.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "buffer.h"
#include "exceptions.h"
#include "formats.h"
#include "gfxfile.h"
#include "library_start.h"
#include "rfont.h"

namespace {

class TempFolder {
public:
    TempFolder()
    {
        char base[MAX_PATH];
        GetTempPathA(sizeof base, base);
        path_ = std::string(base) + "pixmill-registry-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder()
    {
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((path_ + "*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            do DeleteFileA((path_ + found.cFileName).c_str());
            while (FindNextFileA(h, &found));
            FindClose(h);
        }
        RemoveDirectoryA(path_.c_str());
    }
    AnsiString operator()(const char* name) const { return AnsiString((path_ + name).c_str()); }

private:
    std::string path_;
};

bool Exists(const AnsiString& name)
{
    return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Head(const AnsiString& name, int n)
{
    std::string bytes(size_t(n), '\0');
    HANDLE h = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD got = 0;
    if (h != INVALID_HANDLE_VALUE) {
        ReadFile(h, &bytes[0], DWORD(n), &got, nullptr);
        CloseHandle(h);
    }
    bytes.resize(got);
    return bytes;
}

void Picture(Buffer& b, int w, int h)
{
    b.Alloc({w, h});
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) *b.At(x, y) = unsigned(x * 37 + y * 11) & 0xFF ? 0x00204080u + x : 0x00FF0000u;
}

// Progress hooks that count their calls and cancel from a given percentage.
struct Hooks {
    static int starts, ends, steps, cancelAt;
    static void Start() { starts++; }
    static bool Step(int percent)
    {
        steps++;
        return percent < cancelAt;
    }
    static void End() { ends++; }
    Hooks(int cancel)
    {
        starts = ends = steps = 0;
        cancelAt = cancel;
        GFXFile::SetProgFunc(Start, Step, End);
    }
    ~Hooks() { GFXFile::SetProgFunc(nullptr, nullptr, nullptr); }
};
int Hooks::starts, Hooks::ends, Hooks::steps, Hooks::cancelAt;

}  // namespace

TEST(GFXFileFiles, NamesGetTheFormatsExtension)
{
    TempFolder dir;
    Buffer b;
    Picture(b, 9, 5);
    GFXSaveParams p = {};
    p.format = TGAFormat();
    p.bits = 24;
    ASSERT_TRUE(GFXFile::Save(b, dir("out"), nullptr, &p));
    EXPECT_TRUE(Exists(dir("out.TGA")));
    EXPECT_FALSE(Exists(dir("out")));

    // No format claims ".xyz": the first registered format writes it.
    ASSERT_TRUE(GFXFile::Save(b, dir("out.xyz"), nullptr, nullptr));
    EXPECT_EQ("FRM", Head(dir("out.xyz.FRM"), 3));
    EXPECT_FALSE(Exists(dir("out.xyz")));
}

TEST(GFXFileFiles, ContentDecidesWhenTheExtensionIsWrong)
{
    TempFolder dir;
    Buffer b;
    Picture(b, 13, 7);
    GFXSaveParams p = {};
    p.format = BMPFormat();
    p.bits = 24;
    ASSERT_TRUE(GFXFile::Save(b, dir("picture.tga"), nullptr, &p));
    Buffer back;
    GFXFileDesc d = {};
    AnsiString name = dir("picture.tga");
    ASSERT_TRUE(GFXFile::Load(back, name, nullptr, 0, &d));
    EXPECT_EQ(BMPFormat(), d.format);
    EXPECT_EQ(13, d.width);
    ASSERT_EQ(12, back.right);
    for (int y = 0; y < 7; y++)
        for (int x = 0; x < 13; x++) ASSERT_EQ(*b.At(x, y), *back.At(x, y));

    GFXFileDesc t = {};
    EXPECT_TRUE(GFXFile::Test(name, &t));
    EXPECT_EQ(BMPFormat(), t.format);
}

TEST(GFXFileFiles, UnknownDataAndMissingFilesRaise)
{
    TempFolder dir;
    AnsiString junk = dir("junk.bmp");
    HANDLE h = CreateFileA(junk.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(h, "not a picture at all", 20, &written, nullptr);
    CloseHandle(h);
    Buffer b;
    Hooks hooks(101);
    EXPECT_THROW(GFXFile::Load(b, junk, nullptr, 0, nullptr), EInvalidImage);
    EXPECT_EQ(1, Hooks::starts);
    EXPECT_EQ(1, Hooks::ends);
    EXPECT_TRUE(DeleteFileA(junk.c_str())) << "the stream was left open";

    AnsiString missing = dir("missing.bmp");
    EXPECT_THROW(GFXFile::Load(b, missing, nullptr, 0, nullptr), EFOpenError);
    EXPECT_EQ(1, Hooks::starts);  // no hook before the file is open
}

TEST(GFXFileFiles, CancelledLoadKeepsWhatWasReadAndCallsEndOnce)
{
    TempFolder dir;
    Buffer b;
    Picture(b, 64, 200);
    GFXSaveParams p = {};
    p.bits = 24;
    ASSERT_TRUE(GFXFile::Save(b, dir("big.frm"), nullptr, &p));
    Hooks hooks(50);
    Buffer back;
    AnsiString name = dir("big.frm");
    EXPECT_FALSE(GFXFile::Load(back, name, nullptr, 0, nullptr));
    EXPECT_EQ(1, Hooks::starts);
    EXPECT_EQ(1, Hooks::ends);
    ASSERT_NE(nullptr, back.pixels);
    EXPECT_EQ(*b.At(5, 0), *back.At(5, 0));  // the first rows were read
}

TEST(GFXFileFiles, CancelledSaveLeavesNoFile)
{
    TempFolder dir;
    Buffer b;
    Picture(b, 64, 200);
    Hooks hooks(50);
    GFXSaveParams p = {};
    p.bits = 24;
    EXPECT_FALSE(GFXFile::Save(b, dir("cancel.frm"), nullptr, &p));
    EXPECT_EQ(1, Hooks::ends);
    EXPECT_FALSE(Exists(dir("cancel.frm")));
}

TEST(GFXFileFiles, FailedSaveLeavesNoHalfWrittenFile)
{
    TempFolder dir;
    Buffer b;
    b.Alloc({70000, 2});  // wider than the 16-bit size field holds
    b.Box(b.GetRect(), 0);
    GFXSaveParams p = {};
    p.bits = 24;
    EXPECT_THROW(GFXFile::Save(b, dir("wide.frm"), nullptr, &p), EInvalidImage);
    EXPECT_FALSE(Exists(dir("wide.frm")));

    // Parameters the format cannot write are refused before any file exists.
    p.bits = 5;
    EXPECT_THROW(GFXFile::Save(b, dir("five.bmp"), nullptr, &p), EInvalidImage);
    EXPECT_FALSE(Exists(dir("five.bmp")));
}

TEST(GFXFileFiles, TruncatedFileRaisesReadErrorAndIsClosed)
{
    TempFolder dir;
    Buffer b;
    Picture(b, 30, 30);
    GFXSaveParams p = {};
    p.bits = 24;
    AnsiString name = dir("cut.frm");
    ASSERT_TRUE(GFXFile::Save(b, name, nullptr, &p));
    HANDLE h = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFilePointer(h, 1000, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
    CloseHandle(h);
    Hooks hooks(101);
    Buffer back;
    EXPECT_THROW(GFXFile::Load(back, name, nullptr, 0, nullptr), EReadError);
    EXPECT_EQ(1, Hooks::ends);
    EXPECT_TRUE(DeleteFileA(name.c_str()));
}

TEST(GFXFileFiles, AdaptiveDepthWritesTheSmallestPaletteDepth)
{
    TempFolder dir;
    Buffer b;
    b.Alloc({5, 3});
    const unsigned long colours[5] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000};
    for (int i = 0; i < 15; i++) *b.At(i % 5, i / 5) = colours[(i + i / 5) % 5];
    GFXSaveParams p = {};
    p.bits = -1;
    AnsiString name = dir("five.bmp");
    ASSERT_TRUE(GFXFile::Save(b, name, nullptr, &p));
    std::string head = Head(name, 30);
    ASSERT_EQ(30u, head.size());
    EXPECT_EQ(4, head[28]);  // biBitCount
    Buffer back;
    ASSERT_TRUE(GFXFile::Load(back, name, nullptr, 0, nullptr));
    ASSERT_EQ(4, back.right);
    ASSERT_EQ(2, back.bottom);
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 5; x++) EXPECT_EQ(*b.At(x, y), *back.At(x, y));
}

TEST(LibraryStart, ConfigurationFileSetsDefaultsAndFontFolder)
{
    TempFolder dir;
    AnsiString ini = dir("pixmill.ini");
    WritePrivateProfileStringA("config", "setup", "studio", ini.c_str());
    WritePrivateProfileStringA("studio.setup", "width", "640", ini.c_str());
    WritePrivateProfileStringA("studio.setup", "height", "480", ini.c_str());
    WritePrivateProfileStringA("dirs", "fonts", "C:\\fonts", ini.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());  // flush
    WriteProfileStringA("QDX", "config", ini.c_str());
    LibraryStart(GetModuleHandleA(nullptr));
    WriteProfileStringA("QDX", nullptr, nullptr);
    EXPECT_STREQ(ini.c_str(), Buffer::GetConfigFile());
    EXPECT_EQ(640, Buffer::default_x);
    EXPECT_EQ(480, Buffer::default_y);
    EXPECT_STREQ("C:\\fonts\\", RFont::GetPath());

    Buffer::default_x = 256;
    Buffer::default_y = 192;
    Buffer::config_file[0] = 0;
    RFont::path[0] = 0;
    LibraryStart(GetModuleHandleA(nullptr));
    EXPECT_EQ(256, Buffer::default_x);
    EXPECT_STREQ("", Buffer::GetConfigFile());
    std::string path = RFont::GetPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ('\\', path.back());
}

TEST(LibraryStart, FontsSitInAFontsFolderBesideBin)
{
    char out[260];
    DefaultFontPath("C:\\APP\\BIN\\pixmill.dll", out, sizeof out);
    EXPECT_STREQ("C:\\APP\\FONTS\\", out);
    DefaultFontPath("C:\\APP\\bin\\pixmill.dll", out, sizeof out);
    EXPECT_STREQ("C:\\APP\\FONTS\\", out);
    DefaultFontPath("C:\\APP\\pixmill.dll", out, sizeof out);
    EXPECT_STREQ("C:\\APP\\", out);
    DefaultFontPath("C:\\ROBIN\\pixmill.dll", out, sizeof out);
    EXPECT_STREQ("C:\\ROBIN\\", out);
    DefaultFontPath("\\BIN\\pixmill.dll", out, sizeof out);
    EXPECT_STREQ("\\BIN\\", out);
}
