// The bitmap decoder: a header with colour table in memory, the pixel data
// in a stream, the picture into a Buffer.
#include <string.h>

#include <algorithm>

#include "bmp_codec.h"
#include "exceptions.h"
#include "gfxfile.h"
#include "scratch_block.h"
#include "stream_room.h"

namespace {

const int ReadAhead = 32768;

// Bytes the info block must hold: the header, and the masks of bit-field
// data, which a 40-byte header leaves to the 12 bytes after it.
size_t HeaderBytes(const BmpInfoHeader& h)
{
    if (h.size < uint32_t(BmpLongInfoBytes)) return BmpShortInfoBytes;
    size_t bytes = h.size;
    if (h.compression == BmpBitFields) bytes = std::max(bytes, size_t(BmpLongInfoBytes + BmpMaskBytes));
    return bytes;
}

// Entries to take from the colour table: what the header says, but never
// more than the depth can index nor more than the block holds.
int TableEntries(const BmpInfoHeader& h, size_t infoBytes, size_t offset, size_t entryBytes)
{
    if (h.bits > 8) return 0;
    uint32_t most = 1u << h.bits;
    uint32_t count = h.coloursUsed && h.coloursUsed < most ? h.coloursUsed : most;
    if (infoBytes != SIZE_MAX) {
        size_t present = infoBytes > offset ? (infoBytes - offset) / entryBytes : 0;
        if (present < count) count = uint32_t(present);
    }
    return int(count);
}

void FillTable(BmpTarget& t, const BmpInfoHeader& h, const unsigned char* info, size_t infoBytes, GFXFileDesc* d)
{
    bool shortForm = h.size < uint32_t(BmpLongInfoBytes);
    size_t offset = shortForm ? BmpShortInfoBytes : h.size;
    size_t entryBytes = shortForm ? 3 : 4;
    int entries = TableEntries(h, infoBytes, offset, entryBytes);
    memset(t.table, 0, sizeof t.table);
    for (int i = 0; i < entries; ++i) {
        const unsigned char* e = info + offset + entryBytes * size_t(i);
        t.table[i] = (unsigned long)e[2] << 16 | e[1] << 8 | e[0];
    }
    if (h.bits > 8 || !d || !d->paletteData) return;
    for (int i = 0; i < 256; ++i) {
        d->paletteData[3 * i] = static_cast<uint8_t>(t.table[i] >> 16);
        d->paletteData[3 * i + 1] = static_cast<uint8_t>(t.table[i] >> 8);
        d->paletteData[3 * i + 2] = static_cast<uint8_t>(t.table[i]);
    }
}

// Allocates an empty b, clips to one with pixels, and clears the picture's area.
void PrepareTarget(BmpTarget& t, Buffer& b)
{
    if (!b.pixels) b.Alloc(Pair<int>{t.width, t.height});
    t.b = &b;
    t.clipWidth = std::max(0, std::min(t.width, b.Width()));
    t.clipHeight = std::max(0, std::min(t.height, b.Height()));
    for (int r = 0; r < t.clipHeight; ++r) memset(b.pixels + int64_t(r) * b.stride, 0, size_t(t.clipWidth) * 4);
}

// Uncompressed rows. Stored rows that lie beyond b are skipped when they come
// first (bottom-up) and not read at all when they come last (top-down); of
// each row only the words holding b's columns are kept.
bool ReadRows(StreamBuf& in, const BmpTarget& t, const BmpInfoHeader& h, const unsigned char* info)
{
    const int rowBytes = int(BmpStoredRowBytes(t.width, h.bits));
    const int keptBytes = int(BmpStoredRowBytes(t.clipWidth, h.bits));
    const BmpRowFormat format = BmpChooseRowFormat(h, info);
    ScratchBlock<unsigned char> row{uint64_t(keptBytes)};
    ScratchBlock<unsigned char> indices{uint64_t(t.clipWidth) + 1};
    const int64_t first = t.topDown ? 0 : t.height - t.clipHeight;
    const int64_t end = t.topDown ? t.clipHeight : t.height;
    for (int64_t n = 0; n < first; ++n) {
        in.Skip(rowBytes);
        if (!t.Progress(in)) return false;
    }
    for (int64_t n = first; n < end; ++n) {
        in.Read(row.Get(), keptBytes);
        in.Skip(rowBytes - keptBytes);
        if (unsigned long* dst = t.StoredRow(n))
            BmpConvertRow(format, row.Get(), dst, t.clipWidth, t.table, indices.Get());
        if (!t.Progress(in)) return false;
    }
    return true;
}

}  // namespace

unsigned long* BmpTarget::StoredRow(int64_t n) const
{
    int64_t r = topDown ? n : height - 1 - n;
    if (r < 0 || r >= clipHeight || clipWidth <= 0) return nullptr;
    return b->pixels + r * b->stride;
}

bool BmpTarget::Progress(const StreamBuf& in) const
{
    return GFXFile::Step(GFXFile::Percent(streamStart + in.Consumed(), streamSize));
}

bool BmpDecode(Buffer& b, const unsigned char* info, size_t infoBytes, TStream* s, GFXFileDesc* d)
{
    if (!info || !s) throw EInvalidImage("BMP: no header or no stream");
    if (infoBytes < size_t(BmpShortInfoBytes)) throw EInvalidImage("BMP: header cut short");
    uint32_t size = GetLE32(info);
    if (size >= uint32_t(BmpLongInfoBytes) && infoBytes < size) throw EInvalidImage("BMP: header cut short");
    const BmpInfoHeader h = BmpParseInfo(info);
    if (const char* why = BmpUnsupported(h)) throw EInvalidImage(why);
    if (infoBytes < HeaderBytes(h)) throw EInvalidImage("BMP: pixel data offset inside the headers");

    BmpTarget t;
    t.width = h.width;
    t.height = h.height < 0 ? int(-int64_t(h.height)) : h.height;
    t.topDown = h.height < 0;
    FillTable(t, h, info, infoBytes, d);
    // Run-length data may end the picture early with one escape, so only
    // uncompressed rows tell how much data the picture needs.
    const bool packed = h.compression == BmpRle8 || h.compression == BmpRle4;
    if (!b.pixels && !packed) RequireBytes(BytesLeft(s), BmpStoredRowBytes(t.width, h.bits));
    PrepareTarget(t, b);
    t.streamStart = s->GetPosition();
    t.streamSize = s->GetSize();

    StreamBuf in(s, ReadAhead);
    if (packed) return BmpDecodeRle(in, t, h.compression == BmpRle4);
    return ReadRows(in, t, h, info);
}

bool BitmapFromStream(Buffer& b, BITMAPINFO* info, TStream* s, GFXFileDesc* d)
{
    return BmpDecode(b, reinterpret_cast<const unsigned char*>(info), SIZE_MAX, s, d);
}
