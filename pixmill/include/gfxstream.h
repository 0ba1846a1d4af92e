// The streams picture files are read from and written to. Besides the bytes
// they carry the file's name: some formats decide by it (".RLE", ".LBM") or
// open the file themselves (video files).
//
// Each opens its file by name, or wraps a stream the caller keeps (a memory
// stream in tests, in the fuzzers and for data that never was a file).
#ifndef PIXMILL_GFXSTREAM_H
#define PIXMILL_GFXSTREAM_H

#include "ansistring.h"
#include "pixmill_api.h"
#include "streams.h"

class PIXMILL_API TInputStream : public TStream {
public:
    // Opens for reading; others may read but not write meanwhile. Raises
    // EFOpenError naming the file.
    explicit TInputStream(const AnsiString& fileName);
    TInputStream(TStream* source, const AnsiString& fileName);
    ~TInputStream() override;

    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;  // writes nothing
    int Seek(int offset, unsigned short origin) override;
    int GetSize() override;

    const AnsiString FileName;

private:
    TStream* source_;
    bool owned_;
};

class PIXMILL_API TOutputStream : public TStream {
public:
    // Creates or empties the file. Raises EFCreateError naming the file.
    explicit TOutputStream(const AnsiString& fileName);
    TOutputStream(TStream* target, const AnsiString& fileName);
    ~TOutputStream() override;

    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    int Seek(int offset, unsigned short origin) override;
    int GetSize() override;

    const AnsiString FileName;

private:
    TStream* target_;
    bool owned_;
};

#endif
