// The thumbnail cache file: growing by blocks, finding entries again,
// purging, deleting itself when empty, and damaged files that must read as
// "not cached" without a crash.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "browser_cache.h"
#include "textfile_fixture.h"

namespace {

class BrowserCacheTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = TestTempPath(std::string("browser-cache-") + info->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        dir += "/";
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    static void Thumb(Buffer& b, int w, int h, int seed)
    {
        b.Alloc(Pair<int>{w, h});
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) *b.At(x, y) = (unsigned long)((x * 3 + seed) & 255) << 16 | (y + seed) << 8 | seed;
    }
    static BrowserCacheEntry Named(const std::string& name)
    {
        BrowserCacheEntry e;
        e.name = name;
        e.time = 1234;
        e.size = 5678;
        e.pictureWidth = 300;
        e.pictureHeight = 200;
        return e;
    }
    std::string File() const { return dir + "browser.ks"; }
    // Overwrites bytes of the cache file.
    void Patch(long offset, const void* data, size_t size) const
    {
        std::FILE* f = std::fopen(File().c_str(), "r+b");
        ASSERT_NE(nullptr, f);
        std::fseek(f, offset, SEEK_SET);
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }

    std::string dir;
};

TEST_F(BrowserCacheTest, A129thEntryAddsASecondBlockAndEveryEntryIsFoundAgain)
{
    {
        BrowserCache cache;
        ASSERT_TRUE(cache.Open(dir));
        for (int i = 0; i < 129; ++i) {
            Buffer b;
            Thumb(b, 120 - i % 7, 90 - i % 5, i);
            ASSERT_TRUE(cache.Store(Named("p" + std::to_string(i) + ".png"), b)) << i;
        }
        EXPECT_EQ(2, cache.Blocks());
    }
    EXPECT_GE(std::filesystem::file_size(File()), uintmax_t(CacheBlockSize + CacheThumbsOffset));
    BrowserCache cache;
    ASSERT_TRUE(cache.Open(dir));
    EXPECT_EQ(2, cache.Blocks());
    for (int i : {0, 127, 128}) {
        int slot = cache.Find("p" + std::to_string(i) + ".png");
        ASSERT_EQ(i, slot);
        Buffer want, got;
        Thumb(want, 120 - i % 7, 90 - i % 5, i);
        ASSERT_TRUE(cache.ReadThumbnail(slot, got));
        ASSERT_EQ(want.Width(), got.Width());
        ASSERT_EQ(want.Height(), got.Height());
        for (int y = 0; y < got.Height(); ++y)
            ASSERT_EQ(0, std::memcmp(want.At(0, y), got.At(0, y), got.Width() * sizeof(unsigned long))) << i;
        EXPECT_EQ(1234u, cache.Entry(slot).time);
        EXPECT_EQ(300, cache.Entry(slot).pictureWidth);
    }
    EXPECT_EQ(-1, cache.Find("P0.png"));  // names compare case-sensitively
    cache.Invalidate(5);
    EXPECT_EQ(5, cache.FindFree());
}

TEST_F(BrowserCacheTest, ACacheWithoutValidEntriesIsDeletedOnClose)
{
    BrowserCache cache;
    ASSERT_TRUE(cache.Open(dir));
    Buffer b;
    Thumb(b, 10, 10, 1);
    ASSERT_TRUE(cache.Store(Named("gone.png"), b));
    ASSERT_TRUE(cache.Store(Named("kept.png"), b));
    cache.Purge([](const std::string& name) { return name == "kept.png"; });
    EXPECT_EQ(-1, cache.Find("gone.png"));
    cache.Close();
    EXPECT_TRUE(TestFileExists(File()));
    ASSERT_TRUE(cache.Open(dir));
    cache.Purge([](const std::string&) { return false; });
    cache.Close();
    EXPECT_FALSE(TestFileExists(File()));
}

TEST_F(BrowserCacheTest, NamesTheFieldCannotHoldAreNotCached)
{
    BrowserCache cache;
    EXPECT_FALSE(cache.Open(dir + "missing/"));  // a folder the file cannot be made in
    EXPECT_FALSE(cache.IsOpen());
    ASSERT_TRUE(cache.Open(dir));
    Buffer b;
    Thumb(b, 4, 4, 1);
    EXPECT_TRUE(cache.Store(Named(std::string(258, 'a')), b));
    EXPECT_FALSE(cache.Store(Named(std::string(259, 'b')), b));
    EXPECT_FALSE(cache.Store(Named(""), b));
    EXPECT_EQ(0, cache.Find(std::string(258, 'a')));
    EXPECT_EQ(1, cache.FindFree());
}

// Each case damages a cache holding one good entry "a.png" in slot 0 and
// "b.png" in slot 1; slot 1 must then read as not cached.
struct Damage {
    const char* what;
    long offset;
    uint32_t value;
    int bytes;  // of value written at offset; 0: fill the name field
};

TEST_F(BrowserCacheTest, DamagedEntriesAndChainsReadAsNotCached)
{
    const long b = CacheEntrySize;  // entry 1
    const Damage cases[] = {
        {"thumbnail width 5000", b + 268, 5000, 4},
        {"thumbnail height 91", b + 272, 91, 4},
        {"negative thumbnail width", b + 268, 0xFFFFFFFF, 4},
        {"name without its zero", b + 1, 0, 0},
        {"next word in the last block", CacheNextOffset, 7, 4},
        {"empty name", b + 1, 0, 1},
    };
    for (const Damage& d : cases) {
        SCOPED_TRACE(d.what);
        {
            BrowserCache cache;
            ASSERT_TRUE(cache.Open(dir));
            Buffer t;
            Thumb(t, 120, 90, 3);
            ASSERT_TRUE(cache.Store(Named("a.png"), t));
            ASSERT_TRUE(cache.Store(Named("b.png"), t));
        }
        if (d.bytes == 0) {
            std::string fill(CacheNameSize, 'x');
            Patch(d.offset, fill.data(), fill.size());
        } else {
            Patch(d.offset, &d.value, d.bytes);
        }
        BrowserCache cache;
        ASSERT_TRUE(cache.Open(dir));
        EXPECT_EQ(1, cache.Blocks());
        EXPECT_EQ(0, cache.Find("a.png"));
        bool chainOnly = d.offset == CacheNextOffset;
        EXPECT_EQ(chainOnly ? 1 : -1, cache.Find("b.png"));
        if (!chainOnly) {
            EXPECT_EQ(1, cache.FindFree());
        }
        cache.Close();
        std::filesystem::remove(File());
    }
}

TEST_F(BrowserCacheTest, ATruncatedFileOpensEmptyAndTakesEntries)
{
    WriteTextFile(File(), "not a cache");
    BrowserCache cache;
    ASSERT_TRUE(cache.Open(dir));
    EXPECT_EQ(1, cache.Blocks());
    EXPECT_EQ(0, cache.FindFree());
    Buffer t;
    Thumb(t, 8, 6, 2);
    EXPECT_TRUE(cache.Store(Named("c.png"), t));
    Buffer got;
    EXPECT_TRUE(cache.ReadThumbnail(cache.Find("c.png"), got));
    EXPECT_EQ(8, got.Width());
    cache.Close();

    // The index survives, the thumbnail it names does not.
    std::filesystem::resize_file(File(), CacheThumbsOffset + 100);
    ASSERT_TRUE(cache.Open(dir));
    ASSERT_EQ(0, cache.Find("c.png"));
    EXPECT_FALSE(cache.ReadThumbnail(0, got));
    EXPECT_EQ(-1, cache.Find("c.png"));
}

}  // namespace
