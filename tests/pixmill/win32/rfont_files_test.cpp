// Raster fonts on Windows: font files and fonts.bin in a real directory,
// the cache trusted only while the files keep their sizes and times, and the
// system font standing in when there is no raster face.
#include <gtest/gtest.h>

#include <string>

#include "buffer.h"
#include "rfont.h"
#include "rfont_registry.h"
#include "rfont_win32.h"
#include "../rfont_writer.h"
#include "winapi.h"

namespace {

TestFace Face(int height)
{
    TestFace f;
    f.height = height, f.first = 'A', f.last = 'Z';
    f.glyphs['I'].width = 2;
    f.glyphs['I'].rows = std::vector<std::string>(size_t(height), "##");
    return f;
}

class RFontFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        dir = std::string(tmp) + "rfont-test-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(dir.c_str(), nullptr);
        strcpy(saved, RFont::path);
        strcpy(RFont::path, dir.c_str());
        InstallWin32FontSystem();
        ResetRegistry();
    }
    void TearDown() override
    {
        ResetRegistry();
        for (const char* name : {"a.rfn", "b.rfn", "c.rfn", "fonts.bin"}) DeleteFileA((dir + name).c_str());
        RemoveDirectoryA(dir.c_str());
        strcpy(RFont::path, saved);
    }
    void Write(const char* name, const Bytes& data)
    {
        HANDLE h = CreateFileA((dir + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        DWORD n;
        WriteFile(h, data.data(), DWORD(data.size()), &n, nullptr);
        CloseHandle(h);
    }
    void SetTime(const char* name, DWORD low)
    {
        HANDLE h = CreateFileA((dir + name).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                               nullptr);
        FILETIME t = {low, 0x01D00000};
        SetFileTime(h, nullptr, nullptr, &t);
        CloseHandle(h);
    }
    // A fresh process's start: the registry forgotten, built again.
    void Restart()
    {
        ResetRegistry();
        RFont::InitReg();
    }
    bool Exists(const char* name) { return GetFileAttributesA((dir + name).c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::string dir;
    char saved[260];
};

TEST_F(RFontFiles, BuildsTheRegistryAndWritesTheCache)
{
    Write("a.rfn", WriteFont("Serif", {Face(10), Face(8)}, 0x10000));
    Write("b.rfn", WriteFont("mono", {Face(9)}, 0x20000));
    Write("c.rfn", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'f', 'o', 'n', 't', '!', '!'});
    RFont::InitReg();
    ASSERT_EQ(3, RFont::GetCount());
    EXPECT_STREQ("mono", RFont::GetReg()[0].name);
    EXPECT_STREQ("Serif", RFont::GetReg()[1].name);
    EXPECT_TRUE(Exists("fonts.bin"));

    RFont f;
    f.SetName("serif");
    EXPECT_EQ(8, f.GetSize());
    Buffer b;
    b.Alloc({20, 20});
    std::fill(b.pixels, b.pixels + 20 * b.stride, 0ul);
    AnsiString s("II");
    b.OutText(f, {1, 1}, s, 0x00FFFFFF);
    EXPECT_EQ(0x00FFFFFFul, *b.At(1, 1));
    EXPECT_EQ(0x00FFFFFFul, *b.At(1 + 2 + 1, 8));
    EXPECT_EQ(0ul, *b.At(1, 9));
}

TEST_F(RFontFiles, TheCacheIsUsedWhileNothingChanged)
{
    Write("a.rfn", WriteFont("Serif", {Face(10), Face(8)}, 0x10000));
    Write("b.rfn", WriteFont("Mono", {Face(9)}, 0x10000));
    RFont::InitReg();
    // Held open with no sharing, the font files cannot be read: only the
    // cache can give the registry now.
    HANDLE lock = CreateFileA((dir + "a.rfn").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    Restart();
    EXPECT_EQ(3, RFont::GetCount());
    CloseHandle(lock);

    // A new time on one file: parsed again.
    SetTime("b.rfn", 12345);
    lock = CreateFileA((dir + "a.rfn").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Restart();
    CloseHandle(lock);
    EXPECT_EQ(1, RFont::GetCount());  // a.rfn could not be read this time
    Restart();
    EXPECT_EQ(1, RFont::GetCount());  // and the cache says so while nothing changes
    SetTime("a.rfn", 777);
    Restart();
    EXPECT_EQ(3, RFont::GetCount());

    DeleteFileA((dir + "b.rfn").c_str());
    Restart();
    EXPECT_EQ(2, RFont::GetCount());
}

TEST_F(RFontFiles, ADamagedCacheIsRebuiltSilently)
{
    Write("a.rfn", WriteFont("Serif", {Face(10), Face(8)}, 0x10000));
    RFont::InitReg();
    Bytes junk(300);
    for (size_t i = 0; i < junk.size(); ++i) junk[i] = uint8_t(i * 37 + 11);
    Write("fonts.bin", junk);
    Restart();
    EXPECT_EQ(2, RFont::GetCount());
    Write("fonts.bin", Bytes{0xFF, 0xFF, 0xFF, 0x7F});
    Restart();
    EXPECT_EQ(2, RFont::GetCount());
}

TEST_F(RFontFiles, WithoutFacesTheSystemFontDraws)
{
    RFont f;
    f.SetName("Nothing");
    EXPECT_EQ(nullptr, f.entry);
    Buffer b;
    b.Alloc({80, 30});
    std::fill(b.pixels, b.pixels + 30 * b.stride, 0ul);
    AnsiString s("Hello");
    b.OutText(f, {2, 2}, s, 0x00FF00FF);
    int ink = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x) ink += *b.At(x, y) == 0x00FF00FF;
    EXPECT_GT(ink, 10);
    Pair<int> ext = b.GetTextExtent(f, s);
    EXPECT_GT(ext.x, 10);
    EXPECT_GT(ext.y, 5);
}

}  // namespace
