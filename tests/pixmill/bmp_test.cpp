// Windows Bitmap files: every depth and header form, run-length data,
// clipping, the exported decoder, the writer, hostile headers and damaged
// files.
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <random>
#include <vector>

#include "bmp_codec.h"
#include "bmpfile.h"
#include "exceptions.h"
#include "format_fixture.h"
#include "formats.h"
#include "gfxfile.h"
#include "gfxstream.h"

namespace {

using format_fixture::Bytes;
using format_fixture::Pixels;
using format_fixture::Put16;
using format_fixture::Put32;
using format_fixture::Read;

const format_fixture::FormatBytes Bmp = {BMPFormat, "t.bmp"};

// A file as a test describes it; Build lays it out.
struct Spec {
    uint32_t headerSize = 40;
    int32_t width = 1;
    int32_t height = 1;
    uint32_t planes = 1;
    uint32_t bits = 24;
    uint32_t compression = BmpNone;
    uint32_t coloursUsed = 0;
    Pixels palette;               // 0xRRGGBB
    std::vector<uint32_t> masks;  // red, green, blue
    Bytes pixels;
    int offsetChange = 0;         // added to the true pixel data offset
};

// Header, masks and colour table.
Bytes Info(const Spec& s)
{
    Bytes b;
    Put32(b, s.headerSize);
    if (s.headerSize == 12) {
        Put16(b, uint32_t(s.width));
        Put16(b, uint32_t(s.height));
        Put16(b, s.planes);
        Put16(b, s.bits);
    } else {
        Put32(b, uint32_t(s.width));
        Put32(b, uint32_t(s.height));
        Put16(b, s.planes);
        Put16(b, s.bits);
        Put32(b, s.compression);
        Put32(b, uint32_t(s.pixels.size()));
        Put32(b, 0);
        Put32(b, 0);
        Put32(b, s.coloursUsed);
        Put32(b, 0);
        Bytes masks;
        for (uint32_t m : s.masks) Put32(masks, m);
        if (s.headerSize > 40) {
            b.resize(s.headerSize, 0);
            std::copy(masks.begin(), masks.end(), b.begin() + 40);
        } else {
            b.insert(b.end(), masks.begin(), masks.end());
        }
    }
    for (unsigned long c : s.palette) {
        b.push_back(static_cast<unsigned char>(c));
        b.push_back(static_cast<unsigned char>(c >> 8));
        b.push_back(static_cast<unsigned char>(c >> 16));
        if (s.headerSize != 12) b.push_back(0);
    }
    return b;
}

Bytes Build(const Spec& s)
{
    Bytes info = Info(s);
    Bytes f = {'B', 'M'};
    Put32(f, uint32_t(14 + info.size() + s.pixels.size()));
    Put32(f, 0);
    Put32(f, uint32_t(int(14 + info.size()) + s.offsetChange));
    f.insert(f.end(), info.begin(), info.end());
    f.insert(f.end(), s.pixels.begin(), s.pixels.end());
    return f;
}

// Palette entries are never black, so pixels left black stand out.
unsigned long Colour(int index)
{
    return 0x800000ul | unsigned(index) * 0x0101u;
}

Pixels Palette(int n)
{
    Pixels p;
    for (int i = 0; i < n; ++i) p.push_back(Colour(i));
    return p;
}

// Expected pixels from indices; -1 stands for black.
Pixels Indexed(std::initializer_list<int> indices)
{
    Pixels p;
    for (int i : indices) p.push_back(i < 0 ? 0 : Colour(i));
    return p;
}

Spec Rle(int width, int height, uint32_t compression, Bytes data)
{
    Spec s;
    s.width = width;
    s.height = height;
    s.bits = compression == BmpRle4 ? 4 : 8;
    s.compression = compression;
    s.palette = Palette(compression == BmpRle4 ? 16 : 256);
    s.pixels = data;
    return s;
}

// The index image the registry hands a palette-depth writer: one byte per
// pixel, rows stride * 4 bytes apart.
void MakeIndexImage(Buffer& b, int width, int height, int colours, unsigned seed)
{
    b.Alloc(Pair<int>{(width + 3) / 4, height});
    b.right = width - 1;
    std::mt19937 rng(seed);
    for (int y = 0; y < height; ++y) {
        unsigned char* row = reinterpret_cast<unsigned char*>(b.At(0, y));
        // Stretches of one value between single ones: runs and literals mixed.
        for (int x = 0; x < width;) {
            int n = 1 + int(rng() % 7);
            unsigned char v = static_cast<unsigned char>(rng() % unsigned(colours));
            for (int k = 0; k < n && x < width; ++k)
                row[x++] = rng() % 3 ? v : static_cast<unsigned char>(rng() % unsigned(colours));
        }
    }
}

Bytes SaveBytes(Buffer& b, int bits, int colours, const unsigned char* palette, const char* name)
{
    GFXSaveParams p = GFXSaveParams();
    p.bits = static_cast<int8_t>(bits);
    p.colours = static_cast<int16_t>(colours);
    p.paletteData = const_cast<unsigned char*>(palette);
    TMemoryStream m;
    TOutputStream out(&m, name);
    EXPECT_TRUE(BMPFormat()->Save(b, &out, nullptr, &p));
    const unsigned char* data = static_cast<const unsigned char*>(m.GetMemory());
    return Bytes(data, data + m.GetSize());
}

uint32_t Get32(const Bytes& f, size_t at)
{
    return f[at] | f[at + 1] << 8 | f[at + 2] << 16 | uint32_t(f[at + 3]) << 24;
}

class CancelAt {
public:
    explicit CancelAt(int percent) : saved_(GFXFile::PrStep) { limit = percent; GFXFile::PrStep = Step; }
    ~CancelAt() { GFXFile::PrStep = saved_; }

private:
    static bool Step(int percent) { return percent < limit; }
    static int limit;
    bool (*saved_)(int);
};
int CancelAt::limit;

}  // namespace

TEST(BmpFormat, DescriptorFields)
{
    GFXFile* f = BMPFormat();
    EXPECT_STREQ("Windows Bitmap", f->name.c_str());
    EXPECT_STREQ("*.BMP;*.RLE", f->masks.c_str());
    EXPECT_EQ(0x800089u, f->colourMask);
    EXPECT_EQ(0, f->greyMask);
    EXPECT_FALSE(f->interlace);
    EXPECT_LE(f->quality, 0);
}

TEST(BmpFormat, TestDescribesAndRestoresPosition)
{
    Spec s;
    s.width = 3;
    s.height = -2;
    s.bits = 8;
    s.palette = Palette(2);
    s.pixels = Bytes(8, 1);
    Bytes file = {'x', 'y'};
    Bytes body = Build(s);
    file.insert(file.end(), body.begin(), body.end());
    TMemoryStream m;
    m.Write(file.data(), int(file.size()));
    m.SetPosition(2);
    TInputStream in(&m, "t.bmp");
    unsigned char palette[768];
    GFXFileDesc d = GFXFileDesc();
    d.width = 99;
    d.paletteData = palette;
    EXPECT_EQ(1, BMPFormat()->Test(&in, &d));
    EXPECT_EQ(2, m.GetPosition());
    EXPECT_EQ(3, d.width);
    EXPECT_EQ(2, d.height);
    EXPECT_EQ(1, d.colour);
    EXPECT_EQ(1, d.palette);
    EXPECT_EQ(8, d.bits);
    EXPECT_EQ(8, d.channelBits);
    EXPECT_EQ(1, d.images);
    EXPECT_EQ(palette, d.paletteData);

    s.bits = 24;
    s.palette.clear();
    EXPECT_EQ(1, Bmp.Test(Build(s), &d));
    EXPECT_EQ(0, d.palette);
}

TEST(BmpFormat, TestAnswersForForeignShortAndUnreadableData)
{
    GFXFileDesc d = GFXFileDesc();
    EXPECT_EQ(0, Bmp.Test(Bytes(), &d));
    EXPECT_EQ(0, Bmp.Test(Bytes{'B'}, &d));
    EXPECT_EQ(0, Bmp.Test(Bytes{'P', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0}, &d));
    EXPECT_EQ(-1, Bmp.Test(Bytes{'B', 'M', 0, 0}, &d));
    EXPECT_EQ(0, d.images);

    Spec jpeg;
    jpeg.compression = 4;
    Spec png;
    png.compression = 5;
    Spec os2Huffman;
    os2Huffman.headerSize = 64;
    os2Huffman.bits = 1;
    os2Huffman.compression = 3;
    Spec oddSize;
    oddSize.headerSize = 20;
    const struct {
        Spec spec;
        const char* reason;
    } cases[] = {
        {jpeg, "BMP: compression not supported (JPEG, PNG or unknown)"},
        {png, "BMP: compression not supported (JPEG, PNG or unknown)"},
        {os2Huffman, "BMP: OS/2 Huffman or RLE24 compression"},
        {oddSize, "BMP: header size neither 12 nor at least 40"},
    };
    for (const auto& c : cases) {
        Bytes f = Build(c.spec);
        d.images = 7;
        EXPECT_EQ(-1, Bmp.Test(f, &d)) << c.reason;
        EXPECT_EQ(0, d.images);
        EXPECT_EQ(c.reason, Bmp.Detail(f));
    }
}

TEST(BmpLoad, PaletteDepths)
{
    Spec s;
    s.palette = Palette(16);
    s.width = 10;
    s.height = 2;
    s.bits = 1;
    s.pixels = {0x80, 0x40, 0, 0, 0xA5, 0xC0, 0, 0};  // bottom row first
    EXPECT_EQ(Indexed({1, 0, 1, 0, 0, 1, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}), Bmp.LoadPixels(Build(s)));
    s.width = 3;
    s.height = 1;
    s.bits = 4;
    s.pixels = {0x1F, 0x70, 0, 0};
    EXPECT_EQ(Indexed({1, 15, 7}), Bmp.LoadPixels(Build(s)));
    s.bits = 8;
    s.pixels = {9, 0, 15, 0};
    EXPECT_EQ(Indexed({9, 0, 15}), Bmp.LoadPixels(Build(s)));
}

TEST(BmpLoad, SixteenBitLayouts)
{
    Spec s;
    s.width = 3;
    s.bits = 16;
    s.pixels = {0xFF, 0xFF, 0x00, 0x7C, 0x1F, 0x00, 0, 0};
    // Bit 15 is no flag in a bitmap.
    EXPECT_EQ((Pixels{0xFFFFFF, 0xFF0000, 0x0000FF}), Bmp.LoadPixels(Build(s)));
    s.compression = BmpBitFields;
    s.masks = {0xF800, 0x7E0, 0x1F};
    s.pixels = {0xFF, 0xFF, 0x00, 0xF8, 0xE0, 0x07, 0, 0};
    EXPECT_EQ((Pixels{0xFFFFFF, 0xFF0000, 0x00FF00}), Bmp.LoadPixels(Build(s)));
}

TEST(BmpLoad, TrueColourLayouts)
{
    Spec s;
    s.width = 2;
    s.height = 2;
    s.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    EXPECT_EQ((Pixels{0x090807, 0x0C0B0A, 0x030201, 0x060504}), Bmp.LoadPixels(Build(s)));

    s.height = 1;
    s.bits = 32;
    s.pixels = {0x33, 0x22, 0x11, 0xFF, 1, 2, 3, 0x80};  // alpha dropped
    EXPECT_EQ((Pixels{0x112233, 0x030201}), Bmp.LoadPixels(Build(s)));
    s.compression = BmpBitFields;
    s.masks = {0xFF, 0xFF00, 0xFF0000};
    EXPECT_EQ((Pixels{0x332211, 0x010203}), Bmp.LoadPixels(Build(s)));
    s.masks = {0xFF000000, 0xFF0000, 0xFF00};
    EXPECT_EQ((Pixels{0xFF1122, 0x800302}), Bmp.LoadPixels(Build(s)));
    // Ten bits a channel: red all ones, green at half, blue 0.
    s.masks = {0x3FF00000, 0xFFC00, 0x3FF};
    s.pixels.clear();
    Put32(s.pixels, 0x3FFu << 20 | 0x200u << 10);
    Put32(s.pixels, 0x3FF);
    EXPECT_EQ((Pixels{0xFF8000, 0x0000FF}), Bmp.LoadPixels(Build(s)));
}

TEST(BmpLoad, TopDownEqualsBottomUp)
{
    Spec up;
    up.width = 2;
    up.height = 2;
    up.bits = 32;
    up.pixels = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0};
    Spec down = up;
    down.height = -2;
    down.pixels = {7, 8, 9, 0, 10, 11, 12, 0, 1, 2, 3, 0, 4, 5, 6, 0};
    EXPECT_EQ(Bmp.LoadPixels(Build(up)), Bmp.LoadPixels(Build(down)));
}

TEST(BmpLoad, HeaderForms)
{
    // Short form: 3-byte colour table entries.
    Spec core;
    core.headerSize = 12;
    core.width = 2;
    core.bits = 8;
    core.palette = {0x102030, 0x405060, 0x708090};
    core.pixels = {2, 1, 0, 0};
    EXPECT_EQ((Pixels{0x708090, 0x405060}), Bmp.LoadPixels(Build(core)));
    core.bits = 24;
    core.palette.clear();
    core.pixels = {1, 2, 3, 4, 5, 6, 0, 0};
    EXPECT_EQ((Pixels{0x030201, 0x060504}), Bmp.LoadPixels(Build(core)));

    // Long headers: the table starts after the whole header, masks sit inside it.
    Spec v5;
    v5.headerSize = 124;
    v5.width = 2;
    v5.bits = 8;
    v5.palette = Palette(4);
    v5.pixels = {3, 1, 0, 0};
    EXPECT_EQ(Indexed({3, 1}), Bmp.LoadPixels(Build(v5)));
    Spec v4;
    v4.headerSize = 108;
    v4.bits = 32;
    v4.compression = BmpBitFields;
    v4.masks = {0xFF, 0xFF00, 0xFF0000};
    v4.pixels = {1, 2, 3, 4};
    EXPECT_EQ(Pixels{0x010203}, Bmp.LoadPixels(Build(v4)));
}

TEST(BmpLoad, ShortColourTableAndPaletteData)
{
    Spec s;
    s.width = 3;
    s.bits = 8;
    s.coloursUsed = 2;
    s.palette = Palette(2);
    s.pixels = {1, 2, 200, 0};
    unsigned char palette[768];
    memset(palette, 0xEE, sizeof palette);
    GFXFileDesc d = GFXFileDesc();
    d.paletteData = palette;
    Buffer b;
    ASSERT_TRUE(Bmp.Load(Build(s), b, &d));
    EXPECT_EQ(Indexed({1, -1, -1}), Read(b));
    EXPECT_EQ(0x80, palette[3]);
    EXPECT_EQ(0x01, palette[4]);
    EXPECT_EQ(0x01, palette[5]);
    for (int i = 6; i < 768; ++i) ASSERT_EQ(0, palette[i]) << i;

    // A count beyond any table is cut to the entries the file holds.
    s.coloursUsed = 100000;
    s.palette = Palette(3);
    s.pixels = {2, 3, 255, 0};
    EXPECT_EQ(Indexed({2, -1, -1}), Bmp.LoadPixels(Build(s)));
}

TEST(BmpHostile, OffsetsOutsideTheFile)
{
    Spec s;
    s.pixels = {1, 2, 3, 0};
    Buffer b;
    s.offsetChange = 1000;
    EXPECT_EQ("BMP: pixel data offset past the end", Bmp.Detail(Build(s), b));
    s.offsetChange = -10;
    EXPECT_EQ("BMP: pixel data offset inside the headers", Bmp.Detail(Build(s), b));
    s.offsetChange = -60;  // before the bitmap header ends, the offset wraps below 0
    EXPECT_EQ("BMP: pixel data offset past the end", Bmp.Detail(Build(s), b));
    // Bit-field masks of a 40-byte header must be there.
    s.offsetChange = 0;
    s.bits = 16;
    s.compression = BmpBitFields;
    EXPECT_EQ("BMP: pixel data offset inside the headers", Bmp.Detail(Build(s), b));
    Spec core;
    core.headerSize = 12;
    core.offsetChange = -1;
    EXPECT_EQ("BMP: pixel data offset inside the headers", Bmp.Detail(Build(core), b));
}

TEST(BmpHostile, UnsupportedHeadersRaiseBeforeReading)
{
    struct Case {
        Spec spec;
        const char* reason;
    };
    std::vector<Case> bad(13);
    bad[0].spec.width = 1 << 16;
    bad[0].spec.height = 1 << 13;  // 2^29 pixels
    bad[11].spec.width = 1 << 16;
    bad[11].spec.height = -(1 << 16);  // 2^32: wraps to 0 in 32 bits
    bad[12].spec.width = INT32_MAX;
    bad[12].spec.height = 2;
    bad[1].spec.height = INT32_MIN;
    bad[0].reason = bad[1].reason = bad[11].reason = bad[12].reason = "BMP: more than 2^28 pixels";
    bad[2].spec.width = 0;
    bad[3].spec.width = -5;
    bad[2].reason = bad[3].reason = "BMP: width not positive";
    bad[4].spec.height = 0;
    bad[4].reason = "BMP: height 0";
    bad[5].spec.planes = 2;
    bad[5].reason = "BMP: planes other than 1";
    bad[6].spec.bits = 2;
    bad[6].reason = "BMP: bit count not 1, 4, 8, 16, 24 or 32";
    bad[7].spec.compression = BmpRle8;  // with 24 bits
    bad[7].reason = "BMP: RLE8 with a bit count other than 8";
    bad[8].spec.bits = 8;
    bad[8].spec.compression = BmpRle4;
    bad[8].reason = "BMP: RLE4 with a bit count other than 4";
    bad[9].spec.compression = BmpBitFields;
    bad[9].spec.masks = {0xFF0000, 0xFF00, 0xFF};
    bad[9].reason = "BMP: bit fields with a bit count other than 16 or 32";
    bad[10].spec.bits = 8;
    bad[10].spec.height = -1;
    bad[10].spec.compression = BmpRle8;
    bad[10].reason = "BMP: run-length data stored top to bottom";
    for (size_t i = 0; i < bad.size(); ++i) {
        Buffer b;
        EXPECT_EQ(bad[i].reason, Bmp.Detail(Build(bad[i].spec), b)) << i;
        EXPECT_EQ(nullptr, b.pixels) << i;
    }
}

// The limit the class library's bitmap reader shares: exactly 2^28 pixels
// pass, one row more does not, whichever way the rows are stored.
TEST(BmpHostile, PixelLimitTakesExactly2To28)
{
    const struct {
        int32_t height;
        bool taken;
    } cases[] = {{1 << 14, true}, {(1 << 14) + 1, false}, {-(1 << 14), true}, {-((1 << 14) + 1), false}};
    BmpInfoHeader h = BmpInfoHeader();
    h.size = BmpLongInfoBytes;
    h.width = 1 << 14;
    h.planes = 1;
    h.bits = 24;
    for (const auto& c : cases) {
        h.height = c.height;
        EXPECT_EQ(c.taken, BmpUnsupported(h) == nullptr) << c.height;
    }
}

TEST(BmpHostile, ShortDataRaisesReadError)
{
    Spec s;
    s.width = 2;
    s.height = 3;
    s.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8};
    Buffer b;
    EXPECT_THROW(Bmp.Load(Build(s), b), EReadError);
    // The rows read so far stay: the bottom one.
    EXPECT_EQ(0x030201ul, *b.At(0, 2));
    EXPECT_EQ(0ul, *b.At(0, 0));
    Buffer r;
    EXPECT_THROW(Bmp.Load(Build(Rle(2, 2, BmpRle8, {2, 1, 1})), r), EReadError);
}

TEST(BmpRle, Rle8RunsLiteralsAndEndOfLine)
{
    // A filled row's own end-of-line is skipped, not taken for an empty row.
    EXPECT_EQ(Indexed({4, 5, 6, 7, 1, 1, 1, 2}),
              Bmp.LoadPixels(Build(Rle(4, 2, BmpRle8, {3, 1, 1, 2, 0, 0, 0, 3, 4, 5, 6, 0, 1, 7, 0, 0, 0, 1}))));
    // End of line in an unfilled row, twice in a row, and an early end.
    EXPECT_EQ(Indexed({-1, -1, -1, -1, 1, 1, 1, 1, -1, -1, -1, -1}),
              Bmp.LoadPixels(Build(Rle(4, 3, BmpRle8, {0, 0, 4, 1, 0, 0, 0, 0, 0, 1}))));
}

TEST(BmpRle, DeltaLeavesSkippedPixelsBlack)
{
    EXPECT_EQ(Indexed({9, 9, 9, 9, -1, -1, 6, 6, 5, -1, -1, -1}),
              Bmp.LoadPixels(Build(Rle(4, 3, BmpRle8, {1, 5, 0, 2, 1, 1, 2, 6, 0, 0, 4, 9, 0, 0, 0, 1}))));
    // A move to the right beyond the row continues on the next one.
    EXPECT_EQ(Indexed({-1, 8, -1, -1, 7, -1, -1, -1}),
              Bmp.LoadPixels(Build(Rle(4, 2, BmpRle8, {1, 7, 0, 2, 4, 0, 1, 8, 0, 1}))));
}

TEST(BmpRle, RunsCrossRows)
{
    EXPECT_EQ(Indexed({4, 4, 4, 4, 2, 2, 3, 3, 2, 2, 2, 2}),
              Bmp.LoadPixels(Build(Rle(4, 3, BmpRle8, {6, 2, 2, 3, 0, 0, 4, 4, 0, 0, 0, 1}))));
    EXPECT_EQ(Indexed({5, 6, 7, 7, 1, 2, 3, 4}), Bmp.LoadPixels(Build(Rle(4, 2, BmpRle8, {0, 6, 1, 2, 3, 4, 5, 6, 2, 7}))));
}

TEST(BmpRle, PaddingCodedPastTheRowEndIsDropped)
{
    // Writers that code whole padded rows: the end of line that follows
    // belongs to the filled row, and what ran over is cleared again.
    EXPECT_EQ(Indexed({5, -1, -1, 1, 1, 1}),
              Bmp.LoadPixels(Build(Rle(3, 2, BmpRle8, {3, 1, 2, 9, 0, 0, 1, 5, 0, 0, 0, 1}))));
    EXPECT_EQ(Indexed({2, 2, 2, 1, 1, 1}), Bmp.LoadPixels(Build(Rle(3, 2, BmpRle8, {4, 1, 0, 0, 3, 2, 0, 0, 0, 1}))));
}

TEST(BmpRle, EverythingStopsAtThePictureEnd)
{
    // No end of bitmap and nothing after the last pixel: complete pictures.
    EXPECT_EQ(Indexed({3, 3, 3, 3}), Bmp.LoadPixels(Build(Rle(2, 2, BmpRle8, {255, 3}))));
    EXPECT_EQ(Indexed({3, 4, 1, 2}), Bmp.LoadPixels(Build(Rle(2, 2, BmpRle8, {0, 9, 1, 2, 3, 4, 5}))));
    EXPECT_EQ(Indexed({-1, -1, 1, -1}), Bmp.LoadPixels(Build(Rle(2, 2, BmpRle8, {1, 1, 0, 2, 200, 255}))));
    EXPECT_EQ(Indexed({1, 2, 1, 2}), Bmp.LoadPixels(Build(Rle(2, 2, BmpRle4, {255, 0x12}))));
}

TEST(BmpRle, Rle4Nibbles)
{
    // Runs alternate their two nibbles; an absolute run of 5 nibbles fills 3
    // bytes and a pad byte.
    EXPECT_EQ(Indexed({8, 9, 10, 11, 12, 3, 4, 5, 6, 7, 1, 2, 1, 2, 1}),
              Bmp.LoadPixels(Build(Rle(5, 3, BmpRle4,
                                {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 2, 0x67, 0, 0,  //
                                 0, 5, 0x89, 0xAB, 0xC0, 0x00, 0, 0, 0, 1}))));
}

TEST(BmpClip, IntoSmallerAndLargerBuffers)
{
    Spec s;
    s.width = 3;
    s.height = 3;
    s.bits = 8;
    s.palette = Palette(16);
    s.pixels = {7, 8, 9, 0, 4, 5, 6, 0, 1, 2, 3, 0};
    Spec down = s;
    down.height = -3;
    down.pixels = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0};
    Spec rle = Rle(3, 3, BmpRle8, {3, 7, 0, 0, 0, 3, 4, 5, 6, 0, 0, 0, 2, 1, 1, 3, 0, 0, 0, 1});
    const Pixels Small = Indexed({1, 2, 4, 5});
    const unsigned long Paint = 0xABCDEF;
    for (const Spec& spec : {s, down}) {
        Buffer b;
        b.Alloc(Pair<int>{2, 2});
        b.Box(Rect{0, 0, 1, 1}, Paint);
        ASSERT_TRUE(Bmp.Load(Build(spec), b));
        EXPECT_EQ(Small, Read(b));
        Buffer big;
        big.Alloc(Pair<int>{4, 4});
        big.Box(Rect{0, 0, 3, 3}, Paint);
        ASSERT_TRUE(Bmp.Load(Build(spec), big));
        EXPECT_EQ(Colour(9), *big.At(2, 2));
        EXPECT_EQ(Paint, *big.At(3, 0));
        EXPECT_EQ(Paint, *big.At(0, 3));
    }
    Buffer b;
    b.Alloc(Pair<int>{2, 2});
    b.Box(Rect{0, 0, 1, 1}, Paint);
    ASSERT_TRUE(Bmp.Load(Build(rle), b));
    EXPECT_EQ(Indexed({1, 1, 4, 5}), Read(b));
}

TEST(BmpLoad, CancelStopsTheLoad)
{
    Spec s;
    s.height = 100;
    s.pixels = Bytes(400, 0x55);
    CancelAt cancel(50);
    Buffer b;
    EXPECT_FALSE(Bmp.Load(Build(s), b));
    EXPECT_EQ(0x555555ul, *b.At(0, 99));
    EXPECT_EQ(0ul, *b.At(0, 0));
}

TEST(BmpExported, DecodesHeaderAndTableInMemory)
{
    // 40 bytes, three colours used of sixteen; index 3 has no entry.
    Spec s;
    s.width = 4;
    s.bits = 4;
    s.coloursUsed = 3;
    s.palette = Palette(3);
    Bytes info = Info(s);
    TMemoryStream pixels;
    const unsigned char row[4] = {0x12, 0x03, 0, 0};
    pixels.Write(row, 4);
    pixels.SetPosition(0);
    unsigned char palette[768] = {};
    GFXFileDesc d = GFXFileDesc();
    d.paletteData = palette;
    Buffer b;
    ASSERT_TRUE(BitmapFromStream(b, reinterpret_cast<BITMAPINFO*>(info.data()), &pixels, &d));
    EXPECT_EQ(Indexed({1, 2, 0, -1}), Read(b));
    EXPECT_EQ(0x80, palette[6]);

    // A converted short form: 36 bytes, then 3-byte entries.
    Bytes converted(36, 0);
    converted[0] = 36;
    converted[4] = 2;   // width
    converted[8] = 1;   // height
    converted[12] = 1;  // planes
    converted[14] = 8;  // bits
    converted[32] = 2;  // colours used
    const unsigned char table[6] = {0x30, 0x20, 0x10, 0x60, 0x50, 0x40};
    converted.insert(converted.end(), table, table + 6);
    pixels.SetPosition(0);
    pixels.Write("\x01\x00\x00\x00", 4);
    pixels.SetPosition(0);
    Buffer c;
    ASSERT_TRUE(BitmapFromStream(c, reinterpret_cast<BITMAPINFO*>(converted.data()), &pixels, nullptr));
    EXPECT_EQ((Pixels{0x405060, 0x102030}), Read(c));

    // Refused before anything is read.
    info[14] = 3;  // bits
    pixels.SetPosition(0);
    Buffer e;
    try {
        BitmapFromStream(e, reinterpret_cast<BITMAPINFO*>(info.data()), &pixels, nullptr);
        ADD_FAILURE() << "a 3-bit header was read";
    } catch (EInvalidImage& x) {
        EXPECT_STREQ("BMP: bit count not 1, 4, 8, 16, 24 or 32", x.Detail.c_str());
    }
    EXPECT_EQ(0, pixels.GetPosition());
}

TEST(BmpSave, PaletteDepthsRoundTrip)
{
    unsigned char palette[768];
    for (int i = 0; i < 768; ++i) palette[i] = static_cast<unsigned char>(i * 7 + 3);
    struct Case {
        int bits;
        const char* name;
        uint32_t compression;
    };
    const Case cases[] = {{1, "a.bmp", BmpNone}, {4, "a.bmp", BmpNone}, {8, "a.BMP", BmpNone},
                          {4, "a.rle", BmpRle4}, {8, "x.Rle", BmpRle8}};
    for (const Case& c : cases) {
        const int colours = c.bits == 1 ? 2 : c.bits == 4 ? 13 : 200;
        for (int width = 1; width <= 33; ++width) {
            SCOPED_TRACE(testing::Message() << c.bits << " bits " << c.name << " width " << width);
            Buffer image;
            MakeIndexImage(image, width, 3, colours, unsigned(width * 31 + c.bits));
            Bytes f = SaveBytes(image, c.bits, colours, palette, c.name);
            const uint32_t offset = 54 + 4 * uint32_t(colours);
            ASSERT_EQ(offset, Get32(f, 10));
            EXPECT_EQ(f.size(), Get32(f, 2));
            EXPECT_EQ(c.compression, Get32(f, 30));
            EXPECT_EQ(f.size() - offset, Get32(f, 34));
            EXPECT_EQ(uint32_t(colours), Get32(f, 46));
            Buffer back;
            ASSERT_TRUE(Bmp.Load(f, back));
            ASSERT_EQ(width, back.Width());
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < width; ++x) {
                    int i = reinterpret_cast<unsigned char*>(image.At(0, y))[x];
                    unsigned long want =
                        (unsigned long)palette[3 * i] << 16 | palette[3 * i + 1] << 8 | palette[3 * i + 2];
                    ASSERT_EQ(want, *back.At(x, y)) << x << "," << y;
                }
        }
    }
}

TEST(BmpSave, TrueColourRoundTrip)
{
    for (int width = 1; width <= 9; ++width) {
        Buffer b;
        b.Alloc(Pair<int>{width, 2});
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < width; ++x) *b.At(x, y) = 0x010203ul * unsigned(x + 1) + unsigned(y) * 0x400000u;
        Pixels want = Read(b);
        *b.At(0, 0) |= 0x5F000000;  // flags are not written
        Bytes f = SaveBytes(b, 24, 0, nullptr, "t.rle");
        EXPECT_EQ(54u, Get32(f, 10));
        EXPECT_EQ(uint32_t(BmpNone), Get32(f, 30));
        EXPECT_EQ(54 + 2 * ((3 * width + 3) & ~3), int(f.size()));
        EXPECT_EQ(want, Bmp.LoadPixels(f)) << width;
    }
}

TEST(BmpSave, RunLengthCoding)
{
    unsigned char code[256];
    const unsigned char row8[] = {5, 5, 5, 1, 2, 3, 9, 9, 4};
    const Bytes want8 = {3, 5, 0, 3, 1, 2, 3, 0, 2, 9, 1, 4, 0, 0};
    size_t n = BmpEncodeRleRow(row8, 9, false, code);
    EXPECT_EQ(want8, Bytes(code, code + n));
    // Odd literal stretches end in a short run rather than an odd absolute run.
    const unsigned char row4[] = {1, 2, 3, 4, 5, 7, 7, 7, 7, 6, 6};
    const Bytes want4 = {0, 4, 0x12, 0x34, 1, 0x50, 4, 0x77, 2, 0x66, 0, 0};
    n = BmpEncodeRleRow(row4, 11, true, code);
    EXPECT_EQ(want4, Bytes(code, code + n));
    // Long literal stretches are cut at the count a byte holds.
    std::vector<unsigned char> ramp(600);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<unsigned char>(i);
    std::vector<unsigned char> big(BmpRleRowRoom(600));
    n = BmpEncodeRleRow(ramp.data(), 600, false, big.data());
    ASSERT_LE(n, big.size());
    EXPECT_EQ(255, big[1]);
    EXPECT_EQ(255, big[2 + 255 + 1 + 1]);
}

TEST(BmpSave, RefusesWhatItCannotWrite)
{
    Buffer b;
    b.Alloc(Pair<int>{2, 2});
    unsigned char palette[768] = {};
    GFXSaveParams p = GFXSaveParams();
    p.paletteData = palette;
    TMemoryStream m;
    TOutputStream out(&m, "t.bmp");
    for (int bits : {2, 16, 32}) {
        p.bits = static_cast<int8_t>(bits);
        EXPECT_THROW(BMPFormat()->Save(b, &out, nullptr, &p), EInvalidImage) << bits;
    }
    p.bits = 8;
    p.grey = 1;
    EXPECT_THROW(BMPFormat()->Save(b, &out, nullptr, &p), EInvalidImage);
    p.grey = 0;
    Buffer empty;
    EXPECT_THROW(BMPFormat()->Save(empty, &out, nullptr, &p), EInvalidImage);
    EXPECT_EQ(0, m.GetSize());

    CancelAt cancel(1);
    p.bits = 24;
    EXPECT_FALSE(BMPFormat()->Save(b, &out, nullptr, &p));
}

// Damaged versions of valid files: each gives a picture or a library exception.
TEST(BmpRobust, MutatedFilesNeverCrash)
{
    std::vector<Bytes> bases;
    unsigned char palette[768];
    for (int i = 0; i < 768; ++i) palette[i] = static_cast<unsigned char>(i);
    for (int bits : {1, 4, 8}) {
        Buffer image;
        MakeIndexImage(image, 13, 5, 1 << bits, unsigned(bits));
        bases.push_back(SaveBytes(image, bits, 1 << bits, palette, "r.bmp"));
        if (bits > 1) bases.push_back(SaveBytes(image, bits, 1 << bits, palette, "r.rle"));
    }
    Spec s;
    s.width = 5;
    s.height = -3;
    s.bits = 16;
    s.compression = BmpBitFields;
    s.masks = {0xF800, 0x7E0, 0x1F};
    s.pixels = Bytes(36, 0x5A);
    bases.push_back(Build(s));
    s.bits = 32;
    s.headerSize = 108;
    s.masks = {0xFF00, 0xFF0000, 0xFF000000};
    s.pixels = Bytes(60, 0xA5);
    bases.push_back(Build(s));
    Spec core;
    core.headerSize = 12;
    core.width = 3;
    core.height = 2;
    core.bits = 8;
    core.palette = Palette(4);
    core.pixels = Bytes(8, 2);
    bases.push_back(Build(core));

    std::mt19937 rng(1234);
    int pictures = 0;
    for (int round = 0; round < 4000; ++round) {
        Bytes f = bases[rng() % bases.size()];
        int edits = 1 + int(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            // Mostly the headers, where a change matters most.
            size_t at = rng() % 3 ? rng() % std::min<size_t>(f.size(), 70) : rng() % f.size();
            f[at] = static_cast<unsigned char>(rng());
        }
        if (rng() % 4 == 0) f.resize(rng() % f.size());
        GFXFileDesc d = GFXFileDesc();
        Bmp.Test(f, &d);
        // Large pictures go into a small buffer so as not to allocate them.
        Buffer b;
        if (int64_t(d.width) * d.height > 4096 || rng() % 2) b.Alloc(Pair<int>{16, 16});
        try {
            pictures += Bmp.Load(f, b);
        } catch (Exception&) {
        }
    }
    EXPECT_GT(pictures, 100);
}
