// What raster fonts need from the operating system: the font directory, the
// files in it, and the default system font to fall back on. The Windows build
// installs the real one; tests install one over memory.
#ifndef PIXMILL_RFONT_SYSTEM_H
#define PIXMILL_RFONT_SYSTEM_H

#include <vector>

#include "ansistring.h"
#include "buffer.h"

class TStream;

struct FontFileInfo {
    AnsiString name;  // without the directory
    unsigned long size;
    unsigned long timeLow, timeHigh;
};

class RFontSystem {
public:
    virtual ~RFontSystem() {}
    // The "*.rfn" files of dir (no folders, none of 4 GB or more), in
    // directory order.
    virtual std::vector<FontFileInfo> ListFonts(const AnsiString& dir) = 0;
    // Null when the file cannot be opened or created; the caller deletes.
    virtual TStream* OpenRead(const AnsiString& file) = 0;
    virtual TStream* Create(const AnsiString& file) = 0;
    virtual void Remove(const AnsiString& file) = 0;
    virtual void OutText(Buffer& b, Pair<int> pos, AnsiString& s, unsigned long colour) = 0;
    virtual Pair<int> GetTextExtent(AnsiString& s) = 0;
};

// Null until one is installed: then there are no font files and the fallback
// draws nothing.
RFontSystem* GetRFontSystem();
void SetRFontSystem(RFontSystem* system);

#endif
