#include "filereplace.h"

#include <windows.h>

#include "exceptions.h"
#include "sysutils.h"

namespace {

// Beside the target, free at the moment it is created: CREATE_NEW never
// takes over a file that is already there, not even another save's.
HANDLE CreateTemporary(const AnsiString& target, AnsiString& temp)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        temp = target + "." + IntToStr(attempt) + ".tmp";
        HANDLE h = CreateFileA(temp.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) return h;
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    temp = "";
    throw EFCreateError(target);
}

HANDLE OpenTemporary(const AnsiString& target, AnsiString& temp)
{
    TReplacingFile::RefuseReadOnly(target);
    return CreateTemporary(target, temp);
}

}  // namespace

void TReplacingFile::RefuseReadOnly(const AnsiString& name)
{
    DWORD attributes = GetFileAttributesA(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) throw EFCreateError(name);
}

TReplacingFile::TReplacingFile(const AnsiString& target)
    : target_(target), temp_(), handle_(OpenTemporary(target, temp_)), raw_(handle_), stream_(&raw_, target)
{
}

TReplacingFile::~TReplacingFile()
{
    if (handle_) CloseHandle(handle_);
    if (!temp_.IsEmpty()) DeleteFileA(temp_.c_str());
}

void TReplacingFile::Commit()
{
    // A write the system held back can still fail at the flush or the close.
    bool flushed = FlushFileBuffers(handle_) != 0;
    bool closed = CloseHandle(handle_) != 0;
    handle_ = nullptr;
    if (!flushed || !closed) throw EWriteError();
    RefuseReadOnly(target_);
    if (!MoveFileExA(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw EWriteError();
    temp_ = "";
}
