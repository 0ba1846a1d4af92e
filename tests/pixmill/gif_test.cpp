// GIF: the LZW coder both ways (code growth, full tables, streams without a
// leading clear code, every way data can be wrong), composing the images of
// an animation, clipping, the writer's exact layout, and damaged files.
#include <gtest/gtest.h>

#include <string.h>

#include <random>
#include <string>
#include <vector>

#include "exceptions.h"
#include "format_fixture.h"
#include "gfxfile.h"
#include "gif_lzw.h"
#include "streambuf.h"
#include "streams.h"

#include "formats.h"

namespace {

using format_fixture::Bytes;
using format_fixture::Pixels;
using format_fixture::Read;
typedef std::vector<uint16_t> Indices;

const format_fixture::FormatBytes Gif = {GIFFormat, "t.gif"};

Bytes Contents(TMemoryStream& mem)
{
    const unsigned char* m = static_cast<const unsigned char*>(mem.GetMemory());
    return Bytes(m, m + mem.GetSize());
}

// Image data (code size byte excluded) for the values.
Bytes Encode(const Bytes& values, int minSize)
{
    TMemoryStream mem;
    GIFEncoder lzw(&mem, minSize);
    lzw.Put(values.data(), int(values.size()));
    lzw.Finish();
    return Contents(mem);
}

struct Data {
    TMemoryStream mem;
    StreamBuf in;
    explicit Data(const Bytes& b) : in(&mem, 64)
    {
        mem.Write(b.data(), int(b.size()));
        mem.SetPosition(0);
    }
};

Indices Decode(const Bytes& data, int minSize, size_t n)
{
    Data d(data);
    GIFDecoder lzw(d.in, minSize);
    Indices out(n);
    lzw.Read(out.data(), int(n));
    return out;
}

std::string DecodeError(const Bytes& data, int minSize, size_t n)
{
    try {
        Decode(data, minSize, n);
    } catch (EInvalidImage& e) {
        return e.Detail.c_str();
    }
    return "";
}

// Codes of the given widths packed into sub-blocks, for streams the
// encoder would never write.
Bytes Pack(const std::vector<std::pair<unsigned, int>>& codes)
{
    Bytes raw;
    uint32_t bits = 0;
    int count = 0;
    for (auto& c : codes) {
        bits |= c.first << count;
        for (count += c.second; count >= 8; count -= 8, bits >>= 8) raw.push_back(static_cast<unsigned char>(bits));
    }
    if (count) raw.push_back(static_cast<unsigned char>(bits));
    Bytes out;
    for (size_t i = 0; i < raw.size(); i += 255) {
        size_t n = std::min<size_t>(255, raw.size() - i);
        out.push_back(static_cast<unsigned char>(n));
        out.insert(out.end(), raw.begin() + long(i), raw.begin() + long(i + n));
    }
    out.push_back(0);
    return out;
}

Indices Widen(const Bytes& b) { return Indices(b.begin(), b.end()); }

TEST(GIFLzw, RoundTripsAtEverySizeThroughFullTables)
{
    std::mt19937 rng(7);
    for (int minSize = 2; minSize <= 8; ++minSize)
        for (size_t n : {size_t(0), size_t(1), size_t(2), size_t(300), size_t(70000)}) {
            Bytes v(n);
            for (size_t i = 0; i < n; ++i)
                v[i] = static_cast<unsigned char>(i % 3 ? rng() % (1u << minSize) : v[i / 2]);
            Bytes data = Encode(v, minSize);
            EXPECT_EQ(Decode(data, minSize, n), Widen(v)) << minSize << " " << n;
            // What follows the last pixel is the end code, then nothing.
            EXPECT_EQ(DecodeError(data, minSize, n + 1), "GIF: end code before the last pixel") << minSize << " " << n;
            for (size_t at = 0; at + 256 < data.size(); at += 256) EXPECT_EQ(data[at], 255) << minSize << " " << n;
            EXPECT_EQ(data.back(), 0);
        }
}

TEST(GIFLzw, EncoderExactBytesAndTheWidthOfTheEndCode)
{
    // Clear 4 (3 bits), 0, 1, then the last code 2; the table holds 8 entries
    // then, so the end code goes out 4 bits wide: 100 000 001 010 0101.
    EXPECT_EQ(Encode({0, 1, 2}, 2), Bytes({2, 0x44, 0x54, 0}));
    // Runs grow strings: 0, 0 0 -> codes 0, 6, then 0 as the last.
    EXPECT_EQ(Decode(Encode({0, 0, 0, 0}, 2), 2, 4), Indices({0, 0, 0, 0}));
    // Widening right at the last code: 127 distinct values of 7 bits fill
    // the 8-bit codes, and the end code must be read 9 bits wide.
    Bytes v;
    for (int i = 0; i < 127; ++i) v.push_back(static_cast<unsigned char>(i));
    Bytes data = Encode(v, 7);
    EXPECT_EQ(data.size(), 1u + (8 + 127 * 8 + 9 + 7) / 8 + 1);
    EXPECT_EQ(DecodeError(data, 7, 128), "GIF: end code before the last pixel");
    // Values above the code size cannot pass for control codes.
    EXPECT_EQ(Decode(Encode({5, 6, 7, 255}, 2), 2, 4), Indices({1, 2, 3, 3}));
}

TEST(GIFLzw, AFullTableStartsAgain)
{
    // Random values fill the table; a long run after them only compresses
    // well in a fresh table, where its strings can grow.
    std::mt19937 rng(9);
    Bytes v(6000);
    for (auto& k : v) k = static_cast<unsigned char>(rng());
    Bytes random = Encode(v, 8);
    v.resize(v.size() + 30000, 0);
    Bytes data = Encode(v, 8);
    EXPECT_LT(data.size(), random.size() + 600);
    EXPECT_EQ(Decode(data, 8, v.size()), Widen(v));
}

TEST(GIFLzw, DecoderStartsAsAfterAClearCode)
{
    // No clear code: 1, then the code one past the table (1 1), then end.
    EXPECT_EQ(Decode(Pack({{1, 3}, {6, 3}, {5, 3}}), 2, 3), Indices({1, 1, 1}));
    // Repeated clear codes, then a root.
    EXPECT_EQ(Decode(Pack({{4, 3}, {4, 3}, {3, 3}, {2, 3}}), 2, 2), Indices({3, 2}));
    // A full table keeps decoding 12-bit codes without new entries.
    std::vector<std::pair<unsigned, int>> codes;
    Indices expected;
    int width = 3;
    unsigned next = 6;
    for (int i = 0; i < 6000; ++i) {
        codes.push_back({unsigned(i % 4), width});
        expected.push_back(uint16_t(i % 4));
        if (i > 0 && next < 4096 && ++next == 1u << width && width < 12) ++width;
    }
    // Root code k (k >= 1) made entry 5 + k: the root before it, then its
    // own; entry 4095 came from k = 4090.
    codes.push_back({4095, 12});
    expected.insert(expected.end(), {4089 % 4, 4090 % 4});
    codes.push_back({5, 12});
    EXPECT_EQ(Decode(Pack(codes), 2, expected.size()), expected);
}

TEST(GIFLzw, EveryBrokenStreamIsRefused)
{
    const std::string unknown = "GIF: code not in the table";
    EXPECT_EQ(DecodeError(Pack({{6, 3}}), 2, 1), unknown);                  // past the table right at the start
    EXPECT_EQ(DecodeError(Pack({{4, 3}, {6, 3}}), 2, 1), unknown);          // ... and after a clear code
    EXPECT_EQ(DecodeError(Pack({{1, 3}, {7, 3}}), 2, 2), unknown);          // beyond the next free code
    EXPECT_EQ(DecodeError(Pack({{4, 3}, {5, 3}}), 2, 1), "GIF: end code before the last pixel");
    EXPECT_EQ(DecodeError(Pack({{1, 3}}), 2, 4), "GIF: image data ends before its last pixel");
    EXPECT_EQ(DecodeError(Bytes({0}), 2, 1), "GIF: image data ends before its last pixel");
    Data cut(Bytes({5, 1}));
    GIFDecoder lzw(cut.in, 2);
    uint16_t out[4];
    EXPECT_THROW(lzw.Read(out, 4), EReadError);
}

TEST(GIFLzw, SkipRestPassesOverExtraBytesAndSubBlocks)
{
    Bytes data = Encode({1, 2, 3}, 2);
    data.pop_back();
    data[0] += 3;
    data.insert(data.end(), {0x3B, 0x2C, 0x21});  // junk after the end code, same sub-block
    data.insert(data.end(), {2, 0x21, 0xF9, 0, 0x2C});
    Data d(data);
    GIFDecoder lzw(d.in, 2);
    uint16_t out[3];
    lzw.Read(out, 3);
    lzw.SkipRest();
    EXPECT_EQ(d.in.Byte(), 0x2C);
}

// ---- files --------------------------------------------------------------------

unsigned long TableColour(int seed, int i)
{
    return (unsigned long)((i * 37 + seed * 11) & 255) << 16 | ((i * 91 + seed) & 255) << 8 |
           ((i * 53 + seed * 5) & 255);
}

// A GIF file written step by step.
struct GifBuilder {
    Bytes b;

    GifBuilder(int w, int h, int tableBits, int background = 0, int resolution = 8)
    {
        b = {'G', 'I', 'F', '8', '9', 'a'};
        Put16(w);
        Put16(h);
        b.push_back(static_cast<unsigned char>((tableBits ? 0x80 | (tableBits - 1) : 0) | (resolution - 1) << 4));
        b.push_back(static_cast<unsigned char>(background));
        b.push_back(0);
        if (tableBits) Table(tableBits, 0);
    }
    void Put16(int v)
    {
        b.push_back(static_cast<unsigned char>(v));
        b.push_back(static_cast<unsigned char>(v >> 8));
    }
    void Table(int bits, int seed)
    {
        for (int i = 0; i < 1 << bits; ++i) {
            unsigned long c = TableColour(seed, i);
            b.insert(b.end(), {static_cast<unsigned char>(c >> 16), static_cast<unsigned char>(c >> 8),
                               static_cast<unsigned char>(c)});
        }
    }
    GifBuilder& Control(int disposal, int transparent = -1)
    {
        b.insert(b.end(), {0x21, 0xF9, 4, static_cast<unsigned char>(disposal << 2 | (transparent >= 0)), 0, 0,
                           static_cast<unsigned char>(transparent), 0});
        return *this;
    }
    GifBuilder& Comment()
    {
        b.insert(b.end(), {0x21, 0xFE, 3, 'a', 'b', 'c', 1, 'd', 0});
        return *this;
    }
    // pixels row by row; local table of localBits (0: none), seeded 1.
    GifBuilder& Image(int left, int top, int w, int h, const Bytes& pixels, bool interlaced = false,
                      int localBits = 0, int minSize = 8)
    {
        b.push_back(0x2C);
        Put16(left);
        Put16(top);
        Put16(w);
        Put16(h);
        b.push_back(static_cast<unsigned char>((interlaced ? 0x40 : 0) | (localBits ? 0x80 | (localBits - 1) : 0)));
        if (localBits) Table(localBits, 1);
        Bytes order;
        const int passes[4][2] = {{8, 0}, {8, 4}, {4, 2}, {2, 1}};
        for (int p = 0; p < (interlaced ? 4 : 1); ++p)
            for (int y = interlaced ? passes[p][1] : 0; y < h; y += interlaced ? passes[p][0] : 1)
                order.insert(order.end(), pixels.begin() + y * w, pixels.begin() + (y + 1) * w);
        b.push_back(static_cast<unsigned char>(minSize));
        Bytes data = Encode(order, minSize);
        b.insert(b.end(), data.begin(), data.end());
        return *this;
    }
    Bytes Done()
    {
        Bytes out = b;
        out.push_back(0x3B);
        return out;
    }
};

Bytes Ramp(int n, int modulo, int start = 0)
{
    Bytes p(size_t(n), 0);
    for (int i = 0; i < n; ++i) p[size_t(i)] = static_cast<unsigned char>((start + i * 7 + i / 5) % modulo);
    return p;
}

bool Load(const Bytes& bytes, Buffer& b, int image = 0, GFXFileDesc* d = nullptr, GFXtra32* x = nullptr)
{
    return Gif.Load(bytes, b, d, x, image);
}

Pixels LoadPixels(const Bytes& bytes, int image = 0)
{
    Buffer b;
    EXPECT_TRUE(Load(bytes, b, image));
    return Read(b);
}

// The picture as an image of table entries over a background pixel.
Pixels Paint(int w, int h, unsigned long background)
{
    return Pixels(size_t(w * h), background);
}

void Draw(Pixels& p, int w, int left, int top, int iw, int ih, const Bytes& idx, int seed, int transparent = -1)
{
    for (int y = 0; y < ih; ++y)
        for (int x = 0; x < iw; ++x) {
            int v = idx[size_t(y * iw + x)];
            if (v != transparent) p[size_t((top + y) * w + left + x)] = TableColour(seed, v);
        }
}

TEST(GIFTest, CountsImagesAndTheLargestTable)
{
    GifBuilder g(20, 10, 3, 0, 5);
    g.Comment().Control(0, 2).Image(0, 0, 4, 4, Ramp(16, 8), true).Image(1, 1, 2, 2, Ramp(4, 8), false, 6);
    GFXFileDesc d = {};
    uint8_t pal[768];
    d.paletteData = pal;
    EXPECT_EQ(Gif.Test(g.Done(), &d), 1);
    EXPECT_EQ(d.images, 2);
    EXPECT_EQ(d.width, 20);
    EXPECT_EQ(d.height, 10);
    EXPECT_EQ(d.bits, 6);
    EXPECT_EQ(d.channelBits, 5);
    EXPECT_EQ(d.colour & d.palette, 1);
    EXPECT_EQ(d.interlaced & d.transparent, 1);
    EXPECT_EQ(d.paletteData, pal);
    // Cut inside the second image's data: what was met counts.
    Bytes cut = g.b;
    cut.resize(cut.size() - 3);
    EXPECT_EQ(Gif.Test(cut, &d), 1);
    EXPECT_EQ(d.images, 2);
    EXPECT_EQ(Gif.Test(GifBuilder(5, 5, 1).Done(), &d), -1);
    EXPECT_EQ(d.images, 0);
    EXPECT_EQ(Gif.Test(Bytes({'G', 'I', 'F'}), &d), -1);
    EXPECT_EQ(Gif.Test(Bytes({'G', 'I'})), 0);
    EXPECT_EQ(Gif.Test(Bytes({'G', 'I', 'X', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0})), 0);
}

TEST(GIFLoad, OneImageWithItsPaletteAndBackground)
{
    Bytes idx = Ramp(35, 16);
    GifBuilder g(7, 5, 4, 9);
    g.Image(0, 0, 7, 5, idx, false, 0, 4);
    GFXFileDesc d = {};
    uint8_t pal[768];
    memset(pal, 0xAB, sizeof pal);
    d.paletteData = pal;
    GFXtra32 x = {1, 2, 3, 4};
    Buffer b;
    ASSERT_TRUE(Load(g.Done(), b, 0, &d, &x));
    Pixels want = Paint(7, 5, 0);
    Draw(want, 7, 0, 0, 7, 5, idx, 0);
    EXPECT_EQ(Read(b), want);
    EXPECT_EQ(x.colour2, TableColour(0, 9));
    EXPECT_EQ(x.x, 1);
    EXPECT_EQ(pal[3 * 15 + 1], uint8_t(TableColour(0, 15) >> 8));
    EXPECT_EQ(pal[3 * 16], 0);  // beyond the table
    EXPECT_EQ(d.interlaced | d.transparent, 0);
}

TEST(GIFLoad, InterlacedAndSequentialTwinsAgree)
{
    for (int h : {1, 2, 3, 5, 8, 9, 17}) {
        Bytes idx = Ramp(6 * h, 256);
        Bytes a = GifBuilder(6, h, 8).Image(0, 0, 6, h, idx).Done();
        Bytes b = GifBuilder(6, h, 8).Image(0, 0, 6, h, idx, true).Done();
        EXPECT_EQ(LoadPixels(b), LoadPixels(a)) << h;
        GFXFileDesc d = {};
        Buffer buf;
        Load(b, buf, 0, &d);
        EXPECT_EQ(d.interlaced, 1);
    }
}

TEST(GIFLoad, ComposesEarlierImagesByTheirDisposal)
{
    const int w = 10, h = 8, bgIndex = 5;
    Bytes full = Ramp(w * h, 16), a = Ramp(16, 16, 3), c = Ramp(12, 16, 1), e = Ramp(9, 16, 2);
    GifBuilder g(w, h, 4, bgIndex);
    g.Image(0, 0, w, h, full);                           // 0: drawn
    g.Control(2).Image(1, 1, 4, 4, a);                    // 1: back to the background
    g.Control(1, 0).Image(5, 2, 4, 3, c, true);           // 2: drawn, entry 0 see-through
    g.Control(3).Image(0, 5, 3, 3, e, false, 4);          // 3: left out
    g.Comment().Control(0, 1).Image(2, 0, 3, 3, e);      // 4: the last, entry 1 see-through
    Bytes file = g.Done();
    unsigned long bg = TableColour(0, bgIndex);

    Pixels want = Paint(w, h, bg);
    Draw(want, w, 0, 0, w, h, full, 0);
    EXPECT_EQ(LoadPixels(file, 0), want);
    Pixels one = want;
    Draw(one, w, 1, 1, 4, 4, a, 0);
    EXPECT_EQ(LoadPixels(file, 1), one);
    for (int y = 1; y < 5; ++y)
        for (int x = 1; x < 5; ++x) want[size_t(y * w + x)] = bg;
    Pixels two = want;
    Draw(two, w, 5, 2, 4, 3, c, 0, 0);
    EXPECT_EQ(LoadPixels(file, 2), two);
    Pixels three = two;
    Draw(three, w, 0, 5, 3, 3, e, 1);
    EXPECT_EQ(LoadPixels(file, 3), three);
    Draw(two, w, 2, 0, 3, 3, e, 0, 1);
    EXPECT_EQ(LoadPixels(file, 4), two);
    EXPECT_EQ(Gif.Detail(file, 5), "GIF: the file ends before the image asked for");
    EXPECT_EQ(Gif.Detail(file, -1), "GIF: negative image number");
}

TEST(GIFLoad, TransparentIndexOfTheImageAskedFor)
{
    // Image 0 shows every pixel; colour2 becomes the see-through colour
    // even though the background index differs.
    Bytes idx = {0, 1, 2, 3};
    Bytes file = GifBuilder(2, 2, 2, 3).Control(0, 2).Image(0, 0, 2, 2, idx, false, 0, 2).Control(0, 1)
                     .Image(0, 0, 2, 1, Bytes({1, 0}), false, 0, 2).Done();
    GFXFileDesc d = {};
    GFXtra32 x = {};
    Buffer b;
    ASSERT_TRUE(Load(file, b, 0, &d, &x));
    EXPECT_EQ(Read(b), Pixels({TableColour(0, 0), TableColour(0, 1), TableColour(0, 2), TableColour(0, 3)}));
    EXPECT_EQ(d.transparent, 1);
    EXPECT_EQ(x.colour2, TableColour(0, 2));
    // Image 1: its entry 1 lets image 0 show; image 0's entry 2 let the background show.
    Buffer c;
    GFXFileDesc e = {};
    ASSERT_TRUE(Load(file, c, 1, &e, &x));
    EXPECT_EQ(Read(c), Pixels({TableColour(0, 0), TableColour(0, 0), TableColour(0, 3), TableColour(0, 3)}));
    EXPECT_EQ(x.colour2, TableColour(0, 1));
}

TEST(GIFLoad, ClipsToASmallerBufferAndDecodesOn)
{
    const int w = 12, h = 9;
    Bytes big = Ramp(14 * 6, 16), small = Ramp(4, 16, 5);
    Bytes file = GifBuilder(w, h, 4).Image(5, 4, 14, 6, big, true).Image(1, 1, 2, 2, small).Done();
    Pixels whole = LoadPixels(file, 1);  // the screen clips the first image too
    Buffer block;
    block.Alloc({8, 8});
    block.Box(Rect{0, 0, 7, 7}, 0x5A5A5A);
    Buffer view;
    view.Alloc(block, Rect{1, 1, 6, 5}, false);
    ASSERT_TRUE(Load(file, view, 1));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool inside = x >= 1 && x <= 6 && y >= 1 && y <= 5;
            unsigned long want = inside ? whole[size_t((y - 1) * w + x - 1)] : 0x5A5A5A;
            EXPECT_EQ(*block.At(x, y), want) << x << "," << y;
        }
}

// Image data whose last sub-block goes on after the end code, followed by
// two more sub-blocks before the terminator; the junk looks like blocks.
Bytes WithJunkAfterTheEnd(Bytes data)
{
    size_t last = 0;
    for (size_t at = 0; data[at] != 0; at += data[at] + 1u) last = at;
    data.pop_back();
    data[last] = static_cast<unsigned char>(data[last] + 3);
    data.insert(data.end(), {0x3B, 0x2C, 0x21, 2, 0x2C, 0x3B, 1, 0x21, 0});
    return data;
}

TEST(GIFLoad, EarlierImageWithDataAfterItsEndCode)
{
    Bytes first = Ramp(16, 4), top = Ramp(4, 4, 1);
    GifBuilder g(4, 4, 2);
    g.b.insert(g.b.end(), {0x2C, 0, 0, 0, 0, 4, 0, 4, 0, 0, 2});
    Bytes data = WithJunkAfterTheEnd(Encode(first, 2));
    g.b.insert(g.b.end(), data.begin(), data.end());
    Bytes file = g.Image(1, 1, 2, 2, top, false, 0, 2).Done();
    Bytes plain = GifBuilder(4, 4, 2).Image(0, 0, 4, 4, first, false, 0, 2).Image(1, 1, 2, 2, top, false, 0, 2).Done();
    EXPECT_EQ(LoadPixels(file, 1), LoadPixels(plain, 1));
    EXPECT_EQ(LoadPixels(file, 0), LoadPixels(plain, 0));
}

TEST(GIFLoad, CodeSizesAndTablesOfEveryKind)
{
    // A code size below the table's, as encoders choose by the values used.
    Bytes low = GifBuilder(3, 1, 8).Image(0, 0, 3, 1, Bytes({0, 3, 1}), false, 0, 2).Done();
    EXPECT_EQ(LoadPixels(low), Pixels({TableColour(0, 0), TableColour(0, 3), TableColour(0, 1)}));
    // Pixels beyond the table, even beyond 255 with 11-bit roots, look up black.
    Bytes wide = GifBuilder(2, 1, 1).Image(0, 0, 2, 1, Bytes({1, 200}), false, 0, 8).Done();
    EXPECT_EQ(LoadPixels(wide), Pixels({TableColour(0, 1), 0}));
    GifBuilder huge(2, 1, 1);
    huge.b.insert(huge.b.end(), {0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0, 11});
    Bytes data = Pack({{2047, 12}, {1, 12}, {2049, 12}});
    huge.b.insert(huge.b.end(), data.begin(), data.end());
    EXPECT_EQ(LoadPixels(huge.Done()), Pixels({0, TableColour(0, 1)}));
    // No table at all: black.
    EXPECT_EQ(LoadPixels(GifBuilder(1, 1, 0).Image(0, 0, 1, 1, Bytes({1}), false, 0, 2).Done()), Pixels({0}));
    // Local tables belong to their image only.
    Bytes local = GifBuilder(2, 1, 2)
                      .Image(0, 0, 1, 1, Bytes({3}), false, 3, 3)
                      .Image(1, 0, 1, 1, Bytes({3}), false, 0, 2)
                      .Done();
    EXPECT_EQ(LoadPixels(local, 1), Pixels({TableColour(1, 3), TableColour(0, 3)}));
    for (int size : {1, 12, 255}) {
        GifBuilder g(1, 1, 1);
        g.b.insert(g.b.end(), {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, static_cast<unsigned char>(size), 1, 0, 0});
        EXPECT_EQ(Gif.Detail(g.Done()), "GIF: LZW minimum code size not 2 to 11") << size;
    }
}

TEST(GIFLoad, DamagedFiles)
{
    Bytes good = GifBuilder(5, 4, 3).Image(0, 0, 5, 4, Ramp(20, 8), false, 0, 3).Done();
    // Data that ends early inside the image: the terminator comes too soon.
    Bytes early = GifBuilder(5, 4, 3).Image(0, 0, 5, 3, Ramp(15, 8), false, 0, 3).Done();
    early[13 + 24 + 7] = 4;  // the image claims 4 rows
    EXPECT_EQ(Gif.Detail(early), "GIF: end code before the last pixel");
    Buffer three;
    three.Alloc({5, 3});
    EXPECT_TRUE(Load(early, three));  // the rows the buffer cannot show are never read
    Bytes cut(good.begin(), good.end() - 4);
    Buffer b;
    EXPECT_THROW(Load(cut, b), EReadError);
    Bytes renamed = good;
    renamed[0] = 'g';
    EXPECT_EQ(Gif.Detail(renamed), "GIF: no GIF signature");
    Bytes junk = good;
    junk[13 + 24] = 0x99;
    EXPECT_EQ(Gif.Detail(junk), "GIF: a block that is neither an extension nor an image");
    EXPECT_EQ(Gif.Detail(GifBuilder(65535, 65535, 1).Done()), "GIF: more than 2^28 pixels");
    EXPECT_EQ(Gif.Detail(GifBuilder(0, 0, 1).Done()), "GIF: the file ends before the image asked for");
}

bool StopAtFirst(int) { return false; }
std::vector<int> steps;
bool Record(int p)
{
    steps.push_back(p);
    return true;
}

TEST(GIFLoad, ProgressFollowsTheBytesAndStopsOnCancel)
{
    Bytes file = GifBuilder(300, 4, 8).Image(0, 0, 300, 4, Ramp(1200, 256)).Done();
    GFXFile::SetProgFunc(nullptr, Record, nullptr);
    steps.clear();
    Buffer a;
    EXPECT_TRUE(Load(file, a));
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_LT(steps[0], steps[3]);
    EXPECT_LE(steps[3], 100);
    GFXFile::SetProgFunc(nullptr, StopAtFirst, nullptr);
    Buffer c;
    EXPECT_FALSE(Load(file, c));
    GFXFile::SetProgFunc(nullptr, nullptr, nullptr);
}

// ---- saving ---------------------------------------------------------------

struct IndexPicture {
    Buffer b;
    IndexPicture(int w, int h, const Bytes& values)
    {
        b.Alloc({(w + 3) / 4 > 0 ? (w + 3) / 4 : 1, h});
        b.right = w - 1;
        for (int y = 0; y < h; ++y)
            memcpy(b.pixels + y * b.stride, values.data() + y * w, size_t(w));
    }
};

struct Saved {
    Bytes bytes;
    bool result;
    Saved(Buffer& b, int bits, bool interlaced = false, bool transparent = false, GFXtra32* x = nullptr)
    {
        unsigned char pal[768];
        for (int i = 0; i < 256; ++i) {
            unsigned long c = TableColour(4, i);
            pal[3 * i] = uint8_t(c >> 16), pal[3 * i + 1] = uint8_t(c >> 8), pal[3 * i + 2] = uint8_t(c);
        }
        TMemoryStream mem;
        TOutputStream out(&mem, "t.gif");
        GFXSaveParams p = {};
        p.bits = int8_t(bits);
        p.interlaced = interlaced;
        p.transparent = transparent;
        p.paletteData = pal;
        result = GIFFormat()->Save(b, &out, x, &p);
        bytes = Contents(mem);
    }
};

TEST(GIFSave, LayoutOfEveryDepthRoundTrips)
{
    for (int bits = 1; bits <= 8; ++bits)
        for (int kind = 0; kind < 4; ++kind) {
            bool interlaced = kind & 1, transparent = kind & 2;
            const int w = 13, h = 11;
            Bytes values = Ramp(w * h, 1 << bits);
            IndexPicture pic(w, h, values);
            GFXtra32 x = {0, 0, 0, 0x03123456};
            Saved s(pic.b, bits, interlaced, transparent, &x);
            ASSERT_TRUE(s.result);
            const Bytes& f = s.bytes;
            EXPECT_EQ(std::string(f.begin(), f.begin() + 6), transparent ? "GIF89a" : "GIF87a");
            EXPECT_EQ(Bytes(f.begin() + 6, f.begin() + 13), Bytes({w, 0, h, 0, uint8_t(0xF0 | (bits - 1)), 3, 0}));
            size_t at = 13 + (3u << bits);
            if (transparent) {
                EXPECT_EQ(Bytes(f.begin() + long(at), f.begin() + long(at) + 8), Bytes({0x21, 0xF9, 4, 1, 0, 0, 0, 0}));
                at += 8;
            }
            EXPECT_EQ(Bytes(f.begin() + long(at), f.begin() + long(at) + 11),
                      Bytes({0x2C, 0, 0, 0, 0, w, 0, h, 0, uint8_t((interlaced ? 0x40 : 0) | (bits - 1)),
                             uint8_t(bits < 2 ? 2 : bits)}));
            EXPECT_EQ(f.back(), 0x3B);
            Pixels want = Paint(w, h, 0);
            Draw(want, w, 0, 0, w, h, values, 4);
            GFXFileDesc d = {};
            Buffer back;
            ASSERT_TRUE(Load(f, back, 0, &d));
            EXPECT_EQ(Read(back), want) << bits << " " << kind;
            EXPECT_EQ(d.interlaced, interlaced);
            EXPECT_EQ(d.transparent, transparent);
        }
}

TEST(GIFSave, FullTablesStartAgainAndSubBlocksAreFull)
{
    const int w = 300, h = 200;
    std::mt19937 rng(300);
    Bytes values(size_t(w * h));
    for (auto& v : values) v = static_cast<unsigned char>(rng());
    IndexPicture pic(w, h, values);
    Saved s(pic.b, 8, true);
    ASSERT_TRUE(s.result);
    size_t at = 13 + 768 + 11;
    while (s.bytes[at] == 255) at += 256;
    EXPECT_GT(at, 13u + 768 + 11 + 255 * 200);
    EXPECT_EQ(s.bytes[at + s.bytes[at] + 1], 0);
    EXPECT_EQ(at + s.bytes[at] + 3, s.bytes.size());
    Pixels want = Paint(w, h, 0);
    Draw(want, w, 0, 0, w, h, values, 4);
    EXPECT_EQ(LoadPixels(s.bytes), want);
}

bool RecordAndStop(int p)
{
    steps.push_back(p);
    return false;
}

TEST(GIFSave, CancelTakesEffectAtTheEndOfAPass)
{
    Bytes values = Ramp(4 * 20, 4);
    IndexPicture pic(4, 20, values);
    GFXFile::SetProgFunc(nullptr, Record, nullptr);
    steps.clear();
    Saved all(pic.b, 2, true);
    EXPECT_TRUE(all.result);
    ASSERT_EQ(steps.size(), 20u);
    EXPECT_EQ(steps[2], 15);  // pass 1 holds rows 0, 8, 16
    EXPECT_EQ(steps.back(), 100);
    steps.clear();
    GFXFile::SetProgFunc(nullptr, RecordAndStop, nullptr);
    Saved cancelled(pic.b, 2, true);
    EXPECT_FALSE(cancelled.result);
    EXPECT_EQ(steps, std::vector<int>({5, 10, 15}));
    steps.clear();
    Saved sequential(pic.b, 2);
    GFXFile::SetProgFunc(nullptr, nullptr, nullptr);
    EXPECT_FALSE(sequential.result);
    EXPECT_EQ(steps.size(), 20u);
    EXPECT_NE(cancelled.bytes.back(), 0x3B);
    EXPECT_LT(cancelled.bytes.size(), all.bytes.size());
}

TEST(GIFSave, RefusalsAndTheEmptyPicture)
{
    IndexPicture pic(2, 2, Bytes(4, 1));
    EXPECT_THROW(Saved(pic.b, 0), EInvalidImage);
    EXPECT_THROW(Saved(pic.b, 9), EInvalidImage);
    Buffer wide;
    wide.Alloc({16385, 1});
    wide.right = 65535;
    TMemoryStream mem;
    {
        TOutputStream out(&mem, "t.gif");
        unsigned char pal[768] = {};
        GFXSaveParams p = {};
        p.bits = 8;
        p.paletteData = pal;
        EXPECT_THROW(GIFFormat()->Save(wide, &out, nullptr, &p), EInvalidImage);
        p.paletteData = nullptr;
        EXPECT_THROW(GIFFormat()->Save(pic.b, &out, nullptr, &p), EInvalidImage);
        p.paletteData = pal;
        p.grey = 1;
        EXPECT_THROW(GIFFormat()->Save(pic.b, &out, nullptr, &p), EInvalidImage);
    }
    EXPECT_EQ(mem.GetSize(), 0);
    Buffer none;
    Saved empty(none, 1);
    ASSERT_TRUE(empty.result);
    Buffer back;
    EXPECT_TRUE(Load(empty.bytes, back));
    EXPECT_EQ(back.pixels, nullptr);
}

// Damaged files: every outcome is a picture or a library exception.
TEST(GIFLoad, MutatedAndTruncatedFilesNeverCrash)
{
    std::vector<Bytes> seeds;
    GifBuilder a(12, 9, 4, 2);
    a.Comment().Image(0, 0, 12, 9, Ramp(108, 16)).Control(2, 3).Image(3, 2, 5, 4, Ramp(20, 16), true, 5);
    a.Control(3).Image(8, 6, 6, 5, Ramp(30, 16, 4)).Control(1, 0).Image(1, 1, 3, 3, Ramp(9, 4), false, 0, 2);
    seeds.push_back(a.Done());
    seeds.push_back(GifBuilder(40, 30, 8).Image(0, 0, 40, 30, Ramp(1200, 256), true).Done());
    std::mt19937 rng(125);
    int pictures = 0;
    for (int i = 0; i < 3000; ++i) {
        Bytes b = seeds[size_t(i) % seeds.size()];
        if (i % 5 == 0) b.resize(rng() % b.size());
        for (unsigned k = rng() % 4; k-- > 0 && !b.empty();) b[rng() % b.size()] = static_cast<unsigned char>(rng());
        Buffer buf;
        if (i % 3 == 0) buf.Alloc({1 + int(rng() % 8), 1 + int(rng() % 8)});
        try {
            Gif.Test(b);
            pictures += Load(b, buf, int(rng() % 5));
        } catch (Exception&) {
        }
    }
    EXPECT_GT(pictures, 100);
}

}  // namespace
