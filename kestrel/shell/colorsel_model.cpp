#include "colorsel_model.h"

#include <algorithm>
#include <cctype>
#include "exceptions.h"

void ColourSelection::Load(unsigned long pixel, int tag)
{
    RGBTriple c = PixelToRGB(pixel);
    rgb_[0] = c.r;
    rgb_[1] = c.g;
    rgb_[2] = c.b;
    hsv_ = TagToHSV(TagForPixel(pixel, tag));
}

bool ColourSelection::SetChannel(ColourChannel c, int value)
{
    if (value < 0 || value > 255) throw ERangeError();
    if (rgb_[c] == value) return false;
    rgb_[c] = value;
    HSVTriple hsv = RGBToHSV(rgb_[0], rgb_[1], rgb_[2]);
    // A grey has no hue: the bar keeps the one chosen.
    if (hsv.s == 0) hsv.h = hsv_.h;
    hsv_ = hsv;
    return true;
}

bool ColourSelection::ApplyHSV(int h, int s, int v)
{
    RGBTriple c = HSVToRGB(h, s, v);
    HSVTriple before = hsv_;
    hsv_ = HSVTriple{h, s, v};
    bool changed = !(c == Rgb()) || !(before == hsv_);
    rgb_[0] = c.r;
    rgb_[1] = c.g;
    rgb_[2] = c.b;
    return changed;
}

bool ColourSelection::SetHue(int hue)
{
    if (hue < 0 || hue > 360) throw ERangeError();
    return ApplyHSV(hue, hsv_.s, hsv_.v);
}

bool ColourSelection::SetSquarePoint(int x, int y)
{
    x = std::min(std::max(x, 0), SquareSize - 1);
    y = std::min(std::max(y, 0), SquareSize - 1);
    int s = 2 * x, v = 2 * y;
    if (s == 254 && v == 254) s = v = 255;
    return ApplyHSV(hsv_.h, s, v);
}

bool ParseChannelText(const char* text, int& value)
{
    if (!text) return false;
    const char* p = text;
    while (*p && std::isspace(static_cast<unsigned char>(*p))) p++;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
    long n = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        if (n < 1000) n = n * 10 + (*p - '0');
        p++;
    }
    if (*p) return false;
    if (negative) n = -n;
    if (n < 0 || n > 255) return false;
    value = static_cast<int>(n);
    return true;
}
