#include "component_setparam.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

ComponentParam Param(const char* declaration)
{
    ComponentParam p;
    EXPECT_TRUE(ParseComponentParam(declaration, p)) << declaration;
    return p;
}

int Slot(const unsigned char* slot)
{
    int v;
    std::memcpy(&v, slot, sizeof v);
    return v;
}

}  // namespace

TEST(ComponentSetParam, ValuesStayWithinWhatTheControlCanShow)
{
    const struct {
        const char* declaration;
        int start, sent, changed, kept;
    } cases[] = {
        {"I,Amt,0,100,50", 50, 70, true, 70},        {"I,Amt,0,100,50", 50, 500, true, 100},
        {"S,Size,1,64,8", 8, -5, true, 1},            {"C,Flag,0", 0, 9, true, 1},
        {"L,Mode,3,a,b,c,2,", 2, 3, true, 3},         {"L,Mode,3,a,b,c,2,", 2, 4, false, 2},
        {"L,Mode,3,a,b,c,2,", 2, 0, false, 2},        {"G,Pic,1", 1, 2, true, 2},
        {"G,Pic,1", 1, 3, false, 1},                  {"G,Pic,1", 1, 0, false, 1},
        {"O,Col,0,", 0, static_cast<int>(0xFF123456), true, 0x123456},
    };
    for (const auto& c : cases) {
        ComponentParam p = Param(c.declaration);
        unsigned char slot[4];
        std::memcpy(slot, &c.start, 4);
        EXPECT_EQ(SetComponentParam(p, slot, CSP_VALUE, c.sent, 0, 2), c.changed) << c.declaration << " " << c.sent;
        EXPECT_EQ(Slot(slot), c.kept) << c.declaration << " " << c.sent;
    }
}

TEST(ComponentSetParam, NewLimitsHoldTheCurrentValue)
{
    ComponentParam i = Param("I,Amt,0,100,50");
    unsigned char slot[8];
    const int fifty = 50;
    std::memcpy(slot, &fifty, 4);
    EXPECT_TRUE(SetComponentParam(i, slot, CSP_MAXIMUM, 20, 0, 1));
    EXPECT_EQ(i.maximum, 20);
    EXPECT_EQ(Slot(slot), 20);

    ComponentParam f = Param("F,R,1,0.5,0,9,2.5");
    const double v = 2.5;
    std::memcpy(slot, &v, 8);
    EXPECT_TRUE(SetComponentParam(f, slot, CSP_MINIMUM, 0, 3.0, 1));
    double now;
    std::memcpy(&now, slot, 8);
    EXPECT_DOUBLE_EQ(now, 3.0);
    EXPECT_FALSE(SetComponentParam(f, slot, CSP_DECIMALS, 40, 0, 1));
    EXPECT_EQ(f.decimals, 15);
}
