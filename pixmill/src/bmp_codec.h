// The parts of the bitmap reader and writer shared between their files:
// header rules, the picture being filled, row conversion and run-length
// coding.
#ifndef PIXMILL_BMP_CODEC_H
#define PIXMILL_BMP_CODEC_H

#include <stddef.h>
#include <stdint.h>

#include "bmpfile.h"
#include "buffer.h"
#include "byte_order.h"
#include "colconv_rows.h"
#include "streambuf.h"

struct GFXFileDesc;

const int BmpFileHeaderBytes = 14;
const int BmpCoreHeaderBytes = 12;   // the short form as files hold it
const int BmpShortInfoBytes = 36;    // the short form converted to the long layout
const int BmpLongInfoBytes = 40;
const int BmpMaskBytes = 12;         // red, green, blue masks at the end of a 40-byte header

// The header fields of an info block in memory: all 40 bytes of a long-form
// header, the first 36 of a converted short form (size below 40).
BmpInfoHeader BmpParseInfo(const unsigned char* info);
// The 12 bytes of a short-form header as files store them, moved to the long layout.
BmpInfoHeader BmpFromCoreHeader(const unsigned char* core);
// Null when the decoder reads the header, else why not ("BMP: ...").
const char* BmpUnsupported(const BmpInfoHeader& h);
// Bytes of one stored, uncompressed row: whole 32-bit words.
int64_t BmpStoredRowBytes(int64_t width, int bits);

// Where decoded pixels go: the picture's rows inside b, and the colour
// table every index passes through.
struct BmpTarget {
    Buffer* b;
    int width, height;          // of the picture
    int clipWidth, clipHeight;  // of the part that lies inside b
    bool topDown;
    unsigned long table[256];   // entries the file lacks stay 0, so any index is safe
    int64_t streamStart;        // where the pixel data began, for progress
    int64_t streamSize;

    // The pixels of the n-th row stored in the file, or null when it lies outside b.
    unsigned long* StoredRow(int64_t n) const;
    // Calls the progress hook with the share of the stream consumed so far.
    bool Progress(const StreamBuf& in) const;
};

// How one uncompressed stored row becomes pixels.
struct BmpRowFormat {
    enum Kind { Index1, Index4, Index8, Word555, Fields16, BGR24, BGRX32, RGBX32, Fields32 };
    Kind kind;
    Colconv::BitField fields[3];
};

// The masks are read only for bit-field compression (from info + 40).
BmpRowFormat BmpChooseRowFormat(const BmpInfoHeader& h, const unsigned char* info);
// Converts the first n pixels of a stored row; scratch holds n bytes for indices.
void BmpConvertRow(const BmpRowFormat& f, unsigned char* src, unsigned long* dst, int n, const unsigned long* table,
                   unsigned char* scratch);

// Decodes RLE8 or RLE4 data (rows bottom to top) into t; false when cancelled.
bool BmpDecodeRle(StreamBuf& in, const BmpTarget& t, bool rle4);
// Room a coded row of n pixels may need, its end-of-line code included.
size_t BmpRleRowRoom(int n);
// Codes one row of n indices, ending with an end-of-line code, into out;
// returns the bytes written.
size_t BmpEncodeRleRow(const unsigned char* row, int n, bool rle4, unsigned char* out);

// The decoder behind Load and BitmapFromStream. infoBytes bounds what may be
// read of info (header, masks, colour table); SIZE_MAX when the caller did
// not say, as for the exported entry.
bool BmpDecode(Buffer& b, const unsigned char* info, size_t infoBytes, TStream* s, GFXFileDesc* d);

#endif
