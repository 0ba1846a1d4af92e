// Bending and shearing the brush by dragging: the column offsets the Part's
// arithmetic gives, a steep shear without gaps, one undo step of the brush,
// and the picture as it was once the preview is gone.
#include "bend_brush.h"
#include "brush_rows.h"
#include "paintkit_fixture.h"
#include "undo_entry.h"

namespace {

TEST(BendArithmetic, BendColumnFollowsThePointerInsideTheBrush)
{
    const int pointer[] = {9, 10, 11, 14, 18, 19, 40}, column[] = {1, 1, 1, 4, 8, 7, 7};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(BendColumn(9, 10, pointer[i]), column[i]) << pointer[i];
}

class BendBrush : public PaintKitTest {
protected:
    BendBrushToolSet& tools = BendBrushTools();

    // Held at its centre; the press at the anchor plus the hot spot.
    void Drag(P_icon* tool, TPoint anchor, TPoint release)
    {
        TPoint o = HotSpotOf(CurrentBrush.Width(), CurrentBrush.Height(), HandleCentre);
        SelectTool(tool, false, -1);
        Press(anchor.x + o.x, anchor.y + o.y);
        timer.Advance(300);
        Move(release.x, release.y);
        Release(release.x, release.y);
    }
};

TEST_F(BendBrush, DragsGiveTheColumnOffsetsAndOneStepThatUndoes)
{
    struct Case {
        const char* name;
        P_icon* tool;
        Rows brush;
        TPoint anchor, release;
        Rows result;
    };
    const Case cases[] = {
        // The line from (0, 0) to (4, 4): column j down by j.
        {"ShearUDBr", &tools.shearUnD, {"ABCDE"}, {2, 2}, {6, 6}, {"A....", ".B...", "..C..", "...D.", "....E"}},
        {"ShearLRBr", &tools.shearLnR, {"A", "B", "C", "D", "E"}, {2, 2}, {6, 6},
         {"A....", ".B...", "..C..", "...D.", "....E"}},
        // Steeper than the brush is wide: each column one unbroken run.
        {"ShearUDBr", &tools.shearUnD, {"AB", "CD"}, {2, 2}, {3, 8}, {"A.", "A.", "A.", "CB", ".B", ".B", ".D"}},
        // Pulled above the bottom edge: the last column moves up by 2.
        {"ShearUDBr", &tools.shearUnD, {"ABC"}, {2, 5}, {4, 3}, {"..C", ".B.", "A.."}},
        // Bend column 5 of 9 pulled up by 4 from the start handle (7, 7):
        // trunc((1 - s) * 4) with s = sin(90 j / 6) left of it and
        // cos(90 (i - 5) / 5) from it on.
        {"BendUDBr", &tools.bendUnD, {"ABCDEFGHI"}, {2, 6}, {7, 3},
         {"....EFGH.", "...D....I", ".BC......", ".........", "A........"}},
        // Pulled down by 3 at column 3 of 5: the bend column sags by 3.
        {"BendUDBr", &tools.bendUnD, {"ABCDE"}, {2, 2}, {5, 6}, {"A....", ".B...", "..C.E", "...D."}},
        {"BendLRBr", &tools.bendLnR, {"A", "B", "C", "D", "E"}, {2, 2}, {6, 5}, {"A...", ".B..", "..C.", "...D", "..E."}},
        // Released at the start handle: nothing moves.
        {"BendUDBr", &tools.bendUnD, {"ABCD", "EFGH", "IJKL"}, {2, 2}, {4, 4}, {"ABCD", "EFGH", "IJKL"}},
    };
    for (const Case& c : cases) {
        DrawRows(CurrentBrush, c.brush);
        RecolorBrush(false);
        std::vector<unsigned long> before = Pixels();
        warps.clear();
        Drag(c.tool, c.anchor, c.release);
        EXPECT_EQ(ReadRows(CurrentBrush), c.result) << c.name;
        EXPECT_EQ(ReadRows(StampBuffer), c.result) << c.name;
        EXPECT_EQ(Pixels(), before) << c.name;
        EXPECT_EQ(CurrentTool, &pen) << c.name;
        ASSERT_NE(CurrentBrush.undoHead, nullptr);
        EXPECT_EQ(std::string(CurrentBrush.undoHead->key.c_str()), c.name);
        EXPECT_EQ(CurrentBrush.undoHead->next, nullptr) << c.name;
        ASSERT_TRUE(UDBuffer::Undo(&CurrentBrush, false));
        EXPECT_EQ(ReadRows(CurrentBrush), c.brush) << c.name;
        ASSERT_FALSE(warps.empty());
        EXPECT_EQ(warps.front(), c.tool == &tools.shearUnD || c.tool == &tools.shearLnR
                                     ? TPoint({c.anchor.x + CurrentBrush.Width() - 1, c.anchor.y + CurrentBrush.Height() - 1})
                                     : TPoint({c.anchor.x + ((CurrentBrush.Width() + 1) >> 1),
                                               c.anchor.y + ((CurrentBrush.Height() + 1) >> 1)}))
            << c.name;
    }
    EXPECT_TRUE(undo.messages.empty());
}

TEST_F(BendBrush, AReleaseThatWouldPassTheLimitKeepsTheBrush)
{
    DrawRows(CurrentBrush, {"AB"});
    RecolorBrush(false);
    CurrentBrush.Alloc(Pair<int>{2, 16384});
    CurrentBrush.Box(CurrentBrush.GetRect(), RowColour('A'));
    Drag(&tools.shearUnD, {2, 2}, {3, 8});
    EXPECT_EQ(CurrentBrush.Height(), 16384);
    EXPECT_EQ(CurrentBrush.undoHead, nullptr);
    ASSERT_EQ(undo.messages.size(), 1u);
    EXPECT_EQ(undo.messages[0].text, Translate("BrTooLarge").c_str());
}

}  // namespace
