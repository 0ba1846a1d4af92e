// Text in raster fonts: advances, kerning, fixed pitch, clipping and the
// fallback to the system font, against a reference written from the rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "buffer.h"
#include "rfont.h"
#include "rfont_memsystem.h"

namespace {

TestGlyph G(int width, std::vector<std::string> rows)
{
    TestGlyph g;
    g.width = width;
    g.rows = rows;
    return g;
}

TestFace HandFace()
{
    TestFace f;
    f.height = 5, f.rowBytes = 1, f.first = 'A', f.last = 'z', f.spacing = 1, f.spaceWidth = 3;
    f.glyphs['T'] = G(5, {"#####", "..#..", "..#..", "..#..", "..#.."});
    f.glyphs['o'] = G(4, {"....", "....", ".##.", "#..#", ".##."});
    f.glyphs['A'] = G(4, {".##.", "#..#", "####", "#..#", "#..#"});
    f.glyphs['B'] = G(4, {"###.", "#..#", "###.", "#..#", "###."});
    f.glyphs['i'] = G(1, {"#", ".", "#", "#", "#"});
    return f;
}

// The rules, written out again from their description.
struct Reference {
    const TestFace& f;
    int mode, spacing, space;

    bool In(int ch) const { return ch >= f.first && ch <= f.last; }
    int Right(int ch, int row) const
    {
        for (int x = 8 * f.rowBytes; x-- > 0;)
            if (f.InkAt(ch, x, row)) return x + 1;
        return 0;
    }
    int Left(int ch, int row) const
    {
        for (int x = 0; x < 8 * f.rowBytes; ++x)
            if (f.InkAt(ch, x, row)) return x;
        return 8 * f.rowBytes;
    }
    int Kern(int l, int r, int carry) const
    {
        int d = std::max({0, carry, f.Width(l) - f.Width(r) - spacing});
        for (int i = 0; i < f.height; ++i) {
            int reach = Right(l, i);
            if (i > 0) reach = std::max(reach, Right(l, i - 1));
            if (i + 1 < f.height) reach = std::max(reach, Right(l, i + 1));
            d = std::max(d, reach - Left(r, i));
        }
        return d;
    }
    // x of every character, and the extent width.
    std::vector<int> Positions(const std::string& s, int& width) const
    {
        std::vector<int> xs;
        int x = 0, carry = 0;
        for (size_t i = 0; i < s.size(); ++i) {
            int ch = (unsigned char)s[i];
            xs.push_back(x);
            int step;
            if (ch == ' ' || mode == 0) {
                step = space, carry = 0;
            } else {
                step = f.Width(ch);
                int next = i + 1 < s.size() ? (unsigned char)s[i + 1] : ' ';
                if (mode > 0 && In(ch) && next != ' ' && In(next)) {
                    int d = Kern(ch, next, carry);
                    carry = f.Width(ch) - d;
                    step = d;
                } else {
                    carry = 0;
                }
            }
            x += step + spacing;
        }
        width = s.empty() ? 0 : x - spacing;
        return xs;
    }
    void Draw(Buffer& b, int x0, int y0, const std::string& s, unsigned long colour) const
    {
        int width;
        std::vector<int> xs = Positions(s, width);
        for (size_t i = 0; i < s.size(); ++i) {
            int ch = (unsigned char)s[i];
            if (ch == ' ' || !In(ch)) continue;
            int w = f.Width(ch), x = x0 + xs[i] + (mode == 0 ? (space - w) / 2 : 0);
            for (int y = 0; y < f.height; ++y)
                for (int c = 0; c < std::min(w, 8 * f.rowBytes); ++c)
                    if (f.InkAt(ch, c, y) && x + c >= b.left && x + c <= b.right && y0 + y >= b.top &&
                        y0 + y <= b.bottom)
                        *b.At(x + c, y0 + y) = colour;
        }
    }
};

class RFontText : public ::testing::Test {
protected:
    void Use(const TestFace& face, uint32_t version = 0x10000)
    {
        fx.sys.Put("t.rfn", WriteFont("T", {face}, version));
        font = RFont();  // let go of the old registry's entry
        ResetRegistry();
        font.SetName("T");
    }
    void Fresh(Buffer& b, int w, int h)
    {
        b.Alloc({w, h});
        std::fill(b.pixels, b.pixels + w * h, 0x00123456ul);
    }
    RFontFixture fx;
    RFont font;
};

TEST_F(RFontText, WorkedKerningExample)
{
    TestFace f = HandFace();
    Use(f);
    AnsiString to("To");
    // Rows 2-4 of "o" may come up to T's stem (ends at column 3) and row 3 of
    // "o" starts in column 0, so "o" starts 3 right of T: 3 + 1 + 4.
    EXPECT_EQ(8, Buffer().GetTextExtent(font, to).x);
    font.mode = -1;
    EXPECT_EQ(10, Buffer().GetTextExtent(font, to).x);
    // After "To" the carry is width(T) - 3 = 2, so "i" keeps 2 from "o".
    font.mode = 1;
    AnsiString toi("Toi");
    Reference ref{f, 1, 1, 3};
    int width;
    std::vector<int> xs = ref.Positions("Toi", width);
    EXPECT_EQ(3 + 1, xs[1]);
    EXPECT_EQ(width, Buffer().GetTextExtent(font, toi).x);
}

TEST_F(RFontText, SpacesAndSpacingAdvance)
{
    Use(HandFace());
    font.mode = -1;
    Buffer b;
    Fresh(b, 40, 10);
    AnsiString ab("A B");
    b.OutText(font, {2, 1}, ab, 0x01FF0000);
    // "B" starts after width(A) + spacing, then space width + spacing.
    EXPECT_EQ(0x01FF0000ul, *b.At(2 + 4 + 1 + 3 + 1, 1));
    EXPECT_EQ(0x00123456ul, *b.At(2 + 4 + 1 + 3 + 1 - 1, 1));
    EXPECT_EQ(4 + 1 + 3 + 1 + 4, b.GetTextExtent(font, ab).x);
    EXPECT_EQ(5, b.GetTextExtent(font, ab).y);
}

TEST_F(RFontText, CharactersOutOfRangeOnlySpace)
{
    TestFace f = HandFace();
    f.last = 'Z';
    Use(f);
    Buffer b;
    Fresh(b, 30, 10);
    AnsiString s("abcd");
    b.OutText(font, {0, 0}, s, 0xFF);
    EXPECT_TRUE(std::all_of(b.pixels, b.pixels + 300, [](unsigned long p) { return p == 0x00123456; }));
    EXPECT_EQ(3 * 1, b.GetTextExtent(font, s).x);
    AnsiString empty;
    EXPECT_EQ(0, b.GetTextExtent(font, empty).x);
    EXPECT_EQ(5, b.GetTextExtent(font, empty).y);
}

TEST_F(RFontText, StringsMatchTheReferenceInEveryMode)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 30; ++round) {
        TestFace f = RandomFace(rng, 3 + int(rng() % 12), 1 + int(rng() % 2), 60, 90);
        f.spacing = int(rng() % 3), f.spaceWidth = int(rng() % 9);
        Use(f, round % 2 ? 0x20000 : 0x10000);
        font.mode = int(rng() % 3) - 1;
        std::string s;
        for (int n = int(rng() % 12); n-- > 0;) s += char(55 + rng() % 40);
        AnsiString as(s.c_str());
        Reference ref{f, font.mode, f.spacing, f.spaceWidth};
        int width;
        ref.Positions(s, width);
        Pair<int> ext = Buffer().GetTextExtent(font, as);
        ASSERT_EQ(width, ext.x) << s << " mode " << font.mode;
        Buffer got, want;
        Fresh(got, 120, 20);
        Fresh(want, 120, 20);
        got.OutText(font, {3, 2}, as, 0x00ABCDEF);
        ref.Draw(want, 3, 2, s, 0x00ABCDEF);
        ASSERT_TRUE(std::equal(got.pixels, got.pixels + 2400, want.pixels)) << s << " mode " << font.mode;
    }
}

TEST_F(RFontText, FixedPitchCentresGlyphsInSpaceCells)
{
    TestFace f = HandFace();
    f.spaceWidth = 7;
    Use(f);
    font.mode = 0;
    Buffer b;
    Fresh(b, 40, 10);
    AnsiString s("iA");
    b.OutText(font, {0, 0}, s, 0x00FFFFFF);
    EXPECT_EQ(0x00FFFFFFul, *b.At(3, 0));            // "i" in cell 0 at (7 - 1) / 2
    EXPECT_EQ(0x00FFFFFFul, *b.At(7 + 1 + 1 + 1, 0));  // "A" row 0 ".##." in cell 1 at 8 + 1
    EXPECT_EQ(7 + 1 + 7, b.GetTextExtent(font, s).x);
}

TEST_F(RFontText, ClippedAtEveryEdge)
{
    Use(HandFace());
    AnsiString s("TAoB");
    Buffer big;
    Fresh(big, 60, 30);
    big.OutText(font, {20, 10}, s, 0x00ABCDEF);
    for (int dx : {-22, -5, 0, 3, 10}) {
        for (int dy : {-12, -3, 0, 2, 8}) {
            Buffer small;
            Fresh(small, 12, 6);
            small.OutText(font, {dx, dy}, s, 0x00ABCDEF);
            for (int y = 0; y < 6; ++y)
                for (int x = 0; x < 12; ++x) {
                    int bx = x - dx + 20, by = y - dy + 10;
                    ASSERT_EQ(*big.At(bx, by), *small.At(x, y)) << dx << "," << dy;
                }
        }
    }
    // Far away or at the ends of the int range: nothing, and no overflow.
    Buffer b;
    Fresh(b, 10, 10);
    b.OutText(font, {INT32_MAX - 3, 0}, s, 0xFF);
    b.OutText(font, {INT32_MIN, INT32_MIN}, s, 0xFF);
    b.OutChar(font, {-100000, 3}, 'T', 0xFF);
    EXPECT_TRUE(std::all_of(b.pixels, b.pixels + 100, [](unsigned long p) { return p == 0x00123456; }));
}

TEST_F(RFontText, WithoutFacesTheSystemFontDraws)
{
    RFont none;
    none.SetName("nothing");
    Buffer b;
    Fresh(b, 10, 10);
    AnsiString s("Hi");
    b.OutText(none, {1, 1}, s, 0xFF);
    b.OutChar(none, {1, 1}, 'x', 0xFF);
    std::vector<std::string> want = {"Hi", "x"};
    EXPECT_EQ(want, fx.sys.fallbackText);
    EXPECT_EQ(102, b.GetTextExtent(none, s).x);
}

TEST_F(RFontText, AFaceWithoutGlyphDataFallsBack)
{
    // A DESC with no WDTH or DATA after it.
    Bytes body, out;
    PutChunk(body, "NAME", Bytes{'E'});
    PutChunk(body, "DESC", Bytes{8, 1, 'A', 'Z', 1, 4, 0, 0, 0, 0});
    PutId(out, "FONT"), PutBE(out, uint32_t(body.size() + 4)), PutLE(out, 0x10000);
    out.insert(out.end(), body.begin(), body.end());
    fx.sys.Put("e.rfn", out);
    font.SetName("E");
    ASSERT_TRUE(font.entry);
    Buffer b;
    Fresh(b, 4, 4);
    AnsiString s("AB");
    b.OutText(font, {0, 0}, s, 0xFF);
    EXPECT_EQ(1u, fx.sys.fallbackText.size());
}

}  // namespace
