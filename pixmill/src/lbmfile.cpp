// Amiga IFF (ILBM, LBM): interleaved bit-plane pictures ("ILBM") of 1 to 8
// planes with a colour map or of 24 planes, and chunky 8-bit pictures
// ("PBM ").
//
// The file is one FORM chunk: the type, then chunks of a 4-character
// identifier, a big-endian length, the data and a pad byte to even length.
// BMHD holds the header, CMAP the colours, BODY the rows (lbm_decode.cpp).
// Writing makes "PBM " for 8 bits when the file name ends in ".LBM", ILBM
// otherwise; always ByteRun1-coded, with the chunk lengths patched in once
// the rows are out.
#include <string.h>

#include "colconv_rows.h"
#include "exceptions.h"
#include "formats.h"
#include "gfxfile.h"
#include "lbm_codec.h"
#include "picture_limits.h"
#include "scratch_block.h"
#include "stream_room.h"

namespace {

const int ReadAhead = 2048;
const int FormHeadBytes = 12;  // "FORM", length, type
const int MaxSide = 0xFFFF;

class LBMFile : public GFXFile {
public:
    LBMFile() : GFXFile("Amiga IFF", "*.IFF;*.LBM;*.BBM;*.ILB;*.ILBM", 0x8000FF, 0, false, 0) {}

    int Test(TInputStream* s, GFXFileDesc* d) override;
    bool Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32* x, int image) override;
    bool Save(Buffer& b, TOutputStream* s, GFXtra32* x, GFXSaveParams* p) override;
};

// The FORM type: 1 ILBM, 2 "PBM ", 0 anything else.
int KindOf(const unsigned char* type)
{
    if (memcmp(type, "ILBM", 4) == 0) return 1;
    if (memcmp(type, "PBM ", 4) == 0) return 2;
    return 0;
}

bool ReadAt(TInputStream* s, int64_t at, unsigned char* p, int n)
{
    return s->Seek(int(at), soFromBeginning) == at && s->Read(p, n) == n;
}

// Walks the chunks of the FORM at start by seeking, without raising: false
// when the type is not a picture or no BMHD of 20 bytes or more is found.
bool FindHeader(TInputStream* s, int64_t start, LbmHeader& h, bool& chunky)
{
    const int64_t size = s->GetSize();
    unsigned char head[LbmHeaderBytes];
    if (!ReadAt(s, start + 8, head, 4)) return false;
    int kind = KindOf(head);
    if (kind == 0) return false;
    chunky = kind == 2;
    for (int64_t at = start + FormHeadBytes; at + LbmChunkHeadBytes <= size;) {
        if (!ReadAt(s, at, head, LbmChunkHeadBytes)) return false;
        uint32_t length = GetBE32(head + 4);
        if (memcmp(head, "BMHD", 4) == 0) {
            if (length < uint32_t(LbmHeaderBytes) || !ReadAt(s, at + LbmChunkHeadBytes, head, LbmHeaderBytes))
                return false;
            h = LbmParseHeader(head);
            return true;
        }
        at += LbmChunkHeadBytes + int64_t(length) + (length & 1);
    }
    return false;
}

void Describe(const LbmHeader* h, bool readable, GFXFileDesc* d)
{
    uint8_t* palette = d->paletteData;
    *d = GFXFileDesc();
    d->paletteData = palette;
    d->images = readable ? 1 : 0;
    if (!h) return;
    d->width = h->width;
    d->height = h->height;
    d->colour = 1;
    d->palette = h->planes < 9;
    d->bits = static_cast<uint8_t>(h->planes);
    d->channelBits = 8;
}

// Entries the map lacks stay black, so that any index looks up safely.
void ReadColourMap(StreamBuf& in, unsigned long* table, GFXFileDesc* d)
{
    uint32_t length = LbmFindChunk(in, "CMAP");
    if (length > uint32_t(LbmMaxColourMapBytes)) throw EInvalidImage("IFF: colour map above 768 bytes");
    unsigned char rgb[LbmMaxColourMapBytes] = {};
    int used = int(length) / 3 * 3;
    in.Read(rgb, used);
    LbmSkipRest(in, length, uint32_t(used));
    for (int i = 0; i < 256; ++i) table[i] = (unsigned long)rgb[3 * i] << 16 | rgb[3 * i + 1] << 8 | rgb[3 * i + 2];
    if (d && d->paletteData) memcpy(d->paletteData, rgb, sizeof rgb);
}

bool EndsInLbm(const AnsiString& name)
{
    int n = name.Length();
    return n >= 4 && name.SubString(n - 3, 4).AnsiCompareIC(".LBM") == 0;
}

void WriteChunkHead(TOutputStream* s, const char* id, uint32_t length)
{
    unsigned char head[LbmChunkHeadBytes];
    memcpy(head, id, 4);
    PutBE32(head + 4, length);
    s->WriteBuffer(head, LbmChunkHeadBytes);
}

void WriteHeaders(TOutputStream* s, const LbmHeader& h, bool chunky, const uint8_t* palette)
{
    WriteChunkHead(s, "FORM", 0);
    s->WriteBuffer(chunky ? "PBM " : "ILBM", 4);
    WriteChunkHead(s, "BMHD", LbmHeaderBytes);
    unsigned char bmhd[LbmHeaderBytes];
    LbmStoreHeader(h, bmhd);
    s->WriteBuffer(bmhd, LbmHeaderBytes);
    if (h.planes <= 8) {
        WriteChunkHead(s, "CMAP", 3u << h.planes);
        s->WriteBuffer(palette, 3 << h.planes);
    }
    WriteChunkHead(s, "BODY", 0);
}

// Every stored row of one picture row, coded, into one block for one write.
class RowCoder {
public:
    RowCoder(int width, int planes, bool chunky)
        : width_(width), planes_(chunky ? 1 : planes), chunky_(chunky),
          rowBytes_(chunky ? LbmChunkyRowBytes(width) : LbmPlaneRowBytes(width))
    {
        raw_.Take(uint64_t(rowBytes_));
        memset(raw_.Get(), 0, size_t(rowBytes_));  // the pad bytes stay 0
        coded_.Take(uint64_t(planes_) * LbmPackRoom(rowBytes_));
    }

    // row: the index bytes of a palette picture, or pixels.
    size_t Code(const unsigned long* row)
    {
        const unsigned char* indices = reinterpret_cast<const unsigned char*>(row);
        size_t size = 0;
        for (int k = 0; k < planes_; ++k) {
            if (chunky_)
                memcpy(raw_.Get(), indices, size_t(width_));
            else if (planes_ == 24)
                Colconv::PixelsToPlane(row, raw_.Get(), width_, LbmTrueColourMask(k));
            else
                Colconv::BytesToPlane(indices, raw_.Get(), width_, static_cast<unsigned char>(1 << k));
            size += LbmPackRow(raw_.Get(), rowBytes_, coded_.Get() + size);
        }
        return size;
    }
    const unsigned char* Coded() const { return coded_.Get(); }

private:
    int width_, planes_;
    bool chunky_;
    int rowBytes_;
    ScratchBlock<unsigned char> raw_;
    ScratchBlock<unsigned char> coded_;
};

bool WriteBody(Buffer& b, TOutputStream* s, int width, int height, int planes, bool chunky)
{
    if (width == 0 || height == 0) return true;
    RowCoder coder(width, planes, chunky);
    for (int y = 0; y < height; ++y) {
        size_t size = coder.Code(b.At(b.left, b.top + y));
        s->WriteBuffer(coder.Coded(), int(size));
        if (!GFXFile::Step(GFXFile::Percent(y + 1, height))) return false;
    }
    return true;
}

void PatchLength(TOutputStream* s, int at, uint32_t length)
{
    unsigned char v[4];
    PutBE32(v, length);
    s->SetPosition(at);
    s->WriteBuffer(v, 4);
}

// Stream positions are 32-bit: refuse what even fully incompressible rows
// could carry past 2 GB, before anything is written.
bool FitsInAFile(int width, int height, int planes, bool chunky)
{
    int rowBytes = chunky ? LbmChunkyRowBytes(width) : LbmPlaneRowBytes(width);
    int stored = chunky ? 1 : planes;
    int64_t body = int64_t(LbmPackRoom(rowBytes)) * stored * height;
    return body + FormHeadBytes + 3 * LbmChunkHeadBytes + LbmHeaderBytes + LbmMaxColourMapBytes + 1 <= INT32_MAX;
}

// Fewest BODY bytes worth allocating for: with ByteRun1 a two-byte packet
// for every 128 bytes of every plane row; stored rows, one row's planes.
int64_t LeastBodyBytes(const LbmHeader& h, bool chunky)
{
    const int64_t rowBytes = chunky ? LbmChunkyRowBytes(h.width) : LbmPlaneRowBytes(h.width);
    const int64_t planes = chunky ? 1 : h.planes + (h.masking == 1);
    if (h.compression != 1) return planes * rowBytes;
    return PackedRowsBytes(int64_t(h.height) * planes, rowBytes, 128, 2);
}

// "FORM" makes the data IFF (-1 so far); only with a description is the
// header looked for, and it decides between 1 and -1.
int LBMFile::Test(TInputStream* s, GFXFileDesc* d)
{
    const int start = s->GetPosition();
    unsigned char id[4];
    int got = s->Read(id, 4);
    int answer = 0;
    if (got == 4 && memcmp(id, "FORM", 4) == 0) {
        answer = -1;
        if (d) {
            LbmHeader h;
            bool chunky = false;
            bool found = FindHeader(s, start, h, chunky);
            if (found && !LbmUnsupported(h, chunky)) answer = 1;
            Describe(found ? &h : nullptr, answer == 1, d);
        }
    }
    s->Seek(start, soFromBeginning);
    return answer;
}

bool LBMFile::Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32* x, int)
{
    const int64_t start = s->GetPosition();
    const int64_t total = s->GetSize();
    StreamBuf in(s, ReadAhead);
    unsigned char head[FormHeadBytes];
    in.Read(head, FormHeadBytes);
    if (memcmp(head, "FORM", 4) != 0) throw EInvalidImage("IFF: no FORM chunk");
    const int kind = KindOf(head + 8);
    if (kind == 0) throw EInvalidImage("IFF: FORM type neither ILBM nor PBM");
    const bool chunky = kind == 2;

    uint32_t length = LbmFindChunk(in, "BMHD");
    if (length < uint32_t(LbmHeaderBytes)) throw EInvalidImage("IFF: BMHD shorter than 20 bytes");
    unsigned char raw[LbmHeaderBytes];
    in.Read(raw, LbmHeaderBytes);
    LbmSkipRest(in, length, LbmHeaderBytes);
    const LbmHeader h = LbmParseHeader(raw);
    if (const char* problem = LbmUnsupported(h, chunky)) throw EInvalidImage(problem);
    if (int64_t(h.width) * h.height > MaxPicturePixels) throw EInvalidImage("IFF: more than 2^28 pixels");

    unsigned long table[256] = {};
    const bool palette = h.planes < 9;
    if (palette) ReadColourMap(in, table, d);
    LbmFindChunk(in, "BODY");
    if (x) {
        x->x = static_cast<int16_t>(h.x);
        x->y = static_cast<int16_t>(h.y);
        if (palette) {
            x->colour1 = table[h.colour1];
            x->colour2 = table[h.colour2];
        }
    }

    if (!b.pixels) {
        RequireBytes(BytesLeft(in), LeastBodyBytes(h, chunky));
        b.Alloc(Pair<int>{h.width, h.height});
    }
    b.Box(Rect{0, 0, h.width - 1, h.height - 1}, 0);
    return LbmDecodeBody(b, in, h, chunky, table, start, total);
}

bool LBMFile::Save(Buffer& b, TOutputStream* s, GFXtra32* x, GFXSaveParams* p)
{
    const int bits = p ? p->bits : 0;
    if (!p || p->grey || ((bits < 1 || bits > 8) && bits != 24))
        throw EInvalidImage("IFF: writes colour pictures of 1 to 8 or 24 bits only");
    if (bits <= 8 && !p->paletteData) throw EInvalidImage("IFF: palette depth without a palette");
    const int width = b.pixels ? b.Width() : 0;
    const int height = b.pixels ? b.Height() : 0;
    if (width > MaxSide || height > MaxSide) throw EInvalidImage("IFF: picture wider or taller than 65535");
    const bool empty = width <= 0 || height <= 0;
    const bool chunky = bits == 8 && EndsInLbm(s->FileName);
    if (!FitsInAFile(width, height, bits, chunky)) throw EInvalidImage("IFF: picture too large for a file");

    LbmHeader h = {};
    h.width = empty ? 0 : width;
    h.height = empty ? 0 : height;
    h.planes = bits;
    h.compression = 1;
    if (x) {
        h.x = x->x;
        h.y = x->y;
        if (bits <= 8) {
            h.colour1 = int(x->colour1 >> 24);
            h.colour2 = int(x->colour2 >> 24);
        }
    }
    const int start = s->GetPosition();
    WriteHeaders(s, h, chunky, p->paletteData);
    const int bodyStart = s->GetPosition();
    if (!WriteBody(b, s, h.width, h.height, bits, chunky)) return false;

    const int bodyLength = s->GetPosition() - bodyStart;
    if (bodyLength & 1) s->WriteBuffer("", 1);
    const int end = s->GetPosition();
    PatchLength(s, bodyStart - 4, uint32_t(bodyLength));
    PatchLength(s, start + 4, uint32_t(end - start - 8));
    s->SetPosition(end);
    return true;
}

}  // namespace

GFXFile* LBMFormat()
{
    static LBMFile format;
    return &format;
}
