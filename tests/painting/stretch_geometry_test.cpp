// Stretching a picture: the sizes it may take, and mirrored results that
// keep pixels whose value is the brush key's.
#include <gtest/gtest.h>

#include <cmath>

#include "stretch_geometry.h"

namespace {

TEST(StretchGeometry, SidesAPictureMayTake)
{
    const struct {
        double size;
        bool ok;
    } cases[] = {{1, true},     {0, false},     {0.4, false},    {0.5, true},      {-1, true},
                 {-16384, true}, {16384, true}, {16384.6, false}, {1e9, false},    {NAN, false},
                 {INFINITY, false}};
    for (const auto& c : cases) EXPECT_EQ(StretchSideOk(c.size), c.ok) << c.size;
}

TEST(StretchGeometry, NegativeSidesMirror)
{
    Buffer src, out;
    src.Alloc(Pair<int>{3, 2});
    for (int i = 0; i < 6; ++i) src.pixels[i] = 0x01000000u + unsigned(i);
    StretchPicture(src, out, -3, 2, false);
    ASSERT_EQ(out.Width(), 3);
    // Flag bytes are picture content here: carried, not taken as a key.
    EXPECT_EQ(*out.At(0, 0), 0x01000002u);
    EXPECT_EQ(*out.At(2, 1), 0x01000003u);
    EXPECT_EQ(*out.At(2, 0), 0x01000000u);
    StretchPicture(src, out, 6, -4, false);
    ASSERT_EQ(out.Height(), 4);
    EXPECT_EQ(*out.At(0, 0), 0x01000003u);
    EXPECT_EQ(*out.At(5, 3), 0x01000002u);
}

}  // namespace
