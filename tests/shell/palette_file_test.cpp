// Palette files: the text the program writes, and damaged files give a
// count the bar can hold and no more colours than it has cells.
#include <gtest/gtest.h>

#include "palette.h"
#include "palette_file.h"

TEST(PaletteFile, WritesCountThenSixHexDigitsPerLine)
{
    EXPECT_EQ("3\r\n000000\r\nFF00AB\r\n0A0B0C\r\n", FormatPaletteFile({0, 0x04FF00AB, 0x0A0B0C}));
}

TEST(PaletteFile, DamagedFilesStayWithinTheBar)
{
    struct Case {
        const char* text;
        bool ok;
        int cells;  // after the bar's rounding
        size_t colours;
    } cases[] = {
        {"12\n000001\n000002\n000003\n", true, 12, 3},  // short: the other cells keep theirs
        {"1000000\nFFFFFF\n", true, MaxPaletteCells, 1},
        {"-5\n123456\n", true, MinPaletteCells, 1},
        {"99999999999999999999\n", true, MaxPaletteCells, 0},
        {"8\n12345G\nFFFFFF\n", true, 8, 1},  // "12345" then a stop at G
        {"8\r\n0x00FF00\r\n1FFFFFFFF\r\n", true, 8, 2},  // CRLF, prefix, flag bits dropped
        {"garbage\n", false, 0, 0},
        {"", false, 0, 0},
    };
    for (const Case& c : cases) {
        PaletteFileText read;
        ASSERT_EQ(c.ok, ParsePaletteFile(c.text, MaxPaletteCells, read)) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(c.cells, PaletteCellCount(read.count)) << c.text;
        EXPECT_EQ(c.colours, read.colours.size()) << c.text;
        for (unsigned long colour : read.colours) EXPECT_EQ(0u, colour & ~0xFFFFFFul) << c.text;
    }
    std::string many = "300\n";
    for (int i = 0; i < 300; ++i) many += "ABCDEF\n";
    PaletteFileText read;
    ASSERT_TRUE(ParsePaletteFile(many, MaxPaletteCells, read));
    EXPECT_EQ(size_t(MaxPaletteCells), read.colours.size());
}
