// TrueVision Targa (TGA): reads colour-mapped, true-colour and grey pictures,
// plain or run-length packed, stored in any corner order; writes run-length
// packed 8-bit colour-mapped and 24-bit true-colour pictures.
//
// TGA has no signature at the start, so Test accepts only the header
// combinations the reader can decode, and the format is probed last.
#include <string.h>

#include <vector>

#include "byte_order.h"
#include "colconv.h"
#include "colconv_rows.h"
#include "exceptions.h"
#include "formats.h"
#include "gfxfile.h"
#include "picture_clip.h"
#include "picture_limits.h"
#include "stream_room.h"
#include "tga_stream.h"

namespace {

const int HeaderSize = 18;
const int FooterSize = 26;
// Shorter data cannot hold both a header and a footer worth believing.
const int MinFooterData = 44;
const unsigned char Signature[18] = {'T', 'R', 'U', 'E', 'V', 'I', 'S', 'I', 'O',
                                     'N', '-', 'X', 'F', 'I', 'L', 'E', '.', 0};
const unsigned char ImageId[8] = {'C', 'O', 'R', 'V', 'A', 'N', 'E', 0};
const int ReadBufferSize = 16384;
const int MaxPacket = 128;

struct TGAHeader {
    int idLength;
    int mapType;
    int imageType;
    int mapFirst;
    int mapLength;
    int mapEntryBits;
    int originX, originY;
    int width, height;
    int depth;
    int descriptor;
};

TGAHeader ParseHeader(const unsigned char* p)
{
    TGAHeader h;
    h.idLength = p[0];
    h.mapType = p[1];
    h.imageType = p[2];
    h.mapFirst = int(GetLE16(p + 3));
    h.mapLength = int(GetLE16(p + 5));
    h.mapEntryBits = p[7];
    h.originX = int(GetLE16(p + 8));
    h.originY = int(GetLE16(p + 10));
    h.width = int(GetLE16(p + 12));
    h.height = int(GetLE16(p + 14));
    h.depth = p[16];
    h.descriptor = p[17];
    return h;
}

bool ColourMapped(const TGAHeader& h) { return (h.imageType & 7) == 1; }
bool Grey(const TGAHeader& h) { return (h.imageType & 7) == 3; }
bool RunLength(const TGAHeader& h) { return (h.imageType & 8) != 0; }
bool RightToLeft(const TGAHeader& h) { return (h.descriptor & 0x10) != 0; }
bool TopDown(const TGAHeader& h) { return (h.descriptor & 0x20) != 0; }
bool Interleaved(const TGAHeader& h) { return (h.descriptor & 0xC0) != 0; }
int BytesOf(int bits) { return (bits + 7) / 8; }

// The first rule of the accepted combinations that h breaks, or null.
// Interleaving is left to the callers: Test tells it apart from damage.
const char* HeaderProblem(const TGAHeader& h)
{
    if (h.mapType > 1) return "TGA: colour map type above 1";
    int t = h.imageType;
    if (t != 1 && t != 2 && t != 3 && t != 9 && t != 10 && t != 11) return "TGA: image type not 1, 2, 3, 9, 10 or 11";
    if (ColourMapped(h)) {
        if (h.mapType != 1) return "TGA: colour-mapped picture without a colour map";
        if (h.mapFirst + h.mapLength > 256) return "TGA: colour map beyond entry 255";
        if (h.depth < 1 || h.depth > 8) return "TGA: colour-mapped pixel depth not 1 to 8";
        int e = h.mapEntryBits;
        if (e != 15 && e != 16 && e != 24 && e != 32) return "TGA: colour map entry size not 15, 16, 24 or 32";
    } else if (Grey(h)) {
        if (h.depth < 1 || h.depth > 8) return "TGA: grey pixel depth not 1 to 8";
    } else {
        int e = h.depth;
        if (e != 15 && e != 16 && e != 24 && e != 32) return "TGA: true-colour pixel depth not 15, 16, 24 or 32";
    }
    return nullptr;
}

// Pixel of a colour-map entry or of a true-colour pixel of 2 to 4 bytes:
// 5-5-5 (bit 15 kept as a flag), or B, G, R with any fourth byte dropped.
unsigned long WidenPixel(const unsigned char* p, int bytes)
{
    if (bytes == 2) return Colconv::W555RGB32(static_cast<unsigned short>(GetLE16(p)));
    return static_cast<unsigned long>(p[2]) << 16 | p[1] << 8 | p[0];
}

bool HasFooter(TInputStream* s, int start)
{
    int size = s->GetSize();
    if (size - start <= MinFooterData) return false;
    unsigned char tail[sizeof Signature];
    if (s->Seek(size - int(sizeof Signature), soFromBeginning) < 0) return false;
    return s->Read(tail, sizeof tail) == int(sizeof tail) && memcmp(tail, Signature, sizeof tail) == 0;
}

void Describe(const TGAHeader& h, int answer, GFXFileDesc* d)
{
    uint8_t* keep = d->paletteData;
    memset(d, 0, sizeof *d);
    d->paletteData = keep;
    d->width = h.width;
    d->height = h.height;
    d->palette = ColourMapped(h);
    d->colour = !Grey(h);
    d->bits = uint8_t(h.depth);
    int channel = ColourMapped(h) ? h.mapEntryBits / 3 : Grey(h) ? h.depth : h.depth / 3;
    d->channelBits = uint8_t(channel < 8 ? channel : 8);
    d->interlaced = Interleaved(h);
    d->images = answer == 1;
}

// Entries land at their own index of a zeroed 256-entry table, so every
// index byte of the picture, in the map or not, looks up safely.
void ReadColourMap(TGAStream& in, const TGAHeader& h, unsigned long* table)
{
    int bytes = BytesOf(h.mapEntryBits);
    unsigned char entry[4];
    for (int i = 0; i < h.mapLength; ++i) {
        in.Read(entry, bytes);
        table[h.mapFirst + i] = WidenPixel(entry, bytes);
    }
}

// Levels spread over the whole range, so that the top level is white.
void GreyTable(int depth, unsigned long* table)
{
    unsigned top = (1u << depth) - 1;
    for (unsigned i = 0; i <= top; ++i) table[i] = i * 255 / top * 0x010101ul;
}

void GivePalette(const TGAHeader& h, const unsigned long* table, uint8_t* rgb)
{
    for (int i = 0; i < 1 << h.depth; ++i) {
        rgb[3 * i] = uint8_t(table[i] >> 16);
        rgb[3 * i + 1] = uint8_t(table[i] >> 8);
        rgb[3 * i + 2] = uint8_t(table[i]);
    }
}

// The file's pixels of one row, packed against the end of the row's pixels,
// widened in place.
void WidenRow(unsigned char* raw, unsigned long* row, int n, int pixelSize, const unsigned long* table)
{
    switch (pixelSize) {
    case 1: Colconv::LookupRGB32s(raw, row, n, table); break;
    case 2: Colconv::W555RGB32s(raw, row, n); break;
    case 3: Colconv::RGB24RGB32s(raw, row, n); break;
    default: Colconv::RGB32RGB32s(row, row, n); break;
    }
}

// Stored rows run bottom to top unless the descriptor says otherwise, and
// stored columns right to left when it says so. Whatever b does not show is
// passed over, through the packets, and nothing after the last visible pixel
// is read.
bool DecodeRows(Buffer& b, TGAStream& in, const TGAHeader& h, const unsigned long* table, long long base,
                long long total)
{
    Visible v = ClipToBuffer(b, h.width, h.height);
    int n = v.x1 - v.x0;
    if (n <= 0 || v.y1 <= v.y0) return true;
    bool mirrored = RightToLeft(h);
    int lead = mirrored ? h.width - v.x1 : v.x0;
    int trail = h.width - n - lead;
    int pending = (TopDown(h) ? v.y0 : h.height - v.y1) * h.width;
    int rows = v.y1 - v.y0;
    for (int k = 0; k < rows; ++k) {
        int y = TopDown(h) ? v.y0 + k : v.y1 - 1 - k;
        unsigned long* row = b.At(v.x0, y);
        unsigned char* raw = reinterpret_cast<unsigned char*>(row + n) - n * in.pixelSize;
        in.SkipPixels(pending + lead);
        if (mirrored)
            in.ReadPixelsBackwards(raw, n);
        else
            in.ReadPixels(raw, n);
        WidenRow(raw, row, n, in.pixelSize, table);
        pending = trail;
        if (!GFXFile::Step(GFXFile::Percent(base + in.Consumed(), total))) return false;
    }
    return true;
}

// One row as packets: runs of 3 or more equal values become repeat packets,
// everything else raw packets; each value is written as its low
// pixelSize bytes (an index byte, or B, G, R).
class PacketWriter {
public:
    PacketWriter(int pixelSize, int n) : pixelSize_(pixelSize) { out_.reserve(size_t(n) * (pixelSize + 1)); }

    const std::vector<unsigned char>& Encode(const std::vector<unsigned long>& v)
    {
        out_.clear();
        int n = int(v.size());
        int rawStart = 0;
        int i = 0;
        while (i < n) {
            int run = 1;
            while (i + run < n && run < MaxPacket && v[i + run] == v[i]) ++run;
            if (run >= 3) {
                PutRaw(v, rawStart, i);
                out_.push_back(static_cast<unsigned char>(run + 127));
                PutValue(v[i]);
                rawStart = i + run;
            }
            i += run;
        }
        PutRaw(v, rawStart, n);
        return out_;
    }

private:
    void PutValue(unsigned long value)
    {
        for (int k = 0; k < pixelSize_; ++k) out_.push_back(static_cast<unsigned char>(value >> (8 * k)));
    }

    void PutRaw(const std::vector<unsigned long>& v, int from, int to)
    {
        while (from < to) {
            int count = to - from < MaxPacket ? to - from : MaxPacket;
            out_.push_back(static_cast<unsigned char>(count - 1));
            for (int k = 0; k < count; ++k) PutValue(v[from + k]);
            from += count;
        }
    }

    int pixelSize_;
    std::vector<unsigned char> out_;
};

void WriteHeader(TOutputStream* s, int bits, int width, int height, const GFXtra32* x)
{
    bool mapped = bits == 8;
    bool empty = width == 0;
    unsigned char h[HeaderSize] = {};
    h[0] = sizeof ImageId;
    h[1] = mapped;
    h[2] = empty ? 0 : mapped ? 9 : 10;
    PutLE16(h + 5, mapped ? 1 << bits : 0);
    h[7] = mapped ? 24 : 0;
    PutLE16(h + 8, x ? x->x : 0);
    PutLE16(h + 10, x ? x->y : 0);
    PutLE16(h + 12, width);
    PutLE16(h + 14, height);
    h[16] = static_cast<unsigned char>(bits);
    h[17] = 0x20;
    s->WriteBuffer(h, HeaderSize);
    s->WriteBuffer(ImageId, sizeof ImageId);
}

void WriteColourMap(TOutputStream* s, const uint8_t* rgb)
{
    unsigned char map[256 * 3];
    for (int i = 0; i < 256; ++i) {
        map[3 * i] = rgb[3 * i + 2];
        map[3 * i + 1] = rgb[3 * i + 1];
        map[3 * i + 2] = rgb[3 * i];
    }
    s->WriteBuffer(map, sizeof map);
}

// Row y as the values to pack: index bytes of an index image, or pixels.
void RowValues(Buffer& b, int y, bool indices, std::vector<unsigned long>& v)
{
    unsigned long* row = b.At(b.left, b.top + y);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(row);
    for (size_t i = 0; i < v.size(); ++i) v[i] = indices ? bytes[i] : row[i];
}

void WriteFooter(TOutputStream* s)
{
    unsigned char f[FooterSize] = {};
    memcpy(f + 8, Signature, sizeof Signature);
    s->WriteBuffer(f, FooterSize);
}

class TGAFile : public GFXFile {
public:
    TGAFile() : GFXFile("TrueVision Targa", "*.TGA", 0x800080, 0, false, 0) {}

    int Test(TInputStream* s, GFXFileDesc* d) override;
    bool Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32* x, int image) override;
    bool Save(Buffer& b, TOutputStream* s, GFXtra32* x, GFXSaveParams* p) override;
};

// A footer makes the data TGA (-1 so far); the header decides between a
// picture the reader can load (1), an interleaved one it cannot (-1), and
// anything else.
int TGAFile::Test(TInputStream* s, GFXFileDesc* d)
{
    int start = s->GetPosition();
    int answer = HasFooter(s, start) ? -1 : 0;
    unsigned char raw[HeaderSize];
    s->Seek(start, soFromBeginning);
    bool whole = s->Read(raw, HeaderSize) == HeaderSize;
    s->Seek(start, soFromBeginning);
    if (!whole) return answer;
    TGAHeader h = ParseHeader(raw);
    if (!HeaderProblem(h)) answer = Interleaved(h) ? -1 : 1;
    if (answer != 0 && d) Describe(h, answer, d);
    return answer;
}

bool TGAFile::Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32* x, int)
{
    long long base = s->GetPosition();
    long long total = s->GetSize();
    unsigned char raw[HeaderSize];
    s->ReadBuffer(raw, HeaderSize);
    TGAHeader h = ParseHeader(raw);
    if (const char* problem = HeaderProblem(h)) throw EInvalidImage(problem);
    if (Interleaved(h)) throw EInvalidImage("TGA: interleaved rows");
    if ((long long)h.width * h.height > MaxPicturePixels) throw EInvalidImage("TGA: more than 2^28 pixels");
    base += HeaderSize;

    TGAStream in(s, ReadBufferSize, BytesOf(h.depth), RunLength(h));
    in.Skip(h.idLength);
    unsigned long table[256] = {};
    if (ColourMapped(h))
        ReadColourMap(in, h, table);
    else if (h.mapType == 1)
        in.Skip(h.mapLength * BytesOf(h.mapEntryBits));
    if (Grey(h)) GreyTable(h.depth, table);
    if (ColourMapped(h) && d && d->paletteData) GivePalette(h, table, d->paletteData);
    if (x) {
        x->x = int16_t(h.originX);
        x->y = int16_t(h.originY);
    }

    if (!b.pixels) {
        // A run-length packet repeats one pixel at most 128 times.
        const int64_t pixels = int64_t(h.width) * h.height, pixelBytes = BytesOf(h.depth);
        RequireBytes(BytesLeft(in), RunLength(h) ? PackedRowsBytes(1, pixels, 128, 1 + pixelBytes)
                                                 : h.width * pixelBytes);
        b.Alloc({h.width, h.height});
    }
    b.Box(Rect{0, 0, h.width - 1, h.height - 1}, 0);
    return DecodeRows(b, in, h, table, base, total);
}

bool TGAFile::Save(Buffer& b, TOutputStream* s, GFXtra32* x, GFXSaveParams* p)
{
    int bits = p ? p->bits : 0;
    if (bits != 8 && bits != 24) throw EInvalidImage("TGA: writes 8 or 24 bits only");
    if (p->grey) throw EInvalidImage("TGA: writes no grey pictures");
    if (bits == 8 && !p->paletteData) throw EInvalidImage("TGA: 8 bits without a palette");
    int width = b.pixels ? b.Width() : 0;
    int height = b.pixels ? b.Height() : 0;
    if (width <= 0 || height <= 0) width = height = 0;
    if (width > 65535 || height > 65535) throw EInvalidImage("TGA: picture wider or taller than 65535");

    WriteHeader(s, bits, width, height, x);
    if (bits == 8) WriteColourMap(s, p->paletteData);
    int pixelSize = bits / 8;
    PacketWriter packets(pixelSize, width);
    std::vector<unsigned long> values(size_t(width), 0);
    for (int y = 0; y < height; ++y) {
        if (!GFXFile::Step(GFXFile::Percent(y, height))) return false;
        RowValues(b, y, bits == 8, values);
        const std::vector<unsigned char>& out = packets.Encode(values);
        s->WriteBuffer(out.data(), int(out.size()));
    }
    WriteFooter(s);
    return true;
}

}  // namespace

GFXFile* TGAFormat()
{
    static TGAFile format;
    return &format;
}
