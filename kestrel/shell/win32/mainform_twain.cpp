// The TWAIN wrapper is optional: it is looked for when asked, so that the
// program starts on machines without it.
#include "mainform.h"

const char* TwainLibraryName = "EZTW32.DLL";

bool TwainAvailable()
{
    HMODULE module = LoadLibraryA(TwainLibraryName);
    if (!module) return false;
    typedef int(__stdcall * IsAvailableProc)();
    IsAvailableProc isAvailable = reinterpret_cast<IsAvailableProc>(
        reinterpret_cast<void*>(GetProcAddress(module, "TWAIN_IsAvailable")));
    bool available = isAvailable && isAvailable() != 0;
    FreeLibrary(module);
    return available;
}
