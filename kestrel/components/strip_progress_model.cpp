#include "strip_progress_model.h"

#include <algorithm>
#include <cmath>

#include "sysutils.h"

namespace {

// The share of the way done, 0..1.
double Fraction(int position, int max)
{
    if (max <= 0) return 0.0;
    return static_cast<double>(std::max(0, std::min(position, max))) / max;
}

}  // namespace

int StripPercent(int position, int max)
{
    return static_cast<int>(std::lround(Fraction(position, max) * 100.0));
}

int StripFillWidth(int position, int max, int width)
{
    if (width <= 1) return 0;
    return static_cast<int>(std::lround(Fraction(position, max) * (width - 1)));
}

AnsiString StripText(const AnsiString& caption, int percent)
{
    AnsiString number = Format("%d%%", percent);
    if (caption.IsEmpty()) return number;
    return caption + "   " + number;
}
