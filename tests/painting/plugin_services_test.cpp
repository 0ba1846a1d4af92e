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

// A 3x2 plane sampled at 16.16 points: bilinear weighting per axis, none
// past the last row or column, nearest sample with method 0.
TEST_F(PlugInServices, Interpolate2DWeighsNeighboursPerAxis)
{
    unsigned char src[2][3] = {{0, 100, 200}, {40, 140, 240}};
    PSImagePlane in = {src, {0, 0, 2, 3}, 3, 1};
    const struct {
        Fixed y, x;
        int16_t method;
        int want;
    } cases[] = {
        {0, 0x8000, 1, 50},             // halfway along the first row
        {0x8000, 0, 1, 20},             // halfway down the first column
        {0x8000, 0x8000, 1, 70},        // the middle of four
        {0x4000, 0x18000, 1, 160},      // (150 * 3 + 190) / 4
        {0x10000, 0x28000, 1, 240},     // last row and column: no neighbour
        {0x8000, 0x8000, 0, 140},       // nearest: rounds to (1, 1)
        {0x7FFF, 0x17FFF, 0, 100},      // nearest: rounds to (0, 1)
        {-0x30000, 0x90000, 0, 200},    // clamped into the plane
    };
    for (const auto& c : cases) {
        unsigned char out = 0;
        PSImagePlane dst = {&out, {0, 0, 1, 1}, 1, 1};
        PSRect area = {0, 0, 1, 1};
        Fixed coords[2] = {c.y, c.x};
        ASSERT_EQ(noErr, HostImageServicesProcs.interpolate2DProc(&in, &dst, &area, coords, c.method));
        EXPECT_EQ(c.want, out) << c.y << "," << c.x << " method " << c.method;
    }
    PSImagePlane empty = {src, {0, 0, 0, 3}, 3, 1};
    unsigned char out = 0;
    PSImagePlane dst = {&out, {0, 0, 1, 1}, 1, 1};
    PSRect area = {0, 0, 1, 1};
    Fixed coords[2] = {0, 0};
    EXPECT_NE(noErr, HostImageServicesProcs.interpolate2DProc(&empty, &dst, &area, coords, 1));
}

}  // namespace
