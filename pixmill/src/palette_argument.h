// The palette argument of palette creation and quantisation: entries are
// written or read through it whenever n is above 0, so a null one is refused
// with the library's exception instead of faulting inside the library.
#ifndef PIXMILL_PALETTE_ARGUMENT_H
#define PIXMILL_PALETTE_ARGUMENT_H

#include "exceptions.h"

inline void RequirePalette(const unsigned char* pal)
{
    if (!pal) throw EInvalidImage("palette: no palette given");
}

#endif
