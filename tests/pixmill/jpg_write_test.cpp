// JPEG writer: the file's segments and tables, the transform, quantisation
// and colour stages, the Huffman coders read back through a table whose codes
// are the symbols themselves, progress and refusals, and round trips through
// the reader.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <random>
#include <vector>

#include "exceptions.h"
#include "gfxfile.h"
#include "jpg_decode_tables.h"
#include "jpg_encode.h"
#include "jpg_encode_entropy.h"
#include "streams.h"

#include "format_fixture.h"
#include "formats.h"

using namespace JpgEncode;

namespace {

using format_fixture::Bytes;

const format_fixture::FormatBytes JpgFile = {JPGFormat, "t.jpg"};

struct Saved {
    bool result;
    Bytes bytes;
};

Saved SaveJpeg(Buffer& b, int quality, bool progressive, bool grey = false)
{
    TMemoryStream mem;
    TOutputStream out(&mem, "t.jpg");
    GFXSaveParams p = {};
    p.bits = grey ? 8 : 24;
    p.grey = grey;
    p.quality = static_cast<uint8_t>(quality);
    p.interlaced = progressive;
    Saved s;
    s.result = JPGFormat()->Save(b, &out, nullptr, &p);
    const unsigned char* data = static_cast<const unsigned char*>(mem.GetMemory());
    s.bytes.assign(data, data + mem.GetSize());
    return s;
}

Bytes SaveBytes(Buffer& b, int quality, bool progressive, bool grey = false)
{
    Saved s = SaveJpeg(b, quality, progressive, grey);
    EXPECT_TRUE(s.result);
    return s.bytes;
}

// A picture with distinct channels, edges, gradients and noise, so that
// every coefficient band and both chroma components carry data.
void Paint(Buffer& b, int w, int h, unsigned seed = 7)
{
    b.Alloc({w, h});
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned r = (x * 255 / (w > 1 ? w - 1 : 1)) & 0xFF;
            unsigned g = x < w / 2 ? 40u : 200u;
            unsigned bl = (y * 9 + (rng() & 15)) & 0xFF;
            *b.At(x, y) = r << 16 | g << 8 | bl;
        }
}

struct Segment {
    int code;
    Bytes payload;
};

// Marker segments in file order, entropy-coded data passed over; EOI ends
// the list when the file has one.
std::vector<Segment> Segments(const Bytes& f)
{
    std::vector<Segment> list;
    EXPECT_GE(f.size(), 2u);
    size_t i = 2;
    while (i + 1 < f.size()) {
        EXPECT_EQ(f[i], 0xFF) << "at " << i;
        if (f[i] != 0xFF) break;
        int code = f[i + 1];
        if (code == 0xD9) {
            list.push_back({code, {}});
            break;
        }
        if (i + 3 >= f.size()) break;
        size_t n = size_t(f[i + 2] << 8 | f[i + 3]);
        if (n < 2 || i + 2 + n > f.size()) break;
        list.push_back({code, Bytes(f.begin() + long(i) + 4, f.begin() + long(i + 2 + n))});
        i += 2 + n;
        if (code == 0xDA)
            while (i + 1 < f.size() && !(f[i] == 0xFF && f[i + 1] != 0)) ++i;
    }
    return list;
}

std::vector<int> Codes(const std::vector<Segment>& s)
{
    std::vector<int> codes;
    for (const Segment& g : s) codes.push_back(g.code);
    return codes;
}

const Segment* Find(const std::vector<Segment>& s, int code, int nth = 0)
{
    for (const Segment& g : s)
        if (g.code == code && nth-- == 0) return &g;
    return nullptr;
}

// (components..., Ss, Se, Ah << 4 | Al) of every scan.
std::vector<Bytes> ScanParameters(const std::vector<Segment>& s)
{
    std::vector<Bytes> scans;
    for (const Segment& g : s) {
        if (g.code != 0xDA) continue;
        Bytes p;
        int n = g.payload[0];
        for (int k = 0; k < n; ++k) p.push_back(g.payload[1 + 2 * k]);
        p.insert(p.end(), g.payload.begin() + 1 + 2 * n, g.payload.end());
        scans.push_back(p);
    }
    return scans;
}

// Table whose code of each symbol is the symbol as 8 bits, so that coded
// bits read back as symbols followed by their extra bits.
HuffCode Transparent()
{
    HuffCode c;
    for (int s = 0; s < 256; ++s) {
        c.code[s] = static_cast<uint16_t>(s);
        c.size[s] = 8;
    }
    return c;
}

// Bits of entropy-coded bytes, stuffed zero bytes removed.
class BitSource {
public:
    explicit BitSource(const Bytes& coded)
    {
        for (size_t i = 0; i < coded.size(); ++i) {
            bytes_.push_back(coded[i]);
            if (coded[i] == 0xFF) {
                EXPECT_TRUE(i + 1 < coded.size() && coded[i + 1] == 0) << "unstuffed 0xFF at " << i;
                ++i;
            }
        }
    }
    unsigned Take(int n)
    {
        unsigned v = 0;
        for (int k = 0; k < n; ++k, ++pos_) {
            EXPECT_LT(pos_ / 8, bytes_.size());
            if (pos_ / 8 >= bytes_.size()) return v;
            v = v << 1 | (bytes_[pos_ / 8] >> (7 - pos_ % 8) & 1);
        }
        return v;
    }
    size_t Left() const { return bytes_.size() * 8 - pos_; }

private:
    Bytes bytes_;
    size_t pos_ = 0;
};

struct Recorder {
    static std::vector<int> steps;
    static int cancelAt;  // the first step at or above it answers false
    static bool Step(int percent)
    {
        steps.push_back(percent);
        return percent < cancelAt;
    }
    explicit Recorder(int cancel = 1000)
    {
        steps.clear();
        cancelAt = cancel;
        GFXFile::SetProgFunc(nullptr, Step, nullptr);
    }
    ~Recorder() { GFXFile::SetProgFunc(nullptr, nullptr, nullptr); }
};
std::vector<int> Recorder::steps;
int Recorder::cancelAt;

// A fresh writer and a symbol writer coding through the transparent table.
struct TransparentCoder {
    HuffCode table = Transparent();
    BitWriter bits;
    SymbolWriter w{bits, &table, &table};

    BitSource Done()
    {
        bits.Flush();
        return BitSource(bits.Bytes());
    }
};

}  // namespace

TEST(JpgWriteFile, StartsWithTheFixedHead)
{
    Buffer b;
    Paint(b, 5, 3);
    const unsigned char head[36] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16,  'J', 'F', 'I', 'F', 0,   1,
                                    1,    0,    0,    1,    0, 1,   0,   0,   0xFF, 0xFE, 0, 14,
                                    'C',  'o',  'r',  'v',  'a', 'n', 'e', ' ', 'L', 't', 'd', '.'};
    for (bool progressive : {false, true})
        for (bool grey : {false, true}) {
            Bytes f = SaveBytes(b, 75, progressive, grey);
            ASSERT_GT(f.size(), 36u);
            EXPECT_EQ(0, memcmp(f.data(), head, 36)) << progressive << grey;
            EXPECT_EQ(0xFF, f[f.size() - 2]);
            EXPECT_EQ(0xD9, f[f.size() - 1]);
        }
}

TEST(JpgWriteFile, SequentialSegmentsAndFrame)
{
    Buffer b;
    Paint(b, 300, 2);
    std::vector<Segment> colour = Segments(SaveBytes(b, 75, false));
    EXPECT_EQ(Codes(colour), (std::vector<int>{0xE0, 0xFE, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4, 0xC4, 0xDA, 0xD9}));
    const Segment* sof = Find(colour, 0xC0);
    ASSERT_TRUE(sof);
    EXPECT_EQ(sof->payload, (Bytes{8, 0, 2, 1, 44, 3, 1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1}));
    EXPECT_EQ(Find(colour, 0xDB, 1)->payload[0], 1);
    // DHT class and number: DC 0, AC 0, DC 1, AC 1, each the Annex K table.
    const Jpg::HuffmanSpec* specs[4] = {&Jpg::DcLuma, &Jpg::AcLuma, &Jpg::DcChroma, &Jpg::AcChroma};
    const int ids[4] = {0x00, 0x10, 0x01, 0x11};
    for (int t = 0; t < 4; ++t) {
        const Bytes& p = Find(colour, 0xC4, t)->payload;
        ASSERT_EQ(p.size(), 17u + size_t(specs[t]->symbolCount));
        EXPECT_EQ(p[0], ids[t]);
        EXPECT_EQ(0, memcmp(&p[1], specs[t]->counts, 16));
        EXPECT_EQ(0, memcmp(&p[17], specs[t]->symbols, size_t(specs[t]->symbolCount)));
    }
    EXPECT_EQ(ScanParameters(colour), (std::vector<Bytes>{{1, 2, 3, 0, 63, 0}}));
    EXPECT_EQ(Find(colour, 0xDA)->payload, (Bytes{3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0}));

    std::vector<Segment> grey = Segments(SaveBytes(b, 75, false, true));
    EXPECT_EQ(Codes(grey), (std::vector<int>{0xE0, 0xFE, 0xDB, 0xC0, 0xC4, 0xC4, 0xDA, 0xD9}));
    EXPECT_EQ(Find(grey, 0xC0)->payload, (Bytes{8, 0, 2, 1, 44, 1, 1, 0x11, 0}));
    EXPECT_EQ(ScanParameters(grey), (std::vector<Bytes>{{1, 0, 63, 0}}));
}

TEST(JpgWriteFile, ProgressiveScanScripts)
{
    Buffer b;
    Paint(b, 20, 11);
    std::vector<Segment> colour = Segments(SaveBytes(b, 75, true));
    EXPECT_EQ(Find(colour, 0xC2)->payload[5], 3);
    EXPECT_EQ(ScanParameters(colour), (std::vector<Bytes>{{1, 2, 3, 0, 0, 0x01},
                                                         {1, 1, 5, 0x02},
                                                         {3, 1, 63, 0x01},
                                                         {2, 1, 63, 0x01},
                                                         {1, 6, 63, 0x02},
                                                         {1, 1, 63, 0x21},
                                                         {1, 2, 3, 0, 0, 0x10},
                                                         {3, 1, 63, 0x10},
                                                         {2, 1, 63, 0x10},
                                                         {1, 1, 63, 0x10}}));
    // Every scan but the DC refinement brings its own tables: the DC scan
    // one for luma and one for chroma, the others one.
    std::vector<int> codes = Codes(colour);
    int tables = 0;
    for (int c : codes) tables += c == 0xC4;
    EXPECT_EQ(tables, 10);
    EXPECT_EQ(Find(colour, 0xC4, 0)->payload[0], 0x00);
    EXPECT_EQ(Find(colour, 0xC4, 1)->payload[0], 0x01);
    EXPECT_EQ(Find(colour, 0xC4, 2)->payload[0], 0x10);  // Y 1..5
    EXPECT_EQ(Find(colour, 0xC4, 3)->payload[0], 0x11);  // Cr

    std::vector<Segment> grey = Segments(SaveBytes(b, 75, true, true));
    EXPECT_EQ(Find(grey, 0xC2)->payload[5], 1);
    EXPECT_EQ(ScanParameters(grey), (std::vector<Bytes>{{1, 0, 0, 0x01},
                                                       {1, 1, 5, 0x02},
                                                       {1, 6, 63, 0x02},
                                                       {1, 1, 63, 0x21},
                                                       {1, 0, 0, 0x10},
                                                       {1, 1, 63, 0x10}}));
}

TEST(JpgWriteFile, QuantisationTablesFollowQuality)
{
    Buffer b;
    Paint(b, 8, 8);
    struct Case {
        int quality, first, last;  // luma entries 0 and 63 in zig-zag order
    } cases[] = {{50, 16, 99}, {100, 1, 1}, {1, 255, 255}, {75, 8, 50}, {10, 80, 255}, {49, 16, 101}, {0, 8, 50}, {150, 1, 1}};
    for (const Case& c : cases) {
        std::vector<Segment> s = Segments(SaveBytes(b, c.quality, false));
        const Bytes& luma = Find(s, 0xDB, 0)->payload;
        const Bytes& chroma = Find(s, 0xDB, 1)->payload;
        ASSERT_EQ(luma.size(), 65u);
        EXPECT_EQ(luma[0], 0);
        EXPECT_EQ(chroma[0], 1);
        EXPECT_EQ(luma[1], c.first) << c.quality;
        EXPECT_EQ(luma[64], c.last) << c.quality;
        if (c.quality == 50) {
            EXPECT_EQ(0, memcmp(&luma[1], Jpg::LumaQuant, 64));
            EXPECT_EQ(0, memcmp(&chroma[1], Jpg::ChromaQuant, 64));
        }
    }
}

TEST(JpgWriteFile, AViewIsWrittenFromItsOwnCorner)
{
    Buffer src;
    Paint(src, 30, 24);
    Buffer view(src, Rect{3, 5, 21, 17}, true);
    ASSERT_EQ(view.left, 3);
    Buffer copy;
    copy.Alloc({19, 13});
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 19; ++x) *copy.At(x, y) = *src.At(x + 3, y + 5);
    for (bool progressive : {false, true}) EXPECT_EQ(SaveBytes(view, 80, progressive), SaveBytes(copy, 80, progressive));
}

TEST(JpgWriteFile, RefusesWhatSofCannotHoldAndWritesNothingForNoPixels)
{
    Buffer wide;
    wide.Alloc({65536, 1});
    wide.Box(Rect{0, 0, 65535, 0}, 0);
    TMemoryStream mem;
    TOutputStream out(&mem, "w.jpg");
    GFXSaveParams p = {};
    p.bits = 24;
    EXPECT_THROW(JPGFormat()->Save(wide, &out, nullptr, &p), EInvalidImage);
    EXPECT_EQ(mem.GetSize(), 0);

    Buffer none;
    Saved empty = SaveJpeg(none, 75, false);
    EXPECT_FALSE(empty.result);
    EXPECT_TRUE(empty.bytes.empty());
}

TEST(JpgWriteProgress, SequentialByBlockRowAndCancel)
{
    Buffer b;
    Paint(b, 9, 20);
    {
        Recorder r;
        EXPECT_TRUE(SaveJpeg(b, 75, false).result);
        EXPECT_EQ(Recorder::steps, (std::vector<int>{0, 40, 80}));
    }
    Recorder r(40);
    Saved s = SaveJpeg(b, 75, false);
    EXPECT_FALSE(s.result);
    EXPECT_EQ(Recorder::steps, (std::vector<int>{0, 40}));
    ASSERT_GE(s.bytes.size(), 2u);
    EXPECT_FALSE(s.bytes[s.bytes.size() - 2] == 0xFF && s.bytes.back() == 0xD9);
}

TEST(JpgWriteProgress, ProgressiveByScanAndCancel)
{
    Buffer b;
    Paint(b, 9, 20);
    {
        Recorder r;
        EXPECT_TRUE(SaveJpeg(b, 75, true).result);
        EXPECT_EQ(Recorder::steps, (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
        SaveJpeg(b, 75, true, true);
        EXPECT_EQ(Recorder::steps.size(), 16u);
    }
    Recorder r(50);
    Saved s = SaveJpeg(b, 75, true);
    EXPECT_FALSE(s.result);
    EXPECT_EQ(ScanParameters(Segments(s.bytes)).size(), 6u);
    EXPECT_NE(s.bytes.back(), 0xD9);
}

TEST(JpgEncodeStages, TransformHasTheScaleOfT81)
{
    int flat[64];
    for (int& v : flat) v = 1;
    ForwardDCT(flat);
    EXPECT_EQ(flat[0], 8);
    for (int k = 1; k < 64; ++k) EXPECT_EQ(flat[k], 0) << k;

    // Against the defining sum: a horizontal ramp puts energy only in row 0.
    const double pi = 3.14159265358979323846, halfRoot2 = 0.70710678118654752440;
    std::mt19937 rng(3);
    for (int trial = 0; trial < 20; ++trial) {
        int block[64];
        double ref[64];
        for (int i = 0; i < 64; ++i) block[i] = trial == 0 ? (i % 8) * 30 - 105 : int(rng() % 256) - 128;
        for (int v = 0; v < 8; ++v)
            for (int u = 0; u < 8; ++u) {
                double sum = 0;
                for (int y = 0; y < 8; ++y)
                    for (int x = 0; x < 8; ++x)
                        sum += block[8 * y + x] * cos((2 * x + 1) * u * pi / 16) * cos((2 * y + 1) * v * pi / 16);
                ref[8 * v + u] = sum / 4 * (u ? 1 : halfRoot2) * (v ? 1 : halfRoot2);
            }
        ForwardDCT(block);
        for (int i = 0; i < 64; ++i) EXPECT_NEAR(block[i], ref[i], 1.5) << "trial " << trial << " at " << i;
        if (trial == 0) {
            for (int i = 8; i < 64; ++i) EXPECT_EQ(block[i], 0) << i;
        }
    }
}

TEST(JpgEncodeStages, QuantisationRoundsHalfAwayFromZeroExactly)
{
    QuantTable q;
    for (int quality : {13, 50, 100}) {
        ScaleQuant(Jpg::LumaQuant, quality, q);
        // Every value a transform of 8-bit samples can give, both signs.
        for (int c = -1100; c <= 1100; ++c) {
            int block[64];
            for (int& v : block) v = c;
            int16_t zz[64];
            Quantise(block, q, zz);
            for (int k = 0; k < 64; ++k) {
                int e = q.entry[k];
                int want = c >= 0 ? (c + e / 2) / e : -((e / 2 - c) / e);
                if (zz[k] != want) FAIL() << "entry " << e << " value " << c << " gave " << zz[k];
            }
        }
    }
}

TEST(JpgEncodeStages, ColourConversionAndBlackPadding)
{
    Buffer b;
    b.Alloc({3, 2});
    const unsigned long px[6] = {0xFFFFFF, 0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x808080};
    for (int i = 0; i < 6; ++i) *b.At(i % 3, i / 3) = px[i];
    unsigned long area[64];
    LoadArea(b, 0, 0, area);
    for (int i = 0; i < 64; ++i) {
        int x = i % 8, y = i / 8;
        EXPECT_EQ(area[i], x < 3 && y < 2 ? px[3 * y + x] : 0ul) << i;
    }
    int y[64], cb[64], cr[64];
    AreaToYCbCr(area, y, cb, cr);
    for (int i = 0; i < 6; ++i) {
        int x = i % 3, row = i / 3;
        double r = px[i] >> 16 & 255, g = px[i] >> 8 & 255, bl = px[i] & 255;
        int at = 8 * row + x;
        EXPECT_NEAR(y[at], 0.299 * r + 0.587 * g + 0.114 * bl - 128, 1.05) << i;
        EXPECT_NEAR(cb[at], -0.16874 * r - 0.33126 * g + 0.5 * bl, 1.05) << i;
        EXPECT_NEAR(cr[at], 0.5 * r - 0.41869 * g - 0.08131 * bl, 1.05) << i;
    }
    EXPECT_EQ(y[0], 127);   // white stays in range
    EXPECT_EQ(y[63], -128);  // padding is black
    EXPECT_EQ(cb[63], 0);
    EXPECT_EQ(cr[63], 0);
    int grey[64];
    AreaToGrey(area, grey);
    EXPECT_EQ(0, memcmp(grey, y, sizeof grey));
}

namespace {

// Lengths of the table's codes per symbol, and the Kraft sum of its codes.
double Kraft(const OptimalSpec& t, int* length)
{
    double sum = 0;
    int k = 0;
    for (int len = 1; len <= 16; ++len)
        for (int i = 0; i < t.counts[len - 1]; ++i, ++k) {
            length[t.symbols[k]] = len;
            sum += ldexp(1.0, -len);
        }
    EXPECT_EQ(k, t.symbolCount);
    return sum;
}

}  // namespace

TEST(JpgEncodeHuffman, OptimalTablesAreCompleteLessTheReservedCode)
{
    SymbolCounts four = {};
    for (int s = 0; s < 4; ++s) four.n[s] = 1;
    OptimalSpec t;
    OptimalTable(four, t);
    // Ties go to the larger symbol: 3 shares the reserved code's depth.
    EXPECT_EQ(t.symbolCount, 4);
    EXPECT_EQ(Bytes(t.counts, t.counts + 4), (Bytes{0, 3, 1, 0}));
    EXPECT_EQ(Bytes(t.symbols, t.symbols + 4), (Bytes{0, 1, 2, 3}));

    SymbolCounts one = {};
    one.n[0x42] = 1000;
    OptimalTable(one, t);
    EXPECT_EQ(t.symbolCount, 1);
    EXPECT_EQ(t.counts[0], 1);
    EXPECT_EQ(t.symbols[0], 0x42);

    // Fibonacci counts would build codes of 30 bits without the limit.
    SymbolCounts fib = {};
    uint32_t a = 1, b = 1;
    for (int s = 0; s < 30; ++s) {
        fib.n[s * 7] = a;
        uint32_t next = a + b;
        a = b;
        b = next;
    }
    OptimalTable(fib, t);
    int length[256] = {};
    double sum = Kraft(t, length);
    EXPECT_EQ(t.symbolCount, 30);
    EXPECT_EQ(sum, 1.0 - ldexp(1.0, -16));  // only the reserved all-ones code is missing
    for (int s = 2; s < 30; ++s) EXPECT_LE(length[s * 7], length[(s - 1) * 7]) << s;

    std::mt19937 rng(11);
    for (int trial = 0; trial < 50; ++trial) {
        SymbolCounts c = {};
        int used = 0;
        for (int s = 0; s < 256; ++s)
            if (rng() % 3 == 0) {
                c.n[s] = rng() % (trial < 25 ? 10 : 100000) + 1;
                ++used;
            }
        OptimalTable(c, t);
        int len[256] = {};
        EXPECT_LT(Kraft(t, len), 1.0);
        EXPECT_EQ(t.symbolCount, used);
        int mismatched = 0;
        for (int s = 0; s < 256; ++s) mismatched += (len[s] > 0) != (c.n[s] > 0);
        EXPECT_EQ(mismatched, 0) << "trial " << trial;
    }
}

TEST(JpgEncodeHuffman, BitWriterStuffsAndPadsWithZeros)
{
    BitWriter w;
    w.Put(0xFF, 8);
    w.Put(1, 1);
    w.Flush();
    EXPECT_EQ(w.Bytes(), (Bytes{0xFF, 0x00, 0x80}));
    w.Bytes().clear();
    // Across the 32-bit word: 3 + 16 + 16 bits.
    w.Put(5, 3);
    w.Put(0xFFFF, 16);
    w.Put(0x1234, 16);
    w.Flush();
    EXPECT_EQ(w.Bytes(), (Bytes{0xBF, 0xFF, 0x00, 0xE2, 0x46, 0x80}));
}

TEST(JpgEncodeCoders, SequentialBlock)
{
    TransparentCoder t;
    int16_t zz[64] = {};
    zz[0] = 7;
    zz[1] = -1;
    zz[20] = 300;  // 18 zeros before it
    int dc = 10;
    CodeSequentialBlock(zz, dc, 0, t.w, t.w);
    EXPECT_EQ(dc, 7);
    BitSource s = t.Done();
    EXPECT_EQ(s.Take(8), 2u);    // DC difference -3: category 2,
    EXPECT_EQ(s.Take(2), 0u);    // bits of -3 - 1
    EXPECT_EQ(s.Take(8), 0x01u);
    EXPECT_EQ(s.Take(1), 0u);
    EXPECT_EQ(s.Take(8), 0xF0u);
    EXPECT_EQ(s.Take(8), 0x29u);  // run 2, category 9
    EXPECT_EQ(s.Take(9), 300u);
    EXPECT_EQ(s.Take(8), 0x00u);  // end of block
    EXPECT_LT(s.Left(), 8u);
}

TEST(JpgEncodeCoders, DCFirstAndRefinement)
{
    int16_t a[64] = {}, b[64] = {};
    a[0] = 5;
    b[0] = -3;
    TransparentCoder first;
    ProgressiveCoder dc(first.w, 0, 0, 0, 1);
    dc.Block(a, 0, 0);
    dc.Block(b, 0, 0);
    dc.Block(b, 1, 1);  // another component keeps its own predictor
    dc.Finish();
    BitSource s = first.Done();
    EXPECT_EQ(s.Take(8), 2u);  // 5 >> 1 = 2
    EXPECT_EQ(s.Take(2), 2u);
    EXPECT_EQ(s.Take(8), 3u);  // -3 >> 1 = -2, difference -4
    EXPECT_EQ(s.Take(3), 3u);
    EXPECT_EQ(s.Take(8), 2u);  // -2 from 0
    EXPECT_EQ(s.Take(2), 1u);

    TransparentCoder refine;
    ProgressiveCoder bit(refine.w, 0, 0, 1, 0);
    bit.Block(a, 0, 0);
    bit.Block(b, 0, 0);
    a[0] = 4;
    bit.Block(a, 0, 0);
    bit.Finish();
    BitSource r = refine.Done();
    EXPECT_EQ(r.Take(3), 6u);  // bit 0 of 5, of -3, of 4
}

TEST(JpgEncodeCoders, ACFirstRunsAndShiftedMagnitudes)
{
    TransparentCoder t;
    ProgressiveCoder ac(t.w, 1, 63, 0, 1);
    int16_t zz[64] = {};
    zz[40] = 11;  // 39 zeros before, 11 >> 1 = 5
    zz[41] = -3;  // -(3 >> 1)
    zz[42] = 1;   // vanishes at Al 1
    ac.Block(zz, 0, 0);
    int16_t zero[64] = {};
    ac.Block(zero, 0, 0);
    ac.Block(zero, 0, 0);
    ac.Block(zz, 0, 0);
    ac.Finish();
    BitSource s = t.Done();
    for (int block = 0; block < 2; ++block) {
        EXPECT_EQ(s.Take(8), 0xF0u);
        EXPECT_EQ(s.Take(8), 0xF0u);
        EXPECT_EQ(s.Take(8), 0x73u);
        EXPECT_EQ(s.Take(3), 5u);
        EXPECT_EQ(s.Take(8), 0x01u);
        EXPECT_EQ(s.Take(1), 0u);
        // The first block's tail and two empty blocks: a run of 3.
        if (block == 0) {
            EXPECT_EQ(s.Take(8), 0x10u);
            EXPECT_EQ(s.Take(1), 1u);
        }
    }
    EXPECT_EQ(s.Take(8), 0x00u);  // the last block's tail, a run of 1
}

TEST(JpgEncodeCoders, EndOfBandRunsStopAt32767)
{
    TransparentCoder t;
    ProgressiveCoder ac(t.w, 1, 63, 0, 0);
    int16_t zero[64] = {};
    for (int i = 0; i < 40000; ++i) ac.Block(zero, 2, 1);
    ac.Finish();
    BitSource s = t.Done();
    EXPECT_EQ(s.Take(8), 0xE0u);
    EXPECT_EQ(s.Take(14), 0x3FFFu);
    EXPECT_EQ(s.Take(8), 0xC0u);  // 7233 = 4096 + 3137
    EXPECT_EQ(s.Take(12), 3137u);
    EXPECT_LT(s.Left(), 8u);
}

TEST(JpgEncodeCoders, RefinementSendsCorrectionsAfterTheirSymbol)
{
    TransparentCoder t;
    ProgressiveCoder ac(t.w, 1, 63, 1, 0);
    int16_t zz[64] = {};
    zz[1] = 3;   // significant before: correction bit 1
    zz[3] = -1;  // new, after one zero
    zz[30] = 2;  // significant before, 26 zeros past the last new one: no zero-run symbol, waits for the run
    ac.Block(zz, 0, 0);
    ac.Finish();
    BitSource s = t.Done();
    EXPECT_EQ(s.Take(8), 0x11u);
    EXPECT_EQ(s.Take(1), 0u);  // sign: negative
    EXPECT_EQ(s.Take(1), 1u);  // zz[1]
    EXPECT_EQ(s.Take(8), 0x00u);
    EXPECT_EQ(s.Take(1), 0u);  // zz[30]
    EXPECT_LT(s.Left(), 8u);
}

TEST(JpgEncodeCoders, RefinementFlushesPastNineHundredFiftyNineCorrections)
{
    TransparentCoder t;
    ProgressiveCoder ac(t.w, 1, 63, 1, 0);
    int16_t zz[64];
    for (int k = 0; k < 64; ++k) zz[k] = static_cast<int16_t>(k % 2 ? 3 : -2);  // no new coefficient
    for (int i = 0; i < 19; ++i) ac.Block(zz, 0, 0);
    ac.Finish();
    BitSource s = t.Done();
    // 16 blocks hold 1008 bits, more than 959: their run goes out with them.
    for (int run : {16, 3}) {
        int n = run == 16 ? 4 : 1;
        EXPECT_EQ(s.Take(8), unsigned(n << 4));
        EXPECT_EQ(s.Take(n), unsigned(run & ((1 << n) - 1)));
        for (int i = 0; i < run; ++i)
            for (int k = 1; k < 64; ++k) ASSERT_EQ(s.Take(1), unsigned(k % 2)) << run << " " << i << " " << k;
    }
    EXPECT_LT(s.Left(), 8u);
}

// Round trips through the reader.

namespace {

int LargestDifference(Buffer& a, Buffer& b, bool grey)
{
    int worst = 0;
    for (int y = 0; y <= a.bottom; ++y)
        for (int x = 0; x <= a.right; ++x) {
            unsigned long p = *a.At(x, y), q = *b.At(x, y);
            if (grey) {
                int l = int(((p >> 16 & 255) * 299 + (p >> 8 & 255) * 587 + (p & 255) * 114 + 500) / 1000);
                p = unsigned(l) * 0x010101u;
            }
            for (int shift = 0; shift < 24; shift += 8) {
                int d = abs(int(p >> shift & 255) - int(q >> shift & 255));
                worst = d > worst ? d : worst;
            }
        }
    return worst;
}

bool SamePixels(Buffer& a, Buffer& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y <= a.bottom; ++y)
        if (memcmp(a.At(0, y), b.At(0, y), size_t(a.Width()) * 4)) return false;
    return true;
}

}  // namespace

TEST(JpgWriteRoundTrip, ReaderSeesWhatWasWritten)
{
    Buffer src;
    Paint(src, 37, 21);
    for (bool grey : {false, true}) {
        Bytes seq = SaveBytes(src, 100, false, grey);
        Bytes prog = SaveBytes(src, 100, true, grey);
        GFXFileDesc d = {};
        Buffer a, b;
        ASSERT_TRUE(JpgFile.Load(seq, a, &d));
        EXPECT_EQ(d.interlaced, 0);
        ASSERT_TRUE(JpgFile.Load(prog, b, &d));
        EXPECT_EQ(d.interlaced, 1);
        ASSERT_EQ(a.Width(), 37);
        ASSERT_EQ(a.Height(), 21);
        EXPECT_TRUE(SamePixels(a, b)) << grey;
        EXPECT_LE(LargestDifference(src, a, grey), grey ? 3 : 10) << grey;

        TMemoryStream mem;
        mem.Write(prog.data(), int(prog.size()));
        mem.SetPosition(0);
        TInputStream in(&mem, "t.jpg");
        GFXFileDesc t = {};
        EXPECT_EQ(JPGFormat()->Test(&in, &t), 1);
        EXPECT_EQ(t.colour, grey ? 0 : 1);
        EXPECT_EQ(t.bits, grey ? 8 : 24);
        EXPECT_EQ(t.width, 37);
    }
}

// Any size, quality and mode: the progressive file holds the same
// coefficients as the sequential one, so both decode to the same pixels.
TEST(JpgWriteRoundTrip, ProgressiveEqualsSequentialEverywhere)
{
    std::mt19937 rng(29);
    for (int trial = 0; trial < 24; ++trial) {
        int w = 1 + int(rng() % 33), h = 1 + int(rng() % 33);
        int quality = 1 + int(rng() % 100);
        bool grey = rng() % 3 == 0;
        Buffer src;
        src.Alloc({w, h});
        int kind = trial % 3;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                *src.At(x, y) = kind == 0 ? rng() & 0xFFFFFF : kind == 1 ? 0x102030ul * ((x + y) & 7) : 0x7F7F7F;
        Buffer a, b;
        ASSERT_TRUE(JpgFile.Load(SaveBytes(src, quality, false, grey), a));
        ASSERT_TRUE(JpgFile.Load(SaveBytes(src, quality, true, grey), b));
        EXPECT_TRUE(SamePixels(a, b)) << w << "x" << h << " q" << quality << " grey " << grey;
    }
}

// Chroma is rounded to the nearest level, not floored, and the saturated
// colours whose exact chroma is 127.5 stay at the top instead of wrapping.
TEST(JpgEncodeStages, ChromaIsRoundedAndSaturatedColoursKeepTheirSign)
{
    const int steps = 16, count = steps * steps * steps;
    double worst = 0;
    int done = 0;
    while (done < count) {
        unsigned long area[64];
        for (int i = 0; i < 64; ++i, ++done) {
            const int at = done < count ? done : count - 1;
            const unsigned r = unsigned(at % steps) * 17, g = unsigned(at / steps % steps) * 17;
            const unsigned bl = unsigned(at / steps / steps) * 17;
            area[i] = r << 16 | g << 8 | bl;
        }
        int y[64], cb[64], cr[64];
        AreaToYCbCr(area, y, cb, cr);
        for (int i = 0; i < 64; ++i) {
            const double r = area[i] >> 16 & 255, g = area[i] >> 8 & 255, bl = area[i] & 255;
            const double exactCb = std::min(127.0, -0.16874 * r - 0.33126 * g + 0.5 * bl);
            const double exactCr = std::min(127.0, 0.5 * r - 0.41869 * g - 0.08131 * bl);
            worst = std::max(worst, std::max(fabs(cb[i] - exactCb), fabs(cr[i] - exactCr)));
        }
    }
    EXPECT_LE(worst, 0.51);
}
