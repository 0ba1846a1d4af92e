// TGA: packet decoding across row ends and backwards, crafted files in every
// corner order, header rules, clipping, what the writer makes, and damaged
// files.
#include <gtest/gtest.h>

#include <string.h>

#include <random>
#include <vector>

#include "exceptions.h"
#include "formats.h"
#include "gfxfile.h"
#include "streams.h"
#include "tga_stream.h"

#include "format_fixture.h"

namespace {

using format_fixture::Bytes;
using format_fixture::Cat;
using format_fixture::Pixels;
using format_fixture::Read;

void Put(Bytes& b, std::initializer_list<int> v)
{
    for (int x : v) b.push_back(static_cast<unsigned char>(x));
}

struct Head {
    int type, depth, width, height, descriptor;
    int mapType = 0, first = 0, length = 0, entry = 0, idLength = 0, x = 0, y = 0;
};

Bytes Header(const Head& h)
{
    Bytes b;
    Put(b, {h.idLength, h.mapType, h.type, h.first, h.first >> 8, h.length, h.length >> 8, h.entry, h.x, h.x >> 8,
            h.y, h.y >> 8, h.width, h.width >> 8, h.height, h.height >> 8, h.depth, h.descriptor});
    return b;
}

const format_fixture::FormatBytes Files{TGAFormat, "t.tga"};

bool Load(const Bytes& bytes, Buffer& b, GFXFileDesc* d = nullptr, GFXtra32* x = nullptr)
{
    return Files.Load(bytes, b, d, x);
}

Pixels LoadPixels(const Bytes& bytes) { return Files.LoadPixels(bytes); }

int TestOf(const Bytes& bytes, GFXFileDesc* d = nullptr) { return Files.Test(bytes, d); }

std::string DetailOf(const Bytes& bytes) { return Files.Detail(bytes); }

// 4 x 3 pixels with distinct values but for a run from the end of row 1
// onto row 2; stored in the order the descriptor names, plain or as packets:
// raw ones of at most 3 pixels, so that they too run across row ends.
Pixels Picture24()
{
    Pixels p;
    for (int i = 0; i < 12; ++i) p.push_back(0x102030ul * (i + 1) & 0xFFFFFF);
    p[6] = p[7] = p[8];
    return p;
}

void PutPixel24(Bytes& b, unsigned long v) { Put(b, {int(v & 0xFF), int(v >> 8 & 0xFF), int(v >> 16)}); }

Bytes Store24(const Pixels& p, int w, int h, int descriptor, bool packed)
{
    Pixels v;
    for (int k = 0; k < h; ++k)
        for (int j = 0; j < w; ++j) {
            int y = (descriptor & 0x20) ? k : h - 1 - k;
            int x = (descriptor & 0x10) ? w - 1 - j : j;
            v.push_back(p[size_t(y * w + x)]);
        }
    Bytes b = Header({packed ? 10 : 2, 24, w, h, descriptor});
    size_t n = v.size();
    for (size_t i = 0; i < n;) {
        size_t run = 1;
        while (packed && i + run < n && v[i + run] == v[i]) ++run;
        if (run > 1) {
            Put(b, {0x80 | int(run - 1)});
            PutPixel24(b, v[i]);
            i += run;
            continue;
        }
        size_t raw = 1;
        while (i + raw < n && raw < 3 && v[i + raw] != v[i + raw - 1]) ++raw;
        if (!packed) raw = 1;
        else Put(b, {int(raw - 1)});
        for (size_t k = 0; k < raw; ++k) PutPixel24(b, v[i + k]);
        i += raw;
    }
    return b;
}

TEST(TGAStream, PacketsRunAcrossCallsInBothDirections)
{
    // Raw 1, 2, 3, 4 then 4 repeats of 9: read as 3 forwards, 3 backwards, 2 forwards.
    Bytes data = {0x03, 1, 2, 3, 4, 0x83, 9};
    TMemoryStream mem;
    mem.Write(data.data(), int(data.size()));
    mem.SetPosition(0);
    TGAStream in(&mem, 2, 1, true);
    unsigned char a[3], b[3], c[2];
    in.ReadPixels(a, 3);
    in.ReadPixelsBackwards(b, 3);
    in.ReadPixels(c, 2);
    EXPECT_EQ(Bytes(a, a + 3), Bytes({1, 2, 3}));
    EXPECT_EQ(Bytes(b, b + 3), Bytes({9, 9, 4}));
    EXPECT_EQ(Bytes(c, c + 2), Bytes({9, 9}));
    EXPECT_EQ(in.Consumed(), 7);
    EXPECT_THROW(in.ReadPixels(c, 1), EReadError);
}

TEST(TGAStream, SkipsThroughPacketsAndReversesPlainPixels)
{
    Bytes data = {0x81, 5, 6, 0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    TMemoryStream mem;
    mem.Write(data.data(), int(data.size()));
    mem.SetPosition(0);
    TGAStream in(&mem, 3, 2, true);
    in.SkipPixels(3);
    unsigned char out[4];
    in.ReadPixelsBackwards(out, 2);
    EXPECT_EQ(Bytes(out, out + 4), Bytes({5, 6, 3, 4}));
    in.packed = false;  // the same calls over plain pixels
    in.ReadPixelsBackwards(out, 2);
    EXPECT_EQ(Bytes(out, out + 4), Bytes({9, 10, 7, 8}));
}

TEST(TGATest, AcceptsOnlyReadableCombinations)
{
    Bytes good = Cat(Header({10, 24, 4, 3, 0x20}), Bytes(40, 0));
    GFXFileDesc d = {};
    EXPECT_EQ(TestOf(good, &d), 1);  // no footer needed
    EXPECT_EQ(d.width, 4);
    EXPECT_EQ(d.images, 1);
    EXPECT_EQ(d.colour, 1);
    EXPECT_EQ(d.channelBits, 8);

    Head mapped{1, 8, 2, 2, 0, 1, 0, 256, 16};
    EXPECT_EQ(TestOf(Header(mapped), &d), 1);
    EXPECT_EQ(d.palette, 1);
    EXPECT_EQ(d.channelBits, 5);
    EXPECT_EQ(TestOf(Header({3, 8, 2, 2, 0}), &d), 1);
    EXPECT_EQ(d.colour | d.palette, 0);

    Head bad[] = {{2, 24, 1, 1, 0, 2}, {0, 8, 1, 1, 0}, {4, 8, 1, 1, 0}, {2, 8, 1, 1, 0}, {3, 16, 1, 1, 0},
                  {1, 8, 1, 1, 0, 1, 1, 256, 24}, {1, 9, 1, 1, 0, 1, 0, 16, 24}, {1, 8, 1, 1, 0, 1, 0, 16, 8},
                  {1, 8, 1, 1, 0, 0, 0, 16, 24}};
    for (const Head& h : bad) {
        Bytes b = Cat(Header(h), Bytes(1000, 0));
        EXPECT_EQ(TestOf(b), 0) << h.type << " " << h.depth;
        EXPECT_EQ(DetailOf(b).compare(0, 5, "TGA: "), 0) << h.type << " " << h.depth;
    }
    EXPECT_EQ(TestOf(Bytes(17, 2)), 0);
}

TEST(TGATest, FooterAndInterleaveGiveMinusOne)
{
    Bytes footer(26, 0);
    memcpy(&footer[8], "TRUEVISION-XFILE.", 18);
    Bytes junk = Cat(Bytes(30, 0xEE), footer);
    GFXFileDesc d = {};
    d.images = 7;
    EXPECT_EQ(TestOf(junk, &d), -1);
    EXPECT_EQ(d.images, 0);
    EXPECT_EQ(TestOf(Cat(Bytes(10, 0xEE), footer)), 0);  // too short to trust
    EXPECT_EQ(TestOf(Cat(Store24(Picture24(), 4, 3, 0, false), footer), &d), 1);  // the header still decides
    EXPECT_EQ(d.images, 1);

    Bytes interleaved = Cat(Header({2, 24, 1, 1, 0x40}), Bytes(3, 0));
    EXPECT_EQ(TestOf(interleaved, &d), -1);
    EXPECT_EQ(d.interlaced, 1);
    EXPECT_EQ(DetailOf(interleaved), "TGA: interleaved rows");
}

TEST(TGALoad, CornerOrderTwinsGiveTheSamePicture)
{
    Pixels p = Picture24();
    for (bool packed : {false, true})
        for (int descriptor : {0x00, 0x10, 0x20, 0x30})
            EXPECT_EQ(LoadPixels(Store24(p, 4, 3, descriptor, packed)), p) << packed << " " << descriptor;
}

TEST(TGALoad, RepeatPacketRunsOntoTheNextRow)
{
    Bytes b = Cat(Header({10, 24, 2, 2, 0x20}), Bytes({0x82, 1, 2, 3, 0x00, 4, 5, 6}));
    EXPECT_EQ(LoadPixels(b), Pixels({0x030201, 0x030201, 0x030201, 0x060504}));
}

TEST(TGALoad, PixelWidthsAndFlags)
{
    // 16 bits: bit 15 kept as a flag; 15 bits alike; 32 bits: the fourth byte dropped.
    Bytes b16 = Cat(Header({2, 16, 2, 1, 0x20}), Bytes({0x1F, 0xFC, 0xE0, 0x03}));
    EXPECT_EQ(LoadPixels(b16), Pixels({0x01FF00FFul, 0x00FF00ul}));
    Bytes b15 = Cat(Header({10, 15, 2, 1, 0x20}), Bytes({0x81, 0x10, 0x42}));
    EXPECT_EQ(LoadPixels(b15), Pixels({0x848484ul, 0x848484ul}));
    Bytes b32 = Cat(Header({2, 32, 1, 1, 0x20}), Bytes({1, 2, 3, 0xFF}));
    EXPECT_EQ(LoadPixels(b32), Pixels({0x030201ul}));
    // A colour map before true-colour pixels is passed over.
    Bytes mapped = Cat(Header({2, 24, 1, 1, 0x20, 1, 0, 2, 15}), Bytes({9, 9, 9, 9, 1, 2, 3}));
    EXPECT_EQ(LoadPixels(mapped), Pixels({0x030201ul}));
}

TEST(TGALoad, GreyTopLevelIsWhite)
{
    EXPECT_EQ(LoadPixels(Cat(Header({3, 8, 3, 1, 0x20}), Bytes({0, 128, 255}))),
              Pixels({0, 0x808080ul, 0xFFFFFFul}));
    EXPECT_EQ(LoadPixels(Cat(Header({11, 1, 2, 1, 0x20}), Bytes({0x01, 1, 0}))), Pixels({0xFFFFFFul, 0}));
    EXPECT_EQ(LoadPixels(Cat(Header({3, 4, 2, 1, 0x20}), Bytes({15, 200}))), Pixels({0xFFFFFFul, 0}));
}

TEST(TGALoad, ColourMapAtItsFirstEntry)
{
    Head h{9, 8, 4, 1, 0x20, 1, 250, 2, 16};
    h.idLength = 3;
    Bytes b = Cat(Header(h), Bytes({'i', 'd', '!', 0x00, 0xFC, 0x1F, 0x00, 0x03, 250, 251, 7, 255}));
    unsigned char pal[768];
    memset(pal, 0xAB, sizeof pal);
    GFXFileDesc d = {};
    d.paletteData = pal;
    Buffer buf;
    ASSERT_TRUE(Load(b, buf, &d));
    EXPECT_EQ(Read(buf), Pixels({0x01FF0000ul, 0x0000FFul, 0, 0}));
    EXPECT_EQ(Bytes(pal + 750, pal + 756), Bytes({255, 0, 0, 0, 0, 255}));
    EXPECT_EQ(pal[0], 0);
}

TEST(TGALoad, SmallerBufferGetsTheTopLeftPart)
{
    Pixels p = Picture24();
    for (int descriptor : {0x00, 0x10}) {
        Buffer b;
        b.Alloc({3, 2});
        ASSERT_TRUE(Load(Store24(p, 4, 3, descriptor, true), b));
        EXPECT_EQ(Read(b), Pixels({p[0], p[1], p[2], p[4], p[5], p[6]})) << descriptor;
    }
    // A larger buffer: the picture's area is cleared and filled, the rest kept.
    Buffer big;
    big.Alloc({5, 4});
    big.Box(Rect{0, 0, 4, 3}, 0x777777);
    ASSERT_TRUE(Load(Cat(Header({2, 24, 1, 1, 0}), Bytes({1, 2, 3})), big));
    EXPECT_EQ(*big.At(0, 0), 0x030201ul);
    EXPECT_EQ(*big.At(1, 0), 0x777777ul);
    EXPECT_EQ(*big.At(0, 1), 0x777777ul);
}

TEST(TGALoad, OriginEndsAndSizes)
{
    Head h{2, 24, 1, 1, 0x20};
    h.x = 7, h.y = 0xFFFE;
    GFXtra32 x = {};
    Buffer b;
    ASSERT_TRUE(Load(Cat(Header(h), Bytes({1, 2, 3})), b, nullptr, &x));
    EXPECT_EQ(x.x, 7);
    EXPECT_EQ(x.y, -2);

    Bytes whole = Store24(Picture24(), 4, 3, 0, true);
    Buffer c;
    EXPECT_THROW(Load(Bytes(whole.begin(), whole.end() - 1), c), EReadError);
    EXPECT_EQ(DetailOf(Header({2, 24, 65535, 65535, 0})), "TGA: more than 2^28 pixels");
    Buffer e;
    EXPECT_TRUE(Load(Header({2, 24, 0, 5, 0}), e));
    EXPECT_EQ(e.pixels, nullptr);
}

bool StopAtFirst(int) { return false; }
std::vector<int> steps;
bool Record(int p) { steps.push_back(p); return true; }

TEST(TGALoad, ProgressFollowsTheBytesConsumed)
{
    Bytes b = Store24(Picture24(), 4, 3, 0, false);
    GFXFile::SetProgFunc(nullptr, Record, nullptr);
    steps.clear();
    Buffer a;
    EXPECT_TRUE(Load(b, a));
    EXPECT_EQ(steps, std::vector<int>({(18 + 12) * 100 / 54, (18 + 24) * 100 / 54, 100}));
    GFXFile::SetProgFunc(nullptr, StopAtFirst, nullptr);
    Buffer c;
    EXPECT_FALSE(Load(b, c));
    GFXFile::SetProgFunc(nullptr, nullptr, nullptr);
}

bool SaveTo(TMemoryStream& mem, Buffer& b, int bits, unsigned char* pal = nullptr, GFXtra32* x = nullptr)
{
    TOutputStream out(&mem, "t.tga");
    GFXSaveParams p = {};
    p.bits = int8_t(bits);
    p.paletteData = pal;
    p.colours = 256;
    return TGAFormat()->Save(b, &out, x, &p);
}

struct Saved {
    Bytes bytes;
    bool result;
    Saved(Buffer& b, int bits, unsigned char* pal = nullptr, GFXtra32* x = nullptr)
    {
        TMemoryStream mem;
        result = SaveTo(mem, b, bits, pal, x);
        const unsigned char* m = static_cast<const unsigned char*>(mem.GetMemory());
        bytes.assign(m, m + mem.GetSize());
    }
};

TEST(TGASave, TwentyFourBitsRoundTripWithIdAndFooter)
{
    Buffer b;
    b.Alloc({131, 2});
    for (int x = 0; x < 131; ++x) *b.At(x, 0) = 0x123456, *b.At(x, 1) = 0x010203ul * (x % 7);
    GFXtra32 x = {3, 4, 0, 0};
    Saved s(b, 24, nullptr, &x);
    ASSERT_TRUE(s.result);
    const Bytes& f = s.bytes;
    EXPECT_EQ(Bytes(f.begin(), f.begin() + 18), Header({10, 24, 131, 2, 0x20, 0, 0, 0, 0, 8, 3, 4}));
    EXPECT_EQ(Bytes(f.begin() + 18, f.begin() + 26), Bytes({'C', 'O', 'R', 'V', 'A', 'N', 'E', 0}));
    // Row 0: 128 repeats, then the last three as one more repeat packet.
    EXPECT_EQ(Bytes(f.begin() + 26, f.begin() + 34), Bytes({0xFF, 0x56, 0x34, 0x12, 0x82, 0x56, 0x34, 0x12}));
    EXPECT_EQ(f[34], 0x7F);  // row 1: no runs, a full raw packet first
    Bytes footer(8, 0);
    footer.insert(footer.end(), {'T', 'R', 'U', 'E', 'V', 'I', 'S', 'I', 'O', 'N', '-', 'X', 'F', 'I', 'L', 'E', '.', 0});
    EXPECT_EQ(Bytes(f.end() - 26, f.end()), footer);
    Buffer back;
    ASSERT_TRUE(Load(f, back));
    EXPECT_EQ(Read(back), Read(b));
}

TEST(TGASave, PairsStayRawAndLongRawRunsSplit)
{
    Buffer b;
    b.Alloc({7, 1});
    unsigned long row[7] = {1, 1, 2, 3, 3, 3, 4};
    memcpy(b.pixels, row, sizeof row);
    Saved s(b, 24);
    Bytes packets(s.bytes.begin() + 26, s.bytes.end() - 26);
    EXPECT_EQ(packets, Bytes({0x02, 1, 0, 0, 1, 0, 0, 2, 0, 0, 0x82, 3, 0, 0, 0x00, 4, 0, 0}));
}

TEST(TGASave, EightBitsRoundTripThroughThePalette)
{
    const int w = 6, h = 3;
    Buffer index;
    index.Alloc({(w + 3) / 4, h});
    index.right = w - 1;
    unsigned char pal[768];
    for (int i = 0; i < 768; ++i) pal[i] = static_cast<unsigned char>(i * 7);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) reinterpret_cast<unsigned char*>(index.pixels + y * index.stride)[x] =
            static_cast<unsigned char>(y == 1 ? 200 : x * 40 + y);
    Saved s(index, 8, pal);
    ASSERT_TRUE(s.result);
    EXPECT_EQ(Bytes(s.bytes.begin() + 1, s.bytes.begin() + 8), Bytes({1, 9, 0, 0, 0, 1, 24}));
    EXPECT_EQ(Bytes(s.bytes.begin() + 26, s.bytes.begin() + 29), Bytes({pal[2], pal[1], pal[0]}));
    EXPECT_EQ(Bytes(s.bytes.end() - 18, s.bytes.end() - 1), Bytes({'T', 'R', 'U', 'E', 'V', 'I', 'S', 'I', 'O', 'N',
                                                                     '-', 'X', 'F', 'I', 'L', 'E', '.'}));
    unsigned char back[768] = {};
    GFXFileDesc d = {};
    d.paletteData = back;
    Buffer b;
    ASSERT_TRUE(Load(s.bytes, b, &d));
    EXPECT_EQ(memcmp(back, pal, 768), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int i = reinterpret_cast<unsigned char*>(index.pixels + y * index.stride)[x];
            EXPECT_EQ(*b.At(x, y), (unsigned long)pal[3 * i] << 16 | pal[3 * i + 1] << 8 | pal[3 * i + 2]);
        }
}

TEST(TGASave, RefusalsAndCancel)
{
    Buffer wide;
    wide.Alloc({65536, 1});
    TMemoryStream mem;
    EXPECT_THROW(SaveTo(mem, wide, 24), EInvalidImage);
    EXPECT_EQ(mem.GetSize(), 0);
    Buffer b;
    b.Alloc({2, 2});
    b.Box(Rect{0, 0, 1, 1}, 0);
    EXPECT_THROW(Saved(b, 16), EInvalidImage);
    EXPECT_THROW(Saved(b, 8), EInvalidImage);  // no palette
    GFXFile::SetProgFunc(nullptr, StopAtFirst, nullptr);
    Saved cancelled(b, 24);
    GFXFile::SetProgFunc(nullptr, nullptr, nullptr);
    EXPECT_FALSE(cancelled.result);
    EXPECT_EQ(cancelled.bytes.size(), 26u);
    Buffer none;
    Saved empty(none, 24);
    EXPECT_EQ(empty.bytes[2], 0);
    EXPECT_EQ(empty.bytes.size(), 18u + 8 + 26);
}

// Damaged files: every outcome is a picture or a library exception.
TEST(TGALoad, MutatedAndTruncatedFilesNeverCrash)
{
    std::vector<Bytes> seeds = {Store24(Picture24(), 4, 3, 0x10, true), Store24(Picture24(), 4, 3, 0x20, false)};
    Head mapped{9, 8, 5, 4, 0x00, 1, 3, 4, 15};
    seeds.push_back(Cat(Header(mapped), Bytes({1, 2, 3, 4, 5, 6, 7, 8, 0x84, 4, 0x8E, 200, 0x00, 5})));
    seeds.push_back(Cat(Header({11, 8, 6, 3, 0x30}), Bytes({0x85, 9, 0x02, 1, 2, 3, 0x89, 7})));
    std::mt19937 rng(115);
    int pictures = 0;
    for (int i = 0; i < 3000; ++i) {
        Bytes b = seeds[size_t(i) % seeds.size()];
        if (i % 5 == 0) b.resize(rng() % b.size());
        for (unsigned k = rng() % 4; k-- > 0 && !b.empty();)
            b[rng() % b.size()] = static_cast<unsigned char>(rng());
        Buffer buf;
        if (i % 3 == 0) buf.Alloc({1 + int(rng() % 6), 1 + int(rng() % 6)});
        try {
            TestOf(b);
            pictures += Load(b, buf);
        } catch (Exception&) {
        }
    }
    EXPECT_GT(pictures, 100);
}

}  // namespace
