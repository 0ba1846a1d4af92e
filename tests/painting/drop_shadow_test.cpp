// The brush's drop shadow: each direction's size and pixels, the silhouette
// through the brush's holes, one undo step, and bad values refused.
#include "brush_rows.h"
#include "drop_shadow.h"
#include "paintkit_fixture.h"
#include "undo_entry.h"

namespace {

// Every direction against the shadow read pixel by pixel: the brush where
// it paints, else the silhouette where the brush moved by the shadow's
// offset paints (through the brush's hole too), else the key.
TEST(ShadowPixels, EveryDirectionAndDepthMatchesAPixelByPixelReading)
{
    const Rows brush = {"A.B", "CDE"};
    for (int direction = ShadowEast; direction <= ShadowSouthWest; ++direction)
        for (int depth : {1, 3, 5}) {
            Buffer b, out;
            DrawRows(b, brush);
            ShadowedBrush(b, depth, direction, Fore, out);
            int bx = direction == ShadowSouthWest ? depth : 0;
            int sx = direction == ShadowEast || direction == ShadowSouthEast ? depth : 0;
            int sy = direction == ShadowEast ? 0 : depth;
            ASSERT_EQ(out.Width(), direction == ShadowSouth ? 3 : 3 + depth);
            ASSERT_EQ(out.Height(), direction == ShadowEast ? 2 : 2 + depth);
            auto paints = [&](int x, int y) { return x >= 0 && x < 3 && y >= 0 && y < 2 && brush[y][x] != '.'; };
            for (int y = 0; y < out.Height(); ++y)
                for (int x = 0; x < out.Width(); ++x) {
                    unsigned long expected = paints(x - bx, y)        ? RowColour(brush[y][x - bx])
                                             : paints(x - sx, y - sy) ? Fore
                                                                      : KeyPixel;
                    ASSERT_EQ(*out.At(x, y), expected) << direction << " " << depth << " at " << x << "," << y;
                }
        }
}

class DropShadow : public PaintKitTest {};

TEST_F(DropShadow, IsOneStepOfTheBrushThatUndoesExactly)
{
    DrawRows(CurrentBrush, {"AB", "CD"});
    RecolorBrush(false);
    ASSERT_TRUE(DropShadowBrush(1, ShadowSouth));
    EXPECT_EQ(ReadRows(CurrentBrush, Fore), (Rows{"AB", "CD", "++"}));
    EXPECT_EQ(ReadRows(StampBuffer, Fore), (Rows{"AB", "CD", "++"}));
    ASSERT_NE(CurrentBrush.undoHead, nullptr);
    EXPECT_EQ(std::string(CurrentBrush.undoHead->key.c_str()), "ShadBr");
    EXPECT_EQ(CurrentBrush.undoHead->next, nullptr);
    ASSERT_TRUE(UDBuffer::Undo(&CurrentBrush, true));
    EXPECT_EQ(ReadRows(CurrentBrush), (Rows{"AB", "CD"}));
}

TEST_F(DropShadow, BadValuesAndTooLargeBrushesChangeNothing)
{
    struct Case {
        int width, depth, direction;
        const char* message;
    };
    const Case cases[] = {
        {4, 0, ShadowEast, "BadShadow"},
        {4, 1000, ShadowEast, "BadShadow"},
        {4, 3, 4, "BadShadow"},
        {4, 3, -1, "BadShadow"},
        {16384, 1, ShadowSouthEast, "BrTooLarge"},
    };
    for (const Case& c : cases) {
        CurrentBrush.Alloc(Pair<int>{c.width, 1});
        CurrentBrush.Box(CurrentBrush.GetRect(), Fore);
        undo.messages.clear();
        EXPECT_FALSE(DropShadowBrush(c.depth, c.direction));
        EXPECT_EQ(CurrentBrush.Width(), c.width);
        EXPECT_EQ(CurrentBrush.Height(), 1);
        EXPECT_EQ(CurrentBrush.undoHead, nullptr);
        ASSERT_EQ(undo.messages.size(), 1u);
        EXPECT_EQ(undo.messages[0].text, Translate(c.message).c_str());
    }
    // Along the side it does not widen, the limit still holds the brush.
    CurrentBrush.Alloc(Pair<int>{16384, 1});
    EXPECT_TRUE(DropShadowBrush(1, ShadowSouth));
}

}  // namespace
