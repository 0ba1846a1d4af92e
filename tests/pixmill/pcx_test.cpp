// PCX: run-length lines, header rules, every readable plane layout, the
// trailing palette, clipping, what the writer makes, and damaged files.
#include <gtest/gtest.h>

#include <string.h>

#include <random>
#include <string>
#include <vector>

#include "exceptions.h"
#include "gfxfile.h"
#include "pcx_rle.h"
#include "streams.h"

#include "format_fixture.h"

#include "formats.h"

namespace {

using format_fixture::Bytes;
using format_fixture::Cat;
using format_fixture::Pixels;
using format_fixture::Read;
using format_fixture::RefusalOf;

void Put(Bytes& b, std::initializer_list<int> v)
{
    for (int x : v) b.push_back(static_cast<unsigned char>(x));
}

struct Head {
    int bits, planes, width, height, bytesPerLine;
    int x = 0, y = 0, encoding = 1, paletteInfo = 1, manufacturer = 10;
    Bytes palette = {};  // header palette bytes from offset 16
};

Bytes Header(const Head& h)
{
    Bytes b(128, 0);
    b[0] = static_cast<unsigned char>(h.manufacturer);
    b[1] = 5;
    b[2] = static_cast<unsigned char>(h.encoding);
    b[3] = static_cast<unsigned char>(h.bits);
    int field[] = {h.x, h.y, h.x + h.width - 1, h.y + h.height - 1, 72, 72};
    for (int i = 0; i < 6; ++i) b[4 + 2 * i] = static_cast<unsigned char>(field[i]), b[5 + 2 * i] = field[i] >> 8 & 255;
    for (size_t i = 0; i < h.palette.size() && i < 48; ++i) b[16 + i] = h.palette[i];
    b[65] = static_cast<unsigned char>(h.planes);
    b[66] = h.bytesPerLine & 255, b[67] = static_cast<unsigned char>(h.bytesPerLine >> 8);
    b[68] = static_cast<unsigned char>(h.paletteInfo);
    return b;
}

// Marker 12 and 256 colours, entry i = (i, 255 - i, i * 3).
Bytes Trailer(int marker = 12)
{
    Bytes b = {static_cast<unsigned char>(marker)};
    for (int i = 0; i < 256; ++i) Put(b, {i, 255 - i, i * 3 & 255});
    return b;
}

unsigned long TrailerColour(int i) { return (unsigned long)i << 16 | (255 - i) << 8 | (i * 3 & 255); }

// Lines coded as plain bytes (values below 192) or, at 192 and above, as runs of one.
Bytes Plain(const Bytes& raw)
{
    Bytes b;
    for (unsigned char c : raw) {
        if (c >= 192) b.push_back(0xC1);
        b.push_back(c);
    }
    return b;
}

const format_fixture::FormatBytes Files{PCXFormat, "t.pcx"};

bool Load(const Bytes& bytes, Buffer& b, GFXFileDesc* d = nullptr, GFXtra32* x = nullptr)
{
    return Files.Load(bytes, b, d, x);
}

Pixels LoadPixels(const Bytes& bytes) { return Files.LoadPixels(bytes); }

int TestOf(const Bytes& bytes, GFXFileDesc* d = nullptr, int start = 0) { return Files.Test(bytes, d, start); }

std::string DetailOf(const Bytes& bytes) { return Files.Detail(bytes); }

Bytes Decode(const Bytes& coded, int n)
{
    TMemoryStream mem;
    mem.Write(coded.data(), int(coded.size()));
    mem.SetPosition(0);
    StreamBuf in(&mem, 3);
    Bytes out(size_t(n), 0xEE);
    PcxDecodeRow(in, out.data(), n);
    return out;
}

Bytes Encode(const Bytes& line)
{
    Bytes out(PcxCodedRoom(int(line.size())) + 1, 0xEE);
    out.resize(PcxEncodeLine(line.data(), int(line.size()), out.data()));
    return out;
}

TEST(PCXRle, RunsFillTheRowAndStopAtItsEnd)
{
    EXPECT_EQ(Decode({0xC3, 7, 1, 0xC0, 9, 0xC1, 0xC8}, 5), Bytes({7, 7, 7, 1, 200}));
    // Runs may cross plane lines inside a row, never the row end.
    EXPECT_EQ(Decode({0xC4, 5, 0xC2, 6}, 6), Bytes({5, 5, 5, 5, 6, 6}));
    EXPECT_EQ("PCX: run past the end of a row", RefusalOf([] { Decode({0xC4, 5, 0xC3, 6}, 6); }));
    EXPECT_EQ("PCX: run past the end of a row", RefusalOf([] { Decode({0xFF, 1}, 62); }));
    EXPECT_THROW(Decode({1, 2, 0xC2}, 4), EReadError);
}

TEST(PCXRle, EncoderCutsLongRunsAndKeepsShortOnesPlain)
{
    EXPECT_EQ(Encode(Bytes(130, 9)), Bytes({0xFF, 9, 0xFF, 9, 0xC4, 9}));
    EXPECT_EQ(Encode(Bytes(63, 9)), Bytes({0xFF, 9}));
    EXPECT_EQ(Encode(Bytes(64, 9)), Bytes({0xFF, 9, 9}));
    EXPECT_EQ(Encode(Bytes(65, 9)), Bytes({0xFF, 9, 9, 9}));
    EXPECT_EQ(Encode({200}), Bytes({0xC1, 200}));
    EXPECT_EQ(Encode({191, 191, 4, 192, 192, 5, 5, 5}), Bytes({191, 191, 4, 0xC2, 192, 0xC3, 5}));
    EXPECT_EQ(Encode(Bytes(127, 255)), Bytes({0xFF, 255, 0xFF, 255, 0xC1, 255}));
    EXPECT_EQ(Encode({}), Bytes());
    Bytes noise;
    std::mt19937 rng(110);
    for (int i = 0; i < 3000; ++i) noise.push_back(static_cast<unsigned char>(rng() % 7 < 3 ? 200 : rng()));
    EXPECT_EQ(Decode(Encode(noise), int(noise.size())), noise);
}

TEST(PCXTest, ReadableCombinationsAndTheirDescription)
{
    GFXFileDesc d = {};
    EXPECT_EQ(TestOf(Header({8, 1, 300, 200, 300}), &d), 1);
    EXPECT_EQ(d.width, 300);
    EXPECT_EQ(d.height, 200);
    EXPECT_EQ(d.palette, 1);
    EXPECT_EQ(d.colour, 1);
    EXPECT_EQ(d.bits, 8);
    EXPECT_EQ(d.channelBits, 8);
    EXPECT_EQ(d.images, 1);

    EXPECT_EQ(TestOf(Header({8, 3, 5, 3, 5}), &d), 1);
    EXPECT_EQ(d.bits, 24);
    EXPECT_EQ(d.palette, 0);
    EXPECT_EQ(d.colour, 1);

    Head ega{1, 4, 17, 2, 3};
    ega.x = 100, ega.y = 50;
    EXPECT_EQ(TestOf(Header(ega), &d), 1);
    EXPECT_EQ(d.width, 17);
    EXPECT_EQ(d.bits, 4);
    EXPECT_EQ(d.palette, 1);

    Head grey{8, 1, 4, 4, 4};
    grey.paletteInfo = 2;
    EXPECT_EQ(TestOf(Header(grey), &d), 1);
    EXPECT_EQ(d.colour | d.palette << 1, 2);
    Head greyTrue{8, 3, 4, 4, 4};
    greyTrue.paletteInfo = 2;  // not a palette picture: stays colour
    EXPECT_EQ(TestOf(Header(greyTrue), &d), 1);
    EXPECT_EQ(d.colour, 1);

    // The stream need not start at 0.
    EXPECT_EQ(TestOf(Cat(Bytes(3, 0), Header({1, 1, 8, 1, 1})), &d, 3), 1);
}

TEST(PCXTest, UnreadableHeadersAnswerMinusOneAndLoadRefuses)
{
    Head cga{2, 1, 8, 8, 2}, packed{4, 1, 8, 8, 4}, five{1, 5, 8, 8, 1}, two{8, 2, 8, 8, 8};
    Head stored{8, 1, 8, 8, 8}, narrow{8, 3, 9, 1, 8}, narrowBits{1, 1, 17, 1, 2};
    stored.encoding = 0;
    Bytes inverted = Header({8, 1, 8, 8, 8});
    inverted[4] = 6, inverted[8] = 5;  // xmax 5 below xmin 6
    std::vector<Bytes> files;
    for (const Head& h : {cga, packed, five, two, stored, narrow, narrowBits}) files.push_back(Header(h));
    files.push_back(inverted);
    for (size_t i = 0; i < files.size(); ++i) {
        Bytes b = Cat(files[i], Bytes(1000, 0));
        GFXFileDesc d = {};
        d.images = 5;
        EXPECT_EQ(TestOf(b, &d), -1) << i;
        EXPECT_EQ(d.images, 0) << i;
        EXPECT_EQ(DetailOf(b).compare(0, 5, "PCX: "), 0) << i;
    }
    GFXFileDesc d = {};
    TestOf(Header(packed), &d);
    EXPECT_EQ(d.bits, 4);
    EXPECT_EQ(d.width, 8);
}

TEST(PCXTest, OtherDataIsNotPcx)
{
    Head other{8, 1, 4, 4, 4};
    other.manufacturer = 'B';
    GFXFileDesc d = {};
    d.width = 77;
    EXPECT_EQ(TestOf(Header(other), &d), 0);
    EXPECT_EQ(d.width, 77);
    EXPECT_EQ(DetailOf(Cat(Header(other), Bytes(900, 0))), "PCX: manufacturer byte not 10");
    Bytes header = Header({8, 1, 4, 4, 4});
    EXPECT_EQ(TestOf(Bytes(header.begin(), header.end() - 1)), 0);  // too short for a header
    EXPECT_EQ(TestOf(Bytes()), 0);
}

TEST(PCXLoad, EightBitsThroughTheTrailingPalette)
{
    Bytes rows = {0, 1, 2, 0xC1, 255, 0, 0xC3, 200};  // 3 x 2, lines of 4 bytes
    Bytes f = Cat(Cat(Header({8, 1, 3, 2, 4}), rows), Trailer());
    unsigned char pal[768];
    memset(pal, 0xAB, sizeof pal);
    GFXFileDesc d = {};
    d.paletteData = pal;
    Buffer b;
    ASSERT_TRUE(Load(f, b, &d));
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(Read(b), Pixels({TrailerColour(0), TrailerColour(1), TrailerColour(2), TrailerColour(0),
                               TrailerColour(200), TrailerColour(200)}));
    Bytes t = Trailer();
    EXPECT_EQ(Bytes(pal, pal + 768), Bytes(t.begin() + 1, t.end()));

    Bytes wrong = Cat(Cat(Header({8, 1, 3, 2, 4}), rows), Trailer(10));
    EXPECT_EQ(DetailOf(wrong), "PCX: 256-colour palette marker not 12");
    // Shorter than a header and a palette: the palette cannot be there.
    EXPECT_EQ(DetailOf(Cat(Header({8, 1, 1, 1, 1}), Bytes(700, 12))), "PCX: no room for the 256-colour palette");
}

TEST(PCXLoad, TrailingPaletteOfAStreamThatDoesNotStartAtZero)
{
    Bytes f = Cat(Bytes(9, 0x55), Cat(Cat(Header({8, 1, 2, 1, 2}), Plain({5, 6})), Trailer()));
    format_fixture::MemorySource s(f, "t.pcx", 9);
    Buffer b;
    ASSERT_TRUE(PCXFormat()->Load(b, &s.in, nullptr, nullptr, 0));
    EXPECT_EQ(Read(b), Pixels({TrailerColour(5), TrailerColour(6)}));
}

TEST(PCXLoad, TwentyFourBitsOfOddWidth)
{
    // 3 x 2; each row R, G, B lines of 3 bytes, a run crossing from R into G.
    Bytes rows = {0xC4, 10, 20, 30, 40, 50, 60, 70, 71, 72, 0xC3, 200, 1, 2, 3};
    Bytes f = Cat(Header({8, 3, 3, 2, 3}), rows);
    EXPECT_EQ(LoadPixels(f), Pixels({0x0A0A28ul, 0x0A1432ul, 0x0A1E3Cul, 0x46C801ul, 0x47C802ul, 0x48C803ul}));
}

Bytes Palette16()
{
    Bytes p;
    for (int i = 0; i < 16; ++i) Put(p, {i * 16, 100 + i, 255 - i});
    return p;
}

unsigned long Colour16(int i) { return (unsigned long)(i * 16) << 16 | (100 + i) << 8 | (255 - i); }

TEST(PCXLoad, BitPlanesMakeIndicesThroughTheHeaderPalette)
{
    // 10 x 1, 4 planes of 2 bytes: pixel i has index i (i < 10).
    Bytes planes(8, 0);
    for (int i = 0; i < 10; ++i)
        for (int k = 0; k < 4; ++k)
            if (i >> k & 1) planes[size_t(2 * k + i / 8)] |= static_cast<unsigned char>(0x80 >> (i % 8));
    Head h{1, 4, 10, 1, 2};
    h.palette = Palette16();
    unsigned char pal[768];
    memset(pal, 0xAB, sizeof pal);
    GFXFileDesc d = {};
    d.paletteData = pal;
    Buffer b;
    ASSERT_TRUE(Load(Cat(Header(h), Plain(planes)), b, &d));
    Pixels want;
    for (int i = 0; i < 10; ++i) want.push_back(Colour16(i));
    EXPECT_EQ(Read(b), want);
    EXPECT_EQ(Bytes(pal, pal + 48), Palette16());
    EXPECT_EQ(pal[48], 0xAB);

    // Two planes: four colours.
    Head two{1, 2, 4, 1, 1};
    two.palette = Palette16();
    EXPECT_EQ(LoadPixels(Cat(Header(two), Bytes({0x50, 0x30}))),
              Pixels({Colour16(0), Colour16(1), Colour16(2), Colour16(3)}));
}

TEST(PCXLoad, MonoWithoutTwoColoursIsBlackAndWhite)
{
    Head mono{1, 1, 3, 1, 1};
    Bytes row = {0x40};
    EXPECT_EQ(LoadPixels(Cat(Header(mono), row)), Pixels({0, 0xFFFFFFul, 0}));  // all-zero palette
    mono.palette = Bytes(24, 0);
    mono.palette.resize(48, 255);  // black twice, then white
    unsigned char pal[768] = {};
    GFXFileDesc d = {};
    d.paletteData = pal;
    Buffer b;
    ASSERT_TRUE(Load(Cat(Header(mono), row), b, &d));
    EXPECT_EQ(Read(b), Pixels({0, 0xFFFFFFul, 0}));
    EXPECT_EQ(Bytes(pal, pal + 6), Bytes({0, 0, 0, 255, 255, 255}));
    // Other colours stay, even when equal; so does black in several planes.
    mono.palette = {10, 20, 30, 40, 50, 60};
    EXPECT_EQ(LoadPixels(Cat(Header(mono), row)), Pixels({0x0A141Eul, 0x28323Cul, 0x0A141Eul}));
    mono.palette = {10, 20, 30, 10, 20, 30};
    EXPECT_EQ(LoadPixels(Cat(Header(mono), row)), Pixels(3, 0x0A141Eul));
    Head two{1, 2, 2, 1, 1};
    EXPECT_EQ(LoadPixels(Cat(Header(two), Bytes({0x80, 0x40}))), Pixels({0, 0}));
}

TEST(PCXLoad, ClippedToTheBufferAndClearedInside)
{
    // 4 x 3 at 8 bits: value 10 * row + column.
    Bytes rows;
    for (int y = 0; y < 3; ++y) Put(rows, {10 * y, 10 * y + 1, 10 * y + 2, 10 * y + 3});
    Bytes f = Cat(Cat(Header({8, 1, 4, 3, 4}), rows), Trailer());
    Buffer small;
    small.Alloc({3, 2});
    ASSERT_TRUE(Load(f, small));
    EXPECT_EQ(Read(small), Pixels({TrailerColour(0), TrailerColour(1), TrailerColour(2), TrailerColour(10),
                                   TrailerColour(11), TrailerColour(12)}));
    Buffer big;
    big.Alloc({6, 5});
    big.Box(Rect{0, 0, 5, 4}, 0x777777);
    ASSERT_TRUE(Load(f, big));
    EXPECT_EQ(*big.At(3, 2), TrailerColour(23));
    EXPECT_EQ(*big.At(4, 2), 0x777777ul);
    EXPECT_EQ(*big.At(0, 3), 0x777777ul);

    // Bit planes and 24 bits clip the same way.
    Head h{1, 4, 10, 1, 2};
    h.palette = Palette16();
    Buffer part;
    part.Alloc({9, 1});
    ASSERT_TRUE(Load(Cat(Header(h), Bytes({0xC8, 0xFF})), part));
    EXPECT_EQ(Read(part), Pixels(9, Colour16(15)));
    Buffer one;
    one.Alloc({1, 1});
    ASSERT_TRUE(Load(Cat(Header({8, 3, 3, 2, 3}), Bytes({0xC4, 10, 20, 30, 40, 50, 60, 70, 71, 72})), one));
    EXPECT_EQ(Read(one), Pixels({0x0A0A28ul}));
}

TEST(PCXLoad, OnlyTheRowsTheBufferShowsAreRead)
{
    // Row 2 runs past its end: a buffer of two rows never gets there.
    Bytes f = Cat(Header({8, 3, 2, 3, 2}), Bytes({0xC6, 1, 0xC6, 2, 0xC9, 3}));
    Buffer top;
    top.Alloc({2, 2});
    ASSERT_TRUE(Load(f, top));
    EXPECT_EQ(Read(top), Pixels({0x010101ul, 0x010101ul, 0x020202ul, 0x020202ul}));
    EXPECT_EQ(DetailOf(f), "PCX: run past the end of a row");
}

TEST(PCXLoad, OriginSizesAndShortData)
{
    Head h{8, 3, 1, 1, 1};
    h.x = 0xFFFE, h.y = 7;
    GFXtra32 x = {};
    Buffer b;
    ASSERT_TRUE(Load(Cat(Header(h), Bytes({1, 2, 3})), b, nullptr, &x));
    EXPECT_EQ(x.x, -2);
    EXPECT_EQ(x.y, 7);
    EXPECT_EQ(Read(b), Pixels({0x010203ul}));

    EXPECT_EQ(DetailOf(Header({8, 3, 65535, 65535, 65535})), "PCX: more than 2^28 pixels");
    Buffer c;
    EXPECT_THROW(Load(Cat(Header({8, 3, 2, 2, 2}), Bytes(11, 1)), c), EReadError);
    Buffer headerOnly;
    EXPECT_THROW(Load(Bytes(100, 10), headerOnly), EReadError);
}

bool StopAtFirst(int) { return false; }
std::vector<int> steps;
bool Record(int p)
{
    steps.push_back(p);
    return true;
}

TEST(PCXLoad, ProgressFollowsTheBytesConsumed)
{
    Bytes f = Cat(Header({8, 3, 2, 2, 2}), Bytes(12, 1));  // 140 bytes, rows of 6
    GFXFile::SetProgFunc(nullptr, Record, nullptr);
    steps.clear();
    Buffer a;
    EXPECT_TRUE(Load(f, a));
    EXPECT_EQ(steps, std::vector<int>({134 * 100 / 140, 100}));
    GFXFile::SetProgFunc(nullptr, StopAtFirst, nullptr);
    Buffer c;
    GFXtra32 x = {};
    Head h{8, 3, 2, 2, 2};
    h.x = 3;
    EXPECT_FALSE(Load(Cat(Header(h), Bytes(12, 1)), c, nullptr, &x));
    EXPECT_EQ(x.x, 3);
    GFXFile::SetProgFunc(nullptr, nullptr, nullptr);
}

// An index image of w x h: one byte a pixel, rows a multiple of 4 bytes.
struct IndexImage {
    Buffer b;
    IndexImage(int w, int h)
    {
        b.Alloc({(w + 3) / 4, h});
        b.right = w - 1;
    }
    unsigned char& At(int x, int y) { return reinterpret_cast<unsigned char*>(b.pixels + y * b.stride)[x]; }
};

struct Saved {
    Bytes bytes;
    bool result;
    Saved(Buffer& b, int bits, unsigned char* pal = nullptr, GFXtra32* x = nullptr, int colours = 0, int grey = 0)
    {
        TMemoryStream mem;
        TOutputStream out(&mem, "t.pcx");
        GFXSaveParams p = {};
        p.bits = int8_t(bits);
        p.grey = uint8_t(grey);
        p.paletteData = pal;
        p.colours = int16_t(colours);
        result = PCXFormat()->Save(b, &out, x, &p);
        const unsigned char* m = static_cast<const unsigned char*>(mem.GetMemory());
        bytes.assign(m, m + mem.GetSize());
    }
};

int Field16(const Bytes& f, int at) { return f[size_t(at)] | f[size_t(at) + 1] << 8; }

TEST(PCXSave, PaletteDepthsRoundTripAtOddWidths)
{
    unsigned char pal[768];
    for (int i = 0; i < 768; ++i) pal[i] = static_cast<unsigned char>(i * 7 + 3);
    for (int bits : {1, 2, 3, 4, 8})
        for (int w : {1, 3, 17}) {
            const int h = 3;
            IndexImage index(w, h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    index.At(x, y) = static_cast<unsigned char>((x * 5 + y * 3 + (y == 1 ? 200 : 0)) % (1 << bits));
            Saved s(index.b, bits, pal);
            ASSERT_TRUE(s.result);
            const Bytes& f = s.bytes;
            const int planes = bits == 8 ? 1 : bits;
            EXPECT_EQ(Bytes(f.begin(), f.begin() + 4), Bytes({10, 5, 1, static_cast<unsigned char>(bits == 8 ? 8 : 1)}));
            EXPECT_EQ(Field16(f, 8), w - 1);
            EXPECT_EQ(Field16(f, 10), h - 1);
            EXPECT_EQ(Field16(f, 12), 100);
            EXPECT_EQ(f[65], planes);
            EXPECT_EQ(Field16(f, 66), bits == 8 ? w : (w + 7) / 8);
            EXPECT_EQ(Field16(f, 68), 1);
            const int headerColours = bits == 8 ? 16 : 1 << bits;
            EXPECT_EQ(Bytes(f.begin() + 16, f.begin() + 16 + 3 * headerColours), Bytes(pal, pal + 3 * headerColours));
            EXPECT_EQ(Bytes(f.begin() + 16 + 3 * headerColours, f.begin() + 64), Bytes(48 - 3 * headerColours, 0));
            if (bits == 8) {
                EXPECT_EQ(f[f.size() - 769], 12);
                EXPECT_EQ(Bytes(f.end() - 768, f.end()), Bytes(pal, pal + 768));
            }
            Buffer back;
            ASSERT_TRUE(Load(f, back)) << bits << " " << w;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const unsigned char* c = pal + 3 * index.At(x, y);
                    EXPECT_EQ(*back.At(x, y), (unsigned long)c[0] << 16 | c[1] << 8 | c[2]) << bits << " " << w;
                }
        }
}

TEST(PCXSave, HeaderPaletteHoldsTheColoursUsed)
{
    unsigned char pal[768] = {};
    for (int i = 0; i < 9; ++i) pal[i] = static_cast<unsigned char>(50 + i);
    IndexImage index(2, 1);
    index.At(0, 0) = 0, index.At(1, 0) = 1;
    Saved s(index.b, 4, pal, nullptr, -3);
    ASSERT_TRUE(s.result);
    EXPECT_EQ(Bytes(s.bytes.begin() + 16, s.bytes.begin() + 28), Bytes({50, 51, 52, 53, 54, 55, 56, 57, 58, 0, 0, 0}));
}

TEST(PCXSave, TwentyFourBitsRoundTripWithRunsAndOrigin)
{
    for (int w : {1, 3, 17, 130}) {
        Buffer b;
        b.Alloc({w, 2});
        for (int x = 0; x < w; ++x) *b.At(x, 0) = 0xC8C8C8ul, *b.At(x, 1) = 0x010305ul * (x % 11) + 0x40;
        GFXtra32 origin = {5, 7, 0, 0};
        Saved s(b, 24, nullptr, &origin);
        ASSERT_TRUE(s.result);
        const Bytes& f = s.bytes;
        EXPECT_EQ(f[3], 8);
        EXPECT_EQ(f[65], 3);
        EXPECT_EQ(Field16(f, 66), w);  // not rounded up to even
        EXPECT_EQ(Field16(f, 4), 5);
        EXPECT_EQ(Field16(f, 6), 7);
        EXPECT_EQ(Field16(f, 8), 5 + w - 1);
        EXPECT_EQ(Field16(f, 10), 8);
        if (w == 130) {  // row 0's red line: 63, 63 and 4 of 200
            EXPECT_EQ(Bytes(f.begin() + 128, f.begin() + 134), Bytes({0xFF, 200, 0xFF, 200, 0xC4, 200}));
        }
        Buffer back;
        GFXtra32 x = {};
        ASSERT_TRUE(Load(f, back, nullptr, &x));
        EXPECT_EQ(Read(back), Read(b)) << w;
        EXPECT_EQ(x.x, 5);
        EXPECT_EQ(x.y, 7);
    }
}

TEST(PCXSave, RefusalsBeforeWritingAndCancel)
{
    unsigned char pal[768] = {};
    Buffer b;
    b.Alloc({2, 2});
    b.Box(Rect{0, 0, 1, 1}, 0);
    EXPECT_THROW(Saved(b, 16), EInvalidImage);
    EXPECT_THROW(Saved(b, 8, pal, nullptr, 0, 1), EInvalidImage);  // grey
    EXPECT_THROW(Saved(b, 8), EInvalidImage);                       // no palette
    Buffer none;
    EXPECT_THROW(Saved(none, 24), EInvalidImage);

    GFXtra32 far = {-2, 0, 0, 0};  // xmin 65534: three columns end past 65535
    Buffer three;
    three.Alloc({3, 1});
    TMemoryStream mem;
    TOutputStream out(&mem, "t.pcx");
    GFXSaveParams p = {};
    p.bits = 24;
    EXPECT_THROW(PCXFormat()->Save(three, &out, &far, &p), EInvalidImage);
    EXPECT_EQ(mem.GetSize(), 0);
    far.x = -3;  // 65533..65535 fits
    EXPECT_TRUE(Saved(three, 24, nullptr, &far).result);
    Buffer wide;
    wide.Alloc({65536, 1});
    wide.Box(Rect{0, 0, 65535, 0}, 0);
    EXPECT_THROW(Saved(wide, 24), EInvalidImage);
    EXPECT_TRUE(Saved(wide, 1, pal).result);  // 8192 bytes a line

    GFXFile::SetProgFunc(nullptr, StopAtFirst, nullptr);
    IndexImage index(2, 2);
    Saved cancelled(index.b, 8, pal);
    GFXFile::SetProgFunc(nullptr, nullptr, nullptr);
    EXPECT_FALSE(cancelled.result);
    EXPECT_LT(cancelled.bytes.size(), 128u + 769);  // no palette after a cancel
}

long long HeaderPixels(const Bytes& b)
{
    if (b.size() < 12) return 0;
    return (long long)(Field16(b, 8) - Field16(b, 4) + 1) * (Field16(b, 10) - Field16(b, 6) + 1);
}

// Damaged files: every outcome is a picture or a library exception.
TEST(PCXLoad, MutatedAndTruncatedFilesNeverCrash)
{
    std::vector<Bytes> seeds;
    Head ega{1, 4, 10, 3, 2};
    ega.palette = Palette16();
    seeds.push_back(Cat(Header(ega), Bytes({0xC8, 0xFF, 1, 2, 0xC4, 3, 0xC8, 0, 0xC2, 5, 0xC6, 6, 0xC8, 9})));
    seeds.push_back(Cat(Cat(Header({8, 1, 5, 4, 6}), Bytes({0xC6, 1, 2, 3, 4, 5, 6, 7, 0xCC, 9, 0xC6, 200})),
                        Trailer()));
    seeds.push_back(Cat(Header({8, 3, 3, 3, 3}), Bytes({0xC4, 10, 20, 30, 40, 50, 60, 70, 71, 72, 0xC9, 1,
                                                        0xC3, 5, 0xC6, 8})));
    seeds.push_back(Cat(Header({1, 1, 9, 2, 2}), Bytes({0xC4, 0xAA})));
    std::mt19937 rng(1110);
    int pictures = 0;
    for (int i = 0; i < 3000; ++i) {
        Bytes b = seeds[size_t(i) % seeds.size()];
        if (i % 5 == 0) b.resize(rng() % b.size());
        for (unsigned k = rng() % 4; k-- > 0 && !b.empty();) {
            // Most changes hit the header's size and layout fields or the rows.
            size_t at = rng() % 3 ? rng() % b.size() : 2 + rng() % 68;
            if (at < b.size()) b[at] = static_cast<unsigned char>(rng());
        }
        Buffer buf;
        // Pictures a mutated size makes huge are loaded clipped only.
        if (i % 3 == 0 || HeaderPixels(b) > 1 << 20) buf.Alloc({1 + int(rng() % 6), 1 + int(rng() % 6)});
        try {
            TestOf(b);
            pictures += Load(b, buf);
        } catch (Exception&) {
        }
    }
    EXPECT_GT(pictures, 100);
}

}  // namespace
