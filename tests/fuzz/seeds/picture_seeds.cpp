// Picture seeds: a small picture of gradients, flat runs and noise saved by
// the library's own writers at every depth, grey and interlaced setting each
// accepts, and zlib streams of the compressor for the inflater.
#include <stdint.h>

#include <string>

#include "deflate.h"
#include "exceptions.h"
#include "formats.h"
#include "gfxfile.h"
#include "saveparams.h"
#include "seed_writer.h"
#include "streams.h"

namespace {

const int Width = 13, Height = 7;

struct Target {
    GFXFile* (*format)();
    const char* fuzzer;
    const char* extension;
};

// Flat runs on the left (run-length packets), a gradient, then noise
// (literals and every code length).
unsigned Value(int x, int y, unsigned range)
{
    if (x < 4) return (unsigned(y) / 2) % range;
    if (x < 9) return unsigned(x * 7 + y * 19) % range;
    return ((unsigned(x) * 2654435761u ^ unsigned(y) * 40503u) >> 7) % range;
}

// Palette depths take index bytes, grey and deeper ones true colour.
void Paint(Buffer& b, int bits, bool grey)
{
    if (bits > 8 || grey) {
        b.Alloc(Pair<int>{Width, Height});
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                *b.At(x, y) = Value(x, y, 256) << 16 | Value(x + 3, y, 256) << 8 | Value(y, x, 256);
        return;
    }
    b.Alloc(Pair<int>{(Width + 3) / 4, Height});
    b.right = Width - 1;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            reinterpret_cast<unsigned char*>(b.At(0, y))[x] = static_cast<unsigned char>(Value(x, y, 1u << bits));
}

// The file the writer makes, or nothing when it refuses the setting.
Bytes Saved(const Target& t, const char* name, int bits, bool grey, bool interlaced, int quality)
{
    Buffer b;
    Paint(b, bits, grey);
    unsigned char palette[768];
    for (int i = 0; i < 768; ++i) palette[i] = static_cast<unsigned char>(i * 37 / 3);
    GFXSaveParams p = GFXSaveParams();
    p.bits = static_cast<int8_t>(bits);
    p.grey = grey;
    p.interlaced = interlaced;
    p.quality = static_cast<uint8_t>(quality);
    p.colours = static_cast<int16_t>(bits <= 8 && !grey ? 1 << bits : 0);
    p.paletteData = palette;
    GFXtra32 x = {1, 2, 0x00FF0000, 0x000000FF};
    TMemoryStream ms;
    TOutputStream out(&ms, name);
    try {
        // What the registry does before it calls a writer: a depth the
        // format cannot write is refused here.
        ValidateSaveParams(t.format(), p);
        if (!t.format()->Save(b, &out, &x, &p)) return Bytes();
    } catch (Exception&) {
        return Bytes();
    }
    const unsigned char* data = static_cast<const unsigned char*>(ms.GetMemory());
    return Bytes(data, data + ms.GetSize());
}

void WriteFormat(const std::string& root, const Target& t)
{
    static const int depths[] = {1, 2, 4, 8, 15, 16, 24, 32};
    const std::string name = std::string("seed.") + t.extension;
    for (int bits : depths)
        for (int mode = 0; mode < 4; ++mode) {
            const bool grey = mode & 1, interlaced = mode & 2;
            Bytes file = Saved(t, name.c_str(), bits, grey, interlaced, 0);
            if (file.empty()) continue;
            std::string seed = std::to_string(bits) + (grey ? "g" : "") + (interlaced ? "i" : "") + "." + t.extension;
            WriteSeed(root, t.fuzzer, seed, file);
        }
}

// Zlib streams as the inflate target takes them: a first byte choosing how
// the stream is cut into chunks, then the stream.
void WriteInflateSeeds(const std::string& root)
{
    for (int kind = 0; kind < 4; ++kind) {
        TMemoryStream ms;
        {
            Deflater z(&ms);
            for (int i = 0; i < 3000; ++i) {
                const unsigned v = kind == 0 ? 0 : kind == 1 ? unsigned(i % 17) : unsigned(i * i) >> (kind * 2);
                z.PutByte(static_cast<unsigned char>(v));
            }
            z.Finish();
        }
        const unsigned char* data = static_cast<const unsigned char*>(ms.GetMemory());
        Bytes seed(1, static_cast<unsigned char>(kind * 3));
        seed.insert(seed.end(), data, data + ms.GetSize());
        WriteSeed(root, "inflate_fuzz", "deflated" + std::to_string(kind), seed);
    }
}

}  // namespace

void WritePictureSeeds(const std::string& root)
{
    const Target targets[] = {
        {BMPFormat, "bmp_fuzz", "bmp"}, {BMPFormat, "bmp_fuzz", "rle"}, {PCXFormat, "pcx_fuzz", "pcx"},
        {TGAFormat, "tga_fuzz", "tga"}, {GIFFormat, "gif_fuzz", "gif"}, {PNGFormat, "png_fuzz", "png"},
        {JPGFormat, "jpg_fuzz", "jpg"}, {LBMFormat, "lbm_fuzz", "iff"}, {LBMFormat, "lbm_fuzz", "lbm"},
        {FRMFormat, "frm_fuzz", "frm"},
    };
    for (const Target& t : targets) WriteFormat(root, t);
    for (int quality : {10, 95}) {
        const Target jpg = {JPGFormat, "jpg_fuzz", "jpg"};
        Bytes file = Saved(jpg, "seed.jpg", 24, false, false, quality);
        if (!file.empty()) WriteSeed(root, "jpg_fuzz", "q" + std::to_string(quality) + ".jpg", file);
    }
    WriteInflateSeeds(root);
}
