// ColorChanged: the current tool's own handler, else the brush recoloured.
#include <gtest/gtest.h>

#include "paintkit.h"
#include "paintkit_host.h"
#include "palette_notify.h"

namespace {

class ColourTool : public P_icon {};

class ColorChangedTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = CurrentTool;
        PaintKitHost = PaintKitHostServices();
        PaintKitHost.foreColour = [] { return 0x123456ul; };
        CurrentBrush.Alloc(Pair<int>{1, 1});
        *CurrentBrush.At(0, 0) = 0;
        BrushState = TBrushState();
        BrushState.paintMode = PaintModeC;
    }
    void TearDown() override
    {
        SetColourUser(&text, nullptr);
        CurrentTool = saved;
        CurrentBrush.Free();
        StampBuffer.Free();
        BrushState = TBrushState();
        PaintKitHost = PaintKitHostServices();
    }
    P_icon* saved = nullptr;
    ColourTool text, other;
};

TEST_F(ColorChangedTest, TheCurrentToolsHandlerRunsInsteadOfTheRecolouring)
{
    int runs = 0;
    SetColourUser(&text, [&runs] { ++runs; });
    CurrentTool = &text;
    ColorChanged();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(StampBuffer.pixels, nullptr);

    CurrentTool = &other;
    ColorChanged();
    EXPECT_EQ(runs, 1);
    ASSERT_NE(StampBuffer.pixels, nullptr);
    EXPECT_EQ(*StampBuffer.At(0, 0), 0x123456u);
}

TEST_F(ColorChangedTest, AnEmptyHandlerRemovesTheRegistration)
{
    int runs = 0;
    SetColourUser(&text, [&runs] { ++runs; });
    SetColourUser(&text, [&runs] { runs += 10; });  // replaces, does not add
    CurrentTool = &text;
    ColorChanged();
    EXPECT_EQ(runs, 10);
    SetColourUser(&text, nullptr);
    ColorChanged();
    EXPECT_EQ(runs, 10);
    EXPECT_EQ(*StampBuffer.At(0, 0), 0x123456u);
}

}  // namespace
