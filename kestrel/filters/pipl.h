// The descriptions a plug-in filter file carries as resources: PiPL (a
// property list) and the older PIMI. Both are read only within the bytes the
// resource has: a damaged or hostile file is skipped, never read past.
#ifndef KESTREL_PIPL_H
#define KESTREL_PIPL_H

#include <stddef.h>

#include <string>

// What one resource describes.
struct PlugInDescription {
    std::string entry;     // the exported entry point's name
    std::string name;      // empty: the caller uses the file's base name
    std::string category;  // empty: listed under the default category
};

// Four-character codes as the resources hold them: 32-bit little-endian
// values whose most significant byte is the first character.
const unsigned long FourCC8BIM = 0x3842494DUL;  // '8BIM'
const unsigned long FourCCKind = 0x6B696E64UL;  // 'kind'
const unsigned long FourCCName = 0x6E616D65UL;  // 'name'
const unsigned long FourCCCatg = 0x63617467UL;  // 'catg'
const unsigned long FourCCWx86 = 0x77783836UL;  // 'wx86'
const unsigned long FourCCFilter = 0x3842464DUL;  // '8BFM'

// A PiPL: a 16-bit version, a 32-bit value, the 32-bit property count at
// byte 6 and the properties from byte 10, each a vendor, key, ID and length
// (32 bits each) and its data padded to 4 bytes. True for a filter (kind
// '8BFM') with an entry point; false for anything else, and for a property
// or string that reaches past the resource.
bool ParsePiPL(const unsigned char* data, size_t size, PlugInDescription& out);

// A PIMI of integer ID id: the entry point is "ENTRYPOINT<id>"; a 16-bit 3
// and a zero-terminated string give the category, a 16-bit 4 and 16 bytes
// follow, then (after one byte when no 16-bit 3 follows at once) a 16-bit 3
// and the name. What is missing or cut short is left empty.
void ParsePIMI(const unsigned char* data, size_t size, int id, PlugInDescription& out);

#endif
