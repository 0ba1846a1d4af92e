// The chunks between IHDR and the image data that the reader uses: PLTE,
// bKGD and tRNS. Everything else is passed over unchecked.
#include <string.h>

#include "exceptions.h"
#include "gfxfile.h"
#include "png_codec.h"

namespace {

const uint32_t MaxPaletteBytes = 768;
const uint32_t MaxKeyBytes = 6;  // three 16-bit samples

// Widens a sample of 1, 2 or 4 bits to 8 by repeating its bits.
unsigned Widen(unsigned v, int depth)
{
    switch (depth) {
    case 1: return v * 0xFF;
    case 2: return v * 0x55;
    case 4: return v * 0x11;
    default: return v;
    }
}

void ReadPalette(TStream* s, const PngChunk& c, PngColours& colours, GFXFileDesc* d)
{
    if (c.length % 3 != 0 || c.length > MaxPaletteBytes)
        throw EInvalidImage("PNG: PLTE length not a multiple of 3 up to 768");
    unsigned char rgb[MaxPaletteBytes] = {};
    PngReadChunkData(s, c, rgb, MaxPaletteBytes);
    for (int i = 0; i < 256; ++i)
        colours.table[i] = (unsigned long)rgb[3 * i] << 16 | rgb[3 * i + 1] << 8 | rgb[3 * i + 2];
    if (d && d->paletteData) memcpy(d->paletteData, rgb, MaxPaletteBytes);
}

// Palette pictures: the PLTE chunk, which must come before the image data.
void FindPalette(TStream* s, PngColours& colours, GFXFileDesc* d)
{
    for (;;) {
        const PngChunk c = PngReadChunk(s);
        if (c.Is("PLTE")) return ReadPalette(s, c, colours, d);
        if (c.Is("IDAT") || c.Is("IEND")) throw EInvalidImage("PNG: palette picture without PLTE before its image data");
        PngSkipChunk(s, c);
    }
}

// A grey level or an R, G, B triple of 16-bit samples as a colour.
unsigned long KeyColour(const PngHeader& h, const unsigned char* samples)
{
    if (h.colourType & 2)
        return (unsigned long)PngSampleLevel(samples, h.depth) << 16 | PngSampleLevel(samples + 2, h.depth) << 8 |
               PngSampleLevel(samples + 4, h.depth);
    return PngSampleLevel(samples, h.depth) * 0x010101ul;
}

void ReadBackground(TStream* s, const PngChunk& c, const PngHeader& h, const PngColours& colours, GFXtra32* x)
{
    if (c.length > MaxKeyBytes) throw EInvalidImage("PNG: bKGD longer than 6 bytes");
    unsigned char f[MaxKeyBytes] = {};
    PngReadChunkData(s, c, f, MaxKeyBytes);
    x->colour2 = h.colourType == 3 ? uint32_t(colours.table[f[0]]) : uint32_t(KeyColour(h, f));
}

// True when the chunk names a transparent colour, which goes to key.
bool ReadTransparency(TStream* s, const PngChunk& c, const PngHeader& h, const PngColours& colours,
                      unsigned long& key)
{
    if (h.colourType == 3) {
        if (c.length > 256) throw EInvalidImage("PNG: tRNS longer than 256 bytes");
        unsigned char alpha[256];
        PngReadChunkData(s, c, alpha, 256);
        for (uint32_t i = 0; i < c.length; ++i)
            if (alpha[i] == 0) {
                key = colours.table[i];
                return true;
            }
        return false;
    }
    if (c.length > MaxKeyBytes) throw EInvalidImage("PNG: tRNS longer than 6 bytes");
    unsigned char f[MaxKeyBytes] = {};
    PngReadChunkData(s, c, f, MaxKeyBytes);
    key = KeyColour(h, f);
    return true;
}

}  // namespace

unsigned PngSampleLevel(const unsigned char* field, int depth)
{
    if (depth == 16) return field[0];
    if (depth >= 8) return field[1];
    return Widen(field[1] & ((1u << depth) - 1), depth);
}

void PngGreyLevels(int depth, PngColours& c)
{
    const unsigned values = depth < 8 ? 1u << depth : 256;
    for (unsigned v = 0; v < 256; ++v) c.table[v] = (v < values ? Widen(v, depth) : v) * 0x010101ul;
}

PngChunk PngReadChunksToImage(TStream* s, const PngHeader& h, PngColours& colours, GFXFileDesc* d, GFXtra32* x)
{
    if (h.colourType == 3) {
        memset(colours.table, 0, sizeof colours.table);
        FindPalette(s, colours, d);
    } else {
        PngGreyLevels(h.depth, colours);
    }
    bool transparent = false;
    for (;;) {
        const PngChunk c = PngReadChunk(s);
        if (c.Is("IDAT")) return c;
        if (c.Is("IEND")) throw EInvalidImage("PNG: no image data");
        unsigned long key = 0;
        if (c.Is("bKGD") && x && !transparent) {
            ReadBackground(s, c, h, colours, x);
        } else if (c.Is("tRNS")) {
            if (ReadTransparency(s, c, h, colours, key)) {
                transparent = true;
                if (d) d->transparent = 1;
                if (x) x->colour2 = uint32_t(key);
            }
        } else {
            PngSkipChunk(s, c);
        }
    }
}
