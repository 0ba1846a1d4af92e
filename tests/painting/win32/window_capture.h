// Reads a window's client pixels back through a 32-bit DIB section
// (0x00RRGGBB), the way a test sees what was painted.
#ifndef TESTS_PAINTING_WINDOW_CAPTURE_H
#define TESTS_PAINTING_WINDOW_CAPTURE_H

#include <cstring>
#include <vector>
#include "winapi.h"

struct Capture {
    int width = 0, height = 0;
    std::vector<unsigned long> px;
    unsigned long At(int x, int y) const { return px[size_t(y) * width + x] & 0xFFFFFF; }
};

inline Capture CaptureClient(HWND hwnd)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    Capture c;
    c.width = rc.right;
    c.height = rc.bottom;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = c.width;
    bi.bmiHeader.biHeight = -c.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(hwnd);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, c.width, c.height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    c.px.resize(size_t(c.width) * c.height);
    std::memcpy(c.px.data(), bits, c.px.size() * 4);
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(hwnd, screen);
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
