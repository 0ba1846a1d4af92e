// The arithmetic of turning brushes and pictures: the box a turned picture
// needs, the matrix Pixmill's linear transform takes and the shift that
// keeps the centre in place. Positive angles turn counter-clockwise on
// screen (picture rows grow downwards), as the rotate tool's handle does.
#ifndef KESTREL_ROTATE_GEOMETRY_H
#define KESTREL_ROTATE_GEOMETRY_H

#include "buffer.h"

const double RadiansPerDegree = 3.14159265358979323846 / 180;
// Angles typed for a picture stay within one turn either way.
const double MaxTurnDegrees = 360;
// No picture or brush grows beyond this many pixels on a side.
const int MaxPictureSide = 16384;

// The box that holds a w x h picture turned by the angle:
// trunc(|cos a| w + |sin a| h) by trunc(|sin a| w + |cos a| h), at least 1.
int RotatedBrushWidth(int w, int h, double radians);
int RotatedBrushHeight(int w, int h, double radians);

// The unit matrix turned by -a, which in picture coordinates turns by a
// counter-clockwise.
Matrix2D TurnMatrix(double radians);

// The whole-pixel translation that takes the source point (sx, sy) through
// m onto (dx, dy), rounded: with cos 90 = 6e-17 the exact products miss
// whole numbers by a hair, and truncation would shift by a pixel.
Pair<int> TurnShift(const Matrix2D& m, double sx, double sy, double dx, double dy);

// The angle of the rotate tool's handle at (x, y) around (cx, cy), as seen
// on screen; 0 on the centre itself.
double PointerAngle(int cx, int cy, int x, int y);

// Whether a picture can be turned by the angle: a number within one turn
// whose result fits MaxPictureSide. w, h: the result's size.
enum class TurnCheck { Ok, BadAngle, TooLarge };
TurnCheck CheckPictureTurn(int srcW, int srcH, double degrees, bool keepSize, int& w, int& h);

// out := src turned by degrees around its centre, in a box just large
// enough, or src's own size with keepSize; the uncovered corners are bg.
// Smooth takes the mean of four samples. Checked by CheckPictureTurn
// first; EOutOfMemory leaves out as it was.
void TurnPicture(Buffer& src, Buffer& out, double degrees, bool keepSize, unsigned long bg, bool smooth);

#endif
