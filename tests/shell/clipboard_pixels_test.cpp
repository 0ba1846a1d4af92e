// A picture through the clipboard's bitmap and back through the decoder:
// the rows go bottom-up, and the selected shape survives as the key.
#include <cstring>

#include "../pixmill/format_fixture.h"
#include "bmpfile.h"
#include "clipboard_dib.h"
#include "clipboard_pixels.h"
#include "fixed_memory_stream.h"

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

TEST(ClipboardPixels, PastedBackTheKeyMarksTheUnselectedShape)
{
    Picture pic;
    Bytes block = ClipboardDibFromPicture(pic.b, pic.b.GetRect(), false);
    block[40 + 3] = 0x7F;  // alpha some other program left in a pixel
    ClipboardDibLayout layout;
    ASSERT_TRUE(MeasureClipboardDib(block.data(), int(block.size()), layout));
    TFixedMemoryStream bits(block.data() + layout.infoBytes, layout.bitsBytes);
    Buffer pasted;
    ASSERT_TRUE(BitmapFromStream(pasted, reinterpret_cast<BITMAPINFO*>(block.data()), &bits, nullptr));
    RestoreClipboardKeys(pasted, block.data() + layout.infoBytes, layout.bitsBytes, true);
    const unsigned long want[6] = {0x112233, Key, 0x000000, 0x778899, Key, 0xDDEEFF};
    ASSERT_EQ(3, pasted.Width());
    ASSERT_EQ(2, pasted.Height());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(want[y * 3 + x], pasted.pixels[y * pasted.stride + x]) << x << "," << y;
}

// How the system hands over a device-dependent bitmap: bit fields, with the
// three masks between the header and the rows.
TEST(ClipboardPixels, BitFieldRowsStartAfterTheMasks)
{
    Bytes block(40);
    Set32(block, 0, 40);
    Set32(block, 4, 2);
    Set32(block, 8, 1);
    Set32(block, 12, 0x200001);
    Set32(block, 16, 3);
    for (unsigned v : {0xFF0000u, 0xFF00u, 0xFFu, 0x123456u, 0x654321u}) Put32(block, v);
    ClipboardDibLayout layout;
    ASSERT_TRUE(MeasureClipboardDib(block.data(), int(block.size()), layout));
    TFixedMemoryStream bits(block.data() + layout.infoBytes, layout.bitsBytes);
    Buffer pasted;
    ASSERT_TRUE(BitmapFromStream(pasted, reinterpret_cast<BITMAPINFO*>(block.data()), &bits, nullptr));
    ASSERT_EQ(2, pasted.Width());
    EXPECT_EQ(0x123456u, pasted.pixels[0] & 0xFFFFFF);
    EXPECT_EQ(0x654321u, pasted.pixels[1] & 0xFFFFFF);
}

}  // namespace
