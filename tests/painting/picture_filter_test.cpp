// Turning and stretching the whole picture through the option bar: preview
// and cancel give back every byte, OK keeps one undo step, a preview of
// unchanged options renders nothing, and refused values change nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "paintkit_fixture.h"
#include "picture_filter.h"
#include "rotate_tools.h"
#include "stretch_tools.h"
#include "undo_entry.h"

namespace {

class PictureFilters : public PaintKitTest {
protected:
    P_rotate_picture& rotate = RotateTools().picture;
    P_stretch_picture& stretch = StretchTools().picture;

    void SetUp() override
    {
        PaintKitTest::SetUp();
        rotate.angle = 0;
        rotate.keepSize = 0;
        stretch.percentX = stretch.percentY = 100;
        stretch.keepProportions = 1;
        MakePicture(4, 2);
    }

    // Numbered pixels, some carrying the key and fill-mark flags.
    void MakePicture(int w, int h)
    {
        pic.Alloc(Pair<int>{w, h});
        for (int i = 0; i < w * h; ++i)
            pic.pixels[i] = 0x00010203u * unsigned(i + 1) | (i % 3 == 1 ? 0x01000000u : 0u) | (i % 5 == 2 ? 0x02000000u : 0u);
    }
    std::vector<unsigned long> All() const
    {
        return std::vector<unsigned long>(pic.pixels, pic.pixels + pic.Width() * pic.Height());
    }
    int Steps() const { return Count(pic.undoHead); }
};

TEST_F(PictureFilters, PreviewThenCancelGivesBackEveryByte)
{
    MakePicture(9, 7);
    const std::vector<unsigned long> before = All();
    SelectTool(&rotate, false, -1);
    SetOptionValue(1, 30);
    FilterPreview();
    EXPECT_NE(pic.Width(), 9);  // the preview is on the picture
    SelectTool(&pen, false, -1);
    ASSERT_EQ(pic.Width(), 9);
    ASSERT_EQ(pic.Height(), 7);
    EXPECT_EQ(All(), before);
    EXPECT_EQ(Steps(), 0);
    EXPECT_EQ(rotate.angle, 30);  // kept for next time
}

TEST_F(PictureFilters, SelectedPixelsAreNotKeptInTheSavedCopy)
{
    pic.pixels[1] |= 0x04000000;
    pic.pixels[2] |= 0x04000000;
    pic.selMinX = 1;
    pic.selMaxX = 2;
    pic.selMinY = pic.selMaxY = 0;
    pic.TraceSelection();
    ASSERT_TRUE(pic.HasSelection());
    SelectTool(&rotate, false, -1);
    SetOptionValue(1, 180);
    FilterPreview();
    SelectTool(&pen, false, -1);
    EXPECT_FALSE(pic.HasSelection());
    for (unsigned long p : All()) EXPECT_EQ(p & 0x04000000u, 0u);
    // The dropped selection is its own step, which brings it back.
    ASSERT_EQ(Steps(), 1);
    EXPECT_EQ(pic.undoHead->key, "DelSel");
}

TEST_F(PictureFilters, OkKeepsOneStepThatUndoesTheTurn)
{
    const std::vector<unsigned long> before = All();
    unsigned long modified = pic.modified;
    SelectTool(&rotate, false, -1);
    SetOptionValue(1, 90);
    FilterOk();
    EXPECT_EQ(CurrentTool, &pen);
    ASSERT_EQ(pic.Width(), 2);
    ASSERT_EQ(pic.Height(), 4);
    // Counter-clockwise: the top-right pixel comes to the top-left.
    EXPECT_EQ(*pic.At(0, 0), before[3]);
    EXPECT_EQ(*pic.At(1, 3), before[4]);
    EXPECT_EQ(pic.modified, modified + 1);
    ASSERT_EQ(Steps(), 1);
    EXPECT_EQ(pic.undoHead->key, "Rotate");
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    ASSERT_EQ(pic.Width(), 4);
    EXPECT_EQ(All(), before);
}

TEST_F(PictureFilters, OkWithoutRoomForItsStepKeepsNothing)
{
    const std::vector<unsigned long> before = All();
    unsigned long modified = pic.modified;
    SelectTool(&rotate, false, -1);
    SetOptionValue(1, 90);
    undo.folder.allocBudget = 0;
    FilterOk();
    undo.folder.allocBudget = -1;
    EXPECT_EQ(rotate.applied, 0);
    EXPECT_EQ(pic.modified, modified);
    EXPECT_EQ(Steps(), 0);
    SelectTool(&pen, false, -1);
    EXPECT_EQ(All(), before);
}

TEST_F(PictureFilters, PreviewRendersOnlyWhatChanged)
{
    SelectTool(&rotate, false, -1);
    SetOptionValue(1, 30);
    FilterPreview();
    const unsigned long* shown = pic.pixels;
    FilterPreview();
    EXPECT_EQ(pic.pixels, shown);  // a rendering allocates a new block first
    AntiAlias = true;
    FilterPreview();
    EXPECT_NE(pic.pixels, shown);
    shown = pic.pixels;
    SetOptionValue(1, 31);
    FilterPreview();
    EXPECT_NE(pic.pixels, shown);
    SelectTool(&pen, false, -1);
}

TEST_F(PictureFilters, StretchGivesTheSizesOfThePercentages)
{
    const struct {
        bool keep;
        double x, y;
        int w, h;
    } cases[] = {{true, 37, 0, 74, 37}, {true, 250, 0, 500, 250}, {false, 37, 250, 74, 250}, {false, 250, 37, 500, 37}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        MakePicture(200, 100);
        const std::vector<unsigned long> before = All();
        stretch.percentX = stretch.percentY = 100;
        SelectTool(&stretch, false, -1);
        EXPECT_EQ(GetOptionValue(0), 200);  // the width follows the percentage
        SetOptionValue(4, c.keep);
        SetOptionValue(2, c.x);
        stretch.PercentXChanged();
        if (!c.keep) {
            SetOptionValue(3, c.y);
            stretch.PercentYChanged();
        }
        FilterOk();
        EXPECT_EQ(pic.Width(), c.w);
        EXPECT_EQ(pic.Height(), c.h);
        EXPECT_EQ(pic.undoHead->key, "Stretch");
        ASSERT_TRUE(UDBuffer::Undo(&pic, false));
        EXPECT_EQ(All(), before);
    }
}

TEST_F(PictureFilters, RefusedValuesChangeNothing)
{
    const struct {
        bool rotating;
        int option;
        double value;
        const char* message;
    } cases[] = {
        {true, 1, NAN, "BadAngle"},      {true, 1, 1e9, "BadAngle"},       {false, 2, 0, "BadPicSize"},
        {false, 2, 100000, "BadPicSize"}, {false, 0, 0, "BadPicSize"},      {false, 1, 20000, "BadPicSize"},
    };
    MakePicture(20, 10);  // 100000 % of it is too wide
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const std::vector<unsigned long> before = All();
        P_filter& tool = c.rotating ? static_cast<P_filter&>(rotate) : stretch;
        SelectTool(&tool, false, -1);
        undo.messages.clear();
        SetOptionValue(c.option, c.value);
        if (c.option == 2) stretch.PercentXChanged();
        FilterPreview();
        FilterOk();
        ASSERT_EQ(undo.messages.size(), 2u);
        EXPECT_EQ(undo.messages[0].text, Translate(c.message).c_str());
        EXPECT_EQ(CurrentTool, &tool);  // the value can be mended
        EXPECT_EQ(All(), before);
        EXPECT_EQ(Steps(), 0);
        SelectTool(&pen, false, -1);
        EXPECT_EQ(All(), before);
    }
}

}  // namespace
