#include "streams.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

#include "exceptions.h"

namespace {

// Growth steps of a memory stream: a whole number of these, so that a
// writer adding a few bytes at a time does not reallocate every time.
const int kMemoryDelta = 0x2000;

// offset from a base, or -1 when the sum leaves 0..INT_MAX.
int SeekTarget(long long base, int offset)
{
    long long target = base + offset;
    return (target < 0 || target > INT_MAX) ? -1 : static_cast<int>(target);
}

}  // namespace

TStream::~TStream() {}

void TStream::ReadBuffer(void* buffer, int count)
{
    if (count < 0 || (count > 0 && Read(buffer, count) != count)) throw EReadError();
}

void TStream::WriteBuffer(const void* buffer, int count)
{
    if (count < 0 || (count > 0 && Write(buffer, count) != count)) throw EWriteError();
}

int TStream::CopyFrom(TStream* source, int count)
{
    if (count == 0) {
        source->SetPosition(0);
        count = source->GetSize();
    }
    if (count < 0) throw EReadError();
    char buffer[0x4000];
    int left = count;
    while (left > 0) {
        int n = left < static_cast<int>(sizeof buffer) ? left : static_cast<int>(sizeof buffer);
        source->ReadBuffer(buffer, n);
        WriteBuffer(buffer, n);
        left -= n;
    }
    return count;
}

int TStream::GetPosition()
{
    return Seek(0, soFromCurrent);
}

void TStream::SetPosition(int position)
{
    Seek(position, soFromBeginning);
}

int TStream::GetSize()
{
    int position = Seek(0, soFromCurrent);
    int size = Seek(0, soFromEnd);
    Seek(position, soFromBeginning);
    return size;
}

void TStream::SetSize(int) {}

void TCustomMemoryStream::SetPointer(void* memory, int size)
{
    memory_ = memory;
    size_ = size;
}

int TCustomMemoryStream::Read(void* buffer, int count)
{
    if (count <= 0 || position_ >= size_) return 0;
    int available = size_ - position_;
    int n = count < available ? count : available;
    memcpy(buffer, static_cast<char*>(memory_) + position_, n);
    position_ += n;
    return n;
}

int TCustomMemoryStream::Seek(int offset, unsigned short origin)
{
    long long base;
    switch (origin) {
    case soFromBeginning: base = 0; break;
    case soFromCurrent: base = position_; break;
    case soFromEnd: base = size_; break;
    default: return -1;
    }
    int target = SeekTarget(base, offset);
    if (target >= 0) position_ = target;
    return target;
}

void TCustomMemoryStream::SaveToStream(TStream* stream)
{
    stream->WriteBuffer(memory_, size_);
}

TMemoryStream::~TMemoryStream()
{
    free(memory_);
}

void TMemoryStream::SetCapacity(int newCapacity)
{
    if (newCapacity == capacity_) return;
    if (newCapacity == 0) {
        free(memory_);
        memory_ = nullptr;
        capacity_ = 0;
        return;
    }
    void* block = realloc(memory_, static_cast<size_t>(newCapacity));
    if (!block) throw EOutOfMemory();
    memory_ = block;
    capacity_ = newCapacity;
}

// Grows by half again, in whole steps, so that a long run of small writes
// costs few copies; falls back to the exact need near the 32-bit limit or
// when the larger block is not available.
void TMemoryStream::Reserve(int needed)
{
    if (needed <= capacity_) return;
    long long wanted = capacity_ + capacity_ / 2LL;
    if (wanted < needed) wanted = needed;
    wanted = (wanted + kMemoryDelta - 1) / kMemoryDelta * kMemoryDelta;
    if (wanted <= INT_MAX) {
        try {
            SetCapacity(static_cast<int>(wanted));
            return;
        } catch (const EOutOfMemory&) {
        }
    }
    SetCapacity(needed);
}

int TMemoryStream::Write(const void* buffer, int count)
{
    if (count <= 0) return 0;
    if (count > INT_MAX - position_) throw EOutOfMemory();
    int end = position_ + count;
    if (end > size_) {
        Reserve(end);
        char* memory = static_cast<char*>(memory_);
        if (position_ > size_) memset(memory + size_, 0, position_ - size_);
        size_ = end;
    }
    memcpy(static_cast<char*>(memory_) + position_, buffer, count);
    position_ = end;
    return count;
}

void TMemoryStream::SetSize(int newSize)
{
    if (newSize < 0) throw EStreamError("Invalid stream size");
    SetCapacity(newSize);
    if (newSize > size_) memset(static_cast<char*>(memory_) + size_, 0, newSize - size_);
    size_ = newSize;
    if (position_ > size_) position_ = size_;
}

void TMemoryStream::Clear()
{
    SetCapacity(0);
    size_ = 0;
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream* stream)
{
    stream->SetPosition(0);
    int count = stream->GetSize();
    if (count < 0) throw EReadError();
    SetSize(count);
    position_ = 0;
    stream->ReadBuffer(memory_, count);
}
