// Frame files: every version crafted byte by byte from the layout table and
// checked against the pixel formulas, round trips of what the writer makes,
// clipping, missing trailers, progress, and damaged files.
#include <gtest/gtest.h>

#include <string.h>

#include <random>
#include <vector>

#include "exceptions.h"
#include "format_fixture.h"
#include "formats.h"
#include "gfxfile.h"
#include "streams.h"

namespace {

using format_fixture::Bytes;
using format_fixture::Cat;
using format_fixture::Pixels;
using format_fixture::Put16;

const format_fixture::FormatBytes Frm = {FRMFormat, "t.frm"};

// A file as the layout table describes it, and what loading it must give.
struct Crafted {
    Bytes bytes;
    int width, height;
    Pixels pixels;    // expected, row by row
    GFXtra32 extra;   // expected trailer
    size_t rowsEnd;   // offset just after the last row
};

void Put8(Bytes& b, unsigned v) { b.push_back(static_cast<unsigned char>(v)); }

unsigned long Widen4(unsigned v) { return v * 17; }
unsigned long Widen5(unsigned v) { return (v << 3) | (v >> 2); }

unsigned long Expect444(unsigned w)
{
    if (w >= 0x4000) return ((w & 0x80) ? 0x20000000ul : 0x10000000ul) | ((w >> 8) - 64) << 16 | (w & 0x7F) << 8;
    return Widen4(w & 15) << 16 | Widen4((w >> 4) & 15) << 8 | Widen4((w >> 8) & 15);
}

unsigned long Expect555(unsigned w)
{
    unsigned long flag = (w & 0x8000) ? 0x01000000ul : 0;
    return flag | Widen5((w >> 10) & 31) << 16 | Widen5((w >> 5) & 31) << 8 | Widen5(w & 31);
}

// Half ordinary 4-4-4 words, half marked ones with bit 7 set or clear.
unsigned RandomWord(std::mt19937& rng, int version)
{
    unsigned w = rng() & 0xFFFF;
    if (version == 0 && (rng() & 1)) w = 0x4000 + w % 0xC000;
    return w;
}

// One pixel or trailer colour of the version: appends its bytes, returns its value.
unsigned long CraftColour(Bytes& b, std::mt19937& rng, int version)
{
    if (version <= 1) {
        unsigned w = RandomWord(rng, version);
        Put16(b, w);
        return version == 0 ? Expect444(w) : Expect555(w);
    }
    unsigned r = rng() & 0xFF, g = rng() & 0xFF, bl = rng() & 0xFF, f = rng() & 0xFF;
    if (version == 3) {
        Put8(b, r);
        Put8(b, g);
        Put8(b, bl);
        return r << 16 | g << 8 | bl;
    }
    const unsigned order2[] = {r, g, bl, f}, order4[] = {bl, g, r, f};
    const unsigned* order = version == 2 ? order2 : order4;
    for (int i = 0; i < 4; ++i) Put8(b, order[i]);
    return (unsigned long)f << 24 | r << 16 | g << 8 | bl;
}

Crafted Craft(int version, int w, int h, unsigned seed, bool withTrailer = true)
{
    std::mt19937 rng(seed);
    Crafted c;
    c.width = w, c.height = h;
    Put8(c.bytes, 'F'), Put8(c.bytes, 'R'), Put8(c.bytes, 'M'), Put8(c.bytes, unsigned(version));
    Put16(c.bytes, unsigned(w)), Put16(c.bytes, unsigned(h));
    for (int i = 0; i < w * h; ++i) c.pixels.push_back(CraftColour(c.bytes, rng, version));
    c.rowsEnd = c.bytes.size();
    unsigned x = rng() & 0xFFFF, y = rng() & 0xFFFF;
    Put16(c.bytes, x), Put16(c.bytes, y);
    c.extra.x = static_cast<int16_t>(x), c.extra.y = static_cast<int16_t>(y);
    c.extra.colour1 = CraftColour(c.bytes, rng, version);
    c.extra.colour2 = CraftColour(c.bytes, rng, version);
    if (!withTrailer) c.bytes.resize(c.rowsEnd);
    return c;
}

const GFXtra32 Untouched = {-7, 9, 0xAABBCCDD, 0x11223344};

bool SameExtra(const GFXtra32& a, const GFXtra32& b) { return memcmp(&a, &b, sizeof a) == 0; }

// The file after prefix bytes of other data, read from where it starts.
bool LoadBytes(const Bytes& file, Buffer& b, GFXtra32* x, int prefix = 0)
{
    format_fixture::MemorySource s(Cat(Bytes(size_t(prefix), 0x46), file), "t.frm", prefix);
    return FRMFormat()->Load(b, &s.in, nullptr, x, 0);
}

int TestBytes(const Bytes& file, GFXFileDesc* d, int prefix = 3)
{
    return Frm.Test(Cat(Bytes(size_t(prefix), 'F'), file), d, prefix);
}

Bytes SaveBytes(Buffer& b, GFXtra32* x, int bits, bool* result = nullptr)
{
    TMemoryStream ms;
    TOutputStream out(&ms, "t.frm");
    GFXSaveParams p = GFXSaveParams();
    p.bits = static_cast<int8_t>(bits);
    bool ok = FRMFormat()->Save(b, &out, x, &p);
    if (result) *result = ok;
    const unsigned char* m = static_cast<const unsigned char*>(ms.GetMemory());
    return Bytes(m, m + ms.GetSize());
}

void Fill(Buffer& b, int w, int h, unsigned long v)
{
    b.Alloc(Pair<int>{w, h});
    b.Box(Rect{0, 0, w - 1, h - 1}, v & 0x7FFFFFFF);
}

// Expected pixels of the top-left part of a crafted picture.
void ExpectTopLeft(const Crafted& c, Buffer& b, int w, int h)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(c.pixels[size_t(y * c.width + x)], *b.At(x, y)) << "at " << x << "," << y;
}

std::vector<int> steps;
int cancelAt = -1;
bool Record(int percent)
{
    steps.push_back(percent);
    return int(steps.size()) != cancelAt;
}

class FrmTest : public ::testing::Test {
protected:
    void SetUp() override { GFXFile::SetProgFunc(nullptr, nullptr, nullptr); }
    void TearDown() override { GFXFile::SetProgFunc(nullptr, nullptr, nullptr); }
    void Watch(int cancelOnCall)
    {
        steps.clear();
        cancelAt = cancelOnCall;
        GFXFile::SetProgFunc(nullptr, Record, nullptr);
    }
};

TEST_F(FrmTest, DescriptorMatchesRegistryTable)
{
    GFXFile* f = FRMFormat();
    EXPECT_EQ(f, FRMFormat());
    EXPECT_STREQ("Corvane Frame", f->name.c_str());
    EXPECT_STREQ("*.FRM", f->masks.c_str());
    EXPECT_EQ(0x80800000u, f->colourMask);
    EXPECT_EQ(0, f->greyMask);
    EXPECT_FALSE(f->interlace);
    EXPECT_EQ(0, f->quality);
    // The defaults start at 32 bits and then hold the last depth saved.
    EXPECT_TRUE(f->defaults.bits == 32 || f->defaults.bits == 24);
}

TEST_F(FrmTest, TestDescribesEveryVersion)
{
    const int bits[] = {16, 16, 32, 24, 32}, channel[] = {4, 5, 8, 8, 8};
    unsigned char palette[768];
    for (int v = 0; v <= 6; ++v) {
        GFXFileDesc d;
        memset(&d, 0xCC, sizeof d);
        d.paletteData = palette;
        Crafted c = Craft(v <= 4 ? v : 4, 3, 2, 1);
        c.bytes[3] = static_cast<unsigned char>(v);
        EXPECT_EQ(v <= 4 ? 1 : -1, TestBytes(c.bytes, &d)) << v;
        EXPECT_EQ(3, d.width);
        EXPECT_EQ(2, d.height);
        EXPECT_EQ(1, d.colour);
        EXPECT_EQ(0, d.palette);
        EXPECT_EQ(v <= 4 ? 1 : 0, d.images) << v;
        if (v <= 4) {
            EXPECT_EQ(bits[v], d.bits);
            EXPECT_EQ(channel[v], d.channelBits);
        }
        EXPECT_EQ(nullptr, d.format);
        EXPECT_EQ(0, d.interlaced + d.transparent);
        EXPECT_EQ(palette, d.paletteData);
        EXPECT_EQ(v <= 4 ? 1 : -1, TestBytes(c.bytes, nullptr));
    }
}

TEST_F(FrmTest, TestRefusesOtherAndShortData)
{
    GFXFileDesc d;
    memset(&d, 0xCC, sizeof d);
    EXPECT_EQ(0, TestBytes(Bytes(), &d, 0));
    EXPECT_EQ(0, TestBytes(Bytes{'F', 'R', 'M'}, nullptr));
    EXPECT_EQ(0, TestBytes(Bytes{'F', 'R', 'X', 4, 1, 0, 1, 0}, &d));
    EXPECT_EQ(0, TestBytes(Bytes{'B', 'M', 0, 0, 0, 0, 0, 0}, nullptr));
    EXPECT_EQ(0xCCCCCCCC, unsigned(d.width)) << "a refusal leaves the description alone";
    // The signature alone identifies; a description needs the sizes too.
    EXPECT_EQ(1, TestBytes(Bytes{'F', 'R', 'M', 4}, nullptr));
    EXPECT_EQ(0, TestBytes(Bytes{'F', 'R', 'M', 4, 1, 0}, &d));
}

TEST_F(FrmTest, CraftedFilesOfEveryVersionLoadByTheFormulas)
{
    for (int v = 0; v <= 4; ++v) {
        SCOPED_TRACE(v);
        Crafted c = Craft(v, 29, 17, 100 + unsigned(v));
        Buffer b;
        GFXtra32 x = Untouched;
        ASSERT_TRUE(LoadBytes(c.bytes, b, &x, v));
        ASSERT_EQ(29, b.Width());
        ASSERT_EQ(17, b.Height());
        ExpectTopLeft(c, b, 29, 17);
        EXPECT_TRUE(SameExtra(c.extra, x));
    }
}

TEST_F(FrmTest, MarkedAndExtremeWordsOfVersionZero)
{
    const unsigned words[] = {0x0000, 0x0FFF, 0x3FFF, 0x4000, 0x407F, 0x4080, 0x7F7F, 0xFF7F, 0xFFFF, 0xC3A5};
    const unsigned long want[] = {0, 0xFFFFFF, 0xFFFFFF, 0x10000000, 0x10007F00, 0x20000000,
                                  0x103F7F00, 0x10BF7F00, 0x20BF7F00, 0x20832500};
    Bytes file{'F', 'R', 'M', 0};
    Put16(file, 10), Put16(file, 1);
    for (unsigned w : words) Put16(file, w);
    Buffer b;
    ASSERT_TRUE(LoadBytes(file, b, nullptr));
    for (int i = 0; i < 10; ++i) EXPECT_EQ(want[i], *b.At(i, 0)) << std::hex << words[i];
}

TEST_F(FrmTest, Version4RoundTripKeepsEveryBit)
{
    std::mt19937 rng(7);
    Buffer b;
    b.Alloc(Pair<int>{37, 23});
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) *b.At(x, y) = rng();
    GFXtra32 x = {-1234, 32767, 0xFF123456, 0x80ABCDEF};
    Bytes file = SaveBytes(b, &x, 32);
    ASSERT_EQ(size_t(8 + 37 * 23 * 4 + 12), file.size());
    EXPECT_EQ(0, memcmp(file.data(), "FRM\x04\x25\x00\x17\x00", 8));
    EXPECT_EQ(0, memcmp(&file[8], b.At(0, 0), 4)) << "pixels as in memory";
    EXPECT_EQ(0, memcmp(&file[file.size() - 12], &x, 12));
    Buffer back;
    GFXtra32 got = Untouched;
    ASSERT_TRUE(LoadBytes(file, back, &got));
    for (int y = 0; y < 23; ++y) ASSERT_EQ(0, memcmp(b.At(0, y), back.At(0, y), 37 * 4)) << y;
    EXPECT_TRUE(SameExtra(x, got));
    EXPECT_EQ(4, SaveBytes(b, nullptr, 0)[3]) << "any depth but 24 writes version 4";
}

TEST_F(FrmTest, Version3KeepsColoursAndDropsFlags)
{
    std::mt19937 rng(8);
    Buffer b;
    b.Alloc(Pair<int>{13, 9});
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 13; ++x) *b.At(x, y) = rng();
    *b.At(0, 0) = 0x7F102030;
    GFXtra32 x = {-5, 300, 0x01A0B0C0, 0xFF010203};
    Bytes file = SaveBytes(b, &x, 24);
    ASSERT_EQ(size_t(8 + 13 * 9 * 3 + 10), file.size());
    EXPECT_EQ(3, file[3]);
    EXPECT_EQ(0, memcmp(&file[8], "\x10\x20\x30", 3)) << "bytes R, G, B";
    EXPECT_EQ(0, memcmp(&file[file.size() - 10], "\xFB\xFF\x2C\x01\xA0\xB0\xC0\x01\x02\x03", 10));
    Buffer back;
    GFXtra32 got = Untouched;
    ASSERT_TRUE(LoadBytes(file, back, &got));
    for (int y = 0; y < 9; ++y)
        for (int i = 0; i < 13; ++i) ASSERT_EQ(*b.At(i, y) & 0xFFFFFF, *back.At(i, y));
    EXPECT_EQ(-5, got.x);
    EXPECT_EQ(300, got.y);
    EXPECT_EQ(0xA0B0C0u, got.colour1);
    EXPECT_EQ(0x010203u, got.colour2);
}

TEST_F(FrmTest, UnreadableVersionsAndBadSignatures)
{
    Crafted c = Craft(4, 2, 2, 3);
    for (int v : {5, 255}) {
        c.bytes[3] = static_cast<unsigned char>(v);
        GFXFileDesc d = GFXFileDesc();
        EXPECT_EQ(-1, TestBytes(c.bytes, &d));
        EXPECT_EQ(0, d.images);
        Buffer b;
        EXPECT_EQ("FRM: version 5 and above cannot be read", Frm.Detail(c.bytes));
    }
    c.bytes[3] = 4;
    c.bytes[0] = 'G';
    Buffer b;
    EXPECT_EQ("FRM: no FRM signature", Frm.Detail(c.bytes));
}

TEST_F(FrmTest, MissingOrShortTrailerLeavesTheRecord)
{
    for (int v = 0; v <= 4; ++v) {
        SCOPED_TRACE(v);
        Crafted c = Craft(v, 5, 4, 40 + unsigned(v));
        for (size_t cut : {c.rowsEnd, c.bytes.size() - 1}) {
            Bytes file(c.bytes.begin(), c.bytes.begin() + ptrdiff_t(cut));
            Buffer b;
            GFXtra32 x = Untouched;
            ASSERT_TRUE(LoadBytes(file, b, &x));
            ExpectTopLeft(c, b, 5, 4);
            EXPECT_TRUE(SameExtra(Untouched, x));
        }
    }
}

TEST_F(FrmTest, CutInsideTheRowsRaisesReadErrorKeepingWhatWasRead)
{
    Crafted c = Craft(3, 6, 5, 9);
    Bytes file(c.bytes.begin(), c.bytes.begin() + 8 + 6 * 3 * 2 + 4);
    Buffer b;
    Fill(b, 8, 8, 0x12345678);
    EXPECT_THROW(LoadBytes(file, b, nullptr), EReadError);
    ExpectTopLeft(c, b, 6, 2);
    EXPECT_EQ(0u, *b.At(5, 4)) << "the picture's area is cleared first";
    EXPECT_EQ(0x12345678u, *b.At(6, 0)) << "outside it nothing changes";
}

TEST_F(FrmTest, LargeFileIntoSmallBufferGivesTopLeftAndTrailer)
{
    for (int v = 0; v <= 4; ++v) {
        SCOPED_TRACE(v);
        Crafted c = Craft(v, 100, 100, 60 + unsigned(v));
        Buffer b;
        Fill(b, 50, 40, 0x0BADF00D);
        GFXtra32 x = Untouched;
        ASSERT_TRUE(LoadBytes(c.bytes, b, &x, 2));
        ASSERT_EQ(50, b.Width());
        ASSERT_EQ(40, b.Height());
        ExpectTopLeft(c, b, 50, 40);
        EXPECT_EQ(c.extra.x, x.x);
        EXPECT_EQ(c.extra.y, x.y);
        EXPECT_TRUE(SameExtra(c.extra, x));
    }
}

TEST_F(FrmTest, SmallFileIntoLargeBufferLeavesTheRest)
{
    Crafted c = Craft(1, 7, 3, 11);
    Buffer b;
    Fill(b, 12, 6, 0x5A5A5A5A);
    ASSERT_TRUE(LoadBytes(c.bytes, b, nullptr));
    ExpectTopLeft(c, b, 7, 3);
    EXPECT_EQ(0x5A5A5A5Au, *b.At(7, 0));
    EXPECT_EQ(0x5A5A5A5Au, *b.At(0, 3));
}

TEST_F(FrmTest, SizesBeyond16BitsAreRefusedBeforeWriting)
{
    Buffer wide, tall, widest;
    wide.Alloc(Pair<int>{65536, 1});
    tall.Alloc(Pair<int>{1, 65536});
    GFXtra32 x = Untouched;
    for (Buffer* b : {&wide, &tall}) {
        TMemoryStream ms;
        TOutputStream out(&ms, "t.frm");
        GFXSaveParams p = GFXSaveParams();
        EXPECT_THROW(FRMFormat()->Save(*b, &out, &x, &p), EInvalidImage);
        EXPECT_EQ(0, ms.GetSize());
    }
    Fill(widest, 65535, 1, 0x00102030);
    Bytes file = SaveBytes(widest, nullptr, 24);
    EXPECT_EQ(0, memcmp(file.data(), "FRM\x03\xFF\xFF\x01\x00", 8));
    Buffer back;
    ASSERT_TRUE(LoadBytes(file, back, nullptr));
    EXPECT_EQ(65535, back.Width());
    EXPECT_EQ(0x00102030u, *back.At(65534, 0));
}

TEST_F(FrmTest, PicturesAbove2To28PixelsAreRefusedBeforeAllocating)
{
    Bytes file{'F', 'R', 'M', 4};
    Put16(file, 16385), Put16(file, 16384);
    Buffer b;
    EXPECT_EQ("FRM: more than 2^28 pixels", Frm.Detail(file, b));
    EXPECT_EQ(nullptr, b.pixels);
    // At the limit the header passes; the rows are what is missing.
    Bytes limit{'F', 'R', 'M', 4};
    Put16(limit, 16384), Put16(limit, 16384);
    Fill(b, 4, 4, 0);
    EXPECT_THROW(LoadBytes(limit, b, nullptr), EReadError);
}

TEST_F(FrmTest, EmptyPictureIsHeaderZeroSizeAndTrailer)
{
    Buffer empty;
    GFXtra32 x = {3, -4, 0x01020304, 0x05060708};
    EXPECT_EQ(Bytes({'F', 'R', 'M', 4, 0, 0, 0, 0}), SaveBytes(empty, nullptr, 32));
    Bytes file = SaveBytes(empty, &x, 32);
    ASSERT_EQ(size_t(20), file.size());
    EXPECT_EQ(0, memcmp(&file[8], &x, 12));
    EXPECT_EQ(size_t(18), SaveBytes(empty, &x, 24).size());
    Buffer back;
    GFXtra32 got = Untouched;
    ASSERT_TRUE(LoadBytes(file, back, &got));
    EXPECT_EQ(nullptr, back.pixels);
    EXPECT_TRUE(SameExtra(x, got));
}

TEST_F(FrmTest, SaveReportsRowsAndStopsWhenCancelled)
{
    Buffer b;
    Fill(b, 3, 5, 0x00ABCDEF);
    GFXtra32 x = Untouched;
    Watch(-1);
    bool ok = false;
    SaveBytes(b, &x, 32, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(std::vector<int>({0, 20, 40, 60, 80}), steps);
    Watch(3);
    Bytes file = SaveBytes(b, &x, 32, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(size_t(8 + 3 * 3 * 4), file.size()) << "three rows, no trailer";
}

TEST_F(FrmTest, LoadReportsStreamConsumedAndStopsWhenCancelled)
{
    Crafted c = Craft(4, 4, 10, 5, false);
    Buffer b;
    Watch(-1);
    ASSERT_TRUE(LoadBytes(c.bytes, b, nullptr));
    ASSERT_EQ(size_t(10), steps.size());
    EXPECT_EQ(24 * 100 / 168, steps[0]);
    EXPECT_EQ(100, steps.back());
    Crafted t = Craft(4, 4, 10, 5);
    Watch(4);
    GFXtra32 x = Untouched;
    Fill(b, 4, 10, 0x00FFFFFF);
    EXPECT_FALSE(LoadBytes(t.bytes, b, &x));
    EXPECT_EQ(size_t(4), steps.size());
    ExpectTopLeft(t, b, 4, 4);
    EXPECT_EQ(0u, *b.At(0, 4));
    EXPECT_TRUE(SameExtra(Untouched, x)) << "a cancelled load reads no trailer";
}

// Mutated and cut files: each gives a picture or a library exception.
TEST_F(FrmTest, DamagedFilesNeverCrash)
{
    std::vector<Bytes> bases;
    for (int v = 0; v <= 4; ++v) bases.push_back(Craft(v, 9, 7, 200 + unsigned(v)).bytes);
    std::mt19937 rng(2024);
    for (int i = 0; i < 3000; ++i) {
        Bytes file = bases[rng() % bases.size()];
        for (int k = int(rng() % 4); k >= 0; --k) {
            size_t at = (rng() & 1) ? rng() % 8 : rng() % file.size();
            file[at] = static_cast<unsigned char>(rng());
        }
        if (rng() % 3 == 0) file.resize(rng() % (file.size() + 1));
        GFXFileDesc d = GFXFileDesc();
        TestBytes(file, &d);
        // Large headers go into a small buffer: the clipping is tested, not the heap.
        Buffer b;
        if (file.size() >= 8 && int64_t(file[4] | file[5] << 8) * (file[6] | file[7] << 8) > 4096)
            Fill(b, 16, 16, 0);
        GFXtra32 x = Untouched;
        try {
            LoadBytes(file, b, &x);
        } catch (Exception&) {
        }
    }
}

}  // namespace
