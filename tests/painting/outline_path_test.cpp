#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "outline_path.h"

namespace {

std::vector<unsigned char> Bytes(std::initializer_list<int> v) { return std::vector<unsigned char>(v.begin(), v.end()); }

unsigned char* OneRun(OutlineDir dir, int steps)
{
    OutlinePathWriter w;
    w.BeginContour(3, 4);
    w.Move(dir, steps);
    w.EndContour();
    return w.Finish();
}

}  // namespace

TEST(OutlineRunEncoding, LengthBoundaries)
{
    EXPECT_EQ(EncodeRun(DirRight, 16), Bytes({0x2F}));
    EXPECT_EQ(EncodeRun(DirRight, 17), Bytes({0xA0, 0x01}));
    EXPECT_EQ(EncodeRun(DirRight, 4111), Bytes({0xAF, 0xFF}));
    EXPECT_EQ(EncodeRun(DirRight, 4112), Bytes({0xAF, 0xFF, 0x20}));
    EXPECT_EQ(EncodeRun(DirUp, 1), Bytes({0x00}));
    EXPECT_EQ(EncodeRun(DirLeft, 8222), Bytes({0xEF, 0xFF, 0xEF, 0xFF}));
}

TEST(OutlineRunEncoding, EveryLengthDecodesBackInAllDirections)
{
    for (OutlineDir dir : {DirUp, DirRight, DirDown, DirLeft}) {
        for (int n = 1; n <= 20000; n += (n < 4200 ? 1 : 37)) {
            unsigned char* path = OneRun(dir, n);
            std::vector<OutlineContour> c;
            ASSERT_TRUE(DecodeOutlinePath(path, OutlinePathLength(path), c));
            int sum = 0;
            for (const OutlineRun& r : c.at(0).runs) {
                EXPECT_EQ(r.dir, dir);
                sum += r.steps;
            }
            EXPECT_EQ(sum, n) << "direction " << dir;
            std::free(path);
        }
    }
}

TEST(OutlinePathWriter, MergesMovesAndEndsWithMinusOne)
{
    OutlinePathWriter w;
    w.BeginContour(5, 7);
    w.Move(DirRight, 1);
    w.Move(DirRight, 2);
    w.Move(DirDown, 1);
    w.EndContour();
    unsigned char* path = w.Finish();
    ASSERT_NE(path, nullptr);
    const unsigned char expected[] = {5, 0, 0, 0, 7, 0, 0, 0, 0x22, 0x40, 0x10, 0xFF, 0xFF, 0xFF, 0xFF};
    ASSERT_EQ(OutlinePathLength(path), sizeof expected);
    EXPECT_EQ(std::memcmp(path, expected, sizeof expected), 0);
    std::free(path);
}

TEST(OutlinePathWriter, NothingWrittenGivesNull)
{
    OutlinePathWriter w;
    EXPECT_EQ(w.Finish(), nullptr);
}

TEST(OutlinePathWriter, FailedGrowthKeepsAWellFormedPath)
{
    OutlinePathByteLimit = 8192;
    OutlinePathWriter w;
    for (int i = 0; i < 5000 && !w.Failed(); ++i) {
        w.BeginContour(i, i);
        w.Move(DirRight, 1);
        w.Move(DirDown, 1);
        w.Move(DirLeft, 1);
        w.Move(DirUp, 1);
        w.EndContour();
    }
    OutlinePathByteLimit = SIZE_MAX;
    EXPECT_TRUE(w.Failed());
    unsigned char* path = w.Finish();
    ASSERT_NE(path, nullptr);
    std::vector<OutlineContour> c;
    EXPECT_TRUE(DecodeOutlinePath(path, 8192, c));
    EXPECT_GT(c.size(), 500u);
    std::free(path);
}

TEST(OutlinePathDecoder, RejectsTruncatedAndBadDirections)
{
    const unsigned char truncated[] = {1, 0, 0, 0, 1, 0, 0, 0, 0x20};
    const unsigned char badDir[] = {1, 0, 0, 0, 1, 0, 0, 0, 0x30, 0x10, 0xFF, 0xFF, 0xFF, 0xFF};
    std::vector<OutlineContour> c;
    EXPECT_FALSE(DecodeOutlinePath(truncated, sizeof truncated, c));
    EXPECT_FALSE(DecodeOutlinePath(badDir, sizeof badDir, c));
}
