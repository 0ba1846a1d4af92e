#include "workarea.h"

namespace {

TMonitorFunctions LookUp()
{
    TMonitorFunctions f;
    HMODULE user = GetModuleHandleA("user32.dll");
    if (user) {
        f.FromRect = reinterpret_cast<decltype(f.FromRect)>(
            reinterpret_cast<void*>(GetProcAddress(user, "MonitorFromRect")));
        f.GetInfo = reinterpret_cast<decltype(f.GetInfo)>(
            reinterpret_cast<void*>(GetProcAddress(user, "GetMonitorInfoA")));
    }
    return f;
}

}  // namespace

TMonitorFunctions& MonitorFunctions()
{
    static TMonitorFunctions functions = LookUp();
    return functions;
}

RECT PrimaryWorkArea()
{
    RECT r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

RECT WorkAreaNear(const RECT& R)
{
    const TMonitorFunctions& f = MonitorFunctions();
    if (f.FromRect && f.GetInfo) {
        HMONITOR monitor = f.FromRect(&R, MONITOR_DEFAULTTONEAREST);
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        if (monitor && f.GetInfo(monitor, &info)) return info.rcWork;
    }
    return PrimaryWorkArea();
}
