// Corvane Frame (FRM): the library's own picture format, the only one that
// keeps 32-bit pixels with their flag byte and the GFXtra32 record exactly.
//
// Layout, little-endian: "FRM", a version byte, width and height as unsigned
// 16-bit values, the rows top to bottom with no padding, then the GFXtra32
// trailer, which may be missing. The versions differ in pixel and trailer
// layout (see Layouts); versions from 5 up are recognised but not read.
// Writing uses version 3 (R, G, B) for 24 bits and version 4 otherwise.
#include <stdint.h>
#include <string.h>

#include <algorithm>

#include "byte_order.h"
#include "colconv.h"
#include "colconv_rows.h"
#include "exceptions.h"
#include "formats.h"
#include "gfxfile.h"
#include "picture_limits.h"
#include "streambuf.h"

namespace {

const int HeaderBytes = 8;
const int NewestVersion = 4;
const unsigned MaxSide = 0xFFFF;  // the sizes are stored in 16 bits
const int ReadAhead = 32768;

struct Layout {
    int pixelBytes;
    uint8_t bits;          // reported per pixel
    uint8_t channelBits;   // reported per colour channel
    int trailerBytes;
};

const Layout Layouts[NewestVersion + 1] = {
    {2, 16, 4, 8},   // 0: 4-4-4 words and marked pixels
    {2, 16, 5, 8},   // 1: 5-5-5 words
    {4, 32, 8, 12},  // 2: bytes R, G, B, flag
    {3, 24, 8, 10},  // 3: bytes R, G, B
    {4, 32, 8, 12},  // 4: the pixels as in memory
};

bool HasSignature(const unsigned char* head)
{
    return memcmp(head, "FRM", 3) == 0;
}

void Describe(const unsigned char* head, GFXFileDesc* d)
{
    uint8_t* palette = d->paletteData;
    *d = GFXFileDesc();
    d->paletteData = palette;
    d->width = int32_t(GetLE16(head + 4));
    d->height = int32_t(GetLE16(head + 6));
    d->colour = 1;
    int version = head[3];
    if (version > NewestVersion) return;  // images stays 0: not readable
    d->bits = Layouts[version].bits;
    d->channelBits = Layouts[version].channelBits;
    d->images = 1;
}

// Reads n file pixels and turns them into pixels at row. Narrow layouts are
// read into the end of the row so that widening them in place never
// overwrites a value before it has been converted.
void ReadRow(StreamBuf& in, int version, unsigned long* row, int n)
{
    int fileBytes = n * Layouts[version].pixelBytes;
    unsigned char* at = reinterpret_cast<unsigned char*>(row) + 4 * n - fileBytes;
    in.Read(at, fileBytes);
    switch (version) {
    case 0: Colconv::W444RGB32s(at, row, n); break;
    case 1: Colconv::W555RGB32s(at, row, n); break;
    case 2: Colconv::XBGR32RGB32s(row, row, n); break;
    case 3: Colconv::BGR24RGB32s(at, row, n); break;
    default: break;  // version 4 is already in memory order
    }
}

unsigned long TrailerColour(int version, const unsigned char* p)
{
    switch (version) {
    case 0: return Colconv::W444RGB32(static_cast<unsigned short>(GetLE16(p)));
    case 1: return Colconv::W555RGB32(static_cast<unsigned short>(GetLE16(p)));
    case 2: return Colconv::XBGR32RGB32(GetLE32(p));
    case 3: return (unsigned long)p[0] << 16 | p[1] << 8 | p[2];
    default: return GetLE32(p);
    }
}

// The trailer sits after all the rows, however many were read. A file that
// ends before it has none, which is no error: x keeps what the caller set.
void ReadTrailer(TInputStream* s, int64_t at, int version, GFXtra32* x)
{
    const int size = Layouts[version].trailerBytes;
    if (at > int64_t(s->GetSize()) - size) return;
    if (s->Seek(int(at), soFromBeginning) != at) return;
    unsigned char t[12];
    if (s->Read(t, size) != size) return;
    int colourBytes = (size - 4) / 2;
    x->x = static_cast<int16_t>(GetLE16(t));
    x->y = static_cast<int16_t>(GetLE16(t + 2));
    x->colour1 = TrailerColour(version, t + 4);
    x->colour2 = TrailerColour(version, t + 4 + colourBytes);
}

void WriteRowRGB(TOutputStream* s, unsigned long* row, int n)
{
    const int Chunk = 1024;
    unsigned char bytes[3 * Chunk];
    for (int done = 0; done < n; done += Chunk) {
        int k = std::min(Chunk, n - done);
        Colconv::RGB32BGR24s(row + done, bytes, k);
        s->WriteBuffer(bytes, 3 * k);
    }
}

void PutRGB(unsigned char* p, unsigned long c)
{
    p[0] = static_cast<unsigned char>(c >> 16);
    p[1] = static_cast<unsigned char>(c >> 8);
    p[2] = static_cast<unsigned char>(c);
}

void WriteTrailer(TOutputStream* s, int version, const GFXtra32& x)
{
    unsigned char t[12];
    PutLE16(t, static_cast<uint16_t>(x.x));
    PutLE16(t + 2, static_cast<uint16_t>(x.y));
    if (version == 3) {
        PutRGB(t + 4, x.colour1);
        PutRGB(t + 7, x.colour2);
    } else {
        PutLE32(t + 4, x.colour1);
        PutLE32(t + 8, x.colour2);
    }
    s->WriteBuffer(t, Layouts[version].trailerBytes);
}

class FRMFile : public GFXFile {
public:
    FRMFile() : GFXFile("Corvane Frame", "*.FRM", 0x80800000, 0, false, 0) {}

    int Test(TInputStream* s, GFXFileDesc* d) override;
    bool Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32* x, int image) override;
    bool Save(Buffer& b, TOutputStream* s, GFXtra32* x, GFXSaveParams* p) override;
};

int FRMFile::Test(TInputStream* s, GFXFileDesc* d)
{
    int start = s->GetPosition();
    unsigned char head[HeaderBytes];
    // Only a description needs the sizes after the signature.
    int want = d ? HeaderBytes : 4;
    int got = s->Read(head, want);
    s->Seek(start, soFromBeginning);
    if (got != want || !HasSignature(head)) return 0;
    if (d) Describe(head, d);
    return head[3] > NewestVersion ? -1 : 1;
}

bool FRMFile::Load(Buffer& b, TInputStream* s, GFXFileDesc*, GFXtra32* x, int)
{
    const int64_t start = s->GetPosition();
    const int64_t size = s->GetSize();
    StreamBuf in(s, ReadAhead);
    unsigned char head[HeaderBytes];
    in.Read(head, 4);
    if (!HasSignature(head)) throw EInvalidImage("FRM: no FRM signature");
    const int version = head[3];
    if (version > NewestVersion) throw EInvalidImage("FRM: version 5 and above cannot be read");
    in.Read(head + 4, 4);
    const int width = int(GetLE16(head + 4));
    const int height = int(GetLE16(head + 6));
    if (int64_t(width) * height > MaxPicturePixels) throw EInvalidImage("FRM: more than 2^28 pixels");
    const int pixelBytes = Layouts[version].pixelBytes;

    if (!b.pixels) b.Alloc(Pair<int>{width, height});
    b.Box(Rect{0, 0, width - 1, height - 1}, 0);

    // Clipped to b, whose rect should start at (0, 0); one that does not is
    // still never written outside.
    const int firstCol = std::max(0, b.left);
    const int endCol = b.pixels ? std::min(width, b.right + 1) : 0;
    const int rows = b.pixels ? std::min(height, b.bottom + 1) : 0;
    for (int y = 0; y < rows; ++y) {
        if (y >= b.top && firstCol < endCol) {
            in.Skip(firstCol * pixelBytes);
            ReadRow(in, version, b.At(firstCol, y), endCol - firstCol);
            in.Skip((width - endCol) * pixelBytes);
        } else {
            in.Skip(width * pixelBytes);
        }
        if (!GFXFile::Step(GFXFile::Percent(start + in.Consumed(), size))) return false;
    }
    if (x) ReadTrailer(s, start + HeaderBytes + int64_t(width) * height * pixelBytes, version, x);
    return true;
}

bool FRMFile::Save(Buffer& b, TOutputStream* s, GFXtra32* x, GFXSaveParams* p)
{
    const int version = p && p->bits == 24 ? 3 : 4;
    const int width = b.pixels ? b.Width() : 0;
    const int height = b.pixels ? b.Height() : 0;
    // A truncated size would make a file that reads back as another picture.
    if (unsigned(width) > MaxSide || unsigned(height) > MaxSide)
        throw EInvalidImage("FRM: width or height above 65535");

    // An empty picture is the header with both sizes 0 and no rows; the
    // trailer still follows when x is given, as for any other picture.
    unsigned char head[HeaderBytes] = {'F', 'R', 'M', static_cast<unsigned char>(version)};
    PutLE16(head + 4, unsigned(width));
    PutLE16(head + 6, unsigned(height));
    s->WriteBuffer(head, HeaderBytes);
    for (int y = 0; y < height; ++y) {
        unsigned long* row = b.At(b.left, b.top + y);
        if (version == 3)
            WriteRowRGB(s, row, width);
        else
            s->WriteBuffer(row, 4 * width);
        if (!GFXFile::Step(GFXFile::Percent(y, height))) return false;
    }
    if (x) WriteTrailer(s, version, *x);
    return true;
}

}  // namespace

GFXFile* FRMFormat()
{
    static FRMFile format;
    return &format;
}
