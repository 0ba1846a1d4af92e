// Lengths of the page printer: inches or millimetres, and printer pixels.
#ifndef KESTREL_PAGEPRINTER_UNITS_H
#define KESTREL_PAGEPRINTER_UNITS_H

#include <cmath>

enum TMeasureUnit { muInches, muMillimeters };

const double InchesPerMillimeter = 0.039370078740157480314;

inline double ToInches(double length, TMeasureUnit unit)
{
    return unit == muMillimeters ? length * InchesPerMillimeter : length;
}

// A length in pixels at ppi pixels per inch, rounded.
inline int LengthToPixels(double length, TMeasureUnit unit, int ppi)
{
    return static_cast<int>(std::lround(ToInches(length, unit) * ppi));
}

inline double PixelsToLength(int pixels, TMeasureUnit unit, int ppi)
{
    double inches = double(pixels) / ppi;
    return unit == muMillimeters ? inches * 25.4 : inches;
}

#endif
