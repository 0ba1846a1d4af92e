// Raster fonts: "*.rfn" files in the font directory.
#ifndef PIXMILL_RFONT_H
#define PIXMILL_RFONT_H

#include "pmdefs.h"

class PIXMILL_API RFont {
public:
    // The font directory, ending in "\"; set when the library starts.
    static char path[260];
    static char* GetPath();
};

#endif
