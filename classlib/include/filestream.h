// File streams of the class library, over Win32 file handles.
//
// The handle is kept as void* so that portable code may include this header;
// only the Windows build has the implementation. Positions and sizes are
// 32-bit: a file beyond 2 GB answers -1 for its size and for positions past
// that limit.
#ifndef CLASSLIB_FILESTREAM_H
#define CLASSLIB_FILESTREAM_H

#include "streams.h"

// TFileStream modes: one access mode, or-ed with one share mode; fmCreate
// stands alone (creates or empties the file, read and write, not shared).
enum : unsigned short {
    fmCreate = 0xFFFF,
    fmOpenRead = 0x00,
    fmOpenWrite = 0x01,
    fmOpenReadWrite = 0x02,
    fmShareCompat = 0x00,  // as exclusive
    fmShareExclusive = 0x10,
    fmShareDenyWrite = 0x20,
    fmShareDenyRead = 0x30,
    fmShareDenyNone = 0x40,
};

// A stream over a handle that the caller owns.
class THandleStream : public TStream {
public:
    explicit THandleStream(void* handle) : handle_(handle) {}

    // A failed read gives 0; a failed write gives the bytes written before
    // the failure (a full disk), so WriteBuffer raises EWriteError.
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    int Seek(int offset, unsigned short origin) override;
    int GetSize() override;
    // Cuts or extends the file (EWriteError when the system refuses); the
    // position stays, or moves to the new end when it lay beyond it.
    void SetSize(int newSize) override;

    void* GetHandle() const { return handle_; }

protected:
    void* handle_;
};

// A stream over a named file that it opens and closes itself. A file that
// cannot be opened raises EFOpenError, one that cannot be created
// EFCreateError, both naming the file.
class TFileStream : public THandleStream {
public:
    TFileStream(const AnsiString& fileName, unsigned short mode);
    ~TFileStream() override;

    // Readers that need the file itself rather than its bytes open it by name.
    const AnsiString FileName;
};

#endif
