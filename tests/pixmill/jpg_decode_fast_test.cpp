// The JPEG reader's shortcuts against the plain definitions they stand for:
// the inverse transform's zero-skipping paths against the formula computed
// in full, and the table of small AC coefficients against decoding the code
// bit by bit and then reading the value.
#include <gtest/gtest.h>

#include <math.h>
#include <stdint.h>

#include <algorithm>
#include <random>
#include <vector>

#include "jpg_decode_bits.h"
#include "jpg_decode_blocks.h"
#include "jpg_decode_colour.h"
#include "jpg_decode_idct.h"
#include "jpg_decode_tables.h"
#include "streambuf.h"
#include "streams.h"

namespace {

// ---- inverse transform -----------------------------------------------------

// One row of the transform exactly as defined, every term computed, with
// 32-bit wrapping arithmetic and arithmetic shifts.
void FullRow(const int32_t* x, int32_t* y)
{
    auto sh = [](uint32_t v, int n) { return int32_t(v) >> n; };
    const uint32_t x0 = uint32_t(x[0]), x1 = uint32_t(x[1]), x2 = uint32_t(x[2]), x3 = uint32_t(x[3]);
    const uint32_t x4 = uint32_t(x[4]), x5 = uint32_t(x[5]), x6 = uint32_t(x[6]), x7 = uint32_t(x[7]);
    const uint32_t f = x2 * 60547u + x6 * 25080u, g = (x0 + x4) * 46341u, a0 = f + g;
    const uint32_t h = x2 * 25080u - x6 * 60547u, l = (x0 - x4) * 46341u, a1 = h + l;
    const uint32_t t = x1 << 2, r = x7 << 2;
    const uint32_t c = uint32_t(sh((x3 + x5) * 46341u + 8192u, 14));
    const uint32_t d = uint32_t(sh((x3 - x5) * 46341u + 8192u, 14));
    const uint32_t u = t + c, w = r + d, v = r - d, e = t - c;
    const uint32_t b = u * 16069u + w * 3196u, bb = u * 3196u - w * 16069u;
    const uint32_t p = e * 9102u + v * 13623u, q = e * 13623u - v * 9102u;
    const uint32_t out[8] = {a0 + b, a1 + q, l - h + p, g - f + bb, g - f - bb, l - h - p, a1 - q, a0 - b};
    for (int i = 0; i < 8; ++i) y[i] = sh(out[i] + 0x10000u, 17);
}

// Both passes in full (rows in, columns out), then the 16-bit level shift.
std::vector<unsigned char> FullTransform(const int16_t* coefficients)
{
    int32_t in[64], work[64], result[64], row[8];
    for (int i = 0; i < 64; ++i) in[i] = coefficients[i];
    for (int r = 0; r < 8; ++r) {
        FullRow(in + 8 * r, row);
        for (int i = 0; i < 8; ++i) work[8 * i + r] = row[i];
    }
    for (int r = 0; r < 8; ++r) {
        FullRow(work + 8 * r, row);
        for (int i = 0; i < 8; ++i) result[8 * i + r] = row[i];
    }
    std::vector<unsigned char> samples(64);
    for (int i = 0; i < 64; ++i) samples[size_t(i)] = static_cast<unsigned char>(std::min(255, std::max(0, int16_t(uint16_t(result[i])) + 128)));
    return samples;
}

// Blocks shaped to reach every path: flat, DC with a few low coefficients,
// the top-left 4x4 only, rows 0-3 only, columns 0-3 only, one high
// coefficient, dense, dense at the largest magnitude the SSE2 transform
// multiplies pairwise, and values over the whole 16-bit range.
std::vector<int16_t> RandomBlock(std::mt19937& rng, int shape)
{
    std::vector<int16_t> c(64, 0);
    if (shape == 7) {
        // Signed as the basis functions at one sample, so that the
        // intermediate sums there are as large as they can be.
        const double Pi = 3.14159265358979323846;
        const int px = int(rng() % 8), py = int(rng() % 8);
        for (int v = 0; v < 8; ++v)
            for (int u = 0; u < 8; ++u) {
                const double w = cos((2 * px + 1) * u * Pi / 16) * cos((2 * py + 1) * v * Pi / 16);
                c[size_t(8 * v + u)] = int16_t(w < 0 ? -1100 : 1100);
            }
        return c;
    }
    auto value = [&] { return int16_t(shape == 8 ? int(rng() % 65536) - 32768 : int(rng() % 2048) - 1024); };
    c[0] = value();
    const int count = 1 + int(rng() % 12);
    for (int i = 0; i < count; ++i) {
        const int row = int(rng() % 8), col = int(rng() % 8);
        switch (shape) {
        case 0: break;
        case 1: c[size_t(Jpg::ZigZag[1 + rng() % 5])] = value(); break;
        case 2: c[size_t(row % 4 * 8 + col % 4)] = value(); break;
        case 3: c[size_t(row % 4 * 8 + col)] = value(); break;
        case 4: c[size_t(row * 8 + col % 4)] = value(); break;
        case 5: c[size_t(4 + rng() % 4) * 8 + 4 + rng() % 4] = value(); break;
        default:
            for (int16_t& v : c) v = value();
            break;
        }
    }
    return c;
}

// The scalar transform with its shortcuts, and the SSE2 one for blocks
// within the ranges of 8-bit samples (beyond them it saturates where the
// formula wraps: crafted data only).
TEST(JpgDecodeFast, TransformsGiveTheFullFormula)
{
    struct {
        const char* name;
        Jpg::Transform transform;
        int shapes;
    } const transforms[] = {
        {"scalar", Jpg::InverseTransform, 9},
#if defined(__SSE2__)
        {"sse2", Jpg::InverseTransformSse2, 8},
#endif
    };
    for (const auto& t : transforms) {
        std::mt19937 rng(2024);
        for (int n = 0; n < 20000; ++n) {
            const int shape = n % t.shapes;
            const std::vector<int16_t> c = RandomBlock(rng, shape);
            unsigned char out[16 * 10];
            std::fill(out, out + sizeof out, 0xEE);
            t.transform(c.data(), out + 16, 16);  // a stride wider than the block
            const std::vector<unsigned char> expected = FullTransform(c.data());
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    ASSERT_EQ(expected[size_t(8 * y + x)], out[16 + 16 * y + x])
                        << t.name << " block " << n << " shape " << shape << " at " << x << "," << y;
            for (int x = 0; x < 16; ++x) ASSERT_EQ(0xEE, out[x]) << t.name << " written above the block";
            for (int y = 0; y < 8; ++y)
                for (int x = 8; x < 16; ++x)
                    ASSERT_EQ(0xEE, out[16 + 16 * y + x]) << t.name << " written beside the block";
        }
    }
}

#if defined(__SSE2__)
// Whole MCUs of every chroma value and of random samples, every sampling:
// the SSE2 converter writes the scalar one's pixels and nothing beside them.
TEST(JpgDecodeFast, VectorColourConversionGivesTheScalarPixels)
{
    const struct {
        int components, hShift, vShift;
    } samplings[] = {{1, 0, 0}, {3, 0, 0}, {3, 1, 0}, {3, 1, 1}};
    std::mt19937 rng(11);
    const int stride = 20;
    for (const auto& m : samplings)
        for (int n = 0; n < 200; ++n) {
            Jpg::McuSamples s;
            for (unsigned char& v : s.y) v = static_cast<unsigned char>(rng());
            // Every chroma value in turn (the first eight MCUs), then random.
            for (int i = 0; i < 64; ++i) {
                s.cb[i] = static_cast<unsigned char>(n < 8 ? 64 * (n % 4) + i : int(rng()));
                s.cr[i] = static_cast<unsigned char>(n < 8 ? 64 * (n / 2 % 4) + 63 - i : int(rng()));
            }
            std::vector<unsigned long> scalar(stride * 17, 0xEEEEEEEE), vector(scalar);
            Jpg::ScalarMcuConverter(m.components, m.hShift, m.vShift)(s, scalar.data(), stride);
            Jpg::McuConverterSse2(m.components, m.hShift, m.vShift)(s, vector.data(), stride);
            ASSERT_EQ(scalar, vector) << m.components << " " << m.hShift << " " << m.vShift;
        }
}
#endif

// ---- small AC coefficients by table ---------------------------------------

// Bits MSB first into bytes, 0x00 stuffed after each 0xFF.
struct BitSink {
    std::vector<unsigned char> bytes;
    unsigned acc = 0;
    int held = 0;
    void Put(unsigned bits, int n)
    {
        for (int i = n - 1; i >= 0; --i) {
            acc = acc << 1 | (bits >> i & 1);
            if (++held < 8) continue;
            bytes.push_back(static_cast<unsigned char>(acc));
            if ((acc & 0xFF) == 0xFF) bytes.push_back(0);
            acc = 0;
            held = 0;
        }
    }
};

struct Code {
    unsigned bits;
    int length;
};

// A random prefix code (complete or not) over AC symbols, as a DHT segment
// gives it, with each symbol's code.
struct RandomTable {
    unsigned char counts[16] = {};
    std::vector<unsigned char> symbols;
    std::vector<Code> codes;

    explicit RandomTable(std::mt19937& rng)
    {
        long room = 1L << 16;
        for (int len = 1; len <= 16; ++len) {
            const long unit = 1L << (16 - len);
            int n = int(rng() % (len < 3 ? 2 : 10));
            while (n-- > 0 && room >= unit && symbols.size() < 200) {
                unsigned char sym;
                do sym = static_cast<unsigned char>(rng() % 3 == 0 ? rng() % 16 << 4 | (1 + rng() % 3) : rng());
                while (std::find(symbols.begin(), symbols.end(), sym) != symbols.end());
                counts[len - 1]++;
                room -= unit;
                symbols.push_back(sym);
            }
        }
        unsigned code = 0;
        for (int len = 1; len <= 16; ++len, code <<= 1)
            for (int i = 0; i < counts[len - 1]; ++i) codes.push_back(Code{code++, len});
    }
};

// A value's size category: its bits without the sign.
int SizeOf(int value)
{
    int s = 0;
    for (int m = value < 0 ? -value : value; m; m >>= 1) ++s;
    return s;
}

struct Coefficient {
    int symbol, value;  // run << 4 | size, and the value
    bool operator==(const Coefficient& o) const { return symbol == o.symbol && value == o.value; }
};

// Reads symbols and their values the way the sequential decoder does: the
// table of small coefficients first, else the symbol and then its bits.
std::vector<Coefficient> ReadFast(const std::vector<unsigned char>& stuffed, const Jpg::HuffmanTable& t, size_t count)
{
    TMemoryStream ms;
    ms.WriteBuffer(stuffed.data(), int(stuffed.size()));
    ms.SetPosition(0);
    StreamBuf buf(&ms, 5);  // small, so that look-ups meet its ends often
    Jpg::BitReader reader(buf);
    std::vector<Coefficient> got;
    while (got.size() < count) {
        if (const int fast = reader.FastAc(t)) {
            got.push_back(Coefficient{(fast >> 4 & 15) << 4 | SizeOf(fast >> 8), fast >> 8});
            continue;
        }
        const int rs = reader.Decode(t);
        got.push_back(Coefficient{rs, reader.Receive(rs & 15)});
    }
    return got;
}

TEST(JpgDecodeFast, SmallCoefficientTableMatchesCodeThenValue)
{
    std::mt19937 rng(31);
    for (int round = 0; round < 60; ++round) {
        RandomTable table(rng);
        Jpg::HuffmanTable t = Jpg::HuffmanTable();
        Jpg::BuildHuffman(t, table.counts, table.symbols.data());

        // A stream of coded symbols, each followed by its value bits.
        std::vector<Coefficient> sent;
        BitSink sink;
        auto put = [&](unsigned bits, int n) { sink.Put(bits, n); };
        for (int i = 0; i < 300; ++i) {
            const size_t which = rng() % table.symbols.size();
            const int symbol = table.symbols[which], s = symbol & 15;
            int value = 0;
            put(table.codes[which].bits, table.codes[which].length);
            if (s) {
                const unsigned raw = rng() & ((1u << s) - 1);
                put(raw, s);
                value = Jpg::Extend(int(raw), s);
            }
            sent.push_back(Coefficient{symbol, value});
        }
        put(0xFFFF, 16);  // padding past the last symbol, as at a scan's end
        put(0, 7);

        const std::vector<Coefficient> got = ReadFast(sink.bytes, t, sent.size());
        for (size_t i = 0; i < sent.size(); ++i)
            ASSERT_EQ(sent[i].symbol, got[i].symbol) << "round " << round << " symbol " << i;
        for (size_t i = 0; i < sent.size(); ++i) ASSERT_EQ(sent[i].value, got[i].value) << "round " << round << " value " << i;
    }
}

TEST(JpgDecodeFast, SmallCoefficientEntriesFitTheirBits)
{
    Jpg::HuffmanTable t = Jpg::HuffmanTable();
    Jpg::BuildHuffman(t, Jpg::AcLuma.counts, Jpg::AcLuma.symbols);
    int entries = 0;
    for (int look = 0; look < Jpg::LookSize; ++look) {
        const int e = t.fastAc[look];
        if (!e) continue;
        ++entries;
        const unsigned code = t.fast[look];
        const int length = int(code >> 8), symbol = int(code & 0xFF), s = symbol & 15;
        ASSERT_NE(0, s) << "end of block and runs of 16 have no value";
        EXPECT_EQ(length + s, e & 15) << look;
        EXPECT_EQ(symbol >> 4, e >> 4 & 15) << look;
        EXPECT_EQ(Jpg::Extend(look >> (Jpg::LookBits - length - s) & ((1 << s) - 1), s), e >> 8) << look;
    }
    // 0x01 (2 bits) and 0x02 (2 bits) alone cover half of all 9-bit values.
    EXPECT_GT(entries, Jpg::LookSize / 2);
}

// ---- sequential blocks through the bit window -----------------------------

// Codes of a table as a DHT segment gives it, by symbol.
std::vector<Code> CodesOf(const Jpg::HuffmanSpec& spec)
{
    std::vector<Code> bySymbol(256, Code{0, 0});
    unsigned code = 0;
    int next = 0;
    for (int len = 1; len <= 16; ++len, code <<= 1)
        for (int i = 0; i < spec.counts[len - 1]; ++i) bySymbol[spec.symbols[next++]] = Code{code++, len};
    return bySymbol;
}

// Size category and value bits of v (v != 0), as the encoder writes them.
void PutValue(BitSink& sink, int v)
{
    const int s = SizeOf(v);
    sink.Put(unsigned(v < 0 ? v + (1 << s) - 1 : v), s);
}

// Random blocks (dense and sparse, runs of 16 zeros, values of all ones that
// make 0xFF bytes, codes up to 16 bits long) coded with the example tables
// and decoded from buffers of many sizes: the window's word-at-a-time and
// byte-at-a-time paths, its hand-over to the reader at buffer ends and its
// long codes must give what was coded, block after block.
TEST(JpgDecodeFast, SequentialBlocksDecodeAsCodedAtEveryBufferSize)
{
    const std::vector<Code> dc = CodesOf(Jpg::DcLuma), ac = CodesOf(Jpg::AcLuma);
    std::mt19937 rng(5);
    std::vector<std::vector<int16_t>> sent;
    BitSink sink;
    int predictor = 0;
    for (int b = 0; b < 300; ++b) {
        std::vector<int16_t> zigzag(64, 0);
        zigzag[0] = int16_t(int(rng() % 2001) - 1000);
        const int density = int(rng() % 4);
        for (int k = 1; k < 64; ++k) {
            if (rng() % 4 >= unsigned(density)) continue;
            const int s = 1 + int(rng() % 10);
            const int v = rng() % 3 == 0 ? (1 << s) - 1 : int(rng() % (1u << s)) | 1 << (s - 1);
            zigzag[size_t(k)] = int16_t(rng() % 2 ? v : -v);
        }
        if (b % 7 == 0) std::fill(zigzag.begin() + 1, zigzag.begin() + 40, int16_t(0));  // runs of 16 zeros
        const int diff = zigzag[0] - predictor;
        predictor = zigzag[0];
        sink.Put(dc[size_t(diff ? SizeOf(diff) : 0)].bits, dc[size_t(diff ? SizeOf(diff) : 0)].length);
        if (diff) PutValue(sink, diff);
        int run = 0;
        for (int k = 1; k < 64; ++k) {
            const int v = zigzag[size_t(k)];
            if (!v) {
                ++run;
                continue;
            }
            for (; run >= 16; run -= 16) sink.Put(ac[0xF0].bits, ac[0xF0].length);
            const Code c = ac[size_t(run << 4 | SizeOf(v))];
            sink.Put(c.bits, c.length);
            PutValue(sink, v);
            run = 0;
        }
        if (run) sink.Put(ac[0x00].bits, ac[0x00].length);
        std::vector<int16_t> natural(64);
        for (int k = 0; k < 64; ++k) natural[Jpg::ZigZag[k]] = zigzag[size_t(k)];
        sent.push_back(natural);
    }
    sink.Put(0x7F, 7);  // pad the last byte with ones
    std::vector<unsigned char> stream = sink.bytes;
    stream.push_back(0xFF);
    stream.push_back(0xD9);  // a marker behind the data, never to be taken as bits

    Jpg::HuffmanTable dcTable = Jpg::HuffmanTable(), acTable = Jpg::HuffmanTable();
    Jpg::BuildHuffman(dcTable, Jpg::DcLuma.counts, Jpg::DcLuma.symbols);
    Jpg::BuildHuffman(acTable, Jpg::AcLuma.counts, Jpg::AcLuma.symbols);
    const std::vector<int16_t> ones(64, 1);
    for (int size : {1, 2, 3, 4, 5, 7, 11, 64, 4096}) {
        TMemoryStream ms;
        ms.WriteBuffer(stream.data(), int(stream.size()));
        ms.SetPosition(0);
        StreamBuf buf(&ms, size);
        Jpg::BitReader reader(buf);
        int16_t pred = 0;
        const Jpg::SequentialTables tables{&dcTable, &acTable, ones.data(), &pred};
        for (size_t b = 0; b < sent.size(); ++b) {
            int16_t block[64];
            std::fill(block, block + 64, int16_t(0x5555));
            Jpg::DecodeSequential(reader, tables, block);
            ASSERT_EQ(sent[b], std::vector<int16_t>(block, block + 64)) << "buffer " << size << " block " << b;
        }
        EXPECT_FALSE(reader.HoldsWholeBytes()) << "buffer " << size;
        EXPECT_EQ(0xFF, buf.Byte()) << "buffer " << size;
        EXPECT_EQ(0xD9, buf.Byte()) << "buffer " << size;
    }
}

}  // namespace
