// The Edit menu's work on a picture: the steps it leaves, what undo brings
// back, and where pasted pixels and the new selection land.
#include <gtest/gtest.h>

#include <vector>

#include "../painting/undo_fixture.h"
#include "edit_commands.h"
#include "selection_trace.h"

namespace {

const unsigned long Key = 0x01000000;

// 100x100 grey; the square 10..19 x 20..29 is selected.
void MakePicture(UDBuffer& pic)
{
    pic.Alloc(Pair<int>{100, 100});
    pic.Box(Rect{0, 0, 99, 99}, 0x808080);
    for (int y = 20; y < 30; ++y)
        for (int x = 10; x < 20; ++x) *pic.At(x, y) |= SelectedBit;
    pic.selMinX = 10, pic.selMaxX = 19, pic.selMinY = 20, pic.selMaxY = 29;
    pic.TraceSelection();
}

class EditCommands : public ::testing::Test {
protected:
    UndoTest undo;
    UDBuffer pic;

    void SetUp() override { MakePicture(pic); }
    std::vector<unsigned long> Pixels() const { return std::vector<unsigned long>(pic.pixels, pic.pixels + 10000); }
    std::vector<std::string> Steps() const
    {
        std::vector<std::string> keys;
        for (UndoEntry* e = pic.undoHead; e; e = e->next) keys.push_back(e->key.c_str());
        return keys;
    }
};

TEST_F(EditCommands, ClearSelectionLeavesTwoStepsThatBringItBack)
{
    std::vector<unsigned long> before = Pixels();
    ASSERT_TRUE(ClearSelection(&pic));
    EXPECT_FALSE(pic.HasSelection());
    EXPECT_EQ(Steps(), (std::vector<std::string>{"DelSel", "DelSel"}));
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(Pixels(), before);
}

TEST_F(EditCommands, DeletePaintsOnlyTheSelectedPixels)
{
    *pic.At(12, 22) &= ~SelectedBit;
    ASSERT_TRUE(DeleteSelected(&pic, "CutImg", 0x123456));
    EXPECT_EQ(Steps(), (std::vector<std::string>{"CutImg"}));
    EXPECT_EQ(0x123456u | SelectedBit, *pic.At(10, 20));
    EXPECT_EQ(0x808080u, *pic.At(12, 22));
    EXPECT_EQ(0x808080u, *pic.At(9, 20));
    EXPECT_EQ(1u, pic.modified);
}

struct PasteCase {
    const char* what;
    int width, height;
    bool selection, instBrush;
    Rect selectionAfter;  // right < left: none
};

const PasteCase kPastes[] = {
    {"at the selection's corner", 5, 5, true, false, {10, 20, 14, 24}},
    {"at the picture's corner", 5, 5, false, false, {0, 0, 4, 4}},
    {"larger than the picture", 500, 500, true, false, {10, 20, 99, 99}},
    {"whole into the brush", 5, 5, true, true, {65536, 65536, -1, -1}},
};

TEST_F(EditCommands, PasteLandsAndSelectsWhatCame)
{
    for (const PasteCase& c : kPastes) {
        SCOPED_TRACE(c.what);
        UDBuffer target;
        MakePicture(target);
        if (!c.selection) target.DropSelection(false);
        Buffer pasted;
        pasted.Alloc(Pair<int>{c.width, c.height});
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) *pasted.At(x, y) = unsigned(x * 3 + y);
        *pasted.At(1, 0) = Key;
        int x0 = c.selection ? 10 : 0, y0 = c.selection ? 20 : 0;
        PasteIntoPicture(&target, pasted, c.instBrush);
        EXPECT_EQ(0u, *target.At(x0, y0) & 0xFFFFFF);
        EXPECT_EQ(c.instBrush ? 0u : SelectedBit, *target.At(x0, y0) & SelectedBit);
        EXPECT_EQ(0x808080u, *target.At(x0 + 1, y0) & 0xFFFFFF);  // the key left it alone
        EXPECT_EQ(0u, *target.At(x0 + 1, y0) & SelectedBit);
        if (c.width == 5) {
            EXPECT_EQ(0x808080u, *target.At(x0 + 5, y0 + 5) & 0xFFFFFF) << "beyond the paste";
        }
        EXPECT_EQ(c.selectionAfter.left, target.selMinX);
        EXPECT_EQ(c.selectionAfter.top, target.selMinY);
        EXPECT_EQ(c.selectionAfter.right, target.selMaxX);
        EXPECT_EQ(c.selectionAfter.bottom, target.selMaxY);
        EXPECT_EQ(!c.instBrush, target.HasSelection());
    }
}

}  // namespace
