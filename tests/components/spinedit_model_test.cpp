// The spin edit's text rules: parsing, limits, formatting, keystrokes and
// the halves of its button.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "exceptions.h"
#include "spinedit_model.h"
#include "sysutils.h"

TEST(SpinEditValue, EqualLimitsMeanNoLimit)
{
    EXPECT_EQ(99, ClampSpinValue(150, 1, 99));
    EXPECT_EQ(1, ClampSpinValue(0, 1, 99));
    EXPECT_EQ(50, ClampSpinValue(50, 1, 99));
    EXPECT_EQ(150, ClampSpinValue(150, 0, 0));
    EXPECT_EQ(-7, ClampSpinValue(-7, 5, 5));
}

TEST(SpinEditValue, ParsesIntegersAndFloatsByType)
{
    long double v = -1;
    EXPECT_TRUE(ParseSpinText("150", vtInt, v));
    EXPECT_EQ(150, v);
    EXPECT_TRUE(ParseSpinText("-12", vtInt, v));
    EXPECT_EQ(-12, v);
    EXPECT_FALSE(ParseSpinText("abc", vtInt, v));
    EXPECT_FALSE(ParseSpinText("2.5", vtInt, v));
    EXPECT_FALSE(ParseSpinText("", vtInt, v));
    EXPECT_FALSE(ParseSpinText("99999999999", vtInt, v));  // beyond the integer type
    EXPECT_TRUE(ParseSpinText("2.5", vtFloat, v));
    EXPECT_EQ(2.5, v);
    EXPECT_FALSE(ParseSpinText("2.5.1", vtFloat, v));
    EXPECT_FALSE(ParseSpinText("-", vtFloat, v));
}

TEST(SpinEditValue, FloatsFollowTheDecimalSeparator)
{
    char saved = DecimalSeparator;
    DecimalSeparator = ',';
    long double v = 0;
    EXPECT_TRUE(ParseSpinText("3,25", vtFloat, v));
    EXPECT_EQ(3.25, v);
    EXPECT_EQ("3,00", FormatSpinValue(3, vtFloat, 2));
    DecimalSeparator = saved;
    EXPECT_EQ("3.00", FormatSpinValue(3, vtFloat, 2));
}

TEST(SpinEditValue, IntegersRoundHalvesToEven)
{
    EXPECT_EQ("2", FormatSpinValue(2.5, vtInt, 2));
    EXPECT_EQ("4", FormatSpinValue(3.5, vtInt, 2));
    EXPECT_EQ("-2", FormatSpinValue(-2.5, vtInt, 2));
    EXPECT_EQ("3", FormatSpinValue(2.6, vtInt, 2));
    EXPECT_EQ("0", FormatSpinValue(0, vtInt, 0));
    EXPECT_EQ("10000000000", FormatSpinValue(1e10, vtInt, 0));
}

TEST(SpinEditValue, FixedNotationWithTheDecimals)
{
    EXPECT_EQ("3.00", FormatSpinValue(3, vtFloat, 2));
    EXPECT_EQ("0.1", FormatSpinValue(0.1, vtFloat, 1));
    EXPECT_EQ("-1.250", FormatSpinValue(-1.25, vtFloat, 3));
    EXPECT_EQ("4", FormatSpinValue(3.5, vtFloat, 0));  // ffFixed rounds halves away from zero
    EXPECT_THROW(FormatSpinValue(std::numeric_limits<double>::quiet_NaN(), vtInt, 0), EConvertError);
    EXPECT_THROW(FormatSpinValue(std::numeric_limits<double>::infinity(), vtFloat, 2), EConvertError);
}

TEST(SpinEditValue, KeystrokesThatCanBelongToANumber)
{
    for (char c : {'0', '9', '+', '-', '\b', '\r', '\x1b', '\x01'}) EXPECT_TRUE(IsSpinChar(c, vtInt, true, '.')) << int(c);
    for (char c : {'a', ' ', '.', ',', 'e', '\x7f', '\xe9'}) EXPECT_FALSE(IsSpinChar(c, vtInt, true, '.')) << int(c);
    EXPECT_TRUE(IsSpinChar('.', vtFloat, true, '.'));
    EXPECT_FALSE(IsSpinChar(',', vtFloat, true, '.'));
    EXPECT_TRUE(IsSpinChar(',', vtFloat, true, ','));
    // Only stepping when the editor is off.
    EXPECT_FALSE(IsSpinChar('7', vtInt, false, '.'));
    EXPECT_FALSE(IsSpinChar('\b', vtInt, false, '.'));
    EXPECT_TRUE(IsSpinChar('\r', vtInt, false, '.'));
    EXPECT_TRUE(IsSpinChar('\x03', vtInt, false, '.'));
}

TEST(SpinEditValue, TheDiagonalSplitsTheButton)
{
    EXPECT_EQ(shTop, SpinHalfAt(0, 0, 16, 16));
    EXPECT_EQ(shTop, SpinHalfAt(5, 5, 16, 16));
    EXPECT_EQ(shBottom, SpinHalfAt(12, 12, 16, 16));
    EXPECT_EQ(shTop, SpinHalfAt(8, 8, 16, 16));  // on the diagonal
    EXPECT_EQ(shBottom, SpinHalfAt(9, 8, 16, 16));
    EXPECT_EQ(shBottom, SpinHalfAt(2, 15, 16, 16));
    EXPECT_EQ(shTop, SpinHalfAt(15, 1, 16, 16));
    // Wide buttons follow their own diagonal.
    EXPECT_EQ(shBottom, SpinHalfAt(30, 6, 40, 10));
    EXPECT_EQ(shTop, SpinHalfAt(10, 6, 40, 10));
    EXPECT_EQ(shTop, SpinHalfAt(1, 1, 0, 0));
}

TEST(SpinEditValue, MinimumHeight)
{
    EXPECT_EQ(21, SpinEditMinHeight(1, 16, 13));
    EXPECT_EQ(4 + 20 + 4 + 1, SpinEditMinHeight(1, 16, 20));
}
