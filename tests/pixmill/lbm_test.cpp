// Amiga IFF: ByteRun1 both ways, crafted ILBM and "PBM " files of every
// depth, mask planes, chunk walking, header rules, clipping, what the writer
// makes, and damaged files.
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <random>
#include <string>
#include <vector>

#include "exceptions.h"
#include "gfxfile.h"
#include "gfxstream.h"
#include "lbm_codec.h"
#include "streams.h"

#include "format_fixture.h"

#include "formats.h"

namespace {

using format_fixture::Bytes;
using format_fixture::PutBig32;
using format_fixture::Cat;
using format_fixture::Pixels;
using format_fixture::Read;
using format_fixture::RefusalOf;

Bytes Chunk(const char* id, const Bytes& data)
{
    Bytes b(id, id + 4);
    PutBig32(b, uint32_t(data.size()));
    b = Cat(b, data);
    if (data.size() & 1) b.push_back(0xEE);
    return b;
}

Bytes Form(const char* type, const Bytes& chunks)
{
    return Chunk("FORM", Cat(Bytes(type, type + 4), chunks));
}

struct Head {
    int width, height, planes;
    int masking = 0, compression = 0, x = 0, y = 0, colour1 = 0, colour2 = 0;
};

Bytes Bmhd(const Head& h)
{
    return Chunk("BMHD", Bytes({static_cast<unsigned char>(h.width >> 8), static_cast<unsigned char>(h.width),
                                static_cast<unsigned char>(h.height >> 8), static_cast<unsigned char>(h.height),
                                static_cast<unsigned char>(h.x >> 8), static_cast<unsigned char>(h.x),
                                static_cast<unsigned char>(h.y >> 8), static_cast<unsigned char>(h.y),
                                static_cast<unsigned char>(h.planes), static_cast<unsigned char>(h.masking),
                                static_cast<unsigned char>(h.compression), 0, static_cast<unsigned char>(h.colour1),
                                static_cast<unsigned char>(h.colour2), 1, 1, 0, 0, 0, 0}));
}

unsigned long Colour(int i) { return (0x3A1F07ul * unsigned(i + 1)) & 0xFFFFFF; }

Bytes Cmap(int entries)
{
    Bytes b;
    for (int i = 0; i < entries; ++i)
        for (int shift : {16, 8, 0}) b.push_back(static_cast<unsigned char>(Colour(i) >> shift));
    return Chunk("CMAP", b);
}

// Literal runs of at most 3 bytes and repeats of every length, so that runs
// end and start at all offsets within a row.
Bytes PackForTest(const Bytes& row)
{
    Bytes out;
    for (size_t i = 0; i < row.size();) {
        size_t run = 1;
        while (i + run < row.size() && run < 128 && row[i + run] == row[i]) ++run;
        if (run >= 2) {
            out.push_back(static_cast<unsigned char>(1 - int(run)));
            out.push_back(row[i]);
        } else {
            size_t n = 1;
            while (i + n < row.size() && n < 3 && row[i + n] != row[i + n - 1]) ++n;
            out.push_back(static_cast<unsigned char>(n - 1));
            out.insert(out.end(), row.begin() + long(i), row.begin() + long(i + n));
            run = n;
        }
        i += run;
    }
    return out;
}

// One plane row, most significant bit first, padded to a 16-bit word.
Bytes PlaneRow(const std::vector<unsigned>& values, unsigned bit)
{
    Bytes out((values.size() + 15) / 16 * 2, 0);
    for (size_t i = 0; i < values.size(); ++i)
        if (values[i] >> bit & 1) out[i / 8] |= static_cast<unsigned char>(0x80 >> (i % 8));
    return out;
}

// BODY of values (indices, or 0xRRGGBB for 24 planes), row by row; plane k
// carries bit k of an index, or for 24 planes red, green, blue from bit 0.
Bytes IlbmBody(const std::vector<std::vector<unsigned>>& rows, int planes, bool packed, bool mask = false)
{
    Bytes body;
    for (const auto& row : rows) {
        for (int k = 0; k < planes + mask; ++k) {
            unsigned bit = planes != 24 ? unsigned(k) : k < 8 ? 16u + k : k < 16 ? unsigned(k) : unsigned(k - 16);
            Bytes stored = k < planes ? PlaneRow(row, bit) : Bytes(PlaneRow(row, 0).size(), 0xFF);
            body = Cat(body, packed ? PackForTest(stored) : stored);
        }
    }
    return Chunk("BODY", body);
}

Bytes PbmBody(const std::vector<std::vector<unsigned>>& rows, bool packed)
{
    Bytes body;
    for (const auto& row : rows) {
        Bytes stored(row.begin(), row.end());
        if (stored.size() & 1) stored.push_back(0x77);
        body = Cat(body, packed ? PackForTest(stored) : stored);
    }
    return Chunk("BODY", body);
}

std::vector<std::vector<unsigned>> Values(int width, int height, unsigned limit, unsigned seed)
{
    std::mt19937 rng(seed);
    auto rows = std::vector<std::vector<unsigned>>(size_t(height), std::vector<unsigned>(size_t(width)));
    for (auto& row : rows)
        for (size_t x = 0; x < row.size(); ++x)
            row[x] = x > 0 && rng() % 3 == 0 ? row[x - 1] : unsigned(rng() % limit);
    return rows;
}

Pixels Expected(const std::vector<std::vector<unsigned>>& rows, bool palette)
{
    Pixels p;
    for (const auto& row : rows)
        for (unsigned v : row) p.push_back(palette ? Colour(int(v)) : v);
    return p;
}

const format_fixture::FormatBytes Files{LBMFormat, "t.iff"};

bool Load(const Bytes& bytes, Buffer& b, GFXFileDesc* d = nullptr, GFXtra32* x = nullptr)
{
    return Files.Load(bytes, b, d, x);
}

Pixels LoadPixels(const Bytes& bytes) { return Files.LoadPixels(bytes); }

int TestOf(const Bytes& bytes, GFXFileDesc* d = nullptr) { return Files.Test(bytes, d); }

std::string DetailOf(const Bytes& bytes) { return Files.Detail(bytes); }

Bytes Unpack(const Bytes& coded, int n)
{
    TMemoryStream mem;
    mem.Write(coded.data(), int(coded.size()));
    mem.SetPosition(0);
    StreamBuf in(&mem, 5);
    Bytes row(size_t(n), 0);
    LbmUnpackRow(in, row.data(), n);
    EXPECT_EQ(in.Consumed(), (long long)coded.size());
    return row;
}

Bytes Pack(const Bytes& row)
{
    Bytes out(LbmPackRoom(int(row.size())) + 1, 0xCC);
    size_t n = LbmPackRow(row.data(), int(row.size()), out.data());
    EXPECT_LE(n, LbmPackRoom(int(row.size())));
    out.resize(n);
    return out;
}

TEST(LBMByteRun, UnpacksRunsAndTakesMinus128AsNoOperation)
{
    EXPECT_EQ(Unpack({0x02, 1, 2, 3, 0xFE, 9}, 6), Bytes({1, 2, 3, 9, 9, 9}));
    EXPECT_EQ(Unpack({0x80, 0x00, 5, 0x80, 0x81, 4}, 129), Cat(Bytes({5}), Bytes(128, 4)));
    EXPECT_EQ("IFF: literal run past the end of the row", RefusalOf([] { Unpack({0x03, 1, 2, 3, 4}, 3); }));
    EXPECT_EQ("IFF: repeat run past the end of the row", RefusalOf([] { Unpack({0x00, 1, 0xFD, 2}, 3); }));
    EXPECT_THROW(Unpack({0x05, 1, 2}, 6), EReadError);
}

TEST(LBMByteRun, PacksRepeatsOfThreeAndMoreOnly)
{
    EXPECT_EQ(Pack({1, 1, 2, 3, 3, 3, 4}), Bytes({0x02, 1, 1, 2, 0xFE, 3, 0x00, 4}));
    EXPECT_EQ(Pack(Bytes(130, 7)), Bytes({0x81, 7, 0x01, 7, 7}));
    Bytes ramp;
    for (int i = 0; i < 300; ++i) ramp.push_back(static_cast<unsigned char>(i));
    Bytes coded = Pack(ramp);
    ASSERT_EQ(coded.size(), 303u);
    EXPECT_EQ(coded[0], 0x7F);
    EXPECT_EQ(coded[129], 0x7F);
    EXPECT_EQ(coded[258], 43);
    EXPECT_EQ(Pack({}), Bytes());

    std::mt19937 rng(17);
    for (int i = 0; i < 200; ++i) {
        Bytes row(1 + rng() % 400);
        for (size_t k = 0; k < row.size(); ++k)
            row[k] = k > 0 && rng() % 4 ? row[k - 1] : static_cast<unsigned char>(rng() % 3);
        Bytes c = Pack(row);
        for (unsigned char control : c) ASSERT_NE(control, 0x80);  // some readers skip it
        EXPECT_EQ(Unpack(c, int(row.size())), row);
    }
}

TEST(LBMTest, FormDecidesWithoutDescription)
{
    Bytes good = Form("ILBM", Cat(Bmhd({3, 2, 4}), Cmap(16)));
    EXPECT_EQ(TestOf(good), -1);
    EXPECT_EQ(TestOf(Form("AIFF", Bytes(30, 0))), -1);
    EXPECT_EQ(TestOf(Bytes({'F', 'O', 'R'})), 0);
    EXPECT_EQ(TestOf(Bytes({'L', 'I', 'S', 'T', 0, 0, 0, 4, 'I', 'L', 'B', 'M'})), 0);
}

TEST(LBMTest, DescriptionFromTheHeaderAfterOtherChunks)
{
    Bytes odd = Chunk("ANNO", Bytes(5, 'a'));  // its pad byte must be passed too
    GFXFileDesc d = {};
    unsigned char pal[768];
    d.paletteData = pal;
    EXPECT_EQ(TestOf(Form("ILBM", Cat(odd, Bmhd({300, 200, 5}))), &d), 1);
    EXPECT_EQ(d.width, 300);
    EXPECT_EQ(d.height, 200);
    EXPECT_EQ(d.bits, 5);
    EXPECT_EQ(d.palette, 1);
    EXPECT_EQ(d.colour, 1);
    EXPECT_EQ(d.channelBits, 8);
    EXPECT_EQ(d.images, 1);
    EXPECT_EQ(d.paletteData, pal);
    EXPECT_EQ(TestOf(Form("ILBM", Bmhd({65535, 1, 24})), &d), 1);
    EXPECT_EQ(d.width, 65535);
    EXPECT_EQ(d.palette, 0);
    EXPECT_EQ(TestOf(Form("PBM ", Bmhd({4, 4, 8})), &d), 1);
}

TEST(LBMTest, UnreadableVersionsAnswerMinusOne)
{
    Head pbm4{4, 4, 4};
    Head pbmMask{4, 4, 8};
    pbmMask.masking = 1;
    Head vdat{4, 4, 4};
    vdat.compression = 2;
    struct Case {
        const char* type;
        Head h;
        const char* detail;
    } cases[] = {{"PBM ", pbm4, "IFF: PBM picture without 8 planes"},
                 {"PBM ", pbmMask, "IFF: PBM picture with a mask plane"},
                 {"ILBM", vdat, "IFF: compression neither none nor ByteRun1"},
                 {"ILBM", Head{4, 4, 12}, "IFF: planes not 1 to 8 or 24"},
                 {"ILBM", Head{4, 4, 0}, "IFF: planes not 1 to 8 or 24"}};
    for (const Case& c : cases) {
        Bytes file = Form(c.type, Cat(Cat(Bmhd(c.h), Cmap(16)), Chunk("BODY", Bytes(200, 0))));
        GFXFileDesc d = {};
        d.images = 9;
        EXPECT_EQ(TestOf(file, &d), -1) << c.detail;
        EXPECT_EQ(d.images, 0);
        EXPECT_EQ(d.width, 4);
        EXPECT_EQ(DetailOf(file), c.detail);
    }
    GFXFileDesc d = {};
    d.width = 5;
    EXPECT_EQ(TestOf(Form("ACBM", Bmhd({4, 4, 4})), &d), -1);
    EXPECT_EQ(d.width, 0);
    EXPECT_EQ(TestOf(Form("ILBM", Chunk("BMHD", Bytes(19, 1))), &d), -1);
    EXPECT_EQ(TestOf(Cat(Bytes({'F', 'O', 'R', 'M', 0, 0}), Bytes()), &d), -1);  // cut off: no throw
}

TEST(LBMLoad, PaletteDepthsPackedAndPlain)
{
    for (int planes = 1; planes <= 8; ++planes)
        for (bool packed : {false, true})
            for (int width : {1, 15, 16, 17, 33}) {
                auto rows = Values(width, 3, 1u << planes, unsigned(planes * 100 + width));
                Head h{width, 3, planes};
                h.compression = packed;
                Bytes file = Form("ILBM", Cat(Cat(Bmhd(h), Cmap(1 << planes)), IlbmBody(rows, planes, packed)));
                EXPECT_EQ(LoadPixels(file), Expected(rows, true)) << planes << " " << packed << " " << width;
            }
}

TEST(LBMLoad, TwentyFourPlanesKeepEveryBit)
{
    std::vector<std::vector<unsigned>> rows = {{0x010203, 0x804020, 0xFFFFFF, 0}, {0x7F00FF, 0x123456, 1, 0x800000}};
    for (bool packed : {false, true}) {
        Head h{4, 2, 24};
        h.compression = packed;
        Bytes file = Form("ILBM", Cat(Bmhd(h), IlbmBody(rows, 24, packed)));
        EXPECT_EQ(LoadPixels(file), Expected(rows, false)) << packed;
    }
}

TEST(LBMLoad, MaskPlaneIsSkipped)
{
    auto rows = Values(21, 4, 16, 5);
    for (int planes : {4, 24}) {
        Head h{21, 4, planes};
        h.masking = 1;
        h.compression = 1;
        Bytes chunks = planes == 4 ? Cat(Bmhd(h), Cmap(16)) : Bmhd(h);
        Bytes file = Form("ILBM", Cat(chunks, IlbmBody(rows, planes, true, true)));
        EXPECT_EQ(LoadPixels(file), Expected(rows, planes == 4)) << planes;
    }
    // Masking 2 (a transparent colour) stores no plane.
    Head h{21, 4, 4};
    h.masking = 2;
    EXPECT_EQ(LoadPixels(Form("ILBM", Cat(Cat(Bmhd(h), Cmap(16)), IlbmBody(rows, 4, false)))), Expected(rows, true));
}

TEST(LBMLoad, ChunkyRowsArePaddedToEvenBytes)
{
    auto rows = Values(7, 5, 256, 3);
    for (bool packed : {false, true}) {
        Head h{7, 5, 8};
        h.compression = packed;
        Bytes file = Form("PBM ", Cat(Cat(Bmhd(h), Cmap(256)), PbmBody(rows, packed)));
        EXPECT_EQ(LoadPixels(file), Expected(rows, true)) << packed;
    }
}

TEST(LBMLoad, ShortColourMapAndTheOriginAndColourIndices)
{
    Head h{2, 1, 8};
    h.x = -3, h.y = 40, h.colour1 = 1, h.colour2 = 200;
    // Two entries and a stray byte: the rest of the table is black.
    Bytes cmap = Chunk("CMAP", Bytes({1, 2, 3, 4, 5, 6, 7}));
    Bytes file = Form("ILBM", Cat(Cat(Cat(Bmhd(h), cmap), Chunk("CAMG", Bytes(4, 0))),
                                  IlbmBody({{1, 200}}, 8, false)));
    unsigned char pal[768];
    memset(pal, 0xAB, sizeof pal);
    GFXFileDesc d = {};
    d.paletteData = pal;
    GFXtra32 x = {0, 0, 0x55, 0x66};
    Buffer b;
    ASSERT_TRUE(Load(file, b, &d, &x));
    EXPECT_EQ(Read(b), Pixels({0x040506ul, 0}));
    EXPECT_EQ(Bytes(pal, pal + 7), Bytes({1, 2, 3, 4, 5, 6, 0}));
    EXPECT_EQ(pal[767], 0);
    EXPECT_EQ(x.x, -3);
    EXPECT_EQ(x.y, 40);
    EXPECT_EQ(x.colour1, 0x040506ul);
    EXPECT_EQ(x.colour2, 0ul);

    // No colour map for 24 planes: the colours stay as they were.
    GFXtra32 t = {0, 0, 0x55, 0x66};
    Buffer c;
    ASSERT_TRUE(Load(Form("ILBM", Cat(Bmhd({1, 1, 24}), IlbmBody({{9}}, 24, false))), c, nullptr, &t));
    EXPECT_EQ(t.colour1, 0x55ul);
}

TEST(LBMLoad, DamagedAndHostileFiles)
{
    auto rows = Values(9, 2, 4, 1);
    Bytes body = IlbmBody(rows, 2, true);
    EXPECT_EQ(DetailOf(Chunk("LIST", Bytes(30, 0))), "IFF: no FORM chunk");
    EXPECT_EQ(DetailOf(Form("AIFF", Bytes(30, 0))), "IFF: FORM type neither ILBM nor PBM");
    EXPECT_EQ(DetailOf(Form("ILBM", Cat(Cat(Bmhd({9, 2, 2}), Cmap(257)), body))), "IFF: colour map above 768 bytes");
    EXPECT_EQ(DetailOf(Form("ILBM", Cat(Chunk("BMHD", Bytes(19, 0)), body))), "IFF: BMHD shorter than 20 bytes");
    EXPECT_EQ(DetailOf(Form("ILBM", Cat(Bmhd({65535, 65535, 24}), body))), "IFF: more than 2^28 pixels");
    Head h{9, 1, 2};
    h.compression = 1;
    Bytes longRun = Form("ILBM", Cat(Cat(Bmhd(h), Cmap(4)), Chunk("BODY", Bytes({0xFC, 1, 0x00, 1}))));
    EXPECT_EQ(DetailOf(longRun), "IFF: repeat run past the end of the row");

    Buffer b;
    EXPECT_THROW(Load(Form("ILBM", Cat(Bmhd({9, 2, 2}), Cmap(4))), b), EReadError);  // no BODY
    Buffer early;  // the colour map must follow the header
    EXPECT_THROW(Load(Form("ILBM", Cat(Cmap(4), Cat(Bmhd({9, 2, 2}), body))), early), EReadError);
    h.height = 2;
    Bytes whole = Form("ILBM", Cat(Cat(Bmhd(h), Cmap(4)), body));
    EXPECT_EQ(LoadPixels(whole), Expected(rows, true));
    Buffer c;
    EXPECT_THROW(Load(Bytes(whole.begin(), whole.end() - 3), c), EReadError);
    // A chunk claiming 4 GB ends in the read error, not in a wrapped skip.
    Bytes huge = {'F', 'O', 'R', 'M', 0, 0, 0, 0, 'I', 'L', 'B', 'M', 'J', 'U', 'N', 'K', 0xFF, 0xFF, 0xFF, 0xFF};
    Buffer beyond;
    EXPECT_THROW(Load(Cat(huge, Bmhd({1, 1, 1})), beyond), EReadError);
    Buffer empty;
    EXPECT_TRUE(Load(Form("ILBM", Cat(Cat(Bmhd({0, 5, 1}), Cmap(2)), Chunk("BODY", {}))), empty));
    EXPECT_EQ(empty.pixels, nullptr);
}

TEST(LBMLoad, SmallerBufferGetsTheTopLeftPart)
{
    auto rows = Values(20, 6, 256, 8);
    Head h{20, 6, 8};
    h.compression = 1;
    Bytes file = Form("ILBM", Cat(Cat(Bmhd(h), Cmap(256)), IlbmBody(rows, 8, true)));
    Buffer b;
    b.Alloc({5, 3});
    ASSERT_TRUE(Load(file, b));
    Pixels want;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) want.push_back(Colour(int(rows[size_t(y)][size_t(x)])));
    EXPECT_EQ(Read(b), want);

    Buffer big;
    big.Alloc({22, 8});
    big.Box(Rect{0, 0, 21, 7}, 0x777777);
    ASSERT_TRUE(Load(Form("ILBM", Cat(Cat(Bmhd({1, 1, 1}), Cmap(2)), Chunk("BODY", {0x80, 0}))), big));
    EXPECT_EQ(*big.At(0, 0), Colour(1));
    EXPECT_EQ(*big.At(1, 0), 0x777777ul);
    EXPECT_EQ(*big.At(0, 1), 0x777777ul);
}

bool StopAtFirst(int) { return false; }
std::vector<int> steps;
bool Record(int p)
{
    steps.push_back(p);
    return true;
}

TEST(LBMLoad, ProgressFollowsTheBytesConsumed)
{
    auto rows = Values(16, 2, 2, 4);
    Bytes file = Form("ILBM", Cat(Cat(Bmhd({16, 2, 1}), Cmap(2)), IlbmBody(rows, 1, false)));
    GFXFile::SetProgFunc(nullptr, Record, nullptr);
    steps.clear();
    Buffer a;
    EXPECT_TRUE(Load(file, a));
    int size = int(file.size());
    EXPECT_EQ(steps, std::vector<int>({(size - 2) * 100 / size, 100}));
    GFXFile::SetProgFunc(nullptr, StopAtFirst, nullptr);
    Buffer c;
    EXPECT_FALSE(Load(file, c));
    GFXFile::SetProgFunc(nullptr, nullptr, nullptr);
}

struct Saved {
    Bytes bytes;
    bool result;
    Saved(Buffer& b, int bits, const char* name, const unsigned char* pal = nullptr, GFXtra32* x = nullptr)
    {
        TMemoryStream mem;
        TOutputStream out(&mem, name);
        GFXSaveParams p = {};
        p.bits = int8_t(bits);
        p.paletteData = const_cast<unsigned char*>(pal);
        p.colours = int16_t(bits <= 8 ? 1 << bits : 0);
        result = LBMFormat()->Save(b, &out, x, &p);
        const unsigned char* m = static_cast<const unsigned char*>(mem.GetMemory());
        bytes.assign(m, m + mem.GetSize());
    }
};

uint32_t Get32(const Bytes& b, size_t at)
{
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

// An index image as the registry hands it over: bytes in 32-bit rows.
void FillIndices(Buffer& index, const std::vector<std::vector<unsigned>>& rows)
{
    int w = int(rows[0].size()), h = int(rows.size());
    index.Alloc({(w + 3) / 4, h});
    index.right = w - 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            reinterpret_cast<unsigned char*>(index.pixels + y * index.stride)[x] =
                static_cast<unsigned char>(rows[size_t(y)][size_t(x)]);
}

Bytes TestPalette()
{
    Bytes pal;
    for (int i = 0; i < 256; ++i)
        for (int s : {16, 8, 0}) pal.push_back(static_cast<unsigned char>(Colour(i) >> s));
    return pal;
}

// The chunk layout a writer must keep: FORM length = file size - 8, every
// chunk where its length and pad byte say, ending with the file.
void ExpectWellFormed(const Bytes& f, const char* type, int planes)
{
    ASSERT_GE(f.size(), 48u);
    EXPECT_EQ(Bytes(f.begin(), f.begin() + 4), Bytes({'F', 'O', 'R', 'M'}));
    EXPECT_EQ(Get32(f, 4), f.size() - 8);
    EXPECT_EQ(Bytes(f.begin() + 8, f.begin() + 12), Bytes(type, type + 4));
    EXPECT_EQ(Bytes(f.begin() + 12, f.begin() + 16), Bytes({'B', 'M', 'H', 'D'}));
    EXPECT_EQ(f[20 + 8], planes);
    EXPECT_EQ(f[20 + 10], 1);  // ByteRun1
    size_t at = 12, bodyEnd = 0;
    while (at + 8 <= f.size()) {
        uint32_t length = Get32(f, at + 4);
        if (!memcmp(&f[at], "CMAP", 4)) {
            EXPECT_EQ(length, 3u << planes);
        }
        at += 8 + length + (length & 1);
        bodyEnd = at;
    }
    EXPECT_EQ(bodyEnd, f.size());
}

TEST(LBMSave, PaletteDepthsRoundTrip)
{
    Bytes pal = TestPalette();
    for (int bits = 1; bits <= 8; ++bits)
        for (int width : {1, 8, 17, 150}) {
            auto rows = Values(width, 3, 1u << bits, unsigned(bits * 7 + width));
            Buffer index;
            FillIndices(index, rows);
            Saved s(index, bits, "a.iff", pal.data());
            ASSERT_TRUE(s.result);
            ExpectWellFormed(s.bytes, "ILBM", bits);
            EXPECT_EQ(LoadPixels(s.bytes), Expected(rows, true)) << bits << " " << width;
        }
}

TEST(LBMSave, EightBitsAsLbmMakeChunkyFiles)
{
    Bytes pal = TestPalette();
    auto rows = Values(5, 4, 256, 77);
    Buffer index;
    FillIndices(index, rows);
    for (const char* name : {"a.lbm", "C:\\X.LBM", "b.Lbm"}) {
        Saved s(index, 8, name, pal.data());
        ExpectWellFormed(s.bytes, "PBM ", 8);
        EXPECT_EQ(LoadPixels(s.bytes), Expected(rows, true)) << name;
    }
    for (const char* name : {"a.iff", "a.lbm.iff", "lbm"}) {
        Saved s(index, 8, name, pal.data());
        ExpectWellFormed(s.bytes, "ILBM", 8);
    }
    Saved four(index, 4, "a.lbm", pal.data());  // chunky only at 8 bits
    ExpectWellFormed(four.bytes, "ILBM", 4);
}

TEST(LBMSave, TwentyFourBitsKeepEveryBitWithOriginAndIndices)
{
    auto rows = Values(37, 3, 1u << 24, 12);
    Buffer b;
    b.Alloc({37, 3});
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 37; ++x) *b.At(x, y) = rows[size_t(y)][size_t(x)];
    GFXtra32 x = {-2, 9, 0x03000000, 0x02000000};
    Saved s(b, 24, "a.iff", nullptr, &x);
    ASSERT_TRUE(s.result);
    ExpectWellFormed(s.bytes, "ILBM", 24);
    EXPECT_EQ(Bytes(s.bytes.begin() + 20, s.bytes.begin() + 40),
              Bytes({0, 37, 0, 3, 0xFF, 0xFE, 0, 9, 24, 0, 1, 0, 0, 0, 1, 1, 0, 37, 0, 3}));
    EXPECT_EQ(LoadPixels(s.bytes), Expected(rows, false));

    Bytes pal = TestPalette();
    Buffer index;
    FillIndices(index, {{1, 2}});
    Saved p(index, 2, "a.iff", pal.data(), &x);
    EXPECT_EQ(p.bytes[32], 3);
    EXPECT_EQ(p.bytes[33], 2);
    GFXtra32 back = {};
    Buffer c;
    ASSERT_TRUE(Load(p.bytes, c, nullptr, &back));
    EXPECT_EQ(back.x, -2);
    EXPECT_EQ(back.colour1, Colour(3));
    EXPECT_EQ(back.colour2, Colour(2));
}

TEST(LBMSave, RefusalsEmptyPicturesAndCancel)
{
    Bytes pal = TestPalette();
    Buffer b;
    b.Alloc({2, 2});
    b.Box(Rect{0, 0, 1, 1}, 0);
    EXPECT_THROW(Saved(b, 16, "a.iff"), EInvalidImage);
    EXPECT_THROW(Saved(b, 9, "a.iff", pal.data()), EInvalidImage);
    EXPECT_THROW(Saved(b, 4, "a.iff"), EInvalidImage);  // no palette
    {
        TMemoryStream mem;
        TOutputStream out(&mem, "a.iff");
        GFXSaveParams p = {};
        p.bits = 24;
        p.grey = 1;
        EXPECT_THROW(LBMFormat()->Save(b, &out, nullptr, &p), EInvalidImage);
        Buffer wide;
        wide.Alloc({65536, 1});
        p.grey = 0;
        EXPECT_THROW(LBMFormat()->Save(wide, &out, nullptr, &p), EInvalidImage);
        EXPECT_EQ(mem.GetSize(), 0);
    }
    Buffer none;
    Saved empty(none, 24, "a.iff");
    ASSERT_TRUE(empty.result);
    ExpectWellFormed(empty.bytes, "ILBM", 24);
    Buffer back;
    EXPECT_TRUE(Load(empty.bytes, back));
    EXPECT_EQ(back.pixels, nullptr);

    GFXFile::SetProgFunc(nullptr, StopAtFirst, nullptr);
    Saved cancelled(b, 24, "a.iff");
    GFXFile::SetProgFunc(nullptr, nullptr, nullptr);
    EXPECT_FALSE(cancelled.result);
    EXPECT_EQ(Get32(cancelled.bytes, 4), 0u);
}

// Damaged files: every outcome is a picture or a library exception.
TEST(LBMLoad, MutatedAndTruncatedFilesNeverCrash)
{
    std::vector<Bytes> seeds;
    auto rows = Values(19, 4, 16, 2);
    Head packed{19, 4, 4};
    packed.compression = 1;
    seeds.push_back(Form("ILBM", Cat(Cat(Bmhd(packed), Cmap(16)), IlbmBody(rows, 4, true))));
    Head masked{19, 4, 24};
    masked.masking = 1;
    seeds.push_back(Form("ILBM", Cat(Bmhd(masked), IlbmBody(rows, 24, false, true))));
    Head chunky{19, 4, 8};
    chunky.compression = 1;
    seeds.push_back(Form("PBM ", Cat(Cat(Bmhd(chunky), Cmap(256)), PbmBody(rows, true))));
    std::mt19937 rng(111);
    int pictures = 0;
    for (int i = 0; i < 3000; ++i) {
        Bytes b = seeds[size_t(i) % seeds.size()];
        if (i % 5 == 0) b.resize(rng() % b.size());
        for (unsigned k = rng() % 4; k-- > 0 && !b.empty();)
            b[rng() % b.size()] = static_cast<unsigned char>(rng());
        Buffer buf;
        if (i % 3 == 0) buf.Alloc({1 + int(rng() % 25), 1 + int(rng() % 6)});
        try {
            GFXFileDesc d = {};
            TestOf(b, &d);
            // A mutated size could ask for a gigabyte: load those clipped.
            if (!buf.pixels && (long long)d.width * d.height > 1 << 20) buf.Alloc({8, 8});
            pictures += Load(b, buf);
        } catch (Exception&) {
        }
    }
    EXPECT_GT(pictures, 100);
}

}  // namespace
