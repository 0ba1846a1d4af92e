// JPEG reader: streams made here coefficient by coefficient (so the expected
// pixels follow from the transform and colour formulas), the same
// coefficients coded in other ways (restarts, separate scans, progressive
// scans) that must decode to the same pixels, two small files from another
// encoder, Test's answers, partial loads, and damaged or hostile streams.
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <random>
#include <vector>

#include "exceptions.h"
#include "gfxfile.h"
#include "jpg_decode_bits.h"
#include "jpg_decode_tables.h"
#include "streambuf.h"
#include "streams.h"

#include "format_fixture.h"
#include "formats.h"

namespace {

using format_fixture::Bytes;
using format_fixture::Cat;
using format_fixture::Pixels;
using format_fixture::Read;

const format_fixture::FormatBytes JpgFile = {JPGFormat, "t.jpg"};

// ---- a coefficient-level JPEG writer -------------------------------------

struct Table {
    Bytes counts, symbols;
    unsigned code[256];
    int length[256];
};

Table MakeTable(const Bytes& counts, const Bytes& symbols)
{
    Table t{counts, symbols, {}, {}};
    unsigned code = 0;
    size_t next = 0;
    for (int len = 1; len <= 16; ++len, code <<= 1)
        for (int i = 0; i < counts[len - 1]; ++i, ++code) {
            t.code[symbols[next]] = code;
            t.length[symbols[next++]] = len;
        }
    return t;
}

Table FromSpec(const Jpg::HuffmanSpec& s)
{
    return MakeTable(Bytes(s.counts, s.counts + 16), Bytes(s.symbols, s.symbols + s.symbolCount));
}

// Fixed-length tables: DC categories 0-17 in 5 bits, AC symbols as their own 8-bit codes.
Table FixedDc()
{
    Bytes counts(16, 0), symbols;
    counts[4] = 18;
    for (int i = 0; i < 18; ++i) symbols.push_back(static_cast<unsigned char>(i));
    return MakeTable(counts, symbols);
}

Table FixedAc()
{
    Bytes counts(16, 0), symbols;
    counts[7] = 255;  // symbol 0xFF (15 zeros, then 15 bits) is never needed here
    for (int i = 0; i < 255; ++i) symbols.push_back(static_cast<unsigned char>(i));
    return MakeTable(counts, symbols);
}

struct BitSink {
    Bytes out;
    unsigned acc = 0;
    int n = 0;
    void Put(unsigned v, int len)
    {
        for (int i = len - 1; i >= 0; --i) {
            acc = acc << 1 | ((v >> i) & 1);
            if (++n == 8) {
                out.push_back(static_cast<unsigned char>(acc));
                if (acc == 0xFF) out.push_back(0);
                acc = 0, n = 0;
            }
        }
    }
    void Flush()
    {
        while (n) Put(1, 1);
    }
};

int Category(int v)
{
    int s = 0;
    for (int a = v < 0 ? -v : v; a; a >>= 1) ++s;
    return s;
}

void PutValue(BitSink& bits, const Table& t, int symbol, int v, int s)
{
    bits.Put(t.code[symbol], t.length[symbol]);
    if (s) bits.Put(unsigned(v < 0 ? v + (1 << s) - 1 : v), s);
}

typedef std::vector<int> Block;  // 64 quantised coefficients in zig-zag order

struct Comp {
    int id, sampling, quant;
    int across, down;           // blocks of the MCU-padded plane
    std::vector<Block> blocks;  // row by row
};

struct Picture {
    int width, height;
    std::vector<Comp> comps;
    int hs, vs, mcusX, mcusY;
};

// Random coefficients, fading with frequency; dcOnly leaves AC zero.
Picture MakePicture(int width, int height, int count, int sampling, unsigned seed, bool dcOnly = false)
{
    std::mt19937 rng(seed);
    Picture p{width, height, {}, (sampling >> 4) - 1, (sampling & 15) - 1, 0, 0};
    p.mcusX = (width + (8 << p.hs) - 1) / (8 << p.hs);
    p.mcusY = (height + (8 << p.vs) - 1) / (8 << p.vs);
    for (int c = 0; c < count; ++c) {
        Comp comp{c + 1, c ? 0x11 : sampling, c ? 1 : 0, p.mcusX << (c ? 0 : p.hs), p.mcusY << (c ? 0 : p.vs), {}};
        for (int i = 0; i < comp.across * comp.down; ++i) {
            Block b(64, 0);
            b[0] = int(rng() % 120) - 60;
            for (int k = 1; k < 64 && !dcOnly; ++k)
                if (rng() % (k + 2) < 2) b[k] = int(rng() % (64 / (k / 8 + 1) + 1)) - 32 / (k / 8 + 1);
            comp.blocks.push_back(b);
        }
        p.comps.push_back(comp);
    }
    return p;
}

enum Kind { Seq, DcFirst, DcRefine, AcFirst };

struct ScanSpec {
    std::vector<int> comps;
    Kind kind;
    int ss, se, al;
};

Bytes Ramp(int base)
{
    Bytes q;
    for (int k = 0; k < 64; ++k) q.push_back(static_cast<unsigned char>(base + k / 4));
    return q;
}

struct Coder {
    const Picture p;
    // Tables 0 code luma, tables 1 chroma.
    Table dc[2] = {FixedDc(), FixedDc()}, ac[2] = {FixedAc(), FixedAc()};
    Bytes quant[2] = {Ramp(2), Ramp(3)};
    bool tables = true;  // write DQT and DHT
    int restart = 0;
    Bytes file;

    explicit Coder(const Picture& pic) : p(pic) {}

    void Marker(int code)
    {
        file.push_back(0xFF);
        file.push_back(static_cast<unsigned char>(code));
    }
    void Segment(int code, const Bytes& payload)
    {
        Marker(code);
        file.push_back(static_cast<unsigned char>((payload.size() + 2) >> 8));
        file.push_back(static_cast<unsigned char>(payload.size() + 2));
        file.insert(file.end(), payload.begin(), payload.end());
    }
    void Quant(int which, const Bytes& entries)
    {
        Bytes q{static_cast<unsigned char>(which)};
        q.insert(q.end(), entries.begin(), entries.end());
        Segment(0xDB, q);
    }
    void Huffman(int which, const Table& t)
    {
        Bytes h{static_cast<unsigned char>(which)};
        h.insert(h.end(), t.counts.begin(), t.counts.end());
        h.insert(h.end(), t.symbols.begin(), t.symbols.end());
        Segment(0xC4, h);
    }
    void Frame(int code)
    {
        Bytes f{8, static_cast<unsigned char>(p.height >> 8), static_cast<unsigned char>(p.height),
                static_cast<unsigned char>(p.width >> 8), static_cast<unsigned char>(p.width),
                static_cast<unsigned char>(p.comps.size())};
        for (const Comp& c : p.comps) {
            f.push_back(static_cast<unsigned char>(c.id));
            f.push_back(static_cast<unsigned char>(c.sampling));
            f.push_back(static_cast<unsigned char>(c.quant));
        }
        Segment(code, f);
    }
    // SOI, tables, DRI, frame header.
    void Head(int sof = 0xC0)
    {
        Marker(0xD8);
        Segment(0xE0, Bytes{'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
        if (tables) {
            Quant(0, quant[0]);
            Quant(1, quant[1]);
            Huffman(0x00, dc[0]), Huffman(0x01, dc[1]), Huffman(0x10, ac[0]), Huffman(0x11, ac[1]);
        }
        if (restart) Segment(0xDD, Bytes{static_cast<unsigned char>(restart >> 8), static_cast<unsigned char>(restart)});
        Frame(sof);
    }

    int preds[4] = {0, 0, 0, 0};
    int eobRun = 0;
    const Table* runTable = &ac[0];  // codes the pending end-of-band run

    void FlushEob(BitSink& bits)
    {
        if (!eobRun) return;
        int r = 0;
        while ((eobRun >> (r + 1)) != 0) ++r;
        bits.Put(runTable->code[r << 4], runTable->length[r << 4]);
        if (r) bits.Put(unsigned(eobRun) & ((1u << r) - 1), r);
        eobRun = 0;
    }
    void Dc(BitSink& bits, int c, int value)
    {
        int diff = value - preds[c];
        preds[c] = value;
        PutValue(bits, dc[c ? 1 : 0], Category(diff), diff, Category(diff));
    }
    // AC k from..to of b, each shifted right by al (towards zero); an empty
    // tail ends the block (or joins the end-of-band run).
    void Ac(BitSink& bits, int c, const Block& b, int from, int to, int al, bool runs)
    {
        const Table& t = ac[c ? 1 : 0];
        runTable = &t;
        int zeros = 0;
        for (int k = from; k <= to; ++k) {
            int v = b[k] >= 0 ? b[k] >> al : -((-b[k]) >> al);
            if (!v) {
                ++zeros;
                continue;
            }
            FlushEob(bits);
            for (; zeros >= 16; zeros -= 16) bits.Put(t.code[0xF0], t.length[0xF0]);
            PutValue(bits, t, zeros << 4 | Category(v), v, Category(v));
            zeros = 0;
        }
        if (!zeros) return;
        ++eobRun;
        if (!runs || eobRun == 32767) FlushEob(bits);
    }
    void CodeBlock(BitSink& bits, const ScanSpec& s, int c, const Block& b)
    {
        switch (s.kind) {
        case Seq: Dc(bits, c, b[0]), Ac(bits, c, b, 1, 63, 0, false); break;
        case DcFirst: Dc(bits, c, b[0] >> s.al); break;
        case DcRefine: bits.Put(unsigned(b[0] >> s.al) & 1, 1); break;
        case AcFirst: Ac(bits, c, b, s.ss, s.se, s.al, true); break;
        }
    }
    // The blocks of each MCU of the scan, in coding order.
    std::vector<std::vector<std::pair<int, int>>> Mcus(const ScanSpec& s)
    {
        std::vector<std::vector<std::pair<int, int>>> mcus;
        if (s.comps.size() == 1) {
            const Comp& c = p.comps[s.comps[0]];
            const int across = s.comps[0] ? c.across : (p.width + 7) / 8;
            const int down = s.comps[0] ? c.down : (p.height + 7) / 8;
            for (int y = 0; y < down; ++y)
                for (int x = 0; x < across; ++x) mcus.push_back({{s.comps[0], y * c.across + x}});
            return mcus;
        }
        for (int my = 0; my < p.mcusY; ++my)
            for (int mx = 0; mx < p.mcusX; ++mx) {
                std::vector<std::pair<int, int>> m;
                for (int ci : s.comps) {
                    const Comp& c = p.comps[ci];
                    const int h = ci ? 1 : 1 << p.hs, v = ci ? 1 : 1 << p.vs;
                    for (int y = 0; y < v; ++y)
                        for (int x = 0; x < h; ++x) m.push_back({ci, (my * v + y) * c.across + mx * h + x});
                }
                mcus.push_back(m);
            }
        return mcus;
    }
    void Scan(const ScanSpec& s)
    {
        Bytes head{static_cast<unsigned char>(s.comps.size())};
        for (int c : s.comps) {
            head.push_back(static_cast<unsigned char>(p.comps[c].id));
            head.push_back(c ? 0x11 : 0x00);
        }
        const int ah = s.kind == DcRefine ? s.al + 1 : 0;
        head.push_back(static_cast<unsigned char>(s.ss));
        head.push_back(static_cast<unsigned char>(s.se));
        head.push_back(static_cast<unsigned char>(ah << 4 | s.al));
        Segment(0xDA, head);
        BitSink bits;
        preds[0] = preds[1] = preds[2] = preds[3] = 0;
        eobRun = 0;
        int count = 0, marker = 0;
        for (const auto& mcu : Mcus(s)) {
            if (restart && count == restart) {
                FlushEob(bits);
                bits.Flush();
                bits.out.push_back(0xFF);
                bits.out.push_back(static_cast<unsigned char>(0xD0 + marker));
                marker = (marker + 1) & 7;
                preds[0] = preds[1] = preds[2] = preds[3] = 0;
                count = 0;
            }
            ++count;
            for (const auto& blk : mcu) CodeBlock(bits, s, blk.first, p.comps[blk.first].blocks[blk.second]);
        }
        FlushEob(bits);
        bits.Flush();
        file.insert(file.end(), bits.out.begin(), bits.out.end());
    }
    std::vector<int> All() const
    {
        std::vector<int> all;
        for (size_t i = 0; i < p.comps.size(); ++i) all.push_back(int(i));
        return all;
    }
    Bytes Sequential(int sof = 0xC0)
    {
        Head(sof);
        Scan({All(), Seq, 0, 63, 0});
        Marker(0xD9);
        return file;
    }
    Bytes SeparateScans()
    {
        Head();
        for (int c : All()) Scan({{c}, Seq, 0, 63, 0});
        Marker(0xD9);
        return file;
    }
    Bytes ProgressiveScans()
    {
        Head(0xC2);
        Scan({All(), DcFirst, 0, 0, 1});
        for (int c : All()) Scan({{c}, AcFirst, 1, 63, 0});
        Scan({All(), DcRefine, 0, 0, 0});
        Marker(0xD9);
        return file;
    }
};

// ---- loading ---------------------------------------------------------------

int TestBytes(const Bytes& file, GFXFileDesc* d, int prefix = 5)
{
    return JpgFile.Test(Cat(Bytes(size_t(prefix), 0xFF), file), d, prefix);
}

// The reader starts where the stream stands: the file follows other bytes.
bool LoadBytes(const Bytes& file, Buffer& b, GFXFileDesc* d = nullptr)
{
    format_fixture::MemorySource s(Cat(Bytes(3, 0x55), file), "t.jpg", 3);
    return JPGFormat()->Load(b, &s.in, d, nullptr, 0);
}

Pixels Decode(const Bytes& file)
{
    Buffer b;
    EXPECT_TRUE(LoadBytes(file, b));
    return Read(b);
}

std::string Detail(const Bytes& file)
{
    Buffer b;
    return format_fixture::RefusalOf([&] { LoadBytes(file, b); });
}

// Offset of the first segment with this marker code (walking the segments
// before the entropy-coded data), or 0.
size_t FrameAt(const Bytes& f, int code)
{
    for (size_t i = 2; i + 3 < f.size(); i += 2 + (size_t(f[i + 2]) << 8 | f[i + 3])) {
        if (f[i + 1] == code) return i;
        if (f[i + 1] == 0xDA) break;
    }
    return 0;
}

// The entropy-coded data of the first scan: from just after its header.
size_t ScanData(const Bytes& f)
{
    size_t at = FrameAt(f, 0xDA);
    return at + 2 + (size_t(f[at + 2]) << 8 | f[at + 3]);
}

// ---- expected pixels -------------------------------------------------------

// A block with only its DC (dequantised value dc) is flat: the DC path of
// both transform passes, then the level shift and clamp.
int FlatSample(int dc)
{
    int64_t pass1 = (int64_t(dc) * 46341 + 0x10000) >> 17;
    int v = int16_t(((pass1 * 46341 + 0x10000) >> 17)) + 128;
    return v < 0 ? 0 : v > 255 ? 255 : v;
}

int Clamp(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

// The colour tables by their definition: k * (i - 128) + 0.5, truncated.
int TableEntry(double k, int i) { return int(k * (i - 128) + 0.5); }

unsigned long Rgb(int y, int cb, int cr)
{
    int r = Clamp(y + TableEntry(1.402, cr));
    int g = Clamp(y - TableEntry(0.34414, cb) - TableEntry(0.71414, cr));
    int b = Clamp(y + TableEntry(1.772, cb));
    return static_cast<unsigned long>(r << 16 | g << 8 | b);
}

// Quantisation entry 0 written by Coder::Quant(n, base) is base.
Pixels ExpectedDcOnly(const Picture& p)
{
    Pixels px;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const Comp& luma = p.comps[0];
            int yv = FlatSample(luma.blocks[(y / 8) * luma.across + x / 8][0] * 2);
            if (p.comps.size() == 1) {
                px.push_back(static_cast<unsigned long>(yv) * 0x010101ul);
                continue;
            }
            const int m = (y >> (3 + p.vs)) * p.mcusX + (x >> (3 + p.hs));
            px.push_back(Rgb(yv, FlatSample(p.comps[1].blocks[m][0] * 3), FlatSample(p.comps[2].blocks[m][0] * 3)));
        }
    return px;
}

TEST(JpgReadTables, ColourTablesFollowTheirDefinition)
{
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(TableEntry(1.402, i), Jpg::Colour.red[i]) << i;
        EXPECT_EQ(TableEntry(0.34414, i), Jpg::Colour.greenCb[i]) << i;
        EXPECT_EQ(TableEntry(0.71414, i), Jpg::Colour.greenCr[i]) << i;
        EXPECT_EQ(TableEntry(1.772, i), Jpg::Colour.blue[i]) << i;
    }
    // Truncation toward zero: red and the green parts have 0 just below 128 too.
    EXPECT_EQ(0, Jpg::Colour.red[127]);
    EXPECT_EQ(0, Jpg::Colour.greenCr[127]);
    EXPECT_EQ(-1, Jpg::Colour.blue[127]);
}

// ---- Huffman decoding -----------------------------------------------------

// Random prefix codes (complete or not) over random bits: the reader's
// look-up of short codes, its prefetching across buffer ends and stuffed
// bytes must give what matching the codes bit by bit gives.
TEST(JpgReadHuffman, DecodingMatchesTheCodesBitByBit)
{
    std::mt19937 rng(77);
    for (int round = 0; round < 40; ++round) {
        Bytes counts(16, 0), symbols;
        long room = 1L << 16;  // code space left, in units of 2^-16
        for (int len = 1; len <= 16 && symbols.size() < 256; ++len) {
            long unit = 1L << (16 - len);
            int n = int(rng() % (len < 4 ? 3 : 12));
            while (n > 0 && room >= unit && symbols.size() < 256) {
                counts[size_t(len - 1)]++;
                room -= unit;
                --n;
                unsigned char sym;
                do sym = static_cast<unsigned char>(rng()); while (std::find(symbols.begin(), symbols.end(), sym) != symbols.end());
                symbols.push_back(sym);
            }
        }
        Table ref = MakeTable(counts, symbols);
        Jpg::HuffmanTable t = Jpg::HuffmanTable();
        Jpg::BuildHuffman(t, counts.data(), symbols.data());

        Bytes raw(200), stuffed;
        for (unsigned char& c : raw) {
            c = static_cast<unsigned char>(rng() % 4 == 0 ? 0xFF : rng());
            stuffed.push_back(c);
            if (c == 0xFF) stuffed.push_back(0);
        }
        TMemoryStream ms;
        ms.WriteBuffer(stuffed.data(), int(stuffed.size()));
        ms.SetPosition(0);
        StreamBuf buf(&ms, 7);
        Jpg::BitReader reader(buf);
        size_t bit = 0;
        const size_t bits = raw.size() * 8;
        while (bit + 16 <= bits) {
            unsigned code = 0;
            int symbol = -1;
            for (int len = 1; len <= 16 && symbol < 0; ++len) {
                code = code << 1 | ((raw[bit / 8] >> (7 - bit % 8)) & 1);
                ++bit;
                for (size_t i = 0; i < symbols.size(); ++i)
                    if (ref.length[symbols[i]] == len && ref.code[symbols[i]] == code) symbol = symbols[i];
            }
            if (symbol < 0) {
                EXPECT_THROW(reader.Decode(t), EInvalidImage);
                break;
            }
            ASSERT_EQ(symbol, reader.Decode(t)) << "round " << round << " bit " << bit;
        }
    }
}

// ---- pixels ----------------------------------------------------------------

TEST(JpgReadPixels, FlatBlocksGiveTheFormulaValues)
{
    const int samplings[] = {0x11, 0x21, 0x22};
    for (int sampling : samplings) {
        Picture p = MakePicture(37, 21, 3, sampling, 7u + unsigned(sampling), true);
        EXPECT_EQ(ExpectedDcOnly(p), Decode(Coder(p).Sequential())) << std::hex << sampling;
    }
    Picture grey = MakePicture(20, 13, 1, 0x11, 3, true);
    EXPECT_EQ(ExpectedDcOnly(grey), Decode(Coder(grey).Sequential()));
}

TEST(JpgReadPixels, ChromaIsReplicatedOverTheLumaSampling)
{
    for (int sampling : {0x21, 0x22}) {
        Picture p = MakePicture(16, 16, 3, sampling, 11);
        for (Block& b : p.comps[0].blocks) b.assign(64, 0);  // flat grey luma
        Pixels px = Decode(Coder(p).Sequential());
        const int down = sampling == 0x22 ? 2 : 1;
        int changes = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                EXPECT_EQ(px[(y / down * down) * 16 + (x & ~1)], px[y * 16 + x]) << x << "," << y;
                if (x > 0 && (x & 1) == 0) changes += px[y * 16 + x] != px[y * 16 + x - 2];
            }
        EXPECT_GT(changes, 20) << "chroma should vary across the block";
    }
}

TEST(JpgReadPixels, SameCoefficientsCodedOtherwiseGiveTheSamePicture)
{
    for (int sampling : {0x11, 0x21, 0x22}) {
        // 45 x 27: partial MCUs on both edges, and for 2x2 a luma plane whose
        // block columns (6) do not fill whole MCUs (3 x 2 blocks).
        Picture p = MakePicture(45, 27, 3, sampling, 5u * unsigned(sampling));
        const Pixels base = Decode(Coder(p).Sequential());
        EXPECT_EQ(base, Decode(Coder(p).Sequential(0xC1))) << "extended sequential";
        EXPECT_EQ(base, Decode(Coder(p).SeparateScans())) << "one scan per component";
        EXPECT_EQ(base, Decode(Coder(p).ProgressiveScans())) << "progressive";
        for (int interval : {1, 2, 5}) {
            Coder c(p);
            c.restart = interval;
            EXPECT_EQ(base, Decode(c.Sequential())) << "restart " << interval;
            Coder prog(p);
            prog.restart = interval;
            EXPECT_EQ(base, Decode(prog.ProgressiveScans())) << "progressive, restart " << interval;
        }
    }
    Picture grey = MakePicture(19, 17, 1, 0x11, 9);
    const Pixels base = Decode(Coder(grey).Sequential());
    EXPECT_EQ(base, Decode(Coder(grey).ProgressiveScans()));
}

TEST(JpgReadPixels, MissingTablesAreTheExampleTables)
{
    Picture p = MakePicture(24, 16, 3, 0x21, 21);
    Coder with(p), without(p);
    for (Coder* c : {&with, &without}) {
        c->dc[0] = FromSpec(Jpg::DcLuma), c->dc[1] = FromSpec(Jpg::DcChroma);
        c->ac[0] = FromSpec(Jpg::AcLuma), c->ac[1] = FromSpec(Jpg::AcChroma);
        c->quant[0] = Bytes(Jpg::LumaQuant, Jpg::LumaQuant + 64);
        c->quant[1] = Bytes(Jpg::ChromaQuant, Jpg::ChromaQuant + 64);
    }
    without.tables = false;
    const Bytes bare = without.Sequential();
    ASSERT_EQ(0u, FrameAt(bare, 0xDB));
    ASSERT_EQ(0u, FrameAt(bare, 0xC4));
    EXPECT_EQ(Decode(with.Sequential()), Decode(bare));
}

TEST(JpgReadPixels, WideQuantisationEntriesAndExtremeCoefficients)
{
    // 16-bit entries times the largest coefficients overflow 32 bits inside
    // the transform; the load must still be well-defined (the sanitizer
    // build checks that).
    Picture p = MakePicture(16, 8, 1, 0x11, 4);
    for (Block& b : p.comps[0].blocks)
        for (int k = 0; k < 64; ++k) b[k] = (k & 1) ? 32767 : -32767;
    Coder c(p);
    c.Marker(0xD8);
    Bytes q{0x10};
    for (int k = 0; k < 64; ++k) q.push_back(0x7F), q.push_back(0xFF);
    c.Segment(0xDB, q);
    c.Huffman(0x00, c.dc[0]);
    c.Huffman(0x10, c.ac[0]);
    c.Frame(0xC0);
    c.Scan({{0}, Seq, 0, 63, 0});
    c.Marker(0xD9);
    Buffer b;
    EXPECT_TRUE(LoadBytes(c.file, b));
}

// Two files of one 24 x 16 picture from another encoder: sequential 2x2 with
// optimised tables, and its lossless progressive transcode with a restart
// marker after every MCU (refinement scans included).
const char OtherSequential[] =
    "\xff\xd8\xff\xe0\x00\x10\x4a\x46\x49\x46\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xff\xdb\x00\x43\x00\x08\x06\x06"
    "\x07\x06\x05\x08\x07\x07\x07\x09\x09\x08\x0a\x0c\x14\x0d\x0c\x0b\x0b\x0c\x19\x12\x13\x0f\x14\x1d\x1a\x1f\x1e\x1d"
    "\x1a\x1c\x1c\x20\x24\x2e\x27\x20\x22\x2c\x23\x1c\x1c\x28\x37\x29\x2c\x30\x31\x34\x34\x34\x1f\x27\x39\x3d\x38\x32"
    "\x3c\x2e\x33\x34\x32\xff\xdb\x00\x43\x01\x09\x09\x09\x0c\x0b\x0c\x18\x0d\x0d\x18\x32\x21\x1c\x21\x32\x32\x32\x32"
    "\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32"
    "\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\xff\xc0\x00\x11\x08\x00\x10\x00\x18\x03"
    "\x01\x22\x00\x02\x11\x01\x03\x11\x01\xff\xc4\x00\x16\x00\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x07\x06\xff\xc4\x00\x1e\x10\x00\x01\x03\x04\x03\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01"
    "\x02\x03\x05\x06\x11\xb2\x24\x35\x74\xff\xc4\x00\x16\x01\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x04\x02\x05\xff\xc4\x00\x1a\x11\x01\x01\x00\x02\x03\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01\x00"
    "\x02\x04\x05\x31\x41\xff\xda\x00\x0c\x03\x01\x00\x02\x11\x03\x11\x00\x3f\x00\xcf\xdf\x2a\xa9\x44\x87\x0b\x8e\x43"
    "\x75\x71\x3d\x28\x37\xd7\x49\x0f\xa5\xba\xb8\x9f\x0c\xe3\xf2\x5d\x70\x5f\x5b\x3b\x0e\xa0\x00\x75\x77\xff\xd9";
const char OtherProgressive[] =
    "\xff\xd8\xff\xe0\x00\x10\x4a\x46\x49\x46\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xff\xdb\x00\x43\x00\x08\x06\x06"
    "\x07\x06\x05\x08\x07\x07\x07\x09\x09\x08\x0a\x0c\x14\x0d\x0c\x0b\x0b\x0c\x19\x12\x13\x0f\x14\x1d\x1a\x1f\x1e\x1d"
    "\x1a\x1c\x1c\x20\x24\x2e\x27\x20\x22\x2c\x23\x1c\x1c\x28\x37\x29\x2c\x30\x31\x34\x34\x34\x1f\x27\x39\x3d\x38\x32"
    "\x3c\x2e\x33\x34\x32\xff\xdb\x00\x43\x01\x09\x09\x09\x0c\x0b\x0c\x18\x0d\x0d\x18\x32\x21\x1c\x21\x32\x32\x32\x32"
    "\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32"
    "\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\x32\xff\xc2\x00\x11\x08\x00\x10\x00\x18\x03"
    "\x01\x22\x00\x02\x11\x01\x03\x11\x01\xff\xc4\x00\x16\x00\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x06\x05\xff\xc4\x00\x16\x01\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x03\x02"
    "\x04\xff\xdd\x00\x04\x00\x02\xff\xda\x00\x0c\x03\x01\x00\x02\x10\x03\x10\x00\x00\x01\xcf\x9e\xa0\x9f\x6c\xc0\xf5"
    "\xff\xc4\x00\x16\x10\x00\x03\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x04\x10\x33\xff\xdd\x00\x04"
    "\x00\x03\xff\xda\x00\x08\x01\x01\x00\x01\x05\x02\x3a\x2b\xff\xd0\x3a\x2b\xff\xc4\x00\x15\x11\x01\x01\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01\x10\xff\xdd\x00\x04\x00\x02\xff\xda\x00\x08\x01\x03\x01\x01\x3f"
    "\x01\x27\xff\xc4\x00\x17\x11\x00\x03\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01\x04\x10\x23\xff"
    "\xda\x00\x08\x01\x02\x01\x01\x3f\x01\x5c\xe7\x3f\xff\xc4\x00\x16\x10\x00\x03\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x01\x10\x72\xff\xdd\x00\x04\x00\x03\xff\xda\x00\x08\x01\x01\x00\x06\x3f\x02\x14\xff\x00\xff"
    "\xd0\x14\xff\x00\xff\xc4\x00\x17\x10\x00\x03\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01\x10\xa1"
    "\xb1\xff\xda\x00\x08\x01\x01\x00\x01\x3f\x21\x8d\x85\xff\x00\xff\xd0\x9d\x85\xff\x00\xff\xdd\x00\x04\x00\x02\xff"
    "\xda\x00\x0c\x03\x01\x00\x02\x00\x03\x00\x00\x00\x10\x24\x0f\xff\xc4\x00\x15\x11\x01\x01\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x00\x10\x31\xff\xda\x00\x08\x01\x03\x01\x01\x3f\x10\x93\xff\xc4\x00\x16\x11\x01\x01"
    "\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01\x10\x41\xff\xda\x00\x08\x01\x02\x01\x01\x3f\x10\x44"
    "\x0b\xac\xff\xc4\x00\x16\x10\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01\x10\x11\xff\xdd"
    "\x00\x04\x00\x03\xff\xda\x00\x08\x01\x01\x00\x01\x3f\x10\x69\x93\x94\x3f\xff\xd0\xaa\x3f\xff\xd9";

Bytes FromString(const char* s, size_t n) { return Bytes(s, s + n); }

TEST(JpgReadPixels, OtherEncodersProgressiveTranscodeIsIdentical)
{
    const Bytes seq = FromString(OtherSequential, sizeof OtherSequential - 1);
    const Bytes prog = FromString(OtherProgressive, sizeof OtherProgressive - 1);
    GFXFileDesc d = GFXFileDesc();
    EXPECT_EQ(1, TestBytes(prog, &d));
    EXPECT_EQ(1, d.interlaced);
    const Pixels a = Decode(seq);
    ASSERT_EQ(size_t(24 * 16), a.size());
    EXPECT_EQ(a, Decode(prog));
    unsigned long sum = 0;
    for (unsigned long v : a) sum += (v & 0xFF) + (v >> 8 & 0xFF) + (v >> 16);
    EXPECT_GT(sum, 24ul * 16 * 3 * 40) << "not the dark picture a failed decode would give";
}

// ---- Test ------------------------------------------------------------------

Bytes Small(int sof = 0xC0)
{
    Picture p = MakePicture(30, 20, 3, 0x22, 1, true);
    return Coder(p).Sequential(sof);
}

TEST(JpgReadTest, DescribesReadableFiles)
{
    GFXFileDesc d = GFXFileDesc();
    unsigned char palette[768];
    d.paletteData = palette;
    d.transparent = 1;
    EXPECT_EQ(1, TestBytes(Small(), &d));
    EXPECT_EQ(30, d.width);
    EXPECT_EQ(20, d.height);
    EXPECT_EQ(1, d.colour);
    EXPECT_EQ(0, d.palette);
    EXPECT_EQ(24, d.bits);
    EXPECT_EQ(8, d.channelBits);
    EXPECT_EQ(1, d.images);
    EXPECT_EQ(0, d.interlaced);
    EXPECT_EQ(0, d.transparent);
    EXPECT_EQ(palette, d.paletteData);

    Picture grey = MakePicture(5, 300, 1, 0x11, 2, true);
    EXPECT_EQ(1, TestBytes(Coder(grey).ProgressiveScans(), &d));
    EXPECT_EQ(300, d.height);
    EXPECT_EQ(0, d.colour);
    EXPECT_EQ(8, d.bits);
    EXPECT_EQ(1, d.interlaced);
    EXPECT_EQ(-1, TestBytes(Small(), nullptr)) << "without a description only the signature is seen";
}

TEST(JpgReadTest, OtherDataIsNoJpeg)
{
    EXPECT_EQ(0, TestBytes(Bytes{}, nullptr));
    EXPECT_EQ(0, TestBytes(Bytes{0xFF}, nullptr));
    EXPECT_EQ(0, TestBytes(Bytes{0xFF, 0xD9, 0xFF, 0xD8}, nullptr));
    EXPECT_EQ(0, TestBytes(Bytes{0x89, 'P', 'N', 'G', 13, 10, 26, 10}, nullptr));
    GFXFileDesc d = GFXFileDesc();
    EXPECT_EQ(-1, TestBytes(Bytes{0xFF, 0xD8}, &d)) << "a signature that ends";
    EXPECT_EQ(0, d.images);
}

TEST(JpgReadTest, UnreadableVariantsAreRecognisedAndRefused)
{
    const char* const arithmetic = "JPEG: lossless, hierarchical or arithmetic-coded data";
    struct Patch {
        const char* what;
        int offset;  // from the frame marker; -1 patches the marker code
        unsigned char value;
        const char* reason;
    } patches[] = {
        {"lossless", -1, 0xC3, arithmetic},
        {"arithmetic", -1, 0xC9, arithmetic},
        {"arithmetic progressive", -1, 0xCA, arithmetic},
        {"12-bit", 4, 12, "JPEG: sample precision not 8 bits"},
        {"luma 1x2", 11, 0x12, "JPEG: luma sampling not 1x1, 2x1 or 2x2 (2x1 and 2x2 only with colour)"},
        {"chroma 2x1", 14, 0x21, "JPEG: chroma sampling not 1x1"},
        {"identifier 2", 10, 2, "JPEG: first component identifier not 0 or 1 in its low two bits"},
        {"table 4", 12, 4, "JPEG: quantisation table number above 3"},
        {"second identifier 7", 13, 7, "JPEG: second component identifier neither 2 nor the first + 1"},
    };
    for (const Patch& p : patches) {
        Bytes f = Small();
        size_t at = FrameAt(f, 0xC0);
        ASSERT_NE(0u, at);
        f[at + (p.offset < 0 ? 1 : size_t(p.offset))] = p.value;
        GFXFileDesc d = GFXFileDesc();
        d.images = 9;
        EXPECT_EQ(-1, TestBytes(f, &d)) << p.what;
        EXPECT_EQ(30, d.width) << p.what;
        EXPECT_EQ(20, d.height) << p.what;
        EXPECT_EQ(0, d.images) << p.what;
        EXPECT_EQ(p.reason, Detail(f)) << p.what;
    }
    // Four components (CMYK).
    Picture cmyk = MakePicture(8, 8, 3, 0x11, 1, true);
    cmyk.comps.push_back(cmyk.comps[2]);
    cmyk.comps[3].id = 4;
    GFXFileDesc d = GFXFileDesc();
    Bytes f = Coder(cmyk).Sequential();
    EXPECT_EQ(-1, TestBytes(f, &d));
    EXPECT_EQ(24, d.bits);
    EXPECT_EQ("JPEG: component count not 1 or 3", Detail(f));
}

TEST(JpgReadTest, FillBytesBeforeMarkersArePassed)
{
    Bytes f = Small();
    const size_t at = FrameAt(f, 0xC0);
    f.insert(f.begin() + long(at), {0xFF, 0xFF, 0xFF});
    f.insert(f.begin() + 2, {0xFF, 0xFF});
    GFXFileDesc d = GFXFileDesc();
    EXPECT_EQ(1, TestBytes(f, &d));
    EXPECT_EQ(Decode(Small()), Decode(f));
}

// ---- partial loads -----------------------------------------------------------

Picture Tall()
{
    return MakePicture(24, 64, 3, 0x22, 17);
}

TEST(JpgReadPartial, ACutFileKeepsTheRowsBeforeTheCut)
{
    const Bytes whole = Coder(Tall()).Sequential();
    const Pixels full = Decode(whole);
    const size_t data = ScanData(whole);
    const Bytes cut(whole.begin(), whole.begin() + long(data + (whole.size() - data) * 3 / 5));
    Buffer b;
    EXPECT_THROW(LoadBytes(cut, b), EReadError);
    ASSERT_EQ(24, b.Width());
    ASSERT_EQ(64, b.Height());
    EXPECT_EQ(0, memcmp(full.data(), b.pixels, 24 * 16 * sizeof(unsigned long))) << "first MCU row";
    for (int x = 0; x < 24; ++x) EXPECT_EQ(0ul, *b.At(x, 63)) << "last row stays black";
}

bool (*savedStep)(int);
int steps;
bool CancelAtHalf(int percent)
{
    ++steps;
    return percent < 50;
}

TEST(JpgReadPartial, CancellingLeavesTheRestBlack)
{
    const Bytes whole = Coder(Tall()).Sequential();
    const Pixels full = Decode(whole);
    savedStep = GFXFile::PrStep;
    GFXFile::PrStep = CancelAtHalf;
    steps = 0;
    Buffer b;
    bool done = LoadBytes(whole, b);
    GFXFile::PrStep = savedStep;
    EXPECT_FALSE(done);
    EXPECT_GE(steps, 1);
    EXPECT_LT(steps, 4) << "the load goes on after the cancel";
    EXPECT_EQ(full[0], *b.At(0, 0));
    for (int x = 0; x < 24; ++x) EXPECT_EQ(0ul, *b.At(x, 63));
}

TEST(JpgReadPartial, AnAllocatedTargetGetsTheTopLeftPart)
{
    const Bytes whole = Coder(Tall()).Sequential();
    const Pixels full = Decode(whole);
    // Data after the first MCU row is garbage: decoding must stop before it.
    Bytes early = whole;
    const size_t data = ScanData(whole);
    for (size_t i = data + (whole.size() - data) / 2; i < whole.size(); ++i) early[i] = 0xFF;
    Buffer b;
    b.Alloc(Pair<int>{10, 7});
    unsigned long* before = b.pixels;
    EXPECT_TRUE(LoadBytes(early, b));
    EXPECT_EQ(before, b.pixels);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(full[size_t(y * 24 + x)], *b.At(x, y));

    // A larger target: the picture's area is decoded, the rest untouched.
    Buffer big;
    big.Alloc(Pair<int>{40, 70});
    big.Box(Rect{0, 0, 39, 69}, 0x123456);
    EXPECT_TRUE(LoadBytes(whole, big));
    EXPECT_EQ(full[63 * 24 + 23], *big.At(23, 63));
    EXPECT_EQ(0x123456ul, *big.At(24, 0));
    EXPECT_EQ(0x123456ul, *big.At(0, 64));
}

// A target filled with a colour no decode gives, then loaded: every pixel
// of the picture must be either the whole file's pixel or, from some MCU on
// in raster order, black. The pixels are checked MCU by MCU, so a cut inside
// an MCU row shows whether the rest of that row is cleared too.
void ExpectDecodedThenBlack(const Bytes& file, const Pixels& full, int mcuW, int mcuH, bool expectSome)
{
    const int w = 24, h = 64;
    Buffer b;
    b.Alloc(Pair<int>{w, h});
    b.Box(Rect{0, 0, w - 1, h - 1}, 0x7F00FF);
    try {
        LoadBytes(file, b);
    } catch (Exception&) {
        // A damaged file: what matters is what it left.
    }
    bool black = false;
    int decoded = 0;
    for (int my = 0; my < h / mcuH; ++my)
        for (int mx = 0; mx < w / mcuW; ++mx)
            for (int y = my * mcuH; y < (my + 1) * mcuH; ++y)
                for (int x = mx * mcuW; x < (mx + 1) * mcuW; ++x) {
                    const unsigned long got = *b.At(x, y), want = full[size_t(y * w + x)];
                    if (!black && got != want) black = true;
                    if (black) {
                        ASSERT_EQ(0ul, got) << "at " << x << "," << y;
                    } else if (y == my * mcuH && x == mx * mcuW) {
                        ++decoded;
                    }
                }
    if (expectSome) {
        EXPECT_GT(decoded, 0);
    }
}

TEST(JpgReadPartial, WhatIsNotDecodedIsBlackInAFilledTarget)
{
    const Picture p = Tall();
    const Bytes whole = Coder(p).Sequential();
    const Pixels full = Decode(whole);
    const size_t data = ScanData(whole);
    // Cut at many places, so that some cuts fall inside an MCU row.
    for (int part = 1; part < 10; ++part) {
        const Bytes cut(whole.begin(), whole.begin() + long(data + (whole.size() - data) * size_t(part) / 10));
        ExpectDecodedThenBlack(cut, full, 16, 16, part > 2);
    }
    ExpectDecodedThenBlack(whole, full, 16, 16, true);

    // Cancelled after the first MCU row.
    savedStep = GFXFile::PrStep;
    GFXFile::PrStep = CancelAtHalf;
    ExpectDecodedThenBlack(whole, full, 16, 16, true);
    GFXFile::PrStep = savedStep;

    // A multi-scan file writes pixels only at its end: cut, it is all black.
    const Bytes prog = Coder(p).ProgressiveScans();
    ASSERT_EQ(full, Decode(prog));
    const Bytes progCut(prog.begin(), prog.begin() + long(prog.size() * 9 / 10));
    ExpectDecodedThenBlack(progCut, full, 16, 16, false);
    Buffer b;
    b.Alloc(Pair<int>{24, 64});
    b.Box(Rect{0, 0, 23, 63}, 0x7F00FF);
    EXPECT_THROW(LoadBytes(progCut, b), EReadError);
    EXPECT_EQ(0ul, *b.At(0, 0));
    EXPECT_EQ(0ul, *b.At(23, 63));
}

TEST(JpgReadPartial, ProgressiveLoadSetsTheInterlacedFlag)
{
    GFXFileDesc d = GFXFileDesc();
    Buffer b;
    EXPECT_TRUE(LoadBytes(Coder(Tall()).ProgressiveScans(), b, &d));
    EXPECT_EQ(1, d.interlaced);
}

// ---- damaged streams -------------------------------------------------------

TEST(JpgReadDamage, RestartMarkersMustComeInTurn)
{
    Coder c(Tall());
    c.restart = 1;
    Bytes f = c.Sequential();
    std::vector<size_t> markers;
    for (size_t i = ScanData(f); i + 1 < f.size(); ++i)
        if (f[i] == 0xFF && f[i + 1] >= 0xD0 && f[i + 1] <= 0xD7) markers.push_back(i + 1);
    ASSERT_EQ(7u, markers.size());
    Bytes swapped = f;
    std::swap(swapped[markers[2]], swapped[markers[3]]);
    EXPECT_NE(std::string::npos, Detail(swapped).find("restart"));
    Bytes missing = f;
    missing.erase(missing.begin() + long(markers[4]) - 1, missing.begin() + long(markers[4]) + 1);
    EXPECT_NE(std::string::npos, Detail(missing).find("restart"));
    Bytes filled = f;
    filled.insert(filled.begin() + long(markers[4]) - 1, {0xFF, 0xFF});
    EXPECT_EQ(Decode(f), Decode(filled)) << "fill bytes before a restart marker";
}

// A grey 8x8 stream of one block whose entropy-coded bytes are given.
Bytes OneBlock(const Bytes& data, int sof = 0xC0, Bytes scanTail = {0, 63, 0})
{
    Picture p = MakePicture(8, 8, 1, 0x11, 1, true);
    Coder c(p);
    c.Head(sof);
    Bytes head{1, 1, 0x00};
    head.insert(head.end(), scanTail.begin(), scanTail.end());
    c.Segment(0xDA, head);
    c.file.insert(c.file.end(), data.begin(), data.end());
    c.Marker(0xD9);
    return c.file;
}

TEST(JpgReadDamage, CodingFaultsAreInvalid)
{
    // DC category 0 (5 bits 00000), then AC symbol 0x3F (run 3, 15 bits) repeatedly.
    BitSink overrun;
    overrun.Put(0, 5);
    for (int i = 0; i < 5; ++i) overrun.Put(0xF3, 8), overrun.Put(0, 3);
    for (int i = 0; i < 4; ++i) overrun.Put(0xE1, 8), overrun.Put(1, 1);  // 15 zeros then one coefficient
    overrun.Flush();
    EXPECT_NE(std::string::npos, Detail(OneBlock(overrun.out)).find("past the end")) << "AC index past 63";

    EXPECT_NE(std::string::npos, Detail(OneBlock(Bytes{0x00, 0xFF, 0xD9})).find("marker inside"));
    BitSink category;
    category.Put(17, 5);
    category.Flush();
    EXPECT_NE(std::string::npos, Detail(OneBlock(category.out)).find("category"));
    // Codes of 5 bits cover 18 of the 32 values: 11111 matches nothing up to 16 bits.
    EXPECT_NE(std::string::npos, Detail(OneBlock(Bytes{0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00})).find("Huffman"));

    // Progressive first AC scan of band 1-5 with a run reaching 6.
    BitSink band;
    band.Put(0x51, 8), band.Put(1, 1);
    band.Flush();
    Bytes prog = OneBlock(band.out, 0xC2, Bytes{1, 5, 0});
    EXPECT_NE(std::string::npos, Detail(prog).find("past the end"));
}

TEST(JpgReadDamage, HostileHeadersAreRefused)
{
    const Bytes good = Small();
    const size_t sof = FrameAt(good, 0xC0), sos = FrameAt(good, 0xDA), dht = FrameAt(good, 0xC4);
    const size_t dqt = FrameAt(good, 0xDB);
    struct Case {
        const char* what;
        size_t at;
        std::vector<unsigned char> bytes;
        const char* detail;
    } cases[] = {
        {"no SOI", 1, {0xD9}, "start-of-image"},
        {"not a marker", 2, {0x12}, "marker expected"},
        {"zero width", sof + 7, {0, 0}, "zero width"},
        {"huge", sof + 5, {0xFF, 0xFF, 0xFF, 0xFF}, "2^28"},
        {"DHT class 2", dht + 4, {0x20}, "class"},
        {"DHT overfull", dht + 5, {0xFF}, "Huffman table"},
        {"DQT table 4", dqt + 4, {4}, "quantisation table number"},
        {"scan component unknown", sos + 5, {9}, "lacks"},
        {"scan component twice", sos + 7, {1}, "twice"},
        {"scan order", sos + 5, {2, 0x11, 1, 0}, "frame order"},
        {"scan table 4", sos + 6, {0x40}, "table number"},
        {"scan length", sos + 3, {13}, "length"},
        {"segment length 1", sos + 3, {1}, "below 2"},
        {"SOF before frame", sof + 1, {0xCF}, "arithmetic"},
    };
    for (const Case& c : cases) {
        Bytes f = good;
        std::copy(c.bytes.begin(), c.bytes.end(), f.begin() + long(c.at));
        EXPECT_NE(std::string::npos, Detail(f).find(c.detail)) << c.what << ": " << Detail(f);
    }
    Bytes noScan(good.begin(), good.begin() + long(sos));
    noScan.push_back(0xFF), noScan.push_back(0xD9);
    EXPECT_NE(std::string::npos, Detail(noScan).find("before any scan"));
    Bytes twoFrames = good;
    twoFrames.insert(twoFrames.begin() + long(sos), good.begin() + long(sof), good.begin() + long(sof) + 19);
    EXPECT_NE(std::string::npos, Detail(twoFrames).find("more than one frame"));
    Bytes scanFirst(good.begin(), good.begin() + 2);
    scanFirst.insert(scanFirst.end(), good.begin() + long(sos), good.end());
    EXPECT_NE(std::string::npos, Detail(scanFirst).find("before the frame"));
}

TEST(JpgReadDamage, ProgressiveScanHeadersAreChecked)
{
    struct Case {
        Bytes tail;  // Ss, Se, Ah/Al
        const char* detail;
    } cases[] = {
        {{5, 4, 0}, "band"}, {{1, 64, 0}, "band"}, {{0, 0, 14}, "shift"}, {{0, 0, 0x31}, "refinement"},
    };
    for (const Case& c : cases) EXPECT_NE(std::string::npos, Detail(OneBlock({0}, 0xC2, c.tail)).find(c.detail));
    Picture p = MakePicture(8, 8, 3, 0x11, 1, true);
    Coder c(p);
    c.Head(0xC2);
    c.Segment(0xDA, Bytes{2, 1, 0, 2, 0x11, 1, 63, 0});
    c.Marker(0xD9);
    EXPECT_NE(std::string::npos, Detail(c.file).find("more than one component"));
    Coder undefined(p);
    undefined.Head(0xC2);
    undefined.Segment(0xDA, Bytes{1, 1, 0x02, 1, 63, 0});
    undefined.Marker(0xD9);
    EXPECT_NE(std::string::npos, Detail(undefined.file).find("undefined AC"));
}

// ---- robustness ------------------------------------------------------------

TEST(JpgReadDamage, MutatedFilesGivePicturesOrExceptions)
{
    std::vector<Bytes> seeds = {
        FromString(OtherSequential, sizeof OtherSequential - 1),
        FromString(OtherProgressive, sizeof OtherProgressive - 1),
        Coder(MakePicture(21, 18, 3, 0x21, 8)).SeparateScans(),
        Coder(MakePicture(13, 9, 1, 0x11, 8)).ProgressiveScans(),
    };
    Coder restarts(MakePicture(17, 17, 3, 0x22, 8));
    restarts.restart = 1;
    seeds.push_back(restarts.ProgressiveScans());
    std::mt19937 rng(2024);
    int pictures = 0, failures = 0;
    for (int i = 0; i < 2000; ++i) {
        Bytes f = seeds[size_t(i) % seeds.size()];
        const int edits = 1 + int(rng() % 4);
        for (int e = 0; e < edits; ++e) f[rng() % f.size()] = static_cast<unsigned char>(rng());
        if (i % 5 == 0) f.resize(rng() % f.size() + 1);
        GFXFileDesc d = GFXFileDesc();
        TestBytes(f, &d);
        Buffer b;
        if (int64_t(d.width) * d.height > 4096) b.Alloc(Pair<int>{33, 17});
        try {
            LoadBytes(f, b, &d);
            ++pictures;
        } catch (Exception&) {
            ++failures;
        }
    }
    EXPECT_GT(pictures, 100);
    EXPECT_GT(failures, 100);
}

}  // namespace
