#include <gtest/gtest.h>

#include "controls.h"

namespace {

TMessage Make(UINT msg, WPARAM w, LPARAM l) { return TMessage{msg, w, l, 0}; }

}  // namespace

TEST(MessageParams, PointHalvesAreSigned)
{
    // A captured pointer left of or above the window, and the far corner.
    struct Case {
        LPARAM lParam;
        int x, y;
    } cases[] = {
        {MAKELPARAM(10, 20), 10, 20},
        {MAKELPARAM(static_cast<WORD>(-5), 7), -5, 7},
        {MAKELPARAM(3, static_cast<WORD>(-32768)), 3, -32768},
        {MAKELPARAM(32767, 0xFFFF), 32767, -1},
    };
    for (const Case& c : cases) {
        POINT p = MessagePoint(Make(WM_MOUSEMOVE, MK_LBUTTON, c.lParam));
        EXPECT_EQ(c.x, p.x) << c.lParam;
        EXPECT_EQ(c.y, p.y) << c.lParam;
    }
}

TEST(MessageParams, ScrollCodeKeyAndCharIgnoreTheOtherBits)
{
    EXPECT_EQ(SB_THUMBPOSITION, MessageScrollCode(Make(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 300), 0)));
    EXPECT_EQ(VK_ESCAPE, MessageKey(Make(WM_KEYDOWN, VK_ESCAPE, 0x00010001)));
    EXPECT_EQ('\xE9', MessageChar(Make(WM_CHAR, 0xE9, 1)));
}
