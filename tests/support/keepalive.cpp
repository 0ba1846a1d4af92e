// Holds one hidden window open while the GUI tests run, so that Wine's desktop
// process is not stopped and restarted (about 3 s each time) between tests.
// The test runner kills it at the end.
#include <windows.h>

static LRESULT CALLBACK KeepAliveProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProcA(hwnd, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = KeepAliveProc;
    wc.hInstance = instance;
    wc.lpszClassName = "KestrelTestKeepAlive";
    if (!RegisterClassA(&wc)) return 1;
    if (!CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr))
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
