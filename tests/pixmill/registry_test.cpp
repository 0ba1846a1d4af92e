// The format registry: extension look-up, probing order, the rules that
// turn save requests into parameters, and the palette path of saving.
#include <gtest/gtest.h>
#include <string.h>

#include <vector>

#include "exceptions.h"
#include "gfxfile.h"
#include "indeximage.h"
#include "saveparams.h"

namespace {

// A format that claims nothing; only its masks and depths matter here.
class FakeFormat : public GFXFile {
public:
    FakeFormat(const char* name_, const char* masks_, unsigned long colour, unsigned char grey, bool interlace_,
               char quality_)
        : GFXFile(name_, masks_, colour, grey, interlace_, quality_)
    {
    }
    int Test(TInputStream*, GFXFileDesc*) override { return 0; }
    bool Load(Buffer&, TInputStream*, GFXFileDesc*, GFXtra32*, int) override { return false; }
};

struct TableRow {
    const char* name;
    const char* masks;
    unsigned long colour;
    unsigned char grey;
    bool interlace;
    char quality;
};

// The registry's table, in probing order.
const TableRow Table[] = {
    {"Corvane Frame", "*.FRM", 0x80800000, 0, false, 0},
    {"PC PaintBrush PCX", "*.PCX", 0x800089, 0, false, 0},
    {"Amiga IFF", "*.IFF;*.LBM;*.BBM;*.ILB;*.ILBM", 0x8000FF, 0, false, 0},
    {"Windows Bitmap", "*.BMP;*.RLE", 0x800089, 0, false, 0},
    {"JPEG", "*.JPG;*.JPEG;*.JFIF", 0x800000, 0x80, true, 1},
    {"Portable Network Graphics", "*.PNG", 0x80008B, 0, true, 0},
    {"Windows Metafile", "*.WMF", 0x800000, 0, false, 0},
    {"Enhanced Metafile", "*.EMF", 0x800000, 0, false, 0},
    {"Icon", "*.ICO", 0, 0, false, 0},
    {"AVI", "*.AVI", 0, 0, false, 0},
    {"CompuServe GIF", "*.GIF", 0xFF, 0, true, 0},
    {"TrueVision Targa", "*.TGA", 0x800080, 0, false, 0},
};

// Formats of the table not registered yet are stood in for by fakes, behind
// the real ones in the list.
class Registry : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const TableRow& r : Table)
            if (!Find(r.name)) fakes.emplace_back(new FakeFormat(r.name, r.masks, r.colour, r.grey, r.interlace, r.quality));
    }
    void TearDown() override
    {
        for (FakeFormat* f : fakes) delete f;
    }
    static GFXFile* Find(const char* name)
    {
        for (GFXFile* f = GFXFile::Formats(); f; f = f->next)
            if (f->name == name) return f;
        return nullptr;
    }
    static const char* Lookup(const char* fileName)
    {
        AnsiString s(fileName);
        GFXFile* f = GFXFile::GetDefaultFormat(s);
        return f ? f->name.c_str() : "";
    }
    std::vector<FakeFormat*> fakes;
};

}  // namespace

TEST_F(Registry, ExtensionsChooseTheirFormat)
{
    EXPECT_STREQ("JPEG", Lookup("photo.jpeg"));
    EXPECT_STREQ("JPEG", Lookup("PHOTO.JPG"));
    EXPECT_STREQ("JPEG", Lookup("c:\\pictures.old\\x.Jfif"));
    EXPECT_STREQ("Amiga IFF", Lookup("a.ilb"));
    EXPECT_STREQ("Amiga IFF", Lookup("a.ILBM"));
    EXPECT_STREQ("Windows Bitmap", Lookup("scan.rle"));
    EXPECT_STREQ("TrueVision Targa", Lookup("x.tga"));
    EXPECT_STREQ("", Lookup("dir.v2\\picture"));
    EXPECT_STREQ("", Lookup("dir.v2/picture"));
    EXPECT_STREQ("", Lookup("c:picture"));
    EXPECT_STREQ("", Lookup("a.jp"));
    EXPECT_STREQ("", Lookup("a.PC"));
    EXPECT_STREQ("", Lookup("noextension"));
    EXPECT_STREQ("", Lookup("trailingdot."));
}

TEST_F(Registry, RealFormatsAreListedInTableOrder)
{
    int previous = -1;
    int real = 0;
    for (GFXFile* f = GFXFile::Formats(); f; f = f->next) {
        bool fake = false;
        for (FakeFormat* k : fakes) fake |= k == f;
        if (fake) continue;
        int at = -1;
        for (int i = 0; i < 12; i++)
            if (f->name == Table[i].name) at = i;
        ASSERT_GE(at, 0) << f->name.c_str() << " is not in the table";
        EXPECT_GT(at, previous) << f->name.c_str() << " is out of order";
        previous = at;
        real++;
        const TableRow& r = Table[at];
        EXPECT_EQ(AnsiString(r.masks), f->masks);
        EXPECT_EQ(r.colour, f->colourMask);
        EXPECT_EQ(r.grey, f->greyMask);
        EXPECT_EQ(r.interlace, f->interlace);
        EXPECT_EQ(r.quality > 0, f->quality > 0);
    }
    EXPECT_GE(real, 1);
}

namespace {

GFXSaveParams Params(int bits, int grey, int quality)
{
    GFXSaveParams p = {};
    p.bits = int8_t(bits);
    p.grey = uint8_t(grey);
    p.quality = uint8_t(quality);
    return p;
}

// The validation rules restated plainly, to check every combination against.
bool Writable(const TableRow& r, int bits, int grey)
{
    uint32_t mask = grey ? r.grey : r.colour;
    if (bits < 0) return !grey && (r.colour & 0xFF);
    return bits >= 1 && bits <= 32 && (mask >> (bits - 1) & 1);
}

}  // namespace

TEST_F(Registry, SaveParametersFollowTheRulesForEveryFormat)
{
    for (const TableRow& r : Table) {
        GFXFile* f = Find(r.name);
        for (int grey = 0; grey <= 1; grey++)
            for (int bits = -1; bits <= 33; bits++)
                for (int quality : {0, 50, 150}) {
                    GFXSaveParams p = Params(bits, grey, quality);
                    int expectBits = bits;
                    if (grey && bits <= 0) {
                        expectBits = 0;
                        for (int d = 32; d >= 1 && !expectBits; d--)
                            if (r.grey >> (d - 1) & 1) expectBits = d;
                    } else if (!grey && bits == 0) {
                        expectBits = __builtin_popcount(r.colour & 0xFF) > 1 ? -1 : 0;
                        for (int d = 32; d >= 1 && !expectBits; d--)
                            if (r.colour >> (d - 1) & 1) expectBits = d;
                    }
                    SCOPED_TRACE(::testing::Message() << r.name << " bits " << bits << " grey " << grey
                                                      << " quality " << quality);
                    if (expectBits == 0 || !Writable(r, expectBits, grey)) {
                        EXPECT_THROW(ValidateSaveParams(f, p), EInvalidImage);
                        continue;
                    }
                    ValidateSaveParams(f, p);
                    EXPECT_EQ(expectBits, p.bits);
                    int expectQuality = r.quality > 0 ? (quality == 0 ? 75 : quality > 100 ? 100 : quality) : 100;
                    EXPECT_EQ(expectQuality, p.quality);
                }
    }
}

TEST_F(Registry, ChosenDepthsOfTheNamedCases)
{
    GFXSaveParams p = Params(0, 0, 0);
    ValidateSaveParams(Find("PC PaintBrush PCX"), p);
    EXPECT_EQ(-1, p.bits);
    p = Params(0, 0, 0);
    ValidateSaveParams(Find("Windows Bitmap"), p);
    EXPECT_EQ(-1, p.bits);
    p = Params(0, 0, 0);
    ValidateSaveParams(Find("JPEG"), p);
    EXPECT_EQ(24, p.bits);
    EXPECT_EQ(75, p.quality);
    p = Params(0, 0, 150);
    ValidateSaveParams(Find("JPEG"), p);
    EXPECT_EQ(100, p.quality);
    p = Params(0, 0, 0);
    EXPECT_THROW(ValidateSaveParams(Find("Icon"), p), EInvalidImage);
    // A format's defaults hold a valid depth from the start.
    EXPECT_EQ(24, Find("JPEG")->defaults.bits);
    EXPECT_EQ(75, Find("JPEG")->defaults.quality);
    EXPECT_EQ(-1, Find("CompuServe GIF")->defaults.bits);
}

TEST_F(Registry, SaveParametersFromWhatALoadReported)
{
    GFXFileDesc d = {};
    d.format = Find("CompuServe GIF");
    d.palette = 1;
    d.bits = 8;
    d.interlaced = 1;
    d.transparent = 1;
    GFXSaveParams p;
    p = d;
    EXPECT_EQ(8, p.bits);
    EXPECT_EQ(0, p.grey);
    EXPECT_EQ(1, p.interlaced);
    EXPECT_EQ(1, p.transparent);
    EXPECT_EQ(100, p.quality);
    EXPECT_EQ(nullptr, p.format);

    d = GFXFileDesc{};
    d.format = Find("JPEG");
    d.colour = 1;
    d.bits = 24;
    p = d;
    EXPECT_EQ(24, p.bits);
    EXPECT_EQ(75, p.quality);

    d.colour = 0;
    d.bits = 8;
    p = d;
    EXPECT_EQ(1, p.grey);
    EXPECT_EQ(8, p.bits);

    // A 1-bit picture for a format that writes 1, 4 and 8 bits stays 1 bit;
    // a 2-bit one rises to 4.
    d = GFXFileDesc{};
    d.format = Find("Windows Bitmap");
    d.palette = 1;
    d.bits = 2;
    p = d;
    EXPECT_EQ(4, p.bits);
    // Grey for a format without grey depths becomes colour 24.
    d.palette = 0;
    d.bits = 8;
    p = d;
    EXPECT_EQ(0, p.grey);
    EXPECT_EQ(24, p.bits);
    // Nothing above 8 bits that the format writes: rejected later.
    d.format = Find("CompuServe GIF");
    d.colour = 1;
    d.bits = 24;
    p = d;
    EXPECT_EQ(33, p.bits);
    // Without a format only the plain fields are taken.
    d.format = nullptr;
    d.bits = 16;
    p = d;
    EXPECT_EQ(16, p.bits);
    EXPECT_EQ(0, p.quality);
}

namespace {

void FillColours(Buffer& b, const std::vector<unsigned long>& colours)
{
    int i = 0;
    for (int y = 0; y <= b.bottom; y++)
        for (int x = 0; x <= b.right; x++) *b.At(x, y) = colours[(i++) % colours.size()];
}

unsigned long Entry(const GFXSaveParams& p, int i)
{
    const unsigned char* e = p.paletteData + i * 3;
    return (unsigned long)e[0] << 16 | e[1] << 8 | e[2];
}

}  // namespace

TEST_F(Registry, AdaptiveDepthIsTheSmallestThatHoldsTheColours)
{
    Buffer b;
    b.Alloc({7, 3});
    FillColours(b, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000});
    struct Case {
        const char* format;
        int depth;
    };
    for (Case c : {Case{"PC PaintBrush PCX", 4}, Case{"Windows Bitmap", 4}, Case{"Amiga IFF", 3},
                   Case{"CompuServe GIF", 3}, Case{"Portable Network Graphics", 4}}) {
        GFXFile* f = Find(c.format);
        GFXSaveParams p = Params(-1, 0, 0);
        ValidateSaveParams(f, p);
        ASSERT_TRUE(NeedsIndexImage(p));
        IndexImage index;
        Buffer& image = index.Make(b, f, nullptr, p);
        EXPECT_EQ(c.depth, p.bits) << c.format;
        EXPECT_EQ(5, p.colours) << c.format;
        // The index image has the picture's size; each byte names its colour.
        ASSERT_EQ(6, image.right);
        ASSERT_EQ(2, image.bottom);
        ASSERT_EQ(2, image.stride);
        for (int y = 0; y <= 2; y++) {
            const unsigned char* row = reinterpret_cast<unsigned char*>(image.pixels) + y * image.stride * 4;
            for (int x = 0; x <= 6; x++) EXPECT_EQ(*b.At(x, y), Entry(p, row[x]));
        }
        for (int i = 5; i < 256; i++) EXPECT_EQ(0u, Entry(p, i));
    }
}

TEST_F(Registry, TransparentColourIgnoresFlagBitsAndGetsIndexZero)
{
    Buffer b;
    b.Alloc({6, 2});
    FillColours(b, {0x102030, 0xFF0000, 0x00FF00});
    GFXtra32 x = {};
    x.colour1 = 0x0000FF00;
    x.colour2 = 0x01102030;  // the brush key's flag travels with the colour
    GFXSaveParams p = Params(8, 0, 0);
    p.transparent = 1;
    ValidateSaveParams(Find("CompuServe GIF"), p);
    IndexImage index;
    Buffer& image = index.Make(b, Find("CompuServe GIF"), &x, p);
    EXPECT_EQ(0x102030u, Entry(p, 0));
    const unsigned char* row = reinterpret_cast<unsigned char*>(image.pixels);
    EXPECT_EQ(0, row[0]);
    EXPECT_NE(0, row[1]);
    EXPECT_NE(0, row[2]);
    EXPECT_EQ(0x00102030u, x.colour2);  // index 0 in the top byte
    EXPECT_EQ(0x00FF00u, x.colour1 & 0xFFFFFF);
    EXPECT_EQ(0x00FF00u, Entry(p, int(x.colour1 >> 24)));
}

TEST_F(Registry, AGivenPaletteIsUsedAndAMissingOneIsMade)
{
    Buffer b;
    b.Alloc({4, 1});
    FillColours(b, {0x000000, 0xFFFFFF, 0x101010, 0xF0F0F0});
    unsigned char given[768] = {};
    given[3] = given[4] = given[5] = 0xFF;  // entry 1 white, entry 0 black
    GFXSaveParams p = Params(1, 0, 0);
    p.colours = -2;
    p.paletteData = given;
    ValidateSaveParams(Find("Windows Bitmap"), p);
    IndexImage index;
    Buffer& image = index.Make(b, Find("Windows Bitmap"), nullptr, p);
    EXPECT_EQ(2, p.colours);
    const unsigned char* row = reinterpret_cast<unsigned char*>(image.pixels);
    EXPECT_EQ(0, row[0]);
    EXPECT_EQ(1, row[1]);
    EXPECT_EQ(0, row[2]);
    EXPECT_EQ(1, row[3]);

    // "Use the given palette" without one: a palette is made instead.
    GFXSaveParams q = Params(8, 0, 0);
    q.colours = -16;
    ValidateSaveParams(Find("Windows Bitmap"), q);
    IndexImage other;
    other.Make(b, Find("Windows Bitmap"), nullptr, q);
    EXPECT_EQ(4, q.colours);
    ASSERT_NE(nullptr, q.paletteData);
}

TEST(GFXFileProgress, PercentNeverWrapsOnLargeStreams)
{
    EXPECT_EQ(0, GFXFile::Percent(0, 100));
    EXPECT_EQ(50, GFXFile::Percent(50, 100));
    EXPECT_EQ(50, GFXFile::Percent(1500000000, 3000000000LL));
    EXPECT_EQ(99, GFXFile::Percent(99999999, 100000000));
    EXPECT_EQ(100, GFXFile::Percent(200, 100));
    EXPECT_EQ(0, GFXFile::Percent(5, 0));
}
