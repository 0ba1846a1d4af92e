// Picture files: the format registry and the records that cross it.
//
// Every format is one GFXFile object, registered once when the library
// starts, in a fixed order that is also the order in which formats are probed
// (see RegisterFormats). The program reads these records' fields directly, so
// their layouts are fixed (checked where they are defined).
//
// The format contract:
//  Test  looks at the stream from its current position and restores it;
//        1 = this format, 0 = not, -1 = this format in a version the reader
//        cannot read. A stream too short for the signature answers 0. With a
//        non-zero answer and d not null, d is cleared (all but paletteData)
//        and filled; images is 0 for an unreadable version.
//  Load  reads from the stream's start. An empty b is allocated to the
//        picture's size; a b with pixels (its rect starting at 0, 0) receives
//        the picture clipped to it. The picture's area is cleared first.
//        Progress goes to PrStep as the percentage of the stream consumed;
//        false from PrStep stops the load, which returns false. Damaged data
//        raises EInvalidImage, leaving what was read in b.
//  Save  gets validated parameters. For palette depths (bits <= 8, not grey)
//        b is the index image: one byte per pixel, b's rect the picture's
//        size, rows stride * 4 bytes apart, palette in p->paletteData with
//        p->colours entries. Progress is the percentage of rows written.
#ifndef PIXMILL_GFXFILE_H
#define PIXMILL_GFXFILE_H

#include <stdint.h>

#include "ansistring.h"
#include "buffer.h"
#include "gfxstream.h"
#include "pixmill_api.h"

class GFXFile;

// What a Test or Load reports about a file. The caller owns it and zeroes it.
struct GFXFileDesc {
    int32_t width;
    int32_t height;
    uint8_t colour;       // 1 = colour picture
    uint8_t palette;      // 1 = indexed; neither colour nor palette = grey
    uint8_t bits;         // bits per pixel in the file
    uint8_t channelBits;  // bits per colour channel
    int32_t images;       // images the file can deliver; 0 = version not readable
    GFXFile* format;
    uint8_t interlaced;
    uint8_t transparent;  // the file names a transparent colour
    uint8_t* paletteData; // caller's 768 bytes (R, G, B) to fill, or null
};

// How a picture is to be written.
struct GFXSaveParams {
    int8_t bits;          // 0 = choose, -1 = smallest palette depth that holds the colours
    uint8_t grey;
    uint8_t quality;      // 1..100; 0 = the format's default
    uint8_t interlaced;
    int16_t colours;      // 2..256 wanted; 0 = all the depth holds; < 0 = -colours of paletteData as given
    uint8_t dither;
    uint8_t transparent;  // colour2 of the GFXtra32 is transparent
    GFXFile* format;      // null = by the file name's extension
    uint8_t* paletteData; // 768 bytes R, G, B; null = the library makes one
    Buffer* work;         // scratch buffer palette making may use, or null

    // Parameters for saving again what a load reported.
    PIXMILL_API GFXSaveParams& operator=(GFXFileDesc& d);
};

// Extra data that travels with a picture.
struct GFXtra32 {
    int16_t x, y;         // origin, or a brush's handle point
    uint32_t colour1;     // drawing colour 0x00RRGGBB (palette index in the top byte when saved)
    uint32_t colour2;     // background or transparent colour
};

class PIXMILL_API GFXFile {
public:
    GFXFile* next;
    AnsiString name;
    AnsiString masks;        // "*.BMP;*.RLE": upper case, the first gives the extension
    uint32_t colourMask;     // bit n - 1: writes colour pictures of n bits; 0 = read-only
    uint8_t greyMask;        // bit n - 1: writes grey pictures of n bits
    bool interlace;          // can write interlaced
    int8_t quality;          // > 0: has a quality setting
    GFXSaveParams defaults;  // the last parameters used

    GFXFile(const char* name, const char* masks, unsigned long colour, unsigned char grey, bool interlace,
            char quality);
    GFXFile(const GFXFile&) = delete;
    GFXFile& operator=(const GFXFile&) = delete;

    virtual int Test(TInputStream* s, GFXFileDesc* d) = 0;
    virtual bool Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32* x, int image) = 0;
    virtual bool Save(Buffer& b, TOutputStream* s, GFXtra32* x, GFXSaveParams* p);
    virtual ~GFXFile();

    static GFXFile* Formats();
    static GFXFile* GetFormat(TInputStream* s, GFXFileDesc* d);
    static GFXFile* GetDefaultFormat(AnsiString& name);
    static bool Test(AnsiString& name, GFXFileDesc* d);
    static bool Load(Buffer& b, AnsiString& name, GFXtra32* x, int image, GFXFileDesc* d);
    static bool Save(Buffer& b, AnsiString name, GFXtra32* x, GFXSaveParams* p);
    static void SetProgFunc(void (*start)(), bool (*step)(int), void (*end)());

    // Progress hooks; a null hook is not called.
    static void (*PrStart)();
    static bool (*PrStep)(int);
    static void (*PrEnd)();

    // Calls PrStep when set; false means the user cancelled.
    static bool Step(int percent);
    // Percentage of s consumed, in 64-bit arithmetic so large files do not
    // wrap; a reader with buffered data passes what it has really used.
    static int Percent(int64_t done, int64_t total);
};

#endif
