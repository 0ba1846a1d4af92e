// The work area of the monitor a rectangle is on. The multi-monitor
// functions are looked up at run time (older systems lack them); without
// them the primary work area is used.
#ifndef KESTREL_WORKAREA_H
#define KESTREL_WORKAREA_H

#include "winapi.h"

struct TMonitorFunctions {
    HMONITOR(WINAPI* FromRect)(LPCRECT, DWORD) = nullptr;
    BOOL(WINAPI* GetInfo)(HMONITOR, LPMONITORINFO) = nullptr;
};

// The functions in use, found in user32 on first use. Tests replace or
// clear them to reach the other paths.
TMonitorFunctions& MonitorFunctions();
// The primary monitor's work area.
RECT PrimaryWorkArea();
// The work area of the monitor nearest R (screen coordinates).
RECT WorkAreaNear(const RECT& R);

#endif
