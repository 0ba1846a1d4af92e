// The raster-font registry: sorting, the fonts.bin cache and when it is
// trusted, and selecting faces by name and size.
#include <gtest/gtest.h>

#include <random>

#include "exceptions.h"
#include "rfont.h"
#include "rfont_cache.h"
#include "rfont_memsystem.h"

namespace {

TestFace Face(int height)
{
    TestFace f;
    f.height = height, f.first = 'A', f.last = 'C';
    f.glyphs['A'].width = height / 2;
    f.glyphs['A'].rows = std::vector<std::string>(size_t(height), "##");
    return f;
}

void PutThreeFamilies(MemoryFontSystem& sys)
{
    sys.Put("b.rfn", WriteFont("b", {Face(12), Face(8)}, 0x10000));
    sys.Put("a.rfn", WriteFont("A", {Face(10), Face(8), Face(12)}, 0x10000));
    sys.Put("c.rfn", WriteFont("a2", {Face(10)}, 0x20000));
}

std::vector<std::string> Listing()
{
    std::vector<std::string> out;
    for (int i = 0; i < RFont::GetCount(); ++i) {
        RFontEntry& e = RFont::GetReg()[i];
        out.push_back(std::string(e.name) + " " + std::to_string(e.size) + " " + std::to_string(e.familyCount));
    }
    return out;
}

TEST(RFontRegistry, SortedByFamilyIgnoringCaseThenSize)
{
    RFontFixture fx;
    PutThreeFamilies(fx.sys);
    RFont::InitReg();
    std::vector<std::string> want = {"A 8 3", "A 10 0", "A 12 0", "a2 10 1", "b 8 2", "b 12 0"};
    EXPECT_EQ(want, Listing());
    EXPECT_EQ(6, RFont::GetCount());
    // One name string per family.
    EXPECT_EQ(RFont::GetReg()[0].name, RFont::GetReg()[2].name);
    EXPECT_STREQ("c.rfn", RFont::GetReg()[3].file->name);
}

TEST(RFontRegistry, SameFamilyAcrossFilesAndEqualSizes)
{
    RFontFixture fx;
    fx.sys.Put("1.rfn", WriteFont("Sans", {Face(10)}, 0x10000));
    fx.sys.Put("2.rfn", WriteFont("SANS", {Face(10), Face(6)}, 0x10000));
    RFont::InitReg();
    std::vector<std::string> want = {"Sans 6 3", "Sans 10 0", "Sans 10 0"};
    EXPECT_EQ(want, Listing());
    // The newer face of a size goes first.
    EXPECT_STREQ("2.rfn", RFont::GetReg()[1].file->name);
}

TEST(RFontRegistry, NoPathOrNoFilesGivesAnEmptyRegistry)
{
    RFontFixture fx;
    RFont::path[0] = 0;
    RFont::InitReg();
    EXPECT_EQ(0, RFont::GetCount());
    strcpy(RFont::path, "M:\\");
    fx.sys.Put("junk.rfn", Bytes{'n', 'o', 'p', 'e'});
    fx.sys.Put("new.rfn", WriteFont("N", {Face(8)}, 0x30000));
    RFont::InitReg();
    EXPECT_EQ(0, RFont::GetCount());
    // Files without faces are still recorded, so the cache matches next time.
    EXPECT_EQ(2u, TheRegistry().files.size());
}

TEST(RFontCache, AnUnchangedDirectoryIsReadFromTheCache)
{
    RFontFixture fx;
    PutThreeFamilies(fx.sys);
    RFont::InitReg();
    ASSERT_TRUE(fx.sys.Find("fonts.bin"));
    EXPECT_EQ(3, fx.sys.OpenedFonts());
    std::vector<std::string> first = Listing();

    ResetRegistry();
    fx.sys.opened.clear();
    RFont::InitReg();
    EXPECT_EQ(0, fx.sys.OpenedFonts());
    EXPECT_EQ(first, Listing());
    // Faces read from the cache still prepare from their files.
    RFont f;
    f.SetName("a2");
    f.Prepare();
    EXPECT_TRUE(f.entry && f.entry->glyphs);
}

TEST(RFontCache, AChangedAddedOrRemovedFileRebuildsIt)
{
    RFontFixture fx;
    PutThreeFamilies(fx.sys);
    RFont::InitReg();

    auto rebuilds = [&fx]() {
        ResetRegistry();
        fx.sys.opened.clear();
        RFont::InitReg();
        return fx.sys.OpenedFonts() > 0;
    };
    EXPECT_FALSE(rebuilds());
    fx.sys.Find("b.rfn")->time = 99;
    EXPECT_TRUE(rebuilds());
    EXPECT_FALSE(rebuilds());
    fx.sys.Put("b.rfn", WriteFont("b", {Face(12), Face(8), Face(9)}, 0x10000), 99);
    EXPECT_TRUE(rebuilds());
    EXPECT_EQ(7, RFont::GetCount());
    fx.sys.Erase("c.rfn");
    EXPECT_TRUE(rebuilds());
    EXPECT_EQ(6, RFont::GetCount());
    fx.sys.Put("d.rfn", WriteFont("d", {Face(8)}, 0x10000));
    EXPECT_TRUE(rebuilds());
    EXPECT_EQ(7, RFont::GetCount());
}

TEST(RFontCache, AFileOfANewerVersionStillLetsTheCacheMatch)
{
    RFontFixture fx;
    PutThreeFamilies(fx.sys);
    fx.sys.Put("new.rfn", WriteFont("N", {Face(8)}, 0x30000));
    RFont::InitReg();
    std::vector<std::string> first = Listing();
    Bytes cache = fx.sys.Find("fonts.bin")->data;

    ResetRegistry();
    fx.sys.opened.clear();
    RFont::InitReg();
    EXPECT_EQ(0, fx.sys.OpenedFonts()) << "the unchanged directory was scanned again";
    EXPECT_EQ(cache, fx.sys.Find("fonts.bin")->data);
    EXPECT_EQ(first, Listing());
    EXPECT_EQ(4u, TheRegistry().files.size());
}

TEST(RFontCache, NamesMatchIgnoringCase)
{
    RFontFixture fx;
    PutThreeFamilies(fx.sys);
    RFont::InitReg();
    fx.sys.Find("a.rfn")->name = "A.rfn";
    ResetRegistry();
    fx.sys.opened.clear();
    RFont::InitReg();
    EXPECT_EQ(0, fx.sys.OpenedFonts());
}

TEST(RFontCache, RoundTripsEveryField)
{
    RFontFixture fx;
    PutThreeFamilies(fx.sys);
    RFont::InitReg();
    const FontRegistry& r = TheRegistry();
    TMemoryStream out;
    WriteFontCache(r, out);
    // 4 + 3 files x 20 + names + 4 + 6 entries x 44 + family names.
    EXPECT_EQ(4 + 60 + 18 + 4 + 264 + 7, out.GetSize());
    FontRegistry back;
    ASSERT_TRUE(ReadFontCache(static_cast<unsigned char*>(out.GetMemory()), size_t(out.GetSize()), back));
    ASSERT_EQ(r.entries.size(), back.entries.size());
    for (size_t i = 0; i < r.entries.size(); ++i) {
        const RFontEntry &a = r.entries[i], &b = back.entries[i];
        EXPECT_STREQ(a.name, b.name);
        EXPECT_STREQ(a.file->name, b.file->name);
        EXPECT_EQ(a.familyCount, b.familyCount);
        EXPECT_EQ(a.offset, b.offset);
        EXPECT_EQ(a.file->version, b.file->version);
        EXPECT_EQ(0, memcmp(&a.size, &b.size, 8));
        EXPECT_EQ(a.glyphBytes, b.glyphBytes);
    }
}

Bytes CacheBytes(MemoryFontSystem& sys)
{
    return sys.Find("fonts.bin")->data;
}

// Every kind of damage is a silent rebuild that gives the same registry.
void ExpectRebuiltFrom(RFontFixture& fx, const Bytes& damaged, const std::vector<std::string>& want)
{
    fx.sys.Put("fonts.bin", damaged);
    ResetRegistry();
    fx.sys.opened.clear();
    RFont::InitReg();
    EXPECT_EQ(3, fx.sys.OpenedFonts());
    EXPECT_EQ(want, Listing());
}

void PutLE32(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

TEST(RFontCache, DamagedCachesAreRebuiltNotTrusted)
{
    RFontFixture fx;
    PutThreeFamilies(fx.sys);
    RFont::InitReg();
    std::vector<std::string> want = Listing();
    Bytes good = CacheBytes(fx.sys);
    const size_t entries = 4 + 60 + 18 + 4;  // first entry

    std::mt19937 rng(7);
    Bytes noise(good.size());
    for (unsigned char& c : noise) c = uint8_t(rng());
    ExpectRebuiltFrom(fx, noise, want);
    for (size_t cut : {size_t(0), size_t(3), size_t(50), entries, good.size() - 1})
        ExpectRebuiltFrom(fx, Bytes(good.begin(), good.begin() + long(cut)), want);

    Bytes b = good;
    PutLE32(b, 0, 0x7FFFFFFF);  // absurd file count
    ExpectRebuiltFrom(fx, b, want);
    b = good;
    PutLE32(b, 4, 0xFFFFFFF0);  // name block beyond the file
    ExpectRebuiltFrom(fx, b, want);
    b = good;
    PutLE32(b, 24, 40);  // a name length running past its block
    ExpectRebuiltFrom(fx, b, want);
    b = good;
    PutLE32(b, entries - 4, 1000000);  // absurd entry count
    ExpectRebuiltFrom(fx, b, want);
    b = good;
    PutLE32(b, entries + 8, 9);  // file index out of range
    ExpectRebuiltFrom(fx, b, want);
    b = good;
    PutLE32(b, entries + 4, 50);  // family count beyond the entries
    ExpectRebuiltFrom(fx, b, want);
    b = good;
    PutLE32(b, entries + 44 + 4, 1);  // a second "first entry" inside a family
    ExpectRebuiltFrom(fx, b, want);
    b = good;
    b[entries + 16 + 1] = 0;  // no row bytes
    ExpectRebuiltFrom(fx, b, want);
    b = good;
    PutLE32(b, entries + 12, 0x7FFFFFF0);  // offset beyond the file
    ExpectRebuiltFrom(fx, b, want);
    b = good;
    std::swap(b[entries + 16], b[entries + 44 + 16]);  // sizes out of order
    ExpectRebuiltFrom(fx, b, want);
    b = good;
    PutLE32(b, 4 + 16, 0x30000);  // a face in a file of a version not ours
    ExpectRebuiltFrom(fx, b, want);
    b = good;
    b.push_back(0);  // trailing bytes
    ExpectRebuiltFrom(fx, b, want);
    b = good;
    b[b.size() - 1] = 'x';  // family name not terminated
    ExpectRebuiltFrom(fx, b, want);
}

TEST(RFontCache, AFailedWriteLeavesNoCache)
{
    RFontFixture fx;
    PutThreeFamilies(fx.sys);
    fx.sys.failWrites = true;
    RFont::InitReg();
    EXPECT_EQ(6, RFont::GetCount());
    EXPECT_FALSE(fx.sys.Find("fonts.bin"));
    ResetRegistry();
    fx.sys.failWrites = false;
    fx.sys.failCreate = true;
    RFont::InitReg();
    EXPECT_FALSE(fx.sys.Find("fonts.bin"));
}

class RFontSelect : public ::testing::Test {
protected:
    void SetUp() override
    {
        PutThreeFamilies(fx.sys);
        RFont::InitReg();
    }
    RFontFixture fx;
};

TEST_F(RFontSelect, SetNameIgnoresCaseAndStartsAtTheSmallestSize)
{
    RFont f;
    EXPECT_EQ(0, f.GetSize());
    EXPECT_STREQ("", f.GetName().c_str());
    f.SetName("a");  // not a prefix of "a2"
    EXPECT_STREQ("A", f.GetName().c_str());
    f.SetName("B");
    EXPECT_STREQ("b", f.GetName().c_str());
    EXPECT_EQ(8, f.GetSize());
    f.SetSize(12);
    f.SetName("c");  // an unknown family leaves no entry
    EXPECT_EQ(nullptr, f.entry);
}

TEST_F(RFontSelect, SetNameKeepsTheNearestSize)
{
    RFont f;
    f.SetName("b");
    f.SetSize(12);
    f.SetName("A");
    EXPECT_EQ(12, f.GetSize());
    f.SetSize(10);
    f.SetName("b");  // 8 and 12 are equally near: the smaller
    EXPECT_EQ(8, f.GetSize());
    f.SetName("a2");
    EXPECT_EQ(10, f.GetSize());
}

TEST_F(RFontSelect, SetSizeTiesGoToTheSmaller)
{
    RFont f;
    f.SetName("A");
    f.SetSize(12);
    EXPECT_EQ(12, f.GetSize());
    f.SetSize(9);
    EXPECT_EQ(8, f.GetSize());
    f.SetSize(11);
    EXPECT_EQ(10, f.GetSize());
    f.SetSize(100);
    EXPECT_EQ(12, f.GetSize());
    f.SetSize(-5);
    EXPECT_EQ(8, f.GetSize());
    RFont none;
    none.SetSize(10);
    EXPECT_EQ(0, none.GetSize());
}

TEST_F(RFontSelect, OverridesAndFaceValues)
{
    RFont f;
    EXPECT_EQ(0, f.GetSpacing());
    EXPECT_EQ(0, f.GetSpaceSize());
    f.SetName("A");
    EXPECT_EQ(1, f.GetSpacing());
    EXPECT_EQ(4, f.GetSpaceSize());
    f.spacing = 0;
    f.spaceSize = 9;
    EXPECT_EQ(0, f.GetSpacing());
    EXPECT_EQ(9, f.GetSpaceSize());
}

TEST_F(RFontSelect, PreparedDataIsSharedAndFreedWithTheLastUser)
{
    RFont a;
    a.SetName("A");
    a.Prepare();
    RFontEntry* e = a.entry;
    ASSERT_TRUE(e->glyphs);
    {
        RFont b(a);
        RFont c;
        c = b;
        EXPECT_EQ(e, c.entry);
        EXPECT_EQ(3, e->users);
        c.SetSize(12);
        EXPECT_EQ(2, e->users);
        a.Prepare();  // already prepared: the same block
    }
    EXPECT_EQ(1, e->users);
    EXPECT_TRUE(e->glyphs);
    a.SetSize(12);
    EXPECT_EQ(0, e->users);
    EXPECT_FALSE(e->glyphs);
    a.Prepare();
    a.Unprepare();
    EXPECT_FALSE(a.entry->glyphs);
}

TEST_F(RFontSelect, ADamagedFontFileRaisesOnPrepare)
{
    Bytes& data = fx.sys.Find("c.rfn")->data;
    data.resize(data.size() - 3);
    RFont f;
    f.SetName("a2");
    EXPECT_THROW(f.Prepare(), EInvalidImage);
    EXPECT_FALSE(f.entry->glyphs);
    EXPECT_FALSE(f.entry->widths);
}

}  // namespace
