#include <gtest/gtest.h>

#include "listctls_model.h"

TEST(CheckListRules, GlyphCellByKindEnabledAndState)
{
    EXPECT_EQ(0, CheckImageCell(ckCheckBoxes, true, CheckStateUnchecked));
    EXPECT_EQ(1, CheckImageCell(ckCheckBoxes, true, CheckStateChecked));
    EXPECT_EQ(10, CheckImageCell(ckCheckBoxes, true, CheckStateGrayed));
    EXPECT_EQ(2, CheckImageCell(ckCheckBoxes, false, CheckStateUnchecked));
    EXPECT_EQ(3, CheckImageCell(ckCheckBoxes, false, CheckStateChecked));
    EXPECT_EQ(11, CheckImageCell(ckCheckBoxes, false, CheckStateGrayed));
    EXPECT_EQ(4, CheckImageCell(ckRadioButtons, true, CheckStateUnchecked));
    EXPECT_EQ(5, CheckImageCell(ckRadioButtons, true, CheckStateChecked));
    EXPECT_EQ(8, CheckImageCell(ckRadioButtons, true, CheckStateGrayed));
    EXPECT_EQ(6, CheckImageCell(ckRadioButtons, false, CheckStateUnchecked));
    EXPECT_EQ(7, CheckImageCell(ckRadioButtons, false, CheckStateChecked));
    EXPECT_EQ(9, CheckImageCell(ckRadioButtons, false, CheckStateGrayed));
    EXPECT_EQ(0, CheckImageCell(ckCheckBoxes, true, 7));  // a damaged state byte
}

TEST(CheckListRules, ToggleCyclesThroughGreyOnlyWhenAllowed)
{
    int s = CheckStateUnchecked;
    s = ToggledCheckState(s, true, ckCheckBoxes);
    EXPECT_EQ(CheckStateGrayed, s);
    s = ToggledCheckState(s, true, ckCheckBoxes);
    EXPECT_EQ(CheckStateChecked, s);
    s = ToggledCheckState(s, true, ckCheckBoxes);
    EXPECT_EQ(CheckStateUnchecked, s);
    EXPECT_EQ(CheckStateChecked, ToggledCheckState(CheckStateUnchecked, false, ckCheckBoxes));
    // Radio buttons never go grey, whatever AllowGrayed says.
    EXPECT_EQ(CheckStateChecked, ToggledCheckState(CheckStateUnchecked, true, ckRadioButtons));
}

TEST(CheckListRules, ColumnWidthAndTabStops)
{
    EXPECT_EQ(0, ListColumnWidth(121, 0));
    EXPECT_EQ(60, ListColumnWidth(121, 2));  // (121 + 2 - 3) / 2
    EXPECT_EQ(40, ListColumnWidth(121, 3));
    EXPECT_EQ(14, ListTabStopPixels(7, 8));
    EXPECT_EQ(0, ListTabStopPixels(7, -3));
    EXPECT_EQ(12, ListTabStopPixels(6, 8));
    EXPECT_EQ(11, ListTabStopPixels(7, 6));  // 10.5 rounds up
}
