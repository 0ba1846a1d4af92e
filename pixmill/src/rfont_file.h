// Reading raster-font files: the faces a file holds (for the registry), and
// one face's widths and glyphs (to prepare it).
//
// A file: "FONT", a big-endian length, a little-endian version, then chunks of
// a four-character identifier, a big-endian length and that many bytes.
#ifndef PIXMILL_RFONT_FILE_H
#define PIXMILL_RFONT_FILE_H

#include <vector>

#include "ansistring.h"
#include "rfont_registry.h"

class TStream;

// Files of this version or later are not ours to read.
const unsigned long RFontVersionLimit = 0x30000;

struct ScannedFace {
    FaceDesc desc;
    int offset;  // after the DESC chunk
};

struct ScannedFont {
    bool isFont = false;  // began with "FONT"
    int version = 0;
    bool hasName = false;
    AnsiString family;
    std::vector<ScannedFace> faces;
};

// Never raises for damaged content: the walk stops at the first chunk that
// does not fit in the file. Faces with no rows, no row bytes or first > last
// are left out, being unusable.
ScannedFont ScanFontFile(TStream& s);

// Reads e's widths and glyph store from s (its font file). Leaves e
// unprepared when the face has no glyph data; raises EInvalidImage (and
// leaves e unprepared) when the data is damaged.
void LoadFace(TStream& s, RFontEntry& e, int version);

#endif
