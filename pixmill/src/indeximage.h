// The picture a palette-depth writer receives: the palette is made (or taken
// from the caller), the picture reduced to it, one index byte per pixel.
#ifndef PIXMILL_INDEXIMAGE_H
#define PIXMILL_INDEXIMAGE_H

#include "gfxfile.h"

// True for palette depths: not grey, no quality setting, bits <= 8 (or -1).
bool NeedsIndexImage(const GFXSaveParams& p);

class IndexImage {
public:
    IndexImage() = default;
    IndexImage(const IndexImage&) = delete;
    IndexImage& operator=(const IndexImage&) = delete;

    // Reduces b to a palette for format f. Resolves p: bits (-1 becomes a
    // depth), colours (the entries made) and paletteData (a full 768-byte
    // palette, zero beyond the colours). With x, the top bytes of colour1 and
    // colour2 receive their palette indices. The result's rect is b's size;
    // its rows are stride * 4 bytes apart, one byte per pixel.
    Buffer& Make(Buffer& b, GFXFile* f, GFXtra32* x, GFXSaveParams& p);

private:
    Buffer image_;
    unsigned char palette_[768] = {};
};

#endif
