#include "rotate_geometry.h"

#include <algorithm>
#include <cmath>

static int BoxSide(double along, double across)
{
    double side = std::trunc(along + across);
    // Beyond any picture: the callers refuse it by its size.
    if (!(side < 1e9)) return 1000000000;
    return std::max(1, int(side));
}

int RotatedBrushWidth(int w, int h, double radians)
{
    return BoxSide(std::fabs(std::cos(radians)) * w, std::fabs(std::sin(radians)) * h);
}

int RotatedBrushHeight(int w, int h, double radians)
{
    return BoxSide(std::fabs(std::sin(radians)) * w, std::fabs(std::cos(radians)) * h);
}

Matrix2D TurnMatrix(double radians)
{
    double c = std::cos(-radians), s = std::sin(-radians);
    const Matrix2D& u = Matrix2D::Unit;
    return Matrix2D{c * u.m0 - s * u.m1, s * u.m0 + c * u.m1, c * u.m2 - s * u.m3, s * u.m2 + c * u.m3};
}

Pair<int> TurnShift(const Matrix2D& m, double sx, double sy, double dx, double dy)
{
    double tx = dx - (m.m0 * sx + m.m2 * sy), ty = dy - (m.m1 * sx + m.m3 * sy);
    return Pair<int>{int(std::lround(tx)), int(std::lround(ty))};
}

double PointerAngle(int cx, int cy, int x, int y)
{
    if (x == cx && y == cy) return 0;
    return std::atan2(double(cy) - y, double(x) - cx);
}

TurnCheck CheckPictureTurn(int srcW, int srcH, double degrees, bool keepSize, int& w, int& h)
{
    if (!(std::fabs(degrees) <= MaxTurnDegrees)) return TurnCheck::BadAngle;
    w = keepSize ? srcW : RotatedBrushWidth(srcW, srcH, degrees * RadiansPerDegree);
    h = keepSize ? srcH : RotatedBrushHeight(srcW, srcH, degrees * RadiansPerDegree);
    if (w > MaxPictureSide || h > MaxPictureSide) return TurnCheck::TooLarge;
    return TurnCheck::Ok;
}

void TurnPicture(Buffer& src, Buffer& out, double degrees, bool keepSize, unsigned long bg, bool smooth)
{
    int w = 0, h = 0;
    CheckPictureTurn(src.Width(), src.Height(), degrees, keepSize, w, h);
    Buffer turned;
    turned.Alloc(Pair<int>{w, h});
    turned.Box(turned.GetRect(), bg);
    Matrix2D m = TurnMatrix(degrees * RadiansPerDegree);
    // Exact centres: rounding either one to a pixel loses a row or column
    // of odd sizes at a quarter turn.
    Pair<int> t = TurnShift(m, src.left + src.Width() / 2.0, src.top + src.Height() / 2.0, w / 2.0, h / 2.0);
    turned.XFormLin(src, m, t, 0xFFFFFFFF, smooth ? 1 : 0);
    out = turned;
}
