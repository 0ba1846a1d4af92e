// Glyph cells, the grey and embossed looks, the ellipsis glyph and the
// place of an edit's button, without windows.
#include <gtest/gtest.h>

#include <stdexcept>

#include "glyph_button_model.h"

TEST(GlyphCells, MissingCellsComeFromTheUpCell)
{
    EXPECT_EQ(csOwn, GlyphCellSource(gcUp, 1));
    EXPECT_EQ(csEmbossed, GlyphCellSource(gcDisabled, 1));
    EXPECT_EQ(csOwn, GlyphCellSource(gcDisabled, 2));
    EXPECT_EQ(csUpCell, GlyphCellSource(gcDown, 2));
    EXPECT_EQ(csUpCell, GlyphCellSource(gcExclusive, 3));
    EXPECT_EQ(csGreyed, GlyphCellSource(gcInactive, 4));
    EXPECT_EQ(csOwn, GlyphCellSource(gcInactive, 5));
}

TEST(GlyphCells, CountFollowsAnExactMultipleBelowSix)
{
    EXPECT_EQ(2, GlyphCountFromSize(32, 16));
    EXPECT_EQ(5, GlyphCountFromSize(80, 16));
    EXPECT_EQ(1, GlyphCountFromSize(96, 16));  // six cells: not a glyph strip
    EXPECT_EQ(1, GlyphCountFromSize(33, 16));
    EXPECT_EQ(1, GlyphCountFromSize(0, 16));
    EXPECT_EQ(1, GlyphCountFromSize(16, 0));
}

TEST(GlyphLooks, GreyIsWeightedAndKeepsTheTransparentColour)
{
    // (77 R + 150 G + 29 B) / 256 with R = 0x10, G = 0x80, B = 0xF0.
    unsigned level = (77 * 0x10 + 150 * 0x80 + 29 * 0xF0) / 256;
    EXPECT_EQ(level * 0x010101u, GreyOf(0xF08010));
    EXPECT_EQ(0xFFFFFFu, GreyOf(0xFFFFFF));
    std::vector<unsigned> cell = {0x0000FF, 0x00FF00, 0xFF00FF, 0xFF0000};
    std::vector<unsigned> grey = GreyCell(cell, 0xFF00FF);
    EXPECT_EQ(0xFF00FFu, grey[2]);
    EXPECT_EQ(GreyOf(0x0000FF), grey[0]);
    EXPECT_EQ(GreyOf(0x00FF00), grey[1]);
    EXPECT_EQ((29u * 255 / 256) * 0x010101u, grey[3]);
}

TEST(GlyphLooks, EmbossedShapeHasShadowOverHighlight)
{
    const unsigned T = 0x00FF00, X = 0x000000, H = 0xFFFFFF, S = 0x808080;
    std::vector<unsigned> cell = {X, T, T,  //
                                  T, T, T,  //
                                  T, T, X};
    std::vector<unsigned> e = EmbossedCell(cell, 3, 3, T, H, S);
    std::vector<unsigned> expected = {S, T, T,  //
                                      T, H, T,  //
                                      T, T, S};
    EXPECT_EQ(expected, e);
    EXPECT_THROW(EmbossedCell(cell, 2, 3, T, H, S), std::invalid_argument);
    EXPECT_THROW(EmbossedCell(cell, -3, -3, T, H, S), std::invalid_argument);
}

TEST(EllipsisGlyph, TwentyTwoWideButtonGivesThreeDotsSpacedThree)
{
    TEllipsisGlyph g = EllipsisGlyph(22);
    EXPECT_EQ(16, g.Width);
    EXPECT_EQ(4, g.Height);
    EXPECT_EQ(1, g.DotY);
    // (16 - 6) / 2 = 5, clamped to 3; the group of 12 centred in 16.
    EXPECT_EQ(2, g.DotX[0]);
    EXPECT_EQ(7, g.DotX[1]);
    EXPECT_EQ(12, g.DotX[2]);
}

TEST(EllipsisGlyph, NarrowButtonsKeepSpacingOneAndWidthOne)
{
    TEllipsisGlyph g = EllipsisGlyph(12);
    EXPECT_EQ(6, g.Width);
    EXPECT_EQ(3, g.DotX[1] - g.DotX[0]);  // spacing clamped up to 1
    EXPECT_EQ(1, EllipsisGlyph(0).Width);
    EXPECT_EQ(1, EllipsisGlyph(-40).Width);
}

TEST(EditButtonPlace, ThreeDimensionalNewStyleSitsInsideTheBorder)
{
    TEditButtonPlace p = EditButtonPlace(121, 21, 22, true, true);
    EXPECT_EQ(95, p.Left);
    EXPECT_EQ(0, p.Top);
    EXPECT_EQ(22, p.Width);
    EXPECT_EQ(17, p.Height);
    p = EditButtonPlace(121, 21, 22, false, true);
    EXPECT_EQ(97, p.Left);
    EXPECT_EQ(2, p.Top);
    p = EditButtonPlace(121, 21, 22, true, false);
    EXPECT_EQ(99, p.Left);
    EXPECT_EQ(1, p.Top);
    EXPECT_EQ(20, p.Height);
    EXPECT_EQ(0, EditButtonPlace(121, 2, 22, true, true).Height);
}

TEST(EditButtonPlace, MinimumHeightTakesTheSmallerFont)
{
    EXPECT_EQ(13 + 4 + 1, ComboEditMinHeight(16, 13, 1));
    EXPECT_EQ(12 + 8 + 1, ComboEditMinHeight(12, 20, 2));
}

TEST(DropDownMark, RowsNarrowByTwoAroundTheCentre)
{
    int first = 0, width = 0;
    const int widths[] = {7, 5, 3, 1};
    for (int row = 0; row < 4; ++row) {
        DropDownMarkRow(row, first, width);
        EXPECT_EQ(widths[row], width);
        EXPECT_EQ(3, first + width / 2);  // centred on column 3
    }
}
