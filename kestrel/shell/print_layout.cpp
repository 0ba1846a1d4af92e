#include "print_layout.h"

#include <algorithm>

namespace {

// Floating point throughout: a picture larger than the page has a scale
// below one, which integer division would make zero.
double Scale(int pageWidth, int pageHeight, int width, int height, bool fit, int imageZoom)
{
    if (!fit) return imageZoom * 3 / 100.0;
    if (width <= 0 || height <= 0) return 0;
    return std::min(double(pageWidth) / width, double(pageHeight) / height);
}

// Truncated toward zero, never below zero.
int Shrunk(int size, double scale)
{
    int result = static_cast<int>(size * scale - 1);
    return result < 0 ? 0 : result;
}

int Place(int room, int size, int where)
{
    return where == 0 ? 0 : where == 1 ? (room - size) / 2 : room - size;
}

}  // namespace

PrintPlacement PlacePicture(int pageWidth, int pageHeight, int width, int height, bool fit, int imageZoom,
                            THorzPlace horz, TVertPlace vert)
{
    PrintPlacement p;
    double s = Scale(pageWidth, pageHeight, width, height, fit, imageZoom);
    p.width = Shrunk(width, s);
    p.height = Shrunk(height, s);
    p.x = Place(pageWidth, p.width, horz);
    p.y = Place(pageHeight, p.height, vert);
    return p;
}
