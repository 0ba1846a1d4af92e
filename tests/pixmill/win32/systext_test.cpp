// Text in system fonts: one exact colour, the extent box with its overhangs,
// clipping, and callers on two threads sharing the one text context.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "ansistring.h"
#include "buffer.h"
#include "font.h"
#include "systext.h"

namespace {

const unsigned long Ground = 0x00123456;

int CALLBACK FoundFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceExists(const char* face)
{
    HDC dc = CreateCompatibleDC(nullptr);
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    strcpy(lf.lfFaceName, face);
    bool found = false;
    EnumFontFamiliesExA(dc, &lf, FoundFace, LPARAM(&found), 0);
    DeleteDC(dc);
    return found;
}

// The tests name a face from the font package the set-up installs; without
// it they say so instead of failing on some other face's shapes.
const char* Face()
{
    static const char* face = FaceExists("DejaVu Sans") ? "DejaVu Sans" : nullptr;
    return face;
}

#define REQUIRE_FACE() \
    if (!Face()) GTEST_SKIP() << "DejaVu Sans is not installed"

struct Picture {
    Buffer b;
    Picture(int w, int h, unsigned long fill = Ground)
    {
        b.Alloc({w, h});
        for (int y = 0; y < h; ++y) std::fill(b.At(0, y), b.At(0, y) + w, fill);
    }
    unsigned long At(int x, int y) { return *b.At(x, y); }
    // Bounding box of the pixels that are not fill; false when none.
    bool Ink(Rect& r, unsigned long fill = Ground)
    {
        r = Rect{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (int y = b.top; y <= b.bottom; ++y)
            for (int x = b.left; x <= b.right; ++x)
                if (At(x, y) != fill)
                    r.left = std::min(r.left, x), r.top = std::min(r.top, y), r.right = std::max(r.right, x),
                    r.bottom = std::max(r.bottom, y);
        return r.left <= r.right;
    }
    int Count(unsigned long v)
    {
        int n = 0;
        for (int y = b.top; y <= b.bottom; ++y)
            for (int x = b.left; x <= b.right; ++x) n += At(x, y) == v;
        return n;
    }
};

// Ink pixels of s drawn by the system alone, with room all round.
int SystemInk(TFont& font, const AnsiString& s)
{
    LOGFONTA lf;
    GetObjectA(font.GetHandle(), sizeof lf, &lf);
    lf.lfQuality = NONANTIALIASED_QUALITY;
    HFONT plain = CreateFontIndirectA(&lf);
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 600, -200, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    unsigned long* px = static_cast<unsigned long*>(bits);
    std::fill(px, px + 600 * 200, 0x00FFFFFFul);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap), oldFont = SelectObject(dc, plain);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, 200, 50, s.c_str(), s.Length());
    GdiFlush();
    int ink = int(std::count(px, px + 600 * 200, 0ul));
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteObject(plain);
    DeleteDC(dc);
    return ink;
}

void MakeFont(TFont& f, int pixels, TFontStyles style = 0)
{
    f.SetName(Face());
    f.SetHeight(-pixels);
    f.SetStyle(style);
}

TEST(SystemText, ExactlyOneColourAndTheBackgroundUntouched)
{
    REQUIRE_FACE();
    TFont font;
    MakeFont(font, 28);
    // Left at the default quality, which would draw smoothed edges.
    for (unsigned long colour : {0x01FF0000ul, 0x00000000ul, 0x00FFFFFFul, 0x07123457ul}) {
        Picture p(80, 50);
        AnsiString s("Wg");
        p.b.OutText(&font, {5, 3}, s, colour);
        int ink = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 80; ++x) {
                unsigned long v = p.At(x, y);
                ASSERT_TRUE(v == Ground || v == colour) << std::hex << v << " at " << std::dec << x << "," << y;
                ink += v == colour;
            }
        EXPECT_GT(ink, 100) << std::hex << colour;
    }
}

TEST(SystemText, ExtentIsTheSystemsForUprightTextAndBoundsTheInk)
{
    REQUIRE_FACE();
    TFont font;
    MakeFont(font, 20);
    AnsiString s("Hello, Kestrel");
    Pair<int> ext = Picture(1, 1).b.GetTextExtent(&font, s);
    HDC dc = CreateCompatibleDC(nullptr);
    LOGFONTA lf;
    GetObjectA(font.GetHandle(), sizeof lf, &lf);
    lf.lfQuality = NONANTIALIASED_QUALITY;
    HFONT plain = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, plain);
    SIZE size;
    GetTextExtentPoint32A(dc, s.c_str(), s.Length(), &size);
    SelectObject(dc, old);
    DeleteObject(plain);
    DeleteDC(dc);
    EXPECT_EQ(size.cx, ext.x);
    EXPECT_EQ(size.cy, ext.y);

    Picture p(300, 60);
    p.b.OutText(&font, {10, 7}, s, 0x00FF0000);
    Rect ink;
    ASSERT_TRUE(p.Ink(ink));
    EXPECT_GE(ink.left, 10);
    EXPECT_GE(ink.top, 7);
    EXPECT_LE(ink.right, 10 + ext.x - 1);
    EXPECT_LE(ink.bottom, 7 + ext.y - 1);
    // "H" starts at most a couple of columns into its cell.
    EXPECT_LE(ink.left, 14);

    AnsiString empty;
    EXPECT_EQ(0, p.b.GetTextExtent(&font, empty).x);
    EXPECT_EQ(0, p.b.GetTextExtent(&font, empty).y);
}

TEST(SystemText, ALeftOverhangWidensTheBoxAndIsNotCut)
{
    REQUIRE_FACE();
    TFont font;
    MakeFont(font, 40, fsItalic);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.GetHandle());
    // Of a few candidates, one whose A width is negative in this face.
    AnsiString s;
    for (char c : {'j', 'f', 'y', 'p', 'J', 'g'}) {
        ABC abc;
        if (GetCharABCWidthsA(dc, (unsigned char)c, (unsigned char)c, &abc) && abc.abcA < 0) {
            s = AnsiString(c) + "ab";
            break;
        }
    }
    SIZE size;
    if (!s.IsEmpty()) GetTextExtentPoint32A(dc, s.c_str(), s.Length(), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    if (s.IsEmpty()) GTEST_SKIP() << "no character of the italic face overhangs on the left";

    Pair<int> ext = Picture(1, 1).b.GetTextExtent(&font, s);
    EXPECT_GT(ext.x, size.cx);
    Picture p(300, 80);
    p.b.OutText(&font, {20, 5}, s, 0x000000FF);
    Rect ink;
    ASSERT_TRUE(p.Ink(ink));
    EXPECT_GE(ink.left, 20);
    // Nothing was lost to the box: the same ink as drawn with room all round.
    EXPECT_EQ(SystemInk(font, s), p.Count(0x000000FF));
}

TEST(SystemText, ClippedAtTheEdgesAsIfCroppedFromALargerPicture)
{
    REQUIRE_FACE();
    TFont font;
    MakeFont(font, 24);
    AnsiString s("Clip me");
    Picture big(200, 60);
    big.b.OutText(&font, {20, 10}, s, 0x0000FF00);
    for (Pair<int> pos : {Pair<int>{-7, -5}, Pair<int>{30, 20}, Pair<int>{-40, 3}, Pair<int>{5, -15}}) {
        Picture small(60, 25);
        small.b.OutText(&font, pos, s, 0x0000FF00);
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 60; ++x) {
                int bx = x - pos.x + 20, by = y - pos.y + 10;
                bool inBig = bx >= 0 && bx < 200 && by >= 0 && by < 60;
                unsigned long want = inBig ? big.At(bx, by) : Ground;
                ASSERT_EQ(want, small.At(x, y)) << pos.x << "," << pos.y << " at " << x << "," << y;
            }
    }
    // Far outside, or at the ends of the int range: nothing changes.
    Picture p(40, 40);
    for (Pair<int> pos : {Pair<int>{1000, 0}, Pair<int>{0, -1000}, Pair<int>{INT32_MIN, INT32_MIN},
                          Pair<int>{INT32_MAX, INT32_MAX}})
        p.b.OutText(&font, pos, s, 0x0000FF00);
    EXPECT_EQ(40 * 40, p.Count(Ground));
}

TEST(SystemText, TwoThreadsGiveWhatOneGivesInTurn)
{
    REQUIRE_FACE();
    const int Strings = 500;
    struct Job {
        TFont font;
        unsigned long colour;
        Picture out{120, 40};
    };
    auto run = [](Job& j) {
        for (int i = 0; i < Strings; ++i) {
            AnsiString s;
            s.sprintf("%d %s", i, i % 2 ? "Wq" : "Mj");
            j.out.b.OutText(&j.font, {i % 97 - 10, i % 31 - 5}, s, j.colour + unsigned(i % 3));
        }
    };
    Job serial[2], parallel[2];
    for (Job* jobs : {serial, parallel}) {
        MakeFont(jobs[0].font, 14);
        MakeFont(jobs[1].font, 23, fsBold | fsItalic);
        jobs[0].colour = 0x00FF0000, jobs[1].colour = 0x010000FF;
        // Handles made here: TFont itself is not for sharing between threads.
        jobs[0].font.GetHandle(), jobs[1].font.GetHandle();
    }
    run(serial[0]);
    run(serial[1]);
    std::thread a(run, std::ref(parallel[0])), b(run, std::ref(parallel[1]));
    a.join();
    b.join();
    for (int k = 0; k < 2; ++k)
        for (int y = 0; y < 40; ++y)
            ASSERT_TRUE(std::equal(serial[k].out.b.At(0, y), serial[k].out.b.At(0, y) + 120, parallel[k].out.b.At(0, y)))
                << "job " << k << " row " << y;
}

TEST(SystemText, FontsAlreadyWithoutSmoothingAndNoFont)
{
    REQUIRE_FACE();
    TFont font;
    MakeFont(font, 18);
    font.SetQuality(NONANTIALIASED_QUALITY);
    Picture p(100, 30);
    AnsiString s("plain");
    p.b.OutText(&font, {0, 0}, s, 0x00ABCDEF);
    EXPECT_EQ(100 * 30, p.Count(Ground) + p.Count(0x00ABCDEF));
    // No font at all: the default GUI font.
    Picture q(100, 30);
    q.b.OutText(nullptr, {0, 0}, s, 0x00ABCDEF);
    EXPECT_GT(q.Count(0x00ABCDEF), 10);
    EXPECT_GT(q.b.GetTextExtent(nullptr, s).x, 0);
}

}  // namespace
