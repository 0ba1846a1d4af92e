// The host callbacks a filter calls, without a filter: handles the filter
// passes back are checked against the run's table, and colour conversions
// stay within 0..255.

#include <gtest/gtest.h>

#include "plugin_services.h"

namespace {

class PlugInServices : public ::testing::Test {
protected:
    PlugInRun run;
    void SetUp() override { CurrentPlugInRun = &run; }
    void TearDown() override { CurrentPlugInRun = nullptr; }
};

TEST_F(PlugInServices, HandlesNotFromTheTableAreRefused)
{
    HandleProcs& p = HostHandleProcs;
    Handle h = p.newProc(100);
    ASSERT_NE(nullptr, h);
    char* foreignBlock = nullptr;
    Handle foreign = &foreignBlock;
    Handle inside = reinterpret_cast<Handle>(reinterpret_cast<char*>(h) + 1);
    for (Handle bad : {Handle(nullptr), foreign, inside}) {
        p.disposeProc(bad);
        EXPECT_EQ(0, p.getSizeProc(bad));
        EXPECT_NE(noErr, p.setSizeProc(bad, 10));
        EXPECT_EQ(nullptr, p.lockProc(bad, 0));
    }
    EXPECT_EQ(100, p.getSizeProc(h));
    p.disposeProc(h);
    // Freed: a second dispose or a resize must not reach the heap again.
    p.disposeProc(h);
    EXPECT_NE(noErr, p.setSizeProc(h, 10));
    EXPECT_EQ(nullptr, p.lockProc(h, 0));
}

TEST_F(PlugInServices, TheTableHoldsOnlyItsSlots)
{
    for (int i = 0; i < PlugInHandleSlots; i++) ASSERT_NE(nullptr, HostHandleProcs.newProc(1)) << i;
    EXPECT_EQ(nullptr, HostHandleProcs.newProc(1));
}

TEST_F(PlugInServices, ColourConversions)
{
    enum { RGB = plugIncolorServicesRGBSpace, CMYK = plugIncolorServicesCMYKSpace, Gray = plugIncolorServicesGraySpace };
    const struct {
        int16_t from, to;
        int16_t in[4], out[4];
    } cases[] = {
        {RGB, CMYK, {255, 255, 255, 0}, {0, 0, 0, 0}},
        {RGB, CMYK, {0, 0, 0, 0}, {255, 255, 255, 0}},
        {RGB, CMYK, {200, 100, 40, 0}, {55, 155, 215, 0}},
        {CMYK, RGB, {0, 0, 0, 0}, {255, 255, 255, 0}},
        {CMYK, RGB, {55, 155, 215, 0}, {200, 100, 40, 0}},
        {CMYK, RGB, {100, 200, 0, 100}, {55, 0, 155, 100}},
        {RGB, Gray, {10, 20, 30, 0}, {17, 20, 30, 0}},
        {RGB, RGB, {-5, 300, 7, 0}, {0, 255, 7, 0}},
    };
    for (const auto& c : cases) {
        ColorServicesInfo info = {};
        info.infoSize = sizeof info;
        info.selector = plugIncolorServicesConvertColor;
        info.sourceSpace = c.from;
        info.resultSpace = c.to;
        for (int i = 0; i < 4; i++) info.colorComponents[i] = c.in[i];
        ASSERT_EQ(noErr, HostColorServices(&info));
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(c.out[i], info.colorComponents[i]) << c.from << "->" << c.to << " component " << i << " of "
                                                          << c.in[0] << "," << c.in[1] << "," << c.in[2];
    }
}

}  // namespace
