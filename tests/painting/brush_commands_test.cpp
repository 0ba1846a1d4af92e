// The Brush menu's commands on the program-wide brush: their pixels, their
// one undo step each, the size limit, the brush from the picture and the
// reset to the one-pixel brush.
#include <functional>

#include "brush_commands.h"
#include "brush_rows.h"
#include "paintkit_fixture.h"
#include "undo_entry.h"

namespace {

// A view's rows are longer than its width: nothing outside it may move.
TEST(BrushPixels, HalfTurnAndMirrorsStayInsideAView)
{
    Buffer whole;
    DrawRows(whole, {"ABCDE", "FGHIJ", "KLMNO"});
    Buffer view(whole, Rect{1, 0, 3, 2}, true);
    TurnHalf(view);
    EXPECT_EQ(ReadRows(whole), (Rows{"ANMLE", "FIHGJ", "KDCBO"}));
    MirrorLeftRight(view);
    MirrorTopBottom(view);
    EXPECT_EQ(ReadRows(whole), (Rows{"ABCDE", "FGHIJ", "KLMNO"}));
}

TEST(BrushPixels, OutlineRingsASinglePixelWithoutCorners)
{
    Buffer b, out;
    DrawRows(b, {"A"});
    OutlinedBrush(b, Fore, out);
    EXPECT_EQ(ReadRows(out, Fore), (Rows{".+.", "+A+", ".+."}));
}

class BrushCommands : public PaintKitTest {
protected:
    PenBrushToolSet& tools = PenBrushTools();

    void UseBrush(const Rows& rows)
    {
        DrawRows(CurrentBrush, rows);
        BrushState.pictureBrush = 1;
        BrushState.paintMode = PaintModeP;
        RecolorBrush(false);
    }
    int Steps() const { return Count(CurrentBrush.undoHead); }
    std::string NewestKey() const { return CurrentBrush.undoHead ? CurrentBrush.undoHead->key.c_str() : ""; }
};

// Each command is one step under its key, and undoing it brings the brush,
// its state and its stamp back exactly.
TEST_F(BrushCommands, EachCommandIsOneStepThatUndoesExactly)
{
    struct Case {
        const char* key;
        std::function<void()> run;
        Rows result;
    };
    const Case cases[] = {
        {"MirLRBr", [] { MirrorBrush(true); }, {"CBA", "FED"}},
        {"MirTBBr", [] { MirrorBrush(false); }, {"DEF", "ABC"}},
        {"Rot90Br", TurnBrush90, {"CF", "BE", "AD"}},
        {"Rot180Br", TurnBrush180, {"FED", "CBA"}},
        {"OutlineBr", OutlineBrush, {".+++.", "+ABC+", "+DEF+", ".+++."}},
        {"DoubleYBr", [] { DoubleBrush(false, true); }, {"ABC", "ABC", "DEF", "DEF"}},
    };
    for (const Case& c : cases) {
        UseBrush({"ABC", "DEF"});
        BrushState.hotSpot = HandleLeftTop;
        c.run();
        EXPECT_EQ(ReadRows(CurrentBrush, Fore), c.result) << c.key;
        EXPECT_EQ(ReadRows(StampBuffer, Fore), c.result) << c.key;
        EXPECT_EQ(Steps(), 1) << c.key;
        EXPECT_EQ(NewestKey(), c.key);
        ASSERT_TRUE(UDBuffer::Undo(&CurrentBrush, true));
        EXPECT_EQ(ReadRows(CurrentBrush), (Rows{"ABC", "DEF"})) << c.key;
        EXPECT_EQ(ReadRows(StampBuffer), (Rows{"ABC", "DEF"})) << c.key;
        EXPECT_EQ(BrushState.hotSpot, HandleLeftTop);
        UDBuffer::DropAllRedo(&CurrentBrush);
    }
    EXPECT_TRUE(undo.messages.empty());
}

TEST_F(BrushCommands, HalvingAndDoublingKeepToTheirSizes)
{
    struct Case {
        int w, h;
        std::function<void()> run;
        int steps, w2, h2;
        size_t messages;
    };
    const Case cases[] = {
        {1, 5, [] { HalveBrush(true, true); }, 0, 1, 5, 0},
        {1, 5, [] { HalveBrush(false, true); }, 1, 1, 2, 0},
        {16385, 1, [] { DoubleBrush(true, false); }, 0, 16385, 1, 0},
        // The result would pass the limit: told, and nothing changes.
        {8193, 1, [] { DoubleBrush(true, true); }, 0, 8193, 1, 1},
        {1, 8192, [] { DoubleBrush(false, true); }, 1, 1, 16384, 0},
        {16383, 1, OutlineBrush, 0, 16383, 1, 1},
    };
    for (const Case& c : cases) {
        CurrentBrush.Alloc(Pair<int>{c.w, c.h});
        CurrentBrush.Box(CurrentBrush.GetRect(), Fore);
        undo.messages.clear();
        c.run();
        EXPECT_EQ(Steps(), c.steps) << c.w << "x" << c.h;
        EXPECT_EQ(CurrentBrush.Width(), c.w2) << c.w << "x" << c.h;
        EXPECT_EQ(CurrentBrush.Height(), c.h2) << c.w << "x" << c.h;
        ASSERT_EQ(undo.messages.size(), c.messages) << c.w << "x" << c.h;
        if (c.messages) {
            EXPECT_EQ(undo.messages[0].text, Translate("BrTooLarge").c_str());
        }
        while (CurrentBrush.undoHead) UDBuffer::DropUndo(&CurrentBrush);
    }
}

TEST_F(BrushCommands, PictureBecomesAPictureBrushTakenUpByTheDabPen)
{
    pic.Alloc(Pair<int>{3, 2});
    for (int i = 0; i < 6; ++i) pic.pixels[i] = i % 2 ? Back : 0x00010203u * unsigned(i + 1);
    pic.pixels[1] |= 0x04000000;
    pic.pixels[2] |= 0x04000000;
    UseBrush({"A"});
    SelectTool(&tools.penCont, false, -1);
    BrushFromPicture(&pic);
    EXPECT_EQ(NewestKey(), "GetAllBr");
    ASSERT_EQ(CurrentBrush.Width(), 3);
    ASSERT_EQ(CurrentBrush.Height(), 2);
    const unsigned long expected[6] = {0x00010203u, Back, 0x00030609u, KeyPixel, 0x00050A0Fu, KeyPixel};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(CurrentBrush.pixels[i], expected[i]) << i;
    EXPECT_EQ(BrushState.keyColour, Back);
    EXPECT_EQ(BrushState.pictureBrush, 1);
    EXPECT_EQ(BrushState.paintMode, PaintModeP);
    EXPECT_EQ(BrushState.hotSpot, HandleCentre);
    EXPECT_EQ(BrushState.originX, 0);
    // The command parks the pen and selects the dab pen: the closing resume
    // must not put the parked pen back.
    EXPECT_EQ(CurrentTool, &tools.penDisc);
    EXPECT_EQ(ParkedTool, nullptr);
}

// The program starts with no brush: the reset makes one, with no step to
// undo into nothing.
TEST_F(BrushCommands, ResetGivesTheOnePixelBrushThenTheBuiltInBrush)
{
    CurrentBrush.Free();
    ResetBrush();
    EXPECT_EQ(ReadRows(CurrentBrush, Fore), (Rows{"+"}));
    EXPECT_EQ(Steps(), 0);
    UseBrush({"AB"});
    tools.brushResize.target = &tools.resizeCrcBrush;
    SelectTool(&tools.penDisc, false, -1);
    ResetBrush();
    EXPECT_EQ(ReadRows(CurrentBrush, Fore), (Rows{"+"}));
    EXPECT_EQ(ReadRows(StampBuffer, Fore), (Rows{"+"}));
    EXPECT_EQ(BrushState.paintMode, PaintModeC);
    EXPECT_EQ(BrushState.pictureBrush, 0);
    EXPECT_EQ(NewestKey(), "ResetBr");
    EXPECT_EQ(Steps(), 1);
    EXPECT_EQ(CurrentTool, &tools.penCont);
    SelectTool(&tools.penOne, false, -1);
    ResetBrush();
    EXPECT_EQ(NewestKey(), "CircBrushIcon");
    EXPECT_EQ(CurrentBrush.Width(), 2 * BrushState.size + 1);
    EXPECT_EQ(CurrentTool, &tools.penCont);
}

}  // namespace
