// CompuServe GIF: reads any image of a GIF 87a or 89a file, composed over the
// images before it as a viewer shows it; writes one palette image of 1 to 8
// bits, optionally interlaced and with palette entry 0 transparent.
//
// Layout, 16-bit values little-endian: "GIF87a" or "GIF89a"; the logical
// screen (width, height, flags, background index, aspect); an optional global
// colour table; then blocks: extensions (0x21, a label, sub-blocks), images
// (0x2C, placement and size, flags, an optional local colour table, the LZW
// minimum code size and the data sub-blocks), and the trailer 0x3B.
#include <string.h>

#include "byte_order.h"
#include "exceptions.h"
#include "formats.h"
#include "gfxfile.h"
#include "gif_lzw.h"
#include "picture_limits.h"
#include "scratch_block.h"
#include "stream_room.h"
#include "streambuf.h"

namespace {

const int HeaderBytes = 13;
const int DescriptorBytes = 9;
const int ReadAhead = 32768;
const int MaxSide = 65535;  // sizes are stored in 16 bits
const int ExtensionIntroducer = 0x21;
const int ImageSeparator = 0x2C;
const int Trailer = 0x3B;
const int GraphicControlLabel = 0xF9;
const int GraphicControlBytes = 4;
const int DisposeToBackground = 2;
const int DisposeToPrevious = 3;
// A code size of up to 11 lets pixels name entries far beyond the 256 of any
// table; those look up black.
const int ColourEntries = 1 << GifMaxMinSize;

struct Pass {
    int step, first;
};
const Pass InterlacePasses[] = {{8, 0}, {8, 4}, {4, 2}, {2, 1}};
const Pass SequentialPass[] = {{1, 0}};

bool HasTable(int flags) { return (flags & 0x80) != 0; }
int TableBits(int flags) { return (flags & 7) + 1; }
bool IsInterlaced(int flags) { return (flags & 0x40) != 0; }

struct Screen {
    int width, height, flags, background;
};

Screen ParseScreen(const unsigned char* head)
{
    return Screen{int(GetLE16(head + 6)), int(GetLE16(head + 8)), head[10], head[11]};
}

struct ImageHead {
    int left, top, width, height, flags;
};

ImageHead ReadImageHead(StreamBuf& in)
{
    unsigned char raw[DescriptorBytes];
    in.Read(raw, DescriptorBytes);
    return ImageHead{int(GetLE16(raw)), int(GetLE16(raw + 2)), int(GetLE16(raw + 4)), int(GetLE16(raw + 6)), raw[8]};
}

// What the graphic control extension before an image says about it.
struct Control {
    int disposal;
    int transparent;  // -1: none
};

void SkipSubBlocks(StreamBuf& in, int size)
{
    for (; size != 0; size = in.Byte()) in.Skip(size);
}

// Passes over the extensions before the next image; returns the byte that
// ended the search: the image separator, the trailer or anything else.
// control receives the last graphic control extension met.
int SeekImage(StreamBuf& in, Control& control)
{
    for (;;) {
        int kind = in.Byte();
        if (kind != ExtensionIntroducer) return kind;
        int label = in.Byte();
        int size = in.Byte();
        if (label == GraphicControlLabel && size == GraphicControlBytes) {
            unsigned char g[GraphicControlBytes];
            in.Read(g, GraphicControlBytes);
            control.disposal = g[0] >> 2 & 7;
            control.transparent = (g[0] & 1) ? g[3] : -1;
            size = in.Byte();
        }
        SkipSubBlocks(in, size);
    }
}

void ReadTable(StreamBuf& in, int flags, unsigned long* table)
{
    int entries = 1 << TableBits(flags);
    unsigned char rgb[3 * 256];
    in.Read(rgb, 3 * entries);
    for (int i = 0; i < entries; ++i)
        table[i] = (unsigned long)rgb[3 * i] << 16 | rgb[3 * i + 1] << 8 | rgb[3 * i + 2];
}

// ---- Test ------------------------------------------------------------------

struct Survey {
    bool screenRead;
    Screen screen;
    int bits;  // of the largest colour table
    int images;
    bool interlaced, transparent;  // of the first image
};

void NoteTable(Survey& v, int flags)
{
    if (HasTable(flags) && TableBits(flags) > v.bits) v.bits = TableBits(flags);
}

// Walks the blocks without decoding; the caller stops it by a read error.
void Scan(TInputStream* s, Survey& v)
{
    StreamBuf in(s, ReadAhead);
    unsigned char head[HeaderBytes];
    in.Read(head, HeaderBytes);
    v.screen = ParseScreen(head);
    v.screenRead = true;
    NoteTable(v, v.screen.flags);
    if (HasTable(v.screen.flags)) in.Skip(3 << TableBits(v.screen.flags));
    Control first = {0, -1};
    Control later = {0, -1};
    while (SeekImage(in, v.images == 0 ? first : later) == ImageSeparator) {
        ImageHead h = ReadImageHead(in);
        if (v.images == 0) {
            v.interlaced = IsInterlaced(h.flags);
            v.transparent = first.transparent >= 0;
        }
        ++v.images;
        NoteTable(v, h.flags);
        if (HasTable(h.flags)) in.Skip(3 << TableBits(h.flags));
        in.Byte();  // the minimum code size
        SkipSubBlocks(in, in.Byte());
    }
}

// Every load decodes the first image whole down to the screen's bottom, and
// one LZW code of 12 bits at most stands for fewer than 4,096 pixels: those
// rows take at least 3 bytes per 8,192 pixels. The screen may be larger than
// its images, so this is all the file size can say before the screen is
// allocated. A header that cannot be read is left to the load to report.
// The file is read from from on; the stream is left where it was.
void RequireFirstImage(TInputStream* s, long long from)
{
    const int here = s->GetPosition();
    s->Seek(int(from), soFromBeginning);
    int64_t needed = 0, left = 0;
    try {
        StreamBuf in(s, ReadAhead);
        unsigned char head[HeaderBytes];
        in.Read(head, HeaderBytes);
        const Screen screen = ParseScreen(head);
        if (HasTable(screen.flags)) in.Skip(3 << TableBits(screen.flags));
        Control control = {0, -1};
        if (SeekImage(in, control) == ImageSeparator) {
            const ImageHead h = ReadImageHead(in);
            const int64_t rows = h.height < screen.height - h.top ? h.height : screen.height - h.top;
            if (rows > 0) needed = int64_t(h.width) * rows * 3 / 8192;
            left = BytesLeft(in);
        }
    } catch (EReadError&) {
    }
    s->Seek(here, soFromBeginning);
    if (needed > left) throw EInvalidImage("GIF: image data ends before the picture does");
}

void Describe(const Survey& v, GFXFileDesc* d)
{
    uint8_t* palette = d->paletteData;
    *d = GFXFileDesc();
    d->paletteData = palette;
    d->colour = 1;
    d->palette = 1;
    d->bits = uint8_t(v.bits);
    d->images = v.images;
    d->interlaced = v.interlaced;
    d->transparent = v.transparent;
    if (!v.screenRead) return;
    d->width = v.screen.width;
    d->height = v.screen.height;
    d->channelBits = uint8_t((v.screen.flags >> 4 & 7) + 1);
}

// ---- Load ------------------------------------------------------------------

// The columns (or rows) of an image that the buffer shows, counted from the
// image's first one: begin .. end - 1.
struct Span {
    int begin, end;
};

Span Visible(int low, int high, int at, int size)
{
    long long begin = (long long)low - at;
    long long end = (long long)high - at + 1;
    if (begin < 0) begin = 0;
    if (end > size) end = size;
    if (end < begin) end = begin;
    if (begin > size) begin = end = size;
    return Span{int(begin), int(end)};
}

// How an image's pixels reach the buffer.
struct Paint {
    bool draw;
    int transparent;  // index left out, -1 none
    const unsigned long* table;
};

void PaintRow(unsigned long* dst, const uint16_t* index, int n, const Paint& paint)
{
    if (paint.transparent < 0) {
        for (int i = 0; i < n; ++i) dst[i] = paint.table[index[i]];
        return;
    }
    for (int i = 0; i < n; ++i)
        if (index[i] != paint.transparent) dst[i] = paint.table[index[i]];
}

struct Progress {
    StreamBuf& in;
    long long base, total;
    bool Step() const { return GFXFile::Step(GFXFile::Percent(base + in.Consumed(), total)); }
};

// Decodes an image's rows in file order into the buffer. A sequential image
// that is wanted stops after the last row the buffer shows; every other one
// is decoded to its last pixel, the rows out of sight thrown away. False
// when the user cancelled.
bool DecodeImage(Buffer& b, GIFDecoder& lzw, const ImageHead& h, const Paint& paint, bool wanted,
                 const Progress& progress, uint16_t* row)
{
    Span columns{0, 0}, rows{0, 0};
    if (b.pixels) {
        columns = Visible(b.left, b.right, h.left, h.width);
        rows = Visible(b.top, b.bottom, h.top, h.height);
    }
    bool interlaced = IsInterlaced(h.flags);
    const Pass* passes = interlaced ? InterlacePasses : SequentialPass;
    int passCount = interlaced ? 4 : 1;
    for (int p = 0; p < passCount; ++p)
        for (int r = passes[p].first; r < h.height; r += passes[p].step) {
            if (wanted && !interlaced && r >= rows.end) return true;
            lzw.Read(row, h.width);
            if (r < rows.begin || r >= rows.end) continue;
            if (paint.draw)
                PaintRow(b.At(h.left + columns.begin, h.top + r), row + columns.begin, columns.end - columns.begin,
                         paint);
            if (!progress.Step()) return false;
        }
    return true;
}

// Encoders size the codes by the pixel values they hold, not by the colour
// table (a frame of a few low entries of a 256-entry table may use 2 bits),
// so only the format's own bounds apply. Pixels beyond the table look up
// black.
void CheckMinimumSize(int minSize)
{
    if (minSize < 2 || minSize > GifMaxMinSize) throw EInvalidImage("GIF: LZW minimum code size not 2 to 11");
}

void GivePalette(const unsigned long* table, uint8_t* rgb)
{
    for (int i = 0; i < 256; ++i) {
        rgb[3 * i] = uint8_t(table[i] >> 16);
        rgb[3 * i + 1] = uint8_t(table[i] >> 8);
        rgb[3 * i + 2] = uint8_t(table[i]);
    }
}

// The extensions before the next image; the trailer or anything else there
// means the image asked for is missing.
Control NextImage(StreamBuf& in)
{
    Control control = {0, -1};
    int kind = SeekImage(in, control);
    if (kind == Trailer) throw EInvalidImage("GIF: the file ends before the image asked for");
    if (kind != ImageSeparator) throw EInvalidImage("GIF: a block that is neither an extension nor an image");
    return control;
}

// The image's own table, else the global one; entries not filled are black.
void ImageTable(StreamBuf& in, int flags, const unsigned long* global, unsigned long* table)
{
    memset(table, 0, ColourEntries * sizeof *table);
    if (HasTable(flags))
        ReadTable(in, flags, table);
    else
        memcpy(table, global, 256 * sizeof *table);
}

// The image asked for: told to the caller, and drawn whole if it is the
// first, which has nothing below it to show through.
Paint Report(const Control& control, const ImageHead& h, int n, const unsigned long* table, GFXFileDesc* d,
             GFXtra32* x)
{
    if (d) {
        d->interlaced = IsInterlaced(h.flags);
        d->transparent = control.transparent >= 0;
        if (d->paletteData) GivePalette(table, d->paletteData);
    }
    // Keying out colour2 must remove what the image leaves transparent.
    if (x && control.transparent >= 0) x->colour2 = table[control.transparent];
    return Paint{true, n == 0 ? -1 : control.transparent, table};
}

// An image before the one asked for, as it is left when the next one comes.
Paint Dispose(Buffer& b, const Control& control, const ImageHead& h, const unsigned long* table,
              unsigned long background)
{
    Paint paint{true, control.transparent, table};
    if (control.disposal == DisposeToBackground) {
        paint.draw = false;
        b.Box(Rect{h.left, h.top, h.left + h.width - 1, h.top + h.height - 1}, background);
    } else if (control.disposal == DisposeToPrevious) {
        paint.draw = false;
    }
    return paint;
}

// ---- Save ------------------------------------------------------------------

void WriteScreen(TOutputStream* s, int width, int height, int bits, bool transparent, int background,
                 const uint8_t* palette)
{
    unsigned char head[HeaderBytes];
    memcpy(head, transparent ? "GIF89a" : "GIF87a", 6);
    PutLE16(head + 6, width);
    PutLE16(head + 8, height);
    head[10] = static_cast<unsigned char>(0xF0 | (bits - 1));
    head[11] = static_cast<unsigned char>(background);
    head[12] = 0;
    s->WriteBuffer(head, HeaderBytes);
    s->WriteBuffer(palette, 3 << bits);
}

void WriteImageHead(TOutputStream* s, int width, int height, int bits, bool interlaced)
{
    unsigned char h[1 + DescriptorBytes] = {ImageSeparator};
    PutLE16(h + 5, width);
    PutLE16(h + 7, height);
    h[9] = static_cast<unsigned char>((interlaced ? 0x40 : 0) | (bits - 1));
    s->WriteBuffer(h, sizeof h);
}

// Entry 0 transparent, no delay, disposal left to the viewer.
const unsigned char TransparentControl[8] = {ExtensionIntroducer, GraphicControlLabel, 4, 0x01, 0, 0, 0, 0};

class GIFFile : public GFXFile {
public:
    GIFFile() : GFXFile("CompuServe GIF", "*.GIF", 0xFF, 0, true, 0) {}

    int Test(TInputStream* s, GFXFileDesc* d) override;
    bool Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32* x, int image) override;
    bool Save(Buffer& b, TOutputStream* s, GFXtra32* x, GFXSaveParams* p) override;
};

// Counts the images; a file cut short counts what it holds.
int GIFFile::Test(TInputStream* s, GFXFileDesc* d)
{
    int start = s->GetPosition();
    unsigned char signature[3];
    bool gif = s->Read(signature, 3) == 3 && memcmp(signature, "GIF", 3) == 0;
    s->Seek(start, soFromBeginning);
    if (!gif) return 0;
    Survey v = {};
    try {
        Scan(s, v);
    } catch (EReadError&) {
    }
    s->Seek(start, soFromBeginning);
    if (d) Describe(v, d);
    return v.images > 0 ? 1 : -1;
}

bool GIFFile::Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32* x, int image)
{
    StreamBuf in(s, ReadAhead);
    const Progress progress{in, s->GetPosition(), s->GetSize()};
    unsigned char head[HeaderBytes];
    in.Read(head, HeaderBytes);
    if (memcmp(head, "GIF", 3) != 0) throw EInvalidImage("GIF: no GIF signature");
    if (image < 0) throw EInvalidImage("GIF: negative image number");
    Screen screen = ParseScreen(head);
    unsigned long global[256] = {};
    if (HasTable(screen.flags)) ReadTable(in, screen.flags, global);

    if (!b.pixels) {
        if ((long long)screen.width * screen.height > MaxPicturePixels)
            throw EInvalidImage("GIF: more than 2^28 pixels");
        RequireFirstImage(s, progress.base);
        b.Alloc({screen.width, screen.height});
    }
    const Rect whole{0, 0, screen.width - 1, screen.height - 1};
    b.Box(whole, 0);
    ScratchBlock<uint16_t> row;
    int rowRoom = -1;
    unsigned long table[ColourEntries];
    unsigned long background = 0;

    for (int n = 0;; ++n) {
        Control control = NextImage(in);
        ImageHead h = ReadImageHead(in);
        ImageTable(in, h.flags, global, table);
        if (n == 0) {
            background = table[screen.background];
            b.Box(whole, background);
            if (x) x->colour2 = background;
        }
        bool wanted = n == image;
        Paint paint = wanted ? Report(control, h, n, table, d, x) : Dispose(b, control, h, table, background);

        int minSize = in.Byte();
        CheckMinimumSize(minSize);
        if (h.width > rowRoom) {
            row.Take(uint64_t(h.width));
            rowRoom = h.width;
        }
        GIFDecoder lzw(in, minSize);
        if (!DecodeImage(b, lzw, h, paint, wanted, progress, row.Get())) return false;
        if (wanted) return true;
        // Encoders may put more after the end code, even whole sub-blocks.
        lzw.SkipRest();
    }
}

bool GIFFile::Save(Buffer& b, TOutputStream* s, GFXtra32* x, GFXSaveParams* p)
{
    int bits = p ? p->bits : 0;
    if (bits < 1 || bits > 8) throw EInvalidImage("GIF: writes 1 to 8 bits only");
    if (p->grey) throw EInvalidImage("GIF: writes no grey pictures");
    if (!p->paletteData) throw EInvalidImage("GIF: no palette to write");
    int width = b.pixels ? b.Width() : 0;
    int height = b.pixels ? b.Height() : 0;
    if (width <= 0 || height <= 0) width = height = 0;
    if (width > MaxSide || height > MaxSide) throw EInvalidImage("GIF: picture wider or taller than 65535");

    bool transparent = p->transparent != 0;
    bool interlaced = p->interlaced != 0;
    WriteScreen(s, width, height, bits, transparent, x ? int(x->colour2 >> 24) : 0, p->paletteData);
    if (transparent) s->WriteBuffer(TransparentControl, sizeof TransparentControl);
    WriteImageHead(s, width, height, bits, interlaced);
    const unsigned char minSize = static_cast<unsigned char>(bits < 2 ? 2 : bits);
    s->WriteBuffer(&minSize, 1);

    GIFEncoder lzw(s, minSize);
    const Pass* passes = interlaced ? InterlacePasses : SequentialPass;
    int passCount = interlaced ? 4 : 1;
    int rowsDone = 0;
    bool cancelled = false;
    for (int k = 0; k < passCount; ++k) {
        for (int y = passes[k].first; y < height; y += passes[k].step) {
            lzw.Put(reinterpret_cast<const unsigned char*>(b.At(b.left, b.top + y)), width);
            ++rowsDone;
            if (!GFXFile::Step(GFXFile::Percent(rowsDone, height))) cancelled = true;
        }
        // A pass is finished before a cancel counts.
        if (cancelled) return false;
    }
    lzw.Finish();
    const unsigned char trailer = Trailer;
    s->WriteBuffer(&trailer, 1);
    return true;
}

}  // namespace

GFXFile* GIFFormat()
{
    static GIFFile format;
    return &format;
}
