// A window's client pixels (0x00RRGGBB) as the painting tests read them,
// through the GUI harness's read-back.
#ifndef TESTS_PAINTING_WINDOW_CAPTURE_H
#define TESTS_PAINTING_WINDOW_CAPTURE_H

#include <vector>
#include "winapi.h"
#include "../../gui/win32/gui_harness.h"

struct Capture {
    int width = 0, height = 0;
    std::vector<unsigned long> px;
    unsigned long At(int x, int y) const { return px[size_t(y) * width + x] & 0xFFFFFF; }
};

inline Capture CaptureClient(HWND hwnd)
{
    gui::TPixels p = gui::ReadPixels(hwnd);
    Capture c;
    c.width = p.Width;
    c.height = p.Height;
    c.px.assign(p.Data.begin(), p.Data.end());
    return c;
}

// Paints the client area one colour behind the window's back, so a test
// sees which pixels a later paint touched.
inline void Smear(HWND hwnd, COLORREF colour)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    HDC dc = GetDC(hwnd);
    HBRUSH b = CreateSolidBrush(colour);
    FillRect(dc, &rc, b);
    DeleteObject(b);
    ReleaseDC(hwnd, dc);
    GdiFlush();
}

// Live GDI objects of the process. GetGuiResources answers 0 under Wine;
// Wine accepts a handle without its generation bits, so every slot of the
// handle table can be asked.
inline int LiveGdiObjects()
{
    int n = 0;
    for (UINT_PTR i = 1; i < 0x10000; i++)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(i)))
            n++;
    return n;
}

#endif
