// A 32-bit DIB section to render into, and pictures whose every pixel names
// its own position, so a screen pixel tells which picture pixel it shows.
#ifndef TESTS_PAINTING_RENDER_FIXTURE_H
#define TESTS_PAINTING_RENDER_FIXTURE_H

#include <gtest/gtest.h>
#include <cstring>
#include "buffer_view_render.h"

// Picture pixel (x, y) has colour x << 12 | y (x, y < 4096).
inline unsigned long PositionColour(int x, int y)
{
    return static_cast<unsigned long>(x) << 12 | static_cast<unsigned long>(y);
}
inline int ColourX(unsigned long c) { return static_cast<int>((c & 0xFFFFFF) >> 12); }
inline int ColourY(unsigned long c) { return static_cast<int>(c & 0xFFF); }

inline void FillPositions(Buffer& b)
{
    for (int y = 0; y < b.Height(); y++)
        for (int x = 0; x < b.Width(); x++)
            *b.At(b.left + x, b.top + y) = PositionColour(x, y);
}

// Never a position colour of the small pictures used: x of 0xFFF.
const unsigned long Untouched = 0xFFFFFF;

// Checks of a rendered image (anything with width, height and At(x, y)).
// Integer zoom: screen (X, Y) shows picture (X / n, Y / n) exactly, and the
// rest is black.
template <class Image> void ExpectNearest(const Image& s, const Buffer& pic, int n)
{
    int bad = 0;
    for (int y = 0; y < s.height; y++)
        for (int x = 0; x < s.width; x++) {
            bool inside = x < pic.Width() * n && y < pic.Height() * n;
            unsigned long want = inside ? PositionColour(x / n, y / n) : 0;
            if (s.At(x, y) != want && bad++ < 5)
                ADD_FAILURE() << "zoom " << n << " at (" << x << "," << y << "): " << std::hex << s.At(x, y)
                              << " want " << want;
        }
    EXPECT_EQ(0, bad);
}

// Fractional zoom: which pixel of a block is picked is GDI's business, but
// every n×n screen block shows only pixels of its own m×m picture block, the
// whole zoomed picture is covered and the rest is black.
template <class Image> void ExpectBlocks(const Image& s, const Buffer& pic, ViewZoom z)
{
    long long sx = (static_cast<long long>(pic.Width()) * z.n + z.m - 1) / z.m;
    long long sy = (static_cast<long long>(pic.Height()) * z.n + z.m - 1) / z.m;
    int bad = 0;
    for (int y = 0; y < s.height; y++)
        for (int x = 0; x < s.width; x++) {
            unsigned long c = s.At(x, y);
            bool ok;
            if (x < sx && y < sy)
                ok = c != Untouched && ColourX(c) / z.m == x / z.n && ColourY(c) / z.m == y / z.n &&
                     ColourX(c) < pic.Width() && ColourY(c) < pic.Height();
            else
                ok = c == 0;
            if (!ok && bad++ < 5)
                ADD_FAILURE() << "zoom " << z.n << "/" << z.m << " at (" << x << "," << y << "): " << std::hex
                              << c;
        }
    EXPECT_EQ(0, bad);
}

class Screen {
public:
    Screen(int w, int h) : width(w), height(h)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        void* p = nullptr;
        bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<unsigned long*>(p);
        old = SelectObject(dc, bitmap);
        Clear();
    }
    ~Screen()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    void Clear()
    {
        GdiFlush();
        for (int i = 0; i < width * height; i++)
            bits[i] = Untouched;
    }
    unsigned long At(int x, int y) const
    {
        GdiFlush();
        return bits[y * width + x] & 0xFFFFFF;
    }
    bool SameAs(const Screen& other) const
    {
        GdiFlush();
        for (int i = 0; i < width * height; i++)
            if ((bits[i] & 0xFFFFFF) != (other.bits[i] & 0xFFFFFF))
                return false;
        return true;
    }

    int width, height;
    HDC dc;

private:
    HBITMAP bitmap;
    HGDIOBJ old;
    unsigned long* bits;
};

#endif
