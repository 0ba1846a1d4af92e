// What the start-up sequence asks of Windows before any window exists.
#ifndef KESTREL_STARTUPSTEPS_WIN32_H
#define KESTREL_STARTUPSTEPS_WIN32_H

#include "ansistring.h"

// The desktop's colour depth, as the low-colour check sees it.
int DisplayBitsPerPixel();

// The program's folder, ending in a backslash, from the module's own path:
// argv[0] may be a bare name when the program is started from its folder.
AnsiString ModuleProgramDir();

#endif
