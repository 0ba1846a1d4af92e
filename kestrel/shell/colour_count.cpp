#include "colour_count.h"

#include <cstdlib>
#include <cstring>

namespace {

const int CountShift = 5;
const unsigned long ColourMask = 0x00FFFFFF;

// Marks without clearing first, so that the rows of a view can share a pass.
int MarkNewColors(const unsigned long* pixels, unsigned char* bitmap, int count, unsigned long key, int shift)
{
    const unsigned long keyMask = (1ul << shift) - 1;
    int found = 0;
    for (int i = 0; i < count; ++i) {
        unsigned long colour = pixels[i] & ColourMask;
        if ((colour & keyMask) != key) continue;
        unsigned long bit = colour >> shift;
        unsigned char mask = static_cast<unsigned char>(1u << (bit & 7));
        unsigned char& byte = bitmap[bit >> 3];
        if (byte & mask) continue;
        byte |= mask;
        ++found;
    }
    return found;
}

size_t BitMapBytes(int shift) { return (size_t(1) << (24 - shift)) / 8; }

}  // namespace

int CountNewColors(const unsigned long* pixels, unsigned char* bitmap, int count, unsigned long key, int shift)
{
    std::memset(bitmap, 0, BitMapBytes(shift));
    return MarkNewColors(pixels, bitmap, count, key, shift);
}

int CountColors(const Buffer& picture)
{
    if (!picture.pixels || picture.Width() < 1 || picture.Height() < 1) return 0;
    unsigned char* bitmap = static_cast<unsigned char*>(std::malloc(ColourBitMapBytes));
    if (!bitmap) return 0;
    const int width = picture.Width();
    const int height = picture.Height();
    const bool contiguous = picture.stride == width;
    int total = 0;
    for (unsigned long key = 0; key < (1ul << CountShift); ++key) {
        if (contiguous) {
            // The pixel count of the largest picture (16384 x 16384) fits an int.
            total += CountNewColors(picture.pixels, bitmap, width * height, key, CountShift);
            continue;
        }
        std::memset(bitmap, 0, ColourBitMapBytes);
        for (int y = 0; y < height; ++y)
            total += MarkNewColors(picture.pixels + size_t(y) * picture.stride, bitmap, width, key, CountShift);
    }
    std::free(bitmap);
    return total;
}
