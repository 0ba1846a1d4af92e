#include "filestream.h"

#include <limits.h>
#include <windows.h>

#include "exceptions.h"

namespace {

HANDLE CreateNamedFile(const AnsiString& fileName)
{
    HANDLE h = CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw EFCreateError(fileName);
    return h;
}

// The share bits name what others may still do: deny write lets them read.
bool ShareFlags(unsigned short mode, DWORD* share)
{
    static const DWORD kShare[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
    unsigned index = (mode & 0xF0u) >> 4;
    if (index >= sizeof kShare / sizeof kShare[0]) return false;
    *share = kShare[index];
    return true;
}

bool AccessFlags(unsigned short mode, DWORD* access)
{
    static const DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    unsigned index = mode & 0x0Fu;
    if (index >= sizeof kAccess / sizeof kAccess[0]) return false;
    *access = kAccess[index];
    return true;
}

HANDLE OpenNamedFile(const AnsiString& fileName, unsigned short mode)
{
    if (mode == fmCreate) return CreateNamedFile(fileName);
    DWORD access = 0, share = 0;
    if ((mode & 0xFF00u) != 0 || !AccessFlags(mode, &access) || !ShareFlags(mode, &share)) {
        throw EFOpenError(fileName);
    }
    HANDLE h = CreateFileA(fileName.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw EFOpenError(fileName);
    return h;
}

bool FilePointer(HANDLE h, long long* position)
{
    LARGE_INTEGER zero, now;
    zero.QuadPart = 0;
    if (!SetFilePointerEx(h, zero, &now, FILE_CURRENT)) return false;
    *position = now.QuadPart;
    return true;
}

bool FileSize(HANDLE h, long long* size)
{
    LARGE_INTEGER value;
    if (!GetFileSizeEx(h, &value)) return false;
    *size = value.QuadPart;
    return true;
}

}  // namespace

int THandleStream::Read(void* buffer, int count)
{
    if (count <= 0) return 0;
    DWORD done = 0;
    if (!ReadFile(handle_, buffer, static_cast<DWORD>(count), &done, nullptr)) return 0;
    return static_cast<int>(done);
}

int THandleStream::Write(const void* buffer, int count)
{
    if (count <= 0) return 0;
    DWORD done = 0;
    WriteFile(handle_, buffer, static_cast<DWORD>(count), &done, nullptr);
    return static_cast<int>(done);
}

// The target is checked against the 32-bit range before the pointer moves,
// so a refused seek leaves the position where it was.
int THandleStream::Seek(int offset, unsigned short origin)
{
    long long base = 0;
    bool known = origin == soFromBeginning || (origin == soFromCurrent && FilePointer(handle_, &base)) ||
                 (origin == soFromEnd && FileSize(handle_, &base));
    if (!known) return -1;
    long long target = base + offset;
    if (target < 0 || target > INT_MAX) return -1;
    LARGE_INTEGER to;
    to.QuadPart = target;
    if (!SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN)) return -1;
    return static_cast<int>(target);
}

int THandleStream::GetSize()
{
    long long size = 0;
    if (!FileSize(handle_, &size) || size > INT_MAX) return -1;
    return static_cast<int>(size);
}

void THandleStream::SetSize(int newSize)
{
    int position = GetPosition();
    if (newSize < 0 || Seek(newSize, soFromBeginning) != newSize || !SetEndOfFile(handle_)) {
        if (position >= 0) Seek(position, soFromBeginning);
        throw EWriteError();
    }
    if (position >= 0 && position < newSize) Seek(position, soFromBeginning);
}

TFileStream::TFileStream(const AnsiString& fileName, unsigned short mode)
    : THandleStream(OpenNamedFile(fileName, mode)), FileName(fileName)
{
}

TFileStream::~TFileStream()
{
    CloseHandle(handle_);
}
