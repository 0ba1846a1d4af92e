// Colour models of the swatches and the selector: RGB <-> HSV, the swatch
// tag, the saturation/value square and how the selector's controls move
// one another.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include "buffer.h"
#include "colorsel_hsv.h"
#include "colorsel_model.h"
#include "exceptions.h"

TEST(RGBToHSV, PrimariesAndGreys)
{
    EXPECT_EQ(RGBToHSV(255, 0, 0), (HSVTriple{0, 255, 255}));
    EXPECT_EQ(RGBToHSV(0, 0, 0), (HSVTriple{0, 0, 0}));
    EXPECT_EQ(RGBToHSV(128, 128, 128), (HSVTriple{0, 0, 128}));
    EXPECT_EQ(RGBToHSV(0, 255, 0), (HSVTriple{120, 255, 255}));
    EXPECT_EQ(RGBToHSV(0, 0, 255), (HSVTriple{240, 255, 255}));
    EXPECT_EQ(RGBToHSV(255, 0, 255), (HSVTriple{300, 255, 255}));  // negative hue wraps
    EXPECT_EQ(RGBToHSV(200, 100, 100).s, 127);                     // 100 * 255 / 200 truncated
}

TEST(RGBToHSV, TruncatesTowardZero)
{
    EXPECT_EQ(RGBToHSV(255, 254, 0).h, 59);   // 59.76
    EXPECT_EQ(RGBToHSV(255, 0, 1).h, 0);      // -0.24 truncates to 0, no wrap to 359
    EXPECT_EQ(RGBToHSV(255, 0, 5).h, 359);    // -1.18 -> -1 -> 359
    EXPECT_EQ(RGBToHSV(255, 85, 0).h, 20);    // 1/3 * 60 in single precision is 20
}

TEST(HSVToRGB, SectorsAndTheWrapAt360)
{
    EXPECT_EQ(HSVToRGB(360, 255, 255), HSVToRGB(0, 255, 255));
    EXPECT_EQ(HSVToRGB(0, 255, 255), (RGBTriple{255, 0, 0}));
    EXPECT_EQ(HSVToRGB(120, 255, 255), (RGBTriple{0, 255, 0}));
    EXPECT_EQ(HSVToRGB(240, 255, 255), (RGBTriple{0, 0, 255}));
    EXPECT_EQ(HSVToRGB(30, 255, 255), (RGBTriple{255, 127, 0}));  // 127.5 truncated
    EXPECT_EQ(HSVToRGB(200, 0, 77), (RGBTriple{77, 77, 77}));
    EXPECT_EQ(HSVToRGB(330, 255, 200), (RGBTriple{200, 0, 100}));
}

TEST(HSVToRGB, BadArgumentsAreRangeErrors)
{
    EXPECT_THROW(HSVToRGB(361, 10, 10), ERangeError);
    EXPECT_THROW(HSVToRGB(-1, 10, 10), ERangeError);
    EXPECT_THROW(HSVToRGB(10, 256, 10), ERangeError);
    EXPECT_THROW(HSVToRGBFixed(10, 10, -1), ERangeError);
    EXPECT_THROW(RGBToHSV(0, 256, 0), ERangeError);
}

TEST(HSVToRGB, RoundTripsAndTheFixedPointSquareAgree)
{
    for (int h = 0; h < 360; h++) {
        RGBTriple pure = HSVToRGB(h, 255, 255);
        int drift = std::abs(RGBToHSV(pure.r, pure.g, pure.b).h - h);
        EXPECT_LE(std::min(drift, 360 - drift), 1) << h;
        for (int s = 0; s <= 255; s += 15)
            for (int v = 0; v <= 255; v += 15) {
                RGBTriple a = HSVToRGB(h, s, v), b = HSVToRGBFixed(h, s, v);
                ASSERT_LE(std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b), 3) << h << " " << s << " " << v;
            }
    }
}

TEST(SwatchTag, PacksHSVAndKeepsTheHueOfAGrey)
{
    int tag = HSVTag(HSVTriple{300, 200, 100});
    EXPECT_EQ(tag, (300 << 16) | (200 << 8) | 100);
    EXPECT_EQ(TagToHSV(tag), (HSVTriple{300, 200, 100}));
    EXPECT_EQ(TagForPixel(0x808080, tag), HSVTag(HSVTriple{300, 0, 128}));
    EXPECT_EQ(TagForPixel(0x00FF00, tag), HSVTag(HSVTriple{120, 255, 255}));
    EXPECT_EQ(TagForPixel(0x000000, 360 << 16), 0);  // a hue outside the bar is dropped
    EXPECT_EQ(RGBToPixel(PixelToRGB(0x01123456)), 0x123456u);
}

TEST(SVSquare, RowsAreValueColumnsSaturationWithAMarker)
{
    Buffer square;
    square.Alloc(Pair<int>{SquareSize, SquareSize});
    DrawSVSquare(square, HSVTriple{120, 255, 255}, 0x00FF00);
    EXPECT_EQ(*square.At(0, 0), 0u);                                    // value 0
    EXPECT_EQ(*square.At(0, 127), 0xFEFEFEu);                           // grey 254
    EXPECT_EQ(*square.At(100, 50), RGBToPixel(HSVToRGBFixed(120, 200, 100)));
    EXPECT_EQ(*square.At(127, 127), 0u);  // the marker on a bright colour is black

    DrawSVSquare(square, HSVTriple{120, 40, 20}, 0x101410);
    EXPECT_EQ(*square.At(20, 10), 0xFFFFFFu);  // white on a dark colour
    EXPECT_EQ(*square.At(127, 127), RGBToPixel(HSVToRGBFixed(120, 254, 254)));

    Buffer small;
    small.Alloc(Pair<int>{10, 10});
    EXPECT_THROW(DrawSVSquare(small, HSVTriple{0, 0, 0}, 0), ERangeError);
}

TEST(ColourSelection, ChannelsMoveHueSaturationAndValue)
{
    ColourSelection sel;
    sel.Load(0xFF0000, 0);
    EXPECT_EQ(sel.Hsv(), (HSVTriple{0, 255, 255}));
    EXPECT_FALSE(sel.SetChannel(ChannelRed, 255));
    EXPECT_TRUE(sel.SetChannel(ChannelGreen, 255));
    EXPECT_EQ(sel.Pixel(), 0xFFFF00u);
    EXPECT_EQ(sel.Hsv(), (HSVTriple{60, 255, 255}));
    EXPECT_EQ(sel.Tag(), HSVTag(HSVTriple{60, 255, 255}));
    sel.SetChannel(ChannelBlue, 255);  // white: the hue bar stays where it was
    EXPECT_EQ(sel.Hsv(), (HSVTriple{60, 0, 255}));
    EXPECT_THROW(sel.SetChannel(ChannelBlue, 256), ERangeError);
}

TEST(ColourSelection, HueAndSquareSetTheChannels)
{
    ColourSelection sel;
    sel.Load(0xFF0000, 0);
    EXPECT_TRUE(sel.SetHue(120));
    EXPECT_EQ(sel.Pixel(), 0x00FF00u);
    EXPECT_TRUE(sel.SetSquarePoint(0, 64));  // saturation 0: a grey, the hue stays
    EXPECT_EQ(sel.Pixel(), 0x808080u);
    EXPECT_EQ(sel.Hsv(), (HSVTriple{120, 0, 128}));
    EXPECT_TRUE(sel.SetHue(240));  // a grey's hue moves without a colour change
    EXPECT_EQ(sel.Pixel(), 0x808080u);
    EXPECT_TRUE(sel.SetSquarePoint(127, 127));  // 254/254 reaches the pure colour
    EXPECT_EQ(sel.Pixel(), 0x0000FFu);
    EXPECT_EQ(sel.Hsv(), (HSVTriple{240, 255, 255}));
    sel.SetSquarePoint(500, -3);  // clamped to the square
    EXPECT_EQ(sel.Hsv(), (HSVTriple{240, 254, 0}));
    EXPECT_FALSE(sel.SetSquarePoint(127, 0));
    sel.SetSquarePoint(127, 100);  // only 254 for both becomes 255
    EXPECT_EQ(sel.Hsv().s, 254);
    EXPECT_THROW(sel.SetHue(361), ERangeError);
}

TEST(ColourSelection, LoadTakesAGreysHueFromTheTag)
{
    ColourSelection sel;
    sel.Load(0x404040, HSVTag(HSVTriple{200, 0, 64}));
    EXPECT_EQ(sel.Hsv(), (HSVTriple{200, 0, 64}));
    sel.Load(0x00FF00, HSVTag(HSVTriple{200, 0, 64}));  // a stale tag does not win
    EXPECT_EQ(sel.Hsv(), (HSVTriple{120, 255, 255}));
}

TEST(ChannelText, OneIntegerFrom0To255AndNothingElse)
{
    int v = -1;
    EXPECT_TRUE(ParseChannelText("128", v));
    EXPECT_EQ(v, 128);
    EXPECT_TRUE(ParseChannelText(" +7", v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(ParseChannelText("0", v));
    EXPECT_EQ(v, 0);
    v = 99;
    for (const char* bad : {"300", "256", "-1", "", "  ", "12a", "12 ", "1.5", "x", "99999999999999999999"})
        EXPECT_FALSE(ParseChannelText(bad, v)) << bad;
    EXPECT_FALSE(ParseChannelText(nullptr, v));
    EXPECT_EQ(v, 99);
}
