// PNG: every colour type and depth, interlaced or not, with all five row
// filters; transparency and background; clipping; what the writer makes;
// hostile headers and damaged files.
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <string>
#include <random>
#include <vector>

#include "crc32.h"
#include "deflate.h"
#include "exceptions.h"
#include "format_fixture.h"
#include "formats.h"
#include "gfxfile.h"
#include "gfxstream.h"
#include "inflate.h"
#include "streams.h"


namespace {

using format_fixture::Bytes;
using format_fixture::GetBig32;
using format_fixture::Pixels;
using format_fixture::PutBig32;
using format_fixture::Read;

const format_fixture::FormatBytes Png = {PNGFormat, "t.png"};

const Bytes Signature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
const int Adam7[7][4] = {{8, 0, 8, 0}, {8, 0, 8, 4}, {8, 4, 4, 0}, {4, 0, 4, 2},
                         {4, 2, 2, 0}, {2, 0, 2, 1}, {2, 1, 1, 0}};  // row step, first row, column step, first column

void Append(Bytes& a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
}

Bytes Chunk(const char* type, const Bytes& data, uint32_t crcChange = 0)
{
    Bytes c;
    PutBig32(c, uint32_t(data.size()));
    c.insert(c.end(), type, type + 4);
    Append(c, data);
    PutBig32(c, Crc32(Crc32(0, type, 4), data.data(), data.size()) ^ crcChange);
    return c;
}

Bytes Header(uint32_t width, uint32_t height, int depth, int colourType, int interlace = 0)
{
    Bytes h;
    PutBig32(h, width);
    PutBig32(h, height);
    h.insert(h.end(), {static_cast<unsigned char>(depth), static_cast<unsigned char>(colourType), 0, 0,
                       static_cast<unsigned char>(interlace)});
    return h;
}

// A zlib stream of stored blocks: the test's files do not depend on the
// library's compressor unless they say so.
Bytes StoredZlib(const Bytes& raw)
{
    Bytes z = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        z.push_back(at + n == raw.size() ? 1 : 0);
        z.insert(z.end(), {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                           static_cast<unsigned char>(~n), static_cast<unsigned char>(~n >> 8)});
        z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
        at += n;
    } while (at < raw.size());
    PutBig32(z, Adler32(1, raw.data(), raw.size()));
    return z;
}

// ---- pictures described by their samples ----------------------------------

struct Picture {
    int width = 1, height = 1, depth = 8, colourType = 2, interlace = 0;
    std::vector<std::vector<uint16_t>> samples;  // per pixel, row by row
    Pixels palette;                              // 0xRRGGBB
    Bytes trns, bkgd;
    bool hasTrns = false, hasBkgd = false;

    int Channels() const { return colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1; }
    int FilterBytes() const { return std::max(1, Channels() * depth / 8); }
};

Bytes PackRow(const Picture& p, int y, int first, int step)
{
    Bytes out;
    int acc = 0, bits = 0;
    for (int x = first; x < p.width; x += step)
        for (uint16_t v : p.samples[size_t(y * p.width + x)]) {
            if (p.depth == 16) {
                out.push_back(static_cast<unsigned char>(v >> 8));
                out.push_back(static_cast<unsigned char>(v));
            } else if (p.depth == 8) {
                out.push_back(static_cast<unsigned char>(v));
            } else {
                acc = acc << p.depth | v;
                bits += p.depth;
                if (bits == 8) {
                    out.push_back(static_cast<unsigned char>(acc));
                    acc = bits = 0;
                }
            }
        }
    if (bits) out.push_back(static_cast<unsigned char>(acc << (8 - bits)));
    return out;
}

int PaethOf(int a, int b, int c)
{
    const int p = a + b - c, pa = abs(p - a), pb = abs(p - b), pc = abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

Bytes FilterRow(int kind, const Bytes& row, const Bytes& prev, int bpp)
{
    Bytes out(1, static_cast<unsigned char>(kind));
    for (size_t i = 0; i < row.size(); ++i) {
        const int a = i >= size_t(bpp) ? row[i - size_t(bpp)] : 0;
        const int b = prev[i];
        const int c = i >= size_t(bpp) ? prev[i - size_t(bpp)] : 0;
        const int predictor[5] = {0, a, b, (a + b) >> 1, PaethOf(a, b, c)};
        out.push_back(static_cast<unsigned char>(row[i] - predictor[kind]));
    }
    return out;
}

// The filtered rows of every pass, the filter of each row chosen by its number.
Bytes ImageData(const Picture& p, int filterSeed = 0)
{
    Bytes out;
    int n = filterSeed;
    for (int pass = 0; pass < (p.interlace ? 7 : 1); ++pass) {
        const int* s = p.interlace ? Adam7[pass] : nullptr;
        const int rowStep = s ? s[0] : 1, firstRow = s ? s[1] : 0, colStep = s ? s[2] : 1, firstCol = s ? s[3] : 0;
        if (firstCol >= p.width || firstRow >= p.height) continue;
        Bytes prev;
        for (int y = firstRow; y < p.height; y += rowStep) {
            const Bytes row = PackRow(p, y, firstCol, colStep);
            if (prev.empty()) prev.assign(row.size(), 0);
            Append(out, FilterRow(n++ % 5, row, prev, p.FilterBytes()));
            prev = row;
        }
    }
    return out;
}

// The file: IHDR, PLTE, bKGD, tRNS, then the compressed data in IDAT chunks of the given sizes.
Bytes File(const Picture& p, const Bytes& zlib, std::vector<size_t> pieces = {})
{
    Bytes f = Signature;
    Append(f, Chunk("IHDR", Header(uint32_t(p.width), uint32_t(p.height), p.depth, p.colourType, p.interlace)));
    if (!p.palette.empty()) {
        Bytes plte;
        for (unsigned long c : p.palette)
            plte.insert(plte.end(), {static_cast<unsigned char>(c >> 16), static_cast<unsigned char>(c >> 8),
                                     static_cast<unsigned char>(c)});
        Append(f, Chunk("PLTE", plte));
    }
    if (p.hasBkgd) Append(f, Chunk("bKGD", p.bkgd));
    if (p.hasTrns) Append(f, Chunk("tRNS", p.trns));
    size_t at = 0;
    for (size_t n : pieces) {
        n = std::min(n, zlib.size() - at);
        Append(f, Chunk("IDAT", Bytes(zlib.begin() + at, zlib.begin() + at + n)));
        at += n;
    }
    Append(f, Chunk("IDAT", Bytes(zlib.begin() + at, zlib.end())));
    Append(f, Chunk("IEND", Bytes()));
    return f;
}

Bytes File(const Picture& p)
{
    return File(p, StoredZlib(ImageData(p)));
}

unsigned Widen(unsigned v, int depth)
{
    return depth == 1 ? v * 255 : depth == 2 ? v * 85 : depth == 4 ? v * 17 : v;
}

// What the reader should make of a pixel: high bytes, alpha dropped.
unsigned long Expected(const Picture& p, int x, int y)
{
    const std::vector<uint16_t>& s = p.samples[size_t(y * p.width + x)];
    auto level = [&](uint16_t v) -> unsigned long { return p.depth == 16 ? v >> 8 : Widen(v, p.depth); };
    if (p.colourType == 3) return s[0] < p.palette.size() ? p.palette[s[0]] : 0;
    if (p.colourType & 2) return level(s[0]) << 16 | level(s[1]) << 8 | level(s[2]);
    return level(s[0]) * 0x010101ul;
}

Pixels ExpectedPixels(const Picture& p)
{
    Pixels out;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) out.push_back(Expected(p, x, y));
    return out;
}

Picture RandomPicture(int width, int height, int colourType, int depth, std::mt19937& rng)
{
    Picture p;
    p.width = width;
    p.height = height;
    p.colourType = colourType;
    p.depth = depth;
    const uint32_t top = colourType == 3 ? std::min(1u << depth, 200u) : 1u << depth;
    for (uint32_t i = 0; colourType == 3 && i < top; ++i) p.palette.push_back(rng() & 0xFFFFFF);
    for (int i = 0; i < width * height; ++i) {
        std::vector<uint16_t> s;
        for (int c = 0; c < p.Channels(); ++c) s.push_back(static_cast<uint16_t>(rng() % top));
        p.samples.push_back(s);
    }
    return p;
}



class CancelAt {
public:
    explicit CancelAt(int percent)
    {
        limit = percent;
        GFXFile::PrStep = Step;
    }
    ~CancelAt() { GFXFile::PrStep = nullptr; }
    static int limit;

private:
    static bool Step(int p) { return p < limit; }
};
int CancelAt::limit;

// ---- descriptor and Test ----------------------------------------------------

TEST(PngFormat, DescriptorFields)
{
    GFXFile* f = PNGFormat();
    EXPECT_STREQ("Portable Network Graphics", f->name.c_str());
    EXPECT_STREQ("*.PNG", f->masks.c_str());
    EXPECT_EQ(0x80008Bu, f->colourMask);
    EXPECT_EQ(0, f->greyMask);
    EXPECT_TRUE(f->interlace);
    EXPECT_EQ(0, f->quality);
}

TEST(PngFormat, TestDescribesAndRestoresPosition)
{
    std::mt19937 rng(1);
    Picture p = RandomPicture(19, 7, 6, 16, rng);
    p.interlace = 1;
    Bytes f = Bytes(5, 0xEE);
    Append(f, File(p));
    unsigned char palette[768];
    GFXFileDesc d = GFXFileDesc();
    d.paletteData = palette;
    d.images = 9;
    EXPECT_EQ(1, Png.Test(f, &d, 5));
    EXPECT_EQ(19, d.width);
    EXPECT_EQ(7, d.height);
    EXPECT_EQ(1, d.colour);
    EXPECT_EQ(0, d.palette);
    EXPECT_EQ(64, d.bits);
    EXPECT_EQ(16, d.channelBits);
    EXPECT_EQ(1, d.images);
    EXPECT_EQ(1, d.interlaced);
    EXPECT_EQ(palette, d.paletteData);

    struct Case {
        int colourType, depth, colour, pal, bits, channelBits;
    };
    const Case cases[] = {{0, 1, 0, 0, 1, 1}, {0, 16, 0, 0, 16, 16}, {2, 8, 1, 0, 24, 8},
                          {3, 4, 1, 1, 4, 8}, {4, 8, 0, 0, 16, 8},   {6, 8, 1, 0, 32, 8}};
    for (const Case& c : cases) {
        Bytes g = Signature;
        Append(g, Chunk("IHDR", Header(3, 2, c.depth, c.colourType)));
        GFXFileDesc e = GFXFileDesc();
        ASSERT_EQ(1, Png.Test(g, &e)) << c.colourType;
        EXPECT_EQ(c.colour, e.colour);
        EXPECT_EQ(c.pal, e.palette);
        EXPECT_EQ(c.bits, e.bits);
        EXPECT_EQ(c.channelBits, e.channelBits);
    }
}

TEST(PngFormat, TestAnswersForForeignShortAndUnreadableData)
{
    EXPECT_EQ(0, Png.Test(Bytes()));
    EXPECT_EQ(0, Png.Test(Bytes(Signature.begin(), Signature.begin() + 7)));
    EXPECT_EQ(0, Png.Test(Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(-1, Png.Test(Signature));

    Bytes good = Signature;
    Append(good, Chunk("IHDR", Header(3, 2, 8, 2)));
    EXPECT_EQ(1, Png.Test(good));
    // A chunk before IHDR is passed over.
    Bytes late = Signature;
    Append(late, Chunk("tEXt", Bytes(5, 'a')));
    Append(late, Chunk("IHDR", Header(3, 2, 8, 2)));
    EXPECT_EQ(1, Png.Test(late));
    // Bytes beyond 13 count in the CRC.
    Bytes longer = Signature;
    Bytes h = Header(3, 2, 8, 2);
    h.push_back(0x42);
    Append(longer, Chunk("IHDR", h));
    EXPECT_EQ(1, Png.Test(longer));

    Bytes badCrc = Signature;
    Append(badCrc, Chunk("IHDR", Header(3, 2, 8, 2), 1));
    GFXFileDesc d = GFXFileDesc();
    d.images = 5;
    EXPECT_EQ(-1, Png.Test(badCrc, &d));
    EXPECT_EQ(0, d.images);
    Bytes shortHeader = Signature;
    Append(shortHeader, Chunk("IHDR", Bytes(12, 1)));
    EXPECT_EQ(-1, Png.Test(shortHeader));

    struct Case {
        uint32_t width, height;
        int depth, colourType, compression, filter, interlace;
        const char* reason;
    };
    const char* const pair = "PNG: colour type and bit depth not a valid pair";
    const char* const empty = "PNG: width or height 0";
    const Case bad[] = {
        {3, 2, 16, 3, 0, 0, 0, pair},
        {3, 2, 4, 2, 0, 0, 0, pair},
        {3, 2, 8, 5, 0, 0, 0, pair},
        {3, 2, 8, 7, 0, 0, 0, pair},
        {3, 2, 8, 2, 1, 0, 0, "PNG: compression method not 0"},
        {3, 2, 8, 2, 0, 1, 0, "PNG: filter method not 0"},
        {3, 2, 8, 2, 0, 0, 2, "PNG: interlace method neither 0 nor 1"},
        {0, 2, 8, 2, 0, 0, 0, empty},
        {3, 0, 8, 2, 0, 0, 0, empty},
        {0x80000000u, 1, 8, 2, 0, 0, 0, "PNG: width or height beyond 2^31 - 1"},
    };
    for (const Case& c : bad) {
        Bytes f = Signature;
        Bytes hd = Header(c.width, c.height, c.depth, c.colourType, c.interlace);
        hd[10] = static_cast<unsigned char>(c.compression);
        hd[11] = static_cast<unsigned char>(c.filter);
        Append(f, Chunk("IHDR", hd));
        GFXFileDesc e = GFXFileDesc();
        EXPECT_EQ(-1, Png.Test(f, &e)) << c.reason;
        EXPECT_EQ(0, e.images);
        EXPECT_EQ(c.reason, Png.Detail(f));
    }
}

// ---- reading ---------------------------------------------------------------

TEST(PngLoad, EveryColourTypeAndDepthInterlacedOrNot)
{
    const int depths[7][6] = {{1, 2, 4, 8, 16, 0}, {0}, {8, 16, 0}, {1, 2, 4, 8, 0}, {8, 16, 0}, {0}, {8, 16, 0}};
    std::mt19937 rng(2);
    for (int colourType : {0, 2, 3, 4, 6})
        for (const int* d = depths[colourType]; *d; ++d)
            for (int width = 1; width <= 17; ++width) {
                SCOPED_TRACE(testing::Message() << "type " << colourType << " depth " << *d << " width " << width);
                Picture p = RandomPicture(width, 1 + int(rng() % 11), colourType, *d, rng);
                const Pixels want = ExpectedPixels(p);
                ASSERT_EQ(want, Png.LoadPixels(File(p, StoredZlib(ImageData(p, width)))));
                p.interlace = 1;
                ASSERT_EQ(want, Png.LoadPixels(File(p, StoredZlib(ImageData(p, width)))));
            }
}

TEST(PngLoad, ImageDataSplitAnyWayAndCompressedByTheLibrary)
{
    std::mt19937 rng(3);
    Picture p = RandomPicture(23, 9, 2, 8, rng);
    const Pixels want = ExpectedPixels(p);
    Bytes z;
    {
        // Our own compressor's zlib stream, less nothing: it writes the header itself.
        TMemoryStream m;
        Deflater d(&m);
        const Bytes raw = ImageData(p);
        d.Put(raw.data(), raw.size());
        d.Finish();
        const unsigned char* q = static_cast<const unsigned char*>(m.GetMemory());
        z.assign(q, q + m.GetSize());
    }
    for (const std::vector<size_t>& pieces :
         {std::vector<size_t>{}, {1, 0, 1, 0, 5}, {z.size() - 2}, {z.size() - 4, 0}, {z.size() - 3, 1, 0}})
        EXPECT_EQ(want, Png.LoadPixels(File(p, z, pieces))) << pieces.size();
}

// Flat pictures repeat rows: under Up and Paeth such a row's filtered bytes
// are all zero, and the reader copies the row above. Rows that differ only
// at their end, rows wider than the pieces the decompressor hands out, and
// loads clipped to a smaller buffer must still come out right.
TEST(PngLoad, RowsRepeatingTheOneAbove)
{
    // Each row after the first: 0 new, 1 the row above, 2 the row above but its last pixel.
    auto repeat = [](Picture& p, const std::vector<int>& kinds) {
        for (int y = 1; y < p.height; ++y)
            for (int x = 0; kinds[size_t(y)] && x < p.width - (kinds[size_t(y)] == 2); ++x)
                p.samples[size_t(y * p.width + x)] = p.samples[size_t((y - 1) * p.width + x)];
    };
    const int depths[7][6] = {{1, 2, 4, 8, 16, 0}, {0}, {8, 16, 0}, {1, 2, 4, 8, 0}, {8, 16, 0}, {0}, {8, 16, 0}};
    std::mt19937 rng(9);
    for (int colourType : {0, 2, 3, 4, 6})
        for (const int* d = depths[colourType]; *d; ++d)
            for (int width : {1, 5, 17}) {
                SCOPED_TRACE(testing::Message() << "type " << colourType << " depth " << *d << " width " << width);
                Picture p = RandomPicture(width, 12, colourType, *d, rng);
                repeat(p, {0, 1, 1, 2, 0, 1, 2, 1, 1, 0, 2, 1});
                const Pixels want = ExpectedPixels(p);
                for (int interlace : {0, 1})
                    for (int seed = 0; seed < 5; ++seed) {
                        p.interlace = interlace;
                        const Bytes f = File(p, StoredZlib(ImageData(p, seed)));
                        ASSERT_EQ(want, Png.LoadPixels(f)) << interlace << " " << seed;
                        Buffer b;
                        b.Alloc(Pair<int>{3, 9});
                        ASSERT_TRUE(Png.Load(f, b));
                        for (int y = 0; y < 9; ++y)
                            for (int x = 0; x < std::min(3, width); ++x)
                                ASSERT_EQ(Expected(p, x, y), *b.At(x, y)) << x << "," << y;
                    }
            }
    // 21,000 bytes a row: each row reaches the reader in pieces, and the
    // seeds put Up and Paeth on repeated rows and on rows differing at the end.
    Picture wide = RandomPicture(7000, 6, 2, 8, rng);
    repeat(wide, {0, 1, 2, 1, 2, 1});
    const Pixels want = ExpectedPixels(wide);
    for (int seed = 0; seed < 3; ++seed) ASSERT_EQ(want, Png.LoadPixels(File(wide, StoredZlib(ImageData(wide, seed))))) << seed;
}

TEST(PngLoad, SixteenBitSamplesGiveTheirHighByte)
{
    Picture p;
    p.width = 3;
    p.colourType = 0;
    p.depth = 16;
    p.samples = {{0x12FF}, {0xAB00}, {0x0080}};
    EXPECT_EQ((Pixels{0x121212, 0xABABAB, 0}), Png.LoadPixels(File(p)));
    p.colourType = 4;
    p.depth = 8;
    p.samples = {{0x40, 0}, {0x80, 0xFF}, {0xC0, 0x10}};
    EXPECT_EQ((Pixels{0x404040, 0x808080, 0xC0C0C0}), Png.LoadPixels(File(p)));
}

TEST(PngLoad, ChunkSequenceWithTextAndSplitData)
{
    // IHDR, PLTE, tEXt with a bad CRC (ignored), IDAT, IDAT, IEND.
    Picture p;
    p.width = 4;
    p.colourType = 3;
    p.depth = 2;
    p.palette = {0x112233, 0x445566, 0x778899, 0xAABBCC};
    p.samples = {{3}, {2}, {1}, {0}};
    Bytes z = StoredZlib(ImageData(p));
    Bytes f = Signature;
    Append(f, Chunk("IHDR", Header(4, 1, 2, 3)));
    Bytes plte;
    for (unsigned long c : p.palette)
        plte.insert(plte.end(), {static_cast<unsigned char>(c >> 16), static_cast<unsigned char>(c >> 8),
                                 static_cast<unsigned char>(c)});
    Append(f, Chunk("PLTE", plte));
    Append(f, Chunk("tEXt", Bytes{'a', 0, 'b'}, 0x1234));
    Append(f, Chunk("IDAT", Bytes(z.begin(), z.begin() + 7)));
    Append(f, Chunk("IDAT", Bytes(z.begin() + 7, z.end())));
    Append(f, Chunk("IEND", Bytes()));
    unsigned char palette[768];
    memset(palette, 0x5A, sizeof palette);
    GFXFileDesc d = GFXFileDesc();
    d.paletteData = palette;
    Buffer b;
    ASSERT_TRUE(Png.Load(f, b, &d));
    EXPECT_EQ((Pixels{0xAABBCC, 0x778899, 0x445566, 0x112233}), Read(b));
    EXPECT_EQ(0x11, palette[0]);
    EXPECT_EQ(0xCC, palette[11]);
    EXPECT_EQ(0, palette[12]);
    EXPECT_EQ(0, palette[767]);
    EXPECT_EQ(0, d.transparent);
    EXPECT_EQ(0, d.interlaced);

    // A CRC error in image data does count.
    Bytes bad = f;
    const char type[] = "IDAT";
    const size_t idat = size_t(std::search(bad.begin(), bad.end(), type, type + 4) - bad.begin());
    bad[idat + 4 + 7] ^= 1;
    Buffer c;
    EXPECT_EQ("PNG: CRC error in an IDAT chunk", Png.Detail(bad, c));
}

TEST(PngLoad, TransparencyAndBackground)
{
    // Palette: alpha 255, 0, 255 makes entry 1 the transparent colour.
    Picture p;
    p.width = 3;
    p.colourType = 3;
    p.depth = 8;
    p.palette = {0x010203, 0x405060, 0x708090};
    p.samples = {{0}, {1}, {2}};
    p.hasTrns = true;
    p.trns = {255, 0, 255};
    GFXFileDesc d = GFXFileDesc();
    GFXtra32 x = {};
    Buffer b;
    ASSERT_TRUE(Png.Load(File(p), b, &d, &x));
    EXPECT_EQ(1, d.transparent);
    EXPECT_EQ(0x405060u, x.colour2);
    EXPECT_EQ((Pixels{0x010203, 0x405060, 0x708090}), Read(b));

    // All opaque: not transparent, and bKGD gives the background.
    p.trns = {255, 255};
    p.hasBkgd = true;
    p.bkgd = {2};
    d = GFXFileDesc();
    x = GFXtra32();
    Buffer c;
    ASSERT_TRUE(Png.Load(File(p), c, &d, &x));
    EXPECT_EQ(0, d.transparent);
    EXPECT_EQ(0x708090u, x.colour2);

    // RGB: the key colour from the low bytes of 16-bit samples.
    Picture rgb;
    rgb.samples = {{0xC8, 0x64, 0x32}};
    rgb.hasTrns = true;
    rgb.trns = {0, 0xC8, 0, 0x64, 0, 0x32};
    rgb.hasBkgd = true;  // comes first, and is replaced by the key
    rgb.bkgd = {0, 1, 0, 2, 0, 3};
    d = GFXFileDesc();
    x = GFXtra32();
    Buffer e;
    ASSERT_TRUE(Png.Load(File(rgb), e, &d, &x));
    EXPECT_EQ(1, d.transparent);
    EXPECT_EQ(0xC86432u, x.colour2);

    // 16-bit RGB: the high bytes. Grey of 4 bits: the level widened.
    rgb.depth = 16;
    rgb.samples = {{0xC800, 0x6400, 0x3200}};
    rgb.trns = {0xC8, 0, 0x64, 0, 0x32, 0};
    rgb.hasBkgd = false;
    x = GFXtra32();
    Buffer g;
    ASSERT_TRUE(Png.Load(File(rgb), g, nullptr, &x));
    EXPECT_EQ(0xC86432u, x.colour2);
    Picture grey;
    grey.colourType = 0;
    grey.depth = 4;
    grey.samples = {{5}};
    grey.hasBkgd = true;
    grey.bkgd = {0, 0x0A};
    x = GFXtra32();
    Buffer h;
    ASSERT_TRUE(Png.Load(File(grey), h, nullptr, &x));
    EXPECT_EQ(0xAAAAAAu, x.colour2);
    // bKGD after a transparent colour changes nothing.
    grey.hasTrns = true;
    grey.trns = {0, 5};
    Bytes f = Signature;
    Append(f, Chunk("IHDR", Header(1, 1, 4, 0)));
    Append(f, Chunk("tRNS", grey.trns));
    Append(f, Chunk("bKGD", grey.bkgd));
    Append(f, Chunk("IDAT", StoredZlib(ImageData(grey))));
    Append(f, Chunk("IEND", Bytes()));
    x = GFXtra32();
    Buffer k;
    ASSERT_TRUE(Png.Load(f, k, nullptr, &x));
    EXPECT_EQ(0x555555u, x.colour2);
}

TEST(PngLoad, DamagedTransparencyAndPaletteChunks)
{
    Picture p;
    p.width = 2;
    p.colourType = 3;
    p.depth = 1;
    p.palette = {1, 2};
    p.samples = {{0}, {1}};
    Picture longKey = p;
    longKey.hasTrns = true;
    longKey.trns = Bytes(257, 0);
    Buffer b;
    EXPECT_EQ("PNG: tRNS longer than 256 bytes", Png.Detail(File(longKey)));
    Bytes f = Signature;
    Append(f, Chunk("IHDR", Header(2, 1, 1, 3)));
    Append(f, Chunk("PLTE", Bytes(4, 0)));
    Append(f, Chunk("IDAT", StoredZlib(ImageData(p))));
    Append(f, Chunk("IEND", Bytes()));
    EXPECT_EQ("PNG: PLTE length not a multiple of 3 up to 768", Png.Detail(f));
    Bytes big = Signature;
    Append(big, Chunk("IHDR", Header(2, 1, 1, 3)));
    Append(big, Chunk("PLTE", Bytes(771, 0)));
    EXPECT_EQ("PNG: PLTE length not a multiple of 3 up to 768", Png.Detail(big));
    Bytes none = Signature;
    Append(none, Chunk("IHDR", Header(2, 1, 1, 3)));
    Append(none, Chunk("IDAT", StoredZlib(ImageData(p))));
    EXPECT_EQ("PNG: palette picture without PLTE before its image data", Png.Detail(none));
    Picture rgb;
    rgb.samples = {{1, 2, 3}};
    rgb.hasBkgd = true;
    rgb.bkgd = Bytes(7, 0);
    GFXtra32 x = {};
    EXPECT_EQ("PNG: bKGD longer than 6 bytes",
              format_fixture::RefusalOf([&] { Png.Load(File(rgb), b, nullptr, &x); }));
    EXPECT_NO_THROW(Png.Load(File(rgb), b));  // without a GFXtra32 bKGD is passed over
}

TEST(PngLoad, IndicesBeyondThePaletteAreBlack)
{
    Picture p;
    p.width = 3;
    p.colourType = 3;
    p.depth = 4;
    p.palette = {0x102030, 0x405060};
    p.samples = {{1}, {2}, {15}};
    EXPECT_EQ((Pixels{0x405060, 0, 0}), Png.LoadPixels(File(p)));
}

TEST(PngClip, IntoSmallerBufferInterlacedOrNot)
{
    std::mt19937 rng(4);
    Picture p = RandomPicture(64, 48, 3, 1, rng);
    for (int interlace : {0, 1}) {
        p.interlace = interlace;
        Buffer b;
        b.Alloc(Pair<int>{7, 5});
        b.Box(Rect{0, 0, 6, 4}, 0xABCDEF);
        ASSERT_TRUE(Png.Load(File(p), b)) << interlace;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) ASSERT_EQ(Expected(p, x, y), *b.At(x, y)) << x << "," << y;
        // A larger buffer keeps what lies outside the picture.
        Buffer big;
        big.Alloc(Pair<int>{70, 50});
        big.Box(Rect{0, 0, 69, 49}, 0xABCDEF);
        ASSERT_TRUE(Png.Load(File(p), big));
        EXPECT_EQ(Expected(p, 63, 47), *big.At(63, 47));
        EXPECT_EQ(0xABCDEFul, *big.At(64, 0));
        EXPECT_EQ(0xABCDEFul, *big.At(0, 48));
    }
    // Rows below the buffer are never read: damage there goes unnoticed
    // without interlacing.
    p.interlace = 0;
    Bytes raw = ImageData(p);
    Bytes f = File(p, StoredZlib(raw));
    f[f.size() - 12 - 4 - 4 - 2] ^= 0xFF;  // last row
    Buffer b;
    b.Alloc(Pair<int>{7, 5});
    EXPECT_TRUE(Png.Load(f, b));
}

TEST(PngLoad, CancelStopsTheLoad)
{
    std::mt19937 rng(5);
    Picture p = RandomPicture(50, 100, 2, 8, rng);
    CancelAt cancel(50);
    Buffer b;
    EXPECT_FALSE(Png.Load(File(p), b));
    EXPECT_EQ(Expected(p, 3, 0), *b.At(3, 0));
    EXPECT_EQ(0ul, *b.At(3, 99));
}

// ---- loads that end early -------------------------------------------------

// Loads f into a 30 x 45 target filled with a marker colour; false when the
// load was cancelled or failed.
bool LoadIntoMarked(const Bytes& f, Buffer& b)
{
    b.Alloc(Pair<int>{30, 45});
    b.Box(Rect{0, 0, 29, 44}, 0xABCDEF);
    try {
        return Png.Load(f, b);
    } catch (Exception&) {
        return false;
    }
}

// The rows of p's passes in the order the file holds them, as the pixels of
// each. Checks that b holds p's pixels for a leading run of them and black
// for the rest, and the marker outside the picture; returns the run's length.
size_t DecodedRows(const Picture& p, Buffer& b)
{
    std::vector<std::vector<std::pair<int, int>>> rows;
    for (int pass = 0; pass < (p.interlace ? 7 : 1); ++pass) {
        const int* s = p.interlace ? Adam7[pass] : nullptr;
        const int rowStep = s ? s[0] : 1, firstRow = s ? s[1] : 0, colStep = s ? s[2] : 1, firstCol = s ? s[3] : 0;
        for (int y = firstRow; y < p.height; y += rowStep) {
            rows.emplace_back();
            for (int x = firstCol; x < p.width; x += colStep) rows.back().push_back({x, y});
        }
    }
    size_t decoded = 0;
    while (decoded < rows.size() && *b.At(rows[decoded][0].first, rows[decoded][0].second) != 0) ++decoded;
    for (size_t i = 0; i < rows.size(); ++i)
        for (const auto& xy : rows[i]) {
            const unsigned long want = i < decoded ? Expected(p, xy.first, xy.second) : 0;
            EXPECT_EQ(want, *b.At(xy.first, xy.second)) << "row " << i << " of " << rows.size() << " at " << xy.first
                                                         << "," << xy.second;
        }
    for (int y = 0; y < 45; ++y)
        for (int x = y < p.height ? p.width : 0; x < 30; ++x) EXPECT_EQ(0xABCDEFul, *b.At(x, y)) << x << "," << y;
    return decoded;
}

TEST(PngPartial, UnwrittenPixelsAreBlackHoweverTheLoadEnds)
{
    std::mt19937 rng(12);
    Picture p = RandomPicture(24, 40, 2, 8, rng);
    for (auto& s : p.samples) s[0] |= 1;  // no pixel of the picture is black
    for (int interlace : {0, 1}) {
        SCOPED_TRACE(interlace ? "interlaced" : "not interlaced");
        p.interlace = interlace;
        const size_t rowCount = interlace ? 5 + 5 + 5 + 10 + 10 + 20 + 20 : 40;  // rows of the passes
        const Bytes raw = ImageData(p);
        Buffer b;
        {
            SCOPED_TRACE("cancelled");
            CancelAt cancel(50);
            EXPECT_FALSE(LoadIntoMarked(File(p), b));
            const size_t decoded = DecodedRows(p, b);
            EXPECT_GT(decoded, 0u);
            EXPECT_LT(decoded, rowCount);
        }
        {
            SCOPED_TRACE("damaged: the data ends inside a row");
            EXPECT_FALSE(LoadIntoMarked(File(p, StoredZlib(Bytes(raw.begin(), raw.begin() + raw.size() / 2))), b));
            const size_t decoded = DecodedRows(p, b);
            EXPECT_GT(decoded, 0u);
            EXPECT_LT(decoded, rowCount);
        }
        {
            SCOPED_TRACE("file cut off");
            Bytes f = File(p, StoredZlib(raw), std::vector<size_t>(20, 200));
            f.resize(f.size() * 2 / 3);
            EXPECT_FALSE(LoadIntoMarked(f, b));
            const size_t decoded = DecodedRows(p, b);
            EXPECT_GT(decoded, 0u);
            EXPECT_LT(decoded, rowCount);
        }
        {
            SCOPED_TRACE("damaged before the image data");
            Bytes f = File(p);
            const Bytes trns = Chunk("tRNS", Bytes{0, 1, 0, 2, 0, 3}, 1);
            f.insert(f.begin() + 8 + 25, trns.begin(), trns.end());
            EXPECT_FALSE(LoadIntoMarked(f, b));
            EXPECT_EQ(0u, DecodedRows(p, b));
        }
        {
            SCOPED_TRACE("complete");
            EXPECT_TRUE(LoadIntoMarked(File(p), b));
            EXPECT_EQ(rowCount, DecodedRows(p, b));
        }
    }
}

// ---- hostile and damaged files ----------------------------------------------

TEST(PngHostile, HugePicturesAreRefusedBeforeAllocating)
{
    // Beyond the pixel limit.
    Bytes f = Signature;
    Append(f, Chunk("IHDR", Header(65536, 65536, 8, 2)));
    Append(f, Chunk("IDAT", StoredZlib(Bytes(10, 0))));
    Buffer b;
    EXPECT_EQ("PNG: picture larger than 2^28 pixels", Png.Detail(f));
    EXPECT_EQ(nullptr, b.pixels);
    // Within it, but far more than the file could ever inflate to.
    Bytes bomb = Signature;
    Append(bomb, Chunk("IHDR", Header(16000, 16000, 8, 2)));
    Append(bomb, Chunk("IDAT", StoredZlib(Bytes(10, 0))));
    EXPECT_EQ("PNG: file too small to hold the picture it announces", Png.Detail(bomb));
    EXPECT_EQ(nullptr, b.pixels);
}

TEST(PngHostile, DamagedImageData)
{
    std::mt19937 rng(6);
    Picture p = RandomPicture(5, 4, 2, 8, rng);
    Buffer b;
    // A filter type above 4.
    Bytes raw = ImageData(p);
    raw[0] = 5;
    EXPECT_EQ("PNG: row filter type above 4", Png.Detail(File(p, StoredZlib(raw))));
    // Too little data for the picture.
    raw = ImageData(p);
    raw.resize(raw.size() - 1);
    EXPECT_EQ("PNG: image data ends before the picture does", Png.Detail(File(p, StoredZlib(raw))));
    // A zlib header of another method.
    Bytes z = StoredZlib(ImageData(p));
    z[0] = 0x79;
    EXPECT_EQ("PNG: image data not deflate-compressed", Png.Detail(File(p, z)));
    // The wrong Adler-32.
    z = StoredZlib(ImageData(p));
    z.back() ^= 1;
    EXPECT_EQ("PNG: Adler-32 of the image data does not match", Png.Detail(File(p, z)));
    // No image data before the end.
    Bytes f = Signature;
    Append(f, Chunk("IHDR", Header(5, 4, 8, 2)));
    Append(f, Chunk("IEND", Bytes()));
    EXPECT_EQ("PNG: no image data", Png.Detail(f));
    // Cut short.
    Bytes cut = File(p);
    cut.resize(cut.size() - 30);
    EXPECT_THROW(Png.Load(cut, b), EReadError);
    // A chunk passed over whose length runs past the end.
    Bytes skip = Signature;
    Append(skip, Chunk("IHDR", Header(5, 4, 8, 2)));
    PutBig32(skip, 0x7FFFFFF0);
    skip.insert(skip.end(), {'z', 'z', 'z', 'z', 1, 2, 3});
    EXPECT_THROW(Png.Load(skip, b), EReadError);
    // A length beyond what chunks may have.
    Bytes huge = Signature;
    Append(huge, Chunk("IHDR", Header(5, 4, 8, 2)));
    PutBig32(huge, 0x80000000u);
    huge.insert(huge.end(), {'z', 'z', 'z', 'z'});
    EXPECT_EQ("PNG: chunk length beyond 2^31 - 1", Png.Detail(huge));
    // No signature at all.
    Bytes plain = File(p);
    plain[1] = 'Q';
    EXPECT_EQ("PNG: no PNG signature", Png.Detail(plain));
}

// ---- writing ---------------------------------------------------------------

struct SavedChunk {
    std::string type;
    Bytes data;
};

std::vector<SavedChunk> ChunksOf(const Bytes& f)
{
    std::vector<SavedChunk> out;
    EXPECT_EQ(Signature, Bytes(f.begin(), f.begin() + 8));
    size_t at = 8;
    while (at + 12 <= f.size()) {
        const uint32_t n = GetBig32(f, at);
        EXPECT_LE(at + 12 + n, f.size());
        SavedChunk c{std::string(f.begin() + long(at) + 4, f.begin() + long(at) + 8),
                     Bytes(f.begin() + long(at) + 8, f.begin() + long(at) + 8 + n)};
        EXPECT_EQ(Crc32(Crc32(0, c.type.data(), 4), c.data.data(), n), GetBig32(f, at + 8 + n)) << c.type;
        out.push_back(c);
        at += 12 + n;
    }
    EXPECT_EQ(f.size(), at);
    return out;
}

std::string Types(const std::vector<SavedChunk>& chunks)
{
    std::string s;
    for (const SavedChunk& c : chunks) s += c.type + " ";
    return s;
}

Bytes SaveBytes(Buffer& b, int bits, bool interlaced, GFXtra32* x = nullptr, bool transparent = false,
                int colours = 0, unsigned char* palette = nullptr)
{
    GFXSaveParams p = GFXSaveParams();
    p.bits = static_cast<int8_t>(bits);
    p.interlaced = interlaced;
    p.transparent = transparent;
    p.colours = static_cast<int16_t>(colours);
    p.paletteData = palette;
    TMemoryStream m;
    {
        TOutputStream out(&m, "t.png");
        EXPECT_TRUE(PNGFormat()->Save(b, &out, x, &p));
    }
    const unsigned char* q = static_cast<const unsigned char*>(m.GetMemory());
    return Bytes(q, q + m.GetSize());
}

// The index image the registry hands over: one byte per pixel.
void MakeIndexImage(Buffer& image, int width, int height, int colours, unsigned seed)
{
    image.Alloc(Pair<int>{(width + 3) / 4, height});
    image.right = width - 1;
    std::mt19937 rng(seed);
    for (int y = 0; y < height; ++y) {
        unsigned char* row = reinterpret_cast<unsigned char*>(image.At(0, y));
        for (int x = 0; x < width; ++x) row[x] = static_cast<unsigned char>(rng() % unsigned(colours));
    }
}

TEST(PngSave, PaletteDepthsRoundTripInterlacedOrNot)
{
    unsigned char palette[768];
    for (int i = 0; i < 768; ++i) palette[i] = static_cast<unsigned char>(i * 7 + 3);
    for (int bits : {1, 2, 4, 8})
        for (bool interlaced : {false, true})
            for (int width = 1; width <= 17; ++width) {
                SCOPED_TRACE(testing::Message() << bits << " bits, interlaced " << interlaced << ", width " << width);
                const int colours = bits == 8 ? 200 : 1 << bits;
                Buffer image;
                MakeIndexImage(image, width, 1 + width % 9, colours, unsigned(width * 31 + bits));
                const Bytes f = SaveBytes(image, bits, interlaced, nullptr, false, colours, palette);
                const std::vector<SavedChunk> chunks = ChunksOf(f);
                ASSERT_EQ("IHDR tEXt PLTE IDAT IEND ", Types(chunks));
                EXPECT_EQ(size_t(3 * colours), chunks[2].data.size());
                EXPECT_EQ(Header(uint32_t(width), uint32_t(image.Height()), bits, 3, interlaced), chunks[0].data);
                Buffer back;
                ASSERT_TRUE(Png.Load(f, back));
                ASSERT_EQ(width, back.Width());
                for (int y = 0; y < image.Height(); ++y)
                    for (int x = 0; x < width; ++x) {
                        const int i = reinterpret_cast<unsigned char*>(image.At(0, y))[x];
                        const unsigned long want =
                            (unsigned long)palette[3 * i] << 16 | palette[3 * i + 1] << 8 | palette[3 * i + 2];
                        ASSERT_EQ(want, *back.At(x, y)) << x << "," << y;
                    }
            }
}

TEST(PngSave, TrueColourRoundTripAndHeader)
{
    std::mt19937 rng(7);
    for (bool interlaced : {false, true})
        for (int width = 1; width <= 17; ++width) {
            Buffer b;
            b.Alloc(Pair<int>{width, 1 + width % 10});
            for (int y = 0; y < b.Height(); ++y)
                for (int x = 0; x < width; ++x) *b.At(x, y) = (y % 3 ? rng() : 0x102030u * unsigned(x)) & 0xFFFFFF;
            const Pixels want = Read(b);
            *b.At(0, 0) |= 0x7F000000;  // flags are not written
            const Bytes f = SaveBytes(b, 24, interlaced);
            const std::vector<SavedChunk> chunks = ChunksOf(f);
            ASSERT_EQ("IHDR tEXt IDAT IEND ", Types(chunks));
            EXPECT_EQ(Header(uint32_t(width), uint32_t(b.Height()), 8, 2, interlaced), chunks[0].data);
            const char text[] = "Software\0Corvane";
            EXPECT_EQ(Bytes(text, text + 16), chunks[1].data);
            EXPECT_EQ(want, Png.LoadPixels(f)) << width;
        }
}

TEST(PngSave, BackgroundAndTransparency)
{
    Buffer b;
    b.Alloc(Pair<int>{3, 2});
    b.Box(Rect{0, 0, 2, 1}, 0x123456);
    GFXtra32 x = {0, 0, 0xFFFFFF, 0xC86432};
    // 8-bit samples in 16-bit fields: high bytes 0, or other decoders refuse them.
    std::vector<SavedChunk> c = ChunksOf(SaveBytes(b, 24, false, &x, true));
    ASSERT_EQ("IHDR tEXt bKGD tRNS IDAT IEND ", Types(c));
    EXPECT_EQ(Bytes({0, 0xC8, 0, 0x64, 0, 0x32}), c[2].data);
    EXPECT_EQ(Bytes({0, 0xC8, 0, 0x64, 0, 0x32}), c[3].data);
    GFXFileDesc d = GFXFileDesc();
    GFXtra32 back = {};
    Buffer loaded;
    ASSERT_TRUE(Png.Load(SaveBytes(b, 24, false, &x, true), loaded, &d, &back));
    EXPECT_EQ(1, d.transparent);
    EXPECT_EQ(0xC86432u, back.colour2);
    // Transparent without the colour: no key to write.
    EXPECT_EQ("IHDR tEXt IDAT IEND ", Types(ChunksOf(SaveBytes(b, 24, false, nullptr, true))));
    // Palette: the background's index, and entry 0 transparent.
    unsigned char palette[768] = {};
    Buffer image;
    MakeIndexImage(image, 5, 2, 4, 1);
    GFXtra32 px = {0, 0, 0, 0x03000000};
    c = ChunksOf(SaveBytes(image, 2, false, &px, true, 4, palette));
    ASSERT_EQ("IHDR tEXt PLTE bKGD tRNS IDAT IEND ", Types(c));
    EXPECT_EQ(Bytes({3}), c[3].data);
    EXPECT_EQ(Bytes({0}), c[4].data);
    c = ChunksOf(SaveBytes(image, 2, false, &px, false, 4, palette));
    EXPECT_EQ("IHDR tEXt PLTE bKGD IDAT IEND ", Types(c));
}

// The filter bytes of a saved file's rows.
Bytes FilterBytes(const Bytes& f, int rows, size_t rowBytes)
{
    const std::vector<SavedChunk> chunks = ChunksOf(f);
    Bytes z;
    for (const SavedChunk& c : chunks)
        if (c.type == "IDAT") z = c.data;
    Bytes chunk;
    PutBig32(chunk, uint32_t(z.size()));
    chunk.insert(chunk.end(), {'I', 'D', 'A', 'T'});
    Append(chunk, z);
    PutBig32(chunk, Crc32(Crc32(0, "IDAT", 4), z.data(), z.size()));
    TMemoryStream m;
    m.Write(chunk.data(), int(chunk.size()));
    m.SetPosition(8);
    std::unique_ptr<Inflater> in(new Inflater(&m, uint32_t(z.size())));
    in->ReadZlibHeader();
    Bytes filters, row(rowBytes);
    for (int r = 0; r < rows; ++r) {
        filters.push_back(in->NextByte());
        in->Read(row.data(), rowBytes);
    }
    in->Finish();
    return filters;
}

TEST(PngSave, FilterChosenPerRow)
{
    // Row 0: one colour (None: all bytes the same, no spread; Up is the
    // same here and loses the tie by its number). Row 1: a ramp (Sub:
    // constant steps). Row 2: noise (None). Row 3: the same noise (Up: all zeros).
    const int width = 40;
    Buffer b;
    b.Alloc(Pair<int>{width, 4});
    std::mt19937 rng(8);
    for (int x = 0; x < width; ++x) {
        *b.At(x, 0) = 0x808080;
        *b.At(x, 1) = 0x010101ul * unsigned(x * 5 % 256);
        *b.At(x, 2) = (rng() & 0x3F3F3F) + 0x202020;
        *b.At(x, 3) = *b.At(x, 2);
    }
    EXPECT_EQ(Bytes({0, 1, 0, 2}), FilterBytes(SaveBytes(b, 24, false), 4, 3 * width));
    // A tie in spread goes to more zeros: a grey row under the same row
    // scores 0 as it is and as Up, which has only zeros. All black ties
    // everywhere and keeps None.
    Buffer flat;
    flat.Alloc(Pair<int>{8, 2});
    flat.Box(Rect{0, 0, 7, 1}, 0x404040);
    EXPECT_EQ(Bytes({0, 2}), FilterBytes(SaveBytes(flat, 24, false), 2, 24));
    flat.Box(Rect{0, 0, 7, 1}, 0);
    EXPECT_EQ(Bytes({0, 0}), FilterBytes(SaveBytes(flat, 24, false), 2, 24));
    // Palette rows are never filtered.
    unsigned char palette[768] = {};
    Buffer image;
    MakeIndexImage(image, 30, 3, 256, 2);
    EXPECT_EQ(Bytes({0, 0, 0}), FilterBytes(SaveBytes(image, 8, false, nullptr, false, 256, palette), 3, 30));
}

TEST(PngSave, EmptyBufferWritesHeadAndEnd)
{
    Buffer b;
    const std::vector<SavedChunk> c = ChunksOf(SaveBytes(b, 24, false));
    EXPECT_EQ("IHDR tEXt IEND ", Types(c));
}

TEST(PngSave, RefusesWhatItCannotWrite)
{
    Buffer b;
    b.Alloc(Pair<int>{2, 2});
    unsigned char palette[768] = {};
    GFXSaveParams p = GFXSaveParams();
    p.paletteData = palette;
    TMemoryStream m;
    TOutputStream out(&m, "t.png");
    for (int bits : {0, 3, 16, 32, -1}) {
        p.bits = static_cast<int8_t>(bits);
        EXPECT_THROW(PNGFormat()->Save(b, &out, nullptr, &p), EInvalidImage) << bits;
    }
    p.bits = 8;
    p.grey = 1;
    EXPECT_THROW(PNGFormat()->Save(b, &out, nullptr, &p), EInvalidImage);
    p.grey = 0;
    p.paletteData = nullptr;
    EXPECT_THROW(PNGFormat()->Save(b, &out, nullptr, &p), EInvalidImage);
    EXPECT_THROW(PNGFormat()->Save(b, &out, nullptr, nullptr), EInvalidImage);
    EXPECT_EQ(0, m.GetSize());
}

TEST(PngSave, CancelStopsTheWriting)
{
    Buffer b;
    b.Alloc(Pair<int>{10, 40});
    b.Box(Rect{0, 0, 9, 39}, 0x123456);
    for (bool interlaced : {false, true}) {
        CancelAt cancel(interlaced ? 30 : 50);
        GFXSaveParams p = GFXSaveParams();
        p.bits = 24;
        p.interlaced = interlaced;
        TMemoryStream m;
        TOutputStream out(&m, "t.png");
        EXPECT_FALSE(PNGFormat()->Save(b, &out, nullptr, &p));
    }
}

// ---- robustness --------------------------------------------------------------

// Damaged versions of valid files: each gives a picture or a library exception.
TEST(PngRobust, MutatedFilesNeverCrash)
{
    std::vector<Bytes> bases;
    std::mt19937 make(9);
    for (int colourType : {0, 2, 3, 4, 6}) {
        const int depth = colourType == 3 ? 2 : colourType == 0 ? 4 : 8;
        Picture p = RandomPicture(13, 6, colourType, depth, make);
        p.interlace = colourType & 1;
        bases.push_back(File(p));
        Buffer b;
        b.Alloc(Pair<int>{11, 7});
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 11; ++x) *b.At(x, y) = make() & 0xFFFFFF;
        bases.push_back(SaveBytes(b, 24, colourType == 2));
    }
    std::mt19937 rng(1234);
    int pictures = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes f = bases[rng() % bases.size()];
        const int edits = 1 + int(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            // Mostly the header and the first chunks, where a change matters most.
            const size_t at = rng() % 3 ? rng() % std::min<size_t>(f.size(), 80) : rng() % f.size();
            f[at] = static_cast<unsigned char>(rng());
        }
        if (rng() % 4 == 0) f.resize(rng() % f.size());
        GFXFileDesc d = GFXFileDesc();
        Png.Test(f, &d);
        Buffer b;
        if (int64_t(d.width) * d.height > 4096 || rng() % 2) b.Alloc(Pair<int>{16, 16});
        GFXtra32 x = {};
        try {
            pictures += Png.Load(f, b, &d, &x);
        } catch (Exception&) {
        }
    }
    // CRCs guard every chunk, so most damage is refused; some must still load.
    EXPECT_GT(pictures, 50);
}

}  // namespace
