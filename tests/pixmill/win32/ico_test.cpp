// Icons: files made here with 1-, 4-, 8-, 24- and 32-bit images and a PNG
// image, single and multi-size, rendered at the chosen image's size; damaged
// files are refused, never a crash.
#include <gtest/gtest.h>
#include <windows.h>

#include "buffer.h"
#include "crc32.h"
#include "exceptions.h"
#include "gfxfile.h"
#include "platform_fixture.h"

GFXFile* ICOFormat();

namespace {

using format_fixture::Bytes;
using format_fixture::MemorySource;
using format_fixture::PutBig32;
using namespace platform_fixture;

const unsigned long White = 0xFFFFFF;

// The picture every icon image shows: colour(x, y), transparent where
// hole(x, y). Icon writers store black colour bits under the mask's holes
// (the screen is XORed with them), so holes show what was below: white.
struct IconPicture {
    int size;
    unsigned long (*colour)(int x, int y);
    bool hole(int x, int y) const { return x < 4 && y < 4; }
};

unsigned long Eight(int x, int y) { return (x / 8 + y / 8) % 2 ? 0xC02040 : 0x10E0A0; }
// Black and one colour, for 1-bit images.
unsigned long Mono(int x, int y) { return (x / 8 + y / 8) % 2 ? 0xC02040 : 0x000000; }
unsigned long Deep(int x, int y) { return unsigned(x * 8) << 16 | unsigned(y * 8) << 8 | 0x5A; }

// Palette depths use a table of the colours the picture needs.
Bytes BmpImage(const IconPicture& pic, int bits)
{
    int n = pic.size;
    Bytes out;
    Put32(out, 40);
    Put32(out, unsigned(n));
    Put32(out, unsigned(2 * n));
    Put16(out, 1);
    Put16(out, unsigned(bits));
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    std::vector<unsigned long> table;
    if (bits <= 8) {
        table.assign(size_t(1) << bits, 0);
        table[1] = 0xC02040;
        if (bits > 1) table[2] = 0x10E0A0;
        for (unsigned long c : table) Put32(out, unsigned(c));
    }
    int stride = (n * bits + 31) / 32 * 4;
    for (int y = n - 1; y >= 0; --y) {
        Bytes row(size_t(stride), 0);
        for (int x = 0; x < n; ++x) {
            unsigned long c = pic.hole(x, y) ? 0 : pic.colour(x, y);
            if (bits == 32) {
                unsigned alpha = pic.hole(x, y) ? 0 : 255;
                Set32(row, size_t(4 * x), unsigned(c) | alpha << 24);
            } else if (bits == 24) {
                row[3 * x] = (unsigned char)c;
                row[3 * x + 1] = (unsigned char)(c >> 8);
                row[3 * x + 2] = (unsigned char)(c >> 16);
            } else {
                unsigned index = c == 0 ? 0 : c == table[1] ? 1 : 2;
                int bit = x * bits;
                row[bit / 8] |= (unsigned char)(index << (8 - bits - bit % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    int maskStride = (n + 31) / 32 * 4;
    for (int y = n - 1; y >= 0; --y) {
        Bytes row(size_t(maskStride), 0);
        for (int x = 0; x < n; ++x)
            if (pic.hole(x, y)) row[x / 8] |= (unsigned char)(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

void PngChunk(Bytes& out, const char* type, const Bytes& data)
{
    PutBig32(out, uint32_t(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBig32(out, Crc32(0, body.data(), body.size()));
}

// A PNG image of 8-bit RGBA (what icon writers store), holes transparent;
// the zlib stream holds stored blocks, so no compressor is needed.
Bytes PngImage(const IconPicture& pic)
{
    Bytes raw;
    for (int y = 0; y < pic.size; ++y) {
        raw.push_back(0);
        for (int x = 0; x < pic.size; ++x) {
            unsigned long c = pic.colour(x, y);
            raw.push_back((unsigned char)(c >> 16));
            raw.push_back((unsigned char)(c >> 8));
            raw.push_back((unsigned char)c);
            raw.push_back(pic.hole(x, y) ? 0 : 255);
        }
    }
    Bytes z = {0x78, 0x01};
    for (size_t at = 0; at < raw.size(); at += 65535) {
        size_t n = std::min<size_t>(65535, raw.size() - at);
        z.push_back(at + n == raw.size() ? 1 : 0);
        Put16(z, unsigned(n));
        Put16(z, unsigned(~n & 0xFFFF));
        z.insert(z.end(), raw.begin() + long(at), raw.begin() + long(at + n));
    }
    PutBig32(z, Adler32(1, raw.data(), raw.size()));
    Bytes header;
    PutBig32(header, uint32_t(pic.size));
    PutBig32(header, uint32_t(pic.size));
    header.insert(header.end(), {8, 6, 0, 0, 0});
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PngChunk(out, "IHDR", header);
    PngChunk(out, "IDAT", z);
    PngChunk(out, "IEND", Bytes());
    return out;
}

struct Entry {
    int size, bits;
    Bytes data;
};

Bytes IconFile(const std::vector<Entry>& entries)
{
    Bytes out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, unsigned(entries.size()));
    unsigned offset = unsigned(6 + 16 * entries.size());
    for (const Entry& e : entries) {
        out.push_back((unsigned char)(e.size & 0xFF));
        out.push_back((unsigned char)(e.size & 0xFF));
        out.push_back(e.bits <= 8 ? (unsigned char)(1 << e.bits) : 0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, unsigned(e.bits));
        Put32(out, unsigned(e.data.size()));
        Put32(out, offset);
        offset += unsigned(e.data.size());
    }
    for (const Entry& e : entries) out.insert(out.end(), e.data.begin(), e.data.end());
    return out;
}

Bytes SingleIcon(const IconPicture& pic, int bits)
{
    return IconFile({{pic.size, bits, bits ? BmpImage(pic, bits) : PngImage(pic)}});
}

const format_fixture::FormatBytes Ico = {ICOFormat, "x.ico"};

void ExpectIcon(const IconPicture& pic, Buffer& b, bool holes)
{
    ASSERT_EQ(pic.size, b.Width());
    ASSERT_EQ(pic.size, b.Height());
    for (int y = 0; y < pic.size; ++y)
        for (int x = 0; x < pic.size; ++x) {
            unsigned long expected = holes && pic.hole(x, y) ? White : pic.colour(x, y);
            ASSERT_EQ(expected, *b.At(x, y)) << "at " << x << ", " << y;
        }
}

}  // namespace

TEST(ICORead, EveryImageDepthLoadsWithOpaquePixelsExactAndHolesWhite)
{
    IconPicture mono = {32, Mono};
    Buffer b1;
    ASSERT_TRUE(Ico.Load(SingleIcon(mono, 1), b1));
    ExpectIcon(mono, b1, true);
    IconPicture three = {32, Eight};
    for (int bits : {4, 8}) {
        Buffer b;
        ASSERT_TRUE(Ico.Load(SingleIcon(three, bits), b)) << bits;
        ExpectIcon(three, b, true);
    }
    IconPicture deep = {32, Deep};
    for (int bits : {24, 32}) {
        Buffer b;
        ASSERT_TRUE(Ico.Load(SingleIcon(deep, bits), b)) << bits;
        ExpectIcon(deep, b, true);
    }
}

TEST(ICORead, PngImageLoads)
{
    IconPicture deep = {32, Deep};
    Buffer b;
    ASSERT_TRUE(Ico.Load(SingleIcon(deep, 0), b));
    ExpectIcon(deep, b, true);
}

TEST(ICORead, TestDescribesTheImageTheReaderPicks)
{
    // 16, 32 and 48 pixels, each its own colour: the system size, 32, wins.
    auto flat16 = [](int, int) -> unsigned long { return 0x112233; };
    auto flat32 = [](int, int) -> unsigned long { return 0x445566; };
    auto flat48 = [](int, int) -> unsigned long { return 0x778899; };
    Bytes file = IconFile({{16, 24, BmpImage({16, flat16}, 24)},
                           {48, 24, BmpImage({48, flat48}, 24)},
                           {32, 24, BmpImage({32, flat32}, 24)}});
    GFXFileDesc d = {};
    unsigned char palette[768];
    d.paletteData = palette;
    EXPECT_EQ(1, Ico.Test(file, &d));
    EXPECT_EQ(32, d.width);
    EXPECT_EQ(32, d.height);
    EXPECT_EQ(1, d.colour);
    EXPECT_EQ(1, d.palette);
    EXPECT_EQ(8, d.bits);
    EXPECT_EQ(1, d.images);
    EXPECT_EQ(palette, d.paletteData);
    Buffer b;
    ASSERT_TRUE(Ico.Load(file, b));
    ASSERT_EQ(31, b.right);
    EXPECT_EQ(0x445566u, *b.At(20, 20));
}

TEST(ICORead, ExistingBufferReceivesTheTopLeftPart)
{
    IconPicture deep = {32, Deep};
    Buffer small;
    small.Alloc({20, 10});
    ASSERT_TRUE(Ico.Load(SingleIcon(deep, 24), small));
    for (int y = 0; y < 10; ++y)
        for (int x = 4; x < 20; ++x) ASSERT_EQ(Deep(x, y), *small.At(x, y));
}

TEST(ICORead, CancelAtHalfWayReturnsFalse)
{
    CancelFrom hooks(50);
    Buffer b;
    EXPECT_FALSE(Ico.Load(SingleIcon({32, Deep}, 24), b));
    EXPECT_EQ(1, CancelFrom::steps);
}

TEST(ICOWrite, SavingAsIconIsRefusedBeforeAFileExists)
{
    TempFolder dir("ico");
    Buffer b;
    b.Alloc({4, 4});
    b.Box(Rect{0, 0, 3, 3}, 0);
    GFXSaveParams p = {};
    p.format = ICOFormat();
    EXPECT_THROW(GFXFile::Save(b, AnsiString(dir("out.ico").c_str()), nullptr, &p), EInvalidImage);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(dir("out.ico").c_str()));
}

TEST(ICODamage, BrokenFilesAreRefused)
{
    Bytes good = SingleIcon({32, Deep}, 24);
    EXPECT_EQ(1, Ico.Test(good));
    Buffer b;

    Bytes huge = good;
    Set32(huge, 6 + 8, 0x7FFFFFF0);  // bytes of the image
    EXPECT_EQ(0, Ico.Test(huge));
    EXPECT_EQ("ICO: icon image outside the file", Ico.Detail(huge));

    Bytes wide = good;
    Set32(wide, 22 + 4, 100000);  // the image header's width
    EXPECT_EQ("ICO: icon image size", Ico.Detail(wide));

    Bytes cut(good.begin(), good.begin() + 200);
    EXPECT_EQ(0, Ico.Test(cut));
    EXPECT_EQ("ICO: icon image outside the file", Ico.Detail(cut));

    Bytes none = good;
    none[4] = 0;
    EXPECT_EQ(0, Ico.Test(none));
    EXPECT_EQ(0, Ico.Test(Bytes{0, 0, 1}));
    EXPECT_EQ(0, Ico.Test(Bytes{0, 0, 2, 0, 1, 0}));  // a cursor
}

TEST(ICODamage, MutatedFilesLoadOrRaiseNeverCrash)
{
    Bytes sources[3] = {SingleIcon({32, Eight}, 4), SingleIcon({32, Deep}, 32), SingleIcon({16, Deep}, 0)};
    Mutator m(424242);
    int answered = 0;
    for (int i = 0; i < 900; ++i) {
        Bytes bad = m.Damage(sources[i % 3]);
        try {
            Buffer b;
            Ico.Test(bad);
            Ico.Load(bad, b);
        } catch (Exception&) {
        }
        ++answered;
    }
    EXPECT_EQ(900, answered);
}
