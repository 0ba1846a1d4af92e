// Packed DIB parsing: the header kinds, colour tables and bit sizes a BMP file
// may hold, each checked against the bytes actually present.
#include "dib.h"
#include <string.h>
#include "byte_order.h"
#include "graphics.h"
#include "picture_limits.h"

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) throw EInvalidGraphic(what);
}

// Core header (12 bytes) into an info header; its colours are 3 bytes each.
int ReadCoreHeader(const unsigned char* data, BITMAPINFOHEADER& h)
{
    h.biWidth = int(GetLE16(data + 4));
    h.biHeight = int(GetLE16(data + 6));
    h.biPlanes = WORD(GetLE16(data + 8));
    h.biBitCount = WORD(GetLE16(data + 10));
    h.biCompression = BI_RGB;
    return 3;
}

int ReadInfoHeader(const unsigned char* data, BITMAPINFOHEADER& h)
{
    h.biWidth = int(GetLE32(data + 4));
    h.biHeight = int(GetLE32(data + 8));
    h.biPlanes = WORD(GetLE16(data + 12));
    h.biBitCount = WORD(GetLE16(data + 14));
    h.biCompression = GetLE32(data + 16);
    h.biSizeImage = GetLE32(data + 20);
    h.biXPelsPerMeter = int(GetLE32(data + 24));
    h.biYPelsPerMeter = int(GetLE32(data + 28));
    h.biClrUsed = GetLE32(data + 32);
    return 4;
}

// Much the same rules as Pixmill's bitmap reader (BmpUnsupported in
// pixmill/src/bmp_header.cpp), kept apart because this library sits below
// Pixmill and cannot call it. They part where this reader takes what GDI
// draws: a short-form header with 16 or 32 bits, and a 64-byte header with
// compression 3 (read as bit fields, where Pixmill refuses OS/2 Huffman
// data); and only header sizes up to 124 are taken here. The pixel limit is
// the one both share.
void CheckGeometry(const BITMAPINFOHEADER& h)
{
    Check(h.biPlanes == 1, "BMP planes must be 1");
    Check(h.biWidth > 0 && h.biHeight != 0 && h.biHeight != int(0x80000000u), "BMP size must not be zero");
    long long rows = h.biHeight < 0 ? -(long long)h.biHeight : h.biHeight;
    Check((long long)h.biWidth * rows <= MaxPicturePixels, "BMP picture too large");
    unsigned bits = h.biBitCount;
    Check(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32, "BMP bit count");
    switch (h.biCompression) {
    case BI_RGB: break;
    case BI_RLE8: Check(bits == 8 && h.biHeight > 0, "BMP RLE8 needs 8 bits, bottom-up"); break;
    case BI_RLE4: Check(bits == 4 && h.biHeight > 0, "BMP RLE4 needs 4 bits, bottom-up"); break;
    case BI_BITFIELDS: Check(bits == 16 || bits == 32, "BMP bit fields need 16 or 32 bits"); break;
    default: throw EInvalidGraphic("BMP compression not supported");
    }
}

}  // namespace

int DibInfo::ColorCount() const
{
    if (header.biBitCount > 8) return 0;
    int full = 1 << header.biBitCount;
    return header.biClrUsed && int(header.biClrUsed) < full ? int(header.biClrUsed) : full;
}

int DibStride(int width, int bitCount)
{
    long long stride = ((long long)width * bitCount + 31) / 32 * 4;
    return stride > 0x7FFFFFFF ? -1 : int(stride);
}

ParsedDib ParseDib(const unsigned char* data, int size, int bitsOffset)
{
    ParsedDib dib;
    memset(&dib.info, 0, sizeof dib.info);
    BITMAPINFOHEADER& h = dib.info.header;
    Check(data && size >= 12, "BMP header truncated");
    unsigned headerSize = GetLE32(data);
    Check(headerSize == 12 || (headerSize >= 40 && headerSize <= 124), "BMP header size");
    Check(int(headerSize) <= size, "BMP header truncated");
    int colorBytes = headerSize == 12 ? ReadCoreHeader(data, h) : ReadInfoHeader(data, h);
    h.biSize = sizeof(BITMAPINFOHEADER);
    CheckGeometry(h);

    // The masks follow a 40-byte header; longer headers hold them inside.
    int pos = int(headerSize);
    if (h.biCompression == BI_BITFIELDS) {
        Check(headerSize >= 52 || pos + 12 <= size, "BMP masks truncated");
        memcpy(dib.info.colors, data + 40, 12);
        if (headerSize == 40) pos += 12;
    }
    if (h.biBitCount <= 8) {
        Check(h.biClrUsed <= (1u << h.biBitCount), "BMP colour count");
        int count = dib.info.ColorCount();
        Check((long long)pos + (long long)count * colorBytes <= size, "BMP colour table truncated");
        for (int i = 0; i < count; ++i) {
            const unsigned char* c = data + pos + i * colorBytes;
            dib.info.colors[i] = RGBQUAD{c[0], c[1], c[2], 0};
        }
        pos += count * colorBytes;
        h.biClrUsed = DWORD(count);
    } else {
        // Some writers list colours for true-colour pictures: skipped.
        if (h.biClrUsed && h.biClrUsed < 0x1000000u) pos += int(h.biClrUsed) * colorBytes;
        h.biClrUsed = 0;
    }

    if (bitsOffset < 0) bitsOffset = pos;
    Check(bitsOffset >= int(headerSize) && bitsOffset <= size, "BMP bits offset");
    int available = size - bitsOffset;
    int rows = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    if (h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4) {
        Check(available > 0, "BMP RLE data missing");
        if (h.biSizeImage == 0 || h.biSizeImage > DWORD(available)) h.biSizeImage = DWORD(available);
    } else {
        int stride = DibStride(h.biWidth, h.biBitCount);
        Check(stride > 0 && (long long)stride * rows <= available, "BMP pixel data truncated");
        h.biSizeImage = DWORD(stride * rows);
    }
    dib.bits = data + bitsOffset;
    dib.bitsSize = int(h.biSizeImage);
    return dib;
}
