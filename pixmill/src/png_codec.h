// The parts of the PNG reader and writer shared between their files: the
// header and its rules, chunk reading, Adam7 passes, row filters and the
// conversion of rows to pixels and back.
#ifndef PIXMILL_PNG_CODEC_H
#define PIXMILL_PNG_CODEC_H

#include <stddef.h>
#include <stdint.h>

#include "buffer.h"
#include "byte_order.h"
#include "streams.h"

struct GFXFileDesc;
struct GFXtra32;

extern const unsigned char PngSignature[8];

// IHDR as the file holds it.
struct PngHeader {
    uint32_t width, height;
    int depth, colourType, compression, filter, interlace;
};

// Bits of one pixel: the samples of its colour type at its depth.
int PngBitsPerPixel(const PngHeader& h);
// Bytes of one pixel as the filters see it: at least 1.
inline int PngFilterBytes(const PngHeader& h) { return (PngBitsPerPixel(h) + 7) >> 3; }
// Bytes of a row of n pixels, without its filter byte.
inline int64_t PngRowBytes(const PngHeader& h, int64_t n) { return (PngBitsPerPixel(h) * n + 7) >> 3; }
// Null when the reader can read pictures of this header, else why not ("PNG: ...").
const char* PngUnreadable(const PngHeader& h);

// One Adam7 pass: every colStep-th pixel from firstCol of every rowStep-th row from firstRow.
struct PngPass {
    int rowStep, firstRow, colStep, firstCol;
};
extern const PngPass PngAdam7[7];
extern const PngPass PngWholePicture;
// Pixels of a pass within a span of total pixels, from first in steps of step.
inline int64_t PngPassCount(int64_t total, int first, int step) { return total > first ? (total - first + step - 1) / step : 0; }
// Bytes of image data the picture's rows take, filter bytes included.
int64_t PngImageDataBytes(const PngHeader& h);

// A chunk's length and type; lengths beyond 2^31 - 1 raise EInvalidImage.
struct PngChunk {
    uint32_t length;
    char type[5];
    bool Is(const char* t) const;
};
PngChunk PngReadChunk(TStream* s);
// Passes over a chunk's data and CRC without checking them.
void PngSkipChunk(TStream* s, const PngChunk& c);
// Reads the chunk's data, keeping its first room bytes in data, and checks its CRC.
void PngReadChunkData(TStream* s, const PngChunk& c, unsigned char* data, uint32_t room);
// From behind the signature: passes over chunks up to the first IHDR, reads
// it and checks its length (at least 13) and CRC.
PngHeader PngReadHeader(TStream* s);

// 256 colours 0x00RRGGBB that palette indices and grey samples go through.
struct PngColours {
    unsigned long table[256];
};
// Grey levels of the depth, samples of 1, 2 and 4 bits widened to 8.
void PngGreyLevels(int depth, PngColours& c);
// A sample of a bKGD or tRNS chunk (16 bits) as an 8-bit level.
unsigned PngSampleLevel(const unsigned char* field, int depth);

// The chunks between the header and the image data: PLTE for palette
// pictures, then bKGD and tRNS; returns the first IDAT. Fills the table, the
// description's palette and transparency, and the background or transparent
// colour of x.
PngChunk PngReadChunksToImage(TStream* s, const PngHeader& h, PngColours& c, GFXFileDesc* d, GFXtra32* x);

// Rows passed to the filters are preceded by PngFilterBytes zero bytes, so
// that row[-bpp] is always readable. Unfiltering takes the filtered bytes
// from src and may go a piece of the row at a time (row and prev then point
// into the rows, behind the pieces done).
void PngUnfilter(int filter, const unsigned char* src, unsigned char* row, const unsigned char* prev, size_t n, int bpp);
// Whether the n bytes are all zero: under Up or Paeth such a row repeats the
// one above.
bool PngAllZero(const unsigned char* p, size_t n);
// Filters raw into out with filter 1 (Sub) or 2 (Up); 0 copies.
void PngFilter(int filter, const unsigned char* raw, const unsigned char* prev, unsigned char* out, size_t n, int bpp);
// How the writer rates a filtered row: the rounded standard deviation of its
// bytes taken as signed; with the count of zero bytes for ties.
int PngFilterScore(const unsigned char* filtered, size_t n, size_t& zeros);

// The first n pixels of an unfiltered row into dst; samples of 16 bits give
// their high byte, alpha is dropped.
void PngRowToPixels(const PngHeader& h, unsigned char* row, unsigned long* dst, int n, const PngColours& c);

// The part of b a load fills: its top-left clipWidth by clipHeight pixels,
// and how far the load has come. Nothing is cleared before decoding; what a
// load leaves unwritten (cancelled, damaged or cut off) turns black when
// this ends, so the picture holds the rows decoded and black.
struct PngTarget {
    PngTarget(Buffer& target, int width, int height, bool adam7)
        : b(target), clipWidth(width), clipHeight(height), interlaced(adam7)
    {
    }
    ~PngTarget();
    PngTarget(const PngTarget&) = delete;
    PngTarget& operator=(const PngTarget&) = delete;

    Buffer& b;
    int clipWidth, clipHeight;
    bool interlaced;
    // The pass being decoded (0 without interlacing), past the last when
    // all are; rows of that pass before nextRow are placed.
    int pass = 0;
    int64_t nextRow = 0;
};

// Decodes the image data, whose first chunk c has just been read, into t;
// false when cancelled.
bool PngDecodeImage(PngTarget& t, TStream* s, const PngHeader& h, const PngColours& c, const PngChunk& first);

// Writes a whole chunk: length, type, data, CRC.
void PngWriteChunk(TStream* s, const char* type, const unsigned char* data, uint32_t length);
// Writes the one IDAT chunk of b's rows: pixels at 24 bits, else index bytes
// packed to bits; one pass, or the seven of Adam7. False when cancelled.
bool PngWriteImage(Buffer& b, TStream* s, int bits, bool interlaced);

#endif
