// The key colour of a brush cut from a picture: a colour the brush does not
// paint with, so that scaling or turning the brush, which stands the key
// colour in for its transparent pixels, cannot punch holes into it.
#ifndef KESTREL_LEAST_USED_COLOUR_H
#define KESTREL_LEAST_USED_COLOUR_H

#include "buffer.h"

// Counted over the brush's painting pixels (every pixel but the transparent
// key 0x01000000; flag bits ignored): the first red value no pixel has, as
// (red, 0, 0); else, with the least used red (the lowest of equals), the
// first green that red lacks, as (red, green, 0); else likewise a blue, as
// (red, green, blue). When the brush holds every such colour, fallback.
unsigned long LeastUsedColour(const Buffer& brush, unsigned long fallback);

#endif
