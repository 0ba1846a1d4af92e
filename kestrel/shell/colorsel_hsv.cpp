#include "colorsel_hsv.h"

#include <algorithm>
#include "buffer.h"
#include "exceptions.h"

namespace {

// One float operation's result. The store through volatile rounds to single
// precision also where the compiler keeps x87 intermediates wider; a single
// operation on floats done in double and rounded once is exact IEEE float.
float Single(double x)
{
    volatile float f = static_cast<float>(x);
    return f;
}

void CheckChannel(int c)
{
    if (c < 0 || c > 255) throw ERangeError();
}

// Single-precision operations, each rounded once.
float Sub(float a, float b) { return Single(static_cast<double>(a) - b); }
float Mul(float a, float b) { return Single(static_cast<double>(a) * b); }
float Div(float a, float b) { return Single(static_cast<double>(a) / b); }

// Hue 0..360 (answered with 360 as 0), saturation and value 0..255.
int CheckHSV(int h, int s, int v)
{
    if (h < 0 || h > 360) throw ERangeError();
    CheckChannel(s);
    CheckChannel(v);
    return h == 360 ? 0 : h;
}

// The channels of hue sector h / 60 from the value and its three mixes.
RGBTriple FromSector(int h, int v, int p, int q, int t)
{
    switch (h / 60) {
    case 0: return RGBTriple{v, t, p};
    case 1: return RGBTriple{q, v, p};
    case 2: return RGBTriple{p, v, t};
    case 3: return RGBTriple{p, q, v};
    case 4: return RGBTriple{t, p, v};
    default: return RGBTriple{v, p, q};
    }
}

}  // namespace

HSVTriple RGBToHSV(int r, int g, int b)
{
    CheckChannel(r);
    CheckChannel(g);
    CheckChannel(b);
    int max = std::max(r, std::max(g, b));
    int min = std::min(r, std::min(g, b));
    HSVTriple out{0, 0, max};
    if (max == 0) return out;
    out.s = static_cast<int>(Div(static_cast<float>((max - min) * 255), static_cast<float>(max)));
    if (out.s == 0) return out;
    float delta = static_cast<float>(max - min);
    float hue;
    if (r == max)
        hue = Div(static_cast<float>(g - b), delta);
    else if (g == max)
        hue = Single(2.0 + Div(static_cast<float>(b - r), delta));
    else
        hue = Single(4.0 + Div(static_cast<float>(r - g), delta));
    out.h = static_cast<int>(Mul(hue, 60.0f));
    if (out.h < 0) out.h += 360;
    return out;
}

RGBTriple HSVToRGB(int h, int s, int v)
{
    h = CheckHSV(h, s, v);
    if (s == 0) return RGBTriple{v, v, v};
    float f = Div(static_cast<float>(s), 255.0f);
    float frac = Sub(Div(static_cast<float>(h), 60.0f), static_cast<float>(h / 60));
    float fv = static_cast<float>(v);
    int p = static_cast<int>(Mul(fv, Sub(1.0f, f)));
    int q = static_cast<int>(Mul(fv, Sub(1.0f, Mul(f, frac))));
    int t = static_cast<int>(Mul(fv, Sub(1.0f, Mul(f, Sub(1.0f, frac)))));
    return FromSector(h, v, p, q, t);
}

RGBTriple HSVToRGBFixed(int h, int s, int v)
{
    h = CheckHSV(h, s, v);
    if (s == 0) return RGBTriple{v, v, v};
    const long long one = 65536;
    long long f = s * one / 255;
    long long frac = (h % 60) * one / 60;
    int p = static_cast<int>(v * (one - f) >> 16);
    int q = static_cast<int>(v * (one - (f * frac >> 16)) >> 16);
    int t = static_cast<int>(v * (one - (f * (one - frac) >> 16)) >> 16);
    return FromSector(h, v, p, q, t);
}

RGBTriple PixelToRGB(unsigned long pixel)
{
    return RGBTriple{static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
                     static_cast<int>(pixel & 0xFF)};
}

unsigned long RGBToPixel(RGBTriple c)
{
    return (static_cast<unsigned long>(c.r & 0xFF) << 16) | (static_cast<unsigned long>(c.g & 0xFF) << 8) |
           static_cast<unsigned long>(c.b & 0xFF);
}

int HSVTag(HSVTriple c) { return (c.h << 16) | ((c.s & 0xFF) << 8) | (c.v & 0xFF); }

HSVTriple TagToHSV(int tag) { return HSVTriple{(tag >> 16) & 0xFFFF, (tag >> 8) & 0xFF, tag & 0xFF}; }

int TagForPixel(unsigned long pixel, int oldTag)
{
    RGBTriple c = PixelToRGB(pixel);
    HSVTriple hsv = RGBToHSV(c.r, c.g, c.b);
    if (hsv.s == 0) {
        int oldHue = TagToHSV(oldTag).h;
        if (oldHue < 360) hsv.h = oldHue;
    }
    return HSVTag(hsv);
}

void DrawSVSquare(Buffer& square, HSVTriple hsv, unsigned long pixel)
{
    if (!square.pixels || square.Width() != SquareSize || square.Height() != SquareSize) throw ERangeError();
    for (int y = 0; y < SquareSize; y++) {
        unsigned long* row = square.At(square.left, square.top + y);
        for (int x = 0; x < SquareSize; x++) row[x] = RGBToPixel(HSVToRGBFixed(hsv.h, 2 * x, 2 * y));
    }
    RGBTriple c = PixelToRGB(pixel);
    unsigned long marker = 30 * c.r + 59 * c.g + 11 * c.b < 12800 ? 0xFFFFFF : 0x000000;
    int mx = std::min(hsv.s / 2, SquareSize - 1);
    int my = std::min(hsv.v / 2, SquareSize - 1);
    *square.At(square.left + mx, square.top + my) = marker;
}
