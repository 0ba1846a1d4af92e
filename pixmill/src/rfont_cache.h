// The font cache "fonts.bin": the registry without pointers, so that the font
// files need not be parsed again while the directory is unchanged.
//
// Little-endian: the file count, 20-byte file records, the file-name block,
// the entry count, 44-byte entries, the family-name block. A record's name
// field holds, in the first record, the size of the whole name block and in
// every other one the length (with terminator) of the name before it; family
// names are told the same way in the name field of each family's first entry.
#ifndef PIXMILL_RFONT_CACHE_H
#define PIXMILL_RFONT_CACHE_H

#include <stddef.h>

#include <vector>

#include "rfont_registry.h"
#include "rfont_system.h"

class TStream;

void WriteFontCache(const FontRegistry& r, TStream& out);
// Nothing read from the file is trusted: any count, length, index or order
// that does not fit gives false, and the cache is then rebuilt.
bool ReadFontCache(const unsigned char* data, size_t size, FontRegistry& r);
// The records name exactly the listed files (ignoring case), with their
// sizes and times.
bool CacheMatches(const FontRegistry& r, const std::vector<FontFileInfo>& dir);

#endif
