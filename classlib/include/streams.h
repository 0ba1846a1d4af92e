// Streams of the class library: the abstract TStream and the memory streams.
//
// Positions and sizes are 32-bit ints, as the callers store them. A memory
// stream's position may lie beyond its size: reading there gives nothing,
// writing there grows the stream and fills the gap with zero bytes.
#ifndef CLASSLIB_STREAMS_H
#define CLASSLIB_STREAMS_H

#include "ansistring.h"

// Seek origins.
enum : unsigned short {
    soFromBeginning = 0,
    soFromCurrent = 1,
    soFromEnd = 2,
};

class TStream {
public:
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;
    virtual ~TStream();

    // Up to count bytes; the number moved (0 for a count <= 0).
    virtual int Read(void* buffer, int count) = 0;
    virtual int Write(const void* buffer, int count) = 0;
    // The new position, or -1 (position unchanged) when the target would lie
    // before the start or beyond the 32-bit range, or origin is unknown.
    virtual int Seek(int offset, unsigned short origin) = 0;

    // Exactly count bytes, or EReadError / EWriteError (also for count < 0).
    void ReadBuffer(void* buffer, int count);
    void WriteBuffer(const void* buffer, int count);
    // Copies count bytes from source's position; count 0 copies all of
    // source from its start. Returns the number copied.
    int CopyFrom(TStream* source, int count);

    int GetPosition();
    void SetPosition(int position);
    virtual int GetSize();
    // Does nothing for streams that cannot change their size.
    virtual void SetSize(int newSize);

protected:
    TStream() = default;
};

// A stream over a block of memory that some subclass owns.
class TCustomMemoryStream : public TStream {
public:
    int Read(void* buffer, int count) override;
    int Seek(int offset, unsigned short origin) override;
    int GetSize() override { return size_; }

    void* GetMemory() const { return memory_; }
    void SaveToStream(TStream* stream);
    // Creates (or replaces) the file; in the Windows build only.
    void SaveToFile(const AnsiString& fileName);

protected:
    TCustomMemoryStream() = default;
    void SetPointer(void* memory, int size);

    void* memory_ = nullptr;
    int size_ = 0;
    int position_ = 0;
};

// A growable memory stream; its block comes from malloc/realloc, and a block
// that cannot grow raises EOutOfMemory with the stream unchanged.
class TMemoryStream : public TCustomMemoryStream {
public:
    TMemoryStream() = default;
    ~TMemoryStream() override;

    int Write(const void* buffer, int count) override;
    // New bytes are zero; a position beyond the new size moves to its end.
    void SetSize(int newSize) override;
    void Clear();
    // Replaces the contents with all of stream, read from its start.
    void LoadFromStream(TStream* stream);
    // In the Windows build only.
    void LoadFromFile(const AnsiString& fileName);
    int GetCapacity() const { return capacity_; }

private:
    void SetCapacity(int newCapacity);
    void Reserve(int needed);

    int capacity_ = 0;
};

#endif
