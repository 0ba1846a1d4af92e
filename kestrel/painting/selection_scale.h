// Scaling an outline path to a view's zoom.
#ifndef KESTREL_SELECTION_SCALE_H
#define KESTREL_SELECTION_SCALE_H

// A new path with start points multiplied by zoom (truncated) and every run
// scaled through a single-precision carry per axis that runs across the
// whole path, so fractional parts add up instead of being lost at every run.
// Runs that scale to nothing are left out. When the block cannot grow the
// contour is ended and scaling stops. Null for a null path.
unsigned char* ScaleOutline(const unsigned char* path, double zoom);

#endif
