#include "colourkeys.h"

#include <algorithm>
#include <cstdio>

namespace {
const int HueTurn = 360;

struct ChannelStep {
    int channel;  // 0 red or hue, 1 green or saturation, 2 blue or value
    int delta;
};

bool ChannelStepOf(ImageKey key, ChannelStep& step)
{
    switch (key) {
    case ImageKey::RedUp: step = ChannelStep{0, 1}; return true;
    case ImageKey::RedDown: step = ChannelStep{0, -1}; return true;
    case ImageKey::GreenUp: step = ChannelStep{1, 1}; return true;
    case ImageKey::GreenDown: step = ChannelStep{1, -1}; return true;
    case ImageKey::BlueUp: step = ChannelStep{2, 1}; return true;
    case ImageKey::BlueDown: step = ChannelStep{2, -1}; return true;
    default: return false;
    }
}

int StepByte(int value, int delta) { return std::max(0, std::min(255, value + delta)); }

void StepRgb(KeyedColour& c, ChannelStep step)
{
    int* channels[3] = {&c.rgb.r, &c.rgb.g, &c.rgb.b};
    *channels[step.channel] = StepByte(*channels[step.channel], step.delta);
    HSVTriple hsv = RGBToHSV(c.rgb.r, c.rgb.g, c.rgb.b);
    // A grey keeps the hue it had, as the swatches do.
    if (hsv.s == 0) hsv.h = c.hsv.h;
    c.hsv = hsv;
}

void StepHsv(KeyedColour& c, ChannelStep step)
{
    if (step.channel == 0)
        c.hsv.h = (c.hsv.h + step.delta + HueTurn) % HueTurn;
    else if (step.channel == 1)
        c.hsv.s = StepByte(c.hsv.s, step.delta);
    else
        c.hsv.v = StepByte(c.hsv.v, step.delta);
    c.rgb = HSVToRGB(c.hsv.h, c.hsv.s, c.hsv.v);
}
}  // namespace

bool StepColourChannel(ImageKey key, bool hsvShown, KeyedColour& colour)
{
    ChannelStep step{};
    if (!ChannelStepOf(key, step)) return false;
    if (hsvShown)
        StepHsv(colour, step);
    else
        StepRgb(colour, step);
    return true;
}

AnsiString KeyedColourReadout(const KeyedColour& colour, bool hsvShown)
{
    char text[40];
    if (hsvShown)
        std::snprintf(text, sizeof text, "H:%d S:%d V:%d", colour.hsv.h, colour.hsv.s, colour.hsv.v);
    else
        std::snprintf(text, sizeof text, "R:%d G:%d B:%d", colour.rgb.r, colour.rgb.g, colour.rgb.b);
    return AnsiString(text);
}
