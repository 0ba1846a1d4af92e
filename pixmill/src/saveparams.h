// The rules that turn requested save parameters into ones a format can
// write.
#ifndef PIXMILL_SAVEPARAMS_H
#define PIXMILL_SAVEPARAMS_H

#include "gfxfile.h"

// Resolves "choose" depths and the quality; raises EInvalidImage when the
// format cannot write what is asked.
void ValidateSaveParams(GFXFile* f, GFXSaveParams& p);

#endif
