// The screen's font faces, sorted and each once, as the text dialog lists
// them. Vertical faces (named with a leading "@") are left out.
#ifndef KESTREL_TEXTFORM_FONTS_H
#define KESTREL_TEXTFORM_FONTS_H

#include "stringlist.h"

void ListScreenFonts(TStrings* into);

#endif
