// The browser's grid arithmetic and the thumbnail scaling rule.
#include <gtest/gtest.h>

#include "browser_layout.h"

namespace {

TEST(BrowserLayout, ThumbnailsFitMinOf120OverWAnd90OverH)
{
    struct Case {
        int w, h, tw, th;
    } cases[] = {
        {3000, 2000, 120, 80}, {2000, 3000, 60, 90}, {120, 90, 120, 90}, {4, 3, 120, 90},
        {121, 90, 120, 89},    {1, 1000, 1, 90},     {1000, 1, 120, 1},  {5, 7, 64, 90},
        {0, 5, 0, 0},
    };
    for (const Case& c : cases) {
        BrowserSize s = ThumbnailSize(c.w, c.h);
        EXPECT_EQ(c.tw, s.width) << c.w << "x" << c.h;
        EXPECT_EQ(c.th, s.height) << c.w << "x" << c.h;
    }
}

TEST(BrowserLayout, VisibleEntriesFollowThePanelTop)
{
    struct Case {
        int top, view, first, last;
    } cases[] = {
        {0, 317, 0, 11}, {-120, 317, 4, 15}, {-119, 317, 0, 15}, {-3640, 317, 120, 131}, {0, 600, 0, 19},
    };
    for (const Case& c : cases) {
        BrowserRange r = VisibleRange(c.top, c.view);
        EXPECT_EQ(c.first, r.first) << c.top;
        EXPECT_EQ(c.last, r.last) << c.top;
    }
    EXPECT_EQ(3960, PanelHeight(129));
    EXPECT_EQ(910, ScrollBarMax(3960, 317));
    EXPECT_EQ(0, ScrollBarMax(240, 317));
    EXPECT_EQ(144, CellLeft(5));
    EXPECT_EQ(124, CellTop(5));
    EXPECT_EQ(220, CellCaptionTop(5));
}

TEST(BrowserLayout, OnlyADriveRootHasNoParent)
{
    EXPECT_TRUE(IsDriveRoot("C:\\"));
    EXPECT_FALSE(IsDriveRoot("C:\\windows\\"));
    EXPECT_FALSE(IsDriveRoot("\\\\server\\share\\"));
    EXPECT_EQ("windows", LastFolderName("C:\\windows\\"));
    EXPECT_EQ("sub", LastFolderName("C:\\a\\sub"));
}

}  // namespace
