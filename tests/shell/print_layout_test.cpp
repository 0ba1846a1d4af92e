// Where the picture goes on the printed page.
#include <gtest/gtest.h>

#include "print_layout.h"

namespace {

TEST(PrintLayout, ScaleAndAlignment)
{
    struct Case {
        int pageW, pageH, w, h;
        bool fit;
        int zoom;
        THorzPlace horz;
        TVertPlace vert;
        int x, y, width, height;
    } cases[] = {
        {4800, 6600, 100, 50, false, 100, hpLeft, vpTop, 0, 0, 299, 149},  // three dots a pixel
        {4800, 6600, 400, 200, true, 100, hpCenter, vpCenter, 0, 2100, 4799, 2399},
        {4800, 6600, 100, 50, false, 100, hpRight, vpBottom, 4501, 6451, 299, 149},
        {4800, 6600, 100, 50, false, 33, hpCenter, vpCenter, 2351, 3276, 98, 48},
        // Larger than the page: scaled down, never to nothing.
        {4800, 6600, 9600, 3000, true, 100, hpLeft, vpCenter, 0, 2550, 4799, 1499},
        {4800, 6600, 20000, 40000, true, 100, hpRight, vpTop, 1501, 0, 3299, 6599},
    };
    for (const Case& c : cases) {
        PrintPlacement p = PlacePicture(c.pageW, c.pageH, c.w, c.h, c.fit, c.zoom, c.horz, c.vert);
        EXPECT_EQ(c.width, p.width) << c.w << "x" << c.h;
        EXPECT_EQ(c.height, p.height) << c.w << "x" << c.h;
        EXPECT_EQ(c.x, p.x) << c.w << "x" << c.h;
        EXPECT_EQ(c.y, p.y) << c.w << "x" << c.h;
    }
}

}  // namespace
