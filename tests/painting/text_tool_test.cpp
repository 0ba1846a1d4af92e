#include <set>
#include <utility>

#include "paintkit_fixture.h"
#include "selection_trace.h"
#include "text_tool.h"
#include "undo_entry.h"
#include "undo_settings.h"

namespace {

// Glyphs 3 x 5: a vertical bar in the cell's first column and a dot at its
// third column, row = character code mod 5, so that shifts show.
class BarGlyphs : public TextGlyphs {
public:
    TextFontSpec spec;
    void SetFont(const TextFontSpec& s) override { spec = s; }
    Pair<int> Extent(AnsiString& s) override { return s.IsEmpty() ? Pair<int>{0, 0} : Pair<int>{3 * s.Length(), 5}; }
    void Draw(Buffer& dest, Pair<int> pos, AnsiString& s, unsigned long colour) override
    {
        for (int i = 0; i < s.Length(); ++i) {
            int x = pos.x + 3 * i;
            for (int y = 0; y < 5; ++y) dest.PutPixel(Pair<int>{x, pos.y + y}, colour);
            dest.PutPixel(Pair<int>{x + 2, pos.y + static_cast<unsigned char>(s[i + 1]) % 5}, colour);
        }
    }
};

int UndoStepCount(const UDBuffer* pic)
{
    int n = 0;
    for (UndoEntry* e = pic->undoHead; e; e = e->next) ++n;
    return n;
}

using Mask = std::set<std::pair<int, int>>;

Mask Shifted(const Mask& m, int dx, int dy)
{
    Mask out;
    for (auto p : m) out.insert({p.first + dx, p.second + dy});
    return out;
}

Mask Dilated(const Mask& m)
{
    Mask out;
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) out.merge(Shifted(m, i, j));
    return out;
}

Mask ColourMask(const Buffer& b, unsigned long colour)
{
    Mask m;
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x)
            if ((*b.At(x, y) & 0xFFFFFF) == colour) m.insert({x, y});
    return m;
}

}  // namespace

class TextToolTest : public PaintKitTest {
protected:
    BarGlyphs glyphs;
    const unsigned long Shadow = 0x00808080;
    const unsigned long Paper = 0x00FFFFFF;

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
        TextToolHost = TextToolHostServices();
        InstBrush = false;
        PaintKitTest::TearDown();
    }
    void Show(const char* text, int style, int depth, int x, int y)
    {
        TextDraft d;
        d.text = text;
        d.style = style;
        d.depth = depth;
        d.shadowColour = Shadow;
        d.x = x;
        d.y = y;
        TextTool().Changed(d, TextFontSpec());
    }
};

// The text's own pixels are the glyphs at (x + o, top + o); a shadow is
// them moved by the depth (spread 3 x 3 with an outline); the outline is
// their 3 x 3 spread; each pass draws over the one before.
TEST_F(TextToolTest, PassesLayTextOutlineAndShadowAtTheirOffsets)
{
    struct Case {
        int style, depth;
    } cases[] = {{0, 2}, {TextShadow, 2}, {TextShadow, 5}, {TextOutline, 2}, {TextOutline | TextShadow, 3}};
    Buffer plain;
    plain.Alloc(Pair<int>{60, 40});
    plain.Box(plain.GetRect(), Paper);
    AnsiString ab("Ab");
    glyphs.Draw(plain, Pair<int>{0, 0}, ab, Fore);
    Mask glyphMask = ColourMask(plain, Fore);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style * 100 + c.depth);
        pic.Box(pic.GetRect(), Paper);
        Show("Ab", c.style, c.depth, 10, 20);
        Rect block = TextTool().Block();
        int o = (c.style & TextOutline) ? 1 : 0, s = (c.style & TextShadow) ? 1 : 0;
        EXPECT_EQ(block.right - block.left + 1, 6 + 2 * o + c.depth * s);
        int h = c.depth * s + 1 + (5 + 2 * o + 1);
        EXPECT_EQ(block.bottom - block.top + 1, h);
        EXPECT_EQ(block.top, 20 - h / 2 + 1);
        Mask text = Shifted(glyphMask, 10 + o, block.top + o);
        Mask outline;
        if (o) for (auto p : Dilated(text)) if (!text.count(p)) outline.insert(p);
        Mask shadow;
        if (s) {
            Mask cast = Shifted(glyphMask, 10 + c.depth, block.top + c.depth);
            for (auto p : o ? Dilated(Shifted(cast, 1, 1)) : cast)
                if (!text.count(p) && !outline.count(p)) shadow.insert(p);
        }
        EXPECT_EQ(ColourMask(pic, Fore), text);
        EXPECT_EQ(ColourMask(pic, Back), outline);
        EXPECT_EQ(ColourMask(pic, Shadow), shadow);
        TextTool().HidePreview();
        EXPECT_EQ(ColourMask(pic, Paper).size(), 60u * 40u) << "the preview is taken back";
    }
}

TEST_F(TextToolTest, MeasuresFollowTheFactors)
{
    struct Case {
        const char* text;
        double sizeX, sizeY;
        bool antiAlias;
        int style, depth, width, height;
    } cases[] = {
        {"Ab", 100, 100, false, 0, 2, 6, 7},
        {"Ab\r\nlonger", 100, 100, false, 0, 2, 18, 13},
        {"Ab", 50, 200, false, 0, 2, 3, 12},         // 6 * 0.5 + 0.5; 5 * 2 + 1 + 1
        {"Ab", 100, 100, true, 0, 2, 3, 4},          // half: the font was doubled
        {"Ab", 100, 100, false, TextOutline | TextShadow, 4, 12, 13},
        {"\r\n", 100, 100, false, 0, 2, 1, 13},      // empty lines still take their height
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TextDraft d;
        d.sizeX = c.sizeX;
        d.sizeY = c.sizeY;
        d.style = c.style;
        d.depth = c.depth;
        TextLook look = TextLookOf(d, c.antiAlias);
        std::vector<AnsiString> lines = SplitTextLines(c.text);
        EXPECT_EQ(MeasureTextWidth(lines, look, glyphs), c.width);
        EXPECT_EQ(MeasureTextHeight(lines, look, glyphs), c.height);
    }
    EXPECT_TRUE(SplitTextLines("").empty());
}

TEST_F(TextToolTest, WriteIsOneStepAndMovesTheNextTextDown)
{
    Show("Ab", 0, 2, 10, 20);
    int steps = UndoStepCount(&pic);
    int moved = TextTool().Write();
    EXPECT_EQ(moved, 7);
    EXPECT_EQ(TextTool().Draft().y, 27);
    EXPECT_EQ(UndoStepCount(&pic), steps + 1);
    EXPECT_EQ(pic.modified, 1u);
    EXPECT_FALSE(ColourMask(pic, Fore).empty());
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(ColourMask(pic, Paper).size(), 60u * 40u);

    // Nothing typed: nothing written, no step, the place stays.
    Show("", 0, 2, 10, 20);
    steps = UndoStepCount(&pic);
    EXPECT_EQ(TextTool().Write(), 0);
    EXPECT_EQ(TextTool().Draft().y, 20);
    EXPECT_EQ(UndoStepCount(&pic), steps);
}

// Without the instant brush the written pixels are the selection, boxed
// by what changed; a text that changed nothing selects nothing.
TEST_F(TextToolTest, WrittenPixelsBecomeTheSelection)
{
    InstBrush = false;
    Show("Ab", 0, 2, 10, 20);
    TextTool().Write();
    Mask selected;
    for (int y = pic.top; y <= pic.bottom; ++y)
        for (int x = pic.left; x <= pic.right; ++x)
            if (*pic.At(x, y) & SelectedBit) selected.insert({x, y});
    EXPECT_EQ(selected, ColourMask(pic, Fore));
    Rect block = TextTool().Block();
    EXPECT_EQ(pic.SelectionRect().left, 10);
    EXPECT_EQ(pic.SelectionRect().top, block.top);
    EXPECT_EQ(pic.SelectionRect().right, 15);
    EXPECT_EQ(pic.SelectionRect().bottom, block.top + 4);
    EXPECT_TRUE(pic.HasSelection());

    pic.DropSelection(false);
    pic.Box(pic.GetRect(), Fore);
    Show("Ab", 0, 2, 10, 20);
    TextTool().Write();
    EXPECT_FALSE(pic.HasSelection());
    EXPECT_GT(pic.SelectionRect().left, pic.SelectionRect().right);
}
