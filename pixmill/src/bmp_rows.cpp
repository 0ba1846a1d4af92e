// Uncompressed bitmap rows to pixels, for every bit count and mask set.
#include <string.h>

#include "bmp_codec.h"
#include "colconv.h"

namespace {

// The masks of the byte-aligned layouts that have converters of their own.
const unsigned long Masks555[3] = {0x7C00, 0x3E0, 0x1F};
const unsigned long MasksBGRX[3] = {0xFF0000, 0xFF00, 0xFF};
const unsigned long MasksRGBX[3] = {0xFF, 0xFF00, 0xFF0000};

bool SameMasks(const unsigned long a[3], const unsigned long b[3])
{
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

unsigned long RotateLeft(unsigned long v, int r)
{
    return (v << r) | (v >> ((32 - r) & 31));
}

// The 32-bit twin of Colconv::BitField16RGB32s: each channel cut out by its
// mask, its top bit moved to the top of its byte, widened once.
void Fields32Row(const unsigned char* src, unsigned long* dst, int n, const Colconv::BitField fields[3])
{
    static const unsigned long byteMask[3] = {0xFF0000, 0xFF00, 0xFF};
    for (int i = 0; i < n; ++i) {
        unsigned long v = GetLE32(src + 4 * i);
        unsigned long pixel = 0;
        for (int c = 0; c < 3; ++c) {
            const Colconv::BitField& f = fields[c];
            unsigned long part = RotateLeft(v & f.mask, f.rotate & 31) & byteMask[c];
            int spread = f.width < 8 ? f.width : 8;
            pixel |= (part | part >> spread) & byteMask[c];
        }
        dst[i] = pixel;
    }
}

void ClearFlags(unsigned long* dst, int n)
{
    for (int i = 0; i < n; ++i) dst[i] &= 0x00FFFFFF;
}

}  // namespace

BmpRowFormat BmpChooseRowFormat(const BmpInfoHeader& h, const unsigned char* info)
{
    BmpRowFormat f = BmpRowFormat();
    unsigned long masks[3] = {0, 0, 0};
    bool fields = h.compression == BmpBitFields;
    if (fields)
        for (int c = 0; c < 3; ++c) masks[c] = GetLE32(info + BmpLongInfoBytes + 4 * c);
    switch (h.bits) {
    case 1: f.kind = BmpRowFormat::Index1; break;
    case 4: f.kind = BmpRowFormat::Index4; break;
    case 8: f.kind = BmpRowFormat::Index8; break;
    case 16: f.kind = !fields || SameMasks(masks, Masks555) ? BmpRowFormat::Word555 : BmpRowFormat::Fields16; break;
    case 24: f.kind = BmpRowFormat::BGR24; break;
    default:
        if (!fields || SameMasks(masks, MasksBGRX))
            f.kind = BmpRowFormat::BGRX32;
        else
            f.kind = SameMasks(masks, MasksRGBX) ? BmpRowFormat::RGBX32 : BmpRowFormat::Fields32;
        break;
    }
    if (fields) Colconv::AnalyseBitFields(masks, f.fields);
    return f;
}

void BmpConvertRow(const BmpRowFormat& f, unsigned char* src, unsigned long* dst, int n, const unsigned long* table,
                   unsigned char* scratch)
{
    // The row buffer comes from the heap, so it is aligned for 32-bit loads.
    unsigned long* words = reinterpret_cast<unsigned long*>(src);
    switch (f.kind) {
    case BmpRowFormat::Index1:
        memset(scratch, 0, size_t(n));
        Colconv::PlaneToBytes(src, scratch, n, 1);
        Colconv::LookupRGB32s(scratch, dst, n, table);
        break;
    case BmpRowFormat::Index4:
        Colconv::Unpack4(src, scratch, n);
        Colconv::LookupRGB32s(scratch, dst, n, table);
        break;
    case BmpRowFormat::Index8: Colconv::LookupRGB32s(src, dst, n, table); break;
    case BmpRowFormat::Word555:
        // The top bit is unused (or opaque alpha) here, not the library's flag.
        Colconv::W555RGB32s(src, dst, n);
        ClearFlags(dst, n);
        break;
    case BmpRowFormat::Fields16: Colconv::BitField16RGB32s(src, dst, n, f.fields); break;
    case BmpRowFormat::BGR24: Colconv::RGB24RGB32s(src, dst, n); break;
    case BmpRowFormat::BGRX32: Colconv::RGB32RGB32s(words, dst, n); break;
    case BmpRowFormat::RGBX32: Colconv::BGR32RGB32s(words, dst, n); break;
    case BmpRowFormat::Fields32: Fields32Row(src, dst, n, f.fields); break;
    }
}
