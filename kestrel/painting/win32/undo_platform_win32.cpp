// The system's side of undo: spill files through Win32 handles (created
// exclusively, every byte count checked, errors at close included), memory
// status that respects the 32-bit address space, the tick count and the
// run-time library's random numbers.
#include <cstdlib>

#include "undo_platform.h"
#include "winapi.h"

namespace {

class Win32File : public UndoFile {
public:
    explicit Win32File(HANDLE h) : handle(h) {}
    ~Win32File() override { Close(); }

    bool Write(const void* data, unsigned count) override
    {
        DWORD done = 0;
        return handle != INVALID_HANDLE_VALUE && WriteFile(handle, data, count, &done, nullptr) && done == count;
    }
    bool Read(void* data, unsigned count) override
    {
        DWORD done = 0;
        return handle != INVALID_HANDLE_VALUE && ReadFile(handle, data, count, &done, nullptr) && done == count;
    }
    bool Seek(long long offset) override
    {
        LARGE_INTEGER to;
        to.QuadPart = offset;
        return handle != INVALID_HANDLE_VALUE && SetFilePointerEx(handle, to, nullptr, FILE_BEGIN);
    }
    long long Size() override
    {
        LARGE_INTEGER size;
        if (handle == INVALID_HANDLE_VALUE || !GetFileSizeEx(handle, &size)) return -1;
        return size.QuadPart;
    }
    bool Close() override
    {
        if (handle == INVALID_HANDLE_VALUE) return true;
        BOOL ok = CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
        return ok != 0;
    }

private:
    HANDLE handle;
};

class Win32UndoPlatform : public UndoPlatform {
public:
    UndoFile* CreateNew(const AnsiString& path, bool& exists) override
    {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD error = GetLastError();
        exists = h == INVALID_HANDLE_VALUE && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS);
        return h == INVALID_HANDLE_VALUE ? nullptr : new Win32File(h);
    }
    UndoFile* OpenRead(const AnsiString& path) override
    {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        return h == INVALID_HANDLE_VALUE ? nullptr : new Win32File(h);
    }
    bool Exists(const AnsiString& path) override { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
    bool Delete(const AnsiString& path) override { return DeleteFileA(path.c_str()) != 0; }
    bool Move(const AnsiString& from, const AnsiString& to) override
    {
        return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED) != 0;
    }
    long long AvailableMemoryKB() override
    {
        MEMORYSTATUSEX status;
        status.dwLength = sizeof status;
        if (!GlobalMemoryStatusEx(&status)) return 0;
        // Physical memory far exceeds what a 32-bit process can address.
        DWORDLONG avail = status.ullAvailPhys < status.ullAvailVirtual ? status.ullAvailPhys : status.ullAvailVirtual;
        return static_cast<long long>(avail / 1024);
    }
    unsigned long TickCount() override { return GetTickCount(); }
    int Random() override { return std::rand(); }
    AnsiString TempDirectory() override
    {
        char path[MAX_PATH + 1];
        DWORD n = GetTempPathA(sizeof path, path);
        return n > 0 && n < sizeof path ? AnsiString(path) : AnsiString();
    }
};

}  // namespace

UndoPlatform& SystemUndoPlatform()
{
    static Win32UndoPlatform platform;
    return platform;
}
