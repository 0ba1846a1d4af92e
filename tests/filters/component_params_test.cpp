#include "component_params.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::vector<ComponentParam> Parse(const std::vector<std::string>& declarations)
{
    std::vector<ComponentParam> params;
    for (const std::string& d : declarations) {
        ComponentParam p;
        if (ParseComponentParam(d, p))
            params.push_back(p);
    }
    return params;
}

}  // namespace

TEST(ComponentParams, DeclarationsThatCreateNoParameter)
{
    const char* bad[] = {"I,Amt,0,100", "X,foo,1", "I,", "", "F,Amt,2,0.5,0,1", "C,Flag,",
                         "L,Mode,3,a,b,c",  // names run off the text
                         "L,Mode,0,1,", "L,Mode,-2,a,1,", "I2Hid,0,9,3", "O,Col,zz,", "P,Pos,5"};
    for (const char* d : bad) {
        ComponentParam p;
        EXPECT_FALSE(ParseComponentParam(d, p)) << d;
    }
}

TEST(ComponentParams, KindsValuesAndSizes)
{
    const struct {
        const char* declaration;
        int kind, value, bytes, height;
    } cases[] = {
        {"I,Amt,0,100,50", CPK_INT, 50, 4, 25},  {"F,Amt,2,0.5,-1,1.5,0.25", CPK_FLOAT, 0, 8, 25},
        {"B,Reset", CPK_BUTTON, 0, 0, 26},       {"C,Flag,7", CPK_CHECK, 1, 4, 23},
        {"S,Size,1,64,8", CPK_SCROLL, 8, 4, 22}, {"L,Mode,3,a,b,c,2,", CPK_LIST, 2, 4, 26},
        {"L,Mode,2,a,b,9,", CPK_LIST, 2, 4, 26}, {"O,Col,ff8000,", CPK_COLOUR, 0xFF8000, 4, 27},
        {"P,Pos,32767,70000", CPK_POINT, static_cast<int>(0xFFFF7FFFu), 4, 26},
        {"G,Pic,2", CPK_PICTURE, 2, 4, 94},
    };
    for (const auto& c : cases) {
        ComponentParam p;
        ASSERT_TRUE(ParseComponentParam(c.declaration, p)) << c.declaration;
        EXPECT_EQ(p.kind, c.kind) << c.declaration;
        EXPECT_EQ(p.value, c.value) << c.declaration;
        EXPECT_EQ(ComponentParamBytes(p.kind), c.bytes) << c.declaration;
        EXPECT_EQ(ComponentParamRowHeight(p.kind), c.height) << c.declaration;
    }
    ComponentParam f;
    ASSERT_TRUE(ParseComponentParam("F,Amt,2,0.5,-1,1.5,0.25", f));
    EXPECT_EQ(f.decimals, 2);
    EXPECT_DOUBLE_EQ(f.realMinimum, -1);
    EXPECT_DOUBLE_EQ(f.realMaximum, 1.5);
    EXPECT_DOUBLE_EQ(f.realValue, 0.25);
    ASSERT_TRUE(ParseComponentParam("F,Amt,3,1e-3,-2.5E1,5e+2,1", f));  // exponents, as the C library reads them
    EXPECT_DOUBLE_EQ(f.increment, 0.001);
    EXPECT_DOUBLE_EQ(f.realMinimum, -25);
    EXPECT_DOUBLE_EQ(f.realMaximum, 500);
    ComponentParam l;
    ASSERT_TRUE(ParseComponentParam("L,Mode,3,a,b,c,2,", l));
    EXPECT_EQ(l.items, (std::vector<std::string>{"a", "b", "c"}));
}

TEST(ComponentParams, LevelDigitHidesButKeepsBytes)
{
    std::vector<ComponentParam> params = Parse({"I2,Hid,0,9,3", "I3,Never,0,9,4", "C,Flag,1"});
    ASSERT_EQ(params.size(), 3u);
    EXPECT_TRUE(ComponentParamHidden(params[0], 0));
    EXPECT_FALSE(ComponentParamHidden(params[0], 1));
    EXPECT_TRUE(ComponentParamHidden(params[1], 1));
    EXPECT_FALSE(ComponentParamHidden(params[2], 0));
    EXPECT_EQ(ComponentValueOffset(params, 2), 8);
}

TEST(ComponentParams, ValueBlockPacksWithoutPadding)
{
    std::vector<ComponentParam> params = Parse({"I,Amt,0,100,50", "I,Short,0,100", "F,R,1,0.5,0,9,2.5", "B,Go",
                                                "P,Pos,32767,1"});
    unsigned char block[COMPONENT_VALUE_BLOCK];
    ASSERT_EQ(PackComponentDefaults(params, block), 16);
    unsigned char expected[COMPONENT_VALUE_BLOCK] = {50};
    const double r = 2.5;
    std::memcpy(expected + 4, &r, 8);
    const unsigned char point[4] = {0xFF, 0x7F, 1, 0};
    std::memcpy(expected + 12, point, 4);
    EXPECT_EQ(std::memcmp(block, expected, sizeof block), 0);
}

TEST(ComponentParams, DescriptorDeclaresInNumberOrder)
{
    const std::string descriptor = "Ver=2\rPar10=G,Pic,1\rPar2=I,Short,0,1\rPar1=C,Flag,1\rPar3=B,Go";
    std::vector<ComponentParam> params = ParseComponentParams(descriptor);
    ASSERT_EQ(params.size(), 3u);
    EXPECT_EQ(params[0].name, "Flag");
    EXPECT_EQ(params[1].name, "Go");
    EXPECT_EQ(params[2].name, "Pic");
    // A component calls its parameters by their line's number, gaps included.
    const struct {
        int number, index;
    } calls[] = {{1, 0}, {2, -1}, {3, 1}, {4, -1}, {10, 2}, {0, -1}, {11, -1}};
    for (const auto& c : calls)
        EXPECT_EQ(ComponentParamIndex(params, c.number), c.index) << c.number;
}

TEST(ComponentParams, PointFractions)
{
    EXPECT_EQ(PixelToFraction(50, 101), 32767);
    EXPECT_EQ(FractionToPixelRounded(32767, 101), 50);
    EXPECT_EQ(FractionToPixelTruncated(32767, 101), 49);
    EXPECT_EQ(PixelToFraction(100, 101), 65535);
    for (int extent : {0, 1}) {
        EXPECT_EQ(PixelToFraction(0, extent), 0);
        EXPECT_EQ(FractionToPixelRounded(65535, extent), 0);
        EXPECT_EQ(FractionToPixelTruncated(65535, extent), 0);
    }
    ComponentPointerRecord press = MakeComponentPointer(50, 0, 101, 1, true, 1);
    const unsigned char expected[24] = {0xFF, 0x7F, 0, 0, 0, 0, 0, 0, 101, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    EXPECT_EQ(std::memcmp(&press, expected, sizeof expected), 0);
}
