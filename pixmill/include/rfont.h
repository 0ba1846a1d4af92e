// Raster fonts: "*.rfn" files in the font directory.
//
// The library keeps one registry of every face (one size of a family) found
// there, sorted by family name (ignoring case) and then by size, and caches it
// in "fonts.bin" beside the fonts so that the font files are parsed again only
// when the directory changes. An RFont selects one entry; the entry's glyphs
// are loaded on first use and shared by every RFont that selects it.
#ifndef PIXMILL_RFONT_H
#define PIXMILL_RFONT_H

#include "ansistring.h"
#include "pixmill_api.h"

// One font file as the registry saw it.
struct RFontFile {
    char* name;                  // file name, without the directory
    unsigned long size;          // bytes
    unsigned long timeLow;       // last-write time, a 64-bit file time
    unsigned long timeHigh;
    int version;                 // as stored in the file; major = version >> 16
};

// One face. widths, index and glyphs are the prepared data, null until the
// face is prepared.
struct RFontEntry {
    char* name;                  // family name, shared by the family's entries
    int familyCount;             // entries of the family, in its first entry; else 0
    RFontFile* file;
    int offset;                  // file position after the face's DESC chunk
    unsigned char size;          // height in pixels
    unsigned char rowBytes;      // bytes per glyph row
    unsigned char first, last;   // character codes
    unsigned char spacing;       // between characters
    unsigned char spaceWidth;
    unsigned char extra;         // DESC byte 9, kept for the caller
    unsigned char widest;        // 0 until prepared
    int glyphBytes;              // size * rowBytes
    unsigned char* widths;       // last - first + 1 widths, 0 = no glyph
    unsigned char* index;        // version 2: glyph index of each character
    unsigned char* glyphs;       // glyph store
    int users;                   // RFont objects selecting this entry
};

class PIXMILL_API RFont {
public:
    // The override fields hold this when the face's own value applies.
    static const int UseFace = 0x8000000;

    // > 0 proportional with pair kerning, < 0 proportional, 0 fixed pitch
    // (cells of the space width).
    int mode;
    int spaceSize;
    int spacing;
    int reserved;
    RFontEntry* entry;

    RFont();
    RFont(const RFont& other);
    RFont& operator=(const RFont& other);
    ~RFont();

    AnsiString GetName();
    // Selects the family (ignoring case) at the size nearest to the current
    // one, or its smallest size; an unknown family leaves no entry.
    void SetName(AnsiString name);
    int GetSize();
    // The nearest size of the family; ties go to the smaller size.
    void SetSize(int n);
    int GetSpacing();
    int GetSpaceSize();
    // Loads the entry's widths and glyphs; a damaged font file raises
    // EInvalidImage and leaves the entry unprepared.
    void Prepare();
    void Unprepare();

    // The font directory, ending in "\"; set when the library starts.
    static char path[260];
    static char* GetPath();
    // Builds the registry once per process (from fonts.bin when it matches
    // the directory). Out of memory raises EOutOfMemory "RFontInit".
    static void InitReg();
    static RFontEntry* GetReg();
    static int GetCount();

private:
    void Select(RFontEntry* e);
};

#endif
