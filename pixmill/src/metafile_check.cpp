// Metafile record checks: the kind of metafile, and the bitmaps records
// carry (GDI reads as many bits as the bitmap's header promises).
#include "metafile_check.h"

#include "exceptions.h"
#include "metafile_check_parts.h"
#include "picture_limits.h"

namespace metafile_check {

void Refuse(const char* rule)
{
    AnsiString detail = AnsiString("WMF: ") + rule;
    throw EInvalidImage(detail.c_str());
}

namespace {

struct DibShape {
    uint64_t headerBytes;
    int64_t width, height;
    unsigned bits, compression;
    uint64_t colours, entryBytes, imageBytes;
};

DibShape ShapeOf(const unsigned char* info, uint64_t infoBytes, bool paletteIndices)
{
    Record r(info, infoBytes);
    DibShape s = {};
    s.headerBytes = r.U32(0);
    if (s.headerBytes == 12) {  // the old core header
        s.width = r.U16(4);
        s.height = int16_t(r.U16(6));
        s.bits = r.U16(10);
        s.entryBytes = paletteIndices ? 2 : 3;
    } else {
        if (s.headerBytes < 40) Refuse("bitmap header size");
        r.Need(0, s.headerBytes);
        s.width = r.S32(4);
        s.height = r.S32(8);
        s.bits = r.U16(14);
        s.compression = r.U32(16);
        s.imageBytes = r.U32(20);
        s.colours = r.U32(32);
        s.entryBytes = paletteIndices ? 2 : 4;
    }
    if (s.bits != 1 && s.bits != 4 && s.bits != 8 && s.bits != 16 && s.bits != 24 && s.bits != 32)
        Refuse("bitmap bit count");
    if (s.bits <= 8 && (s.colours == 0 || s.colours > (1u << s.bits))) s.colours = 1u << s.bits;
    if (s.bits > 8 && s.colours > 256) Refuse("bitmap colour count");
    if (s.compression == 3 && s.headerBytes == 40) s.colours += 3;  // the three masks
    if (s.width < 1 || s.height == 0) Refuse("bitmap size");
    int64_t rows = s.height < 0 ? -s.height : s.height;
    if (s.width > (1 << 20) || rows > (1 << 20) || s.width * rows > MaxPicturePixels) Refuse("bitmap size");
    return s;
}

}  // namespace

uint64_t DibInfoBytes(const unsigned char* info, uint64_t infoBytes, bool paletteIndices)
{
    DibShape s = ShapeOf(info, infoBytes, paletteIndices);
    return s.headerBytes + s.colours * s.entryBytes;
}

void CheckDib(const unsigned char* info, uint64_t infoBytes, uint64_t bitsBytes, bool paletteIndices)
{
    DibShape s = ShapeOf(info, infoBytes, paletteIndices);
    if (s.headerBytes + s.colours * s.entryBytes > infoBytes) Refuse("bitmap colour table outside the record");
    int64_t rows = s.height < 0 ? -s.height : s.height;
    uint64_t stride = (uint64_t(s.width) * s.bits + 31) / 32 * 4;
    switch (s.compression) {
    case 0:
    case 3:
        if (stride * uint64_t(rows) > bitsBytes) Refuse("bitmap bits missing");
        break;
    case 1:
    case 2:
        if (s.height < 0 || s.bits != (s.compression == 1 ? 8u : 4u)) Refuse("bitmap run-length header");
        if (s.imageBytes == 0 || s.imageBytes > bitsBytes) Refuse("bitmap bits missing");
        break;
    default: Refuse("bitmap compression");
    }
}

}  // namespace metafile_check

void CheckMetafileRecords(const unsigned char* data, size_t size)
{
    using namespace metafile_check;
    if (size >= 4 && data[0] == 0xD7 && data[1] == 0xCD && data[2] == 0xC6 && data[3] == 0x9A) {
        if (size < 22) Refuse("placeable header truncated");
        CheckWindows(data + 22, size - 22);
    } else if (size >= 44 && Record(data, size).U32(0) == 1 && Record(data, size).U32(40) == 0x464D4520u) {
        CheckEnhanced(data, size);
    } else {
        CheckWindows(data, size);
    }
}
