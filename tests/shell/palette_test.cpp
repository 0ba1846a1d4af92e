// The palette bar's cells: count, layout, default colours and the picture.
#include <gtest/gtest.h>

#include <climits>
#include "exceptions.h"
#include "palette.h"

TEST(PaletteCount, RoundsUpToFourWithinTheOfferedRange)
{
    EXPECT_EQ(PaletteCellCount(10), 12);
    EXPECT_EQ(PaletteCellCount(8), 8);
    EXPECT_EQ(PaletteCellCount(0), 8);
    EXPECT_EQ(PaletteCellCount(-40), 8);
    EXPECT_EQ(PaletteCellCount(253), 256);
    EXPECT_EQ(PaletteCellCount(1000), 256);
    EXPECT_EQ(PaletteCellCount(INT_MAX), 256);
}

TEST(PaletteLayout, RowsFollowTheCount)
{
    struct Case {
        int count, rows, rowHeight, columns, cellWidth;
    } cases[] = {
        {256, 16, 4, 16, 4},  // (16 + 27) / 16 is below 4: square cells
        {8, 4, 16, 2, 14},   {20, 4, 16, 5, 6},  {24, 8, 8, 3, 10},
        {32, 8, 8, 4, 7},    // a multiple of 16 but not above 32
        {48, 16, 4, 3, 10},  {40, 8, 8, 5, 6},
    };
    for (const Case& c : cases) {
        PaletteLayout l = LayoutPalette(c.count);
        EXPECT_EQ(l.rows, c.rows) << c.count;
        EXPECT_EQ(l.rowHeight, c.rowHeight) << c.count;
        EXPECT_EQ(l.columns, c.columns) << c.count;
        EXPECT_EQ(l.cellWidth, c.cellWidth) << c.count;
        EXPECT_EQ(l.Height(), PaletteHeight) << c.count;
    }
}

TEST(PaletteLayout, CellsTileThePictureColumnByColumn)
{
    for (int count = 8; count <= 256; count += 4) {
        PaletteLayout l = LayoutPalette(count);
        for (int i = 0; i < l.count; i++) {
            Rect r = l.CellRect(i);
            ASSERT_EQ(l.CellAt(r.left, r.top), i) << count;
            ASSERT_EQ(l.CellAt(r.right, r.bottom), i) << count;
            ASSERT_EQ(r.left, i / l.rows * l.cellWidth);
            ASSERT_EQ(r.top, i % l.rows * l.rowHeight);
        }
        EXPECT_EQ(l.CellAt(l.Width() - 1, l.Height() - 1), l.count - 1);
        EXPECT_EQ(l.CellAt(l.Width(), 0), -1);
        EXPECT_EQ(l.CellAt(0, l.Height()), -1);
        EXPECT_EQ(l.CellAt(-1, 0), -1);
    }
    EXPECT_THROW(LayoutPalette(8).CellRect(8), ERangeError);
    EXPECT_THROW(LayoutPalette(8).CellRect(-1), ERangeError);
}

TEST(DefaultPalette, BaseRampsAndBlends)
{
    std::vector<unsigned long> p = DefaultPalette();
    ASSERT_EQ(p.size(), 256u);
    EXPECT_EQ(p[0], 0x000000u);
    EXPECT_EQ(p[1], 0x00FFFFu);
    EXPECT_EQ(p[15], 0xAAAAAAu);
    EXPECT_EQ(p[16], 0x000010u);   // blue ramp
    EXPECT_EQ(p[31], 0x0000FFu);   // capped at full blue
    EXPECT_EQ(p[32], 0x001000u);   // green ramp
    EXPECT_EQ(p[47], 0x00FF00u);
    EXPECT_EQ(p[48], 0x001010u);   // cyan
    EXPECT_EQ(p[79], 0xFF0000u);   // red, capped
    EXPECT_EQ(p[95], 0xFF00FFu);   // magenta
    EXPECT_EQ(p[111], 0xFFFF00u);  // yellow
    EXPECT_EQ(p[126], 0xF0F0F0u);  // grey
    EXPECT_EQ(p[127], 0xFFFFFFu);
    EXPECT_EQ(p[128], 0x0000FFu);  // blue to red
    EXPECT_EQ(p[143], 0x7B0083u);  // k = 15: u = 123, d = 131
    EXPECT_EQ(p[159], 0xFF0000u);
    EXPECT_EQ(p[160], 0xFF0000u);  // red to green
    EXPECT_EQ(p[191], 0x00FF00u);
    EXPECT_EQ(p[192], 0x00FF00u);  // green to yellow
    EXPECT_EQ(p[223], 0xFFFF00u);
    EXPECT_EQ(p[224], 0xFFFF00u);  // yellow to blue
    EXPECT_EQ(p[255], 0x0000FFu);
    EXPECT_THROW(DefaultPaletteColour(256), ERangeError);
}

TEST(PaletteCells, BuildFillsCellsInOrderAndKeepsColoursAcrossSizes)
{
    PaletteCells cells;
    EXPECT_TRUE(cells.Colours().empty());
    cells.Build(10, {0x112233, 0x445566});
    ASSERT_EQ(cells.Count(), 12);
    EXPECT_EQ(cells.Picture().Width(), cells.Layout().Width());
    EXPECT_EQ(cells.Picture().Height(), 64);
    EXPECT_EQ(cells.Colour(0), 0x112233u);
    EXPECT_EQ(cells.Colour(1), 0x445566u);
    EXPECT_EQ(cells.Colour(11), 0u);  // missing colours are black

    // The top-left pixel of a cell is its colour too: the whole cell is filled.
    Rect r = cells.Layout().CellRect(1);
    unsigned long pixel = 0;
    ASSERT_TRUE(cells.PixelAt(r.left, r.top, pixel));
    EXPECT_EQ(pixel, 0x445566u);
    EXPECT_FALSE(cells.PixelAt(-1, 0, pixel));
    EXPECT_FALSE(cells.PixelAt(0, 64, pixel));

    Rect set = cells.SetColour(5, 0x80ABCDEF);  // flag bits never reach the picture
    EXPECT_EQ(set.left, cells.Layout().CellRect(5).left);
    EXPECT_EQ(cells.Colour(5), 0xABCDEFu);
    EXPECT_THROW(cells.SetColour(12, 0), ERangeError);
    EXPECT_THROW(cells.Colour(-1), ERangeError);

    std::vector<unsigned long> before = cells.Colours();
    cells.Build(64, before);
    ASSERT_EQ(cells.Count(), 64);
    for (int i = 0; i < 12; i++) EXPECT_EQ(cells.Colour(i), before[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(cells.Colour(63), 0u);
    cells.Build(8, cells.Colours());
    EXPECT_EQ(cells.Colour(5), 0xABCDEFu);
}

TEST(PaletteReadout, ShowsDecimalChannels)
{
    EXPECT_STREQ(ColourReadout(0x12AB05).c_str(), "R:18 G:171 B:5");
    EXPECT_STREQ(ColourReadout(0x01FFFFFF).c_str(), "R:255 G:255 B:255");
}
