// Bitmap headers: reading them from bytes and the rules of what is read.
#include "bmp_codec.h"

#include "picture_limits.h"

BmpInfoHeader BmpParseInfo(const unsigned char* info)
{
    BmpInfoHeader h;
    h.size = GetLE32(info);
    h.width = int32_t(GetLE32(info + 4));
    h.height = int32_t(GetLE32(info + 8));
    h.planes = uint16_t(GetLE16(info + 12));
    h.bits = uint16_t(GetLE16(info + 14));
    h.compression = GetLE32(info + 16);
    h.imageSize = GetLE32(info + 20);
    h.xPelsPerMeter = int32_t(GetLE32(info + 24));
    h.yPelsPerMeter = int32_t(GetLE32(info + 28));
    h.coloursUsed = GetLE32(info + 32);
    // In a converted short form these bytes already are the colour table.
    h.coloursImportant = h.size < uint32_t(BmpLongInfoBytes) ? 0 : GetLE32(info + 36);
    return h;
}

BmpInfoHeader BmpFromCoreHeader(const unsigned char* core)
{
    BmpInfoHeader h = BmpInfoHeader();
    h.size = BmpShortInfoBytes;
    h.width = int32_t(GetLE16(core + 4));
    h.height = int32_t(GetLE16(core + 6));
    h.planes = uint16_t(GetLE16(core + 8));
    h.bits = uint16_t(GetLE16(core + 10));
    return h;
}

// Which bit counts go with which compression.
static const char* UnsupportedDepth(const BmpInfoHeader& h)
{
    const unsigned bits = h.bits;
    if (h.size < uint32_t(BmpLongInfoBytes)) {
        if (h.compression != BmpNone) return "BMP: compression in a short-form header";
        if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return "BMP: short-form bit count not 1, 4, 8 or 24";
        return nullptr;
    }
    // The OS/2 2.x header has this size; its 3 and 4 are Huffman and RLE24.
    if (h.size == 64 && (h.compression == 3 || h.compression == 4))
        return "BMP: OS/2 Huffman or RLE24 compression";
    switch (h.compression) {
    case BmpNone:
        if (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32) return nullptr;
        return "BMP: bit count not 1, 4, 8, 16, 24 or 32";
    case BmpRle8: return bits == 8 ? nullptr : "BMP: RLE8 with a bit count other than 8";
    case BmpRle4: return bits == 4 ? nullptr : "BMP: RLE4 with a bit count other than 4";
    case BmpBitFields:
        return bits == 16 || bits == 32 ? nullptr : "BMP: bit fields with a bit count other than 16 or 32";
    default: return "BMP: compression not supported (JPEG, PNG or unknown)";
    }
}

// The class library reads bitmaps for TBitmap by much the same rules
// (CheckGeometry in classlib/src/win32/dib.cpp) and cannot call these, as it
// sits below Pixmill. It takes what GDI draws though the format leaves it
// out (short-form headers of 16 or 32 bits, compression 3 in a 64-byte
// header, read there as bit fields) and refuses headers longer than 124
// bytes. The pixel limit is the one both share (picture_limits.h).
const char* BmpUnsupported(const BmpInfoHeader& h)
{
    if (h.planes != 1) return "BMP: planes other than 1";
    if (const char* why = UnsupportedDepth(h)) return why;
    if (h.width <= 0) return "BMP: width not positive";
    if (h.height == 0) return "BMP: height 0";
    int64_t rows = h.height < 0 ? -int64_t(h.height) : int64_t(h.height);
    if (int64_t(h.width) * rows > MaxPicturePixels) return "BMP: more than 2^28 pixels";
    bool rle = h.compression == BmpRle8 || h.compression == BmpRle4;
    if (rle && h.height < 0) return "BMP: run-length data stored top to bottom";
    return nullptr;
}

int64_t BmpStoredRowBytes(int64_t width, int bits)
{
    return (width * bits + 31) / 32 * 4;
}
