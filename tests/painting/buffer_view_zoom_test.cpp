// The zoom code: numerator low, divisor high, 0 meaning 1.
#include <gtest/gtest.h>
#include "buffer_view_zoom.h"

TEST(ZoomCode, NormalisesToLowestTerms)
{
    EXPECT_EQ(0x20001u, NormaliseZoom(0x40002));   // 2/4 is 1/2
    EXPECT_EQ(3u, NormaliseZoom(0x10003));         // 3/1 is 3
    EXPECT_EQ(0x30002u, NormaliseZoom(0x30002));   // 2/3 stays
    EXPECT_EQ(0x40003u, NormaliseZoom(0xC0009));   // 9/12 is 3/4
    EXPECT_EQ(5u, NormaliseZoom(5));               // no divisor
    EXPECT_EQ(1u, NormaliseZoom(0x10001));
}

TEST(ZoomCode, DropsTheDivisorSign)
{
    EXPECT_EQ(0x20001u, NormaliseZoom(0xFFFE0001));  // 1/-2
    EXPECT_EQ(0x80000001u, NormaliseZoom(0x80000001));  // 1/-32768
}

TEST(ZoomCode, ZeroNumeratorReducesToZero)
{
    EXPECT_EQ(0u, NormaliseZoom(0x30000));
    EXPECT_EQ(0u, NormaliseZoom(0));
}

TEST(ZoomCode, FactorsTreatZeroAsOne)
{
    ViewZoom z = ZoomFactors(0);
    EXPECT_EQ(1, z.n);
    EXPECT_EQ(1, z.m);
    EXPECT_TRUE(z.OneToOne());
    z = ZoomFactors(0x20000);  // 0/2 paints as 1/2
    EXPECT_EQ(1, z.n);
    EXPECT_EQ(2, z.m);
    z = ZoomFactors(0x30002);
    EXPECT_EQ(2, z.n);
    EXPECT_EQ(3, z.m);
    z = ZoomFactors(3);
    EXPECT_EQ(3, z.n);
    EXPECT_EQ(1, z.m);
}

TEST(ZoomCode, FactorsReduceAnUnnormalisedCode)
{
    ViewZoom z = ZoomFactors(0x30003);
    EXPECT_TRUE(z.OneToOne());
    z = ZoomFactors(0x80000001);
    EXPECT_EQ(1, z.n);
    EXPECT_EQ(32768, z.m);
}
