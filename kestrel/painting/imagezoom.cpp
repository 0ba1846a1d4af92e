#include "imagezoom.h"

#include "exceptions.h"
#include "sysutils.h"

namespace {
const ZoomFraction fractions[] = {{3, 4}, {2, 3}, {1, 2}, {1, 3}, {1, 4}};
}

ZoomFraction ZoomStepFraction(int step)
{
    if (step < MinZoomStep || step > MaxZoomStep) throw EConvertError("Zoom step out of range: " + IntToStr(step));
    if (step >= 1) return ZoomFraction{step, 1};
    return fractions[-step];
}

double ZoomStepFactor(int step)
{
    ZoomFraction f = ZoomStepFraction(step);
    return double(f.n) / f.m;
}

unsigned long ZoomStepCode(int step)
{
    ZoomFraction f = ZoomStepFraction(step);
    return (unsigned long)f.m << 16 | (unsigned long)f.n;
}

int ZoomStepForFactor(double factor)
{
    if (factor >= MaxZoomStep) return MaxZoomStep;
    if (factor >= 1) return int(factor);
    for (int i = 0; i < 4; ++i)
        if (double(fractions[i].n) / fractions[i].m - factor <= 0.005) return -i;
    return MinZoomStep;  // also NaN and factors of 0 or less
}

int ViewToPicture(int view, int step)
{
    ZoomFraction f = ZoomStepFraction(step);
    return int((long long)view * f.m / f.n);
}

int ZoomedLength(int pictureLength, int step)
{
    ZoomFraction f = ZoomStepFraction(step);
    return int((long long)(pictureLength / f.m) * f.n);
}

int ClampViewToPicture(int view, int pictureLength, int step)
{
    ZoomFraction f = ZoomStepFraction(step);
    if (view < 0) return 0;
    if ((long long)view * f.m >= (long long)pictureLength * f.n)
        return int((long long)(pictureLength - 1) * f.n / f.m);
    return view;
}
