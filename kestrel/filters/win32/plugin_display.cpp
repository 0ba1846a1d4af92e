#include "plugin_display.h"

#include <string.h>

#include <vector>

#include "winapi.h"

namespace {

bool icmOn = false;

const int BandBytes = 32768;

// 2.30 fixed point, as colour-space end points are stored.
long Fx230(double v) { return long(v * 1073741824.0 + 0.5); }

void FillHeader(BITMAPV4HEADER& h, int width, int rows)
{
    memset(&h, 0, sizeof h);
    h.bV4Size = icmOn ? sizeof(BITMAPV4HEADER) : sizeof(BITMAPINFOHEADER);
    h.bV4Width = width;
    h.bV4Height = -rows;  // top-down
    h.bV4Planes = 1;
    h.bV4BitCount = 24;
    h.bV4V4Compression = BI_RGB;
    if (!icmOn) return;
    h.bV4CSType = LCS_CALIBRATED_RGB;
    h.bV4GammaRed = h.bV4GammaGreen = h.bV4GammaBlue = 0x00023333;
    h.bV4Endpoints.ciexyzRed = {Fx230(0.64), Fx230(0.33), Fx230(0.03)};
    h.bV4Endpoints.ciexyzGreen = {Fx230(0.30), Fx230(0.60), Fx230(0.10)};
    h.bV4Endpoints.ciexyzBlue = {Fx230(0.15), Fx230(0.06), Fx230(0.79)};
}

}  // namespace

void SetDisplayICM(bool on) { icmOn = on; }

OSErr PlugInDisplayPixels(const PSPixelMap* source, const VRect* srcRect, int32_t dstRow, int32_t dstCol,
                          void* platformContext)
{
    HDC dc = static_cast<HDC>(platformContext);
    if (!source || !srcRect || !dc || !source->baseAddr) return -1;
    if (source->planeBytes == 1 && source->colBytes < 3) return noErr;  // not RGB: nothing to show
    const int width = srcRect->right - srcRect->left, rows = srcRect->bottom - srcRect->top;
    if (width <= 0 || rows <= 0) return noErr;
    const int stride = (width * 3 + 3) & ~3;
    const int bandRows = stride > BandBytes ? 1 : BandBytes / stride;
    std::vector<unsigned char> band(size_t(stride) * bandRows);
    SetICMMode(dc, icmOn ? ICM_ON : ICM_OFF);
    const unsigned char* base = static_cast<const unsigned char*>(source->baseAddr);
    for (int first = 0; first < rows; first += bandRows) {
        const int n = rows - first < bandRows ? rows - first : bandRows;
        for (int i = 0; i < n; i++) {
            const int y = srcRect->top + first + i - source->bounds.top;
            unsigned char* out = &band[size_t(i) * stride];
            for (int x = 0; x < width; x++) {
                const unsigned char* p =
                    base + y * source->rowBytes + (srcRect->left + x - source->bounds.left) * source->colBytes;
                out[3 * x + 2] = p[0];                         // R
                out[3 * x + 1] = p[source->planeBytes];        // G
                out[3 * x] = p[2 * source->planeBytes];        // B
            }
        }
        BITMAPV4HEADER h;
        FillHeader(h, width, n);
        SetDIBitsToDevice(dc, dstCol, dstRow + first, DWORD(width), DWORD(n), 0, 0, 0, UINT(n), band.data(),
                          reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS);
    }
    return noErr;
}
