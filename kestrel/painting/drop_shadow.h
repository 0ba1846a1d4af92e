// The brush's drop shadow: a hard silhouette of the brush in the drawing
// colour, set off by a depth towards one of four directions and showing
// wherever the brush itself does not paint.
#ifndef KESTREL_DROP_SHADOW_H
#define KESTREL_DROP_SHADOW_H

#include "buffer.h"

// In the order of the dialog's direction list.
enum ShadowDirection : int { ShadowEast, ShadowSouthEast, ShadowSouth, ShadowSouthWest };

// The dialog's depth range.
const int MinShadowDepth = 1;
const int MaxShadowDepth = 999;

// The size a w x h brush takes with a shadow of depth d.
Pair<int> ShadowedSize(int w, int h, int depth, int direction);

// src with its shadow, as a new buffer at (0, 0): the brush's silhouette
// in colour at the shadow's offset, the brush over it with its key
// skipped. EOutOfMemory when the buffer cannot be had.
void ShadowedBrush(Buffer& src, int depth, int direction, unsigned long colour, Buffer& out);

// Gives CurrentBrush its shadow in the drawing colour, as one "ShadBr"
// step. A depth or direction out of range, or a brush that would pass the
// size limit, is refused with a message and changes nothing. Out of memory:
// "BrTooBig", the brush stays, and the default tool comes back. False when
// nothing changed.
bool DropShadowBrush(int depth, int direction);

#endif
