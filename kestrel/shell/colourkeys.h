// The image window's colour keys, apart from the swatches: each steps one
// channel of the drawing colour in the model the readout shows (red, green,
// blue; or hue, saturation, value), and the readout names the colour in
// that model.
#ifndef KESTREL_COLOURKEYS_H
#define KESTREL_COLOURKEYS_H

#include "ansistring.h"
#include "colorsel_hsv.h"
#include "imagekeys.h"

// The drawing colour as both models hold it. The HSV triple is kept, not
// recomputed from the channels: a grey has no hue of its own, and the
// rounded channels would make the hue drift while it is stepped.
struct KeyedColour {
    RGBTriple rgb;
    HSVTriple hsv;
};

// Shift+Page Up / Home step the first channel (red, or hue wrapping
// 359 <-> 0), Shift+Right / Left the second (green, or saturation),
// Shift+Page Down / End the third (blue, or value); every other channel
// stays within 0..255. The other model follows. False for a key that steps
// no channel.
bool StepColourChannel(ImageKey key, bool hsvShown, KeyedColour& colour);

// "R:" r " G:" g " B:" b, or "H:" h " S:" s " V:" v.
AnsiString KeyedColourReadout(const KeyedColour& colour, bool hsvShown);

#endif
