// A heap block given back when its owner goes out of scope, so that an
// exception thrown between taking and returning it leaks nothing.
#ifndef PIXMILL_SCRATCH_BLOCK_H
#define PIXMILL_SCRATCH_BLOCK_H

#include <stddef.h>
#include <stdint.h>

#include "exceptions.h"
#include "heap.h"

template <class T> class ScratchBlock {
public:
    ScratchBlock() : data(nullptr) {}
    explicit ScratchBlock(uint64_t count) : data(nullptr) { Take(count); }
    ~ScratchBlock() { HeapFree(data); }
    ScratchBlock(const ScratchBlock&) = delete;
    ScratchBlock& operator=(const ScratchBlock&) = delete;

    // Uncleared room for count elements; EOutOfMemory when the address space
    // or the heap cannot hold them.
    void Take(uint64_t count)
    {
        if (count > SIZE_MAX / sizeof(T)) throw EOutOfMemory();
        T* fresh = static_cast<T*>(HeapGet(count ? size_t(count) * sizeof(T) : 1));
        HeapFree(data);
        data = fresh;
    }
    T* Get() const { return data; }

private:
    T* data;
};

#endif
