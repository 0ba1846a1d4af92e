// Drawing a Buffer's pixels onto a device context at a zoom: the part of the
// view's paint that needs no window, so it can run into a DIB section.
#ifndef KESTREL_BUFFER_VIEW_RENDER_H
#define KESTREL_BUFFER_VIEW_RENDER_H

#include <vector>
#include "winapi.h"
#include "buffer.h"
#include "buffer_view_zoom.h"

// The GDI calls the view draws with. Tests swap entries to count calls,
// inspect the header and make calls fail; Restore puts the system's back.
struct TBufferGdi {
    int (WINAPI* setDIBitsToDevice)(HDC, int, int, DWORD, DWORD, int, int, UINT, UINT, const void*,
                                    const BITMAPINFO*, UINT);
    int (WINAPI* stretchDIBits)(HDC, int, int, int, int, int, int, int, int, const void*,
                                const BITMAPINFO*, UINT, DWORD);
    int (WINAPI* setStretchBltMode)(HDC, int);
    int (WINAPI* setICMMode)(HDC, int);

    static TBufferGdi& Calls();
    static void Restore();
};

// How colours are matched while drawing.
struct ViewColour {
    bool icm;
    bool gamma;  // only with icm
    CIEXYZTRIPLE endpoints;
    DWORD gammaRed, gammaGreen, gammaBlue;  // unsigned 16.16
};

// Switches colour matching on the DC and sizes the header to match: 108
// bytes with gamma values, 40 without.
void PrepareColour(HDC dc, BITMAPV4HEADER& header, const ViewColour& colour);

// A buffer with pixels the view can show; others show as a black panel.
bool Drawable(const Buffer& buf);

// A header for 32-bit top-down pixels as the view passes them.
BITMAPV4HEADER BlankViewHeader();

// Which rectangles of an update region to draw. Many small ones cost more in
// calls than drawing their bounding box; with StretchPatch a zoomed view
// redraws its whole visible part.
std::vector<RECT> ChooseRects(const RECT* rects, int count, const RECT& bound, ViewZoom zoom,
                              bool stretchPatch, const RECT& visible);

// Draws the picture under each screen rectangle; screen (0, 0) shows the
// buffer's top-left pixel. What lies beyond the zoomed picture is painted
// black. Whole n×n blocks are drawn, so the screen stays aligned with the
// picture; a picture that is not a whole number of m-pixel blocks ends in a
// narrower block.
void RenderRects(HDC dc, const Buffer& buf, const std::vector<RECT>& rects, ViewZoom zoom,
                 BITMAPV4HEADER& header);

struct RegionPaint {
    ViewZoom zoom;
    bool stretchPatch;
    RECT visible;  // client coordinates, used with stretchPatch
};

// Reads the region's rectangles and renders them. A region too complex for
// the rectangle buffer is drawn as its bounding box.
void RenderRegion(HDC dc, HRGN region, const Buffer& buf, BITMAPV4HEADER& header,
                  const RegionPaint& how);

#endif
