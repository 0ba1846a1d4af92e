#include "startupsteps_win32.h"

#include "startupsteps.h"
#include "winapi.h"

int DisplayBitsPerPixel()
{
    HDC dc = GetDC(GetDesktopWindow());
    int bits = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(GetDesktopWindow(), dc);
    return bits;
}

AnsiString ModuleProgramDir()
{
    char path[MAX_PATH + 1];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return AnsiString();
    path[n] = 0;
    return ProgramDirOf(path);
}
