// Device-independent bitmaps: the header layout and the exported decoder.
//
// BitmapFromStream is the decoder behind the BMP format; the program also
// hands it clipboard bitmaps and scanned images, which arrive as a header
// with colour table in memory followed by the pixel data in a stream.
#ifndef PIXMILL_BMPFILE_H
#define PIXMILL_BMPFILE_H

#include <stdint.h>

#include "buffer.h"
#include "pixmill_api.h"
#include "streams.h"

struct GFXFileDesc;

// The long-form bitmap header as files and memory hold it (little-endian,
// no padding). A short-form header in memory is this layout cut to its
// first 36 bytes (up to coloursUsed) with a table of 3-byte entries after it.
struct BmpInfoHeader {
    uint32_t size;            // bytes of the header; the colour table follows
    int32_t width;
    int32_t height;           // < 0: rows stored top to bottom
    uint16_t planes;
    uint16_t bits;
    uint32_t compression;     // BmpCompression
    uint32_t imageSize;
    int32_t xPelsPerMeter;
    int32_t yPelsPerMeter;
    uint32_t coloursUsed;     // 0 = 2^bits for palette depths
    uint32_t coloursImportant;
};
static_assert(sizeof(BmpInfoHeader) == 40, "bitmap header layout");

enum BmpCompression : uint32_t {
    BmpNone = 0,
    BmpRle8 = 1,
    BmpRle4 = 2,
    BmpBitFields = 3,
};

// BITMAPINFO is the system's type on Windows. Declaring only its tag keeps
// this header free of the system headers, and agrees with their definition
// where a caller includes both. Elsewhere the same layout is defined here.
#ifdef _WIN32
struct tagBITMAPINFO;
typedef struct tagBITMAPINFO BITMAPINFO;
#else
typedef struct tagBITMAPINFOHEADER {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
} BITMAPINFOHEADER;
typedef struct tagRGBQUAD {
    uint8_t rgbBlue;
    uint8_t rgbGreen;
    uint8_t rgbRed;
    uint8_t rgbReserved;
} RGBQUAD;
typedef struct tagBITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
} BITMAPINFO;
static_assert(sizeof(BITMAPINFOHEADER) == sizeof(BmpInfoHeader), "bitmap header layout");
static_assert(sizeof(RGBQUAD) == 4, "colour table entry layout");
static_assert(sizeof(BITMAPINFO) == 44, "bitmap info layout");
#endif

// Decodes the pixel data that follows in s, as info (header, masks and colour
// table in memory) describes it, into b: an empty b is allocated, a b with
// pixels receives the picture clipped to it. Fills d's palette data when d
// and its pointer are given. Returns false when cancelled through the
// progress hook. An unsupported header raises EInvalidImage before anything
// is read; data that ends early raises the stream's EReadError.
PIXMILL_API bool BitmapFromStream(Buffer& b, BITMAPINFO* info, TStream* s, GFXFileDesc* d);

#endif
