#include "buffer_view_render.h"

#include <algorithm>
#include <cstdint>

namespace {

TBufferGdi SystemGdi()
{
    return TBufferGdi{&::SetDIBitsToDevice, &::StretchDIBits, &::SetStretchBltMode, &::SetICMMode};
}

TBufferGdi gdi = SystemGdi();

// A run of equal blocks along one axis: `count` blocks of srcBlock picture
// pixels each, drawn as dstBlock screen pixels, starting at src and dst.
struct Span {
    int src, dst;
    int srcBlock, dstBlock;
    int count;
};

// dst * part / whole without overflow: both sides of a block reach 65535.
int Share(int dst, int part, int whole)
{
    return static_cast<int>(static_cast<long long>(dst) * part / whole);
}

// Screen position of the picture offset s (from the span's start) within a span.
int DstOf(const Span& sp, int s)
{
    return sp.dst + s / sp.srcBlock * sp.dstBlock + Share(sp.dstBlock, s % sp.srcBlock, sp.srcBlock);
}

// Screen extent of a picture side of `size` pixels.
long long ScreenExtent(int size, ViewZoom z)
{
    return (static_cast<long long>(size) * z.n + z.m - 1) / z.m;
}

// The spans of blocks covering screen [lo, hi) on one axis (hi already
// clipped to the picture): whole blocks, then the narrower last block.
int AxisSpans(int lo, int hi, int size, ViewZoom z, Span out[2])
{
    int spans = 0;
    int whole = size / z.m;
    long long wholeEnd = static_cast<long long>(whole) * z.n;
    if (lo < wholeEnd) {
        int b0 = lo / z.n;
        int b1 = static_cast<int>((std::min<long long>(hi, wholeEnd) - 1) / z.n);
        out[spans++] = Span{z.m * b0, z.n * b0, z.m, z.n, b1 - b0 + 1};
    }
    int rest = size % z.m;
    if (rest && hi > wholeEnd) {
        int extent = static_cast<int>(ScreenExtent(size, z) - wholeEnd);
        out[spans++] = Span{z.m * whole, static_cast<int>(wholeEnd), rest, extent, 1};
    }
    return spans;
}

struct Target {
    HDC dc;
    const Buffer& buf;
    BITMAPV4HEADER& header;
    bool oneToOne;
};

const BITMAPINFO* Info(const BITMAPV4HEADER& h)
{
    return reinterpret_cast<const BITMAPINFO*>(&h);
}

// Block rows y .. y+rows-1 of ys in one call; the pixels start at the band's
// first row, so the call's source row is always 0.
int DrawBand(const Target& t, const Span& xs, const Span& ys, int y, int rows)
{
    int srcRows = rows * ys.srcBlock;
    const unsigned long* bits = t.buf.pixels + static_cast<long long>(ys.src + y * ys.srcBlock) * t.buf.stride;
    t.header.bV4Width = t.buf.stride;
    t.header.bV4Height = -srcRows;
    if (t.oneToOne)
        return gdi.setDIBitsToDevice(t.dc, xs.dst, ys.dst + y, xs.count, rows, xs.src, 0, 0, rows, bits,
                                     Info(t.header), DIB_RGB_COLORS);
    return gdi.stretchDIBits(t.dc, xs.dst, ys.dst + y * ys.dstBlock, xs.count * xs.dstBlock,
                             rows * ys.dstBlock, xs.src, 0, xs.count * xs.srcBlock, srcRows, bits,
                             Info(t.header), DIB_RGB_COLORS, SRCCOPY);
}

// Picture offsets [s0, s1) of one line, drawn onto screen rows [top, bottom).
void DrawPiece(const Target& t, const Span& xs, const unsigned long* line, int s0, int s1, int top,
               int bottom)
{
    int d0 = DstOf(xs, s0);
    int d1 = s1 == xs.count * xs.srcBlock ? xs.dst + xs.count * xs.dstBlock : DstOf(xs, s1);
    if (d1 <= d0 || s1 <= s0)
        return;
    t.header.bV4Width = s1 - s0;
    t.header.bV4Height = -1;
    if (t.oneToOne)
        gdi.setDIBitsToDevice(t.dc, d0, top, s1 - s0, 1, 0, 0, 0, 1, line + s0, Info(t.header),
                              DIB_RGB_COLORS);
    else
        gdi.stretchDIBits(t.dc, d0, top, d1 - d0, bottom - top, 0, 0, s1 - s0, 1, line + s0,
                          Info(t.header), DIB_RGB_COLORS, SRCCOPY);
}

// One picture line in pieces that never cross a 64 KB boundary of the pixel
// memory, the last resort of drivers that refuse larger blocks. A block that
// straddles a boundary is drawn in its two parts.
void DrawLine(const Target& t, const Span& xs, const unsigned long* line, int top, int bottom)
{
    int total = xs.count * xs.srcBlock;
    int done = 0;
    while (done < total) {
        uintptr_t addr = reinterpret_cast<uintptr_t>(line + done);
        int room = static_cast<int>((0x10000 - (addr & 0xFFFF)) / sizeof(unsigned long));
        if (total - done <= room) {
            DrawPiece(t, xs, line, done, total, top, bottom);
            return;
        }
        int whole = room / xs.srcBlock * xs.srcBlock;
        DrawPiece(t, xs, line, done, done + whole, top, bottom);
        done += whole;
        int before = room - whole;
        if (before) {
            DrawPiece(t, xs, line, done, done + before, top, bottom);
            DrawPiece(t, xs, line, done + before, done + xs.srcBlock, top, bottom);
            done += xs.srcBlock;
        }
    }
}

// Block row y line by line: line i of the block covers its share of the
// block's screen rows, which is none for some lines when zoomed out.
void DrawBlockRowByLines(const Target& t, const Span& xs, const Span& ys, int y)
{
    int top = ys.dst + y * ys.dstBlock;
    for (int i = 0; i < ys.srcBlock; i++) {
        int r0 = Share(ys.dstBlock, i, ys.srcBlock);
        int r1 = Share(ys.dstBlock, i + 1, ys.srcBlock);
        if (r1 <= r0)
            continue;
        const unsigned long* line =
            t.buf.pixels + static_cast<long long>(ys.src + y * ys.srcBlock + i) * t.buf.stride + xs.src;
        DrawLine(t, xs, line, top + r0, top + r1);
    }
}

// Draws in bands as tall as the rectangle; a refused call halves the band,
// and a refused single block row is drawn line by line.
void DrawBlocks(const Target& t, const Span& xs, const Span& ys)
{
    int band = ys.count;
    int y = 0;
    while (y < ys.count) {
        int rows = std::min(band, ys.count - y);
        if (DrawBand(t, xs, ys, y, rows) > 0) {
            y += rows;
        } else if (band >= 2) {
            band /= 2;
        } else {
            DrawBlockRowByLines(t, xs, ys, y);
            band = ys.count;
            y += 1;
        }
    }
}

void FillBlack(HDC dc, int left, int top, int right, int bottom)
{
    if (left >= right || top >= bottom)
        return;
    RECT r = {left, top, right, bottom};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

int ClampInt(long long v)
{
    return static_cast<int>(std::min<long long>(v, 0x7FFFFFFF));
}

void RenderRect(const Target& t, const RECT& r, ViewZoom zoom)
{
    int width = ClampInt(ScreenExtent(t.buf.Width(), zoom));
    int height = ClampInt(ScreenExtent(t.buf.Height(), zoom));
    int left = std::max<int>(r.left, 0), top = std::max<int>(r.top, 0);
    int right = std::min<int>(r.right, width), bottom = std::min<int>(r.bottom, height);
    // A view larger than the zoomed picture (a preview, a small picture at a
    // low zoom) must not read pixels that do not exist.
    FillBlack(t.dc, std::max<int>(r.left, width), r.top, r.right, r.bottom);
    FillBlack(t.dc, r.left, std::max<int>(r.top, height), std::min<int>(r.right, width), r.bottom);
    if (left >= right || top >= bottom)
        return;
    Span xs[2], ys[2];
    int nx = AxisSpans(left, right, t.buf.Width(), zoom, xs);
    int ny = AxisSpans(top, bottom, t.buf.Height(), zoom, ys);
    for (int j = 0; j < ny; j++)
        for (int i = 0; i < nx; i++)
            DrawBlocks(t, xs[i], ys[j]);
}

}  // namespace

TBufferGdi& TBufferGdi::Calls()
{
    return gdi;
}

void TBufferGdi::Restore()
{
    gdi = SystemGdi();
}

bool Drawable(const Buffer& buf)
{
    // Rows that overlap would make the last row reach past the block.
    return buf.pixels && buf.Width() > 0 && buf.Height() > 0 && buf.stride >= buf.Width();
}

BITMAPV4HEADER BlankViewHeader()
{
    BITMAPV4HEADER h = {};
    h.bV4Size = sizeof(BITMAPINFOHEADER);
    h.bV4Planes = 1;
    h.bV4BitCount = 32;
    h.bV4V4Compression = BI_RGB;
    h.bV4CSType = 0;  // calibrated RGB: the endpoints and gamma below apply
    return h;
}

void PrepareColour(HDC dc, BITMAPV4HEADER& header, const ViewColour& colour)
{
    gdi.setICMMode(dc, colour.icm ? ICM_ON : ICM_OFF);
    if (colour.icm && colour.gamma) {
        header.bV4Size = sizeof(BITMAPV4HEADER);
        header.bV4Endpoints = colour.endpoints;
        header.bV4GammaRed = colour.gammaRed;
        header.bV4GammaGreen = colour.gammaGreen;
        header.bV4GammaBlue = colour.gammaBlue;
    } else {
        header.bV4Size = sizeof(BITMAPINFOHEADER);
    }
}

std::vector<RECT> ChooseRects(const RECT* rects, int count, const RECT& bound, ViewZoom zoom,
                              bool stretchPatch, const RECT& visible)
{
    if (!zoom.OneToOne() && stretchPatch)
        return {visible};
    if (count > 10)
        return {bound};
    return std::vector<RECT>(rects, rects + count);
}

void RenderRects(HDC dc, const Buffer& buf, const std::vector<RECT>& rects, ViewZoom zoom,
                 BITMAPV4HEADER& header)
{
    if (zoom.n < 1 || zoom.m < 1)
        zoom = ViewZoom{1, 1};
    if (!zoom.OneToOne())
        gdi.setStretchBltMode(dc, COLORONCOLOR);
    Target t{dc, buf, header, zoom.OneToOne()};
    for (const RECT& r : rects) {
        if (!Drawable(buf))
            FillBlack(dc, r.left, r.top, r.right, r.bottom);
        else
            RenderRect(t, r, zoom);
    }
}

void RenderRegion(HDC dc, HRGN region, const Buffer& buf, BITMAPV4HEADER& header,
                  const RegionPaint& how)
{
    // The rectangles are read into a block of fixed size; a region that does
    // not fit is drawn as its bounding box rather than left stale.
    const DWORD limit = 0xC000;
    DWORD need = GetRegionData(region, 0, nullptr);
    std::vector<RECT> rects;
    std::vector<char> data(need > 0 && need <= limit ? need : 0);
    RGNDATA* rd = reinterpret_cast<RGNDATA*>(data.data());
    if (!data.empty() && GetRegionData(region, need, rd) != 0) {
        const RECT* list = reinterpret_cast<const RECT*>(rd->Buffer);
        rects = ChooseRects(list, static_cast<int>(rd->rdh.nCount), rd->rdh.rcBound, how.zoom,
                            how.stretchPatch, how.visible);
    } else {
        RECT box;
        int kind = GetRgnBox(region, &box);
        if (kind == NULLREGION || kind == ERROR)
            return;
        rects = ChooseRects(&box, 1, box, how.zoom, how.stretchPatch, how.visible);
    }
    RenderRects(dc, buf, rects, how.zoom, header);
}
