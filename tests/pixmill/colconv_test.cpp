// Pixel-format converters: byte layouts, every 16-bit word, packing round
// trips and rows converted in place.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <random>
#include <vector>

#include "colconv.h"
#include "colconv_rows.h"

namespace {

typedef std::vector<unsigned char> Bytes;
typedef std::vector<unsigned long> Pixels;

Bytes RandomBytes(std::mt19937& rng, size_t n)
{
    Bytes b(n);
    for (unsigned char& v : b) v = static_cast<unsigned char>(rng());
    return b;
}

Pixels RandomPixels(std::mt19937& rng, size_t n)
{
    Pixels p(n);
    for (unsigned long& v : p) v = rng();
    return p;
}

// All 65,536 words, little-endian, as a file row holds them.
Bytes EveryWord()
{
    Bytes b;
    for (unsigned w = 0; w < 0x10000; ++w) {
        b.push_back(static_cast<unsigned char>(w));
        b.push_back(static_cast<unsigned char>(w >> 8));
    }
    return b;
}

unsigned long FromBytes(unsigned char b0, unsigned char b1, unsigned char b2, unsigned char b3)
{
    unsigned char b[4] = {b0, b1, b2, b3};
    unsigned long v;
    memcpy(&v, b, 4);
    return v;
}

}  // namespace

TEST(ColconvLayouts, KnownValues)
{
    EXPECT_EQ(0x56341200ul, Colconv::BSwap(0x00123456));
    EXPECT_EQ(0x00563412ul, Colconv::BSwap(0x00123456) >> 8);
    // Bytes R, G, B read as a value; a fourth byte is dropped.
    EXPECT_EQ(0x00102030ul, Colconv::BGR24RGB32(0xFF302010));

    unsigned char rgb[3] = {0x10, 0x20, 0x30};
    unsigned long p = 0;
    Colconv::RGB24RGB32s(rgb, &p, 1);
    EXPECT_EQ(0x00302010ul, p);
    Colconv::BGR24RGB32s(rgb, &p, 1);
    EXPECT_EQ(0x00102030ul, p);

    unsigned long x = FromBytes(0x10, 0x20, 0x30, 0x01);
    Colconv::XBGR32RGB32s(&x, &p, 1);
    EXPECT_EQ(0x01102030ul, p);
    EXPECT_EQ(0x01102030ul, Colconv::XBGR32RGB32(x));
    Colconv::BGR32RGB32s(&x, &p, 1);
    EXPECT_EQ(0x00102030ul, p);
    Colconv::RGB32RGB32s(&x, &p, 1);
    EXPECT_EQ(0x00302010ul, p);
}

TEST(ColconvLayouts, NarrowAndBackKeepsColourAndClearsFlag)
{
    std::mt19937 rng(1);
    Pixels src = RandomPixels(rng, 37);
    Bytes bytes(3 * src.size());
    Pixels back(src.size());

    Colconv::RGB32RGB24s(src.data(), bytes.data(), 37);
    EXPECT_EQ(static_cast<unsigned char>(src[0]), bytes[0]);  // blue first
    Colconv::RGB24RGB32s(bytes.data(), back.data(), 37);
    for (size_t i = 0; i < src.size(); ++i) EXPECT_EQ(src[i] & 0xFFFFFF, back[i]) << i;

    Colconv::RGB32BGR24s(src.data(), bytes.data(), 37);
    EXPECT_EQ(static_cast<unsigned char>(src[0] >> 16), bytes[0]);  // red first
    Colconv::BGR24RGB32s(bytes.data(), back.data(), 37);
    for (size_t i = 0; i < src.size(); ++i) EXPECT_EQ(src[i] & 0xFFFFFF, back[i]) << i;

    Bytes swapped(bytes.size());
    Colconv::BGR24RGB24s(bytes.data(), swapped.data(), 37);
    Colconv::RGB24RGB32s(swapped.data(), back.data(), 37);
    for (size_t i = 0; i < src.size(); ++i) EXPECT_EQ(src[i] & 0xFFFFFF, back[i]) << i;
}

TEST(ColconvLayouts, CountsBelowOneTouchNothing)
{
    unsigned char bytes[4] = {1, 2, 3, 4};
    unsigned long pixel = 0xDEADBEEF;
    Colconv::RGB24RGB32s(bytes, &pixel, 0);
    Colconv::BGR24RGB32s(bytes, &pixel, -1);
    Colconv::W555RGB32s(bytes, &pixel, -5);
    Colconv::Unpack4(bytes, bytes + 1, 0);
    Colconv::BytesToPlane(bytes + 1, bytes, 0, 1);
    Colconv::Pack2(bytes + 1, bytes, -3);
    EXPECT_EQ(0xDEADBEEFul, pixel);
    EXPECT_EQ(1, bytes[0]);
}

TEST(ColconvWords, Every555Word)
{
    auto widen = [](unsigned v) { return v * 8 + v / 4; };
    Bytes words = EveryWord();
    Pixels row(0x10000);
    Colconv::W555RGB32s(words.data(), row.data(), 0x10000);
    for (unsigned w = 0; w < 0x10000; ++w) {
        unsigned long want = (w >= 0x8000 ? 0x01000000ul : 0) + widen((w >> 10) % 32) * 0x10000ul +
                             widen((w >> 5) % 32) * 0x100ul + widen(w % 32);
        ASSERT_EQ(want, Colconv::W555RGB32(static_cast<unsigned short>(w))) << std::hex << w;
        ASSERT_EQ(want, row[w]) << std::hex << w;
    }
}

TEST(ColconvWords, Every444Word)
{
    Bytes words = EveryWord();
    Pixels row(0x10000);
    Colconv::W444RGB32s(words.data(), row.data(), 0x10000);
    for (unsigned w = 0; w < 0x10000; ++w) {
        unsigned long want;
        if (w < 0x4000) {
            want = (w % 16) * 0x110000ul + (w / 16 % 16) * 0x1100ul + (w / 256 % 16) * 0x11ul;
        } else {
            unsigned long flag = (w / 128 % 2) ? 0x20 : 0x10;
            want = flag * 0x1000000ul + (w / 256 - 64) * 0x10000ul + (w % 128) * 0x100ul;
        }
        ASSERT_EQ(want, Colconv::W444RGB32(static_cast<unsigned short>(w))) << std::hex << w;
        ASSERT_EQ(want, row[w]) << std::hex << w;
    }
}

TEST(ColconvBitFields, AnalysisPlacesTopBitOnTopOfByte)
{
    const unsigned long masks[3] = {0xF800, 0x7E0, 0};
    Colconv::BitField f[3];
    Colconv::AnalyseBitFields(masks, f);
    EXPECT_EQ(8, f[0].rotate);
    EXPECT_EQ(5, f[0].width);
    EXPECT_EQ(5, f[1].rotate);
    EXPECT_EQ(6, f[1].width);
    EXPECT_EQ(0, f[2].width);
}

TEST(ColconvBitFields, FiveFiveFiveMasksMatchTheWordConverter)
{
    const unsigned long masks[3] = {0x7C00, 0x3E0, 0x1F};
    Colconv::BitField f[3];
    Colconv::AnalyseBitFields(masks, f);
    Bytes words = EveryWord();
    Pixels row(0x10000);
    Colconv::BitField16RGB32s(words.data(), row.data(), 0x10000, f);
    for (unsigned w = 0; w < 0x10000; ++w)
        ASSERT_EQ(Colconv::W555RGB32(static_cast<unsigned short>(w)) & 0xFFFFFF, row[w]) << std::hex << w;
}

TEST(ColconvBitFields, NarrowWideAndEmptyChannels)
{
    Colconv::BitField f[3];
    unsigned long p;
    unsigned char white[2] = {0xFF, 0xFF};

    const unsigned long m565[3] = {0xF800, 0x7E0, 0x1F};
    Colconv::AnalyseBitFields(m565, f);
    Colconv::BitField16RGB32s(white, &p, 1, f);
    EXPECT_EQ(0x00FFFFFFul, p);

    // Two-bit channels repeat once only: ab becomes abab0000.
    const unsigned long narrow[3] = {0xC000, 0x0003, 0};
    Colconv::AnalyseBitFields(narrow, f);
    unsigned char w1[2] = {0x01, 0x80};  // red 10, green 01
    Colconv::BitField16RGB32s(w1, &p, 1, f);
    EXPECT_EQ(0x00A05000ul, p);

    // Channels wider than a byte keep their top eight bits.
    const unsigned long wide[3] = {0x0FFF, 0, 0xFFC0};
    Colconv::AnalyseBitFields(wide, f);
    unsigned char w2[2] = {0x5A, 0xC3};  // 0xC35A
    Colconv::BitField16RGB32s(w2, &p, 1, f);
    EXPECT_EQ(0x003500C3ul, p);
}

TEST(ColconvRows, LookupAndPlanes)
{
    std::mt19937 rng(2);
    Pixels table = RandomPixels(rng, 256);
    Bytes idx = RandomBytes(rng, 29), g = RandomBytes(rng, 29), b = RandomBytes(rng, 29);
    Pixels out(29);
    Colconv::LookupRGB32s(idx.data(), out.data(), 29, table.data());
    for (int i = 0; i < 29; ++i) EXPECT_EQ(table[idx[i]], out[i]);
    Colconv::PlanesRGB32s(idx.data(), g.data(), b.data(), out.data(), 29);
    for (int i = 0; i < 29; ++i) EXPECT_EQ((idx[i] * 0x10000ul) + g[i] * 0x100ul + b[i], out[i]);
    Pixels copy(29);
    Colconv::CopyRGB32s(table.data(), copy.data(), 29);
    EXPECT_TRUE(std::equal(copy.begin(), copy.end(), table.begin()));
}

TEST(ColconvPacking, BitOrderIsMostSignificantFirst)
{
    Bytes ones = {1, 0, 0, 0, 0, 0, 0, 0, 1};
    Bytes plane(2);
    Colconv::BytesToPlane(ones.data(), plane.data(), 9, 1);
    EXPECT_EQ((Bytes{0x80, 0x80}), plane);

    Bytes nibbles = {0x12, 0x30}, out(3);
    Colconv::Unpack4(nibbles.data(), out.data(), 3);
    EXPECT_EQ((Bytes{1, 2, 3}), out);

    Bytes pairs = {0xE4, 0x40}, out2(5);
    Colconv::Unpack2(pairs.data(), out2.data(), 5);
    EXPECT_EQ((Bytes{3, 2, 1, 0, 1}), out2);
}

// Packed rows are sized exactly, so the sanitizer sees any read or write past them.
TEST(ColconvPacking, UnpackUndoesPackForEveryLength)
{
    std::mt19937 rng(3);
    for (int n = 1; n <= 40; ++n) {
        Bytes x = RandomBytes(rng, n);

        Bytes plane((n + 7) / 8), ones(n, 0);
        Colconv::BytesToPlane(x.data(), plane.data(), n, 1);
        Colconv::PlaneToBytes(plane.data(), ones.data(), n, 1);
        for (int i = 0; i < n; ++i) ASSERT_EQ(x[i] & 1, ones[i]) << n;
        EXPECT_EQ(0, plane.back() & (0xFF >> (1 + (n - 1) % 8))) << "spare bits, n " << n;

        Bytes packed2((n + 3) / 4), twos(n);
        Colconv::Pack2(x.data(), packed2.data(), n);
        Colconv::Unpack2(packed2.data(), twos.data(), n);
        for (int i = 0; i < n; ++i) ASSERT_EQ(x[i] & 3, twos[i]) << n;
        EXPECT_EQ(0, packed2.back() & (0xFF >> (2 + 2 * ((n - 1) % 4)))) << "spare bits, n " << n;

        Bytes packed4((n + 1) / 2), fours(n);
        Colconv::Pack4(x.data(), packed4.data(), n);
        Colconv::Unpack4(packed4.data(), fours.data(), n);
        for (int i = 0; i < n; ++i) ASSERT_EQ(x[i] & 15, fours[i]) << n;
        if (n % 2) {
            EXPECT_EQ(0, packed4.back() & 15) << n;
        }
    }
}

TEST(ColconvPacking, PlanesRebuildBytesAndPixels)
{
    std::mt19937 rng(4);
    for (int n = 1; n <= 40; ++n) {
        Bytes x = RandomBytes(rng, n), rebuilt(n, 0), plane((n + 7) / 8);
        int order[8] = {0, 1, 2, 3, 4, 5, 6, 7};
        std::shuffle(order, order + 8, rng);
        for (int k : order) {
            Colconv::BytesToPlane(x.data(), plane.data(), n, static_cast<unsigned char>(1 << k));
            Colconv::PlaneToBytes(plane.data(), rebuilt.data(), n, static_cast<unsigned char>(1 << k));
        }
        ASSERT_EQ(x, rebuilt) << n;

        Pixels p = RandomPixels(rng, n), again(n, 0);
        for (int k = 0; k < 32; ++k) {
            Colconv::PixelsToPlane(p.data(), plane.data(), n, 1ul << k);
            Colconv::PlaneToPixels(plane.data(), again.data(), n, 1ul << k);
        }
        ASSERT_EQ(p, again) << n;

        // A mask of several bits: any of them sets the plane bit, and all come back.
        unsigned long mask = rng() | 1;
        Pixels masked(n, 0);
        Colconv::PixelsToPlane(p.data(), plane.data(), n, mask);
        Colconv::PlaneToPixels(plane.data(), masked.data(), n, mask);
        for (int i = 0; i < n; ++i) ASSERT_EQ((p[i] & mask) ? mask : 0, masked[i]) << n;
    }
}

namespace {

// A converter as the in-place tests drive it: bits per source and per result value.
struct Converter {
    const char* name;
    int srcBits;
    int dstBits;
    void (*run)(unsigned char* src, unsigned char* dst, int n);
};

unsigned long* Px(unsigned char* p)
{
    return reinterpret_cast<unsigned long*>(p);
}

typedef unsigned char* B;

const unsigned long* Table()
{
    static Pixels t;
    if (t.empty())
        for (unsigned long i = 0; i < 256; ++i) t.push_back(i * 0x9E3779B1ul);
    return t.data();
}

void RunBitFields(B s, B d, int n)
{
    const unsigned long masks[3] = {0xF000, 0x0FC0, 0x003F};
    Colconv::BitField f[3];
    Colconv::AnalyseBitFields(masks, f);
    Colconv::BitField16RGB32s(s, Px(d), n, f);
}

const Converter Widening[] = {
    {"RGB24RGB32s", 24, 32, [](B s, B d, int n) { Colconv::RGB24RGB32s(s, Px(d), n); }},
    {"BGR24RGB32s", 24, 32, [](B s, B d, int n) { Colconv::BGR24RGB32s(s, Px(d), n); }},
    {"W444RGB32s", 16, 32, [](B s, B d, int n) { Colconv::W444RGB32s(s, Px(d), n); }},
    {"W555RGB32s", 16, 32, [](B s, B d, int n) { Colconv::W555RGB32s(s, Px(d), n); }},
    {"BitField16RGB32s", 16, 32, RunBitFields},
    {"LookupRGB32s", 8, 32, [](B s, B d, int n) { Colconv::LookupRGB32s(s, Px(d), n, Table()); }},
    {"Unpack4", 4, 8, [](B s, B d, int n) { Colconv::Unpack4(s, d, n); }},
    {"Unpack2", 2, 8, [](B s, B d, int n) { Colconv::Unpack2(s, d, n); }},
};

const Converter SameOrNarrower[] = {
    {"RGB32RGB24s", 32, 24, [](B s, B d, int n) { Colconv::RGB32RGB24s(Px(s), d, n); }},
    {"RGB32BGR24s", 32, 24, [](B s, B d, int n) { Colconv::RGB32BGR24s(Px(s), d, n); }},
    {"BGR24RGB24s", 24, 24, Colconv::BGR24RGB24s},
    {"BGR32RGB32s", 32, 32, [](B s, B d, int n) { Colconv::BGR32RGB32s(Px(s), Px(d), n); }},
    {"RGB32RGB32s", 32, 32, [](B s, B d, int n) { Colconv::RGB32RGB32s(Px(s), Px(d), n); }},
    {"XBGR32RGB32s", 32, 32, [](B s, B d, int n) { Colconv::XBGR32RGB32s(Px(s), Px(d), n); }},
    {"CopyRGB32s", 32, 32, [](B s, B d, int n) { Colconv::CopyRGB32s(Px(s), Px(d), n); }},
    {"Pack4", 8, 4, [](B s, B d, int n) { Colconv::Pack4(s, d, n); }},
    {"Pack2", 8, 2, [](B s, B d, int n) { Colconv::Pack2(s, d, n); }},
};

// Word-aligned scratch bytes.
struct Row {
    Pixels words;
    explicit Row(size_t bytes) : words((bytes + 3) / 4, 0) {}
    unsigned char* bytes() { return reinterpret_cast<unsigned char*>(words.data()); }
};

}  // namespace

// The two ways a reader shares a row with its file data: read to the start of
// the row, or to its end; both must give what separate arrays give.
TEST(ColconvInPlace, WideningFromStartOrEndOfRow)
{
    std::mt19937 rng(5);
    for (const Converter& c : Widening) {
        for (int n = 1; n <= 40; ++n) {
            size_t srcSize = (static_cast<size_t>(n) * c.srcBits + 7) / 8;
            size_t dstSize = (static_cast<size_t>(n) * c.dstBits + 7) / 8;
            Bytes src = RandomBytes(rng, srcSize);
            Row want(dstSize), atStart(dstSize), atEnd(dstSize);
            c.run(src.data(), want.bytes(), n);

            memcpy(atStart.bytes(), src.data(), srcSize);
            c.run(atStart.bytes(), atStart.bytes(), n);
            ASSERT_EQ(0, memcmp(want.bytes(), atStart.bytes(), dstSize)) << c.name << " at start, n " << n;

            unsigned char* end = atEnd.bytes() + dstSize - srcSize;
            memcpy(end, src.data(), srcSize);
            c.run(end, atEnd.bytes(), n);
            ASSERT_EQ(0, memcmp(want.bytes(), atEnd.bytes(), dstSize)) << c.name << " at end, n " << n;
        }
    }
}

TEST(ColconvInPlace, SameArrayGivesSameResult)
{
    std::mt19937 rng(6);
    for (const Converter& c : SameOrNarrower) {
        for (int n = 1; n <= 40; ++n) {
            size_t srcSize = static_cast<size_t>(n) * c.srcBits / 8;
            size_t dstSize = (static_cast<size_t>(n) * c.dstBits + 7) / 8;
            Row src(srcSize), want(dstSize);
            Bytes r = RandomBytes(rng, srcSize);
            memcpy(src.bytes(), r.data(), srcSize);
            c.run(src.bytes(), want.bytes(), n);
            c.run(src.bytes(), src.bytes(), n);
            ASSERT_EQ(0, memcmp(want.bytes(), src.bytes(), dstSize)) << c.name << ", n " << n;
        }
    }
}
