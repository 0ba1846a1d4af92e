// PC PaintBrush (PCX): a 128-byte header, then run-length coded rows top to
// bottom, each row holding one line per plane.
//
// Read: 1 bit per plane with 1 to 4 planes (up to 16 colours from the header
// palette), 8 bits with one plane (256-colour palette after the marker byte 12
// in the last 769 bytes of the file) and 8 bits with three planes (R, G, B).
// Written: 1 to 4 bit planes, 8 bits with the trailing palette, and 24 bits.
#include <stdint.h>
#include <string.h>

#include "byte_order.h"
#include "colconv_rows.h"
#include "exceptions.h"
#include "formats.h"
#include "gfxfile.h"
#include "pcx_rle.h"
#include "picture_clip.h"
#include "picture_limits.h"
#include "scratch_block.h"
#include "stream_room.h"
#include "streambuf.h"

namespace {

const int HeaderSize = 128;
const int Manufacturer = 10;
const int TrailerSize = 769;  // marker byte and 256 x R, G, B
const unsigned char PaletteMarker = 12;
const int HeaderColours = 16;
const int GreyPalette = 2;  // palette information value for grey pictures
const int ReadBufferSize = 2048;
const int MaxField = 0xFFFF;  // sizes and coordinates are 16-bit

struct PCXHeader {
    int manufacturer;
    int encoding;
    int bitsPerPlane;
    int xmin, ymin, xmax, ymax;
    int planes;
    int bytesPerLine;
    int paletteInfo;
    unsigned char palette[3 * HeaderColours];

    int Width() const { return xmax - xmin + 1; }
    int Height() const { return ymax - ymin + 1; }
    bool TrailingPalette() const { return bitsPerPlane == 8 && planes == 1; }
    bool BitPlanes() const { return bitsPerPlane == 1; }
};

PCXHeader ParseHeader(const unsigned char* p)
{
    PCXHeader h;
    h.manufacturer = p[0];
    h.encoding = p[2];
    h.bitsPerPlane = p[3];
    h.xmin = GetLE16(p + 4);
    h.ymin = GetLE16(p + 6);
    h.xmax = GetLE16(p + 8);
    h.ymax = GetLE16(p + 10);
    memcpy(h.palette, p + 16, sizeof h.palette);
    h.planes = p[65];
    h.bytesPerLine = GetLE16(p + 66);
    h.paletteInfo = GetLE16(p + 68);
    return h;
}

// The first rule a PCX header breaks, or null when the reader can decode it.
const char* HeaderProblem(const PCXHeader& h)
{
    if (h.encoding != 1) return "PCX: encoding not 1 (run-length)";
    bool bytes = h.bitsPerPlane == 8 && (h.planes == 1 || h.planes == 3);
    bool bits = h.bitsPerPlane == 1 && h.planes >= 1 && h.planes <= 4;
    if (!bytes && !bits) return "PCX: not 8 bits with 1 or 3 planes, nor 1 bit with 1 to 4 planes";
    if (h.xmax < h.xmin || h.ymax < h.ymin) return "PCX: xmax or ymax below xmin or ymin";
    int needed = bits ? (h.Width() + 7) / 8 : h.Width();
    if (h.bytesPerLine < needed) return "PCX: bytes per line too few for the width";
    return nullptr;
}

void Describe(const PCXHeader& h, bool readable, GFXFileDesc* d)
{
    uint8_t* keep = d->paletteData;
    *d = GFXFileDesc();
    d->paletteData = keep;
    d->width = h.Width();
    d->height = h.Height();
    d->palette = h.bitsPerPlane == 1 || h.planes == 1;
    d->colour = !(d->palette && h.paletteInfo == GreyPalette);
    int bits = h.planes * h.bitsPerPlane;
    d->bits = uint8_t(bits < 255 ? bits : 255);
    d->channelBits = 8;
    d->images = readable;
}

unsigned long PixelOf(const unsigned char* rgb)
{
    return static_cast<unsigned long>(rgb[0]) << 16 | rgb[1] << 8 | rgb[2];
}

// The header palette. Some writers leave both colours of a one-plane picture
// black (an all-zero palette, or black twice), which would show nothing;
// such a picture is black and white instead.
void HeaderPalette(const PCXHeader& h, unsigned long* table, GFXFileDesc* d)
{
    static const unsigned char black[6] = {};
    unsigned char rgb[3 * HeaderColours];
    memcpy(rgb, h.palette, sizeof rgb);
    if (h.planes == 1 && memcmp(rgb, black, sizeof black) == 0) memset(rgb + 3, 255, 3);
    for (int i = 0; i < HeaderColours; ++i) table[i] = PixelOf(rgb + 3 * i);
    if (d && d->paletteData) memcpy(d->paletteData, rgb, sizeof rgb);
}

// The 256-colour palette at the end; the stream is left at the row data.
void TrailingPalette(TInputStream* s, int64_t start, int64_t total, unsigned long* table, GFXFileDesc* d)
{
    if (total - start < HeaderSize + TrailerSize) throw EInvalidImage("PCX: no room for the 256-colour palette");
    unsigned char trailer[TrailerSize];
    s->Seek(int(total - TrailerSize), soFromBeginning);
    s->ReadBuffer(trailer, TrailerSize);
    if (trailer[0] != PaletteMarker) throw EInvalidImage("PCX: 256-colour palette marker not 12");
    const unsigned char* rgb = trailer + 1;
    for (int i = 0; i < 256; ++i) table[i] = PixelOf(rgb + 3 * i);
    if (d && d->paletteData) memcpy(d->paletteData, rgb, 768);
    s->Seek(int(start + HeaderSize), soFromBeginning);
}

// Columns x0..x1 - 1 of one decoded row (every plane's line) to pixels at
// dst. indices has room for x1 bytes.
void ConvertRow(const PCXHeader& h, const unsigned char* raw, unsigned char* indices, unsigned long* dst,
                const Visible& v, const unsigned long* table)
{
    const int line = h.bytesPerLine;
    const int n = v.x1 - v.x0;
    if (h.TrailingPalette()) {
        Colconv::LookupRGB32s(raw + v.x0, dst, n, table);
    } else if (h.BitPlanes()) {
        memset(indices, 0, size_t(v.x1));
        for (int k = 0; k < h.planes; ++k)
            Colconv::PlaneToBytes(raw + k * line, indices, v.x1, static_cast<unsigned char>(1 << k));
        Colconv::LookupRGB32s(indices + v.x0, dst, n, table);
    } else {
        const unsigned char* r = raw + v.x0;
        Colconv::PlanesRGB32s(r, r + line, r + 2 * line, dst, n);
    }
}

// Rows are decoded down to the last one b shows; nothing after it is read.
bool DecodeRows(Buffer& b, TInputStream* s, const PCXHeader& h, const unsigned long* table, int64_t base,
                int64_t total)
{
    Visible v = ClipToBuffer(b, h.Width(), h.Height());
    if (v.x1 <= v.x0 || v.y1 <= v.y0) return true;
    const int rowBytes = h.planes * h.bytesPerLine;
    ScratchBlock<unsigned char> scratch(uint64_t(rowBytes) + uint64_t(v.x1));
    unsigned char* raw = scratch.Get();
    unsigned char* indices = raw + rowBytes;
    StreamBuf in(s, ReadBufferSize);
    for (int y = 0; y < v.y1; ++y) {
        PcxDecodeRow(in, raw, rowBytes);
        if (y >= v.y0) ConvertRow(h, raw, indices, b.At(v.x0, y), v, table);
        if (!GFXFile::Step(GFXFile::Percent(base + in.Consumed(), total))) return false;
    }
    return true;
}

// How a picture of some depth is stored.
struct Layout {
    int bitsPerPlane;
    int planes;
    int bytesPerLine;
};

Layout LayoutFor(int bits, int width)
{
    if (bits <= 4) return Layout{1, bits, (width + 7) / 8};
    return Layout{8, bits / 8, width};
}

void WriteHeader(TOutputStream* s, const Layout& l, int xmin, int ymin, int width, int height, const uint8_t* rgb,
                 int colours)
{
    unsigned char h[HeaderSize] = {};
    h[0] = Manufacturer;
    h[1] = 5;
    h[2] = 1;
    h[3] = static_cast<unsigned char>(l.bitsPerPlane);
    PutLE16(h + 4, xmin);
    PutLE16(h + 6, ymin);
    PutLE16(h + 8, xmin + width - 1);
    PutLE16(h + 10, ymin + height - 1);
    PutLE16(h + 12, 100);
    PutLE16(h + 14, 100);
    if (rgb) memcpy(h + 16, rgb, size_t(3 * colours));
    h[65] = static_cast<unsigned char>(l.planes);
    PutLE16(h + 66, l.bytesPerLine);
    PutLE16(h + 68, 1);
    s->WriteBuffer(h, HeaderSize);
}

// The stored lines of picture row y, one after another into line.
void PlaneLines(Buffer& b, int y, int bits, const Layout& l, unsigned char* line)
{
    const int width = b.Width();
    const unsigned long* pixels = b.At(b.left, b.top + y);
    const unsigned char* indices = reinterpret_cast<const unsigned char*>(pixels);
    if (bits == 8) {
        memcpy(line, indices, size_t(width));
    } else if (bits == 24) {
        for (int c = 0; c < 3; ++c)
            for (int i = 0; i < width; ++i)
                line[c * l.bytesPerLine + i] = static_cast<unsigned char>(pixels[i] >> (16 - 8 * c));
    } else {
        for (int k = 0; k < l.planes; ++k)
            Colconv::BytesToPlane(indices, line + k * l.bytesPerLine, width, static_cast<unsigned char>(1 << k));
    }
}

bool WriteRows(Buffer& b, TOutputStream* s, int bits, const Layout& l)
{
    const int height = b.Height();
    const int rowBytes = l.planes * l.bytesPerLine;
    ScratchBlock<unsigned char> line{uint64_t(rowBytes)};
    ScratchBlock<unsigned char> code{uint64_t(l.planes) * PcxCodedRoom(l.bytesPerLine)};
    for (int y = 0; y < height; ++y) {
        PlaneLines(b, y, bits, l, line.Get());
        size_t n = 0;
        for (int k = 0; k < l.planes; ++k)
            n += PcxEncodeLine(line.Get() + k * l.bytesPerLine, l.bytesPerLine, code.Get() + n);
        s->WriteBuffer(code.Get(), int(n));
        if (!GFXFile::Step(GFXFile::Percent(y + 1, height))) return false;
    }
    return true;
}

class PCXFile : public GFXFile {
public:
    PCXFile() : GFXFile("PC PaintBrush PCX", "*.PCX", 0x800089, 0, false, 0) {}

    int Test(TInputStream* s, GFXFileDesc* d) override;
    bool Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32* x, int image) override;
    bool Save(Buffer& b, TOutputStream* s, GFXtra32* x, GFXSaveParams* p) override;
};

// The manufacturer byte makes the data PCX; the rest of the header decides
// whether the reader can decode it.
int PCXFile::Test(TInputStream* s, GFXFileDesc* d)
{
    const int start = s->GetPosition();
    unsigned char raw[HeaderSize];
    const int got = s->Read(raw, HeaderSize);
    s->Seek(start, soFromBeginning);
    if (got < HeaderSize || raw[0] != Manufacturer) return 0;
    PCXHeader h = ParseHeader(raw);
    const bool readable = !HeaderProblem(h);
    if (d) Describe(h, readable, d);
    return readable ? 1 : -1;
}

bool PCXFile::Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32* x, int)
{
    const int64_t start = s->GetPosition();
    const int64_t total = s->GetSize();
    unsigned char raw[HeaderSize];
    s->ReadBuffer(raw, HeaderSize);
    PCXHeader h = ParseHeader(raw);
    if (h.manufacturer != Manufacturer) throw EInvalidImage("PCX: manufacturer byte not 10");
    if (const char* problem = HeaderProblem(h)) throw EInvalidImage(problem);
    if (int64_t(h.Width()) * h.Height() > MaxPicturePixels) throw EInvalidImage("PCX: more than 2^28 pixels");

    unsigned long table[256] = {};
    if (h.TrailingPalette())
        TrailingPalette(s, start, total, table, d);
    else if (h.BitPlanes())
        HeaderPalette(h, table, d);
    if (x) {
        x->x = int16_t(h.xmin);
        x->y = int16_t(h.ymin);
    }

    if (!b.pixels) {
        // A packet of two bytes repeats a byte at most 63 times.
        RequireBytes(total - (start + HeaderSize), PackedRowsBytes(h.Height(), int64_t(h.planes) * h.bytesPerLine, 63, 2));
        b.Alloc({h.Width(), h.Height()});
    }
    b.Box(Rect{0, 0, h.Width() - 1, h.Height() - 1}, 0);
    return DecodeRows(b, s, h, table, start + HeaderSize, total);
}

bool PCXFile::Save(Buffer& b, TOutputStream* s, GFXtra32* x, GFXSaveParams* p)
{
    const int bits = p ? p->bits : 0;
    if (!p || p->grey || !((bits >= 1 && bits <= 4) || bits == 8 || bits == 24))
        throw EInvalidImage("PCX: writes colour pictures of 1 to 4, 8 or 24 bits only");
    if (bits <= 8 && !p->paletteData) throw EInvalidImage("PCX: palette depth without a palette");
    if (!b.pixels || b.Width() <= 0 || b.Height() <= 0) throw EInvalidImage("PCX: empty picture");
    const int width = b.Width();
    const int height = b.Height();
    const int xmin = x ? uint16_t(x->x) : 0;
    const int ymin = x ? uint16_t(x->y) : 0;
    if (width > MaxField - xmin + 1 || height > MaxField - ymin + 1)
        throw EInvalidImage("PCX: origin plus size beyond 65535");
    const Layout l = LayoutFor(bits, width);
    if (l.bytesPerLine > MaxField) throw EInvalidImage("PCX: line wider than 65535 bytes");

    int colours = 0;
    if (bits <= 4) {
        colours = p->colours < 0 ? -p->colours : p->colours;
        if (colours == 0 || colours > 1 << bits) colours = 1 << bits;
    } else if (bits == 8) {
        colours = HeaderColours;
    }
    WriteHeader(s, l, xmin, ymin, width, height, p->paletteData, colours);
    if (!WriteRows(b, s, bits, l)) return false;
    if (bits == 8) {
        s->WriteBuffer(&PaletteMarker, 1);
        s->WriteBuffer(p->paletteData, 768);
    }
    return true;
}

}  // namespace

GFXFile* PCXFormat()
{
    static PCXFile format;
    return &format;
}
