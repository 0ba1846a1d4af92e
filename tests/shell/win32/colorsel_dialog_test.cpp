// The colour selector under Xvfb: bars, edits, hue bar and square move one
// another and the swatch at once; OK keeps the colour, Cancel brings the
// old one back.
#include <gtest/gtest.h>

#include <functional>
#include "../../gui/win32/timed_step.h"
#include "colorsel.h"
#include "messages.h"
#include "palettebar_fixture.h"

namespace {

using gui::Later;

class ColorSelTest : public PaletteBarTest {
protected:
    void SetUp() override
    {
        PaletteBarTest::SetUp();
        ColorSel = new TColorSel(app.get());
        sel = ColorSel;
        SetSwatchColour(DrawCol, 0xFF0000);
    }
    void TearDown() override
    {
        delete sel;
        EXPECT_EQ(ColorSel, nullptr);
        PaletteBarTest::TearDown();
    }
    void Begin()
    {
        sel->BeginSelection(DrawCol, "Pick");
        sel->Show();
        gui::PumpUntilIdle();
    }
    TColorSel* sel = nullptr;
};

TEST_F(ColorSelTest, ControlsStartFromTheSwatch)
{
    Begin();
    EXPECT_STREQ(sel->GetCaption().c_str(), "Pick");
    EXPECT_EQ(sel->Red->GetPosition(), 0);  // 255 minus the channel
    EXPECT_EQ(sel->Green->GetPosition(), 255);
    EXPECT_EQ(sel->Blue->GetPosition(), 255);
    EXPECT_STREQ(sel->RedEdit->GetText().c_str(), "255");
    EXPECT_STREQ(sel->GreenEdit->GetText().c_str(), "0");
    EXPECT_EQ(sel->HVal->GetPosition(), 0);
    gui::TPixels square = gui::ReadPixels(sel->HSVBuf->GetHandle());
    EXPECT_EQ(square.At(100, 50), RGBToPixel(HSVToRGBFixed(0, 200, 100)));
    EXPECT_EQ(square.At(127, 127), 0xFFFFFFu);  // full red is dark enough for a white marker
    EXPECT_EQ(colourNotices, 0);
}

TEST_F(ColorSelTest, AChannelBarMovesTheSwatchAtOnce)
{
    Begin();
    sel->Green->SetPosition(255 - 128);
    EXPECT_EQ(SwatchColour(DrawCol), 0xFF8000u);
    EXPECT_STREQ(sel->GreenEdit->GetText().c_str(), "128");
    EXPECT_EQ(sel->HVal->GetPosition(), 30);  // the hue follows
    EXPECT_EQ(DrawCol->GetTag(), HSVTag(HSVTriple{30, 255, 255}));
    EXPECT_EQ(colourNotices, 1);
}

TEST_F(ColorSelTest, EditsTakeOnlyChannelValues)
{
    Begin();
    sel->RedEdit->SetText("300");
    EXPECT_EQ(sel->Selection().Channel(ChannelRed), 255);
    EXPECT_EQ(sel->Red->GetPosition(), 0);
    sel->ColEditExit(sel->RedEdit, true);  // leaving shows the channel again
    EXPECT_STREQ(sel->RedEdit->GetText().c_str(), "255");
    sel->GreenEdit->SetText("64");
    EXPECT_EQ(SwatchColour(DrawCol), 0xFF4000u);
    EXPECT_EQ(sel->Green->GetPosition(), 255 - 64);
}

TEST_F(ColorSelTest, HueBarAndSquareSetTheChannels)
{
    Begin();
    sel->HVal->SetPosition(120);
    EXPECT_EQ(SwatchColour(DrawCol), 0x00FF00u);
    EXPECT_EQ(sel->Green->GetPosition(), 0);
    gui::MouseDown(sel->HSVBuf, 0, 64);  // a click picks: saturation 0, value 128
    EXPECT_EQ(SwatchColour(DrawCol), 0x808080u);
    gui::MouseMove(sel->HSVBuf, 200, 200, MK_LBUTTON);  // dragged past the corner
    EXPECT_EQ(SwatchColour(DrawCol), 0x00FF00u);
    gui::MouseUp(sel->HSVBuf, 200, 200);
    gui::MouseMove(sel->HSVBuf, 10, 10);  // no button: nothing
    EXPECT_EQ(SwatchColour(DrawCol), 0x00FF00u);
    EXPECT_EQ(sel->HVal->GetPosition(), 120);
}

TEST_F(ColorSelTest, CancelRestoresOkKeeps)
{
    int tag = DrawCol->GetTag();
    Begin();
    sel->Blue->SetPosition(0);
    EXPECT_EQ(SwatchColour(DrawCol), 0xFF00FFu);
    int before = colourNotices;
    sel->EndSelection(mrCancel);
    EXPECT_EQ(SwatchColour(DrawCol), 0xFF0000u);
    EXPECT_EQ(DrawCol->GetTag(), tag);
    EXPECT_EQ(colourNotices, before + 1);

    Begin();
    sel->Blue->SetPosition(0);
    sel->EndSelection(mrOk);
    EXPECT_EQ(SwatchColour(DrawCol), 0xFF00FFu);
    EXPECT_EQ(DrawCol->GetTag(), HSVTag(HSVTriple{300, 255, 255}));
    sel->Red->SetPosition(255);  // after the selection the swatch no longer follows
    EXPECT_EQ(SwatchColour(DrawCol), 0xFF00FFu);
}

TEST_F(ColorSelTest, SwatchMouseDownOpensTheSelectorModally)
{
    ConnectPaletteBar(Holder, DrawCol, BackCol);
    ShowForm();
    AnsiString caption;
    Later([&] {
        caption = sel->GetCaption();
        sel->Green->SetPosition(0);
        PostMessageA(sel->CancelBtn->GetHandle(), BM_CLICK, 0, 0);
    });
    gui::MouseDown(BackCol, 5, 5, mbLeft);
    gui::MouseUp(BackCol, 5, 5, mbLeft);
    EXPECT_STREQ(caption.c_str(), Translate("SelBackCol").c_str());
    EXPECT_EQ(SwatchColour(BackCol), 0xFFFFFFu);

    Later([&] {
        caption = sel->GetCaption();
        sel->Blue->SetPosition(255 - 64);
        PostMessageA(sel->OKBtn->GetHandle(), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(sel->OpenFor(DrawCol), mrOk);
    EXPECT_STREQ(caption.c_str(), Translate("SelDrawCol").c_str());
    EXPECT_EQ(SwatchColour(DrawCol), 0xFF0040u);
    EXPECT_FALSE(sel->GetVisible());
}

}  // namespace
