// The swatches and the palette bar under Xvfb: building the bar, picking
// colours with either button, storing a swatch's colour into a cell, and
// the swatches as the paint kit's colours.
#include <gtest/gtest.h>

#include "colorsel_hsv.h"
#include "palettebar_fixture.h"

namespace {

TEST_F(PaletteBarTest, BuildShowsTheDefaultColoursAtTwiceTheSize)
{
    BuildPalette(Holder, 10, true);
    ASSERT_EQ(PaletteBarCells.Count(), 12);
    EXPECT_EQ(AppSettings.Palette, 12);
    EXPECT_EQ(Holder->GetZoom(), 2ul);
    EXPECT_EQ(Holder->GetWidth(), PaletteBarCells.Layout().Width() * 2);
    EXPECT_EQ(Holder->GetHeight(), 128);
    EXPECT_EQ(Holder->GetBuffer(), &PaletteBarCells.Picture());
    ShowForm();
    gui::TPixels shown = gui::ReadPixels(Holder->GetHandle());
    for (int i : {0, 1, 6, 11}) {
        POINT c = CellCentre(i);
        EXPECT_EQ(shown.At(c.x, c.y), DefaultPaletteColour(i)) << i;
    }
}

TEST_F(PaletteBarTest, RebuildingKeepsTheCurrentColours)
{
    BuildPalette(Holder, 8, true);
    SetPaletteColor(Holder, 3, 0x123456);
    EXPECT_EQ(GetPaletteColor(3), 0x123456u);
    BuildPalette(Holder, 64, false);
    EXPECT_EQ(PaletteBarCells.Count(), 64);
    EXPECT_EQ(GetPaletteColor(3), 0x123456u);
    EXPECT_EQ(GetPaletteColor(2), DefaultPaletteColour(2));
    EXPECT_EQ(GetPaletteColor(8), 0u);  // cells the old bar did not have
    EXPECT_THROW(GetPaletteColor(64), ERangeError);
}

TEST_F(PaletteBarTest, LeftAndRightButtonsPickIntoTheirSwatches)
{
    BuildPalette(Holder, 256, true);
    ConnectPaletteBar(Holder, DrawCol, BackCol);
    ShowForm();
    POINT green = CellCentre(4);
    gui::MouseDown(Holder, green.x, green.y, mbLeft);
    gui::MouseUp(Holder, green.x, green.y, mbLeft);
    EXPECT_EQ(SwatchColour(DrawCol), 0x00FF00u);
    EXPECT_EQ(DrawCol->GetTag(), HSVTag(HSVTriple{120, 255, 255}));
    EXPECT_EQ(colourNotices, 1);

    POINT blue = CellCentre(2);
    gui::MouseDown(Holder, blue.x, blue.y, mbRight);
    gui::MouseUp(Holder, blue.x, blue.y, mbRight);
    EXPECT_EQ(SwatchColour(BackCol), 0x0000FFu);
    EXPECT_EQ(SwatchColour(DrawCol), 0x00FF00u);

    gui::MouseDown(Holder, green.x, green.y, mbMiddle);
    gui::MouseUp(Holder, green.x, green.y, mbMiddle);
    EXPECT_EQ(SwatchColour(BackCol), 0x0000FFu);
    EXPECT_EQ(colourNotices, 2);
}

TEST_F(PaletteBarTest, AModifierStoresTheSwatchIntoTheCell)
{
    BuildPalette(Holder, 16, true);
    SetSwatchColour(DrawCol, 0x336699);
    SetSwatchColour(BackCol, 0xCC9933);
    POINT cell = CellCentre(5);
    PaletteHolderMouseDown(Holder, DrawCol, BackCol, mbLeft, ssShift, cell.x, cell.y);
    EXPECT_EQ(GetPaletteColor(5), 0x336699u);
    PaletteHolderMouseDown(Holder, DrawCol, BackCol, mbRight, ssCtrl, cell.x, cell.y);
    EXPECT_EQ(GetPaletteColor(5), 0xCC9933u);
    PaletteHolderMouseDown(Holder, DrawCol, BackCol, mbLeft, ssAlt, cell.x, cell.y);
    EXPECT_EQ(GetPaletteColor(5), 0x336699u);
    EXPECT_EQ(SwatchColour(DrawCol), 0x336699u);
    EXPECT_EQ(colourNotices, 0);
    // Outside the cells nothing happens.
    PaletteHolderMouseDown(Holder, DrawCol, BackCol, mbLeft, 0, 1000, 5);
    EXPECT_EQ(SwatchColour(DrawCol), 0x336699u);
}

TEST_F(PaletteBarTest, SwatchColoursAreBytesSwappedColors)
{
    EXPECT_EQ(PixelToColor(0x112233), 0x332211);
    EXPECT_EQ(ColorToPixel(0x332211), 0x112233u);
    EXPECT_EQ(ColorToPixel(clBtnFace), ColorToPixel(static_cast<TColor>(GetSysColor(COLOR_BTNFACE))));
    SetSwatchColour(DrawCol, 0x808080, HSVTag(HSVTriple{200, 0, 128}));
    SetSwatchColour(DrawCol, 0x404040);  // a grey keeps the hue of the tag
    EXPECT_EQ(DrawCol->GetTag(), HSVTag(HSVTriple{200, 0, 64}));
    SetSwatchColour(BackCol, 0xFF0000);
    SwapSwatchColours(DrawCol, BackCol);
    EXPECT_EQ(SwatchColour(DrawCol), 0xFF0000u);
    EXPECT_EQ(DrawCol->GetTag(), HSVTag(HSVTriple{0, 255, 255}));
    EXPECT_EQ(SwatchColour(BackCol), 0x404040u);
    EXPECT_EQ(BackCol->GetTag(), HSVTag(HSVTriple{200, 0, 64}));
}

TEST_F(PaletteBarTest, InstalledSwatchesAreThePaintKitsColours)
{
    SetSwatchColour(DrawCol, 0x102030);
    SetSwatchColour(BackCol, 0x405060);
    InstallColourSwatches(DrawCol, BackCol);
    EXPECT_EQ(DrawColourSwatch(), DrawCol);
    EXPECT_EQ(ForeColour(), 0x102030u);
    EXPECT_EQ(BackColour(), 0x405060u);
    delete BackCol;  // a freed swatch is forgotten, not read
    BackCol = nullptr;
    EXPECT_EQ(BackColourSwatch(), nullptr);
    EXPECT_EQ(BackColour(), 0xFFFFFFu);
    InstallColourSwatches(nullptr, nullptr);
    EXPECT_EQ(ForeColour(), 0u);
}

}  // namespace
