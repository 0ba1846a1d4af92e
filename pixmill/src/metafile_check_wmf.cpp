// Windows metafile records: object numbers against the header's object
// table, and the counts, strings, regions and bitmaps inside records.
#include "metafile_check_parts.h"

namespace metafile_check {

namespace {

const int HeaderBytes = 18;

// Parameter words start after the size and the function number.
uint64_t Param(uint64_t i) { return 6 + 2 * i; }

void NeedParams(const Record& r, uint64_t words) { r.Need(6, 2 * words); }

void CheckObject(const Record& r, uint64_t param, unsigned objects)
{
    if (r.U16(Param(param)) >= objects) Refuse("object number beyond the object table");
}

void CheckDibAt(const Record& r, uint64_t param, bool paletteIndices)
{
    uint64_t at = Param(param);
    r.Need(at, 4);
    uint64_t rest = r.Size() - at;
    uint64_t info = DibInfoBytes(r.At(at), rest, paletteIndices);
    if (info > rest) Refuse("bitmap colour table outside the record");
    CheckDib(r.At(at), info, rest - info, paletteIndices);
}

void CheckPolyPolygon(const Record& r)
{
    uint64_t polygons = r.U16(Param(0));
    uint64_t points = 0;
    for (uint64_t i = 0; i < polygons; ++i) points += r.U16(Param(1 + i));
    NeedParams(r, 1 + polygons + 2 * points);
}

void CheckExtTextOut(const Record& r)
{
    uint64_t count = r.U16(Param(2));
    unsigned options = r.U16(Param(3));
    uint64_t rect = (options & 6) ? 4 : 0;  // ETO_OPAQUE, ETO_CLIPPED
    NeedParams(r, 4 + rect + (count + 1) / 2);
}

// A region: a 10-word header, then scans of a count, top, bottom, count
// coordinates and the count again.
void CheckRegion(const Record& r)
{
    uint64_t scans = r.U16(Param(5));
    uint64_t at = 10;
    for (uint64_t i = 0; i < scans; ++i) {
        uint64_t count = r.U16(Param(at));
        if (count % 2) Refuse("region scan");
        at += 3 + count + 1;
        NeedParams(r, at);
    }
}

void CheckRecord(const Record& r, unsigned function, unsigned objects)
{
    switch (function) {
    case 0x012D:  // SelectObject
    case 0x01F0:  // DeleteObject
    case 0x0234:  // SelectPalette
    case 0x012C:  // SelectClipRegion
    case 0x012A:  // InvertRegion
    case 0x012B:  // PaintRegion
        CheckObject(r, 0, objects);
        break;
    case 0x0228:  // FillRegion: region, brush
    case 0x0429:  // FrameRegion: region, brush, height, width
        NeedParams(r, function == 0x0228 ? 2 : 4);
        CheckObject(r, 0, objects);
        CheckObject(r, 1, objects);
        break;
    case 0x0324:  // Polygon
    case 0x0325:  // Polyline
        NeedParams(r, 1 + 2 * uint64_t(r.U16(Param(0))));
        break;
    case 0x0538: CheckPolyPolygon(r); break;
    case 0x0521: NeedParams(r, 1 + (uint64_t(r.U16(Param(0))) + 1) / 2 + 2); break;  // TextOut
    case 0x0A32: CheckExtTextOut(r); break;
    case 0x00F7: NeedParams(r, 2 + 2 * uint64_t(r.U16(Param(1)))); break;  // CreatePalette
    case 0x0037:  // SetPalEntries
    case 0x0436:  // AnimatePalette
        NeedParams(r, 2 + 2 * uint64_t(r.U16(Param(1))));
        break;
    case 0x06FF: CheckRegion(r); break;
    case 0x0626: NeedParams(r, 2 + (uint64_t(r.U16(Param(1))) + 1) / 2); break;  // Escape
    case 0x0940:  // DIBBitBlt: a bitmap after 8 words, or none
        if (r.Size() > Param(9)) CheckDibAt(r, 8, false);
        break;
    case 0x0B41:  // DIBStretchBlt: a bitmap after 10 words, or none
        if (r.Size() > Param(11)) CheckDibAt(r, 10, false);
        break;
    case 0x0F43: CheckDibAt(r, 11, r.U16(Param(2)) == 1); break;  // StretchDIB
    case 0x0D33: CheckDibAt(r, 9, r.U16(Param(0)) == 1); break;   // SetDIBitsToDevice
    case 0x0142: CheckDibAt(r, 2, r.U16(Param(1)) == 1); break;   // DIBCreatePatternBrush
    case 0x0922:  // BitBlt, StretchBlt and CreatePatternBrush of the
    case 0x0B23:  // oldest device-dependent kind: too rare to be worth
    case 0x01F9:  // the risk
        Refuse("device-dependent bitmap record");
    default: break;
    }
}

}  // namespace

void CheckWindows(const unsigned char* data, size_t size)
{
    Record file(data, size);
    if (size < size_t(HeaderBytes)) return;
    unsigned type = file.U16(0);
    if ((type != 1 && type != 2) || file.U16(2) != 9) return;
    uint64_t total = uint64_t(file.U32(6)) * 2;
    if (total < HeaderBytes || total > size) Refuse("data truncated");
    unsigned objects = file.U16(10);
    uint64_t pos = HeaderBytes;
    while (pos + 6 <= total) {
        uint64_t bytes = uint64_t(file.U32(pos)) * 2;
        if (bytes < 6 || bytes > total - pos) Refuse("record size");
        unsigned function = file.U16(pos + 4);
        if (function == 0) return;
        CheckRecord(Record(data + pos, bytes), function, objects);
        pos += bytes;
    }
    Refuse("end record missing");
}

}  // namespace metafile_check
