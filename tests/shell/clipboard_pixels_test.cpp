// A picture as the clipboard's bitmap: the rows go bottom-up, and the
// selected shape travels as the key.
#include <cstring>

#include "../pixmill/format_fixture.h"
#include "clipboard_pixels.h"

using namespace format_fixture;

namespace {

const unsigned long Sel = 0x04000000, Key = 0x01000000;

// 3x2 at (10, 20); the middle column is unselected.
struct Picture {
    unsigned long px[6] = {Sel | 0x112233, 0x445566, Sel | 0x000000,
                           Sel | 0x778899, 0xAABBCC, Sel | 0xDDEEFF};
    Buffer b;
    Picture()
    {
        b.Alloc(Pair<int>{3, 2}, px, 0);
        b.left = 10, b.right = 12, b.top = 20, b.bottom = 21;
    }
};

TEST(ClipboardPixels, CopiesRowsBottomUpWithTheKeyOutsideTheSelection)
{
    Picture pic;
    Bytes block = ClipboardDibFromPicture(pic.b, Rect{0, 0, 99, 99}, false);
    ASSERT_EQ(40u + 24u, block.size());
    EXPECT_EQ(40u, Get32(block, 0));
    EXPECT_EQ(3u, Get32(block, 4));
    EXPECT_EQ(2u, Get32(block, 8));
    EXPECT_EQ(0x200001u, Get32(block, 12));  // one plane, 32 bits
    for (size_t at = 16; at < 40; at += 4) EXPECT_EQ(0u, Get32(block, at));
    const unsigned long rows[6] = {0x778899, Key, 0xDDEEFF, 0x112233, Key, 0x000000};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(rows[i], Get32(block, 40 + 4 * i)) << i;
}

TEST(ClipboardPixels, CopiesEverythingForTheBrushAndNothingOutside)
{
    Picture pic;
    Bytes block = ClipboardDibFromPicture(pic.b, Rect{11, 21, 11, 21}, true);
    ASSERT_EQ(44u, block.size());
    EXPECT_EQ(0xAABBCCu, Get32(block, 40));
    EXPECT_TRUE(ClipboardDibFromPicture(pic.b, Rect{13, 20, 20, 21}, false).empty());
}

}  // namespace
