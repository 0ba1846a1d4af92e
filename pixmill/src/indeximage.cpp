#include "indeximage.h"

#include <string.h>

#include "quantize.h"

bool NeedsIndexImage(const GFXSaveParams& p)
{
    return !p.grey && p.quality == 100 && p.bits <= 8;
}

static int HighestPaletteDepth(uint32_t mask)
{
    for (int depth = 8; depth >= 1; depth--)
        if (mask >> (depth - 1) & 1) return depth;
    return 0;
}

// The smallest depth the format writes that holds the colours; failing that
// its highest palette depth.
static int AdaptiveDepth(uint32_t mask, int& colours)
{
    for (int depth = 1; depth <= 8; depth++)
        if ((mask >> (depth - 1) & 1) && (1 << depth) >= colours) return depth;
    int depth = HighestPaletteDepth(mask);
    colours = 1 << depth;
    return depth;
}

Buffer& IndexImage::Make(Buffer& b, GFXFile* f, GFXtra32* x, GFXSaveParams& p)
{
    // Only the colour counts: GFXtra32's colours may carry flag bits (the
    // brush key), which as a transparent argument would mean a flag mask.
    unsigned long t = p.transparent && x ? (x->colour2 & 0x00FFFFFF) : 0xFFFFFFFF;
    unsigned char* palette = p.paletteData ? p.paletteData : palette_;
    int colours = p.colours;
    // "Use the given palette" needs a palette.
    if (colours < 0 && !p.paletteData) colours = 0;

    if (colours < 0) {
        colours = -colours;
        if (p.bits > 0 && colours > 1 << p.bits) colours = 1 << p.bits;
        if (colours > 256) colours = 256;
    } else {
        int depth = p.bits > 0 ? p.bits : HighestPaletteDepth(f->colourMask);
        int count = 1 << depth;
        if (colours > 0 && colours < count) count = colours;
        if (count < 2) count = 2;
        colours = CreatePalette(b, palette, count, t, p.work);
    }
    if (palette != palette_) {
        memcpy(palette_, palette, size_t(colours) * 3);
        memset(palette_ + colours * 3, 0, size_t(256 - colours) * 3);
    }

    if (x) {
        x->colour1 &= 0x00FFFFFF;
        x->colour2 &= 0x00FFFFFF;
        if (!p.transparent) x->colour2 |= uint32_t(Quantize(x->colour2, palette_, colours)) << 24;
        x->colour1 |= uint32_t(Quantize(x->colour1, palette_, colours)) << 24;
    }
    if (p.bits < 0) p.bits = int8_t(AdaptiveDepth(f->colourMask, colours));

    int width = b.Width(), height = b.Height();
    image_.Alloc({(width + 3) / 4, height});
    // The rect tells the writer the picture's width in bytes; the stride
    // stays in 32-bit units.
    image_.right = width - 1;
    Quantize(b, palette_, colours, t, p.dither != 0, reinterpret_cast<unsigned char*>(image_.pixels),
             image_.stride * 4);
    p.colours = int16_t(colours);
    p.paletteData = palette_;
    return image_;
}
