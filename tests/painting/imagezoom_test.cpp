// The image window's zoom steps, the view-to-picture arithmetic and the
// sizes of the window fitted to its picture.
#include <gtest/gtest.h>

#include <cmath>

#include "exceptions.h"
#include "imagelayout.h"
#include "imagezoom.h"

TEST(ImageZoom, StepsGiveTheViewsCodesAndFactors)
{
    EXPECT_EQ(0x10001u, ZoomStepCode(1));
    EXPECT_EQ(0x10020u, ZoomStepCode(32));
    const unsigned long fractions[] = {0x40003, 0x30002, 0x20001, 0x30001, 0x40001};
    for (int step = 0; step >= -4; --step) EXPECT_EQ(fractions[-step], ZoomStepCode(step)) << step;
    EXPECT_DOUBLE_EQ(0.5, ZoomStepFactor(-2));
    EXPECT_DOUBLE_EQ(4.0, ZoomStepFactor(4));
    EXPECT_THROW(ZoomStepCode(33), EConvertError);
    EXPECT_THROW(ZoomStepFraction(-5), EConvertError);
}

TEST(ImageZoom, FactorsRoundToAllowedSteps)
{
    EXPECT_EQ(1, ZoomStepForFactor(1.99));
    EXPECT_EQ(32, ZoomStepForFactor(1000.0));
    EXPECT_EQ(0, ZoomStepForFactor(0.75));
    EXPECT_EQ(0, ZoomStepForFactor(0.746));   // within 0.005 of 3/4
    EXPECT_EQ(-1, ZoomStepForFactor(0.7));
    EXPECT_EQ(-2, ZoomStepForFactor(0.5));
    EXPECT_EQ(-3, ZoomStepForFactor(0.33));
    EXPECT_EQ(-4, ZoomStepForFactor(0.3));
    EXPECT_EQ(-4, ZoomStepForFactor(0.0));
    EXPECT_EQ(-4, ZoomStepForFactor(-3.0));
    EXPECT_EQ(-4, ZoomStepForFactor(std::nan("")));
}

TEST(ImageZoom, ViewPointsMapToPicturePointsExactly)
{
    EXPECT_EQ(2, ViewToPicture(8, 3));
    EXPECT_EQ(6, ViewToPicture(20, 3));
    EXPECT_EQ(3, ViewToPicture(11, 3));
    // 2/3: every view pixel lands where x * 3 / 2 says, with no rounding
    // drift over a long row.
    for (int x = 0; x < 3000; ++x) ASSERT_EQ(x * 3 / 2, ViewToPicture(x, -1)) << x;
    EXPECT_EQ(40, ViewToPicture(10, -4));
    EXPECT_EQ(-2, ViewToPicture(-5, 2));  // toward zero, as the truncation
    EXPECT_EQ(312, ZoomedLength(416, 0));
    EXPECT_EQ(2, ZoomedLength(7, -3));    // whole blocks only
}

TEST(ImageZoom, PointerIsHeldInsideThePicture)
{
    EXPECT_EQ(0, ClampViewToPicture(-7, 10, 3));
    EXPECT_EQ(29, ClampViewToPicture(29, 10, 3));
    EXPECT_EQ(27, ClampViewToPicture(30, 10, 3));  // zoom x (width - 1)
    EXPECT_EQ(4, ClampViewToPicture(500, 10, -2));
}

TEST(ImageLayout, FitsAPictureThatTheScreenHolds)
{
    FitInput in{100, 50, 1.0, 20, 60, 0, 0, 1024, 768};
    FitArea area = FitAvailableArea(in);
    EXPECT_EQ(168, area.width);  // the 192-pixel minimum
    EXPECT_EQ(50, area.height);
    EXPECT_DOUBLE_EQ(1.0, FitZoomFactor(area, 100, 50));
    FitArea window = FitWindowSize(area, 100, 50, 20, 60, 0);
    EXPECT_EQ(192, window.width);
    EXPECT_EQ(114, window.height);
}

TEST(ImageLayout, SmallPicturesZoomUpAndLargeOnesStayOnScreen)
{
    FitInput small{10, 10, 1.0, 20, 60, 0, 0, 1024, 768};
    FitArea area = FitAvailableArea(small);
    EXPECT_EQ(3, ZoomStepForFactor(FitZoomFactor(area, 10, 10)));
    FitArea window = FitWindowSize(area, 30, 30, 20, 60, 0);
    EXPECT_GE(window.width, 192);
    EXPECT_GE(window.height, 96);

    FitInput large{4000, 3000, 1.0, 20, 60, 100, 200, 1024, 768};
    area = FitAvailableArea(large);
    EXPECT_LT(area.width + 20 + 4 + 100, 1024);
    EXPECT_LT(area.height + 60 + 4 + 200, 768);
    EXPECT_EQ(-4, ZoomStepForFactor(FitZoomFactor(area, 4000, 3000)));
    EXPECT_DOUBLE_EQ(1.0, FitZoomFactor(FitArea{10, 10}, 0, 5));
}

TEST(ImageLayout, ViewIsCentredOrScrolled)
{
    AxisPlacement p = PlaceViewOnAxis(200, 51);
    EXPECT_EQ(74, p.viewOffset);
    EXPECT_EQ(0, p.scrollRange);
    EXPECT_EQ(0, PlaceViewOnAxis(200, 200).scrollRange);
    p = PlaceViewOnAxis(200, 600);
    EXPECT_EQ(0, p.viewOffset);
    EXPECT_EQ(600, p.scrollRange);
}

TEST(ImageLayout, ZoomKeepsThePointUnderTheSpot)
{
    // View pixel 100 at 1:1 is picture pixel 100; at 4 it is view 400, and
    // with the spot 50 pixels into the box the scroll is 350.
    EXPECT_EQ(350, ScrollToKeep(100, 50, 1, 4));
    EXPECT_EQ(0, ScrollToKeep(100, 150, 4, 1));  // never before the start
    EXPECT_EQ(25, ScrollToKeep(150, 50, 1, -2));
}

TEST(ImageLayout, BarsAppearOnlyWhereTheViewNeedsThem)
{
    const BoxClient full{300, 200}, bars{16, 16};
    BoxClient c = ScrollBoxClient(full, 300, 200, bars);  // fits exactly: no bar
    EXPECT_EQ(300, c.width);
    EXPECT_EQ(200, c.height);
    c = ScrollBoxClient(full, 301, 190, bars);  // the bottom bar hides rows: both
    EXPECT_EQ(284, c.width);
    EXPECT_EQ(184, c.height);
    c = ScrollBoxClient(full, 301, 180, bars);
    EXPECT_EQ(300, c.width);
    EXPECT_EQ(184, c.height);
    c = ScrollBoxClient(full, 280, 900, bars);
    EXPECT_EQ(284, c.width);
    EXPECT_EQ(200, c.height);
}
