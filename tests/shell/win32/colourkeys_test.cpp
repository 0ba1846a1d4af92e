// The image window's colour keys on the palette bar's swatches: channel
// steps in the model the readout shows, the swap, the readout switch, the
// colour selectors, and Clear / keypad 5 for the brush's hot spot.
#include <gtest/gtest.h>

#include "../../gui/win32/timed_step.h"
#include "brushstate.h"
#include "colorsel.h"
#include "imageform.h"
#include "imagewindow_host.h"
#include "messages.h"
#include "palettebar_fixture.h"

namespace {

unsigned long Hsv(int h, int s, int v) { return RGBToPixel(HSVToRGB(h, s, v)); }

class ColourKeysTest : public PaletteBarTest {
protected:
    void SetUp() override
    {
        PaletteBarTest::SetUp();
        ColorSel = new TColorSel(app.get());
        ConnectPaletteBar(Holder, DrawCol, BackCol);
        ShowForm();
        window = CreateImageWindow(60, 40, "");
        ASSERT_NE(window, nullptr);
        window->Show();
        gui::PumpUntilIdle();
    }
    void TearDown() override
    {
        while (ImageFormCount() > 0) delete GetImageForm(ImageFormCount() - 1);
        gui::PumpUntilIdle();
        ImageWindowHost = ImageWindowHostServices();
        delete ColorSel;
        PaletteBarTest::TearDown();
    }
    // Answers whether the window took the key.
    bool Press(WORD vk, TShiftState shift)
    {
        window->HotKeys(window, vk, shift);
        return vk == 0;
    }
    void ShowModel(bool hsv)
    {
        if (HsvReadoutShown() != hsv) Press(VK_DOWN, ssShift);
        ASSERT_EQ(hsv, HsvReadoutShown());
    }
    TImageForm* window = nullptr;
};

TEST_F(ColourKeysTest, ChannelKeysStepTheDrawingColourInTheModelShown)
{
    struct Row {
        bool hsv;
        unsigned long start;
        HSVTriple startHsv;
        WORD vk;
        unsigned long colour;
        const char* readout;
    };
    const HSVTriple rgbStart = RGBToHSV(10, 20, 30);
    const Row rows[] = {
        {false, 0x0A141E, rgbStart, VK_PRIOR, 0x0B141E, "R:11 G:20 B:30"},
        {false, 0x0A141E, rgbStart, VK_HOME, 0x09141E, "R:9 G:20 B:30"},
        {false, 0x0A141E, rgbStart, VK_RIGHT, 0x0A151E, "R:10 G:21 B:30"},
        {false, 0x0A141E, rgbStart, VK_LEFT, 0x0A131E, "R:10 G:19 B:30"},
        {false, 0x0A141E, rgbStart, VK_NEXT, 0x0A141F, "R:10 G:20 B:31"},
        {false, 0x0A141E, rgbStart, VK_END, 0x0A141D, "R:10 G:20 B:29"},
        {false, 0xFF0000, HSVTriple{0, 255, 255}, VK_PRIOR, 0xFF0000, "R:255 G:0 B:0"},  // stays in range
        {false, 0x000000, HSVTriple{0, 0, 0}, VK_END, 0x000000, "R:0 G:0 B:0"},
        {true, Hsv(359, 255, 255), HSVTriple{359, 255, 255}, VK_PRIOR, Hsv(0, 255, 255), "H:0 S:255 V:255"},  // hue wraps
        {true, 0xFF0000, HSVTriple{0, 255, 255}, VK_HOME, Hsv(359, 255, 255), "H:359 S:255 V:255"},
        {true, 0xFF0000, HSVTriple{0, 255, 255}, VK_LEFT, Hsv(0, 254, 255), "H:0 S:254 V:255"},
        {true, 0xFF0000, HSVTriple{0, 255, 255}, VK_RIGHT, 0xFF0000, "H:0 S:255 V:255"},
        {true, 0xFF0000, HSVTriple{0, 255, 255}, VK_END, Hsv(0, 255, 254), "H:0 S:255 V:254"},
        {true, 0x000000, HSVTriple{120, 255, 0}, VK_NEXT, Hsv(120, 255, 1), "H:120 S:255 V:1"},
    };
    for (const Row& r : rows) {
        ShowModel(r.hsv);
        SetSwatchColour(DrawCol, r.start, HSVTag(r.startHsv));
        int notices = colourNotices;
        EXPECT_TRUE(Press(r.vk, ssShift));
        EXPECT_EQ(r.colour, SwatchColour(DrawCol)) << r.readout;
        EXPECT_STREQ(r.readout, window->GetStatusText(2).c_str());
        EXPECT_EQ(notices + 1, colourNotices) << r.readout;
    }
    ShowModel(true);
    SetSwatchColour(DrawCol, 0xFF0000, HSVTag(HSVTriple{0, 255, 255}));
    Press(VK_HOME, ssShift);
    EXPECT_EQ(HSVTag(HSVTriple{359, 255, 255}), DrawCol->GetTag());  // the hue is kept, not recomputed
}

TEST_F(ColourKeysTest, ShiftUpSwapsShiftDownSwitchesTheReadout)
{
    ShowModel(false);
    SetSwatchColour(DrawCol, 0x102030);
    SetSwatchColour(BackCol, 0xFFFFFF);
    int drawTag = DrawCol->GetTag(), backTag = BackCol->GetTag();
    int notices = colourNotices;
    EXPECT_TRUE(Press(VK_UP, ssShift));
    EXPECT_EQ(0xFFFFFFu, SwatchColour(DrawCol));
    EXPECT_EQ(0x102030u, SwatchColour(BackCol));
    EXPECT_EQ(backTag, DrawCol->GetTag());
    EXPECT_EQ(drawTag, BackCol->GetTag());
    EXPECT_STREQ("R:255 G:255 B:255", window->GetStatusText(2).c_str());
    EXPECT_EQ(notices + 1, colourNotices);

    EXPECT_TRUE(Press(VK_DOWN, ssShift));
    EXPECT_TRUE(HsvReadoutShown());
    EXPECT_STREQ("H:0 S:0 V:255", window->GetStatusText(2).c_str());
    EXPECT_TRUE(Press(VK_DOWN, ssShift));
    EXPECT_FALSE(HsvReadoutShown());
    EXPECT_STREQ("R:255 G:255 B:255", window->GetStatusText(2).c_str());
}

TEST_F(ColourKeysTest, CtrlShiftBAndDOpenTheSelectorForTheirSwatch)
{
    struct Row {
        WORD vk;
        TShape* swatch;
        const char* captionKey;
    };
    for (Row r : {Row{'B', BackCol, "SelBackCol"}, Row{'D', DrawCol, "SelDrawCol"}}) {
        SetSwatchColour(r.swatch, 0x808080);
        AnsiString caption;
        gui::Later([&] {
            caption = ColorSel->GetCaption();
            ColorSel->Blue->SetPosition(0);
            PostMessageA(ColorSel->OKBtn->GetHandle(), BM_CLICK, 0, 0);
        });
        EXPECT_TRUE(Press(r.vk, ssShift | ssCtrl));
        EXPECT_STREQ(Translate(r.captionKey).c_str(), caption.c_str());
        EXPECT_EQ(0x8080FFu, SwatchColour(r.swatch)) << r.captionKey;
    }
}

TEST_F(ColourKeysTest, ClearAndKeypadFiveMoveTheBrushHotSpot)
{
    BrushState.hotSpot = 3;
    EXPECT_TRUE(Press(VK_CLEAR, 0));
    EXPECT_EQ(4, BrushState.hotSpot);
    EXPECT_TRUE(Press(VK_NUMPAD5, 0));
    EXPECT_EQ(0, BrushState.hotSpot);
}

}  // namespace
