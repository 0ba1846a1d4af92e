// Enhanced metafile records: a minimum size for every known record type,
// object numbers against the header's handle count, and the counts,
// strings, regions and bitmaps inside records.
#include "metafile_check_parts.h"

namespace metafile_check {

namespace {

const int HeaderBytes = 88;
const uint32_t StockObject = 0x80000000u;
const int LastType = 122;

// Fixed part of each record type, 0 for types played as nothing; -1 marks
// types refused outright (rare, and their layouts are not checked here).
const short MinimumBytes[LastType + 1] = {
    -1,  88,  28,  28,  28,  28,  28,  32,  32,  16,   // 0-9
    16,  16,  16,  16,  20,  20,  12,  12,  12,  12,   // 10-19
    12,  12,  12,  32,  12,  12,  16,  16,  8,   24,   // 20-29
    24,  24,  24,  8,   12,  32,  36,  12,  28,  24,   // 30-39
    12,  28,  24,  24,  32,  40,  40,  40,  12,  16,   // 40-49
    20,  16,  8,   24,  16,  40,  28,  12,  12,  8,    // 50-59
    8,   8,   24,  24,  24,  8,   8,   12,  8,   0,    // 60-69
    12,  32,  40,  28,  28,  16,  100, 108, 128, 140,  // 70-79
    76,  80,  104, 76,  76,  28,  28,  28,  28,  28,   // 80-89
    32,  32,  28,  32,  32,  52,  -1,  -1,  12,  340,  // 90-99
    12,  12,  -1,  -1,  48,  -1,  -1,  0,   -1,  0,    // 100-109
    -1,  0,   0,   0,   108, 12,  108, 0,   36,  0,    // 110-119
    16,  0,   0,                                        // 120-122
};

struct Handles {
    uint32_t count;
    void Check(const Record& r, uint64_t at, bool stockAllowed) const
    {
        uint32_t ih = r.U32(at);
        if (stockAllowed && (ih & StockObject)) return;
        if (ih >= count) Refuse("object number beyond the handle table");
    }
};

// Points of 8 or 4 bytes after a count at 24.
void CheckPoly(const Record& r, uint64_t pointBytes)
{
    uint64_t points = r.U32(24);
    r.Need(28, points * pointBytes);
}

void CheckPolyPoly(const Record& r, uint64_t pointBytes)
{
    uint64_t polys = r.U32(24), points = r.U32(28);
    r.Need(32, polys * 4 + points * pointBytes);
    uint64_t sum = 0;
    for (uint64_t i = 0; i < polys; ++i) sum += r.U32(32 + 4 * i);
    if (sum > points) Refuse("polygon counts beyond the points");
}

void CheckPolyDraw(const Record& r, uint64_t pointBytes)
{
    uint64_t points = r.U32(24);
    r.Need(28, points * (pointBytes + 1));
}

// A bitmap given by offset and size of its info and of its bits. Where
// optional is set, GDI takes an info offset of 0 as no bitmap, whatever the
// sizes say.
void CheckBitmap(const Record& r, uint64_t fields, uint64_t usageAt, bool optional)
{
    uint64_t offInfo = r.U32(fields), infoBytes = r.U32(fields + 4);
    uint64_t offBits = r.U32(fields + 8), bitsBytes = r.U32(fields + 12);
    if (offInfo == 0 && optional) return;
    r.Need(offInfo, infoBytes);
    r.Need(offBits, bitsBytes);
    if (infoBytes < 4) Refuse("bitmap info size");
    CheckDib(r.At(offInfo), infoBytes, bitsBytes, r.U32(usageAt) == 1);
}

void CheckSetDIBitsToDevice(const Record& r)
{
    CheckBitmap(r, 48, 64, false);
    // Only the scans given are stored; the header may describe more.
    if (r.U32(72) > 0x100000u) Refuse("bitmap scan count");
}

void CheckText(const Record& r, bool wide)
{
    uint64_t chars = r.U32(44), offString = r.U32(48), offDx = r.U32(72);
    uint32_t options = r.U32(52);
    if (chars == 0) return;
    r.Need(offString, chars * (wide ? 2 : 1));
    if (offDx) r.Need(offDx, chars * 4 * ((options & 0x2000) ? 2 : 1));  // ETO_PDY
}

// Region data: a 32-byte header and count rectangles.
void CheckRegionData(const Record& r, uint64_t sizeAt, uint64_t dataAt, bool optional)
{
    uint64_t bytes = r.U32(sizeAt);
    if (bytes == 0 && optional) return;
    r.Need(dataAt, bytes);
    Record region(r.At(dataAt), bytes);
    if (bytes < 32 || region.U32(0) < 32) Refuse("region header");
    region.Need(region.U32(0), uint64_t(region.U32(8)) * 16);
}

void CheckGradient(const Record& r)
{
    uint64_t vertices = r.U32(24), parts = r.U32(28);
    uint32_t mode = r.U32(32);
    uint64_t each = mode == 2 ? 12 : 8;  // GRADIENT_FILL_TRIANGLE
    r.Need(36, vertices * 16 + parts * each);
    uint64_t mesh = 36 + vertices * 16;
    for (uint64_t i = 0; i < parts * each / 4; ++i)
        if (r.U32(mesh + 4 * i) >= vertices) Refuse("gradient vertex number");
}

void CheckRecord(const Record& r, uint32_t type, const Handles& h)
{
    switch (type) {
    case 2: case 3: case 4: case 5: case 6: CheckPoly(r, 8); break;
    case 85: case 86: case 87: case 88: case 89: CheckPoly(r, 4); break;
    case 7: case 8: CheckPolyPoly(r, 8); break;
    case 90: case 91: CheckPolyPoly(r, 4); break;
    case 56: CheckPolyDraw(r, 8); break;
    case 92: CheckPolyDraw(r, 4); break;
    case 37: case 48: h.Check(r, 8, true); break;  // SelectObject, SelectPalette
    case 38: case 39: case 40: case 51: case 82: case 99: case 100: case 101: case 122:
        h.Check(r, 8, false);
        break;
    case 49:  // CreatePalette
        h.Check(r, 8, false);
        r.Need(16, uint64_t(r.U16(14)) * 4);
        break;
    case 50:  // SetPaletteEntries
        h.Check(r, 8, false);
        r.Need(20, uint64_t(r.U32(16)) * 4);
        break;
    case 70: r.Need(12, r.U32(8)); break;  // GdiComment
    case 71: case 72:  // FillRgn, FrameRgn
        h.Check(r, 28, false);
        CheckRegionData(r, 24, type == 71 ? 32 : 40, false);
        break;
    case 73: case 74: CheckRegionData(r, 24, 28, false); break;
    case 75: CheckRegionData(r, 8, 16, true); break;
    case 76: case 77: case 114: case 116: CheckBitmap(r, 84, 80, true); break;
    case 78:  // MaskBlt
        CheckBitmap(r, 84, 80, true);
        CheckBitmap(r, 112, 108, true);
        break;
    case 79:  // PlgBlt
        CheckBitmap(r, 96, 92, true);
        CheckBitmap(r, 124, 120, true);
        break;
    case 80: CheckSetDIBitsToDevice(r); break;
    case 81: CheckBitmap(r, 48, 64, false); break;  // StretchDIBits
    case 83: case 84: CheckText(r, type == 84); break;
    case 93: case 94:  // CreateMonoBrush, CreateDIBPatternBrushPt
        h.Check(r, 8, false);
        CheckBitmap(r, 16, 12, false);
        break;
    case 95:  // ExtCreatePen: a bitmap, then style entries
        h.Check(r, 8, false);
        CheckBitmap(r, 12, 8, true);
        r.Need(52, uint64_t(r.U32(48)) * 4);
        break;
    case 118: CheckGradient(r); break;
    default: break;
    }
}

void CheckHeader(const Record& file, uint64_t total)
{
    uint64_t headerSize = file.U32(4);
    if (headerSize < HeaderBytes || headerSize > total) Refuse("header size");
    uint64_t chars = file.U32(60), offDescription = file.U32(64);
    if (chars && (offDescription > total || chars * 2 > total - offDescription)) Refuse("description outside the file");
    if (file.U16(56) == 0) Refuse("handle count");
}

// The palette GDI reads from the end record must lie inside it.
void CheckEnd(const Record& r, uint32_t headerEntries)
{
    uint64_t entries = r.U32(8), offset = r.U32(12);
    if (entries) r.Need(offset, entries * 4);
    if (headerEntries > entries) Refuse("palette larger than the end record's");
}

}  // namespace

void CheckEnhanced(const unsigned char* data, size_t size)
{
    Record file(data, size);
    uint64_t total = file.U32(48);
    if (total < HeaderBytes || total > size) Refuse("data truncated");
    CheckHeader(file, total);
    Handles handles = {file.U16(56)};
    uint64_t pos = 0;
    while (pos + 8 <= total) {
        uint32_t type = file.U32(pos);
        uint64_t bytes = file.U32(pos + 4);
        if (bytes < 8 || bytes % 4 || bytes > total - pos) Refuse("record size");
        if (pos == 0 && type != 1) Refuse("header record");
        if (type <= uint32_t(LastType)) {
            int minimum = MinimumBytes[type];
            if (minimum < 0 || (pos > 0 && type == 1)) Refuse("record type");
            if (bytes < uint64_t(minimum)) Refuse("record shorter than its type");
        }
        Record r(data + pos, bytes);
        if (type == 14) {
            CheckEnd(r, file.U32(68));
            return;
        }
        CheckRecord(r, type, handles);
        pos += bytes;
    }
    Refuse("end record missing");
}

}  // namespace metafile_check
