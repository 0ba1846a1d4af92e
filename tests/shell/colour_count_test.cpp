// The colour counter against an independent count (sort and unique) of the
// same pixels, over pictures that reach every pass and the flag byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <vector>

#include "../pixmill/format_fixture.h"
#include "colour_count.h"
#include "gfxfile.h"

namespace {

const unsigned long SelectedBit = 0x04000000, KeyBit = 0x01000000;

int IndependentCount(const Buffer& b)
{
    std::vector<unsigned long> colours;
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x) colours.push_back(*b.At(x, y) & 0xFFFFFF);
    std::sort(colours.begin(), colours.end());
    return int(std::unique(colours.begin(), colours.end()) - colours.begin());
}

void Fill(Buffer& b, int w, int h, const std::function<unsigned long(int, int)>& colour)
{
    b.Alloc(Pair<int>{w, h});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) *b.At(x, y) = colour(x, y);
}

unsigned long Noise(int x, int y)
{
    unsigned long s = (unsigned long)x * 73856093ul ^ (unsigned long)y * 19349663ul;
    s = s * 1103515245ul + 12345ul;
    return (s >> 3) & 0xFFFFFF;
}

}  // namespace

TEST(ColourCount, EqualsAnIndependentCount)
{
    struct Case {
        const char* name;
        int w, h;
        unsigned long (*colour)(int, int);
        int expected;  // -1: whatever the independent count says
    } cases[] = {
        {"one colour, flags set here and there", 37, 11,
         [](int x, int y) { return 0x123456ul | ((x + y) % 3 == 0 ? SelectedBit : 0) | (x == y ? KeyBit : 0); }, 1},
        {"two colours", 64, 48, [](int x, int y) { return ((x ^ y) & 4) ? 0xFFFFFFul : 0ul; }, 2},
        {"noise", 1000, 3, Noise, -1},
#ifdef _WIN32
        // Half a billion checked steps take minutes in the sanitizer build.
        {"every colour once", 4096, 4096, [](int x, int y) { return (unsigned long)(y * 4096 + x); }, 1 << 24},
#endif
        {"every pass and shift", 1024, 64, [](int x, int y) { return (unsigned long)(x * 16411 + y) & 0xFFFFFF; }, -1},
    };
    for (const Case& c : cases) {
        Buffer b;
        Fill(b, c.w, c.h, c.colour);
        int independent = IndependentCount(b);
        if (c.expected >= 0) {
            EXPECT_EQ(c.expected, independent) << c.name;
        }
        EXPECT_EQ(independent, CountColors(b)) << c.name;
    }
}

TEST(ColourCount, ViewCountsOnlyItsOwnRectangle)
{
    Buffer whole;
    Fill(whole, 40, 30, [](int x, int y) { return (x >= 10 && x < 20 && y >= 5 && y < 15) ? Noise(x, y) : 0xABCDEFul; });
    Buffer view(whole, Rect{10, 5, 19, 14}, false);
    ASSERT_GT(view.stride, view.Width());
    EXPECT_EQ(IndependentCount(view), CountColors(view));
    EXPECT_EQ(IndependentCount(view) + 1, CountColors(whole));
}

// Pillow's getcolors finds 8853 colours in this photograph.
TEST(ColourCount, PhotographMatchesPillow)
{
    const char* name = "/usr/share/go-1.19/src/image/testdata/video-001.png";
    std::ifstream file(name, std::ios::binary);
    if (!file) GTEST_SKIP() << "no " << name << " (Debian package golang-1.19-src)";
    format_fixture::Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    format_fixture::MemorySource source(bytes, "video-001.png");
    GFXFile* format = GFXFile::GetFormat(&source.in, nullptr);
    ASSERT_NE(nullptr, format);
    Buffer photo;
    ASSERT_TRUE(format->Load(photo, &source.in, nullptr, nullptr, 0));
    EXPECT_EQ(8853, IndependentCount(photo));
    EXPECT_EQ(8853, CountColors(photo));
}
