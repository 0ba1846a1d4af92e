// Colour models of the swatches and the colour selector: RGB <-> HSV with
// hue 0..359 and saturation and value 0..255, the swatch tag that keeps a
// colour's HSV beside it, and the selector's saturation/value square.
#ifndef KESTREL_COLORSEL_HSV_H
#define KESTREL_COLORSEL_HSV_H

class Buffer;

struct RGBTriple {
    int r, g, b;
};
struct HSVTriple {
    int h, s, v;
};

inline bool operator==(RGBTriple a, RGBTriple b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline bool operator==(HSVTriple a, HSVTriple b) { return a.h == b.h && a.s == b.s && a.v == b.v; }

// Channels 0..255, else ERangeError. Computed in single precision, each
// step rounded as a float, every conversion to an integer truncated: the
// colours stored in swatch tags and palette files depend on these values.
HSVTriple RGBToHSV(int r, int g, int b);
// Hue 0..360 (360 counts as 0), saturation and value 0..255, else ERangeError.
RGBTriple HSVToRGB(int h, int s, int v);
// The same in 16.16 fixed point, for drawing the square fast; it may differ
// from HSVToRGB by one in a channel.
RGBTriple HSVToRGBFixed(int h, int s, int v);

// 0x00RRGGBB <-> channels; the flag byte is dropped.
RGBTriple PixelToRGB(unsigned long pixel);
unsigned long RGBToPixel(RGBTriple c);

// A swatch's tag: (hue << 16) | (saturation << 8) | value.
int HSVTag(HSVTriple c);
HSVTriple TagToHSV(int tag);
// The tag of a colour: its HSV, except that a grey (no hue of its own)
// keeps the hue of oldTag, so a hue once chosen survives desaturation.
int TagForPixel(unsigned long pixel, int oldTag);

// The selector's square is SquareSize x SquareSize: column x has saturation
// 2x, row y value 2y.
const int SquareSize = 128;
// Draws the square for hue into square (SquareSize x SquareSize, else
// ERangeError), with the marker of the colour (hsv for its place, pixel
// for its brightness).
void DrawSVSquare(Buffer& square, HSVTriple hsv, unsigned long pixel);

#endif
