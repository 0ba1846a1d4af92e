#include "saveparams.h"

#include <string.h>

#include "exceptions.h"

static bool HasDepth(uint32_t mask, int bits)
{
    return bits >= 1 && bits <= 32 && (mask >> (bits - 1) & 1);
}

static int HighestDepth(uint32_t mask)
{
    for (int bits = 32; bits >= 1; bits--)
        if (HasDepth(mask, bits)) return bits;
    return 0;
}

static int DepthsInLowByte(uint32_t mask)
{
    return __builtin_popcount(mask & 0xFF);
}

// A format that writes several palette depths chooses the adaptive one, so
// that a picture with few colours is written small; a format with one palette
// depth or none takes its highest depth.
static int ChosenColourDepth(uint32_t mask)
{
    if (DepthsInLowByte(mask) > 1) return -1;
    return HighestDepth(mask);
}

void ValidateSaveParams(GFXFile* f, GFXSaveParams& p)
{
    if (p.grey) {
        if (p.bits <= 0) p.bits = int8_t(HighestDepth(f->greyMask));
    } else if (p.bits == 0) {
        p.bits = int8_t(ChosenColourDepth(f->colourMask));
    }
    bool valid;
    if (p.bits == 0 || p.bits > 32)
        valid = false;
    else if (p.bits < 0)
        valid = !p.grey && (f->colourMask & 0xFF) != 0;
    else
        valid = HasDepth(p.grey ? f->greyMask : f->colourMask, p.bits);
    if (!valid) throw EInvalidImage("save parameters: the format cannot write this depth");

    if (p.quality) {
        if (f->quality <= 0 || p.quality > 100) p.quality = 100;
    } else {
        p.quality = f->quality > 0 ? 75 : 100;
    }
}

GFXSaveParams& GFXSaveParams::operator=(GFXFileDesc& d)
{
    memset(this, 0, sizeof *this);
    int depth = d.bits;
    grey = !d.colour && !d.palette;
    interlaced = d.interlaced;
    transparent = d.transparent;
    GFXFile* f = d.format;
    if (!f) {
        bits = int8_t(depth);
        return *this;
    }
    if (depth < 1) depth = 1;
    if (grey) {
        while (depth <= 8 && !HasDepth(f->greyMask, depth)) depth++;
        if (!f->greyMask || depth > 8) {
            grey = 0;
            depth = 24;
        }
    }
    if (!grey && depth <= 8) {
        while (depth <= 8 && !HasDepth(f->colourMask, depth)) depth++;
        if (depth > 8) depth = 24;
    }
    if (!grey && depth > 8) {
        while (depth <= 32 && !HasDepth(f->colourMask, depth)) depth++;
    }
    bits = int8_t(depth);
    quality = f->quality > 0 ? 75 : 100;
    return *this;
}
