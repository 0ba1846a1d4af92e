// Shared by the tests of the caption, page control and glyph buttons:
// waiting with the message loop running, and colour comparisons.
#ifndef TESTS_COMPONENTS_UI2_HELPERS_H
#define TESTS_COMPONENTS_UI2_HELPERS_H

#include <stdint.h>
#include <string.h>

#include <vector>

#include "../../gui/win32/gui_harness.h"
#include "bitmap.h"
#include "canvas.h"

namespace ui2 {

// Runs the message loop (timers included) for about ms milliseconds.
inline void PumpFor(unsigned ms)
{
    DWORD end = GetTickCount() + ms;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        gui::PumpUntilIdle();
    }
}

// Painting into memory goes through the harness's DIB DC.
using gui::TDibDC;

// 0x00BBGGRR colour value -> 0x00RRGGBB pixel.
inline uint32_t Pixel(unsigned bgr)
{
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

// Each channel within tolerance.
inline bool Near(uint32_t a, uint32_t b, int tolerance = 8)
{
    for (int s = 0; s < 24; s += 8) {
        int d = int((a >> s) & 0xFF) - int((b >> s) & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}

// A glyph of n cells of w x h, each cell one colour, with a transparent
// (magenta) bottom-left corner pixel in every cell.
inline TBitmap* CellGlyph(int n, int w, int h, const TColor* colours)
{
    TBitmap* b = new TBitmap;
    b->SetSize(n * w, h);
    TCanvas* c = b->GetCanvas();
    for (int i = 0; i < n; ++i) {
        c->GetBrush()->SetColor(colours[i]);
        c->FillRect(RECT{i * w, 0, i * w + w, h});
        c->SetPixels(i * w, h - 1, clFuchsia);
    }
    return b;
}

}  // namespace ui2

#endif
