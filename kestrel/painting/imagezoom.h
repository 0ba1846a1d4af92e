// The image window's zoom step and the arithmetic on it. A step of 1 and up
// is an integer factor; 0 to -4 stand for 3/4, 2/3, 1/2, 1/3 and 1/4. View
// and picture coordinates are converted as fractions in integers, so 2/3
// maps exactly instead of by the luck of a double's rounding.
#ifndef KESTREL_IMAGEZOOM_H
#define KESTREL_IMAGEZOOM_H

const int MinZoomStep = -4;
const int MaxZoomStep = 32;

// n view pixels show m picture pixels.
struct ZoomFraction {
    int n;
    int m;
};

// EConvertError for a step outside MinZoomStep .. MaxZoomStep.
ZoomFraction ZoomStepFraction(int step);
double ZoomStepFactor(int step);
// The view's zoom code: divisor << 16 | numerator (0x10000 | p for p >= 1).
unsigned long ZoomStepCode(int step);
// The allowed step for a factor: from 1 up truncated (at most 32); below 1
// the first of 3/4, 2/3, 1/2, 1/3 not more than 0.005 above it, else 1/4.
int ZoomStepForFactor(double factor);

// A view coordinate as a picture coordinate, truncated toward zero.
int ViewToPicture(int view, int step);
// What a picture of this length takes on screen: whole blocks only.
int ZoomedLength(int pictureLength, int step);
// A view coordinate held inside a picture of this length: negative ones
// become 0, ones at or past the zoomed length the last picture pixel's.
int ClampViewToPicture(int view, int pictureLength, int step);

#endif
