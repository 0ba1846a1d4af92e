// The brush: paint modes and recolouring into StampBuffer, the hot spot,
// trimming, scaling and turning.
#include <algorithm>
#include <cmath>

#include "exceptions.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "rotate_geometry.h"
#include "stretch_geometry.h"
#include "tool_host.h"

static const int StatusModePanel = 0;

template <class F> static void ForEachPixel(Buffer& b, F f)
{
    if (!b.pixels) return;
    for (int y = b.top; y <= b.bottom; ++y) {
        unsigned long* p = b.At(b.left, y);
        for (int x = 0; x < b.Width(); ++x) f(p[x]);
    }
}

// dest := a copy of src at (0, 0); built aside first, so a failed
// allocation leaves dest as it was.
static void CopyPicture(Buffer& dest, Buffer& src)
{
    Buffer b;
    b.Alloc(Pair<int>{src.Width(), src.Height()});
    if (b.pixels) b.Copy(src, Pair<int>{-src.left, -src.top}, 0xFFFFFFFF);
    dest = b;
}

void RecolorBrush(bool rightButton)
{
    CopyPicture(StampBuffer, CurrentBrush);
    unsigned char mode = BrushState.paintMode;
    if (rightButton) {
        unsigned long bg = BackColour();
        if (mode == PaintModeR)
            StampBuffer.Box(StampBuffer.GetRect(), bg);
        else
            ForEachPixel(StampBuffer, [bg](unsigned long& p) {
                if (p != KeyPixel) p = bg;
            });
    } else if (mode == PaintModeC) {
        unsigned long fg = ForeColour();
        ForEachPixel(StampBuffer, [fg](unsigned long& p) {
            if (p != KeyPixel) p = fg;
        });
    } else if (mode == PaintModeR) {
        StampBuffer.ChColor(KeyPixel, BrushState.keyColour);
    }
}

static void SetPaintMode(unsigned char mode, const char* letter)
{
    // A built-in brush has no colours of its own to paint.
    if (mode != PaintModeC && !BrushState.pictureBrush) return;
    BrushState.paintMode = mode;
    SetImageStatusText(StatusModePanel, letter);
    RecolorBrush(false);
}

void SetPaintModeP() { SetPaintMode(PaintModeP, "P"); }
void SetPaintModeC() { SetPaintMode(PaintModeC, "C"); }
void SetPaintModeR() { SetPaintMode(PaintModeR, "R"); }

void NextHotSpot()
{
    HideOutline();
    BrushState.hotSpot = (unsigned char)((BrushState.hotSpot + 1) % 5);
    ShowOutline();
}

static bool RowIsKey(Buffer& b, int y)
{
    const unsigned long* p = b.At(b.left, y);
    for (int x = 0; x < b.Width(); ++x)
        if (p[x] != KeyPixel) return false;
    return true;
}

static bool ColumnIsKey(Buffer& b, int x, int top, int bottom)
{
    for (int y = top; y <= bottom; ++y)
        if (*b.At(x, y) != KeyPixel) return false;
    return true;
}

// The smallest rectangle holding every painted pixel; empty when none.
static Rect PaintedRect(Buffer& b)
{
    Rect r = b.GetRect();
    while (r.top <= r.bottom && RowIsKey(b, r.top)) ++r.top;
    while (r.bottom >= r.top && RowIsKey(b, r.bottom)) --r.bottom;
    if (r.top > r.bottom) return Rect{0, 0, -1, -1};
    while (ColumnIsKey(b, r.left, r.top, r.bottom)) ++r.left;
    while (ColumnIsKey(b, r.right, r.top, r.bottom)) --r.right;
    return r;
}

void OptimiseBrush()
{
    if (!OptimBrush || !CurrentBrush.pixels) return;
    TPoint old = HotSpotOf(CurrentBrush.Width(), CurrentBrush.Height(), BrushState.hotSpot);
    TPoint stampAt = {MousePoint.x - old.x, MousePoint.y - old.y};
    Rect r = PaintedRect(CurrentBrush);
    // A brush with no painted pixel stays as it is: trimming it would leave
    // a brush of no size.
    if (r.right < r.left) return;
    if (r.left == CurrentBrush.left && r.top == CurrentBrush.top && r.right == CurrentBrush.right &&
        r.bottom == CurrentBrush.bottom)
        return;
    int oldLeft = CurrentBrush.left, oldTop = CurrentBrush.top;
    Buffer part(CurrentBrush, r, false);
    Buffer trimmed;
    CopyPicture(trimmed, part);
    CurrentBrush.Buffer::operator=(trimmed);
    // The trimmed brush stays where it was on screen.
    TPoint now = HotSpotOf(CurrentBrush.Width(), CurrentBrush.Height(), BrushState.hotSpot);
    WarpPointer(stampAt.x + r.left - oldLeft + now.x, stampAt.y + r.top - oldTop + now.y);
    RecolorBrush(false);
}

// Brushes beyond this side are refused before anything is allocated.
static const double MaxBrushSide = 32767;

static int ScaledSide(int side, double factor)
{
    double v = std::trunc(side * factor);
    if (std::isnan(v) || std::fabs(v) > MaxBrushSide) throw ERangeError();
    // A brush keeps at least one pixel.
    return std::max(1, int(std::fabs(v)));
}

// Parks the tool around a brush change, also when the change fails.
struct ToolParked {
    ToolParked() { SuspendTool(); }
    ~ToolParked() { ResumeTool(); }
};

void ScaleBrush(double fx, double fy)
{
    if (!CurrentBrush.pixels) return;
    int w = ScaledSide(CurrentBrush.Width(), fx), h = ScaledSide(CurrentBrush.Height(), fy);
    ToolParked parked;
    // The key colour stands for the transparent pixels while smoothing: one
    // the brush paints would turn those pixels transparent.
    unsigned long key = BrushState.keyColour = FreeKeyColour(CurrentBrush, BrushState.keyColour);
    Buffer scaled;
    scaled.Alloc(Pair<int>{w, h});
    scaled.Box(scaled.GetRect(), key);
    scaled.Scale(CurrentBrush, Pair<int>{fx < 0 ? -w : w, fy < 0 ? -h : h}, Pair<int>{0, 0}, KeyPixel, AntiAlias ? 1 : 0);
    if (w == 1 && h == 1 && scaled.pixels[0] == key) scaled.pixels[0] = ForeColour();
    scaled.ChColor(key, KeyPixel);
    CopyPicture(StampBuffer, scaled);
    CopyPicture(CurrentBrush, StampBuffer);
    OptimiseBrush();
    RecolorBrush(false);
}

void TransformBrush(double degrees)
{
    if (!CurrentBrush.pixels) return;
    if (!std::isfinite(degrees)) throw ERangeError();
    double a = degrees * RadiansPerDegree;
    int w = CurrentBrush.Width(), h = CurrentBrush.Height();
    // The box the rotate tool's preview shows, turned the way it shows it.
    int bw = RotatedBrushWidth(w, h, a), bh = RotatedBrushHeight(w, h, a);
    if (bw > MaxPictureSide || bh > MaxPictureSide) throw ERangeError();
    Matrix2D m = TurnMatrix(a);
    Pair<int> t = TurnShift(m, CurrentBrush.left + w / 2.0, CurrentBrush.top + h / 2.0, bw / 2.0, bh / 2.0);
    Buffer turned;
    turned.Alloc(Pair<int>{bw, bh});
    turned.Box(turned.GetRect(), KeyPixel);
    turned.XFormLin(CurrentBrush, m, t, KeyPixel, AntiAlias ? 1 : 0);
    CopyPicture(StampBuffer, turned);
    CopyPicture(CurrentBrush, StampBuffer);
    RecolorBrush(false);
}

void InitPaintKit()
{
    StampRecolourHook = [] { RecolorBrush(false); };
}
