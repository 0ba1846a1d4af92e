#include "fixed_memory_stream.h"

TFixedMemoryStream::TFixedMemoryStream(const void* memory, int size)
{
    SetPointer(const_cast<void*>(memory), size < 0 ? 0 : size);
}

int TFixedMemoryStream::Write(const void*, int)
{
    return 0;
}
