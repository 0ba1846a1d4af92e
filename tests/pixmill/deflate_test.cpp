// Deflate: what the compressor writes is read back by the inflater and, for
// the small cases, by a symbol-logging decoder of the test's own, which shows
// the choices it made (matches, lazy matching, far short matches, blocks).
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "crc32.h"
#include "deflate.h"
#include "exceptions.h"
#include "format_fixture.h"
#include "inflate.h"
#include "streams.h"

namespace {

using format_fixture::Bytes;
using format_fixture::PutBig32;

struct Compressed {
    Bytes bytes;  // zlib header, deflate data, Adler-32
    uint32_t crc;
};

Compressed Compress(const Bytes& input, size_t piece = 1000)
{
    TMemoryStream m;
    uint32_t crc;
    {
        Deflater z(&m);
        for (size_t at = 0; at < input.size(); at += piece)
            z.Put(input.data() + at, std::min(piece, input.size() - at));
        crc = z.Finish();
    }
    const unsigned char* p = static_cast<const unsigned char*>(m.GetMemory());
    return Compressed{Bytes(p, p + m.GetSize()), crc};
}

// Through the library's inflater, as one IDAT chunk.
Bytes Inflate(const Compressed& c, size_t n)
{
    Bytes chunk;
    PutBig32(chunk, uint32_t(c.bytes.size()));
    chunk.insert(chunk.end(), {'I', 'D', 'A', 'T'});
    chunk.insert(chunk.end(), c.bytes.begin(), c.bytes.end());
    PutBig32(chunk, c.crc);
    TMemoryStream m;
    m.Write(chunk.data(), int(chunk.size()));
    m.SetPosition(8);
    std::unique_ptr<Inflater> in(new Inflater(&m, uint32_t(c.bytes.size())));
    in->ReadZlibHeader();
    Bytes out(n);
    if (n) in->Read(out.data(), n);
    in->Finish();
    return out;
}

// ---- a decoder that logs symbols -----------------------------------------

struct Symbol {
    int length;    // 0 for a literal
    int distance;
    int literal;
};

struct Block {
    bool final;
    int longestCode;        // of the literal/length and distance codes
    int longestLengthCode;  // of the code-length code
    std::vector<Symbol> symbols;
};

class BitReader {
public:
    explicit BitReader(const Bytes& b) : bytes(b) {}
    uint32_t Get(int n)
    {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i, ++pos) {
            if (pos / 8 >= bytes.size()) throw std::string("deflate data runs past its end");
            v |= uint32_t((bytes[pos / 8] >> (pos % 8)) & 1) << i;
        }
        return v;
    }
    size_t ByteEnd() const { return (pos + 7) / 8; }

private:
    const Bytes& bytes;
    size_t pos = 16;  // behind the zlib header
};

// A canonical code decoded a bit at a time, the slow way.
struct Code {
    std::vector<int> lengths, codes;
    std::unordered_map<int, int> symbolOf;  // length << 16 | code
    explicit Code(const std::vector<int>& l) : lengths(l), codes(l.size())
    {
        int count[16] = {}, next[16] = {};
        for (int len : lengths) count[len]++;
        count[0] = 0;
        for (int len = 1, c = 0; len < 16; ++len) next[len] = c = (c + count[len - 1]) << 1;
        for (size_t i = 0; i < lengths.size(); ++i)
            if (lengths[i]) {
                codes[i] = next[lengths[i]]++;
                symbolOf[lengths[i] << 16 | codes[i]] = int(i);
            }
    }
    int Decode(BitReader& r) const
    {
        int code = 0;
        for (int len = 1; len < 16; ++len) {
            code = code << 1 | int(r.Get(1));
            auto it = symbolOf.find(len << 16 | code);
            if (it != symbolOf.end()) return it->second;
        }
        throw std::string("no symbol for a code");
    }
    int Longest() const
    {
        int m = 0;
        for (int len : lengths) m = std::max(m, len);
        return m;
    }
};

const int LengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                            31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const int DistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                              193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};

int LengthExtra(int code)
{
    return code < 8 || code == 28 ? 0 : (code >> 2) - 1;
}

int DistanceExtra(int code)
{
    return code < 4 ? 0 : (code >> 1) - 1;
}

Block ReadBlock(BitReader& r)
{
    Block b;
    b.final = r.Get(1) != 0;
    if (r.Get(2) != 2) throw std::string("not a dynamic block");
    const int hlit = int(r.Get(5)) + 257, hdist = int(r.Get(5)) + 1, hclen = int(r.Get(4)) + 4;
    static const int order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    std::vector<int> clLengths(19, 0);
    for (int i = 0; i < hclen; ++i) clLengths[size_t(order[i])] = int(r.Get(3));
    const Code cl(clLengths);
    b.longestLengthCode = cl.Longest();
    std::vector<int> lengths;
    while (int(lengths.size()) < hlit + hdist) {
        const int sym = cl.Decode(r);
        if (sym < 16) {
            lengths.push_back(sym);
        } else if (sym == 16) {
            const int v = lengths.back(), n = 3 + int(r.Get(2));
            lengths.insert(lengths.end(), size_t(n), v);
        } else {
            const int n = sym == 17 ? 3 + int(r.Get(3)) : 11 + int(r.Get(7));
            lengths.insert(lengths.end(), size_t(n), 0);
        }
    }
    if (int(lengths.size()) != hlit + hdist) throw std::string("code lengths overrun");
    const Code lit(std::vector<int>(lengths.begin(), lengths.begin() + hlit));
    const Code dist(std::vector<int>(lengths.begin() + hlit, lengths.end()));
    b.longestCode = std::max(lit.Longest(), dist.Longest());
    for (;;) {
        const int sym = lit.Decode(r);
        if (sym == 256) return b;
        if (sym < 256) {
            b.symbols.push_back(Symbol{0, 0, sym});
            continue;
        }
        const int lc = sym - 257;
        const int length = LengthBase[lc] + int(r.Get(LengthExtra(lc)));
        const int dc = dist.Decode(r);
        const int distance = DistanceBase[dc] + int(r.Get(DistanceExtra(dc)));
        b.symbols.push_back(Symbol{length, distance, 0});
    }
}

std::vector<Block> Blocks(const Compressed& c)
{
    BitReader r(c.bytes);
    std::vector<Block> blocks;
    try {
        do
            blocks.push_back(ReadBlock(r));
        while (!blocks.back().final);
    } catch (const std::string& why) {
        ADD_FAILURE() << why;
    }
    EXPECT_EQ(r.ByteEnd() + 4, c.bytes.size()) << "the Adler-32 follows the last block";
    return blocks;
}

std::vector<Symbol> AllSymbols(const Compressed& c)
{
    std::vector<Symbol> all;
    for (const Block& b : Blocks(c)) all.insert(all.end(), b.symbols.begin(), b.symbols.end());
    return all;
}

Bytes Random(size_t n, uint32_t seed)
{
    std::mt19937 rng(seed);
    Bytes b(n);
    for (unsigned char& v : b) v = static_cast<unsigned char>(rng());
    return b;
}

// Rows of a picture after a Sub filter: mostly small differences, with runs.
Bytes FilteredRows(int width, int height)
{
    Bytes b;
    for (int y = 0; y < height; ++y) {
        b.push_back(1);
        for (int x = 0; x < 3 * width; ++x) {
            const int v = (x / 3 * (y + 3) + (x % 3) * 40 + (x * y % 7 == 0 ? x : 0)) & 0xFF;
            const int left = x >= 3 ? ((x / 3 - 1) * (y + 3) + (x % 3) * 40) & 0xFF : 0;
            b.push_back(static_cast<unsigned char>(v - left));
        }
    }
    return b;
}

TEST(Deflate, EmptyInputIsOneFinalBlockAndAdlerOne)
{
    const Compressed c = Compress(Bytes());
    ASSERT_GE(c.bytes.size(), 7u);
    EXPECT_EQ(0x78, c.bytes[0]);
    EXPECT_EQ(0x9C, c.bytes[1]);
    EXPECT_EQ(Bytes({0, 0, 0, 1}), Bytes(c.bytes.end() - 4, c.bytes.end()));
    const std::vector<Block> blocks = Blocks(c);
    ASSERT_EQ(1u, blocks.size());
    EXPECT_TRUE(blocks[0].final);
    EXPECT_TRUE(blocks[0].symbols.empty());
    EXPECT_EQ(Bytes(), Inflate(c, 0));
}

TEST(Deflate, CrcCoversTheChunkTypeAndEveryByteWritten)
{
    for (const Bytes& input : {Bytes(), Random(5000, 1), FilteredRows(100, 30)}) {
        const Compressed c = Compress(input);
        EXPECT_EQ(Crc32(Crc32(0, "IDAT", 4), c.bytes.data(), c.bytes.size()), c.crc);
        EXPECT_EQ(Adler32(1, input.data(), input.size()), uint32_t(c.bytes[c.bytes.size() - 4]) << 24 |
                                                             c.bytes[c.bytes.size() - 3] << 16 |
                                                             c.bytes[c.bytes.size() - 2] << 8 | c.bytes.back());
    }
}

TEST(Deflate, RunOfEqualBytesIsALiteralAndMatchesOfDistanceOne)
{
    const std::vector<Symbol> s = AllSymbols(Compress(Bytes(300, 'x')));
    ASSERT_GE(s.size(), 2u);
    EXPECT_EQ(0, s[0].length);
    EXPECT_EQ('x', s[0].literal);
    int covered = 1;
    for (size_t i = 1; i < s.size(); ++i) {
        EXPECT_GT(s[i].length, 0) << i;
        EXPECT_EQ(1, s[i].distance) << i;
        covered += s[i].length;
    }
    EXPECT_EQ(300, covered);
}

// 12,000 bytes in which no three bytes occur twice, then triples copied
// 5,000 bytes further on.
Bytes PlantedFarTriples(uint32_t seed)
{
    std::mt19937 rng(seed);
    Bytes b;
    std::unordered_set<uint32_t> seen;
    while (b.size() < 12000) {
        unsigned char v = static_cast<unsigned char>(rng());
        if (b.size() >= 2 && !seen.insert(uint32_t(b[b.size() - 2] << 16 | b.back() << 8 | v)).second) continue;
        b.push_back(v);
    }
    for (size_t p = 100; p + 5003 < b.size(); p += 700) std::copy(b.begin() + p, b.begin() + p + 3, b.begin() + p + 5000);
    return b;
}

// No three bytes repeat within 4,096 bytes and no four anywhere: the
// planting may have made such repeats by chance.
bool OnlyFarTriplesRepeat(const Bytes& b)
{
    if (b.empty()) return false;
    std::unordered_map<uint32_t, int> last3;
    std::unordered_set<uint32_t> fours;
    for (size_t i = 0; i + 3 <= b.size(); ++i) {
        const uint32_t key = uint32_t(b[i] << 16 | b[i + 1] << 8 | b[i + 2]);
        auto it = last3.find(key);
        if (it != last3.end() && int(i) - it->second <= 4096) return false;
        last3[key] = int(i);
        if (i + 4 <= b.size() && !fours.insert(key << 8 | b[i + 3]).second) return false;
    }
    return true;
}

TEST(Deflate, FarShortMatchesStayLiterals)
{
    Bytes b;
    for (uint32_t seed = 1; seed < 50 && !OnlyFarTriplesRepeat(b); ++seed) b = PlantedFarTriples(seed);
    ASSERT_TRUE(OnlyFarTriplesRepeat(b));
    const Compressed c = Compress(b);
    for (const Symbol& s : AllSymbols(c)) ASSERT_EQ(0, s.length) << "match of " << s.length << " at " << s.distance;
    EXPECT_EQ(b, Inflate(c, b.size()));
}

TEST(Deflate, LazyMatchingPrefersTheLongerMatchOneByteLater)
{
    // "abc" is seen before "bcdefg"; at "abcdefg" the 3-byte match waits for
    // the 6-byte one that starts at the next byte.
    Bytes b;
    const char* parts[] = {"abcQ", "0123456789", "bcdefgR", "ZYXWVUTSRQ", "abcdefgS"};
    for (const char* p : parts) b.insert(b.end(), p, p + strlen(p));
    const std::vector<Symbol> s = AllSymbols(Compress(b));
    ASSERT_GE(s.size(), 3u);
    const Symbol& match = s[s.size() - 2];
    EXPECT_EQ('a', s[s.size() - 3].literal);
    EXPECT_EQ(0, s[s.size() - 3].length);
    EXPECT_EQ(6, match.length);
    EXPECT_EQ(18, match.distance);
    EXPECT_EQ('S', s.back().literal);
}

TEST(Deflate, LongInputsSplitIntoBlocks)
{
    const Bytes input = Random(40000, 4);
    const Compressed c = Compress(input, 7);
    const std::vector<Block> blocks = Blocks(c);
    ASSERT_GE(blocks.size(), 3u);
    for (size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_EQ(i + 1 == blocks.size(), blocks[i].final) << i;
        EXPECT_LE(blocks[i].symbols.size(), 16384u);
        EXPECT_LE(blocks[i].longestCode, 15);
        EXPECT_LE(blocks[i].longestLengthCode, 7);
    }
    EXPECT_EQ(input, Inflate(c, input.size()));
}

TEST(Deflate, RoundTrips)
{
    std::vector<Bytes> inputs = {Bytes(1, 0), Bytes(1, 0xFF), Bytes(258, 7), Bytes(259, 7), Bytes(70000, 0),
                                 Random(100000, 2), FilteredRows(640, 120)};
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "line " + std::to_string(i % 97) + " of a text that repeats itself. ";
    inputs.push_back(Bytes(text.begin(), text.end()));
    // Mixed: noise, runs and copies from up to the whole window back.
    Bytes mixed = Random(40000, 6);
    std::mt19937 rng(8);
    while (mixed.size() < 200000) {
        const size_t n = 3 + rng() % 300;
        if (rng() % 3 == 0) {
            mixed.insert(mixed.end(), n, static_cast<unsigned char>(rng()));
        } else {
            const size_t from = mixed.size() - 1 - rng() % std::min<size_t>(mixed.size() - 1, 32768);
            for (size_t i = 0; i < n; ++i) mixed.push_back(mixed[from + i]);
        }
    }
    inputs.push_back(mixed);
    for (size_t k = 0; k < inputs.size(); ++k) {
        const Compressed c = Compress(inputs[k], 1 + k * 997);
        ASSERT_EQ(inputs[k], Inflate(c, inputs[k].size())) << k;
        if (k == 4) {
            EXPECT_LT(c.bytes.size(), 200u);
        }
    }
}

// Pairs "00 00" whose third byte almost never repeats make the longest
// chains there are; the bounded search keeps them cheap.
TEST(Deflate, CommonPairsDoNotSlowTheSearch)
{
    Bytes b;
    std::mt19937 rng(12);
    while (b.size() < 300000) {
        b.push_back(0);
        b.push_back(0);
        b.push_back(static_cast<unsigned char>(rng()));
        b.push_back(static_cast<unsigned char>(rng()));
    }
    EXPECT_EQ(b, Inflate(Compress(b, 4096), b.size()));
}

TEST(DeflateCodeLengths, LimitedCompleteAndOrdered)
{
    // Fibonacci frequencies make the deepest Huffman trees.
    uint32_t freq[30];
    uint32_t a = 1, b = 1;
    for (int i = 0; i < 30; ++i) {
        freq[i] = a;
        const uint32_t next = a + b;
        a = b;
        b = next;
    }
    for (int limit : {7, 9, 15}) {
        const int n = limit == 7 ? 19 : 30;
        unsigned char lengths[30];
        DeflateCodeLengths(freq, n, limit, lengths);
        double kraft = 0;
        for (int i = 0; i < n; ++i) {
            ASSERT_GE(lengths[i], 1) << i;
            ASSERT_LE(lengths[i], limit) << i;
            kraft += 1.0 / double(1u << lengths[i]);
            if (i > 0) {
                EXPECT_LE(lengths[i], lengths[i - 1]) << "a more frequent symbol has a longer code";
            }
        }
        EXPECT_DOUBLE_EQ(1.0, kraft) << limit;
    }
    uint32_t one[5] = {0, 0, 9, 0, 0};
    unsigned char lengths[5];
    DeflateCodeLengths(one, 5, 15, lengths);
    EXPECT_EQ(Bytes({0, 0, 1, 0, 0}), Bytes(lengths, lengths + 5));
    uint32_t none[3] = {0, 0, 0};
    DeflateCodeLengths(none, 3, 15, lengths);
    EXPECT_EQ(Bytes({0, 0, 0}), Bytes(lengths, lengths + 3));
}

}  // namespace
