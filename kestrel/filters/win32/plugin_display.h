// The displayPixels callback: a filter draws a pixel map (its preview) on a
// device context it got from its own dialog.
#ifndef KESTREL_PLUGIN_DISPLAY_H
#define KESTREL_PLUGIN_DISPLAY_H

#include "plugin_api.h"

// Rows of 24-bit pixels (planes 0, 1, 2 as R, G, B) in bands of at most
// 32,768 bytes, drawn downwards from (dstCol, dstRow) on the HDC in
// platformContext. A map with fewer than 3 interleaved planes is not drawn.
OSErr PlugInDisplayPixels(const PSPixelMap* source, const VRect* srcRect, int32_t dstRow, int32_t dstCol,
                          void* platformContext);
// With ICM on, the bands carry a colour-space header (gamma 2.2, the
// BT.709 primaries) and the DC's ICM mode is switched on; else off.
void SetDisplayICM(bool on);

#endif
