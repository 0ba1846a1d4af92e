// The test plug-ins run on a 37x23 picture: what the filter is given (its
// log), the bands it works in, the result written back, and every way a
// run can end badly leaving the picture as it was.

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "plugin_api.h"
#include "plugin_display.h"
#include "plugin_host.h"
#include "winapi.h"

namespace {

const std::string Folder = KESTREL_BINARY_DIR "/tests/plugins/";
const std::string LogName = KESTREL_BINARY_DIR "/tests/plugin_fixture.log";

std::string Env(const char* name, const std::string& value)
{
    const std::string s = std::string(name) + "=" + value;
    _putenv(s.c_str());
    return s;
}

// The log as lines, and the value after a line's first word.
struct PluginLog {
    std::vector<std::string> lines;
    std::string Value(const std::string& key) const
    {
        for (const std::string& l : lines)
            if (l.compare(0, key.size() + 1, key + " ") == 0) return l.substr(key.size() + 1);
        return "(none)";
    }
    int Count(const std::string& prefix) const
    {
        int n = 0;
        for (const std::string& l : lines) n += l.compare(0, prefix.size(), prefix) == 0;
        return n;
    }
};

class PlugInRunTest : public ::testing::Test {
protected:
    Buffer input, output;

    void SetUp() override
    {
        remove(LogName.c_str());
        Env("KS_FIXTURE_LOG", LogName);
        input.Alloc({37, 23});
        output.Alloc({37, 23});
        std::mt19937 rng(106);
        for (int i = 0; i < 37 * 23; i++) input.pixels[i] = (rng() & 0xFFFFFF) | (i % 3 ? 0x02000000 : 0);
        output.Copy(input, {0, 0}, 0xFFFFFFFF);
    }
    void TearDown() override
    {
        for (const char* v : {"KS_FIXTURE_MODE", "KS_FIXTURE_PADDING", "KS_FIXTURE_RATE", "KS_FIXTURE_DUMMY"}) Env(v, "");
    }

    PluginLog ReadLog()
    {
        PluginLog log;
        std::ifstream f(LogName);
        for (std::string line; std::getline(f, line);) log.lines.push_back(line);
        return log;
    }

    int Run(const std::string& file, PlugInRunOptions o = PlugInRunOptions())
    {
        o.background = 0x123456;
        o.foreground = 0xABCDEF;
        return RunPlugInFilter(input, output, (Folder + file).c_str(), o);
    }

    bool Unchanged()
    {
        for (int i = 0; i < 37 * 23; i++)
            if (output.pixels[i] != input.pixels[i]) return false;
        return true;
    }
};

TEST_F(PlugInRunTest, InvertsInBandsWithTheRecordFilled)
{
    PlugInRunOptions o;
    o.window = GetDesktopWindow();
    ASSERT_EQ(PlugInDone, Run("invert.8bf#PluginMain", o));
    for (int i = 0; i < 37 * 23; i++) ASSERT_EQ(input.pixels[i] ^ 0xFFFFFF, output.pixels[i]) << i;
    const PluginLog log = ReadLog();
    const char* fields[][2] = {{"window", "1"},
                               {"imageSize", "23 37"},
                               {"wholeSize", "23 37"},
                               {"planes", "3"},
                               {"filterRect", "0 0 23 37"},
                               {"background", "4626 13364 22102"},
                               {"foreground", "43947 52685 61423"},
                               {"maxSpace", "2103960"},
                               {"haveMask", "0 autoMask 1"},
                               {"backColor", "18 52 86 0"},
                               {"hostSig", "4b533230"},
                               {"imageMode", "3"},
                               {"imageHRes", "012c0000"},
                               {"suites", "5 7 1 2 2 1"},
                               {"supports", "1 1 1 1"},
                               {"filterCase", "1"}};
    for (auto& f : fields) EXPECT_EQ(f[1], log.Value(f[0])) << f[0];
    EXPECT_EQ("0 16 inRowBytes 111 outRowBytes 111 maskRowBytes 0", log.Value("band"));
    EXPECT_EQ(2, log.Count("band "));
    EXPECT_EQ(1, log.Count("finish"));
}

// A filter that pops its own arguments must not unbalance the host's stack.
TEST_F(PlugInRunTest, EntryBuiltWithTheWrongConvention)
{
    ASSERT_EQ(PlugInDone, Run("invert.8bf#StdcallMain"));
    for (int i = 0; i < 37 * 23; i++) ASSERT_EQ(input.pixels[i] ^ 0xFFFFFF, output.pixels[i]) << i;
}

TEST_F(PlugInRunTest, SelectionLimitsTheResultToMarkedPixels)
{
    for (int y = 4; y <= 18; y++)
        for (int x = 5; x <= 30; x++)
            if ((x + y) % 2) *input.At(x, y) |= 0x04000000;
    output.Copy(input, {0, 0}, 0xFFFFFFFF);
    PlugInRunOptions o;
    o.hasRect = true;
    o.rect = Rect{5, 4, 30, 18};
    o.maskBit = 0x04000000;
    ASSERT_EQ(PlugInDone, Run("invert.8bf#PluginMain", o));
    for (int y = 0; y < 23; y++)
        for (int x = 0; x < 37; x++) {
            const unsigned long in = *input.At(x, y);
            ASSERT_EQ(in & 0x04000000 ? in ^ 0xFFFFFF : in, *output.At(x, y)) << x << "," << y;
        }
    const PluginLog log = ReadLog();
    EXPECT_EQ("4 5 19 31", log.Value("filterRect"));
    EXPECT_EQ("2", log.Value("filterCase"));
    EXPECT_EQ("1 autoMask 1", log.Value("haveMask"));
    EXPECT_EQ("4 19 inRowBytes 78 outRowBytes 78 maskRowBytes 26", log.Value("band"));
}

TEST_F(PlugInRunTest, FailuresLeaveThePicture)
{
    const struct {
        const char* path;
        int result;
    } cases[] = {{"cancel.8bf#PluginMain", PlugInCancelled},
                 {"fail.8bf#PluginMain", PlugInFailed},
                 {"crash.8bf#PluginMain", PlugInFailed},
                 {"invert.8bf#NoSuchEntry", PlugInFailed},
                 {"missing.8bf#PluginMain", PlugInFailed},
                 {"garbage.8bf#PluginMain", PlugInFailed},
                 {"invert.8bf", PlugInFailed}};
    for (auto& c : cases) {
        EXPECT_EQ(c.result, Run(c.path)) << c.path;
        EXPECT_TRUE(Unchanged()) << c.path;
    }
    // After a fault the next run works as before.
    EXPECT_EQ(PlugInDone, Run("invert.8bf#PluginMain"));
}

// The record's 16-bit rectangles cannot describe a wider picture.
TEST_F(PlugInRunTest, PictureTooWideIsRefused)
{
    Buffer wide, result;
    wide.Alloc({32768, 1});
    result.Alloc({32768, 1});
    EXPECT_EQ(PlugInFailed, RunPlugInFilter(wide, result, (Folder + "invert.8bf#PluginMain").c_str(), PlugInRunOptions()));
    EXPECT_EQ(0, ReadLog().Count("start"));
}

TEST_F(PlugInRunTest, AbortFromTheHostCancels)
{
    PlugInRunOptions o;
    int progressCalls = 0;
    o.progress = [&](int, int) { ++progressCalls; };
    o.abort = [] { return true; };
    EXPECT_EQ(PlugInCancelled, Run("invert.8bf#PluginMain", o));
    EXPECT_TRUE(Unchanged());
    EXPECT_EQ(1, progressCalls);
}

TEST_F(PlugInRunTest, PaddingSamplingAndDummyPlanes)
{
    Env("KS_FIXTURE_DUMMY", "1");
    Env("KS_FIXTURE_RATE", "131072");  // every second row and column
    ASSERT_EQ(PlugInDone, Run("invert.8bf#PluginMain"));
    const PluginLog log = ReadLog();
    EXPECT_EQ("77", log.Value("dummy"));
    // 19 sampled columns of 4 planes; the output is never sampled.
    EXPECT_EQ("0 16 inRowBytes 76 outRowBytes 148 maskRowBytes 0", log.Value("band"));
}

TEST_F(PlugInRunTest, SuiteCallbacks)
{
    Env("KS_FIXTURE_MODE", "suite");
    ASSERT_EQ(PlugInDone, Run("invert.8bf#PluginMain"));
    const PluginLog log = ReadLog();
    const char* answers[][2] = {
        {"buffer", "alloc 0 locked 1 space 10485760"},
        {"handle", "size 10"},
        {"prop", "intp 0 2"},
        {"colour", "gray 0 130"},
        {"interp", "linear 0 50 150 255"},
        {"display", "0 0000ff ff0000"},
    };
    for (auto& a : answers) EXPECT_EQ(a[1], log.Value(a[0])) << a[0];
    const std::vector<std::string> more = {"handle resize 0 size 5000 locked 1", "prop mode 0 3", "prop nmch 0 G",
                                           "prop other -1", "colour back 0 18 52 86", "colour small -1",
                                           "interp nearest 0 100 200 255"};
    for (const std::string& line : more)
        EXPECT_NE(log.lines.end(), std::find(log.lines.begin(), log.lines.end(), line)) << line;
}

}  // namespace

namespace {

// A 3-plane map 700 pixels wide (so several bands) drawn into a 32-bit DIB
// section with ICM off and on: both headers are ones the system accepts,
// and every pixel lands where it belongs.
TEST(PlugInDisplay, DrawsEveryBandWithAndWithoutColourManagement)
{
    const int w = 700, h = 40;
    std::vector<unsigned char> map(size_t(w) * h * 3);
    for (size_t i = 0; i < map.size(); i++) map[i] = (unsigned char)(i * 7 + i / 3);
    PSPixelMap pm = {1, {0, 0, h, w}, 3, w * 3, 3, 1, map.data()};
    VRect area = {0, 0, h, w};
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    for (bool icm : {false, true}) {
        SCOPED_TRACE(icm);
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(nullptr, bmp);
        HGDIOBJ old = SelectObject(dc, bmp);
        SetDisplayICM(icm);
        EXPECT_EQ(noErr, PlugInDisplayPixels(&pm, &area, 0, 0, dc));
        GdiFlush();
        const unsigned long* px = static_cast<const unsigned long*>(bits);
        for (int i = 0; i < w * h; i++) {
            const unsigned char* p = &map[size_t(i) * 3];
            ASSERT_EQ((unsigned long)(p[0] << 16 | p[1] << 8 | p[2]), px[i] & 0xFFFFFF) << i;
        }
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    SetDisplayICM(false);
}

}  // namespace
