// Portable Network Graphics (PNG).
//
// The signature, chunks of length, type, data and CRC-32, the 13-byte IHDR
// first. Reading takes every standard colour type and depth, with or without
// Adam7 interlacing, and reports the background (bKGD) and the transparent
// colour (tRNS); 16-bit samples give their high byte and alpha is dropped.
// Writing makes palette pictures of 1, 2, 4 and 8 bits and 24-bit RGB, one
// IDAT chunk, optionally interlaced. Compression is the library's own
// (inflate.cpp, deflate.cpp).
#include <string.h>

#include <algorithm>

#include "exceptions.h"
#include "gfxfile.h"
#include "picture_limits.h"
#include "png_codec.h"
#include "formats.h"

namespace {

// Deflate codes at best 258 bytes in 2 bits: image data needing more than
// this many times the bytes left in the file cannot be there.
const int64_t MostInflation = 1032;
// The writer's image data must stay well inside a file of 32-bit positions,
// with room for what compression may add to data that does not compress.
const int64_t MostImageData = 0x70000000;

class PNGFile : public GFXFile {
public:
    PNGFile() : GFXFile("Portable Network Graphics", "*.PNG", 0x80008B, 0, true, 0) {}

    int Test(TInputStream* s, GFXFileDesc* d) override;
    bool Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32* x, int image) override;
    bool Save(Buffer& b, TOutputStream* s, GFXtra32* x, GFXSaveParams* p) override;
};

void Describe(const PngHeader* h, bool readable, GFXFileDesc* d)
{
    uint8_t* palette = d->paletteData;
    *d = GFXFileDesc();
    d->paletteData = palette;
    d->images = readable ? 1 : 0;
    if (!h) return;
    d->width = int32_t(std::min<uint32_t>(h->width, INT32_MAX));
    d->height = int32_t(std::min<uint32_t>(h->height, INT32_MAX));
    d->palette = h->colourType & 1;
    d->colour = (h->colourType >> 1) & 1;
    d->bits = static_cast<uint8_t>(PngBitsPerPixel(*h));
    d->channelBits = static_cast<uint8_t>(h->colourType == 3 ? 8 : h->depth);
    d->interlaced = h->interlace == 1;
}

// 1 readable, -1 a PNG signature but a header that is damaged or unreadable;
// the stream is left wherever reading stopped.
int Probe(TInputStream* s, GFXFileDesc* d)
{
    unsigned char signature[8];
    if (s->Read(signature, 8) != 8 || memcmp(signature, PngSignature, 8) != 0) return 0;
    PngHeader h;
    try {
        h = PngReadHeader(s);
    } catch (Exception&) {
        if (d) Describe(nullptr, false, d);
        return -1;
    }
    const bool readable = !PngUnreadable(h);
    if (d) Describe(&h, readable, d);
    return readable ? 1 : -1;
}

// Palette entries the save writes: what p asks for, at most what the depth indexes.
int PaletteEntries(const GFXSaveParams& p)
{
    int colours = p.colours < 0 ? -p.colours : p.colours;
    if (colours == 0 || colours > 1 << p.bits) colours = 1 << p.bits;
    return colours;
}

void WriteHead(TOutputStream* s, int width, int height, int bits, bool interlaced)
{
    s->WriteBuffer(PngSignature, 8);
    unsigned char ihdr[13] = {};
    PutBE32(ihdr, uint32_t(width));
    PutBE32(ihdr + 4, uint32_t(height));
    ihdr[8] = static_cast<unsigned char>(bits <= 8 ? bits : 8);
    ihdr[9] = bits <= 8 ? 3 : 2;
    ihdr[12] = interlaced ? 1 : 0;
    PngWriteChunk(s, "IHDR", ihdr, 13);
    static const char software[17] = "Software\0Corvane";
    PngWriteChunk(s, "tEXt", reinterpret_cast<const unsigned char*>(software), 16);
}

// bKGD from colour2, and tRNS: entry 0 of a palette (where the library puts
// the transparent colour), or colour2 as an RGB key. 16-bit samples of an
// 8-bit picture must stay below 256, so each holds its byte in the low half.
void WriteBackgroundAndKey(TOutputStream* s, GFXtra32* x, const GFXSaveParams& p)
{
    const bool palette = p.bits <= 8;
    unsigned char rgb[6] = {};
    if (x) {
        rgb[1] = static_cast<unsigned char>(x->colour2 >> 16);
        rgb[3] = static_cast<unsigned char>(x->colour2 >> 8);
        rgb[5] = static_cast<unsigned char>(x->colour2);
        const unsigned char index = static_cast<unsigned char>(x->colour2 >> 24);
        if (palette)
            PngWriteChunk(s, "bKGD", &index, 1);
        else
            PngWriteChunk(s, "bKGD", rgb, 6);
    }
    if (!p.transparent) return;
    static const unsigned char clear = 0;
    if (palette)
        PngWriteChunk(s, "tRNS", &clear, 1);
    else if (x)  // without the colour there is nothing to mark
        PngWriteChunk(s, "tRNS", rgb, 6);
}

int PNGFile::Test(TInputStream* s, GFXFileDesc* d)
{
    const int start = s->GetPosition();
    const int answer = Probe(s, d);
    s->Seek(start, soFromBeginning);
    return answer;
}

bool PNGFile::Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32* x, int)
{
    unsigned char signature[8];
    s->ReadBuffer(signature, 8);
    if (memcmp(signature, PngSignature, 8) != 0) throw EInvalidImage("PNG: no PNG signature");
    const PngHeader h = PngReadHeader(s);
    if (const char* why = PngUnreadable(h)) throw EInvalidImage(why);
    if (uint64_t(h.width) * h.height > uint64_t(MaxPicturePixels))
        throw EInvalidImage("PNG: picture larger than 2^28 pixels");
    if (d) d->interlaced = static_cast<uint8_t>(h.interlace);

    if (!b.pixels) {
        const int64_t left = int64_t(s->GetSize()) - s->GetPosition();
        if (PngImageDataBytes(h) / MostInflation > left)
            throw EInvalidImage("PNG: file too small to hold the picture it announces");
        b.Alloc(Pair<int>{int(h.width), int(h.height)});
    }
    const int clipWidth = int(std::max<int64_t>(0, std::min<int64_t>(h.width, b.Width())));
    const int clipHeight = int(std::max<int64_t>(0, std::min<int64_t>(h.height, b.Height())));
    // From here on, however the load ends, the picture holds only decoded
    // pixels and black.
    PngTarget target(b, clipWidth, clipHeight, h.interlace != 0);
    PngColours colours;
    const PngChunk first = PngReadChunksToImage(s, h, colours, d, x);
    return PngDecodeImage(target, s, h, colours, first);
}

bool PNGFile::Save(Buffer& b, TOutputStream* s, GFXtra32* x, GFXSaveParams* p)
{
    const int bits = p ? p->bits : 0;
    if (!p || p->grey || (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 24))
        throw EInvalidImage("PNG: writes colour pictures of 1, 2, 4, 8 or 24 bits only");
    if (bits <= 8 && !p->paletteData) throw EInvalidImage("PNG: palette depth without a palette");
    const int width = b.pixels ? b.Width() : 0;
    const int height = b.pixels ? b.Height() : 0;
    PngHeader h = PngHeader();
    h.width = uint32_t(std::max(width, 0));
    h.height = uint32_t(std::max(height, 0));
    h.depth = bits <= 8 ? bits : 8;
    h.colourType = bits <= 8 ? 3 : 2;
    h.interlace = p->interlaced ? 1 : 0;
    if (PngImageDataBytes(h) > MostImageData) throw EInvalidImage("PNG: picture too large for a file");

    WriteHead(s, width, height, bits, p->interlaced != 0);
    if (bits <= 8) PngWriteChunk(s, "PLTE", p->paletteData, uint32_t(3 * PaletteEntries(*p)));
    WriteBackgroundAndKey(s, x, *p);
    if (!b.pixels || width <= 0 || height <= 0) {
        PngWriteChunk(s, "IEND", nullptr, 0);
        return true;
    }
    return PngWriteImage(b, s, bits, p->interlaced != 0);
}

}  // namespace

GFXFile* PNGFormat()
{
    static PNGFile format;
    return &format;
}
