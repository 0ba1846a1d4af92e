#include <gtest/gtest.h>

#include <set>

#include "limitcolors_model.h"

namespace {

void FillGradient(Buffer& b)
{
    for (int y = b.top; y <= b.bottom; y++)
        for (int x = b.left; x <= b.right; x++)
            *b.At(x, y) = (unsigned long)(x * 7 & 0xFF) << 16 | (unsigned long)(y * 5 & 0xFF) << 8 | ((x + y) * 3 & 0xFF);
}

std::set<unsigned long> Colours(Buffer& b)
{
    std::set<unsigned long> s;
    for (int y = b.top; y <= b.bottom; y++)
        for (int x = b.left; x <= b.right; x++) s.insert(*b.At(x, y) & 0xFFFFFF);
    return s;
}

}  // namespace

TEST(LimitColors, BarSizes)
{
    const int cases[][2] = {{2, 8}, {5, 8}, {9, 12}, {16, 16}, {17, 24}, {20, 24}, {32, 32}, {33, 48}, {40, 48}, {234, 240}, {256, 256}};
    for (auto& c : cases) EXPECT_EQ(c[1], LimitBarSize(c[0])) << c[0];
}

TEST(LimitColors, SortsBrightFirstThenByHueThenSaturation)
{
    unsigned char rgb[] = {0, 0, 0, 255, 0, 0, 0, 0, 255, 255, 255, 255};  // black, red, blue, white
    SortPaletteByHSV(rgb, 4);
    const unsigned char want[] = {0, 0, 255, 255, 0, 0, 255, 255, 255, 0, 0, 0};
    EXPECT_EQ(0, memcmp(want, rgb, sizeof want));
}

// Counted apart from the palette: at most limit colours, each one of the
// palette's, with and without dithering, and the background colour kept.
TEST(LimitColors, ReducesToTheCreatedPalette)
{
    struct Case {
        int limit;
        bool dither, keepBackground;
    } cases[] = {{16, false, false}, {16, true, false}, {234, false, false}, {234, true, true}, {16, true, true}};
    const unsigned long background = 0x123456;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.limit << " dither " << c.dither << " keep " << c.keepBackground);
        Buffer pic;
        pic.Alloc({97, 61});
        FillGradient(pic);
        for (int x = 10; x < 30; x++) *pic.At(x, 40) = background | 0x04000000;
        LimitColorsSettings s;
        s.limit = c.limit;
        s.dither = c.dither;
        s.saveBackground = c.keepBackground;
        LimitPalette pal;
        int barSize = 0;
        MakeLimitPalette(pic, s, background, {}, pal, barSize);
        EXPECT_EQ(LimitBarSize(c.limit), barSize);
        ReduceToPalette(pic, s, background, pal);
        const std::set<unsigned long> got = Colours(pic);
        EXPECT_LE(got.size(), size_t(c.limit));
        const std::vector<unsigned long> entries = PaletteColours(pal, c.limit);
        const std::set<unsigned long> allowed(entries.begin(), entries.end());
        for (unsigned long colour : got) EXPECT_TRUE(allowed.count(colour)) << std::hex << colour;
        EXPECT_EQ(0x04000000UL, *pic.At(20, 40) & 0xFF000000);
        if (c.keepBackground) {
            EXPECT_EQ(background, *pic.At(20, 40) & 0xFFFFFF);
        }
    }
}

TEST(LimitColors, FastPaletteLeavesBarAndPadsWithBlack)
{
    std::vector<unsigned long> bar;
    for (int i = 0; i < 12; i++) bar.push_back(0x101010UL * (i + 3));
    Buffer pic;
    pic.Alloc({40, 30});
    FillGradient(pic);
    LimitColorsSettings s;
    s.limit = 16;
    s.operation = UseFastPalette;
    LimitPalette pal;
    int barSize = -1;
    MakeLimitPalette(pic, s, 0, bar, pal, barSize);
    EXPECT_EQ(0, barSize);
    ReduceToPalette(pic, s, 0, pal);
    std::set<unsigned long> allowed(bar.begin(), bar.end());
    allowed.insert(0);
    for (unsigned long colour : Colours(pic)) EXPECT_TRUE(allowed.count(colour)) << std::hex << colour;
}

// A picture of fewer colours than the limit comes through unchanged when
// the background is kept: the sort of the bar must not move the background
// out of entry 0, and the bar's first colour stays reachable.
TEST(LimitColors, FewColoursSurviveWithTheBackgroundKept)
{
    const unsigned long background = 0x101010;
    const std::vector<unsigned long> colours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x808080};
    for (int operation : {PutToFastPalette, UseFastPalette}) {
        SCOPED_TRACE(operation);
        Buffer pic;
        pic.Alloc({30, 20});
        for (int i = 0; i < 600; i++) pic.pixels[i] = i % 6 ? colours[size_t(i % 6 - 1)] : background;
        const std::vector<unsigned long> before(pic.pixels, pic.pixels + 600);
        LimitColorsSettings s;
        s.limit = 8;
        s.dither = false;
        s.saveBackground = true;
        s.operation = operation;
        LimitPalette pal;
        int barSize = 0;
        MakeLimitPalette(pic, s, background, colours, pal, barSize);
        ReduceToPalette(pic, s, background, pal);
        EXPECT_EQ(before, std::vector<unsigned long>(pic.pixels, pic.pixels + 600));
    }
}
