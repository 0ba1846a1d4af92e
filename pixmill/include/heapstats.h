// Counts of the pixel blocks Pixmill has taken from the shared heap and not
// yet returned: how tests see that a block was freed exactly once.
#ifndef PIXMILL_HEAPSTATS_H
#define PIXMILL_HEAPSTATS_H

#include "pixmill_api.h"

PIXMILL_API int PixmillLiveBlocks();

#endif
