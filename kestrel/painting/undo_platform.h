// What undo needs of the system: spill files, free memory, the tick count
// and random numbers. The Windows build answers with the system's own
// (win32/undo_platform_win32.cpp); tests install their own to inject full
// disks, damaged files and exhausted memory.
#ifndef KESTREL_UNDO_PLATFORM_H
#define KESTREL_UNDO_PLATFORM_H

#include "ansistring.h"

class UndoFile {
public:
    virtual ~UndoFile() {}
    // Each answers false unless the whole count was transferred.
    virtual bool Write(const void* data, unsigned count) = 0;
    virtual bool Read(void* data, unsigned count) = 0;
    virtual bool Seek(long long offset) = 0;  // from the start
    virtual long long Size() = 0;             // -1 when unknown
    // Data a full disk could not take is often reported only here.
    virtual bool Close() = 0;
};

class UndoPlatform {
public:
    virtual ~UndoPlatform() {}
    // A new file that did not exist before; null with exists set when the
    // name is taken, null alone for any other failure.
    virtual UndoFile* CreateNew(const AnsiString& path, bool& exists) = 0;
    virtual UndoFile* OpenRead(const AnsiString& path) = 0;
    virtual bool Exists(const AnsiString& path) = 0;
    virtual bool Delete(const AnsiString& path) = 0;
    virtual bool Move(const AnsiString& from, const AnsiString& to) = 0;
    // The smaller of free physical memory and free address space.
    virtual long long AvailableMemoryKB() = 0;
    virtual unsigned long TickCount() = 0;
    virtual int Random() = 0;  // 0 .. 32767
    virtual AnsiString TempDirectory() = 0;
    // Asked before every pixel block undo allocates.
    virtual bool MayAllocate(long long /*bytes*/) { return true; }
};

UndoPlatform& GetUndoPlatform();
// Null goes back to the system's platform.
void SetUndoPlatform(UndoPlatform* platform);

#ifdef _WIN32
UndoPlatform& SystemUndoPlatform();
#endif

#endif
