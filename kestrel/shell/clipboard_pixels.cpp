#include "clipboard_pixels.h"

#include <string.h>

#include "bmpfile.h"
#include "paintkit.h"
#include "selection_trace.h"

namespace {

Rect Clipped(const Buffer& pic, Rect r)
{
    if (r.left < pic.left) r.left = pic.left;
    if (r.top < pic.top) r.top = pic.top;
    if (r.right > pic.right) r.right = pic.right;
    if (r.bottom > pic.bottom) r.bottom = pic.bottom;
    return r;
}

unsigned long Pixel(const Buffer& pic, int x, int y)
{
    return pic.pixels[(y - pic.top) * pic.stride + (x - pic.left)];
}

unsigned long Travelling(unsigned long p, bool keepAll)
{
    if (keepAll) return p;
    return (p & SelectedBit) ? p & ~SelectedBit : KeyPixel;
}

void PutPixel32(unsigned char* to, unsigned long p)
{
    for (int i = 0; i < 4; ++i) to[i] = (unsigned char)(p >> (8 * i));
}

}  // namespace

std::vector<unsigned char> ClipboardDibFromPicture(Buffer& pic, Rect area, bool keepAll)
{
    Rect r = Clipped(pic, area);
    if (pic.pixels == nullptr || r.right < r.left || r.bottom < r.top) return {};
    BmpInfoHeader h = {};
    h.size = sizeof h;
    h.width = r.right - r.left + 1;
    h.height = r.bottom - r.top + 1;
    h.planes = 1;
    h.bits = 32;
    std::vector<unsigned char> block(sizeof h + size_t(h.width) * h.height * 4);
    memcpy(block.data(), &h, sizeof h);
    unsigned char* to = block.data() + sizeof h;
    for (int y = r.bottom; y >= r.top; --y)
        for (int x = r.left; x <= r.right; ++x, to += 4) PutPixel32(to, Travelling(Pixel(pic, x, y), keepAll));
    return block;
}

void RestoreClipboardKeys(Buffer& pic, const unsigned char* bits, int bitsBytes, bool bottomUp)
{
    if (pic.pixels == nullptr || bits == nullptr) return;
    int width = pic.Width(), height = pic.Height();
    int rows = bitsBytes / (width * 4);
    if (rows > height) rows = height;
    for (int i = 0; i < rows; ++i) {
        const unsigned char* from = bits + size_t(i) * width * 4;
        unsigned long* to = pic.pixels + (bottomUp ? height - 1 - i : i) * pic.stride;
        for (int x = 0; x < width; ++x, from += 4) {
            bool key = from[0] == 0 && from[1] == 0 && from[2] == 0 && from[3] == 1;
            to[x] = key ? KeyPixel : to[x] & 0x00FFFFFF;
        }
    }
}
