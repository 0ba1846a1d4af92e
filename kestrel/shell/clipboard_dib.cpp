#include "clipboard_dib.h"

#include <limits.h>
#include <stdint.h>
#include <string.h>

#include "bmpfile.h"

namespace {

// Entries of the colour table; larger than 256 means there is none. Only
// palette depths have an implied table: a shift by 16 or 32 would be
// nonsense at best.
int64_t TableEntries(const BmpInfoHeader& h)
{
    int64_t entries = h.coloursUsed;
    if (entries == 0 && h.bits <= 8) entries = int64_t(1) << h.bits;
    return entries > 256 ? 0 : entries;
}

// A 40-byte header with bit fields is followed by its three masks, which
// come before the pixels; larger headers carry the masks inside.
int64_t MaskBytes(const BmpInfoHeader& h)
{
    return h.compression == BmpBitFields && h.size == sizeof(BmpInfoHeader) ? 12 : 0;
}

int64_t RowBytes(const BmpInfoHeader& h)
{
    return (int64_t(h.width) * h.bits + 31) / 32 * 4;
}

}  // namespace

bool MeasureClipboardDib(const unsigned char* block, int blockSize, ClipboardDibLayout& layout)
{
    BmpInfoHeader h;
    if (block == nullptr || blockSize < int(sizeof h)) return false;
    memcpy(&h, block, sizeof h);
    if (h.size < sizeof h || h.width <= 0 || h.height == 0 || h.bits == 0) return false;
    if (h.height == INT_MIN) return false;  // no row count a decoder could hold
    int64_t info = int64_t(h.size) + MaskBytes(h) + 4 * TableEntries(h);
    if (info > blockSize) return false;
    int64_t rows = h.height < 0 ? -int64_t(h.height) : h.height;
    int64_t bits = h.imageSize != 0 ? h.imageSize : RowBytes(h) * rows;
    int64_t room = blockSize - info;
    if (bits > room) bits = room;
    if (bits <= 0) return false;
    layout.infoBytes = int(info);
    layout.bitsBytes = int(bits);
    return true;
}
