#include "sysutils.h"

#include <gtest/gtest.h>
#include <math.h>

#include "exceptions.h"

TEST(SysUtilsIntegers, ToTextAndBack)
{
    EXPECT_EQ("-2147483648", IntToStr(-2147483647 - 1));
    EXPECT_EQ("12345678901", IntToStr(12345678901LL));
    EXPECT_EQ("4294967295", IntToStr(4294967295u));
    EXPECT_EQ("4294967295", IntToStr(4294967295ul));
    EXPECT_EQ("-5", IntToStr(-5L));
    EXPECT_EQ("00FF", IntToHex(255, 4));
    EXPECT_EQ("FFFFFFFF", IntToHex(-1, 2));
    EXPECT_EQ(-12, StrToInt(" -12"));
    EXPECT_EQ(31, StrToInt("$1F"));
    EXPECT_EQ(7, StrToIntDef("7x", 7));
    try {
        StrToInt("12a");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ("'12a' is not a valid integer value", e.what());
    }
    int value = 5;
    EXPECT_TRUE(TryStrToInt("1", value));
    EXPECT_EQ(1, value);
    EXPECT_TRUE(TryStrToInt("0", value));
    EXPECT_EQ(0, value);
    EXPECT_FALSE(TryStrToInt("", value));
    EXPECT_FALSE(TryStrToInt("99999999999", value));
    EXPECT_EQ(0, value);
}

TEST(SysUtilsFloats, ParsesOnlyPlainNumbers)
{
    EXPECT_DOUBLE_EQ(2.5, StrToFloat(" 2.5 "));
    EXPECT_DOUBLE_EQ(-0.125, StrToFloat("-.125"));
    EXPECT_DOUBLE_EQ(1e-3, StrToFloat("1E-3"));
    EXPECT_DOUBLE_EQ(3, StrToFloat("3."));
    double value = 7;
    for (const char* bad : {"", ".", "-", "1e", "1e+", "nan", "inf", "0x10", "1,5", "1.5.2", "1 2", "1e999"}) {
        EXPECT_FALSE(TryStrToFloat(bad, value)) << bad;
    }
    EXPECT_EQ(7, value);
    EXPECT_THROW(StrToFloat("abc"), EConvertError);
    EXPECT_EQ(4.0, StrToFloatDef("x", 4.0));
}

TEST(SysUtilsFloats, DecimalSeparatorIsHonouredBothWays)
{
    DecimalSeparator = ',';
    double value = 0;
    bool parsedComma = TryStrToFloat("1,5", value);
    bool parsedPoint = TryStrToFloat("1.5", value);
    AnsiString shown = FloatToStrF(1.5, ffFixed, 15, 2);
    DecimalSeparator = '.';
    EXPECT_TRUE(parsedComma);
    EXPECT_FALSE(parsedPoint);
    EXPECT_EQ("1,50", shown);
}

TEST(SysUtilsFloats, FloatToStrFForms)
{
    EXPECT_EQ("3.14", FloatToStrF(3.14159, ffFixed, 7, 2));
    EXPECT_EQ("1.01", FloatToStrF(1.005, ffFixed, 15, 2));  // decimal half up
    EXPECT_EQ("-2.50", FloatToStrF(-2.5, ffFixed, 15, 2));
    EXPECT_EQ("0.00", FloatToStrF(-0.001, ffFixed, 15, 2));  // no "-0.00"
    EXPECT_EQ("100", FloatToStrF(99.96, ffFixed, 15, 0));
    EXPECT_EQ("1,234,567.80", FloatToStrF(1234567.8, ffNumber, 15, 2));
    EXPECT_EQ("1.235E+03", FloatToStrF(1234.5, ffExponent, 4, 2));
    EXPECT_EQ("1234.5", FloatToStrF(1234.5, ffGeneral, 15, 0));
    EXPECT_EQ("1E20", FloatToStr(1e20));
    EXPECT_EQ("1.5E-7", FloatToStr(1.5e-7));
    EXPECT_EQ("0.1", FloatToStr(0.1));
    EXPECT_EQ("0", FloatToStr(0));
    EXPECT_EQ("1.2E3", FloatToStrF(1234, ffGeneral, 2, 0));
    EXPECT_EQ("NAN", FloatToStr(NAN));
    EXPECT_EQ("-INF", FloatToStr(-INFINITY));
}

TEST(SysUtilsFloats, FormatFloatPatterns)
{
    EXPECT_EQ("2.50", FormatFloat("0.00", 2.5));
    EXPECT_EQ("-2.50", FormatFloat("0.00", -2.5));
    EXPECT_EQ(".5", FormatFloat("#.##", 0.5));
    EXPECT_EQ("007", FormatFloat("000", 7));
    EXPECT_EQ("12,345.7", FormatFloat("#,##0.0", 12345.67));
    EXPECT_EQ("50 %", FormatFloat("0 \"%\"", 50));
    EXPECT_EQ("(3.00)", FormatFloat("0.00;(0.00)", -3));
    EXPECT_EQ("zero", FormatFloat("0.0;-0.0;\"zero\"", 0.01));
    EXPECT_EQ("1.50E+03", FormatFloat("0.00E+00", 1500));
    EXPECT_EQ("1234.5", FormatFloat("", 1234.5));
}

TEST(SysUtilsFloats, FormatAndBankersRounding)
{
    EXPECT_EQ("a 5 x   2.50", Format("a %d %s %6.2f", 5, "x", 2.5));
    EXPECT_EQ(2, RoundBankers(2.5));
    EXPECT_EQ(4, RoundBankers(3.5));
    EXPECT_EQ(-2, RoundBankers(-2.5));
    EXPECT_EQ(3, RoundBankers(2.51));
    EXPECT_THROW(RoundBankers(3e9), ERangeError);
    EXPECT_THROW(RoundBankers(NAN), ERangeError);
}

TEST(SysUtilsText, CaseAndCompare)
{
    EXPECT_EQ("ab", Trim("  ab\t"));
    EXPECT_EQ("AB", UpperCase("aB"));
    EXPECT_EQ(0, AnsiCompareText("Hello", "hELLO"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_GT(CompareStr("a", "B"), 0);
    EXPECT_TRUE(SameText("x", "X"));
}

TEST(SysUtilsPaths, WindowsAndForwardSeparators)
{
    EXPECT_EQ("b.txt", ExtractFileName("C:\\a\\b.txt"));
    EXPECT_EQ("b.txt", ExtractFileName("C:/a/b.txt"));
    EXPECT_EQ("b.txt", ExtractFileName("C:b.txt"));
    EXPECT_EQ("C:\\a\\", ExtractFilePath("C:\\a\\b.txt"));
    EXPECT_EQ("", ExtractFilePath("b.txt"));
    EXPECT_EQ("C:\\a", ExtractFileDir("C:\\a\\b.txt"));
    EXPECT_EQ("C:\\", ExtractFileDir("C:\\b.txt"));
    EXPECT_EQ("\\", ExtractFileDir("\\b.txt"));
    EXPECT_EQ(".txt", ExtractFileExt("C:\\a.d\\b.txt"));
    EXPECT_EQ("", ExtractFileExt("C:\\a.d\\b"));
    EXPECT_EQ("C:\\a.d\\b.bmp", ChangeFileExt("C:\\a.d\\b", ".bmp"));
    EXPECT_EQ("b", ChangeFileExt("b.tar", ""));
    EXPECT_EQ("C:\\a\\", IncludeTrailingBackslash("C:\\a"));
    EXPECT_EQ("C:/a/", IncludeTrailingBackslash("C:/a/"));
    EXPECT_EQ("C:\\a", ExcludeTrailingBackslash("C:\\a\\"));
}

TEST(SysUtilsPaths, MinimizeNameShortensFromTheLeft)
{
    AnsiString path("C:\\Program Files\\Kestrel\\fonts\\big.fnt");
    EXPECT_EQ(path, MinimizeName(path, 100));
    EXPECT_EQ("C:\\...\\Kestrel\\fonts\\big.fnt", MinimizeName(path, 28));
    EXPECT_EQ("C:\\...\\fonts\\big.fnt", MinimizeName(path, 20));
    EXPECT_EQ("C:\\...\\big.fnt", MinimizeName(path, 14));
    EXPECT_EQ("...\\big.fnt", MinimizeName(path, 12));
    EXPECT_EQ("big.f...", MinimizeName(path, 8));
    EXPECT_EQ("\\\\srv\\share\\...\\big.fnt", MinimizeName("\\\\srv\\share\\deep\\er\\big.fnt", 24));
    for (int n = 0; n < 45; n++) EXPECT_LE(MinimizeName(path, n).Length(), n);
}

TEST(SysUtilsDates, EncodeDecodeRoundTrip)
{
    EXPECT_EQ(0.0, EncodeDate(1899, 12, 30));
    EXPECT_EQ(36526.0, EncodeDate(2000, 1, 1));
    EXPECT_EQ(-693593.0, EncodeDate(1, 1, 1));
    EXPECT_THROW(EncodeDate(2001, 2, 29), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    for (TDateTime d = -693593; d < 2958466; d += 997) {
        int y, m, day;
        DecodeDate(d, y, m, day);
        ASSERT_EQ(d, EncodeDate(y, m, day));
    }
    int h, n, s, ms;
    DecodeTime(EncodeTime(13, 45, 7, 250), h, n, s, ms);
    EXPECT_EQ(13, h);
    EXPECT_EQ(45, n);
    EXPECT_EQ(7, s);
    EXPECT_EQ(250, ms);
    EXPECT_EQ(7, DayOfWeek(0));  // a Saturday
    EXPECT_EQ(7, DayOfWeek(EncodeDate(2000, 1, 1)));
    EXPECT_THROW(DayOfWeek(1e12), EConvertError);
}

TEST(SysUtilsDates, FormatDateTimeTokens)
{
    TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0);
    EXPECT_EQ("03/05/2024 14:07", FormatDateTime("mm/dd/yyyy hh:nn", t));
    EXPECT_EQ("3/5/2024", FormatDateTime("ddddd", t));
    EXPECT_EQ("Tuesday, March 5, 2024", FormatDateTime("dddddd", t));
    EXPECT_EQ("2:07 PM", FormatDateTime("t", t));
    EXPECT_EQ("2:07:09 PM", FormatDateTime("tt", t));
    EXPECT_EQ("14:07", FormatDateTime("hh:mm", t));  // m after h: minutes
    EXPECT_EQ("Tue 05-Mar-24 pm", FormatDateTime("ddd dd-mmm-yy am/pm", t));
    EXPECT_EQ("at 2", FormatDateTime("'at' h a/p", t).SubString(1, 4));
    EXPECT_EQ("3/5/2024 2:07:09 PM", FormatDateTime("c", t));
    EXPECT_EQ("3/5/2024", FormatDateTime("c", EncodeDate(2024, 3, 5)));
    // Just before midnight rounds to the next day, never "24:00".
    EXPECT_EQ("3/6/2024 00:00", FormatDateTime("m/d/yyyy hh:nn", EncodeDate(2024, 3, 5) + 0.9999999999));
}

TEST(SysUtilsDates, SelfReferringSettingsDoNotRecurse)
{
    AnsiString keep = ShortDateFormat;
    ShortDateFormat = "ddddd";
    AnsiString text = FormatDateTime("ddddd", 0);
    ShortDateFormat = keep;
    EXPECT_EQ("", text);
}
