#include <gtest/gtest.h>

#include "placement_model.h"

TEST(PosStr, RoundTripsFourIntegers)
{
    AnsiString s = FormatPosStr(10, -20, 1034, 788);
    EXPECT_EQ(AnsiString("10,-20,1034,788"), s);
    int a = 0, b = 0, c = 0, d = 0;
    ASSERT_TRUE(ParsePosStr(s, a, b, c, d));
    EXPECT_EQ(10, a);
    EXPECT_EQ(-20, b);
    EXPECT_EQ(1034, c);
    EXPECT_EQ(788, d);
    ASSERT_TRUE(ParsePosStr(" 1, 2 ,3,4 ", a, b, c, d));
    EXPECT_EQ(1, a);
    EXPECT_EQ(4, d);
}

TEST(PosStr, RefusesDamagedTextAndLeavesTheOutputs)
{
    int a = 7, b = 7, c = 7, d = 7;
    for (const char* bad : {"", "1,2,3", "1,2,3,4,5", "1,,3,4", "a,b,c,d", "1,2,3,4x", "99999999999,1,2,3"}) {
        EXPECT_FALSE(ParsePosStr(bad, a, b, c, d)) << bad;
    }
    EXPECT_EQ(7, a);
    EXPECT_EQ(7, d);
}

TEST(Names, SectionIniAndRegistryDefaults)
{
    EXPECT_EQ(AnsiString("MainForm.Placement1"), DefaultSectionName("MainForm", "Placement1", false));
    EXPECT_EQ(AnsiString("MainForm"), DefaultSectionName("MainForm", "Placement1", true));
    EXPECT_EQ(AnsiString("C:\\App\\kestrel.INI"), DefaultIniName("C:\\App\\kestrel.exe"));
    EXPECT_EQ(AnsiString("C:\\A.b\\kestrel.INI"), DefaultIniName("C:\\A.b\\kestrel"));
    EXPECT_EQ(AnsiString("Software\\Kestrel"), DefaultRegKey("Kestrel", "C:\\App\\ks.exe"));
    EXPECT_EQ(AnsiString("Software\\ks"), DefaultRegKey("", "C:\\App\\ks.exe"));
    EXPECT_EQ(AnsiString("(1024x768)"), ResolutionSuffix(1024, 768));
}

TEST(FitRectToArea, LeavesARectangleInsideAlone)
{
    TRect r = FitRectToArea({10, 20, 110, 220}, {0, 0, 1024, 768});
    EXPECT_EQ(10, r.Left);
    EXPECT_EQ(20, r.Top);
    EXPECT_EQ(110, r.Right);
    EXPECT_EQ(220, r.Bottom);
}

TEST(FitRectToArea, PullsAnOffScreenRectangleBackKeepingItsSize)
{
    // Saved on a second monitor to the right that is gone now.
    TRect r = FitRectToArea({1500, -50, 1800, 250}, {0, 0, 1024, 740});
    EXPECT_EQ(724, r.Left);
    EXPECT_EQ(1024, r.Right);
    EXPECT_EQ(0, r.Top);
    EXPECT_EQ(300, r.Bottom);
}

TEST(FitRectToArea, ShrinksWhatIsLargerThanTheArea)
{
    TRect r = FitRectToArea({-100, 50, 2000, 1600}, {0, 30, 1024, 768});
    EXPECT_EQ(0, r.Left);
    EXPECT_EQ(1024, r.Right);
    EXPECT_EQ(30, r.Top);
    EXPECT_EQ(768, r.Bottom);
}

TEST(FitRectToArea, WorkAreaNotAtTheOrigin)
{
    // A monitor left of the primary one has negative coordinates.
    TRect r = FitRectToArea({-3000, 10, -2800, 110}, {-1280, 0, 0, 1024});
    EXPECT_EQ(-1280, r.Left);
    EXPECT_EQ(-1080, r.Right);
}

TEST(FitRectToArea, ExtremeValuesDoNotOverflow)
{
    TRect r = FitRectToArea({-2147483647, -2147483647, 2147483647, 2147483647}, {0, 0, 800, 600});
    EXPECT_EQ(0, r.Left);
    EXPECT_EQ(800, r.Right);
    r = FitRectToArea({50, 50, 10, 10}, {0, 0, 800, 600});
    EXPECT_EQ(r.Left, r.Right);
    EXPECT_EQ(50, r.Left);
}
