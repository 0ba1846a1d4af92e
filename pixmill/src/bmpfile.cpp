// Windows Bitmap (BMP, RLE): device-independent bitmaps.
//
// A 14-byte file header ("BM", file size, reserved, pixel data offset), the
// bitmap header in its 12-byte short or 40-byte and longer form, the colour
// table, the pixels. Reading covers every common kind (see bmp_decode.cpp);
// writing makes 1, 4, 8 and 24-bit files bottom-up, run-length coded at 4
// and 8 bits when the file name ends in ".RLE".
#include <string.h>

#include "bmp_codec.h"
#include "colconv.h"
#include "exceptions.h"
#include "formats.h"
#include "gfxfile.h"
#include "scratch_block.h"

namespace {

const int FileHeaderBytes = BmpFileHeaderBytes;
const int LongHeadBytes = FileHeaderBytes + BmpLongInfoBytes;  // what the writer puts before the colour table

class BMPFile : public GFXFile {
public:
    BMPFile() : GFXFile("Windows Bitmap", "*.BMP;*.RLE", 0x800089, 0, false, 0) {}

    int Test(TInputStream* s, GFXFileDesc* d) override;
    bool Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32* x, int image) override;
    bool Save(Buffer& b, TOutputStream* s, GFXtra32* x, GFXSaveParams* p) override;
};

bool HasSignature(const unsigned char* head)
{
    return head[0] == 'B' && head[1] == 'M';
}

// The bitmap header behind a file header, from the got bytes read of the
// file's start; false when they do not hold a header of a known size.
bool HeaderFromFileStart(const unsigned char* head, int got, BmpInfoHeader& h)
{
    if (got < FileHeaderBytes + 4) return false;
    const unsigned char* info = head + FileHeaderBytes;
    uint32_t size = GetLE32(info);
    if (size == uint32_t(BmpCoreHeaderBytes) && got >= FileHeaderBytes + BmpCoreHeaderBytes) {
        h = BmpFromCoreHeader(info);
        return true;
    }
    if (size >= uint32_t(BmpLongInfoBytes) && got >= LongHeadBytes) {
        h = BmpParseInfo(info);
        return true;
    }
    return false;
}

void Describe(const BmpInfoHeader* h, bool readable, GFXFileDesc* d)
{
    uint8_t* palette = d->paletteData;
    *d = GFXFileDesc();
    d->paletteData = palette;
    d->images = readable ? 1 : 0;
    if (!h) return;
    int64_t rows = h->height < 0 ? -int64_t(h->height) : int64_t(h->height);
    d->width = h->width;
    d->height = rows > INT32_MAX ? INT32_MAX : int32_t(rows);
    d->colour = 1;
    d->palette = h->bits < 9 ? 1 : 0;
    d->bits = static_cast<uint8_t>(h->bits);
    d->channelBits = 8;
}

// The converted short form: the long layout cut after coloursUsed.
void StoreShortInfo(const BmpInfoHeader& h, unsigned char* out)
{
    memset(out, 0, BmpShortInfoBytes);
    PutLE32(out, h.size);
    PutLE32(out + 4, uint32_t(h.width));
    PutLE32(out + 8, uint32_t(h.height));
    PutLE16(out + 12, h.planes);
    PutLE16(out + 14, h.bits);
}

// Reads the bitmap header and everything after it up to the pixel data into
// block, a short-form header converted to the long layout; returns the
// block's size. The stream is left at the pixel data.
size_t ReadInfoBlock(TInputStream* s, uint32_t headerSize, uint32_t pixelOffset, ScratchBlock<unsigned char>& block)
{
    if (headerSize == uint32_t(BmpCoreHeaderBytes)) {
        unsigned char core[BmpCoreHeaderBytes];
        PutLE32(core, headerSize);
        s->ReadBuffer(core + 4, BmpCoreHeaderBytes - 4);
        const int table = int(pixelOffset) - FileHeaderBytes - BmpCoreHeaderBytes;
        block.Take(uint64_t(BmpShortInfoBytes) + uint64_t(table));
        StoreShortInfo(BmpFromCoreHeader(core), block.Get());
        s->ReadBuffer(block.Get() + BmpShortInfoBytes, table);
        return size_t(BmpShortInfoBytes) + size_t(table);
    }
    const int bytes = int(pixelOffset) - FileHeaderBytes;
    block.Take(uint64_t(bytes));
    PutLE32(block.Get(), headerSize);
    s->ReadBuffer(block.Get() + 4, bytes - 4);
    return size_t(bytes);
}

bool EndsInRle(const AnsiString& name)
{
    int n = name.Length();
    return n >= 4 && name.SubString(n - 3, 4).AnsiCompareIC(".RLE") == 0;
}

void WriteHeaders(TOutputStream* s, int width, int height, int bits, uint32_t compression, int colours,
                  int64_t imageBytes, const uint8_t* palette)
{
    const uint32_t offset = uint32_t(LongHeadBytes + 4 * colours);
    unsigned char head[LongHeadBytes] = {'B', 'M'};
    PutLE32(head + 2, uint32_t(offset + imageBytes));
    PutLE32(head + 10, offset);
    unsigned char* info = head + FileHeaderBytes;
    PutLE32(info, BmpLongInfoBytes);
    PutLE32(info + 4, uint32_t(width));
    PutLE32(info + 8, uint32_t(height));
    PutLE16(info + 12, 1);
    PutLE16(info + 14, uint32_t(bits));
    PutLE32(info + 16, compression);
    PutLE32(info + 20, uint32_t(imageBytes));
    PutLE32(info + 32, uint32_t(colours));
    s->WriteBuffer(head, LongHeadBytes);
    unsigned char table[4 * 256];
    for (int i = 0; i < colours; ++i) {
        table[4 * i] = palette[3 * i + 2];
        table[4 * i + 1] = palette[3 * i + 1];
        table[4 * i + 2] = palette[3 * i];
        table[4 * i + 3] = 0;
    }
    s->WriteBuffer(table, 4 * colours);
}

// One stored row of picture row y: indices packed to the depth, or B, G, R.
void PackRow(Buffer& b, int y, int bits, unsigned char* out)
{
    const int width = b.Width();
    unsigned long* pixels = b.At(b.left, b.top + y);
    const unsigned char* indices = reinterpret_cast<const unsigned char*>(pixels);
    switch (bits) {
    case 1: Colconv::BytesToPlane(indices, out, width, 1); break;
    case 4: Colconv::Pack4(indices, out, width); break;
    case 8: memcpy(out, indices, size_t(width)); break;
    default: Colconv::RGB32RGB24s(pixels, out, width); break;
    }
}

bool WriteRows(Buffer& b, TOutputStream* s, int bits)
{
    const int height = b.Height();
    const int rowBytes = int(BmpStoredRowBytes(b.Width(), bits));
    ScratchBlock<unsigned char> row{uint64_t(rowBytes)};
    memset(row.Get(), 0, size_t(rowBytes));
    for (int done = 0; done < height; ++done) {
        PackRow(b, height - 1 - done, bits, row.Get());
        s->WriteBuffer(row.Get(), rowBytes);
        if (!GFXFile::Step(GFXFile::Percent(done + 1, height))) return false;
    }
    return true;
}

// Codes the rows and the end of bitmap; codedBytes receives their size.
bool WriteRleRows(Buffer& b, TOutputStream* s, bool rle4, int64_t limit, int64_t& codedBytes)
{
    const int width = b.Width();
    const int height = b.Height();
    ScratchBlock<unsigned char> code{BmpRleRowRoom(width)};
    codedBytes = 0;
    for (int done = 0; done < height; ++done) {
        const unsigned long* pixels = b.At(b.left, b.top + height - 1 - done);
        size_t n = BmpEncodeRleRow(reinterpret_cast<const unsigned char*>(pixels), width, rle4, code.Get());
        codedBytes += int64_t(n);
        if (codedBytes > limit) throw EInvalidImage("BMP: coded picture too large for a file");
        s->WriteBuffer(code.Get(), int(n));
        if (!GFXFile::Step(GFXFile::Percent(done + 1, height))) return false;
    }
    static const unsigned char endOfBitmap[2] = {0, 1};
    s->WriteBuffer(endOfBitmap, 2);
    codedBytes += 2;
    return true;
}

// The sizes only known once the rows are coded.
void PatchSizes(TOutputStream* s, int start, uint32_t fileBytes, uint32_t imageBytes)
{
    const int end = s->GetPosition();
    unsigned char v[4];
    PutLE32(v, fileBytes);
    s->SetPosition(start + 2);
    s->WriteBuffer(v, 4);
    PutLE32(v, imageBytes);
    s->SetPosition(start + FileHeaderBytes + 20);
    s->WriteBuffer(v, 4);
    s->SetPosition(end);
}

int BMPFile::Test(TInputStream* s, GFXFileDesc* d)
{
    const int start = s->GetPosition();
    unsigned char head[LongHeadBytes];
    const int got = s->Read(head, LongHeadBytes);
    s->Seek(start, soFromBeginning);
    if (got < 2 || !HasSignature(head)) return 0;
    BmpInfoHeader h;
    const bool known = HeaderFromFileStart(head, got, h);
    const bool readable = known && !BmpUnsupported(h);
    if (d) Describe(known ? &h : nullptr, readable, d);
    return readable ? 1 : -1;
}

bool BMPFile::Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32*, int)
{
    const int64_t start = s->GetPosition();
    const int64_t available = int64_t(s->GetSize()) - start;
    unsigned char head[FileHeaderBytes + 4];
    s->ReadBuffer(head, FileHeaderBytes + 4);
    if (!HasSignature(head)) throw EInvalidImage("BMP: no BM signature");
    const uint32_t pixelOffset = GetLE32(head + 10);
    const uint32_t headerSize = GetLE32(head + FileHeaderBytes);
    if (headerSize != uint32_t(BmpCoreHeaderBytes) && headerSize < uint32_t(BmpLongInfoBytes))
        throw EInvalidImage("BMP: header size neither 12 nor at least 40");
    if (int64_t(pixelOffset) > available) throw EInvalidImage("BMP: pixel data offset past the end");
    if (int64_t(pixelOffset) < int64_t(FileHeaderBytes) + headerSize)
        throw EInvalidImage("BMP: pixel data offset inside the headers");

    ScratchBlock<unsigned char> block;
    const size_t blockBytes = ReadInfoBlock(s, headerSize, pixelOffset, block);
    return BmpDecode(b, block.Get(), blockBytes, s, d);
}

bool BMPFile::Save(Buffer& b, TOutputStream* s, GFXtra32*, GFXSaveParams* p)
{
    const int bits = p ? p->bits : 0;
    if (!p || p->grey || (bits != 1 && bits != 4 && bits != 8 && bits != 24))
        throw EInvalidImage("BMP: writes colour pictures of 1, 4, 8 or 24 bits only");
    if (!b.pixels || b.Width() <= 0 || b.Height() <= 0) throw EInvalidImage("BMP: empty picture");
    int colours = 0;
    if (bits <= 8) {
        if (!p->paletteData) throw EInvalidImage("BMP: palette depth without a palette");
        colours = p->colours < 0 ? -p->colours : p->colours;
        if (colours == 0 || colours > 1 << bits) colours = 1 << bits;
    }
    const int width = b.Width();
    const int height = b.Height();
    const bool rle = (bits == 4 || bits == 8) && EndsInRle(s->FileName);
    const uint32_t compression = !rle ? BmpNone : bits == 4 ? BmpRle4 : BmpRle8;
    // Stream positions are 32-bit: the whole file must stay below 2 GB.
    const int64_t limit = INT32_MAX - int64_t(LongHeadBytes) - 4 * colours;
    const int64_t imageBytes = rle ? 0 : BmpStoredRowBytes(width, bits) * height;
    if (imageBytes > limit) throw EInvalidImage("BMP: picture too large for a file");

    const int start = s->GetPosition();
    WriteHeaders(s, width, height, bits, compression, colours, imageBytes, p->paletteData);
    if (!rle) return WriteRows(b, s, bits);
    int64_t coded = 0;
    if (!WriteRleRows(b, s, bits == 4, limit, coded)) return false;
    PatchSizes(s, start, uint32_t(LongHeadBytes + 4 * colours + coded), uint32_t(coded));
    return true;
}

}  // namespace

GFXFile* BMPFormat()
{
    static BMPFile format;
    return &format;
}
