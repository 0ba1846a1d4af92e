// System colours resolved at the moment of use, so a theme change is seen.
#include "graphics.h"
#include "winapi.h"

int ColorToRGB(TColor color)
{
    if (color < 0) return int(GetSysColor(color & 0xFF));
    return color;
}
