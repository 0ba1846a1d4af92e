// Every row converter on arrays that end flush against an inaccessible page:
// one byte read or written past a row faults and ends the test program.
#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>

#include "colconv.h"
#include "colconv_rows.h"

namespace {

// bytes of memory whose last byte is followed by a PAGE_NOACCESS page.
class GuardedBlock {
public:
    explicit GuardedBlock(size_t bytes)
    {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        size_t page = info.dwPageSize;
        size_t span = (bytes + page - 1) / page * page;
        base_ = static_cast<unsigned char*>(VirtualAlloc(nullptr, span + page, MEM_RESERVE | MEM_COMMIT,
                                                         PAGE_READWRITE));
        DWORD old;
        guardOk_ = base_ && VirtualProtect(base_ + span, page, PAGE_NOACCESS, &old);
        data_ = base_ + span - bytes;
    }
    ~GuardedBlock() { VirtualFree(base_, 0, MEM_RELEASE); }
    GuardedBlock(const GuardedBlock&) = delete;
    GuardedBlock& operator=(const GuardedBlock&) = delete;

    bool Guarded() const { return guardOk_; }
    unsigned char* Bytes() { return data_; }

private:
    unsigned char* base_;
    unsigned char* data_;
    bool guardOk_;
};

unsigned long* Px(unsigned char* p)
{
    return reinterpret_cast<unsigned long*>(p);
}

unsigned long Table[256];

void BitFields(unsigned char* s, unsigned char* d, int n)
{
    const unsigned long masks[3] = {0xF800, 0x07E0, 0x001F};
    Colconv::BitField f[3];
    Colconv::AnalyseBitFields(masks, f);
    Colconv::BitField16RGB32s(s, Px(d), n, f);
}

}  // namespace

// Outside the anonymous namespace: it is the parameter type of a test suite.
struct ColconvGuardCase {
    const char* name;
    int srcBits;  // per value
    int dstBits;
    void (*run)(unsigned char* src, unsigned char* dst, int n);
};

namespace {

typedef unsigned char* B;

const ColconvGuardCase Cases[] = {
    {"RGB24RGB32s", 24, 32, [](B s, B d, int n) { Colconv::RGB24RGB32s(s, Px(d), n); }},
    {"BGR24RGB32s", 24, 32, [](B s, B d, int n) { Colconv::BGR24RGB32s(s, Px(d), n); }},
    {"BGR24RGB24s", 24, 24, [](B s, B d, int n) { Colconv::BGR24RGB24s(s, d, n); }},
    {"BGR32RGB32s", 32, 32, [](B s, B d, int n) { Colconv::BGR32RGB32s(Px(s), Px(d), n); }},
    {"RGB32RGB32s", 32, 32, [](B s, B d, int n) { Colconv::RGB32RGB32s(Px(s), Px(d), n); }},
    {"XBGR32RGB32s", 32, 32, [](B s, B d, int n) { Colconv::XBGR32RGB32s(Px(s), Px(d), n); }},
    {"RGB32RGB24s", 32, 24, [](B s, B d, int n) { Colconv::RGB32RGB24s(Px(s), d, n); }},
    {"RGB32BGR24s", 32, 24, [](B s, B d, int n) { Colconv::RGB32BGR24s(Px(s), d, n); }},
    {"CopyRGB32s", 32, 32, [](B s, B d, int n) { Colconv::CopyRGB32s(Px(s), Px(d), n); }},
    {"W444RGB32s", 16, 32, [](B s, B d, int n) { Colconv::W444RGB32s(s, Px(d), n); }},
    {"W555RGB32s", 16, 32, [](B s, B d, int n) { Colconv::W555RGB32s(s, Px(d), n); }},
    {"BitField16RGB32s", 16, 32, BitFields},
    {"LookupRGB32s", 8, 32, [](B s, B d, int n) { Colconv::LookupRGB32s(s, Px(d), n, Table); }},
    {"PlanesRGB32s", 8, 32, [](B s, B d, int n) { Colconv::PlanesRGB32s(s, s, s, Px(d), n); }},
    {"PlaneToBytes", 1, 8, [](B s, B d, int n) { Colconv::PlaneToBytes(s, d, n, 0x10); }},
    {"PlaneToPixels", 1, 32, [](B s, B d, int n) { Colconv::PlaneToPixels(s, Px(d), n, 0x10000); }},
    {"BytesToPlane", 8, 1, [](B s, B d, int n) { Colconv::BytesToPlane(s, d, n, 0x10); }},
    {"PixelsToPlane", 32, 1, [](B s, B d, int n) { Colconv::PixelsToPlane(Px(s), d, n, 0x10000); }},
    {"Unpack2", 2, 8, [](B s, B d, int n) { Colconv::Unpack2(s, d, n); }},
    {"Unpack4", 4, 8, [](B s, B d, int n) { Colconv::Unpack4(s, d, n); }},
    {"Pack2", 8, 2, [](B s, B d, int n) { Colconv::Pack2(s, d, n); }},
    {"Pack4", 8, 4, [](B s, B d, int n) { Colconv::Pack4(s, d, n); }},
};

}  // namespace

TEST(ColconvGuard, BlockEndsAtAnInaccessiblePage)
{
    GuardedBlock block(5);
    ASSERT_TRUE(block.Guarded());
    MEMORY_BASIC_INFORMATION info;
    ASSERT_NE(0u, VirtualQuery(block.Bytes() + 5, &info, sizeof info));
    EXPECT_EQ(static_cast<DWORD>(PAGE_NOACCESS), info.Protect);
    block.Bytes()[4] = 1;  // the last byte itself is usable
}

// One test per converter, so a fault names its converter in the last "RUN" line.
class ColconvGuardRows : public testing::TestWithParam<ColconvGuardCase> {};

TEST_P(ColconvGuardRows, StaysInsideItsRows)
{
    const ColconvGuardCase& c = GetParam();
    std::mt19937 rng(7);
    for (unsigned long& t : Table) t = rng();
    for (int n = 1; n <= 17; ++n) {
        size_t srcSize = (static_cast<size_t>(n) * c.srcBits + 7) / 8;
        size_t dstSize = (static_cast<size_t>(n) * c.dstBits + 7) / 8;
        GuardedBlock src(srcSize), dst(dstSize);
        ASSERT_TRUE(src.Guarded() && dst.Guarded());
        for (size_t i = 0; i < srcSize; ++i) src.Bytes()[i] = static_cast<unsigned char>(rng());
        c.run(src.Bytes(), dst.Bytes(), n);
    }
}

INSTANTIATE_TEST_SUITE_P(All, ColconvGuardRows, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<ColconvGuardCase>& p) { return std::string(p.param.name); });
