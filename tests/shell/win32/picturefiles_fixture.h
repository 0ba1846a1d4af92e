// Test pictures written by Pixmill into a folder of the test's own, and
// the messages the picture-file routines show, recorded.
#ifndef TESTS_SHELL_PICTUREFILES_FIXTURE_H
#define TESTS_SHELL_PICTUREFILES_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "appsettings.h"
#include "gfxfile.h"
#include "messages.h"
#include "picture_document.h"
#include "winapi.h"

// An asymmetric picture: every pixel differs, in all three channels.
inline void FillPattern(Buffer& b, int w, int h, int seed)
{
    b.Free();
    b.Alloc(Pair<int>{w, h});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            *b.At(x, y) = (unsigned long)(((x * 37 + seed) & 255) << 16 | ((y * 53 + seed) & 255) << 8 | ((x + y * 7) & 255));
}

inline bool SamePixels(Buffer& a, Buffer& b)
{
    if (!a.pixels || !b.pixels || a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if ((*a.At(a.left + x, a.top + y) & 0xFFFFFF) != (*b.At(b.left + x, b.top + y) & 0xFFFFFF)) return false;
    return true;
}

inline std::string ReadBytes(const std::string& name)
{
    std::string data;
    FILE* f = fopen(name.c_str(), "rb");
    if (!f) return "<missing>";
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) data.append(chunk, n);
    fclose(f);
    return data;
}

inline void WriteBytes(const std::string& name, const std::string& data)
{
    FILE* f = fopen(name.c_str(), "wb");
    ASSERT_NE(f, nullptr) << name;
    fwrite(data.data(), 1, data.size(), f);
    fclose(f);
}

class PictureFolderTest : public ::testing::Test {
public:
    void SetUp() override
    {
        char base[MAX_PATH];
        GetTempPathA(sizeof base, base);
        static int counter = 0;
        dir = std::string(base) + "kestrel-pf-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
        CreateDirectoryA(dir.c_str(), nullptr);
        savedSettings = AppSettings;
        MessageBoxHook = [this](const AnsiString& text, const AnsiString&, unsigned flags) {
            shown.push_back(text.c_str());
            lastFlags = flags;
            return answer;
        };
    }
    void TearDown() override
    {
        MessageBoxHook = nullptr;
        GFXFile::SetProgFunc(nullptr, nullptr, nullptr);
        AppSettings = savedSettings;
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do DeleteFileA((dir + "\\" + fd.cFileName).c_str());
            while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(dir.c_str());
    }
    std::string Path(const char* name) const { return dir + "\\" + name; }
    // Writes a w x h pattern picture in the format of the name's extension.
    void WritePicture(const char* name, int w, int h, int seed, int bits = 24)
    {
        Buffer b;
        FillPattern(b, w, h, seed);
        GFXSaveParams p;
        memset(&p, 0, sizeof p);
        p.bits = int8_t(bits);
        ASSERT_TRUE(GFXFile::Save(b, Path(name).c_str(), nullptr, &p)) << name;
    }
    bool ReadPicture(const std::string& name, Buffer& b)
    {
        b.Free();
        GFXFileDesc d;
        memset(&d, 0, sizeof d);
        AnsiString n = name.c_str();
        try {
            return GFXFile::Load(b, n, nullptr, 0, &d);
        } catch (...) {
            return false;
        }
    }
    // Files in the folder, "*" for all.
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return names;
        do
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
        while (FindNextFileA(h, &fd));
        FindClose(h);
        return names;
    }

    std::string dir;
    TAppSettings savedSettings;
    std::vector<std::string> shown;
    unsigned lastFlags = 0;
    int answer = IDNO;
};

// The same folder and recorder inside a fixture of another kind.
struct PictureFolder : PictureFolderTest {
    void Open() { SetUp(); }
    void Close() { TearDown(); }
    void TestBody() override {}
};

#endif
