// Fitting the window keeps room beside the view for each empty dock.
#include <gtest/gtest.h>

#include "imagelayout.h"

TEST(ImageLayoutDocks, EachEmptyDockWidensTheWindowBySixtyPixels)
{
    struct Row {
        int zoomedWidth, emptyDocks, width;
    };
    const FitArea area{500, 400};
    // 300 + frame 20 + box edges 4; 10 keeps the 192-pixel minimum first.
    for (Row r : {Row{300, 0, 324}, Row{300, 1, 384}, Row{300, 2, 444}, Row{10, 2, 312}, Row{900, 1, 584}}) {
        FitArea window = FitWindowSize(area, r.zoomedWidth, 100, 20, 60, r.emptyDocks);
        EXPECT_EQ(r.width, window.width) << r.zoomedWidth << " with " << r.emptyDocks << " empty docks";
        EXPECT_EQ(164, window.height);
    }
}
