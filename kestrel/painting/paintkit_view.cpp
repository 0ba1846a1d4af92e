// The work view, invalidation of picture areas and the XOR feedback figures.
#include <algorithm>
#include <cmath>

#include "paintkit.h"
#include "paintkit_host.h"
#include "pictureview.h"

static double Zoom() { return CurrentPicture ? PictureZoom(CurrentPicture) : 1.0; }

static int Trunc(double v)
{
    // Beyond any view: keeps the conversion defined.
    if (!(v > -2e9)) return -2000000000;
    if (!(v < 2e9)) return 2000000000;
    return int(v);
}

void SetVisibleClip()
{
    UDBuffer* pic = CurrentPicture;
    if (!pic || !pic->pixels) {
        WorkView.Free();
        return;
    }
    ViewArea a;
    double z = Zoom();
    if (!Clipping || !GetViewArea(a) || !(z > 0)) {
        WorkView.Alloc(*pic, pic->GetRect(), true);
        return;
    }
    Rect r = {Trunc(a.scrollX / z), Trunc(a.scrollY / z), Trunc((a.clientWidth + a.scrollX - 1) / z),
              Trunc((a.clientHeight + a.scrollY - 1) / z)};
    WorkView.Alloc(*pic, r, true);
}

void InvalidatePictureRect(int x1, int y1, int x2, int y2)
{
    if (x1 > x2) std::swap(x1, x2);
    double z = Zoom();
    InvalidateView(Trunc(x1 * z - 1), Trunc(std::min(y1, y2) * z - 1), Trunc(x2 * z + 1),
                   Trunc(std::max(y1, y2) * z + 1));
}

void PlotOutlinePixel(int x, int y)
{
    SetVisibleClip();
    WorkView.PutPixel(Pair<int>{x, y}, OutlineColour);
    InvalidatePictureRect(x, y, x + 1, y + 1);
}

void DrawOutlineRect(int x1, int y1, int x2, int y2)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic) return;
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    // Pixmill's outline touches each pixel once, also for rectangles one
    // pixel wide or high, where edges drawn one by one would XOR a corner
    // twice and leave it unmarked.
    pic->Rectangle(Rect{x1, y1, x2, y2}, OutlineColour);
    InvalidatePictureRect(x1, y1, x2 + 1, y2 + 1);
}

void DrawGuides(int x, int y)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic || !pic->pixels) return;
    pic->VLine(x, pic->top, pic->bottom, OutlineColour);
    pic->Box(Rect{pic->left, y, pic->right, y}, OutlineColour);
    InvalidatePictureRect(x, pic->top, x + 1, pic->bottom + 1);
    InvalidatePictureRect(pic->left, y, pic->right + 1, y + 1);
}

struct CrosshairLines {
    int vx, vy, width, height;  // view pixels
};

static bool Crosshair(int x, int y, CrosshairLines& c)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic || !pic->pixels) return false;
    double z = Zoom();
    c = CrosshairLines{Trunc(x * z + z / 2), Trunc(y * z + z / 2), Trunc(pic->Width() * z), Trunc(pic->Height() * z)};
    return true;
}

void DrawCrosshair(int x, int y)
{
    CrosshairLines c;
    if (!Crosshair(x, y, c)) return;
    CanvasXorLine(c.vx, 0, c.vx, c.height);
    CanvasXorLine(0, c.vy, c.width, c.vy);
}

void InvalidateCrosshair(int x, int y)
{
    CrosshairLines c;
    if (!Crosshair(x, y, c)) return;
    InvalidateView(c.vx - 1, 0, c.vx + 2, c.height);
    InvalidateView(0, c.vy - 1, c.width, c.vy + 2);
}

// The view pixels the picture pixels (x1, y1) to (x2, y2), both included,
// cover at the current zoom.
static TRect ToCanvas(int x1, int y1, int x2, int y2)
{
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    double z = Zoom();
    return TRect{Trunc(x1 * z), Trunc(y1 * z), Trunc(z + x2 * z - 1) + 1, Trunc(z + y2 * z - 1) + 1};
}

void DrawCanvasRect(int x1, int y1, int x2, int y2)
{
    TRect c = ToCanvas(x1, y1, x2, y2);
    const int l = c.Left, t = c.Top, r = c.Right - 1, b = c.Bottom - 1;  // the outline's own pixels
    if (l == r || t == b) {
        // One line, its end included.
        CanvasXorLine(l, t, l == r ? r : r + 1, l == r ? b + 1 : b);
        return;
    }
    // Each segment leaves out its end, so every corner is drawn once.
    CanvasXorLine(l, t, r, t);
    CanvasXorLine(r, t, r, b);
    CanvasXorLine(r, b, l, b);
    CanvasXorLine(l, b, l, t);
}

void InvalidateRectOutline(int x1, int y1, int x2, int y2)
{
    TRect c = ToCanvas(x1, y1, x2, y2);
    InvalidateView(c.Left - 1, c.Top - 1, c.Right, c.Top + 1);
    InvalidateView(c.Left - 1, c.Bottom - 2, c.Right, c.Bottom);
    InvalidateView(c.Left - 1, c.Top - 1, c.Left + 1, c.Bottom);
    InvalidateView(c.Right - 2, c.Top - 1, c.Right, c.Bottom);
}
