// Helpers of the tests of the readers the platform does the decoding for
// (metafiles, icons, video files): a temporary folder for files opened by
// name, progress hooks that cancel, and a seeded mutator for the robustness
// tests. The byte writers come from the format fixture.
#ifndef KESTREL_PLATFORM_FIXTURE_H
#define KESTREL_PLATFORM_FIXTURE_H

#include <windows.h>

#include <string>
#include <vector>

#include "../format_fixture.h"
#include "gfxfile.h"

namespace platform_fixture {

using format_fixture::Bytes;
using format_fixture::Get16;
using format_fixture::Get32;
using format_fixture::Put16;
using format_fixture::Put32;
using format_fixture::PutTag;
using format_fixture::Set32;

class TempFolder {
public:
    explicit TempFolder(const char* what)
    {
        char base[MAX_PATH];
        GetTempPathA(sizeof base, base);
        path_ = std::string(base) + "pixmill-" + what + "-" + std::to_string(GetCurrentProcessId()) + "\\";
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
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string operator()(const char* name) const { return path_ + name; }

    std::string Write(const char* name, const Bytes& bytes) const
    {
        std::string path = path_ + name;
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        if (!bytes.empty()) WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(h);
        return path;
    }

private:
    std::string path_;
};

// Progress hooks: PrStep answers false from cancelAt percent on.
struct CancelFrom {
    static inline int cancelAt, steps;
    static bool Step(int percent)
    {
        ++steps;
        return percent < cancelAt;
    }
    explicit CancelFrom(int percent)
    {
        cancelAt = percent;
        steps = 0;
        GFXFile::SetProgFunc(nullptr, Step, nullptr);
    }
    ~CancelFrom() { GFXFile::SetProgFunc(nullptr, nullptr, nullptr); }
};

// A damaged copy of good: a few bytes changed, or cut short (fixed seed).
class Mutator {
public:
    explicit Mutator(unsigned seed) : seed_(seed) {}

    unsigned Next()
    {
        seed_ = seed_ * 1103515245u + 12345u;
        return seed_ >> 8;
    }

    Bytes Damage(const Bytes& good)
    {
        Bytes b = good;
        if (Next() % 4 == 0) {
            b.resize(Next() % b.size());
            return b;
        }
        int changes = 1 + int(Next() % 4);
        for (int i = 0; i < changes; ++i) {
            size_t at = Next() % b.size();
            switch (Next() % 3) {
            case 0: b[at] = (unsigned char)Next(); break;
            case 1: b[at] ^= (unsigned char)(1u << (Next() % 8)); break;
            default: b[at] = (Next() & 1) ? 0xFF : 0x00; break;
            }
        }
        return b;
    }

private:
    unsigned seed_;
};

}  // namespace platform_fixture

#endif
