// Toolbar button arithmetic: glyph counts, face placement, disabled tones.
#include <gtest/gtest.h>

#include "toolbar_button_model.h"

TEST(ToolbarButtonGlyphs, CountIsClamped)
{
    EXPECT_EQ(1, ClampNumGlyphs(0));
    EXPECT_EQ(5, ClampNumGlyphs(9));
    EXPECT_EQ(3, ClampNumGlyphs(3));
}

namespace {

TTbFaceParts Face(int w, int h, TTbButtonSize glyph, TTbButtonSize text, TTbButtonSize arrow = TTbButtonSize())
{
    TTbFaceParts p;
    p.Width = w;
    p.Height = h;
    p.Glyph = glyph;
    p.Text = text;
    p.Arrow = arrow;
    return p;
}

}  // namespace

TEST(ToolbarButtonFace, CentredBlockOfGlyphTextAndArrow)
{
    // 100 wide: 16 + 4 + 40 + 9 = 69, so the block starts at (100-69+1)/2 = 16.
    TTbFacePlace at = PlaceFaceParts(Face(100, 22, {16, 16}, {40, 13}, {9, 3}));
    EXPECT_EQ(16, at.Glyph.x);
    EXPECT_EQ(36, at.Text.x);
    EXPECT_EQ(76, at.Arrow.x);
    EXPECT_EQ(3, at.Glyph.y);
    EXPECT_EQ(5, at.Text.y);
    EXPECT_EQ(3 + (16 - 3) / 2, at.Arrow.y);  // on the glyph's middle
}

TEST(ToolbarButtonFace, GlyphRightPutsTheArrowAtTheFarMargin)
{
    TTbFaceParts p = Face(100, 22, {16, 16}, {40, 13}, {9, 3});
    p.Layout = tglGlyphRight;
    p.Margin = 2;
    TTbFacePlace at = PlaceFaceParts(p);
    EXPECT_EQ(89, at.Arrow.x);
    EXPECT_EQ(73, at.Glyph.x);
    EXPECT_EQ(29, at.Text.x);
}

TEST(ToolbarButtonFace, MarginAndSpacingMinusOneShareTheFreeSpace)
{
    TTbFaceParts p = Face(90, 22, {16, 16}, {44, 13});
    p.Spacing = -1;
    TTbFacePlace at = PlaceFaceParts(p);
    EXPECT_EQ(10, at.Glyph.x);  // (90 - 60) / 3
    EXPECT_EQ(36, at.Text.x);
    p.Margin = 4;  // only Spacing spread: half of what is left after the margin
    at = PlaceFaceParts(p);
    EXPECT_EQ(4, at.Glyph.x);
    EXPECT_EQ(4 + 16 + 13, at.Text.x);
}

TEST(ToolbarButtonFace, TopLayoutStacksAndFallsBackWithoutGlyph)
{
    TTbFaceParts p = Face(40, 50, {16, 16}, {30, 13});
    p.Layout = tglGlyphTop;
    TTbFacePlace at = PlaceFaceParts(p);
    EXPECT_EQ(12, at.Glyph.x);
    EXPECT_EQ(9, at.Glyph.y);  // (50 - 33 + 1) / 2
    EXPECT_EQ(29, at.Text.y);
    EXPECT_EQ(5, at.Text.x);
    p.Glyph = TTbButtonSize();  // no glyph: acts as glyph-left
    at = PlaceFaceParts(p);
    EXPECT_EQ(5, at.Text.x);
    EXPECT_EQ(19, at.Text.y);
}

TEST(ToolbarButtonFace, BorderAndPressedOffsetMoveEverything)
{
    TTbFaceParts p = Face(19, 18, {16, 16}, {});
    p.Left = 2;
    p.Top = 2;
    p.Offset = TTbPoint{1, 1};
    TTbFacePlace at = PlaceFaceParts(p);
    EXPECT_EQ(2 + 2 + 1, at.Glyph.x);
    EXPECT_EQ(2 + 1 + 1, at.Glyph.y);
}

TEST(ToolbarButtonFace, WrapWidthLeavesRoomForGlyphSpacingAndMargins)
{
    TTbFaceParts p = Face(100, 40, {16, 16}, {}, {9, 3});
    EXPECT_EQ(100 - 16 - 4 - 9, WrapWidth(p));
    p.Margin = 3;
    EXPECT_EQ(100 - 6 - 16 - 4 - 9, WrapWidth(p));
    p.Width = 10;
    EXPECT_EQ(0, WrapWidth(p));
}

TEST(ToolbarButtonDisabledTones, WhiteLightsGreyShadowsSilverVanishes)
{
    EXPECT_EQ(dtHighlight, DisabledToneOf(0xFFFFFF));
    EXPECT_EQ(dtFace, DisabledToneOf(0xC0C0C0));
    EXPECT_EQ(dtShadow, DisabledToneOf(0x808080));
    EXPECT_EQ(dtShadow, DisabledToneOf(0x000000));
    // Channel order does not matter: pure red and pure blue fall alike.
    EXPECT_EQ(DisabledToneOf(0x0000FF), DisabledToneOf(0xFF0000));
}

namespace {

// 3 x 3: white, silver and black opaque pixels on the diagonal.
TGlyphPixels Diagonal()
{
    TGlyphPixels g;
    g.Width = g.Height = 3;
    g.Rgb.assign(9, 0);
    g.Opaque.assign(9, 0);
    unsigned colours[] = {0xFFFFFF, 0xC0C0C0, 0x000000};
    for (int i = 0; i < 3; ++i) {
        g.Rgb[i * 4] = colours[i];
        g.Opaque[i * 4] = 1;
    }
    return g;
}

const unsigned kHi = 0x111111;
const unsigned kSh = 0x222222;

}  // namespace

TEST(ToolbarButtonDisabledGlyph, NewStyleMapsTonesAndDropsFaceTones)
{
    TGlyphPixels d = DisabledGlyph(Diagonal(), false, kHi, kSh);
    ASSERT_EQ(3, d.Width);
    EXPECT_EQ(kHi, d.Rgb[0]);
    EXPECT_EQ(1, d.Opaque[0]);
    EXPECT_EQ(0, d.Opaque[4]);  // silver vanishes into the face
    EXPECT_EQ(kSh, d.Rgb[8]);
    EXPECT_EQ(0, d.Opaque[1]);
}

TEST(ToolbarButtonDisabledGlyph, OldStyleEmbossesTheShape)
{
    TGlyphPixels d = DisabledGlyph(Diagonal(), true, kHi, kSh);
    // Every opaque pixel is shadow; the highlight copy shows only where the
    // shadow does not cover it, and never outside the cell.
    for (int i : {0, 4, 8}) EXPECT_EQ(kSh, d.Rgb[i]) << i;
    EXPECT_EQ(0, d.Opaque[1]);
    EXPECT_EQ(0, d.Opaque[3]);
    TGlyphPixels dot;
    dot.Width = dot.Height = 2;
    dot.Rgb = {0, 0, 0, 0};
    dot.Opaque = {1, 0, 0, 0};
    d = DisabledGlyph(dot, true, kHi, kSh);
    EXPECT_EQ(kHi, d.Rgb[3]);
    EXPECT_EQ(1, d.Opaque[3]);
}

TEST(ToolbarButtonDisabledGlyph, ShortInputGivesAnEmptyImage)
{
    TGlyphPixels bad;
    bad.Width = 4;
    bad.Height = 4;
    bad.Rgb.assign(3, 0);
    EXPECT_EQ(0, DisabledGlyph(bad, false, kHi, kSh).Width);
}
