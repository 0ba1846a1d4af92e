// What the colour selector shows, apart from its controls: the three
// channels, the hue of the hue bar and the saturation and value of the
// square, and how each kind of change moves the others.
#ifndef KESTREL_COLORSEL_MODEL_H
#define KESTREL_COLORSEL_MODEL_H

#include "colorsel_hsv.h"

enum ColourChannel { ChannelRed = 0, ChannelGreen = 1, ChannelBlue = 2 };

class ColourSelection {
public:
    // From a swatch: its colour and its tag (the hue of a grey comes from it).
    void Load(unsigned long pixel, int tag);

    int Channel(ColourChannel c) const { return rgb_[c]; }
    RGBTriple Rgb() const { return RGBTriple{rgb_[0], rgb_[1], rgb_[2]}; }
    HSVTriple Hsv() const { return hsv_; }
    unsigned long Pixel() const { return RGBToPixel(Rgb()); }
    int Tag() const { return HSVTag(hsv_); }

    // A channel bar or edit moved: saturation and value follow, and so does
    // the hue unless the colour became a grey. False when nothing changed.
    bool SetChannel(ColourChannel c, int value);
    // The hue bar moved: the channels follow.
    bool SetHue(int hue);
    // A point of the square (clamped to it): saturation 2x, value 2y, and
    // 254 for both counts as 255 so that the pure colour is reachable. The
    // channels follow.
    bool SetSquarePoint(int x, int y);

private:
    // The hue bar and the square keep what the user set: recomputing HSV
    // from the rounded channels would make the hue drift while dragging in
    // the square, and turn it red at a grey.
    bool ApplyHSV(int h, int s, int v);

    int rgb_[3] = {0, 0, 0};
    HSVTriple hsv_{0, 0, 0};
};

// A channel typed into an edit: exactly one integer 0..255 (leading blanks
// and a sign allowed, nothing after it). False for anything else.
bool ParseChannelText(const char* text, int& value);

#endif
