// Pixel blocks live on the heap the program shares: after many allocations
// and frees of every alignment the heap is still sound.
#include <gtest/gtest.h>
#include <malloc.h>

#include <random>

#include "buffer.h"

TEST(BufferHeap, HeapStaysValidAfterManyBlocks)
{
    std::mt19937 rng(7);
    std::vector<Buffer> buffers(300);
    for (int i = 0; i < 10000; i++) {
        Buffer& b = buffers[rng() % buffers.size()];
        int w = 1 + int(rng() % 300), h = 1 + int(rng() % 300);
        b.Alloc({w, h});
        // Writing every byte the rect claims would corrupt the heap if the
        // block were short.
        memset(b.pixels, 0xA5, size_t(w) * h * 4);
    }
    EXPECT_EQ(_HEAPOK, _heapchk());
    buffers.clear();
    EXPECT_EQ(_HEAPOK, _heapchk());
}
