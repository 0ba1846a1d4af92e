// Stretching and turning the brush by dragging: the sizes and mirrors the
// drag gives, nearest samples of the brush, a key colour the brush paints,
// one undo step each.
#include <gtest/gtest.h>

#include <vector>

#include "paintkit_fixture.h"
#include "rotate_tools.h"
#include "stretch_tools.h"
#include "undo_entry.h"

namespace {

class BrushDrags : public PaintKitTest {
protected:
    void SetUp() override
    {
        PaintKitTest::SetUp();
        pic.Alloc(Pair<int>{200, 100});
        pic.Box(pic.GetRect(), Back);
    }
    // w x h distinct painted pixels, held at the left-top.
    void Numbered(int w, int h)
    {
        CurrentBrush.Alloc(Pair<int>{w, h});
        for (int i = 0; i < w * h; ++i) CurrentBrush.pixels[i] = 0x00100000u + unsigned(i);
        BrushState.hotSpot = HandleLeftTop;
        BrushState.pictureBrush = 1;
        RecolorBrush(false);
    }
    void Drag(P_icon& tool, TPoint from, TPoint to)
    {
        SelectTool(&tool, false, -1);
        Press(from.x, from.y);
        timer.Advance(300);
        Move(to.x, to.y);
        Release(to.x, to.y);
    }
    std::vector<unsigned long> Brush() const
    {
        return std::vector<unsigned long>(CurrentBrush.pixels, CurrentBrush.pixels + CurrentBrush.Width() * CurrentBrush.Height());
    }
};

TEST_F(BrushDrags, StretchTakesNearestSamples)
{
    Numbered(3, 2);
    const std::vector<unsigned long> before = Brush();
    std::vector<unsigned long> shown(pic.pixels, pic.pixels + 200 * 100);
    Drag(StretchTools().both, {10, 10}, {15, 13});
    ASSERT_EQ(CurrentBrush.Width(), 6);
    ASSERT_EQ(CurrentBrush.Height(), 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(*CurrentBrush.At(x, y), before[size_t(y / 2 * 3 + x / 2)]);
    EXPECT_EQ(CurrentTool, &pen);
    ASSERT_NE(CurrentBrush.undoHead, nullptr);
    EXPECT_EQ(CurrentBrush.undoHead->key, "StretchBr");
    EXPECT_EQ(std::vector<unsigned long>(pic.pixels, pic.pixels + 200 * 100), shown);  // preview gone
    ASSERT_TRUE(UDBuffer::Undo(&CurrentBrush, true));
    EXPECT_EQ(Brush(), before);
}

TEST_F(BrushDrags, StretchSidesMirrorsAndKeptSides)
{
    const struct {
        P_stretch_brush* tool;
        TPoint to;
        int w, h;
        bool mirrored;
    } cases[] = {
        {&StretchTools().both, {8, 10}, -3, 1, true},   // two left of the anchor
        {&StretchTools().both, {10, 10}, 1, 1, false},  // the anchor's own column
        {&StretchTools().x, {13, 40}, 4, 1, false},
        {&StretchTools().y, {40, 12}, 3, 3, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tool->iconKey.c_str());
        Numbered(3, 1);
        const std::vector<unsigned long> before = Brush();
        Drag(*c.tool, {10, 10}, c.to);
        ASSERT_EQ(CurrentBrush.Width(), c.w < 0 ? -c.w : c.w);
        EXPECT_EQ(CurrentBrush.Height(), c.h);
        if (c.mirrored) {
            EXPECT_EQ(Brush(), std::vector<unsigned long>(before.rbegin(), before.rend()));
        }
        EXPECT_EQ(CurrentBrush.undoHead->key, c.tool->iconKey);
    }
}

// Smoothing reads the key colour as transparent: one the brush paints
// would make those pixels vanish.
TEST_F(BrushDrags, KeyColourThatTheBrushPaintsStaysPainted)
{
    for (bool dragged : {true, false}) {
        Numbered(2, 1);
        BrushState.keyColour = CurrentBrush.pixels[1];
        AntiAlias = true;
        if (dragged)
            Drag(StretchTools().both, {10, 10}, {13, 10});
        else
            ScaleBrush(2, 1);
        ASSERT_EQ(CurrentBrush.Width(), 4);
        for (unsigned long p : Brush()) EXPECT_NE(p, KeyPixel) << dragged;
    }
}

TEST_F(BrushDrags, TurnFollowsTheHandle)
{
    const struct {
        int w, h;
        TPoint handle;  // from the centre
        int bw, bh;
    } cases[] = {{100, 50, {866, -500}, 111, 93}, {2, 1, {0, -10}, 1, 2}, {7, 3, {0, 0}, 7, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.w);
        Numbered(c.w, c.h);
        const std::vector<unsigned long> before = Brush();
        TPoint centre{10 + ((c.w + 1) >> 1), 10 + ((c.h + 1) >> 1)};
        Drag(RotateTools().brush, {10, 10}, {centre.x + c.handle.x, centre.y + c.handle.y});
        EXPECT_EQ(CurrentBrush.Width(), c.bw);
        EXPECT_EQ(CurrentBrush.Height(), c.bh);
        EXPECT_EQ(CurrentBrush.undoHead->key, "Rotate");
        if (c.w == 2) {
            // A quarter turn counter-clockwise: the right pixel on top.
            EXPECT_EQ(CurrentBrush.pixels[0], before[1]);
            EXPECT_EQ(CurrentBrush.pixels[1], before[0]);
        }
        if (c.handle.x == 0 && c.handle.y == 0) {
            EXPECT_EQ(Brush(), before);
        }
    }
}

}  // namespace
