// Whole-buffer operations: Bool, ChColor, XChColor, CheckMask, the two
// outlines and VClr, all on views inside a guard border.
#include <gtest/gtest.h>

#include <string>

#include "buffer.h"
#include "draw_fixture.h"

namespace {

// The view as one digit per pixel ('?' above 9), rows separated by '|'.
std::string Digits(Canvas& c)
{
    std::string s;
    for (int y = c.view.top; y <= c.view.bottom; ++y) {
        if (y > c.view.top) s += '|';
        for (int x = c.view.left; x <= c.view.right; ++x) s += c.Px(x, y) < 10 ? char('0' + c.Px(x, y)) : '?';
    }
    return s;
}

void Load(Canvas& c, const char* digits)
{
    for (int y = c.view.top; y <= c.view.bottom; ++y, ++digits)
        for (int x = c.view.left; x <= c.view.right; ++x, ++digits) c.Px(x, y) = (unsigned long)(*digits - '0');
}

}  // namespace

TEST(Bool, EachOperationAndShiftCount)
{
    Canvas c(3, 2);
    auto run = [&](int op, unsigned long v) {
        c.Fill(0xAA123456);
        c.view.Bool(op, v);
        EXPECT_TRUE(c.GuardIntact());
        return c.Px(5, 4);
    };
    EXPECT_EQ(0xAA020406u, run(1, 0xFF0F0F0F));
    EXPECT_EQ(0xAA12345Fu, run(2, 0x0000000F));
    EXPECT_EQ(0x55123456u, run(3, 0xFF000000));
    EXPECT_EQ(0x00AA1234u, run(4, (unsigned long)-8));  // R into G, G into B, flags cleared
    EXPECT_EQ(0x12345600u, run(4, 8));
    EXPECT_EQ(0x542468ACu, run(4, 33));                  // counts are taken modulo 32
    EXPECT_EQ(0x55091A2Bu, run(4, (unsigned long)-33));
    EXPECT_EQ(0xAA123456u, run(4, 0));
    EXPECT_EQ(0xAA123456u, run(4, 0x80000000));  // -2^31: a right shift by 0
    EXPECT_EQ(0xAA123456u, run(7, 0xFFFFFFFF));
    EXPECT_EQ(0xAA123456u, run(0, 0));
}

TEST(ChColor, ReplacesAndExchanges)
{
    Canvas c(4, 2);
    Load(c, "1231|3210");
    c.view.ChColor(1, 7);
    EXPECT_EQ("7237|3270", Digits(c));

    Load(c, "1231|3210");
    c.view.XChColor(2, 3);
    EXPECT_EQ("1321|2310", Digits(c));
    c.view.XChColor(1, 1);
    EXPECT_EQ("1321|2310", Digits(c));
    EXPECT_TRUE(c.GuardIntact());
}

TEST(CheckMask, LooksOnlyInsideTheView)
{
    Canvas c(4, 3);
    c.Fill(0x00FFFFFF);
    EXPECT_FALSE(c.view.CheckMask(0xFF000000));  // the guard around it has these bits
    EXPECT_FALSE(c.view.CheckMask(0));
    c.Px(6, 5) = 0x04FFFFFF;
    EXPECT_TRUE(c.view.CheckMask(0x04000000));
    EXPECT_FALSE(c.view.CheckMask(0x02000000));
    Buffer empty;
    EXPECT_FALSE(empty.CheckMask(0xFFFFFFFF));
}

TEST(Outline, EqualPaintsTheNeighboursOfKeyPixels)
{
    Canvas c(5, 4);
    Load(c, "10000|00000|00000|00000");
    c.view.OutlineEQ(1, 2);
    EXPECT_EQ("12000|22000|00000|00000", Digits(c));

    Load(c, "00000|00000|00000|00001");
    c.view.OutlineEQ(1, 2);
    EXPECT_EQ("00000|00000|00022|00021", Digits(c));

    // Pixels painted in this pass do not count: with colour = key the
    // outline must not spread.
    Load(c, "00000|00100|00000|00000");
    c.view.OutlineEQ(1, 1);
    EXPECT_EQ("01110|01110|01110|00000", Digits(c));

    // Pixels outside the view are not neighbours.
    Load(c, "00000|00000|00000|00000");
    c.view.OutlineEQ(Canvas::Guard, 2);
    EXPECT_EQ("00000|00000|00000|00000", Digits(c));
    EXPECT_TRUE(c.GuardIntact());
}

TEST(Outline, NotEqualPaintsKeyPixelsAroundRegions)
{
    Canvas c(5, 5);
    Load(c, "00000|03000|00000|00002|00000");
    c.view.OutlineNE(0, 2);  // 2 is the outline colour, so not a region
    EXPECT_EQ("22200|23200|22200|00002|00000", Digits(c));

    Load(c, "30000|00000|00000|00000|00003");
    c.view.OutlineNE(0, 2);
    EXPECT_EQ("32000|22000|00000|00022|00023", Digits(c));

    Load(c, "00000|00000|00000|00000|00000");
    c.view.OutlineNE(0, 2);
    EXPECT_EQ("00000|00000|00000|00000|00000", Digits(c));
    EXPECT_TRUE(c.GuardIntact());
}

TEST(VClr, PatternFromRowAndColumn)
{
    Canvas c(3, 300);  // rows past 255 carry into R
    c.Fill(0xFF0000FF);
    c.view.VClr(0x13);
    EXPECT_EQ(0x3000007Fu, c.Px(3, 3));
    EXPECT_EQ(0x3002017Fu, c.Px(5, 4));      // row 1, column 2
    EXPECT_EQ(0x3002017Fu, c.Px(4, 3 + 257));  // row 257, column 1
    EXPECT_EQ(0x3002FF7Fu, c.Px(5, 3 + 255));
    c.view.VClr(-1);
    EXPECT_EQ(0xF000003Fu, c.Px(3, 3));  // blue halved again
    EXPECT_TRUE(c.GuardIntact());
}
