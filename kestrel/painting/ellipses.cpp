#include "ellipses.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "drawtools_common.h"
#include "fills.h"
#include "lines.h"
#include "messages.h"
#include "optionbar.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "paintkit_walk.h"
#include "pictureview.h"
#include "seedfill.h"
#include "shapes_tools.h"

// Far beyond any picture; keeps the products below in range.
static const int MaxRadius = 1 << 20;

int EllipseSegments(int radiusX, int radiusY)
{
    int shift = std::max(std::abs(radiusX), std::abs(radiusY)) / 32;
    return 16 << std::min(shift, 6);
}

std::vector<TPoint> EllipseVertices(int cx, int cy, int rx, int ry)
{
    int n = EllipseSegments(rx, ry), step = 1024 / n;
    std::vector<TPoint> v;
    v.reserve(size_t(n) + 1);
    v.push_back(TPoint{cx, cy - ry});
    for (int i = 1; i <= n; ++i) {
        int k = (step * i) % 1024;
        v.push_back(TPoint{cx - rx * SineTable[k] / 512, cy - ry * SineTable[k + 256] / 512});
    }
    return v;
}

// Down the left half from the top; each row once, from the walk's point to
// its mirror image.
void EllipseSpans(int cx, int cy, int rx, int ry, const std::function<void(int, int, int)>& span)
{
    rx = std::abs(rx);
    ry = std::abs(ry);
    int n = EllipseSegments(rx, ry), step = 1024 / n;
    int px = cx, py = cy - ry, row = py;
    span(px, 2 * cx - px, row);
    for (int i = 1; i <= n / 2; ++i) {
        int x = cx - rx * SineTable[i * step] / 512, y = cy - ry * SineTable[i * step + 256] / 512;
        WalkLine(px, py, x, y, [&](int wx, int wy) {
            if (wy == row) return;
            row = wy;
            span(std::min(wx, 2 * cx - wx), std::max(wx, 2 * cx - wx), wy);
        });
        px = x;
        py = y;
    }
}

static int Round(double v) { return int(std::min(v, double(MaxRadius)) + 0.5); }

P_elpse::P_elpse(bool circle, bool filled) : circle_(circle), filled_(filled)
{
    pointerMode = 2;
    helpContext = 2500;
    if (!filled) optionBarKey = circle ? "CIRCLEBAR" : "ELLIPSEBAR";
}

P_circle::P_circle() : P_elpse(true, false) { iconKey = "CircleIcon"; }
P_circlef::P_circlef() : P_elpse(true, true) { iconKey = "CirclefIcon"; }
P_ellipse::P_ellipse() : P_elpse(false, false) { iconKey = "EllipseIcon"; }
P_ellipsef::P_ellipsef() : P_elpse(false, true) { iconKey = "EllipsefIcon"; }

void P_elpse::Activate()
{
    statusText = Translate(circle_ ? "CircleIO" : "EllipseIO");
    if (!filled_) WriteLineOptions(lineMode, lineValue);
}

void P_elpse::Deactivate(P_icon*)
{
    if (!filled_) ReadLineOptions(lineMode, lineValue);
}

void P_elpse::SetRadii(int x, int y)
{
    double dx = double(x) - centreX, dy = double(y) - centreY;
    if (circle_) {
        radiusX = radiusY = Round(std::sqrt(dx * dx + dy * dy));
    } else {
        radiusX = Round(std::fabs(std::sqrt(2.0) * dx));
        radiusY = Round(std::fabs(std::sqrt(2.0) * dy));
    }
}

static double OutlineSpacing(int mode, int value, const std::vector<TPoint>& v)
{
    if (mode == 1) return std::max(value, 1);
    if (mode != 2) return 1;
    double length = 0;
    for (size_t i = 1; i < v.size(); ++i)
        length += std::max(std::abs(v[i].x - v[i - 1].x), std::abs(v[i].y - v[i - 1].y));
    return length / std::max(value, 1);
}

// The segments chained so that each shared vertex is walked once: the top
// point is left to the last segment.
template <class Segment> static void WalkOutline(const std::vector<TPoint>& v, double spacing, Segment segment)
{
    double phase = 2;
    for (size_t i = 1; i < v.size(); ++i) phase = segment(v[i - 1], v[i], spacing, phase) + 1;
}

void P_elpse::XorBand()
{
    UDBuffer* pic = CurrentPicture;
    if (!pic || !pic->pixels) return;
    if (filled_) {
        EllipseSpans(centreX, centreY, radiusX, radiusY,
                     [pic](int x1, int x2, int y) { pic->Box(Rect{x1, y, x2, y}, OutlineColour); });
    } else {
        std::vector<TPoint> v = EllipseVertices(centreX, centreY, radiusX, radiusY);
        WalkOutline(v, OutlineSpacing(lineMode, lineValue, v), [pic](TPoint a, TPoint b, double s, double p) {
            return DottedLine(*pic, s, p, a.x, a.y, b.x, b.y);
        });
    }
    InvalidatePictureRect(centreX - radiusX, centreY - radiusY, centreX + radiusX + 1, centreY + radiusY + 1);
}

void P_elpse::DrawOutline()
{
    if (ToolPhase == PhaseIdle || MousePoint.x == OutsideView) return;
    ShowSizeText(MousePoint.x - centreX, MousePoint.y - centreY);
    if (!filled_) ReadLineOptions(lineMode, lineValue);
    SetRadii(MousePoint.x, MousePoint.y);
    XorBand();
    bandShown = true;
}

void P_elpse::EraseOutline()
{
    if (!bandShown) return;
    bandShown = false;
    XorBand();
}

void P_elpse::Click()
{
    bandShown = false;
    if (ToolPhase == PhaseIdle) {
        statusText = Translate(circle_ ? "Circle2" : "Ellipse2");
        centreX = MousePoint.x;
        centreY = MousePoint.y;
        return;
    }
    ClearSizeText();
    DrawFinal(MousePoint.x, MousePoint.y);
    statusText = Translate(circle_ ? "CircleIO" : "EllipseIO");
    UpdateView();
}

void P_elpse::DrawFinal(int x, int y)
{
    SetRadii(x, y);
    if (filled_)
        DrawFilledFinal();
    else
        DrawOutlineFinal();
}

// A step of the bounding box grown by the brush around its hot spot.
bool P_elpse::SaveShapeUndo()
{
    UDBuffer* pic = CurrentPicture;
    if (!pic || !pic->pixels) return false;
    TPoint o = StampHotSpot();
    int w = std::max(StampBuffer.Width(), 1), h = std::max(StampBuffer.Height(), 1);
    Rect r = {std::max(centreX - radiusX - o.x, pic->left), std::max(centreY - radiusY - o.y, pic->top),
              std::min(centreX + radiusX + w - 1 - o.x, pic->right),
              std::min(centreY + radiusY + h - 1 - o.y, pic->bottom)};
    if (r.left > r.right || r.top > r.bottom) return false;
    if (!UDBuffer::SaveUndo(pic, iconKey, nullptr, r.left, r.top, r.right, r.bottom)) return false;
    ++pic->modified;
    return true;
}

void P_elpse::DrawOutlineFinal()
{
    bool right = RightButtonPressed();
    RecolorBrush(right);
    if (SaveShapeUndo()) {
        SetVisibleClip();
        std::vector<TPoint> v = EllipseVertices(centreX, centreY, radiusX, radiusY);
        if (radiusX == 0 && radiusY == 0) {
            // Every segment is the centre pixel: one dab stands for them.
            StampBrushLine(centreX, centreY, centreX, centreY, 1.0, 1.0);
        } else {
            WalkOutline(v, OutlineSpacing(lineMode, lineValue, v), [](TPoint a, TPoint b, double s, double p) {
                return StampBrushLine(a.x, a.y, b.x, b.y, s, p);
            });
        }
    }
    if (right) RecolorBrush(false);
}

void P_elpse::DrawFilledFinal()
{
    if (!SaveShapeUndo()) return;
    SetVisibleClip();
    Buffer& v = WorkView;
    bool right = RightButtonPressed();
    unsigned long back = BackColour() & 0x00FFFFFF;
    EllipseSpans(centreX, centreY, radiusX, radiusY, [&](int x1, int x2, int y) {
        if (!v.pixels || y < v.top || y > v.bottom) return;
        x1 = std::max(x1, v.left);
        x2 = std::min(x2, v.right);
        unsigned long* p = v.At(x1, y);
        for (int x = x1; x <= x2; ++x, ++p) *p = right ? back : *p | FillMark;
    });
    if (!right) ShownFillTool().Apply(ForeColour());
    InvalidatePictureRect(centreX - radiusX, centreY - radiusY, centreX + radiusX + 1, centreY + radiusY + 1);
}
