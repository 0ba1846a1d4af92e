// Stamping the brush at points, along lines and curves, the dotted XOR
// versions of those, and the area saved under a preview stamp.
#include <algorithm>
#include <cmath>

#include "exceptions.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "paintkit_walk.h"
#include "pictureview.h"

TPoint HotSpotOf(int w, int h, int handle)
{
    TPoint o = {0, 0};
    if (handle == HandleCentre) o = TPoint{w / 2, h / 2};
    if (handle == HandleRightTop || handle == HandleRightBottom) o.x = w - 1;
    if (handle == HandleRightBottom || handle == HandleLeftBottom) o.y = h - 1;
    return o;
}

TPoint StampHotSpot() { return HotSpotOf(StampBuffer.Width(), StampBuffer.Height(), BrushState.hotSpot); }

// The stamp's rectangle when held at (x, y), inclusive.
static Rect StampRect(int x, int y)
{
    TPoint o = StampHotSpot();
    return Rect{x - o.x, y - o.y, x - o.x + StampBuffer.Width() - 1, y - o.y + StampBuffer.Height() - 1};
}

void StampOnce(int x, int y)
{
    if (!StampBuffer.pixels) return;
    Rect r = StampRect(x, y);
    WorkView.Copy(StampBuffer, Pair<int>{r.left - StampBuffer.left, r.top - StampBuffer.top}, KeyPixel);
}

void StampBrush(int x, int y)
{
    SetVisibleClip();
    if (!StampBuffer.pixels) return;
    Rect r = StampRect(x, y);
    SaveRegion(r.left, r.top, r.right, r.bottom);
    StampOnce(x, y);
    InvalidatePictureRect(r.left, r.top, r.right + 1, r.bottom + 1);
    UpdateView();
}

// 16.16 fixed point of a spacing or phase. Values beyond the range of any
// picture are held at its end.
static long long Fixed(double v)
{
    if (std::isnan(v)) throw ERangeError();
    v = std::max(-65536.0, std::min(v, 65536.0));
    return (long long)(v * 65536);
}

// The counter walk shared by stamped and dotted lines: stamp(x, y) where a
// stamp falls; answers the distance left.
template <class Stamp>
static double SpacedWalk(int x1, int y1, int x2, int y2, double spacing, double phase, Stamp stamp)
{
    long long c = Fixed(phase), step = Fixed(spacing);
    WalkLine(x1, y1, x2, y2, [&](int x, int y) {
        if (c <= 0x10000) {
            stamp(x, y);
            c += step - 0x10000;
        } else {
            c -= 0x10000;
        }
    });
    return double(c) / 65536;
}

double StampBrushLine(int x1, int y1, int x2, int y2, double spacing, double phase)
{
    SetVisibleClip();
    double left = SpacedWalk(x1, y1, x2, y2, spacing, phase, StampOnce);
    TPoint o = StampHotSpot();
    InvalidatePictureRect(std::min(x1, x2) - o.x, std::min(y1, y2) - o.y,
                          std::max(x1, x2) + StampBuffer.Width() - o.x, std::max(y1, y2) + StampBuffer.Height() - o.y);
    return left;
}

double DottedLine(Buffer& dest, double spacing, double phase, int x1, int y1, int x2, int y2)
{
    double left = SpacedWalk(x1, y1, x2, y2, spacing, phase,
                             [&](int x, int y) { dest.PutPixel(Pair<int>{x, y}, OutlineColour); });
    InvalidatePictureRect(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1);
    return left;
}

// Truncation toward zero, held within int. No rounding first: sin 30
// degrees is a hair below one half, and barbs land where plain truncation
// puts them (an arrow of 6 on a horizontal line: 2 pixels off the line, not 3).
static int Trunc(double v) { return int(std::trunc(std::max(-2e9, std::min(v, 2e9)))); }

TPoint PointAtAngle(int x0, int y0, int x1, int y1, double degrees, double length)
{
    double dx = double(x1) - x0, dy = double(y1) - y0;
    double d = std::sqrt(dx * dx + dy * dy);
    if (d == 0) return TPoint{x0, y0};
    double m = length / d, a = degrees * 3.14159265358979323846 / 180;
    return TPoint{x0 + Trunc((dx * std::cos(a) - dy * std::sin(a)) * m),
                     y0 + Trunc((dx * std::sin(a) + dy * std::cos(a)) * m)};
}

// The quadratic curve in 16 segments, then the arrow at its end; segment
// draws one piece (from, to, spacing, phase) and answers the phase left.
template <class Segment>
static void WalkCurve(TPoint p0, TPoint p1, TPoint p2, double spacing, int arrow, Segment segment)
{
    double phase = 1.0;
    TPoint prev = p0;
    for (int i = 1; i <= 16; ++i) {
        double t = i / 16.0, u = 1 - t;
        TPoint p = {int(u * u * p0.x + 2 * t * u * p1.x + t * t * p2.x),
                       int(u * u * p0.y + 2 * t * u * p1.y + t * t * p2.y)};
        // The shared end point is walked again by the next segment.
        phase = segment(prev, p, spacing, phase) + 1;
        ExtendDirtyRect(prev.x, prev.y, p.x, p.y);
        if (i == 16 && arrow >= 1 && arrow <= 4) {
            for (double angle : {-30.0, 30.0}) {
                TPoint a = PointAtAngle(p.x, p.y, prev.x, prev.y, angle, ArrowSizes[arrow - 1]);
                segment(a, p, 1.0, 1.0);
                ExtendDirtyRect(a.x, a.y, p.x, p.y);
            }
        }
        prev = p;
    }
}

void StampBrushCurve(TPoint p0, TPoint p1, TPoint p2, double spacing, int arrow)
{
    ResetDirtyRect();
    WalkCurve(p0, p1, p2, spacing, arrow, [](TPoint a, TPoint b, double s, double phase) {
        return StampBrushLine(a.x, a.y, b.x, b.y, s, phase);
    });
    CropUndoToBrush();
}

void DottedCurve(TPoint p0, TPoint p1, TPoint p2, double spacing, int arrow)
{
    if (!CurrentPicture) return;
    UDBuffer& pic = *CurrentPicture;
    WalkCurve(p0, p1, p2, spacing, arrow, [&](TPoint a, TPoint b, double s, double phase) {
        return DottedLine(pic, s, phase, a.x, a.y, b.x, b.y);
    });
}

void CropUndoToBrush()
{
    UDBuffer* pic = CurrentPicture;
    if (!pic) return;
    if (DirtyRectIsEmpty()) {
        UDBuffer::DropUndo(pic);
        return;
    }
    TPoint o = StampHotSpot();
    int w = std::max(StampBuffer.Width(), 1), h = std::max(StampBuffer.Height(), 1);
    UDBuffer::ShrinkUndo(pic, DirtyRect.left - o.x, DirtyRect.top - o.y, DirtyRect.right + w - 1 - o.x,
                         DirtyRect.bottom + h - 1 - o.y);
}

// The area under the last preview, and the picture it was taken from: a
// preview is never restored into another window's picture.
static UDBuffer BackupPicture;
static const UDBuffer* backupSource = nullptr;

bool SaveRegion(int x1, int y1, int x2, int y2)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic) return false;
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    backupSource = nullptr;
    BackupPicture.Alloc(Pair<int>{x2 - x1 + 1, y2 - y1 + 1});
    BackupPicture.Copy(*pic, Pair<int>{-x1, -y1}, 0xFFFFFFFF);
    backupSource = pic;
    return true;
}

void RestoreRegion(int x1, int y1, int x2, int y2)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic || !BackupPicture.pixels || backupSource != pic) return;
    int x = std::min(x1, x2), y = std::min(y1, y2);
    pic->Copy(BackupPicture, Pair<int>{x, y}, 0xFFFFFFFF);
    InvalidatePictureRect(x, y, x + BackupPicture.Width(), y + BackupPicture.Height());
}

void RestoreUnderBrush(int x, int y)
{
    Rect r = StampRect(x, y);
    RestoreRegion(r.left, r.top, r.right, r.bottom);
}
