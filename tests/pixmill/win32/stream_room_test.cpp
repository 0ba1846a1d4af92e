// Tiny damaged files that announce a picture of 8000 x 8000 or more are
// refused before the reader takes the picture's block: the process never
// comes near the hundreds of megabytes such a picture would need: its peak
// working set stays within 64 MB of where the test found it (under ctest the
// test has a process of its own, so that is the process's whole peak).
#define PSAPI_VERSION 2
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "../format_fixture.h"
#include "formats.h"

namespace {

using format_fixture::Bytes;
using format_fixture::FormatBytes;
using format_fixture::PutBig16;
using format_fixture::PutBig32;
using format_fixture::Put16;
using format_fixture::Put32;
using format_fixture::PutTag;

const unsigned Side = 8000;
const size_t MaxGrowth = 64u << 20;

Bytes Tail(Bytes b)
{
    for (int i = 0; i < 16; ++i) b.push_back(0);
    return b;
}

Bytes TinyBmp()
{
    Bytes b = {'B', 'M'};
    Put32(b, 54 + 16), Put32(b, 0), Put32(b, 54);
    Put32(b, 40), Put32(b, Side), Put32(b, Side), Put16(b, 1), Put16(b, 24);
    for (int i = 0; i < 6; ++i) Put32(b, 0);
    return Tail(b);
}

Bytes TinyPcx()
{
    Bytes b = {10, 5, 1, 8};
    Put16(b, 0), Put16(b, 0), Put16(b, Side - 1), Put16(b, Side - 1);
    b.resize(65, 0);
    b.push_back(3);  // planes: R, G, B
    Put16(b, Side), Put16(b, 1);
    b.resize(128, 0);
    return Tail(b);
}

Bytes TinyTga(int type)
{
    Bytes b = {0, 0, uint8_t(type), 0, 0, 0, 0, 0};
    Put16(b, 0), Put16(b, 0), Put16(b, Side), Put16(b, Side);
    b.push_back(24), b.push_back(0x20);
    return Tail(b);
}

Bytes TinyGif()
{
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(b, Side), Put16(b, Side);
    b.push_back(0x80), b.push_back(0), b.push_back(0);
    for (int i = 0; i < 6; ++i) b.push_back(uint8_t(i * 40));
    b.push_back(0x2C);
    Put16(b, 0), Put16(b, 0), Put16(b, Side), Put16(b, Side);
    b.push_back(0), b.push_back(2);
    Bytes data = {4, 0x84, 0x8F, 0xA9, 0xCB, 0};
    b.insert(b.end(), data.begin(), data.end());
    b.push_back(';');
    return b;
}

Bytes TinyIff()
{
    Bytes b;
    PutTag(b, "FORM"), PutBig32(b, 4 + 8 + 20 + 8 + 16), PutTag(b, "ILBM");
    PutTag(b, "BMHD"), PutBig32(b, 20);
    PutBig16(b, Side), PutBig16(b, Side), PutBig16(b, 0), PutBig16(b, 0);
    b.push_back(24), b.push_back(0), b.push_back(1), b.push_back(0);
    PutBig16(b, 0), b.push_back(1), b.push_back(1), PutBig16(b, Side), PutBig16(b, Side);
    PutTag(b, "BODY"), PutBig32(b, 16);
    return Tail(b);
}

Bytes TinyJpeg()
{
    Bytes b = {0xFF, 0xD8, 0xFF, 0xC0};
    PutBig16(b, 11);
    b.push_back(8), PutBig16(b, 12000), PutBig16(b, 12000);
    b.push_back(1), b.push_back(1), b.push_back(0x11), b.push_back(0);
    Bytes rest = Tail({});
    b.insert(b.end(), rest.begin(), rest.end());
    b.push_back(0xFF), b.push_back(0xD9);
    return b;
}

PROCESS_MEMORY_COUNTERS Memory()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    EXPECT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters));
    return counters;
}

}  // namespace

TEST(StreamRoom, TinyFilesOfHugePicturesAreRefusedWithoutTheirBlock)
{
    const struct {
        FormatBytes format;
        Bytes bytes;
    } cases[] = {
        {{BMPFormat, "tiny.bmp"}, TinyBmp()},  {{PCXFormat, "tiny.pcx"}, TinyPcx()},
        {{TGAFormat, "tiny.tga"}, TinyTga(2)}, {{TGAFormat, "tiny.tga"}, TinyTga(10)},
        {{GIFFormat, "tiny.gif"}, TinyGif()},  {{LBMFormat, "tiny.iff"}, TinyIff()},
        {{JPGFormat, "tiny.jpg"}, TinyJpeg()},
    };
    const PROCESS_MEMORY_COUNTERS before = Memory();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format.name);
        Buffer b;
        EXPECT_THROW(c.format.Load(c.bytes, b), Exception);
        EXPECT_EQ(nullptr, b.pixels);
    }
    const size_t allowed = std::max(before.PeakWorkingSetSize, before.WorkingSetSize + MaxGrowth);
    EXPECT_LE(Memory().PeakWorkingSetSize, allowed);
}
