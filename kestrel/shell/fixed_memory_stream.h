// A read-only stream over a block someone else owns: clipboard and scanner
// pixel data reach the picture decoder through it without being copied.
#ifndef KESTREL_SHELL_FIXED_MEMORY_STREAM_H
#define KESTREL_SHELL_FIXED_MEMORY_STREAM_H

#include "streams.h"

class TFixedMemoryStream : public TCustomMemoryStream {
public:
    // The block must outlive the stream; a negative size counts as empty.
    TFixedMemoryStream(const void* memory, int size);

    // The block is not ours to change: writes move nothing.
    int Write(const void* buffer, int count) override;
};

#endif
