#include "paintkit_fixture.h"
#include "pixel_mask.h"
#include "selection_trace.h"
#include "text_tool.h"
#include "undo_entry.h"
#include "undo_settings.h"

namespace {

// Glyphs 3 x 5: a bar in the cell's first column and a dot in its third,
// in the row of the character code mod 5, so that shifts show.
class BarGlyphs : public TextGlyphs {
public:
    void SetFont(const TextFontSpec&) override {}
    Pair<int> Extent(AnsiString& s) override { return s.IsEmpty() ? Pair<int>{0, 0} : Pair<int>{3 * s.Length(), 5}; }
    void Draw(Buffer& dest, Pair<int> pos, AnsiString& s, unsigned long colour) override
    {
        for (int i = 0; i < s.Length(); ++i) {
            dest.Box(Rect{pos.x + 3 * i, pos.y, pos.x + 3 * i, pos.y + 4}, colour);
            dest.PutPixel(Pair<int>{pos.x + 3 * i + 2, pos.y + static_cast<unsigned char>(s[i + 1]) % 5}, colour);
        }
    }
};

int UndoSteps(const UDBuffer& pic)
{
    int n = 0;
    for (UndoEntry* e = pic.undoHead; e; e = e->next) ++n;
    return n;
}

const unsigned long Grey = 0x808080, Paper = 0xFFFFFF;

}  // namespace

class TextToolTest : public PaintKitTest {
protected:
    BarGlyphs glyphs;

    void SetUp() override
    {
        PaintKitTest::SetUp();
        pic.Alloc(Pair<int>{60, 40});
        pic.Box(pic.GetRect(), Paper);
        SetVisibleClip();
        TextTool().SetGlyphs(&glyphs);
        InstBrush = true;
    }
    void TearDown() override
    {
        TextTool().SetGlyphs(nullptr);
        InstBrush = false;
        PaintKitTest::TearDown();
    }
    void Show(const char* text, int style, int depth)
    {
        TextDraft d;
        d.text = text, d.style = style, d.depth = depth, d.shadowColour = Grey, d.x = 10, d.y = 20;
        TextTool().Changed(d, TextFontSpec());
    }
};

// Outline and shadow together: the shadow is the outlined text moved by
// the depth, below the outline, below the text; closing takes it all back.
TEST_F(TextToolTest, OutlinedShadowLiesBelowOutlineBelowText)
{
    Buffer plain;
    plain.Alloc(Pair<int>{60, 40});
    plain.Box(plain.GetRect(), Paper);
    AnsiString ab("Ab");
    glyphs.Draw(plain, Pair<int>{0, 0}, ab, Fore);
    for (int depth : {3, 5}) {
        Show("Ab", TextOutline | TextShadow, depth);
        Rect block = TextTool().Block();
        EXPECT_EQ(block.right - block.left + 1, 6 + 2 + depth);
        EXPECT_EQ(block.bottom - block.top + 1, depth + 1 + (5 + 2 + 1));
        PixelMask text = ShiftedMask(ColourMask(plain, Fore), 11, block.top + 1);
        PixelMask outline = MaskWithout(SpreadMask(text), text);
        PixelMask shadow = MaskWithout(MaskWithout(SpreadMask(ShiftedMask(text, depth, depth)), text), outline);
        EXPECT_EQ(ColourMask(pic, Fore), text);
        EXPECT_EQ(ColourMask(pic, Back), outline);
        EXPECT_EQ(ColourMask(pic, Grey), shadow);
        TextTool().HidePreview();
        EXPECT_EQ(ColourMask(pic, Paper).size(), 60u * 40u);
    }
}

TEST_F(TextToolTest, MeasuresFollowTheFactors)
{
    struct Case {
        const char* text;
        double sizeX, sizeY;
        bool antiAlias;
        int style, width, height;
    } cases[] = {
        {"Ab", 100, 100, false, 0, 6, 7},
        {"Ab\r\nlonger", 100, 100, false, 0, 18, 13},
        {"Ab", 50, 200, false, 0, 3, 12},  // 6 * 0.5 + 0.5; 5 * 2 + 1 + 1
        {"Ab", 100, 100, true, 0, 3, 4},   // halved: the font was doubled
        {"Ab", 100, 100, false, TextOutline | TextShadow, 12, 13},
        {"\r\n", 100, 100, false, 0, 1, 13},  // empty lines still take their height
    };
    for (const Case& c : cases) {
        TextDraft d;
        d.sizeX = c.sizeX, d.sizeY = c.sizeY, d.style = c.style, d.depth = 4;
        TextLook look = TextLookOf(d, c.antiAlias);
        std::vector<AnsiString> lines = SplitTextLines(c.text);
        EXPECT_EQ(MeasureTextWidth(lines, look, glyphs), c.width) << c.text;
        EXPECT_EQ(MeasureTextHeight(lines, look, glyphs), c.height) << c.text;
    }
    EXPECT_TRUE(SplitTextLines("").empty());
}

// Without the instant brush the pixels written are the selection, boxed by
// what changed.
TEST_F(TextToolTest, WrittenPixelsBecomeTheSelection)
{
    InstBrush = false;
    Show("Ab", 0, 2);
    TextTool().Write();
    PixelMask selected;
    for (int y = pic.top; y <= pic.bottom; ++y)
        for (int x = pic.left; x <= pic.right; ++x)
            if (*pic.At(x, y) & SelectedBit) selected.insert({x, y});
    EXPECT_EQ(selected, ColourMask(pic, Fore));
    Rect block = TextTool().Block(), sel = pic.SelectionRect();
    EXPECT_TRUE(sel.left == 10 && sel.top == block.top && sel.right == 15 && sel.bottom == block.top + 4);
    EXPECT_TRUE(pic.HasSelection());
}

// Mended: a text that changed no pixel leaves no selection box; an empty
// text writes nothing, not even an undo step, and the place stays.
TEST_F(TextToolTest, NothingChangedLeavesNoSelectionNorStep)
{
    InstBrush = false;
    pic.Box(pic.GetRect(), Fore);
    Show("Ab", 0, 2);
    TextTool().Write();
    EXPECT_FALSE(pic.HasSelection());
    EXPECT_GT(pic.SelectionRect().left, pic.SelectionRect().right);
    int steps = UndoSteps(pic);
    Show("", 0, 2);
    EXPECT_EQ(TextTool().Write(), 0);
    EXPECT_EQ(TextTool().Draft().y, 20);
    EXPECT_EQ(UndoSteps(pic), steps);
}
