// Rendering is done in bands of rows, so that a large picture needs no
// second full-size bitmap beside the buffer; drawing the graphic shifted up
// by the band's first row gives the same pixels as one large drawing.
#include "graphic_render.h"

#include "bitmap.h"
#include "canvas.h"
#include "colconv.h"
#include "exceptions.h"
#include "picture_clip.h"
#include "picture_limits.h"
#include "scratch_block.h"

#include <string.h>

namespace {

const int BandPixels = 1 << 22;

void Refuse(const char* what, const char* rule)
{
    AnsiString detail = AnsiString(what) + ": " + rule;
    throw EInvalidImage(detail.c_str());
}

class ScreenDC {
public:
    ScreenDC() : dc_(GetDC(nullptr)) {}
    ~ScreenDC() { ReleaseDC(nullptr, dc_); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    operator HDC() const { return dc_; }

private:
    HDC dc_;
};

// The whole bitmap as top-down 32-bit rows.
void ReadRows(HBITMAP bitmap, int width, int rows, unsigned long* out)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -rows;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ScreenDC screen;
    if (GetDIBits(screen, bitmap, 0, UINT(rows), out, &info, DIB_RGB_COLORS) != rows)
        throw EOutOfResources("Out of system resources");
}

// Rows y .. y + n - 1 of b as a bottom-up 32-bit DIB's lines, lowest first.
void PackRows(Buffer& b, int y, int n, unsigned long* out)
{
    int width = b.Width();
    for (int k = 0; k < n; ++k) memcpy(out + k * width, b.At(b.left, b.top + y + n - 1 - k), size_t(width) * 4);
}

}  // namespace

void PreparePicture(Buffer& b, int width, int height, const char* what)
{
    if (width < 1 || height < 1) Refuse(what, "picture has no pixels");
    if ((long long)width * height > MaxPicturePixels) Refuse(what, "more than 2^28 pixels");
    if (!b.pixels) b.Alloc({width, height});
    b.Box(Rect{0, 0, width - 1, height - 1}, 0);
}

void RenderGraphic(Buffer& b, TGraphic* graphic, int width, int height, const char* what)
{
    PreparePicture(b, width, height, what);
    Visible v = ClipToBuffer(b, width, height);
    int columns = v.x1 - v.x0;
    if (columns <= 0 || v.y1 <= v.y0) return;
    int band = BandPixels / columns;
    if (band < 1) band = 1;
    if (band > v.y1 - v.y0) band = v.y1 - v.y0;

    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);  // exact colours whatever the display's depth
    bitmap.SetSize(columns, band);
    ScratchBlock<unsigned long> rows(uint64_t(columns) * band);
    for (int y = v.y0; y < v.y1; y += band) {
        TCanvas* canvas = bitmap.GetCanvas();
        if (y != v.y0) PatBlt(canvas->GetHandle(), 0, 0, columns, band, WHITENESS);
        canvas->Draw(-v.x0, -y, graphic);
        ReadRows(bitmap.GetHandle(), columns, band, rows.Get());
        int n = v.y1 - y < band ? v.y1 - y : band;
        for (int k = 0; k < n; ++k) Colconv::RGB32RGB32s(rows.Get() + k * columns, b.At(v.x0, y + k), columns);
    }
}

void PutRows(HBITMAP bitmap, Buffer& b)
{
    int width = b.Width(), height = b.Height();
    int band = BandPixels / width;
    if (band < 1) band = 1;
    if (band > height) band = height;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ScratchBlock<unsigned long> rows(uint64_t(width) * band);
    ScreenDC screen;
    // Bottom-up lines are counted from the picture's last row.
    for (int y = 0; y < height; y += band) {
        int n = height - y < band ? height - y : band;
        PackRows(b, y, n, rows.Get());
        if (SetDIBits(screen, bitmap, UINT(height - y - n), UINT(n), rows.Get(), &info, DIB_RGB_COLORS) != n)
            throw EOutOfResources("Out of system resources");
    }
}
