// The main window's arithmetic: snapping to the work area, the maximised
// bar, the program folder, the display check, the tool panel rows and the
// checks on what filter components send.
#include <gtest/gtest.h>

#include "mainmessages.h"
#include "main_window_snap.h"
#include "startupsteps.h"

namespace {

const TRect Area = {0, 20, 1024, 740};

TRect Moved(TRect r, std::vector<int> imageTops = {})
{
    SnapToWorkArea(r, Area, MainWindowSnap, imageTops);
    return r;
}

TEST(MainWindowSnap, LeftEdgeSnapsWithinThreePixelsOnly)
{
    EXPECT_EQ(0, Moved({3, 300, 403, 350}).Left);
    EXPECT_EQ(400, Moved({3, 300, 403, 350}).Right);  // size kept
    EXPECT_EQ(4, Moved({4, 300, 404, 350}).Left);
    EXPECT_EQ(0, Moved({-50, 300, 350, 350}).Left);  // beyond the edge too
}

TEST(MainWindowSnap, RightAndBottomEdgesSnapPastFourPixels)
{
    EXPECT_EQ(1024, Moved({600, 300, 1021, 350}).Right);
    EXPECT_EQ(1020, Moved({600, 300, 1020, 350}).Right);
    EXPECT_EQ(740, Moved({600, 600, 700, 737}).Bottom);
    EXPECT_EQ(20, Moved({600, 22, 700, 72}).Top);
}

TEST(MainWindowSnap, BottomSnapsToTheFirstImageWindowWithinReach)
{
    TRect r = Moved({100, 300, 500, 350}, {500, 352, 348});
    EXPECT_EQ(352, r.Bottom);
    EXPECT_EQ(302, r.Top);
    EXPECT_EQ(350, Moved({100, 300, 500, 350}, {354}).Bottom);
}

TEST(MainWindowSnap, MaximisedBarHidesItsFrameOutsideTheWorkArea)
{
    MaximisedPlace p = MaximisedMainWindow(Area);
    EXPECT_EQ(-4, p.left);
    EXPECT_EQ(17, p.top);
    EXPECT_EQ(1034, p.width);
}

TEST(StartUpSteps, ProgramFolderKeepsItsLastSeparator)
{
    EXPECT_EQ(AnsiString("C:\\a\\b\\"), ProgramDirOf("C:\\a\\b\\ks.exe"));
    EXPECT_EQ(AnsiString("C:"), ProgramDirOf("C:ks.exe"));
    EXPECT_EQ(AnsiString(""), ProgramDirOf("ks.exe"));
    EXPECT_EQ(AnsiString(""), ProgramDirOf(""));
}

TEST(StartUpSteps, DisplayBelowFifteenBitsIsRefused)
{
    EXPECT_FALSE(DisplayDepthSufficient(8));
    EXPECT_FALSE(DisplayDepthSufficient(14));
    EXPECT_TRUE(DisplayDepthSufficient(15));
    EXPECT_TRUE(DisplayDepthSufficient(32));
}

TEST(StartUpSteps, ToolPanelRowsFollowTheLastGroup)
{
    EXPECT_EQ(8 * 28, ToolPanelButtonsHeight(15, true));   // 16 groups: 8 rows
    EXPECT_EQ(9 * 28, ToolPanelButtonsHeight(15, false));  // a row more without components
    EXPECT_EQ(9 * 28, ToolPanelButtonsHeight(16, true));
    EXPECT_EQ(0, ToolPanelButtonsHeight(-1, true));  // no buttons yet
}

TEST(ComponentRequests, SizesOutsideTheLibraryRangeAreRefused)
{
    EXPECT_TRUE(ComponentResizeValid(1, 1, ComponentMaxSide));
    EXPECT_TRUE(ComponentResizeValid(ComponentMaxSide, ComponentMaxSide, ComponentMaxSide));
    EXPECT_FALSE(ComponentResizeValid(0, 10, ComponentMaxSide));
    EXPECT_FALSE(ComponentResizeValid(10, 0, ComponentMaxSide));
    EXPECT_FALSE(ComponentResizeValid(10, -5, ComponentMaxSide));
    EXPECT_FALSE(ComponentResizeValid(ComponentMaxSide + 1, 10, ComponentMaxSide));
    EXPECT_FALSE(ComponentResizeValid(10, 0x7FFFFFFFL, ComponentMaxSide));
}

TEST(ComponentRequests, ParameterIndexMustNameAUsedSlot)
{
    EXPECT_TRUE(ComponentParamValid(0, 1));
    EXPECT_TRUE(ComponentParamValid(9, 3));
    EXPECT_FALSE(ComponentParamValid(10, 1));  // past the ten slots
    EXPECT_FALSE(ComponentParamValid(0xFFFF, 1));
    EXPECT_FALSE(ComponentParamValid(4, 0));  // unused slot
}

TEST(ComponentRequests, WParamSplitsIntoValueAndSubCommand)
{
    ComponentRequest r = SplitComponentWParam(0x0003FFFFul);
    EXPECT_EQ(0xFFFF, r.n);
    EXPECT_EQ(3, r.subCommand);
}

}  // namespace
