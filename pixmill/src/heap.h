// Pixel blocks come from the heap both modules share (msvcrt's malloc), so a
// block taken here may be freed by the program and the other way round.
#ifndef PIXMILL_HEAP_H
#define PIXMILL_HEAP_H

#include <stddef.h>

// Raises EOutOfMemory when the heap cannot supply the block.
void* HeapGet(size_t bytes);
// Accepts null.
void HeapFree(void* block);

#endif
