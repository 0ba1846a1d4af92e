// The TWAIN wrapper is optional: it is looked for when asked, so that the
// program starts on machines without it.
#include "mainform.h"
#include "scanning.h"

const char* TwainLibraryName = "EZTW32.DLL";

bool TwainAvailable()
{
    TwainWrapper twain;
    return twain.Load() && twain.IsAvailable() != 0;
}
