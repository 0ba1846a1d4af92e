// PNG structure: signature, chunks, the IHDR rules and the Adam7 passes.
#include <string.h>

#include "crc32.h"
#include "exceptions.h"
#include "png_codec.h"

const unsigned char PngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

const PngPass PngAdam7[7] = {{8, 0, 8, 0}, {8, 0, 8, 4}, {8, 4, 4, 0}, {4, 0, 4, 2},
                             {4, 2, 2, 0}, {2, 0, 2, 1}, {2, 1, 1, 0}};
const PngPass PngWholePicture = {1, 0, 1, 0};

namespace {

const uint32_t MaxLength = 0x7FFFFFFF;  // PNG's limit for chunk lengths, widths and heights
const uint32_t HeaderBytes = 13;

bool DepthAllowed(int colourType, int depth)
{
    switch (colourType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6: return depth == 8 || depth == 16;
    default: return false;
    }
}

}  // namespace

int PngBitsPerPixel(const PngHeader& h)
{
    const int alpha = h.colourType & 4 ? h.depth : 0;
    const int colour = (h.colourType & 3) == 2 ? 3 * h.depth : h.depth;
    return alpha + colour;
}

const char* PngUnreadable(const PngHeader& h)
{
    if (h.width == 0 || h.height == 0) return "PNG: width or height 0";
    if (h.width > MaxLength || h.height > MaxLength) return "PNG: width or height beyond 2^31 - 1";
    if (h.colourType > 6 || !DepthAllowed(h.colourType, h.depth))
        return "PNG: colour type and bit depth not a valid pair";
    if (h.compression != 0) return "PNG: compression method not 0";
    if (h.filter != 0) return "PNG: filter method not 0";
    if (h.interlace > 1) return "PNG: interlace method neither 0 nor 1";
    return nullptr;
}

int64_t PngImageDataBytes(const PngHeader& h)
{
    if (!h.interlace) return int64_t(h.height) * (PngRowBytes(h, h.width) + 1);
    int64_t total = 0;
    for (const PngPass& p : PngAdam7) {
        const int64_t columns = PngPassCount(h.width, p.firstCol, p.colStep);
        const int64_t rows = PngPassCount(h.height, p.firstRow, p.rowStep);
        if (columns && rows) total += rows * (PngRowBytes(h, columns) + 1);
    }
    return total;
}

bool PngChunk::Is(const char* t) const
{
    return memcmp(type, t, 4) == 0;
}

PngChunk PngReadChunk(TStream* s)
{
    unsigned char head[8];
    s->ReadBuffer(head, 8);
    PngChunk c;
    c.length = GetBE32(head);
    memcpy(c.type, head + 4, 4);
    c.type[4] = 0;
    if (c.length > MaxLength) throw EInvalidImage("PNG: chunk length beyond 2^31 - 1");
    return c;
}

void PngSkipChunk(TStream* s, const PngChunk& c)
{
    const int64_t target = int64_t(s->GetPosition()) + c.length + 4;
    // Past the end there is nothing to read: say so now rather than after a seek that cannot be made.
    if (target > s->GetSize()) throw EReadError();
    s->Seek(int(target), soFromBeginning);
}

void PngReadChunkData(TStream* s, const PngChunk& c, unsigned char* data, uint32_t room)
{
    uint32_t crc = Crc32(0, c.type, 4);
    const uint32_t kept = c.length < room ? c.length : room;
    s->ReadBuffer(data, int(kept));
    crc = Crc32(crc, data, kept);
    unsigned char rest[256];
    for (uint32_t left = c.length - kept; left > 0;) {
        const uint32_t n = left < sizeof rest ? left : uint32_t(sizeof rest);
        s->ReadBuffer(rest, int(n));
        crc = Crc32(crc, rest, n);
        left -= n;
    }
    unsigned char stored[4];
    s->ReadBuffer(stored, 4);
    if (GetBE32(stored) != crc) {
        char why[32] = "PNG: CRC error in ";
        strcat(why, c.type);
        throw EInvalidImage(why);
    }
}

PngHeader PngReadHeader(TStream* s)
{
    PngChunk c = PngReadChunk(s);
    while (!c.Is("IHDR")) {
        PngSkipChunk(s, c);
        c = PngReadChunk(s);
    }
    if (c.length < HeaderBytes) throw EInvalidImage("PNG: IHDR shorter than 13 bytes");
    unsigned char f[HeaderBytes];
    PngReadChunkData(s, c, f, HeaderBytes);
    PngHeader h;
    h.width = GetBE32(f);
    h.height = GetBE32(f + 4);
    h.depth = f[8];
    h.colourType = f[9];
    h.compression = f[10];
    h.filter = f[11];
    h.interlace = f[12];
    return h;
}
