#include "heap.h"

#include <stdlib.h>

#include "exceptions.h"
#include "heapstats.h"

static int liveBlocks;

void* HeapGet(size_t bytes)
{
    void* block = malloc(bytes);
    if (!block) throw EOutOfMemory();
    __atomic_add_fetch(&liveBlocks, 1, __ATOMIC_RELAXED);
    return block;
}

void HeapFree(void* block)
{
    if (!block) return;
    __atomic_sub_fetch(&liveBlocks, 1, __ATOMIC_RELAXED);
    free(block);
}

int PixmillLiveBlocks()
{
    return __atomic_load_n(&liveBlocks, __ATOMIC_RELAXED);
}
