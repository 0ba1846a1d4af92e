// The window-procedure trampoline and the HWND -> control map (internal to
// the control core).
#ifndef CLASSLIB_WIN32_WNDPROC_H
#define CLASSLIB_WIN32_WNDPROC_H

#include "controls.h"

// The module whose window classes these are (pixmill.dll or the program).
HINSTANCE ClassLibInstance();

// Registers Params' class (once per name) with the trampoline as its
// procedure; answers the procedure DefaultHandler must call.
WNDPROC RegisterControlClass(const TCreateParams& Params);

// CreateWindowExA with the new window bound to control on its first message.
HWND CreateBoundWindow(TWinControl* control, const TCreateParams& Params, HMENU id);

// Forgets a window whose WM_NCDESTROY never came (DestroyWindow failed).
void UnbindWindow(HWND hwnd);

#endif
