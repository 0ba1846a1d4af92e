#include "undo_platform.h"

namespace {
// Without a system platform (the portable build used for sanitizer runs)
// there is no disk: every file operation fails, so steps stay in memory or
// recording reports the failure.
class NoDiskPlatform : public UndoPlatform {
public:
    UndoFile* CreateNew(const AnsiString&, bool& exists) override
    {
        exists = false;
        return nullptr;
    }
    UndoFile* OpenRead(const AnsiString&) override { return nullptr; }
    bool Exists(const AnsiString&) override { return false; }
    bool Delete(const AnsiString&) override { return false; }
    bool Move(const AnsiString&, const AnsiString&) override { return false; }
    long long AvailableMemoryKB() override { return 1LL << 40; }
    unsigned long TickCount() override { return 0; }
    int Random() override { return 0; }
    AnsiString TempDirectory() override { return AnsiString(); }
};

UndoPlatform* installed = nullptr;
}  // namespace

UndoPlatform& GetUndoPlatform()
{
    if (installed) return *installed;
#ifdef _WIN32
    return SystemUndoPlatform();
#else
    static NoDiskPlatform none;
    return none;
#endif
}

void SetUndoPlatform(UndoPlatform* platform) { installed = platform; }
